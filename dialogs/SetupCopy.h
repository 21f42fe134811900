// The "Copy Channels" dialog: picks a source and a target channel of the current device. The
// dialog only collects the choice.
//
// Use: set `document`; DoModal(); on IDOK call CopyChannel(source, target, -1) and refresh the
// device panel. `source` and `target` are channel numbers (inputs first, then outputs) and
// differ after OK.
#pragma once

#include "framework/Dialog.h"
#include "model/ModelTypes.h"

#include <array>
#include <string>

class CTonraDoc;

class CSetupCopy : public CDialog {
public:
    static constexpr int kSourceListId = 1245;
    static constexpr int kTargetListId = 1246;
    static constexpr const char* kSameChannelMessage = "Source and Target are the same!";

    CSetupCopy();

    // The current device's channels come from here; not owned.
    CTonraDoc* document = nullptr;
    // Channel names of the current device by channel number, copied when the dialog opens.
    std::array<std::string, model::kSlotCount> names{};
    int source = 0;
    int target = 0;
    CComboBox sourceList;
    CComboBox targetList;

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
};
