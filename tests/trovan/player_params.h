#pragma once

#include "trovan.h"

namespace trovantest {

// The parameter block the player hands over.
inline TrovanParams PlayerParams() {
    TrovanParams params{};
    params.nWidth = 704;
    params.nHeight = 576;
    params.nFrameRate = 25;
    params.nVideoBitRate = 1000000;
    params.nAudioBitRate = 64000;
    params.nVideoCodec = 0;
    params.nAudioCodec = TROVAN_AUDIO_MP3;
    params.nAudioChannels = 2;
    params.nContainer = 0;
    return params;
}

}  // namespace trovantest
