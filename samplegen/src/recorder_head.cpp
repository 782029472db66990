#include "recorder_head.h"

#include "tone_encoder.h"

namespace samplegen {

namespace {

void PutLe(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<uint8_t, RecorderHead::kBytes> RecorderHead::Build(const SampleParams& params) {
    std::array<uint8_t, kBytes> head{};
    head[0] = 'I', head[1] = 'M', head[2] = 'X', head[3] = 'V';
    PutLe(&head[8], kSystemFormatPs, 2);
    PutLe(&head[10], kVideoFormatH264, 2);
    if (params.audio) {
        PutLe(&head[12], kAudioFormatMpeg, 2);
        head[14] = ToneEncoder::kChannels;
        head[15] = 16;  // bits per sample of the decoded sound
        PutLe(&head[16], ToneEncoder::kSampleRate, 4);
        PutLe(&head[20], ToneEncoder::kBitRate, 4);
    }
    if (params.start) PutLe(&head[24], PackTime(*params.start), 4);
    return head;
}

}  // namespace samplegen
