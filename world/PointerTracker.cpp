#include "world/PointerTracker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/cRZKeyboard.h"

namespace tova {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kGazeScale = 0.0005f;
constexpr float kGestureLighting = 0.8f;
constexpr float kHeadScale = 12.0f;

// The look angles (nod, turn) an octant adds: up and down nod by 0.4,
// right and left turn by 0.6, the diagonals do both.
constexpr float kOctantLook[8][2] = {
    {-0.4f, 0.0f}, {-0.4f, 0.6f}, {0.0f, 0.6f}, {0.4f, 0.6f},
    {0.4f, 0.0f},  {0.4f, -0.6f}, {0.0f, -0.6f}, {-0.4f, -0.6f},
};

}  // namespace

PointerTracker::PointerTracker(const iMillisecondClock& clock, const cIGZKeyboard* keyboard, iTrackerScene* scene)
    : clock_(clock), keyboard_(keyboard), scene_(scene) {}

void PointerTracker::Attach(iTrackerWindow* window, PersonAnimator* data) {
  source_ = target_ = window;
  data_ = data;
  start_ = current_ = from_ = to_ = Point{};
  settled_ = 1;
  gestureStart_ = gestureEnd_ = gazeStart_ = 0;
  smoothedTilt_ = targetTilt_ = 0;
  lastOctant_ = -2;
  moveStart_ = Now();
}

void PointerTracker::Detach() {
  source_ = target_ = nullptr;
  data_ = nullptr;
}

void PointerTracker::SetTarget(iTrackerWindow* window) {
  target_ = window;
  settled_ = 0;
  moveStart_ = Now();
  if (window != nullptr) window->TakeTracker();
  from_ = current_;
}

void PointerTracker::ReturnToSource() {
  if (target_ != nullptr) target_->ReleaseTracker();
  target_ = source_;
  moveStart_ = Now();
  from_ = current_;
}

void PointerTracker::StartGesture() {
  const int32_t now = Now();
  gestureStart_ = now;
  gestureEnd_ = now + TrackerTuning::kGestureLength;
  gazeStart_ = now;
}

bool PointerTracker::InGesture() const { return gestureEnd_ != 0 && Now() - gestureEnd_ < 0; }

bool PointerTracker::KeyDown(uint32_t modifier) const {
  return keyboard_ != nullptr && (keyboard_->GetModifiers() & modifier) != 0;
}

void PointerTracker::AdjustTilt(float tilt) {
  float t = tilt;
  if (KeyDown(cRZKeyboard::kControl)) t -= 0.5f;
  if (KeyDown(cRZKeyboard::kShift)) t += 0.5f;
  t -= TrackerTuning::kTiltOffset;
  t = std::clamp(t, -1.0f, 1.0f);
  if (t >= 0 && t < TrackerTuning::kMinimumTilt) t = TrackerTuning::kMinimumTilt;
  if (t < 0 && t > -TrackerTuning::kMinimumTilt) t = -TrackerTuning::kMinimumTilt;
  targetTilt_ = TrackerTuning::kTiltFactor * t;
}

PointerTracker::Point PointerTracker::Measure(const iTrackerWindow& window) {
  return {window.GetScreenLeft() + window.GetTrackerWidth(), window.GetScreenTop() + window.GetTrackerHeight(),
          TrackerTuning::kDepth};
}

void PointerTracker::GetPosition(int32_t& x, int32_t& y, int32_t& z) {
  if (start_.x == -1 && source_ != nullptr) {
    start_ = Measure(*source_);
    // Until a target is measured the head stays where it started.
    if (current_.x == -1) current_ = start_;
    if (from_.x == -1) from_ = start_;
    if (to_.x == -1) to_ = start_;
  }
  const float t = TrackerTuning::kMoveTime == 0
                      ? 1.0f
                      : static_cast<float>(Now() - moveStart_) / static_cast<float>(TrackerTuning::kMoveTime);
  if (t >= 1) {
    current_ = to_;
    settled_ = 1;
  } else {
    const auto mix = [t](int32_t a, int32_t b) {
      return static_cast<int32_t>((1 - t) * static_cast<float>(a) + t * static_cast<float>(b));
    };
    current_ = {mix(from_.x, to_.x), mix(from_.y, to_.y), mix(from_.z, to_.z)};
  }
  x = current_.x;
  y = current_.y;
  z = current_.z;
}

int32_t PointerTracker::LookOctant(int32_t f, int32_t r) {
  if (r < 0 && f > 7) return (f & 1) * 4;
  if (r == 0 || r == 1) return 0;
  if (r == 2) return f * 4;
  if (r == 3 || r == 4) return f * 2;
  if (r > 7 && f > 7) return (f & 1) * 4;
  return f;
}

void PointerTracker::Update(void* renderTarget) {
  if (!IsAttached() || target_ == nullptr) return;
  const int32_t now = Now();
  to_ = Measure(*target_);
  const bool gesture = InGesture();

  int32_t octant = LookOctant(source_->GetPointerOctant(), source_->GetPointerDistanceCode());
  float gaze[2] = {0, 0};
  if (gesture) {
    octant = -1;
  } else {
    const float g = std::sqrt(std::max(0.0f, source_->GetPointerDistance()) * kGazeScale);
    const float a = source_->GetPointerAngle();
    gaze[0] = -g * std::sin(a);
    gaze[1] = g * std::cos(a);
  }

  int32_t x = 0, y = 0, z = 0;
  GetPosition(x, y, z);
  float scale = kHeadScale / std::ldexp(1.0f, scene_ != nullptr ? scene_->GetZoom() : 0) * TrackerTuning::kScaleFactor;
  if (settled_ == 0) {
    scale *= std::clamp(static_cast<float>(now - moveStart_) / TrackerTuning::kMoveTime, 0.0f, 1.0f);
  }
  for (float& w : wobble_) {
    const int32_t r = scene_ != nullptr ? scene_->Random(2000) : 1000;
    w = static_cast<float>(r - 1000) * TrackerTuning::kWobbleFactor / 60000.0f;
  }

  // Nod from the gaze's height and the mood's tilt, turn from its side.
  float look[2] = {gaze[1] + smoothedTilt_ + wobble_[0], gaze[0] + wobble_[1]};
  if (octant >= 0 && octant < 8) {
    look[0] += kOctantLook[octant][0];
    look[1] += kOctantLook[octant][1];
  }
  if (octant != lastOctant_) {
    gazeFrom_[0] = lastLook_[0];
    gazeFrom_[1] = lastLook_[1];
    gazeStart_ = now;
    lastOctant_ = octant;
  }
  const int32_t elapsed = now - gazeStart_;
  if (elapsed >= 0 && elapsed < TrackerTuning::kGazeBlendTime) {
    const float w = std::sqrt(static_cast<float>(elapsed) / TrackerTuning::kGazeBlendTime * 0.9f + 0.1f);
    for (int i = 0; i < 2; ++i) look[i] = gazeFrom_[i] * (1 - w) + look[i] * w;
  }
  lastLook_[0] = look[0];
  lastLook_[1] = look[1];

  const Vector3 position = scene_ != nullptr ? scene_->ScreenTo3D(x, y, z) : Vector3{};
  const int32_t rotation = scene_ != nullptr ? scene_->GetViewRotation() : 0;
  Transform t = MakeScaleTransform(scale);
  t.PostMultiply(MakeRotationMatrix(0, look[0] + kPi / 20));
  t.PostMultiply(MakeRotationMatrix(1, kPi / 2));
  t.PostMultiply(MakeRotationMatrix(0, (static_cast<float>(rotation) - 0.5f) * -kPi / 2 + look[1]));
  t.PostMultiply(MakeTranslationTransform(position));

  pose_.octant = octant;
  pose_.scale = scale;
  pose_.lighting = gesture ? kGestureLighting : 1.0f;
  pose_.look[0] = look[0];
  pose_.look[1] = look[1];
  pose_.position = position;
  pose_.transform = t;
  if (scene_ != nullptr && data_ != nullptr) scene_->DrawHeads(*data_, t, pose_.lighting, renderTarget);

  if (gestureEnd_ != 0 && !InGesture()) gestureEnd_ = 0;
  smoothedTilt_ = 0.75f * smoothedTilt_ + 0.25f * targetTilt_;
}

}  // namespace tova
