#include "simulation/CreationPrimitives.h"

#include <vector>

#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/cXObject.h"
#include "simulation/Direction8.h"

namespace tova {

namespace {

constexpr int16_t kOutdoors = -5;

enum CreateFlag : uint8_t {
  kNoDuplicate = 0x01,
  kPassIds = 0x02,
  kNeighbourDefinition = 0x04,
  kFailIfOccupied = 0x08,
  kPassTemp0 = 0x10,
  kFaceLikeStackObject = 0x20,
};

// The wall side bit of a tile towards a straight direction (0 -x, 2 +y,
// 4 +x, 6 -y); 0 for the diagonal ones.
int32_t SideTowards(int32_t direction) {
  switch (WrapDirection(direction)) {
    case 0: return 0x1;
    case 2: return 0x8;
    case 4: return 0x4;
    case 6: return 0x2;
    default: return 0;
  }
}

struct Target {
  bool inWorld = true;
  FinePoint point = FinePoint::OffLot();
  int32_t level = 1;
  cXObject* container = nullptr;
  bool roomRequired = false;
  int16_t room = 0;
  int32_t facing = -1;  // -1: as made
};

}  // namespace

int32_t CreationPrimitives::CreateObjectInstance(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  ObjectModule* module = me.GetModule();
  if (module == nullptr) return kPrimFalse;
  const uint8_t flags = NodeOperandByte(node, 5);
  // Checked before anything is made, so a refused call leaves no object.
  if ((flags & kPassIds) != 0 && (flags & kPassTemp0) != 0) RaiseObjectError(kErrBothPassFlags);
  cXObject* stack = module->GetObjectById(frame.stackObject);

  ObjectDefinition* definition = nullptr;
  if ((flags & kNeighbourDefinition) != 0) {
    if (stack != nullptr && neighbourDefinitions_ != nullptr) {
      definition = neighbourDefinitions_->DefinitionOfNeighbour(stack->GetNeighbourId());
    }
  } else if (module->GetCatalogue() != nullptr) {
    definition = module->GetCatalogue()->FindByGUID(NodeOperandGuid(node, 0));
  }
  if (definition == nullptr) return kPrimFalse;

  Target t;
  t.level = me.GetLevel();
  const int32_t myFacing = me.GetData(kDataDirection);
  switch (NodeOperandByte(node, 4)) {
    case 0: t.point = me.GetPosition().Step(myFacing); break;
    case 1:
    case 2:
      t.point = me.GetPosition();
      t.container = &me;
      break;
    case 3:
    case 4:
      if (stack == nullptr) return kPrimFalse;
      t.level = stack->GetLevel();
      t.roomRequired = true;
      t.room = stack->GetData(kDataRoom);
      if (NodeOperandByte(node, 4) == 3) {
        t.point = stack->GetPosition().Step(stack->GetData(kDataDirection));
      } else {
        t.point = stack->GetPosition();
        t.container = stack;
      }
      break;
    case 5: t.point = me.GetPosition(); break;
    case 6:
      t.inWorld = false;
      t.level = 1;
      break;
    case 7:
    case 8: {
      int16_t id = 0;
      if (NodeOperandByte(node, 4) == 7) {
        if (frame.paramCount == 0) RaiseObjectError(kErrStackNumberOutOfRange);
        id = frame.Params()[0];
      } else {
        const int32_t local = NodeOperandByte(node, 6);
        if (local >= frame.localCount) RaiseObjectError(kErrStackNumberOutOfRange);
        id = frame.Locals()[local];
      }
      cXObject* at = module->GetObjectById(id);
      if (at == nullptr) return kPrimFalse;
      t.point = at->GetPosition();
      t.level = at->GetLevel();
      break;
    }
    case 9: {
      const int32_t local = NodeOperandByte(node, 6);
      if (local >= frame.localCount) RaiseObjectError(kErrStackNumberOutOfRange);
      const int32_t turn = frame.Locals()[local];
      const int32_t d = WrapDirection(myFacing + turn);
      // Odd directions stay on my tile.
      t.point = d % 2 == 0 ? me.GetPosition().Step(d) : me.GetPosition();
      t.facing = WrapDirection(myFacing + turn + 4);
      break;
    }
    default: return kPrimFalse;
  }

  iLotWorld* world = module->GetWorld();
  const TileLocation tile = TileLocation::FromFine(t.point, t.level);
  if (t.inWorld) {
    std::vector<cXObject*> here;
    module->ObjectsInCell(tile, here);
    if ((flags & kFailIfOccupied) != 0 && !here.empty()) return kPrimFalse;
    if ((flags & kNoDuplicate) != 0) {
      for (cXObject* o : here) {
        if (o->GetDefinition() == definition) return kPrimFalse;
      }
    }
    if (world == nullptr || t.point.IsOffLot() || tile.IsOnBorder(world->GetSize())) return kPrimFalse;
    if (t.roomRequired) {
      const int16_t room = world->GetRoomId(tile);
      if ((room != 0 ? room : kOutdoors) != t.room) return kPrimFalse;
    }
    if (t.facing >= 0 && (world->GetWallSides(tile).flags & SideTowards(t.facing)) != 0) return kPrimFalse;
  }

  const int16_t id = module->CreateObject(definition);
  cXObject* made = module->GetObjectById(id);
  if (made == nullptr) return kPrimFalse;
  if (t.facing >= 0) made->SetData(kDataDirection, static_cast<int16_t>(t.facing));
  if ((flags & kFaceLikeStackObject) != 0 && stack != nullptr) {
    for (int i = 0; i < 4 && made->GetData(kDataDirection) != stack->GetData(kDataDirection); ++i) made->Rotate(1);
  }
  if (t.inWorld) {
    // A multi-tile group stands with its lead on the centre of the target
    // tile, wherever in the tile the target point lay.
    if (made->IsGroupPart() && !t.point.IsOffLot()) t.point = TileLocation::FromFine(t.point, t.level).GetCenterPoint();
    if (!made->CanPlace(t.point, t.level, t.container, 0)) {
      module->DeleteObject(id);
      return kPrimFalse;
    }
    made->Place(t.point, t.level, t.container, 0);
  }
  if ((flags & kNeighbourDefinition) != 0 && made->IsPerson()) {
    auto* visitor = dynamic_cast<iVisitorMark*>(made);
    if (visitor != nullptr && visitor->IsVisitor()) made->RunTreeByName(made->GetBehavior(), 0, "init visitor", nullptr);
  }
  if ((flags & (kPassIds | kPassTemp0)) != 0 && made->FrameCount() > 0) {
    TreeStackFrame* first = made->FrameAt(0);
    if (first->paramCount > 0) first->Params()[0] = (flags & kPassIds) != 0 ? me.GetId() : me.Temps()[0];
    if ((flags & kPassIds) != 0) first->stackObject = frame.stackObject;
  }
  // The frame may have moved while trees ran on me.
  me.CurrentFrame()->stackObject = id;
  return kPrimTrue;
}

}  // namespace tova
