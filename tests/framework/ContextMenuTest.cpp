#include "framework/Edit.h"
#include "framework/Menu.h"
#include "framework/ScriptedUiService.h"
#include "framework/Wnd.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

constexpr UINT kFirstCommand = 10;
constexpr UINT kGrayedCommand = 11;

// A window that offers a menu of its own and remembers what it was asked and chose.
class MenuWnd : public CWnd {
public:
    CWnd* askedIn = nullptr;
    CPoint askedAt;
    UINT chosen = 0;
    int asked = 0;

protected:
    void OnContextMenu(CWnd* window, CPoint screenPoint) override {
        ++asked;
        askedIn = window;
        askedAt = screenPoint;
        CMenu menu;
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, kFirstCommand, "&First");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | MF_GRAYED, kGrayedCommand, "Grayed");
        chosen = menu.TrackPopupMenu(TPM_RETURNCMD, screenPoint.x, screenPoint.y, this);
    }
};

struct ContextMenu : ::testing::Test {
    CScriptedUiService ui;
    CScopedUiService scoped{ui};
    MenuWnd frame;
    CWnd plain;
    CEdit edit;
    QWindow* window = nullptr;

    void SetUp() override {
        ASSERT_TRUE(frame.CreateFrame("menus", CRect(0, 0, 300, 100)));
        ASSERT_TRUE(plain.CreateChild(frame, CRect(0, 0, 100, 100), 1));
        ASSERT_TRUE(edit.Create(0, CRect(150, 10, 250, 30), frame, 2));
        frame.ShowWindow(SW_SHOW);
        window = frame.GetWidget()->windowHandle();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
};

TEST_F(ContextMenu, ARightClickOnAWindowWithoutAMenuAsksItsParentWithTheScreenPoint) {
    ui.AnswerMenu(kFirstCommand);
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(40, 60));

    ASSERT_EQ(frame.asked, 1);
    EXPECT_EQ(frame.askedIn, &plain);
    const QPoint screen = window->mapToGlobal(QPoint(40, 60));
    EXPECT_EQ(frame.askedAt, CPoint(screen.x(), screen.y()));
    EXPECT_EQ(frame.chosen, kFirstCommand);
    ASSERT_EQ(ui.shown().size(), 1u);
    EXPECT_EQ(ui.shown()[0].text, "&First\n-\nGrayed\n");
}

TEST_F(ContextMenu, AGrayedEntryOrNoAnswerChoosesNothing) {
    ui.AnswerMenu(kGrayedCommand);
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(40, 60));
    EXPECT_EQ(frame.chosen, 0u);
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(40, 60));
    EXPECT_EQ(frame.asked, 2);
    EXPECT_EQ(frame.chosen, 0u);
    EXPECT_EQ(ui.unscripted(), 1);
}

TEST_F(ContextMenu, AnEditFieldShowsItsOwnMenuAndDoesNotPassTheRequestOn) {
    QTest::mouseClick(window, Qt::RightButton, {}, QPoint(200, 20));
    EXPECT_EQ(frame.asked, 0);
    EXPECT_TRUE(ui.shown().empty());
    QWidget* own = QApplication::activePopupWidget();
    ASSERT_NE(own, nullptr);
    own->close();
}

} // namespace
