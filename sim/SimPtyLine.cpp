#include "sim/SimPtyLine.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
constexpr std::size_t kReadChunk = 4096;

std::string SystemError(const char* call) { return std::string(call) + ": " + std::strerror(errno); }
} // namespace

CSimPtyLine::CSimPtyLine(CSimDevice& device, const LineOptions& options) : CSimLine(device, options) {}

CSimPtyLine::~CSimPtyLine() {
    readNotifier_.reset();
    writeNotifier_.reset();
    if (slave_ >= 0) {
        close(slave_);
    }
    if (master_ >= 0) {
        close(master_);
    }
}

bool CSimPtyLine::Open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0) {
        error = SystemError("posix_openpt");
        return false;
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = SystemError("grantpt");
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        error = SystemError("ptsname");
        return false;
    }
    path_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0) {
        error = SystemError("open");
        return false;
    }
    // Raw until the program sets its own modes: no echo, no line editing.
    termios modes{};
    if (tcgetattr(slave_, &modes) == 0) {
        cfmakeraw(&modes);
        tcsetattr(slave_, TCSANOW, &modes);
    }
    readNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated, [this] { ReadAvailable(); });
    writeNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated, [this] { Flush(); });
    return true;
}

void CSimPtyLine::ReadAvailable() {
    std::array<char, kReadChunk> chunk{};
    for (;;) {
        const ssize_t count = read(master_, chunk.data(), chunk.size());
        if (count > 0) {
            Arrived(std::string_view(chunk.data(), static_cast<std::size_t>(count)));
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno != EAGAIN) {
            // The terminal is gone; stop listening rather than wake up for ever.
            readNotifier_->setEnabled(false);
        }
        return;
    }
}

std::size_t CSimPtyLine::WriteRaw(std::string_view chars) {
    if (chars.empty()) {
        return 0;
    }
    const ssize_t count = write(master_, chars.data(), chars.size());
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void CSimPtyLine::WantWrite(bool want) {
    if (writeNotifier_) {
        writeNotifier_->setEnabled(want);
    }
}

} // namespace sim
