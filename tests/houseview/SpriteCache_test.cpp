#include "houseview/SpriteCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "gamedata/GlobalContext.h"
#include "houseview/Decompressor.h"
#include "houseview/PalWrap.h"
#include "resfile/MemResFile.h"
#include "resfile/SpriteWriter.h"
#include "resfile/TypeCode.h"

namespace {

using tova::SpriteCache;
using tova::SpriteCacheEntry;
using tova::SpritePicture;

// A picture of w x h whose pixel (x, y) is index 1 + (x + y) % 7, with a
// transparent border column at the left; depth rises by row.
SpritePicture CachePicture(int32_t w, int32_t h, int16_t x = 0, int16_t y = 0) {
  SpritePicture p;
  p.width = w;
  p.height = h;
  p.transparent = 0;
  p.x = x;
  p.y = y;
  for (int32_t py = 0; py < h; ++py)
    for (int32_t px = 0; px < w; ++px) {
      p.indices.push_back(px == 0 ? 0 : static_cast<uint8_t>(1 + (px + py) % 7));
      p.depth.push_back(static_cast<uint8_t>(10 + py));
    }
  return p;
}

std::vector<uint8_t> CacheSprite(int32_t version, int32_t palette, const std::vector<SpritePicture>& frames,
                                 bool swapped = false) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(tova::WriteSpriteResource(version, palette, frames, swapped, bytes, error)) << error;
  return bytes;
}

std::vector<uint8_t> CacheSprite2(int32_t palette, const std::vector<SpritePicture>& frames) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(tova::WriteSprite2Resource(1000, palette, frames, bytes, error)) << error;
  return bytes;
}

void CacheStore(MemResFile& file, const char (&type)[5], int16_t id, const std::vector<uint8_t>& bytes, bool native = true) {
  file.AddStored(TypeCode(type), id, bytes.data(), static_cast<int32_t>(bytes.size()), "",
                 native ? kResFlagNative : 0);
}

void CacheSetWord(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

class SpriteCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = tova::gGlobalContext;
    tova::gGlobalContext = &context_;
    defaultPalette_ = new tova::PalWrap();
    defaultPalette_->AddRef();
    context_.palette = defaultPalette_;
    CacheStore(file_, "PALT", 1, tova::WritePaletteResource({0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFFFFFF}));
  }
  void TearDown() override {
    context_.palette = nullptr;
    tova::PalWrap::Release(defaultPalette_);
    tova::gGlobalContext = previous_;
  }

  tova::GlobalContext context_;
  tova::GlobalContext* previous_ = nullptr;
  tova::PalWrap* defaultPalette_ = nullptr;
  MemResFile file_;
};

TEST_F(SpriteCacheTest, AnIdOfBothKindsReadsAsTheRunLengthSprite) {
  CacheStore(file_, "SPR#", 5, CacheSprite(502, 1, {CachePicture(4, 3)}));
  CacheStore(file_, "SPR2", 5, CacheSprite2(1, {CachePicture(4, 3)}));
  SpriteCache cache(&file_);
  SpriteCacheEntry* entry = cache.Find(5);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(entry->IsSprite2());
  EXPECT_EQ(entry->GetVersion(), 502);
  EXPECT_EQ(cache.Find(5), entry);
  EXPECT_EQ(cache.Find(6), nullptr);
}

TEST_F(SpriteCacheTest, FrameCountsFollowTheVersion) {
  std::vector<uint8_t> old = CacheSprite(500, 0, {CachePicture(3, 3), CachePicture(3, 3)});
  CacheSetWord(old, 0, 400);
  CacheStore(file_, "SPR#", 1, old);
  std::vector<SpritePicture> two = {CachePicture(5, 4), CachePicture(6, 2)};
  CacheStore(file_, "SPR#", 2, CacheSprite(506, 1, two));
  CacheStore(file_, "SPR#", 3, CacheSprite(503, 1, two));
  CacheStore(file_, "SPR2", 4, CacheSprite2(1, two));
  SpriteCache cache(&file_);
  EXPECT_EQ(cache.GetFrameCount(1), 0);
  EXPECT_EQ(cache.GetFrameCount(2), 2);  // ten frames in five channels
  EXPECT_EQ(cache.GetFrameCount(3), 2);
  EXPECT_EQ(cache.GetFrameCount(4), 2);
  EXPECT_EQ(cache.GetFrameCount(99), 0);
  const SpriteCacheEntry* entry = cache.Find(2);
  for (int c = 0; c < 5; ++c) EXPECT_NE(entry->GetFrame(c, 1), nullptr) << c;
  EXPECT_EQ(entry->GetFrame(0, 2), nullptr);
}

TEST_F(SpriteCacheTest, FrameBoundsOfBothKinds) {
  CacheStore(file_, "SPR#", 1, CacheSprite(502, 1, {CachePicture(7, 5, 3, 4)}));
  CacheStore(file_, "SPR2", 2, CacheSprite2(1, {CachePicture(7, 5, 3, 4)}));
  SpriteCache cache(&file_);
  const ShortRect a = cache.GetFrameBounds(1, 0);
  EXPECT_EQ(a.top, -4);
  EXPECT_EQ(a.left, -3);
  EXPECT_EQ(a.bottom, 1);
  EXPECT_EQ(a.right, 4);
  const ShortRect b = cache.GetFrameBounds(2, 0);
  EXPECT_EQ(b.top, 0);
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.bottom, 5);
  EXPECT_EQ(b.right, 7);
  const ShortRect none = cache.GetFrameBounds(3, 0);
  EXPECT_EQ(none.bottom, 0);
}

TEST_F(SpriteCacheTest, AMissingPaletteDrawsNothingOrTheDefault) {
  CacheStore(file_, "SPR#", 1, CacheSprite(502, 9, {CachePicture(3, 3)}));
  CacheStore(file_, "SPR2", 2, CacheSprite2(9, {CachePicture(3, 3)}));
  CacheStore(file_, "SPR2", 3, CacheSprite2(-1, {CachePicture(3, 3)}));
  CacheStore(file_, "SPR#", 4, CacheSprite(500, 0, {CachePicture(3, 3)}));
  CacheStore(file_, "SPR#", 5, CacheSprite(502, 1, {CachePicture(3, 3)}));
  SpriteCache cache(&file_);
  const SpriteCacheEntry* missing = cache.Find(1);
  EXPECT_EQ(missing->GetPalette(), nullptr);
  EXPECT_EQ(missing->GetFrame(0, 0), nullptr);
  const SpriteCacheEntry* second = cache.Find(2);
  EXPECT_EQ(second->GetPalette(), nullptr);  // the draw takes the default
  EXPECT_NE(second->GetFrame(0, 0), nullptr);
  EXPECT_EQ(cache.Find(3)->GetPalette(), defaultPalette_);
  EXPECT_EQ(cache.Find(4)->GetPalette(), defaultPalette_);
  EXPECT_EQ(cache.Find(5)->GetPalette()->GetColour(1), 0xFF0000u);
  EXPECT_EQ(cache.GetPalettes().Size(), 1);
  EXPECT_EQ(defaultPalette_->RefCount(), 3);
  cache.Flush();
  EXPECT_EQ(defaultPalette_->RefCount(), 1);
  EXPECT_EQ(cache.GetPalettes().Size(), 0);
}

TEST_F(SpriteCacheTest, ASwappedSpriteEqualsTheNativeOneAfterTheSwap) {
  for (int32_t version : {500, 503, 506}) {
    MemResFile file;
    CacheStore(file, "PALT", 1, tova::WritePaletteResource({0, 0xFFFFFF}));
    const std::vector<SpritePicture> frames = {CachePicture(9, 4, 2, 3), CachePicture(3, 8, -1, 6)};
    CacheStore(file, "SPR#", 1, CacheSprite(version, 1, frames));
    CacheStore(file, "SPR#", 2, CacheSprite(version, 1, frames, true), false);
    SpriteCache cache(&file);
    const SpriteCacheEntry* native = cache.Find(1);
    const SpriteCacheEntry* swapped = cache.Find(2);
    ASSERT_NE(swapped, nullptr);
    EXPECT_EQ(swapped->GetVersion(), version);
    ASSERT_EQ(swapped->GetFramesPerChannel(), native->GetFramesPerChannel());
    EXPECT_TRUE(swapped->GetDropped().empty());
    for (int c = 0; c < 5; ++c)
      for (int32_t f = 0; f < native->GetFramesPerChannel(); ++f) {
        int32_t a = 0, b = 0;
        const uint8_t* x = native->GetFrame(c, f, &a);
        const uint8_t* y = swapped->GetFrame(c, f, &b);
        ASSERT_EQ(a, b) << version << " channel " << c << " frame " << f;
        if (x != nullptr) EXPECT_EQ(std::memcmp(x, y, static_cast<size_t>(a)), 0);
      }
  }
}

TEST_F(SpriteCacheTest, TheWritersSpritesReadBackFrameForFrame) {
  const SpritePicture picture = CachePicture(300, 3, 1, 2);  // rows over 255 bytes
  CacheStore(file_, "SPR#", 1, CacheSprite(503, 1, {picture}));
  CacheStore(file_, "SPR2", 2, CacheSprite2(1, {picture}));
  SpriteCache cache(&file_);
  const SpriteCacheEntry* entry = cache.Find(1);
  for (int c = 0; c < 2; ++c) {
    int32_t size = 0;
    const uint8_t* frame = entry->GetFrame(c, 0, &size);
    ASSERT_NE(frame, nullptr);
    tova::RLEDecompressor rows(frame + 10, size - 10, nullptr, picture.width);
    for (int32_t y = 0; y < picture.height; ++y) {
      std::vector<uint8_t> row(static_cast<size_t>(picture.width), 0xEE);
      const uint8_t* start = nullptr;
      EXPECT_TRUE(rows.DecodeRow8(row.data(), start));
      for (int32_t x = 0; x < picture.width; ++x) {
        const size_t i = static_cast<size_t>(y) * picture.width + x;
        const uint8_t expected = x == 0 ? 0xEE : c == 0 ? picture.indices[i] : picture.depth[i];
        ASSERT_EQ(row[static_cast<size_t>(x)], expected) << "channel " << c << " at " << x << "," << y;
      }
    }
  }
  // The command stream: every pixel back with its depth.
  int32_t size = 0;
  const uint8_t* frame = cache.Find(2)->GetFrame(0, 0, &size);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame[10], 0);  // the transparent index
  int32_t at = 16, y = -1, x = 0, pixels = 0;
  while (at + 2 <= size) {
    const uint16_t word = static_cast<uint16_t>(frame[at] | frame[at + 1] << 8);
    at += 2;
    const int32_t n = word & 0x1FFF;
    if ((word & 0xE000) == 0xA000) break;
    if ((word & 0xE000) == 0x0000) {
      ++y;
      x = 0;
    } else if ((word & 0xE000) == 0x6000) {
      x += n;
    } else {
      ASSERT_EQ(word & 0xE000, 0x2000);
      for (int32_t i = 0; i < n; ++i, ++x, ++pixels) {
        const size_t p = static_cast<size_t>(y) * picture.width + x;
        ASSERT_EQ(frame[at + 2 * i], picture.depth[p]);
        ASSERT_EQ(frame[at + 2 * i + 1], picture.indices[p]);
      }
      at += 2 * n;
    }
  }
  EXPECT_EQ(pixels, (picture.width - 1) * picture.height);
}

TEST_F(SpriteCacheTest, CorruptFrameTablesDropFramesNeverReadPastTheResource) {
  const std::vector<SpritePicture> three = {CachePicture(4, 4), CachePicture(4, 4), CachePicture(4, 4)};
  const std::vector<uint8_t> good = CacheSprite(502, 1, three);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
    std::vector<int32_t> dropped;
  };
  const Case cases[] = {
      {"offset past the end", [](std::vector<uint8_t>& b) { CacheSetWord(b, 16, 100000); }, {1}},
      {"offset inside the header", [](std::vector<uint8_t>& b) { CacheSetWord(b, 12, 4); }, {0}},
      {"overlapping", [](std::vector<uint8_t>& b) { CacheSetWord(b, 20, ReadU32LE(&b[12]) + 4); }, {2}},
      {"a three-byte frame", [](std::vector<uint8_t>& b) { CacheSetWord(b, 16, ReadU32LE(&b[20]) - 3); }, {1}},
      {"a count of 2^31", [](std::vector<uint8_t>& b) { CacheSetWord(b, 4, 0x80000000u); }, {}},
      {"cut short", [](std::vector<uint8_t>& b) { b.resize(ReadU32LE(&b[20]) + 5); }, {2}},
  };
  for (const Case& c : cases) {
    MemResFile file;
    CacheStore(file, "PALT", 1, tova::WritePaletteResource({0, 0xFFFFFF}));
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    CacheStore(file, "SPR#", 1, bytes);
    CacheStore(file, "SPR2", 2, bytes);  // the same bytes read as a command stream
    SpriteCache cache(&file);
    const SpriteCacheEntry* entry = cache.Find(1);
    ASSERT_NE(entry, nullptr) << c.what;
    EXPECT_FALSE(entry->GetDropped().empty()) << c.what;
    for (int32_t f : c.dropped) EXPECT_EQ(entry->GetFrame(0, f), nullptr) << c.what << " frame " << f;
    for (int32_t f = 0; f < entry->GetFramesPerChannel(); ++f) {
      int32_t size = 0;
      const uint8_t* frame = entry->GetFrame(0, f, &size);
      if (frame == nullptr) continue;
      EXPECT_GE(size, 10);
      std::vector<uint8_t> row(64);
      tova::RLEDecompressor rows(frame + 10, size - 10, nullptr, 64);
      for (int y = 0; y < 8; ++y) {
        const uint8_t* start = nullptr;
        rows.DecodeRow8(row.data(), start);
      }
    }
    ASSERT_NE(cache.Find(2), nullptr);
  }
}

TEST_F(SpriteCacheTest, TheSwapWalksOnlyCheckedFrames) {
  std::vector<uint8_t> bytes = CacheSprite(502, 1, {CachePicture(4, 4), CachePicture(4, 4)}, true);
  // The second offset (big-endian) points past the end.
  bytes[16] = 0x7F;
  const std::vector<uint8_t> before = bytes;
  tova::SwapSpriteResource(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(ReadU32LE(&bytes[0]), 502u);
  const uint32_t first = ReadU32LE(&bytes[12]);
  // The first frame's rectangle turned around, nothing beyond it touched.
  EXPECT_EQ(bytes[first], before[first + 1]);
  EXPECT_EQ(std::memcmp(&bytes[first + 8], &before[first + 8], bytes.size() - first - 8), 0);
  std::vector<uint8_t> tiny = {1, 2, 3};
  tova::SwapSpriteResource(tiny.data(), 3);
  EXPECT_EQ(tiny[0], 1);
}

TEST(SpriteCacheRegistry, OneCachePerFileUntilTheLastRelease) {
  MemResFile a, b;
  const int32_t before = tova::CountRegisteredSpriteCaches();
  SpriteCache* first = tova::GetSpriteCacheForFile(&a);
  EXPECT_EQ(tova::GetSpriteCacheForFile(&a), first);
  SpriteCache* second = tova::GetSpriteCacheForFile(&b);
  EXPECT_NE(second, first);
  EXPECT_EQ(tova::CountRegisteredSpriteCaches(), before + 2);
  tova::ReleaseSpriteCacheForFile(first);
  EXPECT_EQ(tova::GetSpriteCacheForFile(&a), first);  // still alive: used twice, released once
  tova::ReleaseSpriteCacheForFile(first);
  tova::ReleaseSpriteCacheForFile(first);
  tova::ReleaseSpriteCacheForFile(second);
  EXPECT_EQ(tova::CountRegisteredSpriteCaches(), before);
}

}  // namespace
