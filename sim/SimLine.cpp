#include "sim/SimLine.h"

#include "sim/SimOptions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sim {

namespace {
constexpr int kPaceTickMs = 5;
constexpr double kNanosecondsPerSecond = 1e9;
// An idle line starts a reply at once, but never sends more than this in one go.
constexpr double kMaxBurstChars = 64;
} // namespace

CSimLine::CSimLine(CSimDevice& device, const LineOptions& options)
    : options_(options), session_(device, options.faults) {
    paceTimer_.setSingleShot(true);
    QObject::connect(&paceTimer_, &QTimer::timeout, [this] { Flush(); });
    paceClock_.start();
}

CSimLine::~CSimLine() = default;

bool CSimLine::Stopped() const {
    return options_.stopAfterMs > 0 && options_.clock && options_.clock->elapsed() >= options_.stopAfterMs;
}

void CSimLine::Arrived(std::string_view chars) {
    if (Stopped()) {
        return;
    }
    session_.Receive(chars);
    Flush();
}

void CSimLine::Report(const devlink::ReplyFrame& reply) {
    if (Stopped()) {
        return;
    }
    session_.Report(reply);
    Flush();
}

std::size_t CSimLine::Allowance() {
    if (!options_.pace) {
        return std::numeric_limits<std::size_t>::max();
    }
    const double seconds = static_cast<double>(paceClock_.nsecsElapsed()) / kNanosecondsPerSecond;
    paceClock_.restart();
    budget_ = std::min(budget_ + seconds * kLineCharsPerSecond, kMaxBurstChars);
    return static_cast<std::size_t>(std::floor(budget_));
}

void CSimLine::Flush() {
    if (Stopped()) {
        return;
    }
    const std::size_t allowance = Allowance();
    if (pending_.size() < CSimSession::kOutputLimit) {
        const std::size_t room = CSimSession::kOutputLimit - pending_.size();
        pending_ += session_.TakeOutput(static_cast<int>(room));
    }
    const std::size_t written =
        WriteRaw(std::string_view(pending_).substr(0, std::min(allowance, pending_.size())));
    pending_.erase(0, written);
    if (options_.pace) {
        budget_ -= static_cast<double>(written);
    }
    const bool more = !pending_.empty() || session_.HasOutput();
    if (more && options_.pace && !paceTimer_.isActive()) {
        paceTimer_.start(kPaceTickMs);
    }
    WantWrite(more && !options_.pace);
}

} // namespace sim
