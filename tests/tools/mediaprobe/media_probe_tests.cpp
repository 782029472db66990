// The media probe over hand-built bytes: heads, block streams, program and
// transport streams, MP4 boxes, and inputs that are cut short or random.

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "probe_bytes.h"
#include "tools/mediaprobe/media_probe.h"

using namespace probetest;

namespace {

MediaProbeResult Probe(const Bytes& bytes) {
    MediaProbeResult result;
    MediaProbeBytes(bytes.data(), bytes.size(), &result);
    return result;
}

}  // namespace

TEST(MediaHead, ImxvHeadGivesItsOwnCodesWhateverFollows) {
    Bytes file = ImxvHead(2, 3, 28944);
    Append(file, VideoBlock(kH264Start));
    const MediaProbeResult r = Probe(PaddedTo(file, 4096));
    EXPECT_EQ(r.wSystemFormat, 2);
    EXPECT_EQ(r.wVideoFormat, 3);
    EXPECT_EQ(r.wAudioFormat, 28944);
    EXPECT_EQ(r.byChannels, 2);
    EXPECT_EQ(r.byBitsPerSample, 16);
    EXPECT_EQ(r.dwSampleRate, 8000u);
    EXPECT_EQ(r.dwBitRate, 64000u);
}

TEST(MediaHead, OlderHeadsMapTheirVideoAndAudioCodes) {
    struct Case {
        const char* szMagic;
        uint32_t dwAudio;
        uint16_t wVideo;
        uint16_t wAudio;
    };
    const Case cases[] = {
        {"4VXV", 4113, 1, 29217}, {"4VXV", 4115, 1, 29217},  {"4VXV", 29217, 1, 29217},
        {"2MSV", 4116, 2, 8192},  {"4MSV", 28945, 3, 28945}, {"4MXV", 28944, 0, 28944},
        {"4VXV", 4117, 1, 0},     {"4VXV", 4112, 1, 0},
    };
    for (const Case& c : cases) {
        const MediaProbeResult r = Probe(PaddedTo(OldHead(c.szMagic, c.dwAudio), 2048));
        EXPECT_EQ(r.wSystemFormat, 1) << c.szMagic;
        EXPECT_EQ(r.wVideoFormat, c.wVideo) << c.szMagic << ' ' << c.dwAudio;
        EXPECT_EQ(r.wAudioFormat, c.wAudio) << c.szMagic << ' ' << c.dwAudio;
        EXPECT_EQ(r.byChannels, 1);
        EXPECT_EQ(r.byBitsPerSample, 8);
        EXPECT_EQ(r.dwSampleRate, 16000u);
        EXPECT_EQ(r.dwBitRate, 0u);
    }
}

TEST(MediaHead, IsReadOnlyFromTwoKilobytesOn) {
    const Bytes head = ImxvHead(2, 256, 8192);
    EXPECT_EQ(Probe(PaddedTo(head, 2047)).wVideoFormat, 0);
    EXPECT_EQ(Probe(PaddedTo(head, 2047)).wSystemFormat, 0);
    EXPECT_EQ(Probe(PaddedTo(head, 2048)).wVideoFormat, 256);
}

TEST(BlockStream, FindsVideoAndAudioAfterGarbage) {
    Bytes file = {0x13, 0x37, 0x01, 0x00, 0x00, 0x00, 0x99};  // a false block marker
    Append(file, VideoBlock(kH264Start));
    Append(file, AudioBlock(640));
    const MediaProbeResult r = Probe(PaddedTo(file, 4096));
    EXPECT_EQ(r.wSystemFormat, 1);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 28944);
    EXPECT_EQ(r.dwSampleRate, 8000u);
    EXPECT_EQ(r.byChannels, 1);
    EXPECT_EQ(r.byBitsPerSample, 16);
    EXPECT_EQ(r.dwBitRate, 16000u);
}

TEST(BlockStream, PayloadStartNamesTheVideoCodec) {
    const std::pair<Bytes, uint16_t> cases[] = {
        {{0x00, 0x00, 0x01, 0x00}, 2},   {{0x00, 0x00, 0x01, 0xB8}, 2},
        {{0x00, 0x00, 0x00, 0x01}, 256}, {{0x00, 0x00, 0x01, 0xB0}, 3},
        {{0x00, 0x00, 0x01, 0xB6}, 3},   {{0xFF, 0xD8, 0xFF, 0xFE}, 4},
        {{0x12, 0x34, 0x56, 0x78}, 1},
    };
    for (const auto& [payload, wVideo] : cases) {
        EXPECT_EQ(Probe(PaddedTo(VideoBlock(payload), 4096)).wVideoFormat, wVideo)
            << int{payload[3]};
    }
}

TEST(BlockStream, SkipsBlocksThatBreakTheirLimits) {
    Bytes file;
    Append(file, VideoBlock({0xFF, 0xD8, 0xFF, 0xFE}, 95, 288));      // too narrow
    Append(file, VideoBlock({0xFF, 0xD8, 0xFF, 0xFE}, 2561, 288));    // too wide
    Append(file, VideoBlock(Bytes(96 * 48 * 3 / 2 + 1, 0), 96, 48));  // payload over a picture
    Append(file, Block(4096, 4097, 352, 288, {{4099, {0, 0, 1}}}));   // payload of 3 bytes
    Append(file, Block(4096, 4096, 352, 288, {{4099, {0xFF, 0xD8, 0xFF, 0xFE}}}));  // format
    Append(file, VideoBlock({0x00, 0x00, 0x01, 0xB6}));
    Append(file, AudioBlock(80));
    const MediaProbeResult r = Probe(PaddedTo(file, 8192));
    EXPECT_EQ(r.wVideoFormat, 3);
    EXPECT_EQ(r.wAudioFormat, 29217);
    EXPECT_EQ(r.dwSampleRate, 16000u);
}

TEST(BlockStream, UnknownSoundLengthsGiveNoAudio) {
    Bytes file = AudioBlock(320);
    const MediaProbeResult r = Probe(PaddedTo(file, 4096));
    EXPECT_EQ(r.wSystemFormat, 1);  // taken for a block stream before the scan
    EXPECT_EQ(r.wAudioFormat, 0);
    EXPECT_EQ(r.byChannels, 0);
}

TEST(ProgramStream, ReadsTheStreamMapAfterAPackOnly) {
    Bytes file = StreamMap({0x10});  // before any pack: skipped
    Append(file, PackHeader());
    Append(file, StreamMap({0x02, 0x1B, 0x91, 0x03}));
    const MediaProbeResult r = Probe(PaddedTo(file, 2048));
    EXPECT_EQ(r.wSystemFormat, 2);
    EXPECT_EQ(r.wVideoFormat, 2);  // the first video entry
    EXPECT_EQ(r.wAudioFormat, 28944);
}

TEST(ProgramStream, ResyncsAfterAnInvalidPack) {
    Bytes badPack = PackHeader();
    badPack[13] = 0x10;  // reserved bits not set
    Bytes file = {0x11, 0x22};
    Append(file, badPack);
    Append(file, PackHeader());
    Append(file, StreamMap({0x1B}));
    EXPECT_EQ(Probe(PaddedTo(file, 1024)).wVideoFormat, 256);
}

TEST(TransportStream, FollowsTheLastProgramToItsMap) {
    // Garbage: a sync byte whose packet claims an adaptation field over 183 bytes.
    Bytes file = {0x47, 0x00, 0x00, 0x30, 0xFF};
    Append(file, TsPacket(0, Pat({{1, 0x200}, {0, 0x10}, {2, 0x300}, {0, 0x11}})));
    Append(file, TsPacket(0x200, Pmt(0, 0, {0x02})));  // the first programme's map: ignored
    Append(file, TsPacket(0x300, Pmt(0, 1, {0x10})));  // not the last section
    Append(file, TsPacket(0x300, Pmt(1, 1, {0x1B, 0x0F})));
    const MediaProbeResult r = Probe(PaddedTo(file, 1024));
    EXPECT_EQ(r.wSystemFormat, 3);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 8193);
}

TEST(TransportStream, NeedsTheLastSection) {
    Bytes file = TsPacket(0, Pat({{1, 0x100}}));
    Append(file, TsPacket(0x100, Pmt(0, 1, {0x1B})));
    const MediaProbeResult r = Probe(PaddedTo(file, 1024));
    EXPECT_NE(r.wSystemFormat, 3);
}

TEST(BoxWalk, H264AndAmrTracksGive3gp264Amr) {
    const MediaProbeResult r = Probe(Mp4({Track("avc1"), Track("samr")}));
    EXPECT_EQ(r.wSystemFormat, 5);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 12288);
    EXPECT_EQ(r.byChannels, 1);
    EXPECT_EQ(r.byBitsPerSample, 16);
    EXPECT_EQ(r.dwSampleRate, 8000u);
}

TEST(BoxWalk, SampleDescriptionsNeedExactlyOneEntry) {
    const MediaProbeResult r = Probe(Mp4({Track("mp4v", 2), Track("mp4v", 0), Track("mp4a")}));
    EXPECT_EQ(r.wSystemFormat, 5);
    EXPECT_EQ(r.wVideoFormat, 0);
    EXPECT_EQ(Probe(Mp4({Track("mp4v")})).wVideoFormat, 3);
}

TEST(BoxWalk, LargeMdatBeforeMoovIsSteppedOver) {
    Bytes file = Box("ftyp", {'i', 's', 'o', 'm'});
    PutBe(file, 1, 4);
    AppendText(file, "mdat");
    PutBe(file, 16 + 5000, 8);
    file.resize(file.size() + 5000, 0x00);
    Append(file, Box("moov", Track("avc1")));
    const MediaProbeResult r = Probe(file);
    EXPECT_EQ(r.wSystemFormat, 5);
    EXPECT_EQ(r.wVideoFormat, 256);
}

TEST(BoxWalk, BrokenSizesEndTheWalk) {
    const Bytes moov = Box("moov", Track("avc1"));
    Bytes pastTheEnd = Box("ftyp", {});
    Append(pastTheEnd, moov);
    pastTheEnd[8 + 3] += 1;  // moov one byte longer than the file
    Bytes zeroSize = Box("free", {});
    zeroSize[3] = 0;
    Append(zeroSize, moov);
    Bytes shortLarge = Box("ftyp", {});
    Append(shortLarge, {0, 0, 0, 1, 'm', 'd', 'a', 't', 0, 0, 0, 0, 0, 0, 0, 8});  // under 16
    Append(shortLarge, moov);
    for (const Bytes& file : {pastTheEnd, zeroSize, shortLarge}) {
        EXPECT_EQ(Probe(file).wSystemFormat, 0);
    }
}

TEST(MediaProbeRobustness, TruncatedAndRandomInputsLeaveUnusedFieldsAlone) {
    Bytes blockStream = VideoBlock(kH264Start);
    Append(blockStream, AudioBlock(640));
    Bytes programStream = PackHeader();
    Append(programStream, StreamMap({0x1B, 0x03}));
    Bytes transportStream = TsPacket(0, Pat({{1, 0x100}}));
    Append(transportStream, TsPacket(0x100, Pmt(0, 0, {0x1B})));
    const Bytes inputs[] = {PaddedTo(ImxvHead(2, 256, 8192), 2048),
                            PaddedTo(OldHead("4VXV", 4113), 2048),
                            PaddedTo(blockStream, 2048),
                            PaddedTo(programStream, 1024),
                            PaddedTo(transportStream, 1024),
                            Mp4({Track("avc1"), Track("samr")})};
    std::mt19937 random(17);
    auto check = [](const Bytes& bytes) {
        const MediaProbeResult r = Probe(bytes);
        EXPECT_EQ(r.wUnused0, 0);
        EXPECT_EQ(r.wUnused6, 0);
        EXPECT_EQ(r.dwUnused20, 0u);
        const MediaProbeResult again = Probe(bytes);
        EXPECT_EQ(std::memcmp(&r, &again, sizeof r), 0);
    };
    for (const Bytes& input : inputs) {
        for (size_t nCut = 0; nCut <= input.size(); ++nCut) {
            check(Bytes(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(nCut)));
        }
        for (int i = 0; i < 300; ++i) {
            Bytes mutated = input;
            for (int n = 0; n < 4; ++n)
                mutated[random() % mutated.size()] = static_cast<uint8_t>(random());
            check(mutated);
        }
    }
    for (int i = 0; i < 50; ++i) {
        Bytes noise(random() % 70000);
        for (uint8_t& by : noise) by = static_cast<uint8_t>(random());
        check(noise);
    }
    EXPECT_FALSE(MediaProbeBytes(nullptr, 100, nullptr));
    MediaProbeResult r;
    EXPECT_FALSE(MediaProbeBytes(nullptr, 100, &r));
}
