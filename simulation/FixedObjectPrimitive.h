#pragma once
// The primitive that puts instances of one fixed definition under an
// object, or under the whole cluster of objects round it: persons in the
// cluster are moved to the middle of their tiles, and every member's tile
// that lacks an instance gets one.

#include <cstdint>

#include "simulation/TreeZaz.h"

namespace tova {

class FixedObjectPrimitive {
 public:
  static constexpr uint32_t kFixedGuid = 0x24C95F99;

  static int32_t PlaceFixedObject(class cXObject& me, TreeStackFrame& frame, TreeNode node);
};

}  // namespace tova
