// The game calendar: every month has 30 days, every year 360; day numbers
// count from 1 January 1900 (day 0).
#pragma once

#include <cstdint>

int32_t GetDaysInMonth(int32_t month, int32_t year);
// 0 for years before 1900, months outside 1 to 12 and dates too far out for
// a 32-bit day number.
int32_t DayNumber(int32_t year, int32_t month, int32_t day);
int32_t DaysBetweenDates(int32_t y1, int32_t m1, int32_t d1, int32_t y2, int32_t m2, int32_t d2);

// A 16-bit version word of a definition read as its high and low byte.
struct VersionWord {
    int32_t high;
    int32_t low;
};
VersionWord SplitVersionWord(uint16_t word);
