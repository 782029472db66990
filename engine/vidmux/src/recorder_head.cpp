#include "recorder_head.h"

#include <cstdio>
#include <cstring>

namespace vidmux {

namespace {

// Howard Hinnant's days-from-civil, valid for the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int* year, unsigned* month, unsigned* day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *day = doy - (153 * mp + 2) / 5 + 1;
    *month = mp < 10 ? mp + 3 : mp - 9;
    *year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (*month <= 2));
}

bool FieldsValid(int month, int day, int hour, int minute, int second) {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 &&
           minute >= 0 && minute <= 59 && second >= 0 && second <= 60;
}

uint32_t ReadLe32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t ReadLe16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

std::optional<RecorderHead> ReadRecorderHead(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    unsigned char head[kRecorderHeadBytes];
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got != sizeof head || std::memcmp(head, "IMXV", 4) != 0) return std::nullopt;
    RecorderHead result;
    result.systemFormat = ReadLe16(head + 8);
    result.videoFormat = ReadLe16(head + 10);
    result.audioFormat = ReadLe16(head + 12);
    result.packedStartTime = ReadLe32(head + 24);
    return result;
}

CivilMs CivilFromFields(int year, int month, int day, int hour, int minute, int second, int ms) {
    const int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return ((days * 24 + hour) * 60 + minute) * 60000LL + second * 1000LL + ms;
}

std::optional<CivilMs> UnpackTime(uint32_t packed) {
    if (packed == 0) return std::nullopt;
    const int year = 2000 + static_cast<int>(packed >> 26);
    const int month = (packed >> 22) & 0xF;
    const int day = (packed >> 17) & 0x1F;
    const int hour = (packed >> 12) & 0x1F;
    const int minute = (packed >> 6) & 0x3F;
    const int second = packed & 0x3F;
    if (!FieldsValid(month, day, hour, minute, second)) return std::nullopt;
    return CivilFromFields(year, month, day, hour, minute, second, 0);
}

std::optional<CivilMs> ParseCreationTime(const char* text) {
    if (!text) return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char separator = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%c%2d:%2d:%2d", &year, &month, &day, &separator, &hour,
                    &minute, &second) != 7 ||
        (separator != 'T' && separator != ' ')) {
        return std::nullopt;
    }
    // Muxers that know no time write the epoch; that is no time at all.
    if (year <= 1970) return std::nullopt;
    if (!FieldsValid(month, day, hour, minute, second)) return std::nullopt;
    int ms = 0;
    const char* fraction = std::strchr(text, '.');
    if (fraction) {
        int digits = 0;
        for (const char* p = fraction + 1; *p >= '0' && *p <= '9' && digits < 3; ++p, ++digits) {
            ms = ms * 10 + (*p - '0');
        }
        for (; digits < 3; ++digits) ms *= 10;
    }
    return CivilFromFields(year, month, day, hour, minute, second, ms);
}

VemorSystemTime SystemTimeFromCivil(CivilMs ms) {
    int64_t days = ms / 86400000;
    int64_t rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    int year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, &year, &month, &day);
    VemorSystemTime time{};
    time.dwYear = static_cast<uint32_t>(year);
    time.dwMon = month;
    time.dwDay = day;
    time.dwHour = static_cast<uint32_t>(rest / 3600000);
    time.dwMin = static_cast<uint32_t>(rest / 60000 % 60);
    time.dwSec = static_cast<uint32_t>(rest / 1000 % 60);
    time.dwMs = static_cast<uint32_t>(rest % 1000);
    return time;
}

}  // namespace vidmux
