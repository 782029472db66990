#include "tools/mediaprobe/media_head.h"

#include <cstring>

#include "tools/mediaprobe/media_probe_result.h"

namespace {

constexpr size_t kImxvHeadBytes = 40;
// The older heads keep their audio description up to byte 36.
constexpr size_t kOldHeadBytes = 36;

bool MagicIs(ByteView head, const char* szMagic) {
    return head.Has(0, 4) && std::memcmp(head.pData, szMagic, 4) == 0;
}

void ReadImxvHead(ByteView head, MediaProbeResult* pResult) {
    pResult->wSystemFormat = head.Le16(8);
    pResult->wVideoFormat = head.Le16(10);
    pResult->wAudioFormat = head.Le16(12);
    pResult->byChannels = head.At(14);
    pResult->byBitsPerSample = head.At(15);
    pResult->dwSampleRate = head.Le32(16);
    pResult->dwBitRate = head.Le32(20);
}

// The older heads name the audio codec by the recorders' earlier numbering.
uint16_t OldHeadAudioFormat(uint32_t dwAudio) {
    if ((dwAudio >= 4113 && dwAudio <= 4115) || dwAudio == AUDIO_FORMAT_G722) {
        return AUDIO_FORMAT_G722;
    }
    if (dwAudio == 4116) return AUDIO_FORMAT_MPEG;
    if (dwAudio == AUDIO_FORMAT_G711U || dwAudio == AUDIO_FORMAT_G711A) {
        return static_cast<uint16_t>(dwAudio);
    }
    return AUDIO_FORMAT_NONE;
}

void ReadOldHead(ByteView head, uint16_t wVideoFormat, MediaProbeResult* pResult) {
    pResult->wSystemFormat = SYSTEM_FORMAT_TAVEL;
    pResult->wVideoFormat = wVideoFormat;
    pResult->wAudioFormat = OldHeadAudioFormat(head.Le32(32));
    pResult->byChannels = head.At(20);
    pResult->byBitsPerSample = head.At(22);
    pResult->dwSampleRate = head.Le32(24);
}

}  // namespace

bool ReadMediaHead(ByteView head, MediaProbeResult* pResult) {
    if (MagicIs(head, "IMXV") && head.Has(0, kImxvHeadBytes)) {
        ReadImxvHead(head, pResult);
        return true;
    }
    if (!head.Has(0, kOldHeadBytes)) return false;
    if (MagicIs(head, "4VXV")) {
        ReadOldHead(head, VIDEO_FORMAT_TAVEL, pResult);
    } else if (MagicIs(head, "4MXV")) {
        ReadOldHead(head, VIDEO_FORMAT_NONE, pResult);
    } else if (MagicIs(head, "2MSV")) {
        ReadOldHead(head, VIDEO_FORMAT_MPEG2, pResult);
    } else if (MagicIs(head, "4MSV")) {
        ReadOldHead(head, VIDEO_FORMAT_MPEG4, pResult);
    } else {
        return false;
    }
    return true;
}
