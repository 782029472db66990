#pragma once

#include <cstdint>

struct MediaProbeResult;

// Program and transport streams name their elementary streams by an MPEG
// stream type; recorders add their own values above 0x7F.
uint16_t VideoFormatForStreamType(uint8_t byStreamType);
uint16_t AudioFormatForStreamType(uint8_t byStreamType);

// Collects the formats of one stream map: the first video and the first audio
// entry that have a code give the result's formats.
class StreamTypeCollector {
public:
    explicit StreamTypeCollector(MediaProbeResult* pResult) : m_pResult(pResult) {}
    void Add(uint8_t byStreamType);

private:
    MediaProbeResult* m_pResult;
    bool m_bVideo = false;
    bool m_bAudio = false;
};
