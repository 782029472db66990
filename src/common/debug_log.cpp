#include "common/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr size_t kLineBufferBytes = 256;

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

DebugLogSink& Sink() {
    static DebugLogSink sink;
    return sink;
}

// Read once: the log is for developers and stays off for everybody else.
bool TerminalLogWanted() {
    static const bool bWanted = [] {
        const char* szValue = std::getenv("ORLIN_DEBUG");
        return szValue != nullptr && std::strcmp(szValue, "1") == 0;
    }();
    return bWanted;
}

}  // namespace

void DebugLog(const char* format, ...) {
    {
        std::lock_guard lock(SinkMutex());
        if (!Sink() && !TerminalLogWanted()) return;
    }
    char line[kLineBufferBytes];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);

    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(line);
    } else if (TerminalLogWanted()) {
        std::fprintf(stderr, "%s\n", line);
    }
}

void SetDebugLogSink(DebugLogSink sink) {
    std::lock_guard lock(SinkMutex());
    Sink() = std::move(sink);
}
