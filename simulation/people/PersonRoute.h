#pragma once
// A route of a person. The lot's record keeps only how many routes a person
// has; what a route holds is built again when the person walks on.

#include <cstdint>

namespace tova {

struct PersonRoute {
  // The person this route waits on to step aside (0 none).
  int16_t waitingOn = 0;
};

// A point of a person's path, in sixteenths of a tile.
struct PathPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

}  // namespace tova
