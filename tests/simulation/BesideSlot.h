// A routing slot for tests that send a person to an object: one tile from it
// on any of its four sides, facing it.
#pragma once

#include "gamedata/SlotDescriptor.h"

namespace tova_test {

inline tova::RoutingSlot BesideSlot() {
  tova::RoutingSlot slot;
  slot.params[0] = 1;
  for (int d : {0, 2, 4, 6}) slot.EnableDirection(d);
  slot.SetDistancesTiles(1, 2, 1);
  slot.SetFacingDefault();
  return slot;
}

}  // namespace tova_test
