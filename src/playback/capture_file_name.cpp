#include "playback/capture_file_name.h"

#include <atomic>
#include <limits>

namespace {
constexpr uint32_t kBufferBytes704x288 = 2027520;
constexpr uint32_t kBufferBytes704x240 = 1689600;
constexpr uint64_t kBytesPerPixel = 5;

std::atomic<uint32_t> g_nBmpCounter{0};
std::atomic<uint32_t> g_nJpegCounter{0};
}  // namespace

uint32_t CaptureBufferSize(int32_t nWidth, int32_t nHeight) {
    if (nWidth <= 0 || nHeight <= 0) return 0;
    if (nWidth == 704 && nHeight == 288) return kBufferBytes704x288;
    if (nWidth == 704 && nHeight == 240) return kBufferBytes704x240;
    const uint64_t nBytes = uint64_t(nWidth) * uint64_t(nHeight) * kBytesPerPixel;
    if (nBytes > std::numeric_limits<uint32_t>::max()) return 0;
    return static_cast<uint32_t>(nBytes);
}

QString CaptureFileName(const QString& strFolder, const std::tm* pTime, uint32_t nCounter,
                        bool bJpeg) {
    int nYear = 0, nMonth = 0, nDay = 0, nHour = -1, nMinute = -1, nSecond = -1;
    if (pTime != nullptr) {
        nYear = pTime->tm_year + 1900;
        nMonth = pTime->tm_mon + 1;
        nDay = pTime->tm_mday;
        nHour = pTime->tm_hour;
        nMinute = pTime->tm_min;
        nSecond = pTime->tm_sec;
    }
    return QString::asprintf("%s/picture%04d%02d%02d_%02d%02d%02d_%06u.%s",
                             strFolder.toUtf8().constData(), nYear, nMonth, nDay, nHour, nMinute,
                             nSecond, nCounter, bJpeg ? "jpeg" : "bmp");
}

uint32_t TakeCaptureCounter(bool bJpeg) {
    return (bJpeg ? g_nJpegCounter : g_nBmpCounter).fetch_add(1);
}
