#include "model/ProgramListFile.h"

#include "framework/Format.h"
#include "model/DeviceText.h"
#include "model/FileIo.h"

#include <algorithm>
#include <string_view>

namespace model {

namespace {

// Characters no file name of the program library may hold: path separators of every system the
// lists travel between, and what those systems refuse in a name.
constexpr std::string_view kSeparators = "/\\";
constexpr std::string_view kForbidden = ":*?\"<>|";
constexpr char kFirstPrintable = ' ';
constexpr char kDelete = 0x7F;

const char* NameFault(const std::string& name) {
    if (name == "." || name == "..") {
        return "it names a folder";
    }
    if (name.find_first_of(kSeparators) != std::string::npos) {
        return "it holds a path separator";
    }
    const bool unfit = std::any_of(name.begin(), name.end(), [](char c) {
        return c < kFirstPrintable || c == kDelete || kForbidden.find(c) != std::string_view::npos;
    });
    return unfit ? "it holds a character a file name cannot hold" : nullptr;
}

} // namespace

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

std::string ProgramEntryProblem(int entry, const std::string& name) {
    const char* fault = NameFault(name);
    if (!fault) {
        return {};
    }
    return Format("Entry %d of the program list, \"%s\", is not a file name in the list's folder: %s.",
                  entry + 1, KeepToPrintable(name, kProgramListRecordSize).c_str(), fault);
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
