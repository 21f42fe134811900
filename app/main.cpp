#include "app/TonraApp.h"
#include "framework/GdiObjects.h"
#include "framework/QtUiService.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    CQtUiService uiService;
    CScopedUiService installed(uiService);
    CTonraApp theApp;
    if (!theApp.InitInstance(app::SetupFileArgument(QCoreApplication::arguments()))) {
        return 1;
    }
    return QApplication::exec();
}
