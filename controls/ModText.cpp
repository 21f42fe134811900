#include "controls/ModText.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"

#include <QWidget>

using namespace controls;

namespace {

// Room kept free on each side of the text inside the frame.
constexpr int kTextMargin = 2;

} // namespace

bool CModText::Create(const CRect& rect, CWnd* parent, UINT id, COLORREF colour, bool editableIn,
                      int maxChars) {
    textColour = colour;
    editable = editableIn;
    text.clear();
    shadowText.clear();
    edited = false;
    if (!parent || !CEdit::Create(ES_CENTER | ES_AUTOHSCROLL, rect, *parent, id)) {
        return false;
    }
    if (editable) {
        LimitText(maxChars);
    }
    return true;
}

std::unique_ptr<QWidget> CModText::MakeWidget(QWidget* parentWidget) {
    if (!editable) {
        return CWnd::MakeWidget(parentWidget);
    }
    std::unique_ptr<QWidget> edit = CEdit::MakeWidget(parentWidget);
    // The field takes the focus in its own press handling, after it has reported the press, as
    // the edit control does; a click must not hand it the focus before that.
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

bool CModText::HasChanged() {
    const bool changed = text != shadowText || edited;
    shadowText = text;
    edited = false;
    return changed;
}

void CModText::TakeWindowText() {
    text = GetWindowText();
    edited = true;
}

void CModText::OnLButtonDown(UINT, CPoint) {
    Report(*this, UM_CTRL_PRESS);
    if (editable) {
        SetFocus();
        if (!HasFocus()) {
            // The field that lost the focus applied its text, and the page's refresh took the
            // focus for itself; or this window is not active yet and gets the focus with it.
            SetFocus();
        }
    }
    Default();
    SetSel(0, -1);
}

void CModText::OnLButtonUp(UINT, CPoint) {
    if (!edited) {
        Report(*this, UM_CTRL_RELEASE);
    }
    Default();
}

void CModText::OnKeyDown(UINT virtualKey, UINT, UINT) {
    if (virtualKey == VK_RETURN) {
        TakeWindowText();
        Commit();
        ReportToParent(*this, UM_REFRESH, 0);
    } else if (virtualKey == VK_ESCAPE && editable) {
        SetWindowText(committedText);
        SetSel(0, -1);
    }
    Default();
}

void CModText::Commit() {
    committedText = text;
    Report(*this, UM_TEXT_ENTERED);
}

void CModText::OnEnChange() { TakeWindowText(); }

void CModText::OnEnSetFocus() {
    // Setting the text notifies a change, so the field counts as edited from the moment it has
    // the focus and shows the edit control.
    SetWindowText(text);
    committedText = text;
    // However the focus came (a click, or the activation of the window after a click into it),
    // what is typed replaces the value.
    SetSel(0, -1);
}

void CModText::OnEnKillFocus() {
    const bool typed = GetWindowText() != committedText;
    TakeWindowText();
    if (typed) {
        Commit(); // leaving the field applies what was typed, as Enter does
    }
    ReportToParent(*this, UM_REFRESH, 0);
}

void CModText::OnPaint() {
    if (edited) {
        Default(); // the edit control shows the text being typed
        return;
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CFont font;
    SelectFittingPageFont(dc, font, text, client.Width() - 2 * kTextMargin);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(LTGRAY_BRUSH);
    dc.Rectangle(client);
    DrawSunkenFrame(dc, client);
    dc.SetBkColor(kLightGrey);
    dc.SetTextColor(textColour);
    dc.DrawText(text, CRect(1, 1, client.right - 1, client.bottom - 1), DT_CENTER | DT_TOP);
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}
