// The primitives only a person runs: suits, waiting for the player, turning
// and looking, walking to a place beside an object, motive changes, the
// action autonomy found, the with-list test and reaching for objects.
#include <algorithm>
#include <string>

#include "gamedata/Behavior.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ResourceSource.h"
#include "gamedata/TreeTableData.h"
#include "simulation/ObjectErrorReport.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/people/InteractionList.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/PersonMotion.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

iPersonMotion gStill;
iPersonMotion* gMotion = &gStill;

constexpr int16_t kSuitNames = 304;
constexpr int16_t kWaitingForInput = 0x40;
constexpr int32_t kTicksPerGameHour = 1800;
constexpr int32_t kFoundActionPriority = 2;
constexpr int32_t kRouteFeedback = 0x4000;
constexpr int32_t kNoLevelTest = 0x8000;
// The fine grid of the 64-tile world.
constexpr int32_t kFineGrid = 64 * 16;

int16_t& LocalAt(TreeStackFrame& frame, int32_t index) {
  if (index < 0 || index >= frame.localCount) RaiseObjectError(kErrStackNumberOutOfRange);
  return frame.Locals()[index];
}

// Turns a fine point by quarter turns inside the 64-tile world.
FinePoint TurnFine(FinePoint p, int32_t quarterTurns) {
  const int32_t m = kFineGrid - 1;
  switch (quarterTurns & 3) {
    case 1: return {m - p.y, p.x};
    case 2: return {m - p.x, m - p.y};
    case 3: return {p.y, m - p.x};
    default: return p;
  }
}

}  // namespace

iPersonMotion& PersonMotion() { return *gMotion; }
void SetPersonMotion(iPersonMotion* motion) { gMotion = motion != nullptr ? motion : &gStill; }

struct PersonPrimitives {
  static int32_t ChangeSuit(cXPerson& p, TreeNode node);
  static int32_t IdleForInput(cXPerson& p, TreeStackFrame& frame, TreeNode node);
  static int32_t LookTowards(cXPerson& p, TreeStackFrame& frame, TreeNode node);
  static int32_t GoToRelativePosition(cXPerson& p, TreeStackFrame& frame, TreeNode node);
  static int32_t SetMotiveChange(cXPerson& p, TreeNode node);
  static int32_t QueueFoundAction(cXPerson& p, TreeStackFrame& frame);
  static int32_t GoToRoutingSlot(cXPerson& p, TreeStackFrame& frame, TreeNode node);
  static int32_t Reach(cXPerson& p, TreeStackFrame& frame, TreeNode node);
  static int32_t Route(cXPerson& p, TreeStackFrame& frame, cXObject& target, const RoutingSlot& slot);
  static void SetWaiting(cXPerson& p, bool on) {
    const int16_t flags = p.GetData(kDataFlags);
    p.SetData(kDataFlags, static_cast<int16_t>(on ? flags | kWaitingForInput : flags & ~kWaitingForInput));
  }
};

bool cXPerson::RunPersonPrimitive(TreeStackFrame& frame, TreeNode node, int32_t& result) {
  switch (node.Opcode()) {
    case kPrimChangeSuit: result = PersonPrimitives::ChangeSuit(*this, node); return true;
    case kPrimIdleForInput: result = PersonPrimitives::IdleForInput(*this, frame, node); return true;
    case kPrimLookTowards: result = PersonPrimitives::LookTowards(*this, frame, node); return true;
    case kPrimGoToRelativePosition: result = PersonPrimitives::GoToRelativePosition(*this, frame, node); return true;
    case kPrimSetMotiveChange: result = PersonPrimitives::SetMotiveChange(*this, node); return true;
    case kPrimQueueFoundAction: result = PersonPrimitives::QueueFoundAction(*this, frame); return true;
    case kPrimTestWithStackObject: {
      const auto& with = withList_;
      result = std::any_of(with.begin(), with.end(), [&](const WithRecord& w) { return w.object == frame.stackObject; })
                   ? kPrimTrue
                   : kPrimFalse;
      return true;
    }
    case kPrimGoToRoutingSlot: result = PersonPrimitives::GoToRoutingSlot(*this, frame, node); return true;
    case kPrimReach: result = PersonPrimitives::Reach(*this, frame, node); return true;
    default: return false;
  }
}

QueuedAction cXPerson::TakeHeadAction() {
  if (QueuedCount() == 0) return {};
  QueuedAction head = Slot(head_);
  // With no target left in its place, the removal tells nobody.
  Slot(head_).target = 0;
  RemoveQueued(0);
  return head;
}

int32_t PersonPrimitives::ChangeSuit(cXPerson& p, TreeNode node) {
  const int32_t index = NodeOperandByte(node, 0);
  const int32_t location = NodeOperandByte(node, 1);
  const bool remove = (NodeOperandByte(node, 2) & 1) != 0;
  if (location == 1) {
    if (!remove) p.SetWord(kPersonOutfit, static_cast<int16_t>(index));
    return kPrimTrue;
  }
  Behavior* behavior = p.GetBehavior();
  ResourceSource* file = nullptr;
  if (behavior != nullptr && location == 0) file = behavior->GlobalFile();
  if (behavior != nullptr && location == 2) file = behavior->OwnFile();
  if (file == nullptr) RaiseObjectError(kErrBadSuitLocation);
  const std::optional<std::string> raw = file->GetString(kSuitNames, index + 1);
  if (!raw || raw->empty()) RaiseObjectError(kErrBadSuitIndex);
  const std::string name = PeopleHost().NormalizeSuitName(p.GetDefinition(), *raw);
  if (name.empty()) RaiseObjectError(kErrBadSuitIndex);
  if (remove) {
    p.Animator().RemoveExtraDressing(name);
  } else {
    p.Animator().AddExtraDressing(name, std::string());
  }
  return kPrimTrue;
}

int32_t PersonPrimitives::IdleForInput(cXPerson& p, TreeStackFrame& frame, TreeNode node) {
  const int32_t countLocal = node.Operand(0);
  const bool allowPush = node.Operand(1) != 0;
  int16_t& count = LocalAt(frame, countLocal);
  if (!p.ShouldInterrupt()) {
    if (count != 0) {
      --count;
      return kPrimYield;
    }
    SetWaiting(p, false);
    return kPrimTrue;
  }
  SetWaiting(p, true);
  if (!allowPush || p.QueuedCount() == 0) return kPrimTrue;
  if (frame.primitiveState == 1 && (p.GetQueuedAction(0)->flags & kActionAtHead) == 0) return kPrimTrue;

  QueuedAction action = p.TakeHeadAction();
  ObjectModule* module = p.GetModule();
  cXObject* target = module != nullptr && action.target != 0 ? module->GetObjectById(action.target) : nullptr;
  if (target == nullptr) return kPrimYield;
  uint32_t flags = 0;
  {
    InteractionList list(p, target, false);
    flags = list.AddEntry(action);
  }
  // The push may move the frames: keep the caller's by its place.
  const int32_t frameIndex = p.FrameCount() - 1;
  if ((flags & kActionAvailable) != 0 && action.actionTree != 0 &&
      p.PushTreeCall(target->GetBehavior(), action.actionTree, target->GetId(), true)) {
    TreeStackFrame* pushed = p.CurrentFrame();
    for (int i = 0; i < 4 && i < pushed->paramCount; ++i) pushed->Params()[i] = action.params[i];
    p.SetCurrentAction(action);
    TreeStackFrame* caller = p.FrameAt(frameIndex);
    if (caller != nullptr && caller != pushed) {
      caller->Locals()[countLocal] = 0;
      caller->primitiveState = 1;
    }
    SetWaiting(p, true);
    return kPrimAgain;
  }
  p.TellTargetRemoved(action);
  return kPrimYield;
}

int32_t PersonPrimitives::LookTowards(cXPerson& p, TreeStackFrame& frame, TreeNode node) {
  const int32_t mode = node.Operand(0);
  if (mode < 0 || mode > 3) RaiseObjectError(kErrBadLookTowardsParam);
  if (mode == 0) {
    PersonMotion().LookAt(p, frame.stackObject);
    return kPrimTrue;
  }
  if (p.Word(kPersonPosture) != 0) return kPrimFalse;
  if (frame.primitiveState != 0) {
    int32_t result = kPrimTrue;
    if (!PersonMotion().TurnEnded(p, result)) return kPrimYield;
    return result == 0 ? kPrimTrue : result;
  }
  const FinePoint at = p.GetPosition();
  FinePoint target = at;
  if (mode == 1) {
    // One tile toward the viewer in both axes of the view, kept in the world.
    ObjectModule* module = p.GetModule();
    const int32_t rotation = module != nullptr && module->GetWorld() != nullptr ? module->GetWorld()->GetViewRotation() : 0;
    FinePoint view = TurnFine(at, rotation);
    view.x = std::clamp(view.x + 16, 0, kFineGrid - 1);
    view.y = std::clamp(view.y + 16, 0, kFineGrid - 1);
    target = TurnFine(view, -rotation);
  } else {
    ObjectModule* module = p.GetModule();
    cXObject* object = module != nullptr ? module->GetObjectById(frame.stackObject) : nullptr;
    if (object == nullptr) RaiseObjectError(kErrNoStackObject);
    const FinePoint o = object->GetPosition();
    target = mode == 2 ? o : FinePoint{2 * at.x - o.x, 2 * at.y - o.y};
  }
  p.PathPoints() = {{at.x, at.y}, {at.x, at.y}, {target.x, target.y}};
  PersonMotion().StartTurn(p);
  frame.primitiveState = 1;
  return kPrimYield;
}

int32_t PersonPrimitives::Route(cXPerson& p, TreeStackFrame& frame, cXObject& target, const RoutingSlot& slot) {
  frame.primitiveState = 1;
  return PersonMotion().RouteTo(p, frame, target, slot);
}

int32_t PersonPrimitives::GoToRelativePosition(cXPerson& p, TreeStackFrame& frame, TreeNode node) {
  if (frame.primitiveState != 0) return PersonMotion().ContinueRoute(p, frame);
  ObjectModule* module = p.GetModule();
  cXObject* object = module != nullptr ? module->GetObjectById(frame.stackObject) : nullptr;
  if (object == nullptr) RaiseObjectError(kErrNoStackObject);
  RoutingSlot slot;
  slot.params[0] = 1;
  slot.SetDistancesTiles(1, 1, 1);
  const uint8_t options = NodeOperandByte(node, 6);
  if ((options & 0x2) == 0) slot.flags |= kRouteFeedback;
  if ((options & 0x4) != 0) slot.flags |= kNoLevelTest;
  const int32_t direction = static_cast<int8_t>(NodeOperandByte(node, 2));
  const int32_t facing = static_cast<int8_t>(NodeOperandByte(node, 3));
  const bool goodDirection = direction == -1 || direction == -2 || (direction >= 0 && direction <= 6 && direction % 2 == 0);
  const bool goodFacing = facing >= -2 && facing <= 7;
  if (!goodDirection || !goodFacing) {
    std::string text;
    ObjectErrorReport::DumpStack(p, &text);
    PeopleHost().DebugLog(text);
    return kPrimFalse;
  }
  if (direction >= 0) slot.EnableDirection(direction);
  if (direction == -1) {
    for (int d : {0, 2, 4, 6}) slot.EnableDirection(d);
    slot.SetDistancesTiles(1, 2, 1);
  }
  if (facing == -2) slot.SetFacingDefault();
  if (facing == -1) slot.SetFacingMode3();
  if (facing >= 0) slot.SetFacing(facing);
  return Route(p, frame, *object, slot);
}

int32_t PersonPrimitives::SetMotiveChange(cXPerson& p, TreeNode node) {
  if ((NodeOperandByte(node, 3) & 1) != 0) {
    p.MotiveChanges().clear();
    return kPrimTrue;
  }
  const int32_t motive = NodeOperandByte(node, 2);
  const bool allowed = (motive >= 5 && motive <= 9) || motive == 14 || motive == 15;
  if (!allowed) RaiseObjectError(kErrBadMotive);
  const int16_t perHour = p.EvaluateVariable(NodeOperandByte(node, 0), node.Operand(2), nullptr, nullptr);
  const int16_t stop = p.EvaluateVariable(NodeOperandByte(node, 1), node.Operand(3), nullptr, nullptr);
  std::vector<MotiveChange>& changes = p.MotiveChanges();
  // The oldest change gives way when the list is full.
  if (changes.size() >= static_cast<size_t>(cXPerson::kMaxMotiveChanges)) changes.erase(changes.begin());
  changes.push_back({motive, static_cast<float>(perHour) / kTicksPerGameHour, static_cast<float>(stop)});
  return kPrimTrue;
}

int32_t PersonPrimitives::QueueFoundAction(cXPerson& p, TreeStackFrame& frame) {
  if (frame.stackObject == 0) RaiseObjectError(kErrNoStackObject);
  ObjectModule* module = p.GetModule();
  cXObject* object = module != nullptr ? module->GetObjectById(frame.stackObject) : nullptr;
  if (object == nullptr) return kPrimFalse;
  TreeTableData* table = PeopleHost().GetTreeTable(*object);
  if (table == nullptr) return kPrimFalse;
  const int32_t key = p.GetData(kDataChosenInteraction);
  const TreeTableEntry* entry = table->FindByNumber(key);
  if (entry == nullptr) RaiseObjectError(kErrNoTreeTableEntry);
  if (!p.PushTreeCall(object->GetBehavior(), entry->actionTree, object->GetId(), true)) return kPrimFalse;
  p.SetCurrentAction(QueuedAction::ForEntry(p, object, key, kFoundActionPriority));
  return kPrimAgain;
}

int32_t PersonPrimitives::GoToRoutingSlot(cXPerson& p, TreeStackFrame& frame, TreeNode node) {
  if (frame.primitiveState != 0) return PersonMotion().ContinueRoute(p, frame);
  ObjectModule* module = p.GetModule();
  cXObject* object = module != nullptr ? module->GetObjectById(frame.stackObject) : nullptr;
  if (object == nullptr) RaiseObjectError(kErrRoutingObjectMissing);
  const int32_t source = node.Operand(1);
  std::vector<RoutingSlot>* slots = &object->RoutingSlots();
  int32_t n = 0;
  switch (source) {
    case 0: n = LocalAt(frame, node.Operand(0)); break;
    case 1: n = node.Operand(0); break;
    case 2:
      n = node.Operand(0);
      slots = PersonMotion().SharedRoutingSlots();
      break;
    default: RaiseObjectError(kErrBadRoutingSlot);
  }
  // A number read from a local may be anything: only a slot that exists.
  if (slots == nullptr || n < 0 || n >= static_cast<int32_t>(slots->size())) RaiseObjectError(kErrBadRoutingSlot);
  RoutingSlot& slot = (*slots)[static_cast<size_t>(n)];
  slot.flags &= ~kRouteFeedback;
  if ((NodeOperandByte(node, 4) & 1) == 0) slot.flags |= kRouteFeedback;
  return Route(p, frame, *object, slot);
}

namespace {

enum ReachState : int32_t { kReachStart = 0, kReaching = 1, kReachDone = 2, kReachFailed = 3 };
enum ReachMode : int32_t { kGrab = 0, kPut = 1, kNoObject = 2 };

struct ReachTarget {
  bool found = false;
  cXObject* object = nullptr;
  cXObject* container = nullptr;
  int32_t slot = -1;
  float height = -1;
};

ReachTarget ResolveReach(cXPerson& p, TreeStackFrame& frame, TreeNode node) {
  ReachTarget t;
  ObjectModule* module = p.GetModule();
  const int32_t mode = node.Operand(0);
  if (mode == kNoObject) {
    t.found = true;
    return t;
  }
  if (module == nullptr) return t;
  if (mode == kGrab) {
    t.object = module->GetObjectById(frame.stackObject);
    if (t.object == nullptr) return t;
    t.container = t.object->GetContainer();
    // Position n of a container is its slot n - 1; 0 is its leading entry.
    t.slot = t.object->GetContainmentPosition() - 1;
  } else if (mode == kPut) {
    const int32_t slot = LocalAt(frame, node.Operand(2));
    t.object = p.GetObjectInSlot(0);
    t.container = module->GetObjectById(frame.stackObject);
    t.slot = slot;
  } else {
    return t;
  }
  if (t.object == nullptr || t.container == nullptr || t.slot < 0 || t.slot >= t.container->SlotCount()) return t;
  // Slot heights are altitudes; the reach table is laid out in thirds.
  t.height = t.container->SlotHeight(t.slot) * 3;
  t.found = true;
  return t;
}

}  // namespace

int32_t PersonPrimitives::Reach(cXPerson& p, TreeStackFrame& frame, TreeNode node) {
  const int32_t mode = node.Operand(0);
  const bool move = node.Operand(1) != 0 && mode != kNoObject;
  PersonAnimator& animator = p.Animator();
  switch (frame.primitiveState) {
    case kReachStart: {
      const ReachTarget t = ResolveReach(p, frame, node);
      if (!t.found) return kPrimFalse;
      if (!animator.StartReachAnimation(t.height, true)) return move ? kPrimFalse : kPrimTrue;
      frame.primitiveState = kReaching;
      return kPrimYield;
    }
    case kReaching: {
      int32_t event = 0;
      const bool contact = animator.PopEvent(event);
      if (!contact && !animator.IsMainDone()) return kPrimYield;
      const ReachTarget t = ResolveReach(p, frame, node);
      if (!t.found) return move ? kPrimFalse : kPrimTrue;
      if (!move) {
        frame.primitiveState = kReachDone;
        return kPrimYield;
      }
      cXObject* into = mode == kGrab ? static_cast<cXObject*>(&p) : t.container;
      const int32_t slot = mode == kGrab ? 0 : t.slot;
      if (!t.object->CanPlace(into->GetPosition(), into->GetLevel(), into, slot)) {
        frame.primitiveState = kReachFailed;
        return kPrimYield;
      }
      const int32_t frameIndex = p.FrameCount() - 1;
      t.object->Place(into->GetPosition(), into->GetLevel(), into, slot);
      const int16_t none[4] = {0, 0, 0, 0};
      p.RunTreeByName(t.object->GetBehavior(), t.object->GetId(), mode == kGrab ? "CT - Grab" : "CT - Put", none);
      // The tree's push may have moved the frames: reach this one by index.
      if (TreeStackFrame* caller = p.FrameAt(frameIndex)) caller->primitiveState = kReachDone;
      return kPrimYield;
    }
    case kReachDone:
    case kReachFailed:
      if (!animator.IsMainDone()) return kPrimYield;
      animator.StopMain();
      return frame.primitiveState == kReachDone ? kPrimTrue : kPrimFalse;
    default: return kPrimFalse;
  }
}

}  // namespace tova
