#include "playback/play_helper.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 0001-01-01 (day 0) in the proleptic Gregorian calendar.
int64_t DayNumber(int64_t nYear, int64_t nMonth, int64_t nDay) {
    // Counting the year from March puts the leap day last.
    if (nMonth <= 2) {
        nYear -= 1;
        nMonth += 12;
    }
    const int64_t nDaysBeforeYear = 365 * nYear + nYear / 4 - nYear / 100 + nYear / 400;
    const int64_t nDaysBeforeMonth = (153 * (nMonth - 3) + 2) / 5;
    // 306 = days from 0000-03-01 to 0001-01-01.
    return nDaysBeforeYear + nDaysBeforeMonth + nDay - 1 - 306;
}

int64_t SecondsOfDay(const VemorSystemTime& t) {
    return (int64_t{t.dwHour} * 60 + t.dwMin) * 60 + t.dwSec;
}

uint64_t SecondKey(const VemorSystemTime& t) {
    return uint64_t{t.dwYear} * 10000000000ULL + uint64_t{t.dwMon} * 100000000ULL +
           uint64_t{t.dwDay} * 1000000ULL + uint64_t{t.dwHour} * 10000ULL +
           uint64_t{t.dwMin} * 100ULL + t.dwSec;
}

// Moves a day number back to year, month and day.
void DateOfDayNumber(int64_t nDayNumber, VemorSystemTime* pTime) {
    int64_t nYear = (nDayNumber + 306) * 400 / 146097;
    while (DayNumber(nYear + 1, 1, 1) <= nDayNumber) ++nYear;
    while (DayNumber(nYear, 1, 1) > nDayNumber) --nYear;
    uint32_t dwMonth = 1;
    while (dwMonth < 12 && DayNumber(nYear, dwMonth + 1, 1) <= nDayNumber) ++dwMonth;
    pTime->dwYear = static_cast<uint32_t>(nYear);
    pTime->dwMon = dwMonth;
    pTime->dwDay = static_cast<uint32_t>(nDayNumber - DayNumber(nYear, dwMonth, 1) + 1);
}

}  // namespace

bool CPlayHelper::IsLeapYear(uint32_t dwYear) {
    return (dwYear % 4 == 0 && dwYear % 100 != 0) || dwYear % 400 == 0;
}

uint32_t CPlayHelper::DaysInMonth(uint32_t dwYear, uint32_t dwMonth) {
    static constexpr uint32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (dwMonth < 1 || dwMonth > 12) return 0;
    if (dwMonth == 2 && IsLeapYear(dwYear)) return 29;
    return kDays[dwMonth - 1];
}

bool CPlayHelper::IsEarlier(const VemorSystemTime* pA, const VemorSystemTime* pB) {
    if (pA == nullptr || pB == nullptr) return false;
    return SecondKey(*pA) < SecondKey(*pB);
}

int64_t CPlayHelper::GetSecondsBetween(const VemorSystemTime* pA, const VemorSystemTime* pB) {
    if (pA == nullptr || pB == nullptr) return 0;
    const int64_t nDays =
        DayNumber(pB->dwYear, pB->dwMon, pB->dwDay) - DayNumber(pA->dwYear, pA->dwMon, pA->dwDay);
    return nDays * kSecondsPerDay + SecondsOfDay(*pB) - SecondsOfDay(*pA);
}

bool CPlayHelper::AddTimeUnit(int32_t nUnit, VemorSystemTime* pTime) {
    if (pTime == nullptr || nUnit < UNIT_YEAR || nUnit > UNIT_MILLISECOND) return false;
    VemorSystemTime& t = *pTime;
    switch (nUnit) {
        case UNIT_YEAR:
            ++t.dwYear;
            break;
        case UNIT_MONTH:
            ++t.dwMon;
            break;
        case UNIT_DAY:
            ++t.dwDay;
            break;
        case UNIT_HOUR:
            ++t.dwHour;
            break;
        case UNIT_MINUTE:
            ++t.dwMin;
            break;
        case UNIT_SECOND:
            ++t.dwSec;
            break;
        default:
            ++t.dwMs;
            break;
    }
    // Carries from the smallest unit up; a day past the month's end (also
    // after adding a month or a year to the 29th..31st) starts the next month.
    if (t.dwMs >= 1000) t.dwMs -= 1000, ++t.dwSec;
    if (t.dwSec >= 60) t.dwSec -= 60, ++t.dwMin;
    if (t.dwMin >= 60) t.dwMin -= 60, ++t.dwHour;
    if (t.dwHour >= 24) t.dwHour -= 24, ++t.dwDay;
    if (t.dwMon > 12) t.dwMon = 1, ++t.dwYear;
    if (t.dwDay > DaysInMonth(t.dwYear, t.dwMon)) {
        t.dwDay = 1;
        if (++t.dwMon > 12) t.dwMon = 1, ++t.dwYear;
    }
    return true;
}

bool CPlayHelper::GetPrecentByGlobalTime(const VemorSystemTime* pStart, const VemorSystemTime* pEnd,
                                         const VemorSystemTime* pTime, double* pPrecent) {
    if (pPrecent == nullptr || !IsEarlier(pStart, pEnd) || !IsEarlier(pStart, pTime) ||
        !IsEarlier(pTime, pEnd)) {
        return false;
    }
    *pPrecent = static_cast<double>(GetSecondsBetween(pStart, pTime)) /
                static_cast<double>(GetSecondsBetween(pStart, pEnd));
    return true;
}

bool CPlayHelper::GetGlobalTimeByPrecent(const VemorSystemTime* pStart, const VemorSystemTime* pEnd,
                                         double dPrecent, VemorSystemTime* pTime) {
    if (pTime == nullptr || !(dPrecent >= 0.0 && dPrecent <= 1.0) || !IsEarlier(pStart, pEnd)) {
        return false;
    }
    const int64_t nOffset =
        static_cast<int64_t>(dPrecent * static_cast<double>(GetSecondsBetween(pStart, pEnd)));
    // Exact calendar addition for every offset: months of 30 days would land
    // on days that do not exist once the offset spans a month or more.
    const int64_t nSeconds = SecondsOfDay(*pStart) + nOffset;
    VemorSystemTime result = *pStart;
    DateOfDayNumber(
        DayNumber(pStart->dwYear, pStart->dwMon, pStart->dwDay) + nSeconds / kSecondsPerDay,
        &result);
    const int64_t nOfDay = nSeconds % kSecondsPerDay;
    result.dwHour = static_cast<uint32_t>(nOfDay / 3600);
    result.dwMin = static_cast<uint32_t>(nOfDay / 60 % 60);
    result.dwSec = static_cast<uint32_t>(nOfDay % 60);
    *pTime = result;
    return true;
}
