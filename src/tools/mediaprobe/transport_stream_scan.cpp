#include "tools/mediaprobe/transport_stream_scan.h"

#include <algorithm>

#include "tools/mediaprobe/media_probe_result.h"
#include "tools/mediaprobe/stream_type_table.h"

namespace {

constexpr size_t kPacketBytes = 188;
constexpr uint8_t kSyncByte = 0x47;
constexpr size_t kMaxAdaptationBytes = 183;
constexpr uint8_t kPatTableId = 0x00;
constexpr uint8_t kPmtTableId = 0x02;
constexpr size_t kCrcBytes = 4;
constexpr int kNoPid = -1;

// One section inside one packet; sections continued in a later packet are
// read as far as this packet holds them.
struct Section {
    ByteView bytes;   // from the table id to the packet's end
    size_t nEnd = 0;  // end of the section's entries (before the CRC)
};

bool FindSection(ByteView packet, size_t nPayload, uint8_t byTableId, Section* pSection) {
    if (!packet.Has(nPayload, 1)) return false;
    const size_t nStart = nPayload + 1 + packet.At(nPayload);  // after the pointer field
    if (!packet.Has(nStart, 3) || packet.At(nStart) != byTableId) return false;
    const ByteView bytes{packet.pData + nStart, packet.nSize - nStart};
    const size_t nSectionEnd = 3 + size_t{bytes.Be16(1) & 0x0FFFu};
    pSection->bytes = bytes;
    pSection->nEnd = std::min(nSectionEnd < kCrcBytes ? 0 : nSectionEnd - kCrcBytes, bytes.nSize);
    return true;
}

// The PID of the last programme the association table lists.
int ProgramMapPid(const Section& pat, int nPrevious) {
    int nPid = nPrevious;
    for (size_t nAt = 8; nAt + 4 <= pat.nEnd; nAt += 4) {
        if (pat.bytes.Be16(nAt) != 0) nPid = pat.bytes.Be16(nAt + 2) & 0x1FFF;
    }
    return nPid;
}

// Takes the map's stream types; true when it was the map's last section.
bool ReadProgramMap(const Section& pmt, MediaProbeResult* pResult) {
    const ByteView& s = pmt.bytes;
    if (!s.Has(10, 2)) return false;
    StreamTypeCollector collector(pResult);
    for (size_t nAt = 12 + size_t{s.Be16(10) & 0x0FFFu}; nAt + 5 <= pmt.nEnd;
         nAt += 5 + size_t{s.Be16(nAt + 3) & 0x0FFFu}) {
        collector.Add(s.At(nAt));
    }
    return s.At(6) == s.At(7);
}

}  // namespace

bool ScanTransportStream(ByteView data, MediaProbeResult* pResult) {
    int nPmtPid = kNoPid;
    size_t nAt = 0;
    while (data.Has(nAt, kPacketBytes)) {
        const ByteView packet{data.pData + nAt, kPacketBytes};
        const uint8_t byControl = (packet.At(3) >> 4) & 0x03;
        const bool bHasAdaptation = byControl & 0x02;
        if (packet.At(0) != kSyncByte || (bHasAdaptation && packet.At(4) > kMaxAdaptationBytes)) {
            nAt = data.Find(nAt + 1, &kSyncByte, 1);
            continue;
        }
        nAt += kPacketBytes;
        const bool bHasPayload = byControl & 0x01;
        const bool bUnitStart = packet.At(1) & 0x40;
        if (!bHasPayload || !bUnitStart) continue;
        const size_t nPayload = bHasAdaptation ? 5 + size_t{packet.At(4)} : 4;
        const int nPid = (packet.At(1) & 0x1F) << 8 | packet.At(2);
        Section section;
        if (nPid == 0 && FindSection(packet, nPayload, kPatTableId, &section)) {
            nPmtPid = ProgramMapPid(section, nPmtPid);
        } else if (nPid == nPmtPid && FindSection(packet, nPayload, kPmtTableId, &section)) {
            if (ReadProgramMap(section, pResult)) return true;
        }
    }
    return false;
}
