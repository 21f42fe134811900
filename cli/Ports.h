// `veltrix-cli ports`: the serial ports of this computer, whether this user may open each and
// what to do when not, and every COM number that leads somewhere other than its default.
#pragma once

#include <ostream>

namespace cli {

// Prints the list as text, or as one JSON document with `json`; the exit code (always done).
int RunPorts(bool json, std::ostream& out);

} // namespace cli
