#include "framework/cRZDate.h"

#include <gtest/gtest.h>

#include "framework/cRZRect.h"

namespace {

TEST(cRZDateTest, DayNumberVectors) {
  EXPECT_EQ(cRZDate::DayNumber(1, 1, 1900), 2415021u);
  EXPECT_EQ(cRZDate::DayNumber(1, 1, 2000), 2451545u);
  EXPECT_EQ(cRZDate::DayNumber(2, 29, 1900), 0u);
  EXPECT_NE(cRZDate::DayNumber(2, 29, 2000), 0u);
  EXPECT_EQ(cRZDate::DayNumber(3, 1, 99), cRZDate::DayNumber(3, 1, 1999));
  EXPECT_EQ(cRZDate::DayNumber(13, 1, 2000), 0u);
  EXPECT_EQ(cRZDate::DayNumber(4, 31, 2000), 0u);
  EXPECT_EQ(cRZDate::DayNumber(4, 0, 2000), 0u);
  EXPECT_EQ(EarliestDate().GetDayNumber(), 2415386u);
  EXPECT_EQ(LatestDate().GetDayNumber(), 2465095u);
  EXPECT_EQ(cRZDate(1, 2000).GetDayNumber(), 2451545u);
}

TEST(cRZDateTest, RoundTripsEveryDayOfTheRange) {
  for (uint32_t n = EarliestDate().GetDayNumber() - 800; n <= LatestDate().GetDayNumber(); ++n) {
    cRZDate date;
    date.SetDayNumber(n);
    int32_t m, d, y;
    date.GetMonthDayYear(&m, &d, &y);
    ASSERT_EQ(cRZDate::DayNumber(m, d, y), n) << m << "/" << d << "/" << y;
  }
}

TEST(cRZDateTest, FormatStyles) {
  struct Case {
    int32_t style;
    const char* text;
  } cases[] = {{1, " 2/ 5/37"}, {0, " 2/ 5/37"}, {-1, " 2/ 5/37"}, {3, " 5. 2.37"}, {11, " 5. 2.37"},
               {7, " 5- 2-37"}, {14, " 5- 2-37"}, {9, "37. 2. 5"}, {2, " 5/ 2/37"}};
  for (const Case& c : cases) {
    std::string out;
    LatestDate().Format(out, c.style);
    EXPECT_EQ(out, c.text) << c.style;
  }
  std::string out;
  cRZDate(1, 2000).Format(out, 1);
  EXPECT_EQ(out, " 1/ 1/ 0");
}

TEST(cRZRectTest, IntersectAndUnion) {
  cRZRect r{1, 1, 1, 1};
  EXPECT_FALSE(r.Intersect({0, 0, 10, 10}, {10, 0, 20, 10}));  // touching only
  EXPECT_EQ(r.left + r.top + r.right + r.bottom, 0);
  ASSERT_TRUE(r.Intersect({0, 0, 10, 10}, {5, 5, 20, 20}));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 10);
  EXPECT_EQ(r.bottom, 10);
  ASSERT_TRUE(r.Union({0, 0, 10, 10}, {5, 5, 20, 20}));
  EXPECT_EQ(r.right, 20);
  EXPECT_FALSE(r.Union({0, 0, 0, 10}, {0, 5, 0, 20}));  // no width
  cRZRect copy;
  copy.Assign(r);
  EXPECT_EQ(copy.bottom, 20);
}

}  // namespace
