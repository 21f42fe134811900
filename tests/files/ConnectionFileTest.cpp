#include "model/ConnectionFile.h"
#include "FileTestSupport.h"
#include "IsolatedConfig.h"
#include "model/TonraDoc.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace model;
using namespace testsupport;

namespace {

ConnectionSettings SampleSettings() {
    ConnectionSettings settings;
    settings.connectionMode = 1;
    for (int d = 0; d < kDeviceCount; ++d) {
        settings.comPort[d] = d + 1;
        settings.ipAddress[d] = {192, 168, 1, 10 + d};
    }
    return settings;
}

// Points the connection file somewhere else for one test.
class ScopedConnectionFile {
public:
    explicit ScopedConnectionFile(const QByteArray& path) : previous_(qgetenv(kConnectionFileVariable)) {
        qputenv(kConnectionFileVariable, path);
    }
    ~ScopedConnectionFile() { qputenv(kConnectionFileVariable, previous_); }
    ScopedConnectionFile(const ScopedConnectionFile&) = delete;
    ScopedConnectionFile& operator=(const ScopedConnectionFile&) = delete;

private:
    QByteArray previous_;
};

class ConnectionFile : public ::testing::Test {
protected:
    CRecordingUi ui;
    CScopedUiService installed{ui};

    void SetUp() override { QFile::remove(QString::fromStdString(IsolatedConnectionFile())); }
};

} // namespace

TEST_F(ConnectionFile, HoldsModePortsAndAddressesInFileOrder) {
    const QByteArray bytes = WriteConnectionBytes(SampleSettings());
    ASSERT_EQ(bytes.size(), kConnectionFileSize);
    EXPECT_EQ(IntAt(bytes, 0), 1);
    EXPECT_EQ(IntAt(bytes, 4), 1);   // port of device 0
    EXPECT_EQ(IntAt(bytes, 64), 16); // port of device 15
    EXPECT_EQ(IntAt(bytes, 68), 192);
    EXPECT_EQ(IntAt(bytes, 100), 192); // device 2 from 68 + 2 x 16
    EXPECT_EQ(IntAt(bytes, 112), 12);
    EXPECT_EQ(IntAt(bytes, 320), 25); // last octet of device 15
    EXPECT_EQ(ReadConnectionBytes(bytes), SampleSettings());
    EXPECT_EQ(ReadConnectionBytes(bytes.left(kConnectionFileSize - 1)), std::nullopt);
}

TEST_F(ConnectionFile, WrittenByTheDocumentAndReadAtNew) {
    CTonraDoc writer;
    ASSERT_TRUE(writer.WriteConnectionFile(SampleSettings()));
    EXPECT_EQ(ReadBytes(IsolatedConnectionFile()).size(), kConnectionFileSize);

    CTonraDoc doc;
    doc.OnNewDocument();
    EXPECT_EQ(doc.connectionMode, 1);
    EXPECT_EQ(doc.comPort, SampleSettings().comPort);
    EXPECT_EQ(doc.ipAddress, SampleSettings().ipAddress);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConnectionFile, MissingOrShortFileLeavesTheSettings) {
    CTonraDoc doc;
    doc.OnNewDocument();
    EXPECT_EQ(doc.connectionMode, 0);
    EXPECT_EQ(doc.comPort, DeviceArray<int>{});
    EXPECT_EQ(doc.ipAddress, (DeviceArray<std::array<int, kIpOctetCount>>{}));

    WriteBytes(IsolatedConnectionFile(), WriteConnectionBytes(SampleSettings()).left(200));
    doc.comPort[3] = 7;
    doc.OnNewDocument();
    EXPECT_EQ(doc.comPort[3], 7);
    EXPECT_EQ(doc.connectionMode, 0);
}

TEST_F(ConnectionFile, KeptInTheConfigFolderUnlessTheVariableNamesAnother) {
    EXPECT_EQ(ConnectionFilePath(), IsolatedConnectionFile());
    {
        const ScopedConnectionFile unset("");
        EXPECT_EQ(ConnectionFilePath(), IsolatedConfigDir() + "/Veltrix/tonra.sys");
        CTonraDoc doc;
        ASSERT_TRUE(doc.WriteConnectionFile(SampleSettings())); // the folder is made when missing
        EXPECT_EQ(ReadConnectionFile(IsolatedConfigDir() + "/Veltrix/tonra.sys"), SampleSettings());
    }
    EXPECT_EQ(ReadConnectionFile(IsolatedConnectionFile()), std::nullopt);
}

TEST_F(ConnectionFile, AFileThatCannotBeCreatedIsReportedWithPathAndReason) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath("plain-file");
    WriteBytes(blocker.toStdString(), "not a folder");
    const QByteArray path = (blocker + "/tonra.sys").toLocal8Bit();
    const ScopedConnectionFile redirected(path);
    CTonraDoc doc;
    EXPECT_FALSE(ShownAsShell(doc.WriteConnectionFile(SampleSettings()), doc));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Cannot write the connection file \"" + path.toStdString() + "\""),
              std::string::npos);
    EXPECT_NE(ui.messages[0].find("cannot be created"), std::string::npos) << ui.messages[0];
}
