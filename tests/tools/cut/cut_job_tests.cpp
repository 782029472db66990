#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <vector>

#include "common/debug_log.h"
#include "engine_test_support.h"
#include "sample_probe.h"
#include "tools/cut/cut_job.h"

namespace fs = std::filesystem;
using enginetest::OpenIndexed;
using enginetest::PortGuard;
using enginetest::SampleFolder;
using enginetest::ShownFrame;
using samplegen::Container;

namespace {

// 160x120, 25 fps, 100 frames (4 s), a key frame every second, with B-frames and sound.
samplegen::SampleParams Params(Container container) {
    samplegen::SampleParams params = enginetest::SmallParams(container, true);
    params.frameCount = 100;
    params.audio = true;
    return params;
}

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The range from the key frame at or before `fromMs` to the key frame at or
// after `toMs`, as the engine gives it for `path`.
CutRange RangeOf(const std::string& path, uint32_t fromMs, uint32_t toMs) {
    PortGuard port;
    OpenIndexed(port, path);
    VemorFramePos from{}, to{};
    EXPECT_TRUE(Vemor_GetKeyFramePos(port, fromMs, 2, &from));
    EXPECT_TRUE(Vemor_GetNextKeyFramePos(port, toMs, 2, &to));
    CutRange range;
    range.nStart = from.nFilePos;
    range.nEnd = to.nFilePos;
    range.nStartMs = from.nFrameTime;
    range.nEndMs = to.nFrameTime;
    return range;
}

// Frame numbers read from the first, middle and last picture of a clip
// played by the engine, and its picture count.
struct PlayedClip {
    uint32_t frames = 0;
    std::vector<int> shown;
};
PlayedClip Play(const std::string& path) {
    PortGuard port;
    OpenIndexed(port, path);
    PlayedClip clip;
    clip.frames = Vemor_GetFileTotalFrames(port);
    for (uint32_t frame : {0u, clip.frames / 2, clip.frames - 1}) {
        EXPECT_TRUE(Vemor_SetCurrentFrameNum(port, frame));
        clip.shown.push_back(ShownFrame(port));
    }
    return clip;
}

class CutJobTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("orlin-cut-" + std::to_string(::getpid()) + "-" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        SetDebugLogSink([this](const std::string& line) {
            std::lock_guard lock(m_mutex);
            m_log.push_back(line);
        });
    }
    void TearDown() override {
        SetDebugLogSink({});
        if (m_fd >= 0) ::close(m_fd);
        fs::remove_all(m_dir);
    }

    CutMessage Cut(const std::string& source, const CutRange& range, const std::string& target,
                   size_t nBlock = CUT_BLOCK_BYTES) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        CutJobRequest request;
        request.strSource = source;
        request.nSourceFd = m_fd;
        request.strTarget = target;
        request.nHeadLength = 40;
        request.range = range;
        request.nBlockBytes = nBlock;
        m_progress.clear();
        return RunCutJob(request, m_cancel, [this](int nPercent) {
            m_progress.push_back(nPercent);
            if (m_cancelAtProgress >= 0 && nPercent >= m_cancelAtProgress) m_cancel = true;
        });
    }

    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    bool Logged(const std::string& line) {
        std::lock_guard lock(m_mutex);
        return std::find(m_log.begin(), m_log.end(), line) != m_log.end();
    }

    fs::path m_dir;
    int m_fd = -1;
    std::atomic<bool> m_cancel{false};
    int m_cancelAtProgress = -1;
    std::vector<int> m_progress;
    std::mutex m_mutex;
    std::vector<std::string> m_log;
};

TEST_F(CutJobTest, RecorderClipHasTheHeadAndEveryPictureFromTheStartKeyFrame) {
    const std::string source = SampleFolder::Instance().Get("cut.imx", Params(Container::Recorder));
    // 1.5 s .. 2.5 s: key frames 25 (1 s) and 75 (3 s).
    const CutRange range = RangeOf(source, 1500, 2500);
    const std::string clip = (m_dir / "clip.mp4").string();
    ASSERT_EQ(Cut(source, range, clip, 4096), CutMessage::CutSucc);

    const std::vector<char> bytes = ReadAll(source);
    std::vector<char> expected(bytes.begin(), bytes.begin() + 40);
    expected.insert(expected.end(), bytes.begin() + range.nStart, bytes.begin() + range.nEnd);
    EXPECT_TRUE(ReadAll(clip) == expected);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"clip.mp4"});
    ASSERT_FALSE(m_progress.empty());
    EXPECT_TRUE(std::is_sorted(m_progress.begin(), m_progress.end()));
    EXPECT_GT(m_progress.size(), 2u);
    EXPECT_EQ(m_progress.back(), 100);

    const PlayedClip played = Play(clip);
    EXPECT_EQ(played.frames, 50u);
    EXPECT_EQ(played.shown, (std::vector<int>{25, 50, 74}));
    EXPECT_TRUE(Logged("CutFile end"));
}

TEST_F(CutJobTest, ProgramStreamWithoutHeadGivesOnlyTheRangeInOneFinalStep) {
    const std::vector<char> recorder =
        ReadAll(SampleFolder::Instance().Get("cut.imx", Params(Container::Recorder)));
    const std::string source = (m_dir / "source.mpg").string();
    WriteAll(source, std::vector<char>(recorder.begin() + 40, recorder.end()));
    const CutRange range = RangeOf(source, 1000, 2000);
    ASSERT_LT(range.Length(), static_cast<int64_t>(CUT_BLOCK_BYTES));

    const std::string clip = (m_dir / "clip.mpg").string();
    ASSERT_EQ(Cut(source, range, clip), CutMessage::CutSucc);
    const std::vector<char> bytes = ReadAll(source);
    EXPECT_TRUE(ReadAll(clip) ==
                std::vector<char>(bytes.begin() + range.nStart, bytes.begin() + range.nEnd));
    EXPECT_EQ(m_progress, std::vector<int>{100});  // no full block: straight to the end
    EXPECT_EQ(Play(clip).shown.front(), 25);
}

TEST_F(CutJobTest, CancelLeavesNoFileAndKeepsAnEarlierClip) {
    const std::string source = SampleFolder::Instance().Get("cut.imx", Params(Container::Recorder));
    const CutRange range = RangeOf(source, 0, 3000);
    const std::string clip = (m_dir / "clip.mp4").string();
    WriteAll(clip, {'o', 'l', 'd'});
    m_cancelAtProgress = 1;
    EXPECT_EQ(Cut(source, range, clip, 1024), CutMessage::UserCancel);
    EXPECT_LT(m_progress.back(), 100);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"clip.mp4"});
    EXPECT_EQ(ReadAll(clip), (std::vector<char>{'o', 'l', 'd'}));
    EXPECT_TRUE(Logged("CutFile cancel"));
    EXPECT_TRUE(Logged("CutFile end"));
}

TEST_F(CutJobTest, ASourceThatEndsInsideTheRangeFailsWithoutOutput) {
    const std::vector<char> recorder =
        ReadAll(SampleFolder::Instance().Get("cut.imx", Params(Container::Recorder)));
    const std::string source = (m_dir / "shrunk.imx").string();
    WriteAll(source, recorder);
    const CutRange range = RangeOf(source, 1000, 3000);
    fs::resize_file(source, static_cast<uintmax_t>(range.nEnd - 100));
    EXPECT_EQ(Cut(source, range, (m_dir / "clip.mp4").string(), 4096), CutMessage::CutFail);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"shrunk.imx"});

    EXPECT_EQ(Cut((m_dir / "missing.imx").string(), range, (m_dir / "clip.mp4").string()),
              CutMessage::CreateFileFail);
    // Chosen as its own target, the recording is left whole.
    EXPECT_EQ(Cut(source, range, source), CutMessage::CreateFileFail);
    EXPECT_EQ(fs::file_size(source), static_cast<uintmax_t>(range.nEnd - 100));
    EXPECT_EQ(Cut(source, range, (m_dir / "no-folder" / "clip.mp4").string()),
              CutMessage::CreateFileFail);
}

TEST_F(CutJobTest, AFullDiskFailsTheCutWithoutOutput) {
    const std::string source = SampleFolder::Instance().Get("cut.imx", Params(Container::Recorder));
    const CutRange range = RangeOf(source, 0, 3000);
    ASSERT_GT(range.Length(), 64 * 1024);
    // A small file system when we may mount one, else a file-size limit.
    const fs::path small = m_dir / "small";
    fs::create_directories(small);
    const bool bMounted =
        ::geteuid() == 0 && ::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") == 0;
    const fs::path earlier = small / "clip.mp4";
    std::ofstream(earlier) << "an earlier clip";
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    if (!bMounted) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 64 * 1024;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    const CutMessage eResult = Cut(source, range, (small / "clip.mp4").string(), 4096);
    if (!bMounted) ::setrlimit(RLIMIT_FSIZE, &saved);
    // The earlier clip of the same name is all the folder holds.
    const std::vector<char> kept = ReadAll(earlier.string());
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "an earlier clip");
    EXPECT_EQ(std::distance(fs::directory_iterator(small), fs::directory_iterator()), 1);
    if (bMounted) ::umount(small.c_str());
    EXPECT_EQ(eResult, CutMessage::CutFail);
}

TEST_F(CutJobTest, Mp4IsCutByStreamCopyFromItsStartKeyFrame) {
    const std::string source = SampleFolder::Instance().Get("cut.mp4", Params(Container::Mp4));
    const CutRange range = RangeOf(source, 1500, 2500);  // key frames 25 and 75
    const std::string clip = (m_dir / "clip.mp4").string();
    ASSERT_EQ(Cut(source, range, clip), CutMessage::CutSucc);
    EXPECT_EQ(m_progress.back(), 100);

    samplegen_test::ProbedSample probed;
    std::string error;
    ASSERT_TRUE(samplegen_test::ProbeSample(clip, false, &probed, &error)) << error;
    EXPECT_NE(probed.formatName.find("mp4"), std::string::npos);
    ASSERT_EQ(probed.frames.size(), 50u);
    EXPECT_TRUE(probed.frames.front().key);
    EXPECT_EQ(probed.frames.front().number, 25);
    EXPECT_EQ(probed.frames.back().number, 74);
    EXPECT_NEAR(probed.frames.front().seconds, 0.0, 1e-6);
    EXPECT_TRUE(probed.hasAudio);
    EXPECT_GT(probed.audioFrames, 0);
    EXPECT_LT(probed.durationSeconds, 2.2);

    const PlayedClip played = Play(clip);
    EXPECT_EQ(played.frames, 50u);
    EXPECT_EQ(played.shown, (std::vector<int>{25, 50, 74}));
}

TEST_F(CutJobTest, Mp4CutToTheFilesEndKeepsTheLastPicture) {
    const std::string source = SampleFolder::Instance().Get("cut.mp4", Params(Container::Mp4));
    CutRange range = RangeOf(source, 2000, 2000);
    range.nEnd = static_cast<int64_t>(fs::file_size(source));
    range.nEndMs = -1;
    range.bToFileEnd = true;
    const std::string clip = (m_dir / "tail.mp4").string();
    ASSERT_EQ(Cut(source, range, clip), CutMessage::CutSucc);
    samplegen_test::ProbedSample probed;
    std::string error;
    ASSERT_TRUE(samplegen_test::ProbeSample(clip, false, &probed, &error)) << error;
    ASSERT_EQ(probed.frames.size(), 50u);
    EXPECT_EQ(probed.frames.front().number, 50);
    EXPECT_EQ(probed.frames.back().number, 99);
}

}  // namespace
