#pragma once
// The primitives that move objects between the world and containers,
// redraw them, find them a free place, remove them and snap an object to a
// place its stack object offers.

#include <cstdint>

#include "gamedata/TilePosition.h"
#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;

// What a snap asks of a person: to step aside for another, and the values
// its animation keeps about the last move. The people code implements it
// on its person; any other object is no snapping person.
class iSnapPerson {
 public:
  virtual ~iSnapPerson() = default;
  // Asked by the one it stands in the way of; whether it will move.
  virtual bool RequestStepAside(cXObject& asker) = 0;
  // The y, x and facing differences of a measured snap.
  virtual void SetSnapOffsets(float dy, float dx, float dfacing) = 0;
  // The second triple; -999 marks it unset.
  virtual void SetPlacedMarks(float a, float b, float c) = 0;
};

// Data words a snap leaves its result in.
constexpr int32_t kDataSnapResult = 52;
constexpr int32_t kDataSnapInTheWay = 54;

class PlacementPrimitives {
 public:
  static int32_t Grab(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t Drop(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t Refresh(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t FindLocation(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t RemoveObject(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t MoveSlotContents(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t Snap(cXObject& me, TreeStackFrame& frame, TreeNode node);

  // Where a snap moves me.
  struct SnapTarget {
    FinePoint point;
    int32_t level = 1;
    cXObject* container = nullptr;
    int32_t slot = 0;
    int32_t facing = 0;
    bool skipChecks = false;
  };
  // The move of a snap: the lot, room and wall checks (unless skipped),
  // the placement test, the footprint's routing test in a container, then
  // the placing; false when any refuses. placeTested tells whether the
  // placement test ran (and so whether its object in the way is this move's).
  static bool SnapPlace(cXObject& me, const SnapTarget& target, bool useFootprint, bool* placeTested = nullptr);
};

}  // namespace tova
