#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ResourceSource.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"
#include "simulation/TreeProperties.h"
#include "simulation/TreeTable.h"
#include "simulation/cTreeConstants.h"
#include "gamedata/Behavior.h"

using namespace tova;

namespace {

// Little-endian bytes of a stored table, written by hand for the old layouts.
struct TableBytes {
  std::vector<uint8_t> b;
  TableBytes& i16(int v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  TableBytes& i32(int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  TableBytes& f32(float f) {
    int32_t v;
    std::memcpy(&v, &f, 4);
    return i32(v);
  }
  TableBytes& text(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
    if (b.size() % 2) b.push_back(0);
    return *this;
  }
};

int16_t StoredVersion(MemResFile& file, ResId id) {
  std::vector<uint8_t> out;
  if (!file.GetStored(kTypeTTAB, id, out) || out.size() < 4) return -1;
  return static_cast<int16_t>(out[2] | out[3] << 8);
}

std::string StoredName(MemResFile& file, ResId id, int n) {
  StringSet names;
  names.SetSource(&file, id, kTypeTTAs, false, -1);
  names.Load(false, true);
  const char* s = names.GetString(n);
  return s ? s : "<missing>";
}

void PutNames(MemResFile& file, ResId id, const std::vector<std::string>& names) {
  StringSet set;
  set.SetSource(&file, id, kTypeTTAs, false, -1);
  for (size_t i = 0; i < names.size(); ++i) set.SetString(static_cast<int>(i) + 1, names[i].c_str());
  ASSERT_EQ(set.Save(), 0);
}

TreeTableEntry Entry(TreeTable& t, int16_t action, int32_t flags, int32_t number, const std::string& name) {
  TreeTableEntry e = t.NewEntry();
  e.actionTree = action;
  e.checkTree = static_cast<int16_t>(action + 1);
  e.flags = flags;
  e.nameIndex = number;
  e.name = name;
  e.attenuationCode = 0;
  e.customAttenuation = 0.25f;
  e.tuningMark = 7;
  e.link = 3;
  if (e.motives.size() > 1) e.motives[1] = MotiveEntry{2, 30, -5};
  return e;
}

}  // namespace

TEST(TreeTableTest, SavedAndLoadedGivesTheSameEntriesNamesAndFlags) {
  MemResFile file;
  TreeTable table(4);
  table.Data().entries = {Entry(table, 4096, 0, 0, "Sit"), Entry(table, 4100, 0x80, 2, "!Fix")};
  ASSERT_EQ(table.Save(&file, 300, "Chair"), 0);
  EXPECT_EQ(StoredVersion(file, 300), 9);

  TreeTable back(4);
  ASSERT_EQ(back.Load(&file, 300), 0);
  EXPECT_EQ(back.LoadedVersion(), 9);
  ASSERT_EQ(back.GetEntryCount(), 2);
  for (int i = 0; i < 2; ++i) {
    const TreeTableEntry& a = table.Data().entries[i];
    const TreeTableEntry& b = back.Data().entries[i];
    EXPECT_EQ(b.actionTree, a.actionTree);
    EXPECT_EQ(b.checkTree, a.checkTree);
    EXPECT_EQ(b.flags, a.flags);
    EXPECT_EQ(b.nameIndex, a.nameIndex);
    EXPECT_EQ(b.name, a.name);
    EXPECT_EQ(b.attenuationCode, 0);
    EXPECT_FLOAT_EQ(b.customAttenuation, 0.25f);
    EXPECT_EQ(b.tuningMark, 7);
    EXPECT_EQ(b.link, 3);
    ASSERT_EQ(b.motives.size(), 4u);
    EXPECT_EQ(b.motives[1].modifier, 2);
    EXPECT_EQ(b.motives[1].base, 30);
    EXPECT_EQ(b.motives[1].range, -5);
  }
  // The names list is padded up to the highest number.
  EXPECT_EQ(StoredName(file, 300, 2), "");
}

TEST(TreeTableTest, StoredNamesFollowTheBangFlag) {
  struct Case {
    int32_t flags;
    const char* name;
    const char* stored;
  } cases[] = {
      {0x80, "Sit", "!Sit"}, {0x80, "!Sit", "!Sit"}, {0, "!Sit", "Sit"},
      {0, "!", " "},         {0, "Sit", "Sit"},      {0x80, "", "!"},
  };
  for (const Case& c : cases) {
    MemResFile file;
    TreeTable table(0);
    table.Data().entries = {Entry(table, 4096, c.flags, 0, c.name)};
    ASSERT_EQ(table.Save(&file, 1, "T"), 0);
    EXPECT_EQ(StoredName(file, 1, 1), c.stored) << c.name;
  }
}

TEST(TreeTableTest, AttenuationByCode) {
  TreeTable table(0);
  struct Case {
    int32_t code;
    float expected;
  } cases[] = {{0, 0.5f}, {1, 0.0f}, {2, 0.002f}, {3, 0.02f}, {4, 0.1f}, {7, 0.02f}};
  for (const Case& c : cases) {
    TreeTableEntry e = table.NewEntry();
    e.attenuationCode = c.code;
    e.customAttenuation = 0.5f;
    table.Data().entries = {e};
    EXPECT_FLOAT_EQ(table.GetAttenuation(0, false), c.expected) << c.code;
    EXPECT_FLOAT_EQ(table.GetAttenuation(0, true), c.expected) << c.code;
  }
}

TEST(TreeTableTest, AVersion7TableIsRewrittenOnlyInAWritableFile) {
  TableBytes v7;
  v7.i16(1).i16(7);
  // check, action, motive count 1, flags, name index, code, custom, 50, -1,
  // words 1, 2, 0; the name comes from the names list.
  v7.i16(11).i16(4096).i32(1).i32(0x80).i32(0).i32(2).f32(0.0f).i32(50).i32(-1).i16(5).i16(6).i16(7);
  for (bool writable : {true, false}) {
    MemResFile file;
    file.AddStored(kTypeTTAB, 200, v7.b.data(), static_cast<int32_t>(v7.b.size()), "Old");
    PutNames(file, 200, {"!Poke"});
    file.SetWritable(writable);
    TreeTable table(1);
    ASSERT_EQ(table.Load(&file, 200), 0);
    ASSERT_EQ(table.GetEntryCount(), 1);
    const TreeTableEntry& e = table.Data().entries[0];
    EXPECT_EQ(e.name, "!Poke");
    EXPECT_EQ(e.checkTree, 11);
    EXPECT_EQ(e.motives[0].base, 5);
    EXPECT_EQ(e.motives[0].range, 6);
    EXPECT_EQ(e.motives[0].modifier, 7);
    EXPECT_EQ(StoredVersion(file, 200), writable ? 9 : 7);
    if (writable) {
      TreeTable again(1);
      ASSERT_EQ(again.Load(&file, 200), 0);
      EXPECT_EQ(again.LoadedVersion(), 9);
      EXPECT_EQ(again.Data().entries[0].name, "!Poke");
    }
  }
}

TEST(TreeTableTest, OldLayoutsReadTheirFields) {
  // One entry each; the table has two motive entries, so values for entry 2
  // and up are dropped.
  struct Case {
    int version;
    TableBytes bytes;
    int16_t action;
    int32_t flags;
    int32_t number;
    int32_t code;
  };
  std::vector<Case> cases;
  cases.push_back({0, TableBytes().i16(9).i16(3).i16(1).i16(40).i16(2).i16(99).i16(-1).i16(8), 0, 0, 0, 3});
  cases.push_back({1, TableBytes().i16(9).i16(4100).i16(2).i16(1).i16(40).i16(5).i16(99), 4100, 0, 0, 3});
  cases.push_back({2, TableBytes().i16(9).i16(4100).i16(3).f32(0.5f).i16(77).i16(1).i16(40).i16(99), 4100, 0, 0, 0});
  cases.push_back({3, TableBytes().i16(9).i16(4100).i16(2).i16(0x80).f32(0.5f).i16(1).i16(40), 4100, 0x80, 0, 0});
  cases.push_back(
      {4, TableBytes().i16(9).i16(4100).i16(2).i32(0x10).i32(6).f32(0.5f).i32(50).i16(1).i16(40), 4100, 0x10, 6, 0});
  cases.push_back({5,
                   TableBytes().i16(9).i16(4100).i16(2).i32(0x10).i32(6).f32(0.5f).i32(50).i32(-1).i16(1).i16(40),
                   4100, 0x10, 6, 0});
  for (Case& c : cases) {
    TableBytes all;
    all.i16(1).i16(c.version);
    all.b.insert(all.b.end(), c.bytes.b.begin(), c.bytes.b.end());
    MemResFile file;
    file.AddStored(kTypeTTAB, 5, all.b.data(), static_cast<int32_t>(all.b.size()), "Old");
    file.SetWritable(false);
    TreeTable table(2);
    ASSERT_EQ(table.Load(&file, 5), 0) << c.version;
    ASSERT_EQ(table.GetEntryCount(), 1) << c.version;
    const TreeTableEntry& e = table.Data().entries[0];
    EXPECT_EQ(e.checkTree, 9) << c.version;
    EXPECT_EQ(e.actionTree, c.action) << c.version;
    EXPECT_EQ(e.flags, c.flags) << c.version;
    EXPECT_EQ(e.nameIndex, c.number) << c.version;
    EXPECT_EQ(e.attenuationCode, c.code) << c.version;
    ASSERT_EQ(e.motives.size(), 2u);
    EXPECT_EQ(e.motives[1].range, 40) << c.version;
    EXPECT_EQ(e.motives[0].range, c.version >= 2 ? 1 : 0) << c.version;
    if (c.code == 0) {
      EXPECT_FLOAT_EQ(e.customAttenuation, 0.5f);
    }
  }
}

TEST(TreeTableTest, LoadFailures) {
  MemResFile file;
  TreeTable table(2);
  table.Data().entries = {table.NewEntry()};
  EXPECT_EQ(table.Load(&file, 9), -99);
  EXPECT_EQ(table.GetEntryCount(), 0);
  EXPECT_EQ(table.Load(&file, 0), -1);
  EXPECT_EQ(table.Load(nullptr, 9), -1);
  EXPECT_EQ(table.Resave(), -1);
  // A count the bytes cannot hold, a version from the future, a cut entry.
  std::vector<TableBytes> damaged = {TableBytes().i16(1000).i16(9).i16(0),
                                TableBytes().i16(1).i16(10).i16(0).i16(0),
                                TableBytes().i16(1).i16(6).i16(4).i16(5).i32(70000)};
  for (TableBytes& b : damaged) {
    file.AddStored(kTypeTTAB, 9, b.b.data(), static_cast<int32_t>(b.b.size()), "Bad");
    EXPECT_EQ(table.Load(&file, 9), -1);
    EXPECT_EQ(table.GetEntryCount(), 0);
  }
  TreeTable saver(0);
  saver.Data().entries = {saver.NewEntry()};
  EXPECT_EQ(saver.Save(&file, 0, "x"), -1);
  EXPECT_EQ(saver.Save(nullptr, 3, "x"), -1);
}

TEST(TreeTableTest, EmptyNamesFallBackToTheActionTree) {
  MemResFile file;
  auto tree = AssembleTrees("tree 4096 \"Sit down\"\nn0: 0 -> true false\nend\n")[0].bytes;
  file.AddStored(TypeCode("BHAV"), 4096, tree.data(), static_cast<int32_t>(tree.size()), "Sit down");
  TreeTable table(0);
  table.Data().entries = {Entry(table, 4096, 0, 0, ""), Entry(table, 4200, 0, 1, "")};
  ASSERT_EQ(table.Save(&file, 7, "T"), 0);
  ASSERT_EQ(table.Load(&file, 7), 0);
  EXPECT_EQ(table.Data().entries[0].name, "Sit down");
  EXPECT_EQ(table.Data().entries[1].name, "?4200");
}

TEST(TreeTableTest, CopyEntryLeavesTheTuningMarkAndCopiesCommonMotives) {
  TreeTable big(3);
  TreeTable small(1);
  TreeTableEntry source = Entry(big, 4096, 0x80, 4, "!Nap");
  source.motives[0] = MotiveEntry{1, 2, 3};
  TreeTableEntry target = small.NewEntry();
  target.tuningMark = 99;
  TreeTable::CopyEntry(target, source);
  EXPECT_EQ(target.actionTree, 4096);
  EXPECT_EQ(target.checkTree, 4097);
  EXPECT_EQ(target.flags, 0x80);
  EXPECT_EQ(target.nameIndex, 4);
  EXPECT_EQ(target.link, 3);
  EXPECT_EQ(target.name, "!Nap");
  EXPECT_EQ(target.tuningMark, 99);
  ASSERT_EQ(target.motives.size(), 1u);
  EXPECT_EQ(target.motives[0].range, 3);
}

TEST(TreeConstantsTest, LoadNeedsBothResources) {
  MemResFile file;
  cTreeConstants constants;
  EXPECT_EQ(constants.Load(&file, 4096), kResNotFound);
  EXPECT_TRUE(constants.Entries().empty());

  cTreeConstants labels;
  labels.Entries().resize(3);
  labels.Entries()[0].label = "Comfort";
  labels.Entries()[2].label = "Price";
  labels.Entries()[2].ranged = true;
  labels.Entries()[2].maximum = 500;
  SimpleReconObject<cTreeConstants> record(&labels, kTypeTRCN);
  ASSERT_EQ(ReconObject::SaveToResFile(record, cTreeConstants::kCurrentVersion, file, 4096), 0);
  EXPECT_NE(constants.Load(&file, 4096), 0);
  EXPECT_TRUE(constants.Entries().empty());

  // Two stored values for three entries: the third reads 0.
  const uint8_t bcon[] = {0x02, 0x80, 0x07, 0x00, 0xFF, 0xFF};
  file.AddStored(TypeCode("BCON"), 4096, bcon, sizeof bcon, "Chair constants");
  ASSERT_EQ(constants.Load(&file, 4096), 0);
  ASSERT_EQ(constants.Entries().size(), 3u);
  EXPECT_EQ(constants.Entries()[0].value, 7);
  EXPECT_EQ(constants.Entries()[1].value, -1);
  EXPECT_EQ(constants.Entries()[2].value, 0);
  EXPECT_EQ(constants.Entries()[2].index, 2);
  EXPECT_EQ(constants.ElementLabel(0), "Comfort");
  EXPECT_TRUE(constants.Entries()[2].ranged);
  EXPECT_EQ(constants.Entries()[2].maximum, 500);
  EXPECT_EQ(constants.TableLabel(), "Chair constants");
  EXPECT_TRUE(constants.Tunable());
}

TEST(TreeConstantsTest, VersionZeroRecordsTakeTheDefaultRange) {
  MemResFile file;
  cTreeConstants labels;
  labels.Entries().resize(1);
  labels.Entries()[0].ranged = true;
  labels.Entries()[0].minimum = 4;
  SimpleReconObject<cTreeConstants> record(&labels, kTypeTRCN);
  ASSERT_EQ(ReconObject::SaveToResFile(record, 0, file, 8), 0);
  const uint8_t bcon[] = {0x01, 0x00, 0x07, 0x00};
  file.AddStored(TypeCode("BCON"), 8, bcon, sizeof bcon);
  cTreeConstants constants;
  ASSERT_EQ(constants.Load(&file, 8), 0);
  EXPECT_FALSE(constants.Entries()[0].ranged);
  EXPECT_EQ(constants.Entries()[0].minimum, 0);
  EXPECT_EQ(constants.Entries()[0].maximum, 100);
  EXPECT_FALSE(constants.Tunable());
}

TEST(TreePropertiesTest, DefaultsWithoutARecordAndNamesWithOne) {
  MemoryResourceSource own("Chair.iff");
  own.Add(kTypeBHAV, 4096, AssembleTrees("tree 4096 \"A\"\nn0: 0 -> true false\nend\n")[0].bytes, "A");
  own.Add(kTypeBHAV, 4097, AssembleTrees("tree 4097 \"B\"\nn0: 0 -> true false\nend\n")[0].bytes, "B");
  Behavior behavior(nullptr, nullptr, &own, nullptr);

  TreeProperties defaults(&behavior, 4096);
  defaults.Load();
  EXPECT_TRUE(defaults.Defaulted());
  EXPECT_EQ(defaults.GetCount(TreeProperties::kParameters), 4);
  EXPECT_EQ(defaults.GetName(0, 0), "param 0");
  EXPECT_EQ(defaults.GetName(0, 3), "param 3");
  EXPECT_EQ(defaults.GetName(0, 4), "");
  EXPECT_EQ(defaults.GetCount(TreeProperties::kLocals), 0);
  EXPECT_EQ(defaults.GetName(2, 0), "");
  EXPECT_TRUE(defaults.ParameterFlag(9));

  TreeProperties named(&behavior, 4097);
  named.SetNames({"who", "how long"}, {"count"});
  SimpleReconObject<TreeProperties> record(&named, kTypeTPRP);
  MemHandle h = ReconObject::WriteToHandle(record, TreeProperties::kCurrentVersion);
  ASSERT_NE(h, nullptr);
  own.Add(kTypeTPRP, 4097, std::vector<uint8_t>(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h)));
  DisposeMemHandle(h);
  TreeProperties back(&behavior, 4097);
  back.Load();
  EXPECT_FALSE(back.Defaulted());
  EXPECT_EQ(back.GetName(0, 1), "how long");
  EXPECT_EQ(back.GetName(1, 0), "count");
  EXPECT_EQ(back.GetCount(TreeProperties::kParameters), 2);

  // No tree, nothing read.
  TreeProperties none(&behavior, 4200);
  none.Load();
  EXPECT_EQ(none.GetCount(TreeProperties::kParameters), 0);
}
