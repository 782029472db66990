#include "app/orlin_app.h"

#include <QApplication>
#include <cstdio>

#include "app/quit_signals.h"
#include "app/start_step_runner.h"
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
    const StartStepList steps = ParseStartSteps(qEnvironmentVariable("ORLIN_START_STEPS"));
    if (!steps.strError.isEmpty()) {
        std::fprintf(stderr, "ORLIN_START_STEPS: %s; no step is taken\n",
                     qUtf8Printable(steps.strError));
    }
    CStartStepRunner runner(&dlg, steps.steps);
    runner.Start();
    dlg.exec();
    return 0;
}
