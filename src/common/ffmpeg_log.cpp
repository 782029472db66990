#include "common/ffmpeg_log.h"

#include <cstdarg>
#include <cstring>

extern "C" {
#include <libavutil/log.h>
}

#include "common/debug_log.h"

namespace {

void ForwardFfmpegMessage(void* pContext, int nLevel, const char* szFormat, va_list args) {
    if (nLevel > AV_LOG_WARNING) return;
    char szLine[240];
    // Every message gets its source's name: lines of one message split over
    // several calls each say where they come from.
    int nPrintPrefix = 1;
    if (av_log_format_line2(pContext, nLevel, szFormat, args, szLine, sizeof szLine,
                            &nPrintPrefix) < 0) {
        return;
    }
    size_t nLength = std::strlen(szLine);
    while (nLength > 0 && (szLine[nLength - 1] == '\n' || szLine[nLength - 1] == '\r')) {
        szLine[--nLength] = '\0';
    }
    if (nLength > 0) DebugLog("FFmpeg: %s", szLine);
}

}  // namespace

void SendFfmpegMessagesToDebugLog() { av_log_set_callback(&ForwardFfmpegMessage); }

void RestoreFfmpegMessages() { av_log_set_callback(&av_log_default_callback); }
