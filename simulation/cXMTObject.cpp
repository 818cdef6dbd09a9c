// cXMTObject: the parts of a multi-tile group, placed, turned and removed
// together, and the joining and splitting of groups of one kind.
#include "simulation/cXMTObject.h"

#include "gamedata/ObjectDefinitionRecord.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"

namespace tova {

namespace {

int32_t Mod8(int32_t a) { return ((a % 8) + 8) % 8; }

// (y, x) turned by a direction: 0 keeps, 2 gives (x, -y), 4 (-y, -x),
// 6 (-x, y); odd directions give (0, 0). Each quarter turn takes a step
// toward x-1 to one toward y-1, then x+1, then y+1: the way a wall side mask
// turns with the direction, so a part that stands against the side toward
// its neighbour part still does after any turn (a door's two halves meet in
// the one wall), and the way sprite offsets and thumbnails turn.
void Turn(int32_t direction, int32_t y, int32_t x, int32_t& outY, int32_t& outX) {
  switch (Mod8(direction)) {
    case 0: outY = y, outX = x; break;
    case 2: outY = x, outX = -y; break;
    case 4: outY = -y, outX = -x; break;
    case 6: outY = -x, outX = y; break;
    default: outY = 0, outX = 0; break;
  }
}

FinePoint Offset(FinePoint p, int32_t tilesY, int32_t tilesX) { return {p.x + tilesX * 16, p.y + tilesY * 16}; }

bool SameKind(const cXObject& a, const cXObject& b) {
  const ObjectDefinition* da = a.GetDefinition();
  const ObjectDefinition* db = b.GetDefinition();
  if (da == nullptr || db == nullptr) return false;
  const int16_t master = da->GetRecord().MasterId();
  return master != 0 && master == db->GetRecord().MasterId() && da->GetOwnFile() == db->GetOwnFile();
}

}  // namespace

cXMTObject::cXMTObject(ObjectDefinition* definition, cXMTObject* lead, ObjectModule* module)
    : cXObject(definition, module) {
  if (lead != nullptr) LinkTo(lead);
}

cXMTObject::~cXMTObject() { Unlink(); }

uint32_t cXMTObject::GetTypeCode() const { return TypeCode("XMTO"); }

void cXMTObject::InitFromDefinition() {
  cXObject::InitFromDefinition();
  if (GetDefinition() == nullptr) return;
  const ObjectDefinitionRecord& r = GetDefinition()->GetRecord();
  const int16_t sub = r.SubIndex();
  if (sub == -1) return;
  offsetY_ = static_cast<int8_t>((static_cast<uint16_t>(sub) >> 8) & 0xFF);
  offsetX_ = static_cast<int8_t>(sub & 0xFF);
  offsetLevel_ = r.Word(ObjectDefinitionRecord::kPartKey);
}

// ---- the chain ----

void cXMTObject::LinkTo(cXMTObject* lead) {
  lead = lead->GetLead();
  if (lead == this) return;
  lead_ = lead;
  cXMTObject* tail = lead;
  while (tail->nextPart_ != nullptr) tail = tail->nextPart_;
  tail->nextPart_ = this;
  nextPart_ = nullptr;
}

void cXMTObject::Unlink() {
  if (lead_ == nullptr) {
    // The next part leads the rest.
    cXMTObject* rest = nextPart_;
    if (rest != nullptr) {
      rest->lead_ = nullptr;
      for (cXMTObject* p = rest->nextPart_; p != nullptr; p = p->nextPart_) p->lead_ = rest;
    }
  } else {
    cXMTObject* p = lead_;
    while (p != nullptr && p->nextPart_ != this) p = p->nextPart_;
    if (p != nullptr) p->nextPart_ = nextPart_;
  }
  lead_ = nullptr;
  nextPart_ = nullptr;
}

void cXMTObject::GetGroup(std::vector<cXObject*>& out) {
  out.clear();
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) out.push_back(p);
}

bool cXMTObject::IsSameObject(const cXObject* other) const {
  if (other == this) return true;
  if (other == nullptr || !other->IsGroupPart()) return false;
  return static_cast<const cXMTObject*>(other)->GetLead() == GetLead();
}

void cXMTObject::UpdateOffsets() {
  cXMTObject* lead = GetLead();
  const int32_t direction = lead->GetData(kDataDirection);
  for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) {
    Turn(direction, p->offsetY_ - lead->offsetY_, p->offsetX_ - lead->offsetX_, p->rotatedY_, p->rotatedX_);
    p->rotatedLevel_ = p->offsetLevel_ - lead->offsetLevel_;
  }
}

uint8_t cXMTObject::NeighbourMask() {
  if (!IsOnLot() || GetModule() == nullptr) return 0;
  const TileLocation own = GetTile();
  uint8_t mask = 0;
  for (int32_t i = 0; i < 8; ++i) {
    const GridStep step = kGridSteps[Mod8(GetData(kDataDirection) + i)];
    TileLocation t = own;
    t.x = static_cast<int8_t>(own.x + step.dx);
    t.y = static_cast<int8_t>(own.y + step.dy);
    std::vector<cXObject*> stack;
    GetModule()->ObjectsInCell(t, stack);
    for (cXObject* o : stack) {
      if (o != this && IsSameObject(o)) mask = static_cast<uint8_t>(mask | (1u << i));
    }
  }
  return mask;
}

// ---- record ----

bool cXMTObject::Transfer(ReconStream& s, int32_t version, bool replaced, BehaviorCodec& codec) {
  if (!cXObject::Transfer(s, version, replaced, codec)) return false;
  s.SerializeLongs(&rotatedY_, 1);
  s.SerializeLongs(&rotatedX_, 1);
  if (version >= 58) s.SerializeLongs(&rotatedLevel_, 1);
  if (version >= 40) {
    int32_t offsets[3] = {offsetY_, offsetX_, offsetLevel_};
    s.SerializeLongs(offsets, 3);
    if (s.IsReading()) SetOffsets(offsets[0], offsets[1], offsets[2]);
  }
  int16_t leadId = lead_ != nullptr ? lead_->GetId() : 0;
  s.SerializeShorts(&leadId, 1);
  if (s.Failed()) return false;
  if (s.IsReading() && leadId != 0 && GetModule() != nullptr) {
    cXObject* lead = GetModule()->GetObjectById(leadId);
    // A lead id naming no part of a group leaves the part on its own.
    if (lead != nullptr && lead != this && lead->IsGroupPart()) {
      Unlink();
      LinkTo(static_cast<cXMTObject*>(lead));
    }
  }
  return true;
}

void cXMTObject::PlaceAtCurrentLocation(int32_t version) {
  cXObject::PlaceAtCurrentLocation(version);
  if (version <= 57) UpdateOffsets();
}

// ---- resets ----

void cXMTObject::ResetData(bool run) {
  cXMTObject* lead = GetLead();
  if (lead != this) {
    lead->ResetData(run);
    return;
  }
  for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) p->cXObject::ResetData(run);
  UpdateOffsets();
  for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) {
    p->RunEntryTree(kEntryInit);
    if (run) p->Tick();
    p->UpdateSchedulerBits();
  }
}

// ---- placement ----

FinePoint cXMTObject::LeadPoint(FinePoint point) const { return Offset(point, -rotatedY_, -rotatedX_); }

bool cXMTObject::CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  if (container != nullptr) {
    SetPlaceFailureCode(kPlaceGroupInSlot);
    return false;
  }
  iLotWorld* world = GetModule() ? GetModule()->GetWorld() : nullptr;
  const FinePoint leadPoint = LeadPoint(point);
  if (world == nullptr || TileLocation::FromFine(leadPoint, level).IsOnBorder(world->GetSize())) {
    SetPlaceFailureCode(kPlaceBorder);
    return false;
  }
  bool fits = true;
  int32_t code = kPlaceOk;
  bool heightsDiffer = false;
  int32_t height = -1;
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) {
    const FinePoint at = Offset(leadPoint, p->rotatedY_, p->rotatedX_);
    const int32_t partLevel = level + p->rotatedLevel_;
    if (!p->cXObject::CanPlace(at, partLevel, nullptr, slot)) {
      const int32_t c = PlaceFailureCode();
      if (fits || c == kPlaceDeepPool || c == kPlaceAboveGround) code = c;
      fits = false;
    }
    const TileLocation t = TileLocation::FromFine(at, partLevel);
    if (!t.IsOnBorder(world->GetSize())) {
      const int32_t h = static_cast<int32_t>(world->GetCornerHeights(t) & 0xFF);
      if (height >= 0 && h != height) heightsDiffer = true;
      height = h;
    }
  }
  // Parts standing at different ground heights, unless uneven ground is
  // allowed; a border refusal is not compared.
  if (code == kPlaceOk && heightsDiffer && !(GetData(kDataPlacement) & kPlaceUnevenGround) &&
      !GetModule()->FreePlacement()) {
    code = kPlaceUneven;
    fits = false;
  }
  SetPlaceFailureCode(code);
  return fits;
}

bool cXMTObject::CanPlaceAt(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  if (!CanPlace(point, level, container, slot)) return false;
  const FinePoint leadPoint = LeadPoint(point);
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) {
    if (!p->cXObject::CanPlaceAt(Offset(leadPoint, p->rotatedY_, p->rotatedX_), level + p->rotatedLevel_, nullptr,
                                 slot)) {
      return false;
    }
  }
  return true;
}

void cXMTObject::Place(FinePoint point, int32_t level, cXObject*, int32_t slot) {
  cXMTObject* lead = GetLead();
  if (point.IsOffLot()) {
    for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) p->cXObject::RemoveFromWorld();
  } else {
    const FinePoint leadPoint = LeadPoint(point);
    for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) {
      p->cXObject::Place(Offset(leadPoint, p->rotatedY_, p->rotatedX_), level + p->rotatedLevel_, nullptr, slot);
    }
  }
  for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) p->RunEntryTree(kEntryPlaced);
}

void cXMTObject::PlaceAndNotify(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  Place(point, level, container, slot);
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) {
    p->RunEntryTree(kEntryUserPlaced);
    for (int32_t n = 0; n < p->SlotCount(); ++n) {
      if (cXObject* inside = p->GetObjectInSlot(n)) inside->RunEntryTree(kEntryUserPlaced);
    }
  }
  if (HasEntryTree(kEntryJoin) && IsOnLot()) JoinNeighbours();
}

void cXMTObject::RemoveFromWorld() {
  cXMTObject* lead = GetLead();
  for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) p->RunEntryTree(kEntryRemoved);
  for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) p->cXObject::RemoveFromWorld();
}

bool cXMTObject::CanPickUp() {
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) {
    if (!p->cXObject::CanPickUp()) return false;
  }
  return true;
}

bool cXMTObject::CanDelete() {
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) {
    if (!p->cXObject::CanDelete()) return false;
  }
  return true;
}

void cXMTObject::PickUpGroup(bool split) {
  if (split) SplitFromGroup();
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->nextPart_) {
    p->RunEntryTree(kEntryPickedUp);
    for (int32_t n = 0; n < p->SlotCount(); ++n) {
      if (cXObject* inside = p->GetObjectInSlot(n)) inside->RunEntryTree(kEntryPickedUp);
    }
  }
  RemoveFromWorld();
}

int32_t cXMTObject::GetSaleValue() const {
  const cXMTObject* lead = GetLead();
  return lead == this ? cXObject::GetSaleValue() : lead->GetSaleValue();
}

void cXMTObject::Rotate(int32_t steps) {
  cXMTObject* lead = GetLead();
  const FinePoint point = GetPosition();
  const int32_t level = GetLevel() - rotatedLevel_;
  const bool wasOnLot = IsOnLot();
  RemoveFromWorld();
  const int32_t turn = Mod8(steps * GetData(kDataRotationStep));
  if (turn != 0) {
    std::vector<int16_t> before;
    for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) {
      before.push_back(p->GetData(kDataDirection));
      p->SetData(kDataDirection, static_cast<int16_t>(Mod8(p->GetData(kDataDirection) + turn)));
    }
    UpdateOffsets();
    if (wasOnLot && !CanPlace(point, level, nullptr, 0)) {
      size_t i = 0;
      for (cXMTObject* p = lead; p != nullptr; p = p->nextPart_) p->SetData(kDataDirection, before[i++]);
      UpdateOffsets();
    }
  }
  if (wasOnLot && CanPlace(point, level, nullptr, 0)) Place(point, level, nullptr, 0);
}

// ---- joining and splitting ----

void cXMTObject::JoinNeighbours() {
  GetModule()->MarkDrawOrderDirty();
  bool joined = false;
  for (int32_t d = 0; d < 8; d += 2) {
    std::vector<cXObject*> group;
    GetGroup(group);
    for (cXObject* part : group) {
      const TileLocation own = part->GetTile();
      TileLocation t = own;
      t.x = static_cast<int8_t>(own.x + kGridSteps[d].dx);
      t.y = static_cast<int8_t>(own.y + kGridSteps[d].dy);
      std::vector<cXObject*> stack;
      GetModule()->ObjectsInCell(t, stack);
      for (cXObject* o : stack) {
        if (!o->IsGroupPart() || IsSameObject(o) || !SameKind(*this, *o)) continue;
        // The neighbour's group takes this group in.
        cXMTObject* host = static_cast<cXMTObject*>(o)->GetLead();
        const TileLocation hostTile = host->GetTile();
        const int32_t direction = host->GetData(kDataDirection);
        std::vector<cXObject*> mine;
        GetGroup(mine);
        for (cXObject* m : mine) {
          auto* p = static_cast<cXMTObject*>(m);
          p->lead_ = nullptr;
          p->nextPart_ = nullptr;
        }
        for (cXObject* m : mine) {
          auto* p = static_cast<cXMTObject*>(m);
          p->LinkTo(host);
          p->SetData(kDataDirection, static_cast<int16_t>(direction));
          const TileLocation pt = p->GetTile();
          int32_t y = 0, x = 0;
          Turn(8 - direction, pt.y - hostTile.y, pt.x - hostTile.x, y, x);
          p->SetOffsets(host->offsetY_ + y, host->offsetX_ + x, host->offsetLevel_ + p->GetLevel() - host->GetLevel());
        }
        UpdateOffsets();
        joined = true;
        break;
      }
      if (joined) break;
    }
    joined = false;
  }
  RunJoinTrees();
}

void cXMTObject::SplitFromGroup() {
  cXMTObject* lead = GetLead();
  if (lead == this && nextPart_ == nullptr) return;
  cXMTObject* rest = lead == this ? nextPart_ : lead;
  Unlink();
  offsetY_ = offsetX_ = offsetLevel_ = 0;
  UpdateOffsets();
  rest->UpdateOffsets();
  RunJoinTrees();
  rest->RunJoinTrees();
}

void cXMTObject::RunJoinTrees() {
  std::vector<cXObject*> group;
  GetGroup(group);
  for (cXObject* part : group) {
    auto* p = static_cast<cXMTObject*>(part);
    p->RunEntryTree(kEntryJoin, 0, p->NeighbourMask());
  }
}

}  // namespace tova
