#pragma once
// The person primitives' walk to a routing slot, run by the route walk over
// the live person. The walk's state word is kept in the primitive's frame
// between ticks.

#include "simulation/people/PersonMotion.h"

namespace tova {

class RoomManager;

class LivePersonMotion : public iPersonMotion {
 public:
  // rooms may be null (the planner then has no room rectangles).
  explicit LivePersonMotion(RoomManager* rooms = nullptr) : rooms_(rooms) {}
  void SetRooms(RoomManager* rooms) { rooms_ = rooms; }

  int32_t RouteTo(cXPerson& person, TreeStackFrame& frame, cXObject& target, const RoutingSlot& slot) override;
  int32_t ContinueRoute(cXPerson& person, TreeStackFrame& frame) override;

 private:
  int32_t Step(cXPerson& person, TreeStackFrame& frame, int32_t state, int16_t target, const RoutingSlot* slot);

  RoomManager* rooms_;
};

}  // namespace tova
