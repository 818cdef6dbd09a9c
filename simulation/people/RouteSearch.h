#pragma once
// A best-first search over the planner's graph, then smoothing: each corner
// of the found path slides along the border between its two regions while
// that shortens the path, with steps that shrink from 100 sixteenths to 1.

#include <cstdint>
#include <string>
#include <vector>

#include "simulation/people/PersonRoute.h"
#include "simulation/people/RoutePlanner.h"

namespace tova {

class RouteSearch {
 public:
  explicit RouteSearch(RoutePlanner& planner) : planner_(planner) {}

  // Sets the planner up for the request and opens the start node.
  void Begin(const RouteRequest& request);
  // One search step; true once the search is done (found or exhausted).
  bool Step();
  // One smoothing pass; true once smoothing is finished.
  bool Smooth();
  // Steps until done, then smooths when the request asks; every step and
  // pass spends one of `budget`. True when a path was found.
  bool Run(int32_t budget);

  bool Found() const { return found_; }
  int32_t ReachedGoal() const { return reachedGoal_; }
  const std::vector<PathPoint>& Points() const { return points_; }
  const std::vector<int32_t>& NodeSequence() const { return nodeSequence_; }
  const std::vector<int32_t>& RegionSequence() const { return regionSequence_; }
  // The step the next smoothing pass uses.
  int32_t SmoothingStep() const;

 private:
  void Assemble();
  // The border shared by the regions on each side of path point i.
  CostRect Border(size_t i) const;

  RoutePlanner& planner_;
  std::vector<int32_t> open_, closed_;
  int32_t current_ = -1;
  std::vector<int32_t> nodeSequence_, regionSequence_;
  std::vector<PathPoint> points_;
  int32_t reachedGoal_ = -1;
  int32_t smoothPass_ = 0;
  bool done_ = false;
  bool found_ = false;
};

// "goal <index>" (or "goal none"), then "point <x> <y>" per path point, a line each.
std::string DescribeRoute(const RouteSearch& search);

}  // namespace tova
