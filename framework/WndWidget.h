// The Qt widget behind a CWnd: every event goes to the window's WindowProc first; the
// handlers reach the widget's own processing through CWnd::Default.
#pragma once

#include "framework/Wnd.h"

#include <QEvent>
#include <QWidget>

template <class Base> class WndWidget : public Base, public WndWidgetHook {
public:
    WndWidget(CWnd* owner, QWidget* parent) : Base(parent), WndWidgetHook(owner) {
        // Pointer moves are reported without a button held, as on the original platform.
        this->setMouseTracking(true);
    }
    ~WndWidget() override { WidgetDestroyed(); }

    void CallBase(QEvent* event) override { Base::event(event); }
    QWidget* Widget() override { return this; }

protected:
    bool event(QEvent* event) override {
        if (IsWindowMessage(event->type()) && Dispatch(event)) {
            return true;
        }
        return Base::event(event);
    }

private:
    static bool IsWindowMessage(QEvent::Type type) {
        switch (type) {
        case QEvent::Paint:
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Close:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::ContextMenu:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            return true;
        default:
            return false;
        }
    }
};
