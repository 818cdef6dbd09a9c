// Shared by the wall and wallpaper tests: wall and wallpaper prices, and
// live objects on tiles (people, objects in use, objects against walls and
// doors that stand in a wall and write their style into it).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "world/WorldServices.h"
#include "world/cFixedWorld.h"
#include "world/undo/iUndoObjects.h"
#include "world/undo/iWallObjects.h"

namespace tova_test {

inline WorldServices PricedServices(const iWorldPrices* prices) {
    WorldServices services;
    services.prices = prices;
    return services;
}

class WallPrices : public iWorldPrices {
public:
    int32_t WallPrice(int32_t style) const override {
        if (style == 2) return 50;
        if (style >= 12 && style <= 14) return 40;
        return 73;  // plain walls, unsettled or not
    }
    int32_t WallpaperPrice(int32_t pattern) const override { return pattern == 0 ? 0 : 10 + pattern; }
    int32_t FloorPrice(int32_t) const override { return 0; }
    int32_t PoolTilePrice() const override { return 0; }
};

// Objects by id on world tiles of level 1. A door (type 8) writes its style
// into the side it stands in when placed and the plain style when it goes.
class FakeWallObjects : public iWallObjects, public iUndoObjects {
public:
    struct Object {
        WallObjectInfo info;
        tova::TileLocation tile;
        int32_t sale = 0;
        bool refusesRemoval = false;
        int32_t doorSide = 0;  // world side of the wall a door stands in
        int32_t doorStyle = 3;
        bool onLot = true;
    };
    explicit FakeWallObjects(cFixedWorld& world) : mWorld(world) {}
    std::map<int16_t, Object> objects;
    std::vector<std::string> log;

    int16_t Add(tova::TileLocation tile, WallObjectInfo info, int32_t sale = 0) {
        int16_t id = 1;
        while (objects.count(id)) ++id;
        info.id = id;
        objects[id] = Object{info, tile, sale};
        return id;
    }
    // A door standing in side 1 of a world tile, its style in the wall.
    int16_t AddDoor(tova::TileLocation tile, int32_t sale) {
        const int16_t id = Add(tile, WallObjectInfo{0, false, false, 8, 8, 0}, sale);
        objects[id].doorSide = 1;
        WriteDoorStyle(objects[id], objects[id].doorStyle);
        return id;
    }

    std::vector<WallObjectInfo> ObjectsAt(tova::TileLocation tile) const override {
        std::vector<WallObjectInfo> out;
        for (const auto& [id, o] : objects)
            if (o.onLot && o.tile.x == tile.x && o.tile.y == tile.y && o.tile.level == tile.level)
                out.push_back(o.info);
        return out;
    }
    bool AllowsWallRemoval(int16_t id) override { return !objects.at(id).refusesRemoval; }
    int32_t GetSaleValue(int16_t id) const override { return objects.at(id).sale; }
    void DeleteSelf(int16_t id) override {
        Object& o = objects.at(id);
        if (o.doorSide != 0) WriteDoorStyle(o, 1);
        log.push_back("sold " + std::to_string(id));
        objects.erase(id);
    }
    iUndoObjects& UndoObjects() override { return *this; }

    std::vector<std::string> cursor;
    bool CreateCursor(const std::string& name, int32_t level) override {
        cursor.push_back("create " + name + " " + std::to_string(level));
        return true;
    }
    void DeleteCursor() override { cursor.push_back("delete"); }
    void SetCursorMode(int32_t mode) override { cursor.push_back("mode " + std::to_string(mode)); }
    void HideCursor() override { cursor.push_back("hide"); }
    bool MoveCursor(tova::FinePoint p, int32_t level, int32_t facing) override {
        cursor.push_back("at " + std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(level) + " " +
                         std::to_string(facing));
        return true;
    }

    // Object undo over the same table; a door re-created remembers the
    // last door that stood in the wall.
    bool Exists(int16_t id) const override { return objects.count(id) != 0; }
    int16_t LeadOf(int16_t id) const override { return id; }
    bool GetPlacement(int16_t id, ObjectPlacement& out) const override {
        const Object& o = objects.at(id);
        out.position = o.tile.GetCenterPoint();
        out.level = o.tile.level;
        out.facing = o.info.facing;
        out.definition = static_cast<uint32_t>(o.sale);  // enough to re-create it
        mRemembered[id] = o;
        return true;
    }
    bool IsArchitecture(int16_t) const override { return true; }
    std::vector<int16_t> SlotObjects(int16_t) const override { return {}; }
    int16_t CreateObject(uint32_t) override {
        int16_t id = 1;
        while (objects.count(id)) ++id;
        Object o = mRemembered.count(id) ? mRemembered[id] : Object{};
        o.onLot = false;
        objects[id] = o;
        log.push_back("create " + std::to_string(id));
        return id;
    }
    void DeleteFromWorld(int16_t id) override { DeleteSelf(id); }
    void DeleteObject(int16_t id) override { objects.erase(id); }
    void RemoveFromWorld(int16_t id) override { objects.at(id).onLot = false; }
    int32_t GetFacing(int16_t id) const override { return objects.at(id).info.facing; }
    void TurnOneStep(int16_t id) override { objects.at(id).info.facing = (objects.at(id).info.facing + 1) & 7; }
    bool CanPlace(int16_t, const ObjectPlacement&) override { return true; }
    bool Place(int16_t id, const ObjectPlacement&) override {
        Object& o = objects.at(id);
        o.onLot = true;
        if (o.doorSide != 0) WriteDoorStyle(o, o.doorStyle);
        log.push_back("placed " + std::to_string(id));
        return true;
    }
    bool IsOnLot(int16_t id) const override { return objects.count(id) && objects.at(id).onLot; }

private:
    void WriteDoorStyle(const Object& o, int32_t style) {
        WallInfo info = mWorld.GetWallInfo(o.tile);
        if (!info.Has(o.doorSide)) return;
        info.style[WallSideIndex(o.doorSide)] = style;
        mWorld.SetWallInfo(o.tile, info);
    }
    cFixedWorld& mWorld;
    mutable std::map<int16_t, Object> mRemembered;
};

}  // namespace tova_test
