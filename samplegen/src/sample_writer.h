#pragma once

#include <memory>
#include <optional>
#include <string>

#include "container_output.h"
#include "frame_painter.h"
#include "samplegen/samplegen.h"
#include "tone_encoder.h"
#include "video_encoder.h"
#include "watermark_sei.h"

namespace samplegen {

// Paints, encodes and muxes one sample recording into `path` (the caller
// renames it into place). Single use.
class SampleWriter {
public:
    explicit SampleWriter(const SampleParams& params);
    ~SampleWriter();

    bool Write(const std::string& path, std::string* error);

private:
    bool Open(const std::string& path, std::string* error);
    bool OpenEncoders(bool globalHeader, std::string* error);
    bool WritePictures(std::string* error);
    bool WriteVideoPacket(AVPacket* packet, std::string* error);
    int64_t AudioSamplesBefore(int frame) const;

    SampleParams m_params;
    bool m_hasAudio;
    FramePainter m_painter;
    VideoEncoder m_video;
    ToneEncoder m_audio;
    std::optional<WatermarkSei> m_watermark;
    std::unique_ptr<ContainerOutput> m_output;
};

}  // namespace samplegen
