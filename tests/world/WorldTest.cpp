#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "world/cRotatableWorld.h"
#include "world/walls/WallManager.h"
#include "world/TileAt.h"

namespace {

// Hears every broadcast while it lives.
struct RecordingReceiver : tova::Commander {
    std::vector<std::pair<int32_t, intptr_t>> sent;
    int16_t DoCommand(int32_t command, intptr_t argument) override {
        sent.emplace_back(command, argument);
        return 0;
    }
};

struct RecordingNeighbours : iWorldNeighbours {
    std::vector<std::pair<int32_t, int32_t>> shifts;
    int shading = 0;
    void ShiftObjects(int32_t dx, int32_t dy) override { shifts.emplace_back(dx, dy); }
    void BuildShadingTables() override { ++shading; }
};

struct FlatPrices : iWorldPrices {
    int32_t WallPrice(int32_t type) const override { return type == 1 ? 10 : 40; }
    int32_t WallpaperPrice(int32_t pattern) const override { return pattern == 0 ? 0 : 3; }
    int32_t FloorPrice(int32_t pattern) const override { return pattern * 2; }
    int32_t PoolTilePrice() const override { return 100; }
};

using tova_test::T;

FinePoint Fine(int tileX, int fx, int tileY, int fy) { return FinePoint{tileX * 16 + fx, tileY * 16 + fy}; }

}  // namespace

TEST(World, ResizeRefusesSizesOutsideTheRange) {
    cFixedWorld world(40);
    EXPECT_FALSE(world.ResizeLayers(3));
    EXPECT_FALSE(world.ResizeLayers(65));
    EXPECT_FALSE(world.ResizeLayers(-1));
    EXPECT_EQ(world.GetSize(), 40);
    EXPECT_TRUE(world.ResizeLayers(40));
    EXPECT_THROW(cFixedWorld(2), std::invalid_argument);
}

TEST(World, ShrinkingResetsTheNewEdgeOnly) {
    cFixedWorld world(64);
    world.Floors(1)->At(39, 10) = 5;
    world.Floors(2)->At(10, 39) = 6;
    world.Walls(1)->At(39, 39).mask = kWallSide1;
    world.Flags(1)->At(39, 5) = 0x20;
    world.Altitude().At(39, 5) = AltitudeCell{{1, 2, 3, 4}};
    world.GetPoolLayer()->At(39, 7) = 3;
    world.Floors(1)->At(20, 20) = 8;
    ASSERT_TRUE(world.ResizeLayers(40));
    EXPECT_EQ(world.Floors(1)->At(39, 10), 0);
    EXPECT_EQ(world.Floors(2)->At(10, 39), 0);
    EXPECT_EQ(world.Walls(1)->At(39, 39).mask, 0);
    EXPECT_EQ(world.GetPoolLayer()->At(39, 7), kNoPool);
    EXPECT_EQ(world.Flags(1)->At(39, 5), 0x20) << "flags keep their values";
    EXPECT_EQ(world.Altitude().At(39, 5), (AltitudeCell{{1, 2, 3, 4}}));
    EXPECT_EQ(world.Floors(1)->At(20, 20), 8);
    EXPECT_EQ(world.LightTable(1)->At(39, 3).offset[0], kNoLight);
}

TEST(World, AltitudeInterpolationOnBothTriangles) {
    cFixedWorld world(64);
    // corner (x,y)=10, (x+1,y)=26, (x+1,y+1)=42, (x,y+1)=58
    world.Altitude().At(5, 5) = AltitudeCell{{58, 10, 26, 42}};
    EXPECT_FLOAT_EQ(world.GetAltitudeAt(Fine(5, 0, 5, 0)), 10.0f);
    EXPECT_FLOAT_EQ(world.GetAltitudeAt(Fine(5, 15, 5, 0)), 10.0f + 15.0f * 16.0f / 16.0f);
    EXPECT_FLOAT_EQ(world.GetAltitudeAt(Fine(5, 8, 5, 8)), 10.0f + 8.0f * 32.0f / 16.0f) << "on the diagonal";
    // fx > fy: the (x+1, y) triangle
    EXPECT_FLOAT_EQ(world.GetAltitudeAt(Fine(5, 12, 5, 4)), 10.0f + 12.0f * 16.0f / 16.0f + 4.0f * 16.0f / 16.0f);
    // fx < fy: the (x, y+1) triangle
    EXPECT_FLOAT_EQ(world.GetAltitudeAt(Fine(5, 4, 5, 12)), 10.0f + 12.0f * 48.0f / 16.0f + 4.0f * -16.0f / 16.0f);
    EXPECT_FLOAT_EQ(world.GetAltitudeAt(FinePoint{3, -5}), 0.0f) << "outside the layer";
}

TEST(World, AltitudeCornersFollowTheRotation) {
    cRotatableWorld world(64);
    world.Altitude().At(10, 20) = AltitudeCell{{1, 2, 3, 4}};
    world.SetRotation(1, false);
    EXPECT_EQ(world.GetAltitudeCorners(T(63 - 20, 10)), 0x03020104u) << "rotated left by 8 bits";
    // Writing through any rotation lands in the same world cell.
    for (int r = 0; r < 4; ++r) {
        world.SetRotation(r, true);
        const TileLocation view = world.WorldToView(T(30, 31));
        EXPECT_EQ(world.ViewToWorld(view), T(30, 31));
        world.SetAltitudeCorners(view, 0x0A0B0C0Du + static_cast<uint32_t>(r));
        EXPECT_EQ(world.GetAltitudeCorners(view), 0x0A0B0C0Du + static_cast<uint32_t>(r));
    }
    world.SetRotation(0, true);
    EXPECT_EQ(world.GetAltitudeCorners(T(30, 31)), world.Altitude().At(30, 31).Packed());
}

TEST(World, SetAltitudeCornersSharesCornersAndStaysInside) {
    cFixedWorld world(64);
    world.SetAltitudeCorners(T(5, 5), AltitudeCell{{40, 10, 20, 30}}.Packed());
    EXPECT_EQ(world.Altitude().At(4, 5).corner[2], 10);
    EXPECT_EQ(world.Altitude().At(4, 5).corner[3], 40);
    EXPECT_EQ(world.Altitude().At(6, 6).corner[1], 30);
    EXPECT_EQ(world.Altitude().At(4, 4).corner[3], 10);
    EXPECT_EQ(world.Altitude().At(6, 4).corner[0], 20);
    // Corner tiles of the layer write no neighbours outside it.
    world.SetAltitudeCorners(T(0, 0), 0x01010101u);
    world.SetAltitudeCorners(T(63, 63), 0x02020202u);
    world.SetCornerHeight(0, 0, 5);
    world.SetCornerHeight(64, 64, 5);
    EXPECT_EQ(world.Altitude().At(63, 63).corner[3], 5);
}

TEST(World, OutsideWorldComparesTheWholeCoordinate) {
    cFixedWorld world(40);
    EXPECT_FALSE(world.IsOutsideWorld(0, 0));
    EXPECT_FALSE(world.IsOutsideWorld(39 * 16 + 15, 5));
    EXPECT_TRUE(world.IsOutsideWorld(40 * 16, 5));
    EXPECT_TRUE(world.IsOutsideWorld(-1, 5));
    EXPECT_TRUE(world.IsOutsideWorld(261 * 16, 5)) << "tile 261 is not tile 5";
}

TEST(World, PoolAndWaterOnlyOnTheGroundStorey) {
    cFixedWorld world(64);
    world.GetPoolLayer()->At(3, 3) = 5;
    world.GetPoolLayer()->At(4, 4) = kPoolMark;
    world.GetWaterLayer()->At(3, 3) = 0;
    EXPECT_TRUE(world.HasPool(T(3, 3)));
    EXPECT_FALSE(world.HasPool(T(4, 4)));
    EXPECT_TRUE(world.IsPoolOrMarked(T(4, 4)));
    EXPECT_TRUE(world.HasWater(T(3, 3)));
    EXPECT_FALSE(world.HasPool(T(3, 3, 2)));
    EXPECT_FALSE(world.HasWater(T(3, 3, 2)));
    EXPECT_FALSE(world.HasPool(T(-3, 3)));
}

TEST(World, FitsWallsCases) {
    cFixedWorld world(64);
    // A corner at (10,10): walls on sides 1 and 2; a fence on side 4 of (12,10).
    WallInfo corner;
    corner.flags = kWallSide1 | kWallSide2;
    corner.style[0] = corner.style[1] = 1;
    world.SetWallInfo(T(10, 10), corner);
    WallInfo fence;
    fence.flags = kWallSide4;
    fence.style[2] = 2;
    world.SetWallInfo(T(12, 10), fence);
    WallInfo diagonal;
    diagonal.flags = kWallDiag16;
    diagonal.style[4] = 1;
    world.SetWallInfo(T(14, 14), diagonal);

    struct Case {
        const char* what;
        int x, y, facing, flags;
        bool fits;
        int code;
    };
    const Case cases[] = {
        {"no needs", 20, 20, 0, 0, true, -1},
        {"needs a corner, has one", 10, 10, 0, kNeedsCorner, true, -1},
        {"needs a corner, open tile", 20, 20, 0, kNeedsCorner, false, kPlaceNeedsCorner},
        {"not in a corner", 10, 10, 0, kNotInCorner, false, kPlaceNotInCorner},
        {"needs side 2 wall", 10, 10, 0, kNeedsWallSide2, true, -1},
        {"needs side 8 wall, none", 10, 10, 0, kNeedsWallSide8, false, kPlaceNeedsWall},
        {"refuses side 1 wall", 10, 10, 0, kRefusesWallSide1, false, kPlaceWallInTheWay},
        {"needs a full wall, fence there", 12, 10, 0, kNeedsWallSide4, false, kPlaceNeedsFullWall},
        {"facing turns the needs", 10, 10, 2, kNeedsWallSide8, true, -1},
        {"needs a diagonal", 20, 20, 0, kNeedsDiagonal, false, kPlaceNeedsDiagonal},
        {"diagonal not allowed", 14, 14, 0, 0, false, kPlaceWallInTheWay},
        {"diagonal allowed", 14, 14, 0, kAllowsDiagonal, true, -1},
    };
    for (const Case& c : cases) {
        int32_t code = -1;
        EXPECT_EQ(world.FitsWalls(Fine(c.x, 8, c.y, 8), 1, c.facing, c.flags, code), c.fits) << c.what;
        EXPECT_EQ(code, c.code) << c.what;
    }
}

TEST(World, BoxCrossesWall) {
    cFixedWorld world(64);
    WallInfo w;
    w.flags = kWallSide1;
    w.style[0] = 1;
    world.SetWallInfo(T(10, 10), w);  // line x = 160
    EXPECT_TRUE(world.BoxCrossesWall(FineBox{150, 170, 165, 170}, 1));
    EXPECT_FALSE(world.BoxCrossesWall(FineBox{160, 170, 165, 170}, 1)) << "touching is not crossing";
    EXPECT_FALSE(world.BoxCrossesWall(FineBox{150, 170, 165, 170}, 2));
    w.style[0] = 3;  // a door stands in it
    world.SetWallInfo(T(10, 10), w);
    EXPECT_FALSE(world.BoxCrossesWall(FineBox{150, 170, 165, 170}, 1));
}

TEST(World, ShiftMovesLayersWithTheirTiles) {
    RecordingNeighbours neighbours;
    WorldServices services;
    services.neighbours = &neighbours;
    cFixedWorld world(20, services);
    world.Shift(0, 0);
    EXPECT_TRUE(neighbours.shifts.empty());
    world.Floors(1)->At(5, 5) = 9;
    world.Floors(1)->At(18, 3) = 4;
    world.GetPoolLayer()->At(6, 6) = 2;
    world.Walls(1)->At(2, 4).mask = kWallSide1;  // points at (1, 4), which takes the cells of (0, 4)
    world.Shift(1, 0);
    ASSERT_EQ(neighbours.shifts.size(), 1u);
    EXPECT_EQ(world.Floors(1)->At(6, 5), 9);
    EXPECT_EQ(world.Floors(1)->At(5, 5), 0);
    EXPECT_EQ(world.GetPoolLayer()->At(7, 6), 2);
    EXPECT_EQ(world.GetPoolLayer()->At(6, 6), kNoPool);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(world.Floors(1)->At(0, y), 0);
        EXPECT_EQ(world.Floors(1)->At(19, y), 0) << "border column takes the fill";
    }
    EXPECT_EQ(world.Walls(1)->At(3, 4).mask, kWallSide1) << "moved with its tile";
    world.Shift(1, 0);
    EXPECT_EQ(world.Walls(1)->At(4, 4).mask, kWallSide1) << "its side 1 still has a tile behind it";
    EXPECT_EQ(world.DoCommand(kCmdShiftWorld, (static_cast<intptr_t>(0xFF) << 16) | 0x01), 1);
    EXPECT_EQ(neighbours.shifts.back(), std::make_pair(1, -1));
}

// A wall that comes to stand beside a tile filled from outside loses the
// side toward that tile and keeps its others.
TEST(World, ShiftClearsSidesTowardFilledTiles) {
    struct Case {
        int dx, dy;
        int x, y;  // before the shift
        uint8_t mask, after;
    };
    const Case cases[] = {
        {1, 0, 0, 9, kWallSide1 | kWallSide2, kWallSide2},
        {-1, 0, 19, 9, kWallSide4 | kWallSide8, kWallSide8},
        {0, 1, 9, 0, kWallSide2 | kWallSide4, kWallSide4},
        {0, -1, 9, 19, kWallSide8 | kWallSide4, kWallSide4},
    };
    for (const Case& c : cases) {
        for (int level = 1; level <= 2; ++level) {
            cFixedWorld world(20);
            world.Walls(level)->At(c.x, c.y).mask = c.mask;
            world.Shift(c.dx, c.dy);
            EXPECT_EQ(world.Walls(level)->At(c.x + c.dx, c.y + c.dy).mask, c.after) << c.dx << "," << c.dy;
        }
    }
}

TEST(World, ComputeValueAndBuiltSomething) {
    FlatPrices prices;
    WorldServices services;
    services.prices = &prices;
    cFixedWorld world(20, services);
    bool built = true;
    EXPECT_EQ(world.ComputeValue(built), 0);
    EXPECT_FALSE(built);
    WallInfo w;
    w.flags = kWallSide1;
    w.style[0] = 1;
    w.pattern[0] = 5;
    world.SetWallInfo(T(5, 5), w);  // marked in (5,5) and (4,5): wall counted twice, halved
    world.Floors(1)->At(8, 8) = 7;
    world.GetPoolLayer()->At(9, 9) = 0;
    EXPECT_EQ(world.ComputeValue(built), 10 + 3 + 14 + 100);
    EXPECT_TRUE(built);
    world.MarkOutsideArea(6, 0, 0, 0);
    EXPECT_EQ(world.ComputeValue(built), 14 + 100);
}

TEST(World, MarkOutsideArea) {
    cFixedWorld world(20);
    world.MarkOutsideArea(2, 3, 4, 5);
    auto outside = [&](int x, int y) { return (world.Flags(1)->At(x, y) & kTileOutsideArea) != 0; };
    EXPECT_TRUE(outside(2, 10));
    EXPECT_FALSE(outside(3, 10));
    EXPECT_FALSE(outside(13, 10));
    EXPECT_TRUE(outside(14, 10));
    EXPECT_TRUE(outside(10, 3));
    EXPECT_FALSE(outside(10, 4));
    EXPECT_FALSE(outside(10, 14));
    EXPECT_TRUE(outside(10, 15));
    world.MarkOutsideArea(0, 0, 0, 0);
    EXPECT_FALSE(outside(3, 10));
}

TEST(World, CommandsBroadcastWhatChanged) {
    RecordingNeighbours neighbours;
    WorldServices services;
    services.neighbours = &neighbours;
    cRotatableWorld world(30, services);
    RecordingReceiver sink;
    EXPECT_EQ(neighbours.shading, 1);
    struct Case {
        int32_t command;
        std::vector<int32_t> broadcasts;
    };
    const Case cases[] = {
        {kCmdFlattenTerrain, {133, 131}}, {kCmdRandomTerrain, {133, 131}}, {kCmdFillGround, {131}},
        {kCmdClearGround, {131}},         {kCmdRandomGround, {}},          {kCmdGrowGrass, {134, 131}},
        {kCmdRecomputeRooms, {240}},
    };
    for (const Case& c : cases) {
        sink.sent.clear();
        EXPECT_EQ(world.DoCommand(c.command, 0), 1) << c.command;
        std::vector<int32_t> got;
        for (auto& s : sink.sent) got.push_back(s.first);
        EXPECT_EQ(got, c.broadcasts) << c.command;
    }
    EXPECT_EQ(world.GetRoomCount(1), 1) << "room detection ran on both storeys";
    EXPECT_EQ(world.GetRoomCount(2), 1);
    EXPECT_EQ(world.DoCommand(999, 0), 0);
    // The world hears commands broadcast by others.
    EXPECT_TRUE(tova::Broadcast(kCmdClearGround, 0));
    EXPECT_EQ(world.Ground().At(7, 7), 0);
    world.DoCommand(0x10000 | kCmdFillGround, 0);
    EXPECT_EQ(world.Ground().At(7, 7), 4) << "only the low 16 bits name the command";
    world.SetRotation(6, false);
    EXPECT_EQ(world.GetRotation(), 2);
    EXPECT_EQ(world.GetWallManager().GetRotation(), 2);  // the wall display turns with the view
    world.SetRotation(1, true);
    EXPECT_EQ(world.GetWallManager().GetRotation(), 2);
}

TEST(World, ViewBoundsFollowRotation) {
    cRotatableWorld world(20);
    EXPECT_EQ(world.GetViewBounds().minX, 0);
    EXPECT_EQ(world.GetViewBounds().maxX, 19);
    world.SetRotation(1, true);  // (x, y) -> (63 - y, x)
    EXPECT_EQ(world.GetViewBounds().minX, 44);
    EXPECT_EQ(world.GetViewBounds().maxX, 63);
    EXPECT_EQ(world.GetViewBounds().minY, 0);
    EXPECT_EQ(world.GetViewBounds().maxY, 19);
}

TEST(World, FourQuarterTurnsOfWallsAndLayersGiveBackTheOriginal) {
    cRotatableWorld world(64);
    WallInfo w;
    w.flags = kWallSide1 | kWallSide8;
    w.style[0] = 1;
    w.style[3] = 7;
    w.pattern[0] = 12;
    w.pattern[3] = 13;
    world.SetWallInfo(T(20, 21), w);
    const WallInfo stored = world.GetWallInfo(T(20, 21));
    const uint32_t corners = world.GetAltitudeCorners(T(20, 21));
    TileLocation view = T(20, 21);
    WallInfo turned = stored;
    for (int r = 1; r <= 4; ++r) {
        world.SetRotation(r, true);
        turned.Rotate(1);
        const GridPoint p = RotateGridCoords(view.x, view.y, 1, 64);
        view = T(p.x, p.y);
        EXPECT_EQ(world.ViewToWorld(view), T(20, 21));
        world.SetWallInfo(world.ViewToWorld(view), turned);
    }
    EXPECT_EQ(view, T(20, 21));
    world.SetRotation(1, true);
    const WallInfo atView = world.GetWallInfoAtView(world.WorldToView(T(20, 21)));
    EXPECT_EQ(atView.rotation, 1);
    EXPECT_EQ(atView.flags, kWallSide2 | kWallSide1) << "sides 1 and 8 seen one turn on";
    world.SetWallInfo(T(20, 21), atView);
    world.SetRotation(0, true);
    EXPECT_EQ(turned.rotation, 0);
    EXPECT_EQ(world.GetWallInfo(T(20, 21)), stored);
    EXPECT_EQ(world.GetAltitudeCorners(view), corners);
}
