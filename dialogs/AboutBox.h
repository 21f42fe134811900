// The version box, "Qel Veltrix Version": the product name and the version of the program.
//
// Use: set `productText` to the document's productName and `versionText` to VersionText();
// DoModal().
#pragma once

#include "framework/Dialog.h"

#include <string>

class CAboutBox : public CDialog {
public:
    static constexpr int kProductTextId = 1097;
    static constexpr int kVersionTextId = 1099;

    CAboutBox();

    // "Version " and the program's version: "Version 4.04".
    static std::string VersionText();

    std::string productText;
    std::string versionText;

protected:
    void CreateControls() override;
    void DoDataExchange(bool saveAndValidate) override;
};
