#include "tests/engine/EngineFixture.h"

#include "app/ProblemBoxes.h"

#include <algorithm>

using namespace devlink;

namespace enginetest {

namespace {
constexpr int kTcpReadChunk = 100;
constexpr unsigned kDeviceSeed = 7;
} // namespace

void CSessionLine::Send(const std::string& chars) {
    sent += chars;
    if (!silent) {
        session_.Receive(chars);
    }
}

std::string CSessionLine::Receive() { return silent ? std::string() : session_.TakeOutput(kTcpReadChunk); }

int CRecordingView::Count(WPARAM code) const {
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

LRESULT CRecordingView::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == UM_REFRESH) {
        codes.push_back(wParam);
    }
    return 1;
}

std::vector<CommandFrame> CommandFrames(std::string_view chars) {
    std::vector<CommandFrame> frames;
    while (chars.size() >= static_cast<std::size_t>(kCommandFrameLength)) {
        if (const auto frame = ParseCommandFrame(chars)) {
            frames.push_back(*frame);
            chars.remove_prefix(kCommandFrameLength);
        } else {
            chars.remove_prefix(1);
        }
    }
    return frames;
}

EngineTest::EngineTest() {
    doc.OnNewDocument();
    doc.pageMode = 1;
    doc.currentDevice = kSlot;
    doc.connectionMode = 1;
    EXPECT_TRUE(engine.Create(&view, &doc, kSlot));
    engine.SetLine(&line);
    engine.SetStatusObserver([this](const std::string& text) { statuses.push_back(text); });
    engine.SetFinishObserver([this](TransferMode mode, bool ok) { finished.emplace_back(mode, ok); });
    engine.SetNoticeHandler(app::ShowEngineNotice);
    doc.deviceOnline[kSlot] = 1;
    doc.passwordOk[kSlot] = 1;
}

EngineTest::~EngineTest() { engine.SetLine(nullptr); }

void EngineTest::Tick(int count) {
    for (int i = 0; i < count; ++i) {
        engine.SendMessage(WM_TIMER, kSlot, 0);
    }
}

bool EngineTest::TickUntilIdle(int limit) {
    for (int i = 0; i < limit; ++i) {
        Tick();
        if (engine.Mode() == TransferMode::Idle) {
            return true;
        }
    }
    return false;
}

void EngineTest::UseDevice(const sim::DeviceSetup& setup, const sim::SimFaults& faults) {
    deviceDoc = std::make_unique<CTonraDoc>();
    deviceDoc->OnNewDocument();
    device = std::make_unique<sim::CSimDevice>(*deviceDoc, kSlot, setup, kDeviceSeed);
    session = std::make_unique<sim::CSimSession>(*device, faults);
    deviceLine = std::make_unique<CSessionLine>(*session);
    engine.SetLine(deviceLine.get());
}

} // namespace enginetest
