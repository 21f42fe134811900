// The link engine's receive path: whatever a device sends, in pieces of any size, in every
// transfer mode and in idle. The first byte chooses the mode and whether the password was
// accepted, the second the largest piece the line hands over per tick; the rest is the
// device's stream. The engine must keep its buffers inside their limits, end or keep running
// its transfer, and leave the device slot with possible values.
//
// The engine is built once; each input gets a new document and creates the engine's window
// again on it, which clears its buffers, counters and transfer (a transfer writes the data
// image before it reads it). An idle engine whose stream has ended is left after one more
// poll cycle: it only polls on, and the long wait that a transfer step needs to time out was
// most of the time of every input.
#include "framework/UiService.h"
#include "fuzz/FuzzTarget.h"
#include "link/Port.h"
#include "model/TonraDoc.h"

#include <QTemporaryDir>

#include <algorithm>
#include <optional>

namespace {

constexpr int kSlot = 0;
constexpr int kModes = 5;        // Idle, Sync, DownSync, Upload, Download
constexpr int kExtraTicks = 450; // past every step's time-out once the stream has ended
constexpr int kIdleTicks = CPort::kPollTicks + 1; // one poll cycle of an idle engine

class CStreamLine : public CPortLine {
public:
    CStreamLine(std::string_view stream, std::size_t piece) : stream_(stream), piece_(piece) {}
    void Send(const std::string&) override {}
    std::string Receive() override {
        const std::string_view taken = stream_.substr(0, piece_);
        stream_.remove_prefix(taken.size());
        return std::string(taken);
    }
    bool Ended() const { return stream_.empty(); }

private:
    std::string_view stream_;
    const std::size_t piece_;
};

// Message boxes of the sync processing answer at once and show nothing.
class CSilentUi : public CUiService {
public:
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    std::optional<std::string> FileDialog(const FileDialogRequest&) override { return std::nullopt; }
    int RunModal(CDialog&) override { return IDCANCEL; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    static CSilentUi silent;
    static const CScopedUiService service(silent);
    // An Upload that succeeds saves its programs here, never in the current folder.
    static QTemporaryDir folder;
    static std::optional<CTonraDoc> doc;
    static CPort engine;
    doc.emplace();
    doc->pageMode = 1;
    doc->currentDevice = kSlot;
    doc->connectionMode = 1;
    doc->deviceOnline[kSlot] = 1;
    doc->passwordOk[kSlot] = data[0] & 0x80 ? 0 : 1;
    doc->programListFile = folder.filePath("all.lst").toStdString();
    CStreamLine line(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2), 1 + data[1]);
    FUZZ_CHECK(engine.Create(nullptr, &*doc, kSlot));
    engine.SetLine(&line);
    const auto mode = static_cast<CPort::TransferMode>((data[0] & 0x7F) % kModes);
    if (mode != CPort::TransferMode::Idle) {
        engine.RequestTransfer(mode);
    }
    for (int extra = 0; extra < kExtraTicks;) {
        engine.SendMessage(WM_TIMER, kSlot, 0);
        FUZZ_CHECK(engine.ReceiveBuffer().size() <= static_cast<std::size_t>(CPort::kReceiveLimit) + 256);
        FUZZ_CHECK(engine.SendLength() >= 0 && engine.SendLength() <= CPort::kSendBufferSize);
        FUZZ_CHECK(engine.MissCount() >= 0 && engine.MissCount() <= CPort::kLinkErrorReported);
        extra += line.Ended() ? 1 : 0;
        if (extra > kIdleTicks && engine.Mode() == CPort::TransferMode::Idle) {
            break;
        }
    }
    for (int slot = 0; slot < model::kSlotCount; ++slot) {
        FUZZ_CHECK(doc->meterLevel[kSlot][slot] >= 0 &&
                   doc->meterLevel[kSlot][slot] <= devlink::kMaxMeterLevel);
    }
    FUZZ_CHECK(doc->GetInputCount(kSlot) >= 1 && doc->GetInputCount(kSlot) <= model::kMaxInputs);
    engine.SetLine(nullptr);
    engine.DestroyWindow();
    return 0;
}
