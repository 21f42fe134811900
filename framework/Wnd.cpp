#include "framework/Wnd.h"

#include "framework/PopupFrame.h"
#include "framework/Text.h"
#include "framework/VirtualKeyMap.h"
#include "framework/WndWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPointer>
#include <QResizeEvent>

namespace {

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton) {
        flags |= MK_LBUTTON;
    }
    if (buttons & Qt::RightButton) {
        flags |= MK_RBUTTON;
    }
    if (modifiers & Qt::ShiftModifier) {
        flags |= MK_SHIFT;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= MK_CONTROL;
    }
    return flags;
}

LPARAM PointParam(const QPoint& p) { return MAKELPARAM(p.x(), p.y()); }

CPoint PointFromParam(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

// Every window hook in `root` and below, outermost first.
QList<WndWidgetHook*> HooksIn(QWidget* root) {
    QList<WndWidgetHook*> hooks;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (auto* hook = dynamic_cast<WndWidgetHook*>(child)) {
            hooks.append(hook);
        }
    }
    return hooks;
}

// The window that holds the last left-button press: the outermost window of the press inside
// its top-level window (a popup's own window, or the view of a frame).
QPointer<QWidget>& PressHolderWidget() {
    static QPointer<QWidget> holder; // the mouse's state, as the system keeps it
    return holder;
}

// The window of ours at `widget`: the nearest window in it or above it within its top-level
// window. Null for a popup's frame and for widgets that are not ours.
WndWidgetHook* WindowAt(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (auto* hook = dynamic_cast<WndWidgetHook*>(w); hook && hook->Owner()) {
            return hook;
        }
    }
    return nullptr;
}

// The outermost window of ours that contains `widget` below its top-level window, or the
// top-level window itself when nothing lies between.
WndWidgetHook* OutermostWindowOf(QWidget* widget) {
    WndWidgetHook* outermost = nullptr;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        auto* hook = dynamic_cast<WndWidgetHook*>(w);
        if (hook && hook->Owner() && (!w->isWindow() || !outermost)) {
            outermost = hook;
        }
        if (w->isWindow()) {
            break;
        }
    }
    return outermost;
}

} // namespace

// ---- WndWidgetHook ----

void WndWidgetHook::RememberPress(QWidget* pressed) {
    WndWidgetHook* holder = OutermostWindowOf(pressed);
    PressHolderWidget() = holder ? holder->Widget() : nullptr;
}

WndWidgetHook* WndWidgetHook::PressHolder() {
    auto* hook = dynamic_cast<WndWidgetHook*>(PressHolderWidget().data());
    return hook && hook->Owner() ? hook : nullptr;
}

WndWidgetHook::~WndWidgetHook() = default;

void WndWidgetHook::WidgetDestroyed() {
    if (owner_) {
        CWnd* owner = owner_;
        owner_ = nullptr;
        owner->WidgetGone();
    }
}

bool WndWidgetHook::Dispatch(QEvent* event) {
    if (!owner_) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        RememberPress(Widget());
    }
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) {
        // No implicit grab: moves and releases belong to the window under the pointer.
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF global = mouse->globalPosition();
        WndWidgetHook* target = WindowAt(QApplication::widgetAt(global.toPoint()));
        if (target != this) {
            // A left-button release over no window of ours, or over a popup's frame, still
            // ends the drag: it goes to the window that holds the press.
            if (!target && type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
                target = PressHolder();
            }
            if (target) {
                QMouseEvent mapped(type, target->Widget()->mapFromGlobal(global), global, mouse->button(),
                                   mouse->buttons(), mouse->modifiers());
                target->Deliver(&mapped);
            }
            event->accept();
            return true;
        }
    }
    return Deliver(event);
}

bool WndWidgetHook::Deliver(QEvent* event) {
    if (!owner_) {
        return false;
    }
    QWidget* self = Widget();
    const QEvent::Type type = event->type();
    QEvent* previous = current_;
    current_ = event;
    CWnd* owner = owner_;
    switch (type) {
    case QEvent::Paint:
        owner->WindowProc(WM_PAINT, 0, 0);
        break;
    case QEvent::Resize: {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        owner->WindowProc(WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.width(), size.height()));
        break;
    }
    case QEvent::Move:
        // A popup's client widget does not move inside its frame; the frame reports moves.
        if (!self->isWindow() && !dynamic_cast<PopupFrame*>(self->parentWidget())) {
            owner->WindowProc(WM_MOVE, 0, PointParam(static_cast<QMoveEvent*>(event)->pos()));
        } else if (self->isWindow()) {
            owner->WindowProc(WM_MOVE, 0, PointParam(self->mapToGlobal(QPoint(0, 0))));
        }
        break;
    case QEvent::Close:
        event->ignore(); // OnClose decides whether the window goes
        owner->WindowProc(WM_CLOSE, 0, 0);
        current_ = previous;
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const LPARAM where = PointParam(mouse->position().toPoint());
        const UINT flags = MouseFlags(mouse->buttons(), mouse->modifiers());
        if (type == QEvent::MouseMove) {
            owner->WindowProc(WM_MOUSEMOVE, flags, where);
        } else if (mouse->button() == Qt::LeftButton) {
            const UINT message = type == QEvent::MouseButtonPress     ? WM_LBUTTONDOWN
                                 : type == QEvent::MouseButtonRelease ? WM_LBUTTONUP
                                                                      : WM_LBUTTONDBLCLK;
            owner->WindowProc(message, flags, where);
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        owner->WindowProc(WM_KEYDOWN, VirtualKeyOf(key->key(), key->modifiers()),
                          key->isAutoRepeat() ? 1 : 0);
        break;
    }
    case QEvent::ContextMenu:
        owner->WindowProc(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(owner),
                          PointParam(static_cast<QContextMenuEvent*>(event)->globalPos()));
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // A menu that pops up (an edit's own context menu) does not take the focus on the
        // original platform: the window keeps it, and hears nothing of the menu.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) {
            CallBase(event);
        } else {
            owner->WindowProc(type == QEvent::FocusIn ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
        }
        break;
    default:
        break;
    }
    current_ = previous;
    event->accept(); // handled here: mouse events must not travel on to the parent
    return true;
}

// ---- CWnd ----

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (QWidget* outer = OuterWidget()) {
        for (WndWidgetHook* hook : HooksIn(outer)) {
            if (CWnd* child = hook->Owner()) {
                hook->Orphan();
                child->WidgetGone();
            }
        }
        if (WndWidgetHook* hook = Hook()) {
            hook->Orphan();
        }
        widget_ = nullptr;
        outer_ = nullptr;
        delete outer;
    }
}

std::unique_ptr<QWidget> CWnd::MakeWidget(QWidget* parent) {
    return std::make_unique<WndWidget<QWidget>>(this, parent);
}

bool CWnd::CreateChild(CWnd& parent, const CRect& rect, UINT id, bool visible) {
    if (widget_ || !parent.widget_) {
        return false;
    }
    parent_ = &parent;
    controlId_ = id;
    std::unique_ptr<QWidget> client = MakeWidget(parent.widget_);
    client->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    Attach(std::move(client), nullptr);
    return FinishCreate() && Show(visible);
}

bool CWnd::CreatePopup(CWnd* owner, const std::string& title, const CRect& windowRect, bool visible) {
    if (widget_) {
        return false;
    }
    parent_ = owner;
    QWidget* ownerWidget = owner && owner->widget_ ? owner->widget_->window() : nullptr;
    auto frame = std::make_unique<PopupFrame>(*this, ownerWidget);
    frame->setWindowTitle(ToQString(title));
    std::unique_ptr<QWidget> client = MakeWidget(frame.get());
    frame->SetClient(client.get());
    frame->setGeometry(windowRect.left, windowRect.top, windowRect.Width(), windowRect.Height());
    QWidget* outer = frame.release(); // owned through outer_ from here on
    Attach(std::move(client), outer);
    return FinishCreate() && Show(visible);
}

bool CWnd::CreateFrame(const std::string& title, const CRect& rect) {
    if (widget_) {
        return false;
    }
    std::unique_ptr<QWidget> client = MakeWidget(nullptr);
    client->setWindowTitle(ToQString(title));
    client->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    QWidget* outer = client.get();
    Attach(std::move(client), outer);
    return FinishCreate();
}

void CWnd::Attach(std::unique_ptr<QWidget> client, QWidget* outer) {
    // The client is owned by its Qt parent, or is itself the top-level widget kept in outer_.
    widget_ = client.release();
    outer_ = outer;
    AttachHost();
}

bool CWnd::FinishCreate() {
    if (SendMessage(WM_CREATE) == -1) {
        DestroyWindow();
        return false;
    }
    if (widget_) {
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(widget_->width(), widget_->height()));
    }
    return widget_ != nullptr;
}

bool CWnd::Show(bool visible) {
    // Children are shown with their parent; a window is shown only after WM_CREATE.
    if (!widget_) {
        return false;
    }
    if (outer_ && outer_ != widget_) {
        widget_->show(); // a popup's client area is always shown inside its frame
    }
    OuterWidget()->setVisible(visible);
    return true;
}

QWidget* CWnd::OuterWidget() const { return outer_ ? outer_ : widget_; }

WndWidgetHook* CWnd::Hook() const { return dynamic_cast<WndWidgetHook*>(widget_); }

void CWnd::WidgetGone() {
    widget_ = nullptr;
    outer_ = nullptr;
    DetachHost();
}

bool CWnd::DestroyWindow() {
    QWidget* doomed = OuterWidget();
    if (!doomed) {
        return CMsgWnd::DestroyWindow(); // a message-only window, or none
    }
    // The focus leaves first, while the windows are still whole: a field that goes hears that
    // it lost the focus (and applies what was typed into it), as it would on any other way out.
    if (QWidget* focus = QApplication::focusWidget();
        focus && (focus == doomed || doomed->isAncestorOf(focus))) {
        focus->clearFocus();
    }
    SendMessage(WM_DESTROY);
    for (WndWidgetHook* hook : HooksIn(doomed)) {
        if (CWnd* child = hook->Owner()) {
            child->SendMessage(WM_DESTROY);
            hook->Orphan();
            child->WidgetGone();
        }
    }
    if (WndWidgetHook* hook = Hook()) {
        hook->Orphan();
    }
    if (auto* frame = dynamic_cast<PopupFrame*>(doomed)) {
        frame->Orphan();
    }
    WidgetGone();
    doomed->hide();
    // Later, because the window may be destroyed from one of its own event handlers.
    doomed->deleteLater();
    return true;
}

HWND CWnd::GetSafeHwnd() const { return widget_ ? static_cast<HWND>(widget_) : CMsgWnd::GetSafeHwnd(); }

void CWnd::ShowWindow(int command) {
    QWidget* outer = OuterWidget();
    if (!outer) {
        return;
    }
    switch (command) {
    case SW_HIDE:
        outer->hide();
        break;
    case SW_SHOWMAXIMIZED:
        outer->showMaximized();
        break;
    default:
        outer->show();
        break;
    }
}

bool CWnd::IsWindowVisible() const { return widget_ && widget_->isVisible(); }

void CWnd::MoveWindow(const CRect& rect, bool repaint) {
    QWidget* outer = OuterWidget();
    if (!outer) {
        return;
    }
    outer->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (repaint) {
        outer->update();
    }
}

void CWnd::MoveWindow(int x, int y, int width, int height, bool repaint) {
    MoveWindow(CRect(x, y, x + width, y + height), repaint);
}

void CWnd::GetWindowRect(CRect* rect) const {
    QWidget* outer = OuterWidget();
    if (!outer) {
        *rect = CRect();
        return;
    }
    // A popup draws its own frame; the desktop's frame is around other top-level windows.
    const bool desktopFrame = outer->isWindow() && !dynamic_cast<PopupFrame*>(outer);
    const QRect frame = desktopFrame ? outer->frameGeometry() : outer->geometry();
    const QPoint topLeft =
        outer->isWindow() ? frame.topLeft() : outer->parentWidget()->mapToGlobal(frame.topLeft());
    *rect = CRect(topLeft.x(), topLeft.y(), topLeft.x() + frame.width(), topLeft.y() + frame.height());
}

void CWnd::GetClientRect(CRect* rect) const {
    *rect = widget_ ? CRect(0, 0, widget_->width(), widget_->height()) : CRect();
}

void CWnd::ClientToScreen(CPoint* point) const {
    if (widget_) {
        const QPoint p = widget_->mapToGlobal(QPoint(point->x, point->y));
        *point = {p.x(), p.y()};
    }
}

void CWnd::ScreenToClient(CPoint* point) const {
    if (widget_) {
        const QPoint p = widget_->mapFromGlobal(QPoint(point->x, point->y));
        *point = {p.x(), p.y()};
    }
}

void CWnd::SetWindowText(const std::string& text) {
    if (QWidget* outer = OuterWidget()) {
        outer->setWindowTitle(ToQString(text));
        outer->update();
    }
}

std::string CWnd::GetWindowText() const {
    QWidget* outer = OuterWidget();
    return outer ? FromQString(outer->windowTitle()) : std::string();
}

void CWnd::SetFocus() {
    if (widget_) {
        widget_->setFocus(Qt::OtherFocusReason);
    }
}

bool CWnd::HasFocus() const { return widget_ && widget_->hasFocus(); }

void CWnd::EnableWindow(bool enable) {
    if (widget_) {
        widget_->setEnabled(enable);
    }
}

void CWnd::Invalidate(bool) {
    if (widget_) {
        widget_->update();
    }
}

void CWnd::InvalidateRect(const CRect* rect, bool erase) {
    if (!rect) {
        Invalidate(erase);
    } else if (widget_) {
        widget_->update(rect->left, rect->top, rect->Width(), rect->Height());
    }
}

void CWnd::UpdateWindow() {
    if (widget_ && widget_->isVisible()) {
        widget_->repaint();
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep) {
    if (!widget_) {
        return;
    }
    for (QWidget* child : widget_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        auto* hook = dynamic_cast<WndWidgetHook*>(child);
        CWnd* window = hook ? hook->Owner() : nullptr;
        if (!window) {
            continue;
        }
        window->SendMessage(message, wParam, lParam);
        if (deep) {
            window->SendMessageToDescendants(message, wParam, lParam, true);
        }
    }
}

void CWnd::Default() {
    if (WndWidgetHook* hook = Hook(); hook && hook->CurrentEvent()) {
        hook->CallBase(hook->CurrentEvent());
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOVE:
        OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointFromParam(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointFromParam(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointFromParam(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointFromParam(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), 1, static_cast<UINT>(lParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<CWnd*>(wParam), PointFromParam(lParam));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus();
        return 0;
    default:
        return CMsgWnd::WindowProc(message, wParam, lParam);
    }
}

void CWnd::OnPaint() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnClose() { DestroyWindow(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT flags, CPoint point) { OnLButtonDown(flags, point); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus() { Default(); }

void CWnd::OnContextMenu(CWnd* window, CPoint screenPoint) {
    // The request arrives accepted; a widget without a menu of its own ignores it.
    const WndWidgetHook* hook = Hook();
    QEvent* event = hook ? hook->CurrentEvent() : nullptr;
    if (event && event->type() == QEvent::ContextMenu) {
        Default();
        if (event->isAccepted()) {
            return;
        }
    }
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                            MAKELPARAM(screenPoint.x, screenPoint.y));
    }
}
void CWnd::OnKillFocus() { Default(); }
