// Paints Orlin's skin: every button in its three looks, the frame, the bar
// backgrounds and the slider parts, as PNG files named as the program loads
// them, each once at its size ("466.png") and once at twice its size for
// high-density screens ("466@2x.png"). Every picture is drawn in its own
// pixel units and the painter scales, so both sizes show the same shapes.
// Run once after a change and commit the pictures:
//   QT_QPA_PLATFORM=offscreen orlin_draw_skin src/res/skin [contact-sheet.png]

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <vector>

#include "skin_icons.h"

namespace {

// One palette for the whole skin: graphite surfaces, soft grey icons, one blue accent.
const QColor kIcon(190, 196, 205);
const QColor kIconHot(255, 255, 255);
const QColor kAccent(58, 150, 232);
const QColor kAccentLight(104, 180, 245);
const QColor kAccentDark(34, 110, 186);
const QColor kSurfaceTop(48, 52, 60);
const QColor kSurfaceBottom(32, 35, 41);
const QColor kEdgeDark(16, 17, 20);
const QColor kEdgeLight(70, 76, 87);
const QColor kGroove(16, 18, 22);
const QColor kIconOnLight(52, 56, 64);

enum class Look { Normal, Hover, Pressed };
enum class Shape { Flat, Primary, Round, Caption, CaptionClose, Pill };

struct Button {
    QString strName;  // picture name prefix
    QString strIcon;  // icon drawn on it
    QSize size;
    Shape eShape;
    bool bAccentIcon = false;  // the "on" image of a toggle
    bool bOnLight = false;     // sits on a light panel (the cut panel): dark icon
};

std::vector<Button> Buttons() {
    const QSize kTransport(38, 39), kBar(26, 25), kSide(24, 22), kHeader(18, 18), kCaption(19, 18),
        kFloat(30, 24);
    return {
        {"play", "play", kTransport, Shape::Primary},
        {"pause", "pause", kTransport, Shape::Primary},
        {"stop", "stop", kTransport, Shape::Round},
        {"goto_start", "goto_start", kBar, Shape::Flat},
        {"speed_down", "speed_down", kBar, Shape::Flat},
        {"speed_up", "speed_up", kBar, Shape::Flat},
        {"goto_end", "goto_end", kBar, Shape::Flat},
        {"frame_back", "frame_back", kBar, Shape::Flat},
        {"frame_forward", "frame_forward", kBar, Shape::Flat},
        {"capture", "capture", kBar, Shape::Flat},
        {"reverse", "reverse", kBar, Shape::Flat},
        {"reverse_on", "reverse", kBar, Shape::Flat, true},
        {"sync", "sync", kBar, Shape::Flat},
        {"sync_on", "sync", kBar, Shape::Flat, true},
        {"sound", "sound", kBar, Shape::Flat},
        {"mute", "mute", kBar, Shape::Flat},
        {"open", "open", kSide, Shape::Flat},
        {"playlist", "playlist", kSide, Shape::Flat},
        {"toolbox", "toolbox", kSide, Shape::Flat},
        {"playlist_add", "playlist_add", kHeader, Shape::Flat},
        {"playlist_delete", "playlist_delete", kHeader, Shape::Flat},
        {"playlist_clear", "playlist_clear", kHeader, Shape::Flat},
        {"play_order", "play_order", kHeader, Shape::Flat},
        {"playlist_hide", "playlist_hide", kHeader, Shape::Flat},
        {"caption_menu", "caption_menu", kCaption, Shape::Caption},
        {"caption_minimize", "caption_minimize", kCaption, Shape::Caption},
        {"caption_maximize", "caption_maximize", kCaption, Shape::Caption},
        {"caption_restore", "caption_restore", kCaption, Shape::Caption},
        {"caption_close", "caption_close", kCaption, Shape::CaptionClose},
        {"fullscreen", "fullscreen", kFloat, Shape::Flat},
        {"fullscreen_exit", "fullscreen_exit", kFloat, Shape::Flat},
        {"topmost", "topmost", kFloat, Shape::Flat},
        {"topmost_on", "topmost", kFloat, Shape::Flat, true},
        {"settings", "settings", kFloat, Shape::Flat},
        {"part_zoom", "part_zoom", kFloat, Shape::Flat},
    };
}

// How many device pixels every skin pixel gets in the pictures being drawn.
int g_nScale = 1;

// A picture of `size` skin pixels; painting on it is scaled to its device pixels.
QImage Canvas(QSize size) {
    QImage image(size * g_nScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(g_nScale);
    return image;
}

QImage Blank(QSize size) {
    QImage image = Canvas(size);
    image.fill(Qt::transparent);
    return image;
}

void DrawIcon(QPainter& p, const QString& strIcon, const QRectF& box, const QColor& colour) {
    const qreal side = std::min(box.width(), box.height());
    p.save();
    p.translate(box.center() - QPointF(side / 2, side / 2));
    p.scale(side / 16, side / 16);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(SkinIcon(strIcon));
    p.restore();
}

QImage DrawButton(const Button& button, Look eLook) {
    QImage image = Blank(button.size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(0, 0, button.size.width(), button.size.height());
    QColor icon = button.bAccentIcon ? kAccentLight : button.bOnLight ? kIconOnLight : kIcon;
    qreal iconSide = 14;

    switch (button.eShape) {
        case Shape::Primary: {
            const QRectF disc = QRectF(2, 2.5, 34, 34);
            QLinearGradient fill(disc.topLeft(), disc.bottomLeft());
            const QColor top = eLook == Look::Pressed ? kAccentDark
                               : eLook == Look::Hover ? kAccentLight
                                                      : kAccent;
            fill.setColorAt(0, top.lighter(112));
            fill.setColorAt(1, top.darker(118));
            p.setPen(QPen(QColor(0, 0, 0, 110), 1));
            p.setBrush(fill);
            p.drawEllipse(disc);
            icon = eLook == Look::Pressed ? QColor(220, 235, 250) : kIconHot;
            iconSide = 16;
            DrawIcon(p, button.strIcon, disc.translated(eLook == Look::Pressed ? 0.5 : 0, 0.5),
                     icon);
            return image;
        }
        case Shape::Round: {
            const QRectF disc = QRectF(4, 4.5, 30, 30);
            const QColor face = eLook == Look::Pressed ? QColor(34, 37, 43)
                                : eLook == Look::Hover ? QColor(78, 85, 97)
                                                       : QColor(60, 65, 75);
            p.setPen(QPen(QColor(0, 0, 0, 120), 1));
            p.setBrush(face);
            p.drawEllipse(disc);
            icon = eLook == Look::Pressed ? kAccentLight : eLook == Look::Hover ? kIconHot : kIcon;
            DrawIcon(p, button.strIcon, disc.adjusted(8, 8, -8, -8), icon);
            return image;
        }
        case Shape::Pill:
            break;
        case Shape::Flat:
        case Shape::Caption:
        case Shape::CaptionClose: {
            const qreal radius = button.eShape == Shape::Flat ? 4 : 3;
            QColor back = Qt::transparent;
            const bool bClose = button.eShape == Shape::CaptionClose;
            if (eLook == Look::Hover) {
                back = bClose            ? QColor(214, 56, 48)
                       : button.bOnLight ? QColor(0, 0, 0, 30)
                                         : QColor(255, 255, 255, 34);
                icon = bClose || !button.bOnLight ? kIconHot : kEdgeDark;
            } else if (eLook == Look::Pressed) {
                back = bClose ? QColor(160, 36, 30) : QColor(0, 0, 0, button.bOnLight ? 60 : 90);
                icon = bClose            ? QColor(235, 235, 235)
                       : button.bOnLight ? kAccentDark
                                         : kAccentLight;
            }
            p.setPen(Qt::NoPen);
            p.setBrush(back);
            p.drawRoundedRect(all.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
            iconSide = std::min(button.size.width(), button.size.height()) <= 18 ? 10 : 14;
            const QRectF box(all.center().x() - iconSide / 2, all.center().y() - iconSide / 2,
                             iconSide, iconSide);
            DrawIcon(p, button.strIcon, box.translated(0, eLook == Look::Pressed ? 0.5 : 0), icon);
            return image;
        }
    }
    return image;
}

QImage VerticalGradient(QSize size, QColor top, QColor bottom) {
    QImage image = Canvas(size);
    QPainter p(&image);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillRect(QRect(QPoint(0, 0), size), fill);
    return image;
}

QImage ControlBar() {
    QImage image = VerticalGradient({8, 64}, kSurfaceTop, kSurfaceBottom);
    QPainter p(&image);
    p.fillRect(0, 0, 8, 1, kEdgeDark);
    p.fillRect(0, 1, 8, 1, kEdgeLight);
    return image;
}

QImage PaneBar() {
    QImage image = VerticalGradient({8, 26}, QColor(52, 56, 64), QColor(38, 41, 47));
    QPainter p(&image);
    p.fillRect(0, 0, 8, 1, kEdgeLight);
    p.fillRect(0, 25, 8, 1, kEdgeDark);
    return image;
}

QImage StatusBar() {
    QImage image = VerticalGradient({8, 20}, QColor(36, 39, 45), QColor(28, 30, 35));
    QPainter p(&image);
    p.fillRect(0, 0, 8, 1, QColor(54, 58, 66));
    return image;
}

QImage Caption() {
    QImage image = VerticalGradient({1, 31}, QColor(44, 48, 55), QColor(30, 33, 38));
    QPainter p(&image);
    p.fillRect(0, 0, 1, 1, QColor(78, 84, 95));
    p.fillRect(0, 30, 1, 1, kEdgeDark);
    return image;
}

QImage Strip(QSize size, bool bDarkFirst) {
    QImage image = Canvas(size);
    image.fill(QColor(30, 33, 38));
    QPainter p(&image);
    const bool bColumn = size.width() > size.height();  // a row of pixels across a side
    const QRect edge = bColumn ? QRect(bDarkFirst ? 0 : size.width() - 1, 0, 1, size.height())
                               : QRect(0, bDarkFirst ? 0 : size.height() - 1, size.width(), 1);
    p.fillRect(edge, kEdgeDark);
    return image;
}

QImage Logo() {
    QImage image = Blank({95, 29});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A small lens: ring, glass, highlight.
    const QPointF lens(14, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 76, 88));
    p.drawEllipse(lens, 8.5, 8.5);
    QRadialGradient glass(lens, 6.5, lens - QPointF(2, 2));
    glass.setColorAt(0, kAccentLight);
    glass.setColorAt(0.5, QColor(30, 80, 140));
    glass.setColorAt(1, QColor(10, 18, 30));
    p.setBrush(glass);
    p.drawEllipse(lens, 6.5, 6.5);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(lens - QPointF(2.5, 2.5), 1.4, 1.4);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(font);
    p.setPen(QColor(226, 230, 236));
    p.drawText(QRectF(28, 0, 67, 29), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orlin"));
    return image;
}

QImage LanguagePill(const QString& strText) {
    QImage image = Blank({34, 17});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kEdgeLight, 1));
    p.setBrush(QColor(40, 44, 51));
    p.drawRoundedRect(QRectF(0.5, 0.5, 33, 16), 8, 8);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setWeight(QFont::Bold);
    p.setFont(font);
    p.setPen(kIcon);
    p.drawText(QRectF(0, 0, 34, 17), Qt::AlignCenter, strText);
    return image;
}

// A groove of the given thickness centred across a channel.
QImage Groove(QSize size, int nThickness, QColor fill, bool bRound) {
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    const qreal y = (size.height() - nThickness) / 2.0;
    const qreal r = bRound ? nThickness / 2.0 : 0;
    p.drawRoundedRect(QRectF(0, y, size.width(), nThickness), r, r);
    return image;
}

QImage ActiveGroove(QSize size, int nThickness, bool bRound) {
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal y = (size.height() - nThickness) / 2.0;
    QLinearGradient fill(0, y, 0, y + nThickness);
    fill.setColorAt(0, kAccentLight);
    fill.setColorAt(1, kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    const qreal r = bRound ? nThickness / 2.0 : 0;
    p.drawRoundedRect(QRectF(0, y, size.width(), nThickness), r, r);
    return image;
}

// Channels of the settings dialog's colour sliders: a groove filled with what
// the slider changes, from its lowest value on the left to its highest.
QImage ColourChannel(const std::vector<QColor>& stops) {
    const QSize size(200, 12);
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, size.width(), 0);
    for (size_t i = 0; i < stops.size(); ++i) {
        fill.setColorAt(double(i) / double(stops.size() - 1), stops[i]);
    }
    p.setPen(QPen(kEdgeDark, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 3.5, size.width() - 1, 5), 2.5, 2.5);
    return image;
}

// Caps of the three-piece progress channel: half of a rounded groove each.
QImage GrooveCap(bool bLeft) {
    const QImage whole = Groove({8, 10}, 4, kGroove, true);
    QImage half = whole.copy(QRect(QPoint(bLeft ? 0 : 4, 0) * g_nScale, QSize(4, 10) * g_nScale));
    half.setDevicePixelRatio(g_nScale);
    return half;
}

QImage Thumb(QSize size, bool bActive) {
    QImage image = Blank(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(0.5, 0.5, size.width() - 1, size.height() - 1);
    p.setPen(QPen(bActive ? kAccentLight : QColor(0, 0, 0, 140), 1));
    QRadialGradient face(disc.center() - QPointF(1, 1), disc.width() / 2);
    face.setColorAt(0, QColor(255, 255, 255));
    face.setColorAt(1, bActive ? QColor(214, 232, 250) : QColor(200, 205, 214));
    p.setBrush(face);
    p.drawEllipse(disc);
    if (bActive) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(disc.center(), disc.width() / 5, disc.height() / 5);
    }
    return image;
}

// The cut panel's range markers: a stem on the edge that touches the range
// (right for the start, left for the end) and a flag pointing away from it.
QImage CutMarker(bool bStart) {
    QImage image = Blank({10, 15});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (bStart) {
        p.translate(10, 0);
        p.scale(-1, 1);
    }
    QPainterPath flag;
    flag.moveTo(0, 0);
    flag.lineTo(10, 4.5);
    flag.lineTo(2, 9);
    flag.lineTo(2, 15);
    flag.lineTo(0, 15);
    flag.closeSubpath();
    p.setPen(QPen(kAccentDark, 1));
    p.setBrush(kAccent);
    p.drawPath(flag);
    return image;
}

struct Output {
    QString strName;
    QImage image;
};

// ---- The synchronous timeline ruler ----

const QColor kCursor(255, 114, 0);

// The cursor's handle: a pointer over the line, brighter while dragged.
QImage CursorHandle(bool bDragging) {
    QImage image = Blank({12, 18});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(1, 1.5);
    path.lineTo(11, 1.5);
    path.lineTo(11, 11);
    path.lineTo(6, 17);
    path.lineTo(1, 11);
    path.closeSubpath();
    QLinearGradient fill(0, 0, 0, 18);
    const QColor face = bDragging ? kCursor.lighter(125) : kCursor;
    fill.setColorAt(0, face.lighter(115));
    fill.setColorAt(1, face.darker(120));
    p.setPen(QPen(bDragging ? QColor(255, 230, 200) : QColor(0, 0, 0, 150), 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, bDragging ? 220 : 150), 1));
    p.drawLine(QPointF(4, 5.5), QPointF(8, 5.5));
    p.drawLine(QPointF(4, 8.5), QPointF(8, 8.5));
    return image;
}

QImage CursorLine() {
    QImage image = Blank({2, 104});
    QPainter p(&image);
    p.fillRect(0, 0, 1, 104, kCursor);
    p.fillRect(1, 0, 1, 104, QColor(kCursor.red(), kCursor.green(), kCursor.blue(), 110));
    return image;
}

// Behind the cursor's time and the row names; tiled sideways.
QImage RulerLabelBack() {
    QImage image = VerticalGradient({4, 20}, QColor(30, 32, 36), QColor(24, 25, 28));
    QPainter p(&image);
    p.fillRect(0, 19, 4, 1, kEdgeDark);
    return image;
}

// One file's bar, stretched over its time in its row.
QImage RecordingBar() {
    QImage image = VerticalGradient({1, 21}, kAccentLight, kAccentDark);
    QPainter p(&image);
    p.fillRect(0, 0, 1, 1, QColor(150, 205, 250));
    p.fillRect(0, 20, 1, 1, QColor(20, 70, 120));
    return image;
}

// The rows' scroll bar: nine cells of 17 pixels across (up, down, thumb,
// track for a vertical bar, then the same for a horizontal one), three looks down.
QImage ScrollBarSkin() {
    constexpr int c = 17;
    QImage image = Canvas({9 * c, 3 * c});
    image.fill(QColor(34, 35, 37));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int look = 0; look < 3; ++look) {
        const QColor face = look == 2   ? QColor(30, 33, 38)
                            : look == 1 ? QColor(70, 76, 87)
                                        : QColor(54, 58, 66);
        const QColor arrow = look == 2 ? kAccentLight : look == 1 ? kIconHot : kIcon;
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            const int x0 = horizontal * 4 * c;
            const int y0 = look * c;
            for (int part = 0; part < 2; ++part) {
                const QRectF cell(x0 + part * c + 1.5, y0 + 1.5, c - 3, c - 3);
                p.setPen(Qt::NoPen);
                p.setBrush(face);
                p.drawRoundedRect(cell, 3, 3);
                QPainterPath tri;
                const QPointF m = cell.center();
                const qreal d = part == 0 ? -1 : 1;
                if (horizontal == 0) {
                    tri.moveTo(m.x() - 4, m.y() - 2 * d);
                    tri.lineTo(m.x() + 4, m.y() - 2 * d);
                    tri.lineTo(m.x(), m.y() + 2.5 * d);
                } else {
                    tri.moveTo(m.x() - 2 * d, m.y() - 4);
                    tri.lineTo(m.x() - 2 * d, m.y() + 4);
                    tri.lineTo(m.x() + 2.5 * d, m.y());
                }
                tri.closeSubpath();
                p.setBrush(arrow);
                p.drawPath(tri);
            }
            const QRectF thumb = horizontal == 0 ? QRectF(x0 + 2 * c + 4, y0 + 1, c - 8, c - 2)
                                                 : QRectF(x0 + 2 * c + 1, y0 + 4, c - 2, c - 8);
            p.setBrush(look == 2   ? kAccent
                       : look == 1 ? QColor(120, 128, 142)
                                   : QColor(92, 99, 112));
            p.drawRoundedRect(thumb, 3, 3);
            const QRectF track = horizontal == 0 ? QRectF(x0 + 3 * c + 6, y0, c - 12, c)
                                                 : QRectF(x0 + 3 * c, y0 + 6, c, c - 12);
            p.fillRect(track, kGroove);
        }
    }
    return image;
}

void AddRulerPictures(std::vector<Output>& out) {
    out.push_back({"462", CursorHandle(false)});
    out.push_back({"464", CursorHandle(true)});
    out.push_back({"478", CursorLine()});
    out.push_back({"479", RulerLabelBack()});
    out.push_back({"472", RecordingBar()});
    // The zoom slider, 92 x 12.
    out.push_back({"466", Groove({92, 12}, 4, kGroove, true)});
    out.push_back({"477", ActiveGroove({92, 12}, 4, true)});
    out.push_back({"465", Thumb({10, 10}, false)});
    out.push_back({"468", Thumb({10, 10}, true)});
    out.push_back({"sync_scrollbar", ScrollBarSkin()});
}

std::vector<Output> AllPictures() {
    std::vector<Output> out;
    const std::pair<Look, const char*> looks[] = {
        {Look::Normal, "normal"}, {Look::Hover, "hover"}, {Look::Pressed, "pressed"}};
    for (const Button& button : Buttons()) {
        for (const auto& [eLook, pszLook] : looks) {
            out.push_back({button.strName + "_" + pszLook, DrawButton(button, eLook)});
        }
    }
    out.push_back({"239", LanguagePill(QStringLiteral("ZH"))});
    out.push_back({"287", LanguagePill(QStringLiteral("EN"))});

    out.push_back({"control_bar", ControlBar()});
    out.push_back({"pane_bar", PaneBar()});
    out.push_back({"status_bar", StatusBar()});
    out.push_back({"float_panel",
                   VerticalGradient({1, 26}, QColor(36, 39, 45, 235), QColor(24, 26, 30, 235))});
    out.push_back({"caption", Caption()});
    out.push_back({"caption_under", Strip({1, 4}, false)});
    out.push_back({"border_left", Strip({4, 1}, true)});
    out.push_back({"border_right", Strip({4, 1}, false)});
    out.push_back({"border_bottom", Strip({1, 4}, false)});
    out.push_back({"logo", Logo()});

    // Cut panel: close button (178 normal, 179 hover, 180 pressed), markers
    // 300 and 301, trimming buttons 302 (earlier) and 303 (later).
    const Button cutClose{"", "caption_close", {18, 18}, Shape::CaptionClose, false, true};
    out.push_back({"178", DrawButton(cutClose, Look::Normal)});
    out.push_back({"179", DrawButton(cutClose, Look::Hover)});
    out.push_back({"180", DrawButton(cutClose, Look::Pressed)});
    out.push_back({"300", CutMarker(true)});
    out.push_back({"301", CutMarker(false)});
    out.push_back(
        {"302", DrawButton({"", "frame_back", {18, 18}, Shape::Flat, false, true}, Look::Normal)});
    out.push_back({"303", DrawButton({"", "frame_forward", {18, 18}, Shape::Flat, false, true},
                                     Look::Normal)});

    out.push_back({"volume_channel", Groove({70, 8}, 4, kGroove, true)});
    out.push_back({"volume_channel_active", ActiveGroove({70, 8}, 4, true)});
    out.push_back({"volume_thumb", Thumb({8, 8}, false)});
    out.push_back({"volume_thumb_active", Thumb({8, 8}, true)});
    out.push_back({"progress_channel", Groove({764, 10}, 4, kGroove, true)});
    out.push_back({"progress_channel_active", ActiveGroove({764, 10}, 4, true)});
    out.push_back({"progress_channel_left", GrooveCap(true)});
    out.push_back({"progress_channel_middle", Groove({1, 10}, 4, kGroove, false)});
    out.push_back({"progress_channel_right", GrooveCap(false)});
    // Stretched from one pixel below the control's top, so its groove sits one row higher.
    out.push_back({"progress_channel_active_piece", ActiveGroove({1, 8}, 4, false)});
    // Colour sliders: 131 lightness, 133 hue, 134 contrast, 135 saturation.
    out.push_back({"131", ColourChannel({QColor(0, 0, 0), QColor(255, 255, 255)})});
    out.push_back({"133", ColourChannel({QColor(255, 0, 0), QColor(255, 255, 0), QColor(0, 255, 0),
                                         QColor(0, 255, 255), QColor(0, 0, 255),
                                         QColor(255, 0, 255), QColor(255, 0, 0)})});
    out.push_back(
        {"134", ColourChannel({QColor(128, 128, 128), QColor(0, 0, 0), QColor(255, 255, 255)})});
    out.push_back({"135", ColourChannel({QColor(128, 128, 128), QColor(230, 40, 40)})});
    out.push_back({"progress_thumb", Thumb({10, 10}, false)});
    out.push_back({"progress_thumb_active", Thumb({10, 10}, true)});
    AddRulerPictures(out);
    return out;
}

// Every picture on a control-bar coloured sheet, magnified, for looking them over.
QImage ContactSheet(const std::vector<Output>& pictures) {
    constexpr int kScale = 3, kCell = 60 * kScale / 2, kColumns = 12;
    const int nRows = (int(pictures.size()) + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCell, nRows * kCell, QImage::Format_RGB32);
    sheet.fill(QColor(38, 41, 47));
    QPainter p(&sheet);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const QImage& image = pictures[i].image;
        QSize shown = image.size() * kScale;
        if (shown.width() > kCell - 4) shown.scale(kCell - 4, kCell - 4, Qt::KeepAspectRatio);
        const int x = int(i % kColumns) * kCell + (kCell - shown.width()) / 2;
        const int y = int(i / kColumns) * kCell + (kCell - shown.height()) / 2;
        p.drawImage(QRect(QPoint(x, y), shown), image);
    }
    return sheet;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [CONTACT_SHEET.png]\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    size_t nWritten = 0;
    for (const int nScale : {1, 2}) {
        g_nScale = nScale;
        const QString strSuffix = nScale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        const std::vector<Output> pictures = AllPictures();
        for (const Output& picture : pictures) {
            const QString strPath = folder.filePath(picture.strName + strSuffix);
            if (!picture.image.save(strPath)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(strPath));
                return 1;
            }
        }
        nWritten += pictures.size();
        if (nScale == 1 && argc == 3 &&
            !ContactSheet(pictures).save(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
    }
    std::printf("%zu pictures written\n", nWritten);
    return 0;
}
