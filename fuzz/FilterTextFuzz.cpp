// REW and Equalizer APO filter text: every filter placed lies inside the bands' ranges, the
// report has a line per filter, and the bands placed, written out again, read back exactly.
#include "fuzz/FuzzTarget.h"
#include "model/EqFilterPlacement.h"
#include "model/ParamScales.h"

#include <string_view>

using namespace model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const EqImport import = PlaceFilters(ReadFilterText(text));
    FUZZ_CHECK(import.ReportLines().size() ==
               import.filters.size() + (import.PlacedCount() < kBandCount ? 1 : 0));
    std::array<BandSetup, kBandCount> bands{};
    for (int b = 0; b < import.PlacedCount(); ++b) {
        const BandSetup& band = *import.bands[b];
        FUZZ_CHECK(band.type >= kEqParametric && band.type <= kEqHighShelf);
        FUZZ_CHECK(band.gain >= 0 && band.gain <= kParamUpperBound[kEqGain]);
        FUZZ_CHECK(band.frequency >= 0 && band.frequency <= kParamUpperBound[kEqFreq]);
        FUZZ_CHECK(band.width >= 0 &&
                   band.width <= (band.type == kEqParametric ? kMaxWidth : kMaxShelfSlopeFlag));
        bands[b] = band;
    }
    const EqImport again =
        PlaceFilters(ReadFilterText(WriteFilterText(bands, FilterTextFormat::Apo, "fuzz")));
    for (int b = 0; b < import.PlacedCount(); ++b) {
        FUZZ_CHECK(again.filters[b].placement == Placement::Exact);
    }
    return 0;
}
