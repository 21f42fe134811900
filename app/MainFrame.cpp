#include "app/MainFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {

// Caption, system menu, minimise and maximise boxes. The sizing border goes because the
// restored window has one fixed size.
constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                        Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                        Qt::WindowCloseButtonHint;

// Calls back on every change of the window's state (restored, maximised, minimised).
class WindowStateWatch : public QObject {
public:
    explicit WindowStateWatch(std::function<void()> changed) : changed_(std::move(changed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange) {
            changed_();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> changed_;
};

} // namespace

CMainFrame::CMainFrame(CTonraDoc& document) : view_(document) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create(const std::string& title) {
    if (!CreateFrame(title, kFrameRect) || !view_.GetSafeHwnd()) {
        return false;
    }
    QWidget* window = GetWidget();
    window->setWindowFlags(kFrameFlags);
    stateWatch_ = std::make_unique<WindowStateWatch>([this] { FollowWindowState(); });
    window->installEventFilter(stateWatch_.get());
    FollowWindowState();
    return true;
}

void CMainFrame::FollowWindowState() {
    QWidget* window = GetWidget();
    if (!window) {
        return;
    }
    if (window->isMaximized()) {
        window->setMinimumSize(kFrameRect.Width(), kFrameRect.Height());
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        window->setFixedSize(kFrameRect.Width(), kFrameRect.Height());
        window->move(kFrameRect.left, kFrameRect.top);
    }
}

void CMainFrame::ShowStartWindow() {
    QWidget* window = GetWidget();
    const QScreen* screen = window ? window->screen() : nullptr;
    const bool roomToGrow = screen && screen->availableSize().width() > kFrameRect.Width() &&
                            screen->availableSize().height() > kFrameRect.Height();
    if (!roomToGrow) {
        ShowWindow(SW_SHOWNORMAL);
        return;
    }
    // A window of one fixed size cannot be maximised: the limits go first.
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ShowWindow(SW_SHOWMAXIMIZED);
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
    // Changes still going out to a device end with the program: the operator decides first.
    if (!view_.ConfirmUnsentChanges() || (closeQuery_ && !closeQuery_())) {
        return;
    }
    CWnd::OnClose();
    QCoreApplication::quit();
}
