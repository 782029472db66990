#include "mainwnd/dropped_files.h"

#include <QMimeData>
#include <QUrl>

QStringList DroppedLocalFiles(const QMimeData* pMime) {
    QStringList paths;
    if (pMime == nullptr || !pMime->hasUrls()) return paths;
    for (const QUrl& url : pMime->urls()) {
        if (!url.isLocalFile()) continue;
        const QString strPath = url.toLocalFile();
        if (!strPath.isEmpty()) paths.append(strPath);
    }
    return paths;
}
