// The animator's tick: turning on the spot, adjusting steps, walking or
// running along the route points and stopping at their end.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "simulation/Direction8.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kSpeedRamp = 0.2f;
constexpr float kSnapDistance = 0.5f;
constexpr float kAdjustDistance = 1.5f;
constexpr float kAdjustWeightFloor = 0.5f;
constexpr float kStartEnds = 0.95f;
constexpr float kSteerLimit = 2.0f;
constexpr float kSteerStep = 0.2f;
constexpr float kArriveWalking = 2.0f;
constexpr float kArriveRunning = 3.0f;
constexpr float kSlowDown = 1.5f;
constexpr float kStopWaitEnds = 2.0f;
constexpr int32_t kMinimumStopWait = 100;
constexpr float kClockStep = 50.0f;
// A skill's travel is in thirds of a tile.
constexpr float kTravelToFine = 16.0f / 3.0f;
constexpr int32_t kMaxPassesPerTick = 16;

// Object-data and person-data words the walk reads.
constexpr int32_t kDataStopsAtEnd = 9;
constexpr int32_t kDataFollowing = 22;
constexpr int16_t kFollowingValue = 256;
constexpr int32_t kPersonStopsWithAnimation = 64;

enum Standard : int32_t {
  kTurn180CW = 4, kTurn180CCW = 5, kTurn90CW = 6, kTurn90CCW = 7, kTurn45CW = 8, kTurn45CCW = 9, kTurn0 = 10,
  kAdjustN = 11, kAdjustNW = 12, kAdjustNE = 13, kAdjustW = 14, kAdjustE = 15, kAdjustSW = 16, kAdjustSE = 17,
  kAdjustS = 18, kWalkingStart = 19, kWalkingLoop = 20, kRunningLoop = 21, kRunningStart = 22,
};

enum State : int32_t {
  kAnimating = 0, kSitting = 1, kSittingFloor = 2, kStanding = 3, kStandingTurn = 4, kStandingAdjust = 5,
  kStartingWalk = 6, kWalkingStop = 7, kWalkingTurn = 8, kWalking = 9, kRunning = 10, kRunningStartState = 11,
  kRunningStop = 12,
};

float Wrap08(float d) {
  d = std::fmod(d, 8.0f);
  return d < 0 ? d + 8.0f : d;
}

float Wrap44(float d) {
  d = Wrap08(d);
  return d > 4.0f ? d - 8.0f : d;
}

float Distance(float ax, float ay, float bx, float by) { return std::hypot(bx - ax, by - ay); }

}  // namespace

// The bodies of the walk: a friend of the animator, made for one tick.
class PersonWalker {
 public:
  explicit PersonWalker(PersonAnimator& a) : a_(a), w_(a.walk), person_(a.GetPerson()) {}

  void Update() {
    clock_ = PersonAnimator::Clock();
    if (a_.lastPractice != nullptr && a_.lastPractice->weight <= 1e-6f && a_.GetBody() != nullptr) {
      a_.GetBody()->RemovePractice(a_.lastPractice);
      a_.lastPractice = nullptr;
    }
    a_.CheckCarry();
    a_.ChooseBackground();
    const float raw = a_.PlaybackSpeed();
    w_.speed = raw < w_.speed ? raw : std::min(raw, w_.speed + kSpeedRamp);
    ApplyRamp();
    for (int pass = 0; pass < kMaxPassesPerTick && Handle(); ++pass) {
    }
    a_.AdvanceBody();
  }

  bool Handle() {
    switch (a_.movementState) {
      case kAnimating:
        if (a_.speedFollowsPerson && a_.mainPractice != nullptr) {
          a_.mainPractice->speed = a_.mainPractice->speed < 0 ? -w_.speed : w_.speed;
        }
        return false;
      case kSitting:
      case kSittingFloor:
        if (a_.mainPractice != nullptr) a_.StopPractice(PersonAnimator::kMainSlot);
        a_.currentStandard = -1;
        a_.lastPosture = -1;
        a_.ChooseBackground();
        ClearStepping();
        return false;
      case kStanding: return Standing();
      case kStandingTurn:
      case kStandingAdjust: return TurnOrAdjust();
      case kStartingWalk:
      case kRunningStartState: return Starting();
      case kWalkingStop: return Stopping();
      case kWalkingTurn:
        w_.walking = w_.stepFlag = true;
        return false;
      case kWalking:
      case kRunning: return FollowRoute();
      case kRunningStop:
        if (a_.mainPractice == nullptr || a_.mainPractice->interruptible != 0) {
          a_.movementState = kStanding;
          return true;
        }
        a_.mainPractice->speed = w_.speed;
        return false;
      default: return false;
    }
  }

  // ---- standing ----

  bool Standing() {
    for (float g : a_.grid) {
      if (g == PersonAnimator::kNoPosition) return false;
    }
    a_.grid[2] = Wrap08(a_.grid[2]);
    w_.target[2] = Wrap08(w_.target[2]);
    const float dd = Wrap44(w_.target[2] - a_.grid[2]);
    const float d = Distance(a_.grid[0], a_.grid[1], w_.target[0], w_.target[1]);
    const float window = w_.speed > 0 ? 0.5f / w_.speed : INFINITY;
    if (std::fabs(dd) < window) {
      if (d < kSnapDistance && (d > 0 || dd != 0)) {
        std::copy(std::begin(w_.target), std::end(w_.target), a_.grid);
        return true;
      }
      if (d >= kSnapDistance && d < kAdjustDistance) {
        Adjust(d);
        return false;
      }
      return AtTarget();
    }
    Turn(dd);
    return false;
  }

  void Adjust(float d) {
    const float angle = PersonAnimator::HeadingOf(w_.target[0] - a_.grid[0], w_.target[1] - a_.grid[1]);
    float sector = angle / kTwoPi + 0.0625f;
    sector = (sector - std::floor(sector)) * 8.0f;
    static constexpr int32_t kSectors[8] = {kAdjustE, kAdjustNE, kAdjustN, kAdjustNW,
                                            kAdjustW, kAdjustSW, kAdjustS, kAdjustSE};
    const int32_t index = std::isfinite(sector) ? kSectors[std::clamp(static_cast<int32_t>(std::floor(sector)), 0, 7)]
                                                : kAdjustE;
    a_.grid[2] = w_.target[2];
    std::copy(std::begin(a_.grid), std::end(a_.grid), w_.start);
    std::copy(std::begin(w_.target), std::end(w_.target), w_.end);
    const iSkill* skill = a_.GetStandardSkill(index);
    // The animation carries the root towards the target by its own travel.
    const float travel = skill != nullptr ? skill->Travel() * kTravelToFine : 0;
    w_.target[0] -= std::cos(angle) * travel;
    w_.target[1] -= std::sin(angle) * travel;
    float weight = kAdjustWeightFloor;
    if (d >= 1.0f) {
      weight = 1.0f;
    } else if (d >= 0.1f && travel > 0) {
      weight = d / travel;
    }
    Play(skill, index, std::max(weight, kAdjustWeightFloor));
    a_.movementState = kStandingAdjust;
  }

  void Turn(float dd) {
    int32_t index = kTurn0;
    float step = 0;
    if (dd < -3.0f) {
      index = kTurn180CCW, step = -4;
    } else if (dd > 3.0f) {
      index = kTurn180CW, step = 4;
    } else if (dd < -1.5f) {
      index = kTurn90CCW, step = -2;
    } else if (dd < -0.5f) {
      index = kTurn45CCW, step = -1;
    } else if (dd > 1.5f) {
      index = kTurn90CW, step = 2;
    } else if (dd > 0.5f) {
      index = kTurn45CW, step = 1;
    }
    w_.turnAmount = dd;
    w_.turnStep = step;
    std::copy(std::begin(a_.grid), std::end(a_.grid), w_.start);
    std::copy(std::begin(w_.target), std::end(w_.target), w_.end);
    w_.target[2] = a_.grid[2] + dd - step;
    Play(a_.GetStandardSkill(index), index, 1.0f);
    if (a_.mainPractice != nullptr) a_.mainPractice->rate = 5;
    a_.movementState = kStandingTurn;
  }

  bool AtTarget() {
    ClearStepping();
    if (a_.followState == 1) {
      a_.movementState = kWalking;
      return true;
    }
    if (a_.followState == -1 || a_.followState == 2 || a_.followState == 3) a_.followState = 2;
    return false;
  }

  bool TurnOrAdjust() {
    const float p = MainTime();
    if (p < 1.0f) {
      a_.grid[2] = p * w_.target[2] + (1 - p) * w_.start[2];
      a_.grid[0] = p * w_.end[0] + (1 - p) * w_.start[0];
      a_.grid[1] = p * w_.end[1] + (1 - p) * w_.start[1];
      if (a_.mainPractice != nullptr) a_.mainPractice->speed = w_.speed;
      return false;
    }
    if (a_.mainPractice != nullptr) {
      if (a_.movementState == kStandingTurn) {
        a_.mainPractice->blend[0] = a_.mainPractice->blend[1] = -1;
        a_.discontinuity = true;
      } else {
        a_.mainPractice->weight = 0;
      }
      a_.StopPractice(PersonAnimator::kMainSlot);
    }
    a_.currentStandard = -1;
    a_.movementState = kStanding;
    std::copy(std::begin(w_.end), std::end(w_.end), a_.grid);
    std::copy(std::begin(w_.end), std::end(w_.end), w_.target);
    return true;
  }

  // ---- starting and stopping a walk ----

  bool Starting() {
    const bool running = a_.movementState == kRunningStartState;
    if (!w_.startPlaying) {
      const int32_t index = running ? kRunningStart : kWalkingStart;
      Play(a_.GetStandardSkill(index), index, 1.0f);
      w_.speed = a_.PlaybackSpeed();
      if (a_.mainPractice != nullptr) a_.mainPractice->speed = w_.speed;
      std::copy(std::begin(a_.grid), std::end(a_.grid), w_.start);
      const float stride = Stride(running);
      const float angle = (a_.grid[2] + 6.0f) * (kTwoPi / 8.0f);
      w_.target[0] = a_.grid[0] + std::cos(angle) * stride;
      w_.target[1] = a_.grid[1] + std::sin(angle) * stride;
      w_.target[2] = a_.grid[2];
      w_.startPlaying = true;
    }
    const float p = a_.mainPractice != nullptr ? a_.mainPractice->time : 1.0f;
    if (p >= kStartEnds) {
      if (a_.mainPractice != nullptr) a_.StopPractice(PersonAnimator::kMainSlot);
      a_.grid[0] = w_.target[0];
      a_.grid[1] = w_.target[1];
      a_.movementState = running ? kRunning : kWalking;
      w_.startPlaying = false;
      w_.walking = w_.stepFlag = true;
      return true;
    }
    a_.grid[0] = p * w_.target[0] + (1 - p) * w_.start[0];
    a_.grid[1] = p * w_.target[1] + (1 - p) * w_.start[1];
    return false;
  }

  bool Stopping() {
    PracticeRef* main = a_.mainPractice;
    float p = 1.0f;
    if (main != nullptr && !main->finished) p = main->speed < 0 ? 1.0f - main->time : main->time;
    if (p >= 1.0f || w_.speed <= 1e-6f) {
      if (main != nullptr) {
        main->blend[0] = main->blend[1] = -1;
        a_.StopPractice(PersonAnimator::kMainSlot);
      }
      a_.discontinuity = true;
      a_.movementState = kStanding;
      std::copy(std::begin(w_.end), std::end(w_.end), a_.grid);
      if (w_.arrivalMode == 1) a_.followState = -1;
      if (w_.arrivalMode == 3) a_.followState = 3;
      return true;
    }
    a_.grid[2] = Wrap08(w_.start[2] + p * Wrap44(w_.end[2] - w_.start[2]));
    a_.grid[0] = p * w_.end[0] + (1 - p) * w_.start[0];
    a_.grid[1] = p * w_.end[1] + (1 - p) * w_.start[1];
    return false;
  }

  // The stop of route following: at once when no step is under way, else
  // through the start animation played backwards. end holds where the
  // person ends.
  bool Stop() {
    if (!w_.stepFlag) {
      a_.movementState = kStanding;
      if (w_.arrivalMode == 1) a_.followState = -1;
      if (w_.arrivalMode == 3) a_.followState = 3;
      std::copy(std::begin(a_.grid), std::end(a_.grid), w_.target);
      std::copy(std::begin(a_.grid), std::end(a_.grid), w_.end);
      return false;
    }
    a_.movementState = kWalkingStop;
    std::copy(std::begin(a_.grid), std::end(a_.grid), w_.start);
    const iSkill* start = a_.GetStandardSkill(kWalkingStart);
    if (start != nullptr && a_.StartPractice(PersonAnimator::kMainSlot, start, true)) a_.currentStandard = kWalkingStart;
    return true;
  }

  // ---- route following ----

  bool FollowRoute() {
    std::vector<PathPoint>& points = person_->PathPoints();
    const int32_t n = static_cast<int32_t>(points.size());
    if (n < 2) {
      // Nothing to walk: arrived where the person stands.
      a_.movementState = kStanding;
      a_.followState = 2;
      std::copy(std::begin(a_.grid), std::end(a_.grid), w_.target);
      return false;
    }
    const bool running = person_->GetData(PersonAnimator::kDataRunning) == 1;
    const int32_t last = n - 2;
    int32_t i = std::max(a_.destination, 0);
    while (i < last) {
      const PathPoint& p = points[static_cast<size_t>(i == 0 ? 0 : i - 1)];
      const PathPoint& q = points[static_cast<size_t>(i)];
      if (a_.mainPractice == nullptr || a_.mainPractice->interruptible != 0) {
        a_.movementState = running ? kRunning : kWalking;
      }
      const float sx = static_cast<float>(q.x) - static_cast<float>(p.x);
      const float sy = static_cast<float>(q.y) - static_cast<float>(p.y);
      const float length2 = sx * sx + sy * sy;
      const float length = std::sqrt(length2);
      float t = length2 > 0 ? ((a_.grid[0] - p.x) * sx + (a_.grid[1] - p.y) * sy) / length2 : 1.0f;
      t = std::clamp(t, 0.0f, 1.0f);
      const float reach = HalfLoop(running) * 0.5f;
      while (t <= 1.0f) {
        const float lx = std::round(p.x + t * sx), ly = std::round(p.y + t * sy);
        if (Distance(a_.grid[0], a_.grid[1], lx, ly) >= reach) {
          w_.segmentPosition = t;
          a_.destination = i;
          return SteerTo(lx, ly, running, i);
        }
        if (length <= 0) break;
        // On a segment long enough (a damaged save) the step no longer moves t.
        const float next = t + 1.0f / length;
        if (next == t) break;
        t = next;
      }
      w_.segmentPosition = 0;
      a_.destination = ++i;
    }
    a_.destination = last;
    return ArriveAt(points, running);
  }

  bool ArriveAt(const std::vector<PathPoint>& points, bool running) {
    const PathPoint& f = points[points.size() - 2];
    const PathPoint& l = points.back();
    const float fx = static_cast<float>(f.x), fy = static_cast<float>(f.y);
    const float facing = Wrap08(PersonAnimator::HeadingOf(static_cast<float>(l.x) - fx, static_cast<float>(l.y) - fy) *
                                    8.0f / kTwoPi + 2.0f);
    const bool stopsWithAnimation = PersonWord(kPersonStopsWithAnimation) != 0;
    const float distance = Distance(a_.grid[0], a_.grid[1], fx, fy);
    const int32_t index = a_.destination;
    if (person_->GetData(kDataStopsAtEnd) != 0) {
      const float radius = running ? kArriveRunning : kArriveWalking;
      if (w_.arrivalMode == 0 && distance >= kSlowDown * radius) return SteerTo(fx, fy, running, index);
      if (!stopsWithAnimation) {
        a_.followState = -1;
        a_.movementState = kStanding;
        w_.arrivalMode = 1;
        w_.heldStep = 1;
        // The last step is taken once more, and the person stands where it
        // ends.
        TakeStep(w_.lastStep[0], w_.lastStep[1], index);
        std::copy(std::begin(a_.grid), std::end(a_.grid), w_.target);
        return false;
      }
      w_.end[0] = w_.target[0] = fx;
      w_.end[1] = w_.target[1] = fy;
      w_.end[2] = w_.target[2] = facing;
      return Stop();
    }
    if (w_.stopDeadline == 0) {
      const PracticeRef* main = a_.mainPractice;
      const float loopTime = main != nullptr ? main->time : 0;
      const bool first = loopTime < w_.anchorPhase[1] || loopTime >= w_.anchorPhase[0];
      float radius = Strides()[first ? 0 : 1];
      if (running && !stopsWithAnimation) radius *= 2;
      if (distance < radius) {
        if (stopsWithAnimation) {
          w_.end[0] = w_.target[0] = fx;
          w_.end[1] = w_.target[1] = fy;
          w_.end[2] = w_.target[2] = facing;
          return Stop();
        }
        w_.arrivalMode = 1;
        const bool canEnd = main == nullptr || main->interruptible != 0 || main->finished || w_.speed == 0;
        if (canEnd) StartStopWait(distance, radius, first ? w_.anchorPhase[1] : w_.anchorPhase[0]);
      }
    }
    if (w_.stopDeadline > 0 && (running || distance < kStopWaitEnds || clock_ >= w_.stopDeadline)) {
      w_.stopDeadline = -1;
      w_.heldStep = 0;
      w_.stepFlag = false;
      a_.grid[0] = fx;
      a_.grid[1] = fy;
      a_.grid[2] = facing;
      PlaceAtGrid();
      a_.followState = -1;
      a_.movementState = kStanding;
      w_.stopDeadline = 0;
      w_.segmentPosition = 1.0f;
      w_.ramping = false;
      if (a_.mainPractice != nullptr) a_.StopPractice(PersonAnimator::kMainSlot);
      a_.currentStandard = -1;
      std::copy(std::begin(a_.grid), std::end(a_.grid), w_.target);
      return false;
    }
    return SteerTo(fx, fy, running, index);
  }

  void StartStopWait(float distance, float radius, float nextPhase) {
    const PracticeRef* main = a_.mainPractice;
    const float duration = main != nullptr && main->skill != nullptr ? main->skill->Duration() : 0;
    float w = main != nullptr ? nextPhase - main->time : 0;
    if (w < 1.0f) w += 1.0f;
    const float s = w_.speed;
    // Skill data may be anything: the wait is kept within the clock's range.
    const double raw = s > 0 ? std::trunc(static_cast<double>(w) * duration / s) : 0.0;
    const int32_t wait = std::isfinite(raw) ? static_cast<int32_t>(std::clamp(raw, 0.0, 1e9)) : 0;
    const int32_t length = std::max(kMinimumStopWait, wait);
    w_.stopDeadline = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(clock_) + length));
    if (a_.mainPractice != nullptr) {
      w_.ramping = true;
      w_.rampFrom = a_.mainPractice->weight;
      w_.rampTo = std::max(radius > 0 ? distance / radius : 0.0f, 0.2f);
      w_.rampStart = clock_;
      w_.rampLength = length;
    }
  }

  // ---- steering and steps ----

  bool SteerTo(float tx, float ty, bool running, int32_t segment) {
    const float dx = tx - a_.grid[0], dy = ty - a_.grid[1];
    const float distance = std::hypot(dx, dy);
    if (distance <= 1e-6f) return false;
    const float heading = Wrap08(PersonAnimator::HeadingOf(dx, dy) * 8.0f / kTwoPi + 2.0f);
    float turn = Wrap44(heading - a_.grid[2]);
    const float slow = w_.speed < 1.0f && w_.speed > 0 ? w_.speed : 1.0f;
    if (std::fabs(turn) >= kSteerLimit / slow) {
      w_.target[0] = a_.grid[0];
      w_.target[1] = a_.grid[1];
      w_.target[2] = heading;
      a_.movementState = kStanding;
      w_.walking = false;
      return true;
    }
    const float limit = kSteerStep / slow;
    const bool limited = std::fabs(turn) > limit;
    turn = std::clamp(turn, -limit, limit);
    a_.grid[2] = Wrap08(a_.grid[2] + turn);
    const int32_t loop = a_.movementState == kRunning && running ? kRunningLoop : kWalkingLoop;
    const bool loopPlays = a_.mainPractice != nullptr && a_.mainPractice->skill != nullptr &&
                           (a_.currentStandard == kWalkingLoop || a_.currentStandard == kRunningLoop);
    const float startDistance = StartDistance(running);
    const bool stopsWithAnimation = PersonWord(kPersonStopsWithAnimation) != 0;
    if (!(w_.walking || w_.heldStep != 0 || loopPlays || (!stopsWithAnimation && (limited || distance <= startDistance)))) {
      a_.movementState = running ? kRunningStartState : kStartingWalk;
      w_.startPlaying = false;
      return true;
    }
    if (a_.movementState == kRunning && !running) a_.movementState = kWalking;
    PlayLoop(loop);
    const PracticeRef* main = a_.mainPractice;
    const iSkill* skill = main != nullptr ? main->skill : a_.GetStandardSkill(loop);
    const float duration = skill != nullptr ? skill->Duration() : 0;
    const float practiceSpeed = main != nullptr ? std::fabs(main->speed) : 0;
    if (skill != nullptr && duration > 0 && practiceSpeed > 0) {
      const float length = skill->Travel() * kTravelToFine / (duration / practiceSpeed / kClockStep);
      TakeStep(dx / distance * length, dy / distance * length, segment);
    }
    if (w_.followStopRequest != 0 && a_.followState == 1 && main != nullptr && main->interruptible != 0) {
      if (stopsWithAnimation) {
        w_.arrivalMode = 3;
        std::copy(std::begin(a_.grid), std::end(a_.grid), w_.end);
        return Stop();
      }
      a_.followState = 3;
    }
    return false;
  }

  void PlayLoop(int32_t index) {
    if (a_.currentStandard == index && a_.mainPractice != nullptr) {
      a_.mainPractice->speed = w_.speed;
      return;
    }
    const iSkill* skill = a_.GetStandardSkill(index);
    const bool keepTime = a_.mainPractice != nullptr && a_.mainPractice->skill != nullptr && a_.mainPractice->skill->Loops();
    const float time = keepTime ? a_.mainPractice->time : 0;
    Play(skill, index, 1.0f);
    if (a_.mainPractice != nullptr && keepTime) a_.mainPractice->time = time;
    w_.walking = w_.stepFlag = true;
  }

  void TakeStep(float sx, float sy, int32_t segment) {
    w_.lastStep[0] = sx;
    w_.lastStep[1] = sy;
    w_.stepFlag = true;
    if (sx == 0 && sy == 0) return;
    const float nx = a_.grid[0] + sx, ny = a_.grid[1] + sy;
    const PathPoint pulled = a_.NearestPathPoint(
        {static_cast<int32_t>(std::lround(nx)), static_cast<int32_t>(std::lround(ny))}, segment);
    const FinePoint at{pulled.x, pulled.y};
    if (person_->CanPlace(at, person_->GetLevel(), nullptr, 0)) {
      person_->Place(at, person_->GetLevel(), nullptr, 0);
      a_.grid[0] = nx;
      a_.grid[1] = ny;
    } else {
      a_.followState = 3;
    }
  }

  // ---- helpers ----

  void Play(const iSkill* skill, int32_t index, float weight) {
    if (skill == nullptr || !a_.StartPractice(PersonAnimator::kMainSlot, skill, false)) return;
    a_.currentStandard = index;
    a_.mainPractice->weight = weight;
    a_.mainPractice->speed = w_.speed;
  }

  void ApplyRamp() {
    if (!w_.ramping || a_.mainPractice == nullptr) return;
    const float t = w_.rampLength > 0 ? std::clamp((static_cast<float>(clock_) - static_cast<float>(w_.rampStart)) / w_.rampLength, 0.0f, 1.0f)
                                      : 1.0f;
    a_.mainPractice->weight = w_.rampFrom + (w_.rampTo - w_.rampFrom) * t;
    if (t >= 1.0f) w_.ramping = false;
  }

  void ClearStepping() {
    a_.anchor = nullptr;
    a_.anchorFlag = 0;
    w_.walking = false;
    w_.stepFlag = false;
  }

  float MainTime() const {
    const PracticeRef* main = a_.mainPractice;
    if (main == nullptr || main->finished) return 1.0f;
    return main->time;
  }

  int16_t PersonWord(int32_t n) const { return person_->Word(n); }

  void PlaceAtGrid() {
    const FinePoint at{static_cast<int32_t>(std::lround(a_.grid[0])), static_cast<int32_t>(std::lround(a_.grid[1]))};
    if (person_->CanPlace(at, person_->GetLevel(), nullptr, 0)) person_->Place(at, person_->GetLevel(), nullptr, 0);
  }

  // The gait's measures: those the body set, else from the skills.
  float SkillStride(int32_t index) const {
    const iSkill* s = a_.GetStandardSkill(index);
    return s != nullptr ? s->Travel() * kTravelToFine : 0;
  }
  float Stride(bool running) const { return SkillStride(running ? kRunningStart : kWalkingStart); }
  float StartDistance(bool running) const {
    const float set = running ? w_.runStartDistance : w_.startDistance;
    return set > 0 ? set : Stride(running);
  }
  float HalfLoop(bool running) const {
    const float set = running ? w_.runHalfLoop : w_.walkHalfLoop;
    return set > 0 ? set : SkillStride(running ? kRunningLoop : kWalkingLoop) * 0.5f;
  }
  std::array<float, 2> Strides() const {
    const float half = HalfLoop(false);
    return {w_.stride[0] > 0 ? w_.stride[0] : half, w_.stride[1] > 0 ? w_.stride[1] : half};
  }

  PersonAnimator& a_;
  PersonWalk& w_;
  cXPerson* person_;
  int32_t clock_ = 0;
};

void PersonAnimator::Update() {
  if (person_ == nullptr) return;
  PersonWalker(*this).Update();
}

void PersonAnimator::StartFollow() {
  if (person_ == nullptr) return;
  const FinePoint at = person_->GetPosition();
  grid[0] = walk.target[0] = static_cast<float>(at.x);
  grid[1] = walk.target[1] = static_cast<float>(at.y);
  grid[2] = walk.target[2] = static_cast<float>(person_->GetData(kDataDirection));
  walk.segmentPosition = 0;
  destination = 0;
  followState = 1;
  walk.followEnded = 0;
  walk.followStopRequest = 0;
  walk.arrivalMode = 0;
  walk.followScale = 1.0f;
  movementState = kStanding;
  person_->SetData(kDataFollowing, kFollowingValue);
}

int32_t PersonAnimator::FollowStep() {
  switch (followState) {
    case 1:
    case -1: return 2;
    case 2: break;
    default: return 0;
  }
  if (person_ == nullptr) return 0;
  SetObjectDirection();
  const PathPoint rounded{static_cast<int32_t>(std::lround(grid[0])), static_cast<int32_t>(std::lround(grid[1]))};
  const PathPoint pulled = NearestPathPoint(rounded, -1);
  grid[0] = static_cast<float>(pulled.x);
  grid[1] = static_cast<float>(pulled.y);
  const FinePoint at{pulled.x, pulled.y};
  if (person_->CanPlace(at, person_->GetLevel(), nullptr, 0)) {
    person_->Place(at, person_->GetLevel(), nullptr, 0);
    return 1;
  }
  grid[0] = grid[1] = grid[2] = kNoPosition;
  person_->Place(person_->GetPosition(), person_->GetLevel(), nullptr, 0);
  return 0;
}

void PersonAnimator::StopFollow() {
  if (followState == 1 || followState == -1) {
    walk.followStopRequest = 1;
    return;
  }
  followState = 0;
  destination = -1;
  walk.stopDeadline = 0;
  std::copy(std::begin(grid), std::end(grid), walk.target);
  walk.followEnded = 1;
  movementState = kStanding;
}

void PersonAnimator::SetObjectDirection() {
  if (person_ == nullptr) return;
  const int32_t d = static_cast<int32_t>(std::lround(grid[2]));
  person_->SetData(kDataDirection, static_cast<int16_t>(WrapDirection(d)));
}

float PersonAnimator::HeadingOf(float dx, float dy) {
  const float a = std::atan2(dy, dx);
  return a < 0 ? a + kTwoPi : a;
}

PathPoint PersonAnimator::NearestPathPoint(PathPoint point, int32_t index) const {
  if (person_ == nullptr) return point;
  const std::vector<PathPoint>& points = person_->PathPoints();
  const int32_t n = static_cast<int32_t>(points.size());
  // Segments end at the second-last point at the latest; two points make
  // one segment.
  const int32_t lastEnd = std::max(n - 2, 1);
  int32_t first = 1, last = lastEnd;
  if (index >= 1) {
    first = last = index;
  } else if (index == 0) {
    first = last = 1;
  }
  if (n < 2 || first > lastEnd || last > lastEnd) return point;
  PathPoint nearest = points[static_cast<size_t>(first - 1)];
  auto squared = [&](PathPoint q) {
    const double dx = static_cast<double>(q.x) - point.x, dy = static_cast<double>(q.y) - point.y;
    return dx * dx + dy * dy;
  };
  for (int32_t e = first; e <= last; ++e) {
    const PathPoint& p = points[static_cast<size_t>(e - 1)];
    const PathPoint& q = points[static_cast<size_t>(e)];
    const double px = static_cast<double>(p.x) - q.x, py = static_cast<double>(p.y) - q.y;
    double t = (px * (static_cast<double>(point.x) - q.x) + py * (static_cast<double>(point.y) - q.y)) / (px * px + py * py);
    t = std::isnan(t) ? 0 : std::clamp(t, 0.0, 1.0);
    const PathPoint on{static_cast<int32_t>(std::lround(q.x + t * px)), static_cast<int32_t>(std::lround(q.y + t * py))};
    if (squared(on) < squared(nearest)) nearest = on;
  }
  return nearest;
}

}  // namespace tova
