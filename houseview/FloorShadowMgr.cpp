#include "houseview/FloorShadowMgr.h"

#include <algorithm>
#include <cmath>

#include "houseview/SpriteCache.h"

namespace tova {

namespace {

constexpr float kShadowPi = 3.14159265f;

float ShadowProfileNone(float) { return 0.0f; }
float ShadowProfileMiddle(float x) { return std::pow(std::max(std::sin(kShadowPi * x), 0.0f), 0.6f); }
float ShadowProfileRising(float x) { return std::pow(std::max(std::sin(kShadowPi * x / 2), 0.0f), 0.6f); }
float ShadowProfileFalling(float x) { return std::pow(std::max(std::sin(kShadowPi * (1 - x) / 2), 0.0f), 0.6f); }
float ShadowProfileFull(float) { return 1.0f; }

// Which mask bits make each edge's code: its own, then its two corners.
constexpr int kShadowEdgeBits[4][3] = {{0, 7, 4}, {1, 5, 4}, {2, 6, 5}, {3, 6, 7}};

}  // namespace

uint8_t ShadowMaskTable::sRows[4][256];

int ShadowMaskTable::EdgeCode(uint8_t mask, int edge) {
  const int* bits = kShadowEdgeBits[edge & 3];
  return ((mask >> bits[0]) & 1) | ((mask >> bits[1]) & 1) << 1 | ((mask >> bits[2]) & 1) << 2;
}

uint8_t ShadowMaskTable::RotateSides(uint8_t mask, int rotation) {
  rotation &= 3;
  int out = 0;
  for (int k = 0; k < 4; ++k) {
    if (mask & (1 << k)) out |= 1 << ((k + rotation) & 3);
    if (mask & (1 << (4 + k))) out |= 1 << (4 + ((k + rotation) & 3));
  }
  return static_cast<uint8_t>(out);
}

void ShadowMaskTable::Init() {
  for (int mask = 0; mask < 256; ++mask) {
    bool valid = true;
    for (int k = 0; k < 4; ++k) {
      const int code = EdgeCode(static_cast<uint8_t>(mask), k);
      valid &= code != 2 && code != 4 && code != 6;
    }
    sRows[0][mask] = valid ? 1 : 0;
    for (int r = 1; r <= 3; ++r) sRows[r][mask] = RotateSides(static_cast<uint8_t>(mask), r);
  }
  for (int r = 1; r <= 3; ++r) sRows[r][16] = 16;
}

uint8_t ShadowMaskTable::Get(int row, uint8_t mask) { return sRows[row & 3][mask]; }
void ShadowMaskTable::SetValid(uint8_t mask, bool valid) { sRows[0][mask] = valid ? 1 : 0; }

FloorShadowMgr::Profile FloorShadowMgr::GetProfile(int code) {
  switch (code) {
    case 0: return ShadowProfileNone;
    case 1: return ShadowProfileMiddle;
    case 3: return ShadowProfileRising;
    case 5: return ShadowProfileFalling;
    case 7: return ShadowProfileFull;
    default: return nullptr;
  }
}

FloorShadowMgr::FloorShadowMgr(SpriteCache* floors, int32_t zoom) : mZoom(zoom), mFloors(floors) {
  for (int code = 0; code < 8; ++code) mProfiles[code] = GetProfile(code);
  CheckCorners();
}

FloorShadowMgr::~FloorShadowMgr() = default;

bool FloorShadowMgr::EdgesMeet(const Profile e[4]) {
  for (int k = 0; k < 4; ++k)
    if (e[k] == nullptr) return false;
  const auto near = [](float a, float b) { return std::fabs(a - b) <= 1e-6f; };
  return near(e[0](0), e[1](0)) && near(e[1](1), e[2](0)) && near(e[2](1), e[3](1)) && near(e[3](0), e[0](1));
}

void FloorShadowMgr::CheckCorners() {
  for (int mask = 0; mask < 256; ++mask) {
    if (!ShadowMaskTable::Get(0, static_cast<uint8_t>(mask))) continue;
    Profile e[4];
    for (int k = 0; k < 4; ++k) e[k] = mProfiles[ShadowMaskTable::EdgeCode(static_cast<uint8_t>(mask), k)];
    if (!EdgesMeet(e)) ShadowMaskTable::SetValid(static_cast<uint8_t>(mask), false);
  }
}

float FloorShadowMgr::PatchValue(float u, float v, const Profile e[4]) {
  const float s = 1.0f - 0.5f * (e[1](v) * (1 - u) + e[0](u) * (1 - v) + e[3](v) * u + e[2](u) * v);
  return std::clamp(s, 0.0f, 1.0f);
}

bool FloorShadowMgr::EnsureBase() {
  if (mBase.width > 0) return true;
  if (mBaseTried || mFloors == nullptr) return false;
  mBaseTried = true;
  return DecodeFloorBase(*mFloors, mZoom, mBase);
}

void FloorShadowMgr::SetBase(MaskImage base) {
  mBase = std::move(base);
  mBaseTried = true;
}

void FloorShadowMgr::Insert(uint8_t mask, MaskImage image) {
  EnsureBase();
  mCache[mask] = std::move(image);
}

MaskImage FloorShadowMgr::MakeImage(uint8_t mask) {
  MaskImage image;
  if (!EnsureBase()) return image;
  Profile e[4];
  for (int k = 0; k < 4; ++k) {
    e[k] = mProfiles[ShadowMaskTable::EdgeCode(mask, k)];
    if (e[k] == nullptr) return image;
  }
  const int32_t w = mBase.width, h = mBase.height;
  const int32_t evenWidth = w + (w & 1);
  const float scale = 2.0f / static_cast<float>(evenWidth);
  image.width = w;
  image.height = h;
  image.pixels.assign(mBase.pixels.size(), 255);
  for (int32_t i = 0; i < h; ++i)
    for (int32_t j = 0; j < w; ++j) {
      const size_t at = static_cast<size_t>(i) * w + j;
      if (mBase.pixels[at] == 255) continue;
      const float f = static_cast<float>(j - evenWidth / 2) / 2.0f;
      const float g = static_cast<float>(i) - static_cast<float>(h) / 2.0f;
      const float u = std::clamp((g + f) * scale + 0.5f, 0.0f, 1.0f);
      const float v = std::clamp((g - f) * scale + 0.5f, 0.0f, 1.0f);
      image.pixels[at] = static_cast<uint8_t>(PatchValue(u, v, e) * 255.0f + 0.5f);
    }
  return image;
}

const MaskImage* FloorShadowMgr::Get(uint8_t mask, int rotation) {
  if (rotation >= 1 && rotation <= 3) mask = ShadowMaskTable::Get(rotation, mask);
  if (auto it = mCache.find(mask); it != mCache.end()) return &it->second;
  if (!ShadowMaskTable::Get(0, mask)) return nullptr;
  MaskImage image = MakeImage(mask);
  if (image.width == 0) return nullptr;
  return &(mCache[mask] = std::move(image));
}

bool DecodeFloorBase(SpriteCache& floors, int32_t zoom, MaskImage& out) {
  SpriteCacheEntry* entry = floors.Find((zoom - 1) * 256);
  int32_t size = 0;
  uint8_t* frame = entry != nullptr ? entry->GetFrameForEdit(0, 0, &size) : nullptr;
  int32_t width = 0, height = 0;
  if (frame == nullptr || !GetSpriteMaskSize(frame, size, width, height)) return false;
  // The diamond's own transparent index becomes 255 in the cached frame
  // itself: every later reader of this frame sees 255 as "outside", which
  // the shadow images rely on.
  frame[10] = 255;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 255);
  DecodeSpriteMask(frame, size, out.pixels.data(), width, height);
  return true;
}

void SpriteCache::BuildFloorShadows(std::unique_ptr<FloorShadowMgr> managers[3]) {
  ShadowMaskTable::Init();
  for (int32_t n = 1; n <= 3; ++n) {
    auto manager = std::make_unique<FloorShadowMgr>(this, n);
    MaskImage base;
    if (DecodeFloorBase(*this, n, base)) manager->SetBase(std::move(base));
    const int32_t shades[2][2] = {{768 + 32 * (n - 1), 0}, {784 + 32 * (n - 1), 16}};
    for (const auto& [id, mask] : shades) {
      SpriteCacheEntry* entry = Find(id);
      int32_t size = 0;
      const uint8_t* frame = entry != nullptr ? entry->GetFrame(0, 0, &size) : nullptr;
      if (frame == nullptr) continue;
      MaskImage image = DecodeTrimmedSpriteMask(frame, size);
      if (image.width > 0) manager->Insert(static_cast<uint8_t>(mask), std::move(image));
    }
    managers[3 - n] = std::move(manager);
  }
}

}  // namespace tova
