#pragma once
// What the person primitives ask of the code that moves a person: the head
// looking at an object, the body turning along its path points, and a walk
// to a routing slot around an object. The locomotion and routing code
// installs one; until it does, nothing turns or walks: a turn ends at once
// and a route fails.

#include <cstdint>
#include <vector>

#include "gamedata/SlotDescriptor.h"
#include "simulation/ObjectErrorCode.h"

namespace tova {

class cXObject;
class cXPerson;
struct TreeStackFrame;

class iPersonMotion {
 public:
  virtual ~iPersonMotion() = default;
  // The head turns toward the object (0: looks ahead again).
  virtual void LookAt(cXPerson& /*person*/, int16_t /*object*/) {}
  // The body starts turning toward the last of its path points.
  virtual void StartTurn(cXPerson& /*person*/) {}
  // Whether the turn has ended; result receives the turn's own result.
  virtual bool TurnEnded(cXPerson& /*person*/, int32_t& result) {
    result = 1;
    return true;
  }
  // Starts the walk to the slot around target: an interpreter result (2
  // while the walk goes on; the primitive then calls ContinueRoute).
  virtual int32_t RouteTo(cXPerson& /*person*/, TreeStackFrame& /*frame*/, cXObject& /*target*/,
                          const RoutingSlot& /*slot*/) {
    return 0;
  }
  virtual int32_t ContinueRoute(cXPerson& /*person*/, TreeStackFrame& /*frame*/) { return 0; }
  // The object module's shared routing slots; null when there are none.
  virtual std::vector<RoutingSlot>* SharedRoutingSlots() { return nullptr; }
};

// The installed one (never null).
iPersonMotion& PersonMotion();
void SetPersonMotion(iPersonMotion* motion);

// The person-only opcodes.
enum PersonOpcode : uint16_t {
  kPrimFindBestInteraction = 3,
  kPrimChangeSuit = 6,
  kPrimIdleForInput = 17,
  kPrimLookTowards = 22,
  kPrimGoToRelativePosition = 27,
  kPrimSetMotiveChange = 29,
  kPrimQueueFoundAction = 30,
  kPrimTestWithStackObject = 37,
  kPrimAnimate = 44,
  kPrimGoToRoutingSlot = 45,
  kPrimReach = 47,
};

// The interpreter's codes that only the person primitives raise.
enum PersonErrorCode : int16_t {
  kErrBadRoutingSlot = 37,
  kErrBadLookTowardsParam = 39,
  kErrBadSuitLocation = 47,
  kErrBadSuitIndex = 48,
  kErrRoutingObjectMissing = 52,
};
constexpr int16_t kErrBadMotive = kErrMotiveOutOfRange;

}  // namespace tova
