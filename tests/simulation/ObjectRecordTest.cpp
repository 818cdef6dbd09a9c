// The lot's object record ('ObjM' body) written and read back over the
// starter content's catalogue.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconStream.h"
#include "simulation/ObjectModule.h"
#include "StarterContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

constexpr int32_t kVersion = 62;
using tova_test::kTicker;
using tova_test::kChair;
using tova_test::kTable;
using tova_test::kLamp;

class ObjectRecord : public ::testing::Test {
 protected:
  void SetUp() override {
    // A person type of its own, besides the template person.
    const std::filesystem::path visitor = dir / "Visitor.res";
    std::ofstream(visitor) << "file GameData/Objects/Visitor.iff\n"
                              "object 128 \"Visitor\"\n  guid 0x4C3A10F1\n  type 2\nend\n";
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string(), {visitor.string()}));
    folder.Init((dir / "data").string() + "/");
    ASSERT_NE(folder.FindByGUID(kTicker), nullptr);
    ASSERT_EQ(types.Create((dir / "types.iff").string()), 0);
    ASSERT_EQ(types.Open((dir / "types.iff").string()), 0);
  }

  std::vector<uint8_t> Save(ObjectModule& module) {
    EXPECT_EQ(folder.SaveTypeTable(types), 0);
    ReconStream measure;
    measure.InitMeasure();
    EXPECT_TRUE(module.Transfer(measure, kVersion));
    std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
    ReconStream s;
    s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
    EXPECT_TRUE(module.Transfer(s, kVersion));
    return bytes;
  }

  bool Load(ObjectModule& module, std::vector<uint8_t> bytes) {
    EXPECT_EQ(folder.LoadTypeTable(types), 0);
    ReconStream s;
    s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
    return module.Transfer(s, kVersion);
  }

  ScratchDir dir;
  ObjectFolder folder;
  IFFResFile2 types;
};

TEST_F(ObjectRecord, RoundTripKeepsIdsWordsAndStacks) {
  std::vector<uint8_t> saved;
  {
    ObjectModule module(&folder);
    const int16_t a = module.CreateObject(folder.FindByGUID(kTicker));
    const int16_t b = module.CreateObject(folder.FindByGUID(kChair));
    const int16_t c = module.CreateObject(folder.FindByGUID(kTicker));
    ASSERT_EQ((std::vector<int16_t>{a, b, c}), (std::vector<int16_t>{1, 2, 3}));
    module.DeleteObject(b);
    ASSERT_EQ(module.CreateObject(folder.FindByGUID(kChair)), 2) << "the free id is taken again";
    for (int i = 0; i < 3; ++i) module.GetObjectById(a)->Tick();
    module.GetObjectById(c)->Temps()[6] = -6;
    module.GetObjectById(c)->KeyedArrays().AddArray(a);
    module.SetCountdown(c, 17);
    module.GlobalCallList().push_back(module.GetObjectById(a));
    saved = Save(module);
  }
  ObjectModule loaded(&folder);
  ASSERT_TRUE(Load(loaded, saved));
  ASSERT_EQ(loaded.ObjectCount(), 3);
  cXObject* a = loaded.GetObjectById(1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetDefinition()->GetGUID(), kTicker);
  EXPECT_EQ(a->Attributes()[0], 4) << "creation ran one tick, then three more";
  EXPECT_EQ(a->FrameCount(), 1);
  EXPECT_EQ(a->CurrentFrame()->TreeId(), 4096);
  EXPECT_EQ(a->CurrentFrame()->node, 4);
  EXPECT_EQ(a->CurrentFrame()->behavior, a->GetBehavior());
  EXPECT_EQ(loaded.GetObjectById(2)->GetDefinition()->GetGUID(), kChair);
  EXPECT_EQ(loaded.GetObjectById(3)->Temps()[6], -6);
  EXPECT_EQ(loaded.GetObjectById(3)->KeyedArrays().GetIdAt(0), 1);
  EXPECT_EQ(loaded.GetCountdown(3), 17);
  EXPECT_EQ(loaded.GlobalCallList(), std::vector<cXObject*>{a});
  // The list order survives: 2 was created last, at the head.
  EXPECT_EQ(loaded.FirstObject()->GetId(), 2);
  a->Tick();
  EXPECT_EQ(a->Attributes()[0], 5) << "the loaded stack runs on";
}

TEST_F(ObjectRecord, AMissingDefinitionBecomesTheFallbackAndTheRestStaysInStep) {
  std::vector<uint8_t> saved;
  {
    ObjectModule module(&folder);
    module.CreateObject(folder.FindByGUID(kTicker));
    const int16_t chair = module.CreateObject(folder.FindByGUID(kChair));
    module.GetObjectById(chair)->SetData(kDataDirection, 6);
    const int16_t last = module.CreateObject(folder.FindByGUID(kTicker));
    module.GetObjectById(last)->Attributes()[1] = 1234;
    module.SetCountdown(last, 9);
    saved = Save(module);
  }
  ASSERT_TRUE(folder.UnloadDefinition(folder.FindByGUID(kChair)));
  ObjectModule loaded(&folder);
  ASSERT_TRUE(Load(loaded, saved));
  cXObject* chair = loaded.GetObjectById(2);
  ASSERT_NE(chair, nullptr);
  EXPECT_EQ(chair->GetDefinition()->GetGUID(), ObjectFolder::kMissingTypeGuid);
  EXPECT_EQ(chair->GetData(kDataDirection), 0) << "a replaced object loses its direction";
  EXPECT_EQ(loaded.GetObjectById(3)->Attributes()[1], 1234);
  EXPECT_EQ(loaded.GetCountdown(3), 9) << "the scheduler words stayed in step";
}

class RecordGuest : public cXObject {
 public:
  using cXObject::cXObject;
  bool IsPerson() const override { return true; }
};

TEST_F(ObjectRecord, AMissingPersonBecomesTheTemplatePerson) {
  ObjectModule::SetPersonMaker([](ObjectDefinition* d, ObjectModule* m) -> std::unique_ptr<cXObject> {
    return std::make_unique<RecordGuest>(d, m);
  });
  std::vector<uint8_t> saved;
  {
    ObjectModule module(&folder);
    const int16_t guest = module.CreateObject(folder.FindByGUID(0x4C3A10F1));
    ASSERT_NE(guest, 0);
    module.SetCountdown(guest, 4);
    const int16_t last = module.CreateObject(folder.FindByGUID(kTicker));
    module.GetObjectById(last)->Attributes()[1] = 4321;
    module.SetCountdown(last, 8);
    saved = Save(module);
  }
  ASSERT_TRUE(folder.UnloadDefinition(folder.FindByGUID(0x4C3A10F1)));
  ObjectModule loaded(&folder);
  ASSERT_TRUE(Load(loaded, saved));
  cXObject* guest = loaded.GetObjectById(1);
  ASSERT_NE(guest, nullptr);
  EXPECT_TRUE(guest->IsPerson());
  EXPECT_EQ(guest->GetDefinition()->GetGUID(), ObjectFolder::kTemplatePersonGuid);
  EXPECT_EQ(loaded.GetCountdown(1), 4) << "its word was written, so it is read";
  EXPECT_EQ(loaded.GetObjectById(2)->Attributes()[1], 4321);
  EXPECT_EQ(loaded.GetCountdown(2), 8) << "the words after it stayed in step";
  ObjectModule::SetPersonMaker(nullptr);
}

TEST_F(ObjectRecord, SlotsKeepTheirObjectsAndLoseNamesOfNone) {
  std::vector<uint8_t> saved;
  {
    ObjectModule module(&folder);
    cXObject* table = module.GetObjectById(module.CreateObject(folder.FindByGUID(kTable)));
    cXObject* lamp = module.GetObjectById(module.CreateObject(folder.FindByGUID(kLamp)));
    ASSERT_EQ(table->SlotCount(), 2);
    table->SetSlotObject(0, lamp->GetId());
    table->SetSlotObject(1, 999);  // names no object
    saved = Save(module);
  }
  ObjectModule loaded(&folder);
  ASSERT_TRUE(Load(loaded, saved));
  cXObject* table = loaded.GetObjectById(1);
  EXPECT_EQ(table->GetSlotObject(0), 2);
  EXPECT_EQ(table->GetSlotObject(1), 0);
}

TEST_F(ObjectRecord, DamagedRecordsAreRefused) {
  std::vector<uint8_t> saved;
  {
    ObjectModule module(&folder);
    module.CreateObject(folder.FindByGUID(kTicker));
    module.CreateObject(folder.FindByGUID(kTicker));
    saved = Save(module);
  }
  for (size_t cut = 0; cut + 1 < saved.size(); cut += 5) {
    ObjectModule loaded(&folder);
    EXPECT_FALSE(Load(loaded, std::vector<uint8_t>(saved.begin(), saved.begin() + static_cast<long>(cut)))) << cut;
  }
  // Before version 47 the body is the tutorial object's id alone.
  ObjectModule old(&folder);
  ReconStream s;
  s.InitBuffer(saved.data(), 1, ReconStream::kRead, false);
  EXPECT_FALSE(old.Transfer(s, 46));
}

}  // namespace
