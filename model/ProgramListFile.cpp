#include "model/ProgramListFile.h"

#include "model/FileIo.h"

#include <algorithm>

namespace model {

QByteArray WriteProgramListBytes(const ProgramList& names) {
    QByteArray bytes(kProgramListFileSize, '\0');
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::size_t length = std::min<std::size_t>(names[i].size(), kProgramListRecordSize);
        std::copy_n(names[i].begin(), length,
                    bytes.begin() + static_cast<qsizetype>(i) * kProgramListRecordSize);
    }
    return bytes;
}

ProgramList ReadProgramListBytes(QByteArrayView bytes) {
    ProgramList names;
    const qsizetype wholeRecords = std::min<qsizetype>(bytes.size() / kProgramListRecordSize, kProgramCount);
    for (qsizetype i = 0; i < wholeRecords; ++i) {
        for (const char c : bytes.sliced(i * kProgramListRecordSize, kProgramListRecordSize)) {
            if (c != '\0') {
                names[static_cast<std::size_t>(i)] += c;
            }
        }
    }
    return names;
}

std::optional<ProgramList> ReadProgramListFile(const std::string& path) {
    std::string problem;
    const std::optional<QByteArray> bytes = ReadFileBytes(path, kProgramListFileSize, problem);
    return bytes ? std::optional(ReadProgramListBytes(*bytes)) : std::nullopt;
}

bool WriteProgramListFile(const std::string& path, const ProgramList& names, std::string& problem) {
    return WriteFileSafely(path, WriteProgramListBytes(names), problem);
}

} // namespace model
