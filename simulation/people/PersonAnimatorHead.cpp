// The person animator's head look (turning the head bone towards a person
// or object a little each update) and its fading in and out.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "simulation/ObjectModule.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr float kTurnStep = 0.2f;
constexpr float kHeadLimit = 1.5f;
constexpr float kHeadDecay = 0.8f;
constexpr float kSmallestTurn = 0.01f;
enum LookState : int16_t {
  kLooking = 1, kReachedStop = 2, kReachedGoOn = 3, kLimitStop = 4, kLimitGoOn = 5, kCountdownOver = 8,
  kTargetGone = 16,
};

// The horizontal direction from a to b in eighths of a turn, 0 to 8.
float Eighths(const float a[3], const float b[3]) {
  const float turn = std::atan2(b[2] - a[2], -(b[0] - a[0])) * 8.0f / (2.0f * std::numbers::pi_v<float>);
  return turn < 0 ? turn + 8.0f : turn;
}

}  // namespace

bool PersonAnimator::HeadPosition(float out[3]) const {
  return body_ != nullptr && hasHeadPoint && body_->AttachmentPosition(kHeadPoint, out);
}

void PersonAnimator::SetLookTarget(int32_t id) {
  if (person_ == nullptr) return;
  person_->SetWord(kLookTargetWord, static_cast<int16_t>(id));
  person_->SetWord(kLookStateWord, id != 0 ? kLooking : 0);
  person_->SetWord(kLookReachedWord, 0);
  person_->SetWord(kLookLimitWord, 1);
  person_->SetWord(kLookCountdownWord, 0);
}

void PersonAnimator::UpdateHeadTarget() {
  if (person_ == nullptr || body_ == nullptr || !hasHeadPoint || !hasHeadFrontPoint) return;
  if ((person_->Word(kLookStateWord) & kLooking) == 0) return;
  float headPoint[3] = {}, front[3] = {};
  if (!body_->AttachmentPosition(kHeadPoint, headPoint) || !body_->AttachmentPosition(kHeadFrontPoint, front)) return;
  ObjectModule* module = person_->GetModule();
  cXObject* target = module != nullptr ? module->GetObjectById(person_->Word(kLookTargetWord)) : nullptr;
  if (target == nullptr) {
    person_->SetWord(kLookTargetWord, 0);
    person_->SetWord(kLookStateWord, kTargetGone);
    return;
  }
  float point[3] = {};
  const bool atHead = target->IsPerson() && static_cast<cXPerson*>(target)->Animator().HeadPosition(point);
  if (!atHead) {
    const FinePoint p = target->GetPosition();
    point[0] = static_cast<float>(p.x) * kFinePerUnit;
    point[1] = target->GetAltitude() * kAltitudeScale;
    point[2] = static_cast<float>(p.y) * kFinePerUnit;
  }
  std::copy(point, point + 3, head + 3);
  HeadFacing() = Eighths(headPoint, front);
  HeadTarget() = Eighths(headPoint, point);
}

void PersonAnimator::UpdateHeadTurn() {
  if (person_ == nullptr) return;
  const int16_t countdown = person_->Word(kLookCountdownWord);
  if (countdown > 0) {
    person_->SetWord(kLookCountdownWord, static_cast<int16_t>(countdown - 1));
    if (countdown == 1) person_->SetWord(kLookStateWord, kCountdownOver);
  }
  float& angle = HeadAngle();
  if ((person_->Word(kLookStateWord) & kLooking) != 0) {
    float difference = std::remainder(HeadFacing() - HeadTarget(), 8.0f);
    if (std::fabs(difference) < kTurnStep) {
      person_->SetWord(kLookStateWord, person_->Word(kLookReachedWord) == 0 ? kReachedGoOn : kReachedStop);
    } else {
      angle += std::clamp(difference, -kTurnStep, kTurnStep);
      if (std::fabs(angle) > kHeadLimit) {
        angle = std::clamp(angle, -kHeadLimit, kHeadLimit);
        person_->SetWord(kLookStateWord, person_->Word(kLookLimitWord) == 0 ? kLimitGoOn : kLimitStop);
      }
    }
  } else {
    angle *= kHeadDecay;
  }
  if (std::fabs(angle) < kSmallestTurn) angle = 0;
  if (body_ != nullptr) body_->TurnBone("HEAD", angle * -0.125f * 2.0f * std::numbers::pi_v<float>);
}

void PersonAnimator::SetAlpha(float target, bool instant) {
  if (std::fabs(target - alpha) < 0.001f) return;
  if (alpha >= 0 && !instant) {
    alphaFrom = AlphaNow();
    alphaTo = target;
    alphaStart = Clock();
    alphaRunning = true;
  } else {
    alphaRunning = false;
  }
  alpha = target;
}

float PersonAnimator::AlphaNow() const {
  const float elapsed = static_cast<float>(Clock() - alphaStart);
  if (!alphaRunning || elapsed >= kAlphaTime) return alpha;
  return std::clamp(alphaFrom + (alphaTo - alphaFrom) * elapsed / kAlphaTime, 0.0f, 1.0f);
}

}  // namespace tova
