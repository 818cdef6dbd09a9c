#include "world/tools/cToolSet.h"

#include "world/tools/cLevelDirtTool.h"
#include "world/tools/cMoveTool.h"
#include "world/tools/cNewFloorTool.h"
#include "world/tools/cNewWallTool.h"
#include "world/tools/cNewWallpaperTool.h"
#include "world/tools/cObjPickerTool.h"
#include "world/tools/cPoolTool.h"
#include "world/tools/cSimpleAltTool.h"
#include "world/tools/cTileTool.h"
#include "world/tools/cWaterTool.h"

cToolSet::cToolSet(ToolServices& services) {
    // The fixed construction order; tools not built yet keep their slot
    // empty.
    for (int32_t id : {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10}) {
        switch (id) {
            case kWall: mTools[id] = std::make_unique<cNewWallTool>(services, mUndo); break;
            case kWallpaper: mTools[id] = std::make_unique<cNewWallpaperTool>(services, mUndo); break;
            case kRaiseTerrain: mTools[id] = std::make_unique<cSimpleAltTool>(services, mUndo, 1); break;
            case kLowerTerrain: mTools[id] = std::make_unique<cSimpleAltTool>(services, mUndo, -1); break;
            case kLevelTerrain: mTools[id] = std::make_unique<cLevelDirtTool>(services, mUndo); break;
            case kFloor: mTools[id] = std::make_unique<cNewFloorTool>(services, mUndo); break;
            case kObjectPicker: mTools[id] = std::make_unique<cObjPickerTool>(services); break;
            case kMove: mTools[id] = std::make_unique<cMoveTool>(services, mUndo); break;
            case kPool: mTools[id] = std::make_unique<cPoolTool>(services, mUndo); break;
            case kTile: mTools[id] = std::make_unique<cTileTool>(services); break;
            case kWater: mTools[id] = std::make_unique<cWaterTool>(services, mUndo); break;
            default: break;
        }
    }
    for (auto& tool : mTools)
        if (tool) tool->Init();
}

cToolSet::~cToolSet() {
    for (auto& tool : mTools) tool.reset();
}

cTool* cToolSet::GetTool(int32_t id) const {
    const int16_t n = static_cast<int16_t>(id);
    return n < 0 || n >= kToolCount ? nullptr : mTools[n].get();
}
