// CWnd: a window object separate from its window. The object lives as long as its owner
// keeps it; the window on screen is created and destroyed by Create... and DestroyWindow,
// and may be created again. Mouse, paint, size, move, close, key, focus and timer events
// reach the On... handlers through WindowProc, as synchronous messages do.
#pragma once

#include "framework/MsgWnd.h"
#include "framework/VirtualKeys.h"

#include <memory>
#include <string>

class QEvent;
class QWidget;
class WndWidgetHook;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;

class CWnd : public CMsgWnd {
public:
    CWnd();
    ~CWnd() override;

    // A child window at `rect` in the parent's client coordinates.
    bool CreateChild(CWnd& parent, const CRect& rect, UINT id = 0, bool visible = true);
    // A popup window owned by `owner`, with a caption, a close box and a sunken client edge;
    // `windowRect` in screen coordinates, frame included.
    bool CreatePopup(CWnd* owner, const std::string& title, const CRect& windowRect, bool visible = true);
    // A top-level frame window whose frame the desktop draws; `rect` is its client area.
    bool CreateFrame(const std::string& title, const CRect& rect);

    bool DestroyWindow() override;
    HWND GetSafeHwnd() const override;

    void ShowWindow(int command);
    bool IsWindowVisible() const;
    // Children move in their parent's client coordinates, popups and frames on the screen.
    void MoveWindow(const CRect& rect, bool repaint = true);
    void MoveWindow(int x, int y, int width, int height, bool repaint = true);
    // Screen coordinates, frame and caption included.
    void GetWindowRect(CRect* rect) const;
    // (0, 0, client width, client height).
    void GetClientRect(CRect* rect) const;
    void ClientToScreen(CPoint* point) const;
    void ScreenToClient(CPoint* point) const;
    virtual void SetWindowText(const std::string& text);
    virtual std::string GetWindowText() const;
    void SetFocus();
    bool HasFocus() const;
    void EnableWindow(bool enable);
    // Schedules a repaint of the whole client area or a part of it.
    void Invalidate(bool erase = true);
    void InvalidateRect(const CRect* rect, bool erase = true);
    // Paints pending invalid areas now.
    void UpdateWindow();

    CWnd* GetParent() const { return parent_; }
    UINT GetDlgCtrlID() const { return controlId_; }
    // Sends to every child window, and with `deep` to their children as well.
    void SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep = true);

    // The Qt widget that is this window's client area (null when the window does not exist).
    // For tests and for framework classes that host a standard control.
    QWidget* GetWidget() const { return widget_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void OnPaint();
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    // Default: DestroyWindow.
    virtual void OnClose();
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    // Default: OnLButtonDown. A window without double-click handling of its own sees the second
    // press of a quick double click as another press, so that no click is lost.
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnKeyDown(UINT virtualKey, UINT repeatCount, UINT flags);
    // A context menu is asked for in `window` (by the right mouse button or the keyboard) at
    // `screenPoint`. Default: the control's own menu if it has one (an edit field), otherwise
    // the request goes on to the parent, as on the original platform.
    virtual void OnContextMenu(CWnd* window, CPoint screenPoint);
    virtual void OnSetFocus();
    virtual void OnKillFocus();

    // The platform's own processing of the event being handled (a standard control's
    // behaviour). Does nothing outside an event or for plain windows.
    void Default();

    // Builds the Qt widget of the window; standard controls build their own kind.
    virtual std::unique_ptr<QWidget> MakeWidget(QWidget* parent);

    // Takes a freshly built client widget (owned by its Qt parent, or the top-level widget
    // itself when `outer` names it) and runs WM_CREATE and the first WM_SIZE.
    void Attach(std::unique_ptr<QWidget> client, QWidget* outer);
    bool FinishCreate();

private:
    bool Show(bool visible);
    friend class WndWidgetHook;
    friend class PopupFrame;
    // The window ended (destroyed by us or with its parent): forget the widgets.
    void WidgetGone();
    QWidget* OuterWidget() const;
    WndWidgetHook* Hook() const;

    QWidget* widget_ = nullptr; // the client area; owned by Qt's parent chain or by outer
    QWidget* outer_ = nullptr;  // the top-level widget when this window is one, else null
    CWnd* parent_ = nullptr;
    UINT controlId_ = 0;
};

// Glue between a Qt widget and its CWnd: routes the widget's events to the window's handlers
// and lets the handlers call the widget's own processing (CWnd::Default).
class WndWidgetHook {
public:
    explicit WndWidgetHook(CWnd* owner) : owner_(owner) {}
    virtual ~WndWidgetHook();
    CWnd* Owner() const { return owner_; }
    void Orphan() { owner_ = nullptr; }

    // Runs the event through the owner, or through the window that the pointer is over when
    // it is a move or a release; returns false when there is no owner.
    bool Dispatch(QEvent* event);
    // The widget's own processing of the current event.
    virtual void CallBase(QEvent* event) = 0;
    virtual QWidget* Widget() = 0;
    QEvent* CurrentEvent() const { return current_; }

protected:
    // Called by the widget's destructor.
    void WidgetDestroyed();

private:
    // Hands the event to the owner's handlers.
    bool Deliver(QEvent* event);
    // Remembers the window that holds a left-button press on `pressed`.
    static void RememberPress(QWidget* pressed);
    // The window that holds the last press; null when it has gone.
    static WndWidgetHook* PressHolder();

    CWnd* owner_;
    QEvent* current_ = nullptr;
};
