#include "settings/player_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString PlayerSettings::DefaultSnapshotFolder() {
    // Many machines have no Pictures folder; snapshots into a missing folder would fail.
    const QString strPictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!strPictures.isEmpty() && QFileInfo(strPictures).isDir()) {
        return strPictures;
    }
    return QDir::homePath();
}
