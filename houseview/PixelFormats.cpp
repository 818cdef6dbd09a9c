#include "houseview/PixelFormats.h"

#include "simulation/ObjectDrawing.h"
#include "ui/graphics/cGZBuffer.h"

namespace tova {

namespace {

uint16_t PackRGBForFormat(int32_t format, uint32_t rgb) {
  return static_cast<uint16_t>(cGZBuffer::MakeColorFor(format, static_cast<uint8_t>(rgb >> 16),
                                                       static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)));
}

uint32_t UnpackPixelForFormat(int32_t format, uint16_t pixel) {
  uint8_t r = 0, g = 0, b = 0;
  cGZBuffer::SplitColorFor(format, pixel, r, g, b);
  return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
}

}  // namespace

uint16_t ConvertRGBTo555(uint32_t rgb) { return PackRGBForFormat(cGZBuffer::kFormat555, rgb); }
uint16_t ConvertRGBTo565(uint32_t rgb) { return PackRGBForFormat(cGZBuffer::kFormat565, rgb); }
uint16_t ConvertRGBTo556(uint32_t rgb) { return PackRGBForFormat(cGZBuffer::kFormat556, rgb); }
uint16_t ConvertRGBTo655(uint32_t rgb) { return PackRGBForFormat(cGZBuffer::kFormat655, rgb); }

uint16_t ConvertRGBToDisplay(uint32_t rgb, int32_t kind) {
  switch (kind) {
    case kPixelLayout565: return ConvertRGBTo565(rgb);
    case kPixelLayout556: return ConvertRGBTo556(rgb);
    case kPixelLayout655: return ConvertRGBTo655(rgb);
    default: return ConvertRGBTo555(rgb);
  }
}

uint32_t Convert556To888(uint16_t pixel) { return UnpackPixelForFormat(cGZBuffer::kFormat556, pixel); }
uint32_t Convert655To888(uint16_t pixel) { return UnpackPixelForFormat(cGZBuffer::kFormat655, pixel); }

uint32_t ConvertDisplayToRGB(uint16_t pixel, int32_t kind) {
  switch (kind) {
    case kPixelLayout565: return WidenPixel565(pixel);
    case kPixelLayout556: return Convert556To888(pixel);
    case kPixelLayout655: return Convert655To888(pixel);
    default: return WidenPixel555(pixel);
  }
}

}  // namespace tova
