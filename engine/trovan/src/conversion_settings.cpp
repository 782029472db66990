#include "conversion_settings.h"

namespace trovan {

namespace {

bool Within(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

bool SettingsFromParams(const TrovanParams& params, ConversionSettings* settings) {
    const bool audioValid =
        params.nAudioCodec == TROVAN_AUDIO_NONE ||
        ((params.nAudioCodec == TROVAN_AUDIO_MP3 || params.nAudioCodec == TROVAN_AUDIO_PCM) &&
         Within(params.nAudioChannels, 1, 2) &&
         (params.nAudioCodec == TROVAN_AUDIO_PCM || Within(params.nAudioBitRate, 8000, 320000)));
    const bool valid = Within(params.nWidth, 16, 4096) && params.nWidth % 2 == 0 &&
                       Within(params.nHeight, 16, 4096) && params.nHeight % 2 == 0 &&
                       Within(params.nFrameRate, 1, 120) &&
                       Within(params.nVideoBitRate, 16000, 50000000) && params.nVideoCodec == 0 &&
                       params.nContainer == 0 && audioValid;
    if (!valid) return false;
    settings->width = params.nWidth;
    settings->height = params.nHeight;
    settings->frameRate = params.nFrameRate;
    settings->videoBitRate = params.nVideoBitRate;
    settings->audioBitRate = params.nAudioBitRate;
    settings->audioCodec = params.nAudioCodec;
    settings->audioChannels = params.nAudioChannels;
    return true;
}

}  // namespace trovan
