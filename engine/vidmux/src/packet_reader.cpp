#include "packet_reader.h"

namespace vidmux {

namespace {

// Errors in a row at one byte position before the reader gives up: the
// demuxer is not getting past this point.
constexpr int kMaxStuckErrors = 64;

}  // namespace

void PacketReader::Reset() {
    m_errorPos = -1;
    m_stuckErrors = 0;
    m_failed = false;
}

int PacketReader::Read(AVPacket* packet) {
    for (;;) {
        const int read = av_read_frame(m_format, packet);
        if (read >= 0) {
            m_stuckErrors = 0;
            return read;
        }
        if (read == AVERROR_EOF || read == AVERROR_EXIT) return read;
        AVIOContext* io = m_format->pb;
        if (!io || avio_feof(io)) {
            // At the end of the file a demuxer may report the torn last
            // packet as damage; that is still the end.
            if (!io || (io->error < 0 && io->error != AVERROR_EOF)) m_failed = true;
            return m_failed ? read : AVERROR_EOF;
        }
        const int64_t pos = avio_tell(io);
        ++m_skippedErrors;
        m_stuckErrors = pos == m_errorPos ? m_stuckErrors + 1 : 0;
        m_errorPos = pos;
        if (m_stuckErrors >= kMaxStuckErrors) {
            m_failed = true;
            return read;
        }
    }
}

}  // namespace vidmux
