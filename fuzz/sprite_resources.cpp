// Arbitrary bytes as sprite resources in a memory resource file: the first
// byte chooses how they are stored, the rest is the resource. They go in as
// a native 'SPR#', an 'SPR#' of the other byte order, an 'SPR2' and a
// 'PALT' (under the palette id the sprite names, so its frames are kept),
// and every frame of every channel is decoded, then drawn z-buffered (both
// antialiasing switches, mirrored, and cut by the clip).
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "gamedata/GlobalContext.h"
#include "houseview/Decompressor.h"
#include "houseview/LightingSettings.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/SpriteTarget.h"
#include "houseview/ZBufferLookup.h"
#include "houseview/PalWrap.h"
#include "houseview/SpriteCache.h"
#include "houseview/SpriteMask.h"
#include "houseview/SpriteSheet.h"
#include "resfile/MemResFile.h"
#include "resfile/TypeCode.h"

namespace {

void SpriteFuzzDecode(tova::SpriteCache& cache, int32_t id) {
  tova::SpriteCacheEntry* entry = cache.Find(id);
  if (entry == nullptr) return;
  cache.GetFrameCount(id);
  std::vector<uint8_t> pixels(64 * 64);
  for (int32_t f = 0; f < entry->GetFramesPerChannel() && f < 16; ++f) {
    cache.GetFrameBounds(id, f);
    for (int c = 0; c < 5; ++c) {
      int32_t size = 0;
      const uint8_t* frame = entry->GetFrame(c, f, &size);
      if (frame == nullptr) continue;
      if (entry->IsSprite2()) {
        tova::DecodeSpriteMask(frame, size, pixels.data(), 64, 64);
        tova::DecodeTrimmedSpriteMask(frame, size);
        continue;
      }
      uint8_t row8[64];
      uint16_t row16[64];
      uint16_t colours[256] = {};
      tova::RLEDecompressor rows(frame + 10, size - 10, colours, 64);
      for (int y = 0; y < 64; ++y) {
        const uint8_t* start8 = nullptr;
        uint16_t* start16 = nullptr;
        if (y % 3 == 0) rows.DecodeRow16(row16, start16);
        else if (y % 3 == 1) rows.DecodeRow8(row8, start8);
        else rows.SkipRows(y % 7);
      }
    }
  }
}

void SpriteFuzzDraw(tova::SpriteCache& cache, int32_t id) {
  static std::vector<uint16_t> colour(96 * 64), depth(96 * 64);
  static tova::ZBufferLookup lookup;
  if (!lookup.IsBuilt(3)) lookup.Build(3, 96, 64);
  std::fill(depth.begin(), depth.end(), 0xFFFF);
  tova::SetSpriteTarget(tova::SpriteTarget{colour.data(), 96 * 2, depth.data(), 96 * 2, ShortRect{4, 4, 60, 92}});
  tova::SpriteDrawInfo info;
  info.zTables = &lookup;
  info.screenY = 30;
  lookup.PlaceSprite(info, 0);
  const int32_t frames = std::min(cache.GetFrameCount(id), 16);
  for (int32_t f = 0; f <= frames; ++f)
    for (int pass = 0; pass < 4; ++pass) {
      tova::SetSpriteAntialias(pass % 2 == 0);
      const int32_t x = pass < 2 ? 10 : -20, y = pass < 2 ? 8 : 50;
      cache.DrawSprite(id, f, x, y, pass == 1 || pass == 2 ? tova::SpriteDrawInfo::kDrawMirror : 0, info, pass < 2);
    }
  tova::SetSpriteAntialias(true);
  tova::SetSpriteTarget(tova::SpriteTarget{});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1 << 20)) return 0;
  static tova::GlobalContext context;
  static tova::PalWrap* palette = [] {
    auto* p = new tova::PalWrap();
    p->AddRef();
    uint32_t colours[256];
    for (uint32_t i = 0; i < 256; ++i) colours[i] = i * 0x010101u;
    p->MakeWindowsPalette(colours, false);
    p->BuildTables();
    return p;
  }();
  context.palette = palette;
  tova::gGlobalContext = &context;

  const uint8_t flags = data[0];
  const uint8_t* bytes = data + 1;
  const auto length = static_cast<int32_t>(size - 1);
  MemResFile file;
  file.AddStored(TypeCode("SPR#"), 1, bytes, length);
  file.AddStored(TypeCode("SPR#"), 2, bytes, length, "", 0);  // of the other byte order
  file.AddStored(TypeCode("SPR2"), 3, bytes, length);
  file.AddStored(TypeCode("PALT"), 4, bytes, length);
  if (length >= 12) {
    const int16_t named = static_cast<int16_t>(bytes[8] | bytes[9] << 8);
    if (flags & 1) file.AddStored(TypeCode("PALT"), named, bytes, length);
  }
  tova::SpriteCache cache(&file);
  for (int32_t id = 1; id <= 3; ++id) SpriteFuzzDecode(cache, id);
  for (int32_t id = 1; id <= 3; ++id) SpriteFuzzDraw(cache, id);
  // The contact sheet too, for frames of a modest size (large ones only
  // cost time: the decoders above already met them).
  bool modest = true;
  for (int32_t id = 1; id <= 3; ++id)
    for (int32_t f = 0; f < cache.GetFrameCount(id) && modest; ++f) {
      const ShortRect r = cache.GetFrameBounds(id, f);
      modest = f < 4 && r.right - r.left <= 32 && r.bottom - r.top <= 32;
    }
  if ((flags & 2) && modest) tova::DrawSpriteSheet(cache, {1, 2, 3});
  tova::PalWrap* table = cache.GetPalettes().Find(4);
  if (table != nullptr) {
    table->GetShadedTable(0.5f);
    tova::PalWrap::Release(table);
  }
  tova::gGlobalContext = nullptr;
  return 0;
}
