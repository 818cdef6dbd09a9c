#pragma once
// A window the pointer tracker's head sits on or looks from (the pie-menu
// windows of the people panel are the ones that do): where it lies on the
// screen, the point inside it that the head takes, where the mouse pointer
// is seen from it, and the notice that the head moves to it or leaves it.

#include <cstdint>

namespace tova {

class iTrackerWindow {
 public:
  virtual ~iTrackerWindow() = default;
  virtual int32_t GetScreenLeft() const = 0;
  virtual int32_t GetScreenTop() const = 0;
  // The head's place inside the window, from its left and top (a pie menu
  // answers the offset of its centre).
  virtual int32_t GetTrackerWidth() const = 0;
  virtual int32_t GetTrackerHeight() const = 0;
  // The pointer seen from the window: its octant (0 up, then clockwise),
  // a distance code that refines it, its angle in radians and its distance
  // in pixels.
  virtual int32_t GetPointerOctant() const = 0;
  virtual int32_t GetPointerDistanceCode() const = 0;
  virtual float GetPointerAngle() const = 0;
  virtual float GetPointerDistance() const = 0;
  virtual void TakeTracker() {}
  virtual void ReleaseTracker() {}
};

}  // namespace tova
