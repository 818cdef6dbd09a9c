// cRZRect: the framework's integer rectangle; right and bottom lie outside it.
#pragma once

#include <cstdint>

struct cRZRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  void Assign(const cRZRect& other) { *this = other; }
  // The overlap of a and b and true; all zero and false when they do not
  // overlap (touching is not overlapping).
  bool Intersect(const cRZRect& a, const cRZRect& b);
  // The bounding rectangle of a and b; false when it has no area along an axis.
  bool Union(const cRZRect& a, const cRZRect& b);
};
