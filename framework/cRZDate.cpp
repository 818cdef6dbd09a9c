#include "framework/cRZDate.h"

#include <cstdio>

namespace {

// Division rounding towards minus infinity: intermediates can go negative for
// day numbers before the epoch of the formula.
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

cRZDate::cRZDate(int32_t day, int32_t year) {
  if (year == 0) {
    mDayNumber = static_cast<uint32_t>(day + 2415386);
  } else {
    mDayNumber = static_cast<uint32_t>(day) + DayNumber(12, 31, year - 1);
  }
}

uint32_t cRZDate::DayNumber(int32_t month, int32_t day, int32_t year) {
  if (year < 100) year += 1900;
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return 0;
  const int length = (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
  if (day > length) return 0;
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t monthTerm = 153 * month - 457 + (month <= 2 ? 1836 : 0);
  const int64_t n = FloorDiv(FloorDiv(y, 100) * 146097, 4) + day + FloorDiv(monthTerm, 5) +
                    FloorDiv(FloorMod(y, 100) * 1461, 4) + 1721119;
  return static_cast<uint32_t>(n);
}

void cRZDate::GetMonthDayYear(int32_t* month, int32_t* day, int32_t* year) const {
  int64_t a = (static_cast<int64_t>(mDayNumber) - 1721119) * 4;
  const int64_t c = FloorDiv(a - 1, 146097);
  a = FloorDiv(a - c * 146097 - 1, 4) * 4;
  const int64_t d = FloorDiv(a + 3, 1461);
  a = FloorDiv(a - d * 1461 + 7, 4) * 5;
  int64_t m = FloorDiv(a - 3, 153);
  const int64_t dd = FloorDiv(FloorMod(a - 3, 153) + 5, 5);
  int64_t y = 100 * c + d;
  if (m > 9) {
    m -= 9;
    ++y;
  } else {
    m += 3;
  }
  if (month != nullptr) *month = static_cast<int32_t>(m);
  if (day != nullptr) *day = static_cast<int32_t>(dd);
  if (year != nullptr) *year = static_cast<int32_t>(y);
}

void cRZDate::Format(std::string& out, int32_t style) const {
  int32_t month = 0, day = 0, year = 0;
  GetMonthDayYear(&month, &day, &year);
  const auto m = static_cast<unsigned>(month);
  const auto d = static_cast<unsigned>(day);
  const auto y = static_cast<unsigned>(((year % 100) + 100) % 100);
  char text[64];
  switch (style) {
    case 0: case 1: case -1:
      std::snprintf(text, sizeof text, "%2u/%2u/%2u", m, d, y);
      break;
    case 3: case 4: case 10: case 11:
      std::snprintf(text, sizeof text, "%2u.%2u.%2u", d, m, y);
      break;
    case 7: case 8: case 14:
      std::snprintf(text, sizeof text, "%2u-%2u-%2u", d, m, y);
      break;
    case 9:
      std::snprintf(text, sizeof text, "%2u.%2u.%2u", y, m, d);
      break;
    default:
      std::snprintf(text, sizeof text, "%2u/%2u/%2u", d, m, y);
      break;
  }
  out = text;
}

const cRZDate& EarliestDate() {
  static const cRZDate date(0);
  return date;
}

const cRZDate& LatestDate() {
  static const cRZDate date(49709);
  return date;
}
