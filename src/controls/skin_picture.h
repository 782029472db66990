#pragma once

#include <QPixmap>
#include <QString>

// Skin pictures compiled into the program under ":/skin/". Pictures with a
// resource number are named by it ("466"), the others by what they show
// ("play_hover"). A missing picture is logged and returns a null pixmap.
QPixmap SkinPicture(int nResourceNumber);
QPixmap SkinPicture(const QString& strName);

// The three looks of a skin button, loaded from "<name>_normal", "<name>_hover"
// and "<name>_pressed".
struct SkinButtonPictures {
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
    bool IsComplete() const { return !normal.isNull() && !hover.isNull() && !pressed.isNull(); }
};
SkinButtonPictures SkinButtonSet(const QString& strName);

// Gives a picture without an alpha channel a mask that makes the colour of its
// top-left pixel transparent; pictures with alpha are returned unchanged.
QPixmap WithColourKeyMask(const QPixmap& picture);
