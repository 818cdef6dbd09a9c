#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gamedata/FloatConstants.h"
#include "gamedata/MotiveCurveSet.h"
#include "gamedata/Motives.h"
#include "gamedata/PiecewiseCurve.h"
#include "gamedata/RecordBytes.h"
#include "gamedata/RecordIO.h"
#include "support/ScratchDir.h"

namespace tova {
namespace {

TEST(PiecewiseCurve, ParseKeepsFirstOfDuplicateXAndEvaluates) {
  PiecewiseCurve c;
  c.Allocate(8);
  c.Parse("junk (0;10) (50;20) (0;99) (-50;-10) (bad) (100;20");
  ASSERT_EQ(c.Count(), 3);  // the duplicate x and the unclosed group are dropped
  EXPECT_FLOAT_EQ(c.Evaluate(-50), -10);  // exactly at the first point
  EXPECT_FLOAT_EQ(c.Evaluate(-80), -10);  // before it: flat
  EXPECT_FLOAT_EQ(c.Evaluate(-25), 0);
  EXPECT_FLOAT_EQ(c.Evaluate(0), 10);
  EXPECT_FLOAT_EQ(c.Evaluate(25), 15);
  EXPECT_FLOAT_EQ(c.Evaluate(200), 20);  // beyond the last point: flat
}

TEST(PiecewiseCurve, ParseReadsGroupsOfTwoIntegers) {
  struct Case {
    const char* text;
    std::vector<PiecewiseCurve::Point> points;
  } cases[] = {
      {"( 1; +2)(-3;\t-4 )", {{-3, -4}, {1, 2}}},
      {"(1 ;2)(1;)(;1)(+-1;2)(x;1)", {}},
      {"(99999999999;5)(2;-99999999999)(6;7)", {{6, 7}}},  // beyond an int: dropped
      {"(5;6 and more)", {{5, 6}}},
  };
  for (const Case& c : cases) {
    PiecewiseCurve curve;
    curve.Allocate(8);
    curve.Parse(c.text);
    ASSERT_EQ(curve.Count(), static_cast<int>(c.points.size())) << c.text;
    for (size_t i = 0; i < c.points.size(); ++i) {
      EXPECT_EQ(curve.Points()[i].x, c.points[i].x) << c.text;
      EXPECT_EQ(curve.Points()[i].y, c.points[i].y) << c.text;
    }
  }
}

TEST(PiecewiseCurve, FullAndEmptyCurves) {
  PiecewiseCurve c;
  EXPECT_FLOAT_EQ(c.Evaluate(3), 0);
  c.Allocate(2);
  c.AddPoint(10, 1);
  c.AddPoint(-10, 2);
  c.AddPoint(0, 5);  // no room
  ASSERT_EQ(c.Count(), 2);
  EXPECT_FLOAT_EQ(c.Points()[0].x, -10);
  c.Allocate(0);
  c.AddPoint(1, 1);
  EXPECT_EQ(c.Count(), 0);
}

TEST(FloatConstants, RecordRoundTripAndVersions) {
  FloatConstants t;
  t.Set("energy span", 200);
  t.Append({1.5f, "other", "a comment"});
  MemoryResourceSource file;
  file.Add(kTypeFCNS, 1, t.ToRecord());
  const std::vector<uint8_t>& rec = *file.Stored(kTypeFCNS, 1);
  EXPECT_EQ(LoadI32(rec.data() + 4), 1);  // version
  EXPECT_EQ(LoadU32(rec.data() + 8), kTypeFCNS);
  FloatConstants back;
  ASSERT_EQ(back.Load(file, 1), 0);
  ASSERT_EQ(back.Entries().size(), 2u);
  EXPECT_EQ(back.Entries()[1].comment, "a comment");
  EXPECT_FLOAT_EQ(back.Get("ENERGY SPAN", 0, false), 200);

  ByteWriter old;  // version 0 has no comments
  old.U32(1);
  old.String("abc");
  old.F32(2.5f);
  file.Add(kTypeFCNS, 2, MakeRecord(0, kTypeFCNS, old.Bytes()));
  ASSERT_EQ(back.Load(file, 2), 0);
  EXPECT_FLOAT_EQ(back.Get("abc", 0, false), 2.5f);
}

TEST(FloatConstants, DamagedRecordsAreRefused) {
  ByteWriter w;
  w.U32(1000000);  // far more entries than the record holds
  w.String("x");
  ByteWriter cut;  // an entry without its value
  cut.U32(1);
  cut.String("abc");
  MemoryResourceSource file;
  file.Add(kTypeFCNS, 1, MakeRecord(1, kTypeFCNS, w.Bytes()));
  file.Add(kTypeFCNS, 2, MakeRecord(1, kTypeFCNS, cut.Bytes()));
  file.Add(kTypeFCNS, 3, {1, 2, 3});
  FloatConstants t;
  t.Set("kept?", 1);
  EXPECT_EQ(t.Load(file, 1), kResBadData);
  EXPECT_TRUE(t.Entries().empty());
  EXPECT_EQ(t.Load(file, 2), kResBadData);
  EXPECT_EQ(t.Load(file, 3), kResBadData);
  EXPECT_EQ(t.Load(file, 4), kResNotFound);
}

#define EXPECT_NEAR_M(index, value) EXPECT_NEAR(b.current[index], (value), 1e-5)

struct Person : MotivePerson {
  int16_t data[256] = {};
  int reactions = 0;
  int16_t GetPersonData(int index) const override { return data[index]; }
  void OnMotivesChanged() override { ++reactions; }
};

class MotiveConstantsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MotiveConstantsClient::Instance().Reset();
    GlobalConstantsClient::SetGlobalFile(&file);
  }
  void TearDown() override {
    GlobalConstantsClient::SetGlobalFile(nullptr);
    MotiveConstantsClient::Instance().Reset();
  }
  MemoryResourceSource file{"Global.iff"};
};

TEST_F(MotiveConstantsTest, MissingKeysAreAddedWithDefaultsAndWrittenBack) {
  FloatConstants stored;
  stored.Set("Energy Span", 240);
  file.Add(kTypeFCNS, 1, stored.ToRecord(), "motives");
  MotiveConstantsClient::Instance().Load();
  EXPECT_FLOAT_EQ(MotiveConstantsClient::Instance().energySpan, 240);
  FloatConstants written;
  ASSERT_EQ(written.Load(file, 1), 0);
  EXPECT_EQ(written.Entries().size(), 16u);
  EXPECT_FLOAT_EQ(written.Get("wake hours", 0, false), 16);
  EXPECT_FLOAT_EQ(written.Get("bladder decrement, asleep", 0, false), 0.2f);
  EXPECT_EQ(file.GetLabel(kTypeFCNS, 1, nullptr), "motives");
}

TEST_F(MotiveConstantsTest, ATableThatCannotBeReadIsNotOverwrittenWithDefaults) {
  ByteWriter cut;  // an entry without its value
  cut.U32(1);
  cut.String("energy span");
  const std::vector<uint8_t> damaged = MakeRecord(1, kTypeFCNS, cut.Bytes());
  file.Add(kTypeFCNS, 1, damaged);
  MotiveConstantsClient& k = MotiveConstantsClient::Instance();
  k.Load();
  EXPECT_TRUE(k.IsLoaded());
  EXPECT_FLOAT_EQ(k.energySpan, 180);
  ASSERT_NE(file.Stored(kTypeFCNS, 1), nullptr);
  EXPECT_EQ(*file.Stored(kTypeFCNS, 1), damaged);
}

TEST_F(MotiveConstantsTest, ReadOnlyFileAndOddWakeHoursStillLoad) {
  FloatConstants stored;
  stored.Set("wake hours", 24);
  file.Add(kTypeFCNS, 1, stored.ToRecord());
  file.SetWritable(false);
  MotiveConstantsClient& k = MotiveConstantsClient::Instance();
  k.Load();
  EXPECT_TRUE(k.IsLoaded());
  EXPECT_TRUE(std::isfinite(k.asleepEnergyStep));
  EXPECT_TRUE(std::isfinite(k.awakeEnergyStep));
  EXPECT_FLOAT_EQ(k.sleepHours, 1);
  stored.Set("wake hours", 0);
  file.SetWritable(true);
  file.PutResource(kTypeFCNS, 1, "", stored.ToRecord());
  k.Load();
  EXPECT_TRUE(std::isfinite(k.awakeEnergyStep));
}

TEST_F(MotiveConstantsTest, WakeHoursAreWholeHours) {
  FloatConstants stored;
  stored.Set("wake hours", 15.9f);
  stored.Set("wake hour", 7.7f);
  file.Add(kTypeFCNS, 1, stored.ToRecord());
  MotiveConstantsClient& k = MotiveConstantsClient::Instance();
  k.Load();
  EXPECT_EQ(k.wakeHours, 15);
  EXPECT_EQ(k.wakeHour, 7);
  EXPECT_FLOAT_EQ(k.bedHour, 22);
  EXPECT_FLOAT_EQ(k.sleepHours, 9);
  EXPECT_FLOAT_EQ(k.awakeEnergyStep, -(180.0f / 15 / 30));
}

TEST_F(MotiveConstantsTest, InitAndDecayFollowTheSteps) {
  GlobalConstantsClient::SetGlobalFile(nullptr);  // defaults only
  MotiveBlock b;
  b.current[3] = 12;
  InitMotives(b);
  EXPECT_NEAR_M(kMotiveEnergy, 70);
  EXPECT_FLOAT_EQ(b.previous[kMotiveEnergy], 70);
  EXPECT_NEAR_M(kMotiveHunger, -40);
  EXPECT_FLOAT_EQ(b.current[3], 0);

  Person p;
  p.data[kTraitDataBase + 3] = 500;
  p.data[kTraitDataBase + 6] = 1000;
  b.previous[kMotiveHunger] = -40;
  b.current[kMotiveHunger] = -30;  // rose by 10 since the copy
  b.current[kMotiveFun] = 50;
  DecayMotives(b, p, 12);
  const float T = 30;
  EXPECT_NEAR_M(kMotiveEnergy, 70 - 180.0f / 16 / T);
  EXPECT_NEAR_M(kMotiveBladder, -10 * 0.25f - 0.3f);
  EXPECT_NEAR_M(kMotiveComfort, -(500 * (0.4f - 0.6f) * 0.001f + 0.6f));
  EXPECT_NEAR_M(kMotiveHunger, -30 - 70 * 0.0014285714f);
  EXPECT_NEAR_M(kMotiveSocial, -(1000 * 0.0004f + 0.1f));
  EXPECT_NEAR_M(kMotiveFun, 50 - 0.25f);
  EXPECT_NEAR_M(kMotiveHygiene, -0.15f);
  EXPECT_EQ(p.reactions, 1);
  for (int i = 0; i < kMotiveCount; ++i) EXPECT_EQ(b.previous[i], b.current[i]);

  // Asleep inside the waking hours: the drift applies, social rests, fun halves.
  b.current[kMotiveSleepState] = -1;
  const float energy = b.current[kMotiveEnergy];
  const float social = b.current[kMotiveSocial];
  DecayMotives(b, p, 12);
  EXPECT_NEAR_M(kMotiveEnergy, energy + 180.0f / 8 / T - 0.01f);
  EXPECT_NEAR_M(kMotiveSocial, social);
  EXPECT_NEAR_M(kMotiveFun, (50 - 0.25f) * 0.5f);
  const float asleepAtNight = b.current[kMotiveEnergy];
  DecayMotives(b, p, 3);  // outside the waking hours: no drift
  EXPECT_NEAR_M(kMotiveEnergy, asleepAtNight + 180.0f / 8 / T);

  b.current[kMotiveHygiene] = -99.95f;
  DecayMotives(b, p, 3);
  EXPECT_NEAR_M(kMotiveHygiene, -100);  // clamped
}

TEST(MotiveCurveSet, ScoresAndLoadsCurves) {
  MotiveBlock b;
  Person p;
  MotiveCurveSet set;
  set.Init(&p, &b);
  b.current[5] = 90;
  b.current[15] = -90;
  EXPECT_NEAR(set.GetCurrentScore(), 0, 1e-5);
  MemoryResourceSource file;
  file.SetStrings(200, {"(-100;0)(0;0)(100;90)"});  // only the first curve has text
  set.LoadCurves(file, 200);
  EXPECT_FLOAT_EQ(set.Curve(0).Evaluate(90), 81);
  EXPECT_EQ(set.Curve(1).Count(), 0);
  EXPECT_FLOAT_EQ(set.GetCurrentScore(), 81.0f / 9);

  set.Init(&p, &b);
  b.current[5] = 0;
  b.current[15] = 0;
  std::array<MotiveAdvertisement, 9> ads{};
  ads[0] = {0, 1000, 1000};  // +2 on energy
  p.data[kTraitDataBase + 2] = 250;
  ads[1] = {2, 0, 4000};  // inverted trait 2: 750 × 4000 × 0.001 = 3000 → +3
  EXPECT_NEAR(set.ScoreAdvertisements(ads), (2.0f + 3.0f) / 9, 1e-5);
}

TEST(MotiveCurveSet, DumpWritesATable) {
  MotiveCurveSet set;
  set.Init(nullptr, nullptr);
  MemoryResourceSource names;
  names.SetStrings(134, {"", "", "", "", "", "Energy"});
  tova_test::ScratchDir temp;
  const std::string path = (temp.Path() / "curves_dump.txt").string();
  ASSERT_TRUE(set.Dump(path, &names));
  std::ifstream in(path);
  std::string header, first;
  std::getline(in, header);
  std::getline(in, first);
  EXPECT_EQ(header, "Values\tEnergy\t1\t2\t3\t4\t5\t6\t7\t8\t");
  EXPECT_EQ(first.substr(0, 12), "-100.000000\t");
  std::filesystem::remove(path);
}

TEST(MotiveCurveSet, ModifierCodes) {
  EXPECT_EQ(LookupModifier(1).trait, 2);
  EXPECT_FALSE(LookupModifier(1).inverted);
  EXPECT_TRUE(LookupModifier(12).inverted);
  EXPECT_EQ(LookupModifier(12).trait, 7);
  EXPECT_EQ(LookupModifier(13).trait, 9);
  EXPECT_EQ(LookupModifier(22).trait, 18);
  EXPECT_EQ(LookupModifier(23).trait, 0);
}

}  // namespace
}  // namespace tova
