#pragma once
// The primitive that shows a balloon (thought, scream or speech) with an
// icon over an object, or clears it. The balloon is drawn by the object's
// first graphic cycle; the object lends its balloon state through
// iBalloonHolder, and the sprites' frame counts and the definitions' icons
// come from the renderer through iBalloonArt.

#include <cstdint>

#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;
class ObjectDefinition;

struct BalloonState {
  bool showing = false;
  int32_t priority = 0;
  int32_t sprite = 0;
  int32_t frames = 0;  // the sprite's frame count / 3
  bool reversed = false;
  int32_t type = 0;    // 0 thought, 1 scream, 2 speak
  int32_t crossedOutSprite = 0;
  bool showWhenInactive = false;
  int32_t duration = 0;
  bool inLoops = false;  // else ticks
};

// An object that may show a balloon: it shows one only while it has
// graphic cycles (the balloon is drawn by the first).
class iBalloonHolder {
 public:
  virtual ~iBalloonHolder() = default;
  virtual BalloonState& Balloon() = 0;
  virtual bool HasGraphicCycles() const = 0;
};

// The renderer's side of a balloon, given to the primitive by whoever owns
// the sprites; until the house renderer sets one, no icon has frames and a
// balloon never shows.

class iBalloonArt {
 public:
  virtual ~iBalloonArt() = default;
  // 0 when the sprite is unknown.
  virtual int32_t FrameCount(int32_t sprite) = 0;
  // The sprite that stands for a definition; 0 for none.
  virtual int32_t DefinitionIcon(ObjectDefinition& definition) = 0;
};

class BalloonPrimitive {
 public:
  static void SetArt(iBalloonArt* art) { art_ = art; }
  static int32_t SetBalloon(cXObject& me, TreeStackFrame& frame, TreeNode node);

 private:
  // The icon's sprite; 0 leaves the balloon as it is.
  static int32_t IconSprite(cXObject& me, TreeStackFrame& frame, TreeNode node, int32_t source, int32_t index);

  static inline iBalloonArt* art_ = nullptr;
};

}  // namespace tova
