// The primitives that talk to the player and the game: name tokens, the
// tutorial object, shown strings, the budget, the lowest motives, menu
// entries, highlights and showing the stack object.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "GameServiceFakes.h"
#include "PrimitiveFixture.h"
#include "gamedata/Commander.h"
#include "simulation/GamePrimitives.h"
#include "simulation/NameTokens.h"
#include "simulation/cSimulator.h"

using namespace tova;
using namespace tova_test;

namespace {

// A frame of its own with the given locals.
struct LocalFrame {
  explicit LocalFrame(std::vector<int16_t> locals) {
    frame = new (bytes) TreeStackFrame();
    frame->localCount = static_cast<uint8_t>(locals.size());
    for (size_t i = 0; i < locals.size(); ++i) frame->Locals()[i] = locals[i];
  }
  alignas(8) unsigned char bytes[sizeof(TreeStackFrame) + 32] = {};
  TreeStackFrame* frame;
};

struct Listener : Commander {
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    if (command == cmd::kShowString) strings.emplace_back(reinterpret_cast<const char*>(argument));
    if (command == cmd::kShowStackObject) shown.push_back(static_cast<int>(argument));
    return 0;
  }
  std::vector<std::string> strings;
  std::vector<int> shown;
};

class GamePrims : public PrimitiveFixture {
 protected:
  void SetUp() override {
    PrimitiveFixture::SetUp();
    GameServices::Get().neighbourhood = &hood;
    GameServices::Get().ui = &ui;
    GameServices::Get().simulator = &sim;
    hood.names = {{12, "Pat"}};
    hood.families = {{12, 4}};
    hood.familyNames = {{4, "Bloom"}};
    hood.worth = {{4, 23456}};
  }
  ServicesScope scope;
  FakeNeighbourhood hood;
  FakeInterface ui;
  cSimulator sim;
};

TEST_F(GamePrims, NameTokensFillWhatTheyNameAndKeepTheRest) {
  auto* me = Obj<NeighbourPerson>();
  me->neighbour = 12;
  auto* other = Obj<NeighbourPerson>();
  other->neighbour = 12;
  LocalFrame f({4, 14});
  f.frame->stackObject = other->GetId();
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"$Me and $Object", "Thing and Thing"},
      {"hi $Neighbor of $Family", "hi Pat of Bloom"},
      {"worth $FamilyAssets:0!", "worth 23456!"},
      {"$Local:1 and $Local:2", "14 and $Local:2"},
      {"at $TimeLocal:1", "at 2 PM"},
      {"$Grade:3", "grade 3"},
      {"$Job / $JobDesc:0:1 / $JobOffer", "career 7/3/0b / career 4/14/1b / career 7/3/2b"},
      {"$Nothing $Local", "$Nothing $Local"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandNameTokens(c.text, *me, *f.frame), c.expected) << c.text;
  NameTokenValues values;
  ExpandNameTokens("$Neighbor $Family", *me, *f.frame, &values);
  EXPECT_EQ(values.neighbour, 12);
  EXPECT_EQ(values.family, 4);
}

TEST_F(GamePrims, TokensOfMissingPartiesStay) {
  auto* me = Obj();
  LocalFrame f({99});
  f.frame->stackObject = 0;
  EXPECT_EQ(ExpandNameTokens("$Object $Neighbor $Family $FamilyAssets:0 $TimeLocal:0 $Job", *me, *f.frame),
            "$Object $Neighbor $Family $FamilyAssets:0 $TimeLocal:0 $Job");
}

TEST_F(GamePrims, TutorialObjectIsTakenOnceAndLetGoByItsHolder) {
  auto* a = Obj();
  auto* b = Obj();
  EXPECT_EQ(Prim(*a, "Tutorial" + Bytes({0}), 0), 1);
  EXPECT_EQ(module.GetTutorialObject(), a);
  EXPECT_EQ(Prim(*b, "Tutorial" + Bytes({0}), 0), 0) << "another one holds it";
  EXPECT_EQ(Prim(*b, "Tutorial" + Bytes({1}), 0), 0);
  EXPECT_EQ(Prim(*a, "Tutorial" + Bytes({1}), 0), 1);
  EXPECT_EQ(module.GetTutorialObject(), nullptr);
  EXPECT_EQ(Prim(*a, "Tutorial" + Bytes({2}), 0), 1000 + kErrBadTutorialCode);
}

TEST_F(GamePrims, ShowStringBroadcastsMyNameAndTheString) {
  own.SetStrings(300, {"", "Feed me"});
  auto* me = Obj();
  Listener listener;
  EXPECT_EQ(Prim(*me, "ShowString" + Words(300, 2), 0), 1);
  EXPECT_EQ(Prim(*me, "ShowString" + Words(300, 1), 0), 1) << "an empty string shows nothing";
  EXPECT_EQ(listener.strings, std::vector<std::string>{"Thing : Feed me"});
}

TEST_F(GamePrims, AlterBudgetChecksFundsTestsAndSpends) {
  sim.SetFunds(400);
  auto* me = Obj();
  auto budget = [](int amount, int type, int flags) {
    return "AlterBudget" + Bytes({0, 0, amount & 0xFF, (amount >> 8) & 0xFF, 0, 0, type, flags});
  };
  EXPECT_EQ(Prim(*me, budget(500, 1, 0), 0), 0) << "more than the funds";
  EXPECT_EQ(sim.GetFunds(), 400);
  EXPECT_EQ(Prim(*me, budget(300, 1, 1), 0), 1) << "a test spends nothing";
  EXPECT_EQ(sim.GetFunds(), 400);
  EXPECT_EQ(Prim(*me, budget(300, 1, 0), 0), 1);
  EXPECT_EQ(sim.GetFunds(), 100);
  EXPECT_EQ(sim.GetStatistic(0, 1), 300);
  EXPECT_EQ(Prim(*me, budget(500, 3, 2), 0), 1) << "the add flag earns";
  EXPECT_EQ(sim.GetFunds(), 600);
  EXPECT_EQ(Prim(*me, budget(1, 8, 0), 0), 1000 + kErrBadExpenseType);
}

TEST_F(GamePrims, AlterBudgetReadsTheAmountFromALocal) {
  sim.SetFunds(1000);
  auto* me = Obj();
  // Local 0 holds parameter 3 (250).
  EXPECT_EQ(Prim(*me, "AlterBudget" + Bytes({2, 0, 0, 0, 0, 0, 4, 0}), 0, 0, 0, 0, 250), 1);
  EXPECT_EQ(sim.GetFunds(), 750);
}

TEST_F(GamePrims, LowestMotivesSortStablyIntoMyTemps) {
  auto* me = Obj<FakePerson>();
  auto* person = Obj<FakePerson>();
  person->motives[13] = -50;
  person->motives[7] = -20;
  person->motives[5] = 10;
  person->motives[6] = 10;
  person->motives[8] = 30;
  person->motives[9] = 40;
  person->motives[14] = 50;
  person->motives[15] = 60;
  for (int type : {0, 1, 2}) {
    std::fill(me->Temps(), me->Temps() + 8, 0);
    EXPECT_EQ(Prim(*me, "FindLowestMotives" + Words(0, 0, 1, type), person->GetId()), 1);
    EXPECT_EQ(std::vector<int16_t>(me->Temps(), me->Temps() + 5), (std::vector<int16_t>{13, 7, 5, 6, 8}))
        << "type " << type;
  }
  // Equal motives keep their order.
  EXPECT_EQ(Prim(*me, "FindLowestMotives" + Words(0, 0, 0, 0), 0), 1);
  EXPECT_EQ(std::vector<int16_t>(me->Temps(), me->Temps() + 5), (std::vector<int16_t>{5, 6, 7, 8, 9}));
}

TEST_F(GamePrims, LowestMotivesRefuseNonPersonsAndBadTypes) {
  auto* me = Obj<FakePerson>();
  auto* plain = Obj();
  EXPECT_EQ(Prim(*me, "FindLowestMotives" + Words(0, 0, 1, 0), plain->GetId()), 1000 + kErrNotFromStackObject);
  EXPECT_EQ(Prim(*plain, "FindLowestMotives" + Words(0, 0, 0, 0), 0), 1000 + kErrNotFromStackObject);
  EXPECT_EQ(Prim(*me, "FindLowestMotives" + Words(0, 0, 2, 0), me->GetId()), 1000 + kErrNotFromStackObject);
  EXPECT_EQ(Prim(*me, "FindLowestMotives" + Words(0, 0, 0, 3), 0), 1000 + kErrBadSearchType);
}

TEST_F(GamePrims, MenuEntriesOfAPersonGoToItsPendingList) {
  struct People : iPeopleCalls {
    void AddPendingMenuEntry(cXObject& person, const std::string& name, const int16_t (&params)[4]) override {
      entries.push_back(std::to_string(person.GetId()) + " " + name + " " + std::to_string(params[0]));
    }
    std::vector<std::string> entries;
  } people;
  GameServices::Get().people = &people;
  own.SetStrings(200, {"Talk to $Neighbor"});
  Trees("tree 4096 \"Main\"\n params 4\nn0: AddMenuInteraction" + Bytes({200, 0, 0, 0, 1}) +
        " -> true true\nend\n");
  auto* other = Obj<NeighbourPerson>();
  other->neighbour = 12;
  for (bool person : {true, false}) {
    cXObject* me = person ? static_cast<cXObject*>(Run<NeighbourPerson>()) : Run();
    me->CurrentFrame()->stackObject = other->GetId();
    me->Tick();
  }
  EXPECT_EQ(people.entries, std::vector<std::string>{"2 Talk to Pat 12"}) << "only a person at top level";
  // Inside a synchronous run nothing is added.
  auto* person = Obj<NeighbourPerson>();
  EXPECT_EQ(Prim(*person, "AddMenuInteraction" + Bytes({200, 0, 0, 0, 1}), other->GetId()), 1);
  EXPECT_EQ(people.entries.size(), 1u);
}

TEST_F(GamePrims, HighlightsReachButtonsByIdPortraitAndTheRelationshipWindow) {
  FakeWindow& panel = ui.root.Add(0, false);
  FakeWindow& byId = panel.Add(31, true);
  FakeWindow& portrait = ui.root.Add(5, true, 12);
  FakeWindow& rel = ui.root.Add(0, false);
  rel.relationship = true;
  auto* me = Obj();
  // Kind, owner literal (7) and the value, on/off.
  auto highlight = [](int kind, int value, int on) {
    return "HighlightUI" + Bytes({kind, 7, value & 0xFF, value >> 8, on});
  };
  EXPECT_EQ(Prim(*me, highlight(0, 31, 1), 0), 1);
  EXPECT_EQ(byId.highlight, 1);
  EXPECT_EQ(Prim(*me, highlight(1, 12, 1), 0), 1);
  EXPECT_EQ(portrait.highlight, 1);
  EXPECT_EQ(Prim(*me, highlight(2, 99, 1), 0), 1) << "no such neighbour";
  EXPECT_EQ(rel.highlight, -1);
  EXPECT_EQ(Prim(*me, highlight(2, 12, 1), 0), 1);
  EXPECT_EQ(rel.highlight, 1);
  EXPECT_EQ(Prim(*me, highlight(0, 31, 0), 0), 1);
  EXPECT_EQ(byId.highlight, 0);
  EXPECT_EQ(Prim(*me, highlight(7, 31, 1), 0), 1) << "other kinds do nothing";
  EXPECT_EQ(byId.highlight, 0);
}

TEST_F(GamePrims, ShowStackObjectStopsTheFrameThenAsksTheViewService) {
  int16_t globals[kSimulatorGlobalCount] = {};
  module.SetGlobals(globals);
  own.SetStrings(305, {"Look at $Object"});
  Trees("tree 4096 \"Main\"\n locals 1\n n0: ShowStackObject" + Bytes({3, 0, 2, 1, 0x13, 1}) +
        " -> true true\nend\n");
  auto* target = Obj();
  auto* me = Run();
  me->CurrentFrame()->stackObject = target->GetId();
  Listener listener;
  me->Tick();
  EXPECT_EQ(globals[kSimStopRequest], 1);
  EXPECT_TRUE(ui.shown.empty());
  me->Tick();
  ASSERT_EQ(ui.shown.size(), 1u);
  const auto& r = ui.shown[0];
  EXPECT_EQ(r.object, target->GetId());
  EXPECT_EQ(r.timeoutMs, 3000);
  EXPECT_TRUE(r.option0);
  EXPECT_TRUE(r.option1);
  EXPECT_TRUE(r.option4);
  EXPECT_EQ(r.setting2, 2);
  EXPECT_EQ(r.setting3, 1);
  EXPECT_TRUE(r.notBit2);
  EXPECT_EQ(r.caption, "Look at Thing");
  EXPECT_EQ(listener.shown, std::vector<int>{target->GetId()});
  me->Tick();
  EXPECT_EQ(ui.shown.size(), 1u) << "the third tick goes on";
}

}  // namespace
