// A small lot for the floor, pool, terrain and move tool tests: a world with
// its rooms, fixed prices, a purse, a shell, a keyboard, a manual clock, a
// recording view and sound player, and a lot whose objects answer from a
// table the test fills.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/cRZKeyboard.h"
#include "gamedata/RoomManager.h"
#include "support/PriceTable.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"
#include "world/tools/BuildToolContext.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cToolSet.h"

namespace tova_test {

// The prices the tool tests use: floor 1 at 100, 2 at 30, 3 at 50; pool
// tiles at 40.
struct FixedPrices : PriceTable {
    FixedPrices() {
        floors = {{1, 100}, {2, 30}, {3, 50}};
        pool = 40;
    }
};

// Objects by world tile (x, y, level); each flag set lists the tiles where
// it holds.
class TableObjects : public iToolObjects {
public:
    using Key = std::tuple<int, int, int>;
    std::set<Key> noFloorUnder, noFloorRemoval, noStandingWithoutFloor, noBuildingUnder, blocksTerrain,
        blocksPoolRemoval, present;
    std::vector<ToolObjectGroup> groups;
    std::set<uint16_t> occupiedRooms;

    static Key K(TileLocation t) { return {t.x, t.y, t.level}; }
    bool AllowsFloorUnder(TileLocation t) const override { return !noFloorUnder.count(K(t)); }
    bool AllowsFloorRemoval(TileLocation t) const override { return !noFloorRemoval.count(K(t)); }
    bool AllowsStandingWithoutFloor(TileLocation t) const override { return !noStandingWithoutFloor.count(K(t)); }
    bool AllowsBuildingUnder(TileLocation t) const override { return !noBuildingUnder.count(K(t)); }
    bool BlocksTerrain(TileLocation t) const override { return blocksTerrain.count(K(t)) != 0; }
    bool BlocksPoolRemoval(TileLocation t) const override { return blocksPoolRemoval.count(K(t)) != 0; }
    bool HasObject(TileLocation t) const override { return present.count(K(t)) != 0; }
    void GroupsAt(TileLocation t, std::vector<ToolObjectGroup>& out) const override {
        for (const ToolObjectGroup& g : groups)
            for (const TileLocation& p : g.partTiles)
                if (p.x == t.x && p.y == t.y && p.level == t.level) {
                    out.push_back(g);
                    break;
                }
    }
    bool PersonInRoom(uint16_t room) const override { return occupiedRooms.count(room) != 0; }
};

// Markers as a log: "create G V" gives ids from 1, then "show ID X Y",
// "hide ID", "variant ID V", "delete ID".
class LogMarkers : public iToolMarkers {
public:
    std::vector<std::string> log;
    int32_t next = 1;
    std::map<int32_t, std::pair<int, int>> shown;  // live markers on a tile
    int32_t CreateMarker(uint32_t, int32_t variant) override {
        log.push_back("create " + std::to_string(variant));
        return next++;
    }
    void SetVariant(int32_t id, int32_t variant) override {
        log.push_back("variant " + std::to_string(id) + " " + std::to_string(variant));
    }
    void ShowMarker(int32_t id, TileLocation t) override {
        shown[id] = {t.x, t.y};
        log.push_back("show " + std::to_string(id) + " " + std::to_string(t.x) + " " + std::to_string(t.y));
    }
    void HideMarker(int32_t id) override {
        shown.erase(id);
        log.push_back("hide " + std::to_string(id));
    }
    void DeleteMarker(int32_t id) override {
        shown.erase(id);
        log.push_back("delete " + std::to_string(id));
    }
};

inline tova::FinePoint Centre(int x, int y) { return {x * 16 + 8, y * 16 + 8}; }

class BuildToolFixture : public ::testing::Test {
protected:
    BuildToolFixture() : world(24, Services()), lot(world), rooms(tova::LotServices{&lot}) {}

    WorldServices Services() {
        WorldServices s;
        s.prices = &prices;
        s.rooms = &rooms;
        return s;
    }
    void SetUp() override {
        GetBuildToolContext() = BuildToolContext{&objects, &markers, 3, false};
        services = {&world, &shell, &money, &keyboard, &clock, &viewer};
        set = std::make_unique<cToolSet>(services);
        world.RecomputeRooms(0);
    }
    void TearDown() override {
        SetCurrentTool(nullptr);
        GetBuildToolContext() = BuildToolContext{};
    }
    cTool* Tool(int id) { return set->GetTool(id); }
    UndoManager& Undo() { return set->GetUndoManager(); }
    void Hold(uint32_t vk) { keyboard.KeyDown(vk); }
    void Release(uint32_t vk) { keyboard.KeyUp(vk); }
    void AddSide(int x, int y, int32_t side, int level = 1) {
        WallInfo info = world.GetWallInfo(TileLocation::At(x, y, level));
        info.flags |= side;
        info.style[WallSideIndex(side)] = 1;
        world.SetWallInfo(TileLocation::At(x, y, level), info);
    }
    void AddDiagonal(int x, int y, int32_t diagonal) {
        WallInfo info = world.GetWallInfo(TileLocation::At(x, y, 1));
        info.flags |= diagonal;
        info.style[WallSideIndex(diagonal)] = 1;
        world.SetWallInfo(TileLocation::At(x, y, 1), info);
    }
    // Walls round tiles x0..x1, y0..y1.
    void AddRoom(int x0, int y0, int x1, int y1) {
        for (int x = x0; x <= x1; ++x) {
            AddSide(x, y0, kWallSide2);
            AddSide(x, y1, kWallSide8);
        }
        for (int y = y0; y <= y1; ++y) {
            AddSide(x0, y, kWallSide1);
            AddSide(x1, y, kWallSide4);
        }
    }
    // A press, drags through the points and a release, as the view sends them.
    void Gesture(cTool& tool, const std::vector<tova::FinePoint>& points) {
        tool.MouseDown(points.front(), 0, plain);
        tool.Drag(points.front(), 0, plain);
        for (size_t i = 1; i < points.size(); ++i) tool.Drag(points[i], 0, plain);
        tool.MouseUp(points.back(), 0, plain);
        if (tool.GetPending() != 0) {
            tool.PlayBuyMoneyBack();
            tool.BookPending();
        }
    }

    FixedPrices prices;
    TableObjects objects;
    LogMarkers markers;
    cFixedWorld world;
    cLotWorld lot;
    tova::RoomManager rooms;
    RecordingSoundPlayer sound;
    ManualClock clock;
    FakeShell shell;
    FakeMoney money;
    cRZKeyboard keyboard;
    RecordingViewer viewer;
    ToolServices services;
    std::unique_ptr<cToolSet> set;
    ToolMouseEvent plain;
};

}  // namespace tova_test
