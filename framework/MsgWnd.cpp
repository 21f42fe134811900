#include "framework/MsgWnd.h"

#include <QObject>
#include <QTimerEvent>

#include <algorithm>

// Receives the Qt timers of one window and turns them into WM_TIMER.
class CMsgWnd::TimerHost : public QObject {
public:
    explicit TimerHost(CMsgWnd& owner) : owner_(&owner) {}
    // The window ended while one of its timers was being handled: the host goes later.
    void Orphan() { owner_ = nullptr; }

protected:
    void timerEvent(QTimerEvent* event) override {
        if (owner_) {
            owner_->TimerFired(event->timerId());
        }
    }

private:
    CMsgWnd* owner_;
};

CMsgWnd::CMsgWnd() = default;

CMsgWnd::~CMsgWnd() { DetachHost(); }

bool CMsgWnd::CreateMessageWindow() {
    if (HasHost()) {
        return true;
    }
    AttachHost();
    if (SendMessage(WM_CREATE) == -1) {
        DetachHost();
        return false;
    }
    return true;
}

bool CMsgWnd::DestroyWindow() {
    if (!HasHost()) {
        return false;
    }
    SendMessage(WM_DESTROY);
    DetachHost();
    return true;
}

HWND CMsgWnd::GetSafeHwnd() const { return host_.get(); }

LRESULT CMsgWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

UINT_PTR CMsgWnd::SetTimer(UINT_PTR id, UINT periodMs) {
    if (!host_) {
        return 0;
    }
    KillTimer(id);
    const int period = static_cast<int>(std::max(periodMs, kMinimumTimerPeriodMs));
    // Precise timers keep the 10 ms engine period instead of coarsening it.
    timers_[id] = host_->startTimer(period, Qt::PreciseTimer);
    return id;
}

bool CMsgWnd::KillTimer(UINT_PTR id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) {
        return false;
    }
    if (host_) {
        host_->killTimer(it->second);
    }
    timers_.erase(it);
    return true;
}

void CMsgWnd::KillAllTimers() {
    if (host_) {
        for (const auto& [id, qtId] : timers_) {
            host_->killTimer(qtId);
        }
    }
    timers_.clear();
}

void CMsgWnd::TimerFired(int qtTimerId) {
    for (const auto& [id, qtId] : timers_) {
        if (qtId == qtTimerId) {
            const UINT_PTR timerId = id;
            ++timerDepth_;
            SendMessage(WM_TIMER, timerId, 0);
            --timerDepth_;
            return;
        }
    }
}

void CMsgWnd::AttachHost() {
    if (!host_) {
        host_ = std::make_unique<TimerHost>(*this);
    }
}

void CMsgWnd::DetachHost() {
    KillAllTimers();
    if (host_ && timerDepth_ > 0) {
        // Deleting the host inside its own timer event would pull the object from under Qt.
        host_->Orphan();
        host_.release()->deleteLater();
    }
    host_.reset();
}

LRESULT CMsgWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    default:
        return message >= WM_USER ? OnMessage(message, wParam, lParam) : 0;
    }
}

LRESULT CMsgWnd::OnMessage(UINT, WPARAM, LPARAM) { return 0; }
int CMsgWnd::OnCreate() { return 0; }
void CMsgWnd::OnDestroy() {}
void CMsgWnd::OnTimer(UINT_PTR) {}
