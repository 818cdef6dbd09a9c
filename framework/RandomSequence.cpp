#include "framework/RandomSequence.h"

#include "platform/Clock.h"

RandomSequence::RandomSequence() : mState(platform::TimeMs()) {}

uint32_t RandomSequence::Next() {
  const uint64_t sum = static_cast<uint64_t>(mState) * 1103515245u + 12345u;
  mState = static_cast<uint32_t>(sum);
  return static_cast<uint32_t>(sum >> 16);
}

uint32_t RandomSequence::Next(uint32_t bound) {
  if (bound == 0) return 0;  // no value lies below 0
  if (bound < 0xFFFFFFu) return Next() % bound;
  uint32_t value;
  do {
    value = Next();
  } while (value > bound);
  return value;
}
