#include "app/orlin_app.h"

#include <QApplication>

#include "app/quit_signals.h"
#include "mainwnd/orlin_dlg.h"

int COrlinApp::Run(const QStringList& arguments) {
    // The main window lives exactly as long as its modal loop; its destruction
    // saves the settings and frees every engine port.
    COrlinDlg dlg;
    // SIGTERM, SIGINT and SIGHUP close the window as its close button does:
    // open menus and message boxes first, so that the modal loop can return.
    CQuitSignals quitSignals([&dlg](int) {
        for (QWidget* pWidget : QApplication::topLevelWidgets()) {
            if (pWidget != &dlg && pWidget->isVisible()) pWidget->close();
        }
        dlg.reject();
    });
    dlg.OnInitDialog(arguments);
    dlg.exec();
    return 0;
}
