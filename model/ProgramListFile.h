// The program list file (*.lst): the names of the 30 program files of the program library,
// 30 records of 12 bytes, each the file name without ".dat", zero-filled after the name.
#pragma once

#include "model/ModelTypes.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>
#include <string>

namespace model {

constexpr int kProgramListRecordSize = kProgramNameLength;
constexpr int kProgramListFileSize = kProgramCount * kProgramListRecordSize;

using ProgramList = std::array<std::string, kProgramCount>;

// 360 bytes; a name longer than a record is cut to 12 characters so it cannot run into the
// next record.
QByteArray WriteProgramListBytes(const ProgramList& names);
// Each name is every non-zero byte of its record, in order. A shorter file gives the names of
// its whole records; the records it lacks, and a record it holds only in part, stay empty.
ProgramList ReadProgramListBytes(QByteArrayView bytes);

// Why entry `entry` (0..29) of a program list cannot name a program file: a program file is a
// file in the list's folder, so the entry must be a plain file name, without a path separator,
// other than "." and "..", and without characters a file name cannot hold. A sentence that
// names the entry, or empty when the entry is empty or a plain name.
std::string ProgramEntryProblem(int entry, const std::string& name);

// Why `bytes` are no program list, as a sentence; empty when they are one: exactly 360 bytes,
// every byte of a name printable (zero bytes fill the records).
std::string ProgramListProblem(QByteArrayView bytes);

// The list in the file at `path`; nothing when the file cannot be read or is no program list,
// and then `problem` says why.
std::optional<ProgramList> ReadProgramListFile(const std::string& path, std::string& problem);
std::optional<ProgramList> ReadProgramListFile(const std::string& path);
// Creates or replaces the file at `path`. False, with the reason in `problem`, when that fails.
bool WriteProgramListFile(const std::string& path, const ProgramList& names, std::string& problem);

} // namespace model
