#include "neighborhood/RectOffset.h"

void RectOffset(cRZRect& rect, int32_t dx, int32_t dy) {
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
}

cRZRect RectOffsetCopy(const cRZRect& rect, int32_t dx, int32_t dy) {
    cRZRect moved = rect;
    RectOffset(moved, dx, dy);
    return moved;
}
