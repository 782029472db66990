#include "matroska_blocks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#include "timeline.h"

namespace vidmux {

namespace {

// Packets read to check the walk against what the demuxer delivers.
constexpr int kPacketsChecked = 64;
// Blocks walked between two looks at the abort flag.
constexpr int kBlocksPerAbortCheck = 4096;
// The most a file may hold of an element it ends inside: a torn picture.
// More than this after the tear means the "tear" is damage.
constexpr int64_t kMaxTornBytes = 32 << 20;
// Elements passed over before the segment starts (the EBML head, padding).
constexpr int kMaxElementsBeforeSegment = 16;

constexpr uint32_t kEbmlHead = 0x1A45DFA3;
constexpr uint32_t kSegment = 0x18538067;
constexpr uint32_t kCluster = 0x1F43B675;
constexpr uint32_t kClusterTimestamp = 0xE7;
constexpr uint32_t kSimpleBlock = 0xA3;
constexpr uint32_t kBlockGroup = 0xA0;
constexpr uint32_t kBlock = 0xA1;
constexpr uint32_t kReferenceBlock = 0xFB;
constexpr uint32_t kTracks = 0x1654AE6B;
constexpr uint32_t kTrackEntry = 0xAE;
constexpr uint32_t kTrackNumber = 0xD7;
constexpr uint32_t kVoid = 0xEC;
constexpr uint32_t kCrc32 = 0xBF;
// What a cluster and a block group may hold. Anything else there is damage
// the demuxer would resynchronise past, losing pictures the walk would list.
constexpr uint32_t kClusterChildIds[] = {kClusterTimestamp,
                                         kSimpleBlock,
                                         kBlockGroup,
                                         0xA7 /*Position*/,
                                         0xAB /*PrevSize*/,
                                         0x5854 /*SilentTracks*/,
                                         0xAF /*EncryptedBlock*/,
                                         kVoid,
                                         kCrc32};
constexpr uint32_t kBlockGroupChildIds[] = {kBlock,
                                            0xA2 /*BlockVirtual*/,
                                            0x75A1 /*BlockAdditions*/,
                                            0x9B /*BlockDuration*/,
                                            0xFA /*ReferencePriority*/,
                                            kReferenceBlock,
                                            0xFD /*ReferenceVirtual*/,
                                            0xA4 /*CodecState*/,
                                            0x75A2 /*DiscardPadding*/,
                                            0x8E /*Slices*/,
                                            0xC8 /*ReferenceFrame*/,
                                            kVoid,
                                            kCrc32};
// The elements that sit beside clusters in a segment: one of them ends a
// cluster whose size was not written (a recording streamed as it was made).
constexpr uint32_t kSegmentLevelIds[] = {kEbmlHead,
                                         kSegment,
                                         kCluster,
                                         0x114D9B74 /*SeekHead*/,
                                         0x1549A966 /*Info*/,
                                         kTracks,
                                         0x1C53BB6B /*Cues*/,
                                         0x1941A469 /*Attachments*/,
                                         0x1043A770 /*Chapters*/,
                                         0x1254C367 /*Tags*/};

constexpr int64_t kUnknownEnd = INT64_MAX;

// Small reads from anywhere in a file, served from one window so that
// headers lying close together cost one system call.
class FileWindow {
public:
    FileWindow(int fd, int64_t size) : m_fd(fd), m_size(size) {}
    int64_t Size() const { return m_size; }

    // The bytes [pos, pos + count), count <= kMaxRead, which must lie in the
    // file; null when they cannot be read.
    const uint8_t* At(int64_t pos, int count) {
        if (pos < 0 || count > kMaxRead || pos + count > m_size) return nullptr;
        if (m_start < 0 || pos < m_start || pos + count > m_start + m_length) {
            const ssize_t got = pread(m_fd, m_bytes, sizeof m_bytes, pos);
            if (got < count) {
                m_start = -1;
                return nullptr;
            }
            m_start = pos;
            m_length = got;
        }
        return m_bytes + (pos - m_start);
    }

    // True when the 4 bytes `pattern` occur in [from, to).
    bool Holds(int64_t from, int64_t to, const uint8_t (&pattern)[4]) {
        uint8_t chunk[65536];
        for (int64_t at = from; at + 4 <= to; at += sizeof chunk - 3) {
            const size_t want = static_cast<size_t>(std::min<int64_t>(sizeof chunk, to - at));
            const ssize_t got = pread(m_fd, chunk, want, at);
            if (got < 4) return got < 0;
            if (std::search(chunk, chunk + got, pattern, pattern + 4) != chunk + got) return true;
        }
        return false;
    }

    static constexpr int kMaxRead = 16;

private:
    int m_fd;
    int64_t m_size;
    int64_t m_start = -1;
    int64_t m_length = 0;
    uint8_t m_bytes[4096];
};

struct Element {
    uint32_t id = 0;
    int64_t body = 0;  // offset of its contents
    int64_t end = 0;   // offset after its contents, kUnknownEnd when its size is not written
};

enum class HeaderRead { Ok, PastEnd, Bad };

// Length of the variable-length integer that starts with `first`, 0 when invalid.
int VintLength(uint8_t first) { return first == 0 ? 0 : std::countl_zero(first) + 1; }

// The value of a variable-length integer of `length` bytes, without its length marker.
uint64_t VintValue(const uint8_t* bytes, int length) {
    uint64_t value = bytes[0] & (0xFF >> length);
    for (int i = 1; i < length; ++i) value = (value << 8) | bytes[i];
    return value;
}

// The id and size of the element at `pos`. PastEnd when the file ends inside them.
HeaderRead ReadElement(FileWindow& file, int64_t pos, Element* element) {
    if (pos >= file.Size()) return HeaderRead::PastEnd;
    const uint8_t* first = file.At(pos, 1);
    if (!first) return HeaderRead::Bad;
    const int idLength = VintLength(first[0]);
    if (idLength == 0 || idLength > 4) return HeaderRead::Bad;
    if (pos + idLength >= file.Size()) return HeaderRead::PastEnd;
    const uint8_t* sizeFirst = file.At(pos + idLength, 1);
    if (!sizeFirst) return HeaderRead::Bad;
    const int sizeLength = VintLength(sizeFirst[0]);
    if (sizeLength == 0) return HeaderRead::Bad;
    if (pos + idLength + sizeLength > file.Size()) return HeaderRead::PastEnd;
    const uint8_t* bytes = file.At(pos, idLength + sizeLength);
    if (!bytes) return HeaderRead::Bad;

    uint32_t id = 0;
    for (int i = 0; i < idLength; ++i) id = (id << 8) | bytes[i];
    const uint64_t size = VintValue(bytes + idLength, sizeLength);
    // A size whose value bits are all set is not written.
    const bool unknown = size == (uint64_t{1} << (7 * sizeLength)) - 1;
    element->id = id;
    element->body = pos + idLength + sizeLength;
    element->end = unknown ? kUnknownEnd : element->body + static_cast<int64_t>(size);
    return HeaderRead::Ok;
}

template <size_t N>
bool OneOf(uint32_t id, const uint32_t (&ids)[N]) {
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

// A picture found by the walk: its time, and where its block's data begins
// (which is the byte position the demuxer gives its packet).
class BlockRecord {
public:
    BlockRecord(int64_t pts, int64_t pos, bool key)
        : m_pts(pts), m_posKey((static_cast<uint64_t>(pos) << 1) | (key ? 1 : 0)) {}
    int64_t Pts() const { return m_pts; }
    int64_t Pos() const { return static_cast<int64_t>(m_posKey >> 1); }
    bool Key() const { return (m_posKey & 1) != 0; }

private:
    int64_t m_pts;
    uint64_t m_posKey;
};

// Walks segment -> cluster -> block headers, seeking over everything else.
class BlockWalker {
public:
    BlockWalker(FileWindow& file, uint64_t videoTrack, const std::atomic<bool>& abort)
        : m_file(file), m_videoTrack(videoTrack), m_abort(abort) {}

    // False when the file cannot be walked or the walk was aborted.
    bool Walk();
    std::vector<BlockRecord>& Records() { return m_records; }
    // The file ends inside an element: its last picture may be torn off.
    bool CutOff() const { return m_cutOff; }

private:
    bool FindSegment(Element* segment);
    // Walks a cluster; *next is where the element after it begins.
    bool WalkCluster(const Element& cluster, int64_t* next);
    bool WalkBlockGroup(const Element& group, int64_t clusterTime);
    bool AddBlock(const Element& block, int64_t clusterTime, bool simple, bool referenced);
    // Notes the numbers of the tracks the file declares.
    bool ReadTrackNumbers(const Element& tracks);
    // The unsigned integer in an element of up to eight bytes.
    bool ReadUnsigned(const Element& element, uint64_t* value);

    FileWindow& m_file;
    uint64_t m_videoTrack;
    const std::atomic<bool>& m_abort;
    std::vector<BlockRecord> m_records;
    std::vector<uint64_t> m_tracks;
    int64_t m_blocksSinceAbortCheck = 0;
    bool m_cutOff = false;
    int64_t m_tornFrom = -1;  // where the element the file ends inside begins
};

bool BlockWalker::Walk() {
    Element segment;
    if (!FindSegment(&segment)) return false;
    const int64_t size = m_file.Size();
    // A second segment or anything else after the first is left to the demuxer.
    if (segment.end != kUnknownEnd && segment.end < size) return false;
    if (segment.end != kUnknownEnd && segment.end > size) m_cutOff = true;
    const int64_t end = std::min(segment.end, size);
    for (int64_t pos = segment.body; pos < end;) {
        Element element;
        const HeaderRead read = ReadElement(m_file, pos, &element);
        if (read == HeaderRead::PastEnd) {
            m_cutOff = true;
            break;
        }
        if (read == HeaderRead::Bad) return false;
        if (element.id == kCluster) {
            if (!WalkCluster(element, &pos)) return false;
            continue;
        }
        if (!OneOf(element.id, kSegmentLevelIds) && element.id != kVoid && element.id != kCrc32) {
            return false;
        }
        if (element.end == kUnknownEnd) return false;
        if (element.id == kTracks && !ReadTrackNumbers(element)) return false;
        if (element.end > size) {
            m_cutOff = true;
            m_tornFrom = pos;
        }
        pos = element.end;
    }
    // Garbage can look like an element that runs past the end of the file;
    // a real tear has no cluster after it.
    const uint8_t cluster[4] = {0x1F, 0x43, 0xB6, 0x75};
    if (m_tornFrom >= 0 &&
        (size - m_tornFrom > kMaxTornBytes || m_file.Holds(m_tornFrom + 1, size, cluster))) {
        return false;
    }
    return !m_abort.load(std::memory_order_relaxed);
}

bool BlockWalker::FindSegment(Element* segment) {
    int64_t pos = 0;
    for (int i = 0; i < kMaxElementsBeforeSegment; ++i) {
        if (ReadElement(m_file, pos, segment) != HeaderRead::Ok) return false;
        if (i == 0 && segment->id != kEbmlHead) return false;
        if (segment->id == kSegment) return true;
        if (segment->end == kUnknownEnd) return false;
        pos = segment->end;
    }
    return false;
}

bool BlockWalker::WalkCluster(const Element& cluster, int64_t* next) {
    const int64_t size = m_file.Size();
    const bool sized = cluster.end != kUnknownEnd;
    const int64_t end = std::min(cluster.end, size);
    int64_t clusterTime = kNoTimestamp;
    int64_t pos = cluster.body;
    if (sized && cluster.end > size) m_cutOff = true;
    while (pos < end) {
        Element child;
        const HeaderRead read = ReadElement(m_file, pos, &child);
        if (read == HeaderRead::Bad) return false;
        if (read == HeaderRead::PastEnd) {
            // The file ends inside a header: torn off, unless the cluster
            // said it ends before.
            if (sized && cluster.end <= size) return false;
            m_cutOff = true;
            break;
        }
        if (!sized && OneOf(child.id, kSegmentLevelIds)) break;
        if (!OneOf(child.id, kClusterChildIds)) return false;
        if (child.end == kUnknownEnd || (sized && child.end > cluster.end)) return false;
        if (child.end > size) {
            // Whatever the file still holds of this element is torn off.
            m_cutOff = true;
            m_tornFrom = pos;
            pos = size;
            break;
        }
        bool ok = true;
        if (child.id == kClusterTimestamp) {
            uint64_t time = 0;
            if (!ReadUnsigned(child, &time) || time > uint64_t{INT64_MAX} / 2) return false;
            clusterTime = static_cast<int64_t>(time);
        } else if (child.id == kSimpleBlock) {
            ok = AddBlock(child, clusterTime, true, false);
        } else if (child.id == kBlockGroup) {
            ok = WalkBlockGroup(child, clusterTime);
        }
        if (!ok) return false;
        pos = child.end;
    }
    *next = sized ? cluster.end : pos;
    return true;
}

bool BlockWalker::ReadUnsigned(const Element& element, uint64_t* value) {
    const int64_t length = element.end - element.body;
    if (length < 0 || length > 8) return false;
    const uint8_t* bytes = length > 0 ? m_file.At(element.body, static_cast<int>(length)) : nullptr;
    if (length > 0 && !bytes) return false;
    *value = 0;
    for (int64_t i = 0; i < length; ++i) *value = (*value << 8) | bytes[i];
    return true;
}

bool BlockWalker::ReadTrackNumbers(const Element& tracks) {
    for (int64_t pos = tracks.body; pos < tracks.end;) {
        Element entry;
        if (ReadElement(m_file, pos, &entry) != HeaderRead::Ok || entry.end > tracks.end) {
            return false;
        }
        for (int64_t at = entry.body; entry.id == kTrackEntry && at < entry.end;) {
            Element field;
            if (ReadElement(m_file, at, &field) != HeaderRead::Ok || field.end > entry.end) {
                return false;
            }
            uint64_t number = 0;
            if (field.id == kTrackNumber) {
                if (!ReadUnsigned(field, &number)) return false;
                m_tracks.push_back(number);
            }
            at = field.end;
        }
        pos = entry.end;
    }
    return true;
}

bool BlockWalker::WalkBlockGroup(const Element& group, int64_t clusterTime) {
    std::optional<Element> block;
    bool referenced = false;
    for (int64_t pos = group.body; pos < group.end;) {
        Element child;
        if (ReadElement(m_file, pos, &child) != HeaderRead::Ok || child.end > group.end ||
            !OneOf(child.id, kBlockGroupChildIds)) {
            return false;
        }
        if (child.id == kBlock) block = child;
        if (child.id == kReferenceBlock) referenced = true;
        pos = child.end;
    }
    return !block || AddBlock(*block, clusterTime, false, referenced);
}

bool BlockWalker::AddBlock(const Element& block, int64_t clusterTime, bool simple,
                           bool referenced) {
    if (++m_blocksSinceAbortCheck >= kBlocksPerAbortCheck) {
        m_blocksSinceAbortCheck = 0;
        if (m_abort.load(std::memory_order_relaxed)) return false;
    }
    const int64_t length = block.end - block.body;
    const uint8_t* first = length > 0 ? m_file.At(block.body, 1) : nullptr;
    if (!first) return length == 0;  // an empty block holds no picture
    const int trackLength = VintLength(first[0]);
    // Track number, relative time (16 bits) and flags.
    const int headerLength = trackLength + 3;
    if (trackLength == 0 || headerLength > length) return false;
    const uint8_t* header = m_file.At(block.body, headerLength);
    if (!header) return false;
    const uint64_t track = VintValue(header, trackLength);
    // A block of a track the file does not declare is damage to the demuxer.
    if (std::find(m_tracks.begin(), m_tracks.end(), track) == m_tracks.end()) return false;
    if (track != m_videoTrack) return true;

    const int16_t relative =
        static_cast<int16_t>((header[trackLength] << 8) | header[trackLength + 1]);
    const uint8_t flags = header[trackLength + 2];
    const bool laced = (flags & 0x06) != 0;
    // Several pictures in one block share its position and have no times of
    // their own; and a picture needs its cluster's time.
    if (laced || clusterTime == kNoTimestamp || clusterTime + relative < 0) return false;
    const bool key = simple ? (flags & 0x80) != 0 : !referenced;
    m_records.emplace_back(clusterTime + relative, block.body, key);
    return true;
}

// The track number of the block whose data begins at `pos`; 0 when none reads.
uint64_t TrackAt(FileWindow& file, int64_t pos) {
    const uint8_t* first = file.At(pos, 1);
    const int length = first ? VintLength(first[0]) : 0;
    const uint8_t* bytes = length > 0 ? file.At(pos, length) : nullptr;
    return bytes ? VintValue(bytes, length) : 0;
}

// The first video packets the demuxer delivers, as the walk should list them.
std::vector<BlockRecord> FirstPackets(AVFormatContext* format, int videoStream) {
    std::vector<BlockRecord> packets;
    PacketPtr packet(av_packet_alloc());
    if (!packet) return packets;
    while (packets.size() < kPacketsChecked && av_read_frame(format, packet.get()) >= 0) {
        if (packet->stream_index == videoStream) {
            if (packet->pts == AV_NOPTS_VALUE || packet->pos < 0) {
                packets.clear();
                break;
            }
            packets.emplace_back(packet->pts, packet->pos, (packet->flags & AV_PKT_FLAG_KEY) != 0);
        }
        av_packet_unref(packet.get());
    }
    return packets;
}

bool SameRecords(const BlockRecord& a, const BlockRecord& b) {
    return a.Pts() == b.Pts() && a.Pos() == b.Pos() && a.Key() == b.Key();
}

}  // namespace

bool IsMatroskaFormat(const AVFormatContext* format) {
    return std::strcmp(format->iformat->name, "matroska,webm") == 0;
}

bool ReadMatroskaBlocks(const std::string& path, AVFormatContext* format, int videoStream,
                        const std::function<void(const TableSample&)>& sample, bool* cutOff,
                        const std::atomic<bool>& abort) {
    *cutOff = false;
    if (!IsMatroskaFormat(format)) return false;
    const std::vector<BlockRecord> packets = FirstPackets(format, videoStream);
    if (packets.empty()) return false;

    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        close(fd);
        return false;
    }
    FileWindow file(fd, info.st_size);
    BlockWalker walker(file, TrackAt(file, packets.front().Pos()), abort);
    const bool walked = walker.Walk();
    close(fd);
    if (!walked) return false;

    std::vector<BlockRecord>& records = walker.Records();
    // The demuxer stops early only at the end of the stream.
    if (records.size() < packets.size() ||
        (packets.size() < kPacketsChecked && records.size() != packets.size())) {
        return false;
    }
    for (size_t i = 0; i < packets.size(); ++i) {
        if (!SameRecords(records[i], packets[i])) return false;
    }
    *cutOff = walker.CutOff();
    for (const BlockRecord& record : records) {
        sample({record.Pts(), kNoTimestamp, record.Pos(), record.Key()});
    }
    return true;
}

}  // namespace vidmux
