#include "simulation/ObjectModule.h"

#include "gamedata/CommandIds.h"

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

int16_t ObjectModule::DoCommand(int32_t command, intptr_t) {
  if (static_cast<int16_t>(command) != cmd::kBehaviorChanged) return 0;
  for (cXObject* o = first_; o != nullptr; o = o->GetNext()) o->DropTrees();
  return 0;
}

}  // namespace tova
