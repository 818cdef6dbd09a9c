#include <gtest/gtest.h>

#include "gamedata/SimRandom.h"

namespace tova {
namespace {

TEST(SimRandom, SequenceFromSeedZero) {
  SetRandomSeed(0);
  EXPECT_EQ(NextRandom(), 0u);  // 12345 >> 16
  EXPECT_EQ(GetRandomSeed(), 12345u);
  const uint64_t full = 12345ull * 1103515245ull + 12345ull;
  EXPECT_EQ(NextRandom(), static_cast<uint32_t>(full >> 16));
  EXPECT_EQ(GetRandomSeed(), static_cast<uint32_t>(full));
}

TEST(SimRandom, ResultKeepsTheProductsUpperBits) {
  // Split-halves form of the draw, independent of the implementation.
  for (uint32_t s : {0xFFFFFFFFu, 0x80000000u, 0x12345678u, 0xDEADBEEFu}) {
    SetRandomSeed(s);
    const uint32_t h = s >> 16, l = s & 0xFFFF;
    const uint32_t expected = h * 1103515245u + l * 16838u + ((l * 20077u + 12345u) >> 16);
    EXPECT_EQ(NextRandom(), expected) << s;
  }
}

TEST(SimRandom, RepeatsFromTheSameSeed) {
  SetRandomSeed(77);
  uint32_t a[5];
  for (uint32_t& v : a) v = NextRandom();
  SetRandomSeed(77);
  for (uint32_t v : a) EXPECT_EQ(NextRandom(), v);
}

TEST(SimRandom, LowDrawsStayInRange) {
  SetRandomSeed(1);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(RandomLow(1), 0);
  EXPECT_EQ(RandomLow(0), 0);  // no range: defined result, no division
  for (int i = 0; i < 500; ++i) {
    const int32_t v = RandomSignedLow(5);
    EXPECT_GE(v, -4);
    EXPECT_LE(v, 4);
  }
}

TEST(SimRandom, RandomLowIsTheSmallerOfTwoDraws) {
  SetRandomSeed(99);
  const int32_t a = static_cast<int32_t>(NextRandom() % 10);
  const int32_t b = static_cast<int32_t>(NextRandom() % 10);
  SetRandomSeed(99);
  EXPECT_EQ(RandomLow(10), std::min(a, b));
}

TEST(SimRandom, SeedFromTicksUsesSixtieths) {
  SeedRandomFromTicks(1000);
  EXPECT_EQ(GetRandomSeed(), 60u);
  SeedRandomFromTicks(100000000000ull);  // beyond 32-bit milliseconds
  EXPECT_EQ(GetRandomSeed(), static_cast<uint32_t>(6000000000ull));
}

}  // namespace
}  // namespace tova
