#include "framework/cRZRect.h"

#include <algorithm>

bool cRZRect::Intersect(const cRZRect& a, const cRZRect& b) {
  if (b.left < a.right && a.left < b.right && b.top < a.bottom && a.top < b.bottom) {
    *this = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
             std::min(a.bottom, b.bottom)};
    return true;
  }
  *this = {};
  return false;
}

bool cRZRect::Union(const cRZRect& a, const cRZRect& b) {
  *this = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
           std::max(a.bottom, b.bottom)};
  return left != right && top != bottom;
}
