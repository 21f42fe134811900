#include "model/FileIo.h"

#include "framework/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace model {

namespace {

std::string Sentence(const QString& reason) { return FromQString(reason) + "."; }

} // namespace

std::optional<QByteArray> ReadFileBytes(const std::string& path, qsizetype maxBytes, std::string& problem) {
    // A pipe without a writer would block the open for ever, and a device never ends: only a
    // regular file (or a link to one) is opened at all.
    const QFileInfo info(ToQString(path));
    if (info.exists() && !info.isFile()) {
        problem = info.isDir() ? "It is a folder, not a file."
                               : "It is no regular file (a pipe, a socket or a device).";
        return std::nullopt;
    }
    QFile file(ToQString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        problem = Sentence(file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) {
        problem = Sentence(file.errorString());
        return std::nullopt;
    }
    return bytes;
}

qint64 FileSize(const std::string& path) {
    const QFileInfo info(ToQString(path));
    return info.exists() ? info.size() : -1;
}

bool WriteFileSafely(const std::string& path, QByteArrayView bytes, std::string& problem) {
    QSaveFile file(ToQString(path));
    // Unbuffered, so that a failed write shows in the result of write(): a failure while the
    // buffer is flushed at commit() would go unnoticed and the incomplete file replace the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        problem = Sentence(file.errorString());
        return false;
    }
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        problem = Sentence(file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        problem = Sentence(file.errorString());
        return false;
    }
    return true;
}

} // namespace model
