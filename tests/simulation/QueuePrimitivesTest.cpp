// The primitives that reach beyond the object: pushed interactions,
// dialogs, sounds, new characters and the global calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameServiceFakes.h"
#include "PersonFixture.h"
#include "PrimitiveFixture.h"
#include "gamedata/Commander.h"
#include "resfile/StringSet.h"
#include "simulation/GamePrimitives.h"
#include "simulation/QueuePrimitives.h"
#include "simulation/cSimulator.h"

using namespace tova;
using namespace tova_test;

namespace {

class RecordingPlayer : public iSoundPlayer {
 public:
  RecordingPlayer() : previous_(GetSoundPlayer()) { SetSoundPlayer(this); }
  ~RecordingPlayer() override { SetSoundPlayer(previous_); }
  void Play(const std::string& event, int32_t argument) override {
    log.push_back("play " + event + " " + std::to_string(argument));
  }
  bool TryPlay(const std::string& event, int32_t argument) override {
    Play(event, argument);
    return !refuse;
  }
  void StopSources(int32_t id) override { log.push_back("stop " + std::to_string(id)); }
  void ForgetObject(int32_t) override {}
  std::vector<std::string> log;
  bool refuse = false;

 private:
  iSoundPlayer* previous_;
};

struct CommandCounter : Commander {
  int16_t DoCommand(int32_t command, intptr_t) override {
    if (command == cmd::kObjectModule) ++count;
    return 0;
  }
  int count = 0;
};

// Runs "name operands" as tree 4097 (4 parameters, 2 locals; local 0 is
// parameter 3): 1 true, 0 false, 1000 + an error's code.
template <class Base>
class PrimRunner : public Base {
 protected:
  int32_t Run1(cXObject& o, const std::string& node, int16_t stackObject, int16_t p0 = 0, int16_t p3 = 0) {
    this->own.Add(kTypeBHAV, 4097,
                  AssembleTrees("tree 4097 \"P\"\n params 4\n locals 2\n"
                                "n0: " + Expr(kOwnerLocal, 0, 5, kOwnerParam, 3) + " -> n1 n1\n"
                                "n1: " + node + " -> true false\nend\n")[0]
                      .bytes,
                  "P");
    const int16_t params[4] = {p0, 0, 0, p3};
    o.SetErrorCode(0);
    const bool result = o.RunTree(this->behavior(), stackObject, 4097, params);
    const int16_t error = o.GetErrorCode();
    o.SetErrorCode(0);
    return error != 0 ? 1000 + error : result ? 1 : 0;
  }
};

// ---- push interaction ----

class PushInteraction : public PrimRunner<PersonFixture> {
 protected:
  // Entry 3 of the thing's table; the target in parameter 0.
  static std::string Push(int key, int holder, int priority, int flags, int iconLocal = 0) {
    return "PushInteraction" + Bytes({key, holder, priority, flags, iconLocal});
  }
};

TEST_F(PushInteraction, QueuesTheEntryOnTheStackPersonWithItsFlags) {
  TreeTableEntry entry;
  entry.nameIndex = 3;
  entry.actionTree = 4103;
  cXObject* thing = MakeThing({entry});
  cXObject* icon = MakeThing();
  cXPerson* person = MakePerson();
  // Icon from local 0, continue as current, use name.
  EXPECT_EQ(Run1(*thing, Push(3, 0, 1, 0x0D, 0), person->GetId(), thing->GetId(), icon->GetId()), 1);
  ASSERT_EQ(person->QueuedCount(), 1);
  const QueuedAction& a = *person->GetQueuedAction(0);
  EXPECT_EQ(a.target, thing->GetId());
  EXPECT_EQ(a.priority, 100);
  EXPECT_EQ(a.icon, icon->GetId());
  EXPECT_NE(a.flags & kActionAtHead, 0u);
  EXPECT_NE(a.flags & kActionRunningName, 0u);
}

TEST_F(PushInteraction, PriorityCodesAndErrors) {
  TreeTableEntry entry;
  entry.nameIndex = 3;
  cXObject* thing = MakeThing({entry});
  cXObject* bare = Make<cXObject>();
  cXObject* plain = MakeThing();
  cXPerson* person = MakePerson();
  const int16_t p = person->GetId(), t = thing->GetId();
  for (auto [code, priority] : {std::pair{2, 2}, std::pair{3, 50}, std::pair{0, 1}}) {
    cXPerson* fresh = MakePerson();
    EXPECT_EQ(Run1(*thing, Push(3, 0, code, 0), fresh->GetId(), t), 1);
    ASSERT_EQ(fresh->QueuedCount(), 1);
    EXPECT_EQ(fresh->GetQueuedAction(0)->priority, priority) << "code " << code;
  }
  struct Case {
    std::string node;
    int16_t stack, target;
    int32_t expected;
  } cases[] = {
      {Push(3, 0, 4, 0), p, t, 1000 + kErrBadPriority},
      {Push(3, 0, 1, 0), p, 999, 1000 + kErrObjectNotFound},
      {Push(3, 0, 1, 0), p, bare->GetId(), 1000 + kErrNoTreeTable},
      {Push(4, 0, 1, 0), p, t, 1000 + kErrNoTreeTableEntry},
      {Push(3, 0, 1, 0), 0, t, 1000 + kErrNoStackObject},
      {Push(3, 0, 1, 0), plain->GetId(), t, 1000 + kErrNotAPerson},
      {Push(3, 4, 1, 0), p, t, 1000 + kErrParameterNumber},
      {Push(3, 2, 1, 2), p, t, 1000 + kErrLocalNumber},
      {Push(3, 0, 1, 1, 2), p, t, 1000 + kErrLocalNumber},
  };
  for (const Case& c : cases) EXPECT_EQ(Run1(*thing, c.node, c.stack, c.target), c.expected) << c.node;
}

// ---- dialogs, sounds, characters and global calls ----

class QueuePrims : public PrimRunner<PrimitiveFixture> {
 protected:
  void SetUp() override {
    PrimRunner<PrimitiveFixture>::SetUp();
    GameServices::Get().neighbourhood = &hood;
    GameServices::Get().characters = &maker;
    GameServices::Get().simulator = &sim;
    GameServices::Get().ui = &ui;
    module.SetGlobals(globals);
    ObjectModule::GlobalAnswer().clear();
  }
  void TearDown() override { module.Clear(); }
  // A main tree that asks the dialog and leaves 11 (true) or 22 (false) in
  // temp 6.
  cXObject* Asker(const std::string& dialogBytes) {
    Trees("tree 4096 \"Main\"\n params 4\n"
          "n0: Dialog" + dialogBytes + " -> n1 n2\n"
          "n1: " + Expr(kOwnerTemp, 6, 5, kOwnerLiteral, 11) + " -> true true\n"
          "n2: " + Expr(kOwnerTemp, 6, 5, kOwnerLiteral, 22) + " -> true true\nend\n");
    return Run();
  }
  ServicesScope scope;
  FakeNeighbourhood hood;
  FakeCharacterMaker maker;
  FakeInterface ui;
  cSimulator sim;
  int16_t globals[kSimulatorGlobalCount] = {};
};

TEST_F(QueuePrims, DialogFromAGlobalTreeRaises) {
  Trees(global, "tree 300 \"G\"\n params 4\nn0: Dialog" + Bytes({0, 0, 0, 0, 0, 0}) + " -> true false\nend\n");
  auto* me = Obj();
  const int16_t none[4] = {};
  EXPECT_FALSE(me->RunTree(behavior(), 0, 300, none));
  EXPECT_EQ(me->GetErrorCode(), kErrDialogFromGlobalTree);
  EXPECT_TRUE(module.PendingDialogs().empty());
}

TEST_F(QueuePrims, BlockingThreeWayChoiceWaitsAndTheThirdButtonSetsItsTemp) {
  FakeDialogShell shell;
  // Kind 2, answer into temp 3 (bits 4-6).
  cXObject* me = Asker(Bytes({0, 0, 0, 0, 0, 2, 0, 3 << 4}));
  me->Tick();
  me->Tick();
  ASSERT_EQ(module.PendingDialogs().size(), 1u) << "one request while it waits";
  EXPECT_EQ(me->Temps()[6], 0);
  shell.answers = {ObjectDialog::kThird};
  module.ProcessDeletions(false);
  EXPECT_EQ(shell.runs, std::vector<std::string>{"modal"});
  me->Tick();
  EXPECT_EQ(me->Temps()[3], 1);
  EXPECT_EQ(me->Temps()[6], 22) << "the false target";
  module.ProcessDeletions(false);
  EXPECT_TRUE(module.PendingDialogs().empty()) << "the read record is dropped";
}

TEST_F(QueuePrims, SecondButtonOfAThreeWayChoiceGivesZero) {
  FakeDialogShell shell;
  cXObject* me = Asker(Bytes({0, 0, 0, 0, 0, 2, 0, 2 << 4}));
  me->Temps()[2] = 9;
  me->Tick();
  shell.answers = {ObjectDialog::kSecond};
  module.ProcessDeletions(false);
  me->Tick();
  EXPECT_EQ(me->Temps()[2], 0);
  EXPECT_EQ(me->Temps()[6], 22);
}

TEST_F(QueuePrims, TextEntryNamesTheNewCharacter) {
  FakeDialogShell shell;
  cXObject* me = Asker(Bytes({0, 0, 0, 0, 0, 3, 0, 0}));
  me->Tick();
  shell.answers = {ObjectDialog::kFirst};
  shell.typed = "Pat";
  module.ProcessDeletions(false);
  me->Tick();
  EXPECT_EQ(me->Temps()[6], 11);
  EXPECT_EQ(ObjectModule::GlobalAnswer(), "Pat");
  // Skin 1 (local 0 from parameter 3), age local 1 (0: a child), sex local 0.
  cXObject* maker = Obj();
  EXPECT_EQ(Run1(*maker, "MakeNewCharacter" + Bytes({0, 1, 0}), 7, 0, 1), 1);
  EXPECT_EQ(this->maker.log, (std::vector<std::string>{"create", "attach", "child", "skin med", "female",
                                                       this->maker.log[5], this->maker.log[6], "detach save",
                                                       "name Pat", "record 7"}));
  EXPECT_EQ(this->maker.log[5].rfind("head ", 0), 0u);
  EXPECT_EQ(this->maker.log[6].rfind("body ", 0), 0u);
}

TEST_F(QueuePrims, ContinueAtOnceQueuesAndGoesOn) {
  FakeDialogShell shell;
  cXObject* me = Asker(Bytes({0, 0, 0, 0, 0, 0, 0, 1}));
  me->Tick();
  EXPECT_EQ(me->Temps()[6], 11);
  ASSERT_EQ(module.PendingDialogs().size(), 1u);
  shell.answers = {ObjectDialog::kFirst};
  module.ProcessDeletions(false);
  EXPECT_EQ(module.PendingDialogs()[0]->GetState(), ObjectDialogRecord::kStateFinished) << "nobody reads it";
}

TEST_F(QueuePrims, NewCharacterWithoutChoicesLeavesNothing) {
  auto* me = Obj();
  maker.bodies = 0;
  EXPECT_EQ(Run1(*me, "MakeNewCharacter" + Bytes({0, 1, 0}), 0, 0, 1), 0);
  EXPECT_EQ(maker.log.back(), "delete");
  EXPECT_EQ(maker.log[maker.log.size() - 2], "detach");
  maker.log.clear();
  maker.bodies = 4;
  maker.heads = 0;
  EXPECT_EQ(Run1(*me, "MakeNewCharacter" + Bytes({0, 1, 0}), 0, 0, 1), 0);
  EXPECT_EQ(maker.log.back(), "delete");
  maker.log.clear();
  maker.refuse = true;
  EXPECT_EQ(Run1(*me, "MakeNewCharacter" + Bytes({0, 1, 0}), 0, 0, 1), 0);
  EXPECT_TRUE(maker.log.empty());
}

TEST_F(QueuePrims, NewCharacterErrorsAndTheDefaultName) {
  auto* me = Obj();
  // Skin number 20 has no string.
  EXPECT_EQ(Run1(*me, "MakeNewCharacter" + Bytes({0, 1, 0}), 0, 0, 20), 1000 + kErrNoSkinColour);
  EXPECT_EQ(maker.log.back(), "delete") << "nothing half-made stays";
  EXPECT_EQ(Run1(*me, "MakeNewCharacter" + Bytes({0, 2, 0}), 0, 0, 1), 1000 + kErrParameterNumber);
  maker.log.clear();
  StringSet buttons;
  ObjectDialog::SetButtonStrings(&buttons);
  EXPECT_EQ(Run1(*me, "MakeNewCharacter" + Bytes({0, 1, 0}), 0, 0, 2), 1);
  EXPECT_EQ(maker.log[8], "name No childname");
  ObjectDialog::SetButtonStrings(nullptr);
}

TEST_F(QueuePrims, SoundsPlayByNameAndANamelessNumberGivesTrue) {
  RecordingPlayer player;
  std::vector<std::string> trace;
  GameServices::Get().soundTrace = true;
  GameServices::Get().debugOutput = [&trace](const std::string& line) { trace.push_back(line); };
  own.Add(TypeCode("FWAV"), 5, {'d', 'o', 'o', 'r', 0});
  semi.Add(TypeCode("FWAV"), 6, {'b', 'e', 'l', 'l', 0});
  auto* me = Obj();
  auto* other = Obj();
  EXPECT_EQ(Run1(*me, "PlaySound" + Words(5, 0, 0xFF), other->GetId()), 1);
  EXPECT_EQ(Run1(*me, "PlaySound" + Words(6, 0, 2), other->GetId()), 1) << "the stack object is the source";
  EXPECT_EQ(Run1(*me, "PlaySound" + Words(9, 0, 0), other->GetId()), 1);
  EXPECT_EQ(player.log, (std::vector<std::string>{"play door " + std::to_string(me->GetId()),
                                                  "play bell " + std::to_string(other->GetId())}));
  ASSERT_GE(trace.size(), 6u);
  EXPECT_EQ(trace[0].rfind("Event #", 0), 0u);
  EXPECT_EQ(trace[1], " Tree: Thing.iff:P:1");
  EXPECT_EQ(trace[2], " Sound: id 5");
  EXPECT_EQ(trace[3], "name door");
  EXPECT_EQ(trace[4], " Source: Thing");
  EXPECT_EQ(trace.back(), "***name not found***");
}

TEST_F(QueuePrims, RefusedSoundIsLoggedWithSoundDebugging) {
  RecordingPlayer player;
  player.refuse = true;
  std::vector<std::string> log;
  GameServices::Get().soundDebugging = true;
  GameServices::Get().debugLog = [&log](const std::string& line) { log.push_back(line); };
  own.Add(TypeCode("FWAV"), 5, {'d', 'o', 'o', 'r', 0});
  auto* me = Obj();
  EXPECT_EQ(Run1(*me, "PlaySound" + Words(5, 0, 0), 0), 1);
  EXPECT_EQ(Run1(*me, "PlaySound" + Words(8, 0, 0), 0), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"Sound failed: kPlaySound, id = 5, name=door",
                                           "Sound failed: kPlaySound, id = 8"}));
}

TEST_F(QueuePrims, StopSoundsOfMeOrTheStackObject) {
  RecordingPlayer player;
  auto* me = Obj();
  auto* other = Obj();
  EXPECT_EQ(Run1(*me, "StopSounds" + Words(0), other->GetId()), 1);
  EXPECT_EQ(Run1(*me, "StopSounds" + Words(1), other->GetId()), 1);
  EXPECT_EQ(Run1(*me, "StopSounds" + Words(1), 0), 1) << "no stack object: nothing stops";
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop " + std::to_string(me->GetId()),
                                                  "stop " + std::to_string(other->GetId())}));
}

TEST_F(QueuePrims, GlobalCallListKeepsDuplicatesAndBroadcastsOnTheEdges) {
  auto* me = Obj();
  CommandCounter counter;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(10), 0), 1);
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(10), 0), 1);
  EXPECT_EQ(module.GlobalCallList().size(), 2u);
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(11), 0), 1);
  EXPECT_EQ(module.GlobalCallList(), std::vector<cXObject*>{me});
  EXPECT_EQ(counter.count, 1) << "only the first entry broadcast";
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(11), 0), 1);
  EXPECT_EQ(counter.count, 2) << "the last removed";
}

TEST_F(QueuePrims, GlobalCallsOfTheNeighbourhoodAndSimulator) {
  auto* me = Obj();
  globals[kSimTutorial] = 1;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(8), 0), 1);
  EXPECT_EQ(globals[kSimTutorial], 1);
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(0), 0), 1);
  EXPECT_EQ(globals[kSimTutorial], 0);
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(9), 0), 1);
  EXPECT_EQ(hood.tutorialStates, (std::vector<int32_t>{1, 0, 2}));
  me->Temps()[0] = 77;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(14), 0), 1);
  EXPECT_EQ(globals[kSimGlobalCall14], 77);
  sim.SetFunds(100);
  hood.worth = {{4, 900}};
  me->Temps()[0] = 4;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(5), 0), 1);
  EXPECT_EQ(sim.GetFunds(), 1000);
  me->Temps()[0] = 5;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(5), 0), 0) << "no such family";
  auto* thing = Obj();
  thing->SetPosition(TileLocation::At(10, 20, 1).GetCenterPoint());
  ui.rotation = 0;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(12), thing->GetId()), 1);
  EXPECT_EQ(me->Temps()[0], -30);
  ui.rotation = 2;
  EXPECT_EQ(Run1(*me, "GlobalCall" + Words(12), thing->GetId()), 1);
  EXPECT_EQ(me->Temps()[0], -(53 + 43));
}

TEST_F(QueuePrims, GlobalCallErrors) {
  auto* me = Obj();
  struct Case {
    int call;
    int16_t stack;
    int32_t expected;
  } cases[] = {
      {7, 0, 1000 + kErrBadGlobalCall},  {17, 0, 1000 + kErrBadGlobalCall}, {-1, 0, 1000 + kErrBadGlobalCall},
      {2, 0, 1000 + kErrNotFromStackObject}, {2, me->GetId(), 1000 + kErrNotAPerson},
      {12, 0, 1000 + kErrNotFromStackObject}, {13, 0, 1000 + kErrNotFromStackObject},
      {15, 0, 1000 + kErrNotAPerson},    {16, 0, 1000 + kErrNotAPerson},
      {4, me->GetId(), 1000 + kErrNoNeighbourRecord}, {6, 0, 1000 + kErrNoNeighbourRecord},
  };
  for (const Case& c : cases) EXPECT_EQ(Run1(*me, "GlobalCall" + Words(c.call), c.stack), c.expected) << c.call;
}

}  // namespace
