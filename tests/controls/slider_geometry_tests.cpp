#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "controls/slider_geometry.h"

namespace {

// The volume slider: 70 pixels wide, an 8-pixel thumb, range 0..65535.
constexpr SliderTrack kVolume{70, 8, 0, 0, 0, 65535};

TEST(SliderGeometry, PositionMapsOntoTrackBetweenMargins) {
    EXPECT_EQ(SliderPosToPixel(kVolume, 0), 4);
    EXPECT_EQ(SliderPosToPixel(kVolume, 65535), 66);
    EXPECT_EQ(SliderPosToPixel(kVolume, 32767), 4 + 62 * 32767 / 65535);

    const SliderTrack margins{100, 10, 7, 3, 0, 80};  // travel 100 - 3 - 10 - 7 = 80
    EXPECT_EQ(SliderTravel(margins), 80);
    EXPECT_EQ(SliderPosToPixel(margins, 0), 12);
    EXPECT_EQ(SliderPosToPixel(margins, 80), 92);
    EXPECT_EQ(SliderPosToPixel(margins, 33), 45);
}

TEST(SliderGeometry, OutOfRangePositionsDrawAtTheEnds) {
    EXPECT_EQ(SliderPosToPixel(kVolume, -5), SliderPosToPixel(kVolume, 0));
    EXPECT_EQ(SliderPosToPixel(kVolume, 70000), SliderPosToPixel(kVolume, 65535));
    EXPECT_EQ(ClampSliderPos(-1, 0, 200), 0);
    EXPECT_EQ(ClampSliderPos(201, 0, 200), 200);
    EXPECT_EQ(ClampSliderPos(5, 10, 0), 10);  // inverted range: the minimum
}

TEST(SliderGeometry, PixelMapsBackTruncatingAndClamped) {
    const SliderTrack progress{764, 10, 0, 0, 0, 200};  // travel 754
    EXPECT_EQ(SliderPixelToPos(progress, 5), 0);
    EXPECT_EQ(SliderPixelToPos(progress, 5 + 754), 200);
    EXPECT_EQ(SliderPixelToPos(progress, 5 + 377), 100);  // exact half stays exact
    EXPECT_EQ(SliderPixelToPos(progress, 5 + 376), 99);   // 99.73 truncates
    EXPECT_EQ(SliderPixelToPos(progress, -50), 0);
    EXPECT_EQ(SliderPixelToPos(progress, 5000), 200);

    const SliderTrack offsetRange{110, 10, 0, 0, -100, 100};  // travel 100, span 200
    EXPECT_EQ(SliderPixelToPos(offsetRange, 5 + 50), 0);
    EXPECT_EQ(SliderPixelToPos(offsetRange, 5 + 1), -98);
}

TEST(SliderGeometry, MappingPreservesOrderAcrossTheTrack) {
    const SliderTrack progress{800, 10, 2, 2, 0, 200};
    int nLastPos = SliderPixelToPos(progress, 0);
    for (int nPixel = 0; nPixel <= 800; ++nPixel) {
        const int nPos = SliderPixelToPos(progress, nPixel);
        ASSERT_GE(nPos, nLastPos) << nPixel;
        // The thumb drawn for that position never lies right of the pixel it came from.
        ASSERT_LE(SliderPosToPixel(progress, nPos),
                  std::max(nPixel, SliderPosToPixel(progress, 0)));
        nLastPos = nPos;
    }
    EXPECT_EQ(nLastPos, 200);
}

TEST(SliderGeometry, EmptyRangeOrNoTravelNeverDivides) {
    const SliderTrack emptyRange{100, 10, 0, 0, 7, 7};  // the progress slider in sync mode
    EXPECT_EQ(SliderPosToPixel(emptyRange, 7), 5);
    EXPECT_EQ(SliderPixelToPos(emptyRange, 60), 7);

    const SliderTrack tooSmall{8, 10, 0, 0, 0, 100};  // narrower than its thumb
    EXPECT_EQ(SliderPosToPixel(tooSmall, 50), 5);
    EXPECT_EQ(SliderPixelToPos(tooSmall, 60), 0);
    EXPECT_EQ(ClampSliderPixel(tooSmall, 60), 5);
}

TEST(SliderGeometry, ExtremeRangesDoNotOverflow) {
    const SliderTrack wide{1000, 10, 0, 0, INT_MIN, INT_MAX};
    EXPECT_EQ(SliderPosToPixel(wide, INT_MIN), 5);
    EXPECT_EQ(SliderPosToPixel(wide, INT_MAX), 995);
    EXPECT_EQ(SliderPixelToPos(wide, 995), INT_MAX);
    EXPECT_EQ(SliderPixelToPos(wide, 5), INT_MIN);
    const int nMiddle = SliderPixelToPos(wide, 500);
    EXPECT_NEAR(double(nMiddle), 0.0, double(INT_MAX) / 900);
}

TEST(SliderGeometry, DragKeepsGripOnThumbAndJumpsBesideIt) {
    const SliderTrack track{110, 10, 0, 0, 0, 100};  // thumb centre of 50 at 55
    EXPECT_EQ(SliderDragOffset(track, 50, 58), 3);
    EXPECT_EQ(SliderDragOffset(track, 50, 50), -5);  // edge of the thumb still grips
    EXPECT_EQ(SliderDragOffset(track, 50, 61), 0);   // beside it: the thumb jumps
    EXPECT_EQ(ClampSliderPixel(track, -3), 5);
    EXPECT_EQ(ClampSliderPixel(track, 200), 105);
    EXPECT_EQ(ClampSliderPixel(track, 40), 40);
}

}  // namespace
