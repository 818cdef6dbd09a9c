#include "houseview/SpriteMask.h"

#include <algorithm>

namespace tova {

namespace {

constexpr int32_t kSpriteMaskHeader = 16;
constexpr int32_t kSpriteMaskLargest = 4096;

uint16_t SpriteMaskWord(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool GetSpriteMaskSize(const uint8_t* frame, int32_t frameSize, int32_t& width, int32_t& height) {
  if (frame == nullptr || frameSize < kSpriteMaskHeader) return false;
  width = SpriteMaskWord(frame);
  height = SpriteMaskWord(frame + 2);
  return width > 0 && height > 0 && width <= kSpriteMaskLargest && height <= kSpriteMaskLargest;
}

void DecodeSpriteMask(const uint8_t* frame, int32_t frameSize, uint8_t* pixels, int32_t width, int32_t height) {
  if (frame == nullptr || pixels == nullptr || frameSize < kSpriteMaskHeader || width <= 0 || height <= 0) return;
  const uint8_t transparent = frame[10];
  int64_t row = -1, x = 0;
  // Writes a byte where the image has room for it.
  const auto put = [&](uint8_t value) {
    if (row >= 0 && row < height && x >= 0 && x < width) pixels[row * width + x] = value;
    ++x;
  };
  int32_t at = kSpriteMaskHeader;
  while (at + 2 <= frameSize) {
    const uint16_t word = SpriteMaskWord(frame + at);
    at += 2;
    const int32_t n = word & 0x1FFF;
    switch (word & 0xE000) {
      case 0x0000:
        ++row;
        x = 0;
        break;
      case 0x6000:
        for (int32_t i = 0; i < n && x < width; ++i) put(transparent);
        x = std::max<int64_t>(x, 0);
        break;
      case 0x8000:
        row += n;
        x = 0;
        break;
      case 0xC000: {
        const int32_t count = std::min(n, frameSize - at);
        for (int32_t i = 0; i < count; ++i) put(frame[at + i]);
        at += n + (n & 1);
        break;
      }
      default:
        return;
    }
  }
}

MaskImage DecodeTrimmedSpriteMask(const uint8_t* frame, int32_t frameSize) {
  MaskImage image;
  int32_t width = 0, height = 0;
  if (!GetSpriteMaskSize(frame, frameSize, width, height)) return image;
  const uint8_t transparent = frame[10];
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), transparent);
  DecodeSpriteMask(frame, frameSize, image.pixels.data(), width, height);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * width;
    int32_t first = 0;
    for (; first < width && row[first] == transparent; ++first) row[first] = 255;
    for (int32_t x = width - 1; x >= first && row[x] == transparent; --x) row[x] = 255;
  }
  return image;
}

}  // namespace tova
