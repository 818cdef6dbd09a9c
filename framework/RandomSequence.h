// RandomSequence: a linear-congruential sequence (state * 1103515245 + 12345)
// whose drawn values are bits 16 to 47 of the 64-bit sum.
#pragma once

#include <cstdint>

class RandomSequence {
 public:
  // Seeded with the millisecond clock.
  RandomSequence();
  explicit RandomSequence(uint32_t seed) : mState(seed) {}

  void Seed(uint32_t seed) { mState = seed; }
  uint32_t State() const { return mState; }

  // A value below `bound` for bounds under 0xFFFFFF; for larger bounds a value
  // not above `bound` (the bound itself can come). Next(0) is 0.
  uint32_t Next(uint32_t bound);
  // One raw 32-bit draw.
  uint32_t Next();

 private:
  uint32_t mState;
};
