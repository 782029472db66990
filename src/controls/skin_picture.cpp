#include "controls/skin_picture.h"

#include <QBitmap>
#include <QFile>
#include <QImage>

#include "common/debug_log.h"

QPixmap SkinPicture(int nResourceNumber) { return SkinPicture(QString::number(nResourceNumber)); }

QPixmap SkinPicture(const QString& strName) {
    const QString strPath = QStringLiteral(":/skin/%1.png").arg(strName);
    QPixmap picture;
    if (!QFile::exists(strPath) || !picture.load(strPath)) {
        DebugLog("SkinPicture no picture %s", qUtf8Printable(strPath));
        return {};
    }
    return picture;
}

SkinButtonPictures SkinButtonSet(const QString& strName) {
    return {SkinPicture(strName + QStringLiteral("_normal")),
            SkinPicture(strName + QStringLiteral("_hover")),
            SkinPicture(strName + QStringLiteral("_pressed"))};
}

QPixmap WithColourKeyMask(const QPixmap& picture) {
    if (picture.isNull() || picture.hasAlphaChannel()) return picture;
    const QImage image = picture.toImage();
    const QColor key = image.pixelColor(0, 0);
    QPixmap masked = picture;
    masked.setMask(QBitmap::fromImage(image.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    return masked;
}
