#pragma once
// A rectangle on the screen in pixels, right and bottom exclusive.

#include <cstdint>

namespace tova {

struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Overlaps(const ScreenRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

}  // namespace tova
