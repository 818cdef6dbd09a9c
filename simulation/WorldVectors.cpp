#include "simulation/WorldVectors.h"

#include <bit>
#include <cmath>
#include <numbers>

namespace tova {

int32_t LowestBitIndex(uint32_t mask, int32_t kind) {
  const int32_t c = mask == 0 ? 0 : std::countr_zero(mask);
  if (kind == 1 || kind == 4) return c + 1;
  if (kind == 3) return c + 2;
  return c;
}

WorldVector FinePointToWorld3(FinePoint point, float altitude) {
  return {static_cast<float>(point.x) * kFineToWorld, PixelsToAltitude(altitude * 3),
          static_cast<float>(point.y) * kFineToWorld};
}

WorldVector SlotOffsetToWorld3(float a, float b, float altitude) {
  return {b * kFineToWorld, PixelsToAltitude(altitude * 3), a * kFineToWorld};
}

FinePoint WorldToFinePoint(const WorldVector& v) {
  // std::lround rounds halves away from zero.
  return {static_cast<int32_t>(std::lround(v.x * 16.0 / 3.0)), static_cast<int32_t>(std::lround(v.z * 16.0 / 3.0))};
}

FacingTurn FacingRotation(int32_t facing) {
  const double angle = facing * (std::numbers::pi / 4);
  return {static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle))};
}

}  // namespace tova
