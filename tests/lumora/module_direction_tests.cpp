// Each module moves a picture the way it should, measured on its pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "lumora_test_support.h"

using namespace lumoratest;

namespace {

// The picture with its red, green and blue scaled and then mixed with a
// flat light: rgb * gain * t + light * (1 - t).
Picture Transformed(const Picture& source, const double gain[3], double t, double light) {
    return FromRgb(source.width, source.height, [&](int x, int y, double* rgb) {
        RgbAt(source, x, y, rgb);
        for (int c = 0; c < 3; ++c) rgb[c] = rgb[c] * gain[c] * t + light * (1 - t);
    });
}

double ChannelSpread(const Picture& picture) {
    double means[3];
    ChannelMeans(picture, means);
    return *std::max_element(means, means + 3) - *std::min_element(means, means + 3);
}

double RmsLumaDifference(const Picture& a, const Picture& b) {
    double sum = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) sum += std::pow(a.Y(x, y) - b.Y(x, y), 2);
    return std::sqrt(sum / (a.width * a.height));
}

// Mean luma step across vertical edges at columns x (x % 8 == 0), and elsewhere.
void Steps(const Picture& p, double* atEdges, double* inside) {
    double edge = 0, other = 0;
    int edges = 0, others = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 1; x < p.width; ++x) {
            const int step = std::abs(p.Y(x, y) - p.Y(x - 1, y));
            if (x % 8 == 0) {
                edge += step;
                ++edges;
            } else {
                other += step;
                ++others;
            }
        }
    }
    *atEdges = edge / edges;
    *inside = other / others;
}

// Column of the brightest pixel of row y.
int BrightestColumn(const Picture& p, int y) {
    int best = 0;
    for (int x = 1; x < p.width; ++x)
        if (p.Y(x, y) > p.Y(best, y)) best = x;
    return best;
}

}  // namespace

TEST(ModuleDirection, AdjustmentMovesBrightnessContrastAndSaturation) {
    const Picture plain = SamplePicture();
    Enhancer enhancer;
    LumoraParams p = Only(LUMORA_ADJUST);

    p.nBright = 128;
    Picture brighter = plain;
    ASSERT_EQ(enhancer.Run(p, &brighter), LUMORA_OK);
    EXPECT_GT(MeanLuma(brighter), MeanLuma(plain) + 20);
    p.nBright = -128;
    Picture darker = plain;
    ASSERT_EQ(enhancer.Run(p, &darker), LUMORA_OK);
    EXPECT_LT(MeanLuma(darker), MeanLuma(plain) - 20);

    p.nBright = 0;
    p.nContrast = 128;
    Picture contrast = plain;
    ASSERT_EQ(enhancer.Run(p, &contrast), LUMORA_OK);
    EXPECT_GT(LumaDeviation(contrast), LumaDeviation(plain) * 1.3);
    p.nContrast = -128;
    Picture flat = plain;
    ASSERT_EQ(enhancer.Run(p, &flat), LUMORA_OK);
    EXPECT_LT(LumaDeviation(flat), LumaDeviation(plain) * 0.7);

    p.nContrast = 0;
    p.nSaturation = -256;
    Picture grey = plain;
    ASSERT_EQ(enhancer.Run(p, &grey), LUMORA_OK);
    for (int i = 1; i < 3; ++i) {
        for (int y = 0; y < grey.height / 2; ++y)
            for (int x = 0; x < grey.width / 2; ++x)
                ASSERT_NEAR(grey.planes[i][static_cast<size_t>(y) * grey.strides[i] + x], 128, 1);
    }
}

TEST(ModuleDirection, DenoiseAtHalfStrengthLowersTheNoiseOfANoisySequenceByThirtyPercent) {
    const Picture clean = SamplePicture();
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 10.0);
    Enhancer enhancer;
    LumoraParams p = Only(LUMORA_DENOISE);
    p.nDenoiseLevel = 128;
    double before = 0, after = 0;
    for (int frame = 0; frame < 6; ++frame) {
        Picture noisy = clean;
        for (int y = 0; y < clean.height; ++y)
            for (int x = 0; x < clean.width; ++x)
                noisy.Y(x, y) = static_cast<uint8_t>(
                    std::clamp<long>(std::lround(clean.Y(x, y) + noise(random)), 0, 255));
        before = RmsLumaDifference(noisy, clean);
        ASSERT_EQ(enhancer.Run(p, &noisy), LUMORA_OK);
        after = RmsLumaDifference(noisy, clean);
    }
    EXPECT_LT(after, before * 0.7) << "noise " << before << " -> " << after;
}

TEST(ModuleDirection, SharpenRaisesHighFrequenciesAboveItsThresholdOnly) {
    const Picture plain = SamplePicture();
    Enhancer enhancer;
    LumoraParams p = Only(LUMORA_SHARPEN);
    p.nSharpenLevel = 200;
    Picture sharp = plain;
    ASSERT_EQ(enhancer.Run(p, &sharp), LUMORA_OK);
    EXPECT_GT(HighFrequency(sharp), HighFrequency(plain) * 1.3);

    p.nSharpenThreshold = 255;  // no difference exceeds it
    Picture untouched = plain;
    ASSERT_EQ(enhancer.Run(p, &untouched), LUMORA_OK);
    EXPECT_TRUE(untouched == plain);
}

TEST(ModuleDirection, DehazeLowersTheDarkChannelAndRaisesContrastOfAHazedPicture) {
    const double neutral[3] = {1, 1, 1};
    const Picture hazed = Transformed(SamplePicture(), neutral, 0.45, 225);
    Enhancer enhancer;
    Picture clear = hazed;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_DEHAZE), &clear), LUMORA_OK);
    EXPECT_LT(MeanDarkChannel(clear), MeanDarkChannel(hazed) * 0.7);
    EXPECT_GT(LumaDeviation(clear), LumaDeviation(hazed) * 1.4);

    // A higher level removes more.
    LumoraParams weak = Only(LUMORA_DEHAZE);
    weak.nDehazeLevel = 80;
    Enhancer other;
    Picture partly = hazed;
    ASSERT_EQ(other.Run(weak, &partly), LUMORA_OK);
    EXPECT_GT(MeanDarkChannel(partly), MeanDarkChannel(clear));
}

TEST(ModuleDirection, RetinexBrightensAndSpreadsADarkPicture) {
    const double dim[3] = {0.25, 0.25, 0.25};
    const Picture dark = Transformed(SamplePicture(), dim, 1, 0);
    Enhancer enhancer;
    Picture lit = dark;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_RETINEX), &lit), LUMORA_OK);
    EXPECT_GT(MeanLuma(lit), MeanLuma(dark) + 30);
    EXPECT_GT(LumaDeviation(lit), LumaDeviation(dark) * 1.5);

    LumoraParams brighter = Only(LUMORA_RETINEX);
    brighter.nEhanOffset = 100;
    Picture offset = dark;
    ASSERT_EQ(enhancer.Run(brighter, &offset), LUMORA_OK);
    EXPECT_GT(MeanLuma(offset), MeanLuma(lit) + 20);
}

TEST(ModuleDirection, ColourBalanceEqualisesTheChannelMeansOfACastPicture) {
    const double cast[3] = {1.0, 0.8, 0.55};
    const Picture warm = Transformed(SamplePicture(), cast, 1, 0);
    Enhancer enhancer;
    Picture balanced = warm;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_COLOR_BALANCE), &balanced), LUMORA_OK);
    EXPECT_LT(ChannelSpread(balanced), ChannelSpread(warm) * 0.35)
        << ChannelSpread(warm) << " -> " << ChannelSpread(balanced);

    // A picture whose channels are balanced already stays as it is.
    const Picture neutral = FromRgb(161, 121, [](int x, int y, double* rgb) {
        rgb[0] = rgb[1] = rgb[2] = 40 + (x + y) % 170;
    });
    Picture kept = neutral;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_COLOR_BALANCE), &kept), LUMORA_OK);
    for (int i = 0; i < 3; ++i) {
        for (size_t k = 0; k < kept.planes[i].size(); ++k) {
            ASSERT_NEAR(kept.planes[i][k], neutral.planes[i][k], 1) << "plane " << i;
        }
    }
}

TEST(ModuleDirection, LensWarpBendsAStraightLineAndZoomMovesItOutwards) {
    const Picture grid = FromRgb(320, 240, [](int x, int, double* rgb) {
        rgb[0] = rgb[1] = rgb[2] = (x == 280 || x == 281) ? 255 : 0;
    });
    ASSERT_EQ(BrightestColumn(grid, 0), BrightestColumn(grid, 120));
    Enhancer enhancer;
    LumoraParams p = Only(LUMORA_LENS);
    p.nLensWarp = -200;
    Picture warped = grid;
    ASSERT_EQ(enhancer.Run(p, &warped), LUMORA_OK);
    EXPECT_GT(std::abs(BrightestColumn(warped, 10) - BrightestColumn(warped, 120)), 3);

    p.nLensWarp = 0;
    p.nLensZoom = 100;
    Picture zoomed = grid;
    ASSERT_EQ(enhancer.Run(p, &zoomed), LUMORA_OK);
    EXPECT_GT(BrightestColumn(zoomed, 120), 290);
    EXPECT_EQ(BrightestColumn(zoomed, 10), BrightestColumn(zoomed, 120));
}

TEST(ModuleDirection, DeblockLowersTheStepsAtBlockEdgesOfAHeavilyQuantisedPicture) {
    // Keeping only each 8x8 block's mean is what a very coarse quantiser does.
    Picture blocky = SamplePicture();
    for (int by = 0; by < blocky.height; by += 8) {
        for (int bx = 0; bx < blocky.width; bx += 8) {
            int sum = 0;
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x) sum += blocky.Y(x, y);
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x) blocky.Y(x, y) = static_cast<uint8_t>(sum / 64);
        }
    }
    double edgesBefore, insideBefore, edgesAfter, insideAfter;
    Steps(blocky, &edgesBefore, &insideBefore);
    ASSERT_EQ(insideBefore, 0.0);
    Enhancer enhancer;
    Picture smoothed = blocky;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_DEBLOCK), &smoothed), LUMORA_OK);
    Steps(smoothed, &edgesAfter, &insideAfter);
    EXPECT_LT(edgesAfter, edgesBefore * 0.7) << edgesBefore << " -> " << edgesAfter;
}
