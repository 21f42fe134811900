#include "controls/ModText.h"
#include "ControlTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

using namespace controls_test;

namespace {

constexpr UINT kId = 5;
constexpr UINT kOtherId = 6;
constexpr int kMaxChars = 4;
constexpr COLORREF kTextColour = RGB(0, 0, 128);
const CRect kFieldRect(10, 10, 70, 30);
const QPoint kOnField(40, 20);
const QPoint kOnOtherField(140, 20);

struct TextTest : PageTest {
    CModText field;
    CModText other;

    void SetUp() override {
        PageTest::SetUp();
        window->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        ASSERT_TRUE(field.Create(kFieldRect, &page, kId, kTextColour, true, kMaxChars));
        ASSERT_TRUE(other.Create(CRect(110, 10, 170, 30), &page, kOtherId, kTextColour, true, kMaxChars));
        field.text = "1.5";
        field.HasChanged();
    }
    QLineEdit* Line() { return qobject_cast<QLineEdit*>(field.GetWidget()); }
    void Type(const QString& keys) { QTest::keyClicks(field.GetWidget(), keys); }
};

TEST(TextState, HasChangedSeesNewTextAndEditsOnce) {
    CModText field;
    EXPECT_FALSE(field.HasChanged());
    field.text = "0 dB";
    EXPECT_TRUE(field.HasChanged());
    EXPECT_FALSE(field.HasChanged());
    field.edited = true;
    EXPECT_TRUE(field.HasChanged());
    EXPECT_FALSE(field.edited);
    EXPECT_FALSE(field.HasChanged());
}

TEST_F(TextTest, AClickReportsThePressThenFocusesTheFieldOnTheCurrentValueAllSelected) {
    bool focusedAtPress = true;
    page.onReport = [&](UINT message, WPARAM) {
        if (message == UM_CTRL_PRESS) {
            focusedAtPress = field.HasFocus();
        }
    };
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);

    EXPECT_EQ(page.log.front(), "press 5");
    EXPECT_FALSE(focusedAtPress);
    EXPECT_TRUE(field.HasFocus());
    EXPECT_EQ(Line()->text(), "1.5");
    EXPECT_EQ(Line()->selectedText(), "1.5");
    // The edit control now shows itself: the field counts as edited until the page checks it.
    EXPECT_TRUE(field.edited);
    EXPECT_EQ(page.Count("release 5"), 0);

    // Coming back to a field whose edit window already holds the value shows the edit again.
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnOtherField);
    field.HasChanged();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    EXPECT_TRUE(field.edited);
    EXPECT_EQ(Line()->selectedText(), "1.5");
}

TEST_F(TextTest, AfterTypingAReleaseIsReportedOnlyOnceThePageHasCheckedTheField) {
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    field.HasChanged();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    EXPECT_EQ(page.Count("release 5"), 1);

    Type("2");
    page.log.clear();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    EXPECT_EQ(page.log, std::vector<std::string>{"press 5"});
    field.HasChanged();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    EXPECT_EQ(page.Count("release 5"), 1);
}

TEST_F(TextTest, EnterReportsTheTextBeforeAskingForARefresh) {
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("-3");
    EXPECT_EQ(field.text, "-3");
    page.log.clear();
    std::string textAtReport;
    page.onReport = [&](UINT message, WPARAM) {
        if (message == UM_TEXT_ENTERED) {
            textAtReport = field.text;
        }
    };
    QTest::keyClick(field.GetWidget(), Qt::Key_Return);
    EXPECT_EQ(page.log, (std::vector<std::string>{"entered 5", "refresh 0"}));
    EXPECT_EQ(textAtReport, "-3");
    EXPECT_TRUE(field.edited);
}

TEST_F(TextTest, LeavingTheFieldAppliesChangedTextAsEnterDoesAndEscapeRestoresTheOldText) {
    other.text = "3";
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("7");
    page.log.clear();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnOtherField);
    EXPECT_EQ(page.log, (std::vector<std::string>{"press 6", "entered 5", "refresh 0"}));
    EXPECT_EQ(field.text, "7");
    EXPECT_TRUE(other.HasFocus());
    EXPECT_EQ(qobject_cast<QLineEdit*>(other.GetWidget())->selectedText(), "3");

    // Left unchanged, or entered already: nothing more to apply.
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    page.log.clear();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnOtherField);
    EXPECT_EQ(page.Count("entered 5"), 0);
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("8");
    QTest::keyClick(field.GetWidget(), Qt::Key_Return);
    page.log.clear();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnOtherField);
    EXPECT_EQ(page.Count("entered 5"), 0);

    // Escape puts back the text the field had; leaving then applies nothing.
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("9");
    QTest::keyClick(field.GetWidget(), Qt::Key_Escape);
    EXPECT_EQ(Line()->text(), "8");
    EXPECT_EQ(Line()->selectedText(), "8");
    page.log.clear();
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnOtherField);
    EXPECT_EQ(page.Count("entered 5"), 0);
    EXPECT_EQ(field.text, "8");
}

TEST_F(TextTest, AFieldOfAWindowThatIsNotActiveSelectsItsTextWhenTheWindowBecomesActive) {
    CWnd popup;
    ASSERT_TRUE(popup.CreateFrame("popup", CRect(500, 0, 600, 100)));
    popup.ShowWindow(SW_SHOW);
    QWindow* popupWindow = popup.GetWidget()->windowHandle();
    popupWindow->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(popupWindow));

    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    window->requestActivate(); // the desktop activates the window clicked into
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTRY_VERIFY(field.HasFocus());
    EXPECT_EQ(Line()->selectedText(), "1.5");
    Type("2");
    EXPECT_EQ(field.text, "2");
}

TEST_F(TextTest, AFieldWhoseWindowGoesAppliesTheTypedText) {
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("4");
    page.log.clear();
    field.DestroyWindow();
    EXPECT_EQ(page.log, (std::vector<std::string>{"entered 5", "refresh 0"}));
}

TEST_F(TextTest, TypingStopsAtMaxChars) {
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("123456");
    EXPECT_EQ(field.text, "1234");
}

TEST_F(TextTest, DrawsTheTextOnASunkenGreyFaceAndGivesWayToTheEditControlWhileEdited) {
    QImage image = GrabWindow(field);
    ASSERT_EQ(image.size(), QSize(60, 20));
    EXPECT_EQ(At(image, 0, 0), kBlack);
    EXPECT_EQ(At(image, 58, 0), kBlack);
    EXPECT_EQ(At(image, 59, 0), kWhite);
    EXPECT_EQ(At(image, 59, 19), kWhite);
    EXPECT_EQ(At(image, 2, 17), kLightGrey);
    const int glyphPixels = CountColour(image, CRect(1, 1, 59, 19), kTextColour);
    EXPECT_GT(glyphPixels, 5);

    // A page that formats what was typed and checks its fields on every refresh.
    page.onReport = [&](UINT message, WPARAM) {
        if (message == UM_TEXT_ENTERED) {
            field.text = field.text + ".0";
        } else if (message == UM_REFRESH && field.HasChanged()) {
            field.Invalidate(false);
        }
    };
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("9");
    image = GrabWindow(field);
    EXPECT_NE(At(image, 2, 17), kLightGrey);

    QTest::keyClick(field.GetWidget(), Qt::Key_Return);
    EXPECT_EQ(field.text, "9.0");
    EXPECT_FALSE(field.edited);
    image = GrabWindow(field);
    EXPECT_EQ(At(image, 2, 17), kLightGrey);
    EXPECT_GT(CountColour(image, CRect(1, 1, 59, 19), kTextColour), 5);
}

TEST_F(TextTest, AFieldThatIsNotEditableOnlyDisplaysAndReportsClicks) {
    CModText display;
    ASSERT_TRUE(display.Create(CRect(10, 50, 70, 70), &page, 9, kTextColour, false, kMaxChars));
    EXPECT_EQ(qobject_cast<QLineEdit*>(display.GetWidget()), nullptr);
    display.text = "12 ms";
    display.HasChanged();
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(40, 60));
    EXPECT_EQ(page.log, (std::vector<std::string>{"press 9", "release 9"}));
    EXPECT_FALSE(display.HasFocus());
    EXPECT_FALSE(display.edited);
    const QImage image = GrabWindow(display);
    EXPECT_EQ(At(image, 2, 17), kLightGrey);
    EXPECT_GT(CountColour(image, CRect(1, 1, 59, 19), kTextColour), 5);
}

TEST_F(TextTest, AValueWiderThanTheFieldIsDrawnSmallerInsteadOfCut) {
    CModText display;
    ASSERT_TRUE(display.Create(CRect(10, 50, 90, 65), &page, 9, kTextColour, false, 0));
    display.text = "21600 samples";
    display.HasChanged();
    const QImage image = GrabWindow(display);
    const int w = image.width();
    EXPECT_GT(CountColour(image, CRect(3, 1, w - 3, 14), kTextColour), 20);
    // Nothing of the text on the two columns inside either edge of the frame.
    EXPECT_EQ(CountColour(image, CRect(1, 1, 3, 14), kTextColour), 0);
    EXPECT_EQ(CountColour(image, CRect(w - 3, 1, w - 1, 14), kTextColour), 0);
}

TEST_F(TextTest, PastedAndDroppedTextIsCutAtTheLimitAsTypedTextIs) {
    QApplication::clipboard()->setText("123456789");
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField); // selects the whole "1.5"
    QTest::keyClick(field.GetWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text, "1234");

    Line()->setText("ab");
    QTest::keyClick(field.GetWidget(), Qt::Key_End);
    QTest::keyClick(field.GetWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field.text, "ab12");
    QTest::keyClick(field.GetWidget(), Qt::Key_V, Qt::ControlModifier); // full: nothing more
    EXPECT_EQ(field.text, "ab12");

    Line()->setText("x");
    QMimeData dropped;
    dropped.setText("98765");
    QDragEnterEvent enter(QPoint(50, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Line(), &enter);
    QDropEvent drop(QPointF(50, 10), Qt::CopyAction, &dropped, Qt::LeftButton, {});
    QCoreApplication::sendEvent(Line(), &drop);
    EXPECT_EQ(field.text, "x987");
}

QMenu* OpenContextMenu(QWindow* window, QPoint at) {
    QTest::mouseClick(window, Qt::RightButton, {}, at);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

void Choose(QMenu* menu, const char* actionName) {
    QAction* action = menu->findChild<QAction*>(actionName);
    ASSERT_NE(action, nullptr) << actionName;
    ASSERT_TRUE(action->isEnabled()) << actionName;
    action->trigger();
    menu->close();
}

TEST_F(TextTest, TheFieldsOwnContextMenuKeepsTheTypedTextThroughCopyAndPaste) {
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnField);
    Type("7");
    page.log.clear();
    QApplication::clipboard()->setText("89012");

    QMenu* menu = OpenContextMenu(window, kOnField);
    ASSERT_NE(menu, nullptr);
    Choose(menu, "edit-paste");
    EXPECT_EQ(field.text, "7890"); // cut at the limit, too
    Line()->selectAll();
    menu = OpenContextMenu(window, kOnField);
    ASSERT_NE(menu, nullptr);
    Choose(menu, "edit-copy");

    EXPECT_EQ(QApplication::clipboard()->text(), "7890");
    EXPECT_EQ(field.text, "7890");
    EXPECT_TRUE(field.HasFocus());
    EXPECT_EQ(page.Count("refresh 0"), 0); // the menu was no focus loss
    // Leaving the field afterwards is one.
    QTest::mouseClick(window, Qt::LeftButton, {}, kOnOtherField);
    EXPECT_EQ(page.Count("refresh 0"), 1);
}

} // namespace
