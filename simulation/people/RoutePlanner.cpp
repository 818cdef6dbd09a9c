#include "simulation/people/RoutePlanner.h"

#include <algorithm>
#include <cmath>

namespace tova {

namespace {

bool Fits32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// The one-sixteenth square at a point; empty at the very edge of 32 bits.
CostRect PointSeed(int64_t x, int64_t y) {
  if (!Fits32(x) || !Fits32(y) || x == INT32_MAX || y == INT32_MAX) return {};
  const auto xi = static_cast<int32_t>(x), yi = static_cast<int32_t>(y);
  return {xi, yi, xi + 1, yi + 1, 0};
}

int64_t FloorHalf(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

double PointDistance(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  return std::hypot(static_cast<double>(x1 - x0), static_cast<double>(y1 - y0));
}

CostRect Intersection(const CostRect& a, const CostRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom),
          0};
}

uint64_t PairKey(int32_t goal, int32_t region) {
  return (uint64_t{static_cast<uint32_t>(goal)} << 32) | static_cast<uint32_t>(region);
}

}  // namespace

RoutePlanner& RoutePlanner::Global() {
  static RoutePlanner planner;
  return planner;
}

bool RoutePlanner::TooBig(const CostRect& r) const {
  if (!request_.limitOn) return false;
  return int64_t{r.right} - r.left > request_.limit || int64_t{r.bottom} - r.top > request_.limit;
}

bool RoutePlanner::Fits(const CostRect& r, const CostRect& fresh, int32_t container) const {
  if (TooBig(r)) return false;
  if (container >= 0) {
    const CostRect& c = costRects_[static_cast<size_t>(container)];
    if (r.left < c.left || r.top < c.top || r.right > c.right || r.bottom > c.bottom) return false;
  }
  // Without early exits, so the loop tests several blockers a step.
  const size_t count = blockLeft_.size();
  const int32_t* left = blockLeft_.data();
  const int32_t* top = blockTop_.data();
  const int32_t* right = blockRight_.data();
  const int32_t* bottom = blockBottom_.data();
  int32_t hit = 0;
  for (size_t i = 0; i < count; ++i)
    hit |= static_cast<int32_t>(left[i] < fresh.right) & static_cast<int32_t>(fresh.left < right[i]) &
           static_cast<int32_t>(top[i] < fresh.bottom) & static_cast<int32_t>(fresh.top < bottom[i]);
  return hit == 0;
}

int32_t RoutePlanner::GrowRegion(const CostRect& seed) {
  if (regions_.size() >= kMaxRegions || seed.IsEmpty() || TooBig(seed)) return -1;
  // Only what lies within reach of the seed can stop its growth.
  const int64_t reach = request_.limitOn ? std::max(request_.limit, 0)
                                         : int64_t{kGrowthBudget / 4 + 1} * kFreeStep;
  const CostRect box = seed.Grown(static_cast<int32_t>(reach));
  rectIndex_.Find(costRects_, box, nearRects_);
  regionIndex_.Find(regions_, box, nearRegions_);

  std::vector<int32_t> seedRects;
  int32_t container = -1;
  for (int32_t i : nearRects_) {
    const CostRect& o = costRects_[static_cast<size_t>(i)];
    if (!o.Overlaps(seed)) continue;
    if (o.IsSolid()) return -1;
    if (container < 0) container = i;
    seedRects.push_back(i);
  }
  for (int32_t i : nearRegions_)
    if (regions_[static_cast<size_t>(i)].Overlaps(seed)) return -1;
  blockLeft_.clear();
  blockTop_.clear();
  blockRight_.clear();
  blockBottom_.clear();
  auto block = [&](const CostRect& o) {
    blockLeft_.push_back(o.left);
    blockTop_.push_back(o.top);
    blockRight_.push_back(o.right);
    blockBottom_.push_back(o.bottom);
  };
  for (int32_t i : nearRects_)
    if (std::find(seedRects.begin(), seedRects.end(), i) == seedRects.end()) block(costRects_[static_cast<size_t>(i)]);
  for (int32_t i : nearRegions_) block(regions_[static_cast<size_t>(i)]);

  const int32_t first = request_.limitOn ? std::max(1, request_.limit / 4) : kFreeStep;
  int32_t step[4] = {first, first, first, first};
  CostRect r = seed;
  int32_t idle = 0;
  for (int32_t budget = kGrowthBudget, side = 0; budget > 0 && idle < 4; --budget, side = (side + 1) % 4) {
    while (step[side] != 0) {
      CostRect moved = r;
      int64_t value = 0;
      switch (side) {
        case 0: value = int64_t{r.left} - step[side]; break;
        case 1: value = int64_t{r.top} - step[side]; break;
        case 2: value = int64_t{r.right} + step[side]; break;
        default: value = int64_t{r.bottom} + step[side]; break;
      }
      if (Fits32(value)) {
        int32_t* edges[4] = {&moved.left, &moved.top, &moved.right, &moved.bottom};
        *edges[side] = static_cast<int32_t>(value);
        // The strip the move adds: the rest of `moved` is `r`, which fits.
        CostRect fresh = moved;
        int32_t* freshEdges[4] = {&fresh.right, &fresh.bottom, &fresh.left, &fresh.top};
        *freshEdges[side] = side < 2 ? (side == 0 ? r.left : r.top) : (side == 2 ? r.right : r.bottom);
        if (Fits(moved, fresh, container)) {
          r = moved;
          break;
        }
      }
      step[side] /= 2;
    }
    idle = step[side] == 0 ? idle + 1 : 0;
  }

  if (request_.centreOn) {
    // The longer side cut to the shorter times the aspect limit, centred on the seed.
    const int64_t w = int64_t{r.right} - r.left, h = int64_t{r.bottom} - r.top;
    const bool wide = w > h;
    const int64_t shorter = wide ? h : w, longer = wide ? w : h, aspect = request_.aspectLimit;
    // Tested by division first: a large aspect limit would overflow the product.
    const int64_t keep = aspect <= 0 ? 0 : shorter > longer / aspect ? longer : shorter * aspect;
    if (keep < longer) {
      int32_t& lo = wide ? r.left : r.top;
      int32_t& hi = wide ? r.right : r.bottom;
      const int64_t centre = wide ? (int64_t{seed.left} + seed.right) / 2 : (int64_t{seed.top} + seed.bottom) / 2;
      const int64_t start = std::clamp<int64_t>(centre - keep / 2, lo, hi - keep);
      lo = static_cast<int32_t>(start);
      hi = static_cast<int32_t>(start + keep);
    }
  }
  if (r.IsEmpty()) return -1;
  r.cost = container >= 0 ? costRects_[static_cast<size_t>(container)].cost : request_.defaultCost;
  regions_.push_back(r);
  regionIndex_.Add(r);
  return static_cast<int32_t>(regions_.size() - 1);
}

int32_t RoutePlanner::AddNode(int32_t goal, int32_t region, int32_t regionCost) {
  RouteNode node;
  node.goal = goal;
  node.region = region;
  node.regionCost = regionCost;
  nodes_.push_back(node);
  return static_cast<int32_t>(nodes_.size() - 1);
}

int32_t RoutePlanner::PairNode(int32_t goal, int32_t region) {
  const auto [it, added] = pairs_.try_emplace(PairKey(goal, region), 0);
  if (added) it->second = AddNode(goal, region, regions_[static_cast<size_t>(region)].cost);
  return it->second;
}

bool RoutePlanner::Setup(const RouteRequest& request) {
  request_ = request;
  costRects_ = request.AllObstacles();
  rectIndex_.Clear();
  for (const CostRect& r : costRects_) rectIndex_.Add(r);
  regionIndex_.Clear();
  regions_.clear();
  nodes_.clear();
  neighbours_.clear();
  pairs_.clear();
  goalStart_.assign(request.goals.size(), -1);
  goalRegion_.assign(request.goals.size(), -1);

  startRegion_ = GrowRegion(PointSeed(request.startX, request.startY));
  const int32_t start = AddNode(-1, startRegion_, startRegion_ >= 0 ? regions_[static_cast<size_t>(startRegion_)].cost : 0);
  nodes_[static_cast<size_t>(start)].x = request.startX;
  nodes_[static_cast<size_t>(start)].y = request.startY;
  AddNode(-1, -1, 0);
  if (startRegion_ < 0) return false;

  for (size_t g = 0; g < request.goals.size(); ++g) {
    const CostRect& goal = request.goals[g];
    const bool blocked = std::any_of(costRects_.begin(), costRects_.end(),
                                     [&](const CostRect& o) { return o.IsSolid() && o.Overlaps(goal); });
    if (blocked) continue;
    int32_t region = -1;
    for (size_t i = 0; i < regions_.size() && region < 0; ++i)
      if (regions_[i].Overlaps(goal)) region = static_cast<int32_t>(i);
    if (region < 0) region = GrowRegion(goal);
    if (region < 0) continue;
    const auto gi = static_cast<int32_t>(g);
    goalRegion_[g] = PairNode(gi, region);
    goalStart_[g] = AddNode(gi, startRegion_, goal.cost);
  }
  return true;
}

bool RoutePlanner::WalkLine(int64_t fixed, int64_t from, int64_t to, bool vertical, std::vector<int32_t>& out) {
  // No point lies beyond the 32-bit edge (its square would not fit).
  if (!Fits32(fixed) || fixed == INT32_MAX || from >= to) return true;
  const auto f = static_cast<int32_t>(fixed), lo = static_cast<int32_t>(from), hi = static_cast<int32_t>(to);
  const CostRect line = vertical ? CostRect{f, lo, f + 1, hi, 0} : CostRect{lo, f, hi, f + 1, 0};
  // What lies on the line, gathered once: regions grown on the way join it.
  std::vector<int32_t> solids, onLine;
  rectIndex_.Find(costRects_, line, solids);
  std::erase_if(solids, [&](int32_t i) { return !costRects_[static_cast<size_t>(i)].IsSolid(); });
  regionIndex_.Find(regions_, line, onLine);
  auto holding = [](const std::vector<CostRect>& rects, const std::vector<int32_t>& among, int32_t x, int32_t y) {
    for (int32_t i : among)
      if (rects[static_cast<size_t>(i)].Contains(x, y)) return i;
    return -1;
  };

  for (int64_t at = from; at < to;) {
    const auto x = static_cast<int32_t>(vertical ? fixed : at), y = static_cast<int32_t>(vertical ? at : fixed);
    int32_t found = holding(regions_, onLine, x, y);
    if (found < 0) {
      // Skip over a solid obstacle at once instead of trying each sixteenth.
      const int32_t solid = holding(costRects_, solids, x, y);
      if (solid >= 0) {
        const CostRect& s = costRects_[static_cast<size_t>(solid)];
        at = vertical ? s.bottom : s.right;
        continue;
      }
      found = GrowRegion(PointSeed(x, y));
      // A free point refuses a region only past the region limit or count: so will every other.
      if (found < 0) return false;
      onLine.push_back(found);
    }
    if (std::find(out.begin(), out.end(), found) == out.end()) out.push_back(found);
    const CostRect& r = regions_[static_cast<size_t>(found)];
    at = vertical ? r.bottom : r.right;
  }
  return true;
}

// By value: growing regions moves the region list.
void RoutePlanner::TouchingRegions(CostRect a, std::vector<int32_t>& out) {
  WalkLine(int64_t{a.top} - 1, a.left, a.right, false, out) && WalkLine(a.right, a.top, a.bottom, true, out) &&
      WalkLine(a.bottom, a.left, a.right, false, out) && WalkLine(int64_t{a.left} - 1, a.top, a.bottom, true, out);
}

std::vector<int32_t> RoutePlanner::Neighbours(int32_t n) {
  if (nodes_[static_cast<size_t>(n)].neighbourCount < 0) {
    std::vector<int32_t> found;
    if (n == kStartNode) {
      for (int32_t s : goalStart_)
        if (s >= 0) found.push_back(s);
    } else if (n != kGoalNode) {
      const RouteNode node = nodes_[static_cast<size_t>(n)];
      const auto g = static_cast<size_t>(node.goal);
      const int32_t regionNode = goalRegion_[g];
      if (n == goalStart_[g] && nodes_[static_cast<size_t>(regionNode)].region == node.region)
        found.push_back(regionNode);
      if (n == regionNode) found.push_back(kGoalNode);
      std::vector<int32_t> touching;
      TouchingRegions(regions_[static_cast<size_t>(node.region)], touching);
      for (int32_t r : touching) found.push_back(PairNode(node.goal, r));
    }
    RouteNode& node = nodes_[static_cast<size_t>(n)];
    node.firstNeighbour = static_cast<int32_t>(neighbours_.size());
    node.neighbourCount = static_cast<int32_t>(found.size());
    neighbours_.insert(neighbours_.end(), found.begin(), found.end());
  }
  const RouteNode& node = nodes_[static_cast<size_t>(n)];
  const auto begin = neighbours_.begin() + node.firstNeighbour;
  return {begin, begin + node.neighbourCount};
}

double RoutePlanner::StepCost(int32_t a, int32_t b, int32_t& x, int32_t& y) const {
  const RouteNode& na = nodes_[static_cast<size_t>(a)];
  const RouteNode& nb = nodes_[static_cast<size_t>(b)];
  if (a == kStartNode) {
    x = request_.startX;
    y = request_.startY;
    return nb.regionCost;
  }
  x = na.x;
  y = na.y;
  if (b == kGoalNode) return 0;
  if (na.region != nb.region) {
    const CostRect border = Intersection(regions_[static_cast<size_t>(na.region)].Grown(1),
                                         regions_[static_cast<size_t>(nb.region)].Grown(1));
    RectCentre(border, x, y);
  }
  // In 64 bits: the costs of the two regions may each be near the 32-bit top.
  const int64_t factor = FloorHalf(int64_t{na.regionCost} + nb.regionCost) + 1;
  return static_cast<double>(factor) * (1.0 + PointDistance(na.x, na.y, x, y));
}

double RoutePlanner::Estimate(int32_t n, int32_t x, int32_t y) const {
  if (n == kStartNode || n == kGoalNode) return 0;
  const RouteNode& node = nodes_[static_cast<size_t>(n)];
  int32_t cx = 0, cy = 0;
  RectCentre(request_.goals[static_cast<size_t>(node.goal)], cx, cy);
  return PointDistance(x, y, cx, cy);
}

}  // namespace tova
