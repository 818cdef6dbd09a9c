#include "simulation/ObjectErrorCode.h"

namespace tova {

namespace {

// Codes 0 to 62 by number (null where a code has no message).
constexpr const char* kMessages[] = {
    "No Error",
    "Bad operator.",
    "Temporary reference out of range.",
    "Bad parameter to update primitive.",
    "Random number range evaluated to zero.",
    "Illegal primitive code.",
    "Attribute number out of range.",
    "Data number out of range.",
    "Stack number out of range.",
    "Illegal owner field in data reference.",
    "Reference to tree tree parameter when no parameter exists.",
    "Gosub??",
    "Reference to target object when none exists.",
    "Flag reference is out of range.",
    "Undefined transition found.",
    "Reference to stack object out of range.",
    "Bad alert tree number.",
    "Bad gosub tree number.",
    "Zero distance in finding direction.",
    "Expression attempting to write in a read-only area.",
    "Data value out of range.",
    "No stack object present when required.",
    "Reference to tree table entry that does not exist.",
    "Could not find object reference.",
    "Standard number for a weight assignment is out of range.",
    "Weight number for a weight assignment is out of range.",
    "Motive number out of range or not an acceptable value.",
    "Slot number out of range.",
    "Object referred to must be a person.",
    "Balloon Type Is Invalid. Values are 0:thought, 1:scream, 2:speak.",
    "Search type is invalid. Types are 0: all motive, 1:mental motives, 2:physical motives.",
    "Tree table not found",
    "Bad target slot specified in routing slot.",
    "Person data field is out of range.",
    "Show hide parameter is out of expected range.",
    "Index into object definition out of range.",
    "Invalid snapping mode specified",
    "Invalid routing slot specified",
    "Divide by zero.",
    "Bad parameter in look towards primitive.",
    "Bad room id specified",
    "Bad room value requested.",
    "Invalid global zaz call.",
    "Named tree does not exist.",
    "Bad parameter to call named tree.",
    "Unrecognized priority value.",
    "Invalid constant.",
    "Invalid suit location.",
    "Invalid suit index.",
    "Invliad dynamic sprite index",
    "Invalid object id.",
    "Local out of range.",
    "Object for routing either does not exist or is out of bounds.",
    "Invalid action in tutorial primitive.",
    "More than one passing value specified.",
    nullptr,
    "Bad expense type specified.",
    "Career id not found.",
    "Job data not found.",
    "Invalid skin color.",
    "Neighborhood data index out of range.",
    "Start object required.",
    "Tree break encountered.",
};

}  // namespace

const char* ObjectErrorMessage(int32_t code) {
  constexpr int32_t count = static_cast<int32_t>(sizeof(kMessages) / sizeof(kMessages[0]));
  if (code >= 0 && code < count && kMessages[code] != nullptr) return kMessages[code];
  switch (code) {
    case kErrStackOverflow: return "Stack overflow.";
    case kErrStackUnderflow: return "Stack underflow.";
    case kErrUndefinedTransition: return "Undefined Transition.";
    case kErrTooManyIterations: return "Too many iterations.";
    case kErrNoSuchNode: return "Transition to node that does not exist.";
    case kErrCheckTreeBlocked: return "Check tree primitive blocked completion.";
    default: return "Condition unknown.";
  }
}

}  // namespace tova
