#include "dialogs/PasswordPrompt.h"

#include "dialogs/SetupPassword.h"
#include "framework/UiService.h"

namespace dialogs {

std::optional<std::string> AskDevicePassword() {
    CSetupPassword dialog;
    if (dialog.DoModal() != IDOK) {
        return std::nullopt;
    }
    return dialog.password;
}

} // namespace dialogs
