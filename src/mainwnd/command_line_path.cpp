#include "mainwnd/command_line_path.h"

QString CommandLinePath(const QStringList& arguments) {
    QString strPath = arguments.mid(1).join(QLatin1Char(' '));
    // A lone quote is not a quoted path; it needs two characters to drop.
    if (strPath.size() >= 2 && strPath.front() == QLatin1Char('"') &&
        strPath.back() == QLatin1Char('"')) {
        strPath = strPath.mid(1, strPath.size() - 2);
    }
    return strPath;
}
