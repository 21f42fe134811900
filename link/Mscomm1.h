// CMscomm1: the serial communications control that the serial transport drives. A port is
// configured through properties (CommPort, Settings, buffer sizes, modem lines, ...), opened
// and closed through PortOpen, read through InBufferCount and Input and written through
// Output, as with the control the transport was designed for; underneath is Qt SerialPort.
//
// The control raises no events, so it has no receive or send thresholds and no end-of-file
// detection, and Input hands the bytes over as received (text). Reads never wait: Input
// returns what the port has already delivered.
//
// A port that vanishes while open (a USB adapter pulled out) stays open for the program, as the
// control keeps its handle: reads return nothing and writes are dropped. While the program
// keeps reading, the control tries every two seconds to open the same device path again, so
// that the port carries on by itself when the adapter comes back.
#pragma once

#include <chrono>
#include <memory>
#include <string>

class QSerialPort;

class CMscomm1 {
public:
    CMscomm1();
    ~CMscomm1();
    CMscomm1(const CMscomm1&) = delete;
    CMscomm1& operator=(const CMscomm1&) = delete;

    // 1-based port number. Choosing another port while one is open closes the open one.
    void SetCommPort(int port);
    int GetCommPort() const { return commPort_; }
    // "baud,parity,data bits,stop bits", for example "115200,n,8,2". A malformed text is
    // refused (false) and the previous settings stay. Applied at once to an open port.
    bool SetSettings(const std::string& settings);
    // Bytes the control buffers on each side; at least 1.
    void SetInBufferSize(int size);
    void SetOutBufferSize(int size);
    // Characters Input returns at most; 0 for everything waiting.
    void SetInputLen(int length) { inputLen_ = length; }
    // Modem lines, set when the port opens and at once while it is open. A port without
    // modem lines (a pseudo-terminal) ignores them.
    void SetDTREnable(bool enable);
    void SetRTSEnable(bool enable);
    // Drop received zero bytes.
    void SetNullDiscard(bool discard) { nullDiscard_ = discard; }
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both (hardware flow control).
    void SetHandshaking(int handshaking);

    // Opens or closes the port. Opening fails (false) when the system refuses the device or
    // its settings; LastError then says why.
    bool SetPortOpen(bool open);
    // Whether the program holds the port open, also while its device is away.
    bool GetPortOpen() const { return open_; }
    // Whether the open port's device is there; false while it is away and when closed.
    bool IsDevicePresent() const;

    // Bytes received and not yet read. Setting 0 discards them.
    int GetInBufferCount();
    void SetInBufferCount(int count);
    // The bytes received (at most InputLen of them), removed from the buffer.
    std::string GetInput();
    // Queues bytes for sending; what does not fit into the output buffer is refused whole.
    bool SetOutput(const std::string& bytes);

    // The device path of the port and the reason of the last failure.
    std::string DevicePath() const;
    const std::string& LastError() const { return lastError_; }

    // How long a vanished port waits between two attempts to open it again.
    static constexpr std::chrono::milliseconds kReopenInterval{2000};

private:
    struct LineSettings {
        int baud = 9600;
        char parity = 'n';
        int dataBits = 8;
        double stopBits = 1;
    };
    using Clock = std::chrono::steady_clock;

    static bool ParseSettings(const std::string& text, LineSettings& settings);
    bool ApplyLineSettings();
    void ApplyModemLines();
    // Opens the device at `path` and applies the line settings; false with LastError set.
    bool OpenDevice(const std::string& path);
    // Notices a device that went away and, when it is time, opens it again.
    void Supervise();
    // Moves what the port has delivered into the input buffer, as far as it has room.
    void Pull();

    std::unique_ptr<QSerialPort> port_;
    std::string openPath_; // the device the open port was opened at
    Clock::time_point nextReopen_;
    std::string inBuffer_;
    std::string lastError_;
    LineSettings line_;
    int commPort_ = 1;
    int inBufferSize_ = 1024;
    int outBufferSize_ = 512;
    int inputLen_ = 0;
    int handshaking_ = 0;
    bool dtrEnable_ = false;
    bool rtsEnable_ = false;
    bool nullDiscard_ = false;
    bool open_ = false;
};
