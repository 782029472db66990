#pragma once

#include <QString>
#include <QStringList>

// The one path named on the command line: every argument after the program's
// own name joined as the start-up hands them over, with a pair of surrounding
// double quotes dropped. Several paths therefore make one path that names no
// file. Empty when there are no arguments.
QString CommandLinePath(const QStringList& arguments);
