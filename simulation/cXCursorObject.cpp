// cXCursorObject: carrying an object (or group) around the lot, trying it
// at each point and in the slots of what stands there, and putting it down.
#include "simulation/cXCursorObject.h"

#include <memory>
#include <vector>

#include "gamedata/CommandIds.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectModule.h"
#include "simulation/Direction8.h"

namespace tova {

namespace {

constexpr uint32_t kStateHeld = 0x1;
constexpr int16_t kKindCounterOnly = 1 << 3;

}  // namespace

cXCursorObject::cXCursorObject(ObjectDefinition* definition, cXCursorObject* lead, ObjectModule* module)
    : cXMTObject(definition, lead, module) {}

uint32_t cXCursorObject::GetTypeCode() const { return TypeCode("CURS"); }

int16_t cXCursorObject::AttachToCursor(ObjectModule& module, int16_t carriedId, ObjectDefinition* cursorDefinition,
                                       int32_t level) {
  if (level == 0) level = 1;
  std::vector<cXObject*> carried;
  if (carriedId != 0) {
    cXObject* wanted = module.GetObjectById(carriedId);
    if (wanted == nullptr) return 0;
    wanted->GetGroup(carried);
    if (!carried.front()->CanPickUp()) return 0;
  }
  std::vector<cXCursorObject*> made;
  const size_t count = carried.empty() ? 1 : carried.size();
  for (size_t i = 0; i < count; ++i) {
    auto cursor = std::make_unique<cXCursorObject>(cursorDefinition, made.empty() ? nullptr : made.front(), &module);
    cXCursorObject* c = cursor.get();
    if (module.AddObject(std::move(cursor), 0, false) == 0) {
      if (!made.empty()) module.RemoveObject(made.front()->GetId());
      return 0;
    }
    c->InitFromDefinition();
    made.push_back(c);
  }
  cXCursorObject* lead = made.front();
  FinePoint point{128, 128};
  int16_t answer = lead->GetId();
  if (!carried.empty()) {
    cXObject* carriedLead = carried.front();
    point = carriedLead->GetPosition();
    level = carriedLead->IsOnLot() ? carriedLead->GetLevel() : level;
    if (cXObject* container = carriedLead->GetContainer()) {
      lead->formerContainer_ = container->GetId();
      lead->formerSlot_ = static_cast<int16_t>(carriedLead->GetContainmentPosition() - 1);
    }
    for (size_t i = 0; i < carried.size(); ++i) {
      made[i]->carried_ = carried[i];
      if (carried[i]->GetId() == carriedId) answer = made[i]->GetId();
    }
    carriedLead->PickUp();
  }
  lead->ResetData(false);
  if (lead->CanPlace(point, level, nullptr, 0)) lead->Place(point, level, nullptr, 0);
  for (cXCursorObject* c : made) c->SetStateFlags(c->GetStateFlags() | kStateCreated);
  if (iLotView* view = module.GetView()) view->SetCursorObject(lead->GetId());
  Broadcast(cmd::kObjectCreated, lead->GetId());
  return answer;
}

int16_t cXCursorObject::AttachNewObjectToCursor(ObjectModule& module, ObjectDefinition* definition,
                                                ObjectDefinition* cursorDefinition, int32_t level) {
  const int16_t id = module.CreateObject(definition);
  if (id == 0) return 0;
  const int16_t cursor = AttachToCursor(module, id, cursorDefinition, level);
  if (cursor == 0) {
    module.DeleteObject(id);
    return 0;
  }
  static_cast<cXCursorObject*>(module.GetObjectById(cursor))->SetPurchase(true);
  return cursor;
}

void cXCursorObject::SetPurchase(bool purchase) {
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->GetNextPart()) {
    static_cast<cXCursorObject*>(p)->priceToPay_ = purchase;
  }
}

cXObject* cXCursorObject::CarriedLead() const {
  const cXCursorObject* lead = static_cast<const cXCursorObject*>(GetLead());
  return lead->carried_;
}

void cXCursorObject::ResetData(bool run) {
  cXMTObject::ResetData(run);
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->GetNextPart()) {
    cXObject* carried = static_cast<cXCursorObject*>(p)->carried_;
    if (carried == nullptr) continue;
    p->SetData(kDataRotationStep, carried->GetData(kDataRotationStep));
    p->SetData(kDataDirection, carried->GetData(kDataDirection));
    carried->SetStateFlags(carried->GetStateFlags() | kStateHeld);
  }
  UpdateOffsets();
}

void cXCursorObject::UpdateOffsets() {
  // The parts stand as the carried parts do.
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->GetNextPart()) {
    cXObject* carried = static_cast<cXCursorObject*>(p)->carried_;
    if (carried != nullptr && carried->IsGroupPart()) {
      auto* part = static_cast<cXMTObject*>(carried);
      p->SetOffsets(part->OffsetY(), part->OffsetX(), part->OffsetLevel());
    }
  }
  cXMTObject::UpdateOffsets();
}

bool cXCursorObject::CanPlace(FinePoint point, int32_t level, cXObject*, int32_t) {
  iLotWorld* world = GetModule() ? GetModule()->GetWorld() : nullptr;
  const TileLocation tile = TileLocation::FromFine(point, level);
  const bool fits = world != nullptr && !point.IsOffLot() && !tile.IsOutsideBounds(world->GetBounds());
  SetPlaceFailureCode(fits ? kPlaceOk : kPlaceBorder);
  return fits;
}

void cXCursorObject::RemoveFromWorld() {
  // Cursor parts never stand in a world cell: leaving is forgetting the
  // point.
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->GetNextPart()) {
    p->MarkForRedraw(true);
    p->SetPosition(FinePoint::OffLot());
  }
}

void cXCursorObject::Place(FinePoint point, int32_t level, cXObject*, int32_t) {
  cXCursorObject* lead = CursorLead();
  const FinePoint leadPoint{point.x - RotatedX() * 16, point.y - RotatedY() * 16};
  lead->Move(point.IsOffLot() ? point : leadPoint, level);
}

void cXCursorObject::Move(FinePoint point, int32_t level) {
  if (!(point == lastPoint_) || level != lastLevel_) {
    targetContainer_ = 0;
    targetSlot_ = 0;
  }
  for (cXMTObject* p = this; p != nullptr; p = p->GetNextPart()) {
    p->MarkForRedraw(true);
    p->SetPosition(point.IsOffLot() ? point : FinePoint{point.x + p->RotatedX() * 16, point.y + p->RotatedY() * 16});
    p->SetLevel(level + p->RotatedLevel());
  }
  lastPoint_ = point;
  lastLevel_ = level;
  cXObject* carried = carried_;
  if (carried == nullptr) {
    carriedPlaced_ = true;
    SetPlaceFailureCode(kPlaceOk);
    return;
  }
  cXObject* container = targetContainer_ != 0 ? GetModule()->GetObjectById(targetContainer_) : nullptr;
  bool fits = carried->CanPlaceAt(point, level, container, targetSlot_);
  int32_t code = PlaceFailureCode();
  if (!fits && code == kPlaceOverlap && !carried->IsGroupPart()) {
    fits = FindContainerTarget(*carried, point, level);
    if (fits) {
      container = GetModule()->GetObjectById(targetContainer_);
      TurnToContainer(*carried, *container, point, level);
    } else {
      code = carried->GetData(kDataSlotKinds) == kKindCounterOnly ? kPlaceCounterOnly : kPlaceOverlap;
    }
  }
  if (!fits) {
    carriedPlaced_ = false;
    if (carried->IsOnLot()) carried->RemoveFromWorld();
    SetPlaceFailureCode(code);
    return;
  }
  carried->Place(point, level, container, targetSlot_);
  code = kPlaceOk;
  carriedPlaced_ = true;
  if (priceToPay_ && carried->GetData(kDataValue) > GetModule()->GetShell().FamilyFunds()) {
    code = kPlaceCannotAfford;
    carriedPlaced_ = false;
  }
  SetPlaceFailureCode(code);
}

bool cXCursorObject::FindContainerTarget(cXObject& carried, FinePoint point, int32_t level) {
  std::vector<cXObject*> stack;
  GetModule()->ObjectsInCell(TileLocation::FromFine(point, level), stack);
  const int16_t kinds = carried.GetData(kDataSlotKinds);
  for (cXObject* o : stack) {
    if (o == &carried) continue;
    for (int32_t n = 0; n < o->SlotCount(); ++n) {
      const int32_t kind = o->GetSlotKind(n);
      if (kind < 1 || !(kinds & (1 << (kind - 1)))) continue;
      if (carried.CanPlaceAt(point, level, o, n)) {
        targetContainer_ = o->GetId();
        targetSlot_ = static_cast<int16_t>(n);
        return true;
      }
    }
  }
  return false;
}

void cXCursorObject::TurnToContainer(cXObject& carried, cXObject& container, FinePoint point, int32_t level) {
  int32_t direction = container.GetData(kDataDirection);
  if (container.IsGroupPart()) {
    // The first of four directions whose front tile is free.
    const TileLocation tile = TileLocation::FromFine(point, level);
    bool found = false;
    for (int32_t i = 0; i < 4 && !found; ++i) {
      const int32_t d = WrapDirection(direction + 2 * i);
      TileLocation front = tile;
      front.x = static_cast<int8_t>(tile.x + kGridSteps[d].dx);
      front.y = static_cast<int8_t>(tile.y + kGridSteps[d].dy);
      std::vector<cXObject*> there;
      GetModule()->ObjectsInCell(front, there);
      if (there.empty()) {
        direction = d;
        found = true;
      }
    }
    if (!found) direction = GetData(kDataDirection);
  }
  carried.SetData(kDataDirection, static_cast<int16_t>(direction));
  SetData(kDataDirection, static_cast<int16_t>(direction));
}

void cXCursorObject::Rotate(int32_t steps) {
  cXCursorObject* lead = CursorLead();
  cXObject* carried = lead->carried_;
  if (carried != nullptr) {
    carried->Rotate(steps);
    for (cXMTObject* p = lead; p != nullptr; p = p->GetNextPart()) {
      if (cXObject* c = static_cast<cXCursorObject*>(p)->carried_) p->SetData(kDataDirection, c->GetData(kDataDirection));
    }
  } else {
    const int32_t turn = steps * GetData(kDataRotationStep);
    for (cXMTObject* p = lead; p != nullptr; p = p->GetNextPart()) {
      p->SetData(kDataDirection, static_cast<int16_t>(WrapDirection(p->GetData(kDataDirection) + turn)));
    }
  }
  UpdateOffsets();
  if (lead->IsOnLot()) lead->Move(lead->lastPoint_, lead->lastLevel_);
}

void cXCursorObject::RotateTo(int32_t direction) {
  cXCursorObject* lead = CursorLead();
  for (int32_t i = 0; i < 8; ++i) {
    const cXObject* facing = lead->carried_ ? lead->carried_ : lead;
    if (facing->GetData(kDataDirection) == direction) return;
    lead->Rotate(1);
  }
}

void cXCursorObject::ClearLinks() {
  for (cXMTObject* p = GetLead(); p != nullptr; p = p->GetNextPart()) {
    auto* c = static_cast<cXCursorObject*>(p);
    if (c->carried_ != nullptr) c->carried_->SetStateFlags(c->carried_->GetStateFlags() & ~kStateHeld);
    c->carried_ = nullptr;
  }
}

void cXCursorObject::LetGo() {
  ClearLinks();
  if (iLotView* view = GetModule()->GetView()) view->SetCursorObject(0);
}

void cXCursorObject::DropOrDeleteCarried() {
  cXCursorObject* lead = CursorLead();
  ObjectModule* module = GetModule();
  cXObject* carried = lead->carried_;
  if (carried != nullptr) {
    RemoveFromWorld();
    if (lead->carriedPlaced_) {
      for (cXMTObject* p = lead; p != nullptr; p = p->GetNextPart()) {
        if (cXObject* c = static_cast<cXCursorObject*>(p)->carried_) module->SetStateBits(c->GetId(), kSchedActive, true);
      }
      ClearLinks();
      cXObject* container = lead->targetContainer_ != 0 ? module->GetObjectById(lead->targetContainer_) : nullptr;
      carried->PlaceAndNotify(lead->lastPoint_, lead->lastLevel_, container, lead->targetSlot_);
    } else {
      const int16_t id = carried->GetId();
      ClearLinks();
      module->DeleteObject(id);
      if (lead->CanPlace(lead->lastPoint_, lead->lastLevel_, nullptr, 0)) {
        lead->Move(lead->lastPoint_, lead->lastLevel_);
      }
    }
  }
  if (iLotView* view = module->GetView()) view->SetCursorObject(0);
}

}  // namespace tova
