#include "gamedata/TilePosition.h"

#include <gtest/gtest.h>

using tova::FinePoint;
using tova::LotBounds;
using tova::TileLocation;

TEST(TilePosition, ConversionsBetweenPointsAndTiles) {
  const TileLocation t = TileLocation::At(5, 3, 1);
  EXPECT_EQ(t.GetCenterPoint(), (FinePoint{88, 56}));
  EXPECT_EQ(t.Corner(), (FinePoint{80, 48}));
  EXPECT_EQ(TileLocation::FromFine(FinePoint{95, 63}, 2), TileLocation::At(5, 3, 2));
  EXPECT_EQ(TileLocation::FromFine(FinePoint::OffLot(), 1), TileLocation::At(-1, -1, 1));
  // The stored order is y, x, level.
  const TileLocation raw{3, 5, 1};
  EXPECT_EQ(raw, t);
}

TEST(TilePosition, StepsInEveryDirection) {
  const FinePoint p{160, 160};
  const int expected[8][2] = {{-16, 0}, {-16, 16}, {0, 16}, {16, 16}, {16, 0}, {16, -16}, {0, -16}, {-16, -16}};
  for (int d = 0; d < 8; ++d) {
    const FinePoint s = p.Step(d);
    EXPECT_EQ(s.x - p.x, expected[d][0]) << d;
    EXPECT_EQ(s.y - p.y, expected[d][1]) << d;
  }
  EXPECT_EQ(p.Step(9), p.Step(1));
}

TEST(TilePosition, RotationInsideAndOutsideTheTable) {
  const TileLocation t = TileLocation::At(5, 3, 2);  // (y 3, x 5)
  EXPECT_EQ(t.Rotate(0), t);
  EXPECT_EQ(t.Rotate(1), (TileLocation{58, 3, 2}));
  EXPECT_EQ(t.Rotate(2), (TileLocation{60, 58, 2}));
  EXPECT_EQ(t.Rotate(3), (TileLocation{5, 60, 2}));
  EXPECT_EQ((TileLocation{-1, 5, 1}).Rotate(1), (TileLocation{58, -1, 1}));
  for (int y = -2; y < 66; ++y) {
    for (int x = -2; x < 66; ++x) {
      const TileLocation start = TileLocation::At(x, y, 1);
      TileLocation turned = start;
      for (int q = 0; q < 4; ++q) turned = turned.Rotate(1);
      ASSERT_EQ(turned, start) << x << "," << y;
      ASSERT_EQ(start.Rotate(1).Rotate(3), start);
      ASSERT_EQ(start.Rotate(2), start.Rotate(1).Rotate(1));
    }
  }
}

TEST(TilePosition, BorderAndBounds) {
  EXPECT_TRUE(TileLocation::At(0, 5, 1).IsOnBorder(10));
  EXPECT_TRUE(TileLocation::At(5, 9, 1).IsOnBorder(10));
  EXPECT_FALSE(TileLocation::At(1, 8, 1).IsOnBorder(10));
  EXPECT_TRUE(tova::IsOnBorder(FinePoint::OffLot(), 10));
  EXPECT_TRUE(tova::IsOnBorder(FinePoint{16 * 5000, 16}, 10)) << "far off the lot, beyond a byte";
  const LotBounds b{2, 12, 3, 13};
  EXPECT_FALSE(TileLocation::At(3, 4, 1).IsOutsideBounds(b));
  EXPECT_TRUE(TileLocation::At(2, 4, 1).IsOutsideBounds(b));
  EXPECT_TRUE(TileLocation::At(3, 13, 1).IsOutsideBounds(b));
  EXPECT_FALSE(tova::IsOutsideBounds(FinePoint{11 * 16, 12 * 16}, b));
}

TEST(TilePosition, SumAndDrawOrder) {
  const TileLocation sum = TileLocation::At(5, 3, 2) + TileLocation::At(-1, 4, 1);
  EXPECT_EQ(sum, TileLocation::At(4, 7, 2));
  struct Case {
    TileLocation a, b;
    bool behind;
  };
  const Case cases[] = {
      {TileLocation::At(1, 1, 1), TileLocation::At(2, 1, 1), true},   // smaller sum
      {TileLocation::At(2, 1, 1), TileLocation::At(1, 1, 1), false},
      {TileLocation::At(3, 1, 1), TileLocation::At(1, 3, 1), true},   // equal sums: y - x -2 < 2
      {TileLocation::At(1, 3, 1), TileLocation::At(3, 1, 1), false},
      {TileLocation::At(2, 2, 1), TileLocation::At(2, 2, 2), false},  // the same place
  };
  for (const Case& c : cases) EXPECT_EQ(tova::IsBehind(c.a, c.b), c.behind);
}
