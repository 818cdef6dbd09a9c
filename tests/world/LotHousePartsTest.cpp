// The house's parts over the real world and object module: moving the lot
// moves its objects with the layers.
#include <gtest/gtest.h>

#include "gamedata/CommandIds.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/StarterContent.h"
#include "support/ScratchDir.h"
#include "world/LotHouseParts.h"

namespace {

using namespace tova;

TEST(LotHouseParts, ShiftingTheWorldMovesTheObjects) {
    tova_test::ScratchDir dir;
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
    ObjectFolder folder;
    folder.Init((dir / "data").string() + "/");
    cLotHouseParts parts(16, &folder);
    ObjectModule& module = parts.GetModule();
    const int16_t id = module.CreateObject(folder.FindByGUID(0x4C3A1001));
    ASSERT_NE(id, 0);
    cXObject* chair = module.GetObjectById(id);
    chair->Place(TileLocation::At(5, 5, 1).GetCenterPoint(), 1, nullptr, 0);
    ASSERT_TRUE(chair->IsOnLot());

    // Two tiles along x, one back along y.
    EXPECT_EQ(parts.GetWorld().DoCommand(kCmdShiftWorld, (static_cast<intptr_t>(0xFF) << 16) | 0x02), 1);
    EXPECT_EQ(chair->GetTile(), TileLocation::At(7, 4, 1));
    EXPECT_EQ(parts.World().GetObjectIdAt(TileLocation::At(7, 4, 1)), id);
    EXPECT_EQ(parts.World().GetObjectIdAt(TileLocation::At(5, 5, 1)), 0);
}

}  // namespace
