#include "simulation/people/QueuedAction.h"

#include "gamedata/TreeTableData.h"
#include "resfile/ReconStream.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/AutonomyConstants.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

uint32_t serialCounter = 0;

TreeTableEntry* EntryOf(cXObject* target, int32_t key) {
  if (target == nullptr) return nullptr;
  TreeTableData* table = PeopleHost().GetTreeTable(*target);
  return table != nullptr ? table->FindByNumber(key) : nullptr;
}

void SerializeFlag(ReconStream& s, uint32_t& flags, uint32_t bit) {
  bool on = (flags & bit) != 0;
  s.SerializeBool(&on);
  flags = on ? (flags | bit) : (flags & ~bit);
}

}  // namespace

uint32_t QueuedAction::NextSerial() {
  if (++serialCounter == 0) ++serialCounter;
  return serialCounter;
}

uint32_t QueuedAction::SerialCounter() { return serialCounter; }
void QueuedAction::SetSerialCounter(uint32_t value) { serialCounter = value; }

QueuedAction QueuedAction::ForEntry(cXPerson& actor, cXObject* target, int32_t entryKey, int32_t priority) {
  QueuedAction a;
  a.kind = kActionForEntry;
  a.actor = actor.GetId();
  a.target = target != nullptr ? target->GetId() : 0;
  a.icon = a.target;
  a.entryKey = entryKey;
  a.priority = priority;
  if (const TreeTableEntry* e = EntryOf(target, entryKey)) {
    a.actionTree = e->actionTree;
    a.attenuation = AutonomyConstantsClient::Instance().Attenuation(*e, actor.IsVisitor());
    if (e->flags & 0x100) a.flags |= kActionEntryFlag100;
  }
  return a;
}

QueuedAction QueuedAction::FromPersonAction(cXPerson& actor, cXPerson& other) {
  QueuedAction a = other.CurrentAction();
  a.flags &= ~(kActionAtHead | kActionEvaluated);
  a.actor = actor.GetId();
  a.kind = kActionJoined;
  a.priority = 50;
  a.serial = 0;
  ObjectModule* module = actor.GetModule();
  cXObject* target = module != nullptr ? module->GetObjectById(a.target) : nullptr;
  const TreeTableEntry* entry = EntryOf(target, a.entryKey);
  const TreeTableEntry* next = entry != nullptr && entry->link != -1 ? EntryOf(target, entry->link) : nullptr;
  if (next != nullptr) {
    a.entryKey = next->nameIndex;
    a.actionTree = next->actionTree;
  } else {
    a.target = 0;
    a.name = "???";
  }
  return a;
}

void QueuedAction::SetParameters(int16_t a, int16_t b, int16_t c, int16_t d) {
  params[0] = a;
  params[1] = b;
  params[2] = c;
  params[3] = d;
}

TreeTableEntry* QueuedAction::GetTreeTableEntry(ObjectModule& module) const {
  return target != 0 ? EntryOf(module.GetObjectById(target), entryKey) : nullptr;
}

std::string QueuedAction::GetName(ObjectModule& module) {
  flags &= ~kActionNameChanged;
  if (!name.empty()) return name;
  const TreeTableEntry* e = GetTreeTableEntry(module);
  if (e == nullptr) return std::string();
  return (e->flags & TreeTableEntry::kFlagBangName) ? "*" + e->name : e->name;
}

void QueuedAction::SetName(const std::string& text) {
  name = text;
  flags |= kActionNameChanged;
}

void QueuedAction::AssignSerial() {
  if (serial == 0) serial = NextSerial();
}

bool QueuedAction::Transfer(ReconStream& s, int32_t version) {
  s.SerializeLongs(&kind, 1);
  s.SerializeLongs(&serial, 1);
  s.SerializeShorts(&actor, 1);
  s.SerializeShorts(&target, 1);
  s.SerializeShorts(&icon, 1);
  s.SerializeLongs(&entryKey, 1);
  s.SerializeShorts(params, 4);
  s.SerializeLongs(&priority, 1);
  s.SerializeShorts(&actionTree, 1);
  s.SerializeFloats(&attenuation, 1);
  if (version >= 62) {
    s.SerializeLongs(&flags, 1);
  } else {
    SerializeFlag(s, flags, kActionEvaluated);
    SerializeFlag(s, flags, kActionSucceeded);
    if (flags & kActionEvaluated) {
      SerializeFlag(s, flags, kActionAvailable);
      SerializeFlag(s, flags, kActionHasReason);
    }
    if (version >= 60) SerializeFlag(s, flags, kActionAtHead);
  }
  if (s.Failed()) return false;
  if (s.IsReading() && serial > serialCounter) serialCounter = serial;
  return true;
}

}  // namespace tova
