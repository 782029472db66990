#include "common/debug_log.h"

#include <cstdarg>
#include <cstdio>
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

}  // namespace

void DebugLog(const char* format, ...) {
    char line[kLineBufferBytes];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);

    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(line);
    } else {
        std::fprintf(stderr, "%s\n", line);
    }
}

void SetDebugLogSink(DebugLogSink sink) {
    std::lock_guard lock(SinkMutex());
    Sink() = std::move(sink);
}
