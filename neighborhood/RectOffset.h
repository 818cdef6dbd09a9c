// Moving rectangles by an offset.
#pragma once

#include <cstdint>

#include "framework/cRZRect.h"

void RectOffset(cRZRect& rect, int32_t dx, int32_t dy);
cRZRect RectOffsetCopy(const cRZRect& rect, int32_t dx, int32_t dy);
