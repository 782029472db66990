#pragma once

#include <cstdint>

#include "ffmpeg_ptr.h"

namespace vidmux {

// Reads packets past damage. Demuxers report a stretch of garbage (a zeroed
// disk sector, a torn write) as a temporary error and then go on delivering
// packets after it, so only the end of the file, an interrupt, or an error
// that keeps coming back without the reader moving ends the stream.
class PacketReader {
public:
    explicit PacketReader(AVFormatContext* format) : m_format(format) {}

    // 0 with a packet, or a negative AVERROR when the stream has ended.
    int Read(AVPacket* packet);
    // True once a read gave up on an error other than the end of the file.
    bool Failed() const { return m_failed; }
    // Errors read past so far: damage in the file.
    int64_t SkippedErrors() const { return m_skippedErrors; }
    // After a seek the reader starts with a clean slate.
    void Reset();

private:
    AVFormatContext* m_format;
    int64_t m_errorPos = -1;
    int m_stuckErrors = 0;
    int64_t m_skippedErrors = 0;
    bool m_failed = false;
};

}  // namespace vidmux
