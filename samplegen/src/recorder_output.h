#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "container_output.h"
#include "program_stream_muxer.h"
#include "samplegen/samplegen.h"

extern "C" {
#include <libavutil/rational.h>
}

namespace samplegen {

// A recorder file: the 40-byte head, then the program stream.
class RecorderOutput : public ContainerOutput {
public:
    RecorderOutput(const SampleParams& params, AVRational videoTimeBase, AVRational audioTimeBase);
    ~RecorderOutput() override;

    bool Open(const std::string& path, std::string* error);
    bool WriteVideo(AVPacket* packet, std::string* error) override;
    bool WriteAudio(AVPacket* packet, std::string* error) override;
    bool Finish(std::string* error) override;

private:
    bool Write(const uint8_t* data, size_t size);
    int64_t ToClock(int64_t ts, AVRational timeBase) const;
    bool WriteFailed(std::string* error);

    SampleParams m_params;
    AVRational m_videoTimeBase;
    AVRational m_audioTimeBase;
    std::FILE* m_file = nullptr;
    std::string m_path;
    int m_errno = 0;
    ProgramStreamMuxer m_muxer;
};

}  // namespace samplegen
