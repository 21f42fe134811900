#include "sim/SimLine.h"

#include <algorithm>

namespace sim {

namespace {
// A paced line looks at least this often while characters are on their way, so that a long
// block reaches the other side in pieces, as it crosses.
constexpr qint64 kPaceTickMs = 5;
constexpr qint64 kNsPerMs = 1000000;
// What a paced line holds on its way in; more is lost, as on an overrun serial port.
constexpr std::size_t kIncomingLimit = CSimSession::kOutputLimit;
} // namespace

CSimLine::CSimLine(CSimDevice& device, const LineOptions& options)
    : options_(options), session_(device, options.faults) {
    paceTimer_.setSingleShot(true);
    paceTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&paceTimer_, &QTimer::timeout, [this] { Flush(); });
}

CSimLine::~CSimLine() = default;

bool CSimLine::Stopped() const {
    return (options_.switchedOff && *options_.switchedOff) ||
           (options_.stopAfterMs > 0 && options_.clock && options_.clock->elapsed() >= options_.stopAfterMs);
}

void CSimLine::Arrived(std::string_view chars) {
    if (Stopped()) {
        return;
    }
    if (options_.pace) {
        incoming_.append(chars.substr(0, kIncomingLimit - std::min(kIncomingLimit, incoming_.size())));
    } else {
        charsCarried_ += chars.size();
        session_.Receive(chars);
    }
    Flush();
}

void CSimLine::Report(const devlink::ReplyFrame& reply) {
    if (Stopped()) {
        return;
    }
    session_.Report(reply);
    Flush();
}

void CSimLine::Flush() {
    if (Stopped()) {
        return;
    }
    if (options_.pace) {
        TakeIncoming();
    }
    SendOutgoing();
    if (options_.pace) {
        ScheduleFlush();
    } else {
        WantWrite(!pending_.empty() || session_.HasOutput());
    }
}

void CSimLine::TakeIncoming() {
    const std::size_t crossed = incomingPace_.Crossed(incoming_.size());
    if (crossed == 0) {
        return;
    }
    const std::string chars = incoming_.substr(0, crossed);
    incoming_.erase(0, crossed);
    incomingPace_.Took(crossed, !incoming_.empty());
    charsCarried_ += crossed;
    session_.Receive(chars);
}

void CSimLine::SendOutgoing() {
    if (pending_.size() < CSimSession::kOutputLimit) {
        const std::size_t room = CSimSession::kOutputLimit - pending_.size();
        pending_ += session_.TakeOutput(static_cast<int>(room));
    }
    const std::size_t allowed = options_.pace ? outgoingPace_.Crossed(pending_.size()) : pending_.size();
    const std::size_t written = WriteRaw(std::string_view(pending_).substr(0, allowed));
    pending_.erase(0, written);
    charsCarried_ += written;
    if (options_.pace) {
        outgoingPace_.Took(written, !pending_.empty());
    }
}

void CSimLine::ScheduleFlush() {
    if (incoming_.empty() && pending_.empty()) {
        paceTimer_.stop();
        return;
    }
    qint64 dueNs = kPaceTickMs * kNsPerMs;
    if (!incoming_.empty()) {
        dueNs = std::min(dueNs, incomingPace_.NsUntilCrossed(incoming_.size()));
    }
    if (!pending_.empty()) {
        dueNs = std::min(dueNs, outgoingPace_.NsUntilCrossed(pending_.size()));
    }
    // Timers count whole milliseconds: round up, so that the characters are through.
    paceTimer_.start(static_cast<int>(std::max<qint64>(1, (dueNs + kNsPerMs - 1) / kNsPerMs)));
}

} // namespace sim
