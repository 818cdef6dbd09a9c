#include <gtest/gtest.h>

#include "SimFixture.h"
#include "gamedata/SimRandom.h"

using namespace tova;
using namespace tova_test;

namespace {

class Primitives : public SimFixture {
 protected:
  // A main tree: node 0 as given, true -> temp 0 := 1, false -> temp 0 := 2,
  // then a long sleep.
  void MainWith(const std::string& node) {
    Trees(own,
          "tree 4096 \"Main\"\n params 4\n locals 1\n"
          "n0: " + node + " -> n1 n2\n"
          "n1: " + Expr(kOwnerTemp, 0, 5, kOwnerLiteral, 1) + " -> n3 n3\n"
          "n2: " + Expr(kOwnerTemp, 0, 5, kOwnerLiteral, 2) + " -> n3 n3\n"
          "n3: " + Expr(kOwnerParam, 1, 5, kOwnerLiteral, 1000) + " -> n4 n4\n"
          "n4: Sleep 1 -> n4 n4\n"
          "end\n");
  }
  // Runs one expression on the object and gives true or false, or 1000 +
  // the error.
  int32_t Expression(cXObject& o, const std::string& expr) {
    own.Add(kTypeBHAV, 4097, AssembleTrees("tree 4097 \"E\"\n params 4\nn0: " + expr + " -> true false\nend\n")[0].bytes, "E");
    const bool result = o.RunTree(behavior(), 0, 4097, nullptr);
    const int16_t error = o.GetErrorCode();
    o.ResetAndPush(behavior(), 4096);
    return error != 0 ? 1000 + error : result ? 1 : 0;
  }
};

TEST_F(Primitives, ExpressionOperators) {
  MainWith("Sleep 1");
  cXObject* o = Run();
  struct Case {
    int16_t left;
    int op;
    int16_t right;
    int32_t result;
    int16_t after;
  };
  const Case cases[] = {
      {5, 0, 3, 1, 5},        {5, 1, 3, 0, 5},       {5, 2, 5, 1, 5},       {5, 3, 3, 1, 8},
      {5, 4, 7, 1, -2},       {5, 5, 9, 1, 9},       {300, 6, 300, 1, static_cast<int16_t>(90000 & 0xFFFF)},
      {-7, 7, 2, 1, -3},      {-32768, 7, -1, 1, -32768},  {5, 7, 0, 1038, 5},
      {5, 8, 3, 1, 5},        {5, 8, 2, 0, 5},       {5, 8, 0, 0, 5},       {5, 8, 17, 1013, 5},
      {5, 9, 2, 1, 7},        {5, 10, 1, 1, 4},      {5, 9, 0, 1, 5},       {5, 11, 7, 1, 6},
      {6, 11, 7, 0, 7},       {-7, 12, 3, 1, 1},     {-32768, 12, 7, 1, 1}, {5, 12, 0, 1038, 5},
      {6, 13, 3, 1, 2},       {5, 14, 5, 1, 5},      {5, 15, 4, 0, 5},      {5, 16, 4, 1, 5},
      {5, 17, 3, 1, 4},       {4, 17, 3, 0, 3},      {5, 18, 1, 1001, 5},   {32767, 3, 1, 1, -32768},
  };
  for (const Case& c : cases) {
    o->Temps()[2] = c.left;
    o->Temps()[3] = c.right;
    EXPECT_EQ(Expression(*o, Expr(kOwnerTemp, 2, c.op, kOwnerTemp, 3)), c.result) << c.left << " op " << c.op << " " << c.right;
    EXPECT_EQ(o->Temps()[2], c.after) << c.left << " op " << c.op << " " << c.right;
  }
}

TEST_F(Primitives, ExpressionsOnReadOnlyPlacesAndMotives) {
  MainWith("Sleep 1");
  FakePerson* p = Run<FakePerson>();
  EXPECT_EQ(Expression(*p, Expr(kOwnerGlobal, 1, 5, kOwnerLiteral, 3)), 1019) << "a global cannot be written";
  EXPECT_EQ(Expression(*p, Expr(kOwnerLiteral, 1, 3, kOwnerLiteral, 3)), 1019);
  EXPECT_EQ(Expression(*p, Expr(kOwnerLiteral, 1, 2, kOwnerLiteral, 1)), 1) << "but compared";
  p->motives[2] = 60;
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 3, kOwnerLiteral, 150)), 1);
  EXPECT_FLOAT_EQ(p->motives[2], 100.0f) << "clamped";
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 6, kOwnerLiteral, -5)), 1);
  EXPECT_FLOAT_EQ(p->motives[2], -100.0f);
  p->motives[2] = 10;
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 7, kOwnerLiteral, 0)), 1038);
  EXPECT_FLOAT_EQ(p->motives[2], 10.0f) << "nothing written before the error";
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 7, kOwnerLiteral, 4)), 1);
  EXPECT_FLOAT_EQ(p->motives[2], 2.5f) << "float arithmetic";
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 11, kOwnerLiteral, 4)), 1) << "3.5 < 4";
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 9, kOwnerLiteral, 1)), 1019) << "bits need a word";
  EXPECT_EQ(Expression(*p, Expr(kOwnerMyMotive, 2, 12, kOwnerLiteral, 1)), 1019);
}

TEST_F(Primitives, SleepDeschedulesAPlainObject) {
  MainWith("Sleep 0");
  cXObject* o = Run();
  o->CurrentFrame()->Params()[0] = 3;
  module.TickObjects();
  EXPECT_EQ(o->CurrentFrame()->node, 0) << "yielded";
  EXPECT_EQ(module.GetCountdown(o->GetId()), 2);
  module.TickObjects();
  module.TickObjects();
  EXPECT_EQ(o->Temps()[0], 0) << "skipped twice";
  EXPECT_EQ(module.GetCountdown(o->GetId()), 0);
  module.TickObjects();
  EXPECT_EQ(o->Temps()[0], 1) << "then the sleep is over";
  EXPECT_EQ(module.GetCountdown(o->GetId()), 999) << "and the next sleep of 1000 begins";
}

TEST_F(Primitives, SleepCountsDownOnAPerson) {
  MainWith("Sleep 0");
  FakePerson* p = Run<FakePerson>();
  p->CurrentFrame()->Params()[0] = 3;
  for (int i = 0; i < 3; ++i) {
    module.TickObjects();
    EXPECT_EQ(p->FrameAt(0)->Params()[0], 2 - i);
    EXPECT_EQ(p->Temps()[0], 0);
  }
  module.TickObjects();
  EXPECT_EQ(p->Temps()[0], 1);
  MainWith("Sleep 4");
  cXObject* bad = Run();
  bad->Tick();
  EXPECT_EQ(bad->GetErrorCode(), kErrStackNumberOutOfRange) << "parameter 4 of four";
}

TEST_F(Primitives, RandomNumbers) {
  MainWith("RandomNumber 5 8 0 7");  // temp 5 := random below literal 0
  cXObject* zero = Run();
  zero->Tick();
  EXPECT_EQ(zero->GetErrorCode(), kErrRandomRangeZero);
  MainWith("RandomNumber 5 8 1 7");
  cXObject* one = Run();
  for (int i = 0; i < 5; ++i) {
    one->ResetAndPush(behavior(), 4096);
    one->Temps()[5] = 9;
    one->Tick();
    EXPECT_EQ(one->Temps()[5], 0);
  }
  MainWith("RandomNumber 5 8 -100 7");  // 65436 taken as unsigned
  cXObject* wide = Run();
  SetRandomSeed(1234);
  const uint32_t expected = NextRandom() % 65436u;
  SetRandomSeed(1234);
  wide->Tick();
  EXPECT_EQ(static_cast<uint16_t>(wide->Temps()[5]), expected);
  MainWith("RandomNumber 5 6 10 7");  // into a global
  cXObject* readOnly = Run();
  readOnly->Tick();
  EXPECT_EQ(readOnly->GetErrorCode(), kErrReadOnlyWrite);
}

TEST_F(Primitives, BreakpointPrimitive) {
  MainWith("Breakpoint 4 8");
  cXObject* o = Run();
  o->Tick();
  EXPECT_EQ(o->Temps()[0], 1);
  o->Temps()[4] = 1;
  o->ResetAndPush(behavior(), 4096);
  o->Tick();
  EXPECT_EQ(o->GetErrorCode(), kErrTreeBreak);
  EXPECT_STREQ(ObjectErrorMessage(o->GetErrorCode()), "Tree break encountered.");
}

TEST_F(Primitives, RunFunctionalTree) {
  Trees("tree 4100 \"Entry 18\"\n params 4\nn0: " + Expr(kOwnerStackObjTemp, 1, 5, kOwnerLiteral, 5) +
        " -> false false\nend\n");
  MainWith("RunFunctionalTree 0");
  cXObject* target = Make();
  cXObject* o = Run();
  o->CurrentFrame()->stackObject = target->GetId();
  o->Tick();
  EXPECT_EQ(o->Temps()[0], 2) << "its return takes the node's false target";
  EXPECT_EQ(target->Temps()[1], 5) << "run with the stack object as stack object";
  MainWith("RunFunctionalTree 1");  // entry 19: none
  cXObject* none = Run();
  none->CurrentFrame()->stackObject = target->GetId();
  none->Tick();
  EXPECT_EQ(none->Temps()[0], 2);
  cXObject* alone = Run();
  alone->Tick();
  EXPECT_EQ(alone->GetErrorCode(), kErrNoStackObject);
}

TEST_F(Primitives, CallNamedTree) {
  own.SetStrings(300, {"Nothing here", "Answer"});
  Trees("tree 4101 \"Answer\"\n params 4\nn0: " + Expr(kOwnerStackObjTemp, 2, 2, kOwnerLiteral, 1) +
        " -> true false\nend\n");
  cXObject* target = Make();
  for (int mode : {0, 1, 2}) {
    for (int16_t value : {1, 0}) {
      MainWith("CallNamedTree 300 0 " + std::to_string((mode << 8) | 2) + " 0");
      cXObject* o = Run();
      o->CurrentFrame()->stackObject = target->GetId();
      target->Temps()[2] = value;
      o->Tick();
      EXPECT_EQ(o->GetErrorCode(), 0) << mode;
      EXPECT_EQ(o->Temps()[0], value == 1 ? 1 : 2) << "mode " << mode << " value " << value;
      EXPECT_EQ(o->FrameCount(), 1);
    }
  }
  MainWith("CallNamedTree 300 0 " + std::to_string((0 << 8) | 1) + " 0");  // no tree of that name
  cXObject* missing = Run();
  missing->CurrentFrame()->stackObject = target->GetId();
  missing->Tick();
  EXPECT_EQ(missing->Temps()[0], 2);
  MainWith("CallNamedTree 300 0 " + std::to_string((3 << 8) | 2) + " 0");
  cXObject* badMode = Run();
  badMode->CurrentFrame()->stackObject = target->GetId();
  badMode->Tick();
  EXPECT_EQ(badMode->GetErrorCode(), kErrBadNamedTreeCall);
}

TEST_F(Primitives, WakingASleeper) {
  Trees(own,
        "tree 4102 \"Sleeper\"\n params 4\n"
        "n0: Sleep 2 -> n1 n1\n"
        "n1: " + Expr(kOwnerTemp, 0, 5, kOwnerLiteral, 7) + " -> n2 n2\n"
        "n2: Sleep 3 -> n2 n2\n"
        "end\n");
  cXObject* sleeper = Run(4102);
  sleeper->CurrentFrame()->Params()[0] = 9;
  sleeper->CurrentFrame()->Params()[2] = 50;
  module.TickObjects();
  EXPECT_EQ(module.GetCountdown(sleeper->GetId()), 49);
  MainWith("WakeStackObject");
  cXObject* waker = Run();
  waker->CurrentFrame()->stackObject = sleeper->GetId();
  waker->Tick();
  EXPECT_EQ(waker->Temps()[0], 1);
  EXPECT_EQ(sleeper->CurrentFrame()->Params()[0], 0) << "parameter 0 is cleared";
  EXPECT_EQ(sleeper->CurrentFrame()->Params()[2], 50);
  EXPECT_EQ(module.GetCountdown(sleeper->GetId()), 0);
  sleeper->Tick();
  EXPECT_EQ(sleeper->Temps()[0], 7) << "the sleep ends at its next run";
}

}  // namespace
