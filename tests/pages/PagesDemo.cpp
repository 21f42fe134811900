// Shows the network page or the device panel on a stand-in for the main view, with a device
// that has names, gains, mutes, links and meter levels set, for looking at the pages by eye:
//   pages_demo [--page network|device] [--inputs N] [--outputs N] [--size WxH] [--save out.png]
// Without --save the window stays open until it is closed.
#include "pages/WndDevice.h"
#include "pages/WndMain.h"

#include "framework/Dc.h"
#include "framework/GdiObjects.h"
#include "model/TonraDoc.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kNavigationBarHeight = 40;

// The view's part in the demo: a black ground, and the end of every drag on a release.
class DemoView : public CWnd {
protected:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, RGB(0, 0, 0));
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == UM_CTRL_RELEASE) {
            SendMessageToDescendants(UM_END_TRACKING, wParam, 0);
            return 1;
        }
        return message >= WM_USER ? 1 : CWnd::OnMessage(message, wParam, lParam);
    }
};

struct Options {
    std::string page = "device";
    int inputs = 4;
    int outputs = 8;
    int width = 1000;
    int height = 700;
    std::string save;
};

bool ParseOptions(int argc, char* argv[], Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--page") {
            options.page = value;
        } else if (name == "--inputs") {
            options.inputs = std::atoi(value);
        } else if (name == "--outputs") {
            options.outputs = std::atoi(value);
        } else if (name == "--size") {
            if (std::sscanf(value, "%dx%d", &options.width, &options.height) != 2) {
                return false;
            }
        } else if (name == "--save") {
            options.save = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

void FillDevice(CTonraDoc& doc, const Options& options) {
    doc.OnNewDocument();
    doc.SetInputCount(options.inputs);
    doc.SetOutputCount(options.outputs);
    const char* names[] = {"Kick",  "Snare", "Vocal", "Keys",  "Gtr L", "Gtr R", "Bass",  "FX",
                           "Sub L", "Sub R", "Top L", "Top R", "Fill",  "Delay", "Mon 1", "Mon 2"};
    for (int c = 0; c < doc.GetChannelCount(); ++c) {
        doc.SetParamText(model::kChannelName, names[c], c);
        doc.SetParam(model::kGain, 120 + 9 * c, c, 0);
        doc.meterLevel[doc.currentDevice][doc.ChannelSlot(c)] = (c * 5) % 16;
    }
    doc.SetParam(model::kMute, 1, 1, 0);
    doc.SetParam(model::kPolarity, 1, 2, 0);
    doc.linkGroup[doc.currentDevice][0] = 1;
    doc.linkGroup[doc.currentDevice][3] = 2;
    doc.linkGroup[doc.currentDevice][options.inputs] = 1;
    doc.linkGroup[doc.currentDevice][options.inputs + 1] = 1;
    doc.deviceOnline[0] = 1;
    doc.deviceOnline[2] = 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: pages_demo [--page network|device] [--inputs N] [--outputs N] "
                             "[--size WxH] [--save out.png]\n");
        return 2;
    }
    CTonraDoc doc;
    FillDevice(doc, options);

    CWnd frame;
    DemoView view;
    CWndMain networkPage;
    CWndDevice devicePanel;
    const CRect pageRect(0, 0, options.width, options.height - kNavigationBarHeight);
    if (!frame.CreateFrame("Veltrix pages", CRect(0, 0, options.width, options.height)) ||
        !view.CreateChild(frame, CRect(0, 0, options.width, options.height)) ||
        !networkPage.Create(pageRect, &view, &doc) || !devicePanel.Create(pageRect, &view, &doc)) {
        std::fprintf(stderr, "pages_demo: the windows cannot be created\n");
        return 1;
    }
    const bool device = options.page == "device";
    CWnd& shown = device ? static_cast<CWnd&>(devicePanel) : networkPage;
    (device ? static_cast<CWnd&>(networkPage) : devicePanel).ShowWindow(SW_HIDE);
    networkPage.RefreshDeviceTiles();
    devicePanel.Refresh();
    devicePanel.UpdateMeters();
    frame.ShowWindow(SW_SHOW);
    if (!options.save.empty()) {
        const bool saved = GrabWindow(shown).save(QString::fromStdString(options.save));
        return saved ? 0 : 1;
    }
    return application.exec();
}
