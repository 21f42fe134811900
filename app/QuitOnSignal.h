// Ends the event loop when the program is interrupted (Ctrl+C) or asked to terminate, so that
// everything is taken down in order: the link engines, the demo network's devices and its
// temporary connection file.
#pragma once

#include <memory>

class QSocketNotifier;

namespace app {

class CQuitOnSignal {
public:
    // Catches SIGINT, SIGTERM and SIGHUP for the lifetime of this object.
    CQuitOnSignal();
    ~CQuitOnSignal();
    CQuitOnSignal(const CQuitOnSignal&) = delete;
    CQuitOnSignal& operator=(const CQuitOnSignal&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace app
