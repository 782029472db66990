// The media probe on files: recordings written by samplegen, files it must
// refuse, and a large sparse MP4 whose index comes after its media data.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "probe_bytes.h"
#include "samplegen/samplegen.h"
#include "tools/mediaprobe/media_probe.h"
#include "tools/mediaprobe/media_probe_file.h"

namespace fs = std::filesystem;
using namespace probetest;

namespace {

class MediaProbeFileTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string tmpl = (fs::temp_directory_path() / "orlin-probe-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        s_dir = tmpl;
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static std::string Sample(const std::string& name, samplegen::Container container,
                              bool bAudio) {
        const std::string path = (s_dir / name).string();
        if (fs::exists(path)) return path;
        samplegen::SampleParams params;
        params.container = container;
        params.width = 160;
        params.height = 120;
        params.frameCount = 30;
        params.audio = bAudio;
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(path, params, &error)) << error;
        return path;
    }
    static Bytes Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = (s_dir / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static MediaProbeResult ProbeFile(const std::string& path, bool* pOk = nullptr) {
        std::vector<uint8_t> buffer(2 * kMediaProbeHeadBytes);
        MediaProbeResult result;
        const bool bOk = MediaProbeFile(path.c_str(), &result, buffer.data(), buffer.size());
        if (pOk != nullptr) *pOk = bOk;
        return result;
    }

    static inline fs::path s_dir;
};

}  // namespace

TEST_F(MediaProbeFileTest, RecorderFileShowsItsHead) {
    const std::string path =
        Sample("recorder_with_sound.mp4", samplegen::Container::Recorder, true);
    const Bytes bytes = Read(path);
    ASSERT_GE(bytes.size(), 40u);
    bool bOk = false;
    const MediaProbeResult r = ProbeFile(path, &bOk);
    EXPECT_TRUE(bOk);
    EXPECT_EQ(r.wSystemFormat, 2);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 8192);
    EXPECT_EQ(r.byChannels, bytes[14]);
    EXPECT_EQ(r.byBitsPerSample, bytes[15]);
    EXPECT_EQ(r.dwSampleRate,
              uint32_t{bytes[16]} | uint32_t{bytes[17]} << 8 | uint32_t{bytes[18]} << 16);
    EXPECT_NE(r.dwSampleRate, 0u);
}

TEST_F(MediaProbeFileTest, HeadCodesWinOverTheStreamInside) {
    Bytes bytes = Read(Sample("recorder_silent.mp4", samplegen::Container::Recorder, false));
    bytes[8] = 1;   // system: tavel
    bytes[10] = 3;  // video: MPEG4, though the stream inside is H.264
    bytes[11] = 0;
    const MediaProbeResult r = ProbeFile(Write("recorder_claiming_mpeg4.mp4", bytes));
    EXPECT_EQ(r.wSystemFormat, 1);
    EXPECT_EQ(r.wVideoFormat, 3);
}

TEST_F(MediaProbeFileTest, ProgramStreamWithoutHeadShowsItsStreamMap) {
    Bytes bytes = Read(Sample("recorder_with_sound.mp4", samplegen::Container::Recorder, true));
    bytes.erase(bytes.begin(), bytes.begin() + 40);
    const MediaProbeResult r = ProbeFile(Write("program_stream.mpg", bytes));
    EXPECT_EQ(r.wSystemFormat, 2);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 8192);
}

TEST_F(MediaProbeFileTest, TransportStreamShowsItsProgramMap) {
    const MediaProbeResult r =
        ProbeFile(Sample("transport.ts", samplegen::Container::MpegTs, true));
    EXPECT_EQ(r.wSystemFormat, 3);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 8192);
}

TEST_F(MediaProbeFileTest, Mp4WithH264Is3gp264) {
    const MediaProbeResult r = ProbeFile(Sample("h264_aac.mp4", samplegen::Container::Mp4, true));
    EXPECT_EQ(r.wSystemFormat, 5);
    EXPECT_EQ(r.wVideoFormat, 256);
    EXPECT_EQ(r.wAudioFormat, 0);  // AAC has no code of its own
}

TEST_F(MediaProbeFileTest, RawH264IsNotMistakenForAContainer) {
    const MediaProbeResult r = ProbeFile(Sample("raw.264", samplegen::Container::RawH264, false));
    EXPECT_EQ(r.wSystemFormat, 1);
    EXPECT_EQ(r.wVideoFormat, 0);
    EXPECT_EQ(r.wAudioFormat, 0);
}

TEST_F(MediaProbeFileTest, PrefixesOfRealRecordingsAreSafe) {
    const std::string paths[] = {
        Sample("recorder_with_sound.mp4", samplegen::Container::Recorder, true),
        Sample("transport.ts", samplegen::Container::MpegTs, true),
        Sample("h264_aac.mp4", samplegen::Container::Mp4, true)};
    for (const std::string& path : paths) {
        const Bytes bytes = Read(path);
        for (size_t nCut : {0, 3, 39, 40, 41, 1023, 1024, 2047, 2048, 4096, 65536, 200000}) {
            if (nCut > bytes.size()) continue;
            MediaProbeResult r;
            MediaProbeBytes(bytes.data(), nCut, &r);
            EXPECT_EQ(r.dwUnused20, 0u);
        }
        // Cut anywhere, the probe still ends and never reads past the cut.
        MediaProbeResult r;
        MediaProbeBytes(bytes.data(), bytes.size() - 1, &r);
        EXPECT_EQ(r.dwUnused20, 0u);
    }
}

TEST_F(MediaProbeFileTest, RefusesWhatItCannotRead) {
    bool bOk = true;
    MediaProbeResult r = ProbeFile((s_dir / "missing.mp4").string(), &bOk);
    EXPECT_FALSE(bOk);
    EXPECT_EQ(r.wSystemFormat, 0);
    ProbeFile(s_dir.string(), &bOk);
    EXPECT_FALSE(bOk);
    // A named pipe without a writer must neither block nor be read.
    const std::string fifo = (s_dir / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ProbeFile(fifo, &bOk);
    EXPECT_FALSE(bOk);
    Write("empty.mp4", {});
    r = ProbeFile((s_dir / "empty.mp4").string(), &bOk);
    EXPECT_FALSE(bOk);
    EXPECT_EQ(r.wSystemFormat, 0);

    std::vector<uint8_t> small(kMediaProbeHeadBytes - 1);
    const std::string path = Sample("h264_aac.mp4", samplegen::Container::Mp4, true);
    EXPECT_FALSE(MediaProbeFile(path.c_str(), &r, small.data(), small.size()));
    EXPECT_FALSE(MediaProbeFile(nullptr, &r, small.data(), small.size()));
}

TEST_F(MediaProbeFileTest, SparseFiveGigabyteMp4WithIndexAtTheEnd) {
    // ftyp, then an mdat of 5 GiB with a 64-bit size, then moov: only the
    // headers and the index are written, the rest is a hole.
    constexpr uint64_t kMdatBytes = 5ull << 30;
    Bytes head = Box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0});
    const uint64_t nMoovAt = head.size() + kMdatBytes;
    PutBe(head, 1, 4);
    AppendText(head, "mdat");
    PutBe(head, kMdatBytes, 8);
    const Bytes moov = Box("moov", Track("avc1"));
    const std::string path = (s_dir / "sparse_5gib.mp4").string();
    const int nFd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    ASSERT_GE(nFd, 0);
    ASSERT_EQ(pwrite(nFd, head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
    ASSERT_EQ(pwrite(nFd, moov.data(), moov.size(), static_cast<off_t>(nMoovAt)),
              static_cast<ssize_t>(moov.size()));
    close(nFd);

    const MediaProbeResult r = ProbeFile(path);
    EXPECT_EQ(r.wSystemFormat, 5);
    EXPECT_EQ(r.wVideoFormat, 256);
    fs::remove(path);
}
