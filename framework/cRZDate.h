// cRZDate: a calendar date held as a Julian day number, with conversion from
// and to month, day and year and a short text form in four orderings.
#pragma once

#include <cstdint>
#include <string>

class cRZDate {
 public:
  // With year 0, day 0 is 1 January 1901; with a year, day 1 is 1 January of
  // that year.
  explicit cRZDate(int32_t day = 0, int32_t year = 0);
  virtual ~cRZDate() = default;

  // The Julian day number of a date; 0 for a date that does not exist. Years
  // below 100 are taken as 19xx.
  static uint32_t DayNumber(int32_t month, int32_t day, int32_t year);

  uint32_t GetDayNumber() const { return mDayNumber; }
  void SetDayNumber(uint32_t dayNumber) { mDayNumber = dayNumber; }
  void GetMonthDayYear(int32_t* month, int32_t* day, int32_t* year) const;

  // Two-digit fields with the year reduced to two digits; style picks the
  // order and the separator (0, 1, -1 "m/d/y"; 3, 4, 10, 11 "d.m.y";
  // 7, 8, 14 "d-m-y"; 9 "y.m.d"; any other "d/m/y").
  virtual void Format(std::string& out, int32_t style) const;

 private:
  uint32_t mDayNumber;
};

// The earliest (1 January 1901) and latest (5 February 2037) dates.
const cRZDate& EarliestDate();
const cRZDate& LatestDate();
