// veltrix-cli response: the frequency response of the outputs of a setup file, summed as the
// plot sums it with every stage on, as tab-separated text or as an FRD file of one output; and
// the prediction for a measurement of one output after the changes of the setup file.
#pragma once

#include <ostream>
#include <string>

namespace cli {

// The plot of a 1020-pixel window: 960 grid columns, 959 points.
constexpr int kDefaultResponsePoints = 960;
constexpr int kMinResponsePoints = 2;
constexpr int kMaxResponsePoints = 100000;

struct ResponseRequest {
    int points = kDefaultResponsePoints; // the grid width
    int output = 0;                      // 1..8; 0 for every output
    bool frd = false;                    // one output as an FRD file
    std::string measured;                // a measurement of the output: print its prediction
    std::string baseline;                // the setup file the measurement was made with
};

// Loads the setup file at `path` offline and writes what `request` asks for. Returns the exit
// code; a file that cannot be loaded is reported through the message-box service.
//  - The response: a header line "Hz", "Out1" .. "OutN" (or the one output asked for), then one
//    line per point of a grid `points` columns wide: the frequency and the levels in dB, two
//    decimals each, limited to +20 .. -40 dB.
//  - As FRD: comment lines starting with "*", then per point the frequency, the level in dB (not
//    limited) and the phase 0.
//  - The prediction: a header line "Hz", "Measured", "Predicted", then per measured frequency
//    from 20 Hz to 20 kHz, in the file's order, the frequency, the measured level and the
//    measured level plus the output's response in the setup file minus its response in the
//    baseline (a device with every gain, band and filter neutral when there is none), at that
//    very frequency; two decimals each.
int RunResponse(const std::string& path, const ResponseRequest& request, std::ostream& out);

} // namespace cli
