#pragma once

#include <string>

#include "ffmpeg_handles/ffmpeg_handles.h"

namespace kelsa {

// What decides whether two files can be joined, read when a file is listed.
struct InputFacts {
    AVCodecID videoCodec = AV_CODEC_ID_NONE;
    int width = 0;
    int height = 0;
    // A raw elementary stream: no container timestamps of its own.
    bool untimed = false;
    bool hasAudio = false;
    AVCodecID audioCodec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    int channels = 0;

    bool SameVideoAs(const InputFacts& other) const {
        return videoCodec == other.videoCodec && width == other.width && height == other.height;
    }
    bool SameSoundAs(const InputFacts& other) const {
        return hasAudio && other.hasAudio && audioCodec == other.audioCodec &&
               sampleRate == other.sampleRate && channels == other.channels;
    }
};

// One listed file opened for demuxing.
struct MergeInput {
    ffhandles::FormatPtr format;
    int videoStream = -1;
    int audioStream = -1;  // -1 when the file has no sound
    InputFacts facts;

    AVStream* Video() const { return format->streams[videoStream]; }
    AVStream* Audio() const { return audioStream >= 0 ? format->streams[audioStream] : nullptr; }
};

// Opens `path` and finds its streams. Recorder files ("IMXV" head) are read as
// the MPEG program stream behind their head. Returns KELSA_OK or the reason.
int OpenMergeInput(const std::string& path, MergeInput* input);

}  // namespace kelsa
