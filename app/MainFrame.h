// CMainFrame: the main window. Restored it sits at (0, 0) with a 1020 x 700 client area and
// cannot be resized by dragging; it has a caption, the system menu, minimise and maximise
// boxes but no menu, toolbar or status bar, and starts maximised where the window manager
// allows it and the screen has the room. Its client area is the view, created with the frame;
// the view lays its pages out from whatever size the frame has.
#pragma once

#include "app/TonraView.h"
#include "framework/Wnd.h"

#include <functional>
#include <memory>
#include <string>

class CTonraDoc;
class QObject;

class CMainFrame : public CWnd {
public:
    static constexpr CRect kFrameRect = CRect(0, 0, 1020, 700);

    explicit CMainFrame(CTonraDoc& document);
    ~CMainFrame() override;

    // Creates the window (hidden) with its view; false when either cannot be created.
    bool Create(const std::string& title);
    // Shows the window maximised when the screen is larger than the restored window,
    // otherwise restored.
    void ShowStartWindow();
    CTonraView& GetView() { return view_; }
    // Asked before the main window closes; when it answers false the window stays.
    void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    // Closing the main window ends the program.
    void OnClose() override;

private:
    // Restored: the fixed size at (0, 0). Maximised: as large as the window manager makes it.
    void FollowWindowState();

    CTonraView view_;
    std::function<bool()> closeQuery_;
    std::unique_ptr<QObject> stateWatch_;
};
