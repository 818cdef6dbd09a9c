#pragma once
// The primitives that read and write relationship variables: each object,
// and each neighbour record, keeps per other party an array of 16-bit
// variables. Two persons keep theirs in their neighbour records.

#include <cstdint>
#include <functional>

#include "simulation/TreeZaz.h"

class KeyedArrayList;

namespace tova {

class cXObject;

// The neighbour records' relationship lists, by neighbour id (null when the
// neighbourhood has no such record). Set by whoever loads the neighbourhood.
class iNeighbourRecords {
 public:
  virtual ~iNeighbourRecords() = default;
  virtual KeyedArrayList* RelationshipsOf(int16_t neighbourId) = 0;
  // A person leaving the lot hands its record what it became.
  virtual void UpdateFromPerson(cXObject& person) = 0;
};

class RelationshipPrimitives {
 public:
  static void SetNeighbourRecords(iNeighbourRecords* records) { records_ = records; }
  static iNeighbourRecords* GetNeighbourRecords() { return records_; }

  static int32_t Relationship(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t StackRelationship(cXObject& me, TreeStackFrame& frame, TreeNode node);

 private:
  // Where the variables towards the other party are kept.
  struct Holder {
    KeyedArrayList* list = nullptr;
    int32_t key = 0;
  };
  // The holder of (owner, other) for live objects: two persons keep theirs
  // in their neighbour records.
  static Holder Find(cXObject& me, cXObject* owner, cXObject* other);
  static Holder FindRecords(int16_t ownerNeighbour, int16_t otherNeighbour);
  // The holder for whose 0-3; third names the third party, which owns the
  // variables at whose 2 when thirdOwnsAtTwo, at whose 3 otherwise.
  static Holder Parties(cXObject& me, TreeStackFrame& frame, int32_t whose, bool byNeighbour, bool thirdOwnsAtTwo,
                        const std::function<int16_t()>& third);
  // Grows the array to hold the variable unless failIfTooSmall; false when
  // the variable is not there afterwards.
  static bool Reach(const Holder& h, int32_t variable, bool failIfTooSmall, bool& result);

  static inline iNeighbourRecords* records_ = nullptr;
};

}  // namespace tova
