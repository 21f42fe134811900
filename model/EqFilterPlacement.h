// Filters read from REW or Equalizer APO text placed in the six equaliser bands of a channel:
// each filter in the next free band, at the nearest value the band holds (frequency in 1 Hz
// steps, gain in 0.25 dB steps, width in 0.01 octave steps, a shelf's slope 6 or 12 dB), with
// one report line per filter saying whether it went in exactly, approximately (and what
// changed) or not at all (and why). The placement is worked out first and written into the
// document only when the operator agrees, so the command line and the EQ editor report alike.
#pragma once

#include "model/EqFilterText.h"
#include "model/ModelTypes.h"
#include "model/SetupFile.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CTonraDoc;

namespace model {

enum class Placement { Exact, Approximate, NotPlaced, Skipped };

// What became of one filter of the file.
struct FilterOutcome {
    int number = 0; // the filter's number in the file
    Placement placement = Placement::NotPlaced;
    int band = -1;      // 0..5 when placed
    std::string detail; // what changed, or why it was not placed

    // "Filter 2: placed in band 2 approximately: Q 4.30 -> 4.36"
    std::string ReportLine() const;
};

// The bands of a channel after an import, and what became of every filter.
struct EqImport {
    std::array<std::optional<BandSetup>, kBandCount> bands{}; // nothing: the band is set flat
    std::vector<FilterOutcome> filters;

    int PlacedCount() const;
    // One line per filter, then a line on the bands set flat, or on nothing being placed.
    std::vector<std::string> ReportLines() const;
    // The report lines joined by line breaks.
    std::string ReportText() const;
};

// Places `filters` in their order into bands 0..5.
EqImport PlaceFilters(std::span<const TextFilter> filters);

// Writes the import into the channel with SetParam, so linked channels follow and the document
// is marked modified: every placed band takes its filter and is switched on, every other band
// goes to 0 dB. The one place where an import changes the document.
void ApplyEqImport(CTonraDoc& doc, int channel, const EqImport& import, int device = -1);

// The six bands of a channel as the document holds them (GetParam).
std::array<BandSetup, kBandCount> ChannelBands(const CTonraDoc& doc, int channel, int device = -1);
// The channel's six bands as filter text in `format`, headed by the channel ("In 1 KICK").
std::string ChannelFilterText(const CTonraDoc& doc, int channel, FilterTextFormat format, int device = -1);

} // namespace model
