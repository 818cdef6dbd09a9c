#include "simulation/cXObject.h"

#include <algorithm>
#include <cmath>

#include "gamedata/Careers.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/ResourceSource.h"
#include "gamedata/RoomManager.h"
#include "gamedata/SimRandom.h"
#include "resfile/ReconStream.h"
#include "resfile/TypeCode.h"
#include "simulation/MotiveEntryTable.h"
#include "simulation/NeighborhoodOwners.h"
#include "simulation/BalloonPrimitive.h"
#include "simulation/CreationPrimitives.h"
#include "simulation/FixedObjectPrimitive.h"
#include "simulation/GamePrimitives.h"
#include "simulation/ObjectModule.h"
#include "simulation/ObjectQueryPrimitives.h"
#include "simulation/PlacementPrimitives.h"
#include "simulation/PrimitiveOpcode.h"
#include "simulation/people/PersonMotion.h"
#include "simulation/PrimProfiler.h"
#include "simulation/QueuePrimitives.h"
#include "simulation/RelationshipPrimitives.h"
#include "simulation/SoundPlayer.h"

namespace tova {

namespace {

constexpr int32_t kMinAttributes = 8;
// The calendar of the simulator's clock: 30-day months, 12 a year.
constexpr int32_t kMinutesPerMonth = 30 * 24 * 60;

// Simulator globals of the clock.
enum : int32_t { kClockHour = 0, kClockDay = 1, kClockMinute = 5, kClockMonth = 7, kClockYear = 8 };

int64_t Minutes(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute) {
  return ((((year * 12 + month) * 30 + day) * 24 + hour) * 60) + minute;
}

// Operand byte k (0-7) of a node.
uint8_t OperandByte(const TreeNode& node, int k) { return node.Bytes()[4 + k]; }

}  // namespace

cXObject::cXObject(ObjectDefinition* definition, ObjectModule* module) : module_(module), definition_(definition) {
  int32_t count = kMinAttributes;
  if (definition_ != nullptr) {
    definition_->AddRef();
    count = std::max<int32_t>(count, definition_->GetRecord().Word(ObjectDefinitionRecord::kWordArrayLength));
  }
  attributes_.assign(static_cast<size_t>(count), 0);
}

cXObject::~cXObject() {
  if (iSoundPlayer* player = GetSoundPlayer(); player != nullptr && id_ != 0) player->ForgetObject(id_);
  if (inTheWay_ == this) inTheWay_ = nullptr;
  if (definition_ != nullptr) definition_->Release();
}

// ---- resets ----

void cXObject::ResetData(bool run) {
  static constexpr int32_t kKept[] = {kDataDirection,    kDataCreationMinute, kDataCreationHour, kDataRoom,
                                      kDataValue,        kDataCreationYear,   kDataCreationMonth, kDataCreationDay,
                                      kDataSlotCount};
  const std::array<int16_t, kObjectDataWords> before = data_;
  data_.fill(0);
  for (int32_t k : kKept) data_[static_cast<size_t>(k)] = before[static_cast<size_t>(k)];
  std::fill(attributes_.begin(), attributes_.end(), 0);
  temps_.fill(0);
  data_[kDataOwnId] = id_;
  if (definition_ != nullptr) data_[kDataDefinitionWord98] = definition_->GetRecord().Word(ObjectDefinitionRecord::kDataWord58);
  if (definition_ != nullptr && GetBehavior() != nullptr) ResetAndPush(GetBehavior(), definition_->GetFunctionTreeId(kEntryMain));
  SetContainment(before[kDataContainerAtPosition], before[kDataContainment]);
  const int32_t months = AgeInMinutes() / kMinutesPerMonth;
  data_[kDataAgeMonths] = static_cast<int16_t>(std::min(months, 32767));
  data_[kDataAgeYears] = static_cast<int16_t>(std::min(months / 12, 32767));
  if (module_ != nullptr) module_->SetCountdown(id_, static_cast<uint16_t>(kCountdownNone));
  if (IsGroupPart()) return;
  RunEntryTree(kEntryInit);
  if (run) Tick();
  UpdateSchedulerBits();
}

void cXObject::StampCreation() {
  const int16_t* g = module_ ? module_->GetGlobals() : nullptr;
  data_[kDataCreationYear] = g ? g[kClockYear] : 0;
  data_[kDataCreationMonth] = g ? g[kClockMonth] : 0;
  data_[kDataCreationDay] = g ? g[kClockDay] : 0;
  data_[kDataCreationHour] = g ? g[kClockHour] : 0;
  data_[kDataCreationMinute] = g ? g[kClockMinute] : 0;
}

int32_t cXObject::AgeInMinutes() const {
  const int16_t* g = module_ ? module_->GetGlobals() : nullptr;
  if (g == nullptr) return 0;
  const int64_t now = Minutes(g[kClockYear], g[kClockMonth], g[kClockDay], g[kClockHour], g[kClockMinute]);
  const int64_t made = Minutes(data_[kDataCreationYear], data_[kDataCreationMonth], data_[kDataCreationDay],
                               data_[kDataCreationHour], data_[kDataCreationMinute]);
  // A stamp ahead of the clock (a clock set back) counts as new.
  return static_cast<int32_t>(std::clamp<int64_t>(now - made, 0, INT32_MAX));
}

void cXObject::ShiftBy(int32_t dx, int32_t dy) {
  if (!IsOnLot()) return;
  position_.x += dx * 16;
  position_.y += dy * 16;
  footprint_[0] += dx * 16;
  footprint_[2] += dx * 16;
  footprint_[1] += dy * 16;
  footprint_[3] += dy * 16;
  MarkForRedraw(true);
  if (module_ != nullptr) module_->MarkDrawOrderDirty();
}

void cXObject::Reset(int32_t how) {
  if (how != 0) return;
  if (HasEntryTree(kEntryReset)) {
    RunEntryTree(kEntryReset);
    data_[kDataFlags] = static_cast<int16_t>(data_[kDataFlags] & ~kFlagInUse);
    data_[kDataUseCount] = 0;
    if (GetBehavior() != nullptr) ResetAndPush(GetBehavior(), definition_->GetFunctionTreeId(kEntryMain));
  } else {
    const FinePoint point = position_;
    const int32_t level = level_;
    cXObject* container = data_[kDataContainment] > 0 ? GetContainer() : nullptr;
    const int32_t slot = data_[kDataContainment] - 1;
    const bool wasOnLot = IsOnLot();
    RemoveFromWorld();
    if (!(stateFlags_ & kStateBeingDeleted)) ResetData(false);
    if (wasOnLot && !(stateFlags_ & kStateBeingDeleted)) Place(point, level, container, slot);
  }
  if (module_ != nullptr) {
    module_->SetCountdown(id_, static_cast<uint16_t>(kCountdownNone));
    if (module_->GetTutorialObject() == this) module_->SetTutorialObject(nullptr);
  }
  if (iSoundPlayer* player = GetSoundPlayer()) player->ForgetObject(id_);
}

void cXObject::PlaceAtCurrentLocation(int32_t version) {
  if (level_ == 0) level_ = 1;
  // The slot entries came back with the containers; the world's cell is
  // written here.
  if (IsOnLot() && data_[kDataContainment] < 0) EnterCell(nullptr, 0);
  MoveTo(position_, level_);
  int16_t& w42 = data_[kDataPlacement];
  if (version < 32) {
    if (w42 & kPlaceOnFloor) {
      w42 = static_cast<int16_t>(w42 & ~kPlaceOnGround);
    } else if (!(w42 & kPlaceOnGround)) {
      w42 = static_cast<int16_t>(w42 | kPlaceOnFloor | kPlaceOnGround);
    }
    if (w42 & kPlaceOldLot) w42 = static_cast<int16_t>(w42 & ~(kPlaceOnFloor | kPlaceOldLot));
    data_[kDataMovement] = static_cast<int16_t>(data_[kDataMovement] | kMovePickUp | kMoveDelete);
  }
  if (version <= 32 && definition_ != nullptr) {
    ObjectDefinition* master = definition_->GetMasterDefinition();
    if (master == nullptr) master = definition_;
    const ObjectDefinitionRecord& r = master->GetRecord();
    if (data_[kDataValue] < r.Word(ObjectDefinitionRecord::kDepreciationFloor)) {
      data_[kDataValue] = r.Word(ObjectDefinitionRecord::kPrice);
    }
  }
  if (version < 35) data_[kDataSlotKinds] = 1;
  RunEntryTree(kEntryLoad);
  const bool fallback = definition_ != nullptr && definition_->GetGUID() == ObjectFolder::kMissingTypeGuid;
  const bool changed = definition_ != nullptr && definition_->IsChanged() && module_ != nullptr &&
                       module_->GetShell().ResetChangedDefinitions();
  if (fallback || changed) Reset(0);
  if (changed) RunEntryTree(kEntryInit);
  UpdateSchedulerBits();
}

void cXObject::InitFromDefinition() {
  const ObjectDefinitionRecord* record = definition_ ? &definition_->GetRecord() : nullptr;
  const int32_t stack = record ? record->Word(ObjectDefinitionRecord::kStackSize) : 0;
  Reserve(stack, temps_.data(), kTempCount);

  slots_.assign(1, ObjectSlotEntry{});
  routingSlots_.clear();
  slotPoints_.clear();
  const int16_t slotId = record ? record->Word(ObjectDefinitionRecord::kSlotId) : 0;
  if (slotId != 0 && definition_->GetOwnSource() != nullptr) {
    std::vector<ObjectSlot> objectSlots;
    SlotLoader(definition_->GetOwnSource()).Load(slotId, &objectSlots, &routingSlots_, &slotPoints_);
    for (const ObjectSlot& s : objectSlots) slots_.push_back(ObjectSlotEntry{s.x, s.y, s.z, 0, s.heightClass});
  }
  data_[kDataContainment] = -1;
  data_[kDataSlotIndex] = -1;
  data_[kDataSlotCount] = static_cast<int16_t>(slots_.size());
  position_ = FinePoint::OffLot();
  level_ = 1;
  const int32_t sprites = record ? std::max<int16_t>(0, record->Word(ObjectDefinitionRecord::kSwitchSpriteCount)) : 0;
  dynamicSprites_.assign(static_cast<size_t>(sprites), 0);
  floorShadow_ = definition_ ? definition_->GetNeighbourMask() : -1;
}

int16_t cXObject::GetSlotObject(int32_t n) const {
  if (n < 0 || n >= static_cast<int32_t>(slots_.size()) - 1) return 0;
  return slots_[static_cast<size_t>(n + 1)].object;
}

void cXObject::SetSlotObject(int32_t n, int16_t id) {
  if (n < 0 || n >= static_cast<int32_t>(slots_.size()) - 1) return;
  slots_[static_cast<size_t>(n + 1)].object = id;
}

void cXObject::OnError(int16_t) {
  stateFlags_ |= kStateInError;
  if (module_ != nullptr) module_->SetStateBits(id_, kSchedInError, true);
}

bool cXObject::Tick() {
  if (profiler_ != nullptr) profiler_->StartTick();
  const bool result = TreeZaz::Tick();
  if (profiler_ != nullptr) profiler_->EndTick();
  if (result) {
    if (data_[kDataIdleCountdown] > 0) --data_[kDataIdleCountdown];
    for (SlotPoint& p : slotPoints_) p.cycle.Step();
  }
  return result;
}

bool cXObject::MayDeschedule() const {
  if (IsPerson() || data_[kDataIdleCountdown] != 0) return false;
  return slotPoints_.empty() || slotPoints_.front().cycle.Remaining() == 0;
}

bool cXObject::PushTreeCall(Behavior* behavior, int32_t treeId, int16_t stackObject, bool) {
  const int16_t none[4] = {0, 0, 0, 0};
  if (!PushTree(behavior, none, treeId, 4)) return false;
  CurrentFrame()->stackObject = stackObject;
  return true;
}

cXObject* cXObject::StackObject(const TreeStackFrame& frame) const {
  return module_ != nullptr ? module_->GetObjectById(frame.stackObject) : nullptr;
}

cXObject* cXObject::RequireStackObject(const TreeStackFrame& frame, int16_t code) const {
  cXObject* o = StackObject(frame);
  if (o == nullptr) RaiseObjectError(code);
  return o;
}

int32_t cXObject::RunPrimitive(TreeStackFrame& frame, TreeNode node) {
  if (profiler_ == nullptr) return DispatchPrimitive(node.Opcode(), frame, node);
  // A primitive that raises an error still counts its time.
  struct Timing {
    PrimProfiler& profiler;
    int32_t opcode;
    ~Timing() { profiler.StopPrimitive(opcode); }
  } timing{*profiler_, node.Opcode()};
  profiler_->StartPrimitive(timing.opcode);
  return DispatchPrimitive(node.Opcode(), frame, node);
}

int32_t cXObject::DispatchPrimitive(uint16_t opcode, TreeStackFrame& frame, TreeNode node) {
  switch (opcode) {
    case kPrimSleep: return PrimSleep(frame, node);
    case kPrimExpression: return PrimExpression(frame, node);
    case kPrimRandomNumber: return PrimRandomNumber(frame, node);
    case kPrimBreakpoint: return PrimBreakpoint(frame, node);
    case kPrimRunFunctionalTree: return PrimRunFunctionalTree(frame, node);
    case kPrimCallNamedTree: return PrimCallNamedTree(frame, node);
    case kPrimWakeStackObject: return PrimWakeStackObject(frame, node);
    case kPrimGrab: return PlacementPrimitives::Grab(*this, frame, node);
    case kPrimDrop: return PlacementPrimitives::Drop(*this, frame, node);
    case kPrimRefresh: return PlacementPrimitives::Refresh(*this, frame, node);
    case kPrimGetDistanceTo: return ObjectQueryPrimitives::GetDistanceTo(*this, frame, node);
    case kPrimGetDirectionTo: return ObjectQueryPrimitives::GetDirectionTo(*this, frame, node);
    case kPrimFindBestObjectForFunction: return ObjectQueryPrimitives::FindBestObjectForFunction(*this, frame, node);
    case kPrimFindLocation: return PlacementPrimitives::FindLocation(*this, frame, node);
    case kPrimRemoveObject: return PlacementPrimitives::RemoveObject(*this, frame, node);
    case kPrimSetToNext: return ObjectQueryPrimitives::SetToNext(*this, frame, node);
    case kPrimTestObjectType: return ObjectQueryPrimitives::TestObjectType(*this, frame, node);
    case kPrimMoveSlotContents: return PlacementPrimitives::MoveSlotContents(*this, frame, node);
    case kPrimSnap: return PlacementPrimitives::Snap(*this, frame, node);
    case kPrimCreateObjectInstance: return CreationPrimitives::CreateObjectInstance(*this, frame, node);
    case kPrimRelationship: return RelationshipPrimitives::Relationship(*this, frame, node);
    case kPrimPlaceFixedObject: return FixedObjectPrimitive::PlaceFixedObject(*this, frame, node);
    case kPrimSetBalloon: return BalloonPrimitive::SetBalloon(*this, frame, node);
    case kPrimStackRelationship: return RelationshipPrimitives::StackRelationship(*this, frame, node);
    case kPrimTutorial: return GamePrimitives::Tutorial(*this, frame, node);
    case kPrimShowString: return GamePrimitives::ShowString(*this, frame, node);
    case kPrimAlterBudget: return GamePrimitives::AlterBudget(*this, frame, node);
    case kPrimFindLowestMotives: return GamePrimitives::FindLowestMotives(*this, frame, node);
    case kPrimAddMenuInteraction: return GamePrimitives::AddMenuInteraction(*this, frame, node);
    case kPrimHighlightUI: return GamePrimitives::HighlightUI(*this, frame, node);
    case kPrimShowStackObject: return GamePrimitives::ShowStackObject(*this, frame, node);
    case kPrimGlobalCall: return QueuePrimitives::GlobalCall(*this, frame, node);
    case kPrimPushInteraction: return QueuePrimitives::PushInteraction(*this, frame, node);
    case kPrimPlaySound: return QueuePrimitives::PlaySound(*this, frame, node);
    case kPrimDialog: return QueuePrimitives::Dialog(*this, frame, node);
    case kPrimStopSounds: return QueuePrimitives::StopSounds(*this, frame, node);
    case kPrimMakeNewCharacter: return QueuePrimitives::MakeNewCharacter(*this, frame, node);
    // The other primitives arrive with the placement, interaction, queue,
    // relationship and interface code; persons take their own opcodes.
    default: RaiseObjectError(kErrIllegalPrimitive);
  }
}

// ---- the saved record ----

uint32_t cXObject::GetTypeCode() const { return TypeCode("XOBJ"); }

void cXObject::TransferPositionBlock(ReconStream& s, int32_t version) {
  // The box (smallest x, smallest y, largest x, largest y), the point, the
  // level, the old id, the direction, old state flags.
  int32_t box[4] = {footprint_[2], footprint_[3], footprint_[0], footprint_[1]};
  s.SerializeLongs(box, 4);
  int32_t point[2] = {position_.y, position_.x};
  s.SerializeLongs(point, 2);
  if (version >= 25) s.SerializeLongs(&level_, 1);
  if (version < 47) s.SerializeShorts(&id_, 1);
  s.SerializeShorts(&data_[kDataDirection], 1);
  if (version == 55) s.SerializeLongs(&stateFlags_, 1);
  if (s.IsReading()) {
    footprint_ = {box[2], box[3], box[0], box[1]};
    position_ = FinePoint{point[1], point[0]};
    // A point far beyond the grid can only be damage: the object is off the
    // lot, and nothing computes with the wild value.
    constexpr int32_t kFar = 16 * kLotGridSize * 2;
    if (position_.x < -kFar || position_.x > kFar || position_.y < -kFar || position_.y > kFar) {
      position_ = FinePoint::OffLot();
      footprint_ = {};
    }
  }
}

bool cXObject::Transfer(ReconStream& s, int32_t version, bool replaced, BehaviorCodec& codec) {
  const bool reading = s.IsReading();
  TransferPositionBlock(s, version);

  if (version <= 10) {
    s.SerializeShorts(attributes_.data(), 8);
    if (version == 0) {
      // 32 words from the first temp on: the temps, then data words 0-23.
      s.SerializeShorts(temps_.data(), kTempCount);
      s.SerializeShorts(data_.data(), 24);
      s.SerializeShorts(data_.data(), 32);
    } else {
      s.SerializeShorts(temps_.data(), kTempCount);
      s.SerializeShorts(data_.data(), 36);
    }
  } else {
    if (version >= 24) {
      int16_t count = static_cast<int16_t>(attributes_.size());
      s.SerializeShorts(&count, 1);
      if (reading) {
        if (count < 0 || !s.CheckCount(count, 2)) return false;
        if (count > AttributeCount()) attributes_.resize(static_cast<size_t>(count), 0);
      }
      s.SerializeShorts(attributes_.data(), std::min<int32_t>(count, AttributeCount()));
    } else {
      s.SerializeShorts(attributes_.data(), 8);
    }
    s.SerializeShorts(temps_.data(), kTempCount);
    s.SerializeShorts(data_.data(), kObjectDataWords);
  }
  int16_t zero = 0;
  s.SerializeShorts(&zero, 1);
  if (s.Failed()) return false;
  if (!TreeZaz::Transfer(s, version, codec)) return false;
  if (version >= 5) keyedArrays_.Reconstitute(s, version >= 7 ? version : 0);
  if (reading && version < 13) data_[9] = data_[10] = 0;
  if (reading && version < 34) data_[16] = data_[17] = 0;
  if (version >= 5) {
    int16_t count = static_cast<int16_t>(slots_.size());
    s.SerializeShorts(&count, 1);
    if (reading) {
      if (count < 0 || !s.CheckCount(count, 4)) return false;
      if (count > static_cast<int16_t>(slots_.size())) slots_.resize(static_cast<size_t>(count));
    }
    for (int32_t i = 0; i < count && !s.Failed(); ++i) {
      int16_t words[2] = {0, slots_[static_cast<size_t>(i)].object};
      s.SerializeShorts(words, 2);
      if (reading) slots_[static_cast<size_t>(i)].object = words[1];
    }
  }
  if (reading && version < 52) data_[kDataSlotCount] = static_cast<int16_t>(slots_.size());
  if (version >= 27) {
    int16_t count = static_cast<int16_t>(dynamicSprites_.size());
    s.SerializeShorts(&count, 1);
    if (reading) {
      if (count < 0 || !s.CheckCount(count, 2)) return false;
      if (count > static_cast<int16_t>(dynamicSprites_.size())) dynamicSprites_.resize(static_cast<size_t>(count));
    }
    s.SerializeShorts(dynamicSprites_.data(), std::min<int32_t>(count, static_cast<int32_t>(dynamicSprites_.size())));
  }
  if (reading && replaced) data_[kDataDirection] = 0;
  return !s.Failed();
}

// ---- operand access ----

int16_t cXObject::ReadDefinitionExtra(cXObject& object, int32_t index, int16_t** address) {
  ObjectDefinition* d = object.definition_;
  ObjectFolder* folder = d ? d->GetOwner() : nullptr;
  const int32_t count = folder ? folder->GetTypeAttributeCount(*d) : 0;
  if (index < 0 || index >= count) RaiseObjectError(kErrTypeAttributeIndex);
  int16_t* values = folder->GetTypeAttributes(*d);
  if (values == nullptr) RaiseObjectError(kErrTypeAttributeIndex);
  if (address) *address = &values[index];
  return values[index];
}

int16_t cXObject::EvaluateVariable(int32_t owner, int32_t index, int16_t** address, float** motive) {
  if (address) *address = nullptr;
  if (motive) *motive = nullptr;
  TreeStackFrame* frame = CurrentFrame();
  auto stack = [&](int16_t code) -> cXObject& {
    if (frame == nullptr) RaiseObjectError(code);
    return *RequireStackObject(*frame, code);
  };
  auto word = [&](int16_t* p) -> int16_t {
    if (address) *address = p;
    return *p;
  };
  auto temp = [&](int32_t n) -> int16_t {
    if (n < 0 || n >= kTempCount) RaiseObjectError(kErrTempOutOfRange);
    return temps_[static_cast<size_t>(n)];
  };
  auto readMotive = [&](cXObject& o, int32_t n) -> int16_t {
    float* m = o.GetMotive(n);
    if (m == nullptr) RaiseObjectError(kErrMotiveOutOfRange);
    if (motive) *motive = m;
    return static_cast<int16_t>(std::lround(*m));
  };
  auto requireMotiveIndex = [](int32_t n) {
    if (n < 0 || n >= kMotiveCount) RaiseObjectError(kErrMotiveOutOfRange);
  };
  auto requirePerson = [](cXObject& o) {
    if (!o.IsPerson()) RaiseObjectError(kErrNotAPerson);
  };
  auto personData = [&](cXObject& o, int32_t n) -> int16_t {
    if (n < 0 || n >= kPersonDataWords) RaiseObjectError(kErrPersonDataOutOfRange);
    int16_t* p = o.GetPersonData(n);
    if (p == nullptr) RaiseObjectError(kErrPersonDataOutOfRange);
    return word(p);
  };
  auto motiveTable = [&](int32_t n, int w) -> int16_t {
    std::vector<MotiveEntry>* table = SharedMotiveEntries();
    if (table == nullptr || n < 0 || n >= static_cast<int32_t>(table->size())) RaiseObjectError(kErrMotiveOutOfRange);
    MotiveEntry& e = (*table)[static_cast<size_t>(n)];
    return word(w == 0 ? &e.modifier : w == 1 ? &e.base : &e.range);
  };

  switch (owner) {
    case kOwnerMyAttribute:
      if (index < 0 || index >= AttributeCount()) RaiseObjectError(kErrAttributeOutOfRange);
      return word(&attributes_[static_cast<size_t>(index)]);
    case kOwnerStackObjAttribute: {
      cXObject& o = stack(kErrNoParameter);
      if (index < 0 || index >= o.AttributeCount()) RaiseObjectError(kErrAttributeOutOfRange);
      return word(&o.attributes_[static_cast<size_t>(index)]);
    }
    case kOwnerMyData:
      if (index < 0 || index >= kObjectDataWords) RaiseObjectError(kErrDataOutOfRange);
      if (index == kDataIdleCountdown && address && module_) module_->Wake(id_);
      return word(&data_[static_cast<size_t>(index)]);
    case kOwnerStackObjData: {
      if (index < 0 || index >= kObjectDataWords) RaiseObjectError(kErrDataOutOfRange);
      cXObject& o = stack(kErrNoParameter);
      if (index == kDataIdleCountdown && address && module_) module_->Wake(o.id_);
      return word(&o.data_[static_cast<size_t>(index)]);
    }
    case kOwnerGlobal: {
      if (index < 0 || index >= kSimulatorGlobalCount) RaiseObjectError(kErrGlobalOutOfRange);
      const int16_t* globals = module_ ? module_->GetGlobals() : nullptr;
      return globals ? globals[index] : 0;
    }
    case kOwnerLiteral: return static_cast<int16_t>(index);
    case kOwnerTemp:
      temp(index);
      return word(&temps_[static_cast<size_t>(index)]);
    case kOwnerParam:
      if (frame == nullptr || index < 0 || index >= frame->paramCount) RaiseObjectError(kErrStackNumberOutOfRange);
      return word(&frame->Params()[index]);
    case kOwnerStackObjectId:
      if (index != 0 || frame == nullptr) RaiseObjectError(kErrStackObjectIndex);
      return word(&frame->stackObject);
    case kOwnerTempByTemp: {
      const int32_t t = temp(index);
      temp(t);
      return word(&temps_[static_cast<size_t>(t)]);
    }
    case kOwnerMotiveTableWord2: return motiveTable(index, 2);
    case kOwnerMotiveTableWord0: return motiveTable(index, 0);
    case kOwnerMotiveTableWord1: return motiveTable(index, 1);
    case kOwnerStackObjTemp: {
      cXObject& o = stack(kErrNoParameter);
      if (index < 0 || index >= kTempCount) RaiseObjectError(kErrTempOutOfRange);
      return word(&o.temps_[static_cast<size_t>(index)]);
    }
    case kOwnerMyMotive:
      requireMotiveIndex(index);
      requirePerson(*this);
      return readMotive(*this, index);
    case kOwnerStackObjMotive: {
      requireMotiveIndex(index);
      cXObject& o = stack(kErrNoStackObject);
      requirePerson(o);
      return readMotive(o, index);
    }
    case kOwnerStackObjSlot: {
      cXObject& o = stack(kErrNoStackObject);
      if (index < 0 || index >= static_cast<int32_t>(o.slots_.size()) - 1) RaiseObjectError(kErrSlotOutOfRange);
      return o.GetSlotObject(index);
    }
    case kOwnerStackObjMotiveByTemp: {
      const int32_t m = temp(index);
      requireMotiveIndex(m);
      cXObject& o = stack(kErrNoStackObject);
      requirePerson(o);
      return readMotive(o, m);
    }
    case kOwnerMyPersonData:
      requirePerson(*this);
      return personData(*this, index);
    case kOwnerStackObjPersonData: {
      if (index < 0 || index >= kPersonDataWords) RaiseObjectError(kErrPersonDataOutOfRange);
      cXObject& o = stack(kErrNoStackObject);
      requirePerson(o);
      return personData(o, index);
    }
    case kOwnerMySlot:
      if (index < 0 || index >= static_cast<int32_t>(slots_.size()) - 1) RaiseObjectError(kErrSlotOutOfRange);
      return GetSlotObject(index);
    case kOwnerStackObjDefinition: {
      if (index < 0 || index >= kDefinitionRecordWords) RaiseObjectError(kErrDefinitionIndex);
      cXObject& o = stack(kErrNoParameter);
      return o.definition_ ? o.definition_->GetRecord().Word(index * 2) : 0;
    }
    case kOwnerStackObjAttributeByParam: {
      if (frame == nullptr || index < 0 || index >= frame->paramCount) RaiseObjectError(kErrStackNumberOutOfRange);
      const int32_t a = frame->Params()[index];
      cXObject& o = stack(kErrNoParameter);
      if (a < 0 || a >= o.AttributeCount()) RaiseObjectError(kErrAttributeOutOfRange);
      return word(&o.attributes_[static_cast<size_t>(a)]);
    }
    case kOwnerRoom: {
      const int16_t room = temps_[0];
      if (room == kSplitTileRoom) return index == 1 ? 1 : 0;
      RoomManager* rooms = RoomManager::Current();
      Room* r = rooms ? rooms->FindRoom(room) : nullptr;
      if (r == nullptr) RaiseObjectError(kErrBadRoomId);
      switch (index) {
        case 0: return static_cast<int16_t>(r->GetEffectiveLight() * 100.0f);
        case 1: return r->IsOutdoors() ? 1 : 0;
        case 2: return static_cast<int16_t>(r->GetLevel());
        case 3: return static_cast<int16_t>(r->GetTileCount());
        default: RaiseObjectError(kErrBadRoomValue);
      }
    }
    case kOwnerNeighborhoodValue:
    case kOwnerNeighborhoodGlobal:
    case kOwnerNeighborPersonData:
    case kOwnerNeighborDefinition: return ReadNeighborhoodOwner(owner, index, frame ? frame->stackObject : 0);
    case kOwnerLocal:
      if (frame == nullptr || index < 0 || index >= frame->localCount) RaiseObjectError(kErrStackNumberOutOfRange);
      return word(&frame->Locals()[index]);
    case kOwnerConstant: {
      const auto u = static_cast<uint16_t>(index);
      int32_t table = 0;
      if (u < 0x2000) {
        table = 4096 + ((u >> 7) & 63);
      } else if (u < 0x4000) {
        table = 8192 + ((u >> 7) & 63);
      } else if (u < 0x6000) {
        table = 256 + ((u >> 7) & 63);
      } else {
        RaiseObjectError(kErrInvalidConstant);
      }
      Behavior* behavior = frame ? frame->behavior : nullptr;
      const ConstantsView view = behavior ? behavior->GetConstants(table, true) : ConstantsView();
      const int element = u & 127;
      if (!view || element >= view.Count()) RaiseObjectError(kErrInvalidConstant);
      return view.At(element);
    }
    case kOwnerStackObjDynSpriteByTemp: {
      const int32_t d = temp(index);
      cXObject& o = stack(kErrNoParameter);
      if (d < 0 || d >= static_cast<int32_t>(o.dynamicSprites_.size())) RaiseObjectError(kErrDynamicSpriteIndex);
      return word(&o.dynamicSprites_[static_cast<size_t>(d)]);
    }
    case kOwnerMyPersonDataByTemp: {
      requirePerson(*this);
      return personData(*this, temp(index));
    }
    case kOwnerStackObjPersonDataByTemp: {
      cXObject& o = stack(kErrNoStackObject);
      requirePerson(o);
      return personData(o, temp(index));
    }
    case kOwnerJobData: {
      const cCareer* career = CareerList::Instance().FindCareer(temps_[0]);
      if (career == nullptr) RaiseObjectError(kErrCareerNotFound);
      const int32_t level = temps_[0] == -1 ? 0 : temps_[1];
      int32_t value = 0;
      if (!GetCareerValue(career->levels, level, index, value)) RaiseObjectError(kErrJobDataNotFound);
      return static_cast<int16_t>(value);
    }
    case kOwnerStackObjHasEntryTree: {
      cXObject& o = stack(kErrNoParameter);
      return o.definition_ && o.definition_->GetFunctionTreeId(index) != 0 ? 1 : 0;
    }
    case kOwnerMyDefinitionExtra: return ReadDefinitionExtra(*this, index, address);
    case kOwnerStackObjDefinitionExtra: return ReadDefinitionExtra(stack(kErrNoParameter), index, address);
    default: RaiseObjectError(kErrIllegalOwner);
  }
}

// ---- primitives ----

int32_t cXObject::PrimSleep(TreeStackFrame& frame, TreeNode node) {
  const int32_t n = node.Operand(0);
  if (n < 0 || n >= frame.paramCount) RaiseObjectError(kErrStackNumberOutOfRange);
  int16_t& ticks = frame.Params()[n];
  if (module_ != nullptr && module_->GetCountdown(id_) == 0) {
    ticks = 0;
    module_->SetCountdown(id_, static_cast<uint16_t>(kCountdownNone));
  }
  if (ticks < 0) ticks = 0;
  if (ticks == 0) return kPrimTrue;
  if (module_ != nullptr && MayDeschedule()) {
    module_->SetCountdown(id_, static_cast<uint16_t>(ticks - 1));
  } else {
    --ticks;
  }
  return kPrimYield;
}

int32_t cXObject::PrimExpression(TreeStackFrame&, TreeNode node) {
  const int32_t leftIndex = node.Operand(0);
  const int32_t rightIndex = node.Operand(1);
  const int32_t op = OperandByte(node, 5);
  const int32_t leftOwner = static_cast<int8_t>(OperandByte(node, 6));
  const int32_t rightOwner = static_cast<int8_t>(OperandByte(node, 7));

  const int32_t r = EvaluateVariable(rightOwner, rightIndex, nullptr, nullptr);
  int16_t* address = nullptr;
  float* motive = nullptr;
  const int32_t l = EvaluateVariable(leftOwner, leftIndex, &address, &motive);
  const bool clampMotive =
      leftOwner == kOwnerMyMotive || leftOwner == kOwnerStackObjMotive || leftOwner == kOwnerStackObjMotiveByTemp;
  auto finish = [&](int32_t result) {
    if (clampMotive && motive != nullptr) *motive = std::clamp(*motive, -100.0f, 100.0f);
    return result;
  };
  // Arithmetic is done in int; the low 16 bits are stored.
  auto store = [&](int32_t v) { *address = static_cast<int16_t>(static_cast<uint32_t>(v) & 0xFFFF); };
  auto arithmetic = [&](auto onWord, auto onMotive) -> bool {
    if (address != nullptr) {
      store(onWord(static_cast<int32_t>(*address)));
    } else if (motive != nullptr) {
      *motive = onMotive(*motive);
    } else {
      RaiseObjectError(kErrReadOnlyWrite);
    }
    return true;
  };
  auto needWord = [&]() {
    if (address == nullptr) RaiseObjectError(kErrReadOnlyWrite);
  };
  auto bitIndex = [&]() {
    if (r < 0 || r > 16) RaiseObjectError(kErrFlagOutOfRange);
    return r;
  };
  const float rf = static_cast<float>(r);

  switch (op) {
    case 0: return finish(l > r);
    case 1: return finish(l < r);
    case 2: return finish(l == r);
    case 14: return finish(l >= r);
    case 15: return finish(l <= r);
    case 16: return finish(l != r);
    case 3: arithmetic([&](int32_t v) { return v + r; }, [&](float v) { return v + rf; }); return finish(kPrimTrue);
    case 4: arithmetic([&](int32_t v) { return v - r; }, [&](float v) { return v - rf; }); return finish(kPrimTrue);
    case 5: arithmetic([&](int32_t) { return r; }, [&](float) { return rf; }); return finish(kPrimTrue);
    case 6: arithmetic([&](int32_t v) { return v * r; }, [&](float v) { return v * rf; }); return finish(kPrimTrue);
    case 7:
      if (r == 0) RaiseObjectError(kErrDivideByZero);
      arithmetic([&](int32_t v) { return v / r; }, [&](float v) { return v / rf; });
      return finish(kPrimTrue);
    case 8: {
      const int32_t bit = bitIndex();
      return finish(bit != 0 && ((l >> (bit - 1)) & 1) != 0);
    }
    case 9:
    case 10: {
      const int32_t bit = bitIndex();
      needWord();
      if (bit != 0) {
        const int32_t mask = 1 << (bit - 1);
        store(op == 9 ? (*address | mask) : (*address & ~mask));
      }
      return finish(kPrimTrue);
    }
    case 11: {
      int32_t now = 0;
      float nowMotive = 0;
      arithmetic([&](int32_t v) { return now = v + 1; }, [&](float v) { return nowMotive = v + 1; });
      if (address == nullptr) return finish(nowMotive < rf);
      return finish(static_cast<int16_t>(now) < r);
    }
    case 17: {
      int32_t now = 0;
      float nowMotive = 0;
      arithmetic([&](int32_t v) { return now = v - 1; }, [&](float v) { return nowMotive = v - 1; });
      if (address == nullptr) return finish(nowMotive > rf);
      return finish(static_cast<int16_t>(now) > r);
    }
    case 12:
      needWord();
      if (r == 0) RaiseObjectError(kErrDivideByZero);
      store(std::abs(l) % std::abs(r));
      return finish(kPrimTrue);
    case 13:
      needWord();
      store(l & r);
      return finish(kPrimTrue);
    default: RaiseObjectError(kErrBadOperator);
  }
}

int32_t cXObject::PrimRandomNumber(TreeStackFrame&, TreeNode node) {
  const auto limit = static_cast<uint16_t>(EvaluateVariable(node.Operand(3), node.Operand(2), nullptr, nullptr));
  if (limit == 0) RaiseObjectError(kErrRandomRangeZero);
  int16_t* address = nullptr;
  float* motive = nullptr;
  EvaluateVariable(node.Operand(1), node.Operand(0), &address, &motive);
  const uint32_t value = NextRandom() % limit;
  if (address != nullptr) {
    *address = static_cast<int16_t>(value);
  } else if (motive != nullptr) {
    *motive = static_cast<float>(value);
  } else {
    RaiseObjectError(kErrReadOnlyWrite);
  }
  return kPrimTrue;
}

int32_t cXObject::PrimBreakpoint(TreeStackFrame&, TreeNode node) {
  if (EvaluateVariable(node.Operand(1), node.Operand(0), nullptr, nullptr) != 0) RaiseObjectError(kErrTreeBreak);
  return kPrimTrue;
}

int32_t cXObject::PrimRunFunctionalTree(TreeStackFrame& frame, TreeNode node) {
  static constexpr int16_t kEntries[15] = {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 14, 28, 16, 17, 29};
  cXObject* stackObject = RequireStackObject(frame, kErrNoStackObject);
  const int32_t kind = node.Operand(0);
  if (kind < 0 || kind >= 15 || stackObject->definition_ == nullptr) return kPrimFalse;
  const int16_t tree = stackObject->definition_->GetFunctionTreeId(kEntries[kind]);
  if (tree == 0) return kPrimFalse;
  const bool flag = (OperandByte(node, 2) & 1) != 0;
  return PushTreeCall(stackObject->GetBehavior(), tree, stackObject->id_, flag) ? kPrimAgain : kPrimFalse;
}

int32_t cXObject::PrimCallNamedTree(TreeStackFrame& frame, TreeNode node) {
  if (frame.primitiveState == 1) return LastResult() ? kPrimTrue : kPrimFalse;
  Behavior* behavior = frame.behavior;
  ResourceSource* file = nullptr;
  if (behavior != nullptr) file = (OperandByte(node, 2) & 1) != 0 ? behavior->SemiGlobalFile() : behavior->OwnFile();
  const std::optional<std::string> name = file ? file->GetString(node.Operand(0), OperandByte(node, 4)) : std::nullopt;
  if (!name || name->empty()) return kPrimFalse;
  const int32_t mode = OperandByte(node, 5);
  if (mode > 2) RaiseObjectError(kErrBadNamedTreeCall);
  cXObject* stackObject = RequireStackObject(frame, kErrNoStackObject);
  Behavior* target = stackObject->GetBehavior();
  const int16_t tree = target ? target->LocateTree(*name) : 0;
  if (tree == 0) return kPrimFalse;
  const int16_t none[4] = {0, 0, 0, 0};
  if (mode == 0) return RunTree(target, stackObject->id_, tree, none) ? kPrimTrue : kPrimFalse;
  if (mode == 1) return stackObject->RunTree(target, stackObject->id_, tree, none) ? kPrimTrue : kPrimFalse;
  const int32_t frameIndex = FrameCount() - 1;
  if (!PushTreeCall(target, tree, stackObject->id_, false)) return kPrimFalse;
  // The push may have moved the frames.
  FrameAt(frameIndex)->primitiveState = 1;
  return kPrimAgain;
}

int32_t cXObject::PrimWakeStackObject(TreeStackFrame& frame, TreeNode) {
  cXObject* o = RequireStackObject(frame, kErrNoStackObject);
  TreeStackFrame* top = o->OwnRunTop();
  if (top == nullptr) return kPrimTrue;
  const TreeView tree = top->Tree();
  if (!tree.HasNode(top->node)) return kPrimTrue;
  const uint16_t opcode = tree.Node(top->node).Opcode();
  if (opcode == kPrimSleep) {
    if (top->paramCount > 0) top->Params()[0] = 0;
    if (module_ != nullptr) module_->SetCountdown(o->id_, 0);
  } else if (opcode == kPrimIdleForInput) {
    if (top->paramCount > 0) top->Params()[0] = 0;
  }
  return kPrimTrue;
}

}  // namespace tova
