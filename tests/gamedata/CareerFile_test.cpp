#include "gamedata/CareerFile.h"

#include <gtest/gtest.h>

#include "gamedata/Careers.h"
#include "resfile/MemResFile.h"
#include "resfile/StringSet.h"
#include "support/ScratchDir.h"

namespace tova {
namespace {

cCareer MakeCareer(int id, const char* name, int levels) {
  cCareer c;
  c.id = id;
  c.name = name;
  for (int j = 0; j < levels; ++j) {
    CareerLevel l;
    l.pay = 100 + j;
    l.values[3] = 300;
    l.hourly[6] = -5;
    l.startHour = 22;
    l.endHour = 6;
    l.extra = j;
    l.title = "Level " + std::to_string(j);
    l.text3 = "note";
    c.levels.push_back(l);
  }
  return c;
}

void SaveStrings(MemResFile& file, int id, std::vector<const char*> texts) {
  StringSet set;
  for (const char* t : texts) set.SetString(set.GetCount() + 1, t);
  ASSERT_EQ(set.SaveTo(&file, static_cast<ResId>(id)), 0);
}

TEST(CareerFile, RecordsRoundTripAndStringTablesFillTexts) {
  MemResFile file;
  CareerList written;
  written.Careers().push_back(MakeCareer(1, "Cooking", 3));
  written.Careers().push_back(MakeCareer(2, "Gardening", 1));
  ASSERT_TRUE(WriteCareersTo(file, written));
  SaveStrings(file, kCareerScaleWordsTable, {"a", "b", "c", "d", "e"});
  SaveStrings(file, kCareerGradeNamesTable, {"F", "A+"});
  // Career 1: own set with name, texts, second titles; titles from set 1001.
  SaveStrings(file, 1, {"Kitchen", "Text", "Alt text", "Second 0", "Description 0"});
  std::vector<const char*> titles(25, "");
  titles[3] = "Dishwasher";  // entry 4: level 0's title
  SaveStrings(file, 1001, titles);

  CareerList list;
  ASSERT_TRUE(LoadCareersFrom(file, "/nonexistent/Careers.txt", list));
  ASSERT_EQ(list.Careers().size(), 2u);
  const cCareer* c = list.FindCareer(1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->name, "Kitchen");
  EXPECT_EQ(c->GetText(true), "Alt text");
  ASSERT_EQ(c->levels.size(), 3u);
  EXPECT_EQ(c->levels[0].title, "Dishwasher");
  EXPECT_EQ(c->levels[1].title, "Level 1");  // no string: the record's text stays
  EXPECT_EQ(c->levels[0].secondTitle, "Second 0");
  EXPECT_EQ(c->levels[0].description, "Description 0");
  EXPECT_EQ(c->levels[2].pay, 102);
  EXPECT_EQ(c->levels[2].values[3], 300);
  EXPECT_EQ(c->levels[2].hourly[6], -5);
  EXPECT_EQ(c->levels[2].startHour, 22);
  EXPECT_EQ(c->levels[2].text3, "note");
  EXPECT_EQ(list.FindCareer(2)->name, "Gardening");
  EXPECT_EQ(list.FindCareer(3), nullptr);
  EXPECT_EQ(list.GetGradeName(1), "A+");
  EXPECT_EQ(list.GetScaleWord(90), "e");
}

TEST(CareerFile, TextTableWinsOverRecords) {
  MemResFile file;
  CareerList written;
  written.Careers().push_back(MakeCareer(1, "FromRecord", 1));
  ASSERT_TRUE(WriteCareersTo(file, written));
  tova_test::ScratchDir dir;
  // A format-0 table: 11 columns, ten levels of 15 rows from row 4.
  std::string text;
  int rows = 4 + 9 * 15 + 13;
  for (int r = 0; r < rows; ++r) {
    for (int col = 0; col < 12; ++col) {
      std::string cell;
      if (r == 0 && col > 0) cell = "Text" + std::to_string(col);
      if (r == 2 && col == 1) cell = "0";
      if (col > 0 && r >= 4 && (r - 4) % 15 == 7) cell = "42";
      text += cell + (col < 11 ? "\t" : "\r\n");
    }
  }
  tova_test::WriteBytes(dir / "Careers.txt", text);
  CareerList list;
  ASSERT_TRUE(LoadCareersFrom(file, (dir / "Careers.txt").string(), list));
  ASSERT_EQ(list.Careers().size(), 11u);
  EXPECT_EQ(list.FindCareer(1)->name, "Text1");
  EXPECT_EQ(list.FindCareer(1)->levels[9].pay, 42);

  // A table too short for its levels falls back to the records.
  tova_test::WriteBytes(dir / "Careers.txt", text.substr(0, text.size() / 2));
  ASSERT_TRUE(LoadCareersFrom(file, (dir / "Careers.txt").string(), list));
  ASSERT_EQ(list.Careers().size(), 1u);
  EXPECT_EQ(list.Careers()[0].name, "FromRecord");
}

TEST(CareerFile, DamagedRecordEndsTheLoad) {
  MemResFile file;
  CareerList written;
  written.Careers().push_back(MakeCareer(1, "Good", 2));
  ASSERT_TRUE(WriteCareersTo(file, written));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(file.GetStored(TypeCode("CARR"), 1, bytes));
  bytes.resize(bytes.size() / 2);
  file.AddStored(TypeCode("CARR"), 2, bytes.data(), static_cast<int32_t>(bytes.size()));
  CareerList list;
  EXPECT_FALSE(LoadCareersFrom(file, "/nonexistent/Careers.txt", list));
  ASSERT_EQ(list.Careers().size(), 1u);
  EXPECT_EQ(list.Careers()[0].name, "Good");
}

}  // namespace
}  // namespace tova
