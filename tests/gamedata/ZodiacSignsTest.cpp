#include "gamedata/ZodiacSigns.h"

#include <gtest/gtest.h>

#include <array>

#include "CatalogFixture.h"
#include "gamedata/UIStrings.h"
#include "support/TempFolder.h"

using namespace tova;

namespace {

class ZodiacSignsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = GetUIDirectory();
    SetUIDirectory(dir_.path());
    ResetZodiacNames();
  }
  void TearDown() override {
    SetUIDirectory(previous_);
    ResetZodiacNames();
  }
  void WriteNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 12; ++i) names.push_back("Sign " + std::to_string(i));
    tova_test::WriteIff(dir_ / "UIText.iff", {},
                        {{164, names}, {154, {"a", "b", "c", "d", "e", "f", "Seventh", "Eighth"}}});
  }
  tova_test::TempFolder dir_;
  std::string previous_;
};

std::array<int16_t, 10> Personality(int16_t i6, int16_t i2, int16_t i5, int16_t i7, int16_t i3) {
  std::array<int16_t, 10> v{};
  v[6] = i6;
  v[2] = i2;
  v[5] = i5;
  v[7] = i7;
  v[3] = i3;
  return v;
}

}  // namespace

TEST_F(ZodiacSignsTest, NamesAndPairs) {
  WriteNames();
  EXPECT_TRUE(LoadZodiacNames());
  EXPECT_EQ(GetZodiacName(1), "Sign 1");
  EXPECT_EQ(GetZodiacName(0), GetZodiacName(1));
  EXPECT_EQ(GetZodiacName(99), "Sign 12");
  EXPECT_EQ(FindZodiacByName("Sign 7"), 7);
  EXPECT_EQ(FindZodiacByName("sign 7"), 0);
  cRZString pair;
  GetZodiacNamePairA(pair, 1);
  EXPECT_EQ(pair, "Sign 3, Sign 2");
  GetZodiacNamePairB(pair, 12);
  EXPECT_EQ(pair, "Sign 5, Sign 1");
  GetZodiacNamePairA(pair, 40);
  EXPECT_EQ(pair, "Sign 8, Sign 3");
  EXPECT_EQ(GetUITextExtra(0), "Seventh");
  EXPECT_EQ(GetUITextExtra(1), "Eighth");
}

TEST_F(ZodiacSignsTest, AMissingTableIsNotLookedForAgain) {
  EXPECT_TRUE(LoadZodiacNames());
  EXPECT_EQ(GetZodiacName(3), "");
  WriteNames();
  EXPECT_EQ(GetZodiacName(3), "") << "loaded once, found or not";
  ResetZodiacNames();
  EXPECT_EQ(GetZodiacName(3), "Sign 3");
}

TEST(ZodiacSigns, NearestSignAndPresets) {
  EXPECT_EQ(GetZodiacSign(Personality(800, 300, 300, 500, 600)), 1);
  EXPECT_EQ(GetZodiacSign(Personality(1000, 300, 400, 400, 400)), 5);
  EXPECT_EQ(GetZodiacSign(Personality(790, 310, 300, 500, 600)), 1);
  // Halfway between signs 1 and 8 (differing only at index 6 by 3 and at
  // index 3 by 2): a tie keeps the lower sign.
  EXPECT_EQ(GetZodiacSign(Personality(650, 300, 300, 550, 700)), 1);
  EXPECT_EQ(GetZodiacSign({}), 4) << "all zero: signs 4 and 11 are nearest, the lower wins";

  auto values = Personality(1, 2, 3, 4, 5);
  SetPersonalityFromZodiac(values, 5);
  EXPECT_EQ(values, Personality(1000, 300, 400, 400, 400));
  for (int sign : {0, 13, -1}) {
    auto same = Personality(1, 2, 3, 4, 5);
    SetPersonalityFromZodiac(same, sign);
    EXPECT_EQ(same, Personality(1, 2, 3, 4, 5)) << sign;
  }
}
