#include "link/PortSocket.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <array>
#include <limits>

CPortSocket::CPortSocket() = default;

CPortSocket::~CPortSocket() { Close(); }

bool CPortSocket::Connect(const std::string& address, int port) {
    Close();
    address_ = address;
    port_ = port;
    const QHostAddress host(QString::fromStdString(address));
    if (host.protocol() != QAbstractSocket::IPv4Protocol || port <= 0 ||
        port > std::numeric_limits<quint16>::max()) {
        return false;
    }
    socket_ = std::make_unique<QTcpSocket>();
    socket_->setReadBufferSize(kReceiveLimit);
    // Characters leave as they are sent, as on a serial line: a short frame never waits for
    // the acknowledgement of the one before it.
    QObject::connect(socket_.get(), &QTcpSocket::connected, socket_.get(), [socket = socket_.get()] {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    });
    socket_->connectToHost(host, static_cast<quint16>(port));
    return true;
}

bool CPortSocket::Reconnect() { return !address_.empty() && Connect(address_, port_); }

void CPortSocket::Close() {
    if (socket_) {
        socket_->abort();
        socket_.reset();
    }
}

std::string CPortSocket::Receive() {
    // A connection that ended is closed for reading; asking it anyway only yields warnings.
    if (!socket_ || !socket_->isReadable()) {
        return {};
    }
    std::array<char, kReceiveChunk> chunk{};
    const qint64 count = socket_->read(chunk.data(), kReceiveChunk);
    return count > 0 ? std::string(chunk.data(), static_cast<std::size_t>(count)) : std::string();
}

void CPortSocket::Send(const std::string& text) {
    // Characters for a connection that failed or ended are dropped; writing them would also
    // replace the reason it ended with "not connected".
    if (!socket_ || socket_->state() == QAbstractSocket::UnconnectedState ||
        socket_->bytesToWrite() + static_cast<qint64>(text.size()) > kSendLimit) {
        return;
    }
    socket_->write(text.data(), static_cast<qint64>(text.size()));
}

bool CPortSocket::IsDown() const { return socket_ && socket_->state() == QAbstractSocket::UnconnectedState; }

bool CPortSocket::IsConnecting() const {
    return socket_ && (socket_->state() == QAbstractSocket::HostLookupState ||
                       socket_->state() == QAbstractSocket::ConnectingState);
}

bool CPortSocket::IsConnected() const {
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

std::string CPortSocket::ErrorText() const {
    if (!socket_ || socket_->error() == QAbstractSocket::UnknownSocketError) {
        return {};
    }
    return socket_->errorString().toStdString();
}
