// The person's own primitives run on a real frame of the person: motive
// changes, waiting for the player, looking and turning, walking to slots
// (through a recording motion), suits, the action autonomy found, the
// with-list test and reaching with a scripted animation.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

#include "AnimatorFixture.h"
#include "FakeLot.h"
#include "simulation/ObjectErrorCode.h"
#include "simulation/people/PersonMotion.h"

namespace tova_test {
namespace {

class RecordingMotion : public iPersonMotion {
 public:
  void LookAt(cXPerson&, int16_t object) override { looks.push_back(object); }
  void StartTurn(cXPerson& person) override { turns.push_back(person.PathPoints()); }
  bool TurnEnded(cXPerson&, int32_t& result) override {
    result = turnResult;
    return turnEnded;
  }
  int32_t RouteTo(cXPerson&, TreeStackFrame&, cXObject& target, const RoutingSlot& slot) override {
    routes.push_back({target.GetId(), slot});
    return routeResult;
  }
  int32_t ContinueRoute(cXPerson&, TreeStackFrame&) override {
    ++continued;
    return kPrimTrue;
  }
  std::vector<RoutingSlot>* SharedRoutingSlots() override { return shared.empty() ? nullptr : &shared; }

  std::vector<int16_t> looks;
  std::vector<std::vector<PathPoint>> turns;
  bool turnEnded = false;
  int32_t turnResult = 0;
  std::vector<std::pair<int16_t, RoutingSlot>> routes;
  int32_t routeResult = kPrimYield;
  int32_t continued = 0;
  std::vector<RoutingSlot> shared;
};

class PersonPrimitive : public AnimatorPractices {
 protected:
  void SetUp() override {
    AnimatorPractices::SetUp();
    SetPersonMotion(&motion);
    Trees("tree 4200 \"Wait\"\n params 4\n locals 2\nn0: Sleep 1 -> n0 n0\nend\n");
    ASSERT_TRUE(person->ResetAndPush(personDefinition->GetBehavior(), 4200));
    person->SetPosition({100, 100});
  }
  void TearDown() override {
    SetPersonMotion(nullptr);
    AnimatorPractices::TearDown();
  }
  TreeStackFrame& Frame() { return *person->CurrentFrame(); }
  // Runs the opcode with operand bytes 0-7.
  int32_t Run(uint16_t opcode, std::initializer_list<int> operands) {
    std::array<uint8_t, 12> bytes{};
    bytes[0] = static_cast<uint8_t>(opcode);
    bytes[1] = static_cast<uint8_t>(opcode >> 8);
    size_t k = 4;
    for (int b : operands) bytes[k++] = static_cast<uint8_t>(b);
    return person->RunPrimitive(Frame(), TreeNode(bytes.data()));
  }
  // The error code the run raises, 0 when it raises none.
  int32_t ErrorOf(uint16_t opcode, std::initializer_list<int> operands) {
    try {
      Run(opcode, operands);
    } catch (const ObjectError& e) {
      return e.code;
    }
    return 0;
  }
  cXObject* ThingAt(FinePoint at) {
    cXObject* o = MakeThing({Interaction(1, "Use")});
    o->SetPosition(at);
    return o;
  }

  RecordingMotion motion;
};

// ---- motive changes ----

TEST_F(PersonPrimitive, MotiveChangesArePerTickAndOnlyForChangeableMotives) {
  // 90 per hour from a literal, stop at 50 from a literal.
  EXPECT_EQ(Run(kPrimSetMotiveChange, {kOwnerLiteral, kOwnerLiteral, 15, 0, 90, 0, 50, 0}), kPrimTrue);
  ASSERT_EQ(person->MotiveChanges().size(), 1u);
  EXPECT_EQ(person->MotiveChanges()[0].motive, 15);
  EXPECT_FLOAT_EQ(person->MotiveChanges()[0].perTick, 0.05f);
  EXPECT_FLOAT_EQ(person->MotiveChanges()[0].stop, 50.0f);
  for (int motive : {0, 4, 10, 11, 13, 16}) {
    EXPECT_EQ(ErrorOf(kPrimSetMotiveChange, {kOwnerLiteral, kOwnerLiteral, motive, 0, 1, 0, 1, 0}), kErrBadMotive)
        << motive;
  }
  for (int motive : {5, 9, 14}) {
    EXPECT_EQ(ErrorOf(kPrimSetMotiveChange, {kOwnerLiteral, kOwnerLiteral, motive, 0, 1, 0, 1, 0}), 0) << motive;
  }
  EXPECT_EQ(person->MotiveChanges().size(), 4u);
  // Clearing ignores the motive.
  EXPECT_EQ(Run(kPrimSetMotiveChange, {0, 0, 11, 1, 0, 0, 0, 0}), kPrimTrue);
  EXPECT_TRUE(person->MotiveChanges().empty());
}

// ---- waiting for the player ----

TEST_F(PersonPrimitive, IdleCountsDownThenEndsAndClearsTheWaitingMark) {
  person->SetData(kDataFlags, 0x40);
  Frame().Locals()[1] = 3;
  std::vector<int32_t> results;
  for (int i = 0; i < 4; ++i) results.push_back(Run(kPrimIdleForInput, {1, 0, 1, 0}));
  EXPECT_EQ(results, (std::vector<int32_t>{kPrimYield, kPrimYield, kPrimYield, kPrimTrue}));
  EXPECT_EQ(person->GetData(kDataFlags) & 0x40, 0);
  EXPECT_EQ(ErrorOf(kPrimIdleForInput, {2, 0, 1, 0}), kErrStackNumberOutOfRange);
  EXPECT_EQ(ErrorOf(kPrimIdleForInput, {0xFF, 0xFF, 1, 0}), kErrStackNumberOutOfRange);
}

TEST_F(PersonPrimitive, IdleStartsAnAvailableWaitingAction) {
  cXObject* thing = ThingAt({40, 40});
  QueuedAction action = ActionOn(*person, *thing, 1, 100);
  action.SetParameters(7, 8, 9, 10);
  ASSERT_TRUE(person->PushAction(action));
  ASSERT_TRUE(person->ShouldInterrupt());
  // Without pushing allowed the person only waits.
  EXPECT_EQ(Run(kPrimIdleForInput, {0, 0, 0, 0}), kPrimTrue);
  EXPECT_NE(person->GetData(kDataFlags) & 0x40, 0);
  EXPECT_EQ(person->QueuedCount(), 1);

  Frame().Locals()[0] = 5;
  const int32_t depth = person->FrameCount();
  EXPECT_EQ(Run(kPrimIdleForInput, {0, 0, 1, 0}), kPrimAgain);
  ASSERT_EQ(person->FrameCount(), depth + 1);
  EXPECT_EQ(person->CurrentFrame()->TreeId(), 4103);
  EXPECT_EQ(person->CurrentFrame()->stackObject, thing->GetId());
  EXPECT_EQ(person->CurrentFrame()->Params()[0], 7);
  EXPECT_EQ(person->CurrentFrame()->Params()[3], 10);
  TreeStackFrame* caller = person->FrameAt(depth - 1);
  EXPECT_EQ(caller->Locals()[0], 0);
  EXPECT_EQ(caller->primitiveState, 1);
  EXPECT_EQ(person->CurrentAction().target, thing->GetId());
  EXPECT_EQ(person->QueuedCount(), 0);
  EXPECT_EQ(thing->Attributes()[0], 0) << "a started action is not dropped";
}

TEST_F(PersonPrimitive, IdleDropsAnUnavailableActionOnceAndTellsItsTarget) {
  // The entry's check tree refuses unless parameter 0 is 1.
  cXObject* thing = MakeThing({Interaction(1, "Use", 0, 0, 4104)});
  ASSERT_TRUE(person->PushAction(ActionOn(*person, *thing, 1, 100)));
  const int32_t depth = person->FrameCount();
  EXPECT_EQ(Run(kPrimIdleForInput, {0, 0, 1, 0}), kPrimYield);
  EXPECT_EQ(person->FrameCount(), depth);
  EXPECT_EQ(person->QueuedCount(), 0);
  EXPECT_EQ(thing->Attributes()[0], 1);
}

// ---- looking and turning ----

TEST_F(PersonPrimitive, LookAwayFromAnObjectTwoTilesEastFacesWest) {
  cXObject* thing = ThingAt({132, 100});
  Frame().stackObject = thing->GetId();
  EXPECT_EQ(Run(kPrimLookTowards, {3, 0}), kPrimYield);
  ASSERT_EQ(motion.turns.size(), 1u);
  EXPECT_EQ(motion.turns[0], (std::vector<PathPoint>{{100, 100}, {100, 100}, {68, 100}}));
  EXPECT_EQ(Frame().primitiveState, 1);
  // The turn runs until the motion says it ended; a 0 result counts as 1.
  EXPECT_EQ(Run(kPrimLookTowards, {3, 0}), kPrimYield);
  motion.turnEnded = true;
  EXPECT_EQ(Run(kPrimLookTowards, {3, 0}), kPrimTrue);
  EXPECT_EQ(motion.turns.size(), 1u);
  // Mode 2 turns toward it.
  Frame().primitiveState = 0;
  EXPECT_EQ(Run(kPrimLookTowards, {2, 0}), kPrimYield);
  EXPECT_EQ(motion.turns[1].back(), (PathPoint{132, 100}));
}

TEST_F(PersonPrimitive, LookAtTheViewerStaysInsideTheWorld) {
  struct Case {
    FinePoint at;
    PathPoint target;
  } cases[] = {{{100, 100}, {116, 116}}, {{1020, 1015}, {1023, 1023}}};
  for (const Case& c : cases) {
    Frame().primitiveState = 0;
    person->SetPosition(c.at);
    EXPECT_EQ(Run(kPrimLookTowards, {1, 0}), kPrimYield);
    EXPECT_EQ(motion.turns.back().back(), c.target) << c.at.x;
  }
}

TEST_F(PersonPrimitive, LookModesErrorsAndSeatedPersons) {
  cXObject* thing = ThingAt({132, 100});
  Frame().stackObject = thing->GetId();
  EXPECT_EQ(Run(kPrimLookTowards, {0, 0}), kPrimTrue);
  EXPECT_EQ(motion.looks, std::vector<int16_t>{thing->GetId()});
  EXPECT_EQ(ErrorOf(kPrimLookTowards, {4, 0}), kErrBadLookTowardsParam);
  EXPECT_EQ(ErrorOf(kPrimLookTowards, {0xFF, 0xFF}), kErrBadLookTowardsParam);
  person->SetWord(kPersonPosture, 1);
  EXPECT_EQ(Run(kPrimLookTowards, {3, 0}), kPrimFalse);
  person->SetWord(kPersonPosture, 0);
  Frame().stackObject = 0;
  EXPECT_EQ(ErrorOf(kPrimLookTowards, {2, 0}), kErrNoStackObject);
  EXPECT_TRUE(motion.turns.empty());
}

// ---- walking to a routing slot ----

TEST_F(PersonPrimitive, RoutingSlotNumbersMustNameASlot) {
  cXObject* thing = ThingAt({132, 100});
  thing->RoutingSlots().resize(2);
  Frame().stackObject = thing->GetId();
  EXPECT_EQ(ErrorOf(kPrimGoToRoutingSlot, {2, 0, 1, 0}), kErrBadRoutingSlot) << "slot number equal to the count";
  Frame().Locals()[1] = -1;
  EXPECT_EQ(ErrorOf(kPrimGoToRoutingSlot, {1, 0, 0, 0}), kErrBadRoutingSlot) << "a negative local";
  EXPECT_EQ(ErrorOf(kPrimGoToRoutingSlot, {7, 0, 0, 0}), kErrStackNumberOutOfRange);
  EXPECT_EQ(ErrorOf(kPrimGoToRoutingSlot, {0, 0, 3, 0}), kErrBadRoutingSlot) << "unknown source";
  EXPECT_EQ(ErrorOf(kPrimGoToRoutingSlot, {0, 0, 2, 0}), kErrBadRoutingSlot) << "no shared slots";
  Frame().stackObject = 999;
  EXPECT_EQ(ErrorOf(kPrimGoToRoutingSlot, {0, 0, 1, 0}), kErrRoutingObjectMissing);
  EXPECT_TRUE(motion.routes.empty());
}

TEST_F(PersonPrimitive, RoutingToASlotRewritesItsFeedbackFlagThenContinues) {
  cXObject* thing = ThingAt({132, 100});
  thing->RoutingSlots().resize(2);
  thing->RoutingSlots()[1].flags = 0x4001;
  Frame().stackObject = thing->GetId();
  Frame().Locals()[0] = 1;
  // Byte 4 bit 0 set: the feedback flag stays off.
  EXPECT_EQ(Run(kPrimGoToRoutingSlot, {0, 0, 0, 0, 1, 0}), kPrimYield);
  EXPECT_EQ(thing->RoutingSlots()[1].flags, 0x0001);
  ASSERT_EQ(motion.routes.size(), 1u);
  EXPECT_EQ(motion.routes[0].first, thing->GetId());
  EXPECT_EQ(motion.routes[0].second.flags, 0x0001);
  EXPECT_EQ(Frame().primitiveState, 1);
  EXPECT_EQ(Run(kPrimGoToRoutingSlot, {0, 0, 0, 0, 1, 0}), kPrimTrue);
  EXPECT_EQ(motion.continued, 1);
  // Shared slots by index, the flag set again.
  Frame().primitiveState = 0;
  motion.shared.resize(3);
  EXPECT_EQ(Run(kPrimGoToRoutingSlot, {2, 0, 2, 0, 0, 0}), kPrimYield);
  EXPECT_EQ(motion.shared[2].flags, 0x4000);
}

TEST_F(PersonPrimitive, RelativePositionSlots) {
  cXObject* thing = ThingAt({132, 100});
  struct Case {
    int direction, facing, options;
    int32_t flags;
    std::array<int32_t, 3> distances;
    int32_t facingCode;
  } cases[] = {
      {4, 0xFE, 0, 0x4000 | 0x10, {16, 16, 16}, -2},
      {0xFF, 0xFF, 2, 0x55, {16, 32, 16}, -3},
      {0xFE, 5, 6, 0x8000, {16, 16, 16}, 5},
      {0, 7, 4, 0xC001, {16, 16, 16}, 7},
  };
  for (const Case& c : cases) {
    Frame().stackObject = thing->GetId();
    Frame().primitiveState = 0;
    ASSERT_EQ(Run(kPrimGoToRelativePosition, {0, 0, c.direction, c.facing, 0, 0, c.options, 0}), kPrimYield);
    const RoutingSlot& slot = motion.routes.back().second;
    EXPECT_EQ(slot.flags, c.flags) << c.direction;
    EXPECT_EQ(slot.distances, c.distances) << c.direction;
    EXPECT_EQ(slot.facing, c.facingCode) << c.direction;
    EXPECT_EQ(slot.params[0], 1);
  }
  // A bad direction or facing writes the stack to the log and fails.
  const size_t routes = motion.routes.size();
  for (auto [direction, facing] : {std::pair{3, 0xFE}, std::pair{0xFD, 0xFE}, std::pair{0, 8}, std::pair{0, 0xFD}}) {
    Frame().primitiveState = 0;
    host.log.clear();
    EXPECT_EQ(Run(kPrimGoToRelativePosition, {0, 0, direction, facing, 0, 0, 0, 0}), kPrimFalse);
    EXPECT_FALSE(host.log.empty());
  }
  EXPECT_EQ(motion.routes.size(), routes);
}

// ---- suits ----

TEST_F(PersonPrimitive, SuitsByLocation) {
  own.SetStrings(304, {"hat", ""});
  EXPECT_EQ(Run(kPrimChangeSuit, {4, 1, 0}), kPrimTrue);
  EXPECT_EQ(person->Word(kPersonOutfit), 4);
  EXPECT_EQ(Run(kPrimChangeSuit, {6, 1, 1}), kPrimTrue);
  EXPECT_EQ(person->Word(kPersonOutfit), 4) << "removing by number leaves the outfit";
  EXPECT_EQ(Run(kPrimChangeSuit, {0, 2, 0}), kPrimTrue);
  EXPECT_EQ(animator->extraDressings, (std::vector<Dressing>{{"hat!", ""}}));
  EXPECT_EQ(body->worn.back(), "hat!||0");
  EXPECT_EQ(Run(kPrimChangeSuit, {0, 2, 1}), kPrimTrue);
  EXPECT_TRUE(animator->extraDressings.empty());
  EXPECT_EQ(body->takenOff.back(), "hat!");
  EXPECT_EQ(ErrorOf(kPrimChangeSuit, {1, 2, 0}), kErrBadSuitIndex) << "an empty name";
  EXPECT_EQ(ErrorOf(kPrimChangeSuit, {9, 2, 0}), kErrBadSuitIndex) << "no such name";
  EXPECT_EQ(ErrorOf(kPrimChangeSuit, {0, 0, 0}), kErrBadSuitIndex) << "the global file has no suits";
  EXPECT_EQ(ErrorOf(kPrimChangeSuit, {0, 3, 0}), kErrBadSuitLocation);
}

// ---- the action autonomy found, and the with-list ----

TEST_F(PersonPrimitive, QueueFoundActionPushesTheChosenEntry) {
  EXPECT_EQ(ErrorOf(kPrimQueueFoundAction, {}), kErrNoStackObject);
  cXObject* thing = ThingAt({40, 40});
  Frame().stackObject = thing->GetId();
  person->SetData(kDataChosenInteraction, 7);
  EXPECT_EQ(ErrorOf(kPrimQueueFoundAction, {}), kErrNoTreeTableEntry);
  person->SetData(kDataChosenInteraction, 1);
  EXPECT_EQ(Run(kPrimTestWithStackObject, {}), kPrimFalse);
  const int32_t depth = person->FrameCount();
  EXPECT_EQ(Run(kPrimQueueFoundAction, {}), kPrimAgain);
  ASSERT_EQ(person->FrameCount(), depth + 1);
  EXPECT_EQ(person->CurrentFrame()->TreeId(), 4103);
  EXPECT_EQ(person->CurrentFrame()->stackObject, thing->GetId());
  const QueuedAction& current = person->CurrentAction();
  EXPECT_EQ(current.kind, kActionForEntry);
  EXPECT_EQ(current.actor, person->GetId());
  EXPECT_EQ(current.target, thing->GetId());
  EXPECT_EQ(current.entryKey, 1);
  EXPECT_EQ(current.priority, 2);
  // The pushed call put the thing on the with-list.
  EXPECT_EQ(Run(kPrimTestWithStackObject, {}), kPrimTrue);
  // An object without a table, and one that is gone.
  cXObject* bare = Make<cXObject>();
  Frame().stackObject = bare->GetId();
  EXPECT_EQ(Run(kPrimQueueFoundAction, {}), kPrimFalse);
  Frame().stackObject = 999;
  EXPECT_EQ(Run(kPrimQueueFoundAction, {}), kPrimFalse);
}

// ---- reaching ----

class PersonReach : public PersonPrimitive {
 protected:
  void SetUp() override {
    PersonPrimitive::SetUp();
    StringSet reach;
    for (int i = 0; i <= 10; ++i) reach.SetString(i + 1, ("reach" + std::to_string(i)).c_str());
    ASSERT_EQ(reach.SaveTo(&file, 154), 0);
    AnimNameTables::Instance().Load(&file);
    library.Add("reach9");
  }
};

TEST_F(PersonReach, WithoutAnObjectTheStatesFollowTheAnimation) {
  // Mode 2: no object, height -1 (reach 9).
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimYield);
  EXPECT_EQ(Frame().primitiveState, 1);
  ASSERT_NE(animator->mainPractice, nullptr);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), "reach9");
  // Nothing came yet.
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimYield);
  EXPECT_EQ(Frame().primitiveState, 1);
  // The contact event.
  animator->QueueEvent(1);
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimYield);
  EXPECT_EQ(Frame().primitiveState, 2);
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimYield) << "until the animation ends";
  animator->mainPractice->finished = true;
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimTrue);
  EXPECT_EQ(animator->mainPractice, nullptr);
}

TEST_F(PersonReach, AGrabMovesTheObjectIntoTheHandAndRunsItsGrabTree) {
  // A shelf and the person each have one object slot (kind 1); the slot
  // stands 0.3 high, a reach at 0.9 (reach 3).
  SlotDescriptor slot;
  slot.type = kSlotObject;
  slot.z = 0.3f;
  slot.heightClass = 1;
  own.Add(kTypeSLOT, 200, MakeSlotRecord({slot}), "One slot");
  Trees("tree 4300 \"CT - Grab\"\n params 4\nn0: " + Expr(kOwnerStackObjAttribute, 3, 5, kOwnerLiteral, 7) +
        " -> true true\nend\n");
  library.Add("reach3");
  ObjectDefinitionRecord record = definition->GetRecord();
  record.SetWord(ObjectDefinitionRecord::kSlotId, 200);
  ObjectDefinition shelfDefinition(nullptr, nullptr, record, "Shelf", 0, 128);
  shelfDefinition.SetBehavior(std::make_unique<Behavior>(nullptr, &global, &own, &semi));
  auto made = std::make_unique<cXObject>(&shelfDefinition, &module);
  cXObject* shelf = made.get();
  shelf->InitFromDefinition();
  module.AddObject(std::move(made), 0, true);
  shelf->SetPosition({120, 100});
  FakeWorld lot;
  FakeView view;
  module.SetLot(&lot, &view);
  personDefinition->GetRecord().SetWord(ObjectDefinitionRecord::kSlotId, 200);
  person->InitFromDefinition();
  person->SetPosition({100, 100});
  ASSERT_TRUE(person->ResetAndPush(personDefinition->GetBehavior(), 4200));
  cXObject* thing = Make<cXObject>();
  thing->SetData(kDataSlotKinds, 1);
  thing->SetData(kDataPlacement, kPlaceOnGround);
  thing->Place(shelf->GetPosition(), 1, shelf, 0);
  ASSERT_EQ(shelf->GetObjectInSlot(0), thing);
  Frame().stackObject = thing->GetId();

  // Grab, moving the object.
  EXPECT_EQ(Run(kPrimReach, {0, 0, 1, 0, 0, 0}), kPrimYield);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), "reach3");
  animator->QueueEvent(1);
  EXPECT_EQ(Run(kPrimReach, {0, 0, 1, 0, 0, 0}), kPrimYield);
  EXPECT_EQ(Frame().primitiveState, 2);
  EXPECT_EQ(person->GetObjectInSlot(0), thing);
  EXPECT_EQ(shelf->GetObjectInSlot(0), nullptr);
  EXPECT_EQ(thing->Attributes()[3], 7) << "the grab tree ran with the object";
  animator->mainPractice->finished = true;
  EXPECT_EQ(Run(kPrimReach, {0, 0, 1, 0, 0, 0}), kPrimTrue);

  // Put it back into the shelf's slot named by local 1; a full slot fails.
  cXObject* other = Make<cXObject>();
  other->SetData(kDataSlotKinds, 1);
  other->SetData(kDataPlacement, kPlaceOnGround);
  Frame().stackObject = shelf->GetId();
  Frame().primitiveState = 0;
  Frame().Locals()[1] = 0;
  other->Place(shelf->GetPosition(), 1, shelf, 0);
  EXPECT_EQ(Run(kPrimReach, {1, 0, 1, 0, 1, 0}), kPrimYield);
  animator->mainPractice->finished = true;
  EXPECT_EQ(Run(kPrimReach, {1, 0, 1, 0, 1, 0}), kPrimYield);
  EXPECT_EQ(Frame().primitiveState, 3) << "the slot is taken";
  EXPECT_EQ(Run(kPrimReach, {1, 0, 1, 0, 1, 0}), kPrimFalse);
  EXPECT_EQ(person->GetObjectInSlot(0), thing);
  module.Clear();
  module.SetLot(nullptr, nullptr);
}

TEST_F(PersonReach, AFailedStateEndsFalseAndMissingTargetsFail) {
  Frame().primitiveState = 3;
  animator->StartReachAnimation(-1, true);
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimYield);
  animator->mainPractice->finished = true;
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimFalse);
  // A grab of an object no container holds, and a put with nothing held.
  cXObject* thing = ThingAt({40, 40});
  Frame().stackObject = thing->GetId();
  for (int mode : {0, 1}) {
    Frame().primitiveState = 0;
    EXPECT_EQ(Run(kPrimReach, {mode, 0, 0, 0, 0, 0}), kPrimFalse) << mode;
  }
  EXPECT_EQ(ErrorOf(kPrimReach, {1, 0, 0, 0, 9, 0}), kErrStackNumberOutOfRange);
  // A reach that cannot start: true unless the object was to be moved.
  Frame().primitiveState = 0;
  person->SetWord(kPersonPosture, 1);  // seated: reach 10, which has no skill
  EXPECT_EQ(Run(kPrimReach, {2, 0, 0, 0, 0, 0}), kPrimTrue);
}

}  // namespace
}  // namespace tova_test
