#pragma once

#include <cstdint>
#include <string>

#include "ffmpeg_handles/ffmpeg_handles.h"
#include "sound_collector.h"
#include "umbrel.h"

namespace umbrel {

// One open recording behind a handle: demuxes it, decodes its pictures in
// presentation order and scales each into the caller's buffer, with its time
// counted from the first picture. Sound packets met on the way go to the
// sound collector.
class PictureSource {
public:
    int Open(const std::string& path);
    const UmbrelInfo& Info() const { return m_info; }

    int CollectSound(int rate, int channels);
    int DecodePicture(const UmbrelPicture& picture, int64_t* timeUs, int64_t* bytePos);
    int ReadSound(int16_t* samples, int maxFrames, int* frames, int64_t* timeUs);
    int Seek(int64_t timeUs);

private:
    // Decodes the next picture into m_frame and its time into m_frameUs.
    int NextFrame();
    // Moves reading to the key frame before `timeUs` (to the start when negative)
    // and forgets what the decoders hold.
    bool SeekNear(int64_t timeUs);
    int SendNextPacket();
    int64_t PictureTimeUs(const AVFrame* frame);
    int64_t FrameStepUs() const;
    int Scale(const AVFrame* frame, const UmbrelPicture& picture);

    ffhandles::FormatPtr m_format;
    ffhandles::CodecPtr m_video;
    ffhandles::FramePtr m_frame;
    ffhandles::FramePtr m_held;  // latest picture passed over while seeking
    ffhandles::PacketPtr m_packet;
    ffhandles::SwsPtr m_sws;
    SoundCollector m_sound;
    UmbrelInfo m_info{};
    int m_videoStream = -1;
    int m_soundStream = -1;
    AVRational m_timeBase{1, 1};
    bool m_elementary = false;  // raw streams without time stamps: pictures are counted
    bool m_draining = false;
    bool m_peeked = false;  // m_frame holds a picture NextFrame has not handed out yet
    int64_t m_originUs = INT64_MIN;
    int64_t m_count = 0;
    int64_t m_lastUs = INT64_MIN;
    int64_t m_frameUs = 0;
    int64_t m_skipBeforeUs = INT64_MIN;
    int64_t m_heldUs = 0;
};

}  // namespace umbrel
