#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How a clip is taken out of a file.
enum class CutMethod {
    // The recorder head (if any) plus the bytes between two key frames: for
    // formats a player reads as a stream from any pack or start code.
    ByteCopy,
    // Packets between the two key frames written into a new container by
    // libavformat: for containers whose index lives outside the stream
    // (MP4, MOV, MKV ...), where a byte range does not play.
    StreamCopy,
};

// Whether a file starting with these bytes carries the recorder head.
bool HasRecorderMagic(const uint8_t* pBytes, size_t nBytes);

// The method for a file libavformat names `szFormat` ("mpeg", "mov,mp4,..."),
// or that starts with the recorder head.
CutMethod CutMethodForFormat(const char* szFormat, bool bRecorderHead);

// Probes the file's first bytes (recorder head, then libavformat's probes).
// A file that cannot be probed gets the byte copy, which fails or succeeds
// on the bytes alone.
CutMethod DetectCutMethod(int nSourceFd, const std::string& strSourcePath);
