// Whether the program can use the network at all.
#pragma once

namespace app {

// True when the system lets the program open an IPv4 TCP socket; without one no device can be
// reached over the network, while serial links still work.
bool StartNetwork();

} // namespace app
