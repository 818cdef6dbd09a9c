#include "simulation/ObjectModule.h"

#include <algorithm>

#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/ReconObject.h"
#include "resfile/ResStatus.h"
#include "resfile/TypeCode.h"
#include "simulation/cXCursorObject.h"
#include "simulation/cXMTObject.h"
#include "simulation/cXObjectStream.h"
#include "simulation/PrimitiveOpcode.h"
#include "simulation/people/cXPortal.h"

namespace tova {

namespace {

constexpr int16_t kGlobalSlotsId = 100;
// The slot list of the global file is read again.
constexpr int16_t kReloadGlobalSlots = 267;

}  // namespace

ObjectModule::ObjectModule(ObjectFolder* catalogue) : catalogue_(catalogue) {
  if (catalogue_ != nullptr) LoadGlobalSlotPoints(catalogue_->GetSource(catalogue_->GetGlobalFile()));
}

void ObjectModule::LoadGlobalSlotPoints(ResourceSource* globalFile) {
  globalSlotPoints_.clear();
  if (globalFile == nullptr) return;
  std::vector<SlotPoint> points;
  if (SlotLoader(globalFile).Load(kGlobalSlotsId, nullptr, nullptr, &points) == 0) globalSlotPoints_ = std::move(points);
}

ObjectModule::~ObjectModule() {
  first_ = last_ = nullptr;
  objects_.clear();
}

int16_t ObjectModule::AddObject(std::unique_ptr<cXObject> object, int16_t id, bool append) {
  if (!object) return 0;
  int32_t chosen = id;
  if (chosen == 0) {
    chosen = static_cast<int32_t>(objects_.size()) + 1;
    for (size_t i = firstFreeSlot_; i < objects_.size(); ++i) {
      if (!objects_[i]) {
        chosen = static_cast<int32_t>(i) + 1;
        break;
      }
    }
  }
  if (id == 0) firstFreeSlot_ = static_cast<size_t>(chosen - 1);
  if (chosen < 1 || chosen > kMaxObjectId) return 0;
  const auto index = static_cast<size_t>(chosen - 1);
  if (index < objects_.size() && objects_[index]) return 0;
  if (index >= objects_.size()) {
    objects_.resize(index + 1);
    scheduler_.resize(index + 1, 0);
  }
  cXObject* o = object.get();
  objects_[index] = std::move(object);
  scheduler_[index] = kSchedulerIdle;
  o->SetId(static_cast<int16_t>(chosen));
  o->SetNext(nullptr);
  if (o->IsPerson()) ++listedPersons_;
  if (append) {
    if (last_ != nullptr) last_->SetNext(o);
    last_ = o;
    if (first_ == nullptr) first_ = o;
  } else {
    o->SetNext(first_);
    first_ = o;
    if (last_ == nullptr) last_ = o;
  }
  UpdateIterationLimit();
  return static_cast<int16_t>(chosen);
}

void ObjectModule::Unregister(cXObject* o) {
  cXObject* previous = nullptr;
  for (cXObject* p = first_; p != nullptr; previous = p, p = p->GetNext()) {
    if (p != o) continue;
    if (p->IsPerson() && listedPersons_ > 0) --listedPersons_;
    if (previous != nullptr) {
      previous->SetNext(p->GetNext());
    } else {
      first_ = p->GetNext();
    }
    if (last_ == p) last_ = previous;
    break;
  }
  const int16_t id = o->GetId();
  scheduler_[static_cast<size_t>(id - 1)] = 0;
  if (tutorialObject_ == o) tutorialObject_ = nullptr;
  const bool listed = !globalCallList_.empty();
  std::erase(globalCallList_, o);
  if (listed && globalCallList_.empty()) Broadcast(cmd::kObjectModule, 0);
  std::erase(deletionQueue_, id);
  // Its requests go with it: nothing may show a dialog for a deleted object.
  std::erase_if(dialogs_, [o](const std::unique_ptr<ObjectDialogRecord>& r) {
    if (r->GetAsker() != o) return false;
    r->Close();
    return true;
  });
  drawOrderDirty_ = true;
}

bool ObjectModule::IsQueued(cXObject* o) const {
  for (int32_t guard = 0; o != nullptr && guard < kMaxObjectId; ++guard) {
    if (std::find(deletionQueue_.begin(), deletionQueue_.end(), o->GetId()) != deletionQueue_.end()) return true;
    cXObject* c = o->GetContainer();
    if (c == o) break;
    o = c;
  }
  return false;
}

void ObjectModule::DeleteObject(int16_t id) {
  cXObject* o = GetObjectById(id);
  if (o == nullptr) return;
  const int16_t room = o->GetData(kDataRoom);
  const bool impact = o->GetData(kDataRoomImpact) != 0;
  if (!(o->GetStateFlags() & kStateBeingDeleted)) o->RemoveFromWorld();
  RemoveObject(id);
  if (impact) Broadcast(cmd::kObjectDeleted, static_cast<uint16_t>(room));
}

void ObjectModule::RemoveObject(int16_t id, bool thisPartOnly) {
  cXObject* o = GetObjectById(id);
  if (o == nullptr) return;
  if (!thisPartOnly && o->IsGroupPart()) {
    std::vector<cXObject*> group;
    o->GetGroup(group);
    if (group.size() > 1) {
      std::vector<int16_t> ids;
      for (cXObject* part : group) {
        part->SetStateFlags(part->GetStateFlags() | kStateBeingDeleted);
        ids.push_back(part->GetId());
      }
      for (int16_t partId : ids) RemoveObject(partId, true);
      return;
    }
  }
  // Deleting an object whose step is under way would pull its frames from
  // under it: it leaves the world now and goes at the end of the tick.
  if (o->IsRunning()) {
    if (!(o->GetStateFlags() & kStateBeingDeleted)) {
      o->SetStateFlags(o->GetStateFlags() | kStateBeingDeleted);
      o->RemoveFromWorld();
    }
    if (std::find(deletionQueue_.begin(), deletionQueue_.end(), id) == deletionQueue_.end()) {
      deletionQueue_.push_back(id);
    }
    return;
  }
  Broadcast(cmd::kObjectRemoving, id);
  o->SetStateFlags(o->GetStateFlags() | kStateBeingDeleted);
  if (tutorialObject_ == o) SetTutorialObject(nullptr);
  o->MarkForRedraw();
  for (cXObject* p = first_; p != nullptr; p = p->GetNext()) {
    if (p != o && p->IsPerson()) p->Reset(id);
  }
  o->Reset(0);
  if (o->IsCursor()) o->DropOrDeleteCarried();
  for (int32_t n = 0; n < o->SlotCount(); ++n) {
    const int16_t inside = o->GetSlotObject(n);
    if (inside != 0 && inside != id) RemoveObject(inside);
  }
  o->LeaveCell();
  Unregister(o);
  objects_[static_cast<size_t>(id - 1)].reset();
  firstFreeSlot_ = std::min(firstFreeSlot_, static_cast<size_t>(id - 1));
  if (specialId_ == id) specialId_ = 0;
  for (cXObject* p = first_; p != nullptr; p = p->GetNext()) p->KeyedArrays().RemoveArray(id);
  Broadcast(cmd::kObjectRemoved, id);
}

void ObjectModule::QueueDeletion(int16_t id, bool flag) {
  cXObject* o = GetObjectById(id);
  if (o == nullptr) return;
  if (o->IsGroupPart() && !o->HasEntryTree(kEntryJoin)) {
    std::vector<cXObject*> group;
    o->GetGroup(group);
    if (!group.empty()) o = group.front();
  }
  if (IsQueued(o)) return;
  o->RemoveFromWorld();
  const uint32_t flags = o->GetStateFlags();
  o->SetStateFlags(flag ? flags & ~kStateQueuedQuietly : flags | kStateQueuedQuietly);
  deletionQueue_.push_back(o->GetId());
}

cXObject* ObjectModule::ProcessDeletions(bool skip, int32_t tickCount) {
  dialogShown_ = false;
  std::erase_if(dialogs_, [](const std::unique_ptr<ObjectDialogRecord>& r) {
    return r->GetState() == ObjectDialogRecord::kStateFinished;
  });
  // Showing a dialog may queue requests or delete objects (and their
  // requests): each new one is looked up again before it is shown.
  std::vector<ObjectDialogRecord*> fresh;
  for (auto& r : dialogs_) {
    if (r->GetState() == ObjectDialogRecord::kStateNew) fresh.push_back(r.get());
  }
  for (ObjectDialogRecord* r : fresh) {
    const bool held = std::any_of(dialogs_.begin(), dialogs_.end(), [r](const auto& p) { return p.get() == r; });
    if (!held || r->GetState() != ObjectDialogRecord::kStateNew) continue;
    r->Show();
    dialogShown_ = true;
  }
  if (!skip) {
    const std::vector<int16_t> queue = std::move(deletionQueue_);
    deletionQueue_.clear();
    for (int16_t id : queue) {
      cXObject* o = GetObjectById(id);
      if (o == nullptr) continue;
      if (o->IsGroupPart() && o->HasEntryTree(kEntryJoin)) o->SplitFromGroup();
      RemoveObject(id);
    }
    if (refresh_ && tickCount % 40 == 0) {
      refresh_ = false;
      if (neighbourhoodRefresh_) neighbourhoodRefresh_();
    }
  }
  cXObject* selected = GetSelectedPerson();
  const bool controllable =
      selected != nullptr && (GetShell().FreeMode() || std::find(family_.begin(), family_.end(),
                                                                 selected->GetNeighbourId()) != family_.end());
  if (!controllable && (selected != nullptr || PersonCount() > 0)) selected = SelectNextPerson();
  return selected;
}

cXObject* ObjectModule::GetSelectedPerson() const {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->IsPerson() && (o->GetStateFlags() & kStateMask) == 2) return o;
  }
  return nullptr;
}

void ObjectModule::SetTutorialObject(cXObject* object) {
  if (object == nullptr && tutorialObject_ != nullptr) {
    for (auto& r : dialogs_) {
      if (r->GetAsker() == tutorialObject_) r->Close();
    }
  }
  tutorialObject_ = object;
  Broadcast(cmd::kTutorialObjectSet, 0);
}

void ObjectModule::TrimToLot(int32_t size) {
  // Beyond the lot on either axis.
  std::vector<int16_t> doomed;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (!o->IsOnLot()) continue;
    const TileLocation t = o->GetTile();
    const bool beyondX = t.x >= size - 1 && t.x < kLotGridSize - 1;
    const bool beyondY = t.y >= size - 1 && t.y < kLotGridSize - 1;
    if (beyondX || beyondY) doomed.push_back(o->GetId());
  }
  for (int16_t id : doomed) DeleteObject(id);
}

void ObjectModule::PlaceAllObjects(int32_t version) {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->PlaceAtCurrentLocation(version);
  SelectNextPerson();
}

void ObjectModule::CreateAutomaticObjects() {
  if (catalogue_ == nullptr) return;
  for (int i = 0; i < catalogue_->GetDefinitionCount(); ++i) {
    ObjectDefinition* d = catalogue_->GetDefinition(i);
    if (d == nullptr || d->GetRecord().ObjectType() != 7 ||
        d->GetRecord().Word(ObjectDefinitionRecord::kAutomaticInstance) == 0) {
      continue;
    }
    std::vector<int16_t> instances;
    for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
      if (o->GetDefinition() == d) instances.push_back(o->GetId());
    }
    for (size_t k = 1; k < instances.size(); ++k) DeleteObject(instances[k]);
    const int16_t kept = instances.empty() ? CreateObject(d) : instances.front();
    if (d->GetGUID() == kSpecialObjectGuid) specialId_ = kept;
  }
}

namespace {

std::string TileText(TileLocation t) {
  return std::to_string(t.level) + ":(" + std::to_string(t.y) + "," + std::to_string(t.x) + ")";
}

std::string ObjectText(const cXObject& o) {
  return "(" + (o.GetDefinition() ? o.GetDefinition()->GetName() : std::string()) + "," + std::to_string(o.GetId()) + ")";
}

}  // namespace

std::vector<std::string> ObjectModule::GridCheck() const {
  std::vector<std::string> lines;
  if (world_ == nullptr) return lines;
  const int32_t size = world_->GetSize();
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const TileLocation tile = TileLocation::At(x, y, 1);
      const int16_t id = world_->GetObjectIdAt(tile);
      if (id == 0) continue;
      cXObject* o = GetObjectById(id);
      if (o == nullptr) {
        lines.push_back("object id " + std::to_string(id) + " in grid at " + TileText(tile) + " has no object pointer");
      } else if (!(o->GetTile() == tile)) {
        lines.push_back(ObjectText(*o) + " has location " + TileText(o->GetTile()) + " but is in the grid at " +
                        TileText(tile));
      }
    }
  }
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->GetContainmentPosition() < 0) continue;
    cXObject* root = o->GetOutermostContainer();
    if (root != o && !(root->GetTile() == o->GetTile())) {
      lines.push_back(ObjectText(*o) + " is at " + TileText(o->GetTile()) + " but root " + ObjectText(*root) +
                      " is at " + TileText(root->GetTile()));
    }
  }
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (!o->IsOnLot() || o->GetContainmentPosition() >= 0) continue;
    const TileLocation t = o->GetTile();
    if (t.x < 1 || t.y < 1 || t.x > size - 2 || t.y > size - 2) continue;
    const int16_t there = world_->GetObjectIdAt(t);
    if (there == o->GetId()) continue;
    const cXObject* other = GetObjectById(there);
    lines.push_back(ObjectText(*o) + " is at " + TileText(t) + " but grid has " +
                    (other ? ObjectText(*other) : std::to_string(there)) + " there");
  }
  return lines;
}

cXObject* ObjectModule::GetObjectById(int16_t id) const {
  if (id < 1 || id > static_cast<int32_t>(objects_.size())) return nullptr;
  return objects_[static_cast<size_t>(id - 1)].get();
}

int32_t ObjectModule::ObjectCount() const {
  int32_t n = 0;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) ++n;
  return n;
}

int32_t ObjectModule::PersonCount() const {
  int32_t n = 0;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) n += o->IsPerson() ? 1 : 0;
  return n;
}

void ObjectModule::UpdateIterationLimit() {
  // The budget grows with the people on the lot.
  const int32_t n = listedPersons_;
  TreeZaz::SetIterationLimit((n * n + IdCount()) * 15 + TreeZaz::kDefaultIterationLimit);
}

uint32_t ObjectModule::GetSchedulerWord(int16_t id) const {
  if (id < 1 || id > static_cast<int32_t>(scheduler_.size())) return 0;
  return scheduler_[static_cast<size_t>(id - 1)];
}

void ObjectModule::SetSchedulerWord(int16_t id, uint32_t word) {
  if (id < 1 || id > static_cast<int32_t>(scheduler_.size())) return;
  scheduler_[static_cast<size_t>(id - 1)] = word;
}

void ObjectModule::SetCountdown(int16_t id, uint16_t countdown) {
  SetSchedulerWord(id, (GetSchedulerWord(id) & 0xFFFF0000u) | countdown);
}

void ObjectModule::SetStateBits(int16_t id, uint32_t bits, bool on) {
  const uint32_t word = GetSchedulerWord(id);
  SetSchedulerWord(id, on ? (word | (bits << 16)) : (word & ~(bits << 16)));
}

void ObjectModule::Wake(int16_t id) {
  cXObject* o = GetObjectById(id);
  if (o == nullptr) return;
  if (o->CurrentOpcode() == kPrimSleep) {
    TreeStackFrame* f = o->CurrentFrame();
    const TreeView tree = f->Tree();
    const int16_t remaining = static_cast<int16_t>(GetCountdown(id));
    const int32_t n = tree.HasNode(f->node) ? tree.Node(f->node).Operand(0) : -1;
    if (remaining >= 0 && n >= 0 && n < f->paramCount) f->Params()[n] = remaining;
  }
  SetCountdown(id, static_cast<uint16_t>(kCountdownWoken));
}

void ObjectModule::TickObjects() {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    const int16_t id = o->GetId();
    const uint32_t word = GetSchedulerWord(id);
    if (((word >> 16) & kSchedActive) == 0) continue;
    const uint16_t countdown = static_cast<uint16_t>(word & 0xFFFF);
    if (countdown != kCountdownNone && countdown != kCountdownWoken && countdown > 0) {
      SetCountdown(id, static_cast<uint16_t>(countdown - 1));
      continue;
    }
    o->Tick();
  }
}

std::unique_ptr<cXObject> ObjectModule::MakePortal(ObjectDefinition* d, ObjectModule* m, cXMTObject* lead) {
  return std::make_unique<cXPortal>(d, lead, m);
}

std::unique_ptr<cXObject> ObjectModule::MakeObject(ObjectDefinition* definition) {
  if (definition == nullptr) return nullptr;
  const int16_t type = definition->GetRecord().ObjectType();
  if (definition->IsGroupPart()) {
    if (type == 8) return MakePortal(definition, this);
    return std::make_unique<cXMTObject>(definition, nullptr, this);
  }
  if (type == ObjectDefinition::kPersonType) return MakePerson(definition, this);
  if (type == 8 || type == 9) return nullptr;
  return std::make_unique<cXObject>(definition, this);
}

int16_t ObjectModule::CreateGroup(ObjectDefinition* definition) {
  std::vector<ObjectDefinition*> parts;
  for (int n = 0;; ++n) {
    ObjectDefinition* part = catalogue_ ? catalogue_->FindPartByOrdinal(*definition, n) : nullptr;
    if (part == nullptr) break;
    parts.push_back(part);
  }
  if (parts.empty()) return 0;
  cXMTObject* lead = nullptr;
  for (ObjectDefinition* part : parts) {
    const int16_t type = part->GetRecord().ObjectType();
    if (type == 9 || type == ObjectDefinition::kPersonType) break;
    std::unique_ptr<cXObject> object =
        type == 8 ? MakePortal(part, this, lead) : std::make_unique<cXMTObject>(part, lead, this);
    auto* o = static_cast<cXMTObject*>(object.get());
    if (AddObject(std::move(object), 0, false) == 0) {
      // The part left unregistered is gone with its unique pointer; the
      // parts made so far go as one group.
      if (lead != nullptr) RemoveObject(lead->GetId());
      return 0;
    }
    o->InitFromDefinition();
    o->StampCreation();
    if (lead == nullptr) lead = o;
  }
  if (lead == nullptr) return 0;
  const ObjectDefinition* master = catalogue_->FindMasterDefinition(*definition);
  lead->SetData(kDataValue, (master ? master : definition)->GetRecord().Word(ObjectDefinitionRecord::kPrice));
  lead->ResetData(true);
  for (cXMTObject* p = lead; p != nullptr; p = p->GetNextPart()) {
    p->SetStateFlags(p->GetStateFlags() | kStateCreated);
    SetStateBits(p->GetId(), kSchedActive, true);
  }
  Broadcast(cmd::kObjectCreated, lead->GetId());
  return lead->GetId();
}

int16_t ObjectModule::AttachToCursor(int16_t id, ObjectDefinition* cursor, int32_t level) {
  return cXCursorObject::AttachToCursor(*this, id, cursor, level);
}

int16_t ObjectModule::AttachNewObjectToCursor(ObjectDefinition* definition, ObjectDefinition* cursor, int32_t level) {
  return cXCursorObject::AttachNewObjectToCursor(*this, definition, cursor, level);
}

int16_t ObjectModule::CreateObject(ObjectDefinition* definition) {
  if (definition != nullptr && definition->GetRecord().MasterId() != 0) return CreateGroup(definition);
  std::unique_ptr<cXObject> object = MakeObject(definition);
  if (!object) return 0;
  cXObject* o = object.get();
  const int16_t id = AddObject(std::move(object), 0, false);
  if (id == 0) return 0;
  o->InitFromDefinition();
  o->StampCreation();
  o->ResetData(true);
  o->SetStateFlags(o->GetStateFlags() | kStateCreated);
  o->SetData(kDataValue, definition->GetRecord().Word(ObjectDefinitionRecord::kPrice));
  SetStateBits(id, kSchedActive, true);
  Broadcast(cmd::kObjectCreated, id);
  return id;
}

namespace {

bool IsReplacement(const ObjectDefinition* d) {
  return d != nullptr &&
         (d->GetGUID() == ObjectFolder::kTemplatePersonGuid || d->GetGUID() == ObjectFolder::kMissingTypeGuid);
}

}  // namespace

std::string& ObjectModule::GlobalAnswer() {
  static std::string answer;
  return answer;
}

bool ObjectModule::Transfer(ReconStream& s, int32_t version) {
  if (catalogue_ == nullptr) return false;
  const bool reading = s.IsReading();
  struct Entry {
    cXObject* object;
    bool replaced;
    bool hasWord;
  };
  std::vector<Entry> entries;
  if (version >= ObjectFolder::kFirstIndexedSaveVersion) {
    bool packed = true;
    s.SerializeBool(&packed);
    if (packed) s.SetPacked();
    if (!reading) {
      for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
        int16_t id = o->GetId();
        s.SerializeShorts(&id, 1);
        DefinitionRef ref{o->GetDefinition(), nullptr};
        catalogue_->TransferDefinitionRef(ref, s, version, true);
        entries.push_back({o, false, !IsReplacement(o->GetDefinition())});
      }
      int16_t end = 0;
      s.SerializeShorts(&end, 1);
    } else {
      for (;;) {
        int16_t id = 0;
        s.SerializeShorts(&id, 1);
        if (s.Failed()) return false;
        if (id == 0) break;
        DefinitionRef ref;
        catalogue_->TransferDefinitionRef(ref, s, version, true);
        if (s.Failed()) return false;
        ObjectDefinition* definition = ref.definition;
        if (definition == nullptr) {
          const bool person = ref.missing != nullptr && ref.missing->type == ObjectDefinition::kPersonType;
          definition = person ? catalogue_->GetTemplatePersonDefinition() : catalogue_->GetMissingTypeDefinition();
        }
        std::unique_ptr<cXObject> object = MakeObject(definition);
        // Without an object the rest of the record cannot be read in step.
        if (!object) return false;
        cXObject* o = object.get();
        if (AddObject(std::move(object), id, true) == 0) return false;
        o->InitFromDefinition();
        o->SetStateFlags(o->GetStateFlags() | kStateCreated);
        // Whether the scheduler word was written follows the stored
        // reference, not the replacement.
        entries.push_back({o, IsReplacement(definition), !IsReplacement(ref.definition)});
      }
    }
  } else {
    // Older lots keep their objects in 'Rcon' records, read apart.
    int16_t tutorial = tutorialObject_ ? tutorialObject_->GetId() : 0;
    s.SerializeShorts(&tutorial, 1);
    if (reading) pendingTutorial_ = tutorial;
    return !s.Failed();
  }
  s.BeginBlock();
  CatalogueBehaviorCodec codec(catalogue_, version);
  for (Entry& e : entries) {
    if (!e.object->Transfer(s, version, e.replaced, codec)) return false;
    if (version >= 54) {
      const int16_t id = e.object->GetId();
      if (e.hasWord) {
        uint32_t word = GetSchedulerWord(id);
        s.SerializeLongs(&word, 1);
        if (reading) SetSchedulerWord(id, word);
      } else if (reading) {
        SetSchedulerWord(id, (GetSchedulerWord(id) & 0xFFFF) | (kSchedActive << 16));
      }
    }
    if (reading && version < 57) {
      const int16_t id = e.object->GetId();
      SetSchedulerWord(id, (GetSchedulerWord(id) & 0xFFFF) | (kSchedActive << 16));
    }
    if (s.Failed()) return false;
  }
  // A slot entry naming no object of the lot is emptied.
  if (reading) {
    for (Entry& e : entries) e.object->ClearDanglingSlots();
  }
  s.BeginBlock();
  int16_t tutorial = tutorialObject_ ? tutorialObject_->GetId() : 0;
  s.SerializeShorts(&tutorial, 1);
  if (reading) tutorialObject_ = GetObjectById(tutorial);
  if (version >= 52) {
    int32_t count = static_cast<int32_t>(globalCallList_.size());
    s.SerializeLongs(&count, 1);
    if (reading && !s.CheckCount(count, 2)) return false;
    if (reading) globalCallList_.assign(static_cast<size_t>(count), nullptr);
    for (int32_t i = 0; i < count && !s.Failed(); ++i) {
      cXObject*& o = globalCallList_[static_cast<size_t>(i)];
      int16_t id = o ? o->GetId() : 0;
      s.SerializeShorts(&id, 1);
      if (reading) o = GetObjectById(id);
    }
    s.SerializeString(GlobalAnswer());
  }
  return !s.Failed();
}

void ObjectModule::Clear() {
  while (first_ != nullptr) {
    cXObject* o = first_;
    // Unregistered first: nothing is asked of the world or the persons.
    Unregister(o);
    objects_[static_cast<size_t>(o->GetId() - 1)].reset();
  }
  objects_.clear();
  firstFreeSlot_ = 0;
  listedPersons_ = 0;
  scheduler_.clear();
  deletionQueue_.clear();
  dialogs_.clear();
  drawOrder_.clear();
  globalCallList_.clear();
  tutorialObject_ = nullptr;
  specialId_ = 0;
}

int ObjectModule::Save(iResFile& file, int32_t version) {
  if (catalogue_ == nullptr) return kResBadData;
  int status = catalogue_->SaveTypeTable(file);
  if (status != 0) return status;
  if (version < ObjectFolder::kFirstIndexedSaveVersion) {
    status = SaveObjectRecords(file, version);
    if (status != 0) return status;
  }
  SimpleReconObject<ObjectModule> record(this, TypeCode("ObjM"));
  return ReconObject::SaveToResFile(record, version, file, 1);
}

namespace {

constexpr ResType kObjectRecordType = TypeCode("Rcon");

}  // namespace

int ObjectModule::SaveObjectRecords(iResFile& file, int32_t version) {
  // Records left from an earlier save would be read as objects.
  while (file.CountResources(kObjectRecordType) > 0) {
    MemHandle h = file.GetIndexedResource(kObjectRecordType, 1, SwapReconHeader);
    if (h == nullptr || file.DeleteResource(h) != 0) return kResBadData;
  }
  ResId id = 1;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext(), ++id) {
    cXObjectStream node(o);
    SimpleReconObject<cXObjectStream> record(&node, kObjectRecordType);
    const int status = ReconObject::SaveToResFile(record, version, file, id);
    if (status != 0) return status;
  }
  return 0;
}

int ObjectModule::LoadObjectRecords(iResFile& file) {
  const int count = file.CountResources(kObjectRecordType);
  if (count < 0 || count > kMaxObjectId) return kResBadData;
  // First the objects, from the last record down so that the list runs in
  // record order; then each record again into the object it made (a record
  // that made none is skipped, and the rest stay in step).
  std::vector<cXObject*> made(static_cast<size_t>(count) + 1, nullptr);
  for (int id = count; id >= 1; --id) {
    cXObjectStream node(0, this);
    SimpleReconObject<cXObjectStream> record(&node, kObjectRecordType);
    const int status = ReconObject::LoadFromResFile(record, file, static_cast<ResId>(id));
    if (status != 0) return status;
    made[static_cast<size_t>(id)] = node.GetObject();
  }
  int32_t lowest = INT32_MAX;
  for (int id = 1; id <= count; ++id) {
    cXObject* o = made[static_cast<size_t>(id)];
    if (o == nullptr) continue;
    cXObjectStream node(o);
    SimpleReconObject<cXObjectStream> record(&node, kObjectRecordType);
    int32_t version = 0;
    const int status = ReconObject::LoadFromResFile(record, file, static_cast<ResId>(id), &version);
    if (status != 0) return status;
    lowest = std::min(lowest, version);
  }
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (lowest < 23) o->RestoreContainerWords();
    o->ClearDanglingSlots();
    // Old lots keep no scheduler words: every object runs.
    SetSchedulerWord(o->GetId(), (GetSchedulerWord(o->GetId()) & 0xFFFF) | (kSchedActive << 16));
  }
  return 0;
}

int ObjectModule::Load(iResFile& file, int32_t version, std::vector<std::string>* gridLines) {
  if (catalogue_ == nullptr) return kResBadData;
  Clear();
  int status = catalogue_->LoadTypeTable(file);
  if (status != 0) return status;
  SimpleReconObject<ObjectModule> record(this, TypeCode("ObjM"));
  int32_t stored = version;
  pendingTutorial_ = 0;
  status = ReconObject::LoadFromResFile(record, file, 1, &stored);
  if (status != 0) return status;
  if (stored < ObjectFolder::kFirstIndexedSaveVersion) {
    status = LoadObjectRecords(file);
    if (status != 0) return status;
    tutorialObject_ = GetObjectById(pendingTutorial_);
  }
  PlaceAllObjects(stored);
  CreateAutomaticObjects();
  // What an object offers follows from its definition, which may have
  // changed since the lot was written (and a lot written by a tool never
  // had the words worked out): the marks are made afresh.
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->UpdateSchedulerBits();
  refresh_ = true;
  const std::vector<std::string> lines = GridCheck();
  if (gridLines != nullptr) *gridLines = lines;
  return 0;
}

int16_t ObjectModule::DoCommand(int32_t command, intptr_t argument) {
  switch (static_cast<int16_t>(command)) {
    case cmd::kBehaviorChanged:
      for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->DropTrees();
      return 0;
    case cmd::kRefresh: {
      cXObject* o = GetObjectById(static_cast<int16_t>(argument));
      if (o != nullptr && static_cast<uint16_t>(o->GetData(kDataRoom)) != 0xFFFB) {
        Broadcast(cmd::kRoomChanged, static_cast<uint16_t>(o->GetData(kDataRoom)));
      }
      return 1;
    }
    case cmd::kWallsChanged:
      for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->UpdateWallAdjacency();
      return 1;
    case cmd::kWorldSizeChanged:
      CreateAutomaticObjects();
      return 1;
    case kReloadGlobalSlots:
      if (catalogue_ != nullptr) LoadGlobalSlotPoints(catalogue_->GetSource(catalogue_->GetGlobalFile()));
      return 1;
    case cmd::kTerrainChanged:
      for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->OnTerrainChanged();
      return 1;
    case cmd::kLotLoad:
      if (GetSelectedPerson() == nullptr) SelectNextPerson();
      return 1;
    default:
      return 0;
  }
}

bool ObjectModule::RunTreeOnAll(const std::string& name, int16_t argument) {
  bool result = false;
  const int16_t params[4] = {argument, 0, 0, 0};
  // Collected first: a tree may delete objects of the list.
  std::vector<int16_t> ids;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) ids.push_back(o->GetId());
  for (int16_t id : ids) {
    cXObject* o = GetObjectById(id);
    Behavior* b = o ? o->GetBehavior() : nullptr;
    if (b == nullptr || b->LocateTree(name) == 0) continue;
    result = o->RunTreeByName(b, 0, name, params);
  }
  return result;
}

void ObjectModule::Relevel(int32_t level, std::vector<std::string>* log) {
  std::vector<int16_t> ids;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) ids.push_back(o->GetId());
  for (int16_t id : ids) {
    cXObject* o = GetObjectById(id);
    if (o == nullptr) continue;
    if (o->GetLevel() == 0) {
      if (log != nullptr) log->push_back("Forcing level 0 object to level 1");
      o->SetLevel(1);
    }
    if (level != 0 && o->GetLevel() != level) continue;
    o->MoveTo(o->GetPosition(), o->GetLevel());
    o->RunEntryTree(kEntryRelevel);
  }
}

void ObjectModule::OnNewDay() {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->DepreciateOneDay();
}

bool ObjectModule::AnyPersonAwake() const {
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) {
    if (o->IsPerson() && o->GetData(kDataHidden) == 0 && !o->IsAsleep() && !o->IsAway()) return true;
  }
  return false;
}

}  // namespace tova
