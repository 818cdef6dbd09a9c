// The person's action queue: ordering by priority, refusals, cancelling,
// interrupting, starting an action and stepping aside.
#include <gtest/gtest.h>

#include "PersonFixture.h"

namespace tova_test {
namespace {

class ActionQueue : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    p = MakePerson();
    for (int i = 0; i < 10; ++i) things.push_back(MakeThing({Interaction(1, "Use"), Interaction(2, "Again", 0x8)}));
  }
  int16_t Dropped(cXObject* o) { return o->Attributes()[0]; }

  cXPerson* p = nullptr;
  std::vector<cXObject*> things;
};

TEST_F(ActionQueue, ALowerPriorityDropsWhatWaitsBehindItsPlace) {
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 100)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[1], 1, 40)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[2], 1, 30)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[3], 1, 50)));
  EXPECT_EQ(QueuedPriorities(*p), (std::vector<int32_t>{100, 50}));
  EXPECT_EQ(p->GetQueuedAction(1)->target, things[3]->GetId());
  EXPECT_EQ(Dropped(things[0]), 0);
  EXPECT_EQ(Dropped(things[1]), 1);
  EXPECT_EQ(Dropped(things[2]), 1);
  EXPECT_EQ(Dropped(things[3]), 0);
  // Equal priorities wait in the order they came.
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[4], 1, 50)));
  EXPECT_EQ(p->GetQueuedAction(2)->target, things[4]->GetId());
  EXPECT_EQ(p->GetQueuedAction(3), nullptr);
  EXPECT_EQ(p->GetQueuedAction(-1), nullptr);
}

TEST_F(ActionQueue, SerialNumbersAreUniqueAndSkipZeroWhenTheCounterWraps) {
  QueuedAction::SetSerialCounter(0xFFFFFFFEu);
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[1], 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[2], 1, 50)));
  EXPECT_EQ(p->GetQueuedAction(0)->serial, 0xFFFFFFFFu);
  EXPECT_EQ(p->GetQueuedAction(1)->serial, 1u);
  EXPECT_EQ(p->GetQueuedAction(2)->serial, 2u);
}

TEST_F(ActionQueue, ARepeatIsRefusedUnlessItsEntryAllowsIt) {
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 50)));
  EXPECT_FALSE(p->PushAction(ActionOn(*p, *things[0], 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 2, 50)));
  EXPECT_TRUE(p->PushAction(ActionOn(*p, *things[0], 2, 50)));
  EXPECT_EQ(p->QueuedCount(), 3);
  // With nothing waiting the running action is the one compared.
  cXPerson* q = MakePerson();
  q->SetCurrentAction(ActionOn(*q, *things[5], 1, 50));
  EXPECT_FALSE(q->PushAction(ActionOn(*q, *things[5], 1, 50)));
  EXPECT_TRUE(q->PushAction(ActionOn(*q, *things[6], 1, 50)));
  // No entry: nothing to run.
  EXPECT_FALSE(q->PushAction(ActionOn(*q, *things[6], 99, 50)));
}

TEST_F(ActionQueue, AFullQueueAndAnOverflowingHeadPushChangeNothing) {
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[static_cast<size_t>(i)], 1, 50)));
  std::vector<uint32_t> before;
  for (int n = 0; n < 8; ++n) before.push_back(p->GetQueuedAction(n)->serial);
  EXPECT_FALSE(p->PushAction(ActionOn(*p, *things[8], 1, 50)));
  QueuedAction head = ActionOn(*p, *things[9], 1, 10);
  head.flags |= kActionAtHead;
  EXPECT_FALSE(p->PushAction(head));
  std::vector<uint32_t> after;
  for (int n = 0; n < p->QueuedCount(); ++n) after.push_back(p->GetQueuedAction(n)->serial);
  EXPECT_EQ(after, before);
  for (cXObject* t : things) EXPECT_EQ(Dropped(t), 0);
}

TEST_F(ActionQueue, AHeadPushGoesInFrontWhateverItsPriority) {
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 100)));
  p->CurrentAction().name = "Running";
  QueuedAction head = ActionOn(*p, *things[1], 1, 5);
  head.flags |= kActionAtHead | kActionRunningName;
  ASSERT_TRUE(p->PushAction(head));
  EXPECT_EQ(QueuedPriorities(*p), (std::vector<int32_t>{5, 100}));
  EXPECT_EQ(p->GetQueuedAction(0)->name, "Running");
  EXPECT_TRUE(p->ShouldInterrupt()) << "a head push always interrupts";
}

TEST_F(ActionQueue, ImmediateEntriesRunAtOnceAndQueueNothing) {
  host.tables[things[0]->GetId()].entries.push_back(Interaction(3, "Now", 0x4));
  QueuedAction now = ActionOn(*p, *things[0], 3, 70);
  EXPECT_TRUE(p->PushAction(now));
  EXPECT_EQ(things[0]->Attributes()[1], 1) << "the action tree ran on the person with the target as stack object";
  EXPECT_EQ(p->QueuedCount(), 0);
  EXPECT_EQ(p->Word(kPersonActionPriority), 0) << "priority word restored";
  // Unavailable (in use, not allowed): refused.
  things[0]->SetData(kDataFlags, kFlagInUse);
  EXPECT_FALSE(p->PushAction(now));
  EXPECT_EQ(things[0]->Attributes()[1], 1);
}

TEST_F(ActionQueue, CancellingTheRunningActionMarksItAndInterruptsOnlyWhenNeeded) {
  p->SetCurrentAction(ActionOn(*p, *things[0], 1, 20));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[1], 1, 100)));
  const uint32_t serial = p->CurrentAction().serial;
  ASSERT_NE(serial, 0u);
  EXPECT_TRUE(p->CancelAction(serial));
  EXPECT_TRUE(p->CurrentAction().flags & kActionCancelled);
  EXPECT_EQ(p->Word(kPersonActionPriority), 0);
  EXPECT_EQ(QueuedPriorities(*p), (std::vector<int32_t>{100})) << "the head outranks it: only marked";

  // Nothing waits: the person's own entry 33 is pushed on itself.
  cXPerson* q = MakePerson();
  host.tables[q->GetId()].entries = {Interaction(kInterruptEntryKey, "Interrupt")};
  q->SetCurrentAction(ActionOn(*q, *things[2], 1, 20));
  EXPECT_TRUE(q->CancelAction(q->CurrentAction().serial));
  ASSERT_EQ(q->QueuedCount(), 1);
  EXPECT_EQ(q->GetQueuedAction(0)->target, q->GetId());
  EXPECT_EQ(q->GetQueuedAction(0)->icon, 0);
  EXPECT_EQ(q->GetQueuedAction(0)->entryKey, kInterruptEntryKey);
  EXPECT_EQ(q->GetQueuedAction(0)->priority, 50);
}

TEST_F(ActionQueue, CancellingAWaitingActionRemovesItAndTellsItsTarget) {
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[1], 1, 50)));
  const uint32_t serial = p->GetQueuedAction(0)->serial;
  EXPECT_TRUE(p->CancelAction(serial));
  EXPECT_EQ(p->QueuedCount(), 1);
  EXPECT_EQ(Dropped(things[0]), 1);
  EXPECT_FALSE(p->CancelAction(serial));
  EXPECT_FALSE(p->CancelAction(0));
}

TEST_F(ActionQueue, InterruptTest) {
  struct Case {
    int16_t noInterrupt;
    int32_t headPriority;  // 0: nothing waits
    float hunger;
    bool expected;
  } cases[] = {
      {0, 0, 0, false},  {0, 60, 0, true},    {0, 50, 0, false},
      {1, 60, 0, false}, {0, 0, -99.5f, true}, {0, 0, -99, false},
  };
  for (const Case& c : cases) {
    cXPerson* q = MakePerson();
    q->SetCurrentAction(ActionOn(*q, *things[0], 1, 50));
    if (c.headPriority != 0) {
      ASSERT_TRUE(q->PushAction(ActionOn(*q, *things[1], 1, c.headPriority)));
    }
    q->SetWord(kPersonNoInterrupt, c.noInterrupt);
    q->MotiveRef(kMotiveHunger) = c.hunger;
    EXPECT_EQ(q->ShouldInterrupt(), c.expected) << c.noInterrupt << " " << c.headPriority << " " << c.hunger;
  }
}

TEST_F(ActionQueue, StartingAnActionKeepsThePreviousWithItsResult) {
  p->SetWord(38, 5);
  p->SetWord(kPersonNoInterrupt, 1);
  p->SetWord(72, 1);
  p->MotiveChanges().push_back({5, 1, 50});
  p->SetCurrentAction(ActionOn(*p, *things[0], 1, 70));
  EXPECT_EQ(p->Word(38), 0);
  EXPECT_EQ(p->Word(kPersonNoInterrupt), 0);
  EXPECT_EQ(p->Word(72), 0);
  EXPECT_EQ(p->Word(kPersonActionPriority), 70);
  EXPECT_TRUE(p->MotiveChanges().empty());
  EXPECT_NE(p->CurrentAction().serial, 0u);
  const uint32_t first = p->CurrentAction().serial;
  p->SetCurrentAction(ActionOn(*p, *things[1], 1, 30));
  EXPECT_EQ(p->PreviousAction().serial, first);
  EXPECT_EQ(p->PreviousAction().flags & kActionSucceeded, 0u) << "the interpreter's last result was false";
  // An empty action does not push out the previous one.
  p->SetCurrentAction(QueuedAction());
  EXPECT_EQ(p->PreviousAction().target, things[1]->GetId());
  EXPECT_EQ(p->Word(kPersonActionPriority), 0);
}

TEST_F(ActionQueue, PoppingTheHeadTellsItsTarget) {
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 50)));
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[1], 1, 50)));
  p->PopHeadAction();
  EXPECT_EQ(p->QueuedCount(), 1);
  EXPECT_EQ(p->GetQueuedAction(0)->target, things[1]->GetId());
  EXPECT_EQ(Dropped(things[0]), 1);
}

class StepAside : public ActionQueue {
 protected:
  void MakeMarker(bool withEntry) {
    ObjectDefinitionRecord record;
    record.SetGuid(kStepAsideGuid);
    record.SetWord(ObjectDefinitionRecord::kObjectType, 4);
    record.SetWord(ObjectDefinitionRecord::kStackSize, 8);
    record.SetFunctionEntry(kEntryMain, 4096);
    markerDefinition = std::make_unique<ObjectDefinition>(nullptr, nullptr, record, "Step Aside", 0, 128);
    markerDefinition->SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
    host.marker = markerDefinition.get();
    // Tables are per object: the marker's is given before it exists.
    if (withEntry) host.tables[static_cast<int16_t>(module.IdCount() + 1)].entries = {Interaction(kStepAsideEntryKey, "Step aside", 0x8)};
  }
  std::unique_ptr<ObjectDefinition> markerDefinition;
};

TEST_F(StepAside, AMarkerWithOneRoutingSlotIsMadeAndItsEntryQueued) {
  MakeMarker(true);
  const int32_t before = module.ObjectCount();
  ASSERT_TRUE(p->AskToStepAside(80));
  EXPECT_EQ(module.ObjectCount(), before + 1);
  ASSERT_EQ(p->QueuedCount(), 1);
  cXObject* marker = module.GetObjectById(p->GetQueuedAction(0)->target);
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->GetDefinition()->GetGUID(), kStepAsideGuid);
  ASSERT_EQ(marker->RoutingSlots().size(), 1u);
  const RoutingSlot& slot = marker->RoutingSlots()[0];
  EXPECT_EQ(slot.flags, 0x55 | 0x100 | 0x2000);
  EXPECT_EQ(slot.distances, (std::array<int32_t, 3>{16, 80, 16}));
  EXPECT_EQ(slot.facing, -3);
  EXPECT_EQ(slot.params[0], 1);
  EXPECT_EQ(p->GetQueuedAction(0)->priority, 80);
  EXPECT_TRUE(p->HasStepAsideAction());
  EXPECT_FALSE(p->AskToStepAside(80)) << "already stepping aside";
  EXPECT_EQ(module.ObjectCount(), before + 1);
}

TEST_F(StepAside, AFailedPushDeletesTheMarker) {
  MakeMarker(false);
  const int32_t before = module.ObjectCount();
  EXPECT_FALSE(p->AskToStepAside(80));
  EXPECT_EQ(module.ObjectCount(), before);
  EXPECT_EQ(p->QueuedCount(), 0);
  host.marker = nullptr;
  EXPECT_FALSE(p->AskToStepAside(80)) << "no marker definition";
}

TEST_F(StepAside, ASnapAsksThroughThePersonHookAtTheAskersPriority) {
  cXPerson* asker = MakePerson();
  MakeMarker(true);
  asker->SetCurrentAction(ActionOn(*asker, *things[0], 1, 65));
  iSnapPerson& hook = *p;
  ASSERT_TRUE(hook.RequestStepAside(*asker));
  ASSERT_EQ(p->QueuedCount(), 1);
  EXPECT_EQ(p->GetQueuedAction(0)->priority, 65);
  EXPECT_FALSE(hook.RequestStepAside(*asker)) << "already stepping aside";
}

}  // namespace
}  // namespace tova_test

namespace tova_test {
namespace {

TEST_F(ActionQueue, TheModuleReadsTheQueueForItsDump) {
  ASSERT_TRUE(p->PushAction(ActionOn(*p, *things[0], 1, 100)));
  QueuedAction renamed = ActionOn(*p, *things[1], 2, 50);
  renamed.SetName("Again, differently");
  ASSERT_TRUE(p->PushAction(renamed));
  const cXObject& asObject = *p;
  ASSERT_EQ(asObject.ActionQueueLength(), 2);
  const QueuedActionInfo first = asObject.DescribeQueuedAction(0);
  EXPECT_TRUE(first.present);
  EXPECT_EQ(first.name, "Use") << "the entry's name when none is set";
  EXPECT_EQ(first.target, things[0]->GetId());
  EXPECT_EQ(first.treeId, 4103);
  EXPECT_EQ(first.priority, 100);
  EXPECT_EQ(first.entryIndex, 1);
  EXPECT_EQ(asObject.DescribeQueuedAction(1).name, "Again, differently");
  EXPECT_FALSE(asObject.DescribeQueuedAction(2).present);
}

}  // namespace
}  // namespace tova_test
