#include <QApplication>
#include <cstdio>

#include "app/orlin_app.h"
#include "common/ffmpeg_log.h"
#include "mainwnd/command_line.h"

int main(int argc, char* argv[]) {
    // Help and version are answered before the window system is started, so
    // they work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine cmd = ParseCommandLine(arguments);
    if (cmd.eRequest == CommandLine::Request::Help) {
        std::fputs(
            CommandLineUsage(arguments.value(0, QStringLiteral("orlin"))).toLocal8Bit().constData(),
            stdout);
        return 0;
    }
    if (cmd.eRequest == CommandLine::Request::Version) {
        std::fputs(ProgramVersionLine().toLocal8Bit().constData(), stdout);
        return 0;
    }

    SendFfmpegMessagesToDebugLog();
    QApplication app(argc, argv);
    // The settings folder is named after the application.
    QCoreApplication::setApplicationName(QStringLiteral("Orlin"));
    COrlinApp orlinApp;
    // The window system has taken its own options out of the arguments by now.
    return orlinApp.Run(QCoreApplication::arguments());
}
