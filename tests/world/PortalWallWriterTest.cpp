// The wall sides portals write through the lot's world: the style of each
// side of a tile's wall cell, shared with the neighbour across a side, and
// the storey's walls rebuilt.
#include <gtest/gtest.h>

#include "world/LotWorld.h"
#include "world/WallCell.h"
#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"
#include "world/TileAt.h"

namespace {

using tova_test::T;

class PortalWallWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A plain wall between (5, 4) and (5, 5).
        WallInfo info = world.GetWallInfo(T(5, 5));
        info.flags |= kWallSide2;
        info.style[WallSideIndex(kWallSide2)] = kWallStylePlain;
        world.SetWallInfo(T(5, 5), info);
    }
    cFixedWorld world{24};
    cLotWorld lot{world};
};

TEST_F(PortalWallWriterTest, TheLotWorldIsTheWallWriter) {
    tova::iLotWorld* asLot = &lot;
    auto* walls = dynamic_cast<tova::iPortalWalls*>(asLot);
    ASSERT_NE(walls, nullptr);
    EXPECT_EQ(walls->GetWallSideEntries(T(5, 5))[1], kWallStylePlain);
    EXPECT_EQ(walls->GetWallSideEntries(T(5, 4))[3], kWallStylePlain);
}

TEST_F(PortalWallWriterTest, SidesWrittenOnOneTileShowOnItsNeighbour) {
    tova::iPortalWalls& walls = lot;
    std::array<int32_t, 6> e = walls.GetWallSideEntries(T(5, 4));
    e[3] = 3;
    walls.SetWallSideEntries(T(5, 4), e);
    EXPECT_EQ(world.GetWallInfo(T(5, 5)).style[1], 3);
    EXPECT_TRUE(world.GetWallInfo(T(5, 5)).Has(kWallSide2));
    EXPECT_EQ(walls.GetWallSideEntries(T(5, 5))[1], 3);
    e[3] = kWallStylePlain;
    walls.SetWallSideEntries(T(5, 4), e);
    EXPECT_EQ(world.GetWallInfo(T(5, 5)).style[1], kWallStylePlain);
}

TEST_F(PortalWallWriterTest, TilesOffTheGridReadEmptyAndAreNotWritten) {
    tova::iPortalWalls& walls = lot;
    for (TileLocation t : {T(-1, 3), T(3, 24), T(64, 64)}) {
        EXPECT_EQ(walls.GetWallSideEntries(t), (std::array<int32_t, 6>{}));
        walls.SetWallSideEntries(t, {3, 3, 3, 3, 3, 3});
    }
}

TEST_F(PortalWallWriterTest, ARebuildIsRequestedForTheStorey) {
    world.GetWallManager().Update();
    ASSERT_FALSE(world.GetWallManager().RebuildRequested(2));
    tova::iPortalWalls& walls = lot;
    walls.RebuildWalls(2);
    EXPECT_TRUE(world.GetWallManager().RebuildRequested(2));
    EXPECT_FALSE(world.GetWallManager().RebuildRequested(1));
}

}  // namespace
