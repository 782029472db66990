#include "mainwnd/command_line.h"

#include "common/program_version.h"

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine cmd;
    bool bOptionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& strArg = arguments.at(i);
        if (strArg.isEmpty()) continue;
        if (!bOptionsEnded) {
            if (strArg == QLatin1String("--")) {
                bOptionsEnded = true;
                continue;
            }
            if (strArg == QLatin1String("--help") || strArg == QLatin1String("-h")) {
                cmd.eRequest = CommandLine::Request::Help;
                return cmd;
            }
            if (strArg == QLatin1String("--version")) {
                cmd.eRequest = CommandLine::Request::Version;
                return cmd;
            }
        }
        cmd.paths.append(strArg);
    }
    return cmd;
}

QString CommandLineUsage(const QString& strProgram) {
    return QStringLiteral(
               "Usage: %1 [FILE]...\n"
               "Plays recordings of surveillance cameras and recorders.\n"
               "Every FILE is added to the playlist; the first one plays in the first pane.\n"
               "\n"
               "  -h, --help     show this text and exit\n"
               "      --version  show the version and exit\n"
               "      --         treat every later argument as a file\n"
               "\n"
               "ORLIN_DEBUG=1 writes the debug log to standard error.\n")
        .arg(strProgram);
}

QString ProgramVersionLine() {
    return QStringLiteral("Orlin %1\n").arg(QLatin1String(ORLIN_VERSION));
}
