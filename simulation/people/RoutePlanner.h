#pragma once
// The graph the route search walks. Free space around the start and the
// goals is cut into regions: rectangles grown from a seed until they meet
// obstacles, other regions or the size limit. A node pairs a goal with a
// region, so the search runs towards one goal per node; node 0 is the start
// and node 1 stands for having reached any goal. Regions and nodes are made
// as the search reaches them.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "simulation/people/RectIndex.h"
#include "simulation/people/RouteRequest.h"

namespace tova {

struct RouteNode {
  int32_t goal = -1;     // -1 none
  int32_t region = -1;   // -1 none
  int32_t neighbourCount = -1;  // -1 not computed yet
  int32_t firstNeighbour = 0;
  int32_t regionCost = 0;
  int32_t x = 0, y = 0;  // where the path enters the node
  int32_t parent = -1;
  double f = 0, g = 0, h = 0;
  enum class List : uint8_t { kNone, kOpen, kClosed } list = List::kNone;
};

class RoutePlanner {
 public:
  static constexpr int32_t kStartNode = 0;
  static constexpr int32_t kGoalNode = 1;
  static constexpr int32_t kGrowthBudget = 200;
  static constexpr int32_t kFreeStep = 32;
  // Far more regions than any lot's room needs; a bound on what a
  // hand-made request can make the planner build.
  static constexpr size_t kMaxRegions = 4096;

  // The one planner every plan reuses (main thread only).
  static RoutePlanner& Global();

  // Clears everything and builds the start and goal nodes. False when the
  // start point has no region (then nothing can be reached).
  bool Setup(const RouteRequest& request);

  // A new region grown from `seed`, or -1 when none can be grown there.
  int32_t GrowRegion(const CostRect& seed);

  // The node's neighbours, computed on first use.
  std::vector<int32_t> Neighbours(int32_t node);
  // The cost of going from node a to node b, and the point where b is entered.
  double StepCost(int32_t a, int32_t b, int32_t& x, int32_t& y) const;
  // The straight distance from (x, y) to the centre of the node's goal.
  double Estimate(int32_t node, int32_t x, int32_t y) const;

  const RouteRequest& Request() const { return request_; }
  const std::vector<CostRect>& Regions() const { return regions_; }
  std::vector<RouteNode>& Nodes() { return nodes_; }
  int32_t StartRegion() const { return startRegion_; }
  int32_t GoalStartNode(size_t goal) const { return goalStart_[goal]; }
  int32_t GoalRegionNode(size_t goal) const { return goalRegion_[goal]; }

 private:
  int32_t AddNode(int32_t goal, int32_t region, int32_t regionCost);
  int32_t PairNode(int32_t goal, int32_t region);
  // Whether `r`, a region that fitted grown by the strip `fresh`, still fits:
  // only a blocker overlapping the strip can newly stand in its way.
  bool Fits(const CostRect& r, const CostRect& fresh, int32_t container) const;
  bool TooBig(const CostRect& r) const;
  // Every region touching a side of `around`, growing new ones where there are none.
  void TouchingRegions(CostRect around, std::vector<int32_t>& out);
  // Walks the line x in [from, to) at row y (or the column, when `vertical`).
  bool WalkLine(int64_t fixed, int64_t from, int64_t to, bool vertical, std::vector<int32_t>& out);

  RouteRequest request_;
  std::vector<CostRect> costRects_;
  std::vector<CostRect> regions_;
  std::vector<RouteNode> nodes_;
  std::vector<int32_t> neighbours_;
  std::vector<int32_t> goalStart_, goalRegion_;
  std::unordered_map<uint64_t, int32_t> pairs_;
  RectIndex rectIndex_, regionIndex_;
  // The cost rectangles and regions near the region being grown.
  std::vector<int32_t> nearRects_, nearRegions_;
  // What a growing region may not overlap: the near cost rectangles its seed
  // does not lie in, and the near regions; each edge in an array of its own,
  // so a test runs over several blockers a step.
  std::vector<int32_t> blockLeft_, blockTop_, blockRight_, blockBottom_;
  int32_t startRegion_ = -1;
};

// Centre of a rectangle, rounded down.
inline void RectCentre(const CostRect& r, int32_t& x, int32_t& y) {
  x = static_cast<int32_t>((int64_t{r.left} + r.right) >> 1);
  y = static_cast<int32_t>((int64_t{r.top} + r.bottom) >> 1);
}

}  // namespace tova
