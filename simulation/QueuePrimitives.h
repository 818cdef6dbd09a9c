#pragma once
// The primitives that reach beyond the object: an interaction pushed onto a
// person's queue, a dialog with the player, sounds played and stopped, a
// new user character, and the numbered global calls into the
// neighbourhood, the family and the simulator.

#include <cstdint>

#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;

class QueuePrimitives {
 public:
  static int32_t PushInteraction(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t Dialog(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t PlaySound(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t StopSounds(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t MakeNewCharacter(cXObject& me, TreeStackFrame& frame, TreeNode node);
  static int32_t GlobalCall(cXObject& me, TreeStackFrame& frame, TreeNode node);

  // The sound trace's running event number (one for the program).
  static int32_t TraceEvents() { return traceEvents_; }

 private:
  static void TraceNode(TreeStackFrame& frame);

  static inline int32_t traceEvents_ = 0;
};

}  // namespace tova
