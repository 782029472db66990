#include <gtest/gtest.h>

#include "playback/pane_layout.h"

namespace {
int64_t Area(const QRect& r) { return int64_t(r.width()) * r.height(); }
}  // namespace

TEST(PaneLayout, OddSizeInFourPanesGivesTheExtraPixelToFirstColumnAndRow) {
    const auto panes = LayoutPanes(4, false, 0, 641, 481);
    ASSERT_EQ(panes.size(), 4u);
    EXPECT_EQ(panes[0].rect, QRect(0, 0, 321, 241));
    EXPECT_EQ(panes[1].rect, QRect(321, 0, 320, 241));
    EXPECT_EQ(panes[2].rect, QRect(0, 241, 321, 240));
    EXPECT_EQ(panes[3].rect, QRect(321, 241, 320, 240));
}

TEST(PaneLayout, GridsCoverTheAreaExactlyWithoutOverlap) {
    for (int nLayout : {4, 9, 16}) {
        for (QSize size : {QSize(641, 481), QSize(800, 600), QSize(7, 5), QSize(1003, 17)}) {
            const auto panes = LayoutPanes(nLayout, false, 0, size.width(), size.height());
            ASSERT_EQ(static_cast<int>(panes.size()), nLayout);
            int64_t nTotal = 0;
            for (size_t i = 0; i < panes.size(); ++i) {
                EXPECT_EQ(panes[i].nIndex, static_cast<int>(i));
                EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(panes[i].rect));
                nTotal += Area(panes[i].rect);
                for (size_t j = i + 1; j < panes.size(); ++j) {
                    EXPECT_FALSE(panes[i].rect.intersects(panes[j].rect))
                        << nLayout << " panes " << i << "," << j;
                }
            }
            EXPECT_EQ(nTotal, int64_t(size.width()) * size.height()) << nLayout;
        }
    }
    // 16 panes over 803 pixels: three columns of 201, then 200.
    const auto panes = LayoutPanes(16, false, 0, 803, 600);
    EXPECT_EQ(panes[2].rect, QRect(402, 0, 201, 150));
    EXPECT_EQ(panes[3].rect, QRect(603, 0, 200, 150));
}

TEST(PaneLayout, OnePaneAndEnlargedViewFillTheAreaOtherLayoutsPlaceNothing) {
    auto panes = LayoutPanes(1, true, 5, 300, 200);
    ASSERT_EQ(panes.size(), 1u);
    EXPECT_EQ(panes[0].nIndex, 0);
    EXPECT_EQ(panes[0].rect, QRect(0, 0, 300, 200));

    panes = LayoutPanes(9, true, 7, 300, 200);
    ASSERT_EQ(panes.size(), 1u);
    EXPECT_EQ(panes[0].nIndex, 7);
    EXPECT_EQ(panes[0].rect, QRect(0, 0, 300, 200));

    EXPECT_TRUE(LayoutPanes(2, false, 0, 300, 200).empty());
    EXPECT_TRUE(LayoutPanes(0, false, 0, 300, 200).empty());
    EXPECT_TRUE(LayoutPanes(25, false, 0, 300, 200).empty());
}

TEST(PaneLayout, PointFindsItsCellOrNone) {
    EXPECT_EQ(PaneIndexAt(1, 100, 100, QPoint(500, 500)), 0);
    EXPECT_EQ(PaneIndexAt(4, 641, 481, QPoint(320, 240)), 0);
    EXPECT_EQ(PaneIndexAt(4, 641, 481, QPoint(321, 240)), 1);
    EXPECT_EQ(PaneIndexAt(4, 641, 481, QPoint(321, 241)), 3);
    EXPECT_EQ(PaneIndexAt(16, 400, 400, QPoint(399, 399)), 15);
    EXPECT_EQ(PaneIndexAt(9, 300, 300, QPoint(150, 150)), 4);
    EXPECT_EQ(PaneIndexAt(4, 641, 481, QPoint(641, 10)), -1);
    EXPECT_EQ(PaneIndexAt(4, 641, 481, QPoint(-1, 10)), -1);
    EXPECT_EQ(PaneIndexAt(3, 641, 481, QPoint(1, 1)), -1);
}
