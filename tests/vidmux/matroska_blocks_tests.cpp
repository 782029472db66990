// The walk over a Matroska file's block headers must list exactly the video
// packets its demuxer reads, or refuse so that the packets are scanned.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "engine_test_support.h"
#include "matroska_blocks.h"
#include "reference_media.h"
#include "timeline.h"

using namespace enginetest;
using samplegen::Container;

namespace {

struct Listed {
    int64_t pts = 0;
    int64_t dts = 0;
    int64_t pos = 0;
    bool key = false;
    bool operator==(const Listed&) const = default;
};

void PrintTo(const Listed& p, std::ostream* out) {
    *out << "{pts " << p.pts << " dts " << p.dts << " pos " << p.pos << (p.key ? " key}" : "}");
}

struct Opened {
    vidmux::FormatPtr format;
    int video = -1;
};

Opened Open(const std::string& path) {
    Opened opened;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return opened;
    opened.format.reset(raw);
    if (avformat_find_stream_info(raw, nullptr) >= 0) {
        opened.video = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    return opened;
}

// Every video packet the demuxer delivers, as the frame index scans them.
std::vector<Listed> Demuxed(const std::string& path) {
    std::vector<Listed> packets;
    Opened opened = Open(path);
    if (opened.video < 0) return packets;
    vidmux::PacketPtr packet(av_packet_alloc());
    while (av_read_frame(opened.format.get(), packet.get()) >= 0) {
        if (packet->stream_index == opened.video) {
            packets.push_back({packet->pts, vidmux::kNoTimestamp, packet->pos,
                               (packet->flags & AV_PKT_FLAG_KEY) != 0});
        }
        av_packet_unref(packet.get());
    }
    return packets;
}

// What the walk hands out, or nothing when it refuses.
std::optional<std::vector<Listed>> Walked(const std::string& path, bool* cutOff,
                                          bool aborted = false) {
    Opened opened = Open(path);
    if (opened.video < 0) return std::nullopt;
    std::vector<Listed> listed;
    std::atomic<bool> abort{aborted};
    const bool walked = vidmux::ReadMatroskaBlocks(
        path, opened.format.get(), opened.video,
        [&](const vidmux::TableSample& s) {
            listed.push_back({s.pts, s.dts, s.pos, s.key});
        },
        cutOff, abort);
    if (!walked) {
        EXPECT_TRUE(listed.empty()) << "a refused walk handed out pictures";
        return std::nullopt;
    }
    return listed;
}

samplegen::SampleParams MatroskaParams(int frames, bool bFrames, bool audio) {
    samplegen::SampleParams params = SmallParams(Container::Matroska, bFrames);
    params.frameCount = frames;
    params.audio = audio;
    return params;
}

TEST(MatroskaBlocks, ListEveryVideoPacketTheDemuxerReads) {
    SampleFolder& folder = SampleFolder::Instance();
    const std::string plain = folder.Get("blocks-plain.mkv", MatroskaParams(120, false, false));
    const std::string reordered =
        folder.Get("blocks-bframes-sound.mkv", MatroskaParams(120, true, true));
    const std::vector<char> streamedBytes = WithoutMatroskaSizes(ReadBytes(reordered));
    const std::string streamed = WriteBytes("blocks-streamed.mkv", streamedBytes);
    const std::string grouped = WriteBytes("blocks-grouped.mkv", WithBlockGroups(streamedBytes));
    for (const std::string& path : {plain, reordered, streamed, grouped}) {
        SCOPED_TRACE(path);
        const std::vector<Listed> packets = Demuxed(path);
        ASSERT_EQ(packets.size(), 120u);
        bool cutOff = true;
        const std::optional<std::vector<Listed>> walked = Walked(path, &cutOff);
        ASSERT_TRUE(walked.has_value());
        EXPECT_EQ(*walked, packets);
        EXPECT_FALSE(cutOff);
    }
}

TEST(MatroskaBlocks, TornFileListsItsWholePicturesAndSaysItIsCutOff) {
    std::vector<char> whole = ReadBytes(
        SampleFolder::Instance().Get("blocks-bframes.mkv", MatroskaParams(120, true, false)));
    for (const bool streamed : {false, true}) {
        SCOPED_TRACE(streamed ? "sizes unknown" : "sizes written");
        std::vector<char> bytes = streamed ? WithoutMatroskaSizes(whole) : whole;
        bytes.resize(bytes.size() * 6 / 10);
        const std::string path =
            WriteBytes(streamed ? "blocks-torn-streamed.mkv" : "blocks-torn.mkv", bytes);
        const std::vector<Listed> packets = Demuxed(path);
        ASSERT_GT(packets.size(), 64u);
        ASSERT_LT(packets.size(), 120u);
        bool cutOff = false;
        const std::optional<std::vector<Listed>> walked = Walked(path, &cutOff);
        ASSERT_TRUE(walked.has_value());
        EXPECT_EQ(*walked, packets);
        EXPECT_TRUE(cutOff);
    }
}

TEST(MatroskaBlocks, DamagedAbortedAndOtherFilesAreLeftToThePacketScan) {
    SampleFolder& folder = SampleFolder::Instance();
    const std::string clean = folder.Get("blocks-bframes.mkv", MatroskaParams(120, true, false));
    bool cutOff = false;
    EXPECT_FALSE(Walked(clean, &cutOff, true).has_value());

    std::vector<char> bytes = ReadBytes(clean);
    std::fill(bytes.begin() + static_cast<long>(bytes.size() / 2),
              bytes.begin() + static_cast<long>(bytes.size() * 7 / 10), 0);
    EXPECT_FALSE(Walked(WriteBytes("blocks-zeroed.mkv", bytes), &cutOff).has_value());

    // A block of a track the file does not declare: the demuxer drops the
    // rest of its cluster.
    const std::vector<Listed> packets = Demuxed(clean);
    ASSERT_EQ(packets.size(), 120u);
    bytes = ReadBytes(clean);
    bytes[static_cast<size_t>(packets[70].pos)] = static_cast<char>(0x85);
    EXPECT_FALSE(Walked(WriteBytes("blocks-foreign-track.mkv", bytes), &cutOff).has_value());

    // In a streamed file, damage that reads as an element running past the
    // end of the file is no tear when clusters follow it.
    bytes = WithoutMatroskaSizes(ReadBytes(clean));
    const char cluster[] = {0x1F, 0x43, static_cast<char>(0xB6), 0x75};
    auto at = bytes.begin() + static_cast<long>(bytes.size() / 2);
    at = std::search(at, bytes.end(), std::begin(cluster), std::end(cluster));
    ASSERT_NE(at, bytes.end());
    // Past the cluster's id and its eight-byte size: a void of 1 GiB.
    const char hugeVoid[] = {static_cast<char>(0xEC), 0x01, 0, 0, 0, 0x40, 0, 0, 0};
    std::copy(std::begin(hugeVoid), std::end(hugeVoid), at + 12);
    EXPECT_FALSE(Walked(WriteBytes("blocks-false-tear.mkv", bytes), &cutOff).has_value());
    EXPECT_FALSE(Walked(SmallSample(Container::Mp4, true), &cutOff).has_value());
    EXPECT_FALSE(Walked(SmallSample(Container::MpegTs, true), &cutOff).has_value());
}

}  // namespace
