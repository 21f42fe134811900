// Renders every custom control in its main states into one PNG, for looking at the controls
// without running the program: controls_gallery <output.png> [scale]
#include "controls/ModButton.h"
#include "controls/ModFader.h"
#include "controls/ModMeter.h"
#include "controls/ModSpin.h"
#include "controls/ModText.h"
#include "framework/Dc.h"

#include <QApplication>
#include <QImage>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr COLORREF kPageColour = RGB(0, 0, 64);
constexpr COLORREF kLabelColour = RGB(192, 192, 192);
constexpr COLORREF kNavyBack = RGB(0, 0, 192);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kThumb = RGB(0, 192, 0);
constexpr COLORREF kFieldText = RGB(0, 0, 128);
constexpr int kLevelMax = 220;
constexpr int kLevelMark = 160;
constexpr int kLevelDivisions = 22;

struct Label {
    int x, y;
    const char* text;
};

constexpr std::array<Label, 14> kLabels = {{
    {10, 8, "Buttons: dark, lit, disabled"},
    {10, 68, "Device tiles: offline, online"},
    {270, 8, "Faders: 0, 160, 220 of 220, off"},
    {10, 148, "Text fields: display, edit"},
    {10, 218, "Spin"},
    {140, 218, "Meters: 0, 13, 14, 15"},
    {275, 232, "0"},
    {315, 232, "160"},
    {360, 232, "220"},
    {405, 232, "off"},
    {150, 392, "0"},
    {180, 392, "13"},
    {210, 392, "14"},
    {240, 392, "15"},
}};

class GalleryPage : public CWnd {
protected:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(client, kPageColour);
        CFont font;
        font.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 32, "MS Sans Serif");
        dc.SelectObject(&font);
        dc.SetTextColor(kLabelColour);
        dc.SetBkMode(TRANSPARENT);
        for (const Label& label : kLabels) {
            dc.TextOut(label.x, label.y, label.text);
        }
        dc.SelectObject(static_cast<const CFont*>(nullptr));
    }
};

struct Gallery {
    CWnd frame;
    GalleryPage page;
    std::array<CModButton, 3> buttons;
    std::array<CModButton, 2> tiles;
    std::array<CModFader, 4> faders;
    CModText display;
    CModText edit;
    CModSpin spin;
    std::array<CModMeter, 4> meters;

    bool Build() {
        if (!frame.CreateFrame("Controls", CRect(0, 0, 460, 410)) ||
            !page.CreateChild(frame, CRect(0, 0, 460, 410))) {
            return false;
        }
        const std::array<const char*, 3> captions = {"Mute", "Mute", "Polarity"};
        for (int i = 0; i < 3; ++i) {
            buttons[i].Create(300 + i, CRect(10 + 80 * i, 28, 80 + 80 * i, 48),
                              {false, i == 1, kNavyBack, kLabelColour, kRed, kBlack}, captions[i], &page);
        }
        buttons[2].SetEnabled(false);
        for (int i = 0; i < 2; ++i) {
            tiles[i].Create(200 + i, CRect(10 + 95 * i, 88, 90 + 95 * i, 128),
                            {false, i == 1, kBlack, kLabelColour, kBlack, kWhite, 167, 168},
                            "Device - " + std::to_string(i + 1), &page);
        }
        const std::array<int, 4> values = {0, 160, 220, 100};
        for (int i = 0; i < 4; ++i) {
            faders[i].Create(CRect(270 + 45 * i, 28, 298 + 45 * i, 228), &page, 400 + i, kLevelMax,
                             kLevelMark, kLevelDivisions, kThumb);
            faders[i].SetInitialValue(values[i]);
        }
        faders[3].SetEnabled(false);
        display.Create(CRect(10, 168, 90, 188), &page, 500, kFieldText, false, 8);
        display.text = "12.5 ms";
        edit.Create(CRect(110, 168, 190, 188), &page, 501, kFieldText, true, 8);
        edit.text = "-3.5 dB";
        spin.Create(&page, 600);
        spin.MoveWindow(CRect(10, 238, 50, 258));
        spin.SetRange(0, 50);
        spin.SetPos(25);
        const std::array<int, 4> levels = {0, 13, 14, 15};
        for (int i = 0; i < 4; ++i) {
            meters[i].Create(CRect(145 + 30 * i, 238, 157 + 30 * i, 388), &page, 700 + i);
            meters[i].level = levels[i];
        }
        return true;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    const QString output =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("controls_gallery.png");
    const int scale = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;

    Gallery gallery;
    if (!gallery.Build()) {
        std::fprintf(stderr, "controls_gallery: the windows could not be created\n");
        return 1;
    }
    QImage image = GrabWindow(gallery.page);
    if (scale > 1) {
        image = image.scaled(image.size() * scale, Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    if (!image.save(output)) {
        std::fprintf(stderr, "controls_gallery: cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("controls_gallery: wrote %s\n", qPrintable(output));
    return 0;
}
