#include <gtest/gtest.h>

#include <deque>

#include "SimFixture.h"
#include "resfile/ReconStream.h"

using namespace tova;
using namespace tova_test;

namespace {

// Opcode 39 (no primitive of its own) answers what the test scripts.
class ScriptedObject : public cXObject {
 public:
  using cXObject::cXObject;
  std::deque<int32_t> answers;
  std::vector<int16_t> errors;
  int breakpoints = 0;
  int popped = 0;
  int32_t RunPrimitive(TreeStackFrame& frame, TreeNode node) override {
    if (node.Opcode() != 39) return cXObject::RunPrimitive(frame, node);
    if (answers.empty()) return kPrimYield;
    const int32_t r = answers.front();
    answers.pop_front();
    return r;
  }
  void OnError(int16_t code) override {
    errors.push_back(code);
    cXObject::OnError(code);
  }
  int32_t OnBreakpoint(TreeStackFrame& frame, TreeNode* node) override {
    ++breakpoints;
    return cXObject::OnBreakpoint(frame, node);
  }
  void OnFramePopped() override { ++popped; }
};

class Interpreter : public SimFixture {
 protected:
  void TearDown() override { TreeZaz::SetIterationLimit(TreeZaz::kDefaultIterationLimit); }
};

TEST_F(Interpreter, CallsReturnAndTakeTheCallersTarget) {
  Trees(
      "tree 4096 \"Main\"\n params 4\n"
      "n0: 4097 5 6 7 8 -> n1 n2\n"
      "n1: " + Expr(kOwnerTemp, 1, 5, kOwnerLiteral, 11) + " -> n3 n3\n"
      "n2: " + Expr(kOwnerTemp, 1, 5, kOwnerLiteral, 22) + " -> n3 n3\n"
      "n3: 39 -> n3 n3\n"
      "end\n"
      "tree 4097 \"Over four\"\n params 4\n locals 2\n"
      "n0: " + Expr(kOwnerLocal, 1, 5, kOwnerParam, 3) + " -> n1 n1\n"
      "n1: " + Expr(kOwnerParam, 0, 0, kOwnerLiteral, 4) + " -> true false\n"
      "end\n");
  ScriptedObject* o = Run<ScriptedObject>();
  EXPECT_TRUE(o->Tick());
  EXPECT_EQ(o->Temps()[1], 11) << "5 > 4: the call's true target";
  EXPECT_EQ(o->FrameCount(), 1);
  EXPECT_EQ(o->popped, 1);
  EXPECT_EQ(o->CurrentFrame()->node, 3) << "yields at the scripted node";
  EXPECT_EQ(o->CurrentOpcode(), 39);
  EXPECT_EQ(o->IterationCount(), 5) << "the return is not counted";
}

TEST_F(Interpreter, ResultsOfPrimitives) {
  Trees(
      "tree 4096 \"Main\"\n params 4\n"
      "n0: 39 -> n1 n2\n"
      "n1: " + Expr(kOwnerTemp, 0, 3, kOwnerLiteral, 1) + " -> n0 n0\n"
      "n2: " + Expr(kOwnerTemp, 1, 3, kOwnerLiteral, 1) + " -> n0 n0\n"
      "end\n");
  ScriptedObject* o = Run<ScriptedObject>();
  o->answers = {kPrimTrue, kPrimFalse, kPrimAgain, kPrimTrue, kPrimStop};
  EXPECT_FALSE(o->Tick()) << "stop ends the tick with false";
  EXPECT_EQ(o->Temps()[0], 2);
  EXPECT_EQ(o->Temps()[1], 1);
  EXPECT_EQ(o->CurrentFrame()->node, 0) << "stop takes no transition";
  o->CurrentFrame()->primitiveState = 7;
  EXPECT_TRUE(o->Tick()) << "yield";
  EXPECT_EQ(o->CurrentFrame()->node, 0);
  EXPECT_EQ(o->CurrentFrame()->primitiveState, 7) << "a yield keeps the node and its state";
  o->answers = {kPrimTrue};
  o->Tick();
  EXPECT_EQ(o->CurrentFrame()->node, 0);
  EXPECT_EQ(o->CurrentFrame()->primitiveState, 0) << "arriving at a node clears the state";
}

TEST_F(Interpreter, ErrorsOfTheInterpreter) {
  struct Case {
    std::string main;
    std::deque<int32_t> answers;
    int16_t code;
  };
  const std::string head = "tree 4096 \"Main\"\n params 4\n";
  const Case cases[] = {
      {head + "n0: 39 -> undefined 1\nn1: 39 -> 1 1\nend\n", {kPrimFalse}, 0},  // the exit not taken
      {head + "n0: 39 -> undefined 0\nend\n", {kPrimTrue}, kErrUndefinedTransition},
      {head + "n0: 39 -> 251 n0\nend\n", {kPrimTrue}, kErrUndefinedTransition},
      {head + "n0: 39 -> true true\nend\n", {kPrimTrue}, kErrStackUnderflow},
      {head + "n0: 39 -> 7 7\nend\n", {kPrimTrue}, kErrNoSuchNode},
      {head + "n0: 5000 -> n0 n0\nend\n", {}, kErrNoSuchNode},     // no such tree
      {head + "n0: 4098 -> n0 n0\nend\n", {}, kErrStackOverflow},  // a tree without nodes
      {head + "n0: 4099 -> n0 n0\nend\n", {}, kErrTooManyIterations},  // endless recursion
      {head + "n0: 40 -> n0 n0\nend\n", {}, kErrIllegalPrimitive},
      {head + "n0: 3 -> n0 n0\nend\n", {}, kErrIllegalPrimitive},  // a person's opcode on a plain object
  };
  Trees("tree 4098 \"Empty\"\nend\ntree 4099 \"Deep\"\nn0: 4099 -> true true\nend\n");
  for (const Case& c : cases) {
    own.Add(kTypeBHAV, 4096, AssembleTrees(c.main)[0].bytes, "Main");
    ScriptedObject* o = Run<ScriptedObject>();
    o->answers = c.answers;
    EXPECT_TRUE(o->Tick());
    EXPECT_EQ(o->GetErrorCode(), c.code) << c.main;
    if (c.code != 0) {
      EXPECT_EQ(o->errors, std::vector<int16_t>{c.code});
      EXPECT_NE(o->GetStateFlags() & kStateInError, 0u);
      EXPECT_EQ(module.GetSchedulerWord(o->GetId()) >> 16 & kSchedInError, kSchedInError);
    }
    module.DeleteObject(o->GetId());
  }
}

TEST_F(Interpreter, IterationLimit) {
  Trees(
      "tree 4096 \"Main\"\n params 4\n"
      "n0: 4097 -> n1 n1\n"
      "n1: " + Expr(kOwnerTemp, 0, 3, kOwnerLiteral, 1) + " -> n0 n0\n"
      "end\n"
      "tree 4097 \"Quick\"\n"
      "n0: " + Expr(kOwnerTemp, 1, 3, kOwnerLiteral, 1) + " -> true true\n"
      "end\n");
  ScriptedObject* o = Run<ScriptedObject>();
  TreeZaz::SetIterationLimit(10000);
  EXPECT_TRUE(o->Tick());
  EXPECT_EQ(o->GetErrorCode(), kErrTooManyIterations);
  // Three counted nodes a round (call, expression, expression), the return
  // free: 3333 rounds are 9999 nodes and the next call is the 10000th.
  EXPECT_EQ(o->Temps()[0], 3333);
  EXPECT_EQ(o->Temps()[1], 3333);
}

TEST_F(Interpreter, UnsetOperandsPassTheTempsAndTypeFourStartsAtTheFirstParameter) {
  Trees(
      "tree 4096 \"Main\"\n params 4\n"
      "n0: 4097 -1 -1 -1 -1 -> n1 n1\n"
      "n1: 4098 9 0 0 0 -> n2 n2\n"
      "n2: 39 -> n2 n2\n"
      "end\n"
      "tree 4097 \"Copy\"\n params 4\n"
      "n0: " + Expr(kOwnerTemp, 5, 5, kOwnerParam, 3) + " -> true true\n"
      "end\n"
      "tree 4098 \"Jump\"\n type 4\n params 4\n"
      "n0: " + Expr(kOwnerTemp, 6, 5, kOwnerLiteral, 100) + " -> true true\n"
      "n1: " + Expr(kOwnerTemp, 6, 5, kOwnerLiteral, 101) + " -> true true\n"
      "end\n");
  ScriptedObject* o = Run<ScriptedObject>();
  o->Temps()[3] = 77;
  o->Tick();
  EXPECT_EQ(o->GetErrorCode(), 0);
  EXPECT_EQ(o->Temps()[5], 77) << "parameters from the temps";
  EXPECT_EQ(o->Temps()[6], 101) << "start 9 lowered to the last node";
}

TEST_F(Interpreter, SynchronousRuns) {
  Trees(
      "tree 4096 \"Main\"\n params 4\nn0: 39 -> n0 n0\nend\n"
      "tree 4097 \"Check\"\n params 4\n"
      "n0: " + Expr(kOwnerParam, 0, 2, kOwnerLiteral, 3) + " -> true false\n"
      "end\n"
      "tree 4098 \"Blocks\"\nn0: 39 -> true true\nend\n");
  ScriptedObject* o = Run<ScriptedObject>();
  const int16_t three[4] = {3, 0, 0, 0};
  const int16_t four[4] = {4, 0, 0, 0};
  EXPECT_TRUE(o->RunTree(behavior(), 0, 4097, three));
  EXPECT_FALSE(o->RunTree(behavior(), 0, 4097, four));
  EXPECT_TRUE(o->RunTreeByName(behavior(), 0, "Check", three));
  EXPECT_FALSE(o->RunTreeByName(behavior(), 0, "Nothing", three));
  EXPECT_EQ(o->FrameCount(), 1);
  EXPECT_TRUE(TreeZaz::TopLevel());
  o->answers = {kPrimYield};
  EXPECT_FALSE(o->RunTree(behavior(), 0, 4098, three));
  EXPECT_EQ(o->GetErrorCode(), kErrCheckTreeBlocked);
  EXPECT_EQ(o->FrameCount(), 3) << "the stack stays for the report";
  EXPECT_FALSE(o->RunTree(behavior(), 0, 4097, three)) << "refused while an error is pending";
  EXPECT_TRUE(o->ResetAndPush(behavior(), 4096));
  EXPECT_TRUE(o->RunTree(behavior(), 0, 4097, three));
}

TEST_F(Interpreter, ABreakpointStopsOnce) {
  Trees("tree 4096 \"Main\"\n params 4\nn0: " + Expr(kOwnerTemp, 0, 3, kOwnerLiteral, 1) + " -> n1 n1\nn1: 39 -> n0 n0\nend\n");
  behavior()->GetTree(4096).Node(0).SetBreakpoint(true);
  ScriptedObject* o = Run<ScriptedObject>();
  o->answers = {kPrimTrue, kPrimYield, kPrimTrue, kPrimYield};
  o->Tick();
  o->Tick();
  EXPECT_EQ(o->breakpoints, 1);
  EXPECT_EQ(o->Temps()[0], 3);
  EXPECT_FALSE(behavior()->GetTree(4096).Node(0).HasBreakpoint());
}

using Codec = OneBehaviorCodec;

std::vector<uint8_t> Save(TreeZaz& z, int32_t version, Codec& codec) {
  ReconStream measure;
  measure.InitMeasure();
  z.Transfer(measure, version, codec);
  std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
  ReconStream s;
  s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
  z.Transfer(s, version, codec);
  return bytes;
}

bool Load(TreeZaz& z, std::vector<uint8_t> bytes, int32_t version, Codec& codec) {
  ReconStream s;
  s.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  return z.Transfer(s, version, codec);
}

TEST_F(Interpreter, FrameStacksRoundTripByVersion) {
  Trees(
      "tree 4096 \"Main\"\n params 4\nn0: 4097 1 2 3 4 -> n0 n0\nend\n"
      "tree 4097 \"Inner\"\n params 3\n locals 2\nn0: 39 -> n0 n0\nend\n");
  ScriptedObject* o = Run<ScriptedObject>();
  o->Tick();
  ASSERT_EQ(o->FrameCount(), 2);
  o->CurrentFrame()->Locals()[1] = -9;
  o->CurrentFrame()->primitiveState = 42;
  o->CurrentFrame()->stackObject = 5;
  o->CurrentFrame()->treeId |= kFrameBreakpoint;
  Codec codec(behavior());
  ScriptedObject* copy = Make<ScriptedObject>();
  for (int32_t version : {26, 25}) {
    ASSERT_TRUE(Load(*copy, Save(*o, version, codec), version, codec));
    ASSERT_EQ(copy->FrameCount(), 2);
    TreeStackFrame& f = *copy->CurrentFrame();
    EXPECT_EQ(f.treeId, 4097) << "saved without the breakpoint bit";
    EXPECT_EQ(f.paramCount, 3);
    EXPECT_EQ(f.localCount, 2);
    EXPECT_EQ(f.Params()[2], 3);
    EXPECT_EQ(f.Locals()[1], -9);
    EXPECT_EQ(f.primitiveState, 42);
    EXPECT_EQ(f.stackObject, version >= 26 ? 5 : 0);
    EXPECT_EQ(f.behavior, behavior());
  }
  ASSERT_TRUE(Load(*copy, Save(*o, 24, codec), 24, codec));
  EXPECT_EQ(copy->CurrentFrame()->paramCount, 4) << "old frames have four parameters";
  EXPECT_EQ(copy->CurrentFrame()->localCount, 0);
  EXPECT_EQ(copy->CurrentFrame()->Params()[1], 2);
  ASSERT_TRUE(Load(*copy, Save(*o, 10, codec), 10, codec));
  EXPECT_EQ(copy->FrameCount(), 0);

  // Damaged stacks: cut short, or a count the bytes cannot hold.
  std::vector<uint8_t> saved = Save(*o, 26, codec);
  for (size_t cut = 0; cut < saved.size(); cut += 3) {
    EXPECT_FALSE(Load(*copy, std::vector<uint8_t>(saved.begin(), saved.begin() + static_cast<long>(cut)), 26, codec));
    EXPECT_EQ(copy->FrameCount(), 0);
  }
  saved[0] = 0xFF;
  saved[1] = 0xFF;
  saved[2] = 0xFF;
  saved[3] = 0x7F;
  EXPECT_FALSE(Load(*copy, saved, 26, codec));
}

TEST_F(Interpreter, DamagedTreesAreAnErrorOfTheirObject) {
  std::vector<uint8_t> tree = AssembleTrees("tree 4097 \"Cut\"\nn0: 39 -> n0 n0\nn1: 39 -> n0 n0\nend\n")[0].bytes;
  tree.resize(tree.size() - 5);
  own.Add(kTypeBHAV, 4097, tree, "Cut");
  Trees("tree 4096 \"Main\"\n params 4\nn0: 4097 -> n0 n0\nend\n");
  ScriptedObject* o = Run<ScriptedObject>();
  EXPECT_TRUE(o->Tick());
  EXPECT_EQ(o->GetErrorCode(), kErrNoSuchNode);
  EXPECT_FALSE(o->PushTree(behavior(), nullptr, 4097));
}

}  // namespace

TEST(ObjectErrorMessages, AsWritten) {
  EXPECT_STREQ(tova::ObjectErrorMessage(0), "No Error");
  EXPECT_STREQ(tova::ObjectErrorMessage(49), "Invliad dynamic sprite index");
  EXPECT_STREQ(tova::ObjectErrorMessage(62), "Tree break encountered.");
  EXPECT_STREQ(tova::ObjectErrorMessage(1101), "Too many iterations.");
  for (int32_t code : {55, 63, 64, -1, 999, 1104}) EXPECT_STREQ(tova::ObjectErrorMessage(code), "Condition unknown.");
}
