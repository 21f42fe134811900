// The device side of the protocol without any carrier: a session fed by hand.
#include "sim/SimSession.h"
#include "link/BulkTransfer.h"
#include "link/DataImages.h"
#include "link/Protocol.h"
#include "link/ReplyFields.h"
#include "model/TonraDoc.h"
#include "sim/SimDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>

using namespace devlink;
using namespace model;

namespace {

constexpr int kSlot = 2;

class SimSessionTest : public ::testing::Test {
protected:
    explicit SimSessionTest(sim::SimFaults faults = {}) : session(device, faults) {}

    // Sends a command frame for the device and returns the replies it caused.
    std::vector<ReplyFrame> Send(CommandFrame frame, int deviceMask = DeviceBit(kSlot)) {
        frame.deviceMask = deviceMask;
        session.Receive(BuildCommandFrame(frame));
        return Replies();
    }
    std::vector<ReplyFrame> Replies() {
        std::vector<ReplyFrame> replies;
        const std::string out = session.TakeOutput();
        for (std::size_t at = out.find(kDc1); at != std::string::npos && at + kReplyFrameLength <= out.size();
             at = out.find(kDc1, at + 1)) {
            if (const auto reply = CheckReplyFrame(std::string_view(out).substr(at))) {
                replies.push_back(*reply);
            }
        }
        return replies;
    }

    std::unique_ptr<CTonraDoc> doc = std::make_unique<CTonraDoc>();
    sim::CSimDevice device{*doc, kSlot, sim::DeviceSetup{}, 7};
    sim::CSimSession session;
};

} // namespace

TEST_F(SimSessionTest, PollsAreAnsweredWithMeterGroupsInTurn) {
    for (int i = 0; i < 6; ++i) {
        const auto replies = Send({.code = kCmdPoll});
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0].device, kSlot);
        EXPECT_EQ(replies[0].code, kReplyMeters);
        EXPECT_EQ(replies[0].index, i % 4);
    }
}

TEST_F(SimSessionTest, MeterLevelsFollowProgrammeMaterialAndMutes) {
    // Unused inputs 4..7 stay dark; used ones move; a muted input shows nothing.
    doc->mute[kSlot][1] = 1;
    std::set<int> levels;
    for (int cycle = 0; cycle < 40; ++cycle) {
        for (const ReplyFrame& reply : Send({.code = kCmdPoll})) {
            if (reply.index == 0) {
                levels.insert(MeterLevelOf(reply.value, 0));
                EXPECT_EQ(MeterLevelOf(reply.value, 1), 0);
            } else if (reply.index == 1) {
                EXPECT_EQ(reply.value, 0);
            }
        }
    }
    EXPECT_GE(levels.size(), 4u);
}

TEST_F(SimSessionTest, ParameterCommandsReachTheMaskedSlotsOnly) {
    Send({.code = kCmdGain, .channel = 0b1001, .value = 170});
    EXPECT_EQ(doc->gain[kSlot][0], 170);
    EXPECT_EQ(doc->gain[kSlot][3], 170);
    EXPECT_EQ(doc->gain[kSlot][1], 160);
    Send({.code = kCmdEqBand,
          .channel = 1 << 9,
          .index = 5,
          .value = 1000,
          .extra1 = 130,
          .extra2 = 40,
          .extra3 = 0});
    EXPECT_EQ(doc->eqFreq[kSlot][9][5], 1000);
    EXPECT_EQ(doc->eqGain[kSlot][9][5], 130);
    EXPECT_EQ(doc->eqWidth[kSlot][9][5], 40);
    Send({.code = kCmdMixLevel, .channel = 0xFF04, .index = 3, .value = 1});
    EXPECT_EQ(doc->mixLevel[kSlot][2][3], 1);
    Send({.code = kCmdXoverSlope, .channel = 1, .index = 1, .value = 6});
    EXPECT_EQ(doc->xoverSlope[kSlot][0][1], 6);
    Send({.code = kCmdLimRelease, .channel = 0x80, .value = 3});
    EXPECT_EQ(doc->limRelease[kSlot][7], 3);

    // Another device's frame and a frame with a bad checksum change nothing and get no reply.
    EXPECT_TRUE(Send({.code = kCmdGain, .channel = 1, .value = 100}, DeviceBit(kSlot + 1)).empty());
    std::string broken =
        BuildCommandFrame({.deviceMask = DeviceBit(kSlot), .code = kCmdGain, .channel = 1, .value = 90});
    broken[23] = broken[23] == '0' ? '1' : '0';
    session.Receive(broken);
    EXPECT_TRUE(Replies().empty());
    EXPECT_EQ(doc->gain[kSlot][0], 170);
    EXPECT_EQ(session.FramesRejected(), 1);
}

TEST_F(SimSessionTest, UntrustedIndexesAndValuesStayInsideTheArrays) {
    const CTonraDoc before;
    Send({.code = kCmdEqBand, .channel = 0xFFFF, .index = 6, .value = 5});
    Send({.code = kCmdMixLevel, .channel = 0xFFFF, .index = 8, .value = 1});
    Send({.code = kCmdXoverFreq, .channel = 0xFFFF, .index = 2, .value = 5});
    Send({.code = kCmdChannelNameChar, .channel = 1, .index = 6, .value = 5});
    Send({.code = kCmdSecurityLock, .channel = 16, .value = 1});
    Send({.code = kCmdPasswordChar, .channel = 4, .value = 1});
    Send({.code = kCmdProgramNameChar, .channel = 12, .value = 1});
    Send({.code = kCmdRecallProgram, .value = 30});
    Send({.code = 0x7F, .channel = 0xFFFF, .index = 0xFF, .value = 0xFFFF});
    EXPECT_EQ(doc->eqFreq[kSlot][0], before.eqFreq[kSlot][0]);
    EXPECT_EQ(doc->currentProgram[kSlot], 0);
    EXPECT_EQ(doc->channelName[kSlot][0], "In A");

    // Values beyond a range are held at its end.
    Send({.code = kCmdGain, .channel = 1, .value = 0xFFFF});
    EXPECT_EQ(doc->gain[kSlot][0], 220);
    Send({.code = kCmdChannelNameChar, .channel = 1, .index = 5, .value = 200});
    EXPECT_EQ(doc->channelName[kSlot][0], "In A");
}

TEST_F(SimSessionTest, NamesLocksPasswordAndPrograms) {
    const std::vector<int> name = EncodeWireName("Bx", kChannelNameLength);
    for (int k = 0; k < kChannelNameLength; ++k) {
        Send({.code = kCmdChannelNameChar,
              .channel = 1 << 8,
              .index = k,
              .value = name[static_cast<std::size_t>(k)]});
    }
    EXPECT_EQ(doc->channelName[kSlot][8], "Bx");

    Send({.code = kCmdSecurityLock, .channel = 10, .value = 1});
    EXPECT_EQ(doc->securityLocks[kSlot][10], 1);
    const std::vector<int> password = EncodeWireName("ab12", kPasswordLength);
    for (int k = 0; k < kPasswordLength; ++k) {
        Send({.code = kCmdPasswordChar, .channel = k, .value = password[static_cast<std::size_t>(k)]});
    }
    EXPECT_EQ(doc->devicePassword[kSlot], "ab12");

    // Store the live settings as program 12 with a new name, change them, recall.
    Send({.code = kCmdGain, .channel = 1, .value = 111});
    const std::vector<int> programName = EncodeWireName("My Show", kProgramNameLength);
    for (int k = 0; k < kProgramNameLength; ++k) {
        Send({.code = kCmdProgramNameChar, .channel = k, .value = programName[static_cast<std::size_t>(k)]});
    }
    auto replies = Send({.code = kCmdStoreProgram, .value = 12});
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, kReplyProgramStored);
    EXPECT_EQ(doc->programName[kSlot][12], "My Show");
    EXPECT_EQ(device.StoredProgramName(12), "My Show");

    replies = Send({.code = kCmdRecallProgram, .value = 3});
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].code, kReplyProgramRecalled);
    EXPECT_EQ(doc->currentProgram[kSlot], 3);
    EXPECT_NE(doc->gain[kSlot][0], 111);
    Send({.code = kCmdRecallProgram, .value = 12});
    EXPECT_EQ(doc->gain[kSlot][0], 111);
    EXPECT_EQ(doc->currentProgram[kSlot], 12);
}

TEST_F(SimSessionTest, GarbageAndSplitFramesAreHandled) {
    const std::string poll = BuildCommandFrame({.deviceMask = DeviceBit(kSlot), .code = kCmdPoll});
    session.Receive(std::string("junk\x02\x7F", 6) + poll.substr(0, 10));
    EXPECT_TRUE(Replies().empty());
    session.Receive(poll.substr(10) + std::string("\x11"
                                                  "short",
                                                  6));
    EXPECT_EQ(Replies().size(), 1u);
    session.Receive(poll);
    EXPECT_EQ(Replies().size(), 1u);

    // Endless junk never piles up.
    session.Receive(std::string(100000, '\x02'));
    session.Receive(std::string(100000, 'x'));
    session.Receive(poll);
    EXPECT_EQ(Replies().size(), 1u);
}

TEST_F(SimSessionTest, StartSequenceNeedsTheBeginCommandFirst) {
    session.Receive(StartSequence(TransferMode::Sync));
    EXPECT_EQ(session.TakeOutput(), "");
    EXPECT_EQ(session.Transfer(), TransferMode::Idle);
    Send({.code = kCmdBeginTransfer});
    session.Receive(StartSequence(TransferMode::Sync));
    const std::string out = session.TakeOutput();
    EXPECT_TRUE(out.starts_with(kAckToken));
    EXPECT_EQ(out.size(), kAckToken.size() + kBlockFrameLength);
    EXPECT_EQ(session.Transfer(), TransferMode::Sync);
    // Any other command gives the transfer up.
    EXPECT_EQ(Send({.code = kCmdPoll}).size(), 1u);
    EXPECT_EQ(session.Transfer(), TransferMode::Idle);
}

TEST_F(SimSessionTest, FrontPanelChangesAreReportedOutsideTransfers) {
    const auto reply = device.FrontPanelChange(kReplyEqFreq, 9, 4, 25000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->value, 19980);
    EXPECT_EQ(doc->eqFreq[kSlot][9][4], 19980);
    EXPECT_FALSE(device.FrontPanelChange(kReplyEqFreq, 16, 0, 1));
    session.Report(*reply);
    EXPECT_EQ(Replies(), std::vector<ReplyFrame>{*reply});

    for (int i = 0; i < 50; ++i) {
        const ReplyFrame random = device.RandomFrontPanelChange();
        EXPECT_EQ(random.device, kSlot);
        EXPECT_NE(ParamKindOfReply(random.code), -1);
    }
    Send({.code = kCmdBeginTransfer});
    session.Receive(StartSequence(TransferMode::Upload));
    session.TakeOutput();
    session.Report(*reply);
    EXPECT_EQ(session.TakeOutput(), "");
}

namespace {

class FaultySessionTest : public SimSessionTest {
protected:
    FaultySessionTest()
        : SimSessionTest(sim::SimFaults{.dropShare = 0.5, .corruptShare = 0.25, .garbageShare = 0.5}) {}
};

std::string RunPolls(sim::CSimSession& session, int count) {
    std::string out;
    const std::string poll = BuildCommandFrame({.deviceMask = DeviceBit(kSlot), .code = kCmdPoll});
    for (int i = 0; i < count; ++i) {
        session.Receive(poll);
        out += session.TakeOutput();
    }
    return out;
}

} // namespace

TEST_F(FaultySessionTest, FaultsHitAShareOfRepliesAndRepeatWithTheSeed) {
    const std::string out = RunPolls(session, 400);
    int valid = 0;
    int invalid = 0;
    int junk = 0;
    for (std::size_t at = 0; at < out.size();) {
        if (out[at] != kDc1) {
            ++junk;
            ++at;
            continue;
        }
        CheckReplyFrame(std::string_view(out).substr(at)) ? ++valid : ++invalid;
        at += kReplyFrameLength;
    }
    // About 200 replies sent, a quarter of them corrupted, half of the frames after junk.
    EXPECT_GT(valid, 110);
    EXPECT_LT(valid, 190);
    EXPECT_GT(invalid, 25);
    EXPECT_LT(invalid, 80);
    EXPECT_GT(junk, 150);

    auto otherDoc = std::make_unique<CTonraDoc>();
    sim::CSimDevice twin(*otherDoc, kSlot, sim::DeviceSetup{}, 7);
    sim::CSimSession twinSession(twin, {.dropShare = 0.5, .corruptShare = 0.25, .garbageShare = 0.5});
    EXPECT_EQ(RunPolls(twinSession, 400), out);
}

TEST_F(SimSessionTest, RandomFramesAndNoiseKeepEveryFieldInItsRange) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> word(0, 0xFFFF);
    std::uniform_int_distribution<int> code(0, 0x87);
    for (int i = 0; i < 20000; ++i) {
        const int mask = word(random) | DeviceBit(kSlot);
        const auto byte = [&] { return word(random) & 0xFF; };
        std::string chars = BuildCommandFrame(
            {mask, code(random), word(random), byte(), word(random), byte(), byte(), byte()});
        switch (i % 7) {
        case 0:
            chars += StartSequence(static_cast<TransferMode>(1 + i % 4));
            break;
        case 1:
            chars += BuildBlock(std::string(kBlockChars, static_cast<char>(byte())), 0);
            break;
        case 2:
            chars.insert(static_cast<std::size_t>(word(random) % 26), 1, static_cast<char>(byte()));
            break;
        default:
            break;
        }
        session.Receive(chars);
        session.TakeOutput();
    }
    for (int s = 0; s < kSlotCount; ++s) {
        EXPECT_LE(doc->gain[kSlot][s], 220);
        EXPECT_LE(doc->delay[kSlot][s], 21600);
        EXPECT_LE(doc->channelName[kSlot][s].size(), 6u);
        for (int b = 0; b < kBandCount; ++b) {
            EXPECT_LE(doc->eqFreq[kSlot][s][b], 19980);
        }
    }
    for (int o = 0; o < kMaxOutputs; ++o) {
        for (const int level : doc->mixLevel[kSlot][o]) {
            EXPECT_LE(level, 1);
        }
        EXPECT_LE(doc->limAttack[kSlot][o], 106);
    }
    EXPECT_LT(doc->currentProgram[kSlot], kProgramCount);
    EXPECT_LE(doc->devicePassword[kSlot].size(), 4u);
    for (const std::string& name : doc->programName[kSlot]) {
        EXPECT_LE(name.size(), 12u);
    }
}

TEST(SimDevice, InputOneFeedsEveryOutputAtZeroDecibelsOnEveryModel) {
    // A mixing model's 0 dB is its top level 161; level 1 would be -40 dB there.
    for (const char* model : {"RLT-1448", "KVA-1326", "NQVE-1888", "ZE-1113"}) {
        CTonraDoc doc;
        sim::DeviceSetup setup;
        setup.model = model;
        const sim::CSimDevice device(doc, kSlot, setup, 1);
        const int firstOutput = doc.GetInputCount(kSlot);
        EXPECT_EQ(doc.FormatParam(kMixLevel, firstOutput, 0, kSlot), "0.00") << model;
        EXPECT_EQ(doc.FormatParam(kMixLevel, firstOutput + 1, 1, kSlot), "Off") << model;
    }
}
