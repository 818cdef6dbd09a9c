// Over the starter content and a few definitions compiled beside it: the
// hidden "comeandsee" companions of visitable objects, and interactions
// queued on persons.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "FakeLot.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "StarterContent.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::FakeWorld;
using tova_test::ScratchDir;

using tova_test::kChair;
using tova_test::kBench;

class ExtraContent : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path res = dir / "Companion.res";
    std::ofstream(res) << "file GameData/Objects/Companion.iff\n"
                          "object 128 \"comeandsee\"\n  guid 0x4C3A10F0\n  type 5\nend\n"
                          "object 129 \"Stereo\"\n  guid 0x4C3A10F2\n  type 4\nend\n"
                          "strings 129 \"Adult animations\"\n\"a-stand\"\n\"a-dance\"\n\"a-listen\"\nend\n";
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string(), {res.string()}));
    folder.Init((dir / "data").string() + "/");
    companion = folder.FindByName("comeandsee");
    ASSERT_NE(companion, nullptr);
    module.SetLot(&world, nullptr);
    globals[8] = 1997, globals[7] = 6, globals[1] = 15, globals[0] = 9;
    module.SetGlobals(globals);
  }
  cXObject* Placed(uint32_t guid, int x, int y) {
    cXObject* o = module.GetObjectById(module.CreateObject(folder.FindByGUID(guid)));
    EXPECT_NE(o, nullptr);
    EXPECT_TRUE(o->CanPlace(TileLocation::At(x, y, 1).GetCenterPoint(), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
    o->PlaceAndNotify(TileLocation::At(x, y, 1).GetCenterPoint(), 1, nullptr, 0);
    return o;
  }
  std::vector<cXObject*> All() {
    std::vector<cXObject*> out;
    for (cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) {
      if (o->GetDefinition() == companion) out.push_back(o);
    }
    return out;
  }

  ScratchDir dir;
  ObjectFolder folder;
  FakeWorld world;
  ObjectModule module{&folder};
  ObjectDefinition* companion = nullptr;
  int16_t globals[kSimulatorGlobalCount] = {};
};

TEST_F(ExtraContent, ANewVisitableObjectGetsOneAtItsCentre) {
  cXObject* chair = Placed(kChair, 5, 5);
  module.PlaceCompanions();
  ASSERT_EQ(All().size(), 1u);
  cXObject* mate = All().front();
  EXPECT_EQ(mate->GetPosition(), chair->GetPosition());
  EXPECT_EQ(chair->KeyedArrays().GetValue(mate->GetId(), 0), 1) << "recorded under the companion's id";

  module.PlaceCompanions();
  EXPECT_EQ(All().size(), 1u) << "found again through the keyed arrays";
  mate->RemoveFromWorld();
  globals[5] = 30;  // no longer new, but it has its companion
  module.PlaceCompanions();
  EXPECT_EQ(mate->GetPosition(), chair->GetPosition()) << "put back";

  // A group's companion stands at the average of its parts.
  cXObject* bench = Placed(kBench, 9, 9);
  globals[5] = 31;
  module.PlaceCompanions();
  EXPECT_EQ(All().size(), 1u) << "only while the object is less than a minute old";
  globals[5] = 30;
  bench->StampCreation();
  module.PlaceCompanions();
  ASSERT_EQ(All().size(), 2u);
  EXPECT_EQ(All().front()->GetPosition(), bench->GroupCentre());

  cXObject* hidden = Placed(kChair, 3, 3);
  hidden->SetData(kDataHidden, 1);
  module.PlaceCompanions();
  EXPECT_EQ(All().size(), 2u) << "a hidden object gets none";

  const int32_t before = module.ObjectCount();
  module.DeleteCompanions();
  EXPECT_TRUE(All().empty());
  EXPECT_EQ(module.ObjectCount(), before - 2);
  EXPECT_NE(module.GetObjectById(chair->GetId()), nullptr);
}

}  // namespace

namespace {

class Guest : public cXObject {
 public:
  using cXObject::cXObject;
  struct Queued {
    cXObject* target;
    int16_t object, index, flag;
    int32_t priority;
  };
  std::vector<Queued> queued;
  bool IsPerson() const override { return true; }
  bool QueueAction(cXObject& target, int16_t object, int16_t index, int16_t flag, int32_t priority) override {
    queued.push_back({&target, object, index, flag, priority});
    return true;
  }
};

TEST_F(ExtraContent, InteractionsAreQueuedOnTheSpecialObject) {
  auto made = std::make_unique<Guest>(companion, &module);
  Guest* guest = made.get();
  const int16_t person = module.AddObject(std::move(made), 0, true);
  const int16_t stereo = module.CreateObject(folder.FindByName("Stereo"));
  const int16_t chair = module.CreateObject(folder.FindByGUID(kChair));
  EXPECT_FALSE(module.QueueInteraction(person, stereo, 1, 0)) << "no special object yet";
  module.CreateAutomaticObjects();
  struct Case {
    int16_t person, object, index;
    bool queued;
  };
  const Case cases[] = {
      {person, stereo, 1, true}, {person, stereo, 0, false}, {person, stereo, 2, true},
      {person, stereo, 3, false} /* one past the count less one */,
      {stereo, stereo, 1, false} /* not a person */, {person, 999, 1, false}, {person, chair, 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(module.QueueInteraction(c.person, c.object, c.index, 7), c.queued) << c.object << " " << c.index;
  }
  ASSERT_EQ(guest->queued.size(), 2u);
  EXPECT_EQ(guest->queued[0].target, module.GetObjectById(module.GetSpecialObjectId()));
  EXPECT_EQ(guest->queued[0].object, stereo);
  EXPECT_EQ(guest->queued[0].index, 1);
  EXPECT_EQ(guest->queued[0].flag, 7);
  EXPECT_EQ(guest->queued[0].priority, 100);
}

}  // namespace
