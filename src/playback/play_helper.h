#pragma once

#include <cstdint>

#include "vidmux.h"

// Calendar arithmetic on time records (year, month, day, hour, minute,
// second, millisecond) for the synchronous timeline. Milliseconds are ignored
// unless a function says otherwise; a missing (null) record makes a function
// fail or answer 0.
class CPlayHelper {
public:
    // Units of AddTimeUnit.
    enum TimeUnit : int32_t {
        UNIT_YEAR = 0,
        UNIT_MONTH = 1,
        UNIT_DAY = 2,
        UNIT_HOUR = 3,
        UNIT_MINUTE = 4,
        UNIT_SECOND = 5,
        UNIT_MILLISECOND = 6,
    };

    static bool IsLeapYear(uint32_t dwYear);
    // 28..31; 0 for a month outside 1..12.
    static uint32_t DaysInMonth(uint32_t dwYear, uint32_t dwMonth);
    // True when a is strictly earlier than b to the second.
    static bool IsEarlier(const VemorSystemTime* pA, const VemorSystemTime* pB);
    // Seconds from a to b (negative when b is earlier); 0 if either is missing.
    static int64_t GetSecondsBetween(const VemorSystemTime* pA, const VemorSystemTime* pB);
    // Adds one unit with the carries of the calendar; false for another unit.
    static bool AddTimeUnit(int32_t nUnit, VemorSystemTime* pTime);
    // Where t lies between start and end, as a fraction; all three strictly ordered.
    static bool GetPrecentByGlobalTime(const VemorSystemTime* pStart, const VemorSystemTime* pEnd,
                                       const VemorSystemTime* pTime, double* pPrecent);
    // The time at a fraction (0..1) of start..end, to the whole second below;
    // the result keeps start's milliseconds.
    static bool GetGlobalTimeByPrecent(const VemorSystemTime* pStart, const VemorSystemTime* pEnd,
                                       double dPrecent, VemorSystemTime* pTime);
};
