#pragma once
// A coarse grid over rectangles, so that the route planner asks only about
// the obstacles and regions near a place instead of all of them.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "simulation/people/RouteRequest.h"

namespace tova {

class RectIndex {
 public:
  void Clear();
  // Rectangle `id` (ids are 0, 1, 2, ... in order of adding).
  void Add(const CostRect& r);
  // The ids of the rectangles that overlap `query`, in order of adding.
  void Find(const std::vector<CostRect>& rects, const CostRect& query, std::vector<int32_t>& out);
  // Grid cells held, used or kept for reuse.
  size_t CellsHeld() const { return cells_.size(); }

 private:
  static constexpr int kCellShift = 7;       // cells of 8 by 8 tiles
  static constexpr int64_t kMaxCells = 256;  // beyond: listed as wide, or asked of every rectangle
  struct CellRange {
    int64_t x0, y0, x1, y1;
    int64_t Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
  };
  static CellRange CellsOf(const CostRect& r);
  static uint64_t Key(int64_t cx, int64_t cy) {
    return (static_cast<uint64_t>(cx) << 32) ^ static_cast<uint32_t>(cy);
  }

  std::unordered_map<uint64_t, std::vector<int32_t>> cells_;
  std::vector<int32_t> wide_;
  std::vector<uint32_t> seen_;
  uint32_t pass_ = 0;
  int32_t count_ = 0;
};

}  // namespace tova
