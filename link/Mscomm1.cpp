#include "link/Mscomm1.h"

#include "link/ComPorts.h"
#include "link/SerialAccess.h"

#include <QSerialPort>

#include <algorithm>
#include <array>
#include <charconv>
#include <sstream>
#include <vector>

namespace {

constexpr int kHandshakeNone = 0;
constexpr int kHandshakeXonXoff = 1;

struct ParityLetter {
    char letter;
    QSerialPort::Parity parity;
};
constexpr std::array<ParityLetter, 5> kParities = {{
    {'n', QSerialPort::NoParity},
    {'e', QSerialPort::EvenParity},
    {'o', QSerialPort::OddParity},
    {'m', QSerialPort::MarkParity},
    {'s', QSerialPort::SpaceParity},
}};

constexpr int kMinDataBits = 5;
constexpr int kMaxDataBits = 8;
constexpr double kOneAndHalfStopBits = 1.5;

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    std::string field;
    while (std::getline(stream, field, ',')) {
        fields.push_back(field);
    }
    return fields;
}

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end;
}

std::string Describe(const QSerialPort& port) { return port.errorString().toStdString(); }

} // namespace

CMscomm1::CMscomm1() = default;
CMscomm1::~CMscomm1() = default;

void CMscomm1::SetCommPort(int port) {
    if (port != commPort_ && GetPortOpen()) {
        SetPortOpen(false);
    }
    commPort_ = port;
}

bool CMscomm1::ParseSettings(const std::string& text, LineSettings& settings) {
    const std::vector<std::string> fields = SplitFields(text);
    constexpr std::size_t kFieldCount = 4;
    if (fields.size() != kFieldCount) {
        return false;
    }
    LineSettings parsed;
    if (!ParseInt(fields[0], parsed.baud) || parsed.baud <= 0) {
        return false;
    }
    if (fields[1].size() != 1) {
        return false;
    }
    parsed.parity = static_cast<char>(std::tolower(static_cast<unsigned char>(fields[1][0])));
    const bool knownParity = std::any_of(kParities.begin(), kParities.end(),
                                         [&](const ParityLetter& p) { return p.letter == parsed.parity; });
    if (!knownParity || !ParseInt(fields[2], parsed.dataBits) || parsed.dataBits < kMinDataBits ||
        parsed.dataBits > kMaxDataBits) {
        return false;
    }
    if (fields[3] == "1") {
        parsed.stopBits = 1;
    } else if (fields[3] == "1.5") {
        parsed.stopBits = kOneAndHalfStopBits;
    } else if (fields[3] == "2") {
        parsed.stopBits = 2;
    } else {
        return false;
    }
    settings = parsed;
    return true;
}

bool CMscomm1::SetSettings(const std::string& settings) {
    if (!ParseSettings(settings, line_)) {
        lastError_ = "invalid settings \"" + settings + "\"";
        return false;
    }
    return !IsDevicePresent() || ApplyLineSettings();
}

void CMscomm1::SetInBufferSize(int size) {
    inBufferSize_ = std::max(size, 1);
    if (port_) {
        port_->setReadBufferSize(inBufferSize_);
    }
}

void CMscomm1::SetOutBufferSize(int size) { outBufferSize_ = std::max(size, 1); }

void CMscomm1::SetDTREnable(bool enable) {
    dtrEnable_ = enable;
    ApplyModemLines();
}

void CMscomm1::SetRTSEnable(bool enable) {
    rtsEnable_ = enable;
    ApplyModemLines();
}

void CMscomm1::SetHandshaking(int handshaking) {
    handshaking_ = handshaking;
    if (IsDevicePresent()) {
        ApplyLineSettings();
    }
}

bool CMscomm1::ApplyLineSettings() {
    QSerialPort& port = *port_;
    const auto parity = std::find_if(kParities.begin(), kParities.end(),
                                     [&](const ParityLetter& p) { return p.letter == line_.parity; });
    const QSerialPort::StopBits stopBits = line_.stopBits == 1 ? QSerialPort::OneStop
                                           : line_.stopBits == kOneAndHalfStopBits
                                               ? QSerialPort::OneAndHalfStop
                                               : QSerialPort::TwoStop;
    const QSerialPort::FlowControl flow = handshaking_ == kHandshakeNone      ? QSerialPort::NoFlowControl
                                          : handshaking_ == kHandshakeXonXoff ? QSerialPort::SoftwareControl
                                                                              : QSerialPort::HardwareControl;
    const bool applied = port.setBaudRate(line_.baud) &&
                         port.setDataBits(static_cast<QSerialPort::DataBits>(line_.dataBits)) &&
                         port.setParity(parity->parity) && port.setStopBits(stopBits) &&
                         port.setFlowControl(flow);
    if (!applied) {
        lastError_ = Describe(port);
    }
    return applied;
}

void CMscomm1::ApplyModemLines() {
    if (!IsDevicePresent() || handshaking_ != kHandshakeNone) {
        return;
    }
    // A pseudo-terminal has no modem lines and refuses them: that is no fault of the port.
    port_->setDataTerminalReady(dtrEnable_);
    port_->setRequestToSend(rtsEnable_);
    port_->clearError();
}

bool CMscomm1::SetPortOpen(bool open) {
    if (!open) {
        if (port_) {
            port_->close();
            port_.reset();
        }
        open_ = false;
        inBuffer_.clear();
        return true;
    }
    if (open_) {
        return true;
    }
    const std::string path = DevicePath();
    if (!OpenDevice(path)) {
        return false;
    }
    openPath_ = path;
    open_ = true;
    return true;
}

bool CMscomm1::OpenDevice(const std::string& path) {
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(path));
    port->setReadBufferSize(inBufferSize_);
    if (!port->open(QIODevice::ReadWrite)) {
        lastError_ = Describe(*port);
        if (port->error() == QSerialPort::DeviceNotFoundError) {
            lastError_ += "\n" + devlink::MissingPortAdvice();
        } else if (port->error() == QSerialPort::PermissionError) {
            // Refused for want of the right, or busy: say what to do about it.
            if (const std::string advice = devlink::OpenRefusalAdvice(path); !advice.empty()) {
                lastError_ += "\n" + advice;
            }
        }
        return false;
    }
    // A device that goes away shows as a resource error, or, once the system has hung the
    // terminal up, as a read error at every turn of the event loop. Closing at once keeps the
    // port from reporting it again and again; Supervise notices the closed port.
    QObject::connect(port.get(), &QSerialPort::errorOccurred, port.get(),
                     [raw = port.get()](QSerialPort::SerialPortError error) {
                         const bool gone =
                             error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
                         if (gone && raw->isOpen()) {
                             raw->close();
                         }
                     });
    port_ = std::move(port);
    if (!ApplyLineSettings()) {
        port_->close();
        port_.reset();
        return false;
    }
    ApplyModemLines();
    inBuffer_.clear();
    lastError_.clear();
    return true;
}

bool CMscomm1::IsDevicePresent() const { return port_ && port_->isOpen(); }

void CMscomm1::Supervise() {
    if (!open_) {
        return;
    }
    if (port_ && !port_->isOpen()) {
        port_.reset();
        inBuffer_.clear();
        nextReopen_ = Clock::now() + kReopenInterval;
    }
    if (!port_ && Clock::now() >= nextReopen_) {
        nextReopen_ = Clock::now() + kReopenInterval;
        if (devlink::DeviceExists(openPath_)) {
            OpenDevice(openPath_);
        }
    }
}

void CMscomm1::Pull() {
    Supervise();
    if (!IsDevicePresent()) {
        return;
    }
    while (static_cast<int>(inBuffer_.size()) < inBufferSize_ && port_->bytesAvailable() > 0) {
        const QByteArray bytes = port_->read(inBufferSize_ - static_cast<int>(inBuffer_.size()));
        if (bytes.isEmpty()) {
            break;
        }
        for (const char c : bytes) {
            if (c != '\0' || !nullDiscard_) {
                inBuffer_ += c;
            }
        }
    }
}

int CMscomm1::GetInBufferCount() {
    Pull();
    return static_cast<int>(inBuffer_.size());
}

void CMscomm1::SetInBufferCount(int count) {
    if (count != 0) {
        return;
    }
    if (IsDevicePresent()) {
        port_->clear(QSerialPort::Input);
    }
    inBuffer_.clear();
}

std::string CMscomm1::GetInput() {
    Pull();
    const std::size_t length =
        inputLen_ > 0 ? std::min(inBuffer_.size(), static_cast<std::size_t>(inputLen_)) : inBuffer_.size();
    std::string input = inBuffer_.substr(0, length);
    inBuffer_.erase(0, length);
    return input;
}

bool CMscomm1::SetOutput(const std::string& bytes) {
    if (!IsDevicePresent() || port_->bytesToWrite() + static_cast<qint64>(bytes.size()) > outBufferSize_) {
        return false;
    }
    return port_->write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

std::string CMscomm1::DevicePath() const { return devlink::ComPortDevicePath(commPort_); }
