#pragma once
// Conversions between fine lot points and the 3D world's vectors (three
// world units per tile of sixteen fine units; world x is fine x, world z is
// fine y, world y is up), the facing turn, and the bit numbering the
// primitives and the readable trees share.

#include <cstdint>

#include "gamedata/TilePosition.h"

namespace tova {

struct WorldVector {
  float x = 0, y = 0, z = 0;
};

// The index (from 0) of the lowest set bit of mask, plus 1 for kinds 1 and
// 4, plus 2 for kind 3. mask must not be 0.
int32_t LowestBitIndex(uint32_t mask, int32_t kind);

// One fine unit is 3/16 of a world unit; a pixel of height is
// 1 / (2 sqrt 6) of one, and one of altitude 2 sqrt 6 screen units.
constexpr float kFineToWorld = 0.1875f;
constexpr float PixelsToAltitude(float value) { return value * 0.20412415f; }
constexpr float AltitudeToScreenUnits(float altitude) { return altitude * 4.8989797f; }

WorldVector FinePointToWorld3(FinePoint point, float altitude);
// A routing slot's offset (a, b): b goes to world x, a to world z.
WorldVector SlotOffsetToWorld3(float a, float b, float altitude);
// Rounded to the nearest fine unit, halves away from zero; height ignored.
FinePoint WorldToFinePoint(const WorldVector& v);

// The turn about the vertical axis by facing x pi/4, which takes the
// facing-0 front (-x) to the front of that facing (2: +z, 4: +x, 6: -z).
struct FacingTurn {
  float c = 1, s = 0;
  WorldVector Apply(const WorldVector& v) const { return {v.x * c + v.z * s, v.y, v.z * c - v.x * s}; }
};
FacingTurn FacingRotation(int32_t facing);

}  // namespace tova
