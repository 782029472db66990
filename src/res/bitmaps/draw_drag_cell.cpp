// Draws bitmap 263, the background of one cell of the playlist's drag
// preview: a 22-pixel band in the dark skin's blue with a light edge on top,
// at its size and at twice its size for high-density screens ("263@2x.png").
// It is tiled sideways, so it has no vertical features. Run once; the PNGs it
// writes are committed.
//   orlin_draw_drag_cell src/res/bitmaps/263.png   (QT_QPA_PLATFORM=offscreen)

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "write_both_sizes.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 22;

// Drawn in the picture's own pixels; the painter scales to `nScale` device pixels each.
QImage Draw(int nScale) {
    QImage image(kWidth * nScale, kHeight * nScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(nScale);
    QPainter p(&image);
    QLinearGradient band(0, 0, 0, kHeight);
    band.setColorAt(0, QColor(44, 74, 112));
    band.setColorAt(0.5, QColor(30, 54, 86));
    band.setColorAt(1, QColor(20, 36, 60));
    p.fillRect(QRect(0, 0, kWidth, kHeight), band);
    p.fillRect(QRect(0, 0, kWidth, 1), QColor(96, 170, 220));
    p.fillRect(QRect(0, kHeight - 1, kWidth, 1), QColor(10, 16, 26));
    p.end();
    return image;
}

}  // namespace

int main(int argc, char* argv[]) { return WriteBothSizes(argc, argv, Draw); }
