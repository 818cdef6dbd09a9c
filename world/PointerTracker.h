#pragma once
// The program's one pointer tracker: a person's head drawn in 3D on a
// window, looking toward the mouse pointer and gliding to another window
// and back. It is bound to a source window, a target window and the person
// data (the animator of the person it shows); each frame's update measures
// where the head goes, picks the direction it looks from the pointer's
// octant, wobbles it a little and draws the body's "HEAD" meshes with that
// transform through the scene.

#include <cstdint>
#include <vector>

#include "simulation/people/CharacterData.h"
#include "tarn/Transform.h"
#include "world/TrackerWindow.h"
#include "world/tools/ToolServices.h"

class cIGZKeyboard;

namespace tova {

class PersonAnimator;

// What the update draws through: the view's zoom and rotation, the camera
// that turns a screen point into 3D, and the head meshes of a body.
class iTrackerScene {
 public:
  virtual ~iTrackerScene() = default;
  virtual int32_t GetZoom() const = 0;
  virtual int32_t GetViewRotation() const = 0;
  virtual Vector3 ScreenTo3D(int32_t x, int32_t y, int32_t z) const = 0;
  // Draws every mesh named "HEAD" of the data's body with the transform
  // and lighting scale, and gives each its own transform and bounds back.
  virtual void DrawHeads(PersonAnimator& data, const Transform& transform, float lighting, void* target) = 0;
  // A number from 0 to bound - 1 for the wobble.
  virtual int32_t Random(int32_t bound) = 0;
};

// The tuning values.
struct TrackerTuning {
  static constexpr int32_t kMoveTime = 400;
  static constexpr int32_t kGazeBlendTime = 400;
  static constexpr int32_t kDepth = 100;
  static constexpr float kScaleFactor = 1.75f;
  static constexpr float kWobbleFactor = 0.3f;
  static constexpr float kMinimumTilt = 0.5f;
  static constexpr float kTiltFactor = 0.25f;
  static constexpr float kTiltOffset = 0.2f;
  // How long a gesture keeps the head looking straight.
  static constexpr int32_t kGestureLength = 500;
};

// What the last update drew, for the view's checks.
struct TrackerPose {
  int32_t octant = -2;
  float scale = 0;
  float lighting = 1;
  float look[2] = {0, 0};
  Vector3 position;
  Transform transform;
};

class PointerTracker : public iPointerTracker {
 public:
  PointerTracker(const iMillisecondClock& clock, const cIGZKeyboard* keyboard, iTrackerScene* scene);

  void Attach(iTrackerWindow* window, PersonAnimator* data) override;
  void Detach() override;
  bool IsAttached() const override { return source_ != nullptr; }
  void SetTarget(iTrackerWindow* window) override;
  void ReturnToSource() override;
  void StartGesture() override;
  // tilt, less 0.5 with Ctrl and more with Shift, less the offset, inside
  // -1..1 and at least the minimum in size, times the factor.
  void AdjustTilt(float tilt) override;
  // The head's place: from the from position to the to position over the
  // move time, settled once there.
  void GetPosition(int32_t& x, int32_t& y, int32_t& z) override;
  void Update(void* renderTarget) override;
  PersonAnimator* GetData() const override { return data_; }

  iTrackerWindow* GetSource() const { return source_; }
  iTrackerWindow* GetTarget() const { return target_; }
  bool IsSettled() const { return settled_ != 0; }
  bool InGesture() const;
  float GetTargetTilt() const { return targetTilt_; }
  float GetSmoothedTilt() const { return smoothedTilt_; }
  const TrackerPose& LastPose() const { return pose_; }
  // The octant the head looks toward for a pointer octant and distance
  // code; -1 looks straight.
  static int32_t LookOctant(int32_t octant, int32_t distanceCode);

 private:
  struct Point {
    int32_t x = -1, y = -1, z = -1;
  };
  int32_t Now() const { return static_cast<int32_t>(clock_.Milliseconds()); }
  static Point Measure(const iTrackerWindow& window);
  bool KeyDown(uint32_t vk) const;

  const iMillisecondClock& clock_;
  const cIGZKeyboard* keyboard_;
  iTrackerScene* scene_;
  iTrackerWindow* source_ = nullptr;
  iTrackerWindow* target_ = nullptr;
  PersonAnimator* data_ = nullptr;
  int32_t settled_ = 1;
  Point start_, current_, from_, to_;
  int32_t gestureStart_ = 0, gestureEnd_ = 0;
  int32_t moveStart_ = 0;
  int32_t gazeStart_ = 0;
  int32_t lastOctant_ = -2;
  float smoothedTilt_ = 0;
  float targetTilt_ = 0;
  float wobble_[2] = {0, 0};
  float gazeFrom_[2] = {0, 0};
  float lastLook_[2] = {0, 0};
  TrackerPose pose_;
};

}  // namespace tova
