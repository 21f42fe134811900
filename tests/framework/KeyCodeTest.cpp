#include "framework/VirtualKeyMap.h"
#include "framework/Wnd.h"

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <vector>

namespace {

class KeyLogWnd : public CWnd {
public:
    std::vector<UINT> keys;

protected:
    void OnKeyDown(UINT virtualKey, UINT, UINT) override { keys.push_back(virtualKey); }
};

struct KeyWindow : ::testing::Test {
    CWnd frame;
    KeyLogWnd field;

    void SetUp() override {
        ASSERT_TRUE(frame.CreateFrame("keys", CRect(0, 0, 200, 100)));
        ASSERT_TRUE(field.CreateChild(frame, CRect(10, 10, 110, 40)));
        frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.GetWidget()->windowHandle()));
    }
    UINT Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        field.keys.clear();
        QTest::keyClick(field.GetWidget(), key, modifiers);
        return field.keys.empty() ? ~0u : field.keys.back();
    }
};

TEST_F(KeyWindow, MovementAndEditingKeysArriveWithTheClassicCodes) {
    EXPECT_EQ(Press(Qt::Key_Left), 0x25u);
    EXPECT_EQ(Press(Qt::Key_Up), 0x26u);
    EXPECT_EQ(Press(Qt::Key_Right), 0x27u);
    EXPECT_EQ(Press(Qt::Key_Down), 0x28u);
    EXPECT_EQ(Press(Qt::Key_Home), 0x24u);
    EXPECT_EQ(Press(Qt::Key_End), 0x23u);
    EXPECT_EQ(Press(Qt::Key_PageUp), 0x21u);
    EXPECT_EQ(Press(Qt::Key_PageDown), 0x22u);
    EXPECT_EQ(Press(Qt::Key_Delete), 0x2Eu);
    EXPECT_EQ(Press(Qt::Key_Return), 0x0Du);
    EXPECT_EQ(Press(Qt::Key_Enter, Qt::KeypadModifier), 0x0Du);
    EXPECT_EQ(Press(Qt::Key_Escape), 0x1Bu);
    EXPECT_EQ(Press(Qt::Key_Tab), 0x09u);
    EXPECT_EQ(Press(Qt::Key_Backspace), 0x08u);
}

TEST_F(KeyWindow, FunctionKeysDigitsAndLettersArriveWithTheClassicCodes) {
    EXPECT_EQ(Press(Qt::Key_F1), 0x70u);
    EXPECT_EQ(Press(Qt::Key_F10), 0x79u);
    EXPECT_EQ(Press(Qt::Key_F12), 0x7Bu);
    EXPECT_EQ(Press(Qt::Key_0), UINT('0'));
    EXPECT_EQ(Press(Qt::Key_9), UINT('9'));
    EXPECT_EQ(Press(Qt::Key_A), UINT('A'));
    EXPECT_EQ(Press(Qt::Key_Z, Qt::ShiftModifier), UINT('Z'));
    // Keys that once shared a code: F1 and '0', Left and Ctrl+R's 18, Delete and '.'.
    EXPECT_NE(Press(Qt::Key_F1), Press(Qt::Key_0));
    EXPECT_NE(Press(Qt::Key_Period), Press(Qt::Key_Delete));
}

TEST(VirtualKeyOf, KeypadAndPunctuationHaveTheirOwnCodes) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_5, Qt::KeypadModifier), 0x65u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Plus, Qt::KeypadModifier), 0x6Bu);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Period, Qt::KeypadModifier), 0x6Eu);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Left, Qt::KeypadModifier), 0x25u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus), 0xBDu);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Period), 0xBEu);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Exclam), UINT('1'));
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F24), 0x87u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_MediaPlay), 0u);
}

} // namespace
