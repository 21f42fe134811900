// Equaliser filters as text, in the two forms installers move them in: the filter settings
// file of REW ("Filter  1: ON  PK       Fc   1000 Hz  Gain  -3.00 dB  Q  4.36") and the
// configuration lines of Equalizer APO ("Filter 1: ON PK Fc 1000 Hz Gain -3 dB Q 4.36").
// Reading takes either form and keeps each value with its text as written, so that a report
// can say what changed; where the filters go is model/EqFilterPlacement.h.
#pragma once

#include "model/ModelTypes.h"
#include "model/SetupFile.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace model {

enum class FilterTextFormat { Rew, Apo };

// "rew" or "apo" (case ignored); nothing for any other name.
std::optional<FilterTextFormat> FilterTextFormatNamed(std::string_view name);

// What a filter line's type is to the bands.
enum class FilterShape {
    Peak,      // PK, PEQ
    LowShelf,  // LS, LSC, LSQ, with or without a slope ("LS 6dB")
    HighShelf, // HS, HSC, HSQ
    Empty,     // None: REW's unused filter
    Other,     // every type the bands do not have (HP, LP, NO, AP, Modal, ...)
};

// A number of a filter line and its text as the file writes it ("4.30").
struct FilterValue {
    double value = 0;
    std::string text;
};

// One filter line, as written.
struct TextFilter {
    int number = 0; // the file's own number, or the filter's position among the filter lines
    bool on = true;
    std::string type; // as written, its slope included: "PK", "LS 12dB", "HP"
    FilterShape shape = FilterShape::Other;
    std::optional<FilterValue> frequency; // Fc in Hz
    std::optional<FilterValue> gain;      // dB
    std::optional<FilterValue> q;
    std::optional<FilterValue> octaves; // BW Oct
    std::optional<FilterValue> slope;   // a shelf's, in dB per octave
    std::string problem;                // what of the line could not be read; empty when all
};

// The filter lines of a REW or Equalizer APO text, in their order. Header lines, comments,
// blank lines and every other line that is no filter line are left out.
std::vector<TextFilter> ReadFilterText(std::string_view text);

// The text of the file at `path`: UTF-8, or UTF-16 with its byte order mark. Nothing, with
// the reason in `problem`, when the file cannot be read.
std::optional<std::string> ReadFilterTextFile(const std::string& path, std::string& problem);

// The six bands as filter text in `format`, one filter per band in band order, after a header
// that names `title` (the channel). The text reads back as the same bands.
std::string WriteFilterText(const std::array<BandSetup, kBandCount>& bands, FilterTextFormat format,
                            std::string_view title);

// The width in octaves of a parametric band of quality `q`: Q = 2^(N/2) / (2^N - 1) solved for N.
double OctavesOfQ(double q);
// The width index nearest to `octaves`, which may lie outside 0..kMaxWidth.
int NearestWidthIndex(double octaves);

} // namespace model
