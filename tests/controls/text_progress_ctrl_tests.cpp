#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "controls/text_progress_ctrl.h"

namespace {

const QColor kBar(0, 0, 255);
const QColor kBack(255, 255, 0);

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int m_nPaints = 0;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Paint) ++m_nPaints;
        return false;
    }
};

class TextProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_bar.resize(200, 20);
        m_bar.SetBarColor(kBar);
        m_bar.SetTextColor(kBar);
        m_bar.SetBgColor(kBack);
        m_bar.SetTextBkColor(kBack);
        m_bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_bar));
        m_bar.installEventFilter(&m_counter);
    }

    // Counts pixels of the colour within x in [x0, x1).
    int Count(const QImage& image, QColor colour, int x0, int x1) const {
        return CountIf(image, x0, x1, [&](QColor pixel) { return pixel == colour; });
    }

    template <typename Test>
    int CountIf(const QImage& image, int x0, int x1, Test test) const {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = x0; x < x1; ++x) n += test(image.pixelColor(x, y));
        }
        return n;
    }

    CTextProgressCtrl m_bar;
    PaintCounter m_counter;
};

TEST_F(TextProgressTest, HalfwayShowsFiftyPercentInBothColours) {
    m_bar.SetPos(50);
    const QImage image = m_bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(10, 1), kBar);
    EXPECT_EQ(image.pixelColor(190, 1), kBack);
    // The text straddles the edge: it shows in the background colour (much red)
    // over the bar and in the bar colour (much blue) over the background.
    EXPECT_GT(CountIf(image, 70, 100, [](QColor c) { return c.red() > 128; }), 10);
    EXPECT_GT(CountIf(image, 100, 130, [](QColor c) { return c.blue() > 128; }), 10);
    EXPECT_EQ(Count(image, kBar, 0, 70), 70 * 20) << "no text far from the middle";
    EXPECT_EQ(Count(image, kBack, 130, 200), 70 * 20);

    m_bar.SetShowText(false);
    EXPECT_EQ(Count(m_bar.grab().toImage(), kBar, 0, 100), 100 * 20);
}

TEST_F(TextProgressTest, RepaintsOnlyWhenTheFilledWidthChanges) {
    m_bar.SetRange(0, 1000);
    EXPECT_EQ(m_bar.SetPos(500), 0);
    const int nAfterFirst = m_counter.m_nPaints;
    EXPECT_GE(nAfterFirst, 1) << "a change repaints at once";
    EXPECT_EQ(m_bar.SetPos(500), 500);
    EXPECT_EQ(m_bar.SetPos(502), 500);  // 100.4 px: same width
    EXPECT_EQ(m_counter.m_nPaints, nAfterFirst);
    m_bar.SetPos(510);
    EXPECT_EQ(m_counter.m_nPaints, nAfterFirst + 1);
}

TEST_F(TextProgressTest, OwnTextReplacesThePercentage) {
    m_bar.SetPos(50);
    const QImage percent = m_bar.grab().toImage();
    m_bar.SetWindowText(QStringLiteral("Merging"));
    EXPECT_EQ(m_bar.GetWindowText(), QStringLiteral("Merging"));
    EXPECT_NE(m_bar.grab().toImage(), percent);
    m_bar.SetWindowText(QString());
    EXPECT_EQ(m_bar.grab().toImage(), percent);
}

TEST_F(TextProgressTest, EmptyRangeDrawsNoBar) {
    m_bar.SetRange(5, 5);
    m_bar.SetPos(5);
    const QImage image = m_bar.grab().toImage();
    EXPECT_EQ(Count(image, kBar, 0, 200) + Count(image, kBack, 0, 200), 0);
}

}  // namespace
