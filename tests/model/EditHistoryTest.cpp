// The operator's edits as steps: gestures, linked channels, undo and redo, what is never a step.
#include "NewDocument.h"
#include "model/EditGesture.h"
#include "model/EditText.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <gtest/gtest.h>

#include <memory>

using namespace model;

namespace {

std::string LastStepText(const CTonraDoc& doc, int device = -1) {
    const EditHistory& history = doc.History(device);
    return history.Done() == 0 ? std::string() : DescribeStep(doc, device, history.Step(history.Done() - 1));
}

} // namespace

TEST(EditHistory, ADragOfLinkedChannelsIsOneStepThatUndoAndRedoRestoreExactly) {
    auto doc = NewDocument();
    doc->SetLinkGroup(1, 4); // outputs 1 and 2 (slots 8, 9) of the 4 x 8 device
    doc->SetLinkGroup(1, 5);
    doc->EndOpenGesture();
    doc->SetModifiedFlag(false);
    for (int gain = 161; gain <= 170; ++gain) { // a fader drag: no gesture, ended at the release
        doc->SetParam(kGain, gain, 5, 0);
    }
    doc->SetParam(kGain, 150, 5, 0);
    doc->EndOpenGesture();
    ASSERT_EQ(doc->History().Size(), 2u);
    EXPECT_EQ(LastStepText(*doc), "Out 1 Level 0.00 -> -2.50 and 1 more");

    ASSERT_NE(doc->UndoStep(), nullptr);
    EXPECT_EQ(doc->gain[0][8], 160);
    EXPECT_EQ(doc->gain[0][9], 160);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_NE(doc->RedoStep(), nullptr);
    EXPECT_EQ(doc->gain[0][8], 150);
    EXPECT_EQ(doc->gain[0][9], 150);
    EXPECT_EQ(doc->RedoStep(), nullptr);

    // The link groups are steps too: undone, the channels are no longer linked.
    doc->UndoStep();
    EXPECT_EQ(LastStepText(*doc), "Out 1 Link Off -> 1 and 1 more");
    doc->UndoStep();
    EXPECT_EQ(doc->linkGroup[0][5], 0);
    EXPECT_FALSE(doc->IsLinked(4, 5));
}

TEST(EditHistory, GesturesGroupEditsAndAGestureThatChangesNothingIsNoStep) {
    auto doc = NewDocument();
    {
        const EditGesture outer(*doc, "Import");
        doc->SetParam(kEqGain, 126, 0, 0);
        {
            const EditGesture inner(*doc);
            doc->SetParam(kEqFreq, 500, 0, 0);
        }
        EXPECT_EQ(doc->History().Size(), 0u); // the outermost gesture ends the step
    }
    ASSERT_EQ(doc->History().Size(), 1u);
    EXPECT_EQ(doc->History().Step(0).label, "Import");
    EXPECT_EQ(doc->History().Step(0).changes.size(), 2u);
    EXPECT_EQ(DescribeStep(*doc, -1, doc->History().Step(0), StepDirection::TakenBack),
              "In 1 EQ1 Level +1.50 -> 0.00 and 1 more");
    EXPECT_NE(HistoryLines(*doc, -1)[0].find("  Import: In 1 EQ1 Level 0.00 -> +1.50 and 1 more"),
              std::string::npos);

    {
        const EditGesture nothing(*doc);
        doc->SetParam(kGain, 170, 1, 0);
        doc->SetParam(kGain, 160, 1, 0); // back where it began
        doc->SetParam(kGain, 160, 2, 0); // no change at all
    }
    EXPECT_EQ(doc->History().Size(), 1u);

    // A new edit after an undo drops the step that could have been made again.
    doc->UndoStep();
    doc->SetParam(kMute, 0, 3, 0);
    doc->EndOpenGesture();
    ASSERT_EQ(doc->History().Size(), 1u);
    EXPECT_EQ(LastStepText(*doc), "In 4 Mute On -> Off");
    EXPECT_EQ(doc->RedoStep(), nullptr);
}

TEST(EditHistory, ValuesFromTheDeviceAreNeverStepsAndEachDeviceHasItsOwnHistory) {
    auto doc = NewDocument();
    // As the link engine writes a reply and a sync: the fields directly, then the shadow.
    doc->gain[0][0] = 100;
    doc->shadow.gain[0][0] = 100;
    doc->linkGroup[0][0] = 2;
    doc->ValidateDevice(0);
    doc->TakeSnapshot(0);
    doc->EndOpenGesture();
    EXPECT_EQ(doc->History(0).Size(), 0u);

    doc->SetParam(kGain, 120, 0, 0, 0);
    doc->SetParamText(kChannelName, "Kick", 2, 3);
    doc->EndOpenGesture();
    EXPECT_EQ(doc->History(0).Size(), 1u);
    ASSERT_EQ(doc->History(3).Size(), 1u);
    EXPECT_EQ(LastStepText(*doc, 3), "In 3 Name \"\" -> \"Kick\"");
    doc->TakeSnapshot(3); // sent
    doc->gain[0][0] = 90; // the device's front panel meanwhile
    doc->UndoStep(3);
    EXPECT_EQ(doc->channelName[3][2], "");
    EXPECT_EQ(doc->shadow.channelName[3][2], "Kick"); // so the engine sends the old name
    doc->UndoStep(0);
    EXPECT_EQ(doc->gain[0][0], 100); // the value before the operator's step

    // A slot that holds another model by now keeps that model's ranges.
    doc->SetParam(kDelay, 21600, 0, 0, 5);
    doc->EndOpenGesture();
    doc->UndoStep(5);
    doc->deviceModel[5] = "KVA-1326"; // a sync brought a short-delay model
    doc->RedoStep(5);
    EXPECT_EQ(doc->delay[5][0], 2400);
}

TEST(EditHistory, BandSwitchesCopiesAndWholeDeviceLoadsAreSteps) {
    auto doc = NewDocument();
    {
        const EditGesture click(*doc);
        doc->SetBandOn(false, 1, 2);
        doc->SetParam(kEqGain, kEqGainZeroIndex, 1, 2);
    }
    doc->SetParam(kGain, 200, 0, 0);
    doc->SetParam(kDelay, 48, 0, 0);
    doc->CopyChannel(0, 1);
    ASSERT_EQ(doc->History().Size(), 3u); // the copy ended the edits before it
    EXPECT_EQ(LastStepText(*doc), "In 2 Level 0.00 -> +10.00 and 1 more");
    doc->UndoStep();
    EXPECT_EQ(doc->gain[0][1], kGainZeroIndex);
    EXPECT_EQ(doc->delay[0][1], 0);
    doc->UndoStep();
    doc->UndoStep();
    EXPECT_EQ(LastStepText(*doc), "");
    EXPECT_EQ(doc->eqBandOn[0][1][2], 1);

    auto source = NewDocument();
    source->gain[0][10] = 40;
    source->channelName[0][10] = "Sub";
    const QByteArray file = source->StoreSetup();
    {
        EditGesture recall(*doc, "Recall sub.dat");
        recall.WatchWholeDevice();
        std::string problem;
        ASSERT_EQ(doc->LoadSetup(file, problem), CTonraDoc::kLoadOk) << problem;
    }
    EXPECT_NE(HistoryLines(*doc, -1)[0].find("Recall sub.dat: Out 3 Level 0.00 -> -30.00 and 1 more"),
              std::string::npos);
    doc->UndoStep();
    EXPECT_EQ(doc->gain[0][10], kGainZeroIndex);
    EXPECT_EQ(doc->channelName[0][10], "");
}

TEST(EditHistory, HoldsTheNewestStepsAndListsThemNewestFirst) {
    auto doc = NewDocument();
    for (int i = 0; i < static_cast<int>(EditHistory::kMaxSteps) + 20; ++i) {
        doc->SetParam(kDelay, i + 1, 0, 0);
        doc->EndOpenGesture();
    }
    const EditHistory& history = doc->History();
    ASSERT_EQ(history.Size(), EditHistory::kMaxSteps);
    EXPECT_EQ(history.Step(0).changes[0].before, 20); // the oldest 20 were dropped
    doc->UndoStep();
    const std::vector<std::string> lines = HistoryLines(*doc, -1);
    ASSERT_EQ(lines.size(), EditHistory::kMaxSteps + 1);
    EXPECT_NE(lines[0].find("(undone) In 1 Delay 519 -> 520"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].find("(undone)"), std::string::npos);
    EXPECT_EQ(lines.back(), kHistoryStartText);
    EXPECT_EQ(HistoryCurrentLine(*doc, -1), 1);
    EXPECT_EQ(HistoryStepsDoneAt(*doc, -1, 0), 500);
}
