#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ffmpeg_ptr.h"

namespace vidmux {

// True for MP4/MOV files, whose sample tables list every picture.
bool IsSampleTableFormat(const AVFormatContext* format);

// A picture as an MP4/MOV sample table lists it, in decode order.
struct TableSample {
    int64_t pts = 0;
    int64_t dts = 0;
    int64_t pos = 0;
    bool key = false;
};

// Hands every picture of the video track of an MP4/MOV file to `sample`, in
// decode order, from the demuxer's index and the file's composition offsets,
// without reading the pictures. Pictures that lie past the end of the file
// (a cut-off file) are left out and reported in *cutOff. False, having
// handed out nothing, when the file is no MP4/MOV or its tables do not agree
// with the packets the demuxer reads.
bool ReadSampleTable(const std::string& path, AVFormatContext* format, int videoStream,
                     const std::function<void(const TableSample&)>& sample, bool* cutOff);

}  // namespace vidmux
