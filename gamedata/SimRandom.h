#pragma once
// The simulation's one pseudo-random generator. Its whole state is one 32-bit
// seed, so a saved lot stores it and a run from the same seed repeats.

#include <cstdint>

namespace tova {

uint32_t GetRandomSeed();
void SetRandomSeed(uint32_t seed);
// Seeds from the milliseconds since system start, in sixtieths of a second.
void SeedRandomFromTicks(uint64_t milliseconds);

// The next draw: bits 16-47 of seed * 1103515245 + 12345.
uint32_t NextRandom();
// The smaller of two draws modulo n; leans toward 0. 0 when n is 0.
int32_t RandomLow(uint32_t n);
// RandomLow(n), negated when a third draw is odd.
int32_t RandomSignedLow(uint32_t n);

}  // namespace tova
