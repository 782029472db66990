#include "watermark_sei.h"

#include <cstring>

#include "ffmpeg_ptr.h"

namespace samplegen {

// Orlin's own identifier for watermark SEI messages (a random version-4 UUID).
const uint8_t kWatermarkUuid[16] = {0x6f, 0x72, 0x6c, 0x69, 0x8c, 0x3e, 0x4b, 0x57,
                                    0x9a, 0x21, 0x5d, 0xe4, 0x07, 0xb3, 0xc6, 0x1f};

namespace {

constexpr uint8_t kSeiNalHeader = 0x06;  // nal_ref_idc 0, type 6
constexpr uint8_t kUserDataUnregistered = 5;
constexpr uint8_t kRbspStopBit = 0x80;

void PutLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Offset of the start code (three or four bytes) of the first slice NAL unit.
size_t FirstSliceStart(const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 3 < size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) continue;
        const int type = data[i + 3] & 0x1f;
        if (type >= 1 && type <= 5) return i > 0 && data[i - 1] == 0 ? i - 1 : i;
        i += 2;
    }
    return size;
}

}  // namespace

std::vector<uint8_t> WatermarkSei::Record(const Watermark& watermark) {
    std::vector<uint8_t> record;
    PutLe32(record, watermark.packedTime);
    PutLe32(record, watermark.serial);
    record.insert(record.end(), watermark.mac, watermark.mac + 6);
    record.push_back(watermark.deviceType);
    record.push_back(watermark.deviceInfo);
    record.push_back(watermark.channel);
    return record;
}

WatermarkSei::WatermarkSei(const Watermark& watermark) {
    std::vector<uint8_t> rbsp = {kUserDataUnregistered,
                                 static_cast<uint8_t>(sizeof kWatermarkUuid + kWatermarkBytes)};
    rbsp.insert(rbsp.end(), kWatermarkUuid, kWatermarkUuid + sizeof kWatermarkUuid);
    const std::vector<uint8_t> record = Record(watermark);
    rbsp.insert(rbsp.end(), record.begin(), record.end());
    rbsp.push_back(kRbspStopBit);

    m_nal = {0, 0, 0, 1, kSeiNalHeader};
    int zeros = 0;
    for (uint8_t byte : rbsp) {
        // Two zero bytes followed by 0..3 would read as a start code.
        if (zeros == 2 && byte <= 3) {
            m_nal.push_back(3);
            zeros = 0;
        }
        m_nal.push_back(byte);
        zeros = byte == 0 ? zeros + 1 : 0;
    }
}

bool WatermarkSei::InsertInto(AVPacket* packet) const {
    const size_t at = FirstSliceStart(packet->data, packet->size);
    if (at >= static_cast<size_t>(packet->size)) return false;
    PacketPtr out(av_packet_alloc());
    if (!out || av_new_packet(out.get(), packet->size + static_cast<int>(m_nal.size())) < 0 ||
        av_packet_copy_props(out.get(), packet) < 0) {
        return false;
    }
    std::memcpy(out->data, packet->data, at);
    std::memcpy(out->data + at, m_nal.data(), m_nal.size());
    std::memcpy(out->data + at + m_nal.size(), packet->data + at, packet->size - at);
    av_packet_unref(packet);
    av_packet_move_ref(packet, out.get());
    return true;
}

}  // namespace samplegen
