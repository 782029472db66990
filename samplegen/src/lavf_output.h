#pragma once

#include <string>

#include "container_output.h"
#include "samplegen/samplegen.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace samplegen {

// Raw H.264, MP4 and MPEG-TS through libavformat's muxers.
class LavfOutput : public ContainerOutput {
public:
    explicit LavfOutput(const SampleParams& params) : m_params(params) {}
    ~LavfOutput() override;

    // Sets up the muxer; the encoders are opened after it, because they
    // need to know whether it wants global headers.
    bool Create(const std::string& path, std::string* error);
    bool WantsGlobalHeader() const;

    // Adds the streams, opens the file and writes the container header.
    bool Open(const AVCodecContext* video, const AVCodecContext* audio, std::string* error);

    bool WriteVideo(AVPacket* packet, std::string* error) override;
    bool WriteAudio(AVPacket* packet, std::string* error) override;
    bool Finish(std::string* error) override;

private:
    bool AddStream(const AVCodecContext* codec, AVStream** stream, std::string* error);
    bool Write(AVPacket* packet, AVStream* stream, AVRational codecTimeBase, std::string* error);

    SampleParams m_params;
    std::string m_path;
    AVFormatContext* m_format = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    AVRational m_videoTimeBase{};
    AVRational m_audioTimeBase{};
};

}  // namespace samplegen
