// What the library promises whatever the picture: modules off leave it
// alone, bad input is refused, handles are checked, and parameters map
// monotonically onto the filters' strengths.

#include <gtest/gtest.h>

#include <vector>

#include "lumora_test_support.h"
#include "param_mapping.h"

using namespace lumoratest;

TEST(LibraryContract, NoModuleOrANeutralLensLeavesThePictureByteForByte) {
    const Picture plain = SamplePicture();
    Enhancer enhancer;
    LumoraParams p{};
    p.nBright = 255;
    p.nDenoiseLevel = 255;
    p.nLensWarp = 200;
    Picture untouched = plain;
    ASSERT_EQ(enhancer.Run(p, &untouched), LUMORA_OK);
    EXPECT_TRUE(untouched == plain);

    // After a module was on and off again, too.
    Picture once = plain;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_ALL_MODULES), &once), LUMORA_OK);
    EXPECT_FALSE(once == plain);
    Picture again = plain;
    ASSERT_EQ(enhancer.Run(LUMORA_DefaultParams(), &again), LUMORA_OK);
    EXPECT_TRUE(again == plain);

    Picture lens = plain;
    ASSERT_EQ(enhancer.Run(Only(LUMORA_LENS), &lens), LUMORA_OK);
    EXPECT_TRUE(lens == plain);
}

TEST(LibraryContract, EveryModuleTogetherOnOddSizesStaysInsideThePlanes) {
    Enhancer enhancer;
    LumoraParams p = Only(LUMORA_ALL_MODULES);
    p.nLensWarp = -100;
    p.nBright = 40;
    for (const auto& [w, h, full] : std::vector<std::tuple<int, int, bool>>{
             {161, 121, false}, {2, 2, false}, {3, 97, true}, {704, 576, false}}) {
        Picture picture = FromRgb(w, h, [](int x, int y, double* rgb) {
            rgb[0] = (x * 7) % 256;
            rgb[1] = (y * 5) % 256;
            rgb[2] = ((x + y) * 3) % 256;
        });
        picture.fullRange = full;
        const Picture before = picture;
        ASSERT_EQ(enhancer.Run(p, &picture), LUMORA_OK) << w << "x" << h;
        EXPECT_TRUE(picture.PaddingIntact()) << w << "x" << h;
        if (w > 8) {
            EXPECT_FALSE(picture == before) << w << "x" << h;
        }
    }
}

TEST(LibraryContract, BadHandlesPointersAndPicturesAreRefusedAndLeaveThePicture) {
    int32_t handle = 0;
    EXPECT_EQ(LUMORA_Create(nullptr), LUMORA_ERR_NULL_POINTER);
    const LumoraParams p = Only(LUMORA_ADJUST);
    Picture picture(64, 48);
    for (int32_t bad : {0, -1, 65, 1000}) {
        EXPECT_EQ(LUMORA_SetParams(bad, &p), LUMORA_ERR_BAD_HANDLE);
        EXPECT_EQ(LUMORA_Process(bad, picture.Image()), LUMORA_ERR_BAD_HANDLE);
        EXPECT_EQ(LUMORA_ResetHistory(bad), LUMORA_ERR_BAD_HANDLE);
        EXPECT_EQ(LUMORA_Destroy(bad), LUMORA_ERR_BAD_HANDLE);
    }
    ASSERT_EQ(LUMORA_Create(&handle), LUMORA_OK);
    EXPECT_EQ(LUMORA_SetParams(handle, nullptr), LUMORA_ERR_NULL_POINTER);
    EXPECT_EQ(LUMORA_Process(handle, nullptr), LUMORA_ERR_NULL_POINTER);
    ASSERT_EQ(LUMORA_SetParams(handle, &p), LUMORA_OK);

    const Picture before = picture;
    LumoraImage tiny = *picture.Image();
    tiny.nWidth = 1;
    EXPECT_EQ(LUMORA_Process(handle, &tiny), LUMORA_ERR_BAD_PICTURE);
    LumoraImage huge = *picture.Image();
    huge.nHeight = LUMORA_MAX_SIDE + 1;
    EXPECT_EQ(LUMORA_Process(handle, &huge), LUMORA_ERR_BAD_PICTURE);
    LumoraImage noPlane = *picture.Image();
    noPlane.pPlane[2] = nullptr;
    EXPECT_EQ(LUMORA_Process(handle, &noPlane), LUMORA_ERR_BAD_PICTURE);
    LumoraImage narrow = *picture.Image();
    narrow.nStride[0] = 10;
    EXPECT_EQ(LUMORA_Process(handle, &narrow), LUMORA_ERR_BAD_PICTURE);
    EXPECT_TRUE(picture == before);

    ASSERT_EQ(LUMORA_Destroy(handle), LUMORA_OK);
    EXPECT_EQ(LUMORA_Process(handle, picture.Image()), LUMORA_ERR_BAD_HANDLE);
    EXPECT_EQ(LUMORA_Destroy(handle), LUMORA_ERR_BAD_HANDLE);
}

TEST(LibraryContract, HandlesRunOutCleanlyAndComeBackWhenDestroyed) {
    std::vector<int32_t> handles;
    int32_t handle = 0;
    while (LUMORA_Create(&handle) == LUMORA_OK) handles.push_back(handle);
    EXPECT_EQ(handles.size(), static_cast<size_t>(LUMORA_MAX_HANDLES));
    EXPECT_EQ(LUMORA_Create(&handle), LUMORA_ERR_NO_HANDLE);
    ASSERT_EQ(LUMORA_Destroy(handles[5]), LUMORA_OK);
    ASSERT_EQ(LUMORA_Create(&handle), LUMORA_OK);
    EXPECT_EQ(handle, handles[5]);
    for (int32_t h : handles) EXPECT_EQ(LUMORA_Destroy(h), LUMORA_OK);
}

TEST(LibraryContract, OutOfRangeValuesAreClampedAndEachStrengthIsMonotonic) {
    LumoraParams wild{};
    wild.nModules = 0x1FF;
    wild.nBright = 999;
    wild.nSharpenRadius = 0;
    wild.nDeblockLevel = -5;
    const LumoraParams c = lumora::ClampParams(wild);
    EXPECT_EQ(c.nModules, 0xFF);
    EXPECT_EQ(c.nBright, 255);
    EXPECT_EQ(c.nSharpenRadius, 1);
    EXPECT_EQ(c.nDeblockLevel, 0);

    // Walk each parameter over its range; its strength never turns back.
    auto monotonic = [](int low, int high, auto strength) {
        double last = strength(low);
        for (int v = low + 1; v <= high; ++v) {
            const double next = strength(v);
            if (next < last) return false;
            last = next;
        }
        return strength(high) > strength(low);
    };
    auto with = [](int32_t LumoraParams::*field, int value) {
        LumoraParams p = LUMORA_DefaultParams();
        p.*field = value;
        return p;
    };
    using P = LumoraParams;
    EXPECT_TRUE(monotonic(-255, 255,
                          [&](int v) { return lumora::EqFor(with(&P::nBright, v)).brightness; }));
    EXPECT_TRUE(monotonic(-256, 255,
                          [&](int v) { return lumora::EqFor(with(&P::nContrast, v)).contrast; }));
    EXPECT_TRUE(monotonic(
        -256, 255, [&](int v) { return lumora::EqFor(with(&P::nSaturation, v)).saturation; }));
    EXPECT_TRUE(monotonic(
        0, 100, [&](int v) { return lumora::RetinexFor(with(&P::nEhanScale, v)).surround; }));
    EXPECT_TRUE(monotonic(
        -256, 255, [&](int v) { return lumora::RetinexFor(with(&P::nEhanGain, v)).contrast; }));
    EXPECT_TRUE(monotonic(
        -255, 255, [&](int v) { return lumora::RetinexFor(with(&P::nEhanOffset, v)).offset; }));
    EXPECT_TRUE(monotonic(
        -256, 255, [&](int v) { return lumora::RetinexFor(with(&P::nEhanColor, v)).colour; }));
    EXPECT_TRUE(monotonic(
        0, 255, [&](int v) { return lumora::DehazeFor(with(&P::nDehazeLevel, v)).strength; }));
    EXPECT_TRUE(monotonic(0, 255, [&](int v) {
        return lumora::DehazeFor(with(&P::nDehazeTransmission, v)).minTransmission;
    }));
    EXPECT_TRUE(
        monotonic(0, 255, [&](int v) { return lumora::DehazeFor(with(&P::nDehazeGain, v)).gain; }));
    EXPECT_TRUE(monotonic(
        0, 255, [&](int v) { return lumora::DenoiseFor(with(&P::nDenoiseLevel, v)).lumaSpatial; }));
    EXPECT_TRUE(monotonic(
        0, 255, [&](int v) { return lumora::SharpenFor(with(&P::nSharpenLevel, v)).amount256; }));
    EXPECT_TRUE(monotonic(
        1, 15, [&](int v) { return lumora::SharpenFor(with(&P::nSharpenRadius, v)).radius; }));
    EXPECT_TRUE(monotonic(
        0, 100, [&](int v) { return lumora::DeblockFor(with(&P::nDeblockLevel, v)).alpha; }));
    EXPECT_TRUE(
        monotonic(-256, 255, [&](int v) { return lumora::LensFor(with(&P::nLensWarp, v)).k; }));
    EXPECT_TRUE(
        monotonic(-256, 255, [&](int v) { return lumora::LensFor(with(&P::nLensZoom, v)).zoom; }));
    // Zero is neutral for the adjustment.
    const lumora::EqValues neutral = lumora::EqFor(LUMORA_DefaultParams());
    EXPECT_EQ(neutral.brightness, 0.0);
    EXPECT_EQ(neutral.contrast, 1.0);
    EXPECT_EQ(neutral.saturation, 1.0);
}
