#include "world/tools/BuildToolContext.h"

BuildToolContext& GetBuildToolContext() {
    static BuildToolContext context;
    return context;
}

namespace tool_objects {
namespace {
const iToolObjects* Objects() { return GetBuildToolContext().objects; }
}  // namespace

bool AllowsFloorUnder(TileLocation tile) { return !Objects() || Objects()->AllowsFloorUnder(tile); }
bool AllowsFloorRemoval(TileLocation tile) { return !Objects() || Objects()->AllowsFloorRemoval(tile); }
bool AllowsStandingWithoutFloor(TileLocation tile) {
    return !Objects() || Objects()->AllowsStandingWithoutFloor(tile);
}
bool AllowsBuildingUnder(TileLocation tile) { return !Objects() || Objects()->AllowsBuildingUnder(tile); }
bool BlocksTerrain(TileLocation tile) { return Objects() && Objects()->BlocksTerrain(tile); }
bool BlocksPoolRemoval(TileLocation tile) { return Objects() && Objects()->BlocksPoolRemoval(tile); }
bool HasObject(TileLocation tile) { return Objects() && Objects()->HasObject(tile); }
void GroupsAt(TileLocation tile, std::vector<ToolObjectGroup>& out) {
    out.clear();
    if (Objects()) Objects()->GroupsAt(tile, out);
}
bool PersonInRoom(uint16_t room) { return Objects() && Objects()->PersonInRoom(room); }
}  // namespace tool_objects
