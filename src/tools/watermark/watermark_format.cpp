#include "tools/watermark/watermark_format.h"

#include <cstring>

namespace {

uint32_t Le32(const uint8_t* pBytes) {
    return uint32_t{pBytes[0]} | uint32_t{pBytes[1]} << 8 | uint32_t{pBytes[2]} << 16 |
           uint32_t{pBytes[3]} << 24;
}

// Offsets in the record.
constexpr size_t kTime = 0;
constexpr size_t kSerial = 4;
constexpr size_t kMac = 8;
constexpr size_t kDeviceType = 14;
constexpr size_t kDeviceInfo = 15;
constexpr size_t kChannel = 16;

}  // namespace

WatermarkTime UnpackWatermarkTime(uint32_t dwPacked) {
    WatermarkTime time;
    time.nYear = static_cast<int>(dwPacked >> 26) + 2000;
    time.nMonth = static_cast<int>(dwPacked >> 22 & 0x0F);
    time.nDay = static_cast<int>(dwPacked >> 17 & 0x1F);
    time.nHour = static_cast<int>(dwPacked >> 12 & 0x1F);
    time.nMinute = static_cast<int>(dwPacked >> 6 & 0x3F);
    time.nSecond = static_cast<int>(dwPacked & 0x3F);
    return time;
}

bool FormatWatermark(const WatermarkRecord& record, WatermarkTexts* pTexts) {
    const uint32_t dwPacked = Le32(&record[kTime]);
    if (dwPacked == 0 || pTexts == nullptr) return false;
    const WatermarkTime time = UnpackWatermarkTime(dwPacked);
    pTexts->strTime = QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", time.nYear, time.nMonth,
                                        time.nDay, time.nHour, time.nMinute, time.nSecond);
    int32_t nSerial = 0;
    const uint32_t dwSerial = Le32(&record[kSerial]);
    std::memcpy(&nSerial, &dwSerial, sizeof nSerial);
    pTexts->strSerial = QString::number(nSerial);
    const uint8_t* pMac = &record[kMac];
    pTexts->strMac = QString::asprintf("%02x:%02x:%02x:%02x:%02x:%02x", pMac[0], pMac[1], pMac[2],
                                       pMac[3], pMac[4], pMac[5]);
    pTexts->strDeviceType = QString::number(record[kDeviceType]);
    pTexts->strDeviceInfo = QString::number(record[kDeviceInfo]);
    pTexts->strChannel = QString::number(record[kChannel]);
    return true;
}
