#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace samplegen {

// An MPEG-2 program stream laid out the way recorders write it: every access
// unit starts a new pack and a new PES packet carrying its own time stamps,
// and the first pack holds the system header and a program stream map that
// names the stream types. (libavformat's muxer packs several small pictures
// into one PES packet, so most of them lose their time stamps, and writes
// no stream map.)
class ProgramStreamMuxer {
public:
    static constexpr uint8_t kVideoStreamId = 0xE0;
    static constexpr uint8_t kAudioStreamId = 0xC0;
    static constexpr uint8_t kStreamTypeH264 = 0x1B;
    static constexpr uint8_t kStreamTypeMpegAudio = 0x04;
    static constexpr int64_t kClockHz = 90000;

    using Writer = std::function<bool(const uint8_t* data, size_t size)>;

    ProgramStreamMuxer(bool hasAudio, Writer writer);

    // Times in 90 kHz ticks; dts only where it differs from pts.
    bool WriteVideo(const uint8_t* data, size_t size, int64_t pts, std::optional<int64_t> dts);
    bool WriteAudio(const uint8_t* data, size_t size, int64_t pts);

    // Writes the program end code.
    bool Finish();

    // The program stream map for the given streams (also used by tests).
    static std::vector<uint8_t> StreamMap(bool hasAudio);

private:
    bool WriteAccessUnit(uint8_t streamId, const uint8_t* data, size_t size, int64_t pts,
                         std::optional<int64_t> dts);
    void AppendPackHeader(std::vector<uint8_t>& out, int64_t scr) const;
    void AppendSystemHeader(std::vector<uint8_t>& out) const;

    bool m_hasAudio;
    Writer m_writer;
    bool m_started = false;
    int64_t m_lastScr = 0;
    std::vector<uint8_t> m_buffer;
};

}  // namespace samplegen
