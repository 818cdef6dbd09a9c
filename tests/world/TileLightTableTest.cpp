// Which lamps reach which floor tile: the square of round(R / 3) tiles, the
// room test (split tiles by either half's room), the two nearest lamps, the
// removal, the shift and the entry as the view reads it.
#include <gtest/gtest.h>

#include "gamedata/RoomManager.h"
#include "world/LotWorld.h"
#include "world/RendererShading.h"
#include "world/cFixedWorld.h"

namespace {

using tova::RoomManager;

constexpr uint16_t kSplit = 0xFFFB;

// A 16-tile lot: room 1 on x 1..8, room 2 on x 9..14, the rest outdoors
// (room 0).
class TileLights : public ::testing::Test {
protected:
    TileLights() : world(16, Services()), lot(world), rooms(tova::LotServices{&lot}) {
        for (int y = 1; y <= 14; ++y)
            for (int x = 1; x <= 14; ++x) world.Rooms(1)->At(x, y) = x <= 8 ? 1 : 2;
    }
    WorldServices Services() {
        WorldServices s;
        s.rooms = &rooms;
        return s;
    }
    TileLightTable& Table() { return *world.LightTable(1); }
    TileLight Entry(int x, int y) { return Table().At(x, y); }
    void Add(int x, int y) { Table().AddLight(TileLocation::At(x, y, 1), world); }
    void Remove(int x, int y) { Table().RemoveLight(TileLocation::At(x, y, 1), world); }
    int CountLit() {
        int n = 0;
        for (const TileLight& e : Table().entries) n += e.Count() > 0 ? 1 : 0;
        return n;
    }

    cFixedWorld world;
    cLotWorld lot;
    RoomManager rooms;
};

::testing::AssertionResult Holds(const TileLight& e, int dx1, int dy1, int dx2 = kNoLight, int dy2 = kNoLight) {
    if (e.offset[0] == dx1 && e.offset[1] == dy1 && e.offset[2] == dx2 && e.offset[3] == dy2)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "entry {" << int(e.offset[0]) << ", " << int(e.offset[1]) << ", "
                                         << int(e.offset[2]) << ", " << int(e.offset[3]) << "}";
}

TEST_F(TileLights, ALampLightsTheSquareOfItsRoom) {
    ASSERT_EQ(tova::RendererLampRange(), 12.0f);
    Add(5, 6);
    // Offsets of the tile from the lamp, up to 4 tiles on either axis.
    EXPECT_TRUE(Holds(Entry(5, 6), 0, 0));
    EXPECT_TRUE(Holds(Entry(7, 4), 2, -2));
    EXPECT_TRUE(Holds(Entry(1, 10), -4, 4));
    EXPECT_TRUE(Holds(Entry(8, 2), 3, -4));
    EXPECT_EQ(Entry(5, 11).Count(), 0) << "five tiles away";
    EXPECT_EQ(Entry(9, 6).Count(), 0) << "another room inside the square";
    // x 1..8 (8 columns) by y 2..10 (9 rows).
    EXPECT_EQ(CountLit(), 8 * 9);
}

TEST_F(TileLights, LampsOnTheBorderAddNothing) {
    for (auto [x, y] : {std::pair{0, 5}, {5, 0}, {15, 5}, {5, 15}, {0, 0}}) {
        world.Rooms(1)->At(x, y) = 1;
        Add(x, y);
    }
    EXPECT_EQ(CountLit(), 0);
    // Next to the border the square stops at it.
    Add(1, 1);
    EXPECT_EQ(Entry(0, 0).Count(), 0);
    EXPECT_EQ(Entry(0, 3).Count(), 0);
    EXPECT_TRUE(Holds(Entry(1, 5), 0, 4));
    EXPECT_EQ(CountLit(), 5 * 5);
}

TEST_F(TileLights, ASplitTileTakesALampOfEitherOfItsRooms) {
    world.Rooms(1)->At(8, 6) = kSplit;
    rooms.AddSplitTile(TileLocation::At(8, 6, 1), 2, 1);
    rooms.AddSplitTile(TileLocation::At(8, 6, 1), 1, 3);
    world.Rooms(1)->At(8, 8) = kSplit;
    rooms.AddSplitTile(TileLocation::At(8, 8, 1), 2, 1);
    rooms.AddSplitTile(TileLocation::At(8, 8, 1), 3, 3);
    Add(5, 6);
    EXPECT_TRUE(Holds(Entry(8, 6), 3, 0)) << "one half is the lamp's room";
    EXPECT_EQ(Entry(8, 8).Count(), 0) << "neither half is";
    Add(11, 8);
    EXPECT_TRUE(Holds(Entry(8, 8), -3, 0));
    EXPECT_TRUE(Holds(Entry(8, 6), 3, 0, -3, -2));
}

TEST_F(TileLights, ALampOnASplitTileLightsTheRoomsOfItsHalves) {
    world.Rooms(1)->At(8, 6) = kSplit;
    rooms.AddSplitTile(TileLocation::At(8, 6, 1), 1, 1);
    rooms.AddSplitTile(TileLocation::At(8, 6, 1), 2, 3);
    world.Rooms(1)->At(6, 6) = kSplit;
    rooms.AddSplitTile(TileLocation::At(6, 6, 1), 5, 1);
    rooms.AddSplitTile(TileLocation::At(6, 6, 1), 6, 3);
    Add(8, 6);
    EXPECT_TRUE(Holds(Entry(5, 6), -3, 0));
    EXPECT_TRUE(Holds(Entry(10, 7), 2, 1));
    EXPECT_EQ(Entry(6, 6).Count(), 0) << "a split tile of other rooms";
}

TEST_F(TileLights, ATileKeepsItsTwoNearestLamps) {
    Add(2, 5);  // (3, 0) from the lamp to tile (5, 5)
    Add(5, 2);  // (0, 3)
    EXPECT_TRUE(Holds(Entry(5, 5), 3, 0, 0, 3));
    Add(1, 1);  // (4, 4): farther than both, nothing changes
    EXPECT_TRUE(Holds(Entry(5, 5), 3, 0, 0, 3));
    Add(4, 4);  // (1, 1): nearer than the first, which it replaces
    EXPECT_TRUE(Holds(Entry(5, 5), 1, 1, 0, 3));
    Add(5, 3);  // (0, 2): not nearer than the first, nearer than the second
    EXPECT_TRUE(Holds(Entry(5, 5), 1, 1, 0, 2));
    EXPECT_TRUE(Holds(Entry(5, 3), 0, 0, 0, 1));
    // The same lamp counted again (its room scored again) changes nothing.
    Add(5, 3);
    EXPECT_TRUE(Holds(Entry(5, 5), 1, 1, 0, 2));
    EXPECT_TRUE(Holds(Entry(5, 3), 0, 0, 0, 1));
}

TEST_F(TileLights, RemovingTheFirstOfTwoMovesTheSecondUp) {
    Add(3, 5);
    Add(7, 5);
    ASSERT_TRUE(Holds(Entry(5, 5), 2, 0, -2, 0));
    Remove(3, 5);
    EXPECT_TRUE(Holds(Entry(5, 5), -2, 0));
    EXPECT_TRUE(Holds(Entry(2, 5), kNoLight, kNoLight)) << "lit by the first only";
    Add(3, 5);
    ASSERT_TRUE(Holds(Entry(5, 5), -2, 0, 2, 0));
    Remove(3, 5);
    EXPECT_TRUE(Holds(Entry(5, 5), -2, 0)) << "the second removed";
    Remove(7, 5);
    EXPECT_EQ(CountLit(), 0);
    Remove(7, 5);
    EXPECT_EQ(CountLit(), 0);
}

TEST_F(TileLights, ShiftEmptiesWhatCameFromOutside) {
    Add(5, 6);
    Table().Shift(2, -1);
    EXPECT_TRUE(Holds(Entry(7, 5), 0, 0));
    EXPECT_TRUE(Holds(Entry(3, 1), -4, -4));
    EXPECT_EQ(Entry(63, 20).Count(), 0);
    // Entries shifted in from beyond the edge are empty.
    Table().At(0, 10) = TileLight{{1, 1, 127, 127}};
    Table().At(63, 63) = TileLight{{1, 1, 127, 127}};
    Table().Shift(-1, 0);
    EXPECT_EQ(Entry(63, 63).Count(), 0);
    EXPECT_TRUE(Holds(Entry(62, 63), 1, 1));
    EXPECT_TRUE(Holds(Entry(6, 5), 0, 0));
}

TEST_F(TileLights, TheRoomsLampsReachTheTableThroughTheLot) {
    lot.AddTileLight(TileLocation::At(5, 6, 1), 1, true);
    EXPECT_TRUE(Holds(Entry(7, 7), 2, 1));
    lot.AddTileLight(TileLocation::At(9, 9, 1), 2, true);
    EXPECT_EQ(Entry(10, 10).Count(), 0) << "only lamps of strength 1";
    lot.AddTileLight(TileLocation::At(5, 6, 1), 1, false);
    EXPECT_EQ(CountLit(), 0) << "a lamp without light leaves";
    lot.AddTileLight(TileLocation::At(70, 6, 1), 1, true);
    lot.AddTileLight(TileLocation::At(5, 6, 3), 1, true);
    EXPECT_EQ(CountLit(), 0);
}

}  // namespace
