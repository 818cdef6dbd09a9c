#pragma once
// The tutorial's waits: once a frame the shell polls the tutorial object's
// "query wait event" tree for what it waits on (temp 0 the event, temp 1
// its argument) and, when that has happened, runs its "got wait event"
// tree. Beside it stand the highlights of buttons and windows the
// tutorial's highlight primitive lights up.

#include <cstdint>

namespace tova {

class ObjectModule;

class TutorialWaitEvents {
 public:
  // Once per frame: global 12 takes the last pressed button's id, then the
  // tutorial object (when there is one) is asked and answered.
  static void Poll(ObjectModule& module);
  // The value events 6 and 7 compare against; -1 when none is remembered.
  static int32_t Remembered() { return remembered_; }
  static void Forget() { remembered_ = -1; }

 private:
  static bool Happened(int32_t event, int16_t argument);
  static bool Changed(int32_t now);

  static inline int32_t remembered_ = -1;
};

inline void PollTutorialWaitEvent(ObjectModule& module) { TutorialWaitEvents::Poll(module); }

// The first button (depth first, children in order) of the main window's
// tree whose id is the id, or whose image is the neighbour's portrait.
void HighlightButtonById(int32_t id, bool on);
void HighlightNeighborButton(int32_t neighbour, bool on);
// The first relationship window of the tree, when the neighbour exists.
void HighlightRelationshipWindow(int32_t neighbour, bool on);

}  // namespace tova
