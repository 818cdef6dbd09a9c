// Soft object shadows on floor tiles. An object's neighbour mask says on
// which edges (bits 0-3) and corners (bits 4-7) of its tile the shadow goes
// on into the next tile; each manager (one per zoom) makes one byte image
// per mask on first request and keeps it: 255 outside the tile's diamond and
// where unshaded, down to 0 where fully shaded. Masks 0 and 16 are not made
// but come from sprite frames.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "houseview/SpriteMask.h"

namespace tova {

class SpriteCache;

// Row 0: whether a mask can be drawn; rows 1-3: the mask as seen under view
// rotation 1, 2 and 3 (mask 16 looks the same in every rotation).
class ShadowMaskTable {
 public:
  static void Init();
  // The 3-bit code of edge k: its own bit, then the bits of its two corners.
  static int EdgeCode(uint8_t mask, int edge);
  static uint8_t Get(int row, uint8_t mask);
  static void SetValid(uint8_t mask, bool valid);
  // The side-mask rotation: edge k becomes edge k + r and the corner
  // between edges c and c + 1 the one between c + r and c + r + 1.
  static uint8_t RotateSides(uint8_t mask, int rotation);

 private:
  static uint8_t sRows[4][256];
};

class FloorShadowMgr {
 public:
  // A profile of an edge code: the shadow's strength along the edge.
  using Profile = float (*)(float x);

  FloorShadowMgr(SpriteCache* floors, int32_t zoom);
  virtual ~FloorShadowMgr();

  // The image of a mask under a rotation (0..3), made on first request;
  // null when the mask has neither a stored image nor a valid pattern.
  const MaskImage* Get(uint8_t mask, int rotation);
  void Insert(uint8_t mask, MaskImage image);
  // The tile's diamond: 255 outside it.
  void SetBase(MaskImage base);
  MaskImage MakeImage(uint8_t mask);

  static float PatchValue(float u, float v, const Profile profiles[4]);
  static bool EdgesMeet(const Profile profiles[4]);
  void CheckCorners();
  static Profile GetProfile(int code);

  int32_t GetZoom() const { return mZoom; }
  int32_t GetBaseWidth() const { return mBase.width; }
  int32_t GetBaseHeight() const { return mBase.height; }
  // The masks with a stored or made image so far.
  int32_t CountCached() const { return static_cast<int32_t>(mCache.size()); }

 private:
  bool EnsureBase();

  std::map<uint8_t, MaskImage> mCache;
  int32_t mZoom;
  SpriteCache* mFloors;
  Profile mProfiles[8] = {};
  MaskImage mBase;
  bool mBaseTried = false;
};

// The base diamond of a zoom from frame 0 of the floor sprite (zoom - 1) *
// 256; false when the sprite or its frame is missing.
bool DecodeFloorBase(SpriteCache& floors, int32_t zoom, MaskImage& out);

}  // namespace tova
