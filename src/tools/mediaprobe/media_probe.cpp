#include "tools/mediaprobe/media_probe.h"

#include <algorithm>

#include "tools/mediaprobe/block_stream_scan.h"
#include "tools/mediaprobe/box_walk.h"
#include "tools/mediaprobe/media_head.h"
#include "tools/mediaprobe/program_stream_scan.h"
#include "tools/mediaprobe/transport_stream_scan.h"

namespace {
// Below these sizes the head and stream stages have too little to judge by.
constexpr size_t kMinHeadStageBytes = 2048;
constexpr size_t kMinStreamStageBytes = 1024;
}  // namespace

bool MediaProbe(ByteView head, const ByteSource& source, MediaProbeResult* pResult) {
    if (pResult == nullptr) return false;
    *pResult = MediaProbeResult{};
    if (head.pData == nullptr) head.nSize = 0;
    head.nSize = std::min(head.nSize, kMediaProbeHeadBytes);

    if (head.nSize >= kMinHeadStageBytes) {
        if (ReadMediaHead(head, pResult)) return true;
        // Anything without a head is taken for the recorders' block stream first.
        pResult->wSystemFormat = SYSTEM_FORMAT_TAVEL;
        if (ScanBlockStream(head, pResult)) return true;
    }
    if (head.nSize >= kMinStreamStageBytes) {
        if (ScanProgramStream(head, pResult)) {
            pResult->wSystemFormat = SYSTEM_FORMAT_PS;
            return true;
        }
        if (ScanTransportStream(head, pResult)) {
            pResult->wSystemFormat = SYSTEM_FORMAT_TS;
            return true;
        }
    }
    return WalkBoxes(source, pResult);
}

bool MediaProbeBytes(const uint8_t* pData, size_t nSize, MediaProbeResult* pResult) {
    const ByteView bytes{pData, pData != nullptr ? nSize : 0};
    const MemoryByteSource source(bytes);
    return MediaProbe(bytes, source, pResult);
}
