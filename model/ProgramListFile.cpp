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

std::string SizeProblem(qint64 size) {
    return Format("It is no program list: a program list is %d bytes long, but this file is %lld bytes long.",
                  kProgramListFileSize, static_cast<long long>(size));
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

std::string ProgramListProblem(QByteArrayView bytes) {
    if (bytes.size() != kProgramListFileSize) {
        return SizeProblem(bytes.size());
    }
    const auto unprintable = std::find_if(bytes.begin(), bytes.end(), [](char c) {
        return c != '\0' && (c < kFirstPrintable || c == kDelete);
    });
    if (unprintable != bytes.end()) {
        return Format("It is no program list: entry %d holds a character that is not printable.",
                      static_cast<int>((unprintable - bytes.begin()) / kProgramListRecordSize) + 1);
    }
    return {};
}

std::optional<ProgramList> ReadProgramListFile(const std::string& path, std::string& problem) {
    // One byte more than a list tells a longer file from a list.
    const std::optional<QByteArray> bytes = ReadFileBytes(path, kProgramListFileSize + 1, problem);
    if (!bytes) {
        return std::nullopt;
    }
    problem = bytes->size() > kProgramListFileSize ? SizeProblem(FileSize(path)) : ProgramListProblem(*bytes);
    return problem.empty() ? std::optional(ReadProgramListBytes(*bytes)) : std::nullopt;
}

std::optional<ProgramList> ReadProgramListFile(const std::string& path) {
    std::string problem;
    return ReadProgramListFile(path, problem);
}

bool WriteProgramListFile(const std::string& path, const ProgramList& names, std::string& problem) {
    return WriteFileSafely(path, WriteProgramListBytes(names), problem);
}

} // namespace model
