#include "sample_table.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace vidmux {

namespace {

// Packets read to check the tables against what the demuxer delivers.
constexpr int kPacketsChecked = 64;

struct Box {
    uint32_t type = 0;
    int64_t body = 0;  // offset of the box's contents
    int64_t end = 0;
};

constexpr uint32_t Fourcc(const char* s) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

class BoxReader {
public:
    explicit BoxReader(FILE* file) : m_file(file) {}

    bool U32(int64_t at, uint32_t* value) {
        uint8_t b[4];
        if (fseeko(m_file, at, SEEK_SET) != 0 || std::fread(b, 1, 4, m_file) != 4) return false;
        *value = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
        return true;
    }

    // The child boxes of [from, end).
    std::vector<Box> Children(int64_t from, int64_t end) {
        std::vector<Box> boxes;
        for (int64_t at = from; at + 8 <= end;) {
            uint32_t size32 = 0, type = 0;
            if (!U32(at, &size32) || !U32(at + 4, &type)) break;
            int64_t size = size32, header = 8;
            if (size32 == 1) {
                uint32_t high = 0, low = 0;
                if (!U32(at + 8, &high) || !U32(at + 12, &low)) break;
                size = (int64_t(high) << 32) | low;
                header = 16;
            } else if (size32 == 0) {
                size = end - at;
            }
            if (size < header || at + size > end) break;
            boxes.push_back({type, at + header, at + size});
            at += size;
        }
        return boxes;
    }

    std::optional<Box> Child(const Box& parent, uint32_t type) {
        for (const Box& box : Children(parent.body, parent.end)) {
            if (box.type == type) return box;
        }
        return std::nullopt;
    }

private:
    FILE* m_file;
};

// Composition offsets of the track with this id, one per sample; empty when
// the track has none (pictures shown in decode order).
bool ReadCompositionOffsets(const std::string& path, int trackId, std::vector<int32_t>* offsets) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    struct stat info {};
    fstat(fileno(file), &info);
    BoxReader reader(file);
    bool found = false;
    for (const Box& top : reader.Children(0, info.st_size)) {
        if (top.type != Fourcc("moov")) continue;
        for (const Box& trak : reader.Children(top.body, top.end)) {
            if (trak.type != Fourcc("trak")) continue;
            std::optional<Box> tkhd = reader.Child(trak, Fourcc("tkhd"));
            uint32_t version = 0, id = 0;
            if (!tkhd || !reader.U32(tkhd->body, &version)) continue;
            if (!reader.U32(tkhd->body + ((version >> 24) == 1 ? 20 : 12), &id)) continue;
            if (static_cast<int>(id) != trackId) continue;
            found = true;
            std::optional<Box> mdia = reader.Child(trak, Fourcc("mdia"));
            std::optional<Box> minf = mdia ? reader.Child(*mdia, Fourcc("minf")) : std::nullopt;
            std::optional<Box> stbl = minf ? reader.Child(*minf, Fourcc("stbl")) : std::nullopt;
            std::optional<Box> ctts = stbl ? reader.Child(*stbl, Fourcc("ctts")) : std::nullopt;
            if (!stbl) found = false;
            if (!ctts) break;
            uint32_t count = 0;
            if (!reader.U32(ctts->body, &version) || !reader.U32(ctts->body + 4, &count) ||
                ctts->body + 8 + int64_t(count) * 8 > ctts->end) {
                found = false;
                break;
            }
            std::vector<uint8_t> table(size_t(count) * 8);
            if (fseeko(file, ctts->body + 8, SEEK_SET) != 0 ||
                std::fread(table.data(), 1, table.size(), file) != table.size()) {
                found = false;
                break;
            }
            for (uint32_t i = 0; i < count; ++i) {
                const uint8_t* e = &table[size_t(i) * 8];
                const uint32_t samples = (uint32_t(e[0]) << 24) | (e[1] << 16) | (e[2] << 8) | e[3];
                const uint32_t value = (uint32_t(e[4]) << 24) | (e[5] << 16) | (e[6] << 8) | e[7];
                if (offsets->size() + samples > (1u << 28)) {
                    found = false;
                    break;
                }
                offsets->insert(offsets->end(), samples, static_cast<int32_t>(value));
            }
            break;
        }
    }
    std::fclose(file);
    return found;
}

}  // namespace

bool IsSampleTableFormat(const AVFormatContext* format) {
    return std::strncmp(format->iformat->name, "mov,", 4) == 0;
}

bool ReadSampleTable(const std::string& path, AVFormatContext* format, int videoStream,
                     const std::function<void(const TableSample&)>& sample, bool* cutOff) {
    *cutOff = false;
    if (!IsSampleTableFormat(format)) return false;
    AVStream* video = format->streams[videoStream];
    const int count = avformat_index_get_entries_count(video);
    if (count <= 0) return false;
    std::vector<int32_t> offsets;
    if (!ReadCompositionOffsets(path, video->id, &offsets)) return false;
    if (!offsets.empty() && static_cast<int>(offsets.size()) != count) return false;
    // Negative offsets are shifted so that no picture is shown before it is decoded.
    int32_t shift = 0;
    for (int32_t offset : offsets) shift = std::max(shift, -offset);

    auto entryAt = [&](int i, TableSample* out) {
        const AVIndexEntry* entry = avformat_index_get_entry(video, i);
        if (!entry) return false;
        out->dts = entry->timestamp;
        out->pts = entry->timestamp + shift + (offsets.empty() ? 0 : offsets[size_t(i)]);
        out->pos = entry->pos;
        out->key = (entry->flags & AVINDEX_KEYFRAME) != 0;
        return (entry->flags & AVINDEX_DISCARD_FRAME) == 0;
    };

    // The demuxer's first packets must carry the timestamps the tables give.
    PacketPtr packet(av_packet_alloc());
    if (!packet) return false;
    int checked = 0, i = 0;
    while (checked < kPacketsChecked && checked < count &&
           av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == videoStream) {
            TableSample expected;
            while (i < count && !entryAt(i, &expected)) ++i;
            const bool same = i < count && expected.pts == packet->pts &&
                              expected.dts == packet->dts && expected.pos == packet->pos;
            av_packet_unref(packet.get());
            if (!same) return false;
            ++i;
            ++checked;
            continue;
        }
        av_packet_unref(packet.get());
    }
    if (checked == 0) return false;

    const int64_t fileSize = avio_size(format->pb);
    for (int n = 0; n < count; ++n) {
        TableSample picture;
        if (!entryAt(n, &picture)) continue;
        const AVIndexEntry* entry = avformat_index_get_entry(video, n);
        if (fileSize > 0 && picture.pos + entry->size > fileSize) {
            *cutOff = true;
            continue;
        }
        sample(picture);
    }
    return true;
}

}  // namespace vidmux
