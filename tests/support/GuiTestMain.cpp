// Entry point of the GUI test programs: a QApplication on the headless platform, the fonts
// the program names, and a scripted UI service installed unless a test installs its own.
#include "framework/GdiObjects.h"

#include "IsolatedConfig.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    testsupport::IsolateUserConfig();
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
