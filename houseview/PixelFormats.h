// The five 16-bit pixel kinds and the conversions between a 24-bit colour
// (0x00RRGGBB) and each of them. The kind is the display's layout, read from
// its masks by PixelLayoutCode (gamedata/GlobalContext.h): 1 = 555,
// 2 = 565, 3 = 556, 4 = 655, 0 = any other 16-bit layout. Our display is
// always 565; 555 stays for tests, 556 and 655 for completeness.
#pragma once

#include <cstdint>

#include "gamedata/GlobalContext.h"

namespace tova {

// Each channel keeps its top bits.
uint16_t ConvertRGBTo555(uint32_t rgb);
uint16_t ConvertRGBTo565(uint32_t rgb);
uint16_t ConvertRGBTo556(uint32_t rgb);
uint16_t ConvertRGBTo655(uint32_t rgb);
// 2 to 565, 3 to 556, 4 to 655, any other kind to 555.
uint16_t ConvertRGBToDisplay(uint32_t rgb, int32_t kind);

// Each channel's bits at the top of its byte, the low bits 0.
uint32_t Convert556To888(uint16_t pixel);
uint32_t Convert655To888(uint16_t pixel);
// The inverse dispatcher: 2 as 565, 3 as 556, 4 as 655, 0 and 1 as 555.
uint32_t ConvertDisplayToRGB(uint16_t pixel, int32_t kind);

}  // namespace tova
