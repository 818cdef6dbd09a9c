// The pointer tracker on a manual clock: the head's glide between two
// windows over the move time, settling, the tilt with Ctrl and Shift, the
// look octant, gestures and what each update draws.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "framework/cRZKeyboard.h"
#include "support/ToolFakes.h"
#include "simulation/people/PersonAnimator.h"
#include "world/PointerTracker.h"

namespace tova_test {
namespace {

using namespace tova;

class FakeTrackerWindow : public iTrackerWindow {
 public:
  FakeTrackerWindow(int32_t left, int32_t top, int32_t w, int32_t h) : left(left), top(top), w(w), h(h) {}
  int32_t GetScreenLeft() const override { return left; }
  int32_t GetScreenTop() const override { return top; }
  int32_t GetTrackerWidth() const override { return w; }
  int32_t GetTrackerHeight() const override { return h; }
  int32_t GetPointerOctant() const override { return octant; }
  int32_t GetPointerDistanceCode() const override { return code; }
  float GetPointerAngle() const override { return angle; }
  float GetPointerDistance() const override { return distance; }
  void TakeTracker() override { ++taken; }
  void ReleaseTracker() override { ++released; }
  int32_t left, top, w, h;
  int32_t octant = 2, code = 5;
  float angle = 0, distance = 0;
  int taken = 0, released = 0;
};

class RecordingScene : public iTrackerScene {
 public:
  int32_t GetZoom() const override { return zoom; }
  int32_t GetViewRotation() const override { return 0; }
  Vector3 ScreenTo3D(int32_t x, int32_t y, int32_t z) const override {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
  }
  void DrawHeads(PersonAnimator& data, const Transform&, float lighting, void* target) override {
    draws.push_back(&data);
    lightings.push_back(lighting);
    targets.push_back(target);
  }
  int32_t Random(int32_t) override { return 1000; }
  int32_t zoom = 1;
  std::vector<PersonAnimator*> draws;
  std::vector<float> lightings;
  std::vector<void*> targets;
};

class Tracker : public ::testing::Test {
 protected:
  std::array<int32_t, 3> Position() {
    std::array<int32_t, 3> p{};
    tracker.GetPosition(p[0], p[1], p[2]);
    return p;
  }
  ManualClock clock;
  cRZKeyboard keys;
  RecordingScene scene;
  PointerTracker tracker{clock, &keys, &scene};
  PersonAnimator animator;
  FakeTrackerWindow first{100, 50, 20, 10};
  FakeTrackerWindow second{300, 200, 10, 10};
};

TEST_F(Tracker, TheHeadGlidesToTheTargetAndBackOverTheMoveTime) {
  EXPECT_FALSE(tracker.IsAttached());
  tracker.Attach(&first, &animator);
  EXPECT_TRUE(tracker.IsAttached());
  EXPECT_EQ(Position(), (std::array<int32_t, 3>{120, 60, 100}));
  EXPECT_TRUE(tracker.IsSettled());

  tracker.SetTarget(&second);
  EXPECT_EQ(second.taken, 1);
  EXPECT_FALSE(tracker.IsSettled());
  tracker.Update(nullptr);  // measures the target
  struct Step {
    uint32_t after;
    std::array<int32_t, 3> at;
    bool settled;
  } steps[] = {{100, {167, 97, 100}, false}, {200, {215, 135, 100}, false}, {399, {309, 209, 100}, false},
               {400, {310, 210, 100}, true}, {900, {310, 210, 100}, true}};
  const uint32_t start = clock.now;
  for (const Step& s : steps) {
    clock.now = start + s.after;
    EXPECT_EQ(Position(), s.at) << s.after;
    EXPECT_EQ(tracker.IsSettled(), s.settled) << s.after;
  }

  tracker.ReturnToSource();
  EXPECT_EQ(second.released, 1);
  EXPECT_EQ(tracker.GetTarget(), &first);
  tracker.Update(nullptr);
  clock.now += 200;
  EXPECT_EQ(Position(), (std::array<int32_t, 3>{215, 135, 100}));
  clock.now += 200;
  EXPECT_EQ(Position(), (std::array<int32_t, 3>{120, 60, 100}));

  tracker.Detach();
  EXPECT_FALSE(tracker.IsAttached());
  EXPECT_EQ(tracker.GetData(), nullptr);
}

TEST_F(Tracker, TiltWithCtrlAndShift) {
  struct Case {
    float tilt;
    bool ctrl, shift;
    float target;
  } cases[] = {
      {0, false, false, -0.125f},   // -0.2 pushed out to -0.5
      {1, false, false, 0.2f},      // 0.8
      {0.2f, false, false, 0.125f}, // 0 becomes 0.5
      {0.5f, true, false, -0.125f}, // -0.2 pushed out
      {0.5f, false, true, 0.2f},    // 0.8
      {2, false, true, 0.25f},      // clamped to 1
      {-3, true, false, -0.25f},    // clamped to -1
      {0.5f, true, true, 0.125f},   // both: 0.3 pushed out
  };
  tracker.Attach(&first, &animator);
  for (const Case& c : cases) {
    keys.Reset();
    if (c.ctrl) keys.KeyDown(cRZKeyboard::kVKControl);
    if (c.shift) keys.KeyDown(cRZKeyboard::kVKShift);
    tracker.AdjustTilt(c.tilt);
    EXPECT_FLOAT_EQ(tracker.GetTargetTilt(), c.target) << c.tilt << " " << c.ctrl << c.shift;
  }
  // The smoothed tilt moves a quarter of the way each update.
  keys.Reset();
  tracker.AdjustTilt(1);
  tracker.Update(nullptr);
  EXPECT_FLOAT_EQ(tracker.GetSmoothedTilt(), 0.05f);
  tracker.Update(nullptr);
  EXPECT_FLOAT_EQ(tracker.GetSmoothedTilt(), 0.0875f);
}

TEST_F(Tracker, LookOctantFromTheDistanceCode) {
  struct Case {
    int32_t f, r, out;
  } cases[] = {{9, -1, 4}, {8, -1, 0}, {5, 0, 0}, {5, 1, 0}, {1, 2, 4}, {3, 3, 6}, {3, 4, 6},
               {3, 5, 3}, {9, 8, 4}, {6, 8, 6}, {2, -1, 2}};
  for (const Case& c : cases) EXPECT_EQ(PointerTracker::LookOctant(c.f, c.r), c.out) << c.f << " " << c.r;
}

TEST_F(Tracker, UpdatesDrawTheHeadAndAGestureLooksStraightInDimmerLight) {
  void* target = &scene;
  tracker.Update(target);
  EXPECT_TRUE(scene.draws.empty()) << "nothing while detached";
  tracker.Attach(&first, &animator);
  tracker.Update(target);
  ASSERT_EQ(scene.draws.size(), 1u);
  EXPECT_EQ(scene.draws[0], &animator);
  EXPECT_EQ(scene.targets[0], target);
  EXPECT_EQ(tracker.LastPose().octant, 2);
  EXPECT_FLOAT_EQ(tracker.LastPose().scale, 12.0f / 2 * 1.75f);
  EXPECT_EQ(scene.lightings[0], 1.0f);
  // The head sits at the window's point, in 3D through the camera.
  const Vector3 origin = TransformPoint3({0, 0, 0}, tracker.LastPose().transform);
  EXPECT_EQ(origin, (Vector3{120, 60, 100}));

  tracker.StartGesture();
  tracker.Update(target);
  EXPECT_EQ(tracker.LastPose().octant, -1);
  EXPECT_FLOAT_EQ(scene.lightings.back(), 0.8f);
  clock.now += TrackerTuning::kGestureLength;
  tracker.Update(target);
  EXPECT_FALSE(tracker.InGesture());
  EXPECT_EQ(tracker.LastPose().octant, 2);
  EXPECT_EQ(scene.lightings.back(), 1.0f);

  // Half way through a move the head is half its size.
  tracker.SetTarget(&second);
  clock.now += 200;
  tracker.Update(target);
  EXPECT_FLOAT_EQ(tracker.LastPose().scale, 12.0f / 2 * 1.75f * 0.5f);
}

TEST_F(Tracker, AChangedOctantBlendsTheLookOverTheBlendTime) {
  tracker.Attach(&first, &animator);
  first.octant = 2;  // turn right by 0.6
  clock.now += 1000;
  tracker.Update(nullptr);
  // A new octant: the blend starts from the last look with weight sqrt(0.1).
  const float w0 = std::sqrt(0.1f);
  EXPECT_NEAR(tracker.LastPose().look[1], 0.6f * w0, 1e-5f);
  clock.now += TrackerTuning::kGazeBlendTime;
  tracker.Update(nullptr);
  EXPECT_NEAR(tracker.LastPose().look[1], 0.6f, 1e-5f);
  first.octant = 6;  // left
  tracker.Update(nullptr);
  EXPECT_NEAR(tracker.LastPose().look[1], 0.6f * (1 - w0) - 0.6f * w0, 1e-5f);
}

}  // namespace
}  // namespace tova_test
