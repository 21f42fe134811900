#include "AppDriver.h"

#include "sim/SimServer.h"

#include <algorithm>
#include <cstdlib>

namespace apptest {

AppTest::~AppTest() {
    for (const std::string& variable : comVariables_) {
        unsetenv(variable.c_str());
    }
}

std::array<int, 4> AppTest::DeviceAddress(int d) {
    const quint32 a = simulator->Server(d).Address().toIPv4Address();
    return {int(a >> 24), int((a >> 16) & 0xFF), int((a >> 8) & 0xFF), int(a & 0xFF)};
}

void AppTest::StartDevices(sim::SimOptions options, bool connect) {
    options.port = 0; // free ports, so that programs running side by side never collide
    simulator = std::make_unique<sim::CSimulator>(options);
    std::string error;
    ASSERT_TRUE(simulator->Start(error)) << error;
    model::ConnectionSettings settings;
    settings.connectionMode = 1;
    for (int d = 0; d < simulator->DeviceCount(); ++d) {
        settings.ipAddress[static_cast<std::size_t>(d)] = DeviceAddress(d);
        View().Engine(d).SetNetworkPort(simulator->Server(d).Port());
    }
    ObserveEngines(simulator->DeviceCount());
    if (connect) {
        View().ApplyConnectionSettings(settings);
    }
    ShowMainWindow();
}

void AppTest::StartDevicesOnPtys(sim::SimOptions options) {
    options.network = false;
    options.pty = true;
    simulator = std::make_unique<sim::CSimulator>(options);
    std::string error;
    ASSERT_TRUE(simulator->Start(error)) << error;
    model::ConnectionSettings settings;
    for (int d = 0; d < simulator->DeviceCount(); ++d) {
        const std::string variable = "VELTRIX_COM" + std::to_string(d + 1);
        setenv(variable.c_str(), simulator->Server(d).PtyPath().c_str(), 1);
        comVariables_.push_back(variable);
        settings.comPort[static_cast<std::size_t>(d)] = d + 1;
    }
    ObserveEngines(simulator->DeviceCount());
    View().ApplyConnectionSettings(settings);
    ShowMainWindow();
}

void AppTest::ObserveEngines(int count) {
    for (int d = 0; d < count; ++d) {
        CPort& engine = View().Engine(d);
        engine.SetStatusObserver([this](const std::string& text) { statuses.push_back(text); });
        engine.SetFinishObserver(
            [this](devlink::TransferMode mode, bool ok) { finished.emplace_back(mode, ok); });
    }
}

void AppTest::ShowMainWindow() {
    window_ = started.app.GetMainWnd()->GetWidget()->windowHandle();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));
}

void AppTest::Click(CPoint p) { QTest::mouseClick(window_, Qt::LeftButton, {}, QPoint(p.x, p.y)); }
void AppTest::Press(CPoint p) { QTest::mousePress(window_, Qt::LeftButton, {}, QPoint(p.x, p.y)); }
void AppTest::Move(CPoint p) { QTest::mouseMove(window_, QPoint(p.x, p.y)); }
void AppTest::Release(CPoint p) { QTest::mouseRelease(window_, Qt::LeftButton, {}, QPoint(p.x, p.y)); }

void AppTest::TypeAt(CPoint p, const QString& keys) {
    Click(p);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClicks(focused, keys);
    QTest::keyClick(focused, Qt::Key_Return);
}

bool AppTest::SelectDevice(int d) {
    Click(Centre(Tile(d)));
    return WaitFinished(devlink::TransferMode::Sync);
}

bool AppTest::WaitFinished(devlink::TransferMode mode) {
    const auto match = [&] {
        return std::find_if(finished.begin(), finished.end(), [&](const auto& f) { return f.first == mode; });
    };
    if (!QTest::qWaitFor([&] { return match() != finished.end(); }, kWaitMs)) {
        return false;
    }
    const bool ok = match()->second;
    finished.erase(match());
    return ok;
}

std::vector<std::string> AppTest::VisibleNavCaptions() {
    std::vector<std::string> captions;
    for (int i = 0; i < CTonraView::kNavButtonCount; ++i) {
        if (View().NavButton(i).IsWindowVisible()) {
            captions.push_back(View().NavButton(i).caption);
        }
    }
    return captions;
}

} // namespace apptest
