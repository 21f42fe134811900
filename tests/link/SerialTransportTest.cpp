// The serial transport on real pseudo-terminals: the test holds the master side, the
// transport opens the slave side as its COM port.
#include "app/ProblemBoxes.h"
#include "framework/ScriptedUiService.h"
#include "link/ComPorts.h"
#include "link/PortSerial.h"
#include "link/Protocol.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace {

constexpr int kWaitMs = 5000;

// A pseudo-terminal whose slave is known to the program as COM `comPort`.
class TestPty {
public:
    explicit TestPty(int comPort) : variable_("VELTRIX_COM" + std::to_string(comPort)) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            slavePath_ = ptsname(master_);
            setenv(variable_.c_str(), slavePath_.c_str(), 1);
        }
    }
    ~TestPty() {
        unsetenv(variable_.c_str());
        if (master_ >= 0) {
            close(master_);
        }
    }
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const { return !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }
    void Write(const std::string& bytes) const {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::string ReadUntil(std::size_t count) const {
        std::string received;
        std::ignore = QTest::qWaitFor(
            [&] {
                char chunk[256];
                const ssize_t n = read(master_, chunk, sizeof chunk);
                if (n > 0) {
                    received.append(chunk, static_cast<std::size_t>(n));
                }
                return received.size() >= count;
            },
            kWaitMs);
        return received;
    }

private:
    std::string variable_;
    std::string slavePath_;
    int master_ = -1;
};

std::string ReceiveUntil(CPortSerial& serial, std::size_t count) {
    std::string received;
    std::ignore = QTest::qWaitFor(
        [&] {
            received += serial.Receive();
            return received.size() >= count;
        },
        kWaitMs);
    return received;
}

class SerialTransportTest : public ::testing::Test {
protected:
    CScriptedUiService ui;
    CScopedUiService scoped{ui};
    CPortSerial serial;

    // Opens the transport's port; a refusal is shown as the GUI and veltrix-cli show it.
    bool Open(int portIndex, const std::string& settings) {
        const bool opened = serial.Open(portIndex, settings);
        app::ShowConnectProblem(serial.OpenProblem());
        return opened;
    }
};

} // namespace

TEST_F(SerialTransportTest, OpensThePortWithTheLineSettingsAndDropsZeroBytes) {
    TestPty pty(7);
    ASSERT_TRUE(pty.ok());
    ASSERT_TRUE(Open(6, devlink::kSerialSettings)) << ui.MessageTexts().front();
    EXPECT_TRUE(serial.IsOpen());
    EXPECT_EQ(serial.PortIndex(), 6);
    EXPECT_TRUE(ui.shown().empty());

    // The settings live with the terminal, so a second descriptor reads them.
    const int fd = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    close(fd);
    EXPECT_EQ(cfgetospeed(&tio), B115200);
    EXPECT_EQ(cfgetispeed(&tio), B115200);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(tio.c_cflag & PARENB, 0u);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);

    pty.Write(std::string("A\0B\0\0C\x11", 7));
    EXPECT_EQ(ReceiveUntil(serial, 4), "ABC\x11");
    EXPECT_EQ(serial.Receive(), "");

    serial.Send(std::string("\x11reply\x12", 7));
    EXPECT_EQ(pty.ReadUntil(7), "\x11reply\x12");
}

TEST_F(SerialTransportTest, PurgeDiscardsWhatWasNotRead) {
    TestPty pty(3);
    ASSERT_TRUE(Open(2, devlink::kSerialSettings));
    pty.Write("stale");
    ASSERT_TRUE(QTest::qWaitFor([&] { return serial.Comm().GetInBufferCount() >= 5; }, kWaitMs));
    serial.Purge();
    EXPECT_EQ(serial.Receive(), "");
    pty.Write("fresh");
    EXPECT_EQ(ReceiveUntil(serial, 5), "fresh");
}

TEST_F(SerialTransportTest, OpeningThePortAlreadyOpenIsRefused) {
    TestPty com3(3);
    TestPty com4(4);
    ASSERT_TRUE(Open(2, devlink::kSerialSettings));
    EXPECT_FALSE(Open(2, devlink::kSerialSettings));
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].text, "Selected COM port unavailable");
    EXPECT_EQ(ui.shown()[0].caption, "Error");
    // The open port carries on.
    EXPECT_TRUE(serial.IsOpen());
    com3.Write("still");
    EXPECT_EQ(ReceiveUntil(serial, 5), "still");

    // Another port closes the first one and opens without a word.
    EXPECT_TRUE(Open(3, devlink::kSerialSettings));
    EXPECT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(serial.Comm().GetCommPort(), 4);
    com4.Write("four");
    EXPECT_EQ(ReceiveUntil(serial, 4), "four");

    serial.ClosePort();
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_EQ(serial.Receive(), "");
    serial.Send("closed");
    serial.ClosePort();
}

TEST_F(SerialTransportTest, PortTheSystemRefusesIsReportedWithPathAndReason) {
    setenv("VELTRIX_COM9", "/nonexistent/veltrix-tty", 1);
    EXPECT_FALSE(Open(8, devlink::kSerialSettings));
    unsetenv("VELTRIX_COM9");
    EXPECT_FALSE(serial.IsOpen());
    ASSERT_EQ(ui.shown().size(), 1u);
    const std::string& text = ui.shown()[0].text;
    EXPECT_NE(text.find("COM9"), std::string::npos) << text;
    EXPECT_NE(text.find("/nonexistent/veltrix-tty"), std::string::npos) << text;
    EXPECT_GT(text.size(), std::string("COM9 (/nonexistent/veltrix-tty) cannot be opened:\n").size()) << text;
    EXPECT_EQ(ui.shown()[0].caption, "Error");

    // Another transport still opens its own port afterwards.
    TestPty pty(2);
    CPortSerial other;
    EXPECT_TRUE(other.Open(1, devlink::kSerialSettings));
}

TEST_F(SerialTransportTest, MalformedSettingsAreRefused) {
    TestPty pty(5);
    EXPECT_FALSE(Open(4, "fast,n,8,2"));
    EXPECT_FALSE(Open(4, "115200,x,8,2"));
    EXPECT_FALSE(Open(4, "115200,n,8,3"));
    EXPECT_EQ(ui.shown().size(), 3u);
    // A pseudo-terminal always runs 8 data bits without parity.
    EXPECT_TRUE(Open(4, "9600,N,8,1")) << ui.MessageTexts().back();
}

TEST(ComPortsTest, ComPortNumbersMapToDevicePathsThroughSettingsAndEnvironment) {
    unsetenv("VELTRIX_COM3");
    const QTemporaryDir settingsDir;
    ASSERT_TRUE(settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    EXPECT_EQ(devlink::ComPortDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(devlink::ComPortDevicePath(16), "/dev/ttyS15");
    EXPECT_EQ(devlink::ComPortDevicePath(0), "");

    devlink::SetComPortDevicePath(3, "/dev/ttyUSB0");
    devlink::SetComPortDevicePath(7, "/dev/ttyS6"); // its default: nothing to store
    // A mapping an earlier version kept in the GUI's own settings file still counts.
    QSettings("Unknown Organization", "Veltrix").setValue("SerialPorts/COM12", "/dev/ttyACM0");
    EXPECT_EQ(devlink::ComPortDevicePath(3), "/dev/ttyUSB0");
    EXPECT_EQ(devlink::ComPortTargetOf(3).source, devlink::ComPortSource::Settings);
    EXPECT_EQ(QSettings(settingsDir.filePath("Veltrix/Veltrix.conf"), QSettings::IniFormat)
                  .value("SerialPorts/COM3"),
              "/dev/ttyUSB0");
    setenv("VELTRIX_COM3", "/dev/pts/42", 1);
    setenv("VELTRIX_COM20", "/dev/pts/43", 1);
    EXPECT_EQ(devlink::ComPortDevicePath(3), "/dev/pts/42");
    EXPECT_EQ(devlink::RedirectedComPorts(), (std::vector<int>{3, 12, 20}));
    unsetenv("VELTRIX_COM3");
    unsetenv("VELTRIX_COM20");

    devlink::SetComPortDevicePath(3, "");
    devlink::SetComPortDevicePath(12, "/dev/ttyS11");
    EXPECT_EQ(devlink::ComPortDevicePath(3), "/dev/ttyS2");
    EXPECT_EQ(devlink::ComPortDevicePath(12), "/dev/ttyS11");
    EXPECT_EQ(devlink::RedirectedComPorts(), std::vector<int>{});
}

TEST(ComPortsTest, APortsStableNameIsTheLinkThatLeadsToIt) {
    TestPty pty(30);
    ASSERT_TRUE(pty.ok());
    const QTemporaryDir byId;
    const std::string link = byId.filePath("usb-Maker_Adapter_123-if00-port0").toStdString();
    ASSERT_EQ(symlink(pty.slavePath().c_str(), link.c_str()), 0);
    EXPECT_EQ(devlink::StableNameOf(pty.slavePath(), byId.path().toStdString()), link);
    EXPECT_EQ(devlink::StableNameOf("/dev/null", byId.path().toStdString()), "");
    EXPECT_TRUE(devlink::DeviceExists(link));
    EXPECT_FALSE(devlink::DeviceExists(link + "-gone"));
}

TEST_F(SerialTransportTest, APortInUseNamesTheProgramThatHoldsIt) {
    TestPty pty(5);
    ASSERT_TRUE(pty.ok());
    CPortSerial first;
    ASSERT_TRUE(first.Open(4, devlink::kSerialSettings));
    EXPECT_FALSE(Open(4, devlink::kSerialSettings));

    ASSERT_EQ(ui.shown().size(), 1u);
    const std::string& text = ui.shown()[0].text;
    EXPECT_NE(text.find("COM5 (" + pty.slavePath() + ") cannot be opened"), std::string::npos) << text;
    EXPECT_NE(text.find("in use by this program (process " + std::to_string(getpid()) + ")"),
              std::string::npos)
        << text;
}

TEST_F(SerialTransportTest, APortWhoseTerminalGoesAwayIsClosedAndOpenedAgainWhenItComesBack) {
    const QTemporaryDir byId;
    const std::string link = byId.filePath("usb-Maker_Adapter_B2-if00-port0").toStdString();
    auto pty = std::make_unique<TestPty>(21);
    ASSERT_EQ(symlink(pty->slavePath().c_str(), link.c_str()), 0);
    setenv("VELTRIX_COM21", link.c_str(), 1);
    ASSERT_TRUE(Open(20, devlink::kSerialSettings));

    // Only this transport had the terminal open: it is hung up, and reads fail at every turn
    // of the event loop until the port is closed.
    pty.reset();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return serial.Receive().empty() && !serial.IsDevicePresent(); }, kWaitMs));
    EXPECT_TRUE(serial.IsOpen());
    serial.Send("nobody listens");

    pty = std::make_unique<TestPty>(22);
    const std::string fresh = link + ".new";
    ASSERT_EQ(symlink(pty->slavePath().c_str(), fresh.c_str()), 0);
    ASSERT_EQ(rename(fresh.c_str(), link.c_str()), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return serial.Receive(), serial.IsDevicePresent(); }, kWaitMs));
    pty->Write("back");
    EXPECT_EQ(ReceiveUntil(serial, 4), "back");
    EXPECT_TRUE(ui.shown().empty());
    unsetenv("VELTRIX_COM21");
}
