#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace samplegen {

// Sits between the program-stream muxer and the file and adds a program
// stream map (00 00 01 BC) right after the first pack header and its system
// header, which libavformat's muxer does not write. Demuxers and file probes
// learn the stream types from it instead of guessing them.
class StreamMapInserter {
public:
    struct Entry {
        uint8_t streamType;  // 0x1B H.264, 0x04 MPEG audio
        uint8_t streamId;    // PES stream id, 0xE0..0xEF or 0xC0..0xDF
    };
    using Writer = std::function<bool(const uint8_t* data, size_t size)>;

    StreamMapInserter(std::vector<Entry> entries, Writer writer);

    // The complete map unit.
    static std::vector<uint8_t> BuildMap(const std::vector<Entry>& entries);

    // Passes bytes on, holding back only the start of the stream until the
    // first pack is complete enough to place the map. False when writing
    // fails or the stream does not start with an MPEG-2 pack header.
    bool Write(const uint8_t* data, size_t size);

    // True once the map has gone out.
    bool Done() const { return m_done; }
    const std::string& Error() const { return m_error; }

private:
    bool TryInsert();

    std::vector<uint8_t> m_map;
    Writer m_writer;
    std::vector<uint8_t> m_pending;
    bool m_done = false;
    std::string m_error;
};

}  // namespace samplegen
