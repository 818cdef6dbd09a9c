// What the floor, pool, terrain and move tools ask about the objects on the
// lot, tile by tile in world orientation, plus the two settings of the build
// catalogue they share: the price of one unit of terrain change and the
// build-anywhere switch. The object module answers the questions in the
// game; with no answerer every tile counts as free of objects.
#pragma once

#include <cstdint>
#include <vector>

#include "world/WorldTypes.h"

class iUndoObjects;
namespace tova {
class ObjectDefinition;
class ObjectFolder;
class ObjectModule;
}  // namespace tova

// One multi-tile group standing on a tile: the tiles of all its parts and
// whether it may be carried along when the ground under it changes.
struct ToolObjectGroup {
    std::vector<TileLocation> partTiles;
    bool ignoresTerrain = false;  // object flag 0x100
};

class iToolObjects {
public:
    virtual ~iToolObjects() = default;
    // Every object on the tile (with what stands on it) must agree.
    virtual bool AllowsFloorUnder(TileLocation tile) const = 0;
    virtual bool AllowsFloorRemoval(TileLocation tile) const = 0;
    virtual bool AllowsStandingWithoutFloor(TileLocation tile) const = 0;
    virtual bool AllowsBuildingUnder(TileLocation tile) const = 0;
    virtual bool BlocksTerrain(TileLocation tile) const = 0;
    // An object of placement kind 7 (it holds the pool it stands in).
    virtual bool BlocksPoolRemoval(TileLocation tile) const = 0;
    virtual bool HasObject(TileLocation tile) const = 0;
    virtual void GroupsAt(TileLocation tile, std::vector<ToolObjectGroup>& out) const = 0;
    // True when a person of the house stands in the room.
    virtual bool PersonInRoom(uint16_t room) const = 0;
};

// The marker objects the terrain tools show on the lot: an object of a
// definition in one of its looks, placed on a tile or hidden.
class iToolMarkers {
public:
    virtual ~iToolMarkers() = default;
    // An id other than 0, or 0 when no marker can be made.
    virtual int32_t CreateMarker(uint32_t guid, int32_t variant) = 0;
    virtual void SetVariant(int32_t marker, int32_t variant) = 0;
    virtual void ShowMarker(int32_t marker, TileLocation worldTile) = 0;
    virtual void HideMarker(int32_t marker) = 0;
    virtual void DeleteMarker(int32_t marker) = 0;
};

struct BuildToolContext {
    const iToolObjects* objects = nullptr;
    iToolMarkers* markers = nullptr;
    int32_t terrainPrice = 1;    // money per unit of height
    bool buildAnywhere = false;  // the usable-area limits are off
    // The live objects and the catalogue the move tool buys from, and the
    // object side of its undo records.
    tova::ObjectModule* module = nullptr;
    tova::ObjectFolder* catalogue = nullptr;
    iUndoObjects* undoObjects = nullptr;
    // The cursor definition; null looks up "Tile Cursor" in the catalogue.
    tova::ObjectDefinition* cursorDefinition = nullptr;
};

// The one context of the process; the shell fills it when the catalogue and
// the objects are loaded.
BuildToolContext& GetBuildToolContext();

// The questions above with the empty-lot answers when no answerer is set.
namespace tool_objects {
bool AllowsFloorUnder(TileLocation tile);
bool AllowsFloorRemoval(TileLocation tile);
bool AllowsStandingWithoutFloor(TileLocation tile);
bool AllowsBuildingUnder(TileLocation tile);
bool BlocksTerrain(TileLocation tile);
bool BlocksPoolRemoval(TileLocation tile);
bool HasObject(TileLocation tile);
void GroupsAt(TileLocation tile, std::vector<ToolObjectGroup>& out);
bool PersonInRoom(uint16_t room);
}  // namespace tool_objects
