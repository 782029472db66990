#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. The shell has already split and unquoted
// the arguments, so each one after the program's name is one path, except
// the two requests below; after "--" every argument is a path.
struct CommandLine {
    enum class Request { Run, Help, Version };
    Request eRequest = Request::Run;
    QStringList paths;  // in the order given; empty arguments are skipped
};

CommandLine ParseCommandLine(const QStringList& arguments);

// The text `orlin --help` prints; `strProgram` is the name it was started by.
QString CommandLineUsage(const QString& strProgram);
// The text `orlin --version` prints.
QString ProgramVersionLine();
