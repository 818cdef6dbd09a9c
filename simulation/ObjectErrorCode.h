#pragma once
// The 16-bit error codes of behaviour trees: primitives and operand access
// raise 1-64, the interpreter 1000 and up. A raised code ends the object's
// tick (never the process) and is shown in the object error report.

#include <cstdint>

namespace tova {

enum ObjectErrorCode : int16_t {
  kErrNone = 0,
  kErrBadOperator = 1,
  kErrTempOutOfRange = 2,
  kErrRandomRangeZero = 4,
  kErrIllegalPrimitive = 5,
  kErrAttributeOutOfRange = 6,
  kErrDataOutOfRange = 7,
  kErrStackNumberOutOfRange = 8,
  kErrIllegalOwner = 9,
  kErrNoParameter = 10,
  kErrFlagOutOfRange = 13,
  kErrStackObjectIndex = 15,
  kErrReadOnlyWrite = 19,
  kErrNoStackObject = 21,
  kErrNoTreeTableEntry = 22,
  kErrMotiveOutOfRange = 26,
  kErrSlotOutOfRange = 27,
  kErrNotAPerson = 28,
  kErrBadBalloonType = 29,
  kErrPersonDataOutOfRange = 33,
  kErrDefinitionIndex = 35,
  kErrDivideByZero = 38,
  kErrBadRoomId = 40,
  kErrBadRoomValue = 41,
  kErrBadNamedTreeCall = 44,
  kErrInvalidConstant = 46,
  kErrDynamicSpriteIndex = 49,
  kErrNoRecord = 55,
  kErrCareerNotFound = 57,
  kErrJobDataNotFound = 58,
  kErrNeighborhoodIndex = 60,
  kErrTreeBreak = 62,
  kErrGlobalOutOfRange = 63,
  kErrTypeAttributeIndex = 64,
  kErrStackOverflow = 1000,
  kErrStackUnderflow = 1001,
  kErrUndefinedTransition = 1100,
  kErrTooManyIterations = 1101,
  kErrNoSuchNode = 1102,
  kErrCheckTreeBlocked = 1103,
};

// The fixed English message of a code; "Condition unknown." for a code
// without one.
const char* ObjectErrorMessage(int32_t code);

// How a code is raised inside the interpreter: thrown, caught only where the
// interpreter runs a tick or a synchronous tree.
struct ObjectError {
  int16_t code;
};

[[noreturn]] inline void RaiseObjectError(int32_t code) { throw ObjectError{static_cast<int16_t>(code)}; }

}  // namespace tova
