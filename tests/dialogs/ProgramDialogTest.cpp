#include "dialogs/SetupProgram.h"
#include "framework/ScriptedUiService.h"
#include "model/TonraDoc.h"

#include <QDialog>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using P = CSetupProgram;

struct ProgramDialog : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    CTonraDoc doc;
    CSetupProgram dialog;

    void SetUp() override {
        doc.currentDevice = 2;
        doc.oemPrograms[2] = 3;
        doc.factoryEq[2] = 1;
        for (int i = 0; i < 30; ++i) {
            doc.programName[2][static_cast<std::size_t>(i)] = "Prog " + std::to_string(i + 1);
        }
        dialog.document = &doc;
    }
    int Run(const std::function<void(CDialog&)>& script) {
        ui.AnswerDialog(script);
        return dialog.DoModal();
    }
};

// The number field set to `number` as typed, then the hint refreshed by an action click.
void ShowProgram(CDialog& d, int number, int actionId) {
    d.TypeDlgItemText(P::kNumberFieldId, std::to_string(number));
    d.ClickDlgButton(actionId);
}

TEST_F(ProgramDialog, OpensAtTheCurrentProgramWithItsNameInTheRecallAction) {
    doc.currentProgram[2] = 6;
    ASSERT_EQ(Run([](CDialog& d) {
                  EXPECT_EQ(d.IsDlgButtonChecked(P::kRecallFromDeviceId), BST_CHECKED);
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "7");
                  EXPECT_EQ(d.GetDlgItemText(P::kNameFieldId), "Prog 7");
                  EXPECT_EQ(d.GetDlgItemText(P::kHintFieldId), "");
                  EXPECT_TRUE(d.IsDlgItemReadOnly(P::kNameFieldId));
                  EXPECT_TRUE(d.IsDlgItemReadOnly(P::kHintFieldId));
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.action, P::kRecallFromDevice);
    EXPECT_EQ(dialog.programNumber, 7);
    EXPECT_EQ(dialog.programName, "Prog 7");
}

TEST_F(ProgramDialog, FactoryProgramsAreReadOnlyInEveryActionAndTheStoreActionShowsFactoryEq) {
    ASSERT_EQ(Run([&](CDialog& d) {
                  for (const int action : {P::kRecallFromDeviceId, P::kStoreToDeviceId}) {
                      for (int number = 1; number <= 3; ++number) {
                          ShowProgram(d, number, action);
                          EXPECT_EQ(d.GetDlgItemText(P::kHintFieldId), "Factory Program") << number;
                          EXPECT_TRUE(d.IsDlgItemReadOnly(P::kNameFieldId)) << number;
                      }
                  }
                  ShowProgram(d, 4, P::kStoreToDeviceId);
                  EXPECT_EQ(d.GetDlgItemText(P::kHintFieldId), "Factory EQ");
                  EXPECT_FALSE(d.IsDlgItemReadOnly(P::kNameFieldId));
                  ShowProgram(d, 4, P::kRecallFromDeviceId);
                  EXPECT_EQ(d.GetDlgItemText(P::kHintFieldId), "");
                  EXPECT_TRUE(d.IsDlgItemReadOnly(P::kNameFieldId));
                  doc.factoryEq[2] = 0;
                  ShowProgram(d, 4, P::kStoreToDeviceId);
                  EXPECT_EQ(d.GetDlgItemText(P::kHintFieldId), "");

                  d.TypeDlgItemText(P::kNameFieldId, "Festival 2026");
                  EXPECT_EQ(d.GetDlgItemText(P::kNameFieldId), "Festival 202"); // 12 characters
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.action, P::kStoreToDevice);
    EXPECT_EQ(dialog.programNumber, 4);
    EXPECT_EQ(dialog.programName, "Festival 202");
}

TEST_F(ProgramDialog, ArrowsStopAtOneAndThirtyAndRefreshTheHint) {
    doc.currentProgram[2] = 1;
    ASSERT_EQ(Run([](CDialog& d) {
                  d.ClickSpinArrow(P::kUpDownId, false);
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "1");
                  d.ClickSpinArrow(P::kUpDownId, false);
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "1");
                  EXPECT_EQ(d.GetDlgItemText(P::kNameFieldId), "Prog 1");

                  d.TypeDlgItemText(P::kNumberFieldId, "3");
                  d.ClickSpinArrow(P::kUpDownId, true); // from the typed number to 4
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "4");
                  EXPECT_EQ(d.GetDlgItemText(P::kNameFieldId), "Prog 4");
                  EXPECT_EQ(d.GetDlgItemText(P::kHintFieldId), "");

                  d.TypeDlgItemText(P::kNumberFieldId, "29");
                  // Real presses on the upper half of the up-down control.
                  d.Dialog()->show();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Dialog()));
                  QWidget* upDown = d.GetDlgItem(P::kUpDownId);
                  for (int press = 0; press < 3; ++press) {
                      QTest::mousePress(upDown, Qt::LeftButton, {}, QPoint(upDown->width() / 2, 3));
                      QTest::mouseRelease(upDown, Qt::LeftButton, {}, QPoint(upDown->width() / 2, 3));
                  }
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "30");
                  EXPECT_EQ(d.GetDlgItemText(P::kNameFieldId), "Prog 30");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.programNumber, 30);
}

TEST_F(ProgramDialog, ATypedNumberOutsideOneToThirtyIsKeptWithinIt) {
    ASSERT_EQ(Run([](CDialog& d) {
                  d.TypeDlgItemText(P::kNumberFieldId, "45");
                  d.ClickDlgButton(P::kStoreToDeviceId);
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "30");
                  EXPECT_EQ(d.GetDlgItemText(P::kNameFieldId), "Prog 30");
                  d.TypeDlgItemText(P::kNumberFieldId, "-4");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.programNumber, 1);

    ASSERT_EQ(Run([&](CDialog& d) {
                  d.TypeDlgItemText(P::kNumberFieldId, "x");
                  d.ClickDlgButton(IDOK);
                  EXPECT_FALSE(d.IsEnded());
                  EXPECT_EQ(d.GetFocusId(), P::kNumberFieldId);
                  EXPECT_EQ(ui.MessageTexts().back(),
                            "Program number: Please enter an integer between 1 and 30.");
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
}

TEST_F(ProgramDialog, ThePcActionsDisableNumberNameAndArrows) {
    ASSERT_EQ(Run([](CDialog& d) {
                  d.ClickDlgButton(P::kRecallFromPcId);
                  EXPECT_EQ(d.IsDlgButtonChecked(P::kRecallFromDeviceId), BST_UNCHECKED);
                  for (const int id : {P::kNumberFieldId, P::kNameFieldId, P::kUpDownId}) {
                      EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
                  }
                  d.ClickSpinArrow(P::kUpDownId, true);
                  EXPECT_EQ(d.GetDlgItemText(P::kNumberFieldId), "1");
                  d.ClickDlgButton(P::kStoreToPcId);
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.action, P::kStoreToPc);

    ASSERT_EQ(Run([](CDialog& d) {
                  d.ClickDlgButton(P::kStoreToPcId);
                  d.ClickDlgButton(P::kStoreToDeviceId);
                  for (const int id : {P::kNumberFieldId, P::kNameFieldId, P::kUpDownId}) {
                      EXPECT_TRUE(d.IsDlgItemEnabled(id)) << id;
                  }
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.action, P::kStoreToDevice);
}

} // namespace
