#include "simulation/RelationshipPrimitives.h"

#include <functional>

#include "resfile/KeyedArrayList.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimitiveOperands.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

cXObject* RequireObject(cXObject& me, int16_t id) {
  cXObject* o = me.GetModule() ? me.GetModule()->GetObjectById(id) : nullptr;
  if (o == nullptr) RaiseObjectError(kErrNoStackObject);
  return o;
}

int16_t Parameter0(TreeStackFrame& frame) {
  if (frame.paramCount == 0) RaiseObjectError(kErrStackNumberOutOfRange);
  return frame.Params()[0];
}

}  // namespace

RelationshipPrimitives::Holder RelationshipPrimitives::FindRecords(int16_t ownerNeighbour, int16_t otherNeighbour) {
  KeyedArrayList* list = records_ ? records_->RelationshipsOf(ownerNeighbour) : nullptr;
  if (list == nullptr || (records_->RelationshipsOf(otherNeighbour) == nullptr)) RaiseObjectError(kErrNoStackObject);
  return {list, otherNeighbour};
}

RelationshipPrimitives::Holder RelationshipPrimitives::Find(cXObject& me, cXObject* owner, cXObject* other) {
  if (owner->IsPerson() && other->IsPerson()) {
    // A relationship between two neighbours: the module refreshes the
    // neighbourhood's view of the lot's people.
    if (me.GetModule() != nullptr) me.GetModule()->OnRelationshipChanged();
    return FindRecords(owner->GetNeighbourId(), other->GetNeighbourId());
  }
  return {&owner->KeyedArrays(), other->GetId()};
}

bool RelationshipPrimitives::Reach(const Holder& h, int32_t variable, bool failIfTooSmall, bool& result) {
  if (variable < h.list->GetSize(h.key)) return true;
  if (failIfTooSmall) {
    result = false;
    return false;
  }
  h.list->SetSize(h.key, variable + 1);
  result = true;
  return variable < h.list->GetSize(h.key);
}

RelationshipPrimitives::Holder RelationshipPrimitives::Parties(cXObject& me, TreeStackFrame& frame, int32_t whose,
                                                               bool byNeighbour, bool thirdOwnsAtTwo,
                                                               const std::function<int16_t()>& third) {
  if (whose > 3) RaiseObjectError(kErrNoStackObject);
  // Whose 0 and 1 pair me with the stack object; 2 and 3 the stack object
  // with a third party, in the order the primitive gives.
  const bool thirdFirst = (whose == 2) == thirdOwnsAtTwo;
  if (byNeighbour) {
    const int16_t stackId = frame.stackObject;
    if (whose <= 1 && !me.IsPerson()) RaiseObjectError(kErrNotAPerson);
    Holder h;
    if (whose == 0) {
      h = FindRecords(me.GetNeighbourId(), stackId);
    } else if (whose == 1) {
      h = FindRecords(stackId, me.GetNeighbourId());
    } else {
      const int16_t other = third();
      h = thirdFirst ? FindRecords(other, stackId) : FindRecords(stackId, other);
    }
    if (me.GetModule() != nullptr) me.GetModule()->OnRelationshipChanged();
    return h;
  }
  cXObject* stack = RequireObject(me, frame.stackObject);
  if (whose == 0) return Find(me, &me, stack);
  if (whose == 1) return Find(me, stack, &me);
  cXObject* other = RequireObject(me, third());
  return thirdFirst ? Find(me, other, stack) : Find(me, stack, other);
}

int32_t RelationshipPrimitives::Relationship(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const bool write = NodeOperandByte(node, 0) != 0;
  const int32_t variable = NodeOperandByte(node, 1);
  const int32_t parameter = NodeOperandByte(node, 2);
  const uint8_t flags = NodeOperandByte(node, 4);
  const Holder h = Parties(me, frame, NodeOperandByte(node, 3), (flags & 2) != 0, true,
                           [&frame] { return Parameter0(frame); });
  bool result = true;
  if (!Reach(h, variable, (flags & 1) != 0, result)) return result ? kPrimTrue : kPrimFalse;
  // The parameter must be one the frame has.
  if (parameter >= frame.paramCount) RaiseObjectError(kErrStackNumberOutOfRange);
  int16_t& p = frame.Params()[parameter];
  if (write) {
    h.list->SetValue(h.key, variable, p);
  } else {
    p = static_cast<int16_t>(h.list->GetValue(h.key, variable));
  }
  return kPrimTrue;
}

int32_t RelationshipPrimitives::StackRelationship(cXObject& me, TreeStackFrame& frame, TreeNode node) {
  const int32_t variable = NodeOperandByte(node, 0);
  const uint8_t flags = NodeOperandByte(node, 2);
  const Holder h = Parties(me, frame, NodeOperandByte(node, 1), (flags & 2) != 0, false, [&] {
    const int32_t local = NodeOperandByte(node, 3);
    if (local >= frame.localCount) RaiseObjectError(kErrLocalOutOfRange);
    return frame.Locals()[local];
  });
  bool result = true;
  if (!Reach(h, variable, (flags & 1) != 0, result)) return result ? kPrimTrue : kPrimFalse;
  int16_t* address = nullptr;
  const int16_t value = me.EvaluateVariable(NodeOperandByte(node, 4), node.Operand(3), &address, nullptr);
  if ((flags & 4) != 0) {
    h.list->SetValue(h.key, variable, value);
  } else {
    if (address == nullptr) RaiseObjectError(kErrReadOnlyWrite);
    *address = static_cast<int16_t>(h.list->GetValue(h.key, variable));
  }
  return kPrimTrue;
}

}  // namespace tova
