// A live person on a small lot walks to a routing slot of an object through
// the route walk: planned over its room, followed by the animator, ended
// with the walk's result.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>

#include "BesideSlot.h"
#include "AnimatorFixture.h"
#include "FakeLot.h"
#include "gamedata/RoomManager.h"
#include "simulation/people/LivePersonMotion.h"
#include "simulation/people/PersonRouteHost.h"

using namespace tova;
using namespace tova_test;

namespace {

constexpr int32_t kWalkingStartAnim = 19, kWalkingLoopAnim = 20;
constexpr int32_t kMayRoute = 0x8;
constexpr int16_t kRoom = 1;
constexpr int32_t kFailureWord = 62;

class LiveRoute : public AnimatorPractices {
 protected:
  void SetUp() override {
    AnimatorPractices::SetUp();
    world.size = 16;
    module.SetLot(&world, &view);
    // One room of tiles 2..9 by 2..9; the rest of the lot is outdoors.
    RoomTiles tiles;
    for (int8_t y = 2; y <= 9; ++y)
      for (int8_t x = 2; x <= 9; ++x) {
        world.rooms[Key(TileLocation::At(x, y, 1))] = kRoom;
        tiles.push_back({x, y, 1});
      }
    rooms.GetOrCreateRoom(kRoom).AssignTiles(tiles);
    motion.SetRooms(&rooms);

    person->SetData(kDataPlacement, kPlaceOnGround | kPlaceOnFloor);
    person->SetData(kDataSlotKinds, 1);
    person->SetData(kDataFlags, static_cast<int16_t>(person->GetData(kDataFlags) | kMayRoute));
    for (int i = 4; i <= 18; ++i) library.Add(Standard(i)).travel = 0.75f;
    library.Add(Standard(kWalkingStartAnim)).travel = 1.5f;
    FakeSkill& loop = library.Add(Standard(kWalkingLoopAnim));
    loop.travel = 3.0f;
    loop.loops = true;
    *person->GetMotive(kMotiveEnergy) = 100;
    animator->walk.speed = animator->PlaybackSpeed();
    PlacePersonAt(3, 3);
  }
  void PlacePersonAt(int tx, int ty) {
    const FinePoint at{tx * 16 + 8, ty * 16 + 8};
    animator->grid[0] = static_cast<float>(at.x), animator->grid[1] = static_cast<float>(at.y), animator->grid[2] = 0;
    animator->movementState = 3;
    person->Place(at, 1, nullptr, 0);
  }
  cXObject* ThingAt(int tx, int ty) {
    cXObject* o = MakeThing();
    o->Place({tx * 16 + 8, ty * 16 + 8}, 1, nullptr, 0);
    return o;
  }
  // Runs the walk as the go-to primitive does, ticking the animator between
  // steps; the walk's last result.
  int32_t Walk(cXObject& target, const RoutingSlot& slot, int32_t maxTicks) {
    frame.primitiveState = 1;
    int32_t result = motion.RouteTo(*person, frame, target, slot);
    for (int32_t tick = 0; tick < maxTicks && (result == kPrimYield || result == kPrimAgain); ++tick) {
      ++host.tick;
      if (PracticeRef* p = animator->mainPractice) {
        p->time = std::min(1.0f, p->time + 0.25f);
        p->interruptible = 1;
      }
      animator->Update();
      result = motion.ContinueRoute(*person, frame);
    }
    return result;
  }
  static int32_t TileDistance(FinePoint a, FinePoint b) {
    return std::max(std::abs(a.TileX() - b.TileX()), std::abs(a.TileY() - b.TileY()));
  }

  FakeWorld world;
  FakeView view;
  RoomManager rooms{LotServices{&world, nullptr, nullptr, nullptr, nullptr}};
  LivePersonMotion motion;
  TreeStackFrame frame;
};

TEST_F(LiveRoute, APersonWalksToTheSlotOfAnObjectInItsRoom) {
  cXObject* chair = ThingAt(8, 7);
  const FinePoint start = person->GetPosition();
  const int32_t result = Walk(*chair, tova_test::BesideSlot(), 2000);
  EXPECT_EQ(result, kPrimTrue);
  EXPECT_NE(person->GetPosition(), start);
  EXPECT_EQ(TileDistance(person->GetPosition(), chair->GetPosition()), 1);
  EXPECT_EQ(animator->followState, 2);
  EXPECT_EQ(person->Word(kFailureWord), 0);
  EXPECT_TRUE(person->Routes().empty());
}

TEST_F(LiveRoute, TheGoToRoutingSlotPrimitiveWalksThroughTheInstalledMotion) {
  cXObject* chair = ThingAt(7, 8);
  chair->RoutingSlots() = {tova_test::BesideSlot()};
  Trees("tree 4200 \"Wait\"\n params 4\n locals 2\nn0: Sleep 1 -> n0 n0\nend\n");
  ASSERT_TRUE(person->ResetAndPush(personDefinition->GetBehavior(), 4200));
  TreeStackFrame& top = *person->CurrentFrame();
  top.stackObject = chair->GetId();
  SetPersonMotion(&motion);
  // Slot 0 named by a literal; byte 4 bit 0 keeps the feedback flag off.
  std::array<uint8_t, 12> bytes{static_cast<uint8_t>(kPrimGoToRoutingSlot), 0, 0, 0, 0, 0, 1, 0, 1, 0};
  int32_t result = person->RunPrimitive(top, TreeNode(bytes.data()));
  // The walk goes on, its state word kept in the frame.
  EXPECT_EQ(result, kPrimYield);
  EXPECT_NE(top.primitiveState, 0);
  for (int tick = 0; tick < 2000 && result == kPrimYield; ++tick) {
    ++host.tick;
    if (PracticeRef* p = animator->mainPractice) {
      p->time = std::min(1.0f, p->time + 0.25f);
      p->interruptible = 1;
    }
    animator->Update();
    result = person->RunPrimitive(top, TreeNode(bytes.data()));
  }
  SetPersonMotion(nullptr);
  EXPECT_EQ(result, kPrimTrue);
  EXPECT_EQ(TileDistance(person->GetPosition(), chair->GetPosition()), 1);
  EXPECT_EQ(animator->followState, 2);
}

TEST_F(LiveRoute, APersonThatMayNotRouteFailsAtOnce) {
  cXObject* chair = ThingAt(8, 7);
  person->SetData(kDataFlags, static_cast<int16_t>(person->GetData(kDataFlags) & ~kMayRoute));
  const FinePoint start = person->GetPosition();
  EXPECT_EQ(Walk(*chair, tova_test::BesideSlot(), 50), kPrimFalse);
  EXPECT_EQ(person->GetPosition(), start);
  EXPECT_EQ(person->Word(kFailureWord), kRouteFailGeneric);
}

TEST_F(LiveRoute, ATargetInAnotherRoomWithNoDoorFails) {
  cXObject* shed = ThingAt(13, 13);  // outdoors, no portal leads there
  EXPECT_EQ(Walk(*shed, tova_test::BesideSlot(), 200), kPrimFalse);
  EXPECT_EQ(person->Word(kFailureWord), kRouteFailNoPortal);
}

TEST_F(LiveRoute, RoutesReadWithALotArePlannedAgainWhenWalkedOn) {
  PersonRoute under;
  under.started = 1;
  person->Routes() = {under, under};
  person->PlaceAtCurrentLocation(ObjectModule::kSaveVersion);
  ASSERT_EQ(person->Routes().size(), 2u);
  for (const PersonRoute& r : person->Routes()) EXPECT_EQ(r.started, 0);
}

TEST_F(LiveRoute, TheSiteAnswersRoomsWithOutdoorsForRoomZero) {
  PersonRouteHost live(*person, &rooms);
  EXPECT_EQ(live.RoomAt({3 * 16 + 8, 3 * 16 + 8}, 1), kRoom);
  EXPECT_EQ(live.RoomAt({12 * 16, 12 * 16}, 1), PersonRouteHost::kOutdoors);
  EXPECT_TRUE(live.RoomKnown());
  EXPECT_EQ(live.RoomTiles(), 64);
}

}  // namespace
