// The whole program against simulated devices, driven as the operator drives it: real mouse
// and key events at the pixels the design gives, the simulator in-process on free loopback
// ports (or pseudo-terminals), and the devices' own settings read back from the simulator.
#pragma once

#include "StartedApp.h"
#include "link/Port.h"
#include "sim/Simulator.h"

#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace apptest {

constexpr int kViewWidth = 1020;
constexpr int kViewHeight = 700;
constexpr int kPanelHeight = kViewHeight - 40;
constexpr int kWaitMs = 60000; // an Upload or Download of 120 blocks on a busy machine

inline CPoint Centre(const CRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Navigation button i: left = (W - 165) i / 10 + 5, right = (W - 165)(i + 1) / 10, from H - 32
// to H - 12.
inline CRect NavButton(int i) {
    return {(kViewWidth - 165) * i / 10 + 5, kViewHeight - 32, (kViewWidth - 165) * (i + 1) / 10,
            kViewHeight - 12};
}

// Device tile i: two rows of eight, 80 x 40 on a 95-pixel pitch.
inline CRect Tile(int i) {
    const int column = i % 8;
    const int top = i < 8 ? 240 : 300;
    return {20 + 95 * column, top, 100 + 95 * column, top + 40};
}

// The controls of strip c on the device panel of a device with `inputs` and `channels`.
struct StripRects {
    CRect name, gainField, fader, mute, polarity;
};
inline StripRects Strip(int c, int inputs, int channels) {
    const int cw = (kViewWidth - 72) / channels;
    const int gap = kViewWidth - channels * cw - 42;
    const int left = c * cw + 34 + (c >= inputs ? gap : 0);
    const int right = left + cw;
    const int y0 = kPanelHeight - 290;
    return {
        .name = {left, y0 + 2, right, y0 + 17},
        .gainField = {left + 10, y0 + 20, right - 10, y0 + 35},
        .fader = {left + cw / 2 - 5, y0 + 40, left + cw / 2 + 25, y0 + 175},
        .mute = {left + 5, y0 + 180, right - 5, y0 + 195},
        .polarity = {left + 5, y0 + 198, right - 5, y0 + 213},
    };
}

class AppTest : public ::testing::Test {
protected:
    ~AppTest() override;

    CTonraView& View() { return started.app.GetMainWnd()->GetView(); }
    CTonraDoc& Doc() { return started.doc(); }
    CScriptedUiService& Ui() { return started.ui; }
    CTonraDoc& Device() { return simulator->Doc(); }

    // Starts simulated devices on free ports and connects them as a confirmed Connection
    // Setup dialog does (network mode, each slot at its device's address). Without `connect`
    // the engines only learn the devices' ports.
    void StartDevices(sim::SimOptions options, bool connect = true);
    // Device d's address as the Connection Setup dialog holds it.
    std::array<int, 4> DeviceAddress(int d);
    // The same over pseudo-terminals: serial mode, device d on COM d + 1.
    void StartDevicesOnPtys(sim::SimOptions options);

    // Mouse and keys at a point of the view (the main window's client area).
    void Click(CPoint p);
    void Press(CPoint p);
    void Move(CPoint p);
    void Release(CPoint p);
    void TypeAt(CPoint p, const QString& keys);

    // Clicks the tile of device `d` and waits for the end of its Sync; its success.
    bool SelectDevice(int d);
    // Waits for the end of the next transfer of that mode on any engine; its success.
    bool WaitFinished(devlink::TransferMode mode);
    bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kWaitMs); }
    std::vector<std::string> VisibleNavCaptions();

    StartedApp started;
    std::unique_ptr<sim::CSimulator> simulator;
    // Engine d's status texts and finished transfers, as they happen.
    std::vector<std::string> statuses;
    std::vector<std::pair<devlink::TransferMode, bool>> finished;

private:
    void ObserveEngines(int count);
    void ShowMainWindow();

    QWindow* window_ = nullptr;
    std::vector<std::string> comVariables_;
};

} // namespace apptest
