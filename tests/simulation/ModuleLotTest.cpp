// The object module's dealings with the lot as a whole: the selected
// person, the global-call list, dialog requests, figures for the house and
// its rooms, the draw order, moving the lot and the queue dump.
#include <gtest/gtest.h>

#include <sstream>

#include "FakeLot.h"
#include "SimFixture.h"
#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"

using namespace tova;
using namespace tova_test;

namespace {

class LotListener : public Commander {
 public:
  std::vector<std::pair<int32_t, intptr_t>> heard;
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    if (command == cmd::kSelectedPersonChanged || command == cmd::kObjectModule) heard.emplace_back(command, argument);
    return 0;
  }
};

class Member : public FakePerson {
 public:
  using FakePerson::FakePerson;
  int16_t neighbour = 0;
  std::vector<QueuedActionInfo> queue;
  int16_t GetNeighbourId() const override { return neighbour; }
  int32_t ActionQueueLength() const override { return static_cast<int32_t>(queue.size()); }
  QueuedActionInfo DescribeQueuedAction(int32_t i) const override { return queue[static_cast<size_t>(i)]; }
};

class Shell : public iGameShell {
 public:
  bool free = false;
  bool FreeMode() const override { return free; }
};

class TurningWorld : public FakeWorld {
 public:
  int32_t rotation = 0;
  int32_t GetViewRotation() const override { return rotation; }
};

class ModuleLot : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    module.SetLot(&world, &view);
    module.SetShell(&shell);
  }
  Member* Person(int16_t neighbour) {
    Member* p = Make<Member>();
    p->neighbour = neighbour;
    return p;
  }
  cXObject* Placed(int x, int y) {
    cXObject* o = Make();
    o->Place(TileLocation::At(x, y, 1).GetCenterPoint(), 1, nullptr, 0);
    return o;
  }
  TurningWorld world;
  FakeView view;
  Shell shell;
};

TEST_F(ModuleLot, SelectionFollowsTheFamilyOutsideFreeMode) {
  LotListener listener;
  Member* a = Person(11);
  Member* stranger = Person(99);
  Member* b = Person(12);
  module.SetFamily({12, 11});
  EXPECT_EQ(module.SelectNextPerson(), b) << "the first member with a person";
  EXPECT_EQ(module.GetSelectedPerson(), b);
  EXPECT_EQ(module.SelectNextPerson(), a);
  EXPECT_EQ(module.SelectNextPerson(), b) << "wrapping";
  EXPECT_EQ(listener.heard.back(), (std::pair<int32_t, intptr_t>{cmd::kSelectedPersonChanged, b->GetId()}));

  // A stranger selected outside free mode gives way at the next step.
  module.SetSelectedPerson(stranger);
  EXPECT_EQ(module.ProcessDeletions(false), b);
  // In free mode anyone goes, in list order.
  shell.free = true;
  module.SetSelectedPerson(stranger);
  EXPECT_EQ(module.ProcessDeletions(false), stranger);
  EXPECT_EQ(module.SelectNextPerson(), b);
  EXPECT_EQ(module.SelectNextPerson(), a) << "wrapping to the head of the list";

  // The lot's load selects one only when none is selected.
  module.SetSelectedPerson(nullptr);
  EXPECT_EQ(listener.heard.back(), (std::pair<int32_t, intptr_t>{cmd::kSelectedPersonChanged, 0}));
  Broadcast(cmd::kLotLoad, 0);
  EXPECT_EQ(module.GetSelectedPerson(), a);
  Broadcast(cmd::kLotLoad, 0);
  EXPECT_EQ(module.GetSelectedPerson(), a);
}

TEST_F(ModuleLot, TheGlobalCallListAnnouncesEmptyAndNotEmpty) {
  LotListener listener;
  cXObject* a = Make();
  cXObject* b = Make();
  module.AddGlobalCall(a);
  module.AddGlobalCall(b);
  module.AddGlobalCall(a);
  EXPECT_EQ(module.GlobalCallList(), (std::vector<cXObject*>{a, b, a}));
  module.RemoveGlobalCall(a);
  EXPECT_EQ(module.GlobalCallList(), (std::vector<cXObject*>{b, a}));
  module.RemoveGlobalCall(b);
  module.RemoveGlobalCall(a);
  module.AddGlobalCall(b);
  module.DeleteObject(b->GetId());
  const std::pair<int32_t, intptr_t> notice{cmd::kObjectModule, 0};
  EXPECT_EQ(listener.heard, (std::vector<std::pair<int32_t, intptr_t>>(4, notice)))
      << "empty to listed, listed to empty, twice";
}

TEST_F(ModuleLot, TheNeighbourhoodHearsOfRelationshipsOnEvery40thTick) {
  int told = 0;
  module.SetNeighbourhoodRefresh([&told] { ++told; });
  module.ProcessDeletions(false, 40);
  EXPECT_EQ(told, 0) << "nothing changed";
  module.OnRelationshipChanged();
  module.ProcessDeletions(false, 41);
  module.ProcessDeletions(true, 80);
  EXPECT_EQ(told, 0) << "not on tick 41, nor when skipped";
  module.ProcessDeletions(false, 80);
  module.ProcessDeletions(false, 120);
  EXPECT_EQ(told, 1);
  EXPECT_FALSE(module.RefreshPending());
}

TEST_F(ModuleLot, GlobalSlotPointsComeFromSlotList100) {
  MemoryResourceSource globals{"GameData/Global/Global.iff"};
  SlotDescriptor point;
  point.type = kSlotPoint;
  point.x = 1.5f;
  SlotDescriptor other;
  other.type = kSlotObject;
  globals.Add(kTypeSLOT, 100, MakeSlotRecord({other, point, point}), "Global slots");
  module.LoadGlobalSlotPoints(&globals);
  ASSERT_EQ(module.GlobalSlotPoints().size(), 2u);
  EXPECT_FLOAT_EQ(module.GlobalSlotPoints()[0].x, 1.5f);
  MemoryResourceSource none{"GameData/Global/Global.iff"};
  module.LoadGlobalSlotPoints(&none);
  EXPECT_TRUE(module.GlobalSlotPoints().empty());
}

class Request : public ObjectDialogRecord {
 public:
  Request(cXObject* asker, int* shown, int* closed) : ObjectDialogRecord(asker), shown_(shown), closed_(closed) {}
  void Show() override {
    ++*shown_;
    ObjectDialogRecord::Show();
  }
  void Close() override {
    ++*closed_;
    ObjectDialogRecord::Close();
  }

 private:
  int* shown_;
  int* closed_;
};

TEST_F(ModuleLot, DialogRequestsAreShownOnceAndDroppedWhenFinished) {
  cXObject* asker = Make();
  cXObject* tutor = Make();
  int shown = 0, closed = 0;
  module.QueueDialog(std::make_unique<Request>(asker, &shown, &closed));
  module.QueueDialog(std::make_unique<Request>(tutor, &shown, &closed));
  module.ProcessDeletions(true);
  EXPECT_TRUE(module.DialogShown());
  EXPECT_EQ(shown, 2);
  module.ProcessDeletions(false);
  EXPECT_FALSE(module.DialogShown()) << "shown ones wait";
  EXPECT_EQ(shown, 2);

  module.PendingDialogs()[0]->SetState(ObjectDialogRecord::kStateFinished);
  module.ProcessDeletions(false);
  ASSERT_EQ(module.PendingDialogs().size(), 1u);
  // Clearing the tutorial object closes its requests.
  module.SetTutorialObject(tutor);
  module.SetTutorialObject(nullptr);
  EXPECT_EQ(closed, 1);
  module.ProcessDeletions(false);
  EXPECT_TRUE(module.PendingDialogs().empty());
  // A deleted object's requests go with it.
  module.QueueDialog(std::make_unique<Request>(asker, &shown, &closed));
  module.DeleteObject(asker->GetId());
  EXPECT_TRUE(module.PendingDialogs().empty());
  EXPECT_EQ(closed, 2);
}

class Deleting : public ObjectDialogRecord {
 public:
  Deleting(cXObject* asker, ObjectModule& m, int16_t victim) : ObjectDialogRecord(asker), m_(m), victim_(victim) {}
  void Show() override {
    m_.DeleteObject(victim_);
    ObjectDialogRecord::Show();
  }

 private:
  ObjectModule& m_;
  int16_t victim_;
};

TEST_F(ModuleLot, ShowingARequestMayDeleteAnotherAsker) {
  cXObject* a = Make();
  cXObject* b = Make();
  int shown = 0, closed = 0;
  module.QueueDialog(std::make_unique<Deleting>(a, module, b->GetId()));
  module.QueueDialog(std::make_unique<Request>(b, &shown, &closed));
  module.ProcessDeletions(false);
  EXPECT_EQ(shown, 0) << "its asker went before it was shown";
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(module.PendingDialogs().size(), 1u);
}

TEST_F(ModuleLot, HouseSummaryAndRoomValues) {
  struct Kind {
    int16_t type, category, mask;
  };
  std::vector<std::unique_ptr<ObjectDefinition>> kinds;
  // The objects go before their definitions do.
  struct ClearFirst {
    ObjectModule& m;
    ~ClearFirst() { m.Clear(); }
  } clearFirst{module};
  auto make = [&](Kind k, int x, int16_t value) {
    ObjectDefinitionRecord r = definition->GetRecord();
    r.SetWord(ObjectDefinitionRecord::kObjectType, k.type);
    r.SetWord(ObjectDefinitionRecord::kCategory, k.category);
    r.SetWord(ObjectDefinitionRecord::kCatalogMask1, k.mask);
    kinds.push_back(std::make_unique<ObjectDefinition>(nullptr, nullptr, r, "Kind", 0, 128));
    auto o = std::make_unique<cXObject>(kinds.back().get(), &module);
    o->InitFromDefinition();
    cXObject* p = o.get();
    module.AddObject(std::move(o), 0, true);
    p->SetData(kDataValue, value);
    if (x > 0) p->Place(TileLocation::At(x, 3, 1).GetCenterPoint(), 1, nullptr, 0);
    return p;
  };
  cXObject* plain = make({4, 0, 1}, 2, 100);   // buyable, category 0
  cXObject* built = make({4, 2, 0}, 3, 40);    // category 2
  cXObject* counter = make({4, 4, 0}, 4, 7);   // category 4: in neither sum
  cXObject* hidden = make({7, 2, 1}, 5, 1000); // automatic: not counted
  cXObject* stored = make({4, 0, 1}, 0, 60);   // not on the lot
  plain->SetData(kDataValueClass, 9);
  hidden->SetData(kDataValueClass, 1);
  counter->SetData(kDataMovement, 0x10);

  ObjectModule::HouseSummary s = module.GetHouseSummary();
  EXPECT_FALSE(s.valueClass1) << "type 7 is left out";
  EXPECT_TRUE(s.valueClass9);
  EXPECT_TRUE(s.builtOnOpenTile);
  EXPECT_EQ(s.personAndPlainValue, 100 + 60);
  EXPECT_EQ(s.otherValue, 40);
  for (int x = 2; x <= 4; ++x) world.flags[Key(TileLocation::At(x, 3, 1))] = kLotTileNoPlacement;
  EXPECT_FALSE(module.GetHouseSummary().builtOnOpenTile);

  built->SetData(kDataDepreciated, 1);  // broken: half its value
  stored->SetData(kDataRoomValue, 2);   // dirty
  plain->SetData(kDataRoom, 3);
  counter->SetData(kDataRoom, 4);
  ObjectModule::RoomValues v = module.GetRoomValues(15, 6, [](int16_t room) { return room == 4; });
  EXPECT_EQ(v.upkeepPenalty, 15 + 6);
  EXPECT_EQ(v.countedObjects, 4);
  EXPECT_EQ(v.indoorValue, 100) << "room 3 is inside";
  EXPECT_EQ(v.outdoorValue, 20 + 7) << "outdoors (-5) and room 4";
}

TEST_F(ModuleLot, DrawOrderRunsBackToFrontForTheRotation) {
  cXObject* far = Placed(2, 2);
  cXObject* near = Placed(6, 6);
  cXObject* left = Placed(2, 6);
  cXObject* right = Placed(6, 2);
  Make();  // off the lot: never drawn
  EXPECT_EQ(module.GetDrawOrder(), (std::vector<cXObject*>{far, right, left, near}));
  world.rotation = 1;
  // A quarter turn takes (y, x) to (63 - x, y).
  EXPECT_EQ(module.GetDrawOrder(), (std::vector<cXObject*>{right, near, far, left}));
  // A move makes it stale.
  near->Place(TileLocation::At(13, 1, 1).GetCenterPoint(), 1, nullptr, 0);
  EXPECT_EQ(module.GetDrawOrder().front(), near);
  module.DeleteObject(near->GetId());
  EXPECT_EQ(module.GetDrawOrder().size(), 3u);
}

TEST_F(ModuleLot, RepositionMovesTheLotAndDeletesWhatFallsOffIt) {
  cXObject* kept = Placed(5, 5);
  cXObject* lost = Placed(12, 5);
  const int16_t lostId = lost->GetId();
  cXObject* away = Make();
  module.Reposition(3, -1);
  EXPECT_EQ(module.GetObjectById(lostId), nullptr) << "x 15 is on the border of 16 tiles";
  EXPECT_EQ(kept->GetTile(), TileLocation::At(8, 4, 1));
  EXPECT_FALSE(away->IsOnLot());
  EXPECT_EQ(world.GetObjectIdAt(TileLocation::At(5, 5, 1)), kept->GetId()) << "the world moves its own layers";
}

class Portal : public cXObject {
 public:
  using cXObject::cXObject;
  bool IsPortal() const override { return true; }
};

TEST_F(ModuleLot, APortalAnswersTheWallPictureOfItsSide) {
  definition->GetRecord().SetWord(ObjectDefinitionRecord::kWallPictureBase, 12);
  cXObject* plain = Placed(5, 5);
  plain->SetData(kDataWallPlacement, 1);
  Portal* door = Make<Portal>();
  door->SetData(kDataWallPlacement, 1);
  door->Place(TileLocation::At(5, 5, 1).GetCenterPoint(), 1, nullptr, 0);
  ObjectDefinition* found = nullptr;
  const int32_t side = door->GetWallSideMask();
  EXPECT_EQ(module.PortalWallPicture(TileLocation::At(5, 5, 1), side, &found), 12);
  EXPECT_EQ(found, definition.get());
  EXPECT_EQ(module.PortalWallPicture(TileLocation::At(5, 5, 1), side ^ 0xF, &found), 0) << "another side";
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(module.PortalWallPicture(TileLocation::At(6, 5, 1), side, nullptr), 0);
}

TEST_F(ModuleLot, TheQueueDump) {
  Member* p = Person(3);
  cXObject* target = Make();
  QueuedActionInfo go;
  go.present = true;
  go.name = "Sit";
  go.target = target->GetId();
  go.treeId = 4100;
  go.treeName = "Chair: sit";
  go.priority = 100;
  go.entryIndex = 2;
  QueuedActionInfo nowhere = go;
  nowhere.target = 0;
  p->queue = {go, QueuedActionInfo{}, nowhere};
  std::ostringstream out;
  module.DumpQueues(out);
  EXPECT_EQ(out.str(),
            "Action Queues:\n"
            "Person 1, Thing\n"
            "Position 0 Sit\nObject 2, Thing\nAction tree 4100, Chair: sit\nPriority 100\nEntry Index 2\n"
            "Position 1 NULL\n"
            "Position 2 Sit\nObject NULL\nAction tree 4100, Chair: sit\nPriority 100\nEntry Index 2\n"
            "\nObjects:\n"
            "1 = Thing\n"
            "2 = Thing\n");
}

TEST_F(ModuleLot, CreationIsStampedFromTheClock) {
  int16_t globals[kSimulatorGlobalCount] = {};
  globals[8] = 1997, globals[7] = 6, globals[1] = 15, globals[0] = 9, globals[5] = 30;
  module.SetGlobals(globals);
  cXObject* o = Make();
  o->StampCreation();
  EXPECT_EQ(o->GetData(kDataCreationYear), 1997);
  EXPECT_EQ(o->GetData(kDataCreationMinute), 30);
  EXPECT_EQ(o->AgeInMinutes(), 0);
  globals[5] = 59;
  globals[0] = 10;
  EXPECT_EQ(o->AgeInMinutes(), 89);
  globals[8] = 1999;
  o->ResetData(false);
  EXPECT_EQ(o->GetData(kDataAgeMonths), 24);
  EXPECT_EQ(o->GetData(kDataAgeYears), 2);
  globals[8] = 1990;
  EXPECT_EQ(o->AgeInMinutes(), 0) << "a clock set back";
}

}  // namespace
