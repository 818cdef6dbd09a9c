#include "houseview/SpriteSpans.h"

#include <algorithm>

#include "houseview/BlendTables.h"
#include "houseview/LightingSettings.h"
#include "houseview/PixelPipeline.h"

namespace tova {

namespace {

enum SpanMode { kSpanOpaque = 0, kSpanBlend565 = 1, kSpanBlend555 = 2 };

Sprite2SpanTable gSprite2Spans;
// What the table was chosen for, so that a draw never runs routines of a
// switch state that changed behind the pipeline's back.
int32_t gSpansKind = -1;
uint8_t gSpansAntialias = 0;

uint16_t SpanWord(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Walks the commands; `pixel` gets (screen x, screen y, payload) of every
// pixel inside the clip. Runs are cut to the clip, so every form stays
// inside the target whatever the stream says.
template <bool Mirrored, typename Pixel>
void WalkSprite2(const Sprite2Span& s, Pixel pixel) {
  int32_t row = -1, column = 0, at = 0;
  while (at + 2 <= s.size) {
    const uint16_t word = SpanWord(s.stream + at);
    at += 2;
    const int32_t n = word & 0x1FFF;
    switch (word & 0xE000) {
      case 0x0000:
        ++row;
        column = 0;
        break;
      case 0x8000:
        row += n;
        column = 0;
        break;
      case 0x6000:
        column += n;
        break;
      case 0x2000:
      case 0x4000: {
        const int32_t stride = (word & 0xE000) == 0x2000 ? 2 : 3;
        if (at + n * stride > s.size) return;
        const int32_t y = s.top + row;
        if (y >= s.clipTop && y < s.clipBottom) {
          for (int32_t i = 0; i < n; ++i) {
            const int32_t x = Mirrored ? s.left + s.width - 1 - (column + i) : s.left + column + i;
            if (x >= s.clipLeft && x < s.clipRight) pixel(x, y, s.stream + at + i * stride, stride);
          }
        }
        column += n;
        at += n * stride;
        at += at & 1;
        break;
      }
      case 0xC000:
        // Indices without depth: not drawn here; their payload is skipped.
        at += n + (n & 1);
        column += n;
        break;
      case 0xA000:
        return;
      default:
        break;
    }
  }
}

template <int Mode, bool Mirrored>
void Sprite2SpanDraw(const Sprite2Span& s) {
  const SpriteTarget& t = *s.target;
  WalkSprite2<Mirrored>(s, [&](int32_t x, int32_t y, const uint8_t* p, int32_t stride) {
    if (p[0] == 255) return;
    const int32_t d = s.base + s.depthTable[p[0]];
    uint16_t& stored = t.DepthRow(y)[x];
    if (d > static_cast<int32_t>(stored)) return;
    uint16_t& colour = t.ColourRow(y)[x];
    const uint16_t over = s.palette[p[1]];
    if (stride == 3 && Mode != kSpanOpaque) {
      colour = Mode == kSpanBlend555 ? BlendPixel555(colour, over, p[2]) : BlendPixel565(colour, over, p[2]);
      return;
    }
    colour = over;
    stored = static_cast<uint16_t>(std::clamp(d, 0, 0xFFFF));
  });
}

// Terrain sprites: the first byte of a pair is a coverage, every row has
// its own depth and nothing is depth-tested.
template <int Mode, bool Clipped>
void Sprite2TerrainDraw(const Sprite2Span& s) {
  const SpriteTarget& t = *s.target;
  WalkSprite2<false>(s, [&](int32_t x, int32_t y, const uint8_t* p, int32_t stride) {
    if (stride != 2) return;
    const int32_t level = p[0] >> 3;
    const int32_t row = y - s.top;
    if (level == 0 || row < 0 || row >= s.rowCount) return;
    t.DepthRow(y)[x] = static_cast<uint16_t>(std::clamp(s.base + s.rowDepths[row], 0, 0xFFFF));
    uint16_t& colour = t.ColourRow(y)[x];
    const uint16_t over = s.palette[p[1]];
    if (level == 31 || Mode == kSpanOpaque) colour = over;
    else colour = Mode == kSpanBlend555 ? BlendPixel555(colour, over, level) : BlendPixel565(colour, over, level);
  });
}

template <int Mode>
Sprite2SpanTable Sprite2SpansOf() {
  return Sprite2SpanTable{Sprite2SpanDraw<Mode, false>, Sprite2SpanDraw<Mode, false>,
                          Sprite2SpanDraw<Mode, true>,  Sprite2SpanDraw<Mode, true>,
                          Sprite2TerrainDraw<Mode, false>, Sprite2TerrainDraw<Mode, true>};
}

}  // namespace

void SelectSprite2Spans(int32_t kind) {
  gSpansKind = kind;
  gSpansAntialias = gSpriteAntialias;
  if (gSpriteAntialias == 0) gSprite2Spans = Sprite2SpansOf<kSpanOpaque>();
  else if (kind == 1) gSprite2Spans = Sprite2SpansOf<kSpanBlend555>();
  else gSprite2Spans = Sprite2SpansOf<kSpanBlend565>();
}

const Sprite2SpanTable& GetSprite2Spans() {
  if (gSpansKind != PixelPipelineKind() || gSpansAntialias != gSpriteAntialias) SelectSprite2Spans(PixelPipelineKind());
  return gSprite2Spans;
}

}  // namespace tova
