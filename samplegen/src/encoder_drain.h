#pragma once

#include <functional>
#include <string>

#include "ffmpeg_ptr.h"

namespace samplegen {

// Receives an encoded packet; false (with a reason) stops the writing.
using PacketSink = std::function<bool(AVPacket* packet, std::string* error)>;

// Hands every packet the encoder has ready to `sink`. `failure` names the
// step in the error text ("video encoding failed").
bool DrainEncoder(AVCodecContext* codec, AVPacket* packet, const PacketSink& sink,
                  const char* failure, std::string* error);

// Tells the encoder the stream ends, then drains what it still holds.
bool FlushEncoder(AVCodecContext* codec, AVPacket* packet, const PacketSink& sink,
                  const char* failure, std::string* error);

}  // namespace samplegen
