// The simulator's device side of a connection, fed whatever a program (or anything else on the
// line) sends, in pieces: it never holds more than its limits and never leaves a transfer in a
// state it cannot report.
#include "fuzz/FuzzTarget.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimSession.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static CTonraDoc doc;
    sim::CSimDevice device(doc, 0, sim::DeviceSetup{}, 1);
    sim::CSimSession session(device, sim::SimFaults{});
    const std::size_t chunk = 1 + data[0];
    for (std::size_t at = 1; at < size; at += chunk) {
        session.Receive(
            std::string_view(reinterpret_cast<const char*>(data) + at, std::min(chunk, size - at)));
        const std::string output = session.TakeOutput(static_cast<int>(chunk));
        FUZZ_CHECK(output.size() <= chunk);
        FUZZ_CHECK(session.BlocksDone() >= 0 && session.BlocksDone() <= devlink::kProgramImageBlocks);
    }
    session.TakeOutput();
    FUZZ_CHECK(!session.HasOutput());
    return 0;
}
