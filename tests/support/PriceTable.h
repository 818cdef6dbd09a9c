// Prices of the build tools from a table: floors by pattern (0 when not
// listed) and one pool tile price; walls and wallpaper are free. Tests and
// buildscript use it.
#pragma once

#include <map>

#include "world/WorldServices.h"

namespace tova_test {

class PriceTable : public iWorldPrices {
public:
    std::map<int32_t, int32_t> floors;
    int32_t pool = 0;
    int32_t WallPrice(int32_t) const override { return 0; }
    int32_t WallpaperPrice(int32_t) const override { return 0; }
    int32_t FloorPrice(int32_t pattern) const override {
        const auto it = floors.find(pattern);
        return it == floors.end() ? 0 : it->second;
    }
    int32_t PoolTilePrice() const override { return pool; }
};

}  // namespace tova_test
