// The person's action queue: pushing, cancelling, interrupting, starting
// and stepping aside.
#include <utility>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/TreeTableData.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/InteractionList.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kEntryImmediate = 0x4;
constexpr int32_t kEntryRepeatable = 0x8;
constexpr float kMotiveDesperate = -99;

// The immediate action running anywhere, and its person.
QueuedAction* immediateAction = nullptr;
cXPerson* immediatePerson = nullptr;

}  // namespace

QueuedAction* cXPerson::GetQueuedAction(int32_t n) {
  if (n < 0 || n >= QueuedCount()) return nullptr;
  return &Slot(head_ + static_cast<uint32_t>(n));
}

QueuedActionInfo cXPerson::DescribeQueuedAction(int32_t n) const {
  QueuedActionInfo info;
  const QueuedAction* a = const_cast<cXPerson*>(this)->GetQueuedAction(n);
  if (a == nullptr) return info;
  info.present = true;
  ObjectModule* module = GetModule();
  // The set name, else the entry's; reading it here leaves the action's
  // name-changed flag alone.
  info.name = a->GetSetName();
  if (info.name.empty() && module != nullptr) {
    if (const TreeTableEntry* e = a->GetTreeTableEntry(*module))
      info.name = (e->flags & TreeTableEntry::kFlagBangName) ? "*" + e->name : e->name;
  }
  info.target = a->target;
  info.treeId = a->actionTree;
  const cXObject* target = module != nullptr && a->target != 0 ? module->GetObjectById(a->target) : nullptr;
  if (target != nullptr && target->GetBehavior() != nullptr) info.treeName = target->GetBehavior()->GetTreeName(a->actionTree);
  info.priority = a->priority;
  info.entryIndex = a->entryKey;
  return info;
}

void cXPerson::TellTargetRemoved(const QueuedAction& action) {
  ObjectModule* module = GetModule();
  cXObject* target = module != nullptr && action.target != 0 ? module->GetObjectById(action.target) : nullptr;
  if (target != nullptr) target->RunEntryTree(kEntryActionRemoved, GetId(), GetId());
}

void cXPerson::RemoveQueued(int32_t n) {
  if (n < 0 || n >= QueuedCount()) return;
  const QueuedAction removed = std::move(Slot(head_ + static_cast<uint32_t>(n)));
  for (uint32_t c = head_ + static_cast<uint32_t>(n); c + 1 != tail_; ++c) Slot(c) = std::move(Slot(c + 1));
  --tail_;
  Slot(tail_) = QueuedAction();
  TellTargetRemoved(removed);
}

void cXPerson::ClearQueue() {
  while (QueuedCount() > 0) RemoveQueued(QueuedCount() - 1);
  head_ = tail_ = 0;
}

void cXPerson::PopHeadAction() { RemoveQueued(0); }

bool cXPerson::PushAction(const QueuedAction& pushed) {
  ObjectModule* module = GetModule();
  if (module == nullptr) return false;
  const TreeTableEntry* entry = pushed.GetTreeTableEntry(*module);
  if (entry == nullptr) return false;
  QueuedAction action = pushed;

  if (entry->flags & kEntryImmediate) {
    cXObject* target = module->GetObjectById(action.target);
    uint32_t flags = 0;
    {
      InteractionList list(*this, target, false);
      flags = list.AddEntry(action);
    }
    if (!(flags & kActionAvailable) || immediateAction != nullptr || target == nullptr) return false;
    immediateAction = &action;
    immediatePerson = this;
    const int16_t kept = Word(kPersonActionPriority);
    SetWord(kPersonActionPriority, static_cast<int16_t>(action.priority));
    RunTree(target->GetBehavior(), target->GetId(), action.actionTree, action.params);
    SetWord(kPersonActionPriority, kept);
    immediateAction = nullptr;
    immediatePerson = nullptr;
    action.AssignSerial();
    return true;
  }

  if (!(entry->flags & kEntryRepeatable)) {
    const QueuedAction& last = QueuedCount() > 0 ? *GetQueuedAction(QueuedCount() - 1) : current_;
    if (last.icon == action.icon && last.entryKey == action.entryKey) return false;
  }
  action.AssignSerial();

  if (!(action.flags & kActionAtHead)) {
    int32_t place = QueuedCount();
    while (place > 0 && GetQueuedAction(place - 1)->priority < action.priority) --place;
    while (QueuedCount() > place) RemoveQueued(QueuedCount() - 1);
    if (immediatePerson == this && immediateAction != nullptr && (action.flags & kActionRunningName)) {
      action.name = immediateAction->name;
    }
    if (QueuedCount() >= kQueueSize) return false;
    Slot(tail_++) = std::move(action);
    return true;
  }
  if (action.flags & kActionRunningName) action.name = current_.name;
  if (QueuedCount() >= kQueueSize) return false;
  Slot(--head_) = std::move(action);
  return true;
}

bool cXPerson::CancelAction(uint32_t serial) {
  if (serial == 0) return false;
  if (current_.serial == serial) {
    SetWord(kPersonActionPriority, 0);
    current_.flags |= kActionCancelled;
    if (ShouldInterrupt()) return true;
    QueuedAction interrupt = QueuedAction::ForEntry(*this, this, kInterruptEntryKey, 50);
    interrupt.icon = 0;
    PushAction(interrupt);
    return true;
  }
  bool removed = false;
  for (int32_t n = QueuedCount() - 1; n >= 0; --n) {
    if (GetQueuedAction(n)->serial == serial) {
      RemoveQueued(n);
      removed = true;
    }
  }
  return removed;
}

bool cXPerson::ShouldInterrupt() const {
  if (Word(kPersonNoInterrupt) != 0) return false;
  if (tail_ != head_) {
    const QueuedAction& head = ring_[head_ % kQueueSize];
    if (head.priority > Word(kPersonActionPriority) || (head.flags & kActionAtHead)) return true;
  }
  return motives_.current[kMotiveEnergy] < kMotiveDesperate || motives_.current[kMotiveHunger] < kMotiveDesperate ||
         motives_.current[kMotiveBladder] < kMotiveDesperate;
}

void cXPerson::SetCurrentAction(const QueuedAction& action) {
  if (current_.HasTarget()) {
    previous_ = current_;
    if (LastResult()) {
      previous_.flags |= kActionSucceeded;
    } else {
      previous_.flags &= ~kActionSucceeded;
    }
  }
  current_ = action;
  if (current_.HasTarget()) {
    SetWord(38, 0);
    SetWord(39, 0);
    current_.AssignSerial();
  }
  SetWord(kPersonActionPriority, static_cast<int16_t>(current_.priority));
  motiveChanges_.clear();
  if (Word(kPersonReplace) != 0) {
    SetWord(kPersonReplace, 0);
    if (IsOnLot()) Place(GetPosition(), GetLevel(), nullptr, 0);
  }
  SetWord(72, 0);
  SetWord(kPersonNoInterrupt, 0);
}

bool cXPerson::IsStepAsideAction(const QueuedAction& action) const {
  if (action.entryKey != kStepAsideEntryKey || action.target == 0 || GetModule() == nullptr) return false;
  const cXObject* target = GetModule()->GetObjectById(action.target);
  return target != nullptr && target->GetDefinition() != nullptr && target->GetDefinition()->GetGUID() == kStepAsideGuid;
}

bool cXPerson::HasStepAsideAction() {
  if (IsStepAsideAction(current_)) return true;
  for (int32_t n = 0; n < QueuedCount(); ++n) {
    if (IsStepAsideAction(*GetQueuedAction(n))) return true;
  }
  return false;
}

bool cXPerson::AskToStepAside(int32_t priority) {
  ObjectModule* module = GetModule();
  if (module == nullptr || HasStepAsideAction()) return false;
  ObjectDefinition* definition = PeopleHost().FindDefinition(*module, kStepAsideGuid);
  if (definition == nullptr) return false;
  const int16_t id = module->CreateObject(definition);
  cXObject* marker = id != 0 ? module->GetObjectById(id) : nullptr;
  if (marker == nullptr) return false;
  if (IsOnLot()) marker->Place(GetPosition(), GetLevel(), nullptr, 0);
  RoutingSlot slot;
  for (int d : {0, 2, 4, 6}) slot.EnableDirection(d);
  slot.flags |= 0x100 | 0x2000;
  slot.SetDistances(16, 80, 16);
  slot.SetFacingMode3();
  slot.params[0] = 1;
  std::vector<RoutingSlot>& slots = marker->RoutingSlots();
  if (slots.empty()) {
    slots.push_back(slot);
  } else {
    slots[0] = slot;
  }
  if (!PushAction(QueuedAction::ForEntry(*this, marker, kStepAsideEntryKey, priority))) {
    module->DeleteObject(id);
    return false;
  }
  return true;
}

}  // namespace tova
