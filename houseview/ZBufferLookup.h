// The house view's depth tables, one set per zoom. Sprites carry no depth of
// their own beyond their 8-bit z channel: their depth comes from the screen
// row they stand on, their level and their height, converted here on the
// same scale as the people's 3D depths so that a person and a sprite at the
// same place compare equal. Depths grow towards the back of the lot; the
// cleared z-buffer value 0xFFFF lies behind everything.
#pragma once

#include <cstdint>
#include <vector>

namespace tova {

struct SpriteDrawInfo;

// Every z-table lookup goes through this one mapping: set 0 is zoom 3, set 2
// is zoom 1 (a zoom outside 1..3 counts as the nearest one in range).
int32_t ZTableSetOfZoom(int32_t zoom);

struct ZTableSet {
  int32_t zoom = 0;
  std::vector<int16_t> heightDepths;  // 2 * (404 >> (3 - zoom)) entries
  std::vector<int32_t> rowDepths;     // screen rows rowFirst .. rowFirst + size - 1
  int32_t rowFirst = 0;
  std::vector<int16_t> tileProfile;  // (16 << zoom) * 2 + 2 entries
  int32_t profileDepth = 0;
  float extentX = 0, extentY = 0;
  int32_t storeyHeight = 0;
  int32_t secondHeight = 0;
  int32_t levelDepthStep = 0;
  float factors[3] = {0.5f, 9.3005114f, 0.5f};
  bool built = false;

  bool HasRow(int32_t row) const;
  // The ground depth of a screen row (relative to the scroll); 0, the
  // nearest depth, for a row outside the table, as the view always did.
  int32_t RowDepth(int32_t row) const;
  // The height depth at a screen-unit height, interpolated; the index is
  // held inside the table so that no height reads outside it.
  int32_t HeightDepth(float units) const;
};

class ZBufferLookup {
 public:
  ZBufferLookup();
  virtual ~ZBufferLookup();

  // The people device's depth centre D (the same at every zoom) and near
  // value D - 12.5.
  static float DepthCentre();
  static float NearValue();

  // Fills the set of the zoom for a viewport of width x height pixels.
  void Build(int32_t zoom, int32_t width, int32_t height);
  void Build(int32_t zoom, int32_t width, int32_t height, float depthCentre, float nearValue);
  bool IsBuilt(int32_t zoom) const { return mSets[ZTableSetOfZoom(zoom)].built; }
  const ZTableSet& GetSet(int32_t zoom) const { return mSets[ZTableSetOfZoom(zoom)]; }
  int32_t GetViewportHeight() const { return mViewportHeight; }

  // Gives the draw its depth from its screen row, level and the height above
  // the ground (screen units), and raises its top by that height.
  void PlaceSprite(SpriteDrawInfo& draw, float height) const;

  // 58, 116, 232 screen pixels per level at zooms 1, 2, 3.
  static int32_t GetStoreyHeight(int32_t zoom);

  // The process-wide table turning a sprite pixel's z byte into a depth
  // offset, for a depth centre. 256 entries; byte 255 is "no pixel" and its
  // entry is never used.
  static void SetSpriteDepthScale(float depthCentre);
  static const int16_t* GetSpriteDepthTable();

 private:
  ZTableSet mSets[3];
  std::vector<uint8_t> mShared;  // 512 bytes, zeroed when built
  int32_t mViewportHeight = 0;
};

// The view's smooth-scroll record: two ramps driven by a millisecond clock.
class ViewMotion {
 public:
  using Clock = uint32_t (*)();
  explicit ViewMotion(Clock clock = nullptr);

  void Start(float x0, float x1, float y0, float y1, bool smooth);
  void Stop() { mActive = false; }
  int32_t CurrentX();
  int32_t CurrentY();
  int32_t TargetX() const;
  int32_t TargetY() const;
  // A speed above 0 makes every scroll take that many milliseconds.
  void SetSpeed(int32_t speed);
  bool IsActive() const { return mActive; }
  void SetDuration(float duration) { mDuration = duration; }
  float GetLength() const { return mLength; }

 private:
  struct Ramp {
    float start = 0, target = 0;
    uint32_t begin = 0, length = 1;
    float ValueAt(uint32_t now, bool& over) const;
  };
  int32_t Current(const Ramp& ramp);

  Clock mClock;
  Ramp mX, mY;
  bool mActive = false;
  bool mBySpeed = false;
  int32_t mSpeed = 0;
  float mDuration = 1.0f;
  float mLength = 0;
};

}  // namespace tova
