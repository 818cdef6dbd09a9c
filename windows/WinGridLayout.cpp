#include "windows/WinGridLayout.h"

#include "ui/cGZWin.h"

namespace windows {

namespace {
// Walks the cells of a layout: the current cell, then the next one.
struct GridWalk {
    const WinGridLayout& g;
    int32_t x, y, line = 0;
    explicit GridWalk(const WinGridLayout& layout) : g(layout), x(layout.startX), y(layout.startY) {}
    void Advance() {
        if (!g.vertical) {
            x += g.stepX;
            if (g.stepX == 0 || x + g.cellWidth > g.limitRight) {
                ++line;
                x = g.startX;
                y = g.startY + line * g.stepY;
            }
        } else {
            y += g.stepY;
            if (g.stepY == 0 || y + g.cellHeight > g.limitBottom) {
                ++line;
                y = g.startY;
                x = g.startX + line * g.stepX;
            }
        }
    }
    bool Fits() const { return x + g.cellWidth <= g.limitRight && y + g.cellHeight <= g.limitBottom; }
};
// More cells than any screen holds: a layout with zero steps would fill forever.
constexpr int32_t kMaxGridCells = 4096;
}  // namespace

void WinGridLayout::Arrange(cGZWin* const* children, int32_t count) const {
    if (children == nullptr) return;
    GridWalk walk(*this);
    for (int32_t i = 0; i < count; ++i) {
        cGZWin* child = children[i];
        if (child == nullptr || !child->TestFlag(kGZWinVisible)) continue;
        const cRZRect& area = child->GetArea();
        child->SetArea(walk.x, walk.y, walk.x + (area.right - area.left), walk.y + (area.bottom - area.top));
        walk.Advance();
    }
}

int32_t WinGridLayout::CountCells() const {
    GridWalk walk(*this);
    int32_t cells = 0;
    while (cells < kMaxGridCells && walk.Fits()) {
        ++cells;
        const int32_t line = walk.line;
        walk.Advance();
        // A line that wraps to the same place again never ends.
        if (walk.line != line && ((!vertical && stepY == 0) || (vertical && stepX == 0))) break;
    }
    return cells;
}

int32_t WinGridLayout::PageSize() const {
    const int32_t cells = CountCells();
    return cells < 1 ? 1 : cells;
}

}  // namespace windows
