#include "simulation/people/RouteSearch.h"

#include <algorithm>
#include <cmath>

namespace tova {

namespace {

double Distance(const PathPoint& a, const PathPoint& b) {
  return std::hypot(static_cast<double>(int64_t{b.x} - a.x), static_cast<double>(int64_t{b.y} - a.y));
}

void Remove(std::vector<int32_t>& list, int32_t node) {
  const auto it = std::find(list.begin(), list.end(), node);
  if (it != list.end()) list.erase(it);
}

}  // namespace

void RouteSearch::Begin(const RouteRequest& request) {
  open_.clear();
  closed_.clear();
  nodeSequence_.clear();
  regionSequence_.clear();
  points_.clear();
  current_ = -1;
  reachedGoal_ = -1;
  smoothPass_ = 0;
  found_ = false;
  done_ = !planner_.Setup(request);
  if (done_) return;
  RouteNode& start = planner_.Nodes()[RoutePlanner::kStartNode];
  start.list = RouteNode::List::kOpen;
  open_.push_back(RoutePlanner::kStartNode);
}

bool RouteSearch::Step() {
  if (done_) return true;
  if (open_.empty()) return done_ = true;
  std::vector<RouteNode>& nodes = planner_.Nodes();
  size_t best = 0;
  for (size_t i = 1; i < open_.size(); ++i)
    if (nodes[static_cast<size_t>(open_[i])].f < nodes[static_cast<size_t>(open_[best])].f) best = i;
  current_ = open_[best];
  if (current_ == RoutePlanner::kGoalNode) {
    Assemble();
    found_ = true;
    return done_ = true;
  }
  for (int32_t next : planner_.Neighbours(current_)) {
    int32_t x = 0, y = 0;
    const double g = nodes[static_cast<size_t>(current_)].g + planner_.StepCost(current_, next, x, y);
    RouteNode& n = nodes[static_cast<size_t>(next)];
    if (n.list != RouteNode::List::kNone && g >= n.g) continue;
    if (n.list == RouteNode::List::kClosed) Remove(closed_, next);
    n.g = g;
    n.x = x;
    n.y = y;
    n.h = planner_.Estimate(next, x, y);
    n.f = n.g + n.h;
    n.parent = current_;
    if (n.list != RouteNode::List::kOpen) open_.push_back(next);
    n.list = RouteNode::List::kOpen;
  }
  Remove(open_, current_);
  closed_.push_back(current_);
  nodes[static_cast<size_t>(current_)].list = RouteNode::List::kClosed;
  if (open_.empty()) done_ = true;
  return done_;
}

void RouteSearch::Assemble() {
  const std::vector<RouteNode>& nodes = planner_.Nodes();
  for (int32_t n = RoutePlanner::kGoalNode; n >= 0; n = nodes[static_cast<size_t>(n)].parent) {
    nodeSequence_.push_back(n);
    // A parent chain is never longer than the node list; a loop would be a fault.
    if (nodeSequence_.size() > nodes.size()) break;
  }
  std::reverse(nodeSequence_.begin(), nodeSequence_.end());
  for (int32_t n : nodeSequence_) {
    const RouteNode& node = nodes[static_cast<size_t>(n)];
    if (reachedGoal_ < 0 && node.goal >= 0) reachedGoal_ = node.goal;
    if (node.region < 0 || (!regionSequence_.empty() && regionSequence_.back() == node.region)) continue;
    regionSequence_.push_back(node.region);
    points_.push_back({node.x, node.y});
  }
  if (!planner_.Request().noGoalPointOn && reachedGoal_ >= 0) {
    PathPoint centre;
    RectCentre(planner_.Request().goals[static_cast<size_t>(reachedGoal_)], centre.x, centre.y);
    points_.push_back(centre);
  }
}

int32_t RouteSearch::SmoothingStep() const {
  const int64_t k = int64_t{smoothPass_} + 1;
  return static_cast<int32_t>(std::max<int64_t>(1, 100 / (k * k)));
}

CostRect RouteSearch::Border(size_t i) const {
  const std::vector<CostRect>& regions = planner_.Regions();
  const CostRect a = regions[static_cast<size_t>(regionSequence_[i - 1])].Grown(1);
  const CostRect b = regions[static_cast<size_t>(regionSequence_[i])].Grown(1);
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom),
          0};
}

bool RouteSearch::Smooth() {
  if (points_.size() < 2) return true;
  const int32_t s = SmoothingStep();
  bool moved = false;
  for (size_t i = 1; i + 1 < points_.size() && i < regionSequence_.size(); ++i) {
    const CostRect border = Border(i);
    const PathPoint& before = points_[i - 1];
    const PathPoint& after = points_[i + 1];
    PathPoint best = points_[i];
    double bestLength = Distance(before, best) + Distance(best, after);
    auto consider = [&](int64_t x, int64_t y) {
      if (x < border.left || x >= border.right || y < border.top || y >= border.bottom) return;
      const PathPoint p{static_cast<int32_t>(x), static_cast<int32_t>(y)};
      const double length = Distance(before, p) + Distance(p, after);
      if (length < bestLength) {
        bestLength = length;
        best = p;
      }
    };
    const PathPoint here = points_[i];
    if (int64_t{border.right} - border.left > 2) {
      consider(int64_t{here.x} + s, here.y);
      consider(int64_t{here.x} - s, here.y);
    }
    if (int64_t{border.bottom} - border.top > 2) {
      consider(here.x, int64_t{here.y} + s);
      consider(here.x, int64_t{here.y} - s);
    }
    if (best != here) {
      points_[i] = best;
      moved = true;
    }
  }
  if (moved) return false;
  ++smoothPass_;
  return s <= 1;
}

bool RouteSearch::Run(int32_t budget) {
  while (!done_ && budget > 0) {
    Step();
    --budget;
  }
  if (!found_) return false;
  if (planner_.Request().smooth) {
    while (budget > 0) {
      --budget;
      if (Smooth()) break;
    }
  }
  return true;
}

std::string DescribeRoute(const RouteSearch& search) {
  std::string out = search.ReachedGoal() >= 0 ? "goal " + std::to_string(search.ReachedGoal()) + "\n" : "goal none\n";
  for (const PathPoint& p : search.Points()) out += "point " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
  return out;
}

}  // namespace tova
