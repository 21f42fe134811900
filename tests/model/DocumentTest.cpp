#include "NewDocument.h"
#include "framework/MsgWnd.h"
#include "model/DeviceText.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <memory>

using namespace model;

namespace {

class RefreshRecorder : public CMsgWnd {
public:
    std::vector<WPARAM> refreshes;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == UM_REFRESH) {
            refreshes.push_back(wParam);
        }
        return 1;
    }
};

} // namespace

TEST(Document, ChannelNumbersMapToSlotsInputsFirst) {
    auto doc = NewDocument();
    doc->SetInputCount(2, 5);
    doc->SetOutputCount(6, 5);
    EXPECT_EQ(doc->GetChannelCount(5), 8);
    EXPECT_EQ(doc->ChannelSlot(1, 5), 1);
    EXPECT_EQ(doc->ChannelSlot(2, 5), 8);
    EXPECT_EQ(doc->ChannelSlot(7, 5), 13);
    doc->currentDevice = 5;
    EXPECT_EQ(doc->ChannelSlot(2, -1), 8);
    // Channels that would fall outside the 16 slots have no slot and read as nothing.
    EXPECT_EQ(doc->ChannelSlot(-1, 5), -1);
    EXPECT_EQ(doc->ChannelSlot(20, 5), -1);
    EXPECT_EQ(doc->GetParam(kGain, 20, 0, 5), 0);
    EXPECT_EQ(doc->GetParam(kEqGain, 0, 6, 5), 0);
    EXPECT_EQ(doc->FormatParam(kEqGain, 0, -1, 5), "");
    EXPECT_EQ(doc->SetParam(kGain, 10, 20, 0, 5), 8);
}

TEST(Document, WritesAndReadsAreClamped) {
    auto doc = NewDocument();
    doc->SetParam(kGain, 300, 0, 0, -1);
    EXPECT_EQ(doc->gain[0][0], 220);
    doc->SetParam(kGain, -5, 0, 0, -1);
    EXPECT_EQ(doc->gain[0][0], 0);
    doc->SetParam(kXoverSlope, 9, 4, 1, -1); // output 0, low-pass
    EXPECT_EQ(doc->xoverSlope[0][0][1], 7);

    // Stored values out of range read clamped and stay as stored.
    doc->mute[0][1] = 5;
    doc->polarity[0][1] = -3;
    doc->limAttack[0][2] = 500;
    EXPECT_EQ(doc->GetParam(kMute, 1, 0, -1), 1);
    EXPECT_EQ(doc->GetParam(kPolarity, 1, 0, -1), 0);
    EXPECT_EQ(doc->GetParam(kLimAttack, 6, 0, -1), 106);
    EXPECT_EQ(doc->mute[0][1], 5);
    doc->meterLevel[0][3] = 40; // meters have no upper bound
    EXPECT_EQ(doc->GetParam(kMeterLevel, 3, 0, -1), 40);

    // Meters and names are never written through SetParam.
    doc->SetParam(kMeterLevel, 7, 3, 0, -1);
    EXPECT_EQ(doc->meterLevel[0][3], 40);
}

TEST(Document, OutputKindsReachOutputsOnly) {
    auto doc = NewDocument();
    doc->linkGroup[0][0] = 1;
    doc->linkGroup[0][4] = 1;
    doc->SetParam(kLimThreshold, 60, 0, 0, -1); // an input: nothing to write
    for (int o = 0; o < kMaxOutputs; ++o) {
        EXPECT_EQ(doc->limThreshold[0][o], 40);
    }
    doc->SetParam(kLimThreshold, 60, 5, 0, -1);
    EXPECT_EQ(doc->limThreshold[0][1], 60);
}

TEST(Document, LinkGroupsJoinChannelsOfTheSameSide) {
    auto doc = NewDocument();
    doc->linkGroup[0][0] = 3;
    doc->linkGroup[0][1] = 3;
    doc->linkGroup[0][4] = 3; // output 0 with the same number
    EXPECT_EQ(doc->SetParam(kGain, 170, 1, 0, -1), 12);
    EXPECT_EQ(doc->gain[0][0], 170);
    EXPECT_EQ(doc->gain[0][1], 170);
    EXPECT_EQ(doc->gain[0][8], 160);
    EXPECT_TRUE(doc->IsLinked(0, 1, -1));
    EXPECT_FALSE(doc->IsLinked(0, 4, -1));
    EXPECT_TRUE(doc->IsLinked(2, 2, -1));
    doc->linkGroup[0][2] = 0;
    doc->linkGroup[0][3] = 0;
    EXPECT_FALSE(doc->IsLinked(2, 3, -1)); // group 0 means not linked

    doc->linkGroup[0][5] = 7;
    doc->linkGroup[0][11] = 7;
    doc->SetParam(kEqFreq, 100, 11, 2, -1);
    EXPECT_EQ(doc->eqFreq[0][9][2], 100);
    EXPECT_EQ(doc->eqFreq[0][15][2], 100);
}

TEST(Document, ShelfWidthReadsAsSlope) {
    auto doc = NewDocument();
    doc->eqType[0][0][1] = kEqLowShelf;
    doc->eqWidth[0][0][1] = 1;
    EXPECT_EQ(doc->GetParam(kEqWidth, 0, 1, -1), 248);
    EXPECT_EQ(doc->FormatParam(kEqWidth, 0, 1, -1), "12dB");
    doc->eqWidth[0][0][1] = 0;
    EXPECT_EQ(doc->GetParam(kEqWidth, 0, 1, -1), 0);
    EXPECT_EQ(doc->FormatParam(kEqWidth, 0, 1, -1), "6dB");

    // A parametric band shows its width in octaves or, per band of the device, as Q.
    EXPECT_EQ(doc->FormatParam(kEqWidth, 0, 2, -1), "0.33");
    doc->qDisplay[0][2] = 1;
    EXPECT_EQ(doc->FormatParam(kEqWidth, 0, 2, -1), "4.36");
    EXPECT_EQ(doc->FormatParam(kEqWidth, 0, 3, -1), "0.33");
}

TEST(Document, DelayBoundDependsOnTheModel) {
    auto doc = NewDocument();
    doc->deviceModel[0] = "RLT-1448";
    doc->deviceModel[1] = "KVA-1326";
    doc->SetParam(kDelay, 30000, 0, 0, 0);
    doc->SetParam(kDelay, 30000, 0, 0, 1);
    EXPECT_EQ(doc->delay[0][0], 21600);
    EXPECT_EQ(doc->delay[1][0], 2400);
    doc->delay[1][0] = 21600;
    EXPECT_EQ(doc->GetParam(kDelay, 0, 0, 1), 2400);
}

TEST(Document, ModelFamiliesByPrefix) {
    CTonraDoc doc;
    const std::vector<std::pair<std::string, int>> cases = {{"ZE-1113", 0}, {"ZE", 0},        {"KVA-1326", 1},
                                                            {"RLTHD-2", 2}, {"NQVE-1888", 4}, {"XYZ", 2},
                                                            {"", 2},        {"NQV", 2}};
    for (const auto& [name, family] : cases) {
        doc.deviceModel[3] = name;
        EXPECT_EQ(doc.ModelFamily(3), family) << name;
    }
}

TEST(Document, MixLevelsFollowTheFamilyOfTheirOwnDevice) {
    auto doc = NewDocument();
    doc->deviceModel[0] = "NQVE-1888";
    doc->SetParam(kMixLevel, 200, 4, 1, -1);
    EXPECT_EQ(doc->mixLevel[0][0][1], 161);
    EXPECT_EQ(doc->FormatParam(kMixLevel, 4, 1, -1), "0.00");
    doc->SetParam(kMixLevel, 81, 4, 1, -1);
    EXPECT_EQ(doc->FormatParam(kMixLevel, 4, 1, -1), "-20.00");

    doc->deviceModel[1] = "RLT-1448";
    doc->SetParam(kMixLevel, 200, 4, 1, 1);
    EXPECT_EQ(doc->mixLevel[1][0][1], 1);

    // A device of the "NQVE" family keeps its levels while another family is shown.
    doc->currentDevice = 1;
    doc->mixLevel[0][2][3] = 100;
    doc->ValidateDevice(0);
    EXPECT_EQ(doc->mixLevel[0][2][3], 100);
    EXPECT_EQ(doc->GetParam(kMixLevel, 6, 3, 0), 100);
    doc->SetParam(kMixLevel, 120, 6, 3, 0);
    EXPECT_EQ(doc->mixLevel[0][2][3], 120);
}

TEST(Document, NamesUseTheDeviceCharacterSet) {
    static_assert(CTonraDoc::NameCharTable.size() == 86);
    EXPECT_EQ(CTonraDoc::EncodeNameChars("Ab", 4), (std::vector<int>{2, 39, 1, 1}));
    EXPECT_EQ(CTonraDoc::EncodeNameChars(":\t", 2), (std::vector<int>{86, 1}));
    const std::vector<int> codes = {2, 3, 1, 1};
    EXPECT_EQ(CTonraDoc::DecodeNameChars(codes), "AB");
    const std::vector<int> outside = {0, 87, 2};
    EXPECT_EQ(CTonraDoc::DecodeNameChars(outside), "  A");

    auto doc = NewDocument();
    doc->SetParamText(kChannelName, "Kick Drum", 0, -1);
    EXPECT_EQ(doc->GetParamText(kChannelName, 0, -1), "Kick D");
    doc->SetParamText(kChannelName, "a\tb\xE9  ", 1, -1);
    EXPECT_EQ(doc->channelName[0][1], "a b");
    doc->SetParamText(kChannelName, "Sub   x", 2, -1);
    EXPECT_EQ(doc->channelName[0][2], "Sub");
    // One blank per character outside the set, however many bytes it takes in UTF-8.
    doc->SetParamText(kChannelName, "B\u00e4ss", 3, -1);
    EXPECT_EQ(doc->channelName[0][3], "B ss");
    doc->SetParamText(kChannelName, "Gr\u00f6\u00dfe1", 3, -1);
    EXPECT_EQ(doc->channelName[0][3], "Gr  e1");
    EXPECT_EQ(CTonraDoc::EncodeNameChars("\u20ac\U0001F3B5A", 3), (std::vector<int>{1, 1, 2}));
    doc->SetParamText(kGain, "Other", 4, -1);
    EXPECT_EQ(doc->channelName[0][4], "");
    EXPECT_EQ(doc->GetParamText(kGain, 0, -1), "");
}

TEST(Document, APasswordIsRefusedUnlessTheDeviceKeepsItAsTyped) {
    for (const char* kept : {"", "Ab 1", "a;:Z", "x"}) {
        EXPECT_EQ(PasswordProblem(kept), "") << kept;
    }
    // "Ab_1" would be stored as "Ab 1", and "Ab " as "Ab": the typed password would not open it.
    for (const char* changed : {"Ab_1", "\u00e4b", "Ab "}) {
        EXPECT_NE(PasswordProblem(changed).find("The password was not changed."), std::string::npos)
            << changed;
    }
}

TEST(Document, CopyChannelCopiesWhatBothSidesHave) {
    auto doc = NewDocument();
    doc->gain[0][0] = 100;
    doc->delay[0][0] = 50;
    doc->mute[0][0] = 0;
    doc->eqGain[0][0][5] = 130;
    doc->CopyChannel(0, 4, -1); // input 0 to output 0
    EXPECT_EQ(doc->gain[0][8], 100);
    EXPECT_EQ(doc->delay[0][8], 50);
    EXPECT_EQ(doc->eqGain[0][8][5], 130);
    EXPECT_EQ(doc->mute[0][8], 1);
    EXPECT_EQ(doc->mixLevel[0][0][0], 1);
    EXPECT_EQ(doc->limThreshold[0][0], 40);

    doc->mixLevel[0][1] = {0, 1, 1, 1, 1, 1, 1, 1};
    doc->xoverType[0][1][0] = 2;
    doc->limRelease[0][1] = 4;
    doc->ampGain[0][1] = 50;
    doc->CopyChannel(5, 6, -1); // output 1 to output 2, 4 inputs
    EXPECT_EQ(doc->mixLevel[0][2], (std::array<int, 8>{0, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(doc->xoverType[0][2][0], 2);
    EXPECT_EQ(doc->limRelease[0][2], 4);
    EXPECT_EQ(doc->ampGain[0][2], 0);
}

TEST(Document, ValidateRepairsEveryStoredValue) {
    auto doc = NewDocument();
    doc->deviceModel[2] = "KVA-1326";
    doc->factoryEq[2] = 7;
    doc->channelName[2][3] = "Top  ";
    doc->gain[2][3] = -20;
    doc->delay[2][3] = 5000;
    doc->eqType[2][3][0] = 9;
    doc->eqWidth[2][3][0] = 200;
    doc->eqWidth[2][3][1] = 300;
    doc->mixLevel[2][7][7] = 20;
    doc->xoverFreq[2][7][1] = 30000;
    doc->speakerImpedance[2][7] = 99;
    doc->ValidateDevice(2);
    EXPECT_EQ(doc->factoryEq[2], 0);
    EXPECT_EQ(doc->channelName[2][3], "Top");
    EXPECT_EQ(doc->gain[2][3], 0);
    EXPECT_EQ(doc->delay[2][3], 2400);
    EXPECT_EQ(doc->eqType[2][3][0], 2);
    EXPECT_EQ(doc->eqWidth[2][3][0], 1);
    EXPECT_EQ(doc->eqWidth[2][3][1], 248);
    EXPECT_EQ(doc->mixLevel[2][7][7], 1);
    EXPECT_EQ(doc->xoverFreq[2][7][1], 19980);
    EXPECT_EQ(doc->speakerImpedance[2][7], 14);
}

TEST(Document, NewResetsParametersAndKeepsIdentity) {
    CTonraDoc doc;
    doc.deviceModel[3] = "NQVE-1888";
    doc.inputCount[3] = 2;
    doc.programName[3][4] = "Live";
    doc.devicePassword[3] = "ABCD";
    doc.securityLocks[3][2] = 1;
    doc.linkGroup[3][1] = 2;
    doc.eqBandOn[3][1][1] = 0;
    doc.connectionMode = 1;
    doc.comPort[3] = 4;
    doc.gain[3][9] = 5;
    doc.eqWidth[3][2][4] = 100;
    doc.oemPrograms[3] = 2;
    doc.qDisplay[3][1] = 1;
    doc.plotCurveShown[4][3] = 0;
    doc.meterLevel[3][0] = 9;
    doc.SetModifiedFlag();

    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.documentCaption, "New");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.deviceModel[3], "NQVE-1888");
    EXPECT_EQ(doc.inputCount[3], 2);
    EXPECT_EQ(doc.programName[3][4], "Live");
    EXPECT_EQ(doc.devicePassword[3], "ABCD");
    EXPECT_EQ(doc.securityLocks[3][2], 1);
    EXPECT_EQ(doc.linkGroup[3][1], 2);
    EXPECT_EQ(doc.eqBandOn[3][1][1], 0);
    EXPECT_EQ(doc.connectionMode, 1);
    EXPECT_EQ(doc.comPort[3], 4);

    for (int d = 0; d < kDeviceCount; ++d) {
        EXPECT_EQ(doc.oemPrograms[d], 0);
        EXPECT_EQ(doc.qDisplay[d], (std::array<int, 6>{}));
        for (int s = 0; s < kSlotCount; ++s) {
            EXPECT_EQ(doc.mute[d][s], 1);
            EXPECT_EQ(doc.gain[d][s], 160);
            EXPECT_EQ(doc.meterLevel[d][s], 0);
            for (int b = 0; b < kBandCount; ++b) {
                EXPECT_EQ(doc.eqType[d][s][b], 0);
                EXPECT_EQ(doc.eqGain[d][s][b], 120);
                EXPECT_EQ(doc.eqFreq[d][s][b], 980);
                EXPECT_EQ(doc.eqWidth[d][s][b], 31);
            }
        }
        for (int o = 0; o < kMaxOutputs; ++o) {
            EXPECT_EQ(doc.mixLevel[d][o][0], d == 3 ? 161 : 1);
            EXPECT_EQ(doc.mixLevel[d][o][1], 0);
            EXPECT_EQ(doc.xoverFreq[d][o], (std::array<int, 2>{980, 980}));
            EXPECT_EQ(doc.xoverSlope[d][o], (std::array<int, 2>{3, 3}));
            EXPECT_EQ(doc.limThreshold[d][o], 40);
            EXPECT_EQ(doc.limAttack[d][o], 10);
            EXPECT_EQ(doc.limRelease[d][o], 2);
            EXPECT_EQ(doc.plotOutputShown[d][o], 1);
        }
        for (int g = 0; g < kPlotCurveGroupCount; ++g) {
            EXPECT_EQ(doc.plotCurveShown[g][d], 1);
        }
        // The shadow equals the current values.
        EXPECT_EQ(doc.shadow.gain[d], doc.gain[d]);
        EXPECT_EQ(doc.shadow.mute[d], doc.mute[d]);
        EXPECT_EQ(doc.shadow.eqWidth[d], doc.eqWidth[d]);
        EXPECT_EQ(doc.shadow.mixLevel[d], doc.mixLevel[d]);
        EXPECT_EQ(doc.shadow.limRelease[d], doc.limRelease[d]);
        EXPECT_EQ(doc.shadow.channelName[d], doc.channelName[d]);
    }
}

TEST(Document, ConstructionGivesTheInitialValues) {
    CTonraDoc doc;
    EXPECT_EQ(doc.productName, "Veltrix");
    EXPECT_EQ(doc.currentDevice, 0);
    EXPECT_EQ(doc.deviceModel[15], "RLT-1448");
    EXPECT_EQ(doc.GetInputCount(15), 4);
    EXPECT_EQ(doc.GetOutputCount(15), 8);
    EXPECT_EQ(doc.devicePassword[7], std::string(4, '\xFF'));
    EXPECT_EQ(doc.eqBandOn[7][15][5], 1);
    EXPECT_EQ(doc.documentCaption, "");
}

TEST(Document, SnapshotCopiesTransmittedParametersOnly) {
    auto doc = NewDocument();
    doc->gain[1][2] = 10;
    doc->channelName[1][2] = "Fill";
    doc->xoverType[1][3][1] = 3;
    doc->gain[2][2] = 11;
    doc->TakeSnapshot(1);
    EXPECT_EQ(doc->shadow.gain[1][2], 10);
    EXPECT_EQ(doc->shadow.channelName[1][2], "Fill");
    EXPECT_EQ(doc->shadow.xoverType[1][3][1], 3);
    EXPECT_EQ(doc->shadow.gain[2][2], 160);
}

TEST(Document, RefreshViewsAsksTheViewOnce) {
    CTonraDoc doc;
    RefreshRecorder view;
    doc.SetView(&view);
    doc.RefreshViews(); // no window yet: nothing to refresh
    EXPECT_TRUE(view.refreshes.empty());
    ASSERT_TRUE(view.CreateMessageWindow());
    doc.OnNewDocument();
    EXPECT_EQ(view.refreshes, (std::vector<WPARAM>{CTonraDoc::kRefreshViewsCode}));
}

TEST(Document, OnlyTheOperatorsChangesMarkItModified) {
    auto doc = NewDocument();
    // Values from a device go into the fields; edits that change nothing or lie beyond the 12
    // channels are no change either.
    doc->gain[0][2] = 99;
    doc->channelName[0][8] = "Kick";
    doc->TakeSnapshot(0);
    doc->SetParam(kGain, 99, 2, 0);
    doc->SetParamText(kChannelName, "Kick  ", 4);
    doc->SetParam(kMute, 0, 15, 0);
    EXPECT_FALSE(doc->IsModified());

    doc->SetParamText(kChannelName, "Snare", 4);
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(false);
    doc->SetParam(kLimAttack, 3, 11, 0);
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(false);
    doc->CopyChannel(0, 1);
    EXPECT_TRUE(doc->IsModified());
}
