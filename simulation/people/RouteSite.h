#pragma once
// What a person route asks of the lot while it picks its start and goal
// points: the routed person, the target, the tiles, and the objects that
// stand where a person could snap to them. The live lot answers for a
// person on it; tests answer with a small scripted lot.

#include <cstdint>

#include "gamedata/TilePosition.h"

namespace tova {

// An object a person may stand beside to use it (a seat, a bed...).
struct RouteSnapObject {
  int16_t id = 0;
  int32_t direction = 0;
  uint16_t sideMask = 0;   // the definition's side mask, relative to its facing
  int16_t heldObject = 0;  // what sits in its first slot (0 none)
};

class iRouteSite {
 public:
  virtual ~iRouteSite() = default;

  // ---- the routed person ----
  virtual FinePoint PersonPosition() = 0;
  virtual int32_t PersonLevel() = 0;
  virtual int32_t PersonRoom() = 0;
  virtual int32_t PersonDirection() = 0;
  virtual void SetPersonDirection(int32_t direction) = 0;
  virtual int16_t PersonWord(int32_t n) = 0;
  virtual void SetPersonWord(int32_t n, int16_t value) = 0;
  // The seat the person sits in, when it has an entry tree 26 (id 0 none).
  virtual RouteSnapObject PersonSeat() = 0;

  // ---- the target ----
  virtual FinePoint TargetPosition(bool footprint) = 0;
  virtual int32_t TargetDirection() = 0;
  virtual int32_t TargetLevel() = 0;

  // ---- the lot ----
  // A tile on the border row or column, or off the lot.
  virtual bool IsBorderTile(FinePoint point) = 0;
  virtual bool IsInsideWorld(FinePoint point) = 0;
  virtual int32_t RoomAt(FinePoint point, int32_t level) = 0;
  // The tile's 8-direction blocking mask turned to the rotation.
  virtual uint8_t BlockMask(FinePoint point, int32_t level, int32_t rotation) = 0;
  // The tile's four 8-bit corner heights.
  virtual uint32_t Corners(FinePoint point) = 0;
  // Whether the person fits at the point facing its direction word; when
  // not, the placement failure code and what was in the way (0 nothing).
  struct Placement {
    bool fits = false;
    int32_t code = 0;
    int16_t blocker = 0;
    bool blockerIsPerson = false;
  };
  virtual Placement TryPlacePerson(FinePoint point) = 0;
  // An object with an entry tree 26 at the point on the level (id 0 none).
  virtual RouteSnapObject SnapObjectAt(FinePoint point, int32_t level) = 0;
  // 0 .. n-1.
  virtual int32_t Random(int32_t n) = 0;
};

}  // namespace tova
