#include "controls/skin_picture.h"

#include <QBitmap>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>

#include "common/debug_log.h"

namespace {

constexpr qreal kDenseRatio = 2.0;

// The densest screen decides: a window moved there must still be sharp, and
// a double-size picture drawn on an ordinary screen is only scaled down.
bool WantsDensePictures() { return qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0; }

bool LoadInto(QPixmap* pPicture, const QString& strPath) {
    return QFile::exists(strPath) && pPicture->load(strPath);
}

}  // namespace

QPixmap ResourcePicture(const QString& strPath) {
    QPixmap picture;
    if (WantsDensePictures() && strPath.endsWith(QLatin1String(".png"))) {
        const QString strDense = strPath.chopped(4) + QStringLiteral("@2x.png");
        if (LoadInto(&picture, strDense)) {
            picture.setDevicePixelRatio(kDenseRatio);
            return picture;
        }
        DebugLog("ResourcePicture no double-size picture %s", qUtf8Printable(strDense));
    }
    if (!LoadInto(&picture, strPath)) {
        DebugLog("SkinPicture no picture %s", qUtf8Printable(strPath));
        return {};
    }
    picture.setDevicePixelRatio(1.0);
    return picture;
}

QPixmap SkinPicture(int nResourceNumber) { return SkinPicture(QString::number(nResourceNumber)); }

QPixmap SkinPicture(const QString& strName) {
    return ResourcePicture(QStringLiteral(":/skin/%1.png").arg(strName));
}

QSize PictureSize(const QPixmap& picture) { return picture.deviceIndependentSize().toSize(); }

QPixmap WidgetBuffer(const QWidget& widget) {
    const qreal dRatio = widget.devicePixelRatioF();
    QPixmap buffer((QSizeF(widget.size()) * dRatio).toSize());
    buffer.setDevicePixelRatio(dRatio);
    return buffer;
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
