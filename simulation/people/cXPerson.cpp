#include "simulation/people/cXPerson.h"

#include <algorithm>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ResourceSource.h"
#include "resfile/ReconStream.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"
#include "simulation/people/ActivityLog.h"
#include "simulation/people/AutonomyConstants.h"
#include "simulation/people/CharacterData.h"
#include "simulation/people/MoodTables.h"
#include "simulation/people/PeopleHost.h"

namespace tova {

namespace {

constexpr int32_t kDecayInterval = 60;
constexpr int32_t kSampleInterval = 10;
constexpr uint32_t kFlagKeepCallers = 0x1000;
constexpr int32_t kReservedCandidates = 512;
constexpr int16_t kCurveTableResident = 501;
constexpr int16_t kCurveTableChild = 503;
constexpr int32_t kNewCurrentAnimationPerson = 247;

std::unique_ptr<cXObject> MakePerson(ObjectDefinition* definition, ObjectModule* module) {
  return std::make_unique<cXPerson>(definition, module);
}

}  // namespace

cXPerson::cXPerson(ObjectDefinition* definition, ObjectModule* module) : cXObject(definition, module) {
  personMark_ = 1;
  curves_.Init(&curveLink_, &motives_);
  animator_.Attach(this);
}

cXPerson::~cXPerson() { ForgetCharacterPerson(this); }

void cXPerson::Register() { ObjectModule::SetPersonMaker(&MakePerson); }

uint32_t cXPerson::GetTypeCode() const { return TypeCode("PERS"); }

int16_t cXPerson::CurveLink::GetPersonData(int index) const {
  return index >= 0 && index < kPersonDataWords ? person_.Word(index) : 0;
}

float* cXPerson::GetMotive(int32_t n) { return n >= 0 && n < kMotiveCount ? &motives_.current[n] : nullptr; }

int16_t* cXPerson::GetPersonData(int32_t n) {
  return n >= 0 && n < kPersonDataWords ? &personData_[static_cast<size_t>(n)] : nullptr;
}

float cXPerson::GetMotiveValue(int32_t n) const { return motives_.current[std::clamp(n, 0, kMotiveCount - 1)]; }
float& cXPerson::MotiveRef(int32_t n) { return motives_.current[std::clamp(n, 0, kMotiveCount - 1)]; }

int32_t cXPerson::RunPrimitive(TreeStackFrame& frame, TreeNode node) {
  if (node.Opcode() == kFindBestInteractionOpcode) return FindBestInteraction(frame) ? kPrimTrue : kPrimFalse;
  if (node.Opcode() == kAnimateOpcode) return RunAnimate(frame, node);
  int32_t result = kPrimFalse;
  if (RunPersonPrimitive(frame, node, result)) return result;
  return cXObject::RunPrimitive(frame, node);
}

void cXPerson::UpdateNeighbor() { PeopleHost().CopyToNeighbor(*this); }

const std::string& cXPerson::GetName() const {
  static const std::string none;
  return GetDefinition() != nullptr ? GetDefinition()->GetName() : none;
}

// ---- set-up ----

void cXPerson::InitFromDefinition() {
  cXObject::InitFromDefinition();
  candidates_.reserve(kReservedCandidates);
  motiveChanges_.reserve(2);
  LoadMotiveCurves();
  MoodTables::Instance().LoadOnce(PeopleHost().GlobalFile());
  AutonomyConstantsClient::Instance().LoadOnce();
  room_ = kNoRoomYet;
}

void cXPerson::ResetData(bool run) {
  const int16_t kept[3] = {Word(kPersonVisitor), Word(34), Word(35)};
  personData_.fill(0);
  SetWord(kPersonVisitor, kept[0]);
  SetWord(34, kept[1]);
  SetWord(35, kept[2]);
  PeopleHost().FillFromNeighbor(*this);
  animator_.Reset();
  cXObject::ResetData(run);
  LoadMotiveCurves();
}

void cXPerson::LoadMotiveCurves() {
  curves_.Init(&curveLink_, &motives_);
  iPeopleHost& host = PeopleHost();
  ObjectDefinition* d = GetDefinition();
  const int16_t own = d != nullptr ? host.OwnCurveTable(*d) : 0;
  if (own != 0 && d->GetOwnSource() != nullptr) {
    curves_.LoadCurves(*d->GetOwnSource(), own);
  } else if (ResourceSource* global = host.GlobalFile()) {
    curves_.LoadCurves(*global, IsChild() ? kCurveTableChild : kCurveTableResident);
  }
}

void cXPerson::ComputeMood() {
  const MoodTables::Table& table = MoodTables::Instance().For(IsChild());
  float weighted = 0;
  float weights = 0;
  for (const PiecewiseCurve& curve : table) {
    if (curve.motiveIndex < 0 || curve.motiveIndex >= kMotiveCount) continue;
    const float v = motives_.current[curve.motiveIndex];
    const float c = curve.Evaluate(v);
    weighted += v * c;
    weights += c;
  }
  // With no weight at all there is nothing to average: the mood stays.
  if (weights != 0) motives_.current[kMotiveMood] = weighted / weights;
}

// ---- ticking ----

void cXPerson::DecayMotivesIfActive() {
  if (Word(kPersonMotivesFrozen) != 0 || inactive_) return;
  DecayMotives(motives_, curveLink_, PeopleHost().GetHour());
}

void cXPerson::ApplyMotiveChanges() {
  for (const MotiveChange& c : motiveChanges_) {
    if (c.motive < 0 || c.motive >= kMotiveCount) continue;
    float& v = motives_.current[c.motive];
    if (c.perTick >= 0 && c.stop > v) {
      v = std::min(v + c.perTick, c.stop);
    } else if (c.perTick < 0 && c.stop < v) {
      v = std::max(v + c.perTick, c.stop);
    }
  }
}

bool cXPerson::Tick() {
  const bool result = cXObject::Tick();
  iPeopleHost& host = PeopleHost();
  const uint32_t tick = host.GetTickCount();
  if (tick - lastDecay_ >= kDecayInterval) {
    lastDecay_ = tick;
    DecayMotivesIfActive();
  }
  if (room_ != kNoRoomYet) motives_.current[kMotiveRoom] = host.RoomScore(room_);
  ++personData_[kPersonTreeTicks];
  ApplyMotiveChanges();
  if (tick % kSampleInterval == 0 && !IsVisitor() && !inactive_ && !IsAsleep()) host.CountHouseSample(HasRoute());
  if (const int16_t money = Word(kPersonPendingMoney); money != 0) {
    host.ShowMoney(*this, money);
    SetWord(kPersonPendingMoney, 0);
  }
  if (ActivityLog::Instance().IsRecording()) ActivityLog::Instance().Sample(*this);
  animator_.Update();
  return result;
}

// ---- the with-list ----

bool cXPerson::PushTreeCall(Behavior* behavior, int32_t treeId, int16_t stackObject, bool owner) {
  if (!cXObject::PushTreeCall(behavior, treeId, stackObject, owner)) return false;
  if (withList_.size() >= static_cast<size_t>(kMaxWithRecords)) withList_.erase(withList_.begin());
  withList_.push_back({stackObject, FrameCount(), owner});
  if (owner) current_.icon = stackObject;
  return true;
}

void cXPerson::OnFramePopped() {
  if (withList_.empty()) return;
  const int32_t depth = FrameCount();
  bool dropped = false;
  while (!withList_.empty() && withList_.back().depth >= depth + 1) {
    withList_.pop_back();
    dropped = true;
  }
  if (!dropped) return;
  // The icon passes to the last remaining caller that owns the action.
  for (auto it = withList_.rbegin(); it != withList_.rend(); ++it) {
    if (it->owner) {
      current_.icon = it->object;
      break;
    }
  }
  if (withList_.empty()) SetCurrentAction(QueuedAction());
}

void cXPerson::PruneWithList() {
  ObjectModule* module = GetModule();
  std::erase_if(withList_, [module](const WithRecord& r) {
    return r.object <= 0 || module == nullptr || module->GetObjectById(r.object) == nullptr;
  });
}

// ---- room tracking ----

void cXPerson::Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  cXObject::Place(point, level, container, slot);
  TrackRoom();
}

void cXPerson::TrackRoom() {
  iPeopleHost& host = PeopleHost();
  const int16_t now = host.RoomAt(*this);
  if (now == room_) return;
  const int16_t old = room_;
  room_ = now;
  ObjectModule* module = GetModule();
  if (old != kNoRoomYet) {
    bool occupied = false;
    for (cXObject* o = module ? module->FirstObject() : nullptr; o != nullptr; o = o->GetNext()) {
      if (o != this && o->IsPerson() && static_cast<cXPerson*>(o)->room_ == old) occupied = true;
    }
    if (!occupied) host.SetRoomLights(old, false);
  }
  host.SetRoomLights(now, true);
  const bool selected = module != nullptr && module->GetSelectedPerson() == this;
  if (selected || host.IsControlled(*this)) host.Broadcast(kNewCurrentAnimationPerson, GetId());
}

void cXPerson::CheckStandingTile() {
  animator_.eventsFired = 0;
  iPeopleHost& host = PeopleHost();
  const bool bad = IsOnLot() && (!host.IsInsideLot(*this) || !host.IsStandable(*this));
  SetWord(kPersonOnInvalidTile, bad ? 1 : 0);
}

void cXPerson::PlaceAtCurrentLocation(int32_t version) {
  PruneWithList();
  UpdateNeighbor();
  cXObject::PlaceAtCurrentLocation(version);
  TrackRoom();
  // Routes read with a lot are planned again when walked on.
  MarkRoutesNotStarted();
  animator_.eventsFired = 0;
  if (PeopleHost().IsHouseMember(*this) && GetModule() != nullptr) {
    TellPersonsObjectGone(*GetModule(), *this);
    Reset(0);
  }
}

// ---- resets ----

void cXPerson::Reset(int32_t how) {
  ObjectModule* module = GetModule();
  cXObject* object = how != 0 && module != nullptr ? module->GetObjectById(static_cast<int16_t>(how)) : nullptr;
  if (how != 0 && object == nullptr) return;
  ResetFor(object);
}

void cXPerson::TellPersonsObjectGone(ObjectModule& module, cXObject& gone) {
  for (cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) {
    if (o != &gone && o->IsPerson()) o->Reset(gone.GetId());
  }
}

void cXPerson::ResetFor(cXObject* object) {
  if (cleaningUp_) {
    PeopleHost().DebugLog("already cleaning up " + GetName());
    return;
  }
  cleaningUp_ = true;
  const int16_t id = object != nullptr ? object->GetId() : 0;
  const bool involved = object == nullptr || id == current_.icon ||
                        std::any_of(withList_.begin(), withList_.end(), [id](const WithRecord& r) { return r.object == id; });
  if (involved) FullReset(object);
  if (object != nullptr) {
    for (int32_t n = QueuedCount() - 1; n >= 0; --n) {
      const QueuedAction& a = *GetQueuedAction(n);
      if (a.target == id || a.icon == id) RemoveQueued(n);
    }
    if (previous_.target == id) {
      previous_ = QueuedAction();
    } else if (previous_.icon == id) {
      previous_.icon = 0;
    }
    if (current_.target == id) {
      SetCurrentAction(QueuedAction());
    } else if (current_.icon == id) {
      current_.icon = 0;
    }
    if (object->IsPerson()) {
      for (PersonRoute& r : routes_) {
        if (r.waitingOn == id) r.waitingOn = 0;
      }
    }
  } else {
    ClearQueue();
  }
  cleaningUp_ = false;
}

void cXPerson::FullReset(cXObject* object) {
  ObjectModule* module = GetModule();
  const cXObject& asker = object != nullptr ? *object : *this;
  const bool keepCallers = (asker.GetStateFlags() & kFlagKeepCallers) != 0;
  while (!withList_.empty()) {
    const WithRecord record = withList_.back();
    while (FrameCount() >= record.depth && FrameCount() > 0 && !withList_.empty() && withList_.back() == record) {
      PopFrame();
      OnFramePopped();
    }
    if (!withList_.empty() && withList_.back() == record) withList_.pop_back();
    cXObject* caller = module != nullptr ? module->GetObjectById(record.object) : nullptr;
    if (!keepCallers && caller != nullptr && caller != this) {
      TellPersonsObjectGone(*module, *caller);
      caller->Reset(0);
    }
  }
  animator_.Reset();
  for (int32_t n = 0; n <= SlotCount(); ++n) SetSlotObject(n, 0);
  routes_.clear();
  PutBack();
  SetWord(kPersonPosture, 0);
  SetWord(40, 0);
  SetWord(59, 0);
  inactive_ = false;
  if (GetBehavior() != nullptr && GetDefinition() != nullptr) {
    ResetAndPush(GetBehavior(), GetDefinition()->GetFunctionTreeId(kEntryMain));
  }
  RunEntryTree(kEntryReset);
  SetCurrentAction(QueuedAction());
  CheckStandingTile();
}

void cXPerson::PutBack() {
  const bool wasOnLot = IsOnLot();
  FinePoint point = GetPosition();
  const int32_t level = GetLevel();
  const bool seated = Word(kPersonPosture) != 0;
  const bool inside = PeopleHost().IsInsideLot(*this);
  const bool standable = PeopleHost().IsStandable(*this);
  RemoveFromWorld();
  if (keptOut_ || !wasOnLot) return;
  iLotWorld* world = GetModule() != nullptr ? GetModule()->GetWorld() : nullptr;
  if (!inside && world != nullptr) {
    const int32_t centre = world->GetSize() / 2 * 16 + 8;
    point = FinePoint{centre, centre};
  }
  if (!seated && inside && standable && CanPlace(point, level, nullptr, 0)) {
    Place(point, level, nullptr, 0);
  } else {
    FreeLocationRequest request;
    request.fixedStart = true;
    request.start = point;
    request.level = level;
    request.sameRoom = true;
    request.emptyTile = true;
    FinePoint found;
    bool ok = FindFreeLocation(request, found);
    if (!ok) {
      request.sameRoom = false;
      request.emptyTile = false;
      ok = FindFreeLocation(request, found);
    }
    if (ok) Place(found, level, nullptr, 0);
  }
  CheckStandingTile();
}

// ---- appearance names ----

const std::array<std::string, 3>& cXPerson::GetOutfitNames() {
  const int16_t character = Word(kPersonCharacter);
  const int16_t outfit = IsChild() ? 0 : Word(kPersonOutfitIndex);
  if (character == lastCharacter_ && outfit == lastOutfit_) return outfitNames_;
  lastCharacter_ = character;
  lastOutfit_ = outfit;
  iPeopleHost& host = PeopleHost();
  std::array<std::string, 3> names;
  if (!host.GetOutfit(character, outfit, Word(kPersonSex), names)) names = {};
  names[0] = host.NormalizeSuitName(GetDefinition(), names[0]);
  names[1] = host.NormalizeSuitName(GetDefinition(), names[1]);
  outfitNames_ = names;
  return outfitNames_;
}

std::array<std::string, 2> cXPerson::ChooseSleepwear() const {
  iPeopleHost& host = PeopleHost();
  return {host.NormalizeSuitName(GetDefinition(), IsChild() ? "pjs$gchd" : "pajama$g$b"),
          host.NormalizeSuitName(GetDefinition(), "pajama$g$c")};
}

cXPerson::SkeletonSuit cXPerson::ChooseSkeletonSuit(bool negative) const {
  SkeletonSuit s;
  s.names = IsChild() ? std::array<std::string, 2>{"skeletonchd_01", "c_kidskull"}
                      : std::array<std::string, 2>{"skeleton_01", "c_skeleton"};
  if (negative) {
    s.bodyLines = {"BODY=skeleneg_01", "HEAD-HEAD=c_skeleneg", "HAND=_GUAO_sneg"};
  } else {
    s.bodyLines = {"BODY=skeleton_01", "HEAD-HEAD=c_skeleton", "HAND=_GUAO_skel"};
  }
  return s;
}

// ---- the record ----

bool cXPerson::Transfer(ReconStream& s, int32_t version, bool replaced, BehaviorCodec& codec) {
  if (!cXObject::Transfer(s, version, replaced, codec)) return false;
  const bool reading = s.IsReading();
  if (version <= 10) {
    int32_t discarded[28] = {};
    s.SerializeLongs(discarded, 28);
  }
  if (version >= 3 && !animator_.Transfer(s, version, pathPoints_)) return false;
  if (version >= 4) s.SerializeFloats(motives_.current, kMotiveCount);
  if (version >= 8) {
    s.SerializeFloats(motives_.previous, kMotiveCount);
  } else if (reading) {
    std::fill(std::begin(motives_.previous), std::end(motives_.previous), 0.0f);
    if (version == 3) std::fill(std::begin(motives_.current), std::end(motives_.current), 0.0f);
  }
  if (version >= 11) s.SerializeShorts(personData_.data(), version <= 40 ? 64 : kPersonDataWords);
  if (version >= 13) {
    int32_t count = static_cast<int32_t>(routes_.size());
    s.SerializeLongs(&count, 1);
    if (reading) {
      if (count < 0 || count > kMaxRoutes) {
        s.Fail();
        return false;
      }
      routes_.resize(static_cast<size_t>(count));
    }
  }
  if (version >= 43 && !TransferActions(s, version)) return false;
  if (version >= 44) {
    int32_t count = static_cast<int32_t>(motiveChanges_.size());
    s.SerializeLongs(&count, 1);
    if (reading) {
      if (count < 0 || count > kMaxMotiveChanges || !s.CheckCount(count, 12)) {
        s.Fail();
        return false;
      }
      motiveChanges_.assign(static_cast<size_t>(count), MotiveChange{});
    }
    for (MotiveChange& c : motiveChanges_) {
      s.SerializeLongs(&c.motive, 1);
      s.SerializeFloats(&c.perTick, 1);
      s.SerializeFloats(&c.stop, 1);
    }
  }
  if (reading && version <= 44) {
    for (int32_t w : {1, 8, 21, 22, 23, 24, 25, 26}) SetWord(w, 0);
  }
  return !s.Failed();
}

bool cXPerson::TransferActions(ReconStream& s, int32_t version) {
  const bool reading = s.IsReading();
  if (!current_.Transfer(s, version) || !previous_.Transfer(s, version)) return false;
  int32_t count = QueuedCount();
  s.SerializeLongs(&count, 1);
  if (reading) {
    // The ring holds eight; a larger count cannot come from a saved lot.
    if (count < 0 || count > kQueueSize) {
      s.Fail();
      return false;
    }
    head_ = tail_ = 0;
    for (int32_t n = 0; n < count; ++n) {
      QueuedAction& a = Slot(tail_++);
      a = QueuedAction();
      if (!a.Transfer(s, version)) return false;
    }
  } else {
    for (int32_t n = 0; n < count; ++n) {
      if (!GetQueuedAction(n)->Transfer(s, version)) return false;
    }
  }
  int32_t withCount = static_cast<int32_t>(withList_.size());
  s.SerializeLongs(&withCount, 1);
  if (reading) {
    if (withCount < 0 || withCount > kMaxWithRecords || !s.CheckCount(withCount, 7)) {
      s.Fail();
      return false;
    }
    withList_.assign(static_cast<size_t>(withCount), WithRecord{});
  }
  for (WithRecord& r : withList_) {
    s.SerializeShorts(&r.object, 1);
    s.SerializeLongs(&r.depth, 1);
    s.SerializeBool(&r.owner);
  }
  // Every object of the lot exists before the records are read: a record
  // naming none of them is dropped.
  if (reading) {
    ObjectModule* module = GetModule();
    std::erase_if(withList_, [module](const WithRecord& r) {
      return r.object <= 0 || module == nullptr || module->GetObjectById(r.object) == nullptr;
    });
  }
  return !s.Failed();
}

}  // namespace tova
