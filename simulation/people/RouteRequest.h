#pragma once
// What the route planner is asked: the goals, the obstacles and the options
// of one plan, all in sixteenths of a tile. A request can be written as the
// ".rte" text that developers dump from a live plan and read back to replay.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tova {

// A 64-bit sum or product of route coordinates, held to 32 bits.
inline int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// An axis-aligned rectangle with a cost; right and bottom are exclusive.
struct CostRect {
  static constexpr int32_t kSolid = INT32_MAX;

  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t cost = 0;

  bool IsSolid() const { return cost == kSolid; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Overlaps(const CostRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  // Every side moved out by `by` (in by a negative amount), kept inside 32 bits.
  CostRect Grown(int32_t by) const;
  friend bool operator==(const CostRect&, const CostRect&) = default;
};

struct RouteRequest {
  std::vector<CostRect> goals;       // a goal's cost is what reaching it adds
  std::vector<CostRect> obstacles;   // objects and their side strips
  std::vector<CostRect> obstacles2;  // the room's own rectangles
  int32_t startX = 0, startY = 0;
  bool alwaysOn = true;  // carried in dumps; planning does not read it
  bool smooth = true;
  bool limitOn = false;
  int32_t limit = 0;
  bool centreOn = false;
  int32_t aspectLimit = 0;
  bool noGoalPointOn = false;
  int32_t noGoalPointValue = 0;
  int32_t defaultCost = 0;  // of a region that lies in no cost rectangle

  // Both obstacle lists, first list first.
  std::vector<CostRect> AllObstacles() const;
  friend bool operator==(const RouteRequest&, const RouteRequest&) = default;
};

// The ".rte" text of a request; both obstacle lists are written as one.
std::string WriteRouteDump(const RouteRequest& request);

// Reads ".rte" text; every obstacle lands in the first list. False with a
// message in `error` when the text is not a whole, well-formed dump.
bool ReadRouteDump(std::string_view text, RouteRequest& request, std::string& error);

}  // namespace tova
