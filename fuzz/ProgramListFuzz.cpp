// Program lists: every record reads as a name of at most 12 characters, a name the entry check
// lets through is a plain file name, and the list writes and reads back unchanged.
#include "fuzz/FuzzTarget.h"
#include "model/ProgramListFile.h"

using namespace model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ProgramList names = ReadProgramListBytes(bytes);
    for (int p = 0; p < kProgramCount; ++p) {
        const std::string& name = names[static_cast<std::size_t>(p)];
        FUZZ_CHECK(name.size() <= kProgramListRecordSize);
        FUZZ_CHECK(name.find('\0') == std::string::npos);
        if (ProgramEntryProblem(p, name).empty()) {
            FUZZ_CHECK(name.find('/') == std::string::npos && name != "..");
        }
    }
    FUZZ_CHECK(ReadProgramListBytes(WriteProgramListBytes(names)) == names);
    return 0;
}
