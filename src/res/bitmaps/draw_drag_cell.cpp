// Draws bitmap 263, the background of one cell of the playlist's drag
// preview: a 22-pixel band in the dark skin's blue with a light edge on top.
// It is tiled sideways, so it has no vertical features. Run once; the PNG it
// writes is committed.
//   orlin_draw_drag_cell src/res/bitmaps/263.png   (QT_QPA_PLATFORM=offscreen)

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    constexpr int kWidth = 64;
    constexpr int kHeight = 22;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient band(0, 0, 0, kHeight);
    band.setColorAt(0, QColor(44, 74, 112));
    band.setColorAt(0.5, QColor(30, 54, 86));
    band.setColorAt(1, QColor(20, 36, 60));
    p.fillRect(image.rect(), band);
    p.setPen(QColor(96, 170, 220));
    p.drawLine(0, 0, kWidth - 1, 0);
    p.setPen(QColor(10, 16, 26));
    p.drawLine(0, kHeight - 1, kWidth - 1, kHeight - 1);
    p.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
