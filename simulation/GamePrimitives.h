#pragma once
// The primitives through which trees talk to the player and the game: the
// tutorial object, shown strings, the family budget, the lowest motives of
// a person, named menu entries, and the two interface primitives that light
// up interface elements and show the stack object in a view.

#include <cstdint>
#include <string>

#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;

// Error codes these primitives raise beyond the interpreter's own.
enum GamePrimitiveError : int16_t {
  kErrDialogFromGlobalTree = 5,
  kErrParameterNumber = 8,
  kErrNotFromStackObject = 10,
  kErrObjectNotFound = 23,
  kErrNoTreeTable = 31,
  kErrBadSearchType = 30,
  kErrBadGlobalCall = 42,
  kErrBadPriority = 45,
  kErrLocalNumber = 51,
  kErrBadTutorialCode = 53,
  kErrNoNeighbourRecord = 55,
  kErrBadExpenseType = 56,
  kErrNoSkinColour = 59,
};

class GamePrimitives {
 public:
  static int32_t Tutorial(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t ShowString(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t AlterBudget(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t FindLowestMotives(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t AddMenuInteraction(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t HighlightUI(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t ShowStackObject(cXObject& me, TreeStackFrame& frame, TreeNode node);

  // String n (1-based) of a string list of the own file of the frame's
  // Behavior; empty when missing.
  static std::string FrameString(TreeStackFrame& frame, int16_t list, int32_t n);
};

}  // namespace tova
