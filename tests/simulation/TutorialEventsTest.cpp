// The tutorial's waits: the last pressed button in global 12, the query and
// got trees of the tutorial object, and the events with the remembered
// value.
#include <gtest/gtest.h>

#include "GameServiceFakes.h"
#include "PrimitiveFixture.h"
#include "simulation/TutorialEvents.h"

using namespace tova;
using namespace tova_test;

namespace {

class TutorialWaits : public PrimitiveFixture {
 protected:
  void SetUp() override {
    PrimitiveFixture::SetUp();
    GameServices::Get().ui = &ui;
    GameServices::Get().neighbourhood = &hood;
    module.SetGlobals(globals);
    TutorialWaitEvents::Forget();
    // The query answers attribute 3 (non-zero: waiting) with the event in
    // attribute 0 and its argument in attribute 1; the got tree counts in
    // attribute 2.
    Trees("tree 4100 \"query wait event\"\n params 4\n"
          "n0: " + Expr(kOwnerTemp, 0, 5, kOwnerMyAttribute, 0) + " -> n1 n1\n"
          "n1: " + Expr(kOwnerTemp, 1, 5, kOwnerMyAttribute, 1) + " -> n2 n2\n"
          "n2: " + Expr(kOwnerMyAttribute, 3, 16, kOwnerLiteral, 0) + " -> true false\nend\n"
          "tree 4101 \"got wait event\"\n params 4\n"
          "n0: " + Expr(kOwnerMyAttribute, 2, 3, kOwnerLiteral, 1) + " -> true true\nend\n");
  }
  void TearDown() override { TutorialWaitEvents::Forget(); }
  cXObject* Tutorial(int event, int argument) {
    cXObject* t = Obj();
    t->Attributes()[0] = static_cast<int16_t>(event);
    t->Attributes()[1] = static_cast<int16_t>(argument);
    t->Attributes()[3] = 1;
    module.SetTutorialObject(t);
    return t;
  }
  int Got(cXObject* t) { return t->Attributes()[2]; }

  ServicesScope scope;
  FakeInterface ui;
  FakeNeighbourhood hood;
  int16_t globals[kSimulatorGlobalCount] = {};
};

TEST_F(TutorialWaits, WithoutTutorialObjectOnlyGlobal12IsSet) {
  FakeWindow& button = ui.root.Add(44, true);
  ui.pressed = &button;
  cXObject* bystander = Obj();
  PollTutorialWaitEvent(module);
  EXPECT_EQ(globals[12], 44);
  EXPECT_EQ(bystander->Attributes()[2], 0);
  ui.pressed = nullptr;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(globals[12], 0);
}

TEST_F(TutorialWaits, RotationFiresOnlyAfterTheFirstPoll) {
  cXObject* t = Tutorial(6, 0);
  ui.rotation = 1;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(Got(t), 0) << "the first poll remembers the rotation";
  PollTutorialWaitEvent(module);
  EXPECT_EQ(Got(t), 0);
  ui.rotation = 2;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(Got(t), 1);
  EXPECT_EQ(TutorialWaitEvents::Remembered(), -1);
}

TEST_F(TutorialWaits, FalseQueryClearsTheRememberedValue) {
  cXObject* t = Tutorial(7, 0);
  ui.counter = 5;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(TutorialWaitEvents::Remembered(), 5);
  t->Attributes()[3] = 0;
  ui.counter = 6;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(TutorialWaitEvents::Remembered(), -1);
  t->Attributes()[3] = 1;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(Got(t), 0) << "the counter is remembered afresh";
  EXPECT_EQ(TutorialWaitEvents::Remembered(), 6);
  ui.counter = 7;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(Got(t), 1);
}

TEST_F(TutorialWaits, EventsAndWhenTheyHappen) {
  FakeWindow& button = ui.root.Add(0, false).Add(8, true, 12);
  struct Case {
    int event, argument;
    std::function<void()> arrange;
    bool fires;
  } cases[] = {
      {1, 0, [&] { ui.lotView = true; }, true},
      {1, 0, [&] { ui.lotView = true; ui.busy = true; }, false},
      {1, 0, [] {}, false},
      {2, 0, [&] { ui.popupShown = true; ui.page = "motives"; }, true},
      {2, 0, [&] { ui.popupShown = true; ui.page = "job"; }, false},
      {4, 8, [&] { ui.pressed = &button; }, true},
      {4, 9, [&] { ui.pressed = &button; }, false},
      {5, 12, [&] { ui.pressed = &button; }, true},
      {5, 13, [&] { ui.pressed = &button; }, false},
      {8, 8, [&] { button.state = true; }, true},
      {8, 8, [] {}, false},
      {9, 0, [&] { ui.popupShown = true; ui.page = "rel"; }, true},
      {11, 0, [&] { ui.popupShown = true; ui.page = "job"; }, true},
      {13, 0, [&] { ui.popupShown = true; ui.page = "skill"; }, true},
      {14, 0, [&] { ui.popupShown = true; ui.page = "anything"; }, true},
      {14, 0, [&] { ui.page = "rel"; }, false},
      {15, 0, [&] { ui.popupShown = true; ui.page = "per.ity"; }, true},
      {3, 0, [&] { ui.popupShown = true; }, false},
  };
  for (const Case& c : cases) {
    ui.lotView = ui.busy = ui.popupShown = button.state = false;
    ui.page.clear();
    ui.pressed = nullptr;
    c.arrange();
    cXObject* t = Tutorial(c.event, c.argument);
    PollTutorialWaitEvent(module);
    EXPECT_EQ(Got(t), c.fires ? 1 : 0) << "event " << c.event << " argument " << c.argument;
    module.SetTutorialObject(nullptr);
  }
}

TEST_F(TutorialWaits, OtherEventsKeepTheRememberedValue) {
  cXObject* t = Tutorial(7, 0);
  ui.counter = 3;
  PollTutorialWaitEvent(module);
  t->Attributes()[0] = 10;
  ui.counter = 4;
  PollTutorialWaitEvent(module);
  EXPECT_EQ(TutorialWaitEvents::Remembered(), 3);
}

}  // namespace
