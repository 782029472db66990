#include "tools/mediaprobe/program_stream_scan.h"

#include <algorithm>

#include "tools/mediaprobe/media_probe_result.h"
#include "tools/mediaprobe/stream_type_table.h"

namespace {

constexpr uint8_t kPackHeader = 0xBA;
constexpr uint8_t kSystemHeader = 0xBB;
constexpr uint8_t kStreamMap = 0xBC;
constexpr size_t kPackFixedBytes = 14;
constexpr size_t kUnitHeadBytes = 6;  // start code and 16-bit length
constexpr size_t kMaxStreamMapBytes = 1024;
constexpr size_t kCrcBytes = 4;
constexpr uint8_t kStartCode[] = {0x00, 0x00, 0x01};

bool IsStartCode(ByteView data, size_t nAt) {
    return data.Has(nAt, 4) && data.At(nAt) == 0 && data.At(nAt + 1) == 0 && data.At(nAt + 2) == 1;
}

// The units a lost walk may pick up again at: packs, system headers, maps,
// padding, private stream 2 and the first audio and video streams.
bool IsResyncId(uint8_t byId) {
    return (byId >= 0xBA && byId <= 0xBD) || byId == 0xBF || byId == 0xC0 || byId == 0xE0;
}

size_t NextResyncPoint(ByteView data, size_t nFrom) {
    for (size_t nAt = data.Find(nFrom, kStartCode, sizeof kStartCode); data.Has(nAt, 4);
         nAt = data.Find(nAt + 1, kStartCode, sizeof kStartCode)) {
        if (IsResyncId(data.At(nAt + 3))) return nAt;
    }
    return data.nSize;
}

// Length of the pack header at nAt with the system header that may follow it;
// 0 when it is not a valid MPEG-2 pack.
size_t PackLength(ByteView data, size_t nAt) {
    if (!data.Has(nAt, kPackFixedBytes)) return 0;
    const uint8_t byStuffing = data.At(nAt + 13);
    if (data.At(nAt + 4) < 0x40 || byStuffing < 0xF8) return 0;
    size_t nLength = kPackFixedBytes + (byStuffing & 0x07);
    const size_t nSystem = nAt + nLength;
    if (IsStartCode(data, nSystem) && data.At(nSystem + 3) == kSystemHeader) {
        if (!data.Has(nSystem, 12) || (data.At(nSystem + 11) & 0x7F) != 0x7F) return 0;
        nLength += kUnitHeadBytes + data.Be16(nSystem + 4);
    }
    return nLength;
}

// Reads the stream map at nAt into the result; false when it does not fit.
bool ReadStreamMap(ByteView data, size_t nAt, MediaProbeResult* pResult) {
    if (!data.Has(nAt, kUnitHeadBytes)) return false;
    const size_t nLength = kUnitHeadBytes + data.Be16(nAt + 4);
    if (nLength > kMaxStreamMapBytes || !data.Has(nAt, nLength)) return false;
    const ByteView map{data.pData + nAt, nLength};
    if (!map.Has(8, 2)) return false;
    const size_t nInfoEnd = 10 + size_t{map.Be16(8)};
    if (!map.Has(nInfoEnd, 2)) return false;
    const size_t nEntries = nInfoEnd + 2;
    // The entries stop short of the CRC even when their length field says otherwise.
    const size_t nEnd = std::min(nEntries + map.Be16(nInfoEnd), nLength - kCrcBytes);
    StreamTypeCollector collector(pResult);
    for (size_t nEntry = nEntries; nEntry + 4 <= nEnd; nEntry += 4 + size_t{map.Be16(nEntry + 2)}) {
        collector.Add(map.At(nEntry));
    }
    return true;
}

}  // namespace

bool ScanProgramStream(ByteView data, MediaProbeResult* pResult) {
    bool bPackSeen = false;
    size_t nAt = 0;
    while (data.Has(nAt, 4)) {
        size_t nUnit = 0;  // 0: not a valid unit here
        if (IsStartCode(data, nAt)) {
            const uint8_t byId = data.At(nAt + 3);
            if (byId == kPackHeader) {
                nUnit = PackLength(data, nAt);
                bPackSeen = bPackSeen || nUnit != 0;
            } else if (byId == kStreamMap && bPackSeen) {
                if (ReadStreamMap(data, nAt, pResult)) return true;
            } else if (data.Has(nAt, kUnitHeadBytes)) {
                nUnit = kUnitHeadBytes + data.Be16(nAt + 4);
            } else {
                break;
            }
        }
        nAt = nUnit != 0 ? nAt + nUnit : NextResyncPoint(data, nAt + 1);
    }
    return false;
}
