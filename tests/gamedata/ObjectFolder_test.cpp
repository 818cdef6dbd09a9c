#include "gamedata/ObjectFolder.h"

#include <gtest/gtest.h>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/Careers.h"
#include "gamedata/CareerFile.h"
#include "gamedata/CatalogCommands.h"
#include "gamedata/CatalogFixture.h"
#include "gamedata/TreeTableData.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/ReconStream.h"
#include "resfile/SeqResFile.h"
#include "support/ScratchDir.h"

namespace tova {
namespace {

using tova_test::MakeRecord;
using tova_test::Objd;
using tova_test::WriteIff;

// A tree resource assembled from text: one node that returns true.
tova_test::ResourceSpec Tree(int16_t id, int version) {
  std::string text = "tree " + std::to_string(id) + " \"T\"\n  version " + std::to_string(version) +
                     "\nn0: 2 0 0 0 0 -> true true\nend\n";
  AssembledTree t = AssembleTrees(text).at(0);
  return tova_test::ResourceSpec{TypeCode("BHAV"), t.id, t.label, t.bytes};
}

constexpr uint32_t kChairGuid = 0x1000;
constexpr uint32_t kTableGuid = 0x2000;
constexpr uint32_t kBigGuid = 0xC3249A1D;  // above 2^31

// Services that record what the catalogue asks for and hand out a tree
// table built from a 'TTAB'-free stand-in: one entry per id.
class RecordingServices : public CatalogueServices {
 public:
  void LoadAnimNameTables(iResFile* global) override { animLoadedFrom = global; }
  void ReportProgress(uint32_t code, const char* text) override {
    progressCode = code;
    progressText = text;
  }
  std::unique_ptr<TreeTableData> LoadTreeTable(iResFile& file, ResId id) override {
    if (id != 300) return nullptr;
    auto t = std::make_unique<TreeTableData>();
    TreeTableEntry e;
    e.nameIndex = 0;
    e.motives.resize(16);
    t->entries.push_back(e);
    return t;
  }

  iResFile* animLoadedFrom = nullptr;
  uint32_t progressCode = 0;
  std::string progressText;
};

class ObjectFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.Ok());
    root = dir.Path().string() + "/";
    auto chair = MakeRecord(kChairGuid);
    chair.SetWord(ObjectDefinitionRecord::kTreeTableId, 300);
    chair.SetFunctionEntry(0, 4096);
    chair.SetFunctionEntry(1, 4097);
    chair.SetWord(ObjectDefinitionRecord::kTypeAttributeCount, 3);
    auto skipped = MakeRecord(0x3000);
    skipped.SetWord(ObjectDefinitionRecord::kSkipWord, 1);
    WriteIff(dir / "GameData/Objects/Chairs.iff",
             {Objd(128, "Chair", chair), Objd(129, "Skipped", skipped), Tree(4096, 3),
              {TypeCode("GLOB"), 1, "", {5, 'S', 'e', 'a', 't', 's'}}});
    // The same GUID again in the user objects: the object folder's wins.
    WriteIff(dir / "GameData/UserObjects/Copy.iff", {Objd(128, "Chair copy", MakeRecord(kChairGuid)),
                                                     Objd(129, "Table", MakeRecord(kTableGuid), 100)});
    WriteIff(dir / "GameData/Objects/Parts.dir/Hidden.iff", {Objd(128, "Hidden", MakeRecord(0x4000))});
    WriteIff(dir / "GameData/Objects/Deep/Big.iff", {Objd(130, "Big", MakeRecord(kBigGuid))});
    tova_test::WriteBytes(dir / "GameData/Objects/readme.txt", "not an object file");
    WriteIff(dir / "GameData/Global/Global.iff", {});
    WriteIff(dir / "GameData/Global/Seats.iff", {});
  }

  tova_test::ScratchDir dir;
  std::string root;
};

TEST_F(ObjectFolderTest, ScanTakesTheFirstGuidSkipsRecordsAndDirFolders) {
  RecordingServices services;
  ObjectFolder folder;
  folder.SetServices(&services);
  folder.Init(root);
  ASSERT_TRUE(folder.IsLoaded());
  EXPECT_EQ(folder.GetDefinitionCount(), 3);  // Big, Chair, Table
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  ASSERT_NE(chair, nullptr);
  EXPECT_EQ(chair->GetName(), "Chair");
  EXPECT_EQ(chair->GetKind(), ObjectFolder::kObjectFolder);
  EXPECT_EQ(chair->GetFileName(), "Chairs");  // the chain's path has no extension
  EXPECT_EQ(chair->GetResourceId(), 128);
  EXPECT_EQ(folder.FindByGUID(0x3000), nullptr);
  EXPECT_EQ(folder.FindByGUID(0x4000), nullptr);
  ObjectDefinition* big = folder.FindByGUID(kBigGuid);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(folder.FindByName("TABLE")->GetKind(), ObjectFolder::kUserObjectFolder);
  EXPECT_NE(folder.GetDebugLog().find("Chair, Chair copy : duplicate guid, just ignore"), std::string::npos);
  for (int i = 0; i < folder.GetDefinitionCount(); ++i) EXPECT_EQ(folder.GetDefinition(i)->GetCatalogIndex(), i);
  EXPECT_EQ(folder.GetDefinition(3), nullptr);
  EXPECT_EQ(folder.GetDefinition(-1), nullptr);

  // The semi-global file named by 'GLOB' is opened from the global folder.
  ASSERT_NE(chair->GetSemiGlobalFile(), nullptr);
  std::string semi;
  chair->GetSemiGlobalFile()->GetPath(semi);
  EXPECT_NE(semi.find("Seats"), std::string::npos);

  EXPECT_EQ(services.animLoadedFrom, folder.GetGlobalFile());
  EXPECT_NE(folder.GetGlobalFile(), nullptr);
  EXPECT_EQ(services.progressCode, TypeCode("ocns"));
  EXPECT_EQ(services.progressText, "Importing Tuning.txt");
  EXPECT_NE(folder.GetDebugLog().find("init\t"), std::string::npos);
  EXPECT_NE(folder.GetDebugLog().find("     defn load\t     "), std::string::npos);
  EXPECT_EQ(folder.GetTimings().size(), 15u);

  // Adding a file already loaded adds nothing; a file elsewhere is ignored.
  EXPECT_TRUE(folder.AddObjectFile(root + "GameData/Objects/Chairs.iff"));
  EXPECT_EQ(folder.GetDefinitionCount(), 3);
  EXPECT_FALSE(folder.AddObjectFile(root + "Elsewhere/Chairs.iff"));
}

TEST_F(ObjectFolderTest, AddingALoadedFileAgainTakesOnlyItsNewRecords) {
  ObjectFolder folder;
  folder.Init(root);
  iResFile* big = folder.FindByGUID(kBigGuid)->GetOwnFile();
  ASSERT_TRUE(big->IsWritable());
  ObjectDefinitionRecord added = MakeRecord(0x5000);
  ASSERT_EQ(folder.GetSource(big)->PutResource(TypeCode("OBJD"), 131, "Big two",
                                               std::vector<uint8_t>(added.Data(), added.Data() + 216)),
            0);
  EXPECT_TRUE(folder.AddObjectFile(root + "GameData/Objects/Deep/Big.iff"));
  EXPECT_EQ(folder.GetDefinitionCount(), 4);
  ASSERT_NE(folder.FindByGUID(0x5000), nullptr);
  EXPECT_EQ(folder.FindByGUID(0x5000)->GetOwnFile(), big);
  // Once every record is a definition, adding the file again changes nothing.
  EXPECT_TRUE(folder.AddObjectFile(root + "GameData/Objects/Deep/Big.iff"));
  EXPECT_EQ(folder.GetDefinitionCount(), 4);
}

TEST_F(ObjectFolderTest, AReloadedDefinitionKeepsOneSetOfTypeAttributes) {
  ObjectFolder folder;
  folder.Init(root);
  ASSERT_TRUE(folder.UnloadDefinition(folder.FindByGUID(kChairGuid)));
  ASSERT_TRUE(folder.AddObjectFile(root + "GameData/Objects/Chairs.iff"));
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  ASSERT_NE(chair, nullptr);
  ASSERT_EQ(folder.GetTypeAttributeCount(*chair), 3);
  folder.GetTypeAttributes(*chair)[1] = 7;
  MemResFile lot;
  ASSERT_EQ(folder.SaveTypeAttributes(lot), 0);
  folder.GetTypeAttributes(*chair)[1] = 0;
  ASSERT_EQ(folder.LoadTypeAttributes(lot), 0);
  EXPECT_EQ(folder.GetTypeAttributes(*chair)[1], 7);
}

TEST_F(ObjectFolderTest, SkipFlagOffLoadsMarkedRecords) {
  ObjectFolder folder;
  folder.Init(root, 0);
  EXPECT_NE(folder.FindByGUID(0x3000), nullptr);
}

TEST_F(ObjectFolderTest, DefinitionTablesAndFunctionEntries) {
  RecordingServices services;
  ObjectFolder folder;
  folder.SetServices(&services);
  folder.Init(root);
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  ASSERT_NE(chair, nullptr);
  const ObjFnTable& fn = chair->GetFunctionTable();
  ASSERT_EQ(fn.Entries().size(), 30u);  // no 'OBJf': built from the record
  EXPECT_EQ(fn.GetTreeId(0), 4096);
  EXPECT_EQ(fn.GetTreeId(1), 4097);
  EXPECT_EQ(chair->GetInitSignature(), 3u * 65536 + 3);  // the tree's version twice
  EXPECT_EQ(chair->GetMainSignature(), 0u);              // tree 4097 is missing
  ASSERT_NE(chair->GetBehavior(), nullptr);
  EXPECT_EQ(chair->GetBehavior()->GetTreeName(4096), "T");
  EXPECT_TRUE(chair->HasTreeTable());
  EXPECT_EQ(chair->GetCatalogName(), "*Chair");
  EXPECT_EQ(folder.GetTypeAttributeCount(*chair), 3);
  EXPECT_NE(folder.GetTypeAttributes(*chair), nullptr);
  ObjectDefinition* table = folder.FindByGUID(kTableGuid);
  EXPECT_EQ(folder.GetTypeAttributeCount(*table), 0);
  EXPECT_EQ(folder.GetTypeAttributes(*table), nullptr);
  EXPECT_FALSE(table->HasTreeTable());
  EXPECT_EQ(chair->GetBodyStrings(), nullptr);  // not a person
}

TEST(ObjectFolderFunctionTableTest, OnlyAMissingTableFallsBackToTheRecord) {
  tova_test::ScratchDir dir;
  auto record = [](uint32_t guid) {
    auto r = MakeRecord(guid);
    r.SetFunctionEntry(0, 4096);
    return r;
  };
  // 'OBJf' 128 is cut short; 129 has none.
  WriteIff(dir / "GameData/Objects/A.iff", {Objd(128, "Damaged", record(0x5000)), Objd(129, "Plain", record(0x5001)),
                                            {TypeCode("OBJf"), 128, "", {0, 0, 0}}});
  ObjectFolder folder;
  folder.Init(dir.Path().string() + "/");
  ASSERT_NE(folder.FindByGUID(0x5000), nullptr);
  EXPECT_TRUE(folder.FindByGUID(0x5000)->GetFunctionTable().Entries().empty());
  const ObjFnTable& plain = folder.FindByGUID(0x5001)->GetFunctionTable();
  ASSERT_EQ(plain.Entries().size(), 30u);
  EXPECT_EQ(plain.GetTreeId(0), 4096);
}

TEST_F(ObjectFolderTest, TuningFileIsImportedAtStartUp) {
  tova_test::WriteBytes(dir / "GameData/Tuning.txt", "x\tVersion 2\r\nChairs.iff\tads:12345\r\n\r\nChairs\t4096:c\r\n0\t1\r\n");
  ObjectFolder folder;
  folder.Init(root);
  EXPECT_NE(folder.GetDebugLog().find("Could not find object with guid. (line 1, col 1"), std::string::npos);
  // The second block names the file without its extension.
  EXPECT_NE(folder.GetDebugLog().find("Constants of given id do not exist. (line 3, col 1"), std::string::npos);
}

TEST_F(ObjectFolderTest, TypeTableRoundTripAtVersionsFortySixAndFortySeven) {
  RecordingServices services;
  ObjectFolder folder;
  folder.SetServices(&services);
  folder.Init(root);
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  ObjectDefinition* table = folder.FindByGUID(kTableGuid);
  folder.AddRef(chair);
  folder.AddRef(table);
  MemResFile lot;
  ASSERT_EQ(folder.SaveTypeTable(lot), 0);
  EXPECT_GT(chair->GetSaveIndex(), 0);
  EXPECT_GT(table->GetSaveIndex(), 0);
  EXPECT_EQ(folder.FindByGUID(kBigGuid)->GetSaveIndex(), 0);

  // References written at version 47 are indexes; at 46 they are GUIDs.
  for (int32_t version : {46, 47}) {
    std::vector<uint8_t> buffer(64);
    ReconStream w;
    w.InitBuffer(buffer.data(), static_cast<int32_t>(buffer.size()), ReconStream::kWrite, false);
    DefinitionRef ref{chair, nullptr};
    folder.TransferDefinitionRef(ref, w, version, true);
    DefinitionRef none{};
    folder.TransferDefinitionRef(none, w, version, true);
    EXPECT_EQ(w.GetPosition(), version == 46 ? 8 : 4);
    ReconStream r;
    r.InitBuffer(buffer.data(), w.GetPosition(), ReconStream::kRead, false);
    DefinitionRef back{};
    folder.TransferDefinitionRef(back, r, version, true);
    EXPECT_EQ(back.definition, chair) << version;
    folder.TransferDefinitionRef(back, r, version, true);
    EXPECT_EQ(back.definition, nullptr) << version;  // index 0 or GUID 0 name nothing
    EXPECT_EQ(back.missing, nullptr);
  }

  // Another catalogue that lacks the table reads the table as missing.
  ObjectFolder other;
  other.SetServices(&services);
  tova_test::ScratchDir otherRoot;
  auto otherChair = MakeRecord(kChairGuid);
  otherChair.SetFunctionEntry(0, 4096);
  WriteIff(otherRoot / "GameData/Objects/Chairs.iff", {Objd(128, "Chair", otherChair), Tree(4096, 4)});
  other.Init(otherRoot.Path().string() + "/");
  ASSERT_EQ(other.LoadTypeTable(lot), 0);
  ASSERT_EQ(other.GetMissingTypes().size(), 1u);
  const MissingType& missing = other.GetMissingTypes()[0];
  EXPECT_EQ(missing.guid, kTableGuid);
  EXPECT_EQ(missing.name, "*Table");
  EXPECT_EQ(missing.type, 4);
  ObjectDefinition* loadedChair = other.FindByGUID(kChairGuid);
  EXPECT_EQ(loadedChair->GetSaveIndex(), chair->GetSaveIndex());
  EXPECT_TRUE(loadedChair->IsChanged());  // its init tree's signature differs
  ASSERT_EQ(folder.LoadTypeTable(lot), 0);
  EXPECT_FALSE(chair->IsChanged());

  std::vector<uint8_t> buffer(8);
  ReconStream w;
  w.InitBuffer(buffer.data(), 8, ReconStream::kWrite, false);
  int16_t index = table->GetSaveIndex();
  w.SerializeShorts(&index, 1);
  ReconStream r;
  r.InitBuffer(buffer.data(), 2, ReconStream::kRead, false);
  DefinitionRef ref{};
  other.TransferDefinitionRef(ref, r, 47, true);
  EXPECT_EQ(ref.definition, nullptr);
  ASSERT_NE(ref.missing, nullptr);
  EXPECT_EQ(ref.missing->guid, kTableGuid);
}

TEST_F(ObjectFolderTest, AMissingTypeKeepsItsReferenceWhenTheLotIsSavedAgain) {
  ObjectFolder folder;
  folder.Init(root);
  folder.AddRef(folder.FindByGUID(kChairGuid));
  folder.AddRef(folder.FindByGUID(kTableGuid));
  MemResFile lot;
  ASSERT_EQ(folder.SaveTypeTable(lot), 0);

  // A catalogue without the table but with a lamp loads the lot, then saves
  // it again with the chair and the lamp in use.
  constexpr uint32_t kLampGuid = 0x5000;
  tova_test::ScratchDir otherRoot;
  WriteIff(otherRoot / "GameData/Objects/Chairs.iff",
           {Objd(128, "Chair", MakeRecord(kChairGuid)), Objd(129, "Lamp", MakeRecord(kLampGuid))});
  ObjectFolder other;
  other.Init(otherRoot.Path().string() + "/");
  ASSERT_EQ(other.LoadTypeTable(lot), 0);
  ASSERT_EQ(other.GetMissingTypes().size(), 1u);
  DefinitionRef table{nullptr, &other.GetMissingTypes()[0]};
  other.AddRef(other.FindByGUID(kChairGuid));
  other.AddRef(other.FindByGUID(kLampGuid));
  MemResFile again;
  ASSERT_EQ(other.SaveTypeTable(again), 0);
  std::vector<uint8_t> buffer(8);
  ReconStream w;
  w.InitBuffer(buffer.data(), 8, ReconStream::kWrite, false);
  other.TransferDefinitionRef(table, w, 47, true);

  // Read back, the reference still names the missing table, not the lamp.
  ASSERT_EQ(other.LoadTypeTable(again), 0);
  ReconStream r;
  r.InitBuffer(buffer.data(), w.GetPosition(), ReconStream::kRead, false);
  DefinitionRef back{};
  other.TransferDefinitionRef(back, r, 47, true);
  EXPECT_EQ(back.definition, nullptr);
  ASSERT_NE(back.missing, nullptr);
  EXPECT_EQ(back.missing->guid, kTableGuid);
  EXPECT_EQ(back.missing->name, "*Table");
}

TEST_F(ObjectFolderTest, TypeAttributesSurviveUnknownAndExcessValues) {
  ObjectFolder folder;
  folder.Init(root);
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  // A stream of three records: an unknown key, the chair with five values
  // (two more than it has room for), and the chair again with one.
  std::vector<uint8_t> body(256);
  ReconStream w;
  w.InitBuffer(body.data(), 256, ReconStream::kWrite, false);
  bool packed = false;
  w.SerializeBool(&packed);
  int32_t count = 3;
  w.SerializeLongs(&count, 1);
  auto record = [&](uint32_t guid, std::vector<int16_t> values) {
    int32_t n = static_cast<int32_t>(values.size());
    w.SerializeLongs(&guid, 1);
    w.SerializeLongs(&n, 1);
    w.SerializeShorts(values.data(), n);
  };
  record(0x9999, {1, 2, 3, 4});
  record(kChairGuid, {5, 6, 7, 8, 9});
  std::unique_ptr<MemResFile> lot;
  auto save = [&](int32_t size) {
    lot = std::make_unique<MemResFile>();
    std::vector<uint8_t> bytes(12, 0);
    bytes[8] = 'T';  // type code as written by the record header (little-endian)
    bytes[9] = 'A';
    bytes[10] = 'T';
    bytes[11] = 'T';
    bytes.insert(bytes.end(), body.begin(), body.begin() + size);
    lot->AddStored(TypeCode("TTAT"), 1, bytes.data(), static_cast<int32_t>(bytes.size()));
  };
  int32_t afterTwo = w.GetPosition();
  record(kChairGuid, {1});
  save(w.GetPosition());
  ASSERT_EQ(folder.LoadTypeAttributes(*lot), 0);
  int16_t* values = folder.GetTypeAttributes(*chair);
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values[0], 1);  // the last record won and zeroed the rest
  EXPECT_EQ(values[1], 0);
  EXPECT_EQ(values[2], 0);

  // The same without the last record: the excess of the second is dropped.
  count = 2;
  ReconStream w2;
  w2.InitBuffer(body.data(), 256, ReconStream::kWrite, false);
  w2.SerializeBool(&packed);
  w2.SerializeLongs(&count, 1);
  save(afterTwo);
  ASSERT_EQ(folder.LoadTypeAttributes(*lot), 0);
  EXPECT_EQ(values[0], 5);
  EXPECT_EQ(values[2], 7);

  // Written and read back through the packed stream.
  MemResFile out;
  ASSERT_EQ(folder.SaveTypeAttributes(out), 0);
  values[0] = 0;
  ASSERT_EQ(folder.LoadTypeAttributes(out), 0);
  EXPECT_EQ(values[0], 5);

  // A truncated stream fails cleanly.
  save(afterTwo - 3);
  EXPECT_NE(folder.LoadTypeAttributes(*lot), 0);
}

TEST_F(ObjectFolderTest, CharacterFolderAndUnloading) {
  WriteIff(dir / "UserData/Characters/User00001.iff",
           {Objd(128, "Person", MakeRecord(ObjectFolder::kTemplatePersonGuid + 1, 2))});
  ObjectFolder folder;
  folder.Init(root);
  EXPECT_EQ(folder.GetDefinitionCount(), 3);
  folder.SetCharacterFolder(root + "UserData/Characters/");
  ASSERT_EQ(folder.GetDefinitionCount(), 4);
  ObjectDefinition* person = folder.FindByGUID(ObjectFolder::kTemplatePersonGuid + 1);
  ASSERT_NE(person, nullptr);
  EXPECT_EQ(person->GetKind(), ObjectFolder::kCharacterFolder);
  EXPECT_TRUE(person->IsPerson());
  folder.SetCharacterFolder(root + "Elsewhere/");
  EXPECT_EQ(folder.GetDefinitionCount(), 3);
  EXPECT_EQ(folder.FindByGUID(ObjectFolder::kTemplatePersonGuid + 1), nullptr);

  ObjectDefinition* table = folder.FindByGUID(kTableGuid);
  EXPECT_TRUE(folder.UnloadDefinition(table));
  EXPECT_EQ(folder.FindByGUID(kTableGuid), nullptr);
  EXPECT_FALSE(folder.UnloadDefinition(table));
  folder.Clear();
  EXPECT_EQ(folder.GetDefinitionCount(), 0);
  EXPECT_FALSE(folder.IsLoaded());
}

TEST_F(ObjectFolderTest, MultiTileLookupsAndNeighbourMask) {
  // A 2x2 group: master, parts (0,0), (0,1), (1,0); (1,1) is missing.
  auto part = [](uint32_t guid, int16_t sub, int16_t neighbourWord = 0) {
    auto r = MakeRecord(guid);
    r.SetWord(ObjectDefinitionRecord::kMasterId, 7);
    r.SetWord(ObjectDefinitionRecord::kSubIndex, sub);
    r.SetWord(ObjectDefinitionRecord::kNeighbourWord, neighbourWord);
    return r;
  };
  auto master = part(0x500, -1);
  master.SetWord(ObjectDefinitionRecord::kTreeTableId, 300);
  auto main = part(0x503, 0x0100);
  main.SetWord(ObjectDefinitionRecord::kMainPart, 1);
  auto noMaster = MakeRecord(0x600);
  noMaster.SetWord(ObjectDefinitionRecord::kMasterId, 9);
  noMaster.SetWord(ObjectDefinitionRecord::kSubIndex, 0);
  noMaster.SetWord(ObjectDefinitionRecord::kTreeTableId, -1);
  auto ownTable = MakeRecord(0x700);
  ownTable.SetWord(ObjectDefinitionRecord::kTreeTableId, -1);
  auto noTable = MakeRecord(0x701);
  noTable.SetWord(ObjectDefinitionRecord::kTreeTableId, static_cast<int16_t>(0x8001));
  auto inert = part(0x504, 0x0101, -1);
  WriteIff(dir / "GameData/Objects/Group.iff",
           {Objd(200, "Master", master), Objd(201, "P00", part(0x501, 0x0000)), Objd(202, "P01", part(0x502, 0x0001)),
            Objd(203, "P10", main), Objd(204, "Lonely", noMaster), Objd(205, "Own", ownTable),
            Objd(206, "None", noTable), Objd(207, "Inert", inert)});
  RecordingServices services;
  ObjectFolder folder;
  folder.SetServices(&services);
  folder.Init(root);
  ObjectDefinition* m = folder.FindByGUID(0x500);
  ObjectDefinition* p00 = folder.FindByGUID(0x501);
  ObjectDefinition* p01 = folder.FindByGUID(0x502);
  ObjectDefinition* p10 = folder.FindByGUID(0x503);
  ASSERT_TRUE(m && p00 && p01 && p10);
  EXPECT_EQ(folder.FindMasterDefinition(*p01), m);
  EXPECT_EQ(p01->GetMasterDefinition(), m);
  EXPECT_EQ(folder.FindPart(*m, 0, 1, 0), p01);
  EXPECT_EQ(folder.FindPart(*m, 0, 1, 5), nullptr);
  EXPECT_EQ(folder.FindPart(*m, -1, 0, 0), nullptr);
  EXPECT_EQ(folder.FindFirstPart(*m), p10);
  EXPECT_EQ(folder.FindPartByOrdinal(*m, 0), p00);
  EXPECT_EQ(folder.FindPartByOrdinal(*m, 2), p10);
  EXPECT_TRUE(p01->IsGroupPart());
  EXPECT_FALSE(m->IsGroupPart());
  // (0,0) has (0,1) on its right (4) and (1,0) below (8); (1,1) does not count.
  EXPECT_EQ(p00->GetNeighbourMask(), 4 | 8);
  EXPECT_EQ(folder.FindByGUID(0x504)->GetNeighbourMask(), -1);
  // Tree-table ids: 0xFFFF takes the master's; a part without master keeps
  // 0xFFFF, which names no table; 0x8001 names none either.
  EXPECT_EQ(p00->GetTreeTableId(), 0);
  ObjectDefinition* lonely = folder.FindByGUID(0x600);
  EXPECT_EQ(lonely->GetMasterDefinition(), nullptr);
  EXPECT_EQ(lonely->GetTreeTableId(), 0xFFFF);
  EXPECT_EQ(lonely->GetTreeTable(), nullptr);
  ObjectDefinition* own = folder.FindByGUID(0x700);
  EXPECT_EQ(own->GetMasterDefinition(), own);
  EXPECT_EQ(own->GetTreeTableId(), 0xFFFF);
  EXPECT_EQ(folder.FindByGUID(0x701)->GetTreeTableId(), 0);
  EXPECT_EQ(folder.FindByGUID(0x701)->GetTreeTable(), nullptr);
}

TEST_F(ObjectFolderTest, RenameWritesTheLabelOrFailsOnReadOnlyFiles) {
  ObjectFolder folder;
  folder.Init(root);
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  ASSERT_TRUE(chair->Rename("Armchair"));
  EXPECT_EQ(chair->GetName(), "Armchair");
  folder.Clear();
  folder.Init(root);
  EXPECT_EQ(folder.FindByGUID(kChairGuid)->GetName(), "Armchair");

  MemResFile file;
  ObjectDefinitionRecord r = MakeRecord(0x42);
  MemHandle h = NewMemHandle(216);
  std::copy(r.Data(), r.Data() + 216, GetMemHandleData(h));
  ASSERT_EQ(file.AddResource(h, TypeCode("OBJD"), 5, "Old", true), 0);
  ASSERT_EQ(file.WriteResource(h), 0);
  file.SetWritable(false);
  ObjectDefinition d(nullptr, &file, r, "Old", 0, 5);
  EXPECT_FALSE(d.Rename("New"));
  EXPECT_EQ(d.GetName(), "Old");
}

// The lot's type table ends at GUID 0: a definition catalogued with it
// would hide every type saved after it.
TEST(ObjectFolderGuidTest, GuidZeroIsRefusedAndTheTypeTableStaysWhole) {
  tova_test::ScratchDir dir;
  WriteIff(dir / "GameData/Objects/A.iff", {Objd(128, "Short", MakeRecord(0), 8), Objd(129, "Zeroed", MakeRecord(0)),
                                            Objd(130, "Chair", MakeRecord(kChairGuid))});
  WriteIff(dir / "GameData/Objects/B.iff", {Objd(128, "Table", MakeRecord(kTableGuid))});
  WriteIff(dir / "GameData/Global/Global.iff", {});
  const std::string root = dir.Path().string() + "/";
  ObjectFolder folder;
  folder.Init(root);
  ASSERT_EQ(folder.GetDefinitionCount(), 2);
  EXPECT_EQ(folder.FindByGUID(0), nullptr);
  for (const char* named : {"'OBJD' 128 (Short) : guid 0, not catalogued", "'OBJD' 129 (Zeroed) : guid 0"}) {
    const std::string& log = folder.GetDebugLog();
    const size_t at = log.find(named);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_NE(log.rfind("A", at), std::string::npos);  // the file is named before the id
  }
  for (int i = 0; i < folder.GetDefinitionCount(); ++i) folder.AddRef(folder.GetDefinition(i));
  MemResFile lot;
  ASSERT_EQ(folder.SaveTypeTable(lot), 0);
  const int16_t tableIndex = folder.FindByGUID(kTableGuid)->GetSaveIndex();
  ASSERT_GT(tableIndex, 0);

  ObjectFolder reloaded;
  reloaded.Init(root);
  ASSERT_EQ(reloaded.LoadTypeTable(lot), 0);
  EXPECT_EQ(reloaded.FindByGUID(kChairGuid)->GetSaveIndex(), folder.FindByGUID(kChairGuid)->GetSaveIndex());
  EXPECT_EQ(reloaded.FindByGUID(kTableGuid)->GetSaveIndex(), tableIndex);
  EXPECT_TRUE(reloaded.GetMissingTypes().empty());
}

// A table whose end mark comes before its last entries is reported, not
// taken as a shorter table.
TEST(ObjectFolderGuidTest, ATypeTableCutByAnEarlyEndMarkIsReported) {
  struct CutTable {
    void Reconstitute(ReconStream& s, int32_t) {
      for (uint32_t guid : {kChairGuid, 0u, kTableGuid}) {
        uint32_t signature = 0;
        int16_t index = guid == kChairGuid ? 1 : 2;
        int16_t type = 4;
        std::string name = "x";
        s.SerializeLongs(&guid, 1);
        if (guid == 0) continue;
        s.SerializeLongs(&signature, 1);
        s.SerializeLongs(&signature, 1);
        s.SerializeShorts(&index, 1);
        s.SerializeShorts(&type, 1);
        s.SerializeString(name);
      }
      uint32_t end = 0;
      s.SerializeLongs(&end, 1);
    }
  };
  CutTable body;
  SimpleReconObject<CutTable> record(&body, TypeCode("objt"));
  MemResFile lot;
  ASSERT_EQ(ReconObject::SaveToResFile(record, 2, lot, 0), 0);
  tova_test::ScratchDir dir;
  WriteIff(dir / "GameData/Objects/A.iff", {Objd(128, "Chair", MakeRecord(kChairGuid)),
                                            Objd(129, "Table", MakeRecord(kTableGuid))});
  ObjectFolder folder;
  folder.Init(dir.Path().string() + "/");
  EXPECT_EQ(folder.LoadTypeTable(lot), kResBadData);
  EXPECT_EQ(folder.FindByGUID(kChairGuid)->GetSaveIndex(), 1);  // what came before the mark is kept
}

TEST_F(ObjectFolderTest, CopyWithFreshGuidsKeepsTheOldGuidAndNamesTheCopy) {
  ObjectFolder folder;
  folder.Init(root);
  MemResFile source;
  ObjectDefinitionRecord r = MakeRecord(kChairGuid);
  MemHandle h = NewMemHandle(216);
  std::copy(r.Data(), r.Data() + 216, GetMemHandleData(h));
  ASSERT_EQ(source.AddResource(h, TypeCode("OBJD"), 128, "Chair", true), 0);
  ASSERT_EQ(source.WriteResource(h), 0);
  StringSet strings;
  strings.SetString(1, "Catalogue name");
  ASSERT_EQ(strings.SaveTo(&source, 128), 0);
  StringSet ctss;
  ctss.SetString(1, "Seat");
  ctss.SetSource(&source, 2000, TypeCode("CTSS"), false, 0);
  ASSERT_EQ(ctss.Save(), 0);

  MemResFile target;
  std::string prefix = "My ";
  ASSERT_EQ(folder.CopyWithFreshGuids(source, target, nullptr, &prefix), 0);
  MemHandle copy = target.GetResource(TypeCode("OBJD"), 128, nullptr);
  ASSERT_NE(copy, nullptr);
  ObjectDefinitionRecord c(GetMemHandleData(copy), GetMemHandleSize(copy));
  EXPECT_NE(c.Guid(), kChairGuid);
  EXPECT_NE(c.Guid(), 0u);
  EXPECT_EQ(folder.FindByGUID(c.Guid()), nullptr);
  EXPECT_EQ(c.Long(ObjectDefinitionRecord::kOriginalGuid), kChairGuid);
  std::string label;
  target.GetLabel(copy, label);
  EXPECT_EQ(label, "My Chair");
  StringSet copied;
  copied.SetSource(&target, 2000, TypeCode("CTSS"), false, 0);
  ASSERT_EQ(copied.Load(false, true), 0);
  EXPECT_STREQ(copied.GetString(1), "Seat");
  EXPECT_NE(target.GetResource(TypeCode("STR#"), 128, nullptr), nullptr);

  std::set<uint32_t> taken;
  for (int i = 0; i < 50; ++i) {
    uint32_t g = folder.DrawFreshGuid(taken);
    EXPECT_FALSE(taken.count(g));
    EXPECT_NE(g, 0u);
    taken.insert(g);
  }
}

TEST_F(ObjectFolderTest, CopyWithFreshGuidsKeepsEveryVariant) {
  ObjectFolder folder;
  folder.Init(root);
  MemResFile source;
  auto add = [&](ResType type, ResId id, const std::string& label, int variant, const std::string& bytes,
                 bool native) {
    MemHandle h = NewMemHandle(static_cast<int32_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), GetMemHandleData(h));
    ASSERT_EQ(source.AddResourceVariant(h, type, id, label, variant, native), 0);
    ASSERT_EQ(source.WriteResource(h), 0);
  };
  add(TypeCode("TEXT"), 300, "default", 0, "plain", true);
  add(TypeCode("TEXT"), 300, "french", 3, "en francais", false);
  add(TypeCode("CTSS"), 2000, "accented", 5, "raw table bytes", true);

  MemResFile target;
  ASSERT_EQ(folder.CopyWithFreshGuids(source, target, nullptr, nullptr), 0);
  EXPECT_EQ(target.CountResources(TypeCode("TEXT")), 2);
  struct Expect {
    ResType type;
    int variant;
    const char* label;
    const char* bytes;
    bool native;
  };
  const Expect expected[] = {{TypeCode("TEXT"), 0, "default", "plain", true},
                             {TypeCode("TEXT"), 3, "french", "en francais", false},
                             {TypeCode("CTSS"), 5, "accented", "raw table bytes", true}};
  for (const Expect& e : expected) {
    const ResId id = e.type == TypeCode("TEXT") ? 300 : 2000;
    MemHandle h = target.GetResourceVariant(e.type, id, e.variant, nullptr);
    ASSERT_NE(h, nullptr) << e.label;
    EXPECT_EQ(target.GetVariant(h), e.variant) << e.label;
    std::string label;
    target.GetLabel(h, label);
    EXPECT_EQ(label, e.label);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(GetMemHandleData(h)), GetMemHandleSize(h)), e.bytes);
    EXPECT_EQ(target.IsNative(h), e.native) << e.label;
  }
}

TEST_F(ObjectFolderTest, CareersLoadAtStartUp) {
  tova::CareerList written;
  cCareer c;
  c.id = 3;
  c.name = "Science";
  c.levels.resize(2);
  written.Careers().push_back(c);
  {
    std::filesystem::create_directories(dir / "GameData");
    IFFResFile2 file;
    ASSERT_EQ(file.Create((dir / "GameData/Careers.iff").string()), 0);
    ASSERT_EQ(file.Open((dir / "GameData/Careers.iff").string()), 0);
    ASSERT_TRUE(WriteCareersTo(file, written));
    file.Close();
  }
  ObjectFolder folder;
  folder.Init(root);
  ASSERT_NE(CareerList::Instance().FindCareer(3), nullptr);
  EXPECT_EQ(CareerList::Instance().FindCareer(3)->levels.size(), 2u);
  folder.Clear();
  EXPECT_EQ(CareerList::Instance().FindCareer(3), nullptr);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST(ParseGlobName, LengthByteOrCString) {
  const struct {
    std::vector<uint8_t> bytes;
    const char* name;
  } cases[] = {
      {{5, 'S', 'e', 'a', 't', 's'}, "Seats"},
      {{'S', 'e', 'a', 't', 's', 0}, "Seats"},
      {{200, 'S', 'e'}, "Se"},  // a length past the data is cut to it
      {{0}, ""},
      {{}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseGlobName(c.bytes.data(), static_cast<int32_t>(c.bytes.size())), c.name);
  }
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

class Listener : public Commander {
 public:
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    heard.emplace_back(static_cast<int16_t>(command), argument);
    return 0;
  }
  std::vector<std::pair<int16_t, intptr_t>> heard;
};

TEST_F(ObjectFolderTest, RemovalsAreToldAlsoBeforeTheCatalogueIsLoaded) {
  WriteIff(dir / "UserData/Characters/User00001.iff",
           {Objd(128, "Person", MakeRecord(ObjectFolder::kTemplatePersonGuid + 1, 2))});
  ObjectFolder folder;
  folder.SetCharacterFolder(root + "UserData/Characters/");
  ASSERT_FALSE(folder.IsLoaded());
  ASSERT_NE(folder.FindByGUID(ObjectFolder::kTemplatePersonGuid + 1), nullptr);
  Listener listener;
  folder.SetCharacterFolder(root + "Elsewhere/");
  ASSERT_EQ(listener.heard.size(), 2u);
  EXPECT_EQ(listener.heard[0],
            std::make_pair(kCommandDefinitionRemoving, static_cast<intptr_t>(ObjectFolder::kTemplatePersonGuid + 1)));
  EXPECT_EQ(listener.heard[1].first, kCommandCatalogueChanged);
}

TEST_F(ObjectFolderTest, BroadcastsChangesAndForgetsOnCommands) {
  RecordingServices services;
  ObjectFolder folder;
  folder.SetServices(&services);
  Listener listener;
  folder.Init(root);
  ASSERT_FALSE(listener.heard.empty());
  EXPECT_EQ(listener.heard.back().first, kCommandCatalogueChanged);

  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  listener.heard.clear();
  ASSERT_TRUE(chair->Rename("Stool"));
  ASSERT_EQ(listener.heard.size(), 1u);
  EXPECT_EQ(listener.heard[0], std::make_pair(kCommandDefinitionRenamed, static_cast<intptr_t>(kChairGuid)));

  // 258 with the chair's behaviour gives its tree table back.
  ASSERT_TRUE(chair->HasTreeTable());
  EXPECT_TRUE(chair->HoldsTreeTable());
  Broadcast(kCommandTreesChanged, reinterpret_cast<intptr_t>(chair->GetBehavior()));
  EXPECT_FALSE(chair->HoldsTreeTable());
  // 129 with its file makes it compute its signatures again.
  uint32_t signature = chair->GetInitSignature();
  Broadcast(kCommandFileChanged, reinterpret_cast<intptr_t>(chair->GetOwnFile()));
  EXPECT_EQ(chair->GetInitSignature(), signature);

  listener.heard.clear();
  ObjectDefinition* table = folder.FindByGUID(kTableGuid);
  ASSERT_TRUE(folder.UnloadDefinition(table));
  ASSERT_EQ(listener.heard.size(), 2u);
  EXPECT_EQ(listener.heard[0], std::make_pair(kCommandDefinitionRemoving, static_cast<intptr_t>(kTableGuid)));
  EXPECT_EQ(listener.heard[1].first, kCommandCatalogueChanged);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST(ObjectFolderTuning, OverridesReachTheBehavioursAndSaveWritesThem) {
  tova_test::ScratchDir dir;
  std::vector<uint8_t> bcon = {0x02, 0x80, 10, 0, 20, 0};  // tunable, two values
  auto chair = MakeRecord(kChairGuid);
  WriteIff(dir / "GameData/Objects/Chairs.iff",
           {Objd(128, "Chair", chair), tova_test::ResourceSpec{TypeCode("BCON"), 4096, "Tuning", bcon}});
  tova_test::WriteBytes(dir / "GameData/Tuning.txt", "x\tVersion 2\nChairs.iff\t4096:Tuning\n1\t99\n");
  ObjectFolder folder;
  folder.Init(dir.Path().string() + "/");
  EXPECT_EQ(folder.GetTuningReport(), "");
  Behavior* behavior = folder.FindByGUID(kChairGuid)->GetBehavior();
  ConstantsView tuned = behavior->GetConstants(4096, true);
  ASSERT_TRUE(tuned);
  EXPECT_EQ(tuned.At(1), 99);
  EXPECT_EQ(behavior->GetConstants(4096, false).At(1), 20);

  std::string report;
  folder.SaveTuning(report);
  EXPECT_EQ(report, "Wrote constants Chairs.iff, id 4096\n");
  folder.Clear();
  tova_test::WriteBytes(dir / "GameData/Tuning.txt", "x\tVersion 2\n");
  folder.Init(dir.Path().string() + "/");
  EXPECT_EQ(folder.FindByGUID(kChairGuid)->GetBehavior()->GetConstants(4096, false).At(1), 99);
}

TEST(ObjectFolderTuning, ImportingAgainLeavesTheStoredTablesInPlace) {
  tova_test::ScratchDir dir;
  std::vector<uint8_t> bcon = {0x02, 0x80, 10, 0, 20, 0};  // tunable, two values
  WriteIff(dir / "GameData/Objects/Chairs.iff",
           {Objd(128, "Chair", MakeRecord(kChairGuid)), tova_test::ResourceSpec{TypeCode("BCON"), 4096, "Tuning", bcon}});
  tova_test::WriteBytes(dir / "GameData/Tuning.txt", "x\tVersion 2\nChairs.iff\t4096:Tuning\n1\t99\n");
  ObjectFolder folder;
  folder.Init(dir.Path().string() + "/");
  Behavior* behavior = folder.FindByGUID(kChairGuid)->GetBehavior();
  ConstantsView stored = behavior->GetConstants(4096, false);
  ASSERT_TRUE(stored);
  // The import reads the stored table to check it; what the behaviours
  // already hold of it stays valid.
  std::string report;
  ASSERT_EQ(folder.ImportTuning(report), 0);
  EXPECT_EQ(report, "");
  EXPECT_EQ(stored.At(0), 10);
  EXPECT_EQ(stored.At(1), 20);
  EXPECT_EQ(behavior->GetConstants(4096, true).At(1), 99);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST_F(ObjectFolderTest, DownloadFoldersDrawGroupsAndOtherExtensions) {
  DrawGroup group;
  group.images.push_back(DrawGroupImage{0xFF, 1, {DrawGroupSprite{100, 0, 1, 2, 0, 0, 0, 0}}});
  auto gift = MakeRecord(0x800);
  gift.SetWord(ObjectDefinitionRecord::kFirstDrawGroup, 200);
  gift.SetWord(ObjectDefinitionRecord::kDrawGroupCount, 2);
  WriteIff(dir / "Downloads/Pack1/Gift.iff",
           {Objd(128, "Gift", gift), tova_test::ResourceSpec{TypeCode("DGRP"), 200, "Gift", group.Serialize()}});
  WriteIff(dir / "Downloads/Pack1/Gift2.iff", {Objd(128, "Gift 2", MakeRecord(0x801))});
  WriteIff(dir / "Downloads/Pack2/Other.iff", {Objd(128, "Other", MakeRecord(0x802))});
  // Only ".iff" names count: a second dot makes the extension ".a.iff".
  WriteIff(dir / "Downloads/Pack2/Skip.a.iff", {Objd(128, "Skip", MakeRecord(0x803))});
  ObjectFolder folder;
  folder.Init(root);
  ObjectDefinition* g = folder.FindByGUID(0x800);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetKind(), ObjectFolder::kDownloadsFolder);
  EXPECT_EQ(folder.FindByGUID(0x803), nullptr);
  std::vector<std::string> folders;
  folder.GetObjectDirectories(folders);
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_NE(folders[0].find("Pack1"), std::string::npos);
  EXPECT_NE(folders[1].find("Pack2"), std::string::npos);

  const DrawGroup* first = g->GetDrawGroup(0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(first->FindImage(3, 1), nullptr);
  EXPECT_EQ(first->FindImage(3, 1)->sprites[0].spriteId, 100);
  EXPECT_EQ(g->GetDrawGroup(1), nullptr);  // group 201 is missing
  EXPECT_EQ(g->GetDrawGroup(2), nullptr);
  g->AddRef();
  folder.Unload();
  EXPECT_NE(folder.GetDebugLog().find("Object unload time: "), std::string::npos);
  EXPECT_EQ(g->Release(), 0);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST_F(ObjectFolderTest, BehaviourReferencesTravelAsTheirDefinitions) {
  ObjectFolder folder;
  folder.Init(root);
  ObjectDefinition* chair = folder.FindByGUID(kChairGuid);
  folder.AddRef(chair);
  MemResFile lot;
  ASSERT_EQ(folder.SaveTypeTable(lot), 0);
  for (int32_t version : {46, 62}) {
    std::vector<uint8_t> buffer(16);
    ReconStream w;
    w.InitBuffer(buffer.data(), 16, ReconStream::kWrite, false);
    Behavior* ref = chair->GetBehavior();
    folder.TransferBehaviorRef(ref, w, version, true);
    ReconStream r;
    r.InitBuffer(buffer.data(), w.GetPosition(), ReconStream::kRead, false);
    Behavior* back = nullptr;
    folder.TransferBehaviorRef(back, r, version, true);
    EXPECT_EQ(back, chair->GetBehavior()) << version;
  }
}

}  // namespace
}  // namespace tova
