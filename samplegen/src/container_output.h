#pragma once

#include <string>

struct AVCodecContext;
struct AVPacket;

namespace samplegen {

// Where encoded packets go: a container being written to one file.
class ContainerOutput {
public:
    virtual ~ContainerOutput() = default;

    // Packet timestamps are in the time base of the encoder that made them;
    // video packets arrive in decode order, audio in presentation order.
    virtual bool WriteVideo(AVPacket* packet, std::string* error) = 0;
    virtual bool WriteAudio(AVPacket* packet, std::string* error) = 0;

    // Completes the file; nothing more may be written after it.
    virtual bool Finish(std::string* error) = 0;
};

}  // namespace samplegen
