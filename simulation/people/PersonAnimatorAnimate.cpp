// The person's animate primitive: starting background, carry and main
// animations, and handing the main animation's events to the tree in
// order, with a line in the event log for each one out of order.
#include "simulation/ObjectModule.h"
#include "simulation/TreeZaz.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kAnimatingState = 0;
constexpr int32_t kPersonAnimationWord = 19;
constexpr int32_t kPassThroughEvent = 100;

bool gAssetLog = false;

int32_t StateOfPosture(int32_t posture) { return posture == 1 || posture == 2 ? posture : PersonAnimator::kStateStanding; }

}  // namespace

void PersonAnimator::SetAssetLog(bool on) { gAssetLog = on; }

std::string PersonAnimator::SkillName(const iSkill* skill) {
  if (skill == nullptr) return "[NULL skill]";
  return skill->GetName().empty() ? "[unnamed skill]" : skill->GetName();
}

void PersonAnimator::AssetLog(const std::string& text) const {
  if (gAssetLog) PeopleHost().DebugLog(text);
}

const iSkill* PersonAnimator::AnimationFor(TreeStackFrame& frame, const AnimateOperand& op, int32_t index) const {
  AnimNameTables& tables = AnimNameTables::Instance();
  switch (op.source) {
    case AnimateOperand::kGlobal: return tables.GetGlobalAnimation(*person_, index);
    case AnimateOperand::kPerson: return tables.GetPersonAnimation(*person_, index);
    case AnimateOperand::kMisc: return tables.GetMiscAnimation(*person_, index);
    default: {
      ObjectModule* module = person_->GetModule();
      cXObject* object = module != nullptr ? module->GetObjectById(frame.stackObject) : nullptr;
      if (object == nullptr) return nullptr;
      const bool isMain = op.kind != AnimateOperand::kBackground && op.kind != AnimateOperand::kCarry;
      return tables.GetObjectAnimation(*object, *person_, index, isMain);
    }
  }
}

bool PersonAnimator::StoreEvent(TreeStackFrame& frame, const AnimateOperand& op, int32_t n) {
  const int16_t value = static_cast<int16_t>(n);
  if ((op.flags & AnimateOperand::kEventsToLocal) != 0) {
    if (op.local < 0 || op.local >= frame.localCount) return false;
    frame.Locals()[op.local] = value;
    return true;
  }
  if (frame.paramCount == 0) return false;
  frame.Params()[0] = value;
  return true;
}

void PersonAnimator::EndAnimation() {
  primitiveRunning = 0;
  movementState = StateOfPosture(person_->Word(kPersonPosture));
  carrySuppressed = false;
  person_->SetWord(kPersonAnimationWord, 0);
}

int32_t PersonAnimator::StartAnimation(TreeStackFrame& frame, const AnimateOperand& op) {
  const int16_t stackObject = frame.stackObject;
  const int32_t result = Animate(frame, op);
  // The tree runs on the interpreter's stack: the frame is not touched after it.
  if (missingAnimation_ && person_ != nullptr) {
    missingAnimation_ = false;
    person_->RunTreeByName(person_->GetBehavior(), stackObject, kMissingAnimationTree, nullptr);
  }
  return result;
}

int32_t PersonAnimator::Animate(TreeStackFrame& frame, const AnimateOperand& op) {
  if (person_ == nullptr || movementState < 0 || movementState > 3) return kAnimateNotYet;
  int32_t index = op.index;
  if ((op.flags & AnimateOperand::kIndexInParameter) != 0) {
    if (index < 0 || index >= frame.paramCount) return kAnimateError;
    index = frame.Params()[index];
  }
  const bool backwards = (op.flags & AnimateOperand::kBackwards) != 0;

  if (op.kind == AnimateOperand::kBackground || op.kind == AnimateOperand::kCarry) {
    const bool background = op.kind == AnimateOperand::kBackground;
    const int slot = background ? kBackgroundSlot : kCarrySlot;
    if (index == 0) {
      StopPractice(slot);
      if (!background) carryKind = 0;
    } else {
      const iSkill* skill = AnimationFor(frame, op, index);
      if (!StartPractice(slot, skill, backwards)) {
        AssetLog(std::string(background ? "Could not start background animation " : "Could not start carry animation ") +
                 SkillName(skill) + ", id " + std::to_string(index) + "\n");
        missingAnimation_ = true;
      } else {
        PracticeRef* p = SlotPractice(slot);
        p->hold = 1;
        p->rate = background ? kBackgroundRate : kCarryRate;
        if (!background) carryKind = kCarryByPrimitive;
      }
    }
    if (!background) carryCheck = -1;
    return kAnimateDone;
  }

  if (index == 0) {
    StopPractice(kMainSlot);
    currentStandard = -1;
    primitiveRunning = 0;
    EndAnimation();
    return kAnimateDone;
  }
  if (primitiveRunning == 0) StartMain(frame, op, index);
  return NextEvent(frame, op);
}

void PersonAnimator::StartMain(TreeStackFrame& frame, const AnimateOperand& op, int32_t index) {
  eventQueue.clear();
  StopPractice(kMainSlot);
  currentStandard = -1;
  const iSkill* skill = AnimationFor(frame, op, index);
  if (!StartPractice(kMainSlot, skill, (op.flags & AnimateOperand::kBackwards) != 0)) {
    AssetLog("Could not start animation " + SkillName(skill) + ", id " + std::to_string(index) + "\n");
    missingAnimation_ = true;
    StartPractice(kMainSlot, GetStandardSkill(kPlaceholder), false);
  }
  if (mainPractice != nullptr) mainPractice->interruptible = (op.flags & AnimateOperand::kInterruptible) != 0 ? 1 : 0;
  speedFollowsPerson = (op.flags & AnimateOperand::kFollowSpeed) != 0;
  if (op.kind == AnimateOperand::kMainNoCarry) {
    StopPractice(kCarrySlot);
    carryCheck = -1;
    carrySuppressed = true;
  }
  eventsFired = 0;
  movementState = kAnimatingState;
  primitiveRunning = 1;
}

int32_t PersonAnimator::NextEvent(TreeStackFrame& frame, const AnimateOperand& op) {
  const bool backwards = (op.flags & AnimateOperand::kBackwards) != 0;
  const auto expectedEvent = [&]() {
    const int32_t expected = backwards ? op.eventCount - 1 - eventsFired : eventsFired;
    return expected >= 0 && expected < op.eventCount ? expected : -1;
  };
  const std::string skill = SkillName(mainPractice != nullptr ? mainPractice->skill : nullptr);
  int32_t n = 0;
  if (PopEvent(n)) {
    if (n >= kPassThroughEvent) return StoreEvent(frame, op, n) ? kEventStored : kAnimateError;
    const int32_t expected = expectedEvent();
    if (n < 0 || n != expected) {
      const std::string what =
          expected >= 0 ? "Expected event " + std::to_string(expected) + " instead of " : std::string("Extra event ");
      AssetLog(person_->GetName() + ": " + what + std::to_string(n) + " in animation " + skill + ".\n");
      return kAnimateNotYet;
    }
    ++eventsFired;
    return StoreEvent(frame, op, n) ? kEventStored : kAnimateError;
  }
  // Nothing to wait for: an animation without events hands control back at once.
  const bool allFired = eventsFired >= op.eventCount;
  const bool playing = mainPractice != nullptr && !mainPractice->finished && mainPractice->speed != 0;
  if (op.eventCount > 0 && playing && (mainPractice->interruptible == 0 || !person_->ShouldInterrupt())) {
    return kAnimateNotYet;
  }
  if (allFired) {
    EndAnimation();
    ChooseBackground();
    return kAnimateDone;
  }
  const int32_t substitute = expectedEvent();
  AssetLog(person_->GetName() + ": Animation " + skill + " deficient in events.\nFiring substitute event #" +
           std::to_string(substitute));
  ++eventsFired;
  return StoreEvent(frame, op, substitute) ? kEventStored : kAnimateError;
}

bool PersonAnimator::StartReachAnimation(float height, bool forwards) {
  if (person_ == nullptr) return false;
  const int32_t index = ReachIndex(height, person_->Word(kPersonPosture));
  if (index < 0) return false;
  const iSkill* skill = AnimNameTables::Instance().GetReachAnimation(*person_, index);
  eventQueue.clear();
  if (!StartPractice(kMainSlot, skill, !forwards)) {
    AssetLog("Could not start reach animation " + SkillName(skill) + "!\n");
    return false;
  }
  currentStandard = -1;
  movementState = kAnimatingState;
  carrySuppressed = true;
  return true;
}

bool PersonAnimator::IsMainDone() const {
  return mainPractice == nullptr || mainPractice->finished || mainPractice->speed == 0;
}

void PersonAnimator::StopMain() {
  StopPractice(kMainSlot);
  currentStandard = -1;
  carrySuppressed = false;
  eventQueue.clear();
  if (person_ != nullptr) movementState = StateOfPosture(person_->Word(kPersonPosture));
}

}  // namespace tova
