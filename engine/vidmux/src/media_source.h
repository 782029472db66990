#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "decoder_pictures.h"
#include "demuxer_open.h"
#include "ffmpeg_ptr.h"
#include "frame_index.h"
#include "packet_reader.h"

namespace vidmux {

// A decoded picture and where it sits in the file.
struct Picture {
    SharedFrame frame;
    int64_t number = 0;      // presentation order, from 0
    int64_t timeMs = 0;      // from the first picture, on the media timeline
    int64_t recordedMs = 0;  // from the first picture, on the recorder's clock
    // Decoded with the loop filter skipped, or refers to a picture that was.
    bool reduced = false;
};

// Decoded sound: interleaved signed 16-bit stereo at kAudioRate.
struct AudioBlock {
    int64_t timeMs = 0;
    std::vector<int16_t> samples;
};
inline constexpr int kAudioRate = 48000;
inline constexpr int kAudioChannels = 2;

// Demuxes and decodes one file: video pictures in presentation order, and
// sound on the side when someone listens. Not thread-safe; the port owns it.
class MediaSource {
public:
    enum class Status { Picture, End, Failed };

    // Reads give up as soon as `abort` turns true; it must outlive the source.
    // `decoderThreads` 0 lets the decoder use every core.
    bool Open(const std::string& path, int* error, const std::atomic<bool>* abort,
              int decoderThreads = 0);

    // The next picture in presentation order. With `maxPackets` > 0, gives up
    // (Failed) after reading that many packets without a picture.
    Status Next(Picture* out, int maxPackets = 0);

    // Repositions so that the next picture is the key frame's picture.
    bool SeekToKey(const KeyFrame& key);
    // Repositions to the first picture.
    bool SeekToStart();
    // Repositions to the key frame at or before a time (no index needed);
    // returns false where the container cannot seek by time.
    bool SeekNearTimeMs(int64_t timeMs);

    void SetIndex(std::shared_ptr<const FrameIndex> index);
    const FrameIndex* Index() const { return m_index.get(); }

    void SetSkipBFrames(bool skip);
    // Skips the loop filter: cheaper pictures with blocking the eye misses in
    // a small window. Pictures decoded so are marked `reduced`.
    void SetLowCost(bool lowCost);
    // Called with the sound decoded on the way to the next picture; while
    // unset, sound packets are not decoded at all.
    void SetAudioSink(std::function<void(AudioBlock&&)> sink);

    // Memory of the pictures the video decoder keeps in its pool.
    size_t DecoderPictureBytes() const { return m_decoderPictures.Bytes(); }

    int Width() const { return m_video ? m_video->width : 0; }
    int Height() const { return m_video ? m_video->height : 0; }
    double Fps() const { return m_fps; }
    bool HasAudio() const { return m_audioStream >= 0; }
    bool ProgramStream() const { return IsProgramStream(m_format); }
    // Absolute time of the first picture, when the file carries one.
    std::optional<CivilMs> StartTime() const { return m_startTime; }
    int64_t DurationMs() const;
    int64_t FrameCount() const;
    int64_t NumberAtTimeMs(int64_t timeMs) const;
    int64_t TimeMsOfNumber(int64_t number) const;

private:
    bool SendNextPacket();
    void DecodeAudio(const AVPacket* packet);
    void Identify(const AVFrame* frame, Picture* out);
    void IdentifyPicture(const AVFrame* frame, Picture* out);
    void ResetAfterSeek();
    // Whether the picture that just came out is (or refers to) a reduced one.
    bool NoteReduced(bool keyFrame);
    void ToMediaTime(AVPacket* packet);

    OpenedInput m_input;
    AVFormatContext* m_format = nullptr;
    int m_videoStream = -1;
    int m_audioStream = -1;
    CodecPtr m_video;
    CodecPtr m_audio;
    SwrPtr m_resampler;
    FramePtr m_frame;
    FramePtr m_audioFrame;
    PacketPtr m_packet;
    std::optional<PacketReader> m_reader;
    std::shared_ptr<const FrameIndex> m_index;
    std::function<void(AudioBlock&&)> m_audioSink;
    std::optional<CivilMs> m_startTime;
    DecoderPictures m_decoderPictures;

    double m_fps = 25.0;
    double m_timeBase = 1.0 / 90000;
    bool m_elementary = false;  // no timestamps: pictures are counted
    bool m_skipBFrames = false;
    bool m_lowCost = false;
    bool m_groupReduced = false;   // a picture of the current group was reduced
    int m_fullSinceLowCost = 0;    // pictures out since the loop filter came back
    bool m_draining = false;
    int64_t m_startPts = INT64_MIN;
    int64_t m_lastPts = INT64_MIN;
    int64_t m_skipUntilPos = -1;  // after a seek: drop video packets before the key frame
    bool m_skipToKey = true;    // from the start: pictures before the first key frame never decode
    int m_segment = 0;          // timeline segment of the last video packet
    int64_t m_nextCount = 0;    // number of the next picture in counted mode
    int64_t m_nextTag = 0;      // decode-order tag of the next video packet
    int64_t m_lastNumber = -1;  // number of the last picture delivered
};

}  // namespace vidmux
