#include "program_stream_muxer.h"

#include <algorithm>

extern "C" {
#include <libavutil/bswap.h>
#include <libavutil/crc.h>
}

namespace samplegen {

namespace {

// Declared multiplex rate in units of 50 bytes/s (10 Mbit/s); players use
// the time stamps, not this.
constexpr uint32_t kMuxRate = 25000;
// The system clock runs this far ahead of each unit's decoding time.
constexpr int64_t kScrLead = ProgramStreamMuxer::kClockHz / 10;
// Largest PES payload: the 16-bit length also covers 3 flag bytes and up to
// 10 bytes of time stamps.
constexpr size_t kMaxPesPayload = 0xFFFF - 3 - 10;
constexpr uint32_t kVideoBufferKiB = 1024;  // P-STD bound, in units of 1024 bytes
constexpr uint32_t kAudioBuffer128 = 32;    // P-STD bound, in units of 128 bytes

void PutBe16(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutStartCode(std::vector<uint8_t>& out, uint8_t code) {
    out.insert(out.end(), {0, 0, 1, code});
}

// 33-bit time stamp with its 4-bit prefix and marker bits, five bytes.
void PutTimeStamp(std::vector<uint8_t>& out, uint8_t prefix, int64_t ts) {
    const uint64_t t = static_cast<uint64_t>(ts) & ((uint64_t{1} << 33) - 1);
    out.push_back(static_cast<uint8_t>(prefix << 4 | ((t >> 29) & 0x0E) | 1));
    PutBe16(out, ((t >> 14) & 0xFFFE) | 1);
    PutBe16(out, ((t << 1) & 0xFFFE) | 1);
}

}  // namespace

ProgramStreamMuxer::ProgramStreamMuxer(bool hasAudio, Writer writer)
    : m_hasAudio(hasAudio), m_writer(std::move(writer)) {}

std::vector<uint8_t> ProgramStreamMuxer::StreamMap(bool hasAudio) {
    constexpr size_t kEntryBytes = 4, kCrcBytes = 4, kFixedBytes = 6;
    const size_t esMapBytes = kEntryBytes * (hasAudio ? 2 : 1);
    std::vector<uint8_t> map;
    PutStartCode(map, 0xBC);
    PutBe16(map, kFixedBytes + esMapBytes + kCrcBytes);
    map.push_back(0xE0);  // current_next_indicator 1, reserved, version 0
    map.push_back(0xFF);  // reserved, marker bit
    PutBe16(map, 0);      // program_stream_info_length
    PutBe16(map, esMapBytes);
    map.insert(map.end(), {kStreamTypeH264, kVideoStreamId, 0, 0});
    if (hasAudio) map.insert(map.end(), {kStreamTypeMpegAudio, kAudioStreamId, 0, 0});
    // MPEG-2 systems CRC: polynomial 0x04C11DB7, all ones at the start, no final xor.
    const uint32_t crc =
        av_bswap32(av_crc(av_crc_get_table(AV_CRC_32_IEEE), UINT32_MAX, map.data(), map.size()));
    for (int shift = 24; shift >= 0; shift -= 8) map.push_back(static_cast<uint8_t>(crc >> shift));
    return map;
}

void ProgramStreamMuxer::AppendPackHeader(std::vector<uint8_t>& out, int64_t scr) const {
    const uint64_t b = static_cast<uint64_t>(scr) & ((uint64_t{1} << 33) - 1);
    PutStartCode(out, 0xBA);
    out.push_back(static_cast<uint8_t>(0x44 | ((b >> 27) & 0x38) | ((b >> 28) & 0x03)));
    out.push_back(static_cast<uint8_t>(b >> 20));
    out.push_back(static_cast<uint8_t>(((b >> 12) & 0xF8) | 0x04 | ((b >> 13) & 0x03)));
    out.push_back(static_cast<uint8_t>(b >> 5));
    out.push_back(static_cast<uint8_t>(((b << 3) & 0xF8) | 0x04));  // SCR extension 0
    out.push_back(0x01);
    out.push_back(static_cast<uint8_t>(kMuxRate >> 14));
    out.push_back(static_cast<uint8_t>(kMuxRate >> 6));
    out.push_back(static_cast<uint8_t>((kMuxRate << 2) | 0x03));
    out.push_back(0xF8);  // reserved bits, no stuffing
}

void ProgramStreamMuxer::AppendSystemHeader(std::vector<uint8_t>& out) const {
    const int streams = m_hasAudio ? 2 : 1;
    PutStartCode(out, 0xBB);
    PutBe16(out, 6 + 3 * streams);
    out.push_back(static_cast<uint8_t>(0x80 | (kMuxRate >> 15)));  // rate bound
    out.push_back(static_cast<uint8_t>(kMuxRate >> 7));
    out.push_back(static_cast<uint8_t>((kMuxRate << 1) | 0x01));
    out.push_back(static_cast<uint8_t>((m_hasAudio ? 1 : 0) << 2));  // audio bound
    out.push_back(0xE1);  // audio and video locked, one video stream
    out.push_back(0x7F);  // no packet rate restriction
    out.push_back(kVideoStreamId);
    PutBe16(out, 0xE000 | kVideoBufferKiB);  // scale 1: units of 1024 bytes
    if (m_hasAudio) {
        out.push_back(kAudioStreamId);
        PutBe16(out, 0xC000 | kAudioBuffer128);  // scale 0: units of 128 bytes
    }
}

bool ProgramStreamMuxer::WriteVideo(const uint8_t* data, size_t size, int64_t pts,
                                    std::optional<int64_t> dts) {
    return WriteAccessUnit(kVideoStreamId, data, size, pts, dts);
}

bool ProgramStreamMuxer::WriteAudio(const uint8_t* data, size_t size, int64_t pts) {
    return WriteAccessUnit(kAudioStreamId, data, size, pts, std::nullopt);
}

bool ProgramStreamMuxer::WriteAccessUnit(uint8_t streamId, const uint8_t* data, size_t size,
                                         int64_t pts, std::optional<int64_t> dts) {
    std::vector<uint8_t>& out = m_buffer;
    out.clear();
    const int64_t decodeTime = dts.value_or(pts);
    m_lastScr = std::max(m_lastScr, decodeTime - kScrLead);
    AppendPackHeader(out, m_lastScr);
    if (!m_started) {
        AppendSystemHeader(out);
        const std::vector<uint8_t> map = StreamMap(m_hasAudio);
        out.insert(out.end(), map.begin(), map.end());
        m_started = true;
    }
    size_t offset = 0;
    do {
        const bool first = offset == 0;
        const size_t stampBytes = !first ? 0 : dts ? 10 : 5;
        const size_t chunk = std::min(size - offset, kMaxPesPayload);
        PutStartCode(out, streamId);
        PutBe16(out, 3 + stampBytes + chunk);
        out.push_back(first ? 0x84 : 0x80);  // '10', data alignment on the unit's start
        out.push_back(!first ? 0x00 : dts ? 0xC0 : 0x80);
        out.push_back(static_cast<uint8_t>(stampBytes));
        if (first) {
            PutTimeStamp(out, dts ? 0x3 : 0x2, pts);
            if (dts) PutTimeStamp(out, 0x1, *dts);
        }
        out.insert(out.end(), data + offset, data + offset + chunk);
        offset += chunk;
    } while (offset < size);
    return m_writer(out.data(), out.size());
}

bool ProgramStreamMuxer::Finish() {
    const uint8_t endCode[] = {0, 0, 1, 0xB9};
    return m_writer(endCode, sizeof endCode);
}

}  // namespace samplegen
