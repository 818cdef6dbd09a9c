// cXObject: where an object stands. Containment (a world cell or an entry of
// a container), the footprint box, the placement test and its codes,
// placing, picking up, leaving the world, turning, the facing marks, wall
// adjacency, tile block masks, redraw marking and the free-location search.
#include <algorithm>
#include <cmath>
#include <climits>

#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "gamedata/ObjectDefinitionRecord.h"
#include "gamedata/TreeTableData.h"
#include "simulation/ObjectModule.h"
#include "simulation/WorldVectors.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

constexpr uint8_t kNoPoolValue = 255;
constexpr int32_t kDeepPool = 16;

int32_t Mod(int32_t a, int32_t m) { return ((a % m) + m) % m; }

// Side bit k (0-3) to bit (k + q) mod 4; the diagonals change places on odd
// quarter turns.
int32_t TurnSides(int32_t mask, int32_t quarterTurns) {
  const int32_t q = Mod(quarterTurns, 4);
  int32_t out = 0;
  for (int32_t k = 0; k < 4; ++k) {
    if (mask & (1 << k)) out |= 1 << ((k + q) % 4);
  }
  int32_t diagonals = mask & 0x30;
  if (q % 2 == 1 && (diagonals == 0x10 || diagonals == 0x20)) diagonals ^= 0x30;
  return out | diagonals;
}

bool Overlaps(const LotBox& a, const LotBox& b) {
  return a.minX < b.maxX && b.minX < a.maxX && a.minY < b.maxY && b.minY < a.maxY;
}

uint8_t RotateLeft8(uint32_t v, int32_t n) {
  n = Mod(n, 8);
  v &= 0xFF;
  return static_cast<uint8_t>(((v << n) | (v >> (8 - n))) & 0xFF);
}

}  // namespace

// ---- containment ----

cXObject* cXObject::GetContainer() const {
  if (data_[kDataContainment] < 0 || module_ == nullptr) return nullptr;
  return module_->GetObjectById(data_[kDataContainerAtPosition]);
}

cXObject* cXObject::GetOutermostContainer() {
  cXObject* o = this;
  // A chain is at most as long as the lot has objects; a damaged load that
  // makes a loop ends the climb.
  for (int32_t guard = 0; guard < ObjectModule::kMaxObjectId; ++guard) {
    cXObject* c = o->GetContainer();
    if (c == nullptr || c == this) return o;
    o = c;
  }
  return o;
}

cXObject* cXObject::GetObjectInSlot(int32_t n) const {
  const int16_t id = GetSlotObject(n);
  return id != 0 && module_ != nullptr ? module_->GetObjectById(id) : nullptr;
}

void cXObject::ClearDanglingSlots() {
  for (ObjectSlotEntry& e : slots_) {
    if (e.object != 0 && (module_ == nullptr || module_->GetObjectById(e.object) == nullptr)) e.object = 0;
  }
}

int32_t cXObject::GetSlotKind(int32_t n) const {
  if (n < 0 || n >= SlotCount()) return 0;
  return slots_[static_cast<size_t>(n + 1)].kind;
}

void cXObject::SetContainment(int16_t container, int16_t position) {
  data_[kDataContainerAtPosition] = position >= 0 ? container : 0;
  data_[kDataContainment] = position;
  data_[kDataContainer] = position >= 0 ? container : 0;
  data_[kDataSlotIndex] = static_cast<int16_t>(position > 0 ? position - 1 : -1);
}

void cXObject::LeaveCell() {
  const int16_t position = data_[kDataContainment];
  const int16_t below = slots_.empty() ? 0 : slots_[0].object;
  cXObject* next = below != 0 && module_ ? module_->GetObjectById(below) : nullptr;
  if (!slots_.empty()) slots_[0].object = 0;
  const int16_t heir = next ? next->id_ : 0;
  if (position >= 0) {
    cXObject* c = GetContainer();
    if (c != nullptr && position < static_cast<int32_t>(c->slots_.size()) &&
        c->slots_[static_cast<size_t>(position)].object == id_) {
      c->slots_[static_cast<size_t>(position)].object = heir;
      if (next) next->SetContainment(c->id_, position);
    } else if (next) {
      next->SetContainment(0, -1);
    }
  } else if (IsOnLot()) {
    iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
    if (world != nullptr && world->GetObjectIdAt(GetTile()) == id_) world->SetObjectIdAt(GetTile(), heir);
    if (next) next->SetContainment(0, -1);
  }
  SetContainment(0, -1);
}

void cXObject::EnterCell(cXObject* container, int32_t slot) {
  if (container != nullptr) {
    if (slot < 0 || slot >= container->SlotCount()) return;
    container->slots_[static_cast<size_t>(slot + 1)].object = id_;
    SetContainment(container->id_, static_cast<int16_t>(slot + 1));
    return;
  }
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  if (world == nullptr || !IsOnLot()) return;
  const TileLocation tile = GetTile();
  cXObject* top = module_->GetObjectById(world->GetObjectIdAt(tile));
  if (top == nullptr || top == this) {
    world->SetObjectIdAt(tile, id_);
    return;
  }
  // Every further object at the tile sits in the leading entry of the last
  // one stacked there.
  for (int32_t guard = 0; guard < ObjectModule::kMaxObjectId; ++guard) {
    cXObject* next = top->slots_.empty() ? nullptr : module_->GetObjectById(top->slots_[0].object);
    if (next == nullptr || next == this) break;
    top = next;
  }
  if (top->slots_.empty()) return;
  top->slots_[0].object = id_;
  SetContainment(top->id_, 0);
}

void cXObject::MoveTo(FinePoint point, int32_t level) {
  const int16_t oldRoom = data_[kDataRoom];
  position_ = point;
  level_ = level;
  const LotBox box = FootprintAt(point, data_[kDataDirection]);
  footprint_ = {box.maxX, box.maxY, box.minX, box.minY};
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  int16_t room = -5;
  if (world != nullptr && IsOnLot()) {
    const int16_t r = world->GetRoomId(GetTile());
    room = r != 0 ? r : static_cast<int16_t>(-5);
  }
  data_[kDataRoom] = room;
  if (room != oldRoom && data_[kDataRoomImpact] != 0 && module_ != nullptr) {
    Broadcast(cmd::kObjectDeleted, static_cast<uint16_t>(oldRoom));
    Broadcast(cmd::kObjectDeleted, static_cast<uint16_t>(room));
  }
  for (int32_t n = 0; n < SlotCount(); ++n) {
    // Only what this object really holds moves with it (a damaged load may
    // name other objects in its slots).
    cXObject* inside = GetObjectInSlot(n);
    if (inside != nullptr && inside != this && inside->GetContainer() == this) inside->MoveTo(point, level);
  }
  MarkForRedraw(true);
  if (module_ != nullptr) module_->MarkDrawOrderDirty();
}

// ---- the footprint and what blocks ----

LotBox cXObject::FootprintAt(FinePoint point, int32_t direction) const {
  const ObjectDefinitionRecord* record = definition_ ? &definition_->GetRecord() : nullptr;
  int32_t size = record ? record->Word(ObjectDefinitionRecord::kFootprintSize) : 0;
  if (size == 0) size = 16;
  if (IsPerson() && IsCarried()) size = 0;
  const int32_t h = size / 2;
  LotBox box{point.x - h, point.x + h, point.y - h, point.y + h};
  const int32_t insets = record ? static_cast<uint16_t>(record->Word(ObjectDefinitionRecord::kInsets)) : 0;
  if (insets == 0) return box;
  const int32_t q = (8 - Mod(direction, 8)) / 2;
  auto inset = [&](int32_t i) { return (insets >> (4 * (i % 4))) & 15; };
  box.minX += inset(q);
  box.maxY -= inset(q + 1);
  box.maxX -= inset(q + 2);
  box.minY += inset(q + 3);
  return box;
}

bool cXObject::Blocks() const {
  const int16_t w = data_[kDataFlags];
  if (w & kFlagNonBlocking) return (w & kFlagBlockA) != 0;
  return (w & kFlagBlockB) == 0;
}

int32_t cXObject::GetWallSideMask() const {
  const int16_t w = data_[kDataWallPlacement] & 5;
  const int32_t mask = w == 1 ? 2 : w == 4 ? 8 : 0;
  return mask == 0 ? 0 : TurnSides(mask, data_[kDataDirection] / 2);
}

// ---- the placement test ----

bool cXObject::CanPlace(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  inTheWay_ = nullptr;
  const int32_t code = PlacementCode(point, level, container, slot);
  placeCode_ = code;
  return code == 0;
}

int32_t cXObject::PlacementCode(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  const int32_t size = world ? world->GetSize() : 0;
  const TileLocation tile = TileLocation::FromFine(point, level);
  const int16_t w42 = data_[kDataPlacement];
  if (world == nullptr || tile.IsOnBorder(size)) return kPlaceBorder;
  if (level < 1 || level > 3) return kPlaceBadLevel;
  if (level > 1 && (w42 & kPlaceGroundLevelOnly)) return kPlaceAboveGround;

  if (!module_->FreePlacement()) {
    const bool viewed = level == module_->GetViewLevel();
    int32_t wallReason = 0;
    if (!IsPerson() &&
        !world->WallPlacementTest(point, level, data_[kDataDirection], data_[kDataWallPlacement], wallReason)) {
      // A refusal always carries a code: a wall in the way (7) unless the test named another.
      return wallReason > 0 ? wallReason : kPlaceRouting;
    }
    const bool floored = world->HasFloor(tile);
    if (level > 1 && !(w42 & kPlaceNoFloorAbove) && !floored) return viewed ? kPlaceNoFloorViewed : kPlaceNoFloor;
    if (!(w42 & kPlaceOnWater) && level == 1 && world->HasWater(tile)) return kPlaceWater;
    // 255 is a tile without any pool value: neither pool rule speaks of it.
    const uint8_t pool = level == 1 ? world->GetPoolValue(tile) : kNoPoolValue;
    if (pool != kNoPoolValue) {
      if (pool < kDeepPool && !(w42 & kPlaceInShallowPool)) return kPlaceWater;
      if (pool >= kDeepPool && (w42 & kPlaceNotInDeepPool)) return kPlaceDeepPool;
    }
    if (!(w42 & kPlaceUnevenGround)) {
      const uint32_t c = world->GetCornerHeights(tile);
      const uint32_t first = c & 0xFF;
      if (((c >> 8) & 0xFF) != first || ((c >> 16) & 0xFF) != first || ((c >> 24) & 0xFF) != first) {
        return kPlaceUneven;
      }
    }
    if (!(w42 & kPlaceOnFloor) && (floored || (level == 1 && pool == kDeepPool))) {
      return viewed ? kPlaceFloored : kPlaceFlooredOffView;
    }
    if (!(w42 & kPlaceOnGround) && level == 1 && !floored) return kPlaceUnfloored;
    const bool flag = (world->GetTileFlags(tile) & kLotTileOutside) != 0;
    if (data_[kDataTileFlagRule] == 1 && !flag) return kPlaceNeedsFlag;
    if (data_[kDataTileFlagRule] == 2 && flag) return kPlaceFlagForbids;
  }
  if (container != nullptr) return ContainerCode(*container, slot);
  return OverlapCode(point, level);
}

int32_t cXObject::ContainerCode(cXObject& container, int32_t slot) {
  if ((data_[kDataFlags] & kFlagNonBlocking) || (container.data_[kDataFlags] & kFlagNonBlocking)) {
    return kPlaceNonBlockingSlot;
  }
  if (slot < 0 || slot >= container.SlotCount()) return kPlaceNoSuchSlot;
  const ObjectSlotEntry& entry = container.slots_[static_cast<size_t>(slot + 1)];
  if (entry.object != 0 && entry.object != id_) {
    inTheWay_ = container.GetObjectInSlot(slot);
    return kPlaceOverlap;
  }
  for (int32_t n = 0; n < container.SlotCount(); ++n) {
    const ObjectSlotEntry& other = container.slots_[static_cast<size_t>(n + 1)];
    if (n == slot || other.kind != entry.kind || other.object == 0 || other.object == id_) continue;
    const bool centred = (entry.x == 0 && entry.y == 0) || (other.x == 0 && other.y == 0);
    if (centred) {
      inTheWay_ = container.GetObjectInSlot(n);
      return kPlaceOverlap;
    }
  }
  if (container.data_[kDataCapacity] < data_[kDataSize]) return kPlaceTooBig;
  for (cXObject* c = &container; c != nullptr; c = c->GetContainer()) {
    if (c == this) return kPlaceOverlap;
    if (c->GetContainer() == &container) break;  // a damaged loop not through this object
  }
  if (entry.kind <= 0 || entry.kind > 16 || !(data_[kDataSlotKinds] & (1 << (entry.kind - 1)))) {
    return kPlaceWrongKind;
  }
  return kPlaceOk;
}

int32_t cXObject::OverlapCode(FinePoint point, int32_t level) {
  iLotWorld* world = module_->GetWorld();
  const LotBox mine = FootprintAt(point, data_[kDataDirection]);
  const TileLocation own = TileLocation::FromFine(point, level);
  const bool myBit2 = (data_[kDataFlags] & kFlagNonBlocking) != 0;
  for (int32_t d = -1; d < 8; ++d) {
    TileLocation tile = own;
    if (d >= 0) {
      tile.x = static_cast<int8_t>(own.x + kGridSteps[d].dx);
      tile.y = static_cast<int8_t>(own.y + kGridSteps[d].dy);
    }
    std::vector<cXObject*> stack;
    module_->ObjectsInCell(tile, stack);
    for (cXObject* other : stack) {
      if (other == this || IsSameObject(other) || (other->IsPerson() && other->IsCarried())) continue;
      const LotBox theirs = other->GetFootprint();
      const bool theirBit2 = (other->data_[kDataFlags] & kFlagNonBlocking) != 0;
      const bool persons = IsPerson() || other->IsPerson();
      int32_t code = kPlaceOk;
      if (!persons && !myBit2 && !theirBit2) {
        if (Overlaps(mine, theirs) && !RunEntryTree(kEntryAllowOverlap, other->id_, other->id_) &&
            !other->RunEntryTree(kEntryAllowOverlap, id_, id_)) {
          code = kPlaceOverlap;
        }
      } else if (!persons) {
        if (d >= 0) continue;  // compared on the own tile only
        const int16_t common = data_[kDataExclusive] & other->data_[kDataExclusive];
        if (common & 1) {
          code = kPlaceOverlap;
        } else if (myBit2 && theirBit2 && GetWallSideMask() != 0 && GetWallSideMask() == other->GetWallSideMask()) {
          code = kPlaceSameWall;
        } else if (common & 2) {
          code = kPlaceOverlap;
        }
      } else {
        const cXObject& nonPerson = IsPerson() ? *other : *this;
        if (nonPerson.Blocks() && Overlaps(mine, theirs)) code = kPlaceOverlap;
      }
      if (code != kPlaceOk) {
        inTheWay_ = other;
        return code;
      }
    }
  }
  if (!module_->FreePlacement() && !(data_[kDataPlacement] & kPlaceNoRoutingTest) &&
      world->RoutingTest(mine, level) != 0) {
    return kPlaceRouting;
  }
  if (!(data_[kDataSlotKinds] & 1)) return kPlaceWrongKind;
  return kPlaceOk;
}

bool cXObject::CanPlaceAt(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  const TileLocation tile = TileLocation::FromFine(point, level);
  if (world == nullptr || tile.IsOutsideBounds(world->GetBounds()) ||
      (world->GetTileFlags(tile) & kLotTileNoPlacement)) {
    placeCode_ = kPlaceBorder;
    return false;
  }
  if (!CanPlace(point, level, container, slot)) return false;
  if ((point.x & 15) != 8 || (point.y & 15) != 8) {
    placeCode_ = kPlaceBorder;
    return false;
  }
  if (container != nullptr) {
    const int32_t kind = container->GetSlotKind(slot);
    if (kind >= 5 && kind <= 7) {
      placeCode_ = kPlaceOverlap;
      return false;
    }
  }
  return true;
}

// ---- placing and leaving ----

bool cXObject::IsCategory6() {
  ObjectDefinition* master = definition_ ? definition_->GetMasterDefinition() : nullptr;
  if (master == nullptr) master = definition_;
  return master != nullptr && master->GetRecord().Word(ObjectDefinitionRecord::kCategory) == 6;
}

TileLocation cXObject::FrontTile() const {
  const GridStep step = kGridSteps[Mod(data_[kDataDirection], 8)];
  TileLocation t = GetTile();
  t.x = static_cast<int8_t>(t.x + step.dx);
  t.y = static_cast<int8_t>(t.y + step.dy);
  return t;
}

void cXObject::ReevaluateFacing(TileLocation tile) {
  if (module_ == nullptr || module_->GetWorld() == nullptr) return;
  // Faced when a straight neighbour holds a facing object turned toward it.
  bool faced = false;
  for (int32_t d = 0; d < 8 && !faced; d += 2) {
    TileLocation n = tile;
    n.x = static_cast<int8_t>(tile.x + kGridSteps[d].dx);
    n.y = static_cast<int8_t>(tile.y + kGridSteps[d].dy);
    std::vector<cXObject*> stack;
    module_->ObjectsInCell(n, stack);
    for (cXObject* o : stack) {
      if (o->IsOnLot() && o->HasEntryTree(kEntryFacing) && o->FrontTile() == tile) faced = true;
    }
  }
  std::vector<cXObject*> stack;
  module_->ObjectsInCell(tile, stack);
  for (cXObject* o : stack) {
    const int16_t before = o->data_[kDataFlags];
    o->data_[kDataFlags] = static_cast<int16_t>(faced ? before | kFlagFacedByObject : before & ~kFlagFacedByObject);
    if (o->data_[kDataFlags] != before && o->HasEntryTree(kEntryFacedChanged)) o->RunEntryTree(kEntryPlaced);
  }
}

void cXObject::Place(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  const FinePoint oldPoint = position_;
  const bool wasOnLot = IsOnLot();
  const TileLocation oldTile = GetTile();
  const TileLocation oldFront = FrontTile();
  MarkForRedraw();
  if (container != nullptr) {
    container->MarkForRedraw();
    point = container->position_;
    level = container->level_;
  }
  LeaveCell();
  const bool category6 = IsCategory6();
  if (wasOnLot && world != nullptr) {
    if (HasEntryTree(kEntryFacing)) ReevaluateFacing(oldFront);
    if (category6) world->SetTileFlagBits(oldTile, kLotTileUnderCategory6, false);
  }
  position_ = point;
  level_ = level;
  EnterCell(container, slot);
  MoveTo(point, level);
  if (IsOnLot() && world != nullptr) {
    ReevaluateFacing(GetTile());
    if (HasEntryTree(kEntryFacing)) ReevaluateFacing(FrontTile());
  }
  UpdateWallAdjacency();
  if (!IsGroupPart()) RunEntryTree(kEntryPlaced);
  if (container != nullptr) container->RunEntryTree(kEntryPlaced);
  if (!(oldPoint == position_) && module_ != nullptr) module_->MarkDrawOrderDirty();
  if (category6 && IsOnLot() && world != nullptr) world->SetTileFlagBits(GetTile(), kLotTileUnderCategory6, true);
}

void cXObject::PlaceAndNotify(FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  Place(point, level, container, slot);
  RunEntryTree(kEntryUserPlaced);
  for (int32_t n = 0; n < SlotCount(); ++n) {
    if (cXObject* inside = GetObjectInSlot(n)) inside->RunEntryTree(kEntryUserPlaced);
  }
}

void cXObject::RemoveFromWorld() {
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  if (!IsGroupPart()) RunEntryTree(kEntryRemoved);
  MarkForRedraw();
  const bool wasOnLot = IsOnLot();
  const TileLocation oldTile = GetTile();
  const TileLocation oldFront = FrontTile();
  if (wasOnLot && world != nullptr && data_[kDataTileNotice] == 1) world->NotifyTileChanged(oldTile);
  cXObject* former = GetContainer();
  LeaveCell();
  MoveTo(FinePoint::OffLot(), 1);
  data_[kDataFlags] = static_cast<int16_t>(data_[kDataFlags] & ~kFlagFacedByObject);
  if (wasOnLot && world != nullptr && HasEntryTree(kEntryFacing)) ReevaluateFacing(oldFront);
  if (former != nullptr) former->RunEntryTree(kEntryPlaced);
  if (wasOnLot && world != nullptr && IsCategory6()) world->SetTileFlagBits(oldTile, kLotTileUnderCategory6, false);
  if (module_ != nullptr) module_->MarkDrawOrderDirty();
}

bool cXObject::CanPickUp() {
  if (module_ != nullptr && module_->FreePlacement()) return true;
  placeCode_ = kPlaceOk;
  if (!(data_[kDataMovement] & kMovePickUp)) {
    placeCode_ = kPlaceCannotPickUp;
    return false;
  }
  if (data_[kDataUseCount] > 0 || (data_[kDataFlags] & kFlagInUse)) {
    placeCode_ = kPlaceInUse;
    return false;
  }
  for (int32_t n = 0; n < SlotCount(); ++n) {
    cXObject* inside = GetObjectInSlot(n);
    if (inside != nullptr && inside != this && !inside->CanPickUp()) return false;
  }
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  if (world != nullptr && IsOnLot() && data_[kDataContainment] != 0 &&
      (world->GetTileFlags(GetTile()) & kLotTileNoPlacement)) {
    placeCode_ = kPlaceProtectedTile;
    return false;
  }
  return true;
}

void cXObject::PickUp() {
  RunEntryTree(kEntryPickedUp);
  for (int32_t n = 0; n < SlotCount(); ++n) {
    if (cXObject* inside = GetObjectInSlot(n)) inside->RunEntryTree(kEntryPickedUp);
  }
  RemoveFromWorld();
}

bool cXObject::CanDelete() {
  if (module_ != nullptr && module_->FreePlacement()) return true;
  if (!CanPickUp() || !(data_[kDataMovement] & kMoveDelete)) return false;
  for (int32_t n = 0; n < SlotCount(); ++n) {
    if (GetSlotObject(n) != 0) return false;
  }
  return true;
}

void cXObject::Rotate(int32_t steps) {
  if (steps == 0 || data_[kDataRotationStep] == 0) return;
  const TileLocation oldFront = FrontTile();
  data_[kDataDirection] = static_cast<int16_t>(Mod(steps * data_[kDataRotationStep] + data_[kDataDirection], 8));
  MarkForRedraw();
  if (IsOnLot() && HasEntryTree(kEntryFacing)) {
    ReevaluateFacing(oldFront);
    ReevaluateFacing(FrontTile());
  }
  UpdateWallAdjacency();
}

void cXObject::UpdateWallAdjacency() {
  if (!HasEntryTree(kEntryWallAdjacency)) return;
  const int16_t before = data_[kDataWallAdjacency];
  int32_t bits = 0;
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  const TileLocation tile = GetTile();
  if (world != nullptr && IsOnLot()) {
    const int32_t size = world->GetSize();
    if (tile.x >= 1 && tile.x <= size - 2 && tile.y >= 1 && tile.y <= size - 2) {
      const int32_t q = Mod(-(data_[kDataDirection] / 2), 4);
      const int32_t sides = TurnSides(world->GetWallSides(tile).flags & 0x3F, q);
      bits = (sides & 1) | ((sides & 2) << 1) | ((sides & 4) >> 1) | (sides & 8);
    }
  }
  data_[kDataWallAdjacency] = static_cast<int16_t>((before & ~0x3F) | bits);
  if (data_[kDataWallAdjacency] != before) RunEntryTree(kEntryWallAdjacency);
}

// ---- redraw ----

void cXObject::MarkForRedraw(bool onlyThis) {
  if (onlyThis) {
    MarkSelfForRedraw();
  } else {
    GetOutermostContainer()->MarkDownForRedraw(0);
  }
}

void cXObject::MarkSelfForRedraw() {
  iLotView* view = module_ ? module_->GetView() : nullptr;
  if (redrawState_ != 1 && view != nullptr && level_ <= view->GetViewLevel() && screen_.left <= screen_.right) {
    view->InvalidateRect(ScreenRect{screen_.left, screen_.top, screen_.right, screen_.bottom});
  }
  redrawState_ = 1;
  redrawStamp_ = INT_MAX;
  ++redrawClock_;
}

void cXObject::MarkDownForRedraw(int32_t depth) {
  MarkSelfForRedraw();
  // A damaged load may chain slots into a loop; the depth ends it.
  if (depth >= 64) return;
  for (int32_t n = 0; n < SlotCount(); ++n) {
    cXObject* inside = GetObjectInSlot(n);
    if (inside != nullptr && inside != this) inside->MarkDownForRedraw(depth + 1);
  }
}

int32_t cXObject::FloorShadowNumber() {
  std::vector<cXObject*> stack;
  if (module_ != nullptr && IsOnLot() && data_[kDataContainment] < 0) {
    module_->ObjectsInCell(GetTile(), stack);
  } else {
    stack.push_back(this);
  }
  for (cXObject* o : stack) {
    if (o->data_[kDataHidden] != 0 || (o->data_[kDataFlags] & kFlagNonBlocking) || o->IsPerson() || o->IsCursor() ||
        o->floorShadow_ < 0) {
      continue;
    }
    return o->floorShadow_;
  }
  return -1;
}

// ---- scheduler bits, value, entry trees ----

bool cXObject::HasEntryTree(int32_t n) const {
  return definition_ != nullptr && definition_->GetBehavior() != nullptr && definition_->GetFunctionTreeId(n) != 0;
}

bool cXObject::RunEntryTree(int32_t n, int16_t stackObject, int16_t argument) {
  if (!HasEntryTree(n)) return false;
  const int16_t params[4] = {argument, 0, 0, 0};
  return RunTree(definition_->GetBehavior(), stackObject, definition_->GetFunctionTreeId(n), params);
}

void cXObject::UpdateSchedulerBits() {
  if (module_ == nullptr || id_ == 0) return;
  module_->SetStateBits(id_, kSchedWord60, data_[kDataSchedulerFlag] != 0);
  // Offers interactions: its tree table has a shown entry numbered below
  // 100; type-7 objects never do.
  bool offers = false;
  if (definition_ != nullptr && definition_->GetRecord().ObjectType() != 7) {
    if (const TreeTableData* table = definition_->GetTreeTable()) {
      for (const TreeTableEntry& e : table->entries) {
        if (e.nameIndex < 100 && !(e.flags & TreeTableEntry::kFlagBangName)) offers = true;
      }
    }
  }
  module_->SetStateBits(id_, kSchedOffersInteractions, offers);
}

int32_t cXObject::GetSaleValue() const {
  const int32_t value = data_[kDataValue];
  return data_[kDataDepreciated] != 0 ? value / 2 : value;
}

void cXObject::DepreciateOneDay() {
  if (definition_ == nullptr || IsGroupPart()) return;
  const ObjectDefinitionRecord& r = definition_->GetRecord();
  if (r.Word(ObjectDefinitionRecord::kNoDepreciation) != 0) return;
  const int32_t price = r.Word(ObjectDefinitionRecord::kPrice);
  const int32_t amount = data_[kDataValue] == price ? r.Word(ObjectDefinitionRecord::kFirstDepreciation)
                                                    : r.Word(ObjectDefinitionRecord::kDailyDepreciation);
  const int32_t floor = r.Word(ObjectDefinitionRecord::kDepreciationFloor);
  data_[kDataValue] = static_cast<int16_t>(std::max(floor, data_[kDataValue] - amount));
}

float cXObject::SlotHeight(int32_t n) {
  if (n < 0 || n >= SlotCount()) return 0;
  float height = slots_[static_cast<size_t>(n) + 1].z;
  cXObject* o = this;
  for (int32_t guard = 0; guard < ObjectModule::kMaxObjectId; ++guard) {
    cXObject* c = o->GetContainer();
    const int32_t at = o->data_[kDataContainment];
    if (c == nullptr || c == this || at < 0 || at >= static_cast<int32_t>(c->slots_.size())) break;
    height += c->slots_[static_cast<size_t>(at)].z;
    o = c;
  }
  return height;
}

float cXObject::DistanceTo(const cXObject& other) const {
  const double dx = other.position_.x - position_.x;
  const double dy = other.position_.y - position_.y;
  const double dl = 20.0 * (other.level_ - level_);
  return static_cast<float>(std::sqrt((dx * dx + dy * dy) / 256.0 + dl * dl));
}

int32_t cXObject::GetContentsMaxValue() {
  if (showId_ || IsPerson()) return INT_MAX;
  int32_t most = 1000;
  for (int32_t n = 0; n < SlotCount(); ++n) {
    cXObject* inside = GetObjectInSlot(n);
    if (inside != nullptr && inside != this && inside->GetContainer() == this) {
      most = std::max(most, inside->GetContentsMaxValue());
    }
  }
  return most;
}

void cXObject::SetState(uint32_t value) {
  std::vector<cXObject*> group;
  GetGroup(group);
  for (cXObject* part : group) part->stateFlags_ = (part->stateFlags_ & ~kStateMask) | (value & kStateMask);
}

bool cXObject::IsWallObject() {
  std::vector<cXObject*> group;
  GetGroup(group);
  for (cXObject* part : group) {
    if ((part->data_[kDataWallPlacement] & 0xF) != 0) return true;
    if ((part->data_[kDataPlacement] & 0x0800) != (data_[kDataPlacement] & 0x0800)) return true;
  }
  return false;
}

FinePoint cXObject::GroupCentre() {
  std::vector<cXObject*> group;
  GetGroup(group);
  int64_t x = 0, y = 0;
  for (cXObject* part : group) {
    x += part->position_.x;
    y += part->position_.y;
  }
  const int64_t n = static_cast<int64_t>(group.size());
  return FinePoint{static_cast<int32_t>(x / n), static_cast<int32_t>(y / n)};
}

void cXObject::ScrollViewTo(bool animate) {
  iLotView* view = module_ ? module_->GetView() : nullptr;
  if (view == nullptr || data_[kDataHidden] != 0) return;
  float height = 0;
  if (IsPerson() && level_ == view->GetViewLevel()) height = AltitudeToScreenUnits(GetAltitude());
  FinePoint at = GroupCentre();
  if (!IsPerson()) at = TileLocation::FromFine(at, level_).GetCenterPoint();
  view->ScrollTo(at, level_, height, animate);
}

// ---- the free-location search ----

bool cXObject::FindFreeLocation(const FreeLocationRequest& request, FinePoint& out) {
  iLotWorld* world = module_ ? module_->GetWorld() : nullptr;
  if (world == nullptr) return false;
  const int32_t size = world->GetSize();
  const int32_t level = request.fixedStart ? request.level : 1;
  TileLocation start = TileLocation::FromFine(request.start, level);
  if (!request.fixedStart) start = TileLocation::At(size / 2, size / 2, level);
  start.x = static_cast<int8_t>(std::clamp<int32_t>(start.x, 1, size - 2));
  start.y = static_cast<int8_t>(std::clamp<int32_t>(start.y, 1, size - 2));
  const int16_t startRoom = world->GetRoomId(start);
  // Directions other than the four straight ones search as the spiral.
  const int32_t direction = request.direction;
  const bool alongX = direction == 0 || direction == 4;
  const bool alongY = direction == 2 || direction == 6;
  int32_t misses = 0;
  // The spiral: legs of 1, 1, 2, 2, 3, 3 ... tiles turning a quarter each.
  int32_t sx = 0, sy = 0, leg = 1, walked = 0, turn = 0, legsAtLength = 0;
  static constexpr int32_t kSpiralX[4] = {1, 0, -1, 0};
  static constexpr int32_t kSpiralY[4] = {0, 1, 0, -1};
  for (int32_t i = 0; misses < size * 8; ++i) {
    int32_t dx = 0, dy = 0;
    const int32_t alternate = (i + 1) / 2 * (i % 2 == 1 ? 1 : -1);
    if (alongX) {
      dx = alternate;
    } else if (alongY) {
      dy = alternate;
    } else {
      dx = sx;
      dy = sy;
      sx += kSpiralX[turn];
      sy += kSpiralY[turn];
      if (++walked == leg) {
        walked = 0;
        turn = (turn + 1) % 4;
        if (++legsAtLength == 2) {
          legsAtLength = 0;
          ++leg;
        }
      }
    }
    const int32_t x = start.x + dx, y = start.y + dy;
    if (x < 1 || y < 1 || x > size - 2 || y > size - 2) {
      ++misses;
      continue;
    }
    misses = 0;
    const TileLocation tile = TileLocation::At(x, y, level);
    if (world->GetWallSides(tile).flags & kLotWallDiagonals) continue;
    if (request.emptyTile && world->GetObjectIdAt(tile) != 0) continue;
    if (request.sameRoom && world->GetRoomId(tile) != startRoom) continue;
    if (level == 1 && world->GetPoolValue(tile) < kDeepPool) continue;
    if (request.tileFlag && !module_->FreePlacement() && (world->GetTileFlags(tile) & kLotTileNoPlacement)) continue;
    if (!CanPlace(tile.GetCenterPoint(), level, nullptr, 0)) continue;
    out = tile.GetCenterPoint();
    return true;
  }
  return false;
}

// ---- tile block masks ----

uint8_t ObjectModule::GetTileBlockMask(TileLocation tile, int32_t rotation) const {
  if (world_ == nullptr) return 0;
  const int32_t size = world_->GetSize();
  if (tile.x < 0 || tile.y < 0 || tile.x >= size || tile.y >= size) return 0;
  // Only objects block. The flags layer's low bits are room detection's
  // marks (support, reached from outside, kept): read as sides they would wall
  // in every outdoor tile and no route could end outside.
  uint32_t mask = 0;
  std::vector<cXObject*> stack;
  ObjectsInCell(tile, stack);
  for (cXObject* o : stack) {
    const int16_t blocking = o->GetData(kDataBlocking);
    if (blocking != 0) mask |= RotateLeft8(static_cast<uint16_t>(blocking), o->GetData(kDataDirection));
  }
  if (rotation >= 0) mask = RotateLeft8(mask, 8 - rotation);
  return static_cast<uint8_t>(mask);
}

void ObjectModule::ObjectsInCell(TileLocation tile, std::vector<cXObject*>& out) const {
  out.clear();
  if (world_ == nullptr) return;
  const int32_t size = world_->GetSize();
  if (tile.x < 0 || tile.y < 0 || tile.x >= size || tile.y >= size) return;
  cXObject* o = GetObjectById(world_->GetObjectIdAt(tile));
  while (o != nullptr && out.size() < static_cast<size_t>(kMaxObjectId)) {
    if (std::find(out.begin(), out.end(), o) != out.end()) break;
    out.push_back(o);
    o = o->Slots().empty() ? nullptr : GetObjectById(o->Slots()[0].object);
  }
}

}  // namespace tova
