#include "houseview/PalWrap.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/FileSystem.h"
#include "ui/graphics/cGZBuffer.h"

namespace tova {

namespace {

// The buffer format code of a pixel kind (0 for none).
int32_t PalWrapFormatOfKind(int32_t kind) {
  switch (kind) {
    case 1: return cGZBuffer::kFormat555;
    case 2: return cGZBuffer::kFormat565;
    case 3: return cGZBuffer::kFormat556;
    case 4: return cGZBuffer::kFormat655;
    default: return cGZBuffer::kFormatUnknown;
  }
}

uint16_t PalWrapPixel(uint32_t rgb, int32_t format) {
  return static_cast<uint16_t>(cGZBuffer::MakeColorFor(format, static_cast<uint8_t>(rgb >> 16),
                                                       static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)));
}

uint16_t PalWrapScaledPixel(uint32_t rgb, int32_t shade) {
  const auto scale = [shade](uint32_t c) { return static_cast<uint8_t>((c & 0xFF) * static_cast<uint32_t>(shade) / 255); };
  return static_cast<uint16_t>(cGZBuffer::MakeColorFor(
      PalWrapFormatOfKind(GetPaletteEnvironment().pixelKind) == 0 ? cGZBuffer::kFormat565
                                                                   : PalWrapFormatOfKind(GetPaletteEnvironment().pixelKind),
      scale(rgb >> 16), scale(rgb >> 8), scale(rgb)));
}

}  // namespace

PaletteEnvironment& GetPaletteEnvironment() {
  static PaletteEnvironment environment;
  return environment;
}

uint32_t AdjustLuma(uint32_t colour, float scale, float offset) {
  const float k = 1.0f / 255.0f;
  const float r = static_cast<float>((colour >> 16) & 0xFF) * k;
  const float g = static_cast<float>((colour >> 8) & 0xFF) * k;
  const float b = static_cast<float>(colour & 0xFF) * k;
  const float y = 0.299f * r + 0.587f * g + 0.114f * b;
  const float u = 0.434f * b - (0.146f * r + 0.288f * g);
  const float v = 0.617f * r - 0.517f * g - 0.1f * b;
  const float y2 = y * scale + offset;
  const auto channel = [](float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return static_cast<uint32_t>(c * 255.0f + 0.5f);
  };
  return channel(y2 - 0.001f * u + 1.136f * v) << 16 | channel(y2 - 0.396f * u - 0.578f * v) << 8 |
         channel(y2 + 2.041f * u - 0.002f * v);
}

uint32_t GreyTint(uint32_t colour, float factor) {
  const uint32_t sum = ((colour >> 16) & 0xFF) + ((colour >> 8) & 0xFF) + (colour & 0xFF);
  const int32_t v = std::clamp(static_cast<int32_t>(static_cast<float>(sum) * 0.33333334f * factor + 0.5f), 0, 255);
  const auto red = static_cast<uint32_t>(std::min(v + 48, 255));
  return red << 16 | static_cast<uint32_t>(v) << 8 | static_cast<uint32_t>(v);
}

PalWrap* LoadDefaultPalette(const std::string& path) {
  auto* palette = new PalWrap();
  palette->AddRef();
  if (!palette->LoadFromFile(path, true)) {
    PalWrap::Release(palette);
    return nullptr;
  }
  palette->BuildTables();
  return palette;
}

PalWrap::PalWrap() = default;
PalWrap::~PalWrap() = default;

void PalWrap::Release(PalWrap* palette) {
  if (palette != nullptr && --palette->mRefCount <= 0) delete palette;
}

void PalWrap::SetFromPALT(const uint8_t* data, int32_t size) {
  if (data == nullptr || size < 16) {
    mCount = 0;
    BuildTables();
    return;
  }
  const uint32_t stated = static_cast<uint32_t>(data[4]) | static_cast<uint32_t>(data[5]) << 8 |
                          static_cast<uint32_t>(data[6]) << 16 | static_cast<uint32_t>(data[7]) << 24;
  // Never more colours than the tables hold or the resource carries.
  mCount = static_cast<int32_t>(std::min<uint32_t>({stated, 256u, static_cast<uint32_t>(size - 16) / 3}));
  mHasWindowsPalette = false;
  for (int32_t i = 0; i < mCount; ++i) {
    const uint8_t* t = data + 16 + 3 * i;
    mColourBytes[4 * i] = t[0];
    mColourBytes[4 * i + 1] = t[1];
    mColourBytes[4 * i + 2] = t[2];
    mColourBytes[4 * i + 3] = 0;
    mColours[i] = uint32_t{t[0]} << 16 | uint32_t{t[1]} << 8 | t[2];
  }
  BuildTables();
}

bool PalWrap::ReadPaletteFile(const std::string& path, uint32_t colours[256]) {
  std::ifstream in(platform::ResolvePath(path), std::ios::binary);
  if (!in) return false;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto word32 = [&bytes](size_t at) {
    return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
           uint32_t{bytes[at + 3]} << 24;
  };
  if (bytes.size() >= 54 && bytes[0] == 'B' && bytes[1] == 'M' && word32(14) == 40 && bytes[28] == 8 &&
      bytes[29] == 0) {
    uint32_t count = word32(46);
    if (count == 0) count = 256;
    // At most 256 quads, and only those the file holds.
    count = std::min<uint32_t>({count, 256u, static_cast<uint32_t>((bytes.size() - 54) / 4)});
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* q = bytes.data() + 54 + 4 * i;
      colours[i] = uint32_t{q[2]} << 16 | uint32_t{q[1]} << 8 | q[0];
    }
    return true;
  }
  const size_t count = std::min<size_t>(256, bytes.size() / 3);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* t = bytes.data() + 3 * i;
    colours[i] = uint32_t{t[0]} << 16 | uint32_t{t[1]} << 8 | t[2];
  }
  return true;
}

bool PalWrap::LoadFromFile(const std::string& path, bool keepSystemColours) {
  uint32_t colours[256];
  std::copy(std::begin(mColours), std::end(mColours), colours);
  if (!ReadPaletteFile(path, colours)) return false;
  MakeWindowsPalette(colours, keepSystemColours);
  return true;
}

void PalWrap::MakeWindowsPalette(const uint32_t colours[256], bool keepSystemColours) {
  mHasWindowsPalette = false;
  mKeepSystemColours = keepSystemColours;
  mCount = 256;
  for (int i = 0; i < 256; ++i) {
    mColourBytes[4 * i] = static_cast<uint8_t>(colours[i] >> 16);
    mColourBytes[4 * i + 1] = static_cast<uint8_t>(colours[i] >> 8);
    mColourBytes[4 * i + 2] = static_cast<uint8_t>(colours[i]);
    const bool system = i < 10 || i > 245;
    mColourBytes[4 * i + 3] = keepSystemColours ? (system ? 0 : kFlagNoCollapse) : kFlagReserved | kFlagNoCollapse;
    // The 24-bit list too, or shaded draws with this palette come out black.
    mColours[i] = colours[i] & 0xFFFFFF;
  }
  mHasWindowsPalette = true;
}

void PalWrap::BuildTables() {
  const PaletteEnvironment& env = GetPaletteEnvironment();
  const int32_t format = PalWrapFormatOfKind(env.pixelKind);
  for (int32_t i = 0; i < mCount; ++i) {
    const uint32_t c = mColours[i];
    if (format != cGZBuffer::kFormatUnknown) mTables[kPlain][i] = PalWrapPixel(c, format);
    const int32_t f = format == cGZBuffer::kFormatUnknown ? cGZBuffer::kFormat565 : format;
    mTables[kBrightened][i] = PalWrapPixel(AdjustLuma(c, 1.0f, env.brightenOffset), f);
    mTables[kGreyLight][i] = PalWrapPixel(GreyTint(c, 1.1f), f);
    mTables[kGreyDark][i] = PalWrapPixel(GreyTint(c, 0.9f), f);
  }
  BuildShadedTable();
  mStamp = env.paletteStamp;
}

void PalWrap::BuildShadedTable() {
  const PaletteEnvironment& env = GetPaletteEnvironment();
  const auto shade = static_cast<int32_t>(mShadeFactor * 255.0f + 0.5f);
  for (int32_t i = 0; i < mCount; ++i)
    mTables[kShaded][i] = env.shadePixel ? env.shadePixel(mColours[i], shade)
                                         : PalWrapScaledPixel(mColours[i], std::clamp(shade, 0, 255));
  ++mShadeBuilds;
}

const uint16_t* PalWrap::GetShadedTable(float factor) {
  if (std::fabs(factor - 1.0f) <= 1e-6f) return mTables[kPlain];
  if (mStamp < GetPaletteEnvironment().paletteStamp) {
    mShadeFactor = factor;
    BuildTables();
  }
  if (std::fabs(factor - mShadeFactor) > 1e-6f) {
    mShadeFactor = factor;
    BuildShadedTable();
  }
  return mTables[kShaded];
}

}  // namespace tova
