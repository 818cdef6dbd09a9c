#pragma once
// The animation controller of one person, as far as the lot's record keeps
// it: the grid position and route destination of old records, the state of
// the waiting animate primitive, the dressings worn, the practices as their
// text form, the movement state, the head look and the snap offset.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/people/PersonRoute.h"

class ReconStream;

namespace tova {

struct Dressing {
  std::string suit;
  std::string texture;
  friend bool operator==(const Dressing&, const Dressing&) = default;
};

class PersonAnimator {
 public:
  static constexpr int32_t kDressingCount = 5;
  static constexpr int32_t kStateStanding = 3;
  static constexpr float kNoPosition = -999.0f;

  // Back to the state of a fresh person: no position, no destination,
  // standing, no animation waiting.
  void Reset();

  // The record inside the person's record. Old versions also carry the
  // path points, which go into points. False when the bytes run out or a
  // count cannot be right.
  bool Transfer(ReconStream& stream, int32_t version, std::vector<PathPoint>& points);

  float grid[3] = {kNoPosition, kNoPosition, kNoPosition};
  int32_t destination = -1;
  int32_t followState = 0;
  int32_t eventsFired = 0;
  int32_t primitiveRunning = 0;
  Dressing dressings[kDressingCount];
  std::vector<Dressing> extraDressings;
  // Practice text forms: main, carry, background.
  std::string practices[3];
  int32_t movementState = kStateStanding;
  float head[6] = {};
  float offset[3] = {};
  // Set when a record too old to hold the dressings was read.
  bool dressingsDirty = false;
};

}  // namespace tova
