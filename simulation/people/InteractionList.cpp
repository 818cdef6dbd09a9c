#include "simulation/people/InteractionList.h"

#include <algorithm>

#include "gamedata/TreeTableData.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int16_t kObjectNotOffered = 0x200;

// The list being built and the action being evaluated for it.
struct Building {
  std::vector<QueuedAction>* out = nullptr;
  QueuedAction* evaluating = nullptr;
  int32_t added = 0;
};
Building building;

cXObject* LeadOf(cXObject* object) {
  if (object == nullptr || !object->IsGroupPart()) return object;
  std::vector<cXObject*> group;
  object->GetGroup(group);
  return group.empty() ? object : group.front();
}

}  // namespace

int32_t EntryAutonomyLevel(const TreeTableEntry& entry) { return entry.tuningMark; }

InteractionList::InteractionList(cXPerson& person, cXObject* object, bool autonomous)
    : person_(person), object_(LeadOf(object)), autonomous_(autonomous) {}

InteractionList::~InteractionList() { FlushToTarget(); }

void InteractionList::FlushToTarget() {
  if (savedFrom_ == nullptr) return;
  std::copy(savedTemps_.begin(), savedTemps_.end(), savedFrom_->Temps());
  savedFrom_ = nullptr;
}

bool InteractionList::IsBuildingInteractionList() { return building.out != nullptr && building.evaluating != nullptr; }

bool InteractionList::AddInteractionToCurrentList(const std::string& name, const int16_t params[4]) {
  if (!IsBuildingInteractionList()) return false;
  QueuedAction copy = *building.evaluating;
  copy.name = name;
  copy.SetParameters(params[0], params[1], params[2], params[3]);
  copy.flags = (copy.flags | kActionEvaluated | kActionAvailable) & ~kActionHasReason;
  building.out->push_back(std::move(copy));
  ++building.added;
  return true;
}

uint32_t InteractionList::AddEntry(QueuedAction& action, TreeTableEntry* scratch) {
  iPeopleHost& host = PeopleHost();
  action.flags = (action.flags | kActionEvaluated) & ~kActionAvailable;
  ObjectModule* module = person_.GetModule();
  cXObject* target = module != nullptr && action.target != 0 ? LeadOf(module->GetObjectById(action.target)) : nullptr;
  if (target == nullptr) return action.flags;
  TreeTableData* table = host.GetTreeTable(*target);
  const TreeTableEntry* entry = table != nullptr ? table->FindByNumber(action.entryKey) : nullptr;
  if (entry == nullptr) return 0;
  person_.MenuReason() = 0;

  const int16_t objectFlags = target->GetData(kDataFlags);
  bool available;
  if ((objectFlags & kFlagInUse) && (autonomous_ || !host.AllowInUse())) {
    available = false;
  } else if (objectFlags & kObjectNotOffered) {
    available = false;
  } else if (autonomous_ && target->GetData(kDataUseCount) > 0) {
    available = false;
  } else {
    available = (entry->flags & kEntryVisitorMay) != 0 || !person_.IsVisitor();
  }
  if (person_.IsChild()) {
    if (host.DemoMode() ? !(entry->flags & kEntryChildDemo) : (entry->flags & kEntryNotForChildren) != 0) {
      available = false;
    }
  } else if (entry->flags & kEntryNotForAdults) {
    available = false;
  }

  if (available && entry->checkTree != 0) {
    if (savedFrom_ == nullptr) {
      std::copy(person_.Temps(), person_.Temps() + savedTemps_.size(), savedTemps_.begin());
      savedFrom_ = &person_;
    }
    available = person_.RunTree(target->GetBehavior(), target->GetId(), entry->checkTree, action.params);
    if (host.AllMenus() || host.SoundGuys()) {
      available = true;
      person_.MenuReason() = 0;
    }
  }

  if (available && scratch != nullptr) {
    *scratch = *entry;
    if (target->GetData(kDataRoom) != person_.GetData(kDataRoom) && scratch->motives.size() > kMotiveRoom) {
      MotiveEntry& room = scratch->motives[kMotiveRoom];
      room.range = static_cast<int16_t>(-room.base);
    }
  }
  if (available) action.flags |= kActionAvailable;
  if (person_.MenuReason() != 0) action.flags |= kActionHasReason;
  return action.flags;
}

void InteractionList::Offer(QueuedAction action, std::vector<QueuedAction>& out) {
  const Building kept = building;
  building = {&out, &action, 0};
  const uint32_t flags = AddEntry(action);
  const int32_t added = building.added;
  building = kept;
  if (added == 0 && (flags & kActionAvailable) && !(flags & kActionHasReason)) out.push_back(std::move(action));
}

void InteractionList::BuildList(std::vector<QueuedAction>& out) {
  if (object_ == nullptr) return;
  iPeopleHost& host = PeopleHost();
  TreeTableData* table = host.GetTreeTable(*object_);
  ObjectModule* module = person_.GetModule();
  cXPerson* other = object_ != &person_ && object_->IsPerson() ? static_cast<cXPerson*>(object_) : nullptr;
  if (!autonomous_) {
    if (table != nullptr) {
      for (const TreeTableEntry& e : table->entries) {
        Offer(QueuedAction::ForEntry(person_, object_, e.nameIndex, 50), out);
      }
    }
    const TreeTableEntry* running = module != nullptr ? person_.CurrentAction().GetTreeTableEntry(*module) : nullptr;
    if (other != nullptr && running != nullptr && (running->flags & kEntryJoinable)) {
      Offer(QueuedAction::FromPersonAction(*other, person_), out);
    }
    return;
  }
  if (host.AllMenus()) return;
  if (table != nullptr) {
    for (auto it = table->entries.rbegin(); it != table->entries.rend(); ++it) {
      const TreeTableEntry& e = *it;
      if (person_.IsVisitor() && !(e.flags & kEntryVisitorMay)) continue;
      if (person_.IsChild() ? (e.flags & kEntryNotForChildren) != 0 : (e.flags & kEntryNotForAdults) != 0) continue;
      if (e.flags & kEntryStarred) continue;
      if (EntryAutonomyLevel(e) > person_.Word(kPersonAutonomyLevel)) continue;
      Offer(QueuedAction::ForEntry(person_, object_, e.nameIndex, 0), out);
    }
  }
  const TreeTableEntry* joined = other != nullptr && module != nullptr ? other->CurrentAction().GetTreeTableEntry(*module) : nullptr;
  if (joined != nullptr && (joined->flags & kEntryJoinable)) Offer(QueuedAction::FromPersonAction(person_, *other), out);
}

}  // namespace tova
