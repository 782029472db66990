#pragma once

#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

namespace bench {

// Demuxes and decodes the video of one recording (recorder files past their
// head) with the decoder's own threads, as the engine does.
struct FfmpegDecoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    int stream = -1;

    FfmpegDecoder() = default;
    FfmpegDecoder(const FfmpegDecoder&) = delete;
    FfmpegDecoder& operator=(const FfmpegDecoder&) = delete;
    ~FfmpegDecoder();
    bool Open(const std::string& path);
    // Decodes the next picture into frame; false at the end.
    bool Next(AVPacket* packet, AVFrame* frame);
};

// Bare FFmpeg doing the engine's work: demux, decode, scale to width x height
// BGRA. Returns frames per second, or 0 when the file cannot be read.
double FfmpegDecodeScaleFps(const std::string& path, int width, int height, int* frames);

// Stepping back through frames [0, frames) one by one the way players do it
// without a picture cache: for every step seek to the key frame and decode up
// to the wanted frame. Returns the total seconds; *slowest gets the slowest step.
double FfmpegNaiveBackSteps(const std::string& path, int frames, double* slowest);

}  // namespace bench
