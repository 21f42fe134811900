// Ends the program when it is interrupted (Ctrl+C), asked to terminate (a service stop) or hung
// up on (a logout), at once and in whatever state it is: with a modal dialog, a message box,
// a popup or a file dialog open. Nobody can be asked anything then, so a callback first keeps
// what must not be lost; then every event loop is left, and the program is taken down in order
// as after a normal close: the link engines, the demo network's devices and its temporary
// connection file. A second signal ends the program at once, and so does a take-down that
// is still not over after kDeadlineSeconds.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace app {

class CQuitOnSignal {
public:
    static constexpr unsigned kDeadlineSeconds = 2;

    // Catches SIGINT, SIGTERM and SIGHUP for the lifetime of this object.
    CQuitOnSignal();
    ~CQuitOnSignal();
    CQuitOnSignal(const CQuitOnSignal&) = delete;
    CQuitOnSignal& operator=(const CQuitOnSignal&) = delete;

    // Runs on the event loop when a signal arrives, before the loops are left.
    void SetBeforeQuit(std::function<void()> beforeQuit) { beforeQuit_ = std::move(beforeQuit); }
    // A signal arrived and the program is ending. Also true for a signal taken by a message box
    // shown before the main event loop ran: then the caller does not start that loop.
    bool Received() const { return signal_ != 0; }
    // The exit status after a signal: 128 + its number, as a shell reports a signal.
    int ExitCode() const;

private:
    void OnSignal(int signal);

    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> beforeQuit_;
    int signal_ = 0;
};

} // namespace app
