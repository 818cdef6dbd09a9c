#include "simulation/FixedObjectPrimitive.h"

#include <algorithm>
#include <vector>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/WorldVectors.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

constexpr int32_t kDataClusterFlags = 40;
constexpr int16_t kClusterMember = 0x20;
constexpr int16_t kFlagNeverCovered = 0x800;
constexpr int32_t kEntryPlacedByPrimitive = 25;
constexpr int32_t kPersonMargin = 2;

// The wall side bits of a tile turned by quarter turns, as the placement
// code turns an object's wall side.
int32_t TurnWallSides(int32_t mask, int32_t quarterTurns) {
  const int32_t q = ((quarterTurns % 4) + 4) % 4;
  int32_t out = 0;
  for (int32_t k = 0; k < 4; ++k) {
    if (mask & (1 << k)) out |= 1 << ((k + q) % 4);
  }
  return out;
}

bool IsFixed(const cXObject& o) {
  return o.GetDefinition() != nullptr && o.GetDefinition()->GetGUID() == FixedObjectPrimitive::kFixedGuid;
}

// The object in the cell, what is stacked on it and everything in their
// slots, depth first.
void WalkTile(ObjectModule& module, TileLocation tile, std::vector<cXObject*>& out) {
  std::vector<cXObject*> cell;
  module.ObjectsInCell(tile, cell);
  std::vector<cXObject*> pending(cell.rbegin(), cell.rend());
  while (!pending.empty() && out.size() < static_cast<size_t>(ObjectModule::kMaxObjectId)) {
    cXObject* o = pending.back();
    pending.pop_back();
    if (std::find(out.begin(), out.end(), o) != out.end()) continue;
    out.push_back(o);
    for (int32_t n = o->SlotCount() - 1; n >= 0; --n) {
      if (cXObject* inside = o->GetObjectInSlot(n); inside != nullptr && inside != o) pending.push_back(inside);
    }
  }
}

bool HasFixedAt(ObjectModule& module, TileLocation tile) {
  std::vector<cXObject*> here;
  WalkTile(module, tile, here);
  return std::any_of(here.begin(), here.end(), [](cXObject* o) { return IsFixed(*o); });
}

// A new instance tested and placed at the point; 0 placed, 1 refused
// (deleted again), -1 not made.
int32_t PlaceInstance(ObjectModule& module, ObjectDefinition* definition, FinePoint point, int32_t level) {
  const int16_t id = module.CreateObject(definition);
  cXObject* made = module.GetObjectById(id);
  if (made == nullptr) return -1;
  if (!made->CanPlace(point, level, nullptr, 0)) {
    module.DeleteObject(id);
    return 1;
  }
  made->Place(point, level, nullptr, 0);
  return 0;
}

}  // namespace

int32_t FixedObjectPrimitive::PlaceFixedObject(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  ObjectModule* module = me.GetModule();
  cXObject* stack = module ? module->GetObjectById(frame.stackObject) : nullptr;
  if (stack == nullptr) RaiseObjectError(kErrNoStackObject);
  iLotWorld* world = module->GetWorld();
  if (!stack->IsOnLot() || world == nullptr) return kPrimFalse;
  const bool inFront = NodeOperandByte(node, 0) == 1;
  const bool allowBusy = (NodeOperandByte(node, 1) & 1) != 0;
  const int32_t facing = stack->GetData(kDataDirection);

  const int32_t level = stack->GetLevel();
  const FinePoint point = inFront ? stack->GetPosition().Step(facing) : stack->GetPosition();
  const TileLocation tile = TileLocation::FromFine(point, level);
  const int32_t size = world->GetSize();
  if (tile.x < 1 || tile.y < 1 || tile.x > size - 2 || tile.y > size - 2) return kPrimFalse;

  if (inFront) {
    const LotWallSides walls = world->GetWallSides(tile);
    const int32_t side = TurnWallSides(8, facing / 2);
    const int32_t type = walls.kind[LowestBitIndex(static_cast<uint32_t>(side), 0)];
    const bool wallTypeFits = type == 3 || type == 5 || type == 6 || type == 15;
    if ((walls.flags & side) == 0 || !wallTypeFits || (walls.flags & 0x30) != 0) return kPrimFalse;
  }

  std::vector<cXObject*> here;
  WalkTile(*module, tile, here);
  cXObject* seed = nullptr;
  for (cXObject* o : here) {
    if ((o->GetData(kDataFlags) & kFlagNeverCovered) != 0 || IsFixed(*o)) return kPrimFalse;
    if ((o->GetData(kDataClusterFlags) & kClusterMember) != 0) seed = o;
  }
  ObjectFolder* catalogue = module->GetCatalogue();
  ObjectDefinition* fixed = catalogue ? catalogue->FindByGUID(kFixedGuid) : nullptr;
  if (fixed == nullptr) return kPrimFalse;
  if (seed == nullptr) return PlaceInstance(*module, fixed, point, level) == 0 ? kPrimTrue : kPrimFalse;

  // The cluster grows by passes until one adds nothing.
  std::vector<cXObject*> cluster{seed};
  auto add = [&cluster](cXObject* o) {
    if (std::find(cluster.begin(), cluster.end(), o) != cluster.end()) return false;
    cluster.push_back(o);
    return true;
  };
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t i = 0; i < cluster.size(); ++i) {
      cXObject* member = cluster[i];
      const bool marked = (member->GetData(kDataClusterFlags) & kClusterMember) != 0;
      if (marked && member->IsGroupPart() && !member->HasEntryTree(kEntryJoin)) {
        std::vector<cXObject*> parts;
        member->GetGroup(parts);
        for (cXObject* p : parts) grew |= add(p);
      }
      const TileLocation own = member->GetTile();
      std::vector<cXObject*> objects;
      WalkTile(*module, own, objects);
      for (cXObject* o : objects) {
        if ((o->GetData(kDataClusterFlags) & kClusterMember) != 0) grew |= add(o);
      }
      const int32_t left = own.x * 16, top = own.y * 16;
      for (const GridStep& step : kGridSteps) {
        TileLocation next = own;
        next.x = static_cast<int8_t>(own.x + step.dx);
        next.y = static_cast<int8_t>(own.y + step.dy);
        objects.clear();
        WalkTile(*module, next, objects);
        for (cXObject* o : objects) {
          LotBox box = o->GetFootprint();
          if (o->IsPerson()) {
            box = {box.minX - kPersonMargin, box.maxX + kPersonMargin, box.minY - kPersonMargin, box.maxY + kPersonMargin};
          }
          if (box.minX < left + 16 && box.maxX > left && box.minY < top + 16 && box.maxY > top) grew |= add(o);
        }
      }
    }
  }

  for (cXObject* member : cluster) {
    const int16_t flags = member->GetData(kDataFlags);
    if ((flags & kFlagNeverCovered) != 0) return kPrimFalse;
    if (!allowBusy && ((flags & kFlagInUse) != 0 || member->GetData(kDataUseCount) > 0)) return kPrimFalse;
  }
  for (cXObject* member : cluster) {
    if (!member->IsPerson()) continue;
    member->Reset(0);
    member->Place(member->GetTile().GetCenterPoint(), member->GetLevel(), nullptr, 0);
    member->RunEntryTree(kEntryPlacedByPrimitive);
  }
  bool placed = false;
  for (cXObject* member : cluster) {
    const TileLocation own = member->GetTile();
    if (HasFixedAt(*module, own)) continue;
    const int32_t outcome = PlaceInstance(*module, fixed, own.GetCenterPoint(), member->GetLevel());
    if (outcome < 0) return kPrimFalse;
    placed |= outcome == 0;
  }
  return placed ? kPrimTrue : kPrimFalse;
}

}  // namespace tova
