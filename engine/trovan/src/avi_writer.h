#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "conversion_settings.h"
#include "ffmpeg_handles/ffmpeg_handles.h"

namespace trovan {

// Encodes pictures as MPEG-4 Part 2 and sound as MP3 (16-bit PCM where the
// MP3 encoder is missing, or when asked for) and writes both into an AVI file.
class AviWriter {
public:
    AviWriter() = default;
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // `soundRate` is the source's sampling rate, 0 for a file without sound.
    bool Open(const std::string& path, const ConversionSettings& settings, int soundRate);

    bool HasSound() const { return m_sound != nullptr; }
    // The rate and channel count WriteSound expects.
    int SoundRate() const;
    int SoundChannels() const;

    // A picture of the AVI's size in the encoder's layout, all black.
    ffhandles::FramePtr NewPicture() const;
    // Writes `picture` as the output's picture number `index`.
    bool WritePicture(AVFrame* picture, int64_t index);
    // Interleaved 16-bit samples at SoundRate() and SoundChannels().
    bool WriteSound(const int16_t* samples, int64_t frames);
    bool WriteSilence(int64_t frames);

    // Empties the encoders and closes the file; false when anything failed.
    bool Finish();

private:
    bool OpenVideo(const ConversionSettings& settings);
    bool OpenSound(const ConversionSettings& settings, int soundRate);
    bool EncodeSoundFrame(int frames);
    bool Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);

    AVFormatContext* m_format = nullptr;
    ffhandles::CodecPtr m_video;
    ffhandles::CodecPtr m_sound;
    AVStream* m_videoStream = nullptr;
    AVStream* m_soundStream = nullptr;
    ffhandles::PacketPtr m_packet;
    ffhandles::FramePtr m_soundFrame;
    int m_soundFrameSize = 0;
    std::vector<int16_t> m_pendingSound;  // interleaved, less than one encoder frame
    int64_t m_soundPts = 0;
    bool m_headerWritten = false;
    bool m_failed = false;
};

}  // namespace trovan
