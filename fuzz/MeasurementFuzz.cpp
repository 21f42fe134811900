// Measurement files: whatever the bytes, a measurement read from them has a level for every
// frequency, its frequencies above 0 and rising, every value finite; and a refusal says why.
#include "fuzz/FuzzTarget.h"
#include "model/Measurement.h"

#include <algorithm>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::string problem;
    const std::optional<model::Measurement> measurement = model::ParseMeasurement(bytes, problem);
    if (!measurement) {
        FUZZ_CHECK(problem.starts_with("Line ") || problem.starts_with("The file "));
        return 0;
    }
    const std::vector<double>& hz = measurement->hz;
    FUZZ_CHECK(!hz.empty() && hz.size() == measurement->db.size());
    FUZZ_CHECK(hz.front() > 0 &&
               std::adjacent_find(hz.begin(), hz.end(), std::greater_equal<>()) == hz.end());
    FUZZ_CHECK(std::all_of(hz.begin(), hz.end(), [](double x) { return std::isfinite(x); }));
    FUZZ_CHECK(std::all_of(measurement->db.begin(), measurement->db.end(),
                           [](double x) { return std::isfinite(x); }));
    return 0;
}
