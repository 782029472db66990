#include "app/orlin_app.h"

#include "mainwnd/orlin_dlg.h"

int COrlinApp::Run(const QStringList& arguments) {
    // The main window lives exactly as long as its modal loop; its destruction
    // saves the settings and frees every engine port.
    COrlinDlg dlg;
    dlg.OnInitDialog(arguments);
    dlg.exec();
    return 0;
}
