// Interaction lists and autonomy: availability of entries, the menu and
// autonomous lists, the choice among scored candidates, and its log.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "PersonFixture.h"
#include "simulation/people/InteractionList.h"
#include "simulation/people/LogFileName.h"
#include "support/ScratchDir.h"

namespace tova_test {
namespace {

// With the straight curves of a person without curve tables, an offer of
// hunger base b scores b / 9000 above the current mood.
int16_t BaseFor(float score) { return static_cast<int16_t>(score * 9000.0f + 0.5f); }

class Autonomy : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    p = MakePerson();
  }
  std::vector<std::string> MenuNames(cXPerson& actor, cXObject& o, bool autonomous = false) {
    InteractionList list(actor, &o, autonomous);
    std::vector<QueuedAction> actions;
    list.BuildList(actions);
    std::vector<std::string> names;
    for (QueuedAction& a : actions) names.push_back(a.GetName(module));
    return names;
  }
  // Runs the choice; the chosen object id (0 for none) and the key.
  std::pair<int16_t, int16_t> Choose(cXPerson& actor) {
    TreeStackFrame frame;
    actor.SetData(kDataChosenInteraction, -1);
    if (!actor.FindBestInteraction(frame)) return {0, -1};
    return {frame.stackObject, actor.GetData(kDataChosenInteraction)};
  }
  cXPerson* p = nullptr;
};

TEST_F(Autonomy, AvailabilityOfOneEntry) {
  struct Case {
    const char* what;
    int32_t entryFlags;
    int16_t objectFlags;
    int16_t useCount;
    bool visitor;
    int16_t age;
    bool demo, allowInUse, autonomous;
    bool available;
  } cases[] = {
      {"plain", 0, 0, 0, false, 30, false, false, false, true},
      {"in use, menu", 0, kFlagInUse, 0, false, 30, false, false, false, false},
      {"in use, menu, allowed", 0, kFlagInUse, 0, false, 30, false, true, false, true},
      {"in use, autonomous, allowed", 0, kFlagInUse, 0, false, 30, false, true, true, false},
      {"not offered", 0, 0x200, 0, false, 30, false, true, false, false},
      {"busy, menu", 0, 0, 1, false, 30, false, false, false, true},
      {"busy, autonomous", 0, 0, 1, false, 30, false, false, true, false},
      {"visitor", 0, 0, 0, true, 30, false, false, false, false},
      {"visitor may", 0x1, 0, 0, true, 30, false, false, false, true},
      {"child", 0, 0, 0, false, 8, false, false, false, true},
      {"not for children", 0x10, 0, 0, false, 8, false, false, false, false},
      {"demo child, unflagged", 0, 0, 0, false, 8, true, false, false, false},
      {"demo child, flagged", 0x30, 0, 0, false, 8, true, false, false, true},
      {"not for adults", 0x40, 0, 0, false, 18, false, false, false, false},
      {"age 0 is no child", 0x10, 0, 0, false, 0, false, false, false, true},
  };
  for (const Case& c : cases) {
    cXObject* o = MakeThing({Interaction(1, "Use", c.entryFlags)});
    o->SetData(kDataFlags, c.objectFlags);
    o->SetData(kDataUseCount, c.useCount);
    p->SetWord(kPersonVisitor, c.visitor ? 1 : 0);
    p->SetWord(kPersonAge, c.age);
    host.demo = c.demo;
    host.allowInUse = c.allowInUse;
    InteractionList list(*p, o, c.autonomous);
    QueuedAction a = ActionOn(*p, *o, 1, 50);
    const uint32_t flags = list.AddEntry(a);
    EXPECT_TRUE(flags & kActionEvaluated) << c.what;
    EXPECT_EQ((flags & kActionAvailable) != 0, c.available) << c.what;
    EXPECT_EQ(a.flags, flags) << c.what;
  }
  cXObject* o = MakeThing({Interaction(1, "Use")});
  InteractionList list(*p, o, false);
  QueuedAction gone = ActionOn(*p, *o, 7, 50);
  EXPECT_EQ(list.AddEntry(gone), 0u) << "an entry no longer in the table";
}

TEST_F(Autonomy, CheckTreesDecideAndTheTemporaryWordsComeBack) {
  cXObject* o = MakeThing({Interaction(1, "Use", 0, 0, 4104)});
  p->Temps()[0] = 11;
  p->Temps()[7] = -3;
  {
    InteractionList list(*p, o, false);
    QueuedAction yes = ActionOn(*p, *o, 1, 50);
    yes.SetParameters(1, 0, 0, 0);
    QueuedAction no = ActionOn(*p, *o, 1, 50);
    EXPECT_TRUE(list.AddEntry(yes) & kActionAvailable);
    EXPECT_FALSE(list.AddEntry(no) & kActionAvailable);
    p->Temps()[0] = 99;  // what a check tree may leave behind
  }
  EXPECT_EQ(p->Temps()[0], 11);
  EXPECT_EQ(p->Temps()[7], -3);
  host.allMenus = true;
  InteractionList list(*p, o, false);
  QueuedAction no = ActionOn(*p, *o, 1, 50);
  EXPECT_TRUE(list.AddEntry(no) & kActionAvailable) << "all menus";
}

TEST_F(Autonomy, MenuAndAutonomousLists) {
  cXObject* o = MakeThing({Interaction(1, "Sit"), Interaction(2, "Stand", 0x80), Interaction(3, "Kick"),
                           Interaction(4, "Hidden", 0x200)});
  host.tables[o->GetId()].entries[2].tuningMark = 60;
  EXPECT_EQ(MenuNames(*p, *o), (std::vector<std::string>{"Sit", "*Stand", "Kick", "Hidden"}));
  p->SetWord(kPersonAutonomyLevel, 59);
  EXPECT_EQ(MenuNames(*p, *o, true), (std::vector<std::string>{"Hidden", "Sit"}))
      << "last to first, no starred entry, none above the person's autonomy level";
  host.allMenus = true;
  EXPECT_TRUE(MenuNames(*p, *o, true).empty());
}

TEST_F(Autonomy, AChildInDemoModeIsOfferedOnlyDemoEntries) {
  cXObject* o = MakeThing({Interaction(1, "Play", 0x20), Interaction(2, "Read"), Interaction(3, "Cook", 0x10 | 0x20)});
  p->SetWord(kPersonAge, 7);
  host.demo = true;
  EXPECT_EQ(MenuNames(*p, *o), (std::vector<std::string>{"Play", "Cook"}));
  EXPECT_EQ(MenuNames(*p, *o, true), (std::vector<std::string>{"Play"}));
  host.demo = false;
  EXPECT_EQ(MenuNames(*p, *o), (std::vector<std::string>{"Play", "Read"}));
}

// A person whose opcode 250 is the add-menu primitive: it adds "Own <p0>"
// with the frame's parameters to the list being built.
class AddingPerson : public cXPerson {
 public:
  using cXPerson::cXPerson;
  int32_t RunPrimitive(TreeStackFrame& frame, TreeNode node) override {
    if (node.Opcode() != 250) return cXPerson::RunPrimitive(frame, node);
    added = InteractionList::AddInteractionToCurrentList("Own " + std::to_string(frame.Params()[0]), frame.Params());
    return kPrimTrue;
  }
  bool added = false;
};

TEST_F(Autonomy, ACheckTreeMayOfferEntriesOfItsOwn) {
  Trees("tree 4105 \"Adds\"\n params 4\nn0: 250 -> true true\nend\n");
  cXObject* o = MakeThing({Interaction(1, "Use", 0, 0, 4105), Interaction(2, "Plain")});
  AddingPerson* q = MakePerson<AddingPerson>();
  const int16_t params[4] = {5, 6, 7, 8};
  EXPECT_FALSE(InteractionList::AddInteractionToCurrentList("Out of a list", params));
  EXPECT_FALSE(InteractionList::IsBuildingInteractionList());
  InteractionList list(*q, o, false);
  std::vector<QueuedAction> out;
  QueuedAction a = ActionOn(*q, *o, 1, 50);
  a.SetParameters(3, 4, 0, 0);
  list.Offer(a, out);
  EXPECT_TRUE(q->added);
  ASSERT_EQ(out.size(), 1u) << "the check tree's entry stands in for the evaluated one";
  EXPECT_EQ(out[0].name, "Own 3");
  EXPECT_EQ(out[0].params[1], 4);
  EXPECT_EQ(out[0].flags & (kActionEvaluated | kActionAvailable | kActionHasReason), kActionEvaluated | kActionAvailable);
  list.Offer(ActionOn(*q, *o, 2, 50), out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].GetName(module), "Plain");
  EXPECT_FALSE(InteractionList::IsBuildingInteractionList());
}

TEST_F(Autonomy, PeopleRunningAJoinableInteractionInviteOthers) {
  cXObject* sofa = MakeThing({Interaction(1, "Watch", 0x2), Interaction(2, "Watch more")});
  host.tables[sofa->GetId()].entries[0].link = 2;
  cXPerson* other = MakePerson();
  host.tables[other->GetId()].entries = {};
  other->SetCurrentAction(ActionOn(*other, *sofa, 1, 50));
  const std::vector<std::string> names = MenuNames(*p, *other, true);
  ASSERT_EQ(names, (std::vector<std::string>{"Watch more"}));
  QueuedAction joined = QueuedAction::FromPersonAction(*p, *other);
  EXPECT_EQ(joined.kind, kActionJoined);
  EXPECT_EQ(joined.actor, p->GetId());
  EXPECT_EQ(joined.priority, 50);
  EXPECT_EQ(joined.entryKey, 2);
  // A follow-on entry that is not there: no target, named "???".
  host.tables[sofa->GetId()].entries[0].link = 9;
  QueuedAction lost = QueuedAction::FromPersonAction(*p, *other);
  EXPECT_FALSE(lost.HasTarget());
  EXPECT_EQ(lost.name, "???");
}

TEST_F(Autonomy, VisitorsAndNoRandomEntriesTakeTheBest) {
  cXObject* a = MakeThing({Interaction(1, "A", 0x1, BaseFor(0.3f))});
  cXObject* b = MakeThing({Interaction(2, "B", 0x1, BaseFor(0.5f)), Interaction(3, "C", 0x1, BaseFor(0.4f))});
  p->SetWord(kPersonVisitor, 1);
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    SetRandomSeed(seed);
    EXPECT_EQ(Choose(*p), (std::pair<int16_t, int16_t>{b->GetId(), 2}));
  }
  ASSERT_EQ(p->Candidates().size(), 3u);
  EXPECT_EQ(p->Candidates()[2].object, a->GetId());
  p->SetWord(kPersonVisitor, 0);
  host.tables[b->GetId()].entries[0].flags |= 0x100;
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    SetRandomSeed(seed);
    EXPECT_EQ(Choose(*p), (std::pair<int16_t, int16_t>{b->GetId(), 2})) << "no-random entry";
  }
}

TEST_F(Autonomy, AResidentChoosesUniformlyAmongTheBest) {
  MakeThing({Interaction(1, "A", 0, BaseFor(0.3f))});
  MakeThing({Interaction(2, "B", 0, BaseFor(0.5f))});
  MakeThing({Interaction(3, "C", 0, BaseFor(0.4f))});
  std::map<int16_t, int> seen;
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SetRandomSeed(seed);
    const int32_t expected = static_cast<int32_t>(NextRandom() % 3);
    SetRandomSeed(seed);
    const auto [object, key] = Choose(*p);
    ASSERT_NE(object, 0);
    EXPECT_EQ(key, std::vector<int16_t>({2, 3, 1})[static_cast<size_t>(expected)]) << seed;
    ++seen[key];
  }
  EXPECT_EQ(seen.size(), 3u);
  // A selection count of 0 still chooses among one.
  AutonomyConstantsClient::Instance().randomSelectionCount = 0;
  EXPECT_EQ(Choose(*p).second, 2);
}

TEST_F(Autonomy, ScoresBelowTheLeastAndSeatedPeopleChooseNothing) {
  MakeThing({Interaction(1, "A", 0x1, BaseFor(0.19f))});
  EXPECT_EQ(Choose(*p).first, 0) << "0.19 is below a resident's least score";
  EXPECT_FALSE(p->DecisionResult());
  EXPECT_TRUE(p->Candidates().empty());
  p->SetWord(kPersonVisitor, 1);
  EXPECT_NE(Choose(*p).first, 0);
  p->SetWord(kPersonPosture, 1);
  EXPECT_EQ(Choose(*p).first, 0) << "seated: 0.19 does not make it get up";
  MakeThing({Interaction(2, "B", 0x1, BaseFor(0.21f))});
  EXPECT_EQ(Choose(*p).second, 2);
}

TEST_F(Autonomy, FreeWillOffStopsResidentsOnly) {
  MakeThing({Interaction(1, "A", 0x1, BaseFor(0.5f))});
  host.freeWill = false;
  EXPECT_EQ(Choose(*p).first, 0);
  p->SetWord(kPersonVisitor, 1);
  EXPECT_NE(Choose(*p).first, 0);
}

TEST_F(Autonomy, ObjectsInUseBusyOrNotOfferingAreSkipped) {
  cXObject* a = MakeThing({Interaction(1, "A", 0, BaseFor(0.5f))});
  a->SetData(kDataUseCount, 1);
  cXObject* b = MakeThing({Interaction(2, "B", 0, BaseFor(0.5f))});
  b->SetData(kDataFlags, kFlagInUse);
  cXObject* c = MakeThing({Interaction(3, "C", 0, BaseFor(0.5f))});
  module.SetStateBits(c->GetId(), kSchedOffersInteractions, false);
  host.tables[p->GetId()].entries = {Interaction(4, "Self", 0, BaseFor(0.5f))};
  module.SetStateBits(p->GetId(), kSchedOffersInteractions, true);
  EXPECT_EQ(Choose(*p).first, 0);
}

TEST_F(Autonomy, DistanceAndAttenuationLowerTheScore) {
  cXObject* o = MakeThing({Interaction(1, "A", 0, BaseFor(0.5f))});
  host.tables[o->GetId()].entries[0].attenuationCode = 4;  // high: 0.1
  p->SetPosition(FinePoint{0, 0});
  o->SetPosition(FinePoint{16 * 3, 16 * 4});  // five tiles away
  ASSERT_NE(Choose(*p).first, 0);
  ASSERT_EQ(p->Candidates().size(), 1u);
  EXPECT_FLOAT_EQ(p->Candidates()[0].distance, 5);
  EXPECT_FLOAT_EQ(p->Candidates()[0].attenuation, 0.1f);
  EXPECT_NEAR(p->Candidates()[0].score, 0.5f / 1.5f, 1e-4);
  // A negative attenuation from the data counts as none.
  host.tables[o->GetId()].entries[0].attenuationCode = 0;
  host.tables[o->GetId()].entries[0].customAttenuation = -0.2f;
  ASSERT_NE(Choose(*p).first, 0);
  EXPECT_FLOAT_EQ(p->Candidates()[0].attenuation, 0);
  EXPECT_NEAR(p->Candidates()[0].score, 0.5f, 1e-4);
}

TEST_F(Autonomy, TreesChooseThroughOpcodeThree) {
  Trees("tree 4107 \"Choose\"\n params 4\nn0: 3 -> true false\nend\n");
  cXObject* o = MakeThing({Interaction(5, "A", 0x1, BaseFor(0.5f))});
  host.freeWill = false;
  EXPECT_FALSE(p->RunTree(behavior(), 0, 4107, nullptr)) << "a resident without free will";
  p->SetWord(kPersonVisitor, 1);
  EXPECT_TRUE(p->RunTree(behavior(), 0, 4107, nullptr));
  EXPECT_EQ(p->GetData(kDataChosenInteraction), 5);
  EXPECT_EQ(p->Candidates().front().object, o->GetId());
}

TEST_F(Autonomy, TheScoredInteractionsFile) {
  ScratchDir dir;
  const std::filesystem::path kept = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  cXObject* a = MakeThing({Interaction(1, "A", 0x1, BaseFor(0.3f))});
  cXObject* b = MakeThing({Interaction(2, "B", 0x1, BaseFor(0.5f))});
  p->SetWord(kPersonVisitor, 1);
  host.tick = 4321;
  ASSERT_NE(Choose(*p).first, 0);
  EXPECT_TRUE(p->LogScoredInteractions());
  module.RemoveObject(a->GetId());
  const std::string name = "Bella" + std::string(p->GetId() < 10 ? "00" : "0") + std::to_string(p->GetId()) +
                           "_ScoredInteractions.txt";
  const std::string first = ReadBytes(dir / name);
  EXPECT_TRUE(p->LogScoredInteractions()) << "written anew";
  const std::string text = ReadBytes(dir / name);
  std::filesystem::current_path(kept);

  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 9u) << text;
  EXPECT_EQ(lines[0], "Scored Interactions");
  EXPECT_EQ(lines[1], "Name\tBella");
  EXPECT_EQ(lines[2], "ID\t" + std::to_string(p->GetId()));
  EXPECT_EQ(lines[3], "Base Happy\t0.000000");
  EXPECT_EQ(lines[4], "Ticks\t4321");
  EXPECT_EQ(lines[5], "Result\tsucceeded");
  EXPECT_EQ(lines[6], "Number\tObject Name\tTree Name\tScore\tRaw Score\tTreeTab index\tObject ID\tDistance\tAttenuation");
  char expected[256];
  const ScoredCandidate& best = p->Candidates()[0];
  std::snprintf(expected, sizeof expected, "0\tThing\tUse\t%.10f\t%.10f\t2\t%d\t%.10f\t%.10f", double{best.score},
                double{best.rawScore}, b->GetId(), double{best.distance}, double{best.attenuation});
  EXPECT_EQ(lines[7], expected);
  const ScoredCandidate& gone = p->Candidates()[1];
  std::snprintf(expected, sizeof expected, "1\tNULL\t???\t%.10f\t%.10f\t1\t%d\t%.10f\t%.10f", double{gone.score},
                double{gone.rawScore}, gone.object, double{gone.distance}, double{gone.attenuation});
  EXPECT_EQ(lines[8], expected);
  EXPECT_NE(first, text);
}

TEST_F(Autonomy, AFailedDecisionIsLoggedWithAnEmptyList) {
  ScratchDir dir;
  const std::filesystem::path kept = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_EQ(Choose(*p).first, 0);
  EXPECT_TRUE(p->LogScoredInteractions());
  std::filesystem::create_directory(dir / "blocked");
  std::filesystem::current_path(dir / "blocked");
  std::filesystem::permissions(dir / "blocked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool writable = std::filesystem::exists(dir / "blocked" / "probe") ||
                        std::ofstream(dir / "blocked" / "probe").good();
  const bool written = p->LogScoredInteractions();
  std::filesystem::current_path(kept);
  std::filesystem::permissions(dir / "blocked", std::filesystem::perms::owner_all);
  const std::string text = ReadBytes(dir / ("Bella00" + std::to_string(p->GetId()) + "_ScoredInteractions.txt"));
  EXPECT_NE(text.find("Result\tfailed\nNumber\t"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
  if (!writable) {  // a superuser writes anywhere
    EXPECT_FALSE(written);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().find("Could not open file \"Bella00"), std::string::npos);
  }
}

TEST(LogFileName, SeparatorsAndControlCharactersAreReplaced) {
  EXPECT_EQ(SafeLogName("Bella"), "Bella");
  EXPECT_EQ(SafeLogName("../etc/x"), ".._etc_x");
  EXPECT_EQ(SafeLogName("a\\b\nc\x7f"), "a_b_c_");
  EXPECT_EQ(SafeLogName(".."), "__");
  EXPECT_EQ(SafeLogName(""), "");
}

}  // namespace
}  // namespace tova_test
