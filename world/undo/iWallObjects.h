// What the wall and wallpaper tools need of the live objects: the objects
// standing on a tile (with everything they hold) as the wall rules read
// them, selling an object that stands in a wall, and the 3D wall cursor.
// The object module implements it; tests use a recording fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gamedata/TilePosition.h"

class iUndoObjects;

// Definition types the wall rules tell apart.
enum : int32_t {
    kObjectTypePerson = 2,
    kObjectTypeInWall = 8,     // a door, window or other object standing in a wall
    kObjectTypeUnderDiagonal = 9,  // may stay under a new diagonal wall
};

struct WallObjectInfo {
    int16_t id = 0;
    bool person = false;
    // The object, or any part of its multi-tile group, is in use.
    bool inUse = false;
    int32_t type = 0;       // the definition's object type
    int32_t wallFlags = 0;  // needs-wall bits 1, 2, 4, 8 and no-wall bits 0x100-0x800
    int32_t facing = 0;     // direction 0..7
};

class iWallObjects {
public:
    virtual ~iWallObjects() = default;
    // Every object at a world tile and everything each holds.
    virtual std::vector<WallObjectInfo> ObjectsAt(tova::TileLocation worldTile) const = 0;
    // The removal test of an object standing in a wall: false when it
    // refuses to go with its wall.
    virtual bool AllowsWallRemoval(int16_t id) = 0;
    virtual int32_t GetSaleValue(int16_t id) const = 0;
    // The object deletes itself; leaving, it writes the plain style back
    // into its wall.
    virtual void DeleteSelf(int16_t id) = 0;
    // Object undo over the same objects.
    virtual iUndoObjects& UndoObjects() = 0;

    // The wall cursor: made from the named definition on a level (false
    // when there is no such definition), deleted, given its mode, hidden,
    // and stood at a fine position in world coordinates when it fits.
    virtual bool CreateCursor(const std::string& definitionName, int32_t level) = 0;
    virtual void DeleteCursor() = 0;
    virtual void SetCursorMode(int32_t mode) = 0;
    virtual void HideCursor() = 0;
    virtual bool MoveCursor(tova::FinePoint worldFine, int32_t level, int32_t facing) = 0;
};
