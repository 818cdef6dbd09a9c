#include "gamedata/Careers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedata/TextTable.h"

namespace tova {
namespace {

// A careers table of the given format: every career column holds
// `levels` complete levels (the eleventh column always one).
std::string MakeCareersText(int format, int levels) {
  const int first = format == 1 ? 5 : 4;
  const int stride = format == 1 ? 18 : 15;
  const int used = format == 1 ? 16 : 13;
  int rows = first + (levels - 1) * stride + used;
  std::vector<std::vector<std::string>> cells(static_cast<size_t>(rows), std::vector<std::string>(12));
  cells[2][0] = "format";
  cells[2][1] = std::to_string(format);
  for (int col = 1; col <= 11; ++col) {
    cells[0][static_cast<size_t>(col)] = "Career " + std::to_string(col);
    for (int j = 0; j < levels; ++j) {
      size_t r = static_cast<size_t>(first + j * stride);
      auto& c = cells;
      c[r - 1][static_cast<size_t>(col)] = "Title " + std::to_string(col) + "." + std::to_string(j);
      for (int v = 0; v < 7; ++v) c[r + static_cast<size_t>(v)][static_cast<size_t>(col)] = std::to_string(v + j);
      c[r + 7][static_cast<size_t>(col)] = std::to_string(100 * (j + 1));
      c[r + 8][static_cast<size_t>(col)] = "9a-5p";
      c[r + 10][static_cast<size_t>(col)] = "first";
      c[r + 11][static_cast<size_t>(col)] = "second";
      c[r + 12][static_cast<size_t>(col)] = "third";
      if (format == 1) {
        c[r + 13][static_cast<size_t>(col)] = "fourth";
        c[r + 14][static_cast<size_t>(col)] = "80:/16:8";
        c[r + 15][static_cast<size_t>(col)] = "3";
      }
    }
  }
  std::string text;
  for (auto& row : cells) {
    for (size_t i = 0; i < row.size(); ++i) text += row[i] + (i + 1 < row.size() ? "\t" : "\n");
  }
  return text;
}

TEST(Careers, FormatOneTableReadsEveryField) {
  TextTable t;
  t.Parse(MakeCareersText(1, 10));
  std::vector<cCareer> careers;
  ASSERT_TRUE(ReadCareersTable(t, careers));
  ASSERT_EQ(careers.size(), 11u);
  EXPECT_EQ(careers[0].id, 1);
  EXPECT_EQ(careers[10].id, -1);
  EXPECT_EQ(careers[10].levels.size(), 1u);
  const CareerLevel& l = careers[2].levels[1];
  EXPECT_EQ(careers[2].name, "Career 3");
  EXPECT_EQ(l.title, "Title 3.1");
  EXPECT_EQ(l.values[0], 7);          // row r+6
  EXPECT_EQ(l.values[1], 100);        // row r, x 100
  EXPECT_EQ(l.values[6], 600);
  EXPECT_EQ(l.values[7], 0);
  EXPECT_EQ(l.pay, 200);
  EXPECT_EQ(l.startHour, 9);
  EXPECT_EQ(l.endHour, 17);
  EXPECT_EQ(l.hourly[0], 10);  // 80 over 8 hours
  EXPECT_EQ(l.hourly[1], -2);  // '/' stands for '-'
  EXPECT_EQ(l.hourly[2], 1);
  EXPECT_EQ(l.extra, 3);
  EXPECT_EQ(l.text1, "first");
  EXPECT_EQ(l.text4, "fourth");
}

TEST(Careers, FormatZeroReadsItsOwnRows) {
  TextTable t;
  t.Parse(MakeCareersText(0, 10));
  std::vector<cCareer> careers;
  ASSERT_TRUE(ReadCareersTable(t, careers));
  const CareerLevel& l = careers[0].levels[0];
  EXPECT_EQ(l.text1, "");
  EXPECT_EQ(l.text3, "second");  // row r+11
  EXPECT_EQ(l.text4, "third");
  EXPECT_EQ(l.hourly[0], 0);
}

TEST(Careers, ShortTableOrUnknownFormatFails) {
  TextTable t;
  t.Parse(MakeCareersText(1, 9));
  std::vector<cCareer> careers;
  EXPECT_FALSE(ReadCareersTable(t, careers));
  EXPECT_TRUE(careers.empty());
  t.Parse(MakeCareersText(2, 10));
  EXPECT_FALSE(ReadCareersTable(t, careers));
}

TEST(Careers, HoursText) {
  const struct {
    const char* text;
    int start, end, work;
  } cases[] = {{"9a-3p", 9, 15, 6}, {"12p-8p", 12, 20, 8}, {"10p-6a", 22, 6, 8}, {"12a-12p", 0, 12, 12},
               {"9a-9a", 9, 9, 0}};
  for (const auto& c : cases) {
    int32_t s = -1, e = -1;
    ASSERT_TRUE(ParseCareerHours(c.text, s, e)) << c.text;
    EXPECT_EQ(s, c.start) << c.text;
    EXPECT_EQ(e, c.end) << c.text;
    EXPECT_EQ(CareerWorkHours(s, e), c.work) << c.text;
  }
}

TEST(Careers, NoWorkingHoursGivesNoHourlyRate) {
  std::string text = MakeCareersText(1, 10);
  size_t at = 0;
  while ((at = text.find("9a-5p", at)) != std::string::npos) text.replace(at, 5, "9a-9a");
  TextTable t;
  t.Parse(text);
  std::vector<cCareer> careers;
  ASSERT_TRUE(ReadCareersTable(t, careers));
  EXPECT_EQ(careers[0].levels[0].hourly[0], 0);
}

TEST(Careers, ValuesByWhat) {
  std::vector<CareerLevel> levels(2);
  levels[1].pay = 55;
  levels[1].values[9] = 4;
  levels[1].hourly[6] = 2;
  levels[1].text1 = "x";
  int32_t v = 0;
  EXPECT_TRUE(GetCareerValue(levels, 1, 0, v));
  EXPECT_EQ(v, 2);
  EXPECT_TRUE(GetCareerValue(levels, 1, 1, v));
  EXPECT_EQ(v, 55);
  EXPECT_TRUE(GetCareerValue(levels, 1, 11, v));
  EXPECT_EQ(v, 4);
  EXPECT_TRUE(GetCareerValue(levels, 1, 20, v));
  EXPECT_EQ(v, 2);
  EXPECT_TRUE(GetCareerValue(levels, 1, 22, v));
  EXPECT_EQ(v, 1);
  EXPECT_FALSE(GetCareerValue(levels, 1, 23, v));
  EXPECT_FALSE(GetCareerValue(levels, 2, 1, v));
  EXPECT_FALSE(GetCareerValue(levels, -1, 1, v));
}

TEST(Careers, ScaleWordsAndGradeNames) {
  CareerList& list = CareerList::Instance();
  list.Clear();
  list.SetScaleWords({"awful", "poor", "fair", "good", "great"});
  list.SetGradeNames({"F", "D"});
  EXPECT_EQ(list.GetScaleWord(-61), "awful");
  EXPECT_EQ(list.GetScaleWord(-60), "poor");
  EXPECT_EQ(list.GetScaleWord(0), "fair");
  EXPECT_EQ(list.GetScaleWord(59), "good");
  EXPECT_EQ(list.GetScaleWord(60), "great");
  EXPECT_EQ(list.GetGradeName(1), "D");
  EXPECT_EQ(list.GetGradeName(2), "");
  list.SetScaleWords({"only"});
  EXPECT_EQ(list.GetScaleWord(60), "");
  list.Clear();
}

TEST(Careers, AlternateTextsFallBack) {
  CareerLevel l;
  l.title = "Cook";
  EXPECT_EQ(l.GetTitle(true), "Cook");
  l.alternateTitle = "Chef";
  EXPECT_EQ(l.GetTitle(true), "Chef");
  EXPECT_EQ(l.GetTitle(false), "Cook");
}

}  // namespace
}  // namespace tova
