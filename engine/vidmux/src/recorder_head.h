#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "vidmux.h"

namespace vidmux {

// The 40-byte media-information head that recorder files start with; an MPEG
// program stream follows it.
struct RecorderHead {
    uint16_t systemFormat = 0;
    uint16_t videoFormat = 0;
    uint16_t audioFormat = 0;
    uint32_t packedStartTime = 0;  // 0 = no absolute time
};

inline constexpr int kRecorderHeadBytes = VIDMUX_FILE_HEAD_LENGTH;

// Reads the head of `path`; nullopt when the file does not start with "IMXV".
std::optional<RecorderHead> ReadRecorderHead(const std::string& path);

// Absolute times are civil (wall-clock) milliseconds counted from
// 1970-01-01 00:00:00 without any time zone: recorders stamp local time and
// MP4 stamps UTC, and both are shown as they were stamped.
using CivilMs = int64_t;

// Bits 26-31 year - 2000, 22-25 month, 17-21 day, 12-16 hour, 6-11 minute, 0-5 second.
std::optional<CivilMs> UnpackTime(uint32_t packed);

// "2024-01-01T10:00:00.000000Z" / "2024-01-01 10:00:00" as found in creation_time tags.
std::optional<CivilMs> ParseCreationTime(const char* text);

CivilMs CivilFromFields(int year, int month, int day, int hour, int minute, int second, int ms);
VemorSystemTime SystemTimeFromCivil(CivilMs ms);

}  // namespace vidmux
