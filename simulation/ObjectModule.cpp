#include "simulation/ObjectModule.h"

#include "gamedata/CommandIds.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"

namespace tova {

ObjectModule::ObjectModule(ObjectFolder* catalogue) : catalogue_(catalogue) {}

ObjectModule::~ObjectModule() {
  first_ = last_ = nullptr;
  objects_.clear();
}

int16_t ObjectModule::AddObject(std::unique_ptr<cXObject> object, int16_t id, bool append) {
  if (!object) return 0;
  int32_t chosen = id;
  if (chosen == 0) {
    chosen = static_cast<int32_t>(objects_.size()) + 1;
    for (size_t i = 0; i < objects_.size(); ++i) {
      if (!objects_[i]) {
        chosen = static_cast<int32_t>(i) + 1;
        break;
      }
    }
  }
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

void ObjectModule::DeleteObject(int16_t id) {
  cXObject* o = GetObject(id);
  if (o == nullptr) return;
  cXObject* previous = nullptr;
  for (cXObject* p = first_; p != nullptr; previous = p, p = p->GetNext()) {
    if (p != o) continue;
    if (previous != nullptr) {
      previous->SetNext(p->GetNext());
    } else {
      first_ = p->GetNext();
    }
    if (last_ == p) last_ = previous;
    break;
  }
  scheduler_[static_cast<size_t>(id - 1)] = 0;
  if (tutorialObject_ == o) tutorialObject_ = nullptr;
  std::erase(globalCallList_, o);
  objects_[static_cast<size_t>(id - 1)].reset();
}

cXObject* ObjectModule::GetObject(int16_t id) const {
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
  const int32_t n = PersonCount();
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
  cXObject* o = GetObject(id);
  if (o == nullptr) return;
  if (o->CurrentOpcode() == 0) {
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

std::unique_ptr<cXObject> ObjectModule::MakeObject(ObjectDefinition* definition) {
  if (definition == nullptr) return nullptr;
  const int16_t type = definition->GetRecord().ObjectType();
  if (type == ObjectDefinition::kPersonType) return personMaker_ ? personMaker_(definition, this) : nullptr;
  if (type == 8 || type == 9) return nullptr;
  return std::make_unique<cXObject>(definition, this);
}

int16_t ObjectModule::CreateObject(ObjectDefinition* definition) {
  std::unique_ptr<cXObject> object = MakeObject(definition);
  if (!object) return 0;
  cXObject* o = object.get();
  const int16_t id = AddObject(std::move(object), 0, false);
  if (id == 0) return 0;
  o->InitFromDefinition();
  o->ResetAndPush(definition->GetBehavior(), definition->GetFunctionTreeId(1));
  o->SetStateFlags(o->GetStateFlags() | kStateCreated);
  o->SetData(41, definition->GetRecord().Word(ObjectDefinitionRecord::kPrice));
  SetStateBits(id, kSchedActive, true);
  Broadcast(cmd::kObjectCreated, id);
  return id;
}

namespace {

// Behaviours in a saved lot are named by their definition's reference.
class FolderCodec : public BehaviorCodec {
 public:
  FolderCodec(ObjectFolder* folder, int32_t version) : folder_(folder), version_(version) {}
  void Transfer(ReconStream& s, Behavior*& b) override {
    if (folder_ != nullptr) {
      folder_->TransferBehaviorRef(b, s, version_, true);
    } else {
      int16_t none = 0;
      s.SerializeShorts(&none, 1);
      if (s.IsReading()) b = nullptr;
    }
  }

 private:
  ObjectFolder* folder_;
  int32_t version_;
};

bool IsReplacement(const ObjectDefinition* d) {
  return d != nullptr &&
         (d->GetGUID() == ObjectFolder::kTemplatePersonGuid || d->GetGUID() == ObjectFolder::kMissingTypeGuid);
}

// The text the last text-entry dialog returned, one for the program.
std::string& GlobalAnswer() {
  static std::string answer;
  return answer;
}

}  // namespace

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
    return false;  // older lots keep their objects in 'Rcon' records
  }
  s.BeginBlock();
  FolderCodec codec(catalogue_, version);
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
  s.BeginBlock();
  int16_t tutorial = tutorialObject_ ? tutorialObject_->GetId() : 0;
  s.SerializeShorts(&tutorial, 1);
  if (reading) tutorialObject_ = GetObject(tutorial);
  if (version >= 52) {
    int32_t count = static_cast<int32_t>(globalCallList_.size());
    s.SerializeLongs(&count, 1);
    if (reading && !s.CheckCount(count, 2)) return false;
    if (reading) globalCallList_.assign(static_cast<size_t>(count), nullptr);
    for (int32_t i = 0; i < count && !s.Failed(); ++i) {
      cXObject*& o = globalCallList_[static_cast<size_t>(i)];
      int16_t id = o ? o->GetId() : 0;
      s.SerializeShorts(&id, 1);
      if (reading) o = GetObject(id);
    }
    s.SerializeString(GlobalAnswer());
  }
  return !s.Failed();
}

int16_t ObjectModule::DoCommand(int32_t command, intptr_t) {
  if (static_cast<int16_t>(command) != cmd::kBehaviorChanged) return 0;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->DropTrees();
  return 0;
}

}  // namespace tova
