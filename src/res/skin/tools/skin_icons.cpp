#include "skin_icons.h"

#include <QHash>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <functional>

namespace {

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path;
    path.addPolygon(QPolygonF({a, b, c, a}));
    path.closeSubpath();
    return path;
}

QPainterPath Box(qreal x, qreal y, qreal w, qreal h, qreal radius = 0.6) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

// A stroke of width w along the given points, as a filled outline.
QPainterPath Stroke(const QPainterPath& line, qreal w, Qt::PenCapStyle cap = Qt::RoundCap) {
    QPainterPathStroker stroker;
    stroker.setWidth(w);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QPainterPath Line(std::initializer_list<QPointF> points, qreal w = 1.6) {
    QPainterPath line;
    bool bFirst = true;
    for (const QPointF& point : points) {
        if (bFirst)
            line.moveTo(point);
        else
            line.lineTo(point);
        bFirst = false;
    }
    return Stroke(line, w);
}

QPainterPath Mirrored(const QPainterPath& path) { return QTransform(-1, 0, 0, 1, 16, 0).map(path); }

QPainterPath Arc(QPointF centre, qreal r, qreal startDeg, qreal spanDeg, qreal w) {
    QPainterPath arc;
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, spanDeg);
    return Stroke(arc, w, Qt::FlatCap);
}

QPainterPath Speaker() {
    QPainterPath path;
    path.addPolygon(QPolygonF({{2, 6}, {4.5, 6}, {8, 3}, {8, 13}, {4.5, 10}, {2, 10}, {2, 6}}));
    path.closeSubpath();
    return path;
}

QPainterPath TwoArrows(bool bEndsOpposite) {
    // Two curved arrows chasing each other round a circle.
    QPainterPath path = Arc({8, 8}, 5, 20, 140, 1.6) + Arc({8, 8}, 5, 200, 140, 1.6);
    const qreal r = 5;
    auto at = [&](qreal deg) {
        const qreal rad = deg * M_PI / 180;
        return QPointF(8 + r * std::cos(rad), 8 - r * std::sin(rad));
    };
    const QPointF a = at(160);
    const QPointF b = at(340);
    path += Triangle(a + QPointF(-2.4, -0.6), a + QPointF(2.2, -0.8), a + QPointF(-0.2, 2.6));
    if (bEndsOpposite) {
        path += Triangle(b + QPointF(2.4, 0.6), b + QPointF(-2.2, 0.8), b + QPointF(0.2, -2.6));
    }
    return path;
}

QPainterPath Gear() {
    QPainterPath path;
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth = Box(7, 1.2, 2, 3.2, 0.4);
        QTransform turn;
        turn.translate(8, 8).rotate(45.0 * i).translate(-8, -8);
        path += turn.map(tooth);
    }
    path.addEllipse(QPointF(8, 8), 5, 5);
    QPainterPath hole;
    hole.addEllipse(QPointF(8, 8), 2, 2);
    return path.subtracted(hole);
}

QPainterPath Corners(bool bOutward) {
    QPainterPath path;
    const qreal w = 1.7;
    if (bOutward) {
        path += Line({{2, 6}, {2, 2}, {6, 2}}, w) + Line({{10, 2}, {14, 2}, {14, 6}}, w) +
                Line({{14, 10}, {14, 14}, {10, 14}}, w) + Line({{6, 14}, {2, 14}, {2, 10}}, w);
    } else {
        path += Line({{2, 6}, {6, 6}, {6, 2}}, w) + Line({{10, 2}, {10, 6}, {14, 6}}, w) +
                Line({{14, 10}, {10, 10}, {10, 14}}, w) + Line({{6, 14}, {6, 10}, {2, 10}}, w);
    }
    return path;
}

QPainterPath Pin() {
    QPainterPath path = Box(5, 1.5, 6, 2, 0.6) + Box(6, 3.5, 4, 5, 0.3);
    path += Triangle({3, 10.5}, {13, 10.5}, {8, 7.5});
    path += Box(3, 8.5, 10, 2, 0.5);
    path += Line({{8, 10.5}, {8, 15}}, 1.4);
    return path;
}

using Maker = std::function<QPainterPath()>;

const QHash<QString, Maker>& Makers() {
    static const QHash<QString, Maker> makers = {
        {"play",
         [] {
             return Triangle({4.5, 2}, {14, 8}, {4.5, 14});
         }},
        {"pause", [] { return Box(3.5, 2.5, 3.2, 11) + Box(9.3, 2.5, 3.2, 11); }},
        {"stop", [] { return Box(3, 3, 10, 10, 1.2); }},
        {"goto_start",
         [] {
             return Box(2.5, 3, 2, 10) + Triangle({13.5, 3}, {5.5, 8}, {13.5, 13});
         }},
        {"goto_end",
         [] {
             return Mirrored(Box(2.5, 3, 2, 10) + Triangle({13.5, 3}, {5.5, 8}, {13.5, 13}));
         }},
        {"frame_back",
         [] {
             return Triangle({10, 3}, {2.5, 8}, {10, 13}) + Box(11.5, 3, 2, 10);
         }},
        {"frame_forward",
         [] {
             return Mirrored(Triangle({10, 3}, {2.5, 8}, {10, 13}) + Box(11.5, 3, 2, 10));
         }},
        {"speed_down",
         [] {
             return Triangle({8, 3}, {1, 8}, {8, 13}) + Triangle({15, 3}, {8, 8}, {15, 13});
         }},
        {"speed_up",
         [] {
             return Mirrored(Triangle({8, 3}, {1, 8}, {8, 13}) +
                             Triangle({15, 3}, {8, 8}, {15, 13}));
         }},
        {"reverse",
         [] {
             QPainterPath ring = Arc({8, 8}, 6, 0, 360, 1.3);
             return ring + Triangle({11, 4.5}, {4.5, 8}, {11, 11.5});
         }},
        {"capture",
         [] {
             QPainterPath body = Box(1, 4.5, 14, 9.5, 1.6);
             body += Triangle({5, 4.6}, {6.3, 2.4}, {9.7, 2.4}) +
                     Triangle({11, 4.6}, {9.7, 2.4}, {6.3, 2.4});
             QPainterPath lens;
             lens.addEllipse(QPointF(8, 9.2), 3.8, 3.8);
             QPainterPath glass;
             glass.addEllipse(QPointF(8, 9.2), 2.4, 2.4);
             return body.subtracted(lens) + glass;
         }},
        {"sync", [] { return TwoArrows(true); }},
        {"sound",
         [] {
             return Speaker() + Arc({8, 8}, 3, -50, 100, 1.4) + Arc({8, 8}, 6, -50, 100, 1.4);
         }},
        {"mute",
         [] {
             return Speaker() + Line({{10.5, 5.5}, {15, 10.5}}, 1.6) +
                    Line({{15, 5.5}, {10.5, 10.5}}, 1.6);
         }},
        {"open",
         [] {
             QPainterPath path;
             path.addPolygon(QPolygonF(
                 {{1.5, 3}, {6, 3}, {7.5, 4.5}, {14.5, 4.5}, {14.5, 13.5}, {1.5, 13.5}, {1.5, 3}}));
             path.closeSubpath();
             return path.subtracted(Box(2.8, 6.5, 10.4, 5.8, 0.3)) + Box(2.8, 7.2, 10.4, 5.1, 0.3);
         }},
        {"playlist",
         [] {
             return Box(1.5, 3, 8, 1.8) + Box(1.5, 7, 8, 1.8) + Box(1.5, 11, 5, 1.8) +
                    Triangle({9, 9.5}, {15, 12.2}, {9, 15});
         }},
        {"toolbox",
         [] {
             QPainterPath box = Box(1.5, 5.5, 13, 8.5, 1.2);
             box = box.subtracted(Box(1, 8.6, 14, 1, 0));
             return box + Line({{5.5, 5.5}, {5.5, 3}, {10.5, 3}, {10.5, 5.5}}, 1.5) +
                    Box(7, 8, 2, 2.6, 0.4);
         }},
        {"playlist_add", [] { return Box(7, 2.5, 2, 11) + Box(2.5, 7, 11, 2); }},
        {"playlist_delete", [] { return Box(2.5, 7, 11, 2); }},
        {"playlist_clear",
         [] {
             QPainterPath can = Box(3.5, 5, 9, 9.5, 1.2);
             can = can.subtracted(Box(5.8, 7, 1.2, 5.5, 0.4)).subtracted(Box(9, 7, 1.2, 5.5, 0.4));
             return can + Box(2, 3, 12, 1.6) + Box(6, 1.5, 4, 1.6);
         }},
        {"play_order",
         [] {
             QPainterPath path = Line({{2, 4.5}, {5, 4.5}, {10, 11.5}, {12.5, 11.5}}, 1.5) +
                                 Line({{2, 11.5}, {5, 11.5}, {10, 4.5}, {12.5, 4.5}}, 1.5);
             return path + Triangle({12, 2}, {15.5, 4.5}, {12, 7}) +
                    Triangle({12, 9}, {15.5, 11.5}, {12, 14});
         }},
        {"playlist_hide",
         [] {
             return Line({{3.5, 3.5}, {8, 8}, {3.5, 12.5}}, 1.7) +
                    Line({{8.5, 3.5}, {13, 8}, {8.5, 12.5}}, 1.7);
         }},
        {"caption_minimize", [] { return Box(3, 11, 10, 1.6, 0.3); }},
        {"caption_maximize",
         [] { return Box(3, 3, 10, 10, 1).subtracted(Box(4.5, 5.5, 7, 6, 0.3)); }},
        {"caption_restore",
         [] {
             QPainterPath back = Box(5.5, 2, 8.5, 8.5, 0.8).subtracted(Box(7, 4.3, 5.5, 4.7, 0.3));
             QPainterPath front = Box(2, 5.5, 8.5, 8.5, 0.8);
             return back.subtracted(front) + front.subtracted(Box(3.5, 7.8, 5.5, 4.7, 0.3));
         }},
        {"caption_close",
         [] {
             return Line({{3.5, 3.5}, {12.5, 12.5}}, 1.8) + Line({{12.5, 3.5}, {3.5, 12.5}}, 1.8);
         }},
        {"caption_menu",
         [] { return Box(2.5, 3.5, 11, 1.7) + Box(2.5, 7.2, 11, 1.7) + Box(2.5, 10.9, 11, 1.7); }},
        {"fullscreen", [] { return Corners(true); }},
        {"fullscreen_exit", [] { return Corners(false); }},
        {"topmost", [] { return Pin(); }},
        {"settings", [] { return Gear(); }},
        {"part_zoom",
         [] {
             QPainterPath ring = Arc({6.5, 6.5}, 4.5, 0, 360, 1.6);
             return ring + Line({{10, 10}, {14.5, 14.5}}, 2.2) + Box(4.5, 5.8, 4, 1.4, 0.3) +
                    Box(5.8, 4.5, 1.4, 4, 0.3);
         }},
    };
    return makers;
}

}  // namespace

QPainterPath SkinIcon(const QString& strIcon) {
    const auto it = Makers().constFind(strIcon);
    if (it == Makers().constEnd()) return {};
    QPainterPath path = (*it)();
    return path;
}
