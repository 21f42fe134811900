// The sync, downsync and program images as a device (or a damaged transfer) may fill them:
// whatever the characters, the device slot ends with possible counts, a printable model name
// and, once validated, every parameter inside its range.
#include "fuzz/FuzzTarget.h"
#include "link/DataImages.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <algorithm>

using namespace model;
using namespace devlink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    static CTonraDoc doc;
    const int d = static_cast<int>(size % kDeviceCount);
    ReadSyncImage(image, doc, d);
    FUZZ_CHECK(doc.GetInputCount(d) >= 1 && doc.GetInputCount(d) <= kMaxInputs);
    FUZZ_CHECK(doc.GetOutputCount(d) >= 1 && doc.GetOutputCount(d) <= kMaxOutputs);
    const std::string& model = doc.deviceModel[d];
    FUZZ_CHECK(model.size() <= kModelNameLength &&
               std::all_of(model.begin(), model.end(), [](char c) { return c >= ' ' && c <= '~'; }));
    FUZZ_CHECK(doc.currentProgram[d] >= 0 && doc.currentProgram[d] < kProgramCount);
    ReadDownSyncImage(image, doc, d);
    const std::string name = ReadProgramRecord(image, static_cast<int>(size % kProgramCount), doc, d);
    FUZZ_CHECK(name.size() <= kProgramNameLength);
    doc.ValidateDevice(d);
    for (int c = 0; c < doc.GetChannelCount(d); ++c) {
        for (int kind = kMute; kind <= kLimRelease; ++kind) {
            const int slot = doc.ChannelSlot(c, d);
            FUZZ_CHECK(slot >= 0);
            FUZZ_CHECK(doc.GetParam(kind, c, 0, d) >= 0);
        }
        FUZZ_CHECK(doc.gain[d][doc.ChannelSlot(c, d)] <= kParamUpperBound[kGain]);
    }
    return 0;
}
