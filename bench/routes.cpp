// Route planning across a 64 by 64 lot cut into rooms of 8 by 8 tiles by
// thin solid walls with a one-tile door gap per room side, from one corner to
// the opposite one, smoothing on; against a plain 8-connected A* over the
// same walkable tiles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <queue>
#include <vector>

#include "simulation/people/PlanRoute.h"
#include "simulation/people/RouteSearch.h"

namespace {

using tova::CostRect;

constexpr int kTiles = 64;
constexpr int kRoom = 8;
constexpr int kEdge = kTiles * 16;

// Walls run through the middle of every eighth tile row and column, two
// sixteenths thick, with a gap of one tile in the middle of each room side.
std::vector<CostRect> Walls() {
  std::vector<CostRect> walls = {{-16, -16, 0, kEdge + 16, CostRect::kSolid},
                                 {kEdge, -16, kEdge + 16, kEdge + 16, CostRect::kSolid},
                                 {0, -16, kEdge, 0, CostRect::kSolid},
                                 {0, kEdge, kEdge, kEdge + 16, CostRect::kSolid}};
  for (int line = kRoom; line < kTiles; line += kRoom) {
    const int at = line * 16 + 7;
    for (int room = 0; room < kTiles; room += kRoom) {
      const int gap = (room + kRoom / 2) * 16;
      const int from = room * 16, to = (room + kRoom) * 16;
      walls.push_back({from, at, gap, at + 2, CostRect::kSolid});
      walls.push_back({gap + 16, at, to, at + 2, CostRect::kSolid});
      walls.push_back({at, from, at + 2, gap, CostRect::kSolid});
      walls.push_back({at, gap + 16, at + 2, to, CostRect::kSolid});
    }
  }
  return walls;
}

tova::RouteRequest LotRequest() {
  tova::RouteRequest r;
  r.obstacles = Walls();
  r.startX = 8;
  r.startY = 8;
  r.goals = {{kEdge - 8, kEdge - 8, kEdge - 7, kEdge - 7, 0}};
  r.smooth = true;
  // What a plan sets for an indoor room of this size.
  r.limitOn = true;
  r.limit = 128;
  return r;
}

void BM_RoutePlanLargeLot(benchmark::State& state) {
  const tova::RouteRequest request = LotRequest();
  tova::RoutePlanner planner;
  size_t points = 0;
  for (auto _ : state) {
    tova::RouteSearch search(planner);
    search.Begin(request);
    if (!search.Run(tova::kRouteSearchBudget)) state.SkipWithError("no path");
    points = search.Points().size();
    benchmark::DoNotOptimize(points);
  }
  state.counters["points"] = static_cast<double>(points);
  state.counters["regions"] = static_cast<double>(planner.Regions().size());
}
BENCHMARK(BM_RoutePlanLargeLot)->Unit(benchmark::kMicrosecond);

// The tiles no wall touches.
std::vector<char> WalkableTiles() {
  std::vector<char> walkable(kTiles * kTiles, 1);
  for (const CostRect& w : Walls())
    for (int y = 0; y < kTiles; ++y)
      for (int x = 0; x < kTiles; ++x)
        if (w.Overlaps({x * 16, y * 16, x * 16 + 16, y * 16 + 16, 0})) walkable[y * kTiles + x] = 0;
  return walkable;
}

// 8-connected A* with no corner cutting; the length of the shortest path.
double GridSearch(const std::vector<char>& walkable, int start, int goal) {
  std::vector<double> g(walkable.size(), 1e30);
  std::vector<char> closed(walkable.size(), 0);
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  const int gx = goal % kTiles, gy = goal / kTiles;
  auto h = [&](int t) { return std::hypot(double(t % kTiles - gx), double(t / kTiles - gy)); };
  g[start] = 0;
  open.push({h(start), start});
  while (!open.empty()) {
    const int t = open.top().second;
    open.pop();
    if (t == goal) return g[t];
    if (closed[t]) continue;
    closed[t] = 1;
    const int x = t % kTiles, y = t / kTiles;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = x + dx, ny = y + dy;
        if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= kTiles || ny >= kTiles) continue;
        if (!walkable[ny * kTiles + nx] || !walkable[y * kTiles + nx] || !walkable[ny * kTiles + x]) continue;
        const int n = ny * kTiles + nx;
        const double cost = g[t] + (dx != 0 && dy != 0 ? std::sqrt(2.0) : 1.0);
        if (cost < g[n]) {
          g[n] = cost;
          open.push({cost + h(n), n});
        }
      }
  }
  return -1;
}

void BM_GridSearchLargeLot(benchmark::State& state) {
  const std::vector<char> walkable = WalkableTiles();
  double length = 0;
  for (auto _ : state) {
    length = GridSearch(walkable, 0, kTiles * kTiles - 1);
    if (length < 0) state.SkipWithError("no path");
    benchmark::DoNotOptimize(length);
  }
  state.counters["tiles"] = length;
}
BENCHMARK(BM_GridSearchLargeLot)->Unit(benchmark::kMicrosecond);

}  // namespace
