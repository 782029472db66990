#include <gtest/gtest.h>

#include <QTest>

#include "controls/my_static.h"
#include "wait_for.h"

namespace {

const QColor kTile(30, 30, 30);
constexpr auto kPainted = static_cast<QEvent::Type>(1069);

class PaintNotes : public QObject {
public:
    int m_nNotes = 0;

protected:
    bool event(QEvent* pEvent) override {
        if (pEvent->type() != kPainted) return QObject::event(pEvent);
        ++m_nNotes;
        return true;
    }
};

QPixmap Tile() {
    QPixmap tile(4, 4);
    tile.fill(kTile);
    return tile;
}

int CountNot(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) != colour;
    }
    return n;
}

TEST(MyStatic, TilesItsPictureAndDrawsTheTextSetThroughIt) {
    CMyStatic label;
    label.resize(100, 20);
    ASSERT_TRUE(label.SetBitmap(Tile()));
    EXPECT_EQ(CountNot(label.grab().toImage(), kTile), 0) << "tiled over the whole control";

    label.setWindowTitle(QStringLiteral("window"));
    EXPECT_EQ(label.GetText(), QStringLiteral("window"));
    label.SetText(QStringLiteral("Ready"));
    EXPECT_EQ(label.GetText(), QStringLiteral("Ready"));
    const QImage image = label.grab().toImage();
    EXPECT_GT(CountNot(image, kTile), 0);
    EXPECT_TRUE(image.pixelColor(1, 1) == kTile && image.pixelColor(98, 18) == kTile);
}

TEST(MyStatic, NothingIsDrawnWithoutAPicture) {
    CMyStatic label;
    label.resize(50, 20);
    label.SetTransparent(false, QColor(200, 0, 0));
    label.SetText(QStringLiteral("x"));
    QImage canvas(50, 20, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    label.render(&canvas, {}, {}, QWidget::DrawChildren);
    EXPECT_EQ(CountNot(canvas, QColor(Qt::transparent)), 0);
    EXPECT_FALSE(label.SetBitmap(QStringLiteral("no_such_picture")));
}

TEST(MyStatic, PostsTheNotifyMessageAfterEachPaint) {
    PaintNotes window;
    CMyStatic label;
    label.resize(60, 20);
    label.SetBitmap(Tile());
    label.SetNotify(&window, kPainted);
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    ASSERT_TRUE(WaitFor([&] { return window.m_nNotes >= 1; }));
    const int nNotes = window.m_nNotes;
    label.repaint();
    QCoreApplication::sendPostedEvents(&window);
    EXPECT_EQ(window.m_nNotes, nNotes + 1);
}

}  // namespace
