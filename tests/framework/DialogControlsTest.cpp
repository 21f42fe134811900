#include "framework/Dialog.h"
#include "framework/DialogRows.h"
#include "framework/Edit.h"
#include "framework/NumberText.h"
#include "framework/ScriptedUiService.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Ids of the sample dialog's controls.
enum : int {
    kModeCom = 10,
    kModeIp = 11,
    kSpeedSlow = 20,
    kSpeedMid = 21,
    kSpeedFast = 22,
    kOctet = 30,
    kGainEdit = 31,
    kNameEdit = 32,
    kNumberEdit = 33,
    kNumberSpin = 34,
    kHintEdit = 35,
    kPortList = 40,
    kPortCombo = 41,
};

// A dialog with two radio groups, validated number fields, a list box, a drop-down list and
// an up-down control whose arrows the dialog clamps to 1..30.
class SampleDialog : public CDialog {
public:
    SampleDialog() : CDialog("Controls", CSize(320, 240)) {}

    int mode = 0;
    int speed = 2;
    int octet = 0;
    double gain = 0.0;
    std::string name = "old";
    int number = 1;
    int listIndex = -1;
    int comboIndex = 0;

    std::vector<std::string> notices;
    bool holdSpin = false;
    CSpinButtonCtrl spin;

protected:
    void CreateControls() override {
        AddRadioButton(kModeCom, "COM Port", CRect(10, 10, 100, 26), WS_GROUP);
        AddRadioButton(kModeIp, "Network", CRect(10, 30, 100, 46));
        AddRadioButton(kSpeedSlow, "Slow", CRect(110, 10, 200, 26), WS_GROUP);
        AddRadioButton(kSpeedMid, "Mid", CRect(110, 30, 200, 46));
        AddRadioButton(kSpeedFast, "Fast", CRect(110, 50, 200, 66));
        AddEdit(kOctet, CRect(10, 70, 50, 90), 0, 3);
        AddEdit(kGainEdit, CRect(60, 70, 100, 90));
        AddEdit(kNameEdit, CRect(110, 70, 200, 90), 0, 6);
        AddEdit(kNumberEdit, CRect(10, 100, 50, 120));
        AddSpinButton(spin, kNumberSpin, CRect(50, 100, 66, 120), kNumberEdit);
        AddEdit(kHintEdit, CRect(70, 100, 200, 120), ES_READONLY);
        CListBox list = AddListBox(kPortList, CRect(210, 10, 310, 120));
        for (const char* entry : {"01 - A", "02 - B", "03 - C"}) {
            list.AddString(entry);
        }
        CComboBox combo = AddComboBox(kPortCombo, CRect(10, 130, 100, 150));
        for (const char* entry : {"Offline", "COM 1", "COM 2", "COM 3"}) {
            combo.AddString(entry);
        }
        AddButton(IDOK, "OK", CRect(10, 200, 90, 224), true);
        AddButton(IDCANCEL, "Cancel", CRect(100, 200, 180, 224));
    }
    bool OnInitDialog() override {
        spin.SetRange(1, 30);
        spin.SetPos(number);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(bool save) override {
        DDX_Radio(save, kModeCom, mode);
        DDX_Radio(save, kSpeedSlow, speed);
        DDX_Text(save, kOctet, octet);
        DDV_MinMaxInt(save, octet, 0, 255);
        DDX_Text(save, kGainEdit, gain);
        DDV_MinMaxDouble(save, gain, -12.5, 6.0);
        DDX_Text(save, kNameEdit, name);
        DDX_Text(save, kNumberEdit, number);
        DDX_LBIndex(save, kPortList, listIndex);
        DDX_CBIndex(save, kPortCombo, comboIndex);
    }
    void OnComboSelChange(int id) override { notices.push_back("selchange " + std::to_string(id)); }
    void OnComboCloseUp(int id) override { notices.push_back("closeup " + std::to_string(id)); }
    void OnListSelChange(int id) override {
        notices.push_back("list " + std::to_string(id) + " " + std::to_string(GetListBox(id).GetCurSel()));
    }
    bool OnSpinDeltaPos(int id, const NMUPDOWN& step) override {
        notices.push_back("delta " + std::to_string(id) + " " + std::to_string(step.iPos) + " " +
                          std::to_string(step.iDelta));
        number = std::clamp(step.iPos + step.iDelta, 1, 30);
        return holdSpin;
    }
    std::string DescribeField(int id) const override { return id == kOctet ? "Device 5, octet 1" : ""; }
};

struct DialogControls : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    SampleDialog dialog;

    // Runs the dialog with `script` and returns its result.
    int Run(const std::function<void(SampleDialog&)>& script) {
        ui.AnswerDialog([&](CDialog& d) { script(static_cast<SampleDialog&>(d)); });
        return dialog.DoModal();
    }
};

TEST_F(DialogControls, TwoRadioGroupsStayIndependentAndExchangeTheirIndexes) {
    dialog.mode = 1;
    dialog.speed = 0;
    ASSERT_EQ(Run([](SampleDialog& d) {
                  EXPECT_EQ(d.IsDlgButtonChecked(kModeIp), BST_CHECKED);
                  EXPECT_EQ(d.IsDlgButtonChecked(kSpeedSlow), BST_CHECKED);
                  d.ClickDlgButton(kSpeedFast);
                  EXPECT_EQ(d.IsDlgButtonChecked(kModeIp), BST_CHECKED); // the other group keeps its radio
                  EXPECT_EQ(d.IsDlgButtonChecked(kSpeedSlow), BST_UNCHECKED);
                  d.ClickDlgButton(kModeCom);
                  EXPECT_EQ(d.IsDlgButtonChecked(kModeIp), BST_UNCHECKED);
                  EXPECT_EQ(d.IsDlgButtonChecked(kSpeedFast), BST_CHECKED);
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.mode, 0);
    EXPECT_EQ(dialog.speed, 2);

    dialog.speed = -1; // no radio of the group checked
    ASSERT_EQ(Run([](SampleDialog& d) {
                  EXPECT_EQ(d.IsDlgButtonChecked(kSpeedSlow) + d.IsDlgButtonChecked(kSpeedMid) +
                                d.IsDlgButtonChecked(kSpeedFast),
                            0);
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.speed, -1);
}

TEST_F(DialogControls, ANumberFieldRefusesTextAndOutOfRangeValuesAndStoresNothingUntilAllPass) {
    const int result = Run([&](SampleDialog& d) {
        d.TypeDlgItemText(kNameEdit, "new");
        for (const char* refused : {"12abc", "", "256", "-1"}) {
            d.SetDlgItemText(kOctet, refused);
            d.GotoDlgCtrl(kNameEdit);
            d.ClickDlgButton(IDOK);
            EXPECT_FALSE(d.IsEnded()) << refused;
            EXPECT_EQ(d.GetFocusId(), kOctet) << refused;
            EXPECT_EQ(ui.MessageTexts().back(),
                      "Device 5, octet 1: Please enter an integer between 0 and 255.");
            EXPECT_EQ(ui.shown().back().type, MB_OK | MB_ICONEXCLAMATION);
        }
        EXPECT_EQ(d.name, "old"); // a field before the refused one was not stored either
        d.SetDlgItemText(kOctet, "255");
        d.SetDlgItemText(kGainEdit, "-12.6");
        d.ClickDlgButton(IDOK);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(d.GetFocusId(), kGainEdit);
        EXPECT_EQ(ui.MessageTexts().back(), "Please enter a number between -12.5 and 6.");
        EXPECT_EQ(d.octet, 0);
        d.SetDlgItemText(kGainEdit, "-12.5");
        d.SetDlgItemText(kNumberEdit, "7x"); // no range check: refused as not a number
        d.ClickDlgButton(IDOK);
        EXPECT_EQ(ui.MessageTexts().back(), "Please enter an integer.");
        EXPECT_EQ(d.GetFocusId(), kNumberEdit);
        d.SetDlgItemText(kNumberEdit, "+7");
        d.ClickDlgButton(IDOK);
    });
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(ui.MessageTexts().size(), 6u);
    EXPECT_EQ(dialog.octet, 255);
    EXPECT_DOUBLE_EQ(dialog.gain, -12.5);
    EXPECT_EQ(dialog.name, "new");
    EXPECT_EQ(dialog.number, 7);
}

TEST_F(DialogControls, ListBoxSelectionNotifiesOnlyForTheOperatorAndIsExchanged) {
    dialog.listIndex = 1;
    ASSERT_EQ(Run([](SampleDialog& d) {
                  CListBox list(d, kPortList);
                  EXPECT_EQ(list.GetCount(), 3);
                  EXPECT_EQ(list.GetCurSel(), 1);
                  EXPECT_EQ(list.GetText(2), "03 - C");
                  EXPECT_TRUE(d.notices.empty()); // the program's selection is not announced
                  d.SelectListEntry(kPortList, 2);
                  EXPECT_EQ(d.notices, std::vector<std::string>{"list 40 2"});

                  // A click of the operator at the first entry.
                  d.Dialog()->show();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Dialog()));
                  auto* widget = dynamic_cast<QListWidget*>(d.GetDlgItem(kPortList));
                  const QRect first = widget->visualItemRect(widget->item(0));
                  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, first.center());
                  EXPECT_EQ(d.notices.back(), "list 40 0");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.listIndex, 0);

    ASSERT_EQ(Run([](SampleDialog& d) {
                  CListBox list(d, kPortList);
                  list.ResetContent();
                  EXPECT_EQ(list.GetCurSel(), -1);
                  EXPECT_EQ(list.AddString("only"), 0);
                  EXPECT_EQ(list.SetCurSel(5), -1);
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.listIndex, -1);
}

TEST_F(DialogControls, DropDownListReportsChoicesAndClosingAndAKeyChangesWithoutClosing) {
    ASSERT_EQ(Run([](SampleDialog& d) {
                  d.SelectComboEntry(kPortCombo, 3);
                  EXPECT_EQ(d.notices, (std::vector<std::string>{"selchange 41", "closeup 41"}));
                  d.notices.clear();
                  auto* combo = dynamic_cast<QComboBox*>(d.GetDlgItem(kPortCombo));
                  QTest::keyClick(combo, Qt::Key_Up); // the list stays closed
                  EXPECT_EQ(combo->currentIndex(), 2);
                  EXPECT_EQ(d.notices, std::vector<std::string>{"selchange 41"});
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.comboIndex, 2);
}

TEST_F(DialogControls, UpDownArrowsAreAnnouncedWithTheChangeSoTheDialogClampsAtOneAndThirty) {
    dialog.number = 2;
    ASSERT_EQ(Run([](SampleDialog& d) {
                  EXPECT_EQ(d.GetDlgItemText(kNumberEdit), "2"); // the buddy shows the position
                  d.ClickSpinArrow(kNumberSpin, false);
                  d.ClickSpinArrow(kNumberSpin, false);
                  EXPECT_EQ(d.notices, (std::vector<std::string>{"delta 34 2 -1", "delta 34 1 -1"}));
                  EXPECT_EQ(d.number, 1);
                  EXPECT_EQ(d.GetDlgItemText(kNumberEdit), "1");

                  d.TypeDlgItemText(kNumberEdit, "29"); // the next step starts from what was typed
                  d.ClickSpinArrow(kNumberSpin, true);
                  d.ClickSpinArrow(kNumberSpin, true);
                  EXPECT_EQ(d.notices.back(), "delta 34 30 1");
                  EXPECT_EQ(d.number, 30);
                  EXPECT_EQ(d.GetDlgItemText(kNumberEdit), "30");

                  d.holdSpin = true; // the dialog keeps the position where it is
                  d.ClickSpinArrow(kNumberSpin, false);
                  EXPECT_EQ(d.GetSpinButton(kNumberSpin)->GetPos(), 30);
                  d.holdSpin = false;

                  // A real press on the lower half (the down arrow) of the control.
                  d.Dialog()->show();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Dialog()));
                  QWidget* spin = d.GetDlgItem(kNumberSpin);
                  QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(8, 15));
                  QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(8, 15));
                  EXPECT_EQ(d.notices.back(), "delta 34 30 -1");
                  EXPECT_EQ(d.GetDlgItemText(kNumberEdit), "29");

                  d.EnableDlgItem(kNumberSpin, false);
                  d.ClickSpinArrow(kNumberSpin, false);
                  EXPECT_EQ(d.GetDlgItemText(kNumberEdit), "29");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.number, 29);
}

TEST_F(DialogControls, ReadOnlyAndDisabledFieldsRefuseTyping) {
    ASSERT_EQ(Run([](SampleDialog& d) {
                  d.SetDlgItemText(kHintEdit, "Factory Program");
                  EXPECT_TRUE(d.IsDlgItemReadOnly(kHintEdit));
                  d.TypeDlgItemText(kHintEdit, "typed");
                  QTest::keyClicks(d.GetDlgItem(kHintEdit), "x");
                  EXPECT_EQ(d.GetDlgItemText(kHintEdit), "Factory Program");

                  d.EnableDlgItem(kNameEdit, false);
                  EXPECT_FALSE(d.IsDlgItemEnabled(kNameEdit));
                  d.TypeDlgItemText(kNameEdit, "typed");
                  EXPECT_EQ(d.GetDlgItemText(kNameEdit), "old");
                  d.EnableDlgItem(kNameEdit, true);
                  // A read-only field looks different from one that takes typing.
                  const auto base = [&d](int id) { return d.GetDlgItem(id)->palette().color(QPalette::Base); };
                  EXPECT_NE(base(kHintEdit), base(kNameEdit));
                  d.SetDlgItemReadOnly(kHintEdit, false);
                  EXPECT_EQ(base(kHintEdit), base(kNameEdit));
                  d.TypeDlgItemText(kHintEdit, "free");
                  d.TypeDlgItemText(kNameEdit, "toolongname"); // cut at the limit of 6
                  EXPECT_EQ(d.GetDlgItemText(kNameEdit), "toolon");
                  EXPECT_EQ(d.GetDlgItemText(kHintEdit), "free");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.name, "toolon");
}

TEST(DialogRows, PlacesEveryRowAndColumnFromOneDescription) {
    CDialogRows rows(30, 20, 24);
    const int label = rows.AddColumns(10, 60);
    const int combo = rows.AddColumnAfter(8, 80);
    const int octets = rows.AddColumnAfter(12, 30, 4, 4);
    EXPECT_EQ(label, 0);
    EXPECT_EQ(combo, 1);
    EXPECT_EQ(octets, 2);
    EXPECT_EQ(rows.Cell(0, label), CRect(10, 30, 70, 50));
    EXPECT_EQ(rows.Cell(0, combo), CRect(78, 30, 158, 50));
    EXPECT_EQ(rows.Cell(15, octets + 3), CRect(272, 390, 302, 410));
    EXPECT_EQ(rows.Span(1, combo, octets), CRect(78, 54, 200, 74));
    EXPECT_EQ(rows.Bottom(16), 410);
    EXPECT_EQ(rows.Right(), 302);
}

TEST(NumberText, TakesOnlyTextThatIsWhollyANumber) {
    EXPECT_EQ(framework::ParseInteger(" 255 "), 255);
    EXPECT_EQ(framework::ParseInteger("+7"), 7);
    EXPECT_EQ(framework::ParseInteger("-3"), -3);
    for (const char* text : {"12abc", "", "  ", "+-1", "1.5", "99999999999", "0x10"}) {
        EXPECT_EQ(framework::ParseInteger(text), std::nullopt) << text;
    }
    EXPECT_EQ(framework::ParseDecimal("-12.25"), -12.25);
    EXPECT_EQ(framework::ParseDecimal("3"), 3.0);
    EXPECT_EQ(framework::ParseDecimal(" 2,5 "), 2.5); // a decimal comma
    for (const char* text : {"1,5,0", "1,234.5", "1.5dB", "", "inf", "nan", "-"}) {
        EXPECT_EQ(framework::ParseDecimal(text), std::nullopt) << text;
    }
}

} // namespace
