// A measured frequency response, as measurement programs export it: REW's text export and the
// FRD format. Each line holds a frequency in Hz, a level in dB and an optional phase, separated
// by blanks, tabs, commas or semicolons; lines that begin with "*", "#" or text are comments.
// The phase is not used.
#pragma once

#include <QByteArrayView>

#include <optional>
#include <string>
#include <vector>

namespace model {

struct Measurement {
    std::vector<double> hz; // rising
    std::vector<double> db; // one level per frequency
};

// A measurement shown on the plot for one output, with the output's response (every stage, in
// dB, not limited to the plot's range) at each measured frequency when it was loaded. It stays
// on the PC: it is never sent and never saved in a setup file.
struct LoadedMeasurement {
    Measurement measured;
    std::vector<double> responseAtLoadDb;
    std::string path;

    bool IsLoaded() const { return !measured.hz.empty(); }
};

// The largest measurement file read: far above the largest exports (a few MB).
constexpr qsizetype kMaxMeasurementBytes = 32 * 1024 * 1024;

// The measurement in `text`. When it is none: nothing, and `problem` says why in a sentence
// that names the line ("Line 7 holds ...").
std::optional<Measurement> ParseMeasurement(QByteArrayView text, std::string& problem);

// The measurement in the file at `path`. When it cannot be read or is no measurement: nothing,
// and `problem` names the file, the reason (and the line) and says that nothing changed.
std::optional<Measurement> ReadMeasurementFile(const std::string& path, std::string& problem);

} // namespace model
