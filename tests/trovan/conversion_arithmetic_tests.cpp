#include <gtest/gtest.h>

#include <vector>

#include "conversion_settings.h"
#include "frame_pacer.h"
#include "picture_fit.h"
#include "player_params.h"
#include "sound_placement.h"

namespace {

using trovan::FramePacer;

// The source picture each output place shows, for pictures at `fps` numbered from 0.
std::vector<int> Shown(FramePacer& pacer, double fps, int pictures, double startUs = 0) {
    std::vector<int> shown;
    int previous = -1;
    for (int k = 0; k < pictures; ++k) {
        const auto place = pacer.Place(static_cast<int64_t>(startUs + k * 1e6 / fps));
        for (int64_t r = 0; r < place.repeatsOfPrevious; ++r) shown.push_back(previous);
        if (place.keep) {
            shown.push_back(k);
            previous = k;
        }
    }
    EXPECT_EQ(static_cast<int64_t>(shown.size()), pacer.Next());
    return shown;
}

TEST(FramePacer, SameRatePassesEveryPictureOnce) {
    FramePacer pacer(25, 1);
    const std::vector<int> shown = Shown(pacer, 25, 100);
    for (int n = 0; n < 100; ++n) ASSERT_EQ(shown[n], n);
}

TEST(FramePacer, FasterSourceDropsAndSlowerRepeatsTheNearestPicture) {
    FramePacer down(25, 1);
    const std::vector<int> fromThirty = Shown(down, 30, 300);  // ten seconds
    EXPECT_NEAR(fromThirty.size(), 250u, 1u);
    FramePacer up(25, 1);
    const std::vector<int> fromTwelve = Shown(up, 12.5, 125);
    EXPECT_NEAR(fromTwelve.size(), 250u, 2u);
    for (size_t n = 0; n < fromThirty.size(); ++n) {
        EXPECT_LE(std::abs(fromThirty[n] - n * 30.0 / 25), 1.0) << n;
    }
    for (size_t n = 0; n < fromTwelve.size(); ++n) {
        EXPECT_LE(std::abs(fromTwelve[n] - n * 12.5 / 25), 1.0) << n;
        if (n > 0) {
            EXPECT_GE(fromTwelve[n], fromTwelve[n - 1]);
        }
    }
}

TEST(FramePacer, GapInTheSourceIsFilledAndLateStartDoesNotInventPictures) {
    FramePacer pacer(25, 1);
    // Output starts with the first picture, whatever its time.
    EXPECT_EQ(pacer.Place(400000).repeatsOfPrevious, 0);
    // The next picture two seconds later holds the previous one for the gap.
    const auto afterGap = pacer.Place(2400000);
    EXPECT_TRUE(afterGap.keep);
    EXPECT_EQ(afterGap.repeatsOfPrevious, 49);
    // A picture stamped back in time is dropped rather than reordered.
    EXPECT_FALSE(pacer.Place(1000000).keep);
    EXPECT_EQ(pacer.Next(), 51);
}

TEST(PictureFit, KeepsTheShapeCentresAndStaysEven) {
    const auto same = trovan::FitPicture(352, 288, 1, 1, 704, 576);
    EXPECT_EQ(same.x, 0);
    EXPECT_EQ(same.y, 0);
    EXPECT_EQ(same.width, 704);
    EXPECT_EQ(same.height, 576);
    const auto wide = trovan::FitPicture(1920, 1080, 1, 1, 704, 576);
    EXPECT_EQ(wide.width, 704);
    EXPECT_EQ(wide.height, 396);
    EXPECT_EQ(wide.y, 90);
    const auto tall = trovan::FitPicture(480, 640, 1, 1, 704, 576);
    EXPECT_EQ(tall.height, 576);
    EXPECT_EQ(tall.width, 432);
    EXPECT_EQ(tall.x, 136);
    // Stored pixels twice as wide as high show a 352x288 picture as 704x288.
    const auto anamorphic = trovan::FitPicture(352, 288, 2, 1, 704, 576);
    EXPECT_EQ(anamorphic.width, 704);
    EXPECT_EQ(anamorphic.height, 288);
    EXPECT_EQ(anamorphic.y, 144);
    for (const auto& rect :
         {wide, tall, anamorphic, trovan::FitPicture(333, 101, 7, 5, 350, 270)}) {
        EXPECT_EQ(rect.x % 2 + rect.y % 2 + rect.width % 2 + rect.height % 2, 0);
        EXPECT_LE(rect.x + rect.width, 704);
    }
}

TEST(SoundPlacement, GapsBecomeSilenceOverlapsAndEarlySoundAreCut) {
    // Continuing sound within the tolerance is left alone.
    auto place = trovan::PlaceSound(1000000, 44100 - 100, 44100, 1764);
    EXPECT_EQ(place.silenceFrames, 0);
    EXPECT_EQ(place.skipFrames, 0);
    // Half a second missing.
    place = trovan::PlaceSound(1500000, 44100, 44100, 1764);
    EXPECT_EQ(place.silenceFrames, 22050);
    // The block repeats a tenth of a second already written.
    place = trovan::PlaceSound(900000, 44100, 44100, 1764);
    EXPECT_EQ(place.skipFrames, 4410);
    // Sound from before the first picture is not written.
    place = trovan::PlaceSound(-20000, 0, 48000, 1920);
    EXPECT_EQ(place.skipFrames, 960);
}

TEST(ConversionSettings, TakesTheProgramsBlockAndRefusesWhatCannotBeMade) {
    TrovanParams params = trovantest::PlayerParams();
    trovan::ConversionSettings settings;
    ASSERT_TRUE(trovan::SettingsFromParams(params, &settings));
    EXPECT_EQ(settings.width, 704);
    EXPECT_EQ(settings.audioBitRate, 64000);

    auto refused = [&](auto change) {
        TrovanParams bad = params;
        change(bad);
        trovan::ConversionSettings untouched;
        return !trovan::SettingsFromParams(bad, &untouched) && untouched.width == 704;
    };
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nWidth = 703; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nHeight = 0; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nFrameRate = 0; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nVideoBitRate = -5; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nAudioBitRate = 0; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nAudioChannels = 6; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nVideoCodec = 1; }));
    EXPECT_TRUE(refused([](TrovanParams& p) { p.nContainer = 3; }));
    // PCM needs no bit rate, and no sound needs no channels.
    params.nAudioCodec = TROVAN_AUDIO_PCM;
    params.nAudioBitRate = 0;
    EXPECT_TRUE(trovan::SettingsFromParams(params, &settings));
    params.nAudioCodec = TROVAN_AUDIO_NONE;
    params.nAudioChannels = 0;
    EXPECT_TRUE(trovan::SettingsFromParams(params, &settings));
}

}  // namespace
