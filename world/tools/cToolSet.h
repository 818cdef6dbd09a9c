// The eleven tools of build and buy mode, by fixed id, with the undo manager
// that records their edits. Made once at start-up; ids whose tool is not
// built answer null.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "world/tools/cTool.h"
#include "world/undo/UndoManager.h"

class cToolSet {
public:
    static constexpr int32_t kToolCount = 11;
    enum ToolId : int32_t {
        kRaiseTerrain = 0,
        kLowerTerrain = 1,
        kWall = 2,
        kWallpaper = 3,
        kLevelTerrain = 4,
        kFloor = 5,
        kObjectPicker = 6,
        kMove = 7,
        kTile = 8,
        kPool = 9,
        kWater = 10,
    };

    // Builds the tools in their fixed order, then calls Init on each in id
    // order. The services outlive the set.
    explicit cToolSet(ToolServices& services);
    ~cToolSet();
    cToolSet(const cToolSet&) = delete;
    cToolSet& operator=(const cToolSet&) = delete;

    // Null when the id, taken as a signed 16-bit value, is negative or past
    // the table.
    cTool* GetTool(int32_t id) const;
    UndoManager& GetUndoManager() { return mUndo; }

private:
    std::array<std::unique_ptr<cTool>, kToolCount> mTools;
    UndoManager mUndo;
};
