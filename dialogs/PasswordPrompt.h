// The device password prompt of the GUI: the link engines ask it when a Sync finds that the
// password typed so far does not match the device's.
#pragma once

#include <optional>
#include <string>

namespace dialogs {

// Runs the "Password" dialog with an empty field: the typed password after OK, nothing after
// Cancel.
std::optional<std::string> AskDevicePassword();

} // namespace dialogs
