#include "model/EqFilterText.h"

#include "framework/Format.h"
#include "framework/NumberText.h"
#include "model/FileIo.h"
#include "model/ParamDescriptor.h"
#include "model/ParamScales.h"

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace model {

namespace {

// No filter file comes near this size; the reader never looks further into a file.
constexpr qsizetype kMaxFilterFileBytes = 1 << 20;
constexpr double kHzPerKhz = 1000;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// Q is written with the fewest of these decimals that read back as the band's own width.
constexpr int kFewestQDecimals = 2;
constexpr int kMostQDecimals = 4;

// ---- Reading ----

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

// A finite number, "." or "," as the decimal point, a "+" allowed.
std::optional<double> Number(std::string_view word) { return framework::ParseDecimal(std::string(word)); }

// "Filter  1:", "Filter:" or "filter 12 :": the rest of the line after the colon, and the
// number when there is one (0 otherwise). Nothing when the line is no filter line.
std::optional<std::string_view> FilterLineRest(std::string_view line, int& number) {
    constexpr std::string_view kFilter = "filter";
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || LowerCase(line.substr(start, kFilter.size())) != kFilter) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(start + kFilter.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    number = 0;
    const auto [stop, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
    rest.remove_prefix(static_cast<std::size_t>(stop - rest.data()));
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    if (error == std::errc::result_out_of_range || !rest.starts_with(':')) {
        return std::nullopt;
    }
    return rest.substr(1);
}

FilterShape ShapeOf(const std::string& word) {
    if (word == "pk" || word == "peq") {
        return FilterShape::Peak;
    }
    if (word == "ls" || word == "lsc" || word == "lsq") {
        return FilterShape::LowShelf;
    }
    if (word == "hs" || word == "hsc" || word == "hsq") {
        return FilterShape::HighShelf;
    }
    return word == "none" ? FilterShape::Empty : FilterShape::Other;
}

bool IsFieldName(std::string_view word) {
    const std::string lower = LowerCase(word);
    return lower == "fc" || lower == "gain" || lower == "q" || lower == "bw";
}

// Reads the words of one filter line after its "ON" or "OFF".
class FilterLineReader {
public:
    FilterLineReader(std::vector<std::string_view> words, TextFilter& filter)
        : words_(std::move(words)), filter_(filter) {}

    void Read() {
        ReadType();
        while (at_ < words_.size()) {
            const std::string name = LowerCase(words_[at_++]);
            if (name == "fc") {
                filter_.frequency = Value("Fc");
                if (filter_.frequency && at_ < words_.size() && LowerCase(words_[at_]) == "khz") {
                    filter_.frequency->value *= kHzPerKhz; // the report speaks of Hz
                    filter_.frequency->text = Format("%g", filter_.frequency->value);
                }
                Skip("hz") || Skip("khz");
            } else if (name == "gain") {
                filter_.gain = Value("Gain");
                Skip("db");
            } else if (name == "q") {
                filter_.q = Value("Q");
            } else if (name == "bw") {
                if (Skip("oct")) {
                    filter_.octaves = Value("BW Oct");
                } else {
                    Problem("no width in octaves after BW");
                }
            } // other words (units, the settings of types the bands do not have) are passed over
        }
    }

private:
    // The type word and the words up to the first field name: a shelf's slope ("12dB", "6 dB").
    void ReadType() {
        if (at_ == words_.size()) {
            filter_.shape = FilterShape::Empty;
            return;
        }
        filter_.type = words_[at_++];
        filter_.shape = ShapeOf(LowerCase(filter_.type));
        std::string slopeText;
        while (at_ < words_.size() && !IsFieldName(words_[at_])) {
            filter_.type += " " + std::string(words_[at_]);
            slopeText += words_[at_++];
        }
        if (slopeText.empty() ||
            (filter_.shape != FilterShape::LowShelf && filter_.shape != FilterShape::HighShelf)) {
            return;
        }
        const std::string lower = LowerCase(slopeText);
        const std::string number =
            lower.ends_with("db") ? slopeText.substr(0, slopeText.size() - 2) : slopeText;
        if (const std::optional<double> slope = Number(number)) {
            filter_.slope = FilterValue{*slope, number};
        } else {
            Problem("no slope in \"" + slopeText + "\"");
        }
    }

    std::optional<FilterValue> Value(std::string_view name) {
        if (at_ < words_.size()) {
            if (const std::optional<double> value = Number(words_[at_])) {
                return FilterValue{*value, std::string(words_[at_++])};
            }
        }
        Problem("no number after " + std::string(name));
        return std::nullopt;
    }

    bool Skip(std::string_view lowerWord) {
        if (at_ < words_.size() && LowerCase(words_[at_]) == lowerWord) {
            ++at_;
            return true;
        }
        return false;
    }

    void Problem(const std::string& problem) {
        if (filter_.problem.empty()) {
            filter_.problem = problem;
        }
    }

    std::vector<std::string_view> words_;
    std::size_t at_ = 0;
    TextFilter& filter_;
};

// ---- Writing ----

std::string TypeWord(const BandSetup& band) {
    if (band.type == kEqParametric) {
        return "PK";
    }
    return std::string(band.type == kEqLowShelf ? "LS " : "HS ") + WidthText(band.width, true, false);
}

// The Q of a parametric band with the fewest decimals that read back as its width.
std::string QText(int width) {
    std::string text;
    for (int decimals = kFewestQDecimals; decimals <= kMostQDecimals; ++decimals) {
        text = Format("%.*f", decimals, WidthQ(width));
        if (NearestWidthIndex(OctavesOfQ(Number(text).value_or(0))) == width) {
            break;
        }
    }
    return text;
}

std::string RewLine(int number, const BandSetup& band) {
    std::string line = Format("Filter %2d: ON  %-8s Fc %6d Hz  Gain %6.2f dB", number, TypeWord(band).c_str(),
                              FrequencyHz(band.frequency), EqGainDb(band.gain));
    if (band.type == kEqParametric) {
        line += Format("  Q %5s", QText(band.width).c_str());
    }
    return line;
}

std::string ApoLine(int number, const BandSetup& band) {
    std::string line = Format("Filter %d: ON %s Fc %d Hz Gain %g dB", number, TypeWord(band).c_str(),
                              FrequencyHz(band.frequency), EqGainDb(band.gain));
    if (band.type == kEqParametric) {
        line += " Q " + QText(band.width);
    }
    return line;
}

} // namespace

std::optional<FilterTextFormat> FilterTextFormatNamed(std::string_view name) {
    const std::string lower = LowerCase(name);
    if (lower == "rew") {
        return FilterTextFormat::Rew;
    }
    if (lower == "apo") {
        return FilterTextFormat::Apo;
    }
    return std::nullopt;
}

std::vector<TextFilter> ReadFilterText(std::string_view text) {
    std::vector<TextFilter> filters;
    if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        int number = 0;
        const std::optional<std::string_view> rest = FilterLineRest(line, number);
        std::vector<std::string_view> words = rest ? Words(*rest) : std::vector<std::string_view>();
        const std::string state = words.empty() ? std::string() : LowerCase(words.front());
        if (state != "on" && state != "off") {
            continue;
        }
        TextFilter filter;
        filter.number = number > 0 ? number : static_cast<int>(filters.size()) + 1;
        filter.on = state == "on";
        words.erase(words.begin());
        FilterLineReader(std::move(words), filter).Read();
        filters.push_back(std::move(filter));
    }
    return filters;
}

std::optional<std::string> ReadFilterTextFile(const std::string& path, std::string& problem) {
    std::string reason;
    const std::optional<QByteArray> bytes = ReadFileBytes(path, kMaxFilterFileBytes, reason);
    if (!bytes) {
        problem = "Cannot open the filter file \"" + path + "\".\n" + reason;
        return std::nullopt;
    }
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(*bytes);
    if (!marked || *marked == QStringConverter::Utf8) {
        return bytes->toStdString(); // filter lines are plain ASCII; other bytes are passed over
    }
    QStringDecoder decode(*marked);
    return QString(decode(*bytes)).toStdString();
}

std::string WriteFilterText(const std::array<BandSetup, kBandCount>& bands, FilterTextFormat format,
                            std::string_view title) {
    const bool rew = format == FilterTextFormat::Rew;
    std::string text =
        rew ? "Filter Settings file\n\nVeltrix " + std::string(title) + "\n\nEqualiser: Generic\n"
            : "# Veltrix " + std::string(title) + "\n";
    for (int b = 0; b < kBandCount; ++b) {
        text += (rew ? RewLine(b + 1, bands[b]) : ApoLine(b + 1, bands[b])) + "\n";
    }
    return text;
}

double OctavesOfQ(double q) { return 2 * std::asinh(1 / (2 * q)) / std::log(2.0); }

int NearestWidthIndex(double octaves) {
    const double index = std::round(octaves * kWidthPerOctave) - kWidthOffset;
    return std::isfinite(index) ? SaturatingTrunc(index) : -1;
}

} // namespace model
