#include <gtest/gtest.h>

#include "world/cFixedWorld.h"
#include "world/cPoolLayer.h"
#include "world/TileAt.h"

namespace {

using tova_test::T;

TEST(PoolLayer, LinksAndUnlinksNeighbours) {
    cPoolLayer pool(24);
    pool.AddPoolTile(T(5, 5));
    EXPECT_EQ(pool.At(5, 5), 0);
    pool.AddPoolTile(T(6, 5));
    EXPECT_EQ(pool.At(5, 5), 0x08);
    EXPECT_EQ(pool.At(6, 5), 0x02);
    pool.AddPoolTile(T(6, 5));  // already pool: unchanged
    EXPECT_EQ(pool.At(6, 5), 0x02);
    pool.RemovePoolTile(T(6, 5));
    EXPECT_EQ(pool.At(5, 5), 0);
    EXPECT_EQ(pool.At(6, 5), kNoPoolCell);
}

TEST(PoolLayer, AMarkedTileCountsAsNoPoolUntilAdded) {
    cPoolLayer pool(24);
    pool.AddPoolTile(T(5, 5));
    pool.At(5, 6) = kPoolMarkCell;
    pool.AddPoolTile(T(5, 4));
    EXPECT_EQ(pool.At(5, 5), 0x01);  // the mark below does not link
    pool.AddPoolTile(T(5, 6));
    EXPECT_EQ(pool.At(5, 6), 0x01);
    EXPECT_EQ(pool.At(5, 5), 0x01 | 0x04);
}

TEST(PoolLayer, RectanglesAndTheLotEdge) {
    cPoolLayer pool(8);
    pool.AddPoolRect(TileRect{T(6, 6), 9, 9});  // runs past the edge: only tiles inside count
    EXPECT_EQ(pool.At(7, 7), 0x01 | 0x02);
    EXPECT_EQ(pool.At(6, 6), 0x04 | 0x08);
    pool.AddPoolRect(TileRect{T(3, 3), 3, 5});  // empty: end x not beyond start
    EXPECT_EQ(pool.At(3, 3), kNoPoolCell);
    pool.RemovePoolRect(TileRect{T(6, 6), 8, 7});
    EXPECT_EQ(pool.At(6, 7), 0x08);
    EXPECT_EQ(pool.At(7, 7), 0x02);
    pool.AddPoolTile(T(0, 0));  // linking ignores neighbours outside the lot
    EXPECT_EQ(pool.At(0, 0), 0);
}

TEST(PoolLayer, LShapeCornerBitAndItsClearing) {
    cPoolLayer pool(24);
    pool.AddPoolTile(T(6, 6));
    pool.AddPoolTile(T(5, 6));
    pool.AddPoolTile(T(6, 5));
    EXPECT_EQ(pool.GetOverlapMask(T(6, 6), 0), 0x01);
    pool.AddPoolTile(T(5, 5));
    EXPECT_EQ(pool.GetOverlapMask(T(6, 6), 0), 0);
}

TEST(PoolLayer, CornerMasksUnderFourRotations) {
    cPoolLayer pool(64);
    pool.AddPoolTile(T(6, 6));
    pool.AddPoolTile(T(5, 6));
    pool.AddPoolTile(T(6, 5));
    const uint8_t expected[4] = {0x01, 0x08, 0x04, 0x02};  // bits turn right one place a quarter turn
    for (int r = 0; r < 4; ++r) {
        const GridPoint v = RotateGridCoords(6, 6, r, kWorldCapacity);
        EXPECT_EQ(pool.GetOverlapMask(T(v.x, v.y), r), expected[r]) << "rotation " << r;
    }
    EXPECT_EQ(pool.GetOverlapMask(T(70, 6), 0), 0);
    // At the lot's corner: only the inner corner toward the lot shows.
    cPoolLayer edge(8);
    edge.AddPoolTile(T(0, 0));
    edge.AddPoolTile(T(1, 0));
    edge.AddPoolTile(T(0, 1));
    EXPECT_EQ(edge.GetOverlapMask(T(0, 0), 0), 0x04);
    EXPECT_EQ(edge.GetOverlapMask(T(1, 0), 0), 0);
}

TEST(PoolLayer, SnapshotsAssignAndWater) {
    cPoolLayer pool(24);
    pool.AddPoolTile(T(2, 2));
    pool.At(3, 3) = kPoolMarkCell;
    c2DArray<uint8_t> snapshot(64);
    snapshot.CopyFrom(pool);
    cPoolLayer::ClearMarks(snapshot);
    EXPECT_EQ(snapshot.At(3, 3), kNoPoolCell);
    auto copy = cPoolLayer::MakeLayerFromSnapshot(snapshot);
    EXPECT_EQ(copy->At(2, 2), 0);
    EXPECT_EQ(copy->RefCount(), 0);
    cPoolLayer other(24);
    other.Assign(pool);
    EXPECT_EQ(other.At(3, 3), kPoolMarkCell);
    cWaterLayer water(24);
    water.AddWaterRect(TileRect{T(1, 1), 3, 2});
    EXPECT_EQ(water.At(1, 1), 0x08);
    water.RemoveWaterTile(T(2, 1));
    EXPECT_EQ(water.At(1, 1), 0);
}

TEST(PoolLayer, TheWorldOwnsPoolAndWaterLayers) {
    cFixedWorld world(20);
    world.GetPoolLayer()->AddPoolTile(T(5, 5));
    EXPECT_TRUE(world.HasPool(T(5, 5)));
    world.GetPoolLayer()->AddPoolTile(T(19, 5));
    world.GetPoolLayer()->AddPoolTile(T(20, 5));  // outside a 20-tile lot
    EXPECT_EQ(world.GetPoolLayer()->At(20, 5), kNoPoolCell);
    world.ResizeLayers(24);
    world.GetPoolLayer()->AddPoolTile(T(20, 5));
    EXPECT_EQ(world.GetPoolLayer()->At(20, 5), 0x02);
}

}  // namespace
