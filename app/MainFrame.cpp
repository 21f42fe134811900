#include "app/MainFrame.h"

#include <QCoreApplication>
#include <QWidget>

namespace {
// Caption, system menu and minimise box; no sizing border and no maximise box, since the
// pages are laid out for the one size of the window.
constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
} // namespace

CMainFrame::CMainFrame(CTonraDoc& document) : view_(document) {}

bool CMainFrame::Create(const std::string& title) {
    if (!CreateFrame(title, kFrameRect) || !view_.GetSafeHwnd()) {
        return false;
    }
    QWidget* window = GetWidget();
    window->setWindowFlags(kFrameFlags);
    window->setFixedSize(kFrameRect.Width(), kFrameRect.Height());
    window->move(kFrameRect.left, kFrameRect.top);
    return true;
}

int CMainFrame::OnCreate() {
    CRect client;
    GetClientRect(&client);
    if (!view_.CreateChild(*this, client)) {
        return -1;
    }
    return 0;
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (view_.GetSafeHwnd()) {
        view_.MoveWindow(0, 0, cx, cy);
    }
}

void CMainFrame::OnClose() {
    if (closeQuery_ && !closeQuery_()) {
        return;
    }
    CWnd::OnClose();
    QCoreApplication::quit();
}
