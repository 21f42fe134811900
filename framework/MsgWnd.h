// CMsgWnd: the part of a window that needs no screen. It receives synchronous messages and
// window timers. Used on its own as a hidden message-only window (the link engines, which must
// also run in the command-line tool without Qt Widgets), and as the base of CWnd.
#pragma once

#include "framework/Types.h"

#include <map>
#include <memory>

class QObject;

class CMsgWnd {
public:
    CMsgWnd();
    virtual ~CMsgWnd();
    CMsgWnd(const CMsgWnd&) = delete;
    CMsgWnd& operator=(const CMsgWnd&) = delete;

    // Creates a hidden window that only receives messages and timers. Sends WM_CREATE;
    // returns false (and creates nothing) when OnCreate returns -1.
    bool CreateMessageWindow();
    // Destroys the window; the object stays and may create it again. Kills every timer.
    virtual bool DestroyWindow();
    // The window's handle, null when the window does not exist.
    virtual HWND GetSafeHwnd() const;

    // Synchronous: the handler runs before this returns, and its result is returned.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Starts (or restarts) timer `id` with the period in milliseconds. Period 0 means the
    // shortest interval the platform offers. Returns the id, or 0 when the window does not exist.
    UINT_PTR SetTimer(UINT_PTR id, UINT periodMs);
    bool KillTimer(UINT_PTR id);

    // The shortest timer period; a period of 0 is raised to this, so that no timer spins.
    static constexpr UINT kMinimumTimerPeriodMs = 10;

protected:
    // Every message passes here: standard messages are dispatched to the On... handlers,
    // the private messages to OnMessage.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The private messages (WM_USER and above). Returns the message's result.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Returns 0 to go on, -1 to refuse the creation.
    virtual int OnCreate();
    virtual void OnDestroy();
    virtual void OnTimer(UINT_PTR id);

    // Builds the timer and message host when the window comes into existence.
    void AttachHost();
    // Drops timers and the host when the window ends.
    void DetachHost();
    bool HasHost() const { return host_ != nullptr; }

private:
    class TimerHost;
    friend class TimerHost;
    void KillAllTimers();
    void TimerFired(int qtTimerId);

    std::unique_ptr<TimerHost> host_;
    std::map<UINT_PTR, int> timers_; // window timer id -> Qt timer id
    int timerDepth_ = 0;             // > 0 while a timer of this window is being handled
};
