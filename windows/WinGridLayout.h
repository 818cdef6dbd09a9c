// The row and column layout of item panels: children placed from a start
// point by fixed steps, wrapping at a right (rows) or bottom (columns)
// limit.
#pragma once

#include <cstdint>

class cGZWin;

namespace windows {

struct WinGridLayout {
    int32_t startX = 0, startY = 0;
    int32_t stepX = 0, stepY = 0;
    int32_t limitRight = 0, limitBottom = 0;
    int32_t cellWidth = 0, cellHeight = 0;
    bool vertical = false;  // false: fill rows left to right; true: columns top to bottom

    // Moves each visible child (keeping its size) to the next cell; null
    // and hidden children take no cell.
    void Arrange(cGZWin* const* children, int32_t count) const;
    // The cells that fit within the limits, in the order Arrange fills them.
    int32_t CountCells() const;
    // What the item panels page by: the cells that fit, but at least 1.
    int32_t PageSize() const;
};

}  // namespace windows
