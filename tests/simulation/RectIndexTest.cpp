// The planner's rectangle grid answers exactly what a scan of every
// rectangle would: small, wide, empty and negative rectangles, small and
// very large queries.
#include <gtest/gtest.h>

#include <random>

#include "simulation/people/RectIndex.h"

namespace {

using tova::CostRect;

std::vector<int32_t> Scan(const std::vector<CostRect>& rects, const CostRect& q) {
  std::vector<int32_t> ids;
  for (size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Overlaps(q)) ids.push_back(static_cast<int32_t>(i));
  return ids;
}

CostRect RandomRect(std::mt19937& rng, int32_t spread, int32_t size) {
  std::uniform_int_distribution<int32_t> at(-spread, spread), extent(0, size);
  const int32_t x = at(rng), y = at(rng);
  return {x, y, x + extent(rng), y + extent(rng), 0};
}

TEST(RectIndex, FindsWhatAScanFinds) {
  std::mt19937 rng(7);
  std::vector<CostRect> rects;
  tova::RectIndex index;
  for (int i = 0; i < 300; ++i) {
    rects.push_back(RandomRect(rng, 3000, i % 10 == 0 ? 6000 : 200));
    index.Add(rects.back());
  }
  rects.push_back({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0});
  index.Add(rects.back());
  std::vector<int32_t> found;
  for (int i = 0; i < 500; ++i) {
    const CostRect q = RandomRect(rng, 3500, i % 25 == 0 ? 20000 : 300);
    index.Find(rects, q, found);
    EXPECT_EQ(found, Scan(rects, q)) << q.left << "," << q.top << "," << q.right << "," << q.bottom;
  }
  index.Clear();
  index.Find(rects, {0, 0, 10, 10, 0}, found);
  EXPECT_TRUE(found.empty());
}

TEST(RectIndex, RefillingElsewhereDoesNotKeepEveryPlaceEverUsed) {
  tova::RectIndex index;
  std::vector<CostRect> rects;
  std::vector<int32_t> found;
  for (int32_t place = 0; place < 50; ++place) {
    index.Clear();
    rects = {{place * 4096, 0, place * 4096 + 300, 300, 0}};
    index.Add(rects[0]);
    index.Find(rects, {place * 4096 + 10, 10, place * 4096 + 20, 20, 0}, found);
    EXPECT_EQ(found, std::vector<int32_t>{0});
  }
  // A 300-tile square spans 3 by 3 cells; the last two fillings are kept.
  EXPECT_LE(index.CellsHeld(), 18u);
}

}  // namespace
