// The "Security" dialog: the front-panel menu locks of the current device. The caller fills
// `locks`, runs the dialog and, after OK, stores them and sends the lock flags.
#pragma once

#include "framework/Dialog.h"

#include <array>

class CSetupSecurity : public CDialog {
public:
    static constexpr int kLockCount = 11;
    static constexpr int kFirstLockId = 1054;
    static constexpr int kLockButtonId = 1117;
    static constexpr int kUnlockButtonId = 1118;

    CSetupSecurity();

    std::array<int, kLockCount> locks{};

protected:
    void CreateControls() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnCommand(int id) override;

private:
    void SetAllLocks(int value);
};
