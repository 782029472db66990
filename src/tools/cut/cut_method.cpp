#include "tools/cut/cut_method.h"

#include <unistd.h>

#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
}

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
    uint8_t byMagic[4] = {};
    if (nSourceFd >= 0 && ::pread(nSourceFd, byMagic, sizeof(byMagic), 0) == sizeof(byMagic) &&
        HasRecorderMagic(byMagic, sizeof(byMagic))) {
        return CutMethod::ByteCopy;
    }
    AVFormatContext* pFormat = nullptr;
    if (avformat_open_input(&pFormat, strSourcePath.c_str(), nullptr, nullptr) < 0) {
        return CutMethod::ByteCopy;
    }
    const CutMethod eMethod = CutMethodForFormat(pFormat->iformat->name, false);
    avformat_close_input(&pFormat);
    return eMethod;
}
