#pragma once
// The behaviour primitives every object runs, by opcode. Opcodes missing
// here belong to people (simulation/people/PersonMotion.h) or to nothing;
// a plain object answers them with the illegal-primitive error.

#include <cstdint>
#include <string_view>

namespace tova {

enum PrimitiveOpcode : uint16_t {
  kPrimSleep = 0,
  kPrimGlobalCall = 1,
  kPrimExpression = 2,
  kPrimGrab = 4,
  kPrimDrop = 5,
  kPrimRefresh = 7,
  kPrimRandomNumber = 8,
  kPrimPlaceFixedObject = 9,
  kPrimTutorial = 10,
  kPrimGetDistanceTo = 11,
  kPrimGetDirectionTo = 12,
  kPrimPushInteraction = 13,
  kPrimFindBestObjectForFunction = 14,
  kPrimBreakpoint = 15,
  kPrimFindLocation = 16,
  kPrimRemoveObject = 18,
  kPrimMakeNewCharacter = 19,
  kPrimRunFunctionalTree = 20,
  kPrimShowString = 21,
  kPrimPlaySound = 23,
  kPrimRelationship = 24,
  kPrimAlterBudget = 25,
  kPrimStackRelationship = 26,
  kPrimCallNamedTree = 28,
  kPrimSetToNext = 31,
  kPrimTestObjectType = 32,
  kPrimFindLowestMotives = 33,
  kPrimHighlightUI = 34,
  kPrimShowStackObject = 35,
  kPrimDialog = 36,
  kPrimSetBalloon = 41,
  kPrimCreateObjectInstance = 42,
  kPrimMoveSlotContents = 43,
  kPrimSnap = 46,
  kPrimStopSounds = 48,
  kPrimWakeStackObject = 49,
  kPrimAddMenuInteraction = 50,
};

// The enumerator's name of an object primitive ("kPrimExpression"), or
// empty for any other opcode.
std::string_view PrimitiveOpcodeName(int32_t opcode);

}  // namespace tova
