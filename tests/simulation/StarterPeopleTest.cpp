// What people read of the starter content: the autonomy constants, the
// curve and mood tables, the person's interrupting entry, the step-aside
// marker and objects that advertise motives.
#include <gtest/gtest.h>

#include "FakeLot.h"
#include "StarterContent.h"
#include "gamedata/FloatConstants.h"
#include "gamedata/MotiveCurveSet.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/ResFileSource.h"
#include "gamedata/TreeTableData.h"
#include "resfile/IFFResFile2.h"
#include "simulation/ObjectModule.h"
#include "simulation/TreeTableServices.h"
#include "simulation/people/AutonomyConstants.h"
#include "simulation/people/MoodTables.h"
#include "simulation/people/cXPerson.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::ScratchDir;

using tova_test::kChair;
using tova_test::kTable;

class StarterPeople : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root()));
    folder.SetServices(&services);
    folder.Init(root() + "/");
    ASSERT_EQ(globalFile.Open(root() + "/GameData/Global/Global.iff"), 0);
  }
  void TearDown() override {
    module.Clear();
    globalFile.Close();
  }
  std::string root() const { return (dir / "data").string(); }

  ScratchDir dir;
  TreeTableServices services{nullptr};
  ObjectFolder folder;
  IFFResFile2 globalFile;
  ResFileSource global{&globalFile};
  ObjectModule module{&folder};
};

TEST_F(StarterPeople, TheGlobalFileHoldsTheAutonomyAndMoodTables) {
  FloatConstants constants;
  ASSERT_EQ(constants.Load(global, AutonomyConstantsClient::kTableId), kResOK);
  EXPECT_EQ(constants.Entries().size(), 12u);
  EXPECT_FLOAT_EQ(constants.Get("min autonomy score for sitting", -1, false), 0.2f);
  EXPECT_FLOAT_EQ(constants.Get("random selection count", -1, false), 10);

  MoodTables tables;
  tables.Load(global);
  EXPECT_EQ(tables.For(false).size(), 8u);
  EXPECT_EQ(tables.For(true).size(), 5u);
  EXPECT_EQ(tables.For(false).front().motiveIndex, kMotiveEnergy);
  EXPECT_FLOAT_EQ(tables.For(false).front().Evaluate(-100), 3);

  MotiveCurveSet resident;
  resident.LoadCurves(global, 501);
  EXPECT_FLOAT_EQ(resident.Curve(0).Evaluate(0), -20);
  MotiveCurveSet child;
  child.LoadCurves(global, 503);
  EXPECT_FLOAT_EQ(child.Curve(0).Evaluate(0), -30);
}

TEST_F(StarterPeople, ThePersonCanBeInterruptedAndObjectsAdvertise) {
  TreeTableData* person = folder.GetTemplatePersonDefinition()->GetTreeTable();
  ASSERT_NE(person, nullptr);
  ASSERT_NE(person->FindByNumber(kInterruptEntryKey), nullptr);
  EXPECT_EQ(person->FindByNumber(kInterruptEntryKey)->name, "Interrupt");
  for (uint32_t guid : {kChair, kTable}) {
    TreeTableData* table = folder.FindByGUID(guid)->GetTreeTable();
    ASSERT_NE(table, nullptr);
    bool advertises = false;
    for (const TreeTableEntry& e : table->entries) {
      for (int m : MotiveCurveSet::kMotiveIndexes) {
        if (static_cast<size_t>(m) < e.motives.size() && e.motives[static_cast<size_t>(m)].base != 0) advertises = true;
      }
    }
    EXPECT_TRUE(advertises) << std::hex << guid;
  }
}

TEST_F(StarterPeople, APersonAskedToStepAsideGetsTheMarkersWalk) {
  cXPerson::Register();
  ObjectDefinition* marker = folder.FindByGUID(kStepAsideGuid);
  ASSERT_NE(marker, nullptr);
  ASSERT_NE(marker->GetTreeTable(), nullptr);
  ASSERT_NE(marker->GetTreeTable()->FindByNumber(kStepAsideEntryKey), nullptr);
  const int16_t id = module.CreateObject(folder.GetTemplatePersonDefinition());
  ASSERT_NE(id, 0);
  auto* person = dynamic_cast<cXPerson*>(module.GetObjectById(id));
  ASSERT_NE(person, nullptr);
  ASSERT_TRUE(person->AskToStepAside(70));
  ASSERT_EQ(person->QueuedCount(), 1);
  cXObject* made = module.GetObjectById(person->GetQueuedAction(0)->target);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetDefinition(), marker);
  ASSERT_EQ(made->RoutingSlots().size(), 1u);
  EXPECT_EQ(made->RoutingSlots()[0].flags, 0x2155);
  EXPECT_TRUE(person->HasStepAsideAction());
  ObjectModule::SetPersonMaker(nullptr);
}

}  // namespace
