#pragma once

#include <cstdint>

// What the media probe learns about a file: the system (container), video and
// audio format codes and the audio description. Laid out as the 24-byte
// record recorders use; the fields marked unused are never set.
struct MediaProbeResult {
    uint16_t wUnused0 = 0;
    uint16_t wSystemFormat = 0;
    uint16_t wVideoFormat = 0;
    uint16_t wUnused6 = 0;
    uint16_t wAudioFormat = 0;
    uint8_t byChannels = 0;
    uint8_t byBitsPerSample = 0;
    uint32_t dwSampleRate = 0;  // Hz
    uint32_t dwBitRate = 0;
    uint32_t dwUnused20 = 0;
};
static_assert(sizeof(MediaProbeResult) == 24);

// System format codes.
enum : uint16_t {
    SYSTEM_FORMAT_NONE = 0,
    SYSTEM_FORMAT_TAVEL = 1,  // the recorders' own block stream and its heads
    SYSTEM_FORMAT_PS = 2,
    SYSTEM_FORMAT_TS = 3,
    SYSTEM_FORMAT_RTP = 4,
    SYSTEM_FORMAT_3GP = 5,  // any MP4 family file
};

// Video format codes.
enum : uint16_t {
    VIDEO_FORMAT_NONE = 0,
    VIDEO_FORMAT_TAVEL = 1,
    VIDEO_FORMAT_MPEG2 = 2,
    VIDEO_FORMAT_MPEG4 = 3,
    VIDEO_FORMAT_MJPEG = 4,
    VIDEO_FORMAT_H264 = 256,
};

// Audio format codes. AAC, G.723, G.729 and raw PCM have no name of their
// own in the file information.
enum : uint16_t {
    AUDIO_FORMAT_NONE = 0,
    AUDIO_FORMAT_MPEG = 8192,
    AUDIO_FORMAT_AAC = 8193,
    AUDIO_FORMAT_AMR = 12288,
    AUDIO_FORMAT_RAW_PCM = 28672,
    AUDIO_FORMAT_RAW_UDATA16 = 28673,
    AUDIO_FORMAT_G711U = 28944,
    AUDIO_FORMAT_G711A = 28945,
    AUDIO_FORMAT_G722 = 29217,
    AUDIO_FORMAT_G723 = 29233,
    AUDIO_FORMAT_G726 = 29280,
    AUDIO_FORMAT_G729 = 29328,
};
