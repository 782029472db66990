// Draws the program's icon: a dark tile holding four camera panes, the first
// one playing. The same shapes go into a scalable SVG and into PNGs for every
// size the hicolor theme asks for. Run once; the files it writes are committed.
//   orlin_draw_app_icon packaging/icons   (QT_QPA_PLATFORM=offscreen)

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTextStream>
#include <cstdio>
#include <vector>

namespace {

// Every shape is given on a 256-unit square.
constexpr double kUnits = 256;

struct Tile {
    QRectF rect;
    double radius;
    QColor color;
};

std::vector<Tile> Tiles() {
    std::vector<Tile> tiles;
    tiles.push_back({QRectF(8, 8, 240, 240), 40, QColor(0x23, 0x2a, 0x35)});
    const QColor pane(0x3b, 0x46, 0x57);
    const QColor playing(0x2f, 0x80, 0xd0);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            const QRectF rect(36 + col * 96, 36 + row * 96, 88, 88);
            tiles.push_back({rect, 12, row == 0 && col == 0 ? playing : pane});
        }
    }
    return tiles;
}

// The play mark in the playing pane.
QPolygonF PlayMark() { return QPolygonF({QPointF(64, 56), QPointF(64, 104), QPointF(104, 80)}); }

// The recording dot in the last pane.
constexpr QPointF kDotCenter(176, 176);
constexpr double kDotRadius = 18;
const QColor kDotColor(0xe0, 0x40, 0x40);

QString Hex(const QColor& color) { return color.name(QColor::HexRgb); }

bool WriteSvg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kUnits << "\" height=\""
        << kUnits << "\" viewBox=\"0 0 " << kUnits << ' ' << kUnits << "\">\n";
    for (const Tile& tile : Tiles()) {
        out << "  <rect x=\"" << tile.rect.x() << "\" y=\"" << tile.rect.y() << "\" width=\""
            << tile.rect.width() << "\" height=\"" << tile.rect.height() << "\" rx=\""
            << tile.radius << "\" fill=\"" << Hex(tile.color) << "\"/>\n";
    }
    out << "  <polygon points=\"";
    for (const QPointF& point : PlayMark()) out << point.x() << ',' << point.y() << ' ';
    out << "\" fill=\"#ffffff\"/>\n";
    out << "  <circle cx=\"" << kDotCenter.x() << "\" cy=\"" << kDotCenter.y() << "\" r=\""
        << kDotRadius << "\" fill=\"" << Hex(kDotColor) << "\"/>\n";
    out << "</svg>\n";
    return out.status() == QTextStream::Ok && file.flush();
}

QImage DrawPng(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kUnits, size / kUnits);
    p.setPen(Qt::NoPen);
    for (const Tile& tile : Tiles()) {
        p.setBrush(tile.color);
        p.drawRoundedRect(tile.rect, tile.radius, tile.radius);
    }
    p.setBrush(Qt::white);
    p.drawPolygon(PlayMark());
    p.setBrush(kDotColor);
    p.drawEllipse(kDotCenter, kDotRadius, kDotRadius);
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!WriteSvg(folder.filePath("org.orlin.Orlin.svg"))) {
        std::fprintf(stderr, "cannot write the SVG icon\n");
        return 1;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString name = QString("org.orlin.Orlin-%1.png").arg(size);
        if (!DrawPng(size).save(folder.filePath(name))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
