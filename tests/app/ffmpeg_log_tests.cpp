// FFmpeg's warnings and errors reach the program's debug channel, not the
// terminal; its chatter is dropped.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "common/debug_log.h"
#include "common/ffmpeg_log.h"

TEST(FfmpegLogTest, WarningsAndErrorsGoToTheDebugChannelAndInformationIsDropped) {
    std::mutex mutex;
    std::vector<std::string> lines;
    SetDebugLogSink([&](const std::string& line) {
        std::lock_guard lock(mutex);
        lines.push_back(line);
    });
    SendFfmpegMessagesToDebugLog();
    av_log(nullptr, AV_LOG_ERROR, "Packet corrupt (stream = %d, dts = %d).\n", 0, 221400);
    av_log(nullptr, AV_LOG_WARNING, "Could not find codec parameters\n");
    av_log(nullptr, AV_LOG_INFO, "Starting second pass\n");
    // A message from an FFmpeg object names it.
    AVFormatContext* pFormat = avformat_alloc_context();
    av_log(pFormat, AV_LOG_ERROR, "partial file\n");
    avformat_free_context(pFormat);
    RestoreFfmpegMessages();
    av_log(nullptr, AV_LOG_ERROR, "after the restore\n");
    SetDebugLogSink({});

    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "FFmpeg: Packet corrupt (stream = 0, dts = 221400).");
    EXPECT_EQ(lines[1], "FFmpeg: Could not find codec parameters");
    EXPECT_EQ(lines[2].rfind("FFmpeg: [NULL @ 0x", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find("] partial file"), std::string::npos) << lines[2];
}
