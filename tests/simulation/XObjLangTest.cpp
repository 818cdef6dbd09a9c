#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gamedata/Behavior.h"
#include "gamedata/BehaviorAssembler.h"
#include "gamedata/ResourceSource.h"
#include "resfile/ReconObject.h"
#include "simulation/TreeProperties.h"
#include "simulation/XObjLang.h"
#include "simulation/cTreeConstants.h"

using namespace tova;

namespace {

// Every table of the fixture's global file holds "<table>:<entry>" texts, so
// an expected line shows which table and entry each word came from. Scope
// names stop at scope 29: scopes from 30 have none.
class XObjLangTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int t : {128, 129, 130, 131, 134, 136, 141, 153, 156, 157, 162, 164, 165, 167, 170, 200, 201, 204, 207,
                  211, 212, 216, 219, 220, 221, 222, 224, 227, 231, 235, 237, 238, 239, 240, 243, 244, 245, 247, 249,
                  202}) {
      Table(global, t, 12);
    }
    Table(global, 132, 30);
    Table(global, 139, 51);
    own.Add(kTypeBHAV, 4096, AssembleTrees("tree 4096 \"Main\"\nn0: 0 -> true false\nend\n")[0].bytes, "Main");
    own.Add(kTypeBHAV, 4097, AssembleTrees("tree 4097 \"Helper\"\nn0: 0 -> true false\nend\n")[0].bytes, "Helper");
    global.Add(kTypeBHAV, 256, AssembleTrees("tree 256 \"Shared\"\nn0: 0 -> true false\nend\n")[0].bytes, "Shared");
  }

  static void Table(MemoryResourceSource& f, int id, int n) {
    std::vector<std::string> s;
    for (int i = 1; i <= n; ++i) s.push_back(std::to_string(id) + ":" + std::to_string(i));
    f.SetStrings(static_cast<int16_t>(id), s);
  }

  // A node of the opcode with the eight operand bytes.
  std::string Describe(uint16_t opcode, std::vector<uint8_t> operands, int16_t tree = 4096) {
    operands.resize(8, 0);
    node.assign(12, 0);
    node[0] = static_cast<uint8_t>(opcode);
    node[1] = static_cast<uint8_t>(opcode >> 8);
    node[2] = 254;
    node[3] = 255;
    std::memcpy(node.data() + 4, operands.data(), 8);
    return text.DescribeNode(behavior, tree, TreeNode(node.data()));
  }
  static std::vector<uint8_t> Words(int w0, int w1 = 0, int w2 = 0, int w3 = 0) {
    std::vector<uint8_t> b;
    for (int w : {w0, w1, w2, w3}) {
      b.push_back(static_cast<uint8_t>(w));
      b.push_back(static_cast<uint8_t>(w >> 8));
    }
    return b;
  }

  MemoryResourceSource global{"GameData/behavior.iff"};
  MemoryResourceSource own{"GameData/Objects/Chair.iff"};
  MemoryResourceSource semi{"GameData/Global/FurnitureGlobals.iff"};
  XObjLang text{&global};
  Behavior behavior{&text, &global, &own, &semi};
  std::vector<uint8_t> node;
};

}  // namespace

TEST_F(XObjLangTest, NamesAndCounts) {
  EXPECT_EQ(text.GetName(2), "157:3");
  EXPECT_EQ(text.GetName(40), "unknown");
  EXPECT_EQ(text.GetPrimitiveName(5), "139:6");
  EXPECT_EQ(text.GetPrimitiveCount(), 51);
  EXPECT_EQ(behavior.GetTreeName(5), "139:6");
  XObjLang bare(nullptr);
  EXPECT_EQ(bare.GetPrimitiveCount(), 0);
  EXPECT_EQ(bare.GetName(0), "unknown");
}

TEST_F(XObjLangTest, TheEdgesOfTheText) {
  // Opcode 5 has no operands to show; all-0xFF operands leave the name.
  EXPECT_EQ(Describe(5, {}), "139:6 ()");
  EXPECT_EQ(Describe(8, std::vector<uint8_t>(8, 0xFF)), "139:9");
  // A scope without a name: "owner N " before the value.
  EXPECT_EQ(Describe(15, Words(3, 31)), "139:16 (if owner 31 3!=0)");
  // A constant reference with bits 13-15 = 3 is the bare number.
  EXPECT_EQ(Describe(15, Words(0x6005, 26)), "139:16 (if 132:27 24581!=0)");
  // A 60-character dialog text: its first 48 and "...".
  const std::string sixty(60, 'x');
  own.SetStrings(301, {"Hello", sixty});
  EXPECT_EQ(Describe(36, {0, 0, 2, 0, 0, 0, 0, 2}), "139:37 (message: " + std::string(48, 'x') + "...)");
  EXPECT_EQ(Describe(36, {0, 0, 9, 0, 0, 1, 0, 2}), "139:37 (choice: string error)");
  // Nothing exceeds the 256-character buffer.
  own.SetStrings(300, {std::string(300, 'y')});
  std::string call = Describe(50, {0x2C, 0x01, 0, 0, 1});
  EXPECT_EQ(call.size(), XObjLang::kTextCapacity);
}

TEST_F(XObjLangTest, OperandsByScope) {
  own.SetStrings(256, {"comfort", "price"});
  semi.SetStrings(256, {"group value"});
  own.SetStrings(259, {"extra"});
  struct Case {
    int scope;
    int value;
    const char* expected;
  } cases[] = {
      {7, -3, "-3"},
      {8, 2, "132:9 2"},
      {0, 1, "132:1 price"},
      {1, 0, "132:2 group value"},
      {36, 0, "owner 36 extra"},
      {0, 7, "132:1 7"},
      {3, 0, "132:4 141:1"},
      {6, 1, "132:7 129:2"},
      {14, 2, "132:15 134:3"},
      {19, 0, "132:20 200:1"},
      {21, 0, "132:22 204:1"},
      {23, 0, "132:24 219:1"},
      {24, 0, "132:25 221:1"},
      {9, 1, "132:10 param 1"},
      {9, 4, "132:10 4"},
      {25, 0, "132:26 0"},
  };
  for (const Case& c : cases) {
    // Breakpoint: "if" op(w1, w0) "!=0".
    EXPECT_EQ(Describe(15, Words(c.value, c.scope)), std::string("139:16 (if ") + c.expected + "!=0)") << c.scope;
  }
}

TEST_F(XObjLangTest, ConstantsNameTheirTableAndElement) {
  cTreeConstants labels;
  labels.Entries().resize(3);
  labels.Entries()[2].label = "Seat height";
  SimpleReconObject<cTreeConstants> record(&labels, kTypeTRCN);
  MemHandle h = ReconObject::WriteToHandle(record, cTreeConstants::kCurrentVersion);
  ASSERT_NE(h, nullptr);
  own.Add(kTypeTRCN, 4097, std::vector<uint8_t>(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h)));
  DisposeMemHandle(h);
  own.Add(kTypeBCON, 4097, MakeConstants({1, 2, 3}, false), "Chair tuning");
  global.Add(kTypeBCON, 256, MakeConstants({1}, false), "Shared tuning");
  // Table 4096 + 1 (bits 7-12), element 2; then element 1 without a label;
  // then a global table 256 + 0.
  EXPECT_EQ(Describe(15, Words(0x0082, 26)), "139:16 (if 132:27 #Chair tuning Seat height!=0)");
  EXPECT_EQ(Describe(15, Words(0x0081, 26)), "139:16 (if 132:27 #Chair tuning 1!=0)");
  EXPECT_EQ(Describe(15, Words(0x4000, 26)), "139:16 (if 132:27 #Shared tuning 0!=0)");
  EXPECT_EQ(Describe(15, Words(0x2000, 26)), "139:16 (if 132:27 8192!=0)");
}

TEST_F(XObjLangTest, ExpressionsAndFlagNames) {
  own.SetStrings(256, {"placement flags"});
  global.SetStrings(202, {"zero", "on floor", "on table"});
  // L := R, temp 1 := literal 5.
  EXPECT_EQ(Describe(2, {1, 0, 5, 0, 0, 5, 8, 7}), "132:9 1 136:6 5");
  // Flag test on my attribute 0 ("placement flags"): bit 2 is entry 2 (w1,
  // not w1 + 1).
  EXPECT_EQ(Describe(2, {0, 0, 2, 0, 0, 8, 0, 7}), "132:1 placement flags 136:9 on floor");
  // No name for the bit: the number.
  EXPECT_EQ(Describe(2, {0, 0, 9, 0, 0, 8, 0, 7}), "132:1 placement flags 136:9 9");
}

TEST_F(XObjLangTest, TreeCalls) {
  // The called tree has the default parameter names.
  EXPECT_EQ(Describe(4097, Words(1, 2, 3, 4)), "128:1 Helper (with param 0=1, param 1=2, param 2=3, param 3=4)");
  EXPECT_EQ(Describe(4097, std::vector<uint8_t>(8, 0xFF)),
            "128:1 Helper (with param 0=132:9 0, param 1=132:9 1, param 2=132:9 2, param 3=132:9 3)");
  EXPECT_EQ(Describe(256, Words(1)), "128:2 Shared (with param 0=1, param 1=0, param 2=0, param 3=0)");
  // A tree that names no parameters takes its arguments from the stack.
  TreeProperties none(&behavior, 4097);
  none.SetNames({}, {});
  SimpleReconObject<TreeProperties> record(&none, kTypeTPRP);
  MemHandle h = ReconObject::WriteToHandle(record, TreeProperties::kCurrentVersion);
  ASSERT_NE(h, nullptr);
  own.Add(kTypeTPRP, 4097, std::vector<uint8_t>(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h)));
  DisposeMemHandle(h);
  EXPECT_EQ(Describe(4097, Words(1, 2, 3, 4)), "128:1 Helper (stack 1, 2, 3, 4)");
  EXPECT_EQ(Describe(4097, std::vector<uint8_t>(8, 0xFF)), "128:1 Helper (128:4)");
}

// One line per primitive opcode, all operands 0 but where a form needs more.
TEST_F(XObjLangTest, OneLinePerPrimitive) {
  own.SetStrings(301, {"Hi"});
  own.SetStrings(300, {"Sit", "Nap"});
  text.SetGuidNames([](uint32_t guid) { return guid == 0x00010002 ? std::string("Lamp") : std::string(); });
  struct Case {
    uint16_t opcode;
    std::vector<uint8_t> operands;
    const char* expected;
  } cases[] = {
      {0, {}, "139:1 (for ticks in 132:10 param 0)"},
      {1, Words(3), "139:2 (220:4)"},
      {3, {}, "139:4 ()"},
      {4, {}, "139:5 ()"},
      {6, {1, 2, 1}, "139:7 (dress index 1 from 227:3 suits)"},
      {7, Words(1, 2), "139:8 (211:2 212:3)"},
      {8, Words(0, 8, 10, 7), "139:9 (132:9 0:=random from 0 to <10)"},
      {9, {2, 1}, "139:10 (231:3, allow busy objects)"},
      {10, {1}, "139:11 (238:2)"},
      {11, {}, "139:12 (132:9 0 := distance from 132:4 141:12 to stack obj)"},
      {12, {0, 0, 8, 0, 1, 7, 5, 0}, "139:13 (132:9 0 := dir from 5 to stack obj)"},
      {13, {4, 1, 0, 9, 0}, "139:14 (#4 of 132:10 param 1 onto the stack object's queue, 224:1, use icon from 132:26 0, use name)"},
      {14, Words(2), "139:15 (201:3)"},
      {15, Words(1, 8), "139:16 (if 132:9 1!=0)"},
      {16, {1, 0, 5}, "139:17 (239:2, start at 132:26 0, user editable, prefer empty)"},
      {17, Words(0, 1), "139:18 (for ticks in 132:10 param 0, allow push)"},
      {18, {0, 3}, "139:19 (156:1, return immediately)"},
      {19, {0, 1, 2}, "139:20 (132:26 1, 132:26 2, 132:26 0)"},
      {20, {1, 1}, "139:21 (201:2, change icon)"},
      {21, Words(300, 2), "139:22 (Nap)"},
      {21, Words(300, 5), "139:22 (300:5)"},
      {22, Words(40), "139:23 (type 40)"},
      {23, {7, 0, 0, 2, 0x12, 3}, "139:24 (7, auto vary, with stack obj as source, sampled at 2.000000, volume 3)"},
      {24, {1, 0, 2, 0, 3}, "139:25 (var 0 of 170:1 := 132:10 param 2, fail if too small, use neighbors)"},
      {25, {0, 0, 50, 0, 0, 0, 2, 2}, "139:26 (add 50 as 240:3)"},
      {25, {1, 0, 1, 0, 0, 0, 0, 1}, "139:26 (test if 132:10 param 1 may be subtracted as 240:1)"},
      {26, {0, 2, 4, 1, 7, 0, 5, 0}, "139:27 (var 0 of stack object to 132:26 1 := 5)"},
      {27, {0, 0, 0, 0, 0, 0, 2}, "139:28 (130:3, 131:3, no failure trees)"},
      {28, {0x2C, 0x01, 0, 0, 1, 2}, "139:29 (Private: Sit, 222:3)"},
      {29, {0, 7, 1, 0, 5, 0, 9, 0}, "139:30 (132:15 134:2 += 132:1 5 per hr, stop at 9)"},
      {29, {0, 0, 0, 1}, "139:30 (clear all)"},
      {30, {}, "139:31 ()"},
      {31, {2, 0, 1, 0, 4}, "139:32 (164:5 Lamp)"},
      {31, {0, 0, 0, 0, 0x89, 8, 2, 3}, "139:32 (132:9 3 := next 164:10 132:26 2)"},
      {32, Words(2, 1, 0, 8), "139:33 (type of 132:9 0 == Lamp)"},
      {33, Words(0, 0, 1, 2), "139:34 (153:2 lowest 165:3 into temps 0-4)"},
      {34, {1, 7, 4, 0, 1}, "139:35 (turn on 247:2 4)"},
      {35, {}, "139:36 (un-show stack obj)"},
      {35, {5, 0, 1, 2, 0x1F, 1}, "139:36 (show stack obj, timeout := 5, caption: \"?\?\?\", one frame, ignore visibility, snapshot, mid zoom, medium window, slow down, center)"},
      {36, {0, 0, 1, 0, 0, 3, 0, 0x85}, "139:37 (text entry: Hi, 237:1, icon: 244:3)"},
      {37, {}, "139:38 (me with stack obj.)"},
      {38, Words(1, 2, 3, 4), "139:39 (params 1, 2, 3, 4)"},
      {39, Words(-1, 0, 0, 0), "139:40 (params -1, 0, 0, 0)"},
      {40, {}, "139:41 (params 0, 0, 0, 0)"},
      {41, {}, "139:42 (clear)"},
      {41, {0, 0, 3, 1, 10, 0, 2, 0x0F}, "139:42 (1 : 3 in 162:3 balloon for 10 loops, show when inactive, crossed out, anim reversed)"},
      {42, {2, 0, 1, 0, 8, 0x0B, 4, 0}, "139:43 (Lamp, place 167:9 132:26 4, pass object ids to main, do not duplicate, fail if tile is non-empty)"},
      {43, Words(0, 2, 1, 3), "139:44 (from slot 2 to slot in 132:10 param 3)"},
      {44, {5, 0, 1, 4, 0x06}, "139:45 (id 5 from old global events:4, backwards, background, name: ?\?\?)"},
      {44, {0, 0, 0, 0, 1}, "139:45 (reset, background)"},
      {45, Words(2, 1, 1), "139:46 (#2, no failure trees)"},
      {46, Words(3, 0, 6), "139:47 (207:1 3, ask person to move, use footprint)"},
      {47, Words(1, 1, 2), "139:48 (to slot on stack object with index in 132:10 param 2 and attempt to drop onto it)"},
      {47, Words(2), "139:48 (to mouth)"},
      {48, Words(1), "139:49 (of stack object)"},
      {49, {}, "139:50 (...)"},
      {50, {0x2C, 0x01, 0, 0, 9}, "139:51 (?\?\?)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(c.opcode, c.operands), c.expected) << c.opcode;
  // The one opcode without parentheses.
  EXPECT_EQ(Describe(2, {0, 0, 0, 0, 0, 0, 7, 7}), "0 136:1 0");
}

TEST(XObjLangStatic, SingleExitNodes) {
  struct Case {
    uint16_t opcode;
    std::vector<uint8_t> operands;
    bool single;
  } cases[] = {
      {0, {}, true},           {6, {}, true},           {50, {}, true},          {3, {}, false},
      {1, {3, 0}, true},       {1, {4, 0}, false},      {1, {7, 0}, false},      {1, {8, 0}, true},
      {22, {0, 0}, true},      {22, {1, 0}, false},     {22, {3, 0}, false},     {22, {4, 0}, true},
      {2, {0, 0, 0, 0, 0, 5}, true}, {2, {0, 0, 0, 0, 0, 2}, false}, {2, {0, 0, 0, 0, 0, 17}, false},
      {2, {0, 0, 0, 0, 0, 0xFF}, true},
      {24, {0, 0, 0, 0, 0}, true}, {24, {0, 0, 0, 0, 1}, false},
      {26, {0, 0, 0}, true},   {26, {0, 0, 1}, false},
      {36, {0, 0, 0, 0, 0, 1, 0, 0}, false}, {36, {0, 0, 0, 0, 0, 1, 0, 1}, true}, {36, {0, 0, 0, 0, 0, 3}, true},
      {4096, {}, false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> node(12, 0);
    node[0] = static_cast<uint8_t>(c.opcode);
    node[1] = static_cast<uint8_t>(c.opcode >> 8);
    std::copy(c.operands.begin(), c.operands.end(), node.begin() + 4);
    EXPECT_EQ(XObjLang::IsSingleExitNode(TreeNode(node.data())), c.single) << c.opcode;
  }
}

TEST(XObjLangStatic, OperandSwapperByOpcode) {
  struct Case {
    uint16_t opcode;
    std::vector<uint8_t> swapped;
  } cases[] = {
      {2, {2, 1, 4, 3, 5, 6, 7, 8}},  {44, {2, 1, 4, 3, 5, 6, 7, 8}}, {27, {2, 1, 3, 4, 6, 5, 7, 8}},
      {13, {1, 2, 3, 4, 5, 6, 7, 8}}, {24, {1, 2, 3, 4, 5, 6, 7, 8}}, {26, {1, 2, 3, 4, 5, 6, 7, 8}},
      {42, {4, 3, 2, 1, 5, 6, 7, 8}}, {0, {2, 1, 4, 3, 6, 5, 8, 7}},  {4096, {2, 1, 4, 3, 6, 5, 8, 7}},
  };
  for (const Case& c : cases) {
    uint8_t operands[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    XObjLang::SwapOperands(c.opcode, operands);
    EXPECT_EQ(std::vector<uint8_t>(operands, operands + 8), c.swapped) << c.opcode;
  }
  // A whole tree from a big-endian file: header, opcodes and operands.
  std::vector<uint8_t> tree = AssembleTrees("tree 4096 \"T\"\nn0: 42 1 2 3 4 -> true false\nend\n")[0].bytes;
  std::vector<uint8_t> stored = tree;
  for (size_t i : {size_t{0}, size_t{2}, size_t{12}}) std::swap(stored[i], stored[i + 1]);
  std::swap(stored[8], stored[11]);
  std::swap(stored[9], stored[10]);
  std::swap(stored[16], stored[19]);
  std::swap(stored[17], stored[18]);
  for (size_t i : {size_t{20}, size_t{22}}) std::swap(stored[i], stored[i + 1]);
  XObjLang::GetOperandSwapper()(stored.data(), static_cast<int32_t>(stored.size()));
  // Words 2 and 3 of opcode 42 are left in the stored order.
  for (size_t i : {size_t{20}, size_t{22}}) std::swap(stored[i], stored[i + 1]);
  EXPECT_EQ(stored, tree);
}
