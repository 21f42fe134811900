// CMainFrame: the main window. Fixed at (0, 0) with a 1020 x 700 client area, not resizable,
// with a caption and the system menu but no menu, toolbar or status bar. Its client area is
// the view, created with the frame.
#pragma once

#include "app/TonraView.h"
#include "framework/Wnd.h"

#include <functional>
#include <string>

class CTonraDoc;

class CMainFrame : public CWnd {
public:
    static constexpr CRect kFrameRect = CRect(0, 0, 1020, 700);

    explicit CMainFrame(CTonraDoc& document);

    // Creates the window (hidden) with its view; false when either cannot be created.
    bool Create(const std::string& title);
    CTonraView& GetView() { return view_; }
    // Asked before the main window closes; when it answers false the window stays.
    void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

protected:
    int OnCreate() override;
    void OnSize(UINT type, int cx, int cy) override;
    // Closing the main window ends the program.
    void OnClose() override;

private:
    CTonraView view_;
    std::function<bool()> closeQuery_;
};
