// Where a numbered COM port lives on this system. COM n is /dev/ttyS<n-1> (the usual
// numbering), unless the program's settings name another device under "SerialPorts/COM<n>",
// or the environment variable VELTRIX_COM<n> does (it wins: the simulator's pseudo-terminals
// and the tests use it).
#pragma once

#include <string>

namespace devlink {

// The device path of COM port `comPort` (1-based); empty for a port number below 1.
std::string ComPortDevicePath(int comPort);

} // namespace devlink
