#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

class QWidget;

// Skin pictures compiled into the program under ":/skin/". Pictures with a
// resource number are named by it ("466"), the others by what they show
// ("play_hover"). A missing picture is logged and returns a null pixmap.
//
// Every picture also exists at twice its size ("466@2x.png"). On a screen
// with more than one device pixel per widget pixel (QT_SCALE_FACTOR=2, a
// high-density monitor) that one is loaded, with a device pixel ratio of 2,
// so it paints at the same widget size but sharp. Geometry therefore takes
// a picture's size from PictureSize, never from QPixmap::size.
QPixmap SkinPicture(int nResourceNumber);
QPixmap SkinPicture(const QString& strName);

// Any picture of the program's resources by its path (":/bitmaps/144.png"),
// chosen as SkinPicture chooses: "<path without .png>@2x.png" when the screen
// is dense enough and that picture exists.
QPixmap ResourcePicture(const QString& strPath);

// The size a picture covers in widget pixels, whatever its density.
QSize PictureSize(const QPixmap& picture);

// An off-screen picture for drawing the whole of `widget` in one step, with
// as many device pixels as the screen gives the widget, so it is shown 1:1.
QPixmap WidgetBuffer(const QWidget& widget);

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
