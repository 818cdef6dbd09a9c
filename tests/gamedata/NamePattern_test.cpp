#include "gamedata/NamePattern.h"

#include <gtest/gtest.h>

namespace tova {
namespace {

TEST(NamePattern, LiteralsGapsAndAlternatives) {
  NamePattern p;
  EXPECT_EQ(p.Match("anything"), 0);
  p.AddLiteral("b");
  p.AddAlternatives("ma", "fa");
  p.AddGap(3);
  p.AddLiteral("_");
  EXPECT_EQ(p.Match("BMA123_rest"), 7);  // letters ignore case
  EXPECT_EQ(p.Match("bfaXYZ_"), 7);
  EXPECT_EQ(p.Match("bca123_"), 0);
  EXPECT_EQ(p.Match("bma12"), 0);  // the gap needs three characters
}

TEST(NamePattern, LongestOfSeveralPathsWins) {
  NamePattern p;
  p.AddLiteral("x");
  p.AddAlternatives("ab", "abcd");
  EXPECT_EQ(p.Match("xabcdef"), 5);
  p.ReplaceFirst("y");
  EXPECT_EQ(p.Match("yab"), 3);
  EXPECT_EQ(p.Match("xab"), 0);
}

TEST(NamePattern, BestMatchPrefersShareThenLength) {
  NamePattern p;
  p.AddLiteral("chair");
  p.AddGap(2);
  p.BestMatch("table");
  EXPECT_EQ(p.GetBestName(), "");
  p.BestMatch("chair01xxxxxx");
  EXPECT_EQ(p.GetBestName(), "chair01xxxxxx");
  p.BestMatch("chair01");  // 7/7 beats 7/13
  EXPECT_EQ(p.GetBestName(), "chair01");
  p.BestMatch("CHAIR02");  // same share, not longer: kept
  EXPECT_EQ(p.GetBestName(), "chair01");
  EXPECT_DOUBLE_EQ(p.GetBestRatio(), 1.0);
}

}  // namespace
}  // namespace tova
