#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "engine_test_support.h"
#include "reference_media.h"

using namespace enginetest;
using samplegen::Container;
using namespace std::chrono_literals;

namespace {

void CountEnd(int32_t, void* user) { ++*static_cast<std::atomic<int>*>(user); }

// What the engine shows for a file: its frame count, every picture of a
// forward play from the start to the file-end callback, and the picture
// shown at each frame number asked for.
struct EngineView {
    uint32_t total = 0;
    uint32_t seconds = 0;
    std::vector<int> played;
};

EngineView PlayThrough(const std::string& path) {
    EngineView view;
    // Half the 352x288 pictures: decoded in full and so comparable with
    // FFmpeg's pictures (a smaller window may skip the loop filter, which
    // changes what a damaged picture's concealment shows).
    CapturingWindow window(176, 144);
    std::atomic<int> ends{0};
    PortGuard port;
    EXPECT_TRUE(Vemor_SetFileEndCallback(port, &CountEnd, &ends));
    OpenIndexed(port, path);
    view.total = Vemor_GetFileTotalFrames(port);
    view.seconds = Vemor_GetFileTime(port);
    EXPECT_TRUE(Vemor_Play(port, window.window()));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(Vemor_Fast(port));
    EXPECT_TRUE(WaitFor([&] { return ends.load() == 1; }, 60s)) << path << " never ended";
    view.played = window.Frames();
    return view;
}

// Frame n of the engine must be the n-th picture FFmpeg decodes.
void ExpectFramesMatch(int32_t port, const std::vector<int>& reference,
                       std::initializer_list<int> numbers) {
    for (int n : numbers) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, static_cast<uint32_t>(n)))
            << Vemor_GetLastError(port);
        EXPECT_EQ(ShownFrame(port), reference[static_cast<size_t>(n)]);
        EXPECT_EQ(Vemor_GetCurrentFrameNum(port), static_cast<uint32_t>(n));
    }
}

// The engine counts, plays and shows at each of `numbers` exactly the
// pictures FFmpeg decodes from the file.
EngineView ExpectPlaysAsReference(const std::string& path, const std::vector<int>& reference,
                                  std::initializer_list<int> numbers) {
    const EngineView view = PlayThrough(path);
    EXPECT_EQ(view.total, reference.size());
    EXPECT_EQ(view.played, reference);
    PortGuard port;
    OpenIndexed(port, path);
    ExpectFramesMatch(port, reference, numbers);
    return view;
}

samplegen::SampleParams Params(Container container, int frames, bool bFrames) {
    samplegen::SampleParams params = SmallParams(container, bFrames);
    params.width = 352;
    params.height = 288;
    params.frameCount = frames;
    return params;
}

TEST(DamagedFile, ZeroedStretchOfATransportStreamIsPlayedPast) {
    std::vector<char> bytes = ReadBytes(
        SampleFolder::Instance().Get("ten-seconds.ts", Params(Container::MpegTs, 250, false)));
    // Far more than a demuxer searches for the next packet in one go.
    std::fill(bytes.begin() + 150000, bytes.begin() + 300000, 0);
    const std::string path = WriteBytes("zeroed.ts", bytes);
    const std::vector<int> reference = ReferenceFrameNumbers(path);
    ASSERT_GT(reference.size(), 150u);
    ASSERT_EQ(reference.back(), 249);

    const int last = static_cast<int>(reference.size()) - 1;
    const EngineView view = ExpectPlaysAsReference(path, reference, {last, last - 30, 40});
    // The lost stretch is closed on the media timeline.
    EXPECT_EQ(view.seconds, view.total / 25);
}

// Two copies of a four-second recording pasted together: the second copy's
// timestamps start again from the first's.
TEST(DamagedFile, PastedCopiesPlayOnOneTimeline) {
    std::vector<char> bytes = ReadBytes(
        SampleFolder::Instance().Get("four-seconds.ts", Params(Container::MpegTs, 100, true)));
    std::vector<char> twice = bytes;
    twice.insert(twice.end(), bytes.begin(), bytes.end());
    const std::string path = WriteBytes("twice.ts", twice);

    std::vector<int> expected;
    for (int copy = 0; copy < 2; ++copy) {
        for (int n = 0; n < 100; ++n) expected.push_back(n);
    }
    const EngineView view = PlayThrough(path);
    EXPECT_EQ(view.total, 200u);
    EXPECT_EQ(view.seconds, 8u);
    EXPECT_EQ(view.played, expected);

    PortGuard port;
    OpenIndexed(port, path);
    ExpectFramesMatch(port, expected, {199, 150, 100, 99, 30});
    ASSERT_TRUE(Vemor_SetPlayedTimeEx(port, 6000));
    EXPECT_EQ(Vemor_GetCurrentFrameNum(port), 150u);
    EXPECT_EQ(ShownFrame(port), 50);
    EXPECT_EQ(Vemor_GetPlayedTime(port), 6u);
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 101));
    ASSERT_TRUE(Vemor_OneByOneBack(port));
    ASSERT_TRUE(Vemor_OneByOneBack(port));
    EXPECT_EQ(ShownFrame(port), 99);
    EXPECT_EQ(Vemor_GetCurrentFrameNum(port), 99u);
}

// The second half of an eight-second recording, stamped to start two seconds
// before the first half, pasted after it.
TEST(DamagedFile, SegmentStampedEarlierFollowsInFileOrder) {
    const std::string source =
        SampleFolder::Instance().Get("eight-seconds.ts", Params(Container::MpegTs, 200, true));
    const std::string first = SampleFolder::Instance().Path("first-half.ts");
    const std::string second = SampleFolder::Instance().Path("second-half.ts");
    ASSERT_TRUE(Remux(source, first, "mpegts", 0, 100, 0.0));
    ASSERT_TRUE(Remux(source, second, "mpegts", 100, 100, -6.0));
    std::vector<char> bytes = ReadBytes(first);
    const std::vector<char> tail = ReadBytes(second);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const std::string path = WriteBytes("stamped-earlier.ts", bytes);

    std::vector<int> expected;
    for (int n = 0; n < 200; ++n) expected.push_back(n);
    const EngineView view = PlayThrough(path);
    EXPECT_EQ(view.total, 200u);
    EXPECT_EQ(view.played, expected);

    PortGuard port;
    OpenIndexed(port, path);
    ExpectFramesMatch(port, expected, {50, 146, 199, 0, 100});
    // Reverse play crosses back into the first half picture by picture.
    CapturingWindow window(160, 120);
    ASSERT_TRUE(Vemor_Play(port, window.window()));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    ASSERT_TRUE(Vemor_SetCurrentFrameNum(port, 102));
    ASSERT_TRUE(Vemor_ReversePlay(port));
    ASSERT_TRUE(WaitFor([&] { return Vemor_GetCurrentFrameNum(port) <= 96; }, 10s));
    ASSERT_TRUE(Vemor_Pause(port, 1));
    const std::vector<int> frames = window.Frames();
    // From the last 102: the one shown when reverse play began.
    auto last = std::find(frames.rbegin(), frames.rend(), 102);
    ASSERT_NE(last, frames.rend());
    auto from = last.base() - 1;
    ASSERT_GE(frames.end() - from, 7);
    EXPECT_EQ(std::vector<int>(from, from + 7), (std::vector<int>{102, 101, 100, 99, 98, 97, 96}));
}

TEST(DamagedFile, RawStreamCutInsideAGroupCountsOnlyDecodablePictures) {
    std::vector<char> bytes = ReadBytes(
        SampleFolder::Instance().Get("ten-seconds.264", Params(Container::RawH264, 250, true)));
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 7));
    const std::string path = WriteBytes("mid-group.264", bytes);
    const std::vector<int> reference = ReferenceFrameNumbers(path);
    ASSERT_GT(reference.size(), 150u);

    ExpectPlaysAsReference(path, reference, {50, 0, static_cast<int>(reference.size()) - 1});
}

// Files cut off part way, as a recorder that lost power leaves them: every
// picture they still hold plays, go-to-end shows the last one, and play ends
// there.
class Truncated : public testing::TestWithParam<const char*> {};

TEST_P(Truncated, FilePlaysEveryPictureItHoldsToTheLast) {
    const std::string kind = GetParam();
    const bool flv = kind == "flv";
    const Container container = kind == "imx"   ? Container::Recorder
                                : kind == "ts"  ? Container::MpegTs
                                : kind == "264" ? Container::RawH264
                                : kind == "mkv" ? Container::Matroska
                                                : Container::Mp4;
    std::string whole =
        SampleFolder::Instance().Get("whole." + (flv ? "mp4" : kind), Params(container, 100, !flv));
    if (flv) {
        const std::string remuxed = SampleFolder::Instance().Path("whole.flv");
        ASSERT_TRUE(Remux(whole, remuxed, "flv", 0, 100, 0.0));
        whole = remuxed;
    }
    std::vector<char> bytes = ReadBytes(whole);
    bytes.resize(bytes.size() * 6 / 10);
    const std::string path = WriteBytes("truncated." + kind, bytes);
    const std::vector<int> reference = ReferenceFrameNumbers(path);
    ASSERT_GT(reference.size(), 20u);
    ASSERT_LT(reference.size(), 100u);

    const int last = static_cast<int>(reference.size()) - 1;
    ExpectPlaysAsReference(path, reference, {last, last - 1, last / 2});
    PortGuard port;
    OpenIndexed(port, path);
    EXPECT_FALSE(Vemor_SetCurrentFrameNum(port, static_cast<uint32_t>(last + 1)));
    EXPECT_EQ(Vemor_GetLastError(port), static_cast<uint32_t>(VIDMUX_ERR_OUT_OF_RANGE));
}

INSTANTIATE_TEST_SUITE_P(Containers, Truncated,
                         testing::Values("imx", "ts", "264", "mp4", "flv", "mkv"));

// A recorder whose clock jumped a minute ahead half way through a Matroska
// file, which stores no decoding times: the media timeline runs on without
// the gap and every picture keeps its place.
TEST(DamagedFile, MatroskaClockJumpAheadKeepsOneTimeline) {
    samplegen::SampleParams params = Params(Container::Matroska, 200, true);
    params.start = samplegen::StartTime{2024, 3, 1, 10, 0, 0};
    const std::string source = SampleFolder::Instance().Get("eight-seconds-timed.mkv", params);
    const std::string path = SampleFolder::Instance().Path("clock-jump.mkv");
    ASSERT_TRUE(Remux(source, path, "matroska", 0, 200, 60.0, 100));

    std::vector<int> expected;
    for (int n = 0; n < 200; ++n) expected.push_back(n);
    const EngineView view = PlayThrough(path);
    EXPECT_EQ(view.total, 200u);
    EXPECT_EQ(view.seconds, 8u);
    EXPECT_EQ(view.played, expected);
    PortGuard port;
    OpenIndexed(port, path);
    ExpectFramesMatch(port, expected, {150, 99, 100, 101, 199, 0});
    ASSERT_TRUE(Vemor_SetPlayedTimeEx(port, 5000));
    EXPECT_EQ(ShownFrame(port), 125);
    // The recorder's clock keeps the minute it skipped.
    const auto clockAt = [&](uint32_t frame) {
        EXPECT_TRUE(Vemor_SetCurrentFrameNum(port, frame));
        VemorSystemTime time{};
        EXPECT_TRUE(Vemor_GetSystemTime(port, &time));
        return ((time.dwHour * 60 + time.dwMin) * 60 + time.dwSec) * 1000 + time.dwMs;
    };
    EXPECT_EQ(clockAt(99), 36003960u);
    EXPECT_EQ(clockAt(100), 36064000u);
    EXPECT_EQ(clockAt(199), 36067960u);
}

// Matroska written as a stream (no sizes), and Matroska with a zeroed
// stretch, which the index reads by scanning its packets instead.
TEST(DamagedFile, StreamedAndZeroedMatroskaPlayAsFFmpegDecodesThem) {
    const std::vector<char> bytes = ReadBytes(
        SampleFolder::Instance().Get("ten-seconds.mkv", Params(Container::Matroska, 250, true)));
    std::vector<char> zeroed = bytes;
    std::fill(zeroed.begin() + static_cast<long>(zeroed.size() / 2),
              zeroed.begin() + static_cast<long>(zeroed.size() * 7 / 10), 0);
    for (const std::string& path : {WriteBytes("streamed.mkv", WithoutMatroskaSizes(bytes)),
                                    WriteBytes("zeroed.mkv", zeroed)}) {
        SCOPED_TRACE(path);
        const std::vector<int> reference = ReferenceFrameNumbers(path);
        ASSERT_GT(reference.size(), 100u);
        const int last = static_cast<int>(reference.size()) - 1;
        ExpectPlaysAsReference(path, reference, {last, 131, 2, last / 2});
    }
}

}  // namespace
