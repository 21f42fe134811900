// Why the system refuses a serial device, told so that the operator can act on it: a port that
// is not there, a port the user may not use (the group to join and the command that joins it),
// a port in use (the program that holds it).
#pragma once

#include <string>

namespace devlink {

// Whether this user may open a port, and if not, why and what fixes it.
struct PortAccess {
    bool present = false; // a device file exists at the path
    bool mayOpen = false;
    std::string reason; // empty when the port may be opened
    std::string fix;    // a command or an action; empty when nothing is known to help
    // The program that has the port open, as PortHolder tells; a program that holds a port
    // for itself keeps others from opening it.
    std::string heldBy;
};

// The group that owns the device file ("dialout" on Debian, "uucp" on Arch); empty when the
// system cannot say.
std::string DeviceGroup(const std::string& devicePath);
// How to get the right to use the device: join its group. Empty when the group is unknown.
std::string PermissionAdvice(const std::string& devicePath);
// The program that has the device open, as "minicom (process 1234)", or "this program (process
// 1234)"; empty when the system does not tell (another user's processes are hidden from an
// ordinary user).
std::string PortHolder(const std::string& devicePath);
// The advice for a device whose opening was refused: the group to join when the user lacks
// the right, else the program that holds it; empty when neither is known.
std::string OpenRefusalAdvice(const std::string& devicePath);
// The advice for a device that is not there.
std::string MissingPortAdvice();
// Whether this user may open the port, judged from the device file without opening it (opening
// a port can reset the device behind it), and which program holds it.
PortAccess CheckPortAccess(const std::string& devicePath);

} // namespace devlink
