// The starter door turned to each of the four straight directions on a lot
// of the real world: its two halves stand on either side of one wall, the
// placement test asks for that wall, and the wall side takes the door's
// style while the door stands there.
#include <gtest/gtest.h>

#include <vector>

#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/StarterContent.h"
#include "simulation/cXMTObject.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"
#include "support/ToolFakes.h"
#include "world/LotWorld.h"
#include "world/WallCell.h"
#include "world/WallRecordFakes.h"
#include "world/cRotatableWorld.h"

namespace {

using namespace tova;

using tova_test::kDoor;
constexpr int32_t kDoorStyle = 3;

// A straight direction's step and the tile sides it crosses.
struct Across {
    int dx, dy;
    int32_t near, far;  // the side of the tile it leaves, of the tile it enters
};

// Directions 0, 2, 4, 6 (quarter turns 0 to 3): where the door's second
// half stands from its lead.
constexpr Across kSecondHalf[4] = {
    {0, 1, kWallSide8, kWallSide2},
    {-1, 0, kWallSide1, kWallSide4},
    {0, -1, kWallSide2, kWallSide8},
    {1, 0, kWallSide4, kWallSide1},
};

class DoorTurn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
        folder.Init((dir / "data").string() + "/");
        module.SetLot(&lot, nullptr);
    }

    // A new door with every half turned to the direction.
    std::vector<cXObject*> NewDoor(int16_t direction) {
        cXObject* lead = module.GetObjectById(module.CreateObject(folder.FindByGUID(kDoor)));
        std::vector<cXObject*> halves;
        if (lead == nullptr) return halves;
        lead->GetGroup(halves);
        for (cXObject* h : halves) h->SetData(kDataDirection, direction);
        static_cast<cXMTObject*>(lead)->UpdateOffsets();
        return halves;
    }

    // A plain wall on the tile's side (and so on its neighbour's opposite one).
    void Wall(TileLocation tile, int32_t side) {
        WallInfo info = world.GetWallInfo(tile);
        info.flags |= side;
        info.style[WallSideIndex(side)] = kWallStylePlain;
        world.SetWallInfo(tile, info);
    }

    int32_t StyleOf(TileLocation tile, int32_t side) const {
        const WallInfo info = world.GetWallInfo(tile);
        return info.Has(side) ? info.Style(side) : 0;
    }

    tova_test::ScratchDir dir;
    ObjectFolder folder;
    tova_test::WallPrices prices;
    cRotatableWorld world{16, tova_test::PricedServices(&prices)};
    cLotWorld lot{world};
    ObjectModule module{&folder};
};

TEST_F(DoorTurn, EachStraightDirectionStandsAcrossTheWallAndGivesItBack) {
    const TileLocation lead = TileLocation::At(6, 6, 1);
    for (int q = 0; q < 4; ++q) {
        SCOPED_TRACE(q);
        const Across& a = kSecondHalf[q];
        const TileLocation second = TileLocation::At(6 + a.dx, 6 + a.dy, 1);
        std::vector<cXObject*> door = NewDoor(static_cast<int16_t>(2 * q));
        ASSERT_EQ(door.size(), 2u);

        // No wall yet: the door has nothing to stand in.
        EXPECT_FALSE(door[0]->CanPlace(lead.GetCenterPoint(), 1, nullptr, 0));
        // A wall turned a quarter from the one it needs does not do either.
        const Across& across = kSecondHalf[(q + 1) % 4];
        Wall(lead, across.near);
        EXPECT_FALSE(door[0]->CanPlace(lead.GetCenterPoint(), 1, nullptr, 0));

        Wall(lead, a.near);
        ASSERT_TRUE(door[0]->CanPlace(lead.GetCenterPoint(), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
        // Asked through the second half at its own tile, the answer is the same.
        EXPECT_TRUE(door[1]->CanPlace(second.GetCenterPoint(), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
        door[0]->Place(lead.GetCenterPoint(), 1, nullptr, 0);
        EXPECT_EQ(door[1]->GetTile(), second);
        EXPECT_EQ(StyleOf(lead, a.near), kDoorStyle);
        EXPECT_EQ(StyleOf(second, a.far), kDoorStyle);
        EXPECT_EQ(StyleOf(lead, across.near), kWallStylePlain) << "the other wall keeps its style";

        door[0]->RemoveFromWorld();
        EXPECT_EQ(StyleOf(lead, a.near), kWallStylePlain);
        EXPECT_EQ(StyleOf(second, a.far), kWallStylePlain);
        module.DeleteObject(door[0]->GetId());
        world.SetWallInfo(lead, WallInfo{});
        world.SetWallInfo(second, WallInfo{});
    }
}

TEST_F(DoorTurn, TurningAPlacedDoorSwingsItIntoTheWallAcross) {
    // Walls on two sides of a corner tile: the door turned a quarter about
    // its lead leaves the first wall and stands in the second.
    const TileLocation lead = TileLocation::At(6, 6, 1);
    Wall(lead, kWallSide8);
    Wall(lead, kWallSide1);
    std::vector<cXObject*> door = NewDoor(0);
    ASSERT_EQ(door.size(), 2u);
    for (cXObject* h : door) h->SetData(kDataRotationStep, 2);
    ASSERT_TRUE(door[0]->CanPlace(lead.GetCenterPoint(), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
    door[0]->Place(lead.GetCenterPoint(), 1, nullptr, 0);
    EXPECT_EQ(StyleOf(lead, kWallSide8), kDoorStyle);

    door[0]->Rotate(1);
    EXPECT_EQ(door[0]->GetData(kDataDirection), 2);
    EXPECT_EQ(door[0]->GetTile(), lead);
    EXPECT_EQ(door[1]->GetTile(), TileLocation::At(5, 6, 1));
    EXPECT_EQ(StyleOf(lead, kWallSide8), kWallStylePlain);
    EXPECT_EQ(StyleOf(lead, kWallSide1), kDoorStyle);
    EXPECT_EQ(StyleOf(TileLocation::At(5, 6, 1), kWallSide4), kDoorStyle);
}

}  // namespace
