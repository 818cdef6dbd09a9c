#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gamedata/Behavior.h"
#include "support/ScratchDir.h"
#include "gamedata/TreeFixtures.h"
#include "gamedata/BehaviorAssembler.h"
#include "gamedata/Breakpoints.h"
#include "gamedata/ObjFnTable.h"

namespace tova {
namespace {

// Adds every tree of the text to the file.
void AddTrees(MemoryResourceSource& file, const std::string& text) {
  for (AssembledTree& t : AssembleTrees(text)) file.Add(kTypeBHAV, t.id, std::move(t.bytes), t.label);
}

std::string OneNodeTree(int id, const std::string& label, int version, int callee = 0) {
  std::string op = callee ? std::to_string(callee) + " -1 -1 -1 -1" : "Sleep";
  return "tree " + std::to_string(id) + " \"" + label + "\"\n version " + std::to_string(version) + "\n " + op +
         " -> true false\nend\n";
}


struct Names : PrimitiveText {
  std::string PrimitiveName(int opcode) const override { return "prim" + std::to_string(opcode); }
};

class BehaviorTest : public ::testing::Test {
 protected:
  void SetUp() override { Breakpoints::Instance().Clear(); }
  void TearDown() override { Breakpoints::Instance().Clear(); }
  MemoryResourceSource global{"GameData/Global/Global.iff"};
  MemoryResourceSource own{"GameData/Objects/Chair.iff"};
  MemoryResourceSource semi{"GameData/Global/ChairGlobals.iff"};
  Names names;
};

TEST_F(BehaviorTest, IdRangesChooseTheFile) {
  Behavior b(&names, &global, &own, &semi);
  struct Case {
    int id;
    int scope;
    ResourceSource* file;
  } cases[] = {{255, 0, nullptr},   {256, 1, &global},  {4095, 1, &global}, {4096, 2, &own}, {8191, 2, &own},
               {8192, 3, &semi},    {9000, 3, &semi},   {9001, 0, nullptr}, {-1, 0, nullptr}};
  for (const Case& c : cases) {
    EXPECT_EQ(Behavior::GetTreeIdScope(c.id), c.scope) << c.id;
    EXPECT_EQ(b.GetFileForTree(c.id), c.file) << c.id;
  }
}

TEST_F(BehaviorTest, LookupAcrossOwnSemiGlobalAndGlobalFiles) {
  AddTrees(global, OneNodeTree(300, "Shared", 1));
  AddTrees(own, OneNodeTree(4100, "Sit", 2) + OneNodeTree(4101, "Shared", 3));
  AddTrees(semi, OneNodeTree(8200, "Group", 4) + OneNodeTree(8201, "Shared", 5));
  Behavior b(&names, &global, &own, &semi);
  EXPECT_EQ(b.GetTree(300).Version(), 1);
  EXPECT_EQ(b.GetTree(4100).Version(), 2);
  EXPECT_EQ(b.GetTree(8200).Version(), 4);
  EXPECT_FALSE(b.GetTree(4200));
  EXPECT_EQ(b.LocateTree("Shared"), 4101);  // own first
  EXPECT_EQ(b.LocateTree("Group"), 8200);
  EXPECT_EQ(b.LocateTree("Nowhere"), 0);
  Behavior noOwn(&names, &global, nullptr, &semi);
  EXPECT_EQ(noOwn.LocateTree("Shared"), 8201);  // then semi-global
  Behavior onlyGlobal(&names, &global, nullptr, nullptr);
  EXPECT_EQ(onlyGlobal.LocateTree("Shared"), 300);
  EXPECT_FALSE(onlyGlobal.GetTree(4100));

  EXPECT_EQ(b.GetTreeName(4100), "Sit");
  EXPECT_EQ(b.GetTreeName(2), "prim2");
  EXPECT_EQ(b.GetTreeName(0x7FFF), "***error***");
  EXPECT_EQ(b.GetTreeName(4200), "");
  own.SetOpen(false);
  EXPECT_EQ(b.GetTreeName(4100), "");
}

TEST_F(BehaviorTest, NodesAndTargets) {
  AddTrees(own,
           "tree 4096 \"t\"\n"
           "n0: Expression 1 2 3 4 -> n1 n2\n"
           "n1: Sleep -> n1 true\n"  // targets only itself
           "n2: Sleep -> false undefined\n"
           "end\n");
  Behavior b(&names, &global, &own, &semi);
  auto node = b.GetNode(4096, 0);
  ASSERT_TRUE(node);
  EXPECT_EQ(node->Opcode(), 2);
  EXPECT_EQ(node->Operand(3), 4);
  EXPECT_FALSE(b.GetNode(4096, 3));
  EXPECT_FALSE(b.GetNode(4096, -1));
  EXPECT_FALSE(b.IsNodeTarget(4096, 0));
  EXPECT_TRUE(b.IsNodeTarget(4096, 1));
  EXPECT_TRUE(b.IsNodeTarget(4096, 2));
  EXPECT_FALSE(b.IsNodeTarget(4096, 7));
  EXPECT_FALSE(b.IsNodeTarget(4097, 0));
}

TEST_F(BehaviorTest, SignatureOverMutuallyRecursiveTrees) {
  AddTrees(own,
           "tree 4096 \"a\"\n version 7\n 4097 -> n1 false\nn1: 4096 -> true false\nend\n"  // calls b and itself
           "tree 4097 \"b\"\n version 11\n 4096 -> n1 false\nn1: 300 -> true false\nend\n");  // calls a and a global
  AddTrees(global, OneNodeTree(300, "g", 100) + OneNodeTree(301, "unreached", 1000));
  Behavior b(&names, &global, &own, &semi);
  EXPECT_EQ(b.GetSignature(4096), 7u * 65536u + 7u + 11u + 100u);
  EXPECT_EQ(b.GetSignature(4097), 11u * 65536u + 7u + 11u + 100u);
  EXPECT_EQ(b.GetSignature(4999), 0u);  // missing trees add nothing

  AddTrees(own, OneNodeTree(4098, "calls missing", 5, 4999));
  EXPECT_EQ(b.GetSignature(4098), 5u * 65536u + 5u);
}

TEST_F(BehaviorTest, ConstantsWithTuningOverrides) {
  own.Add(kTypeBCON, 4096, MakeConstants({10, 20, 30}, true));
  own.Add(kTypeBCON, 4097, MakeConstants({1, 2}, false));
  own.SetConstantList(4096, {2, 77, 88});
  own.SetConstantList(4097, {1, 5});
  std::vector<uint8_t> damaged = MakeConstants({1, 2}, false);
  damaged[0] = 50;  // claims 50 values
  own.Add(kTypeBCON, 4098, damaged);
  Behavior b(&names, &global, &own, &semi);

  ConstantsView plain = b.GetConstants(4096, false);
  ASSERT_TRUE(plain);
  EXPECT_TRUE(plain.Tunable());
  EXPECT_EQ(plain.Count(), 3);
  EXPECT_EQ(plain.At(2), 30);
  ConstantsView tuned = b.GetConstants(4096, true);
  EXPECT_EQ(tuned.Count(), 2);
  EXPECT_EQ(tuned.At(1), 88);
  EXPECT_EQ(tuned.At(2), 0);  // beyond the table
  EXPECT_EQ(plain.At(-1), 0);
  EXPECT_EQ(b.GetConstants(4097, true).At(0), 1);  // not tunable: overrides ignored
  EXPECT_FALSE(b.GetConstants(4098, false));  // count beyond the resource
  EXPECT_FALSE(b.GetConstants(4099, false));
  EXPECT_FALSE(b.GetConstants(12, false));
}

TEST_F(BehaviorTest, TreesAndConstantsFromTheOtherByteOrder) {
  MemoryResourceSource swapped{"Swapped.iff", true, true};
  std::vector<uint8_t> tree = AssembleTrees(
      "tree 4096 \"t\"\n version 0x01020304\n n0: Expression 0x0102 -2 3 4 -> n0 true\nend\n")[0].bytes;
  std::vector<uint8_t> reversed = testing_support::OtherOrderTree(tree);
  EXPECT_NE(reversed, tree);
  swapped.Add(kTypeBHAV, 4096, reversed);
  std::vector<uint8_t> consts = MakeConstants({0x0102, -3}, true);
  SwapConstants(consts.data(), static_cast<int32_t>(consts.size()));
  swapped.Add(kTypeBCON, 4096, consts);
  Behavior b(&names, &global, &swapped, &semi);
  TreeView view = b.GetTree(4096);
  ASSERT_TRUE(view);
  EXPECT_EQ(std::vector<uint8_t>(view.Bytes().begin(), view.Bytes().end()), tree);
  EXPECT_EQ(b.GetTree(4096).Version(), 0x01020304);  // converted once, not back again
  EXPECT_EQ(b.GetConstants(4096, false).At(1), -3);
  EXPECT_TRUE(b.GetConstants(4096, false).Tunable());
}

TEST_F(BehaviorTest, OldFormatAndShortTreesAreRefused) {
  std::vector<uint8_t> old(2 + 12, 0);
  old[0] = 1;  // old layout: the first word is the node count
  own.Add(kTypeBHAV, 4096, old);
  std::vector<uint8_t> cut = AssembleTrees("tree 4097 \"\"\n Sleep -> true false\n Sleep -> true false\nend\n")[0].bytes;
  cut.resize(cut.size() - 1);
  own.Add(kTypeBHAV, 4097, cut);
  own.Add(kTypeBHAV, 4098, {0x00, 0x80});
  Behavior b(&names, &global, &own, &semi);
  EXPECT_FALSE(b.GetTree(4096));
  EXPECT_FALSE(b.GetTree(4097));
  EXPECT_FALSE(b.GetTree(4098));
  EXPECT_FALSE(b.GetNode(4096, 0));
  EXPECT_EQ(b.GetSignature(4096), 0u);

  // Converting an old-layout tree from the other order stays within its bytes.
  std::vector<uint8_t> lying = {0x00, 0x40, 1, 2, 3};
  SwapTreeStandard(lying.data(), static_cast<int32_t>(lying.size()));
  EXPECT_FALSE(IsRunnableTree(lying));
}

TEST_F(BehaviorTest, EntryTreeTable) {
  ObjFnTable t;
  t.Entries() = {{4096, 1}, {4097, 0}, {0, 0}};
  own.Add(kTypeOBJf, 128, t.ToRecord());
  ObjFnTable back;
  EXPECT_EQ(back.Load(own, 128), 0);
  int count = 0;
  EXPECT_EQ(back.GetTreeId(1, &count), 4097);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(back.Entries()[0].companionId, 1);
  EXPECT_EQ(back.GetTreeId(3), 0);
  EXPECT_EQ(back.GetTreeId(-1), 0);
  EXPECT_EQ(back.Load(own, 129), kResNotFound);
  std::vector<uint8_t> bad = t.ToRecord();
  bad[12] = 200;  // entry count far beyond the record
  own.Add(kTypeOBJf, 130, bad);
  EXPECT_EQ(back.Load(own, 130), kResBadData);
  EXPECT_EQ(back.Entries().size(), 3u);  // untouched by the failed load
}

TEST_F(BehaviorTest, BreakpointsReadAppliedAndWrittenBack) {
  tova_test::ScratchDir temp;
  const std::filesystem::path& folder = temp.Path();
  const std::string path = (folder / "Breakpts.txt").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << "4\r\nMy Chair.iff\r\n4096\r\n1\r\nmy chair.IFF\r\n4096\r\n9\r\nOther.iff\r\n300\r\n0\r\n"
           "My Chair.iff\r\n4097\r\n0\r\n";
  }
  // Folders may be named with '\\' and in any letter case.
  const std::string windowsPath = folder.string() + "\\BREAKPTS.TXT";
  ASSERT_TRUE(Breakpoints::Instance().Read(windowsPath));
  ASSERT_EQ(Breakpoints::Instance().Records().size(), 4u);
  EXPECT_EQ(Breakpoints::Instance().Records()[0].fileName, "My Chair.iff");  // spaces survive

  MemoryResourceSource chair{"GameData/Objects/My Chair.iff"};
  AddTrees(chair, "tree 4096 \"t\"\n Sleep -> n1 false\nn1: Sleep -> true false\nend\n");
  Behavior b(&names, &global, &chair, &semi);
  EXPECT_FALSE(b.GetNode(4096, 0)->HasBreakpoint());
  EXPECT_TRUE(b.GetNode(4096, 1)->HasBreakpoint());
  EXPECT_EQ(b.GetNode(4096, 1)->Opcode(), 0);
  // The record past the tree's end is gone; the one for a missing tree and the
  // other file's stay.
  ASSERT_EQ(Breakpoints::Instance().Records().size(), 3u);

  // Marks live only in the loaded tree, never in what is written.
  ASSERT_EQ(WriteTree(chair, 4096, "t", b.GetTree(4096).Bytes()), 0);
  std::vector<uint8_t> stored = *chair.Stored(kTypeBHAV, 4096);
  EXPECT_EQ(stored[kTreeHeaderSize + kTreeNodeSize + 1] & 0x80, 0);

  ASSERT_TRUE(WriteBreakpoints());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no temporary left
  Breakpoints::Instance().Clear();
  ASSERT_TRUE(ReadBreakpoints(path));
  ASSERT_EQ(Breakpoints::Instance().Records().size(), 3u);
  EXPECT_EQ(Breakpoints::Instance().Records()[2].fileName, "My Chair.iff");
  EXPECT_EQ(Breakpoints::Instance().Records()[2].treeId, 4097);
  std::filesystem::remove_all(folder);
  EXPECT_FALSE(Breakpoints::Instance().Read(path));
  EXPECT_FALSE(Breakpoints::Instance().WasRead());
}

}  // namespace
}  // namespace tova
