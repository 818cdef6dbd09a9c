// Where a sprite draw stands: its place on the lot, the screen point computed
// from it and the depth base the z tables give it, with the flags that choose
// the palette variant and the shade. Callers own the record and often copy
// and restore it around one draw.
#pragma once

#include <cstdint>

namespace tova {

class ZBufferLookup;

// The house view's world-to-screen converter; the viewer implements it.
class iViewProjection {
 public:
  virtual ~iViewProjection() = default;
  virtual int32_t GetRotation() const = 0;  // 0..3
  virtual int32_t GetWorldSize() const = 0;  // tiles on a side
  // The screen point (relative to the scroll) of a lot point given in
  // sixteenths of a tile, already turned to the view's rotation, on the
  // ground of its level.
  virtual void WorldToScreen(float x, float y, int32_t level, int32_t zoom, int32_t& sx, int32_t& sy) const = 0;
  // The terrain height at a lot point (sixteenths of a tile); 0 without terrain.
  virtual float TerrainHeight(float, float) const { return 0; }
};

struct SpriteDrawInfo {
  enum Flag : uint8_t {
    kNoShade = 1,
    kBrighten = 2,
    kShadeFloor = 4,
    kGreyLight = 8,
    kGreyDark = 16,
    kFlat = 32,
  };
  // Bits of the draw's flags argument.
  static constexpr uint32_t kDrawMirror = 1;
  static constexpr uint32_t kDrawNoShade = 4;

  float x = 0, y = 0;  // on the lot, sixteenths of a tile
  float height = 0;
  int32_t level = 1;
  int32_t screenX = 0, screenY = 0;
  const iViewProjection* view = nullptr;
  int32_t viewValue = 0;  // twice the view's rotation
  int32_t zoom = 3;
  // The depth base: the draw's own screen row, the ground row its depth was
  // read at, and what the level and height add.
  int32_t baseRow = 0;
  int32_t groundRow = 0;
  int32_t depthOffset = 0;
  uint8_t flags = 0;
  const ZBufferLookup* zTables = nullptr;
  float shade = 1.0f;
  int32_t referenceX = 0, referenceY = 0;  // flat mode's reference point

  // Tile position (sixteenths), level, and the ground height: -1 reads the
  // terrain, anything else is used as it is.
  void Place(float tileX, float tileY, int32_t placeLevel, float groundHeight);
  void SetShade(float value);  // held within 0.5 .. 1.0
  void ResetShade() { shade = 1.0f; }
  bool Has(Flag flag) const { return (flags & flag) != 0; }
  int32_t Level() const { return level == 0 ? 1 : level; }
};

// The depth of a screen row of the draw: the ground depth of the row as far
// from the draw's ground row as `row` is from its base row, plus the offset.
int32_t ZLookupBase(const SpriteDrawInfo& info, int32_t row);

void ComputeScreenPosition(SpriteDrawInfo& info);
// As ComputeScreenPosition, lowered by the height above the terrain.
void PlaceOnTerrain(SpriteDrawInfo& info);
// A 3D point of the people renderer (y up) on a level; false when it lies
// outside the lot (the record keeps only the level then).
bool PlaceFrom3D(SpriteDrawInfo& info, float px, float py, float pz, int32_t placeLevel);

}  // namespace tova
