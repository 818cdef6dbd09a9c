#include "simulation/people/LivePersonMotion.h"

#include "simulation/people/PersonRouteHost.h"
#include "simulation/people/RouteWalk.h"
#include "simulation/people/cXPerson.h"

namespace tova {

int32_t LivePersonMotion::Step(cXPerson& person, TreeStackFrame& frame, int32_t state, int16_t target,
                               const RoutingSlot* slot) {
  PersonRouteHost host(person, rooms_);
  const int32_t result = RouteWalk::Run(host, state, target, slot);
  // A walk whose routes are gone comes back to 0 and starts afresh on the next tick.
  frame.primitiveState = state;
  return result;
}

int32_t LivePersonMotion::RouteTo(cXPerson& person, TreeStackFrame& frame, cXObject& target,
                                  const RoutingSlot& slot) {
  return Step(person, frame, 0, target.GetId(), &slot);
}

int32_t LivePersonMotion::ContinueRoute(cXPerson& person, TreeStackFrame& frame) {
  const int16_t target = person.Routes().empty() ? 0 : person.Routes().back().target;
  return Step(person, frame, frame.primitiveState, target, nullptr);
}

}  // namespace tova
