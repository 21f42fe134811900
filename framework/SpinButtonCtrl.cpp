#include "framework/SpinButtonCtrl.h"

#include "framework/Dc.h"
#include "framework/NumberText.h"
#include "framework/Text.h"

#include <QGuiApplication>
#include <QLineEdit>

#include <algorithm>

namespace {

constexpr COLORREF kGlyphColour = RGB(0, 0, 0);
constexpr COLORREF kDisabledGlyphColour = kColour3dShadow;

// A filled triangle pointing in the arrow's direction, centred in `face`.
void DrawArrowGlyph(CDC& dc, const CRect& face, bool horizontal, bool pointsUp, COLORREF colour) {
    const int size = std::max(1, (std::min(face.Width(), face.Height()) - 4) / 4);
    const int centreX = face.left + face.Width() / 2;
    const int centreY = face.top + face.Height() / 2;
    for (int row = 0; row <= size; ++row) {
        const int halfLength = size - row;
        // Row 0 is the base of the triangle, row `size` its tip.
        const int offset = row - size / 2;
        if (horizontal) {
            const int x = pointsUp ? centreX + offset : centreX - offset;
            dc.FillSolidRect(x, centreY - halfLength, 1, 2 * halfLength + 1, colour);
        } else {
            const int y = pointsUp ? centreY - offset : centreY + offset;
            dc.FillSolidRect(centreX - halfLength, y, 2 * halfLength + 1, 1, colour);
        }
    }
}

// The control holds no mouse capture: a release over another window never reaches it, so a
// held arrow asks whether the button is still down before it steps again.
bool LeftButtonHeld() { return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0; }

} // namespace

bool CSpinButtonCtrl::Create(UINT style, const CRect& rect, CWnd& parent, UINT id) {
    style_ = style;
    return CreateChild(parent, rect, id, true);
}

void CSpinButtonCtrl::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    pos_ = std::clamp(pos_, std::min(lower_, upper_), std::max(lower_, upper_));
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
    lower = lower_;
    upper = upper_;
}

int CSpinButtonCtrl::SetPos(int pos) {
    const int before = GetPos();
    pos_ = std::clamp(pos, std::min(lower_, upper_), std::max(lower_, upper_));
    ShowInBuddy();
    return before;
}

int CSpinButtonCtrl::GetPos() const {
    if (buddy_) {
        if (const std::optional<int> typed = framework::ParseInteger(FromQString(buddy_->text()))) {
            return *typed;
        }
    }
    return pos_;
}

void CSpinButtonCtrl::SetBuddy(QLineEdit* buddy) {
    buddy_ = buddy;
    ShowInBuddy();
}

void CSpinButtonCtrl::ShowInBuddy() {
    if (buddy_) {
        buddy_->setText(QString::number(pos_));
    }
}

void CSpinButtonCtrl::ClickArrow(bool up) {
    if (GetWidget() && GetWidget()->isEnabled()) {
        Step(up ? Arrow::Up : Arrow::Down);
    }
}

CRect CSpinButtonCtrl::ArrowRect(Arrow arrow) const {
    CRect client;
    GetClientRect(&client);
    if (style_ & UDS_HORZ) {
        const int split = client.Width() / 2;
        return arrow == Arrow::Up ? CRect(split, 0, client.right, client.bottom)
                                  : CRect(0, 0, split, client.bottom);
    }
    const int split = client.Height() / 2;
    return arrow == Arrow::Up ? CRect(0, 0, client.right, split)
                              : CRect(0, split, client.right, client.bottom);
}

CSpinButtonCtrl::Arrow CSpinButtonCtrl::ArrowAt(CPoint point) const {
    if (ArrowRect(Arrow::Up).PtInRect(point)) {
        return Arrow::Up;
    }
    return ArrowRect(Arrow::Down).PtInRect(point) ? Arrow::Down : Arrow::None;
}

void CSpinButtonCtrl::Step(Arrow arrow) {
    const int towardsUpper = upper_ >= lower_ ? 1 : -1;
    NMUPDOWN step;
    step.hdr = {GetDlgCtrlID(), UDN_DELTAPOS};
    step.iPos = GetPos();
    step.iDelta = arrow == Arrow::Up ? towardsUpper : -towardsUpper;
    CWnd* parent = GetParent();
    if (parent && parent->SendMessage(WM_NOTIFY, GetDlgCtrlID(), reinterpret_cast<LPARAM>(&step)) != 0) {
        return;
    }
    SetPos(step.iPos + step.iDelta);
}

void CSpinButtonCtrl::EndPress() {
    KillTimer(kDelayTimer);
    KillTimer(kRepeatTimer);
    if (pressed_ != Arrow::None) {
        pressed_ = Arrow::None;
        Invalidate(false);
    }
}

void CSpinButtonCtrl::OnLButtonDown(UINT, CPoint point) {
    const Arrow arrow = ArrowAt(point);
    if (arrow == Arrow::None) {
        return;
    }
    pressed_ = arrow;
    pointerOnArrow_ = true;
    Step(arrow);
    SetTimer(kDelayTimer, kDelayMs);
    Invalidate(false);
}

void CSpinButtonCtrl::OnLButtonUp(UINT, CPoint) { EndPress(); }

void CSpinButtonCtrl::OnMouseMove(UINT, CPoint point) {
    if (pressed_ == Arrow::None) {
        return;
    }
    const bool onArrow = ArrowRect(pressed_).PtInRect(point);
    if (onArrow != pointerOnArrow_) {
        pointerOnArrow_ = onArrow;
        Invalidate(false);
    }
}

void CSpinButtonCtrl::OnTimer(UINT_PTR id) {
    if (id != kDelayTimer && id != kRepeatTimer) {
        return;
    }
    if (pressed_ == Arrow::None || !LeftButtonHeld()) {
        EndPress();
        return;
    }
    if (id == kDelayTimer) {
        KillTimer(kDelayTimer);
        SetTimer(kRepeatTimer, kRepeatMs);
    }
    if (pointerOnArrow_) {
        Step(pressed_);
    }
}

void CSpinButtonCtrl::OnPaint() {
    CPaintDC dc(this);
    const bool horizontal = (style_ & UDS_HORZ) != 0;
    const COLORREF glyphColour = GetWidget()->isEnabled() ? kGlyphColour : kDisabledGlyphColour;
    for (const Arrow arrow : {Arrow::Down, Arrow::Up}) {
        const CRect face = ArrowRect(arrow);
        const bool pushed = arrow == pressed_ && pointerOnArrow_;
        dc.FillSolidRect(face, kColour3dLight);
        dc.DrawEdge(face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        CRect glyph = face;
        if (pushed) {
            glyph.OffsetRect(1, 1);
        }
        DrawArrowGlyph(dc, glyph, horizontal, arrow == Arrow::Up, glyphColour);
    }
}
