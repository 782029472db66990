// Draws bitmap 144, the picture an idle pane shows: a dark panel with a camera
// lens and the program's name, at its size and at twice its size for
// high-density screens ("144@2x.png" beside it). Run once; the PNGs it writes
// are committed.
//   orlin_draw_idle_picture src/res/bitmaps/144.png   (QT_QPA_PLATFORM=offscreen)

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "write_both_sizes.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 228;

// Drawn in the picture's own pixels; the painter scales to `nScale` device pixels each.
QImage Draw(int nScale) {
    QImage image(kWidth * nScale, kHeight * nScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(nScale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A soft glow that fades to the pane's black at the edges.
    QRadialGradient background(QPointF(kWidth / 2.0, kHeight / 2.0), kWidth / 2.0);
    background.setColorAt(0, QColor(36, 40, 47));
    background.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(QRect(0, 0, kWidth, kHeight), background);

    // Camera body with its lens on the left.
    const QPointF lens(118, 114);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(52, 57, 66));
    p.drawRoundedRect(QRectF(58, 70, 124, 88), 14, 14);
    p.setBrush(QColor(70, 76, 88));
    p.drawRoundedRect(QRectF(74, 60, 30, 14), 4, 4);
    p.setBrush(QColor(24, 26, 30));
    p.drawEllipse(lens, 38, 38);
    QRadialGradient glass(lens, 30, lens - QPointF(8, 8));
    glass.setColorAt(0, QColor(96, 170, 220));
    glass.setColorAt(0.45, QColor(30, 70, 120));
    glass.setColorAt(1, QColor(8, 14, 26));
    p.setBrush(glass);
    p.drawEllipse(lens, 30, 30);
    p.setBrush(QColor(10, 12, 16));
    p.drawEllipse(lens, 11, 11);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(lens - QPointF(11, 11), 5, 5);
    // Recording light.
    p.setBrush(QColor(220, 52, 52));
    p.drawEllipse(QPointF(166, 84), 4, 4);

    // The name and a thin rule under it.
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(46);
    title.setWeight(QFont::DemiBold);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(title);
    p.setPen(QColor(226, 230, 236));
    p.drawText(QRectF(200, 72, 190, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orlin"));
    // The picture is the same in every language, so it carries no words but the name.
    p.setPen(QPen(QColor(96, 170, 220), 2));
    p.drawLine(QPointF(203, 132), QPointF(330, 132));
    p.end();
    return image;
}

}  // namespace

int main(int argc, char* argv[]) { return WriteBothSizes(argc, argv, Draw); }
