#include "sim/SimServer.h"

#include "sim/SimPtyLine.h"
#include "sim/SimTcpLine.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace sim {

CSimServer::CSimServer(CSimDevice& device, const LineOptions& options, double closeAfterSeconds)
    : device_(device), options_(options), closeAfterSeconds_(closeAfterSeconds) {
    options_.switchedOff = &switchedOff_;
    cleanup_.setSingleShot(true);
    QObject::connect(&cleanup_, &QTimer::timeout, [this] { RemoveClosed(); });
}

CSimServer::~CSimServer() = default;

bool CSimServer::Listen(const QHostAddress& address, quint16 port, std::string& error) {
    server_ = std::make_unique<QTcpServer>();
    if (!server_->listen(address, port)) {
        error = address.toString().toStdString() + ":" + std::to_string(port) + ": " +
                server_->errorString().toStdString();
        server_.reset();
        return false;
    }
    QObject::connect(server_.get(), &QTcpServer::newConnection, [this] { Accept(); });
    address_ = server_->serverAddress();
    port_ = server_->serverPort();
    return true;
}

void CSimServer::SwitchOff() {
    switchedOff_ = true;
    connections_.clear();
    server_.reset();
}

bool CSimServer::SwitchOn(std::string& error) {
    switchedOff_ = false;
    return port_ == 0 || Listen(address_, port_, error);
}

bool CSimServer::OpenPty(std::string& error) {
    pty_ = std::make_unique<CSimPtyLine>(device_, options_);
    if (!pty_->Open(error)) {
        pty_.reset();
        return false;
    }
    return true;
}

bool CSimServer::IsListening() const { return server_ && server_->isListening(); }

QHostAddress CSimServer::Address() const { return address_; }

quint16 CSimServer::Port() const { return port_; }

std::string CSimServer::PtyPath() const { return pty_ ? pty_->Path() : std::string(); }

void CSimServer::Accept() {
    while (QTcpSocket* accepted = server_->nextPendingConnection()) {
        std::unique_ptr<QTcpSocket> socket(accepted);
        if (connections_.size() >= kMaxConnections) {
            socket->abort();
            continue;
        }
        auto line = std::make_unique<CSimTcpLine>(device_, options_, std::move(socket), closeAfterSeconds_);
        line->OnClosed([this] { cleanup_.start(0); });
        connections_.push_back(std::move(line));
    }
}

void CSimServer::RemoveClosed() {
    std::erase_if(connections_, [](const std::unique_ptr<CSimTcpLine>& line) { return line->IsClosed(); });
}

void CSimServer::Report(const devlink::ReplyFrame& reply) {
    for (const auto& line : connections_) {
        if (!line->IsClosed()) {
            line->Report(reply);
        }
    }
    if (pty_) {
        pty_->Report(reply);
    }
}

std::vector<CSimSession*> CSimServer::Sessions() {
    std::vector<CSimSession*> sessions;
    for (const auto& line : connections_) {
        if (!line->IsClosed()) {
            sessions.push_back(&line->Session());
        }
    }
    if (pty_) {
        sessions.push_back(&pty_->Session());
    }
    return sessions;
}

int CSimServer::ConnectionCount() const {
    return static_cast<int>(
        std::count_if(connections_.begin(), connections_.end(),
                      [](const std::unique_ptr<CSimTcpLine>& line) { return !line->IsClosed(); }));
}

std::size_t CSimServer::CharsCarried() const {
    std::size_t chars = pty_ ? pty_->CharsCarried() : 0;
    for (const auto& line : connections_) {
        chars += line->CharsCarried();
    }
    return chars;
}

} // namespace sim
