#include "world/tools/FloorHalves.h"

#include "world/cFixedWorld.h"

namespace floor_halves {

int32_t HalfAt(int32_t diagonal, FinePoint p) {
    const int32_t fx = p.x & 15, fy = p.y & 15;
    if (diagonal & kWallDiag16) return fx + fy < 16 ? 0 : 1;
    return fx < fy ? 0 : 1;
}

FinePoint PointIn(TileLocation t, int32_t diagonal, int32_t half) {
    const FinePoint corner = t.Corner();
    if (diagonal & kWallDiag16) return half == 0 ? FinePoint{corner.x + 4, corner.y + 4} : FinePoint{corner.x + 12, corner.y + 12};
    return half == 0 ? FinePoint{corner.x + 4, corner.y + 12} : FinePoint{corner.x + 12, corner.y + 4};
}

FinePoint ViewToWorld(const cFixedWorld& world, FinePoint p) {
    const GridPoint g = RotateGridCoords(p.x, p.y, (-world.GetRotation()) & 3, kWorldCapacity * 16);
    return {g.x, g.y};
}

FinePoint WorldToView(const cFixedWorld& world, FinePoint p) {
    const GridPoint g = RotateGridCoords(p.x, p.y, world.GetRotation() & 3, kWorldCapacity * 16);
    return {g.x, g.y};
}

int32_t& Pattern(WallInfo& info, int32_t half) { return half == 0 ? info.pattern[0] : info.style[0]; }

int32_t SideOf(int32_t diagonal, int32_t half) {
    if (diagonal & kWallDiag16) return half == 0 ? 4 : 2;
    return half == 0 ? 3 : 1;
}

int32_t HalfOfSide(int32_t diagonal, int32_t side) { return SideOf(diagonal, 0) == side ? 0 : 1; }

}  // namespace floor_halves
