#include "gamedata/GameCalendar.h"

int32_t GetDaysInMonth(int32_t, int32_t) { return 30; }

int32_t DayNumber(int32_t year, int32_t month, int32_t day) {
    if (year < 1900 || month < 1 || month > 12) return 0;
    return 360 * (year - 1900) + 30 * (month - 1) + (day - 1);
}

int32_t DaysBetweenDates(int32_t y1, int32_t m1, int32_t d1, int32_t y2, int32_t m2, int32_t d2) {
    return DayNumber(y1, m1, d1) - DayNumber(y2, m2, d2);
}

VersionWord SplitVersionWord(uint16_t word) { return {word >> 8, word & 0xFF}; }
