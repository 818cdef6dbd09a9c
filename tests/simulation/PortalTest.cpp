// Doors: the wall sides a door writes and gives back, its placement test,
// the route costs its ends keep, the search over portal ends across three
// rooms, and its record.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakeLot.h"
#include "SimFixture.h"
#include "resfile/ReconStream.h"
#include "simulation/ObjectDrawing.h"
#include "simulation/people/PortalWalls.h"
#include "simulation/people/cXPortal.h"

using namespace tova;
using namespace tova_test;

namespace {

constexpr int16_t kDoorTree = 4101;

// A fake world whose tiles keep the six wall side entries of a wall cell.
class PortalWorld : public FakeWorld, public iPortalWalls {
 public:
  std::map<std::tuple<int, int, int>, std::array<int32_t, 6>> sides;
  std::vector<int32_t> rebuilt;
  std::array<int32_t, 6> GetWallSideEntries(TileLocation t) const override {
    auto it = sides.find(Key(t));
    return it == sides.end() ? std::array<int32_t, 6>{} : it->second;
  }
  void SetWallSideEntries(TileLocation t, const std::array<int32_t, 6>& e) override { sides[Key(t)] = e; }
  void RebuildWalls(int32_t level) override { rebuilt.push_back(level); }
};

class Portals : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    module.SetLot(&world, &view);
    Trees("tree 4101 \"Go through\"\nn0: Sleep 1 -> true true\nend\n");
  }
  void TearDown() override { module.Clear(); }

  ObjectDefinition* PartDefinition(int16_t subIndex, bool end, int16_t wallValue = 3) {
    ObjectDefinitionRecord r;
    r.SetGuid(0x6000u + static_cast<uint16_t>(subIndex));
    r.SetWord(ObjectDefinitionRecord::kObjectType, 8);
    r.SetWord(ObjectDefinitionRecord::kStackSize, 8);
    r.SetWord(ObjectDefinitionRecord::kWordArrayLength, 8);
    r.SetWord(ObjectDefinitionRecord::kMasterId, 1);
    r.SetWord(ObjectDefinitionRecord::kSubIndex, subIndex);
    r.SetWord(cXPortal::kWallValueWord * 2, wallValue);
    r.SetWord(cXPortal::kPortalWord * 2, 77);
    if (end) r.SetFunctionEntry(cXPortal::kPortalEntry, kDoorTree);
    definitions.push_back(std::make_unique<ObjectDefinition>(nullptr, nullptr, r, "Door part", 0, 128));
    definitions.back()->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
    return definitions.back().get();
  }

  cXPortal* AddPart(ObjectDefinition* d, cXMTObject* lead, int16_t wallWord) {
    std::unique_ptr<cXObject> o = ObjectModule::MakePortal(d, &module, lead);
    auto* p = static_cast<cXPortal*>(o.get());
    p->InitFromDefinition();
    EXPECT_NE(module.AddObject(std::move(o), 0, true), 0);
    p->SetData(kDataPlacement, kPlaceOnGround);
    p->SetData(kDataSlotKinds, 1);
    p->SetData(kDataMovement, kMovePickUp | kMoveDelete);
    p->SetData(kDataWallPlacement, wallWord);
    return p;
  }

  // A door across the wall between tile rows y and y + 1: the lead on
  // row y against its side toward y+1, the second part below it against
  // its side toward y-1.
  std::vector<cXPortal*> Door(bool secondIsEnd = true) {
    cXPortal* lead = AddPart(PartDefinition(0x0000, true), nullptr, 4);
    cXPortal* second = AddPart(PartDefinition(0x0100, secondIsEnd), lead, 1);
    lead->UpdateOffsets();
    return {lead, second};
  }

  void PlainWallBetween(int x, int y) {
    world.sides[Key(TileLocation::At(x, y, 1))][3] = 1;
    world.sides[Key(TileLocation::At(x, y + 1, 1))][1] = 1;
  }

  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }
  int32_t Side(int x, int y, int n) { return world.GetWallSideEntries(TileLocation::At(x, y, 1))[n]; }

  PortalWorld world;
  FakeView view;
  std::vector<std::unique_ptr<ObjectDefinition>> definitions;
};

TEST_F(Portals, DecodeWallSideBitFollowsItsTable) {
  struct Case {
    int32_t n, mask, part, bare;
  };
  for (const Case& c : {Case{0, 1, 0, 1}, Case{1, 2, 0, 2}, Case{2, 4, 0, 4}, Case{3, 8, 0, 8}, Case{4, 16, 2, 16},
                        Case{5, 16, 4, 32}, Case{6, 32, 1, 64}, Case{7, 32, 3, 128}, Case{9, 512, 0, 512}}) {
    int32_t part = -1;
    EXPECT_EQ(cXPortal::DecodeWallSideBit(c.n, &part), c.mask) << c.n;
    EXPECT_EQ(part, c.part) << c.n;
    EXPECT_EQ(cXPortal::DecodeWallSideBit(c.n), c.bare) << c.n;
  }
}

TEST_F(Portals, CostsGrowWithNotComputedAndIgnoreGoalsOutOfRange) {
  std::vector<cXPortal*> d = Door();
  cXPortal& p = *d[0];
  p.SetCost(3, 12.5f);
  EXPECT_EQ(p.CostCount(), 3);
  EXPECT_EQ(p.GetCost(1), cXPortal::kNotComputed);
  EXPECT_EQ(p.GetCost(3), 12.5f);
  EXPECT_EQ(p.GetCost(0), 0.0f);
  EXPECT_EQ(p.GetCost(4), 0.0f);
  for (int32_t bad : {0, -1, 10000}) p.SetCost(bad, 5.0f);
  EXPECT_EQ(p.CostCount(), 3);
  p.SetCost(2, cXPortal::kNoPath);
  p.SetCost(4, cXPortal::kFailed);
  EXPECT_EQ(p.CostLabel(1), "U");
  EXPECT_EQ(p.CostLabel(2), "R");
  EXPECT_EQ(p.CostLabel(3), "12.50");
  EXPECT_EQ(p.CostLabel(4), "F");
}

TEST_F(Portals, PartnersAreTheOtherEndOfTheGroup) {
  std::vector<cXPortal*> d = Door();
  EXPECT_EQ(d[0]->Partner(), d[1]);
  EXPECT_EQ(d[1]->Partner(), d[0]);
  EXPECT_EQ(d[0]->GetTypeCode(), TypeCode("DOOR"));
  EXPECT_EQ(d[0]->GetDefinitionPortalWord(), 77);
  std::vector<cXPortal*> lone = Door(false);
  EXPECT_EQ(lone[0]->Partner(), nullptr);
  EXPECT_FALSE(lone[1]->IsPortalEnd());
}

TEST_F(Portals, PlacingWritesTheWallSidesAndRemovingGivesThemBack) {
  PlainWallBetween(5, 4);
  std::vector<cXPortal*> d = Door();
  ASSERT_TRUE(d[0]->CanPlace(At(5, 4), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
  d[0]->Place(At(5, 4), 1, nullptr, 0);
  EXPECT_EQ(d[1]->GetTile(), TileLocation::At(5, 5, 1));
  EXPECT_EQ(Side(5, 4, 3), 3);
  EXPECT_EQ(Side(5, 5, 1), 3);
  EXPECT_EQ(Side(5, 4, 0), 0);
  EXPECT_EQ(world.rebuilt, std::vector<int32_t>{1});

  // A wall side that holds another portal's value is taken.
  std::vector<cXPortal*> other = Door();
  PlainWallBetween(9, 4);
  world.sides[Key(TileLocation::At(9, 5, 1))][1] = 5;
  EXPECT_FALSE(other[0]->CanPlace(At(9, 4), 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), cXPortal::kCodeSideTaken);

  d[0]->RemoveFromWorld();
  EXPECT_EQ(Side(5, 4, 3), 1);
  EXPECT_EQ(Side(5, 5, 1), 1);
  EXPECT_EQ(world.rebuilt.size(), 2u);
}

TEST_F(Portals, MovingADoorGivesItsOldWallSidesBack) {
  PlainWallBetween(5, 4);
  PlainWallBetween(9, 4);
  std::vector<cXPortal*> d = Door();
  d[0]->Place(At(5, 4), 1, nullptr, 0);
  d[1]->Place(At(9, 5), 1, nullptr, 0);
  EXPECT_EQ(d[0]->GetTile(), TileLocation::At(9, 4, 1));
  EXPECT_EQ(Side(5, 4, 3), 1);
  EXPECT_EQ(Side(5, 5, 1), 1);
  EXPECT_EQ(Side(9, 4, 3), 3);
  EXPECT_EQ(Side(9, 5, 1), 3);
  d[0]->Place(FinePoint::OffLot(), 1, nullptr, 0);
  EXPECT_EQ(Side(9, 4, 3), 1);
  EXPECT_EQ(Side(9, 5, 1), 1);
}

TEST_F(Portals, PlacementNeedsAPlainWallAndATileCentre) {
  std::vector<cXPortal*> d = Door();
  // No wall at all where the door would stand.
  EXPECT_FALSE(d[0]->CanPlace(At(7, 4), 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), cXPortal::kCodeSideTaken);
  PlainWallBetween(7, 4);
  EXPECT_TRUE(d[0]->CanPlace(At(7, 4), 1, nullptr, 0));
  // The second part asks its lead with the point moved by its offset.
  EXPECT_TRUE(d[1]->CanPlace(At(7, 5), 1, nullptr, 0));
  FinePoint off = At(7, 4);
  off.x += 3;
  EXPECT_FALSE(d[0]->CanPlace(off, 1, nullptr, 0));
  EXPECT_EQ(cXObject::PlaceFailureCode(), cXPortal::kCodeNotTileCentre);
}

TEST_F(Portals, APortalOnTheOutermostRowChangesNoWallCells) {
  // The second part stands on the last row of the lot: its side is outside.
  std::vector<cXPortal*> d = Door();
  const int last = world.size - 1;
  d[0]->SetPosition(At(5, last - 1));
  d[1]->SetPosition(At(5, last));
  world.sides[Key(TileLocation::At(5, last, 1))][1] = 1;
  d[0]->ApplyToWalls(0, true);
  EXPECT_EQ(Side(5, last, 1), 1);
  EXPECT_EQ(Side(5, last - 1, 3), 3);
  d[0]->SetPosition(At(5, 0));
  d[1]->SetPosition(At(5, 1));
  world.sides.clear();
  d[0]->ApplyToWalls(0, false);
  EXPECT_EQ(Side(5, 0, 3), 0);
  EXPECT_EQ(Side(5, 1, 1), 3);
}

TEST_F(Portals, PlacingOrRemovingResetsEveryCost) {
  PlainWallBetween(5, 4);
  std::vector<cXPortal*> d = Door();
  std::vector<cXPortal*> other = Door();
  for (cXPortal* p : {d[0], d[1], other[0], other[1]}) {
    p->SetCost(1, 4.0f);
    p->SetCost(2, cXPortal::kFailed);
  }
  d[0]->Place(At(5, 4), 1, nullptr, 0);
  for (cXPortal* p : {d[0], d[1], other[0], other[1]}) {
    EXPECT_EQ(p->GetCost(1), cXPortal::kNotComputed);
    EXPECT_EQ(p->GetCost(2), cXPortal::kNotComputed);
    p->SetCost(2, 7.0f);
  }
  d[1]->RemoveFromWorld();
  for (cXPortal* p : {d[0], d[1], other[0], other[1]}) EXPECT_EQ(p->GetCost(2), cXPortal::kNotComputed);
}

TEST_F(Portals, GoalIdsAreTheSmallestFreeAndRunOut) {
  std::vector<cXPortal*> d = Door();
  FakePerson* person = Make<FakePerson>();
  d[0]->SetData(cXPortal::kGoalWord, 1);
  d[1]->SetData(cXPortal::kGoalWord, 3);
  EXPECT_EQ(cXPortal::NewGoalId(module), 2);
  ASSERT_TRUE(cXPortal::PrepareGoal(module, *person, nullptr));
  EXPECT_EQ(person->GetData(cXPortal::kGoalWord), 2);
  EXPECT_EQ(d[0]->GetCost(2), cXPortal::kNotComputed);

  // Every id in use: none is given, and a goal cannot be prepared.
  for (int32_t g = 4; g <= cXPortal::kMaxGoalId; ++g) {
    cXObject* o = Make();
    o->SetData(cXPortal::kGoalWord, static_cast<int16_t>(g));
  }
  EXPECT_EQ(cXPortal::NewGoalId(module), 0);
  FakePerson* late = Make<FakePerson>();
  EXPECT_FALSE(cXPortal::PrepareGoal(module, *late, nullptr));
  EXPECT_EQ(late->GetData(cXPortal::kGoalWord), 0);
}

// The label pictures a drawer leaves in a small screen buffer.
class PortalLabels : public Portals {
 protected:
  static constexpr int32_t kWidth = 120, kHeight = 40;
  void TearDown() override {
    cXPortal::SetDebugGoal(0);
    Portals::TearDown();
  }
  template <typename Draw>
  std::vector<uint16_t> Picture(Draw draw, DrawnRect* drawn = nullptr) {
    std::vector<uint16_t> pixels(kWidth * kHeight, 0);
    context.picture = PixelTarget{pixels.data(), nullptr, kWidth, kHeight, kWidth, true};
    context.originX = kWidth / 2;
    context.originY = kHeight / 2;
    const DrawnRect r = draw();
    if (drawn != nullptr) *drawn = r;
    context.picture = PixelTarget{};
    return pixels;
  }
  std::vector<uint16_t> LabelPicture(const std::string& text, DrawnRect* drawn = nullptr) {
    return Picture([&] { return drawer.DrawLabel(text, kWidth / 2, kHeight / 2, 0, context); }, drawn);
  }
  static bool Blank(const std::vector<uint16_t>& p) {
    return std::all_of(p.begin(), p.end(), [](uint16_t v) { return v == 0; });
  }

  ObjectDrawer drawer{[] { return 0u; }, true};
  ObjectDrawer quiet{[] { return 0u; }, false};
  DrawingContext context;
};

TEST_F(PortalLabels, AnEndDrawsItsCostForTheDebugGoal) {
  std::vector<cXPortal*> d = Door();
  cXPortal::SetDebugGoal(2);
  ASSERT_NE(LabelPicture("U"), LabelPicture("R")) << "labels of different texts differ";
  struct Case {
    float cost;
    const char* label;
  };
  for (const Case& c : {Case{cXPortal::kNotComputed, "U"}, Case{cXPortal::kNoPath, "R"},
                        Case{cXPortal::kFailed, "F"}, Case{12.5f, "12.50"}, Case{1003.0f, "1003.00"}}) {
    d[1]->SetCost(2, c.cost);
    DrawnRect drawn, expected;
    const std::vector<uint16_t> picture = Picture([&] { return d[1]->Draw(drawer, context); }, &drawn);
    EXPECT_EQ(picture, LabelPicture(c.label, &expected)) << c.label;
    EXPECT_EQ(drawn, expected) << c.label;
  }
  // Beyond its cost list an end shows the cost 0 it answers.
  cXPortal::SetDebugGoal(5);
  EXPECT_EQ(Picture([&] { return d[1]->Draw(drawer, context); }), LabelPicture("0.00"));
}

TEST_F(PortalLabels, NoCostLabelWithoutAGoalAnEndOrTheDebugSwitch) {
  std::vector<cXPortal*> lone = Door(false);
  lone[0]->SetCost(1, 4.0f);
  lone[1]->SetCost(1, 4.0f);
  EXPECT_TRUE(Blank(Picture([&] { return lone[0]->Draw(drawer, context); }))) << "no debug goal";
  cXPortal::SetDebugGoal(1);
  EXPECT_FALSE(Blank(Picture([&] { return lone[0]->Draw(drawer, context); }))) << "an end";
  EXPECT_TRUE(Blank(Picture([&] { return lone[1]->Draw(drawer, context); }))) << "not an end";
  EXPECT_TRUE(Blank(Picture([&] { return lone[0]->Draw(quiet, context); }))) << "labels off";
}

// Three rooms in a row along x, each 4 tiles wide: room 1 on x 1-4, room 2
// on x 5-8, room 3 on x 9-12; door A between rooms 1 and 2, door B between
// rooms 2 and 3.
class ThreeRooms : public Portals {
 protected:
  void SetUp() override {
    Portals::SetUp();
    a = Door();
    b = Door();
    Put(a[0], 4, 5, 1);
    Put(a[1], 5, 5, 2);
    Put(b[0], 8, 6, 2);
    Put(b[1], 9, 6, 3);
    person = Make<FakePerson>();
    Put(person, 2, 2, 1);
    goal = Make();
    Put(goal, 11, 9, 3);
  }
  static void Put(cXObject* o, int x, int y, int16_t room) {
    o->SetPosition(At(x, y));
    o->SetData(kDataRoom, room);
  }
  std::vector<cXPortal*> a, b;
  FakePerson* person = nullptr;
  cXObject* goal = nullptr;
};

TEST_F(ThreeRooms, PathCostAddsTheStepsOverPortalEnds) {
  const float expected = (a[0]->DistanceTo(*a[1]) + 1) + (a[1]->DistanceTo(*b[0]) + 1) + (b[0]->DistanceTo(*b[1]) + 1);
  EXPECT_FLOAT_EQ(cXPortal::PathCost(*a[0], *b[1]), expected);
  const int32_t g = a[0]->GetData(cXPortal::kGoalWord);
  EXPECT_NE(g, 0);
  EXPECT_EQ(a[0]->GetCost(g), 0.0f);
  // Computed once, the answer is read back without a new search.
  b[1]->SetCost(g, 42.0f);
  EXPECT_EQ(cXPortal::PathCost(*a[0], *b[1]), 42.0f);
  // Away from the goal's side nothing leads back into room 1 except a.
  EXPECT_FLOAT_EQ(cXPortal::PathCost(*b[1], *a[0]), expected);
}

TEST_F(ThreeRooms, ChoosePortalTakesTheDoorThatLeadsOn) {
  ASSERT_TRUE(cXPortal::PrepareGoal(module, *person, goal));
  EXPECT_EQ(cXPortal::ChoosePortal(module, *person, *goal), a[0]);
  const int32_t g = person->GetData(cXPortal::kGoalWord);
  const float cost = a[0]->GetCost(g);
  EXPECT_GT(cost, 0.0f);
  EXPECT_LE(cost, cXPortal::kCostCap);
  // In the middle room the door onward wins over the one back.
  Put(person, 6, 2, 2);
  EXPECT_EQ(cXPortal::ChoosePortal(module, *person, *goal), b[0]);
  EXPECT_EQ(a[1]->GetCost(g), cXPortal::kNoPath);
  // A room with no portal end: none.
  Put(person, 2, 2, 7);
  EXPECT_EQ(cXPortal::ChoosePortal(module, *person, *goal), nullptr);
}

TEST_F(ThreeRooms, ATakenPortalHolds1001ThenFailsAndIsNotChosen) {
  ASSERT_TRUE(cXPortal::PrepareGoal(module, *person, goal));
  const int32_t g = person->GetData(cXPortal::kGoalWord);
  ASSERT_EQ(cXPortal::ChoosePortal(module, *person, *goal), a[0]);
  cXPortal::MarkTaken(module, *person, *a[0]);
  EXPECT_EQ(a[0]->GetCost(g), 1001.0f);
  EXPECT_EQ(a[1]->GetCost(g), 1001.0f);
  cXPortal::MarkTaken(module, *person, *a[0]);
  EXPECT_EQ(a[0]->GetCost(g), 1101.0f);
  EXPECT_EQ(a[1]->GetCost(g), 1101.0f);
  EXPECT_EQ(cXPortal::ChoosePortal(module, *person, *goal), nullptr);
  cXPortal::MarkTaken(module, *person, *a[0]);
  EXPECT_EQ(a[0]->GetCost(g), 1101.0f);
}

TEST_F(ThreeRooms, TakenCostsCountUpWithinTheRoom) {
  ASSERT_TRUE(cXPortal::PrepareGoal(module, *person, goal));
  const int32_t g = person->GetData(cXPortal::kGoalWord);
  Put(person, 6, 2, 2);
  a[1]->SetCost(g, 1004.0f);
  b[0]->SetCost(g, 20.0f);
  cXPortal::MarkTaken(module, *person, *b[0]);
  EXPECT_EQ(b[0]->GetCost(g), 1005.0f);
  EXPECT_EQ(b[1]->GetCost(g), 1005.0f);
  cXPortal::MarkFailed(module, *person, *a[1]);
  EXPECT_EQ(a[0]->GetCost(g), cXPortal::kFailed);
  EXPECT_EQ(a[1]->GetCost(g), cXPortal::kFailed);
}

TEST_F(ThreeRooms, GoThroughPortalPushesTheDoorsTreeOntoThePerson) {
  PortalRouteContext context{goal, nullptr};
  const int32_t frames = person->FrameCount();
  ASSERT_TRUE(cXPortal::GoThroughPortal(*person, context));
  EXPECT_EQ(context.portal, a[0]);
  ASSERT_EQ(person->FrameCount(), frames + 1);
  EXPECT_EQ(person->CurrentFrame()->TreeId(), kDoorTree);
  EXPECT_EQ(person->CurrentFrame()->stackObject, a[0]->GetId());
  EXPECT_EQ(a[0]->GetCost(person->GetData(cXPortal::kGoalWord)), 1001.0f);
  PortalRouteContext none{nullptr, nullptr};
  EXPECT_FALSE(cXPortal::GoThroughPortal(*person, none));
}

// The record: written and read back at the current version, integers
// dropped before version 38, nothing before 15, and counts that lie.
class PortalRecords : public Portals {
 protected:
  std::vector<uint8_t> Write(cXPortal& p, int32_t version) {
    OneBehaviorCodec codec(behavior());
    ReconStream measure;
    measure.InitMeasure();
    p.Transfer(measure, version, false, codec);
    std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
    ReconStream s;
    s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
    EXPECT_TRUE(p.Transfer(s, version, false, codec));
    return bytes;
  }
  bool Read(cXPortal& p, std::vector<uint8_t>& bytes, int32_t version) {
    OneBehaviorCodec codec(behavior());
    ReconStream s;
    s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
    return p.Transfer(s, version, false, codec);
  }
};

TEST_F(PortalRecords, CostsRoundTripAsFloats) {
  std::vector<cXPortal*> d = Door();
  d[0]->SetCost(2, 3.25f);
  std::vector<uint8_t> bytes = Write(*d[0], ObjectModule::kSaveVersion);
  std::vector<cXPortal*> e = Door();
  ASSERT_TRUE(Read(*e[0], bytes, ObjectModule::kSaveVersion));
  ASSERT_EQ(e[0]->CostCount(), 2);
  EXPECT_EQ(e[0]->GetCost(1), cXPortal::kNotComputed);
  EXPECT_EQ(e[0]->GetCost(2), 3.25f);
}

TEST_F(PortalRecords, OldVersionsKeepNoCosts) {
  std::vector<cXPortal*> d = Door();
  d[0]->SetCost(3, 3.0f);
  std::vector<uint8_t> v37 = Write(*d[0], 37);
  std::vector<cXPortal*> e = Door();
  e[0]->SetCost(5, 9.0f);
  ASSERT_TRUE(Read(*e[0], v37, 37));
  ASSERT_EQ(e[0]->CostCount(), 3);
  EXPECT_EQ(e[0]->GetCost(3), 0.0f);
  std::vector<uint8_t> v14 = Write(*d[0], 14);
  std::vector<uint8_t> v15 = Write(*d[0], 15);
  EXPECT_EQ(v15.size(), v14.size() + 4 + 3 * 4);
  ASSERT_TRUE(Read(*e[0], v14, 14));
  EXPECT_EQ(e[0]->CostCount(), 3);
}

TEST_F(PortalRecords, CountsAreCheckedAndCapped) {
  std::vector<cXPortal*> d = Door();
  std::vector<uint8_t> empty = Write(*d[0], ObjectModule::kSaveVersion);
  const size_t countAt = empty.size() - 4;
  auto withCount = [&](int32_t count, int32_t values) {
    std::vector<uint8_t> b(empty.begin(), empty.begin() + static_cast<std::ptrdiff_t>(countAt));
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i)));
    b.resize(b.size() + static_cast<size_t>(values) * 4, 0);
    return b;
  };
  std::vector<cXPortal*> e = Door();
  std::vector<uint8_t> negative = withCount(-1, 0);
  EXPECT_FALSE(Read(*e[0], negative, ObjectModule::kSaveVersion));
  std::vector<uint8_t> shortOf = withCount(5, 4);
  EXPECT_FALSE(Read(*e[0], shortOf, ObjectModule::kSaveVersion));
  std::vector<uint8_t> many = withCount(10005, 10005);
  ASSERT_TRUE(Read(*e[0], many, ObjectModule::kSaveVersion));
  EXPECT_EQ(e[0]->CostCount(), cXPortal::kMaxGoalId);
}

}  // namespace
