#include "model/ConnectionFile.h"

#include "framework/Text.h"
#include "model/ArchiveReader.h"
#include "model/ArchiveWriter.h"
#include "model/FileIo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace model {

namespace {

const char* const kConnectionFolder = "Veltrix";
const char* const kConnectionFileName = "tonra.sys";

// The settings in file order, for reading and for writing.
template <typename Archive, typename Settings> void ExchangeSettings(Archive& archive, Settings& settings) {
    archive.Int(settings.connectionMode);
    for (auto& port : settings.comPort) {
        archive.Int(port);
    }
    for (auto& address : settings.ipAddress) {
        for (auto& octet : address) {
            archive.Int(octet);
        }
    }
}

} // namespace

QByteArray WriteConnectionBytes(const ConnectionSettings& settings) {
    CArchiveWriter archive;
    ExchangeSettings(archive, settings);
    return archive.Bytes();
}

std::optional<ConnectionSettings> ReadConnectionBytes(QByteArrayView bytes) {
    ConnectionSettings settings;
    CArchiveReader archive(bytes);
    ExchangeSettings(archive, settings);
    if (archive.Failed()) {
        return std::nullopt;
    }
    return settings;
}

std::string ConnectionFilePath() {
    const QString chosen = qEnvironmentVariable(kConnectionFileVariable);
    if (!chosen.isEmpty()) {
        return FromQString(chosen);
    }
    // The generic location, not the application's: the program, the command-line tool and
    // the simulator all find the same file whatever their application names.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return FromQString(folder + '/' + kConnectionFolder + '/' + kConnectionFileName);
}

std::optional<ConnectionSettings> ReadConnectionFile(const std::string& path) {
    std::string problem;
    const std::optional<QByteArray> bytes = ReadFileBytes(path, kConnectionFileSize, problem);
    return bytes ? ReadConnectionBytes(*bytes) : std::nullopt;
}

bool WriteConnectionFile(const std::string& path, const ConnectionSettings& settings, std::string& problem) {
    const QString folder = QFileInfo(ToQString(path)).absolutePath();
    if (!QDir().mkpath(folder)) {
        problem = "The folder " + FromQString(folder) + " cannot be created.";
        return false;
    }
    return WriteFileSafely(path, WriteConnectionBytes(settings), problem);
}

} // namespace model
