// The object module's dealings with the lot as a whole: the selected
// person, the global-call list, figures for the house and its rooms, the
// draw order, moving the lot, the "comeandsee" companions and the queue
// dump.
#include <algorithm>

#include "gamedata/AnimTable.h"
#include "gamedata/CommandIds.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"

namespace tova {

namespace {

constexpr int16_t kOutdoorRoom = -5;
constexpr uint32_t kSelectedState = 2;
constexpr int16_t kAutomaticType = 7;
constexpr int16_t kVisitedType = 4;
constexpr char kCompanionName[] = "comeandsee";

// A single object or the lead of a group (the figures count a group once).
bool IsLeadOrSingle(cXObject& o) {
  std::vector<cXObject*> group;
  o.GetGroup(group);
  return group.empty() || group.front() == &o;
}

int16_t DefinitionWord(const cXObject& o, int32_t byte) {
  return o.GetDefinition() ? o.GetDefinition()->GetRecord().Word(byte) : 0;
}

int16_t DefinitionType(const cXObject& o) { return DefinitionWord(o, ObjectDefinitionRecord::kObjectType); }

// The catalogue offers it (a filter mask) or build mode does (a category).
bool IsBuyable(const cXObject& o) {
  return DefinitionWord(o, ObjectDefinitionRecord::kCatalogMask1) != 0 ||
         DefinitionWord(o, ObjectDefinitionRecord::kCatalogMask2) != 0 ||
         DefinitionWord(o, ObjectDefinitionRecord::kCategory) != 0;
}

}  // namespace

// ---- selection ----

cXObject* ObjectModule::FindPersonByNeighbour(int16_t neighbourId) const {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->IsPerson() && o->GetNeighbourId() == neighbourId && !(o->GetStateFlags() & kStateBeingDeleted)) return o;
  }
  return nullptr;
}

cXObject* ObjectModule::FindFirstByGuid(uint32_t guid) const {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->GetDefinition() != nullptr && o->GetDefinition()->GetGUID() == guid) return o;
  }
  return nullptr;
}

void ObjectModule::SetSelectedPerson(cXObject* person) {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->IsPerson() && (o->GetStateFlags() & kStateMask) == kSelectedState) {
      o->SetStateFlags(o->GetStateFlags() & ~kStateMask);
    }
  }
  if (person != nullptr) person->SetStateFlags((person->GetStateFlags() & ~kStateMask) | kSelectedState);
  Broadcast(cmd::kSelectedPersonChanged, person ? person->GetId() : 0);
}

cXObject* ObjectModule::SelectNextPerson() {
  cXObject* selected = GetSelectedPerson();
  cXObject* next = nullptr;
  if (GetShell().FreeMode()) {
    std::vector<cXObject*> persons;
    for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
      if (o->IsPerson()) persons.push_back(o);
    }
    if (!persons.empty()) {
      const auto at = std::find(persons.begin(), persons.end(), selected);
      next = at == persons.end() || at + 1 == persons.end() ? persons.front() : *(at + 1);
    }
  } else if (!family_.empty()) {
    const size_t n = family_.size();
    size_t start = n - 1;  // without a selected member the first comes next
    if (selected != nullptr) {
      const auto at = std::find(family_.begin(), family_.end(), selected->GetNeighbourId());
      if (at != family_.end()) start = static_cast<size_t>(at - family_.begin());
    }
    for (size_t k = 1; k <= n && next == nullptr; ++k) next = FindPersonByNeighbour(family_[(start + k) % n]);
  }
  if (next != selected) SetSelectedPerson(next);
  return next;
}

// ---- the global-call list ----

void ObjectModule::AddGlobalCall(cXObject* object) {
  if (object == nullptr) return;
  globalCallList_.push_back(object);
  if (globalCallList_.size() == 1) Broadcast(cmd::kObjectModule, 0);
}

void ObjectModule::RemoveGlobalCall(cXObject* object) {
  const auto at = std::find(globalCallList_.begin(), globalCallList_.end(), object);
  if (at == globalCallList_.end()) return;
  globalCallList_.erase(at);
  if (globalCallList_.empty()) Broadcast(cmd::kObjectModule, 0);
}

// ---- figures ----

ObjectModule::HouseSummary ObjectModule::GetHouseSummary() const {
  HouseSummary summary;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (!IsLeadOrSingle(*o) || DefinitionType(*o) == kAutomaticType) continue;
    const int16_t valueClass = o->GetData(kDataValueClass);
    summary.valueClass1 |= valueClass == 1;
    summary.valueClass9 |= valueClass == 9;
    if (IsBuyable(*o) && o->IsOnLot() && world_ != nullptr &&
        (world_->GetTileFlags(o->GetTile()) & kLotTileNoPlacement) == 0) {
      summary.builtOnOpenTile = true;
    }
    const int16_t category = DefinitionWord(*o, ObjectDefinitionRecord::kCategory);
    if (o->IsPerson() || (category == 0 && (o->GetData(kDataMovement) & 0x10) == 0)) {
      summary.personAndPlainValue += o->GetSaleValue();
    }
    if (category != 0 && category != 4) summary.otherValue += o->GetSaleValue();
  }
  return summary;
}

ObjectModule::RoomValues ObjectModule::GetRoomValues(int32_t brokenPenalty, int32_t dirtyPenalty,
                                                     const std::function<bool(int16_t)>& isOutdoors) const {
  RoomValues values;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->GetData(kDataDepreciated) != 0) {
      values.upkeepPenalty += brokenPenalty;
    } else if (o->GetData(kDataRoomValue) > 0) {
      values.upkeepPenalty += dirtyPenalty;
    }
    // A group counts once, through its lead.
    if (!IsLeadOrSingle(*o) || DefinitionType(*o) == kAutomaticType || !IsBuyable(*o)) continue;
    ++values.countedObjects;
    const int32_t value = o->GetSaleValue();
    if (!o->IsOnLot() || value <= 0) continue;
    const int16_t room = o->GetData(kDataRoom);
    const bool outdoors = room == kOutdoorRoom || (isOutdoors && isOutdoors(room));
    (outdoors ? values.outdoorValue : values.indoorValue) += value;
  }
  return values;
}

// ---- the lot ----

const std::vector<cXObject*>& ObjectModule::GetDrawOrder() {
  const int32_t rotation = world_ ? world_->GetViewRotation() : 0;
  if (!drawOrderDirty_ && rotation == drawRotation_) return drawOrder_;
  drawOrder_.clear();
  const int32_t size = world_ ? world_->GetSize() : 0;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    const TileLocation t = o->GetTile();
    if (o->IsOnLot() && t.x >= 0 && t.y >= 0 && t.x < size && t.y < size) drawOrder_.push_back(o);
  }
  std::stable_sort(drawOrder_.begin(), drawOrder_.end(), [rotation](cXObject* a, cXObject* b) {
    return IsBehind(a->GetTile().Rotate(rotation), b->GetTile().Rotate(rotation));
  });
  drawOrderDirty_ = false;
  drawRotation_ = rotation;
  return drawOrder_;
}

void ObjectModule::Reposition(int32_t dx, int32_t dy) {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->PrepareForShift();
  const int32_t size = world_ ? world_->GetSize() : kLotGridSize;
  std::vector<int16_t> doomed;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (!o->IsOnLot()) continue;
    const FinePoint p = o->GetPosition();
    if (IsOnBorder(FinePoint{p.x + dx * 16, p.y + dy * 16}, size)) doomed.push_back(o->GetId());
  }
  // A doomed part takes its whole group with it.
  for (int16_t id : doomed) DeleteObject(id);
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->ShiftBy(dx, dy);
}

void ObjectModule::PlaceCompanions() {
  ObjectDefinition* companion = catalogue_ ? catalogue_->FindByName(kCompanionName) : nullptr;
  if (companion == nullptr) return;
  std::vector<int16_t> visited;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (DefinitionType(*o) == kVisitedType && IsLeadOrSingle(*o) && o->IsOnLot() && o->GetData(kDataHidden) == 0) {
      visited.push_back(o->GetId());
    }
  }
  for (int16_t id : visited) {
    cXObject* o = GetObjectById(id);
    if (o == nullptr) continue;
    cXObject* mate = nullptr;
    KeyedArrayList& keyed = o->KeyedArrays();
    for (int i = 0; i < keyed.GetCount() && mate == nullptr; ++i) {
      const int32_t key = keyed.GetIdAt(i);
      cXObject* candidate = key > 0 && key <= kMaxObjectId ? GetObjectById(static_cast<int16_t>(key)) : nullptr;
      if (candidate != nullptr && candidate->GetDefinition() == companion && keyed.GetSize(key) > 0 &&
          keyed.GetValue(key, 0) > 0) {
        mate = candidate;
      }
    }
    if (mate == nullptr) {
      if (o->AgeInMinutes() != 0) continue;
      mate = GetObjectById(CreateObject(companion));
      if (mate == nullptr) continue;
      keyed.AddArray(mate->GetId());
      keyed.SetSize(mate->GetId(), 1);
      keyed.SetValue(mate->GetId(), 0, 1);
    }
    const FinePoint centre = o->GroupCentre();
    if (mate->IsOnLot() && mate->GetPosition() == centre && mate->GetLevel() == o->GetLevel()) continue;
    mate->Place(centre, o->GetLevel(), nullptr, 0);
  }
}

void ObjectModule::DeleteCompanions() {
  std::vector<int16_t> doomed;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->GetDefinition() != nullptr && o->GetDefinition()->GetName() == kCompanionName) doomed.push_back(o->GetId());
  }
  for (int16_t id : doomed) DeleteObject(id);
}

int16_t ObjectModule::PortalWallPicture(TileLocation tile, int32_t side, ObjectDefinition** definition) const {
  if (definition != nullptr) *definition = nullptr;
  std::vector<cXObject*> here;
  ObjectsInCell(tile, here);
  for (cXObject* o : here) {
    if (!o->IsPortal() || o->GetWallSideMask() != side) continue;
    if (definition != nullptr) *definition = o->GetDefinition();
    return DefinitionWord(*o, ObjectDefinitionRecord::kWallPictureBase);
  }
  return 0;
}

bool ObjectModule::QueueInteraction(int16_t personId, int16_t objectId, int16_t index, int16_t flag) {
  cXObject* person = GetObjectById(personId);
  cXObject* object = GetObjectById(objectId);
  cXObject* special = GetObjectById(specialId_);
  if (person == nullptr || !person->IsPerson() || object == nullptr || special == nullptr) return false;
  AnimTable* anims = object->GetDefinition() ? object->GetDefinition()->GetAdultAnimTable() : nullptr;
  const int entries = anims ? anims->GetCount() : 0;
  if (index < 1 || index > entries - 1) return false;
  constexpr int32_t kInteractionPriority = 100;
  return person->QueueAction(*special, objectId, index, flag, kInteractionPriority);
}

void ObjectModule::ShowSituationInfo() {
  cXObject* o = tutorialObject_;
  Behavior* b = o ? o->GetBehavior() : nullptr;
  static const std::string kTree = "show situation info";
  if (b == nullptr || b->LocateTree(kTree) == 0) return;
  const int16_t params[4] = {};
  o->RunTreeByName(b, 0, kTree, params);
}

void ObjectModule::DumpQueues(std::ostream& out) const {
  auto name = [](const cXObject& o) { return o.GetDefinition() ? o.GetDefinition()->GetName() : std::string(); };
  out << "Action Queues:\n";
  for (cXObject* p = first_; p != nullptr; p = p->GetNext()) {
    if (!p->IsPerson()) continue;
    out << "Person " << p->GetId() << ", " << name(*p) << "\n";
    for (int32_t i = 0; i < p->ActionQueueLength(); ++i) {
      const QueuedActionInfo a = p->DescribeQueuedAction(i);
      out << "Position " << i << " ";
      if (!a.present) {
        out << "NULL\n";
        continue;
      }
      out << a.name << "\n";
      const cXObject* target = GetObjectById(a.target);
      if (target != nullptr) {
        out << "Object " << target->GetId() << ", " << name(*target) << "\n";
      } else {
        out << "Object NULL\n";
      }
      out << "Action tree " << a.treeId << ", " << a.treeName << "\n";
      out << "Priority " << a.priority << "\n";
      out << "Entry Index " << a.entryIndex << "\n";
    }
  }
  out << "\nObjects:\n";
  for (size_t i = 0; i < objects_.size(); ++i) {
    if (objects_[i]) out << (i + 1) << " = " << name(*objects_[i]) << "\n";
  }
}

}  // namespace tova
