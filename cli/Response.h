// veltrix-cli response: the frequency response of every output of a setup file, summed as
// the plot sums it with every stage on, as tab-separated text.
#pragma once

#include <ostream>
#include <string>

namespace cli {

// The plot of a 1020-pixel window: 960 grid columns, 959 points.
constexpr int kDefaultResponsePoints = 960;
constexpr int kMinResponsePoints = 2;
constexpr int kMaxResponsePoints = 100000;

// Loads the setup file at `path` offline and writes a header line "Hz", "Out1" .. "OutN", then
// one line per point of a grid `points` columns wide: the frequency and every output's level
// in dB, two decimals each, limited to +20 .. -40 dB. Returns the exit code; a file that cannot
// be loaded is reported through the message-box service.
int RunResponse(const std::string& path, int points, std::ostream& out);

} // namespace cli
