// The simulator's device side of a connection, fed whatever a program (or anything else on the
// line) sends, in pieces: it never holds more than its limits and never leaves a transfer in a
// state it cannot report.
//
// Building a device writes its 30 stored programs, which took nearly all the time of an input;
// the device is built once, and before each input its document slot, its stored programs and
// its random numbers are put back as they were built, and a new session starts. What else a
// device keeps (a program name half received, the wandering of its meters) only colours the
// contents of its replies.
#include "fuzz/FuzzTarget.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimSession.h"

#include <algorithm>
#include <random>

namespace {

constexpr int kSlot = 0;
constexpr unsigned kSeed = 1;

// What an input can change of the device and its document slot.
struct DeviceState {
    explicit DeviceState(sim::CSimDevice& device) : programs(device.ProgramImage()) {
        const CTonraDoc& doc = device.Doc();
        params.CopyDevice(doc, kSlot);
        deviceModel = doc.deviceModel[kSlot];
        inputs = doc.inputCount[kSlot];
        outputs = doc.outputCount[kSlot];
        password = doc.devicePassword[kSlot];
        oemPrograms = doc.oemPrograms[kSlot];
        factoryEq = doc.factoryEq[kSlot];
        locks = doc.securityLocks[kSlot];
        currentProgram = doc.currentProgram[kSlot];
    }

    void Restore(sim::CSimDevice& device) const {
        CTonraDoc& doc = device.Doc();
        doc.CopyDevice(params, kSlot);
        doc.deviceModel[kSlot] = deviceModel;
        doc.inputCount[kSlot] = inputs;
        doc.outputCount[kSlot] = outputs;
        doc.devicePassword[kSlot] = password;
        doc.oemPrograms[kSlot] = oemPrograms;
        doc.factoryEq[kSlot] = factoryEq;
        doc.securityLocks[kSlot] = locks;
        doc.currentProgram[kSlot] = currentProgram;
        device.TakeProgramImage(programs); // also the program names
        device.Random().seed(kSeed);
    }

    std::string programs;
    CTonraParams params;
    std::string deviceModel;
    int inputs = 0;
    int outputs = 0;
    std::string password;
    int oemPrograms = 0;
    int factoryEq = 0;
    std::array<int, model::kLockCount> locks{};
    int currentProgram = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static CTonraDoc doc;
    static sim::CSimDevice device(doc, kSlot, sim::DeviceSetup{}, kSeed);
    static const DeviceState built(device);
    built.Restore(device);
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
