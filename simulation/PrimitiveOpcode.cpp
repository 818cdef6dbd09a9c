#include "simulation/PrimitiveOpcode.h"

#include <array>

namespace tova {

namespace {

struct PrimitiveOpcodeEntry {
  PrimitiveOpcode opcode;
  std::string_view name;
};

#define TOVA_PRIMITIVE_ENTRY(name) PrimitiveOpcodeEntry{name, #name}
constexpr std::array kPrimitiveOpcodeEntries = {
    TOVA_PRIMITIVE_ENTRY(kPrimSleep),
    TOVA_PRIMITIVE_ENTRY(kPrimGlobalCall),
    TOVA_PRIMITIVE_ENTRY(kPrimExpression),
    TOVA_PRIMITIVE_ENTRY(kPrimGrab),
    TOVA_PRIMITIVE_ENTRY(kPrimDrop),
    TOVA_PRIMITIVE_ENTRY(kPrimRefresh),
    TOVA_PRIMITIVE_ENTRY(kPrimRandomNumber),
    TOVA_PRIMITIVE_ENTRY(kPrimPlaceFixedObject),
    TOVA_PRIMITIVE_ENTRY(kPrimTutorial),
    TOVA_PRIMITIVE_ENTRY(kPrimGetDistanceTo),
    TOVA_PRIMITIVE_ENTRY(kPrimGetDirectionTo),
    TOVA_PRIMITIVE_ENTRY(kPrimPushInteraction),
    TOVA_PRIMITIVE_ENTRY(kPrimFindBestObjectForFunction),
    TOVA_PRIMITIVE_ENTRY(kPrimBreakpoint),
    TOVA_PRIMITIVE_ENTRY(kPrimFindLocation),
    TOVA_PRIMITIVE_ENTRY(kPrimRemoveObject),
    TOVA_PRIMITIVE_ENTRY(kPrimMakeNewCharacter),
    TOVA_PRIMITIVE_ENTRY(kPrimRunFunctionalTree),
    TOVA_PRIMITIVE_ENTRY(kPrimShowString),
    TOVA_PRIMITIVE_ENTRY(kPrimPlaySound),
    TOVA_PRIMITIVE_ENTRY(kPrimRelationship),
    TOVA_PRIMITIVE_ENTRY(kPrimAlterBudget),
    TOVA_PRIMITIVE_ENTRY(kPrimStackRelationship),
    TOVA_PRIMITIVE_ENTRY(kPrimCallNamedTree),
    TOVA_PRIMITIVE_ENTRY(kPrimSetToNext),
    TOVA_PRIMITIVE_ENTRY(kPrimTestObjectType),
    TOVA_PRIMITIVE_ENTRY(kPrimFindLowestMotives),
    TOVA_PRIMITIVE_ENTRY(kPrimHighlightUI),
    TOVA_PRIMITIVE_ENTRY(kPrimShowStackObject),
    TOVA_PRIMITIVE_ENTRY(kPrimDialog),
    TOVA_PRIMITIVE_ENTRY(kPrimSetBalloon),
    TOVA_PRIMITIVE_ENTRY(kPrimCreateObjectInstance),
    TOVA_PRIMITIVE_ENTRY(kPrimMoveSlotContents),
    TOVA_PRIMITIVE_ENTRY(kPrimSnap),
    TOVA_PRIMITIVE_ENTRY(kPrimStopSounds),
    TOVA_PRIMITIVE_ENTRY(kPrimWakeStackObject),
    TOVA_PRIMITIVE_ENTRY(kPrimAddMenuInteraction),
};
#undef TOVA_PRIMITIVE_ENTRY

}  // namespace

std::string_view PrimitiveOpcodeName(int32_t opcode) {
  for (const PrimitiveOpcodeEntry& e : kPrimitiveOpcodeEntries)
    if (e.opcode == opcode) return e.name;
  return {};
}

}  // namespace tova
