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

namespace clitest {

namespace {
constexpr int kPollMs = 20;
constexpr int kSlot = 0;
constexpr unsigned kSeed = 11;
constexpr std::size_t kChunk = 4096;

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
    bool synced = false;
    bool silent = false;
    std::array<char, kChunk> buffer{};
    while (!stop_) {
        if (Readable(connection)) {
            const ssize_t count = recv(connection, buffer.data(), buffer.size(), 0);
            if (count <= 0) {
                break;
            }
            session.Receive(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
        }
        const std::string output = session.TakeOutput();
        if (!silent && !output.empty()) {
            send(connection, output.data(), output.size(), MSG_NOSIGNAL);
        }
        synced = synced || session.Transfer() == devlink::TransferMode::Sync;
        if (synced && session.Transfer() == devlink::TransferMode::Idle) {
            if (after_ == AfterSync::Close) {
                break;
            }
            silent = true;
        }
    }
    close(connection);
}

} // namespace clitest
