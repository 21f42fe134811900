// Setup files in both formats: whatever the bytes, a read that is complete holds texts a device
// can hold, and what the document loads stores and loads again to the same bytes.
#include "fuzz/FuzzTarget.h"
#include "model/SetupFile.h"
#include "model/TonraDoc.h"

#include <algorithm>

using namespace model;

namespace {

bool Printable(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

bool DeviceChars(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return CTonraDoc::NameCharTable.find(c) != std::string_view::npos; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    DeviceSetup setup;
    const SetupFileRead read = ReadSetupFile(bytes, setup);
    FUZZ_CHECK(read.complete == read.problem.empty());
    if (!read.complete) {
        return 0;
    }
    FUZZ_CHECK(setup.deviceModel.size() <= kModelNameLength && Printable(setup.deviceModel));
    for (const ChannelSetup& channel : setup.channels) {
        FUZZ_CHECK(channel.name.size() <= kChannelNameLength && DeviceChars(channel.name));
    }
    for (const std::string& line : setup.lcdLine) {
        FUZZ_CHECK(line.size() <= kLcdLineLength && Printable(line));
    }
    const QByteArray stored = WriteSetupFile(setup);
    FUZZ_CHECK(stored.size() == kSetupFileSize);
    DeviceSetup again;
    FUZZ_CHECK(ReadSetupFile(stored, again).complete);
    FUZZ_CHECK(WriteSetupFile(again) == stored);

    // Through the document: validated on the way in, the same after a store and a load.
    static CTonraDoc doc;
    std::string problem;
    if (doc.LoadSetup(bytes, problem) == CTonraDoc::kLoadOk) {
        const QByteArray first = doc.StoreSetup();
        FUZZ_CHECK(doc.LoadSetup(first, problem) == CTonraDoc::kLoadOk);
        FUZZ_CHECK(doc.StoreSetup() == first);
    }
    return 0;
}
