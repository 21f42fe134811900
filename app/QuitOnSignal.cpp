#include "app/QuitOnSignal.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <array>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalExitBase = 128;

// A signal handler may only write to a descriptor; the event loop reads the other end.
std::array<int, 2> signalPipe = {-1, -1};

void WriteSignal(int signal) {
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(signalPipe[0], &byte, 1);
}

void SetSignalHandler(int signal, void (*handler)(int), int flags) {
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

// Before the main event loop runs, leaving the loops does nothing; a message box shown then
// (a start-up question) ends when it is hidden.
void HideModalDialogs() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window);
            dialog && dialog->isVisible() && dialog->isModal()) {
            dialog->hide();
        }
    }
}

} // namespace

CQuitOnSignal::CQuitOnSignal() {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe.data()) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        unsigned char byte = 0;
        if (::read(signalPipe[1], &byte, 1) == 1) {
            OnSignal(byte);
        }
    });
    // Once caught, a signal takes its default action again: a second one ends the program at once.
    for (const int signal : kSignals) {
        SetSignalHandler(signal, WriteSignal, SA_RESTART | SA_RESETHAND);
    }
}

CQuitOnSignal::~CQuitOnSignal() {
    if (!notifier_) {
        return;
    }
    for (const int signal : kSignals) {
        SetSignalHandler(signal, SIG_DFL, 0);
    }
    alarm(0);
    notifier_.reset();
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe = {-1, -1};
}

int CQuitOnSignal::ExitCode() const { return Received() ? kSignalExitBase + signal_ : 0; }

void CQuitOnSignal::OnSignal(int signal) {
    if (Received()) {
        return;
    }
    signal_ = signal;
    if (beforeQuit_) {
        beforeQuit_();
    }
    // Every running event loop is left, and every loop started from now on returns at once,
    // so no dialog, message box or file dialog opens any more.
    QCoreApplication::exit(ExitCode());
    HideModalDialogs();
    // SIGALRM ends the program should its take-down hang.
    alarm(kDeadlineSeconds);
}

} // namespace app
