// Contact sheets of sprites and floor shadows, for looking at what a sprite
// file or a shadow manager holds (the developer program and the picture
// tests draw them).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/PngFile.h"

namespace tova {

class FloorShadowMgr;
class SpriteCache;
class SpriteCacheEntry;

// Every colour frame of the sprites, through the plain table of each
// sprite's palette (an 'SPR2' without one takes the default palette), left
// to right in rows on a dark ground. Sprites without a palette are left out.
platform::Image DrawSpriteSheet(SpriteCache& cache, const std::vector<int32_t>& ids);

// Every mask the manager has an image for (0..255, rotation 0), sixteen to a
// row, shade as grey; `count` receives how many.
platform::Image DrawShadowSheet(FloorShadowMgr& manager, int32_t& count);

// The ids of every 'SPR#' and 'SPR2' of the cache's file, ascending, each once.
std::vector<int32_t> ListSpriteIds(SpriteCache& cache);

}  // namespace tova
