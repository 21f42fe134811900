#include "dialogs/SetupCom.h"
#include "framework/ScriptedUiService.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int kDevice5Combo = 1118 + 4;

struct ConnectionDialog : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService installed{ui};
    CSetupCom dialog;

    int Run(const std::function<void(CDialog&)>& script) {
        ui.AnswerDialog(script);
        return dialog.DoModal();
    }
};

TEST_F(ConnectionDialog, OctetFieldIdsRunInThreeBlocksAndEveryControlHasItsOwnId) {
    EXPECT_EQ(CSetupCom::OctetFieldId(0, 0), 1094);
    EXPECT_EQ(CSetupCom::OctetFieldId(5, 3), 1117); // rows 1 to 6: 1094..1117
    EXPECT_EQ(CSetupCom::OctetFieldId(6, 0), 1136); // row 7 continues at 1136
    EXPECT_EQ(CSetupCom::OctetFieldId(11, 2), 1158);
    EXPECT_EQ(CSetupCom::OctetFieldId(11, 3), 1159); // row 12's fourth octet
    EXPECT_EQ(CSetupCom::OctetFieldId(12, 0), 1160); // row 13's first
    EXPECT_EQ(CSetupCom::OctetFieldId(15, 3), 1175);

    ASSERT_EQ(Run([](CDialog& d) {
                  std::set<QWidget*> controls;
                  for (int row = 0; row < 16; ++row) {
                      QWidget* combo = d.GetDlgItem(1118 + row);
                      ASSERT_NE(dynamic_cast<QComboBox*>(combo), nullptr) << row;
                      controls.insert(combo);
                      for (int octet = 0; octet < 4; ++octet) {
                          auto* field =
                              dynamic_cast<QLineEdit*>(d.GetDlgItem(CSetupCom::OctetFieldId(row, octet)));
                          ASSERT_NE(field, nullptr) << row << " " << octet;
                          EXPECT_EQ(field->maxLength(), 3);
                          EXPECT_EQ(field->y(), combo->y()); // the row's fields stand beside its list
                          controls.insert(field);
                      }
                  }
                  EXPECT_EQ(controls.size(), 80u);
                  EXPECT_EQ(d.GetDlgItemText(1134), "COM Port");
                  EXPECT_EQ(d.GetDlgItemText(1135), "Network IP Address");
                  EXPECT_EQ(dynamic_cast<QComboBox*>(d.GetDlgItem(1133))->itemText(64), "COM 64");
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
}

TEST_F(ConnectionDialog, TabGoesAlongEachRowThenToTheNextRow) {
    ASSERT_EQ(Run([](CDialog& d) {
                  QWidget* at = d.GetDlgItem(1118 + 2);
                  const int expected[] = {1180 + 2,  1094 + 8, 1094 + 9, 1094 + 10,
                                          1094 + 11, 1118 + 3, 1180 + 3, 1094 + 12};
                  for (const int id : expected) {
                      do { // labels take no focus
                          at = at->nextInFocusChain();
                      } while (!(at->focusPolicy() & Qt::TabFocus));
                      EXPECT_EQ(at, d.GetDlgItem(id)) << id;
                  }
                  d.ClickDlgButton(IDCANCEL);
              }),
              IDCANCEL);
}

TEST_F(ConnectionDialog, PortChoicesAreReadWhenAListClosesAndNotWhenAKeyChangesIt) {
    dialog.portChoices[1] = 2;
    dialog.portChoices[2] = 7;
    ASSERT_EQ(Run([](CDialog& d) {
                  EXPECT_EQ(d.GetDlgItemText(1119), "COM 2");
                  d.SelectComboEntry(kDevice5Combo, 3);
                  d.SelectComboEntry(1119, 0);
                  // Device 3's list changed by key while closed: its choice stays 7.
                  QTest::keyClick(d.GetDlgItem(1120), Qt::Key_Down);
                  EXPECT_EQ(d.GetDlgItemText(1120), "COM 8");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.portChoices[4], 3);
    EXPECT_EQ(dialog.portChoices[1], 0);
    EXPECT_EQ(dialog.portChoices[2], 7);
}

TEST_F(ConnectionDialog, AChoiceInTheOpenListIsReadWhenTheListCloses) {
    ASSERT_EQ(Run([](CDialog& d) {
                  d.Dialog()->show();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Dialog()));
                  auto* combo = dynamic_cast<QComboBox*>(d.GetDlgItem(kDevice5Combo));
                  combo->showPopup();
                  QAbstractItemView* list = combo->view();
                  list->setCurrentIndex(list->model()->index(3, 0));
                  QTest::keyClick(list, Qt::Key_Return);
                  QCoreApplication::processEvents(); // the closing is reported once the choice is made
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.portChoices[4], 3);
}

TEST_F(ConnectionDialog, AnOctetOutsideTheRangeKeepsTheDialogOpenOnThatField) {
    dialog.octets[4] = {10, 0, 0, 5};
    dialog.connectionMode = 1;
    ASSERT_EQ(Run([&](CDialog& d) {
                  EXPECT_EQ(d.IsDlgButtonChecked(1135), BST_CHECKED);
                  EXPECT_EQ(d.GetDlgItemText(CSetupCom::OctetFieldId(4, 0)), "10");
                  d.ClickDlgButton(1134);
                  auto* octet = d.GetDlgItem(CSetupCom::OctetFieldId(4, 3));
                  QTest::keyClick(octet, Qt::Key_A, Qt::ControlModifier);
                  QTest::keyClicks(octet, "2x56"); // digits only
                  EXPECT_EQ(d.GetDlgItemText(CSetupCom::OctetFieldId(4, 3)), "256");
                  d.SetDlgItemText(CSetupCom::OctetFieldId(0, 0), "7");
                  d.ClickDlgButton(IDOK);
                  EXPECT_FALSE(d.IsEnded());
                  EXPECT_EQ(d.GetFocusId(), CSetupCom::OctetFieldId(4, 3));
                  EXPECT_EQ(ui.MessageTexts(),
                            std::vector<std::string>{
                                "Device 5, IP address octet 4: Please enter an integer between 0 and 255."});
                  EXPECT_EQ(dialog.octets[0][0], 0); // nothing stored yet
                  EXPECT_EQ(dialog.connectionMode, 1);

                  d.SetDlgItemText(CSetupCom::OctetFieldId(4, 3), "");
                  d.ClickDlgButton(IDOK);
                  EXPECT_FALSE(d.IsEnded());

                  d.TypeDlgItemText(CSetupCom::OctetFieldId(4, 3), "2a");
                  EXPECT_EQ(d.GetDlgItemText(CSetupCom::OctetFieldId(4, 3)), "");
                  d.TypeDlgItemText(CSetupCom::OctetFieldId(4, 3), "255");
                  d.Dialog()->show();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Dialog()));
                  QTest::keyClick(octet, Qt::Key_Return); // Enter confirms
              }),
              IDOK);
    EXPECT_EQ(dialog.octets[4], (std::array<int, 4>{10, 0, 0, 255}));
    EXPECT_EQ(dialog.octets[0][0], 7);
    EXPECT_EQ(dialog.connectionMode, 0);
}

TEST_F(ConnectionDialog, EscapeCancelsAndLeavesTheFieldsAsTheCallerSetThem) {
    dialog.portChoices[0] = 1;
    ASSERT_EQ(Run([](CDialog& d) {
                  d.SelectComboEntry(1118, 9);
                  d.SetDlgItemText(1094, "99");
                  QTest::keyClick(d.GetDlgItem(1094), Qt::Key_Escape);
              }),
              IDCANCEL);
    // The caller reads the fields only after OK.
    EXPECT_EQ(ui.shown().front().text, "Connection Setup");
}

TEST_F(ConnectionDialog, EachRowShowsWhereItsComNumberLeadsAndCanPointItAtAPortOfTheSystem) {
    constexpr int kPortList = CSetupCom::kFirstPortListId;
    const std::string adapter = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
    dialog.portChoices = {3, 4, 3, 5, 0};
    dialog.portOptions = {{adapter, "/dev/ttyUSB0", "ttyUSB0: FT232R USB UART, FTDI"},
                          {"/dev/ttyS0", "/dev/ttyS0", "ttyS0"}};
    dialog.comTargets[3] = {"/dev/pts/4", true, false};
    dialog.comTargets[4] = {"/dev/ttyS3", false, false};
    dialog.comTargets[5] = {"/dev/pts/9", true, true};
    ASSERT_EQ(Run([&](CDialog& d) {
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 0), "pts/4");
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 1), "not present: ttyS3");
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 3), "pts/9 (from VELTRIX_COM5)");
                  EXPECT_FALSE(d.IsDlgItemEnabled(kPortList + 3)); // the environment decides COM5
                  EXPECT_FALSE(d.IsDlgItemEnabled(kPortList + 4)); // an offline row has no port
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 4), "");

                  d.SelectComboEntry(kPortList + 0, 1); // the adapter, after where COM3 leads now
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 0), "ttyUSB0: FT232R USB UART, FTDI");
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 2), "ttyUSB0: FT232R USB UART, FTDI"); // also COM3
                  d.SelectComboEntry(1118 + 4, 4);
                  EXPECT_TRUE(d.IsDlgItemEnabled(kPortList + 4));
                  EXPECT_EQ(d.GetDlgItemText(kPortList + 4), "not present: ttyS3");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.comTargets[3].path, adapter);
    EXPECT_TRUE(dialog.comTargets[3].present);
    EXPECT_EQ(dialog.comTargets[4].path, "/dev/ttyS3");
    EXPECT_EQ(dialog.comTargets[5].path, "/dev/pts/9");
    EXPECT_EQ(dialog.portChoices[4], 4);
}

TEST_F(ConnectionDialog, APortClickedInTheOpenListIsWhereTheComNumberLeadsOnceTheListCloses) {
    dialog.portChoices[0] = 3;
    dialog.portOptions = {{"/dev/ttyS0", "/dev/ttyS0", "ttyS0"}, {"/dev/ttyS1", "/dev/ttyS1", "ttyS1"}};
    dialog.comTargets[3] = {"/dev/pts/4", true, false};
    ASSERT_EQ(Run([](CDialog& d) {
                  d.Dialog()->show();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.Dialog()));
                  auto* combo = dynamic_cast<QComboBox*>(d.GetDlgItem(CSetupCom::kFirstPortListId));
                  combo->showPopup();
                  QAbstractItemView* list = combo->view();
                  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
                  // A release this soon after the list opened would belong to the press that opened it.
                  QTest::qWait(QApplication::doubleClickInterval());
                  const QPoint ttyS1 = list->visualRect(list->model()->index(2, 0)).center();
                  QTest::mouseMove(list->viewport(), ttyS1);
                  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, ttyS1);
                  // Once the list has closed, COM3 leads to ttyS1 and pts/4 is no longer offered.
                  EXPECT_TRUE(QTest::qWaitFor([&] { return combo->count() == 2; }));
                  EXPECT_EQ(d.GetDlgItemText(CSetupCom::kFirstPortListId), "ttyS1");
                  d.ClickDlgButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(dialog.comTargets[3].path, "/dev/ttyS1");
}

} // namespace
