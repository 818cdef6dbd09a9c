#include "gamedata/SimRandom.h"

#include <algorithm>

namespace tova {
namespace {
uint32_t gSeed = 0;
constexpr uint64_t kMultiplier = 1103515245u;
constexpr uint64_t kIncrement = 12345u;
}  // namespace

uint32_t GetRandomSeed() { return gSeed; }
void SetRandomSeed(uint32_t seed) { gSeed = seed; }

void SeedRandomFromTicks(uint64_t milliseconds) {
  // 64-bit intermediate: a 32-bit product overflows after about 50 days of uptime.
  gSeed = static_cast<uint32_t>(milliseconds * 60 / 1000);
}

uint32_t NextRandom() {
  const uint64_t product = static_cast<uint64_t>(gSeed) * kMultiplier + kIncrement;
  gSeed = static_cast<uint32_t>(product);
  return static_cast<uint32_t>(product >> 16);
}

int32_t RandomLow(uint32_t n) {
  if (n == 0) return 0;  // no range to draw from
  const int32_t a = static_cast<int32_t>(NextRandom() % n);
  const int32_t b = static_cast<int32_t>(NextRandom() % n);
  return std::min(a, b);
}

int32_t RandomSignedLow(uint32_t n) {
  int32_t v = RandomLow(n);
  if (NextRandom() & 1) v = -v;
  return v;
}

}  // namespace tova
