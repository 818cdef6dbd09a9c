// Object dialog records: texts with their defaults and marks, pictures by
// source, and how the record is shown and answered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameServiceFakes.h"
#include "PrimitiveFixture.h"
#include "gamedata/ResFileSource.h"
#include "resfile/MemResFile.h"
#include "resfile/StringSet.h"
#include "simulation/ObjectDialog.h"
#include "simulation/cSimulator.h"

using namespace tova;
using namespace tova_test;

namespace {

class ObjectDialogs : public PrimitiveFixture {
 protected:
  void SetUp() override {
    PrimitiveFixture::SetUp();
    for (const char* s : {"OK", "Cancel", "Yes", "No", "Baby"}) buttons.SetString(buttons.GetCount() + 1, s);
    ObjectDialog::SetButtonStrings(&buttons);
  }
  void TearDown() override {
    module.Clear();
    ObjectDialog::SetButtonStrings(nullptr);
  }
  // An object whose main tree asks once, shown at once; the window as it
  // was run.
  FakeObjectDialog& Ask(const std::string& bytes, int16_t stackObject = 0) {
    Trees("tree 4096 \"Main\"\n params 4\nn0: Dialog" + bytes + " -> true false\nend\n");
    cXObject* me = Run();
    me->CurrentFrame()->stackObject = stackObject;
    me->Tick();
    module.ProcessDeletions(false);
    EXPECT_EQ(shell.shown.size(), 1u);
    return shell.shown.back();
  }
  StringSet buttons;
  FakeDialogShell shell;
};

TEST_F(ObjectDialogs, EmptyChoiceShowsMissingStringAndTheDefaultButtons) {
  FakeObjectDialog& w = Ask(Bytes({0, 0, 0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(w.title, "*Thing") << "the catalogue name";
  EXPECT_EQ(w.message, "Missing string!!!");
  EXPECT_EQ(w.buttons, (std::vector<std::pair<std::string, int32_t>>{{"Yes", 2}, {"No", 3}}));
  EXPECT_EQ(w.keys, (std::map<int32_t, int32_t>{{13, 2}, {27, 3}}));
  EXPECT_EQ(w.timeout, (std::pair<int32_t, int32_t>{3, 40000}));
  EXPECT_EQ(shell.runs, std::vector<std::string>{"modal"});
}

TEST_F(ObjectDialogs, ButtonDefaultsByKind) {
  struct Case {
    int kind;
    std::vector<std::pair<std::string, int32_t>> buttons;
    int32_t escape;
  } cases[] = {
      {0, {{"OK", 2}}, 2},
      {2, {{"Yes", 2}, {"No", 3}, {"Cancel", 4}}, 4},
      {3, {{"OK", 2}}, 2},
      {4, {{"OK", 2}}, 2},
  };
  for (const Case& c : cases) {
    shell.shown.clear();
    FakeObjectDialog& w = Ask(Bytes({0, 0, 0, 0, 0, c.kind, 0, 0}));
    EXPECT_EQ(w.buttons, c.buttons) << "kind " << c.kind;
    EXPECT_EQ(w.keys[27], c.escape);
    EXPECT_EQ(w.keys.count(32), c.kind == 2 ? 0u : 1u) << "space only with the first button alone";
    EXPECT_EQ(w.timeout.has_value(), c.kind != 4) << "tutorial pages wait";
    EXPECT_EQ(w.entryDefault, c.kind == 3 ? "Hello world" : "");
    EXPECT_EQ(w.entryLength, c.kind == 3 ? 999 : 0);
  }
}

TEST_F(ObjectDialogs, TextsComeFromTable301WithTokens) {
  own.SetStrings(301, {"Say $Me", "Sure", "Never", "Title"});
  FakeObjectDialog& w = Ask(Bytes({0, 0, 1, 2, 3, 1, 4, 0}));
  EXPECT_EQ(w.title, "Title");
  EXPECT_EQ(w.message, "Say Thing");
  EXPECT_EQ(w.buttons, (std::vector<std::pair<std::string, int32_t>>{{"Sure", 2}, {"Never", 3}}));
}

TEST_F(ObjectDialogs, CommentWithBangMarksTheString) {
  MemResFile file;
  StringSet table;
  table.SetString(1, "Marked");
  table.SetComment(1, "!unfinished");
  table.SetString(2, "Plain");
  table.SetComment(2, "fine");
  ASSERT_EQ(table.SaveTo(&file, 301), 0);
  ResFileSource source(&file);
  for (AssembledTree& t :
       AssembleTrees("tree 4096 \"Main\"\n params 4\nn0: Dialog" + Bytes({0, 0, 1, 2, 0, 0, 0, 0}) +
                     " -> true false\nend\n")) {
    ASSERT_EQ(WriteTree(source, t.id, t.label, t.bytes), 0);
  }
  definition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &source, &semi));
  cXObject* me = Run();
  me->Tick();
  module.ProcessDeletions(false);
  ASSERT_EQ(shell.shown.size(), 1u);
  EXPECT_EQ(shell.shown[0].message, "*Marked");
  EXPECT_EQ(shell.shown[0].buttons[0].first, "Plain");
  module.Clear();
}

TEST_F(ObjectDialogs, UnansweredMessageClosesWithItsButtonAfterFortySeconds) {
  Trees("tree 4096 \"Main\"\n params 4\nn0: Dialog" + Bytes({0, 0, 0, 0, 0, 0, 0, 0}) + " -> true false\nend\n");
  cXObject* me = Run();
  me->Tick();
  module.ProcessDeletions(false);
  EXPECT_EQ(shell.clockMs, 40000);
  ASSERT_EQ(module.PendingDialogs().size(), 1u);
  EXPECT_EQ(module.PendingDialogs()[0]->GetState(), ObjectDialog::kFirst);
  EXPECT_TRUE(me->Tick());
  EXPECT_TRUE(me->LastResult()) << "the message's only button";
}

TEST_F(ObjectDialogs, WithoutFirstButtonTheDialogRunsModelessWithADefault) {
  FakeObjectDialog& w = Ask(Bytes({0, 0, 0, 0, 0, 0, 0, 0x80}));
  EXPECT_TRUE(w.buttons.empty());
  EXPECT_EQ(w.defaultResult, (std::pair<int32_t, int32_t>{2, 0}));
  EXPECT_EQ(shell.runs, std::vector<std::string>{"modeless"});
  auto* record = dynamic_cast<ObjectDialog*>(module.PendingDialogs()[0].get());
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->IsShowing());
  EXPECT_EQ(record->GetState(), 1);
}

TEST_F(ObjectDialogs, TutorialObjectsDialogSitsBesideTheTutorialWindow) {
  shell.tutorialRect = DialogRect{10, 20, 110, 220};
  Trees("tree 4096 \"Main\"\n params 4\nn0: Dialog" + Bytes({0, 0, 0, 0, 0, 0, 0, 0x80}) + " -> true false\nend\n");
  cXObject* me = Run();
  module.SetTutorialObject(me);
  me->Tick();
  module.ProcessDeletions(false);
  ASSERT_EQ(shell.shown.size(), 1u);
  const FakeObjectDialog& w = shell.shown[0];
  EXPECT_EQ(w.besideRect, shell.tutorialRect);
  EXPECT_EQ(shell.attached, 1);
  EXPECT_FALSE(w.timeout.has_value()) << "the tutorial waits";
  EXPECT_EQ(w.defaultResult, (std::pair<int32_t, int32_t>{2, 31}));
}

TEST_F(ObjectDialogs, PicturesBySource) {
  own.SetStrings(301, {"gz 1200", "gzi 1201", "guid 3257335325", "my 7", "rel", "bogus 3"});
  auto* target = Obj();
  struct Case {
    int source;
    int number;
    std::string picture;
    std::optional<DialogRect> part;
  } cases[] = {
      {0, 0, "definition Thing", std::nullopt},
      {2, 0, "portrait " + std::to_string(target->GetId()), std::nullopt},
      {3, 9, "file Thing 5009", std::nullopt},
      {4, 1, "res 1200", DialogRect{0, 0, 20, 40}},
      {4, 2, "res 1201", std::nullopt},
      {4, 3, "guid 3257335325", std::nullopt},
      {4, 4, "file Thing 7", std::nullopt},
      {4, 6, "", std::nullopt},
      {1, 0, "", std::nullopt},
  };
  for (const Case& c : cases) {
    shell.shown.clear();
    FakeObjectDialog& w = Ask(Bytes({0, c.number, 0, 0, 0, 0, 0, c.source << 1}), target->GetId());
    EXPECT_EQ(w.picture, c.picture) << "source " << c.source << " number " << c.number;
    EXPECT_EQ(w.pictureRect, c.part) << "source " << c.source << " number " << c.number;
  }
}

TEST_F(ObjectDialogs, SpecialDefinitionIsTranslucentWithoutTitle) {
  ObjectDefinitionRecord record = definition->GetRecord();
  record.SetGuid(ObjectDialog::kSpecialGuid);
  definition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Special", 0, 128);
  definition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
  FakeObjectDialog& w = Ask(Bytes({0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(w.translucency, 200);
  EXPECT_EQ(w.title, "");
  module.Clear();
}

TEST_F(ObjectDialogs, ADeletedAskerTakesItsRequestAlong) {
  Trees("tree 4096 \"Main\"\n params 4\nn0: Dialog" + Bytes({0, 0, 0, 0, 0, 0, 0, 0}) + " -> true false\nend\n");
  cXObject* me = Run();
  me->Tick();
  ASSERT_EQ(module.PendingDialogs().size(), 1u);
  module.DeleteObject(me->GetId());
  module.ProcessDeletions(false);
  EXPECT_TRUE(shell.shown.empty());
  EXPECT_TRUE(module.PendingDialogs().empty());
}

// The modal loop of a dialog ticks the framework, which would run a frame;
// the simulator runs no pass inside its own.
class NestingShell : public FakeDialogShell {
 public:
  explicit NestingShell(cSimulator& sim, uint32_t& now) : sim_(sim), now_(now) {}
  void RunDialog(iObjectDialogWindow& window, bool modal) override {
    const int32_t before = sim_.GetTickCount();
    now_ += 10000;
    sim_.RunFrame();
    nestedTicks = sim_.GetTickCount() - before;
    FakeDialogShell::RunDialog(window, modal);
  }
  int32_t nestedTicks = -1;

 private:
  cSimulator& sim_;
  uint32_t& now_;
};

TEST_F(ObjectDialogs, ModalDialogInsideTheObjectPassRunsNoNestedPass) {
  uint32_t now = 1000;
  cSimulator sim;
  sim.SetClock([&now] { return now; });
  sim.Reset(&module);
  NestingShell nesting(sim, now);
  nesting.answers = {ObjectDialog::kFirst};
  Trees("tree 4096 \"Main\"\n params 4\nn0: Dialog" + Bytes({0, 0, 0, 0, 0, 0, 0, 0}) + " -> true false\nend\n");
  Run();
  sim.RunFrame();
  EXPECT_EQ(nesting.runs, std::vector<std::string>{"modal"});
  EXPECT_EQ(nesting.nestedTicks, 0);
  EXPECT_EQ(module.PendingDialogs()[0]->GetState(), ObjectDialog::kFirst);
}

}  // namespace
