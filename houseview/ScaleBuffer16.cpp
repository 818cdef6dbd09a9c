#include "houseview/ScaleBuffer16.h"

#include <algorithm>
#include <cmath>

namespace tova {

namespace {

struct ScaleRgb {
  float r = 0, g = 0, b = 0;
};

ScaleRgb ScaleUnpack(uint16_t p, int32_t kind) {
  if (kind == 1) return ScaleRgb{float((p >> 7) & 0xF8), float((p >> 2) & 0xF8), float((p << 3) & 0xF8)};
  return ScaleRgb{float((p >> 8) & 0xF8), float((p >> 3) & 0xFC), float((p << 3) & 0xF8)};
}

uint16_t ScalePack(int32_t r, int32_t g, int32_t b, int32_t kind) {
  if (kind == 1) return static_cast<uint16_t>(((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3));
  return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

float ScaleFilter(float t) { return t < 1 ? (2 * t - 3) * t * t + 1 : 0; }

// A source index outside [0, n) reflected at the ends as often as it takes,
// then held inside.
int32_t ScaleReflect(int32_t j, int32_t n) {
  for (int i = 0; i < 8 && (j < 0 || j >= n); ++i) j = j < 0 ? -j : 2 * n - j - 1;
  return std::clamp(j, 0, n - 1);
}

struct ScaleTap {
  int32_t index;
  float weight;
};

std::vector<std::vector<ScaleTap>> ScaleTaps(float s, int32_t n, int32_t m) {
  const float support = s >= 1 ? 1.0f : 1.0f / s;
  std::vector<std::vector<ScaleTap>> taps(static_cast<size_t>(m));
  for (int32_t i = 0; i < m; ++i) {
    const float c = static_cast<float>(i) / s;
    for (int32_t j = static_cast<int32_t>(std::ceil(c - support)); j <= static_cast<int32_t>(std::floor(c + support)); ++j)
      taps[static_cast<size_t>(i)].push_back(
          ScaleTap{ScaleReflect(j, n), ScaleFilter(std::fabs(c - static_cast<float>(j)) / support) / support});
  }
  return taps;
}

int32_t ScaleChannel(float sum, float weight) {
  const float v = sum / weight;
  return v < 0 ? 0 : v > 255 ? 255 : static_cast<int32_t>(v + 0.5f);
}

// One pass: `count` lines of `n` samples each (read through `at`) into
// lines of `m` samples (written through `put`).
template <typename Read, typename Write>
void ScalePass(const std::vector<std::vector<ScaleTap>>& taps, int32_t count, bool keyed, uint16_t key, ScaleRgb keyRgb,
               bool withWeights, int32_t kind, Read at, Write put) {
  for (int32_t line = 0; line < count; ++line)
    for (size_t i = 0; i < taps.size(); ++i) {
      ScaleRgb sum;
      float weight = 0;
      for (const ScaleTap& tap : taps[i]) {
        const uint16_t p = at(line, tap.index);
        const ScaleRgb c = ScaleUnpack(p, kind);
        if (keyed && c.r == keyRgb.r && c.g == keyRgb.g && c.b == keyRgb.b) continue;
        sum.r += c.r * tap.weight;
        sum.g += c.g * tap.weight;
        sum.b += c.b * tap.weight;
        weight += tap.weight;
      }
      const auto pixel = [&] {
        return ScalePack(ScaleChannel(sum.r, weight), ScaleChannel(sum.g, weight), ScaleChannel(sum.b, weight), kind);
      };
      if (!withWeights) put(line, static_cast<int32_t>(i), weight >= 0.4f ? pixel() : key, -1);
      else if (weight == 0) put(line, static_cast<int32_t>(i), key, 0);
      else put(line, static_cast<int32_t>(i), pixel(), std::clamp(static_cast<int32_t>(weight * 255 + 0.5f), 0, 255));
    }
}

}  // namespace

std::optional<ScaledBuffer16> ScaleBuffer(float scaleX, float scaleY, const PixelView16& source, const ShortRect* area,
                                          bool withWeights, int32_t kind) {
  if ((kind != 1 && kind != 2) || source.pixels == nullptr) return std::nullopt;
  ShortRect r{0, 0, static_cast<int16_t>(source.height), static_cast<int16_t>(source.width)};
  if (area != nullptr && !ShortRect::Intersect(*area, r, r)) return std::nullopt;
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || !(scaleX > 0) || !(scaleY > 0)) return std::nullopt;
  // A size that is whole but for float rounding (3 * (1 / 3.0f)) stays whole.
  const double wide = std::ceil(w * static_cast<double>(scaleX) - 1e-4);
  const double high = std::ceil(h * static_cast<double>(scaleY) - 1e-4);
  if (wide < 1 || high < 1 || wide > 16384 || high > 16384) return std::nullopt;
  const auto outW = static_cast<int32_t>(wide), outH = static_cast<int32_t>(high);
  const float sx = static_cast<float>(outW) / static_cast<float>(w), sy = static_cast<float>(outH) / static_cast<float>(h);
  const bool keyed = source.key >= 0;
  const uint16_t key = keyed ? static_cast<uint16_t>(source.key) : 0;
  const ScaleRgb keyRgb = ScaleUnpack(key, kind);

  std::vector<uint16_t> middle(static_cast<size_t>(outW) * h);
  std::vector<uint8_t> middleWeights;
  ScalePass(ScaleTaps(sx, w, outW), h, keyed, key, keyRgb, withWeights, kind,
            [&](int32_t line, int32_t j) { return source.Row(r.top + line)[r.left + j]; },
            [&](int32_t line, int32_t i, uint16_t p, int32_t) { middle[static_cast<size_t>(line) * outW + i] = p; });
  ScaledBuffer16 out;
  out.width = outW;
  out.height = outH;
  out.pixels.assign(static_cast<size_t>(outW) * outH, 0);
  if (withWeights) out.weights.assign(out.pixels.size(), 0);
  ScalePass(ScaleTaps(sy, h, outH), outW, keyed, key, keyRgb, withWeights, kind,
            [&](int32_t column, int32_t j) { return middle[static_cast<size_t>(j) * outW + column]; },
            [&](int32_t column, int32_t i, uint16_t p, int32_t weight) {
              out.pixels[static_cast<size_t>(i) * outW + column] = p;
              if (weight >= 0) out.weights[static_cast<size_t>(i) * outW + column] = static_cast<uint8_t>(weight);
            });
  return out;
}

std::optional<ScaledBuffer16> ScaleBufferUniform(float factor, const PixelView16& source, const ShortRect* area,
                                                 bool withWeights, int32_t kind) {
  return ScaleBuffer(factor, factor, source, area, withWeights, kind);
}

std::optional<ScaledBuffer16> ScaleBufferToSize(const PixelView16& source, int32_t width, int32_t height,
                                                const ShortRect* area, bool withWeights, int32_t kind) {
  ShortRect r{0, 0, static_cast<int16_t>(source.height), static_cast<int16_t>(source.width)};
  if (area != nullptr) r = *area;
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return std::nullopt;
  return ScaleBuffer(static_cast<float>(width) / static_cast<float>(w), static_cast<float>(height) / static_cast<float>(h),
                     source, area, withWeights, kind);
}

}  // namespace tova
