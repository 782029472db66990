#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The watermark block a pane keeps: the 17-byte record the recording device
// embedded, then zeros.
using WatermarkRecord = std::array<uint8_t, 64>;

// The recording time as the record packs it: bits 26-31 the year minus 2000,
// 22-25 the month, 17-21 the day, 12-16 the hour, 6-11 the minute, 0-5 the second.
struct WatermarkTime {
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0;
};
WatermarkTime UnpackWatermarkTime(uint32_t dwPacked);

// The six texts of the watermark window.
struct WatermarkTexts {
    QString strMac;     // "aa:bb:cc:dd:ee:ff", bytes in record order
    QString strSerial;  // device serial number
    QString strChannel;
    QString strTime;  // "YYYY-MM-DD hh:mm:ss"
    QString strDeviceInfo;
    QString strDeviceType;
};

// Formats a record; false (texts untouched) while it holds no watermark yet,
// which the record marks with a packed time of 0.
bool FormatWatermark(const WatermarkRecord& record, WatermarkTexts* pTexts);
