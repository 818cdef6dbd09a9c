#include "gamedata/GameCalendar.h"

#include <algorithm>

int32_t GetDaysInMonth(int32_t, int32_t) { return 30; }

int32_t DayNumber(int32_t year, int32_t month, int32_t day) {
    if (year < 1900 || month < 1 || month > 12) return 0;
    const int64_t n = int64_t{360} * (year - 1900) + 30 * (month - 1) + (int64_t{day} - 1);
    return n >= INT32_MIN && n <= INT32_MAX ? static_cast<int32_t>(n) : 0;  // no day number that far out
}

int32_t DaysBetweenDates(int32_t y1, int32_t m1, int32_t d1, int32_t y2, int32_t m2, int32_t d2) {
    const int64_t days = int64_t{DayNumber(y1, m1, d1)} - DayNumber(y2, m2, d2);
    return static_cast<int32_t>(std::clamp<int64_t>(days, INT32_MIN, INT32_MAX));
}

VersionWord SplitVersionWord(uint16_t word) { return {word >> 8, word & 0xFF}; }
