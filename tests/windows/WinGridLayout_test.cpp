#include <gtest/gtest.h>

#include <vector>

#include "ui/cGZWin.h"
#include "windows/WinGridLayout.h"

namespace {

using windows::WinGridLayout;

class GridChild : public cGZWin {};

struct GridChildren {
    std::vector<GridChild> wins;
    std::vector<cGZWin*> pointers;
    explicit GridChildren(size_t n) : wins(n) {
        for (GridChild& w : wins) {
            w.SetArea(0, 0, 30, 20);
            w.Show();
            pointers.push_back(&w);
        }
    }
    std::pair<int32_t, int32_t> At(size_t i) const { return {wins[i].GetArea().left, wins[i].GetArea().top}; }
};

TEST(WinGridLayout, RowModeSkipsHiddenAndNullChildrenAndWrapsAtTheRightLimit) {
    // Two cells a row: 10 and 50 fit (50 + 40 <= 100), 90 does not.
    const WinGridLayout grid{10, 5, 40, 30, 100, 200, 40, 30, false};
    GridChildren c(5);
    c.wins[1].Hide();
    c.pointers[3] = nullptr;
    grid.Arrange(c.pointers.data(), 5);
    EXPECT_EQ(c.At(0), std::make_pair(10, 5));
    EXPECT_EQ(c.At(1), std::make_pair(0, 0)) << "hidden: not moved, no gap";
    EXPECT_EQ(c.At(2), std::make_pair(50, 5));
    EXPECT_EQ(c.At(4), std::make_pair(10, 35));
    EXPECT_EQ(c.wins[4].Width(), 30) << "size kept";
    EXPECT_EQ(c.wins[4].Height(), 20);
}

TEST(WinGridLayout, ColumnModeFillsDownwardsAndWrapsAtTheBottomLimit) {
    const WinGridLayout grid{0, 0, 50, 25, 500, 60, 40, 25, true};
    GridChildren c(4);
    c.wins[0].Hide();
    grid.Arrange(c.pointers.data(), 4);
    EXPECT_EQ(c.At(1), std::make_pair(0, 0));
    EXPECT_EQ(c.At(2), std::make_pair(0, 25));
    EXPECT_EQ(c.At(3), std::make_pair(50, 0));
}

TEST(WinGridLayout, NoChildrenMovesNothing) {
    const WinGridLayout grid{0, 0, 50, 25, 500, 60, 40, 25, false};
    grid.Arrange(nullptr, 3);
    GridChildren c(1);
    grid.Arrange(c.pointers.data(), 0);
    EXPECT_EQ(c.At(0), std::make_pair(0, 0));
}

TEST(WinGridLayout, CountCellsAtTheLimits) {
    const struct {
        WinGridLayout grid;
        int32_t cells, page;
    } cases[] = {
        {{10, 5, 40, 30, 100, 65, 40, 30, false}, 4, 4},   // 2 by 2, the last cell exactly at the limits
        {{10, 5, 40, 30, 89, 64, 40, 30, false}, 1, 1},    // one pixel short on both
        {{0, 0, 40, 30, 30, 30, 40, 30, false}, 0, 1},     // not even one cell
        {{0, 0, 0, 30, 100, 95, 40, 30, false}, 3, 3},     // no x step: one cell a row
        {{0, 0, 40, 0, 100, 100, 40, 30, false}, 2, 2},    // no y step: one row only
        {{0, 0, 50, 25, 100, 50, 40, 25, true}, 4, 4},     // columns
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.grid.CountCells(), c.cells);
        EXPECT_EQ(c.grid.PageSize(), c.page);
    }
}

}  // namespace
