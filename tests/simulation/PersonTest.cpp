// The person object: its tick (decay, motive changes, room motive, samples,
// money), mood, the with-list, room tracking and resets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "FakeLot.h"
#include "PersonFixture.h"

namespace tova_test {
namespace {

class Person : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    p = MakePerson();
  }
  cXPerson* p = nullptr;
};

TEST_F(Person, IsMadeByTheModuleForPersonDefinitions) {
  cXPerson::Register();
  std::unique_ptr<cXObject> made = module.MakeObject(personDefinition.get());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->IsPerson());
  EXPECT_EQ(made->GetTypeCode(), 0x50455253u);  // 'PERS'
  EXPECT_EQ(made->GetPersonMark(), 1);
  ObjectModule::SetPersonMaker(nullptr);
}

TEST_F(Person, MotiveChangesStopAtTheirStopValue) {
  struct Case {
    float value, perTick, stop, expected;
  } cases[] = {
      {90, 0.5f, 80, 90},    // already past the stop: untouched
      {79.8f, 0.5f, 80, 80}, // clamped to the stop
      {10, 0.5f, 80, 10.5f}, {10, -2, 9, 9}, {10, -2, 20, 10}, {10, 0, 20, 10},
  };
  for (const Case& c : cases) {
    p->MotiveRef(kMotiveFun) = c.value;
    p->MotiveChanges().assign(1, {kMotiveFun, c.perTick, c.stop});
    p->Tick();
    EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveFun), c.expected) << c.value << " " << c.perTick << " " << c.stop;
  }
}

TEST_F(Person, MotivesDecayEverySixtyTicksUnlessFrozenOrInactive) {
  p->MotiveRef(kMotiveHunger) = 50;
  host.tick = 59;
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveHunger), 50) << "not yet 60 ticks";
  host.tick = 60;
  p->SetWord(kPersonMotivesFrozen, 1);
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveHunger), 50) << "frozen";
  p->SetWord(kPersonMotivesFrozen, 0);
  host.tick = 119;
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveHunger), 50) << "the frozen tick still counted as the last decay";
  host.tick = 120;
  p->Tick();
  EXPECT_LT(p->GetMotiveValue(kMotiveHunger), 50);
  const float after = p->GetMotiveValue(kMotiveHunger);
  p->SetInactive(true);
  host.tick = 180;
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveHunger), after) << "inactive";
}

TEST_F(Person, EachTickCountsShowsMoneyAndSamplesTheHouse) {
  p->SetWord(kPersonPendingMoney, 250);
  host.tick = 10;
  p->Tick();
  EXPECT_EQ(p->Word(kPersonTreeTicks), 1);
  EXPECT_EQ(p->Word(kPersonPendingMoney), 0);
  ASSERT_EQ(host.money.size(), 1u);
  EXPECT_EQ(host.money[0].second, 250);
  EXPECT_EQ(host.samples, 1);
  EXPECT_EQ(host.routingSamples, 0);
  p->Routes().resize(1);
  host.tick = 20;
  p->Tick();
  EXPECT_EQ(host.routingSamples, 1);
  host.tick = 21;
  p->Tick();
  EXPECT_EQ(host.samples, 2) << "only every tenth tick";
  // Visitors and sleepers are not sampled.
  p->SetWord(kPersonVisitor, 1);
  host.tick = 30;
  p->Tick();
  p->SetWord(kPersonVisitor, 0);
  p->MotiveRef(kMotiveSleepState) = -1;
  host.tick = 40;
  p->Tick();
  EXPECT_EQ(host.samples, 2);
  EXPECT_EQ(p->Word(kPersonTreeTicks), 5);
}

TEST_F(Person, TheRoomMotiveWaitsUntilARoomIsKnown) {
  host.roomScore = 42;
  host.outdoorScore = -7;
  p->MotiveRef(kMotiveRoom) = 3;
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveRoom), 3);
  host.rooms[p->GetId()] = 4;
  p->TrackRoom();
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveRoom), 42);
  host.rooms[p->GetId()] = 0;
  p->TrackRoom();
  p->Tick();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveRoom), -7) << "outside: the lot's outdoor score";
}

TEST_F(Person, RoomTrackingSwitchesLightsAndTellsOfTheSelectedPerson) {
  cXPerson* q = MakePerson();
  host.rooms[p->GetId()] = 4;
  host.rooms[q->GetId()] = 4;
  p->TrackRoom();
  q->TrackRoom();
  host.lights.clear();
  host.rooms[p->GetId()] = 5;
  p->TrackRoom();
  EXPECT_EQ(host.lights, (std::vector<std::pair<int16_t, bool>>{{5, true}})) << "q is still in room 4";
  host.rooms[q->GetId()] = 5;
  q->TrackRoom();
  EXPECT_EQ(host.lights, (std::vector<std::pair<int16_t, bool>>{{5, true}, {4, false}, {5, true}}));
  EXPECT_TRUE(host.broadcasts.empty());
  p->SetStateFlags((p->GetStateFlags() & ~kStateMask) | 2);
  host.rooms[p->GetId()] = 6;
  p->TrackRoom();
  ASSERT_EQ(host.broadcasts.size(), 1u);
  EXPECT_EQ(host.broadcasts[0], (std::pair<int32_t, intptr_t>{247, p->GetId()}));
  p->TrackRoom();
  EXPECT_EQ(host.broadcasts.size(), 1u) << "the same room again changes nothing";
}

TEST_F(Person, MoodWeighsMotivesByTheGlobalCurveTables) {
  MemoryResourceSource tables("Global.iff");
  tables.SetStrings(502, {"5 (-100;1)(100;1)", "7 (-100;1)(0;3)(100;3)", "not a motive"});
  tables.SetStrings(504, {"15 (-100;2)(100;2)"});
  MoodTables::Instance().Load(tables);
  p->MotiveRef(kMotiveEnergy) = 40;
  p->MotiveRef(kMotiveHunger) = -20;
  p->MotiveRef(kMotiveFun) = 9;
  p->ComputeMood();
  // Hunger at -20 weighs 1 + 2 * 0.8 = 2.6.
  EXPECT_NEAR(p->GetMotiveValue(kMotiveMood), (40 * 1 + -20 * 2.6f) / 3.6f, 1e-4);
  p->SetWord(kPersonAge, 9);
  p->ComputeMood();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveMood), 9) << "a child's mood from table 504";
  MoodTables::Instance().Reset();
  p->MotiveRef(kMotiveMood) = 12;
  p->ComputeMood();
  EXPECT_FLOAT_EQ(p->GetMotiveValue(kMotiveMood), 12) << "no table: nothing to average";
}

TEST_F(Person, MotiveCurvesComeFromTheResidentOrChildTable) {
  MemoryResourceSource tables("Global.iff");
  tables.SetStrings(501, {"(-100;5)(100;5)"});
  tables.SetStrings(503, {"(-100;7)(100;7)"});
  host.global = &tables;
  p->LoadMotiveCurves();
  EXPECT_FLOAT_EQ(p->Curves().Curve(0).Evaluate(0), 5);
  p->SetWord(kPersonAge, 17);
  p->LoadMotiveCurves();
  EXPECT_FLOAT_EQ(p->Curves().Curve(0).Evaluate(0), 7);
  host.global = nullptr;
}

TEST_F(Person, TheWithListFollowsTreeCallsAndEmptiesTheCurrentAction) {
  cXObject* chair = MakeThing({Interaction(1, "Sit")});
  p->SetCurrentAction(ActionOn(*p, *chair, 1, 50));
  const int32_t depth = p->FrameCount();
  ASSERT_TRUE(p->PushTreeCall(behavior(), 4101, chair->GetId(), true));
  ASSERT_EQ(p->WithList().size(), 1u);
  EXPECT_EQ(p->WithList()[0], (WithRecord{chair->GetId(), depth + 1, true}));
  EXPECT_EQ(p->CurrentAction().icon, chair->GetId());
  // The pushed tree returns in one step: its frame pops and the record goes.
  p->Tick();
  EXPECT_TRUE(p->WithList().empty());
  EXPECT_FALSE(p->CurrentAction().HasTarget());
  EXPECT_EQ(p->PreviousAction().target, chair->GetId());
}

TEST_F(Person, AResetNamingAnUninvolvedObjectRemovesOnlyItsActions) {
  cXObject* a = MakeThing({Interaction(1, "Use")});
  cXObject* b = MakeThing({Interaction(1, "Use")});
  cXObject* c = MakeThing({Interaction(1, "Use")});
  p->SetCurrentAction(ActionOn(*p, *c, 1, 50));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *a, 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *b, 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *a, 1, 40)));
  const int32_t frames = p->FrameCount();
  p->Reset(a->GetId());
  ASSERT_EQ(p->QueuedCount(), 1);
  EXPECT_EQ(p->GetQueuedAction(0)->target, b->GetId());
  EXPECT_EQ(a->Attributes()[0], 2);
  EXPECT_EQ(p->CurrentAction().target, c->GetId());
  EXPECT_EQ(p->FrameCount(), frames);
  EXPECT_EQ(p->Attributes()[2], 0) << "no full reset: entry tree 3 did not run";
  // The running action's target: it becomes empty.
  p->Reset(c->GetId());
  EXPECT_FALSE(p->CurrentAction().HasTarget());
  EXPECT_EQ(p->QueuedCount(), 1);
}

TEST_F(Person, AFullResetEmptiesEverythingAndAReEnteredResetOnlyLogs) {
  cXObject* a = MakeThing({Interaction(1, "Use")});
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *a, 1, 50)));
  ASSERT_TRUE(p->PushTreeCall(behavior(), 4096, a->GetId(), true));
  p->SetWord(kPersonPosture, 1);
  p->SetWord(40, 3);
  p->Routes().resize(2);
  // Resetting tells every person that the caller goes away, this one too:
  // that nested reset only writes its line.
  p->Reset(0);
  EXPECT_EQ(host.log, (std::vector<std::string>{"already cleaning up Bella"}));
  EXPECT_TRUE(p->WithList().empty());
  EXPECT_EQ(p->QueuedCount(), 0);
  EXPECT_EQ(a->Attributes()[0], 1) << "the dropped action's target was told once";
  EXPECT_EQ(p->Word(kPersonPosture), 0);
  EXPECT_EQ(p->Word(40), 0);
  EXPECT_TRUE(p->Routes().empty());
  EXPECT_EQ(p->Attributes()[2], 1) << "entry tree 3 ran";
  EXPECT_EQ(p->FrameCount(), 1) << "the main tree again";
  // Not cleaning up any more: the next reset runs.
  p->Reset(0);
  EXPECT_EQ(p->Attributes()[2], 2);
  EXPECT_EQ(host.log.size(), 1u);
}

TEST_F(Person, AHouseMemberPlacedAfterALoadIsResetAndOthersLetGoOfIt) {
  cXPerson* q = MakePerson();
  cXObject* a = MakeThing({Interaction(1, "Use")});
  host.tables[p->GetId()].entries = {Interaction(1, "Talk")};
  ASSERT_TRUE(q->PushAction(ActionOn(*q, *p, 1, 50)));
  ASSERT_TRUE(q->PushAction(ActionOn(*q, *a, 1, 50)));
  p->PlaceAtCurrentLocation(62);
  EXPECT_EQ(host.copied, (std::vector<int16_t>{p->GetId()}));
  EXPECT_EQ(p->Attributes()[2], 0) << "not of the house: no reset";
  EXPECT_EQ(q->QueuedCount(), 2);
  host.members.insert(p->GetId());
  p->PlaceAtCurrentLocation(62);
  EXPECT_EQ(p->Attributes()[2], 1) << "reset";
  ASSERT_EQ(q->QueuedCount(), 1) << "the action on the reset person is dropped";
  EXPECT_EQ(q->GetQueuedAction(0)->target, a->GetId());
}

TEST_F(Person, AResetPutsThePersonBackOnTheLot) {
  FakeWorld world;
  FakeView view;
  module.SetLot(&world, &view);
  const FinePoint at = TileLocation::At(5, 6, 1).GetCenterPoint();
  // What a person's init tree sets: stands on the floor kind, on floor or ground.
  p->SetData(kDataSlotKinds, 1);
  p->SetData(kDataPlacement, kPlaceOnFloor | kPlaceOnGround);
  ASSERT_TRUE(p->CanPlace(at, 1, nullptr, 0)) << cXObject::PlaceFailureCode();
  p->Place(at, 1, nullptr, 0);
  p->Reset(0);
  EXPECT_EQ(p->GetPosition(), at) << "where it stood";
  // Seated: put at the nearest free place, which here is where it sat.
  p->SetWord(kPersonPosture, 1);
  p->Reset(0);
  EXPECT_TRUE(p->IsOnLot());
  EXPECT_EQ(p->Word(kPersonPosture), 0);
  // Outside the lot: the lot's centre tile.
  host.outside.insert(p->GetId());
  p->Reset(0);
  EXPECT_EQ(p->GetPosition(), TileLocation::At(8, 8, 1).GetCenterPoint());
  host.outside.clear();
  p->SetKeptOutOfWorld(true);
  p->Reset(0);
  EXPECT_FALSE(p->IsOnLot()) << "kept out";
  module.SetLot(nullptr, nullptr);
}

TEST_F(Person, TheStandingTileFlagsInvalidTiles) {
  p->SetPosition(FinePoint{40, 40});
  p->CheckStandingTile();
  EXPECT_EQ(p->Word(kPersonOnInvalidTile), 0);
  host.unstandable.insert(p->GetId());
  p->CheckStandingTile();
  EXPECT_EQ(p->Word(kPersonOnInvalidTile), 1);
}

TEST_F(Person, OutfitNamesFollowTheCharacterAndAreKeptUntilItChanges) {
  p->SetWord(kPersonCharacter, 3);
  p->SetWord(kPersonOutfitIndex, 2);
  p->SetWord(kPersonSex, 1);
  EXPECT_EQ(p->GetOutfitNames(), (std::array<std::string, 3>{"female2!", "hands!", "head"}));
  EXPECT_EQ(p->GetOutfitNames()[0], "female2!");
  EXPECT_EQ(host.outfitLookups, 1) << "kept while words 56 and 57 stay";
  p->SetWord(kPersonAge, 5);
  EXPECT_EQ(p->GetOutfitNames()[0], "female0!") << "a child wears outfit 0";
  EXPECT_EQ(host.outfitLookups, 2);
  p->SetWord(kPersonCharacter, 4);
  EXPECT_EQ(p->GetOutfitNames()[0], "!") << "no such outfit";
}

TEST_F(Person, SleepwearAndSkeletonNames) {
  EXPECT_EQ(p->ChooseSleepwear(), (std::array<std::string, 2>{"pajama$g$b!", "pajama$g$c!"}));
  const cXPerson::SkeletonSuit adult = p->ChooseSkeletonSuit(false);
  EXPECT_EQ(adult.names, (std::array<std::string, 2>{"skeleton_01", "c_skeleton"}));
  EXPECT_EQ(adult.bodyLines, (std::array<std::string, 3>{"BODY=skeleton_01", "HEAD-HEAD=c_skeleton", "HAND=_GUAO_skel"}));
  p->SetWord(kPersonAge, 6);
  EXPECT_EQ(p->ChooseSleepwear()[0], "pjs$gchd!");
  const cXPerson::SkeletonSuit child = p->ChooseSkeletonSuit(true);
  EXPECT_EQ(child.names, (std::array<std::string, 2>{"skeletonchd_01", "c_kidskull"}));
  EXPECT_EQ(child.bodyLines, (std::array<std::string, 3>{"BODY=skeleneg_01", "HEAD-HEAD=c_skeleneg", "HAND=_GUAO_sneg"}));
}

}  // namespace
}  // namespace tova_test
