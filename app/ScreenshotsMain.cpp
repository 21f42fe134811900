// veltrix-screenshots: renders the program on a demo network, headless, into the pictures the
// README shows. Run it through scripts/screenshots.sh, which builds it first and writes into
// docs/screenshots/.
//
// The main window is drawn with the popups of each scene where they stand on the screen: the
// home page with its lit tiles, the device page of the 4 x 8 device with its plot and strips,
// the EQ editor, the signal page and the data sheet, and the device pages of the 2 x 6 and the
// 8 x 8 devices.
#include "app/TonraApp.h"
#include "framework/GdiObjects.h"
#include "framework/ScriptedUiService.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <iostream>
#include <vector>

namespace {

constexpr int kDemoDevices = 3; // the three models: 4 x 8, 2 x 6, 8 x 8
constexpr int kSyncWaitMs = 30000;
// Long enough for the meters to show programme material and the plot to redraw.
constexpr int kSettleMs = 1500;

class CScreenshots {
public:
    explicit CScreenshots(QDir folder) : folder_(std::move(folder)) {}

    bool Run() {
        app_.SetNetworkStarter([] { return true; });
        if (!app_.InitInstance(std::nullopt, kDemoDevices)) {
            std::cerr << "veltrix-screenshots: the program did not start\n";
            return false;
        }
        QTest::qWait(kSettleMs);
        bool ok = Save("home.png", {});
        ok = ShowDevice(0) && Save("device.png", {}) && ok;
        Panel().SendMessage(UM_CTRL_PRESS, CWndDevice::kEqIdBase + 5);
        QTest::qWait(kSettleMs);
        ok = Save("eq-editor.png", {&Panel().GetEqEditor()}) && ok;
        Panel().SendMessage(UM_CTRL_PRESS, CWndDevice::kEqIdBase + 5);
        Panel().SendMessage(UM_CTRL_PRESS, CWndDevice::kSignalIdBase + 4);
        QTest::qWait(kSettleMs);
        ok = Save("signal-page.png", {&Panel().GetSignalPage()}) && ok;
        Panel().SendMessage(UM_CTRL_PRESS, CWndDevice::kSignalIdBase + 4);
        View().SendMessage(UM_CTRL_PRESS, CTonraView::kViewData);
        QTest::qWait(kSettleMs);
        ok = Save("data-sheet.png", {&Panel().GetDataSheet()}) && ok;
        ok = ShowDevice(1) && Save("device-2x6.png", {}) && ok;
        ok = ShowDevice(2) && Save("device-8x8.png", {}) && ok;
        return ok;
    }

private:
    CTonraView& View() { return app_.GetMainWnd()->GetView(); }
    CWndDevice& Panel() { return View().DevicePanel(); }

    // Back home (dropping whatever the pages marked changed), then the device's tile.
    bool ShowDevice(int device) {
        CTonraDoc& doc = app_.GetDocument();
        if (doc.pageMode == CTonraView::kDevicePage) {
            ui_.AnswerMessageBox(IDYES);
            View().SendMessage(UM_CTRL_PRESS, CTonraView::kHome);
        }
        View().SendMessage(UM_CTRL_PRESS, CTonraView::kFirstDeviceTileId + static_cast<UINT>(device));
        const bool synced = QTest::qWaitFor(
            [&] {
                return View().Engine(device).Mode() == CPort::TransferMode::Idle && doc.passwordOk[device];
            },
            kSyncWaitMs);
        if (!synced) {
            std::cerr << "veltrix-screenshots: device " << device + 1 << " did not sync\n";
        }
        QTest::qWait(kSettleMs);
        return synced;
    }

    // The main window with `popups` drawn over it where they stand.
    bool Save(const char* name, const std::vector<CWnd*>& popups) {
        QWidget* main = app_.GetMainWnd()->GetWidget();
        QImage image = main->grab().toImage();
        QPainter painter(&image);
        for (CWnd* popup : popups) {
            if (QWidget* widget = popup->GetSafeHwnd() ? popup->GetWidget()->window() : nullptr) {
                painter.drawPixmap(widget->pos() - main->pos(), widget->grab());
            }
        }
        painter.end();
        const QString path = folder_.filePath(name);
        if (!image.save(path)) {
            std::cerr << "veltrix-screenshots: cannot write " << path.toStdString() << "\n";
            return false;
        }
        std::cout << path.toStdString() << "\n";
        return true;
    }

    QDir folder_;
    CScriptedUiService ui_;
    CScopedUiService installed_{ui_};
    CTonraApp app_;
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own settings stay out of the pictures, and their recovery file untouched.
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    if (!QDir().mkpath(folder)) {
        std::cerr << "veltrix-screenshots: cannot make " << folder.toStdString() << "\n";
        return 1;
    }
    CScreenshots screenshots{QDir(folder)};
    return screenshots.Run() ? 0 : 1;
}
