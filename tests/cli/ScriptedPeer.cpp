#include "ScriptedPeer.h"

#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimSession.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <utility>

namespace clitest {

namespace {
constexpr int kPollMs = 20;
constexpr int kSlot = 0;
constexpr unsigned kSeed = 11;
constexpr std::size_t kChunk = 4096;
constexpr auto kPause = std::chrono::milliseconds(1500);

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, kPollMs) > 0;
}
} // namespace

CScriptedPeer::~CScriptedPeer() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listener_ >= 0) {
        close(listener_);
    }
}

bool CScriptedPeer::Start() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return false;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
    return true;
}

QStringList CScriptedPeer::Target() const { return {"--ip", "127.0.0.1", "--port", QString::number(port_)}; }

void CScriptedPeer::Serve() {
    while (!stop_) {
        if (!Readable(listener_)) {
            continue;
        }
        const int connection = accept(listener_, nullptr, nullptr);
        if (connection >= 0) {
            ServeConnection(connection);
        }
    }
}

void CScriptedPeer::ServeConnection(int connection) {
    CTonraDoc doc;
    sim::CSimDevice device(doc, kSlot, sim::DeviceSetup{}, kSeed);
    sim::CSimSession session(device, sim::SimFaults{});
    const std::string junk(kChunk, '\x7f');
    bool synced = false;
    bool faulty = false;
    bool cut = false;
    int runs = 0;
    devlink::TransferMode previous = devlink::TransferMode::Idle;
    auto faultStart = std::chrono::steady_clock::now();
    std::array<char, kChunk> buffer{};
    while (!stop_) {
        if (Readable(connection)) {
            const ssize_t count = recv(connection, buffer.data(), buffer.size(), 0);
            if (count <= 0) {
                break;
            }
            session.Receive(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
        }
        const devlink::TransferMode transfer = session.Transfer();
        runs += transfer == when_ && previous != when_ ? 1 : 0;
        previous = transfer;
        const bool due = when_ == devlink::TransferMode::Idle
                             ? synced && transfer == devlink::TransferMode::Idle
                             : transfer == when_ && runs > skip_;
        synced = synced || transfer == devlink::TransferMode::Sync;
        if (due && !faulty) {
            faulty = true;
            faultStart = std::chrono::steady_clock::now();
        }
        std::string output = session.TakeOutput();
        if (faulty) {
            switch (fault_) {
            case Fault::Close:
                close(connection);
                return;
            case Fault::Silence:
                output.clear();
                break;
            case Fault::Flood:
                output.clear();
                send(connection, junk.data(), junk.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                break;
            case Fault::CutBlock:
                // Half of what was due goes out once, then nothing.
                output.resize(std::exchange(cut, true) ? 0 : output.size() / 2);
                break;
            case Fault::Pause:
                if (std::chrono::steady_clock::now() - faultStart < kPause) {
                    output.clear();
                }
                break;
            }
        }
        if (!output.empty()) {
            send(connection, output.data(), output.size(), MSG_NOSIGNAL);
        }
    }
    close(connection);
}

} // namespace clitest
