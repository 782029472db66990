#include "tools/mediaprobe/box_walk.h"

#include <algorithm>

#include "tools/mediaprobe/media_probe_result.h"

namespace {

constexpr uint32_t BoxType(const char (&szType)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(szType[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(szType[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(szType[2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(szType[3]));
}

constexpr size_t kHeaderBytes = 8;
constexpr size_t kLargeHeaderBytes = 16;  // 32-bit size 1, then a 64-bit size
constexpr uint32_t kLargeSizeMarker = 1;
// Header reads for one walk. A real file needs a few dozen; a crafted one of
// tiny boxes must not turn a probe into a read of the whole file.
constexpr int kMaxHeaderReads = 1 << 16;

struct Box {
    uint32_t dwType = 0;
    uint64_t nStart = 0;    // first byte of the header
    uint64_t nContent = 0;  // first byte after the header
    uint64_t nEnd = 0;      // one past the last byte
};

class BoxWalker {
public:
    BoxWalker(const ByteSource& source, MediaProbeResult* pResult)
        : m_source(source), m_pResult(pResult) {}

    bool Run() {
        Box moov;
        if (!FindChild(0, m_source.Size(), BoxType("moov"), &moov)) return false;
        m_pResult->wSystemFormat = SYSTEM_FORMAT_3GP;
        Box trak{.nEnd = moov.nContent};
        while (FindChild(trak.nEnd, moov.nEnd, BoxType("trak"), &trak)) ReadTrack(trak);
        return true;
    }

private:
    // The box whose header starts at nAt and that ends by nLimit; false at a
    // short read, a size of 0 or a size that does not fit.
    bool ReadHeader(uint64_t nAt, uint64_t nLimit, Box* pBox) {
        if (nAt >= nLimit || nLimit - nAt < kHeaderBytes || m_nReadsLeft <= 0) return false;
        --m_nReadsLeft;
        uint8_t byHeader[kLargeHeaderBytes];
        const size_t nWant =
            static_cast<size_t>(std::min<uint64_t>(kLargeHeaderBytes, nLimit - nAt));
        const size_t nGot = m_source.ReadAt(nAt, byHeader, nWant);
        const ByteView header{byHeader, nGot};
        if (!header.Has(0, kHeaderBytes)) return false;
        uint64_t nSize = header.Be32(0);
        uint64_t nHeader = kHeaderBytes;
        if (nSize == kLargeSizeMarker) {
            if (!header.Has(0, kLargeHeaderBytes)) return false;
            nSize = header.Be64(8);
            nHeader = kLargeHeaderBytes;
        }
        if (nSize < nHeader || nSize > nLimit - nAt) return false;
        *pBox = {header.Be32(4), nAt, nAt + nHeader, nAt + nSize};
        return true;
    }

    // The first box of the type among the siblings from nFrom to nLimit.
    bool FindChild(uint64_t nFrom, uint64_t nLimit, uint32_t dwType, Box* pFound) {
        Box box;
        for (uint64_t nAt = nFrom; ReadHeader(nAt, nLimit, &box); nAt = box.nEnd) {
            if (box.dwType == dwType) {
                *pFound = box;
                return true;
            }
        }
        return false;
    }

    void ReadTrack(const Box& trak) {
        Box box = trak;
        for (uint32_t dwType :
             {BoxType("mdia"), BoxType("minf"), BoxType("stbl"), BoxType("stsd")}) {
            if (!FindChild(box.nContent, box.nEnd, dwType, &box)) return;
        }
        ReadSampleDescription(box);
    }

    // Version and flags, the entry count, then the first entry's size and format.
    void ReadSampleDescription(const Box& stsd) {
        uint8_t byBytes[16];
        if (stsd.nEnd - stsd.nContent < sizeof byBytes) return;
        const ByteView bytes{byBytes, m_source.ReadAt(stsd.nContent, byBytes, sizeof byBytes)};
        if (!bytes.Has(0, sizeof byBytes) || bytes.Be32(4) != 1) return;
        switch (bytes.Be32(12)) {
            case BoxType("avc1"):
                m_pResult->wVideoFormat = VIDEO_FORMAT_H264;
                break;
            case BoxType("mp4v"):
                m_pResult->wVideoFormat = VIDEO_FORMAT_MPEG4;
                break;
            case BoxType("samr"):
                m_pResult->wAudioFormat = AUDIO_FORMAT_AMR;
                m_pResult->byChannels = 1;
                m_pResult->byBitsPerSample = 16;
                m_pResult->dwSampleRate = 8000;
                break;
            default:
                break;
        }
    }

    const ByteSource& m_source;
    MediaProbeResult* m_pResult;
    int m_nReadsLeft = kMaxHeaderReads;
};

}  // namespace

bool WalkBoxes(const ByteSource& source, MediaProbeResult* pResult) {
    return BoxWalker(source, pResult).Run();
}
