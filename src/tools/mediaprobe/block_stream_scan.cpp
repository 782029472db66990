#include "tools/mediaprobe/block_stream_scan.h"

#include "tools/mediaprobe/media_probe_result.h"

namespace {

constexpr size_t kBlockHeaderBytes = 48;
constexpr size_t kSubBlockHeaderBytes = 20;
constexpr uint32_t kBlockVideo = 4096;
constexpr uint32_t kBlockAudio = 4097;
// The sub-block count is stored as 4096 plus the count.
constexpr uint32_t kCountBase = 4096;
constexpr uint32_t kMaxVideoCountField = 4099;
constexpr uint32_t kMaxAudioCountField = 4102;
// The picture field: width in the low 16 bits, height in the high ones.
constexpr uint32_t kMinWidth = 96;
constexpr uint32_t kMaxWidth = 2560;
constexpr uint32_t kMinPictureField = 3145728;    // height 48
constexpr uint32_t kMaxPictureField = 125894655;  // height 1920, any width
constexpr uint32_t kAudioBitRate = 16000;
constexpr uint8_t kBlockMarker[] = {0x01, 0x00, 0x00, 0x00};

// Where a scan step leaves off.
enum class Step { Next, Invalid, End };

bool IsBlockFormat(uint32_t dwFormat) {
    return (dwFormat >= 4097 && dwFormat <= 4103) || dwFormat == 8193 || dwFormat == 12289 ||
           dwFormat == 16385 || dwFormat == 20481 || dwFormat == 24577;
}

bool IsPictureSubBlock(uint16_t wType) { return wType >= 4099 && wType <= 4101; }
bool IsSoundSubBlock(uint16_t wType) { return wType == 4097 || wType == 4098; }

// The largest payload a sub-block of this type may carry; 0 for an unknown type.
uint64_t MaxPayload(uint16_t wType, uint64_t nPictureBytes) {
    if (IsPictureSubBlock(wType)) return nPictureBytes;
    if (IsSoundSubBlock(wType)) return 1024;
    if ((wType >= 8193 && wType <= 8194) || (wType >= 12289 && wType <= 12293) || wType == 16385 ||
        (wType >= 20481 && wType <= 20483) || (wType >= 24577 && wType <= 24579)) {
        return 4096;
    }
    return 0;
}

bool IsValidBlockHeader(ByteView data, size_t nAt) {
    if (data.Le32(nAt) != 1) return false;
    const uint32_t dwType = data.Le32(nAt + 12);
    const uint32_t dwCount = data.Le32(nAt + 16);
    if (dwType != kBlockVideo && dwType != kBlockAudio) return false;
    if (dwCount < kCountBase) return false;
    if (dwCount > (dwType == kBlockVideo ? kMaxVideoCountField : kMaxAudioCountField)) return false;
    if (!IsBlockFormat(data.Le32(nAt + 24))) return false;
    if (dwType == kBlockVideo) {
        const uint32_t dwPicture = data.Le32(nAt + 20);
        const uint32_t dwWidth = dwPicture & 0xFFFF;
        if (dwWidth < kMinWidth || dwWidth > kMaxWidth) return false;
        if (dwPicture < kMinPictureField || dwPicture > kMaxPictureField) return false;
    }
    return true;
}

uint16_t VideoFormatFromPayload(ByteView data, size_t nAt) {
    const uint32_t dwStart = data.Be32(nAt);
    switch (dwStart) {
        case 0x00000100:
        case 0x000001B8:
            return VIDEO_FORMAT_MPEG2;
        case 0x00000001:
            return VIDEO_FORMAT_H264;
        case 0x000001B0:
        case 0x000001B6:
            return VIDEO_FORMAT_MPEG4;
        case 0xFFD8FFFE:
            return VIDEO_FORMAT_MJPEG;
        default:
            return VIDEO_FORMAT_TAVEL;
    }
}

class BlockScanner {
public:
    BlockScanner(ByteView data, MediaProbeResult* pResult) : m_data(data), m_pResult(pResult) {}

    bool Run() {
        size_t nAt = 0;
        while (!(m_bVideo && m_bAudio) && m_data.Has(nAt, kBlockHeaderBytes)) {
            size_t nNext = nAt;
            const Step step = ReadBlock(nAt, &nNext);
            if (step == Step::End) break;
            nAt = step == Step::Next ? nNext
                                     : m_data.Find(nAt + 1, kBlockMarker, sizeof kBlockMarker);
        }
        return m_bVideo || m_bAudio;
    }

private:
    Step ReadBlock(size_t nAt, size_t* pNext) {
        if (!IsValidBlockHeader(m_data, nAt)) return Step::Invalid;
        const bool bVideoBlock = m_data.Le32(nAt + 12) == kBlockVideo;
        const uint32_t nCount = m_data.Le32(nAt + 16) - kCountBase;
        const uint64_t nPictureBytes =
            uint64_t{m_data.Le16(nAt + 20)} * m_data.Le16(nAt + 22) * 3 / 2;
        bool bPictureSeen = false;
        size_t nSub = nAt + kBlockHeaderBytes;
        for (uint32_t i = 0; i < nCount; ++i) {
            if (!m_data.Has(nSub, kSubBlockHeaderBytes)) return Step::End;
            const uint16_t wType = m_data.Le16(nSub);
            const uint32_t nLength = m_data.Le32(nSub + 16);
            if (nLength <= 3 || nLength > MaxPayload(wType, nPictureBytes)) return Step::Invalid;
            const size_t nPayload = nSub + kSubBlockHeaderBytes;
            if (!m_data.Has(nPayload, nLength)) return Step::End;
            if (bVideoBlock && IsPictureSubBlock(wType) && !bPictureSeen) {
                bPictureSeen = true;
                TakeVideo(nPayload);
            } else if (!bVideoBlock && IsSoundSubBlock(wType)) {
                TakeAudio(nLength);
            }
            nSub = nPayload + nLength;
        }
        *pNext = nSub;
        return Step::Next;
    }

    void TakeVideo(size_t nPayload) {
        if (m_bVideo) return;
        m_pResult->wVideoFormat = VideoFormatFromPayload(m_data, nPayload);
        m_bVideo = true;
    }

    // The sound codecs are told apart by their fixed frame sizes.
    void TakeAudio(uint32_t nLength) {
        if (m_bAudio) return;
        if (nLength == 80) {
            m_pResult->wAudioFormat = AUDIO_FORMAT_G722;
            m_pResult->dwSampleRate = 16000;
        } else if (nLength == 640) {
            m_pResult->wAudioFormat = AUDIO_FORMAT_G711U;
            m_pResult->dwSampleRate = 8000;
        } else {
            return;
        }
        m_pResult->byChannels = 1;
        m_pResult->byBitsPerSample = 16;
        m_pResult->dwBitRate = kAudioBitRate;
        m_bAudio = true;
    }

    ByteView m_data;
    MediaProbeResult* m_pResult;
    bool m_bVideo = false;
    bool m_bAudio = false;
};

}  // namespace

bool ScanBlockStream(ByteView data, MediaProbeResult* pResult) {
    return BlockScanner(data, pResult).Run();
}
