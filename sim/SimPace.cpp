#include "sim/SimPace.h"

#include "sim/SimOptions.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double kNsPerChar = 1e9 / kLineCharsPerSecond;
}

CSimPace::CSimPace() { clock_.start(); }

std::size_t CSimPace::Crossed(std::size_t waiting) {
    if (waiting == 0) {
        idle_ = true;
        return 0;
    }
    const double now = static_cast<double>(clock_.nsecsElapsed());
    if (idle_) {
        freeAt_ = std::max(freeAt_, now);
        idle_ = false;
    }
    const double through = std::floor((now - freeAt_) / kNsPerChar);
    return std::min(waiting, static_cast<std::size_t>(std::max(through, 0.0)));
}

void CSimPace::Took(std::size_t count, bool more) {
    freeAt_ += static_cast<double>(count) * kNsPerChar;
    idle_ = !more;
}

qint64 CSimPace::NsUntilCrossed(std::size_t waiting) const {
    const double now = static_cast<double>(clock_.nsecsElapsed());
    const double start = idle_ ? now : freeAt_;
    return static_cast<qint64>(std::ceil(start + static_cast<double>(waiting) * kNsPerChar - now));
}

} // namespace sim
