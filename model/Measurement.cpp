#include "model/Measurement.h"

#include "framework/Format.h"
#include "framework/NumberText.h"
#include "model/FileIo.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace model {

namespace {

// A measurement of more points is no export of a measurement program (linear exports of the
// finest resolution hold about 65000).
constexpr std::size_t kMaxPoints = 200000;
// Frequency and level, and the phase that may follow.
constexpr std::size_t kLeastValues = 2;
constexpr std::size_t kMostValues = 3;
// A refused line is quoted up to this length.
constexpr std::size_t kQuotedLength = 40;

constexpr std::string_view kLineBlanks = " \t";
// The byte order mark some editors write at the start of a UTF-8 file.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Control characters other than tabs belong to no text file.
bool IsText(std::string_view line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

// A data line begins with a number: a digit, or a sign or a point before one. Everything else
// ("*", "#", words, quotes) is a comment or a header.
bool BeginsWithNumber(std::string_view line) {
    std::size_t i = 0;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        ++i;
    }
    if (i < line.size() && line[i] == '.') {
        ++i;
    }
    return i < line.size() && IsDigit(line[i]);
}

// The values of a data line. A line with semicolons comes from a spreadsheet that writes
// decimal commas ("1000,5;85,2"): there only semicolons, blanks and tabs separate.
std::optional<std::vector<double>> ReadValues(std::string_view line) {
    const bool decimalCommas = line.find(';') != std::string_view::npos;
    const std::string_view separators = decimalCommas ? " \t;" : " \t,;";
    std::vector<double> values;
    std::size_t start = line.find_first_not_of(separators);
    while (start != std::string_view::npos) {
        const std::size_t stop = line.find_first_of(separators, start);
        const std::string field(line.substr(start, stop == std::string_view::npos ? stop : stop - start));
        const std::optional<double> value = framework::ParseDecimal(field); // "85,2" is 85.2
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        start = stop == std::string_view::npos ? stop : line.find_first_not_of(separators, stop);
    }
    return values;
}

std::string Quoted(std::string_view line) {
    const bool cut = line.size() > kQuotedLength;
    return "\"" + std::string(line.substr(0, kQuotedLength)) + (cut ? "...\"" : "\"");
}

// The lines of `text` without their ends: LF, CR LF or CR alone.
std::vector<std::string_view> SplitLines(std::string_view text) {
    const char end = text.find('\n') != std::string_view::npos ? '\n' : '\r';
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find(end, start);
        if (stop == std::string_view::npos) {
            stop = text.size();
        }
        std::string_view line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = stop + 1;
    }
    return lines;
}

} // namespace

std::optional<Measurement> ParseMeasurement(QByteArrayView bytes, std::string& problem) {
    std::string_view text(bytes.data(), static_cast<std::size_t>(bytes.size()));
    if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size()); // else the first point would read as text
    }
    const std::vector<std::string_view> lines = SplitLines(text);
    Measurement measurement;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const int lineNumber = static_cast<int>(n) + 1;
        std::string_view line = lines[n];
        if (!IsText(line)) {
            problem = Format("Line %d holds characters that belong to no text file.", lineNumber);
            return std::nullopt;
        }
        const std::size_t first = line.find_first_not_of(kLineBlanks);
        line.remove_prefix(first == std::string_view::npos ? line.size() : first);
        if (!BeginsWithNumber(line)) {
            continue; // empty, a comment or a header
        }
        const auto values = ReadValues(line);
        if (!values || values->size() < kLeastValues || values->size() > kMostValues) {
            problem = Format("Line %d is no measurement line: %s. A measurement line holds a frequency in "
                             "Hz, a level in dB and, if need be, a phase.",
                             lineNumber, Quoted(line).c_str());
            return std::nullopt;
        }
        const double hz = (*values)[0];
        if (!(hz > 0) || (!measurement.hz.empty() && hz <= measurement.hz.back())) {
            problem = Format("Line %d gives the frequency %s, which is not above the one before it.",
                             lineNumber, Format("%g", hz).c_str());
            return std::nullopt;
        }
        if (measurement.hz.size() == kMaxPoints) {
            problem = Format("Line %d is beyond the %d points a measurement may hold.", lineNumber,
                             static_cast<int>(kMaxPoints));
            return std::nullopt;
        }
        measurement.hz.push_back(hz);
        measurement.db.push_back((*values)[1]);
    }
    if (measurement.hz.empty()) {
        problem = "The file holds no measurement line (a frequency in Hz and a level in dB).";
        return std::nullopt;
    }
    return measurement;
}

std::optional<Measurement> ReadMeasurementFile(const std::string& path, std::string& problem) {
    std::string reason;
    std::optional<Measurement> measurement;
    if (const auto bytes = ReadFileBytes(path, kMaxMeasurementBytes + 1, reason)) {
        if (bytes->size() > kMaxMeasurementBytes) {
            reason = "The file is larger than any measurement (32 MB).";
        } else {
            measurement = ParseMeasurement(*bytes, reason);
        }
    }
    if (!measurement) {
        problem = "Cannot load the measurement \"" + path + "\".\n" + reason + "\nNothing was changed.";
    }
    return measurement;
}

} // namespace model
