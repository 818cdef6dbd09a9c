#include "simulation/people/RectIndex.h"

#include <algorithm>

namespace tova {

void RectIndex::Clear() {
  // Cells the last filling used keep their lists' room for the next one;
  // cells it did not use go, so that a planner asked about many places over
  // its life clears in the time of what its last two fillings touched.
  for (auto it = cells_.begin(); it != cells_.end();) {
    if (it->second.empty()) {
      it = cells_.erase(it);
    } else {
      it->second.clear();
      ++it;
    }
  }
  wide_.clear();
  seen_.clear();
  count_ = 0;
}

RectIndex::CellRange RectIndex::CellsOf(const CostRect& r) {
  // Right and bottom are exclusive; an empty rectangle still names a cell.
  const int64_t right = std::max<int64_t>(r.left, int64_t{r.right} - 1);
  const int64_t bottom = std::max<int64_t>(r.top, int64_t{r.bottom} - 1);
  return {int64_t{r.left} >> kCellShift, int64_t{r.top} >> kCellShift, right >> kCellShift, bottom >> kCellShift};
}

void RectIndex::Add(const CostRect& r) {
  const int32_t id = count_++;
  seen_.push_back(0);
  const CellRange c = CellsOf(r);
  if (c.Count() > kMaxCells) {
    wide_.push_back(id);
    return;
  }
  for (int64_t y = c.y0; y <= c.y1; ++y)
    for (int64_t x = c.x0; x <= c.x1; ++x) cells_[Key(x, y)].push_back(id);
}

void RectIndex::Find(const std::vector<CostRect>& rects, const CostRect& query, std::vector<int32_t>& out) {
  out.clear();
  const CellRange c = CellsOf(query);
  if (c.Count() > kMaxCells) {
    for (int32_t id = 0; id < count_; ++id)
      if (rects[static_cast<size_t>(id)].Overlaps(query)) out.push_back(id);
    return;
  }
  if (++pass_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    pass_ = 1;
  }
  auto take = [&](int32_t id) {
    if (seen_[static_cast<size_t>(id)] == pass_) return;
    seen_[static_cast<size_t>(id)] = pass_;
    if (rects[static_cast<size_t>(id)].Overlaps(query)) out.push_back(id);
  };
  for (int32_t id : wide_) take(id);
  for (int64_t y = c.y0; y <= c.y1; ++y)
    for (int64_t x = c.x0; x <= c.x1; ++x) {
      const auto it = cells_.find(Key(x, y));
      if (it == cells_.end()) continue;
      for (int32_t id : it->second) take(id);
    }
  std::sort(out.begin(), out.end());
}

}  // namespace tova
