// The "Password" dialog: asks for the 4-character device password. The caller fills
// `password` (or leaves it empty) and reads it back after OK.
#pragma once

#include "framework/Dialog.h"

#include <string>

class CSetupPassword : public CDialog {
public:
    static constexpr int kPasswordEditId = 1261;
    static constexpr int kPasswordLength = 4;

    CSetupPassword();

    std::string password;

protected:
    void CreateControls() override;
    void DoDataExchange(bool saveAndValidate) override;
};
