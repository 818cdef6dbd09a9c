#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedata/Commander.h"
#include "gamedata/RoomManager.h"
#include "support/RecordingViewer.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"
#include "world/TileAt.h"

using tova::RoomManager;

namespace {

using tova_test::T;

class Listener : public tova::Commander {
public:
    int16_t DoCommand(int32_t command, intptr_t argument) override {
        if (static_cast<int16_t>(command) == tova::cmd::kRoomsRecomputed) heard.push_back(static_cast<int32_t>(argument));
        return 0;
    }
    std::vector<int32_t> heard;
};

class RoomDetection : public ::testing::Test {
protected:
    explicit RoomDetection(int size = 16) : world(size, Services()), lot(world), rooms(tova::LotServices{&lot}) {}

    WorldServices Services() {
        WorldServices s;
        s.rooms = &rooms;
        s.debugLog = [this](const std::string& line) { log.push_back(line); };
        return s;
    }
    void AddSide(int x, int y, int32_t side, int style = 1, int level = 1) {
        WallInfo info = world.GetWallInfo(T(x, y, level));
        info.flags |= side;
        info.style[WallSideIndex(side)] = style;
        world.SetWallInfo(T(x, y, level), info);
    }
    void AddDiagonal(int x, int y, int32_t diagonal, int style = 1) {
        WallInfo info = world.GetWallInfo(T(x, y));
        info.flags |= diagonal;
        info.style[WallSideIndex(diagonal)] = style;
        world.SetWallInfo(T(x, y), info);
    }
    // Walls round tiles x0..x1, y0..y1, floors inside.
    void AddRoom(int x0, int y0, int x1, int y1, int style = 1, int level = 1) {
        for (int x = x0; x <= x1; ++x) {
            AddSide(x, y0, kWallSide2, style, level);
            AddSide(x, y1, kWallSide8, style, level);
        }
        for (int y = y0; y <= y1; ++y) {
            AddSide(x0, y, kWallSide1, style, level);
            AddSide(x1, y, kWallSide4, style, level);
        }
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) world.Floors(level)->At(x, y) = 3;
    }
    uint16_t Room(int x, int y, int level = 1) { return world.Rooms(level)->At(x, y); }
    uint8_t Flags(int x, int y, int level = 1) { return world.Flags(level)->At(x, y); }
    size_t TileCount(int16_t id) {
        tova::Room* r = rooms.FindRoom(id);
        return r ? r->GetTiles().size() : 0;
    }

    std::vector<std::string> log;
    // The world keeps the manager's address; it records rooms only on detection.
    cFixedWorld world;
    cLotWorld lot;
    RoomManager rooms;
};

TEST_F(RoomDetection, EmptyLotIsOneOutsideRegionPerLevel) {
    world.Flags(1)->At(3, 3) = 0xFF;  // all but 0x08 and 0x20 are recomputed
    world.RecomputeRooms(0);
    EXPECT_EQ(world.GetRoomCount(1), 1);
    EXPECT_EQ(world.GetRoomCount(2), 1);
    EXPECT_EQ(TileCount(0), 16u * 16u);
    EXPECT_EQ(TileCount(1024), 16u * 16u);
    for (int x = 0; x < 16; ++x) {
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(Room(x, y), 0);
            EXPECT_EQ(Room(x, y, 2), 1024);
            const bool interior = x >= 1 && y >= 1 && x <= 14 && y <= 14;
            const uint8_t kept = x == 3 && y == 3 ? 0x28 : 0;
            EXPECT_EQ(Flags(x, y), kept | 0x06 | (interior ? 0x01 : 0)) << x << "," << y;
            // Only the kept 0x08 below (3, 3) lets the upper storey stand there.
            EXPECT_EQ(Flags(x, y, 2) & 0x01, kept ? 1 : 0) << x << "," << y;
        }
    }
    EXPECT_FALSE(world.UpperStoreyUsed());
    EXPECT_TRUE(rooms.FindRoom(0)->IsOutdoors());
}

TEST_F(RoomDetection, WalledRoomOfNineTiles) {
    AddRoom(4, 4, 6, 6);
    Listener listener;
    world.RecomputeRooms(1);
    EXPECT_EQ(listener.heard, std::vector<int32_t>{1});
    EXPECT_EQ(world.GetRoomCount(1), 2);
    EXPECT_EQ(Room(4, 4), 1) << "the outside is found first, at (0, 0)";
    EXPECT_EQ(TileCount(1), 9u);
    for (int x = 4; x <= 6; ++x)
        for (int y = 4; y <= 6; ++y) EXPECT_EQ(Flags(x, y) & 0x06, 0);
    EXPECT_EQ(Flags(3, 4) & 0x06, 0x06);
    EXPECT_FALSE(rooms.FindRoom(1)->IsOutdoors());
    EXPECT_EQ(world.WallPosts(1)->At(4, 4), world.GetCornerWallMask(4, 4, 1)) << "posts recomputed";
    EXPECT_FALSE(world.GetWallManager().Walls(1).empty()) << "walls rebuilt";
}

TEST_F(RoomDetection, CommandRunsTheDetection) {
    AddRoom(4, 4, 6, 6);
    tova::Broadcast(kCmdRecomputeRooms, 0);
    EXPECT_EQ(Room(5, 5), 1);
    EXPECT_EQ(world.GetRoomCount(2), 1);
}

TEST_F(RoomDetection, PoolAndDryFloorsAreTwoRooms) {
    AddRoom(4, 4, 7, 5);
    for (int y = 4; y <= 5; ++y)
        for (int x = 6; x <= 7; ++x) world.GetPoolLayer()->AddPoolTile(T(x, y));
    world.RecomputeRooms(1);
    EXPECT_EQ(world.GetRoomCount(1), 3);
    EXPECT_NE(Room(4, 4), Room(6, 4));
    EXPECT_EQ(TileCount(static_cast<int16_t>(Room(4, 4))), 4u);
    EXPECT_EQ(TileCount(static_cast<int16_t>(Room(7, 5))), 4u);
}

TEST_F(RoomDetection, DiagonalSplitsARoom) {
    // A 3 by 3 room cut corner to corner by 0x20 diagonals on (4,4), (5,5), (6,6).
    AddRoom(4, 4, 6, 6);
    for (int i = 4; i <= 6; ++i) AddDiagonal(i, i, kWallDiag32);
    world.RecomputeRooms(1);
    EXPECT_EQ(world.GetRoomCount(1), 3);
    const uint16_t below = Room(4, 6), above = Room(6, 4);
    EXPECT_NE(below, above);
    for (int i = 4; i <= 6; ++i) {
        EXPECT_EQ(Room(i, i), 0xFFFB);
        int16_t a = 0, b = 0;
        int32_t sa = 0, sb = 0;
        ASSERT_TRUE(rooms.GetSplitTile(T(i, i), a, b, sa, sb)) << i;
        EXPECT_EQ(a, static_cast<int16_t>(below)) << "the lower left half is found first";
        EXPECT_EQ(sa, 3);
        EXPECT_EQ(b, static_cast<int16_t>(above));
        EXPECT_EQ(sb, 1);
    }
    EXPECT_EQ(TileCount(static_cast<int16_t>(below)), 6u);
    EXPECT_EQ(TileCount(static_cast<int16_t>(above)), 6u);
}

TEST_F(RoomDetection, DiagonalInsideOneRoomLeavesTheTileWhole) {
    AddRoom(4, 4, 6, 6);
    AddDiagonal(5, 5, kWallDiag16);
    world.RecomputeRooms(1);
    EXPECT_EQ(world.GetRoomCount(1), 2);
    EXPECT_EQ(Room(5, 5), 1);
    int16_t a = 0, b = 0;
    int32_t sa = 0, sb = 0;
    EXPECT_FALSE(rooms.GetSplitTile(T(5, 5), a, b, sa, sb));
    EXPECT_EQ(TileCount(1), 9u);
}

TEST_F(RoomDetection, FenceClosesARoomButNotTheOutside) {
    AddRoom(4, 4, 6, 6, /*style*/ 2);
    world.RecomputeRooms(1);
    EXPECT_EQ(world.GetRoomCount(1), 2);
    EXPECT_EQ(Room(5, 5), 1);
    EXPECT_EQ(Flags(5, 5) & 0x06, 0x06);
    EXPECT_TRUE(rooms.FindRoom(1)->IsOutdoors());
}

TEST_F(RoomDetection, ClosingDiagonalLetsTheOutsideIntoOneHalf) {
    // An open-cornered pen: the diagonal (4,4) closes the corner.
    AddRoom(4, 4, 6, 6);
    WallInfo info = world.GetWallInfo(T(4, 4));
    info.flags &= ~(kWallSide1 | kWallSide2);
    world.SetWallInfo(T(4, 4), info);
    AddDiagonal(4, 4, kWallDiag16);
    world.RecomputeRooms(1);
    EXPECT_EQ(Flags(4, 4) & 0xC6, 0x40 | 0x06);
    EXPECT_EQ(Flags(5, 5) & 0x06, 0);
    EXPECT_EQ(Room(4, 4), 0xFFFB);
}

TEST_F(RoomDetection, UpperStoreySupport) {
    AddRoom(4, 4, 6, 6);
    world.Floors(2)->At(5, 5) = 3;
    world.Floors(2)->At(8, 5) = 3;
    tova_test::RecordingViewer viewer;
    world.GetWallManager().SetView(&viewer);
    world.RecomputeRooms(0);
    EXPECT_TRUE(world.UpperStoreyUsed());
    EXPECT_TRUE(world.UpperStoreySupported());
    EXPECT_EQ(Flags(5, 5, 2) & 0x01, 0x01) << "above an indoor tile";
    EXPECT_EQ(Flags(7, 5, 2) & 0x01, 0x01) << "beside an upper floor, next to an indoor tile";
    EXPECT_EQ(Flags(9, 5, 2) & 0x01, 0x00) << "beside an upper floor, but three tiles from indoors";
    EXPECT_EQ(Flags(12, 12, 2) & 0x01, 0x00);
    bool redrawn = false;
    for (const TileLocation& t : viewer.redrawnTiles) redrawn |= t.x == 5 && t.y == 5 && t.level == 2;
    EXPECT_TRUE(redrawn);
    world.GetWallManager().SetView(nullptr);
}

TEST_F(RoomDetection, SlopedTilesCarryNothing) {
    world.SetCornerHeight(5, 5, 20);
    world.RecomputeRooms(1);
    EXPECT_EQ(Flags(4, 4) & 0x01, 0);
    EXPECT_EQ(Flags(5, 5) & 0x01, 0);
    EXPECT_EQ(Flags(6, 6) & 0x01, 0x01);
}

class ManyRooms : public RoomDetection {
protected:
    ManyRooms() : RoomDetection(48) {}
};

TEST_F(ManyRooms, TheThousandAndTwentyFifthRegionStaysUnnumbered) {
    // A checkerboard of pool tiles: every tile is a region of its own.
    for (int x = 0; x < 48; ++x)
        for (int y = 0; y < 48; ++y)
            if ((x + y) % 2) world.GetPoolLayer()->AddPoolTile(T(x, y));
    world.RecomputeRooms(1);
    EXPECT_EQ(world.GetRoomCount(1), 1024);
    // Regions are found x outer, y inner: region 1024 starts at x 21, y 16.
    EXPECT_EQ(Room(21, 15), 1023);
    EXPECT_EQ(Room(21, 16), 0xFFFC);
    EXPECT_EQ(Room(47, 47), 0xFFFC);
    EXPECT_EQ(rooms.FindRoom(1024), nullptr) << "level 2's first number stays free";
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("1024"), std::string::npos);
}

}  // namespace
