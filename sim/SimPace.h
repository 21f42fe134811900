// CSimPace: the clock of one direction of a paced serial line. Characters cross it one after
// another at the line's character rate and count as arrived once their last bit is through.
// A line that had nothing to carry starts afresh when something comes, so a pause never
// builds up credit: after waiting for an acknowledgement, the next block still crosses at
// the line rate instead of in a burst.
#pragma once

#include <QElapsedTimer>

#include <cstddef>

namespace sim {

class CSimPace {
public:
    CSimPace();

    // How many of the `waiting` characters have crossed by now. The first call with
    // characters after the line fell idle starts carrying them now.
    std::size_t Crossed(std::size_t waiting);
    // `count` characters were taken off the line; `more` says whether others still wait.
    void Took(std::size_t count, bool more);
    // Nanoseconds from now until `waiting` more characters have crossed.
    qint64 NsUntilCrossed(std::size_t waiting) const;

private:
    QElapsedTimer clock_;
    double freeAt_ = 0; // when the last character taken off the line was through, in ns
    bool idle_ = true;  // nothing waited when the line was last looked at
};

} // namespace sim
