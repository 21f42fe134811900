#include "sim/SimTcpLine.h"

#include "sim/SimSession.h"

#include <QTcpSocket>

namespace sim {

namespace {
constexpr double kMsPerSecond = 1000;
}

CSimTcpLine::CSimTcpLine(CSimDevice& device, const LineOptions& options, std::unique_ptr<QTcpSocket> socket,
                         double closeAfterSeconds)
    : CSimLine(device, options), socket_(std::move(socket)) {
    socket_->setParent(nullptr);
    // What crosses the line leaves at once, however short.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QObject::connect(socket_.get(), &QTcpSocket::readyRead, [this] {
        const QByteArray bytes = socket_->readAll();
        Arrived(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    });
    QObject::connect(socket_.get(), &QTcpSocket::disconnected, [this] { Closed(); });
    if (closeAfterSeconds > 0) {
        closeTimer_.setSingleShot(true);
        QObject::connect(&closeTimer_, &QTimer::timeout, [this] { socket_->disconnectFromHost(); });
        closeTimer_.start(static_cast<int>(closeAfterSeconds * kMsPerSecond));
    }
}

CSimTcpLine::~CSimTcpLine() {
    QObject::disconnect(socket_.get(), nullptr, nullptr, nullptr);
    socket_->abort();
}

std::size_t CSimTcpLine::WriteRaw(std::string_view chars) {
    if (closed_ || chars.empty() ||
        socket_->bytesToWrite() + static_cast<qint64>(chars.size()) >
            static_cast<qint64>(CSimSession::kOutputLimit)) {
        return 0;
    }
    const qint64 written = socket_->write(chars.data(), static_cast<qint64>(chars.size()));
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

void CSimTcpLine::Closed() {
    if (closed_) {
        return;
    }
    closed_ = true;
    closeTimer_.stop();
    if (onClosed_) {
        onClosed_();
    }
}

} // namespace sim
