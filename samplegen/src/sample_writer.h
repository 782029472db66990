#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ffmpeg_ptr.h"
#include "frame_painter.h"
#include "recorder_file.h"
#include "samplegen/samplegen.h"
#include "tone_encoder.h"
#include "video_encoder.h"
#include "watermark_sei.h"

namespace samplegen {

// Encodes and muxes one sample recording into `path` (the caller renames it
// into place). Single use.
class SampleWriter {
public:
    explicit SampleWriter(const SampleSpec& spec);
    ~SampleWriter();

    bool Write(const std::string& path, std::string* error);

private:
    bool OpenContainer(const std::string& path, std::string* error);
    bool AddStream(const AVCodecContext* codec, AVStream** stream, std::string* error);
    bool DeclareVideoBuffer(std::string* error);
    bool WriteHeader(std::string* error);
    bool WritePictures(std::string* error);
    bool Finish(std::string* error);
    bool WriteVideoPacket(AVPacket* packet, std::string* error);
    bool WritePacket(AVPacket* packet, AVStream* stream, AVRational codecTimeBase,
                     std::string* error);
    int64_t AudioSamplesBefore(int frame) const;

    SampleSpec m_spec;
    bool m_hasAudio;
    FramePainter m_painter;
    VideoEncoder m_video;
    ToneEncoder m_audio;
    std::optional<WatermarkSei> m_watermark;
    AVFormatContext* m_format = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    RecorderFile m_recorder;
};

}  // namespace samplegen
