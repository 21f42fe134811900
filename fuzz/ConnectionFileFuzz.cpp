// The connection file: read only when it is whole, and what is read writes back to the same
// settings.
#include "fuzz/FuzzTarget.h"
#include "model/ConnectionFile.h"

using namespace model;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<ConnectionSettings> settings = ReadConnectionBytes(bytes);
    if (settings) {
        const QByteArray written = WriteConnectionBytes(*settings);
        const std::optional<ConnectionSettings> again = ReadConnectionBytes(written);
        FUZZ_CHECK(again && WriteConnectionBytes(*again) == written);
    }
    return 0;
}
