#include "tools/mediaprobe/stream_type_table.h"

#include "tools/mediaprobe/media_probe_result.h"

uint16_t VideoFormatForStreamType(uint8_t byStreamType) {
    switch (byStreamType) {
        case 0x01:  // MPEG-1 video
        case 0x02:  // MPEG-2 video
            return VIDEO_FORMAT_MPEG2;
        case 0x10:
            return VIDEO_FORMAT_MPEG4;
        case 0x1B:
            return VIDEO_FORMAT_H264;
        case 0xB0:
            return VIDEO_FORMAT_TAVEL;
        case 0xB1:
            return VIDEO_FORMAT_MJPEG;
        default:
            return VIDEO_FORMAT_NONE;
    }
}

uint16_t AudioFormatForStreamType(uint8_t byStreamType) {
    switch (byStreamType) {
        case 0x03:  // MPEG-1 audio
        case 0x04:  // MPEG-2 audio
            return AUDIO_FORMAT_MPEG;
        case 0x0F:
            return AUDIO_FORMAT_AAC;
        case 0x90:
            return AUDIO_FORMAT_G711A;
        case 0x91:
            return AUDIO_FORMAT_G711U;
        case 0x92:
            return AUDIO_FORMAT_G722;
        case 0x93:
            return AUDIO_FORMAT_G723;
        case 0x96:
            return AUDIO_FORMAT_G726;
        case 0x99:
            return AUDIO_FORMAT_G729;
        case 0x9C:
            return AUDIO_FORMAT_RAW_UDATA16;
        case 0x9D:
            return AUDIO_FORMAT_RAW_PCM;
        default:
            return AUDIO_FORMAT_NONE;
    }
}

void StreamTypeCollector::Add(uint8_t byStreamType) {
    if (const uint16_t wVideo = VideoFormatForStreamType(byStreamType); wVideo != 0 && !m_bVideo) {
        m_pResult->wVideoFormat = wVideo;
        m_bVideo = true;
    }
    if (const uint16_t wAudio = AudioFormatForStreamType(byStreamType); wAudio != 0 && !m_bAudio) {
        m_pResult->wAudioFormat = wAudio;
        m_bAudio = true;
    }
}
