#include "houseview/SpriteSheet.h"

#include <algorithm>

#include "gamedata/GlobalContext.h"
#include "houseview/Decompressor.h"
#include "houseview/FloorShadowMgr.h"
#include "houseview/PalWrap.h"
#include "houseview/SpriteCache.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"
#include "ui/graphics/cGZBuffer.h"

namespace tova {

namespace {

constexpr int32_t kSheetMargin = 4;
constexpr int32_t kSheetWidth = 256;
constexpr int32_t kSheetLargestFrame = 1024;
constexpr uint32_t kSheetGround = 0x303040;

// A decoded frame: 0xAARRGGBB pixels, alpha 0 where nothing is drawn.
struct SheetTile {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

uint32_t SheetColour(uint16_t pixel) {
  uint8_t r, g, b;
  cGZBuffer::SplitColorFor(cGZBuffer::kFormat565, pixel, r, g, b);
  return 0xFF000000u | uint32_t{r} << 16 | uint32_t{g} << 8 | b;
}

int16_t SheetWord(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }

bool SheetSpriteFrame(const uint8_t* frame, int32_t size, const uint16_t* plain, SheetTile& tile) {
  const ShortRect r{SheetWord(frame), SheetWord(frame + 2), SheetWord(frame + 4), SheetWord(frame + 6)};
  tile.width = r.right - r.left;
  tile.height = r.bottom - r.top;
  if (tile.width <= 0 || tile.height <= 0 || tile.width > kSheetLargestFrame || tile.height > kSheetLargestFrame)
    return false;
  tile.pixels.assign(static_cast<size_t>(tile.width) * tile.height, 0);
  // Index i decodes as 0x100 + i, so that 0 marks "nothing drawn".
  uint16_t marks[256];
  for (int i = 0; i < 256; ++i) marks[i] = static_cast<uint16_t>(0x100 + i);
  RLEDecompressor rows(frame + 10, size - 10, marks, tile.width);
  std::vector<uint16_t> row(static_cast<size_t>(tile.width));
  for (int32_t y = 0; y < tile.height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    uint16_t* start = nullptr;
    rows.DecodeRow16(row.data(), start);
    for (int32_t x = 0; x < tile.width; ++x)
      if (row[x] != 0) tile.pixels[static_cast<size_t>(y) * tile.width + x] = SheetColour(plain[row[x] & 0xFF]);
  }
  return true;
}

bool SheetSprite2Frame(const uint8_t* frame, int32_t size, const uint16_t* plain, SheetTile& tile) {
  tile.width = static_cast<uint16_t>(SheetWord(frame));
  tile.height = static_cast<uint16_t>(SheetWord(frame + 2));
  if (tile.width <= 0 || tile.height <= 0 || tile.width > kSheetLargestFrame || tile.height > kSheetLargestFrame)
    return false;
  tile.pixels.assign(static_cast<size_t>(tile.width) * tile.height, 0);
  int64_t y = -1, x = 0;
  const auto put = [&](uint8_t index, uint8_t alpha) {
    if (y >= 0 && y < tile.height && x >= 0 && x < tile.width)
      tile.pixels[static_cast<size_t>(y) * tile.width + x] =
          (SheetColour(plain[index]) & 0xFFFFFF) | uint32_t{static_cast<uint8_t>(alpha * 255 / 31)} << 24;
    ++x;
  };
  int32_t at = 16;
  while (at + 2 <= size) {
    const auto word = static_cast<uint16_t>(SheetWord(frame + at));
    at += 2;
    const int32_t n = word & 0x1FFF;
    const int32_t op = word & 0xE000;
    const int32_t stride = op == 0x2000 ? 2 : op == 0x4000 ? 3 : op == 0xC000 ? 1 : 0;
    if (op == 0x0000) {
      ++y;
      x = 0;
    } else if (op == 0x6000) {
      x += n;
    } else if (op == 0x8000) {
      y += n;
      x = 0;
    } else if (stride > 0) {
      if (at + n * stride > size) return true;
      for (int32_t i = 0; i < n; ++i) {
        const uint8_t* p = frame + at + i * stride;
        if (stride == 1) put(p[0], 31);
        else put(p[1], stride == 3 ? std::min<uint8_t>(p[2], 31) : 31);
      }
      at += n * stride;
      at += at & 1;
    } else {
      return true;  // the end, or a word no frame holds
    }
  }
  return true;
}

platform::Image SheetImage(const std::vector<SheetTile>& tiles, int32_t columns) {
  // Lay the tiles out in rows no wider than the sheet (or `columns` a row).
  int32_t width = kSheetMargin, x = kSheetMargin, y = kSheetMargin, rowHeight = 0, inRow = 0;
  std::vector<std::pair<int32_t, int32_t>> places;
  const int32_t limit = columns > 0 ? INT32_MAX : kSheetWidth;
  for (const SheetTile& t : tiles) {
    if (inRow > 0 && (x + t.width + kSheetMargin > limit || (columns > 0 && inRow == columns))) {
      x = kSheetMargin;
      y += rowHeight + kSheetMargin;
      rowHeight = 0;
      inRow = 0;
    }
    places.emplace_back(x, y);
    x += t.width + kSheetMargin;
    width = std::max(width, x);
    rowHeight = std::max(rowHeight, t.height);
    ++inRow;
  }
  platform::Image image;
  image.width = width;
  image.height = y + rowHeight + kSheetMargin;
  image.channels = 3;
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t i = 0; i < image.pixels.size(); i += 3) {
    image.pixels[i] = static_cast<uint8_t>(kSheetGround >> 16);
    image.pixels[i + 1] = static_cast<uint8_t>(kSheetGround >> 8);
    image.pixels[i + 2] = static_cast<uint8_t>(kSheetGround);
  }
  for (size_t t = 0; t < tiles.size(); ++t)
    for (int32_t ty = 0; ty < tiles[t].height; ++ty)
      for (int32_t tx = 0; tx < tiles[t].width; ++tx) {
        const uint32_t p = tiles[t].pixels[static_cast<size_t>(ty) * tiles[t].width + tx];
        const uint32_t a = p >> 24;
        uint8_t* out = &image.pixels[(static_cast<size_t>(places[t].second + ty) * image.width + places[t].first + tx) * 3];
        for (int c = 0; c < 3; ++c) {
          const uint32_t over = (p >> (16 - 8 * c)) & 0xFF;
          out[c] = static_cast<uint8_t>((over * a + out[c] * (255 - a)) / 255);
        }
      }
  return image;
}

}  // namespace

std::vector<int32_t> ListSpriteIds(SpriteCache& cache) {
  std::vector<int32_t> ids;
  iResFile* file = cache.GetFile();
  if (file == nullptr || !file->IsOpen()) return ids;
  for (const ResType type : {TypeCode("SPR#"), TypeCode("SPR2")}) {
    const int count = file->CountResources(type);
    for (int i = 1; i <= count; ++i) {
      MemHandle h = file->GetIndexedResource(type, i, nullptr);
      ResId id = 0;
      if (h != nullptr && file->GetId(h, id) == 0) ids.push_back(id);
    }
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

platform::Image DrawSpriteSheet(SpriteCache& cache, const std::vector<int32_t>& ids) {
  std::vector<SheetTile> tiles;
  for (int32_t id : ids) {
    SpriteCacheEntry* entry = cache.Find(id);
    if (entry == nullptr) continue;
    PalWrap* palette = entry->GetPalette();
    if (palette == nullptr && entry->IsSprite2() && gGlobalContext != nullptr) palette = gGlobalContext->palette;
    if (palette == nullptr) continue;
    for (int32_t f = 0; f < entry->GetFramesPerChannel(); ++f) {
      int32_t size = 0;
      const uint8_t* frame = entry->GetFrame(0, f, &size);
      SheetTile tile;
      if (frame == nullptr) continue;
      const bool drawn = entry->IsSprite2() ? SheetSprite2Frame(frame, size, palette->GetTable(PalWrap::kPlain), tile)
                                            : SheetSpriteFrame(frame, size, palette->GetTable(PalWrap::kPlain), tile);
      if (drawn) tiles.push_back(std::move(tile));
    }
  }
  return SheetImage(tiles, 0);
}

platform::Image DrawShadowSheet(FloorShadowMgr& manager, int32_t& count) {
  std::vector<SheetTile> tiles;
  for (int mask = 0; mask < 256; ++mask) {
    const MaskImage* image = manager.Get(static_cast<uint8_t>(mask), 0);
    if (image == nullptr || image->width == 0) continue;
    SheetTile tile;
    tile.width = image->width;
    tile.height = static_cast<int32_t>(image->pixels.size() / static_cast<size_t>(image->width));
    tile.pixels.resize(image->pixels.size());
    for (size_t i = 0; i < image->pixels.size(); ++i) {
      // Outside the diamond stays ground; inside, unshaded is light.
      const uint8_t v = image->pixels[i];
      tile.pixels[i] = v == 255 ? 0 : 0xFF000000u | uint32_t{v} << 16 | uint32_t{v} << 8 | v;
    }
    tiles.push_back(std::move(tile));
  }
  count = static_cast<int32_t>(tiles.size());
  return SheetImage(tiles, 16);
}

}  // namespace tova
