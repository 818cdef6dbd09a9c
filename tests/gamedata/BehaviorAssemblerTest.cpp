#include <gtest/gtest.h>

#include "gamedata/Behavior.h"
#include "gamedata/BehaviorAssembler.h"

namespace tova {
namespace {

const char* kCanonical =
    "tree 4100 \"Wander about\"\n"
    "  format 0x8009\n"
    "  type 4\n"
    "  params 2\n"
    "  locals 3\n"
    "  version 17\n"
    "  reserved 9\n"
    "n0:  Expression 1 -2 300 -1 -> n1 n2\n"
    "n1:  4097 -1 -1 -1 -1 -> n1 false\n"
    "n2:  3 0 0 0 0 -> true undefined\n"
    "     RandomNumber 5 0 0 0 -> 200 n0\n"
    "end\n";

TEST(BehaviorAssembler, RoundTripThroughBehavior) {
  std::vector<AssembledTree> trees = AssembleTrees(kCanonical);
  ASSERT_EQ(trees.size(), 1u);
  EXPECT_EQ(trees[0].id, 4100);
  EXPECT_EQ(trees[0].label, "Wander about");
  MemoryResourceSource own{"Object.iff"};
  own.Add(kTypeBHAV, trees[0].id, trees[0].bytes, trees[0].label);
  Behavior b(nullptr, nullptr, &own, nullptr);
  TreeView tree = b.GetTree(4100);
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree.NodeCount(), 4);
  EXPECT_EQ(tree.TreeType(), 4);
  EXPECT_EQ(tree.Node(1).Opcode(), 4097);
  EXPECT_EQ(tree.Node(1).Operand(0), -1);
  EXPECT_EQ(tree.Node(2).FalseTarget(), kTargetUndefined);
  EXPECT_EQ(tree.Node(3).TrueTarget(), 200);
  EXPECT_EQ(DisassembleTree(4100, b.GetTreeName(4100), tree.Bytes()), kCanonical);
}

TEST(BehaviorAssembler, FreeFormSourceBecomesCanonical) {
  const char* source =
      "# two trees\n"
      "tree 300 \"a # not a comment\"   # a comment\n"
      "start: Expression 1 2 -> next false\n"
      "next:  0x101 0xFFFF -> start true   \n"
      "end\r\n"
      "tree 301\n"
      "  format 0x8000\n"
      "  Sleep -> 0 0\n"
      "end\n";
  std::vector<AssembledTree> trees = AssembleTrees(source);
  ASSERT_EQ(trees.size(), 2u);
  EXPECT_EQ(trees[0].label, "a # not a comment");
  EXPECT_EQ(DisassembleTree(300, trees[0].label, trees[0].bytes),
            "tree 300 \"a # not a comment\"\n  format 0x8009\n  type 0\n  params 4\n  locals 0\n  version 0\n"
            "n0:  Expression 1 2 0 0 -> n1 false\n"
            "n1:  257 -1 0 0 0 -> n0 true\n"
            "end\n");
  EXPECT_EQ(DisassembleTree(301, "", trees[1].bytes),
            "tree 301 \"\"\n  format 0x8000\n  type 0\n  params 4\n  locals 0\n  version 0\n"
            "n0:  Sleep 0 0 0 0 -> n0 n0\n"
            "end\n");
  // Printing and assembling again gives the same bytes.
  EXPECT_EQ(AssembleTrees(DisassembleTree(300, trees[0].label, trees[0].bytes))[0].bytes, trees[0].bytes);
}

TEST(BehaviorAssembler, LabelsWithQuotesAndBackslashesRoundTrip) {
  const std::vector<uint8_t> tree = AssembleTrees("tree 1\n Sleep -> true false\nend\n")[0].bytes;
  const std::vector<std::string> labels = {"say \"hi\" # twice", "C:\\dir\\", "\"", std::string(63, '"')};
  for (const std::string& label : labels) {
    const std::string text = DisassembleTree(4096, label, tree);
    std::vector<AssembledTree> back = AssembleTrees(text);
    ASSERT_EQ(back.size(), 1u) << text;
    EXPECT_EQ(back[0].label, label) << text;
    EXPECT_EQ(back[0].bytes, tree);
  }
  EXPECT_THROW(DisassembleTree(4096, "two\nlines", tree), AssemblyError);
}

TEST(BehaviorAssembler, OperandsByteByByte) {
  const std::vector<AssembledTree> trees =
      AssembleTrees("tree 4096\n Expression bytes 1 0 2 0 0 3 8 -1 -> true false\n Sleep bytes 5 -> true false\nend\n");
  ASSERT_EQ(trees.size(), 1u);
  std::vector<uint8_t> bytes = trees[0].bytes;
  TreeView tree{std::span<uint8_t>(bytes)};
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree.Node(0).Operand(0), 1);
  EXPECT_EQ(tree.Node(0).Operand(1), 2);
  EXPECT_EQ(tree.Node(0).Operand(2), 0x0300);
  EXPECT_EQ(static_cast<uint16_t>(tree.Node(0).Operand(3)), 0xFF08);
  EXPECT_EQ(tree.Node(0).Bytes()[4 + 5], 3) << "byte 5 where the node keeps it";
  EXPECT_EQ(tree.Node(1).Operand(0), 5);
  EXPECT_EQ(tree.Node(1).Operand(3), 0) << "missing bytes are 0";
}

TEST(BehaviorAssembler, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"tree 4096\n Sleep -> nowhere false\nend\n", "line 2: unknown label 'nowhere'"},
      {"tree 4096\n Sleep true false\nend\n", "line 2: node without '->'"},
      {"tree 4096\n Frobnicate -> true false\nend\n", "line 2: unknown opcode 'Frobnicate'"},
      {"tree 4096\n Sleep 1 2 3 4 5 -> true false\nend\n", "line 2: a node has at most four operands"},
      {"tree 4096\n Sleep 70000 -> true false\nend\n", "line 2: an operand must be"},
      {"tree 4096\n Sleep bytes 1 2 3 4 5 6 7 8 9 -> true false\nend\n", "line 2: a node has at most eight operand bytes"},
      {"tree 4096\n Sleep bytes 1 256 -> true false\nend\n", "line 2: an operand byte must be"},
      {"tree 4096\na: Sleep -> true false\na: Sleep -> true false\nend\n", "line 3: label 'a' used twice"},
      {"tree 4096\n format 5\nend\n", "line 2: the format must be"},
      {"tree 4096\n Sleep -> true\nend\n", "line 2: a node needs exactly two targets"},
      {"Sleep -> true false\n", "line 1: 'Sleep' outside a tree"},
      {"tree 4096\n Sleep -> true false\n", "line 1: tree without 'end'"},
      {"tree 4096\n Sleep -> 253 false\nend\n", "line 2: target 253 is not a node number"},
      {"tree 4096\n Sleep --5 -> true false\nend\n", "line 2: an operand must be"},
      {"tree 4096\n Sleep 0x-5 -> true false\nend\n", "line 2: an operand must be"},
      {"tree --9223372036854775808\nend\n", "line 1: a tree id must be"},
      {"tree 4096 \"a\" b\"\nend\n", "line 1: text after the label"},
      {"tree 4096 b \"a\"\nend\n", "line 1: the label must be in double quotes"},
      {"tree 4096 \"a\\\"\nend\n", "line 1: label without closing quote"},
  };
  for (const Case& c : cases) {
    try {
      AssembleTrees(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const AssemblyError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
  std::string big = "tree 4096\n";
  for (int i = 0; i < 252; ++i) big += " Sleep -> true false\n";
  big += "end\n";
  EXPECT_THROW(AssembleTrees(big), AssemblyError);
  EXPECT_THROW(AssembleTrees("tree 4096 \"" + std::string(64, 'x') + "\"\nend\n"), AssemblyError);
  EXPECT_THROW(DisassembleTree(1, "", std::vector<uint8_t>{1, 0}), AssemblyError);
}

}  // namespace
}  // namespace tova
