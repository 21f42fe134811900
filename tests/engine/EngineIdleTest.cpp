// The idle engine tick by tick: pacing, the change scan and its grouping, replies, link
// supervision, the status line and the password gate.
#include "tests/engine/EngineFixture.h"

using namespace devlink;
using namespace model;
using enginetest::CommandFrames;
using enginetest::EngineTest;

namespace {

constexpr int kOwnBit = 1 << EngineTest::kSlot;

using IdleEngine = EngineTest;

TEST_F(IdleEngine, SendsOneFramePerPollCycle) {
    Tick(EngineTest::kPollCycleTicks - 1);
    EXPECT_EQ(line.sent, "");
    Tick();
    ASSERT_EQ(line.sent.size(), 26u);
    EXPECT_EQ(line.sent, BuildCommandFrame({.deviceMask = kOwnBit, .code = kCmdPoll}));

    // A burst drains one frame per cycle; polls wait until the buffer is empty.
    for (int s = 0; s < 3; ++s) {
        doc.gain[kSlot][s] = 100 + s;
    }
    line.sent.clear();
    TickPollCycles(1);
    EXPECT_EQ(line.sent.size(), 26u);
    EXPECT_EQ(engine.SendLength(), 52);
    TickPollCycles(2);
    const auto frames = SentFrames();
    ASSERT_EQ(frames.size(), 3u);
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(frames[s].code, kCmdGain);
        EXPECT_EQ(frames[s].channel, 1 << s);
        EXPECT_EQ(frames[s].value, 100 + s);
    }
    TickPollCycles(1);
    EXPECT_EQ(SentFrames().back().code, kCmdPoll);
}

TEST_F(IdleEngine, GroupsSlotsThatChangedToTheSameValue) {
    doc.linkGroup[kSlot][0] = 1;
    doc.linkGroup[kSlot][1] = 1;
    ASSERT_EQ(doc.gain[kSlot][0], 160);
    doc.SetParam(kGain, 170, 0, 0, kSlot);
    // Unlinked, changed in the same cycle: one frame with the same value, one with another.
    doc.limThreshold[kSlot][2] = 50;
    doc.limThreshold[kSlot][5] = 50;
    doc.mute[kSlot][3] = 0;
    doc.mute[kSlot][7] = 0;
    doc.delay[kSlot][4] = 10;
    doc.delay[kSlot][6] = 20;
    TickPollCycles(6);
    const auto frames = SentFrames();
    ASSERT_EQ(frames.size(), 6u);
    // Slots first, in slot order and parameter order, then outputs.
    EXPECT_EQ(frames[0], (CommandFrame{kOwnBit, kCmdGain, 0b11, 0, 170}));
    EXPECT_EQ(frames[1], (CommandFrame{kOwnBit, kCmdMute, (1 << 3) | (1 << 7), 0, 0}));
    EXPECT_EQ(frames[2], (CommandFrame{kOwnBit, kCmdDelay, 1 << 4, 0, 10}));
    EXPECT_EQ(frames[3], (CommandFrame{kOwnBit, kCmdDelay, 1 << 6, 0, 20}));
    EXPECT_EQ(frames[4], (CommandFrame{kOwnBit, kCmdLimThreshold, (1 << 2) | (1 << 5), 0, 50}));
    EXPECT_EQ(frames[5].code, kCmdPoll);
    EXPECT_EQ(doc.shadow.gain[kSlot], doc.gain[kSlot]);
    EXPECT_EQ(doc.shadow.delay[kSlot], doc.delay[kSlot]);
}

TEST_F(IdleEngine, OutputParametersGroupPerMixInputAndFilter) {
    doc.mixLevel[kSlot][1][3] = 1;
    doc.mixLevel[kSlot][4][3] = 1;
    doc.mixLevel[kSlot][4][2] = 1;
    doc.xoverFreq[kSlot][0][1] = 5000;
    doc.xoverFreq[kSlot][6][1] = 5000;
    doc.xoverFreq[kSlot][6][0] = 5000;
    TickPollCycles(5);
    const auto frames = SentFrames();
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0], (CommandFrame{kOwnBit, kCmdXoverFreq, (1 << 0) | (1 << 6), 1, 5000}));
    EXPECT_EQ(frames[1], (CommandFrame{kOwnBit, kCmdMixLevel, (1 << 1) | (1 << 4), 3, 1}));
    EXPECT_EQ(frames[2], (CommandFrame{kOwnBit, kCmdMixLevel, 1 << 4, 2, 1}));
    EXPECT_EQ(frames[3], (CommandFrame{kOwnBit, kCmdXoverFreq, 1 << 6, 0, 5000}));
    EXPECT_EQ(frames[4].code, kCmdPoll);
}

TEST_F(IdleEngine, EqBandJoinTakesTheWholeBand) {
    // Slot 0 changes frequency and gain; slot 3 has a different pending gain but the same
    // pending frequency, so it joins and takes slot 0's band.
    doc.eqFreq[kSlot][0][2] = 500;
    doc.eqGain[kSlot][0][2] = 130;
    doc.eqFreq[kSlot][3][2] = 500;
    doc.eqGain[kSlot][3][2] = 100;
    // Slot 5 changed another field to another value: a frame of its own.
    doc.eqWidth[kSlot][5][2] = 40;
    doc.currentDevice = kSlot;
    TickPollCycles(3);
    const int paramRefreshes = view.Count(CPort::ParamsChanged);
    const auto frames = SentFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], (CommandFrame{kOwnBit, kCmdEqBand, (1 << 0) | (1 << 3), 2, 500, 130, 31, 0}));
    EXPECT_EQ(frames[1], (CommandFrame{kOwnBit, kCmdEqBand, 1 << 5, 2, 980, 120, 40, 0}));
    EXPECT_EQ(frames[2].code, kCmdPoll);
    EXPECT_EQ(doc.eqGain[kSlot][3][2], 130);
    EXPECT_EQ(doc.shadow.eqGain[kSlot][3][2], 130);
    EXPECT_EQ(doc.shadow.eqWidth[kSlot][5][2], 40);
    EXPECT_EQ(paramRefreshes, 1); // slot 3's rewritten band reaches the open pages
}

TEST_F(IdleEngine, ARenameSendsSixNameFrames) {
    doc.SetParamText(kChannelName, "Kick", 9, kSlot); // output 5 of a 4-in device: slot 13
    TickPollCycles(7);
    const auto frames = SentFrames();
    ASSERT_EQ(frames.size(), 7u);
    const std::vector<int> wire = EncodeWireName("Kick", 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(frames[k], (CommandFrame{kOwnBit, kCmdChannelNameChar, 1 << 13, k, wire[k]})) << k;
    }
    EXPECT_EQ(wire[4], 0); // the missing positions go as blanks
    EXPECT_EQ(frames[6].code, kCmdPoll);
}

TEST_F(IdleEngine, OnlyTheShownDeviceWritesTheStatusLine) {
    CPort other;
    ASSERT_TRUE(other.Create(&view, &doc, 0));
    std::vector<std::string> otherStatuses;
    other.SetStatusObserver([&](const std::string& text) { otherStatuses.push_back(text); });
    doc.meterLevel[0].fill(5);
    other.SendMessage(WM_TIMER, 0, 0); // device 0 is offline
    EXPECT_EQ(doc.statusText, "");
    EXPECT_TRUE(otherStatuses.empty());
    EXPECT_EQ(doc.meterLevel[0][15], 0);

    doc.deviceOnline[kSlot] = 0;
    doc.pageMode = 0;
    Tick();
    EXPECT_EQ(doc.statusText, "");
    doc.pageMode = 1;
    Tick(3);
    EXPECT_EQ(doc.statusText, "Link Status: Offline");
    EXPECT_EQ(statuses, std::vector<std::string>{"Link Status: Offline"}); // only changes are reported
    EXPECT_EQ(view.Count(CPort::StatusChanged), 1);
    EXPECT_EQ(line.sent, "");
}

TEST_F(IdleEngine, RepliesUpdateTheDocument) {
    Reply({.device = kSlot, .code = kReplyMeters, .index = 1, .value = 0x1F3C});
    Reply({.device = kSlot, .code = kReplyGain, .index = 14, .value = 99});
    Reply({.device = kSlot, .code = kReplyXoverSlope, .index = 7, .subIndex = 1, .value = 5});
    Tick(3); // one reply frame per tick
    EXPECT_EQ(doc.meterLevel[kSlot][4], 1);
    EXPECT_EQ(doc.meterLevel[kSlot][5], 15);
    EXPECT_EQ(doc.meterLevel[kSlot][6], 3);
    EXPECT_EQ(doc.meterLevel[kSlot][7], 12);
    EXPECT_EQ(doc.statusText, "Link Status: OK");
    EXPECT_EQ(doc.gain[kSlot][14], 99);
    EXPECT_EQ(doc.shadow.gain[kSlot][14], 99);
    EXPECT_EQ(doc.xoverSlope[kSlot][7][1], 5);
    EXPECT_EQ(view.Count(CPort::MetersChanged), 1);
    EXPECT_EQ(view.Count(CPort::ParamsChanged), 2);

    // A value the document already holds changes nothing; another device is not refreshed.
    Reply({.device = kSlot, .code = kReplyGain, .index = 14, .value = 99});
    Tick();
    EXPECT_EQ(view.Count(CPort::ParamsChanged), 2);
    doc.currentDevice = 0;
    Reply({.device = kSlot, .code = kReplyGain, .index = 14, .value = 98});
    Tick();
    EXPECT_EQ(doc.gain[kSlot][14], 98);
    EXPECT_EQ(view.Count(CPort::ParamsChanged), 2);
    TickPollCycles(1);
    EXPECT_EQ(SentFrames().back().code, kCmdPoll); // a reported value is not sent back
}

TEST_F(IdleEngine, RepliesOutsideTheRangesAreIgnored) {
    const auto gains = doc.gain;
    const auto shadowGains = doc.shadow.gain;
    const auto eqGains = doc.eqGain;
    const auto mix = doc.mixLevel;
    const auto freqs = doc.xoverFreq;
    const auto thresholds = doc.limThreshold;
    doc.meterLevel[kSlot].fill(3);
    const std::vector<ReplyFrame> replies = {
        {.device = kSlot, .code = kReplyMeters, .index = 4, .value = 0xFFFF},
        {.device = kSlot, .code = kReplyGain, .index = 16, .value = 1},
        {.device = kSlot, .code = kReplyEqGain, .index = 3, .subIndex = 6, .value = 1},
        {.device = kSlot, .code = kReplyMixLevel, .index = 8, .subIndex = 0, .value = 1},
        {.device = kSlot, .code = kReplyMixLevel, .index = 0, .subIndex = 8, .value = 1},
        {.device = kSlot, .code = kReplyXoverFreq, .index = 0, .subIndex = 2, .value = 1},
        {.device = kSlot, .code = kReplyLimThreshold, .index = 255, .value = 1},
        {.device = kSlot, .code = 0x40, .value = 1},
    };
    for (const ReplyFrame& reply : replies) {
        Reply(reply);
    }
    Tick(static_cast<int>(replies.size()));
    EXPECT_EQ(doc.gain, gains);
    EXPECT_EQ(doc.shadow.gain, shadowGains);
    EXPECT_EQ(doc.eqGain, eqGains);
    EXPECT_EQ(doc.mixLevel, mix);
    EXPECT_EQ(doc.xoverFreq, freqs);
    EXPECT_EQ(doc.limThreshold, thresholds);
    EXPECT_EQ(doc.meterLevel[kSlot][15], 3);
    EXPECT_TRUE(view.codes.empty());
    EXPECT_EQ(engine.ReceiveBuffer(), "");
}

TEST_F(IdleEngine, ContentChangedStartsASync) {
    for (const int code : {kReplyContentChanged, kReplyProgramRecalled, kReplyProgramStored}) {
        Reply({.device = kSlot, .code = code});
        Tick();
        EXPECT_EQ(engine.Mode(), TransferMode::Sync) << code;
        ASSERT_TRUE(TickUntilIdle()); // nobody answers: the Sync times out
    }
}

TEST_F(IdleEngine, LinkErrorAfterFiftySilentCyclesOnceThenRecoveryBySync) {
    TickPollCycles(50);
    EXPECT_EQ(engine.MissCount(), 50);
    EXPECT_EQ(doc.statusText, "");
    doc.meterLevel[kSlot].fill(7);
    TickPollCycles(1);
    EXPECT_EQ(engine.MissCount(), 51);
    EXPECT_EQ(doc.statusText, "Link Status: Error");
    EXPECT_EQ(doc.meterLevel[kSlot][0], 0);
    EXPECT_EQ(view.Count(CPort::MetersChanged), 1);
    EXPECT_EQ(view.Count(CPort::StatusChanged), 2); // the status line's own report and the explicit one
    TickPollCycles(20);
    EXPECT_EQ(statuses, std::vector<std::string>{"Link Status: Error"});
    EXPECT_EQ(view.Count(CPort::MetersChanged), 1);

    // Changes made meanwhile are held: only polls go out. Asked on the first valid reply, the
    // operator chooses to read the device: the changes are dropped and a Sync starts.
    EXPECT_TRUE(engine.QueueFrame(kCmdRecallProgram, kOwnBit, 0, 0, 3));
    doc.gain[kSlot][4] = 20;
    line.sent.clear();
    TickPollCycles(2);
    for (const CommandFrame& frame : SentFrames()) {
        EXPECT_EQ(frame.code, kCmdPoll);
    }
    int askedWith = 0;
    engine.SetLinkBackQuestion([&] {
        askedWith = engine.PendingChangeCount();
        return false;
    });
    Reply({.device = kSlot, .code = kReplyMeters, .index = 0, .value = 0});
    Tick();
    EXPECT_EQ(askedWith, 2);
    EXPECT_EQ(engine.MissCount(), 0);
    EXPECT_EQ(engine.PendingChangeCount(), 0);
    EXPECT_EQ(doc.gain[kSlot][4], doc.shadow.gain[kSlot][4]);
    EXPECT_EQ(engine.Mode(), TransferMode::Sync);
}

TEST_F(IdleEngine, AReplyFromAnotherSlotIsNoAnswerButIsReported) {
    TickPollCycles(51);
    ASSERT_EQ(engine.MissCount(), 51);
    view.codes.clear();
    Reply({.device = kSlot + 1, .code = kReplyGain, .index = 0, .value = 3});
    Tick();
    EXPECT_EQ(engine.MissCount(), 51);
    EXPECT_EQ(doc.gain[kSlot][0], 160);
    EXPECT_EQ(doc.gain[kSlot + 1][0], 160);
    EXPECT_TRUE(view.codes.empty());
    EXPECT_EQ(doc.statusText, "Link Status: Error");
    EXPECT_EQ(engine.LinkProblem(), "answers come from slot 3: check the device's slot");
}

TEST_F(IdleEngine, NothingLeavesWhileThePasswordIsNotAccepted) {
    doc.passwordOk[kSlot] = 0;
    doc.gain[kSlot][0] = 10;
    // Transfers that need control are refused at once; nothing waits for the password.
    EXPECT_EQ(engine.RequestTransfer(TransferMode::Upload), CPort::TransferStart::NoControl);
    TickPollCycles(3);
    EXPECT_EQ(line.sent, "");
    EXPECT_EQ(engine.Mode(), TransferMode::Idle);
    // Meter levels are taken, parameters are not.
    Reply({.device = kSlot, .code = kReplyMeters, .index = 0, .value = 0x5000});
    Reply({.device = kSlot, .code = kReplyGain, .index = 1, .value = 5});
    Tick(2);
    EXPECT_EQ(doc.meterLevel[kSlot][0], 5);
    EXPECT_EQ(doc.gain[kSlot][1], 160);
    // A Sync always starts; without control it cannot send the pending edit first.
    EXPECT_EQ(engine.RequestTransfer(TransferMode::Sync), CPort::TransferStart::Started);
    Tick();
    const auto frames = SentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].code, kCmdBeginTransfer);
    EXPECT_TRUE(line.sent.ends_with(std::string(kStartSequence) + "<"));
}

TEST_F(IdleEngine, DropsNoiseAtOnceAndKeepsTheReceiveBufferBounded) {
    line.pending = "xyz" + BuildReplyFrame({.device = kSlot, .code = kReplyGain, .index = 2, .value = 7});
    Tick();
    EXPECT_EQ(doc.gain[kSlot][2], 7);
    line.pending = "abc\x11xx";
    Tick();
    EXPECT_EQ(engine.ReceiveBuffer(), "\x11xx"); // may begin a frame

    // A flood keeps only the newest characters; the frame at its end arrives with it.
    line.pending =
        std::string(100000, 'j') + BuildReplyFrame({.device = kSlot, .code = kReplyGain, .value = 9});
    Tick();
    EXPECT_EQ(doc.gain[kSlot][0], 9);
    EXPECT_EQ(engine.ReceiveBuffer(), "");
}

TEST_F(IdleEngine, ASendBufferThatIsFullDropsTheFrame) {
    int queued = 0;
    while (engine.QueueFrame(kCmdPoll, kOwnBit, 0, 0, 0)) {
        ++queued;
    }
    EXPECT_EQ(queued, 157);
    EXPECT_EQ(engine.SendLength(), 157 * 26);
}

} // namespace
