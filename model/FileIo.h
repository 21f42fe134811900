// Reading and writing whole files for the document's file formats. A write goes to a temporary
// file in the same folder that replaces the old file only once every byte is written, so a
// failed save never leaves a damaged or half-written file behind.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <string>

namespace model {

// The first `maxBytes` bytes of the file at `path` (all of it when it is shorter). When the
// file cannot be read: nothing, and `problem` says why in a sentence. Folders, pipes, sockets
// and devices are refused before anything is opened.
std::optional<QByteArray> ReadFileBytes(const std::string& path, qsizetype maxBytes, std::string& problem);

// The size in bytes of the file at `path`; -1 when there is none.
qint64 FileSize(const std::string& path);

// Makes `bytes` the whole content of the file at `path`. False, with the reason in `problem`,
// when that fails; an earlier file of that name then stays as it was.
bool WriteFileSafely(const std::string& path, QByteArrayView bytes, std::string& problem);

} // namespace model
