#include <gtest/gtest.h>

#include "playback/zoom_region.h"

namespace {
void ExpectInside(const ZoomRegion& r, int32_t nWidth, int32_t nHeight) {
    EXPECT_GE(r.rect.left, 0);
    EXPECT_GE(r.rect.top, 0);
    EXPECT_LE(r.rect.right, nWidth);
    EXPECT_LE(r.rect.bottom, nHeight);
}
}  // namespace

TEST(ZoomRegion, FullZoomShowsTheWholePictureWhereverTheCentreIs) {
    for (const auto& [cx, cy] : {std::pair{352, 288}, {0, 0}, {9999, -9999}}) {
        const ZoomRegion r = ComputeZoomRegion(704, 576, cx, cy, 100);
        EXPECT_EQ(r.rect.left, 0);
        EXPECT_EQ(r.rect.top, 0);
        EXPECT_EQ(r.rect.right, 704);
        EXPECT_EQ(r.rect.bottom, 576);
        EXPECT_EQ(r.cx, 352);
        EXPECT_EQ(r.cy, 288);
    }
}

TEST(ZoomRegion, DraggedRegionIsClampedToEachEdge) {
    // 200 %: a 352 x 288 window onto 704 x 576.
    ZoomRegion r = ComputeZoomRegion(704, 576, 700, 570, 200);
    EXPECT_EQ(r.rect.right, 704);
    EXPECT_EQ(r.rect.bottom, 576);
    EXPECT_EQ(r.rect.left, 352);
    EXPECT_EQ(r.rect.top, 288);
    EXPECT_EQ(r.cx, 528);
    EXPECT_EQ(r.cy, 432);

    r = ComputeZoomRegion(704, 576, -50, 3, 200);
    EXPECT_EQ(r.rect.left, 0);
    EXPECT_EQ(r.rect.top, 0);
    EXPECT_EQ(r.rect.right, 352);
    EXPECT_EQ(r.rect.bottom, 288);
    EXPECT_EQ(r.cx, 176);
    EXPECT_EQ(r.cy, 144);
}

TEST(ZoomRegion, EveryCentreAndZoomGivesARegionInsideThePicture) {
    for (int32_t nZoom = 100; nZoom <= 400; nZoom += 10) {
        for (int32_t cx = -800; cx <= 1600; cx += 97) {
            for (int32_t cy = -600; cy <= 1200; cy += 89) {
                const ZoomRegion r = ComputeZoomRegion(703, 479, cx, cy, nZoom);
                ExpectInside(r, 703, 479);
                EXPECT_EQ(r.rect.right - r.rect.left, 703 * 100 / nZoom);
                EXPECT_EQ(r.rect.bottom - r.rect.top, 479 * 100 / nZoom);
            }
        }
    }
}

TEST(ZoomRegion, ZoomBelowFullAndEmptyPicturesStayHarmless) {
    const ZoomRegion r = ComputeZoomRegion(704, 576, 352, 288, 0);
    EXPECT_EQ(r.rect.right, 704);
    EXPECT_EQ(r.rect.bottom, 576);
    const ZoomRegion empty = ComputeZoomRegion(0, 0, 10, 10, 200);
    EXPECT_EQ(empty.rect.right, 0);
    EXPECT_EQ(empty.rect.bottom, 0);
}
