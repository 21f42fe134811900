#include "cli/OutputPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace cli {

bool CheckOutputPath(const std::string& path, std::string& problem) {
    const QFileInfo info(QString::fromStdString(path));
    const QDir folder = info.absoluteDir();
    if (!folder.exists()) {
        problem = "its folder \"" + folder.path().toStdString() + "\" does not exist.";
        return false;
    }
    if (info.exists() && !info.isFile()) {
        problem = "it is not a regular file.";
        return false;
    }
    if (info.exists()) {
        QFile existing(info.absoluteFilePath());
        if (!existing.open(QIODevice::ReadWrite)) {
            problem = existing.errorString().toStdString() + ".";
            return false;
        }
    }
    QTemporaryFile probe(folder.filePath(".veltrix-cli-XXXXXX"));
    if (!probe.open()) {
        problem = "its folder does not take new files: " + probe.errorString().toStdString() + ".";
        return false;
    }
    return true;
}

} // namespace cli
