// A lot read from a file and ticked headless: two rooms split by a wall
// with the starter door in it. A person walks through the door to a chair in
// the other room; a person on the far side of the door makes the pass fail
// and the door is marked failed for that goal; and a person sent to a
// step-aside marker by the marker's own tree arrives and the marker goes.
// And the headless gait that lets those people walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>

#include "BesideSlot.h"
#include "StarterContent.h"
#include "gamedata/LotInterfaces.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/SlotDescriptor.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/HeadlessGait.h"
#include "simulation/people/PersonRoute.h"
#include "simulation/people/RouteWalk.h"
#include "simulation/people/cXPerson.h"
#include "simulation/people/cXPortal.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"
#include "world/HeadlessLot.h"

namespace {

using namespace tova;

using tova_test::kChair;
using tova_test::kDoorBack;
using tova_test::kDoorFront;
constexpr int32_t kFailureWord = 62;
constexpr int32_t kTickLimit = 3000;

// Rooms of tiles 2..9 by 2..5 (above) and 2..9 by 6..9 (below); the door's
// parts stand on (5, 5) and (5, 6), the chair on (7, 8).
const char* const kTwoRooms =
    "lot UserData/Houses/House20.iff\n"
    "size 16\n"
    "ground 10\n"
    "margin 1\n"
    "wall 2 2 10 2 1 4\n"
    "wall 10 2 10 10 1 4\n"
    "wall 2 10 10 10 1 4\n"
    "wall 2 2 2 10 1 4\n"
    "wall 2 6 10 6 1 4\n"
    "floor 2 2 9 9 12\n"
    "object 0x4C3A1040 5 5 1 0\n"
    "object 0x4C3A1001 7 8 1 0\n"
    "house Two rooms and a door\n";

// The starter template person with a main tree that calls the global idle
// tree for ever instead of choosing what to do.
std::string IdlePersonSource() {
  std::ifstream in(std::string(TOVA_SOURCE_DIR) + "/content/GameData/Objects/PersonTemplate.res");
  std::stringstream text;
  text << in.rdbuf();
  std::string source = text.str();
  const size_t from = source.find("tree 4097 \"Person: main\"");
  const size_t to = from == std::string::npos ? from : source.find("\nend\n", from);
  if (to == std::string::npos) return source;
  source.replace(from, to - from, "tree 4097 \"Person: main\"\n  version 1\nn0: 256 0 0 0 0 -> n0 n0");
  return source;
}

class DoorWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root()));
    tova_test::WriteBytes(dir / "TwoRooms.lot", kTwoRooms);
    // The people here do only what each test tells them: the template
    // person's main tree only idles.
    tova_test::WriteBytes(dir / "IdlePerson.res", IdlePersonSource());
    const tova_test::ProgramRun built = tova_test::CompileContent(
        {"--out", root(), (dir / "TwoRooms.lot").string(), (dir / "IdlePerson.res").string()});
    ASSERT_EQ(built.code, 0) << built.err;
    lot = std::make_unique<HeadlessLot>(root());
    ASSERT_TRUE(lot->UseHeadlessGait());
    std::string error;
    ASSERT_TRUE(lot->Load(root() + "/UserData/Houses/House20.iff", error)) << error;
    lot->FindRooms();
  }
  void TearDown() override { lot.reset(); }

  std::string root() const { return (dir / "data").string(); }
  cXObject* Find(uint32_t guid) {
    for (cXObject* o = lot->Module().FirstObject(); o != nullptr; o = o->GetNext())
      if (o->GetDefinition() != nullptr && o->GetDefinition()->GetGUID() == guid) return o;
    return nullptr;
  }
  int16_t RoomOf(const cXObject& o) {
    return lot->Module().GetWorld()->GetRoomId(TileLocation::FromFine(o.GetPosition(), o.GetLevel()));
  }
  // Walks the person to the slot as the go-to primitive does, the lot ticking
  // between steps; a tree the walk pushes (the door's) runs on the person's
  // own stack until it returns. The walk's last result.
  int32_t Walk(cXPerson& person, cXObject& target, const RoutingSlot& slot) {
    TreeStackFrame frame;
    const int32_t base = person.FrameCount();
    int32_t result = lot->Motion().RouteTo(person, frame, target, slot);
    for (int32_t tick = 0; tick < kTickLimit && (result == kPrimYield || result == kPrimAgain); ++tick) {
      lot->Tick();
      if (person.FrameCount() > base) continue;
      result = lot->Motion().ContinueRoute(person, frame);
    }
    return result;
  }

  tova_test::ScratchDir dir;
  std::unique_ptr<HeadlessLot> lot;
};

TEST_F(DoorWalk, APersonWalksThroughTheDoorToAChairInTheOtherRoom) {
  cXObject* chair = Find(kChair);
  cXObject* front = Find(kDoorFront);
  cXObject* back = Find(kDoorBack);
  ASSERT_NE(chair, nullptr);
  ASSERT_NE(front, nullptr);
  ASSERT_NE(back, nullptr);
  ASSERT_TRUE(front->IsPortal());
  std::string error;
  cXPerson* person = lot->AddPerson(3, 3, 1, error);
  ASSERT_NE(person, nullptr) << error;
  // The wall parts the rooms: the person and the door's front share one, the
  // chair and the door's back the other.
  ASSERT_NE(RoomOf(*person), RoomOf(*chair));
  ASSERT_EQ(RoomOf(*person), RoomOf(*front));
  ASSERT_EQ(RoomOf(*chair), RoomOf(*back));

  EXPECT_EQ(Walk(*person, *chair, tova_test::BesideSlot()), kPrimTrue);
  EXPECT_EQ(RoomOf(*person), RoomOf(*chair));
  const FinePoint at = person->GetPosition(), c = chair->GetPosition();
  EXPECT_EQ(std::max(std::abs(at.TileX() - c.TileX()), std::abs(at.TileY() - c.TileY())), 1);
  EXPECT_EQ(person->Animator().followState, 2);
  EXPECT_EQ(person->Word(kFailureWord), 0);
  EXPECT_TRUE(person->Routes().empty());
  // The door it went through was taken once for this goal.
  const int32_t goal = person->GetData(cXPortal::kGoalWord);
  EXPECT_EQ(static_cast<cXPortal*>(front)->GetCost(goal), cXPortal::kFirstTaken);
}

TEST_F(DoorWalk, SomeoneOnTheFarSideFailsThePassAndTheDoorIsMarkedFailed) {
  cXObject* chair = Find(kChair);
  auto* front = static_cast<cXPortal*>(Find(kDoorFront));
  auto* back = static_cast<cXPortal*>(Find(kDoorBack));
  ASSERT_NE(chair, nullptr);
  std::string error;
  cXPerson* person = lot->AddPerson(3, 3, 1, error);
  ASSERT_NE(person, nullptr) << error;
  // Someone stands on the far part's tile and stays there.
  cXPerson* other = lot->AddPerson(5, 6, 1, error);
  ASSERT_NE(other, nullptr) << error;
  const int16_t start = RoomOf(*person);

  EXPECT_EQ(Walk(*person, *chair, tova_test::BesideSlot()), kPrimFalse);
  EXPECT_EQ(RoomOf(*person), start);
  EXPECT_EQ(person->Word(kFailureWord), kRouteFailNoPortal);
  const int32_t goal = person->GetData(cXPortal::kGoalWord);
  EXPECT_EQ(front->GetCost(goal), cXPortal::kFailed);
  EXPECT_EQ(back->GetCost(goal), cXPortal::kFailed);
  EXPECT_EQ(other->GetPosition(), (TileLocation::At(5, 6, 1).GetCenterPoint()));
}

TEST_F(DoorWalk, APersonSentToAStepAsideMarkerArrivesAndTheMarkerGoes) {
  std::string error;
  cXPerson* person = lot->AddPerson(3, 3, 1, error);
  ASSERT_NE(person, nullptr) << error;
  cXObject* marker = lot->AddObject(1988, 7, 4, 1, error, [](cXObject& m) {
    m.SetData(kDataPlacement, kPlaceOnGround | kPlaceOnFloor);
    m.SetData(kDataSlotKinds, 1);
  });
  ASSERT_NE(marker, nullptr) << error;
  const int16_t markerId = marker->GetId();
  Behavior* behavior = marker->GetBehavior();
  const int16_t tree = behavior->LocateTree("Step aside: go here");
  ASSERT_NE(tree, 0);
  ASSERT_TRUE(person->PushTreeCall(behavior, tree, markerId, true));
  person->SetWord(kFailureWord, -1);
  // The tree removes its own object when the walk ends, which ends the
  // frames that work on it.
  for (int32_t tick = 0; tick < kTickLimit && lot->Module().GetObjectById(markerId) != nullptr; ++tick) lot->Tick();
  lot->Tick();
  EXPECT_EQ(lot->Module().GetObjectById(markerId), nullptr);
  EXPECT_EQ(person->Word(kFailureWord), 0);
  EXPECT_EQ(person->GetErrorCode(), 0);
  // The marker's slot takes any place from one to five tiles away.
  const FinePoint at = person->GetPosition();
  const int32_t away = std::max(std::abs(at.TileX() - 7), std::abs(at.TileY() - 4));
  EXPECT_GE(away, 1);
  EXPECT_LE(away, 5);
}

// The headless gait's skills and how its bodies play them by the clock.
TEST(HeadlessGait, SkillsAndPracticesFollowTheClock) {
  HeadlessGait gait({{"walk", {3.0f, true}}, {"start", {1.5f, false}}});
  const iSkill* walk = gait.GetSkill("walk");
  const iSkill* start = gait.GetSkill("start");
  const iSkill* other = gait.GetSkill("wave");
  ASSERT_NE(walk, nullptr);
  EXPECT_EQ(gait.GetSkill("walk"), walk);
  EXPECT_FLOAT_EQ(walk->Travel(), 3.0f);
  EXPECT_TRUE(walk->Loops());
  EXPECT_FLOAT_EQ(start->Travel(), 1.5f);
  EXPECT_FALSE(start->Loops());
  EXPECT_FLOAT_EQ(other->Travel(), 0.0f);
  EXPECT_FALSE(other->Loops());
  EXPECT_FLOAT_EQ(other->Duration(), HeadlessGait::kDuration);

  std::unique_ptr<iCharacterBody> body = gait.CreateBody("adult", nullptr);
  ASSERT_NE(body, nullptr);
  struct Case {
    const iSkill* skill;
    float speed;
    float startTime;
    int32_t clock;
    float time;
    bool finished;
  } cases[] = {
      {walk, 1.0f, 0.0f, 500, 0.5f, false},   // half a play
      {walk, 1.0f, 0.0f, 1500, 0.5f, false},  // a loop wraps
      {start, 2.0f, 0.0f, 250, 0.5f, false},  // twice as fast
      {start, 1.0f, 0.0f, 1500, 1.0f, true},  // a play ends at its end
      {start, -1.0f, 1.0f, 400, 0.6f, false}, // backwards
      {start, -1.0f, 1.0f, 2000, 0.0f, true},
  };
  for (const Case& c : cases) {
    PracticeRef* p = body->AddPractice(*c.skill, 1, c.speed, 1.0f, 1000);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->interruptible, 1);
    p->time = c.startTime;
    body->UpdatePractices(1000 + c.clock);
    EXPECT_NEAR(p->time, c.time, 1e-4f) << c.skill->GetName() << " " << c.clock;
    EXPECT_EQ(p->finished, c.finished) << c.skill->GetName() << " " << c.clock;
    body->RemovePractice(p);
  }
}

}  // namespace
