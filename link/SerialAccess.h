// Why the system refused to open a serial device, told so that the operator can act on it: a
// port the user may not use names the group to join and the command that joins it; a port in
// use names the program that holds it.
#pragma once

#include <string>

namespace devlink {

// The group that owns the device file ("dialout" on Debian); empty when the system cannot say.
std::string DeviceGroup(const std::string& devicePath);
// How to get the right to use the device: join its group. Empty when the group is unknown.
std::string PermissionAdvice(const std::string& devicePath);
// The program that has the device open, as "minicom (process 1234)"; empty when the system
// does not tell (another user's processes are hidden from an ordinary user).
std::string PortHolder(const std::string& devicePath);
// The advice for a device whose opening was refused: the group to join when the user lacks
// the right, else the program that holds it; empty when neither is known.
std::string OpenRefusalAdvice(const std::string& devicePath);

} // namespace devlink
