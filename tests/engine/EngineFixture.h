// Helpers of the engine tests: lines that a test drives tick by tick (a scripted line and the
// simulator's device session answering at once), a view that records what the engine
// reports, and a fixture holding a document and one engine on such a line.
#pragma once

#include "framework/MsgWnd.h"
#include "framework/ScriptedUiService.h"
#include "link/Port.h"
#include "link/PortLine.h"
#include "link/Protocol.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"
#include "sim/SimSession.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace enginetest {

// Records what the engine sends and hands it what the test queued.
class CScriptLine : public CPortLine {
public:
    void Send(const std::string& chars) override { sent += chars; }
    std::string Receive() override { return std::exchange(pending, {}); }

    std::string sent;
    std::string pending;
};

// A simulated device that answers at once, as much per read as a TCP read gives.
class CSessionLine : public CPortLine {
public:
    explicit CSessionLine(sim::CSimSession& session) : session_(session) {}
    void Send(const std::string& chars) override;
    std::string Receive() override;

    std::string sent;
    bool silent = false; // the device has stopped answering

private:
    sim::CSimSession& session_;
};

// A view that records the UM_REFRESH codes it receives.
class CRecordingView : public CMsgWnd {
public:
    std::vector<WPARAM> codes;
    int Count(WPARAM code) const;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The command frames in `chars`, skipping anything that is no command frame.
std::vector<devlink::CommandFrame> CommandFrames(std::string_view chars);

// A document with one engine in device slot kSlot, on the device page, online, its password
// accepted, on a scripted line; the device slot of a simulated device can replace the line.
class EngineTest : public ::testing::Test {
public:
    static constexpr int kSlot = 2;
    static constexpr int kPollCycleTicks = CPort::kPollTicks + 1;

protected:
    EngineTest();
    ~EngineTest() override;

    void Tick(int count = 1);
    // Ticks until the engine is idle again (at most `limit` ticks); false when it is not.
    bool TickUntilIdle(int limit = 100000);
    void TickPollCycles(int cycles) { Tick(cycles * kPollCycleTicks); }
    // Puts a simulated device (in device slot kSlot of a document of its own) on the line.
    void UseDevice(const sim::DeviceSetup& setup = {}, const sim::SimFaults& faults = {});
    // Queues a reply frame on the scripted line.
    void Reply(const devlink::ReplyFrame& reply) { line.pending += devlink::BuildReplyFrame(reply); }
    std::vector<devlink::CommandFrame> SentFrames() const { return CommandFrames(line.sent); }

    CScriptedUiService ui;
    CScopedUiService scopedUi{ui};
    CTonraDoc doc;
    CRecordingView view;
    CPort engine;
    CScriptLine line;
    std::vector<std::string> statuses;
    std::vector<std::pair<devlink::TransferMode, bool>> finished;

    std::unique_ptr<CTonraDoc> deviceDoc;
    std::unique_ptr<sim::CSimDevice> device;
    std::unique_ptr<sim::CSimSession> session;
    std::unique_ptr<CSessionLine> deviceLine;
};

} // namespace enginetest
