#include "app/RecoveryFile.h"

#include "framework/Text.h"
#include "model/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

namespace {

const char* const kFolder = "Veltrix";
const char* const kFileName = "recovery.dat";
// Beside the recovery file: the path of the setup file the changes belong to.
const char* const kSetupFileNoteSuffix = ".path";
constexpr qsizetype kMaxNoteBytes = 4096;

std::string SetupFileNotePath() { return RecoveryFilePath() + kSetupFileNoteSuffix; }

} // namespace

std::string RecoveryFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return FromQString(folder + '/' + kFolder + '/' + kFileName);
}

bool WriteRecoveryFile(QByteArrayView setup, const std::string& setupFile, std::string& problem) {
    const QString folder = QFileInfo(ToQString(RecoveryFilePath())).absolutePath();
    if (!QDir().mkpath(folder)) {
        problem = "The folder " + FromQString(folder) + " cannot be created.";
        return false;
    }
    // The note first: a recovery file is never offered under the name of an earlier setup.
    if (setupFile.empty()) {
        QFile::remove(ToQString(SetupFileNotePath()));
    } else if (!model::WriteFileSafely(SetupFileNotePath(), QByteArray::fromStdString(setupFile), problem)) {
        return false;
    }
    return model::WriteFileSafely(RecoveryFilePath(), setup, problem);
}

std::optional<RecoveredSetup> FindRecoveryFile() {
    RecoveredSetup found{.path = RecoveryFilePath(), .setupFile = {}};
    if (!QFileInfo(ToQString(found.path)).isFile()) {
        return std::nullopt;
    }
    std::string problem;
    if (const std::optional<QByteArray> note =
            model::ReadFileBytes(SetupFileNotePath(), kMaxNoteBytes, problem)) {
        found.setupFile = note->toStdString();
    }
    return found;
}

void RemoveRecoveryFile() {
    QFile::remove(ToQString(RecoveryFilePath()));
    QFile::remove(ToQString(SetupFileNotePath()));
}

} // namespace app
