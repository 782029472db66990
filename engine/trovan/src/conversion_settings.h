#pragma once

#include "trovan.h"

namespace trovan {

// What a conversion makes, taken from a TrovanParams block.
struct ConversionSettings {
    int width = 704;
    int height = 576;
    int frameRate = 25;
    int videoBitRate = 1000000;
    int audioBitRate = 64000;
    int audioCodec = TROVAN_AUDIO_MP3;
    int audioChannels = 2;
};

// False when a value lies outside what the library converts to.
bool SettingsFromParams(const TrovanParams& params, ConversionSettings* settings);

}  // namespace trovan
