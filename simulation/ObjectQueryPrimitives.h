#pragma once
// The primitives that find objects and measure between them: distance and
// direction to the stack object, the best object for a need, stepping an
// iterator over objects, neighbours and careers, and the type test.

#include <cstdint>
#include <vector>

#include "gamedata/TilePosition.h"
#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;

// What the neighbourhood lends the iterator: its neighbours in order, the
// definition GUID of each and its id list. Set by whoever loads the
// neighbourhood; without one those iterations find nothing.
class iNeighbourList {
 public:
  virtual ~iNeighbourList() = default;
  virtual std::vector<int16_t> NeighbourIds() const = 0;
  // 0 when the neighbour has no definition.
  virtual uint32_t NeighbourGuid(int16_t neighbourId) const = 0;
  virtual std::vector<int16_t> IdList() const = 0;
};

// The grid direction 0-7 that points most nearly from one point to
// another (0 -x, 2 +y, 4 +x, 6 -y); 0 for the same point.
int32_t OctantDirection(FinePoint from, FinePoint to);

class ObjectQueryPrimitives {
 public:
  static void SetNeighbourList(iNeighbourList* list) { neighbours_ = list; }
  static iNeighbourList* GetNeighbourList() { return neighbours_; }

  static int32_t GetDistanceTo(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t GetDirectionTo(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t FindBestObjectForFunction(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t SetToNext(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t TestObjectType(cXObject& me, TreeStackFrame& frame, TreeNode node);

 private:
  // The id after current for the iteration kind; 0 when nothing follows.
  static int16_t NextId(cXObject& me, TreeStackFrame& frame, TreeNode node, int32_t kind, int16_t current);
  static int16_t NextAroundCentre(cXObject& me, TreeStackFrame& frame, TreeNode node, int16_t current);

  static inline iNeighbourList* neighbours_ = nullptr;
};

}  // namespace tova
