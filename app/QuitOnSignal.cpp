#include "app/QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// A signal handler may only write to a descriptor; the event loop reads the other end.
std::array<int, 2> signalPipe = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalPipe[0], &byte, 1);
}

} // namespace

CQuitOnSignal::CQuitOnSignal() {
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe.data()) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    for (const int signal : kSignals) {
        std::signal(signal, OnSignal);
    }
}

CQuitOnSignal::~CQuitOnSignal() {
    if (!notifier_) {
        return;
    }
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    notifier_.reset();
    close(signalPipe[0]);
    close(signalPipe[1]);
    signalPipe = {-1, -1};
}

} // namespace app
