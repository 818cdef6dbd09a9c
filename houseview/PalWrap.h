// A palette of up to 256 colours and the five tables of display pixels that
// sprite draws index by colour: plain, brightened, grey-light, grey-dark and
// shaded by a factor that follows the lighting. Reference counted by hand:
// whoever keeps a pointer holds a reference and gives it back with Release.
#pragma once

#include <cstdint>
#include <string>

namespace tova {

// What the tables read of the pixel pipeline and the lighting settings. The
// renderer's set-up points these at its own; the defaults make 565 pixels.
struct PaletteEnvironment {
  int32_t pixelKind = 2;         // 1 555, 2 565, 3 556, 4 655, 0 other
  float brightenOffset = 0.09f;  // the lighting's brightening offset
  int32_t paletteStamp = 0;      // raised when every palette must be rebuilt
  // A 0x00RRGGBB colour shaded by 0..255 as a display pixel; null scales
  // the channels by shade / 255.
  uint16_t (*shadePixel)(uint32_t rgb, int32_t shade) = nullptr;
};
PaletteEnvironment& GetPaletteEnvironment();

class PalWrap {
 public:
  enum Table { kPlain = 0, kBrightened = 1, kGreyLight = 2, kGreyDark = 3, kShaded = 4 };
  static constexpr uint8_t kFlagReserved = 1;
  static constexpr uint8_t kFlagNoCollapse = 4;

  PalWrap();
  virtual ~PalWrap();
  PalWrap(const PalWrap&) = delete;
  PalWrap& operator=(const PalWrap&) = delete;

  int32_t AddRef() { return ++mRefCount; }
  // Drops one reference and deletes the palette at zero (null is allowed).
  static void Release(PalWrap* palette);
  int32_t RefCount() const { return mRefCount; }

  // Replaces the colours by a 'PALT' resource of `size` bytes and builds the
  // tables. The count is bounded by 256 and by the triples present.
  void SetFromPALT(const uint8_t* data, int32_t size);
  // Reads the palette file's 256 colours and makes the palette of them
  // (flags only: there is no system palette here). False when the file
  // cannot be read; the colours then stay as they were.
  bool LoadFromFile(const std::string& path, bool keepSystemColours);
  // Reads a palette file: an 8-bit bitmap's colour quads, else 256 raw
  // (red, green, blue) triples; entries the file lacks stay as they were.
  static bool ReadPaletteFile(const std::string& path, uint32_t colours[256]);
  // Colour bytes and flags of 256 colours. Keeping the system colours marks
  // entries 10..245 no-collapse and leaves 0..9 and 246..255 flagless (their
  // system colours are not known here); otherwise every entry is reserved
  // and no-collapse.
  void MakeWindowsPalette(const uint32_t colours[256], bool keepSystemColours);

  void BuildTables();
  // Table 0 for a factor of 1, else table 4 rebuilt for the factor when it
  // changed (and every table when the lighting's stamp moved past ours).
  const uint16_t* GetShadedTable(float factor);
  const uint16_t* GetTable(int table) const { return mTables[table]; }

  int32_t GetCount() const { return mCount; }
  uint32_t GetColour(int i) const { return mColours[i]; }
  // 4 bytes per colour: red, green, blue, flags.
  uint8_t* GetColourBytes() { return mColourBytes; }
  float GetShadeFactor() const { return mShadeFactor; }
  int32_t GetStamp() const { return mStamp; }
  // How many times table 4 was built (a measure for tests).
  int32_t GetShadeBuilds() const { return mShadeBuilds; }

 private:
  void BuildShadedTable();

  bool mHasWindowsPalette = false;
  uint8_t mColourBytes[256 * 4] = {};
  int32_t mCount = 0;
  bool mKeepSystemColours = false;
  int32_t mRefCount = 0;
  float mShadeFactor = 0.3f;
  int32_t mStamp = 0;
  uint32_t mColours[256] = {};
  uint16_t mTables[5][256] = {};
  int32_t mShadeBuilds = 0;
};

// The game's default palette from the palette file, as the start-up load
// makes it: system colours kept, tables built, one reference for the caller.
// Null when the file cannot be read.
PalWrap* LoadDefaultPalette(const std::string& path);

// Colour helpers of the tables, on 0x00RRGGBB colours.
uint32_t AdjustLuma(uint32_t colour, float scale, float offset);
uint32_t GreyTint(uint32_t colour, float factor);

}  // namespace tova
