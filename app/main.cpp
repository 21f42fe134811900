#include "framework/GdiObjects.h"
#include "framework/QtUiService.h"
#include "framework/Wnd.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    CQtUiService uiService;
    CScopedUiService installed(uiService);
    CWnd frame;
    frame.CreateFrame("Veltrix Loudspeaker Controller", CRect(0, 0, 1020, 700));
    frame.ShowWindow(SW_SHOW);
    return QApplication::exec();
}
