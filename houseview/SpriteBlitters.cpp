#include "houseview/SpriteBlitters.h"

#include <algorithm>
#include <vector>

#include "houseview/Decompressor.h"
#include "houseview/PixelPipeline.h"
#include "houseview/SpriteDrawInfo.h"
#include "houseview/ZBufferLookup.h"

namespace tova {

namespace {

// Index i decodes as i + 1 so that 0 marks "no pixel".
const uint16_t* BlitterMarks() {
  static const auto* marks = [] {
    static uint16_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint16_t>(i + 1);
    return table;
  }();
  return marks;
}

// Row buffers kept between draws, as wide as the widest frame so far.
struct BlitterRows {
  std::vector<uint16_t> colour;
  std::vector<uint8_t> depth, alpha;
  void Fit(int32_t width) {
    const auto n = static_cast<size_t>(std::max(width, 1));
    if (colour.size() < n) {
      colour.resize(n);
      depth.resize(n);
      alpha.resize(n);
    }
  }
};
BlitterRows& Rows() {
  thread_local BlitterRows rows;
  return rows;
}

int32_t ColumnOf(const SpriteDrawContext& c, int32_t i, bool mirrored) {
  return mirrored ? c.left + c.width - 1 - i : c.left + i;
}

template <bool WithDepth>
void BlitColourRows(const SpriteDrawContext& c, const SpriteDrawInfo& info, bool mirrored) {
  if (c.stream == nullptr || c.width <= 0) return;
  BlitterRows& rows = Rows();
  rows.Fit(c.width);
  RLEDecompressor colour(c.stream, c.size, BlitterMarks(), c.width);
  colour.SkipRows(c.clipTop);
  const SpriteTarget& t = *c.target;
  for (int32_t r = c.clipTop; r < c.height - c.clipBottom && !colour.HasEnded(); ++r) {
    std::fill_n(rows.colour.begin(), c.width, 0);
    uint16_t* start = nullptr;
    if (!colour.DecodeRow16(rows.colour.data(), start)) continue;
    const int32_t y = c.top + r;
    const int32_t d = WithDepth ? ZLookupBase(info, y) : 0;
    uint16_t* out = t.ColourRow(y);
    uint16_t* depth = WithDepth ? t.DepthRow(y) : nullptr;
    for (int32_t i = 0; i < c.width; ++i) {
      const int32_t x = ColumnOf(c, i, mirrored);
      if (rows.colour[i] == 0 || x < c.left + c.clipLeft || x >= c.left + c.width - c.clipRight) continue;
      if constexpr (WithDepth) {
        if (static_cast<int32_t>(depth[x]) < d) continue;
        depth[x] = static_cast<uint16_t>(std::clamp(d, 0, 0xFFFF));
      }
      out[x] = c.palette[rows.colour[i] - 1];
    }
  }
}

cStandardBlitter16 gStandardBlitter;
cStandardZBlitter16 gStandardZBlitter;

}  // namespace

void cStandardBlitter16::Draw(const SpriteDrawContext& c, const SpriteDrawInfo& info) { BlitColourRows<false>(c, info, false); }
void cStandardBlitter16::DrawMirrored(const SpriteDrawContext& c, const SpriteDrawInfo& info) {
  BlitColourRows<false>(c, info, true);
}
void cStandardZBlitter16::Draw(const SpriteDrawContext& c, const SpriteDrawInfo& info) { BlitColourRows<true>(c, info, false); }
void cStandardZBlitter16::DrawMirrored(const SpriteDrawContext& c, const SpriteDrawInfo& info) {
  BlitColourRows<true>(c, info, true);
}

cBlitter* GetStandardBlitter() { return &gStandardBlitter; }
cBlitter* GetStandardZBlitter() { return &gStandardZBlitter; }

void DrawColourAndDepthRows(const SpriteDrawContext& c, const uint8_t* depthStream, int32_t depthSize,
                            const uint8_t* alphaStream, int32_t alphaSize, int32_t base, bool mirrored) {
  if (c.stream == nullptr || depthStream == nullptr || c.width <= 0) return;
  BlitterRows& rows = Rows();
  rows.Fit(c.width);
  RLEDecompressor colour(c.stream, c.size, BlitterMarks(), c.width);
  RLEDecompressor depth(depthStream, depthSize, nullptr, c.width);
  RLEDecompressor alpha(alphaStream, alphaStream != nullptr ? alphaSize : 0, nullptr, c.width);
  colour.SkipRows(c.clipTop);
  depth.SkipRows(c.clipTop);
  alpha.SkipRows(c.clipTop);
  const int16_t* offsets = ZBufferLookup::GetSpriteDepthTable();
  const BlendPixelRoutine blend = mirrored ? GetAlphaBlendPair().mirrored : GetAlphaBlendPair().normal;
  const SpriteTarget& t = *c.target;
  for (int32_t r = c.clipTop; r < c.height - c.clipBottom && !depth.HasEnded(); ++r) {
    std::fill_n(rows.depth.begin(), c.width, 255);
    const uint8_t* z = nullptr;
    if (!depth.DecodeRow8(rows.depth.data(), z)) {
      colour.SkipRows(1);
      alpha.SkipRows(1);
      continue;
    }
    std::fill_n(rows.colour.begin(), c.width, 0);
    uint16_t* start = nullptr;
    colour.DecodeRow16(rows.colour.data(), start);
    const uint8_t* a = nullptr;
    if (alphaStream != nullptr) {
      std::fill_n(rows.alpha.begin(), c.width, 31);
      alpha.DecodeRow8(rows.alpha.data(), a);
    }
    const int32_t y = c.top + r;
    uint16_t* out = t.ColourRow(y);
    uint16_t* stored = t.DepthRow(y);
    for (int32_t i = 0; i < c.width; ++i) {
      const int32_t x = ColumnOf(c, i, mirrored);
      if (z[i] == 255 || rows.colour[i] == 0 || x < c.left + c.clipLeft || x >= c.left + c.width - c.clipRight)
        continue;
      const int32_t d = base + offsets[z[i]];
      if (static_cast<int32_t>(stored[x]) < d) continue;
      const uint16_t over = c.palette[rows.colour[i] - 1];
      out[x] = alphaStream != nullptr && blend != nullptr ? blend(out[x], over, rows.alpha[i]) : over;
      stored[x] = static_cast<uint16_t>(std::clamp(d, 0, 0xFFFF));
    }
  }
}

}  // namespace tova
