#include "simulation/PlacementPrimitives.h"

#include <vector>

#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "gamedata/SlotDescriptor.h"
#include "simulation/ObjectModule.h"
#include "simulation/ObjectQueryPrimitives.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/RelationshipPrimitives.h"
#include "simulation/WorldVectors.h"
#include "simulation/cXObject.h"
#include "simulation/Direction8.h"

namespace tova {

namespace {

constexpr int16_t kPlacementOutdoors = -5;
constexpr int32_t kSlotFacesItsObject = 0x1000;
constexpr int32_t kSlotSkipsChecks = 0x800;
constexpr int32_t kPlacementEntryPlaced = 25;
constexpr float kUnsetMark = -999.0f;

cXObject* PlacementObject(cXObject& me, int16_t id) { return me.GetModule() ? me.GetModule()->GetObjectById(id) : nullptr; }

cXObject* RequireStackObject(cXObject& me, const TreeStackFrame& frame) {
  cXObject* o = PlacementObject(me, frame.stackObject);
  if (o == nullptr) RaiseObjectError(kErrNoStackObject);
  return o;
}

bool TestAndPlace(cXObject& o, FinePoint point, int32_t level, cXObject* container, int32_t slot) {
  if (!o.CanPlace(point, level, container, slot)) return false;
  o.Place(point, level, container, slot);
  return true;
}

// The slot a word pair names: word `flagWord` non-zero makes the next word
// a parameter number, else the next word is the slot itself.
int32_t SlotNumber(const TreeStackFrame& frame, TreeNode node, int32_t flagWord) {
  const int32_t n = node.Operand(flagWord + 1);
  if (node.Operand(flagWord) == 0) return n;
  if (n < 0 || n >= frame.paramCount) RaiseObjectError(kErrStackNumberOutOfRange);
  return const_cast<TreeStackFrame&>(frame).Params()[n];
}

// The routing slots the object module keeps for the whole lot. Nothing
// fills them yet, so every slot number is out of range.
const std::vector<RoutingSlot>& SharedRoutingSlots() {
  static const std::vector<RoutingSlot> kNone;
  return kNone;
}

}  // namespace

int32_t PlacementPrimitives::Grab(cXObject& me, TreeStackFrame& frame, TreeNode) {
  cXObject* o = PlacementObject(me, frame.stackObject);
  if (o == nullptr) return kPrimFalse;
  return TestAndPlace(*o, me.GetPosition(), me.GetLevel(), &me, 0) ? kPrimTrue : kPrimFalse;
}

int32_t PlacementPrimitives::Drop(cXObject& me, TreeStackFrame&, TreeNode) {
  cXObject* o = me.GetObjectInSlot(0);
  if (o == nullptr) return kPrimFalse;
  const FinePoint front = me.GetPosition().Step(me.GetData(kDataDirection));
  return TestAndPlace(*o, front, me.GetLevel(), nullptr, 0) ? kPrimTrue : kPrimFalse;
}

int32_t PlacementPrimitives::Refresh(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int32_t whom = node.Operand(0);
  if (whom != 0 && whom != 1) RaiseObjectError(kErrBadRefresh);
  cXObject* o = whom == 0 ? &me : RequireStackObject(me, frame);
  switch (node.Operand(1)) {
    case 0: o->MarkForRedraw(); break;
    case 1: Broadcast(cmd::kRefresh, o->GetId()); break;
    case 2:
      if (o->GetData(kDataRoom) != kPlacementOutdoors) Broadcast(cmd::kRoomChanged, static_cast<uint16_t>(o->GetData(kDataRoom)));
      break;
    default: RaiseObjectError(kErrBadRefresh);
  }
  return kPrimTrue;
}

int32_t PlacementPrimitives::FindLocation(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  cXObject* o = RequireStackObject(me, frame);
  const int32_t mode = NodeOperandByte(node, 0);
  const uint8_t flags = NodeOperandByte(node, 2);
  cXObject* start = nullptr;
  FreeLocationRequest request;
  request.fixedStart = true;
  request.start = {16, 16};
  request.level = 1;
  if ((flags & 1) != 0) {
    const int32_t local = NodeOperandByte(node, 1);
    if (local >= frame.localCount) RaiseObjectError(kErrLocalOutOfRange);
    start = PlacementObject(me, frame.Locals()[local]);
    if (start == nullptr) RaiseObjectError(kErrNoSuchObject);
    request.start = start->GetPosition();
    request.level = start->GetLevel();
  }
  request.sameRoom = true;
  request.emptyTile = (flags & 2) == 0;
  request.tileFlag = (flags & 4) != 0;

  switch (mode) {
    case 1:
      if (o->IsGroupPart() && o->HasEntryTree(kEntryJoin)) o->SplitFromGroup();
      o->RemoveFromWorld();
      return kPrimTrue;
    case 2: {
      cXObject& from = start != nullptr ? *start : me;
      // Turned to face the start object, in whole quarter turns.
      const int32_t quarters = WrapDirection(from.GetData(kDataDirection) + 5 - o->GetData(kDataDirection)) / 2;
      o->SetData(kDataDirection, static_cast<int16_t>(WrapDirection(o->GetData(kDataDirection) + 2 * quarters)));
      return TestAndPlace(*o, from.GetPosition(), from.GetLevel(), nullptr, 0) ? kPrimTrue : kPrimFalse;
    }
    case 3:
    case 4: {
      if (start == nullptr) RaiseObjectError(kErrNeedsStartObject);
      request.direction = WrapDirection(start->GetData(kDataDirection) + (mode == 4 ? 2 : 0));
      FinePoint found;
      if (!o->FindFreeLocation(request, found)) return kPrimFalse;
      return TestAndPlace(*o, found, request.level, nullptr, 0) ? kPrimTrue : kPrimFalse;
    }
    default: {
      request.direction = -1;
      FinePoint found;
      if (!o->FindFreeLocation(request, found)) {
        request.sameRoom = false;
        if (!o->FindFreeLocation(request, found)) return kPrimFalse;
      }
      if (!TestAndPlace(*o, found, request.level, nullptr, 0)) return kPrimFalse;
      o->RunEntryTree(kPlacementEntryPlaced);
      ObjectModule* module = me.GetModule();
      if (o->IsPerson() && module != nullptr && module->GetSelectedPerson() == nullptr) module->SetSelectedPerson(o);
      return kPrimTrue;
    }
  }
}

int32_t PlacementPrimitives::RemoveObject(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int32_t whom = node.Operand(0);
  if (whom < 0 || whom > 2) RaiseObjectError(kErrBadRemoveTarget);
  if (whom == 2) return kPrimFalse;
  cXObject* o = whom == 0 ? &me : PlacementObject(me, frame.stackObject);
  ObjectModule* module = me.GetModule();
  if (o == nullptr || module == nullptr) return kPrimFalse;
  const uint8_t flags = NodeOperandByte(node, 2);
  const bool removingMyself = o == &me;
  // The record learns from the person before the person may be gone.
  if (o->IsPerson() && RelationshipPrimitives::GetNeighbourRecords() != nullptr) {
    RelationshipPrimitives::GetNeighbourRecords()->UpdateFromPerson(*o);
  }
  // An object whose trees are running (me among them) is only queued: it
  // leaves the world now and goes at the end of the tick.
  module->RemoveObject(o->GetId(), (flags & 2) == 0);
  if (removingMyself && TreeZaz::TopLevel() && (flags & 1) == 0) return kPrimYield;
  return kPrimTrue;
}

int32_t PlacementPrimitives::MoveSlotContents(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int32_t source = SlotNumber(frame, node, 0);
  const int32_t target = SlotNumber(frame, node, 2);
  if (source < 0 || source >= me.SlotCount()) RaiseObjectError(kErrSlotOutOfRange);
  cXObject* to = RequireStackObject(me, frame);
  cXObject* held = me.GetObjectInSlot(source);
  if (held == nullptr) return kPrimFalse;
  // Tested at the container's own place: the placement test refuses a
  // point off the lot even for a slot, and a slot's object stands where its
  // container does.
  return TestAndPlace(*held, to->GetPosition(), to->GetLevel(), to, target) ? kPrimTrue : kPrimFalse;
}

bool PlacementPrimitives::SnapPlace(cXObject& me, const SnapTarget& target, bool useFootprint, bool* placeTested) {
  if (placeTested != nullptr) *placeTested = false;
  ObjectModule* module = me.GetModule();
  iLotWorld* world = module ? module->GetWorld() : nullptr;
  if (!target.skipChecks && world != nullptr) {
    const int32_t size = world->GetSize();
    const TileLocation tile = TileLocation::FromFine(target.point, target.level);
    if (tile.x < 1 || tile.y < 1 || tile.x > size - 2 || tile.y > size - 2) {
      cXObject::SetPlaceFailureCode(kPlaceBorder);
      return false;
    }
    // The world's room 0 is the outdoors, which objects keep as -5.
    const int16_t room = world->GetRoomId(tile);
    if ((room != 0 ? room : kPlacementOutdoors) != me.GetData(kDataRoom)) return false;
    const TileLocation mine = me.GetTile();
    if (!mine.IsOnBorder(size) && !(me.GetPosition() == target.point)) {
      const int32_t d = OctantDirection(me.GetPosition(), target.point);
      const TileLocation there = TileLocation::FromFine(target.point, me.GetLevel());
      if ((module->GetTileBlockMask(mine, d) & 1) != 0 || (module->GetTileBlockMask(there, WrapDirection(d + 4)) & 1) != 0) {
        return false;
      }
    }
  }
  if (placeTested != nullptr) *placeTested = true;
  if (!me.CanPlace(target.point, target.level, target.container, target.slot)) return false;
  if (target.container != nullptr && useFootprint && world != nullptr) {
    const LotBox box = me.FootprintAt(target.container->GetPosition(), target.facing);
    if (world->RoutingTest(box, target.container->GetLevel()) != 0) {
      me.SetData(kDataSnapInTheWay, 0);
      return false;
    }
  }
  me.Place(target.point, target.level, target.container, target.slot);
  me.SetData(kDataDirection, static_cast<int16_t>(target.facing));
  if (auto* person = dynamic_cast<iSnapPerson*>(&me); person != nullptr && me.IsPerson()) {
    person->SetPlacedMarks(kUnsetMark, kUnsetMark, kUnsetMark);
  }
  return true;
}

int32_t PlacementPrimitives::Snap(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  cXObject* stack = RequireStackObject(me, frame);
  const int32_t mode = node.Operand(1);
  int32_t slotNumber = node.Operand(0);
  const uint8_t options = NodeOperandByte(node, 4);
  const int32_t myFacing = me.GetData(kDataDirection);
  const int32_t stackFacing = stack->GetData(kDataDirection);

  SnapTarget target;
  target.facing = myFacing;
  const std::vector<RoutingSlot>* slots = nullptr;
  switch (mode) {
    case 0:
      if (slotNumber < 0 || slotNumber >= frame.paramCount) RaiseObjectError(kErrStackNumberOutOfRange);
      slotNumber = frame.Params()[slotNumber];
      slots = &stack->RoutingSlots();
      break;
    case 1:
      target.point = stack->GetPosition();
      target.level = stack->GetLevel();
      target.container = stack;
      break;
    case 2:
      target.point = stack->GetPosition().Step(stackFacing);
      target.level = stack->GetLevel();
      break;
    case 3: slots = &stack->RoutingSlots(); break;
    case 4: slots = &SharedRoutingSlots(); break;
    default: RaiseObjectError(kErrBadSnapMode);
  }
  if (slots != nullptr) {
    if (slotNumber < 0 || slotNumber >= static_cast<int32_t>(slots->size())) RaiseObjectError(kErrSlotOutOfRange);
    const RoutingSlot& slot = (*slots)[static_cast<size_t>(slotNumber)];
    if ((slot.flags & kSlotFacesItsObject) != 0) {
      const uint32_t directions = static_cast<uint32_t>(slot.flags) & 0x7F;
      target.facing = WrapDirection(stackFacing + (directions != 0 ? LowestBitIndex(directions, 0) : 0));
    }
    target.level = stack->GetLevel();
    if (slot.target >= 0) {
      if (slot.target >= stack->SlotCount()) RaiseObjectError(kErrNoContainmentSlot);
      target.point = stack->GetPosition();
      target.container = stack;
      target.slot = slot.target;
    } else {
      const WorldVector base = FinePointToWorld3(stack->GetPosition(), 0);
      const WorldVector offset = FacingRotation(stackFacing).Apply(SlotOffsetToWorld3(slot.x, slot.y, 0));
      target.point = WorldToFinePoint({base.x + offset.x, base.y + offset.y, base.z + offset.z});
    }
    target.skipChecks = (slot.flags & kSlotSkipsChecks) != 0;
  }

  cXObject::SetPlaceFailureCode(kPlaceOk);
  me.SetData(kDataSnapResult, 0);
  float dx = 0, dy = 0, dfacing = 0;
  if ((options & 1) != 0) {
    dx = static_cast<float>(me.GetPosition().x - target.point.x);
    dy = static_cast<float>(me.GetPosition().y - target.point.y);
    dfacing = static_cast<float>(myFacing - target.facing);
    if (target.container != nullptr) {
      const auto& entries = target.container->Slots();
      const size_t entry = static_cast<size_t>(target.slot) + 1;
      if (entry < entries.size()) {
        const float sx = entries[entry].x, sy = entries[entry].y;
        switch (WrapDirection(target.container->GetData(kDataDirection))) {
          case 0: dy += sx; dx += sy; break;
          case 2: dy -= sy; dx += sx; break;
          case 4: dy -= sx; dx -= sy; break;
          case 6: dy += sy; dx -= sx; break;
          default: break;
        }
      }
    }
  }

  // The object in the way is only what this snap's own test recorded.
  bool tested = false;
  const bool moved = SnapPlace(me, target, (options & 4) != 0, &tested);
  auto* mePerson = me.IsPerson() ? dynamic_cast<iSnapPerson*>(&me) : nullptr;
  if (moved) {
    if (mePerson != nullptr && (options & 1) != 0) mePerson->SetSnapOffsets(dy, dx, dfacing);
    return kPrimTrue;
  }
  const int32_t code = cXObject::PlaceFailureCode();
  cXObject* inTheWay = tested ? cXObject::ObjectInTheWay() : nullptr;
  if ((options & 2) != 0 && mePerson != nullptr && code == kPlaceOverlap && inTheWay != nullptr &&
      inTheWay->IsPerson()) {
    auto* other = dynamic_cast<iSnapPerson*>(inTheWay);
    if (other != nullptr && other->RequestStepAside(me)) me.SetData(kDataSnapResult, 1);
  }
  if (me.GetData(kDataSnapResult) == 0 && code == kPlaceBorder) me.SetData(kDataSnapResult, 2);
  me.SetData(kDataSnapInTheWay, inTheWay != nullptr ? inTheWay->GetId() : int16_t{0});
  return kPrimFalse;
}

}  // namespace tova
