#include "stream_map_inserter.h"

#include <utility>

extern "C" {
#include <libavutil/bswap.h>
#include <libavutil/crc.h>
}

namespace samplegen {

namespace {

constexpr size_t kPackHeaderBytes = 14;  // MPEG-2, before stuffing
constexpr size_t kLengthFieldEnd = 6;    // start code + 16-bit length
constexpr uint8_t kPackStartCode = 0xBA;
constexpr uint8_t kSystemHeaderCode = 0xBB;
constexpr uint8_t kStreamMapCode = 0xBC;

bool IsStartCode(const uint8_t* p, uint8_t code) {
    return p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == code;
}

void PutBe16(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

}  // namespace

StreamMapInserter::StreamMapInserter(std::vector<Entry> entries, Writer writer)
    : m_map(BuildMap(entries)), m_writer(std::move(writer)) {}

std::vector<uint8_t> StreamMapInserter::BuildMap(const std::vector<Entry>& entries) {
    constexpr size_t kEntryBytes = 4, kCrcBytes = 4, kFixedBytes = 6;
    const size_t esMapBytes = kEntryBytes * entries.size();
    std::vector<uint8_t> map = {0, 0, 1, kStreamMapCode};
    PutBe16(map, kFixedBytes + esMapBytes + kCrcBytes);
    map.push_back(0xE0);  // current_next_indicator 1, reserved 11, version 0
    map.push_back(0xFF);  // reserved, marker bit
    PutBe16(map, 0);      // program_stream_info_length
    PutBe16(map, esMapBytes);
    for (const Entry& e : entries) {
        map.push_back(e.streamType);
        map.push_back(e.streamId);
        PutBe16(map, 0);  // elementary_stream_info_length
    }
    // MPEG-2 systems CRC: polynomial 0x04C11DB7, initial value all ones, no final xor.
    const uint32_t crc =
        av_bswap32(av_crc(av_crc_get_table(AV_CRC_32_IEEE), UINT32_MAX, map.data(), map.size()));
    for (int shift = 24; shift >= 0; shift -= 8) map.push_back(static_cast<uint8_t>(crc >> shift));
    return map;
}

bool StreamMapInserter::Write(const uint8_t* data, size_t size) {
    if (m_done) return m_writer(data, size);
    m_pending.insert(m_pending.end(), data, data + size);
    return TryInsert();
}

bool StreamMapInserter::TryInsert() {
    const std::vector<uint8_t>& p = m_pending;
    if (p.size() < kPackHeaderBytes) return true;
    if (!IsStartCode(p.data(), kPackStartCode) || (p[4] & 0xC0) != 0x40) {
        m_error = "the program stream does not start with an MPEG-2 pack header";
        return false;
    }
    size_t at = kPackHeaderBytes + (p[13] & 7);
    if (p.size() < at + kLengthFieldEnd) return true;
    if (IsStartCode(&p[at], kSystemHeaderCode)) {
        at += kLengthFieldEnd + (size_t{p[at + 4]} << 8 | p[at + 5]);
        if (p.size() < at) return true;
    }
    m_done = true;
    const bool ok = m_writer(p.data(), at) && m_writer(m_map.data(), m_map.size()) &&
                    m_writer(p.data() + at, p.size() - at);
    m_pending.clear();
    m_pending.shrink_to_fit();
    if (!ok) m_error = "writing the program stream failed";
    return ok;
}

}  // namespace samplegen
