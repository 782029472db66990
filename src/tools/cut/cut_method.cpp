#include "tools/cut/cut_method.h"

#include <unistd.h>

#include <cstring>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {
constexpr size_t kProbeBytes = 1 << 16;
}  // namespace

bool HasRecorderMagic(const uint8_t* pBytes, size_t nBytes) {
    return nBytes >= 4 &&
           (std::memcmp(pBytes, "IMXV", 4) == 0 || std::memcmp(pBytes, "4VXV", 4) == 0);
}

CutMethod CutMethodForFormat(const char* szFormat, bool bRecorderHead) {
    if (bRecorderHead || szFormat == nullptr) return CutMethod::ByteCopy;
    // Program and transport streams and raw elementary video resynchronise on
    // any pack, packet or start code, so a byte range between two key frames
    // plays on its own.
    static constexpr const char* kStreamFormats[] = {"mpeg",      "mpegts", "h264",     "hevc",
                                                     "mpegvideo", "m4v",    "cavsvideo"};
    for (const char* szStream : kStreamFormats) {
        if (std::strcmp(szFormat, szStream) == 0) return CutMethod::ByteCopy;
    }
    return CutMethod::StreamCopy;
}

CutMethod DetectCutMethod(int nSourceFd, const std::string& strSourcePath) {
    // The first bytes name the container without reading its index, which
    // for a long MP4 is many megabytes.
    std::vector<uint8_t> probe(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
    const ssize_t nRead = nSourceFd >= 0 ? ::pread(nSourceFd, probe.data(), kProbeBytes, 0) : -1;
    if (nRead <= 0) return CutMethod::ByteCopy;
    AVProbeData data{};
    data.filename = strSourcePath.c_str();
    data.buf = probe.data();
    data.buf_size = static_cast<int>(nRead);
    const AVInputFormat* pFormat = av_probe_input_format(&data, 1);
    return CutMethodForFormat(pFormat != nullptr ? pFormat->name : nullptr,
                              HasRecorderMagic(probe.data(), static_cast<size_t>(nRead)));
}
