// Opens the EQ editor, the signal page and the data sheet of a sample device for one channel,
// to look at them as the operator sees them:
//   popups_gallery <folder>                 writes eq-<side>.png, signal-<side>.png and sheet.png
//                                           for an input and an output channel, headless
//   popups_gallery --show input|output      keeps the three windows open on the screen
#include "framework/Dc.h"
#include "model/TonraDoc.h"
#include "pages/WndEQ.h"
#include "pages/WndSheet.h"
#include "pages/WndSignal.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kInputChannel = 1;  // In 2
constexpr int kOutputChannel = 5; // Out 2 of a device with four inputs
constexpr int kEqTop = 10;
constexpr int kSignalTop = 220;
constexpr int kSheetTop = 420;

// A panel that answers the popups as the device panel and the view do.
class GalleryPanel : public CWnd {
public:
    CWndEQ eq;
    CWndSignal signal;

protected:
    LRESULT OnMessage(UINT message, WPARAM, LPARAM) override {
        if (message == UM_CTRL_RELEASE) {
            for (CWnd* popup : {static_cast<CWnd*>(&eq), static_cast<CWnd*>(&signal)}) {
                if (popup->GetSafeHwnd()) {
                    popup->SendMessage(UM_END_TRACKING);
                }
            }
        } else if (message == UM_REFRESH) {
            eq.Refresh();
            signal.Refresh();
        }
        return 1;
    }
};

// Settings that fill the windows with the kinds of values an installer enters.
void SampleDevice(CTonraDoc& doc) {
    doc.OnNewDocument();
    const char* names[] = {"VOX",    "KICK", "BASS", "KEYS",  "MAIN-L",
                           "MAIN-R", "SUB",  "FILL", "DELAY", "MON-1"};
    for (int c = 0; c < doc.GetChannelCount() && c < 10; ++c) {
        doc.SetParamText(model::kChannelName, names[c], c);
    }
    doc.SetParam(model::kDelay, 480, kOutputChannel, 0);
    doc.SetParam(model::kEqType, model::kEqLowShelf, kOutputChannel, 0);
    doc.SetParam(model::kEqGain, 132, kOutputChannel, 0);
    doc.SetParam(model::kEqFreq, 80, kOutputChannel, 0);
    doc.SetParam(model::kEqGain, 108, kOutputChannel, 2);
    doc.SetParam(model::kEqFreq, 2480, kOutputChannel, 2);
    doc.qDisplay[0][2] = 1;
    doc.SetParam(model::kEqType, model::kEqHighShelf, kOutputChannel, 5);
    doc.eqBandOn[0][kOutputChannel][4] = 0;
    doc.SetParam(model::kMixLevel, 1, kOutputChannel, 1);
    doc.SetParam(model::kXoverType, 2, kOutputChannel, 0);
    doc.SetParam(model::kXoverFreq, 60, kOutputChannel, 0);
    doc.SetParam(model::kXoverType, 1, kOutputChannel, 1);
    doc.SetParam(model::kXoverFreq, 15980, kOutputChannel, 1);
    doc.SetParam(model::kAmpGain, 22, kOutputChannel, 0);
    doc.SetParam(model::kSpeakerImpedance, 6, kOutputChannel, 0);
}

bool Save(CWnd& window, const std::string& path) {
    if (!GrabWindow(window).save(QString::fromStdString(path))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool show = argc == 3 && std::strcmp(argv[1], "--show") == 0;
    if (argc != 2 && !show) {
        std::fprintf(stderr, "usage: popups_gallery <folder> | --show input|output\n");
        return 2;
    }
    if (!show) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    CTonraDoc doc;
    SampleDevice(doc);
    GalleryPanel panel;
    if (!panel.CreateFrame("Device panel", CRect(0, 900, 300, 960))) {
        return 1;
    }
    CWndSheet sheet;
    const bool opened = panel.eq.OpenForChannel(kEqTop, &panel, &doc, kOutputChannel) &&
                        panel.signal.OpenForChannel(kSignalTop, &panel, &doc, kOutputChannel) &&
                        sheet.Create(&panel, &doc);
    if (!opened) {
        return 1;
    }
    const CSize sheetSize = pages::SheetWindowSize(doc.GetChannelCount(), doc.GetInputCount());
    sheet.MoveWindow(0, kSheetTop, sheetSize.cx, sheetSize.cy);
    if (show) {
        const int channel = std::strcmp(argv[2], "input") == 0 ? kInputChannel : kOutputChannel;
        panel.eq.SetChannel(channel);
        panel.signal.SetChannel(channel);
        panel.eq.Refresh();
        return QApplication::exec();
    }
    const std::string folder = argv[1];
    bool saved = Save(panel.eq, folder + "/eq-output.png") &&
                 Save(panel.signal, folder + "/signal-output.png") && Save(sheet, folder + "/sheet.png");
    panel.eq.SetChannel(kInputChannel);
    panel.eq.Refresh();
    panel.signal.SetChannel(kInputChannel);
    saved =
        saved && Save(panel.eq, folder + "/eq-input.png") && Save(panel.signal, folder + "/signal-input.png");
    return saved ? 0 : 1;
}
