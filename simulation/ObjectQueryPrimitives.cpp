#include "simulation/ObjectQueryPrimitives.h"

#include <cmath>
#include <numbers>

#include "gamedata/Careers.h"
#include "gamedata/ObjectDefinition.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

// My data word that carries a candidate's rating through its check tree.
constexpr int32_t kDataCandidateRating = 66;
constexpr int32_t kDataSearchGroup = 59;
constexpr int16_t kFlagsNotACandidate = 0x20 | 0x200;

cXObject* Object(cXObject& me, int16_t id) { return me.GetModule() ? me.GetModule()->GetObjectById(id) : nullptr; }

cXObject* RequireObject(cXObject& me, int16_t id, int16_t code) {
  cXObject* o = Object(me, id);
  if (o == nullptr) RaiseObjectError(code);
  return o;
}

// A function kind's rating word (-1: the fixed rating 50) and its function
// table entry; false for kinds without one.
bool FunctionKind(int32_t kind, int32_t& ratingWord, int32_t& entry) {
  struct Row {
    int32_t kind, word, entry;
  };
  static constexpr Row kRows[] = {{0, 31, 18}, {1, 32, 19}, {2, 33, 20},  {3, 36, 21},  {6, 37, 24},  {7, 38, 25},
                                  {8, -1, 26}, {10, 61, 14}, {11, 39, 28}, {12, 64, 16}, {13, 65, 17}, {14, 15, 29}};
  for (const Row& r : kRows) {
    if (r.kind == kind) {
      ratingWord = r.word;
      entry = r.entry;
      return true;
    }
  }
  return false;
}

// The next object in list order after current (the first for none) that
// passes the test; 0 when none follows.
template <class Test>
int16_t NextInList(cXObject& me, int16_t current, Test test) {
  ObjectModule* module = me.GetModule();
  if (module == nullptr) return 0;
  cXObject* o = module->FirstObject();
  if (current != 0) {
    cXObject* at = module->GetObjectById(current);
    // An iterator naming an object that is gone has nothing after it.
    if (at == nullptr) return 0;
    o = at->GetNext();
  }
  for (; o != nullptr; o = o->GetNext()) {
    if (test(*o)) return o->GetId();
  }
  return 0;
}

// The entry after current in ids (the first for 0); 0 when none follows.
int16_t NextInIds(const std::vector<int16_t>& ids, int16_t current, bool (*keep)(int16_t, const void*) = nullptr,
                  const void* context = nullptr) {
  size_t i = 0;
  if (current != 0) {
    while (i < ids.size() && ids[i] != current) ++i;
    if (i == ids.size()) return 0;
    ++i;
  }
  for (; i < ids.size(); ++i) {
    if (keep == nullptr || keep(ids[i], context)) return ids[i];
  }
  return 0;
}

}  // namespace

int32_t OctantDirection(FinePoint from, FinePoint to) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  if (dx == 0 && dy == 0) return 0;
  // Grid direction 4 is +x and the directions turn from +x towards -y.
  const long sector = std::lround(std::atan2(dy, dx) / (std::numbers::pi / 4));
  return static_cast<int32_t>(((4 - sector) % 8 + 8) % 8);
}

int32_t ObjectQueryPrimitives::GetDistanceTo(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int32_t temp = node.Operand(0);
  if (temp < 0 || temp >= kTempCount) RaiseObjectError(kErrTempOutOfRange);
  int16_t fromId = me.GetData(kDataOwnId);
  if ((NodeOperandByte(node, 2) & 1) != 0) {
    fromId = me.EvaluateVariable(NodeOperandByte(node, 3), node.Operand(2), nullptr, nullptr);
  }
  cXObject* from = RequireObject(me, fromId, kErrNoSuchObject);
  cXObject* to = RequireObject(me, frame.stackObject, kErrNoSuchObject);
  me.Temps()[temp] = static_cast<int16_t>(std::trunc(from->DistanceTo(*to)));
  return kPrimTrue;
}

int32_t ObjectQueryPrimitives::GetDirectionTo(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  int16_t fromId = me.GetData(kDataOwnId);
  if ((NodeOperandByte(node, 4) & 1) != 0) {
    fromId = me.EvaluateVariable(NodeOperandByte(node, 5), node.Operand(3), nullptr, nullptr);
  }
  cXObject* from = RequireObject(me, fromId, kErrNoSuchObject);
  cXObject* to = RequireObject(me, frame.stackObject, kErrNoStackObject);
  int16_t* address = nullptr;
  float* motive = nullptr;
  me.EvaluateVariable(node.Operand(1), node.Operand(0), &address, &motive);
  const int32_t direction = OctantDirection(from->GetPosition(), to->GetPosition()) % 8;
  if (address != nullptr) {
    *address = static_cast<int16_t>(direction);
  } else if (motive != nullptr) {
    *motive = static_cast<float>(direction);
  } else {
    RaiseObjectError(kErrReadOnlyWrite);
  }
  return kPrimTrue;
}

int32_t ObjectQueryPrimitives::FindBestObjectForFunction(cXObject& me, TreeStackFrame&, TreeNode node) {
  int32_t ratingWord = 0;
  int32_t entry = 0;
  if (!FunctionKind(node.Operand(0), ratingWord, entry)) return kPrimFalse;
  ObjectModule* module = me.GetModule();
  if (module == nullptr) return kPrimFalse;
  // The frame may move while check trees run on me: only its index is kept.
  const int32_t frameIndex = me.FrameCount() - 1;
  int16_t best = 0;
  float bestScore = 0;
  std::vector<int16_t> candidates;
  for (cXObject* o = module->FirstObject(); o != nullptr; o = o->GetNext()) candidates.push_back(o->GetId());
  for (int16_t id : candidates) {
    cXObject* o = module->GetObjectById(id);
    ObjectDefinition* definition = o ? o->GetDefinition() : nullptr;
    if (definition == nullptr) continue;
    if ((o->GetData(kDataFlags) & kFlagsNotACandidate) != 0 || o->GetData(kDataIdleCountdown) > 0) continue;
    const auto& entries = definition->GetFunctionTable().Entries();
    if (entry >= static_cast<int32_t>(entries.size()) || entries[static_cast<size_t>(entry)].treeId == 0) continue;
    const int16_t rating = ratingWord < 0 ? int16_t{50} : o->GetData(ratingWord);
    if (rating == 0) continue;
    me.SetData(kDataCandidateRating, rating);
    const int16_t checkTree = entries[static_cast<size_t>(entry)].companionId;
    if (checkTree != 0) {
      const bool accepted = me.RunTree(o->GetBehavior(), id, checkTree, nullptr);
      if (!accepted || me.GetData(kDataCandidateRating) == 0) continue;
      o = module->GetObjectById(id);
      if (o == nullptr) continue;
    }
    const float score = std::max(1.0f, me.GetData(kDataCandidateRating) - 3.0f * me.DistanceTo(*o));
    if (best == 0 || score > bestScore) {
      best = id;
      bestScore = score;
    }
  }
  if (best == 0) return kPrimFalse;
  me.FrameAt(frameIndex)->stackObject = best;
  return kPrimTrue;
}

int32_t ObjectQueryPrimitives::SetToNext(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const uint8_t byte4 = NodeOperandByte(node, 4);
  const int32_t kind = byte4 & 0x7F;
  int32_t owner = kOwnerStackObjectId;
  int32_t index = 0;
  if ((byte4 & 0x80) != 0) {
    owner = NodeOperandByte(node, 5);
    index = NodeOperandByte(node, 7);
  }
  int16_t* iterator = nullptr;
  me.EvaluateVariable(owner, index, &iterator, nullptr);
  if (iterator == nullptr) RaiseObjectError(kErrReadOnlyWrite);
  if (kind >= 12) RaiseObjectError(kErrBadIteratorKind);
  const int16_t next = NextId(me, frame, node, kind, *iterator);
  // The stack object id may be the iterator: write it through the frame
  // the primitive runs in.
  *iterator = next;
  return next != 0 ? kPrimTrue : kPrimFalse;
}

int16_t ObjectQueryPrimitives::NextId(cXObject& me, TreeStackFrame& frame, TreeNode node, int32_t kind,
                                      int16_t current) {
  switch (kind) {
    case 0: return NextInList(me, current, [](cXObject&) { return true; });
    case 1: return NextInList(me, current, [](cXObject& o) { return o.IsPerson(); });
    case 2: return NextInList(me, current, [](cXObject& o) { return !o.IsPerson(); });
    case 3: {
      cXObject* o = Object(me, current);
      if (o == nullptr || !o->IsGroupPart()) return 0;
      std::vector<cXObject*> group;
      o->GetGroup(group);
      return group.empty() ? int16_t{0} : group.front()->GetId();
    }
    case 4: {
      const uint32_t guid = NodeOperandGuid(node, 0);
      return NextInList(me, current, [guid](cXObject& o) { return o.GetDefinition() && o.GetDefinition()->GetGUID() == guid; });
    }
    case 5:
      return neighbours_ ? NextInIds(neighbours_->NeighbourIds(), current) : int16_t{0};
    case 6: {
      if (frame.paramCount == 0) RaiseObjectError(kErrStackNumberOutOfRange);
      const int16_t wanted = frame.Params()[0];
      return NextInList(me, current, [wanted](cXObject& o) { return o.GetData(kDataSearchGroup) == wanted; });
    }
    case 7: {
      if (neighbours_ == nullptr) return 0;
      struct Context {
        iNeighbourList* list;
        uint32_t guid;
      } context{neighbours_, NodeOperandGuid(node, 0)};
      return NextInIds(neighbours_->NeighbourIds(), current,
                       [](int16_t id, const void* c) {
                         const auto* ctx = static_cast<const Context*>(c);
                         return ctx->list->NeighbourGuid(id) == ctx->guid;
                       },
                       &context);
    }
    case 8: {
      cXObject* o = Object(me, current);
      if (o == nullptr || !o->IsOnLot() || me.GetModule() == nullptr) return 0;
      std::vector<cXObject*> here;
      me.GetModule()->ObjectsInCell(o->GetTile(), here);
      if (here.empty()) return 0;
      for (size_t i = 0; i < here.size(); ++i) {
        if (here[i] == o) return here[(i + 1) % here.size()]->GetId();
      }
      return here.front()->GetId();
    }
    case 9: return NextAroundCentre(me, frame, node, current);
    case 10: {
      std::vector<int16_t> ids;
      for (const cCareer& c : CareerList::Instance().Careers()) ids.push_back(static_cast<int16_t>(c.id));
      return NextInIds(ids, current);
    }
    case 11:
      return neighbours_ ? NextInIds(neighbours_->IdList(), current) : int16_t{0};
    default: return 0;
  }
}

int16_t ObjectQueryPrimitives::NextAroundCentre(cXObject& me, TreeStackFrame& frame, TreeNode node, int16_t current) {
  const int32_t local = NodeOperandByte(node, 6);
  if (local >= frame.localCount) RaiseObjectError(kErrStackNumberOutOfRange);
  cXObject* centre = RequireObject(me, frame.Locals()[local], kErrNoParameter);
  ObjectModule* module = me.GetModule();
  iLotWorld* world = module ? module->GetWorld() : nullptr;
  if (world == nullptr || !centre->IsOnLot()) return 0;
  static constexpr int8_t kOffsets[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};  // (y, x)
  const TileLocation middle = centre->GetTile();
  int32_t start = 0;
  if (cXObject* at = Object(me, current)) {
    const TileLocation tile = at->GetTile();
    const int32_t dy = tile.y - middle.y;
    const int32_t dx = tile.x - middle.x;
    if (dy > 0) {
      start = 1;
    } else if (dy < 0) {
      start = 3;
    } else if (dx > 0) {
      start = 2;
    } else {
      return 0;
    }
  }
  const int16_t room = centre->GetData(kDataRoom);
  for (int32_t i = start; i < 4; ++i) {
    const TileLocation tile = middle + TileLocation{kOffsets[i][0], kOffsets[i][1], 0};
    if (tile.IsOnBorder(world->GetSize())) continue;
    cXObject* there = module->GetObjectById(world->GetObjectIdAt(tile));
    if (there != nullptr && there->GetData(kDataRoom) == room) return there->GetId();
  }
  return 0;
}

int32_t ObjectQueryPrimitives::TestObjectType(cXObject& me, TreeStackFrame&, TreeNode node) {
  const int16_t id = me.EvaluateVariable(node.Operand(3), node.Operand(2), nullptr, nullptr);
  cXObject* o = RequireObject(me, id, kErrNoSuchObject);
  const uint32_t guid = NodeOperandGuid(node, 0);
  ObjectDefinition* definition = o->GetDefinition();
  if (definition == nullptr) return kPrimFalse;
  if (definition->GetGUID() == guid) return kPrimTrue;
  ObjectDefinition* master = definition->GetMasterDefinition();
  return master != nullptr && master->GetGUID() == guid ? kPrimTrue : kPrimFalse;
}

}  // namespace tova
