// Lots saved before the object record held its objects: one 'Rcon' record
// per object, written by the module's own writer and read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeLot.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXMTObject.h"
#include "simulation/cXObjectStream.h"
#include "StarterContent.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::FakeWorld;
using tova_test::ScratchDir;

using tova_test::kTicker;
using tova_test::kChair;
using tova_test::kTable;
using tova_test::kLamp;
using tova_test::kBench;
constexpr ResType kRecord = TypeCode("Rcon");

// A record whose object code names no class, with a few bytes after it.
struct StrangeNode {
  uint32_t code = TypeCode("ABCD");
  void Reconstitute(ReconStream& s, int32_t) {
    s.SerializeLongs(&code, 1);
    int32_t filler[3] = {1, 2, 3};
    s.SerializeLongs(filler, 3);
  }
};

class OldLot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
    folder.Init((dir / "data").string() + "/");
    ASSERT_NE(folder.FindByGUID(kTicker), nullptr);
    ASSERT_EQ(file.Create(path()), 0);
    ASSERT_EQ(file.Open(path()), 0);
  }
  std::string path(int n = 0) const { return (dir / ("old" + std::to_string(n) + ".iff")).string(); }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }
  cXObject* Place(ObjectModule& m, uint32_t guid, FinePoint at, cXObject* container = nullptr, int slot = 0) {
    cXObject* o = m.GetObjectById(m.CreateObject(folder.FindByGUID(guid)));
    EXPECT_NE(o, nullptr);
    EXPECT_TRUE(o->CanPlace(at, 1, container, slot)) << cXObject::PlaceFailureCode();
    o->PlaceAndNotify(at, 1, container, slot);
    return o;
  }

  // A lot with a ticking object, a chair, a table holding a lamp in its
  // second slot and a turned two-part bench.
  void Furnish(ObjectModule& m) {
    m.SetLot(&world, nullptr);
    m.CreateAutomaticObjects();
    cXObject* ticker = m.GetObjectById(m.CreateObject(folder.FindByGUID(kTicker)));
    for (int i = 0; i < 2; ++i) ticker->Tick();
    ticker->Temps()[5] = -5;
    cXObject* chair = Place(m, kChair, At(3, 3));
    chair->SetData(kDataDirection, 4);
    cXObject* table = Place(m, kTable, At(7, 7));
    Place(m, kLamp, At(7, 7), table, 1);
    cXObject* bench = m.GetObjectById(m.CreateObject(folder.FindByGUID(kBench)));
    std::vector<cXObject*> parts;
    bench->GetGroup(parts);
    for (cXObject* p : parts) p->SetData(kDataDirection, 2);
    static_cast<cXMTObject*>(bench)->UpdateOffsets();
    ASSERT_TRUE(bench->CanPlace(At(10, 10), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
    bench->PlaceAndNotify(At(10, 10), 1, nullptr, 0);
    m.SetTutorialObject(chair);
  }

  static cXObject* Find(ObjectModule& m, uint32_t guid) {
    for (cXObject* o = m.FirstObject(); o != nullptr; o = o->GetNext()) {
      if (o->GetDefinition()->GetGUID() == guid) return o;
    }
    return nullptr;
  }

  struct Seen {
    int16_t id;
    uint32_t guid;
    TileLocation tile;
    int16_t direction, container, slot;
    bool operator==(const Seen&) const = default;
  };
  static std::vector<Seen> Look(ObjectModule& m) {
    std::vector<Seen> out;
    for (cXObject* o = m.FirstObject(); o != nullptr; o = o->GetNext()) {
      out.push_back({o->GetId(), o->GetDefinition()->GetGUID(), o->GetTile(), o->GetData(kDataDirection),
                     o->GetData(kDataContainer), o->GetData(kDataSlotIndex)});
    }
    return out;
  }

  ScratchDir dir;
  ObjectFolder folder;
  FakeWorld world;
  IFFResFile2 file;
};

TEST_F(OldLot, ObjectsComeBackFromTheirOwnRecords) {
  for (int32_t version : {40, 46}) {
    SCOPED_TRACE(version);
    world.objects.clear();
    std::vector<Seen> before;
    {
      ObjectModule module(&folder);
      ASSERT_NO_FATAL_FAILURE(Furnish(module));
      before = Look(module);
      ASSERT_EQ(module.Save(file, version), 0);
    }
    EXPECT_EQ(file.CountResources(kRecord), static_cast<int>(before.size()));
    world.objects.clear();
    ObjectModule loaded(&folder);
    loaded.SetLot(&world, nullptr);
    std::vector<std::string> grid;
    ASSERT_EQ(loaded.Load(file, version, &grid), 0);
    EXPECT_EQ(Look(loaded), before) << "same ids, list order, places and containment";
    EXPECT_TRUE(grid.empty()) << grid.front();
    ASSERT_NE(loaded.GetTutorialObject(), nullptr);
    EXPECT_EQ(loaded.GetTutorialObject()->GetDefinition()->GetGUID(), kChair);

    cXObject* ticker = Find(loaded, kTicker);
    ASSERT_NE(ticker, nullptr);
    EXPECT_TRUE((loaded.GetSchedulerWord(ticker->GetId()) >> 16) & kSchedActive) << "it runs";
    EXPECT_EQ(ticker->Temps()[5], -5);
    EXPECT_EQ(ticker->FrameCount(), 1);
    EXPECT_EQ(ticker->CurrentFrame()->behavior, ticker->GetBehavior());
    // The bench's parts are one group again.
    cXObject* part = nullptr;
    for (cXObject* o = loaded.FirstObject(); o != nullptr; o = o->GetNext()) {
      if (o->GetDefinition()->GetGUID() != kBench && o->IsGroupPart()) part = o;
    }
    ASSERT_NE(part, nullptr);
    std::vector<cXObject*> group;
    part->GetGroup(group);
    EXPECT_EQ(group.size(), 2u);
    // And a current save of the loaded lot keeps them all.
    ASSERT_EQ(loaded.Save(file, ObjectModule::kSaveVersion), 0);
    ObjectModule again(&folder);
    world.objects.clear();
    again.SetLot(&world, nullptr);
    ASSERT_EQ(again.Load(file, ObjectModule::kSaveVersion), 0);
    EXPECT_EQ(Look(again), before);
    file.Close();
    ASSERT_EQ(file.Create(path(version)), 0);
    ASSERT_EQ(file.Open(path(version)), 0);
  }
}

TEST_F(OldLot, ALostDefinitionBecomesTheFallbackInPlace) {
  {
    ObjectModule module(&folder);
    ASSERT_NO_FATAL_FAILURE(Furnish(module));
    ASSERT_EQ(module.Save(file, 46), 0);
  }
  ASSERT_TRUE(folder.UnloadDefinition(folder.FindByGUID(kChair)));
  world.objects.clear();
  ObjectModule loaded(&folder);
  loaded.SetLot(&world, nullptr);
  ASSERT_EQ(loaded.Load(file, 46), 0);
  // Ids: the automatic object 1, the ticker 2, the chair 3, table 4, lamp 5.
  cXObject* chair = loaded.GetObjectById(3);
  ASSERT_NE(chair, nullptr);
  EXPECT_EQ(chair->GetDefinition()->GetGUID(), kFallbackDefinitionGuid);
  EXPECT_EQ(chair->GetTypeCode(), TypeCode("XOBJ"));
  EXPECT_EQ(chair->GetTile(), TileLocation::At(3, 3, 1)) << "same place, same id";
  EXPECT_EQ(chair->GetData(kDataDirection), 0) << "its direction is reset";
  EXPECT_EQ(loaded.GetObjectById(2)->Temps()[5], -5);
  EXPECT_EQ(loaded.GetObjectById(5)->GetContainer(), loaded.GetObjectById(4)) << "the lamp is still on the table";
}

TEST_F(OldLot, ARecordThatMakesNoObjectLeavesTheOthersInStep) {
  {
    ObjectModule module(&folder);
    module.SetLot(&world, nullptr);
    Place(module, kChair, At(3, 3));
    Place(module, kChair, At(4, 4));
    cXObject* last = Place(module, kLamp, At(5, 5));
    last->Temps()[2] = 77;
    ASSERT_EQ(module.Save(file, 46), 0);
  }
  StrangeNode strange;
  SimpleReconObject<StrangeNode> record(&strange, kRecord);
  ASSERT_EQ(ReconObject::SaveToResFile(record, 46, file, 2), 0);
  world.objects.clear();
  ObjectModule loaded(&folder);
  loaded.SetLot(&world, nullptr);
  ASSERT_EQ(loaded.Load(file, 46), 0);
  // Record 1 is the lamp (the list's head), record 3 the first chair; the
  // free id 2 goes to the automatic object the load adds.
  ASSERT_NE(loaded.GetObjectById(3), nullptr);
  EXPECT_EQ(loaded.GetObjectById(3)->Temps()[2], 77);
  EXPECT_EQ(loaded.GetObjectById(1)->GetTile(), TileLocation::At(3, 3, 1));
  EXPECT_EQ(loaded.ObjectCount(), 3);
  EXPECT_EQ(loaded.GetObjectById(2)->GetDefinition()->GetGUID(), kSpecialObjectGuid);
}

TEST_F(OldLot, DamagedRecordsAreRefused) {
  {
    ObjectModule module(&folder);
    module.SetLot(&world, nullptr);
    Place(module, kChair, At(3, 3));
    ASSERT_EQ(module.Save(file, 46), 0);
  }
  MemHandle h = file.GetResource(kRecord, 1, SwapReconHeader);
  ASSERT_NE(h, nullptr);
  const int32_t size = GetMemHandleSize(h);
  std::vector<uint8_t> whole(GetMemHandleData(h), GetMemHandleData(h) + size);
  file.ReleaseResource(h);
  // Cut anywhere, a record fails the first read (the head and the place)
  // or the second (the whole object).
  for (int32_t cut = kReconHeaderSize; cut < size; cut += 3) {
    SCOPED_TRACE(cut);
    MemHandle part = NewMemHandle(cut);
    std::copy(whole.begin(), whole.begin() + cut, GetMemHandleData(part));
    ObjectModule loaded(&folder);
    cXObjectStream first(0, &loaded);
    SimpleReconObject<cXObjectStream> creating(&first, kRecord);
    bool failed = ReconObject::ReadFromHandle(creating, part, nullptr) != 0 || first.GetObject() == nullptr;
    if (!failed) {
      cXObjectStream second(first.GetObject());
      SimpleReconObject<cXObjectStream> reading(&second, kRecord);
      failed = ReconObject::ReadFromHandle(reading, part, nullptr) != 0;
    }
    EXPECT_TRUE(failed);
    DisposeMemHandle(part);
  }
  // A text after the reference longer than old readers took is refused.
  ObjectModule module(&folder);
  std::vector<uint8_t> bytes;
  {
    ReconStream w;
    std::vector<uint8_t> buffer(1024);
    w.InitBuffer(buffer.data(), 1024, ReconStream::kWrite, false);
    uint32_t code = TypeCode("XOBJ"), guid = kChair;
    w.SerializeLongs(&code, 1);
    w.SerializeLongs(&guid, 1);
    std::string text(300, 'x');
    w.SerializeString(text);
    bytes.assign(buffer.begin(), buffer.begin() + w.GetPosition());
  }
  bytes.resize(bytes.size() + 64, 0);
  ReconStream r;
  r.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  cXObjectStream stream(0, &module);
  stream.Reconstitute(r, 40);
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(module.ObjectCount(), 0);
}

}  // namespace
