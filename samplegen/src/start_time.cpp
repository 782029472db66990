#include "start_time.h"

#include <cstdio>

namespace samplegen {

namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = kFirstYear + 63;  // six bits of year

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

uint32_t PackTime(const StartTime& t) {
    // Each field is masked to its width so a bad field cannot spill into its neighbours.
    return (static_cast<uint32_t>(t.year - kFirstYear) & 0x3f) << 26 |
           (static_cast<uint32_t>(t.month) & 0xf) << 22 |
           (static_cast<uint32_t>(t.day) & 0x1f) << 17 |
           (static_cast<uint32_t>(t.hour) & 0x1f) << 12 |
           (static_cast<uint32_t>(t.minute) & 0x3f) << 6 | (static_cast<uint32_t>(t.second) & 0x3f);
}

bool IsValidStartTime(const StartTime& t, std::string* reason) {
    if (t.year < kFirstYear || t.year > kLastYear) {
        *reason = "start year must lie in 2000..2063";
    } else if (t.month < 1 || t.month > 12) {
        *reason = "start month must lie in 1..12";
    } else if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) {
        *reason = "start day does not exist in that month";
    } else if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 ||
               t.second > 59) {
        *reason = "start time of day must lie in 00:00:00..23:59:59";
    } else {
        return true;
    }
    return false;
}

std::string CreationTimeText(const StartTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.000000Z", t.year, t.month,
                  t.day, t.hour, t.minute, t.second);
    return text;
}

}  // namespace samplegen
