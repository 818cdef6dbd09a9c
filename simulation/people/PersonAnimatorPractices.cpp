// The person animator's practice slots: starting and fading out skills,
// their text form, the posture loop, the standard carry and the speed.
#include <charconv>
#include <cmath>

#include "gamedata/Motives.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

constexpr int32_t kAnimationStep = 50;
constexpr int kDiscontinuityRate = 5;
constexpr int kTextFields = 8;

int Thousandths(float value) { return static_cast<int>(std::lround(value * 1000.0f)); }

bool ParseInt(std::string_view text, int& out) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

int32_t PersonAnimator::Clock() { return static_cast<int32_t>(PeopleHost().GetTickCount() * kAnimationStep); }

PracticeRef*& PersonAnimator::SlotPractice(int slot) {
  switch (slot) {
    case kMainSlot: return mainPractice;
    case kLastSlot: return lastPractice;
    case kCarrySlot: return carryPractice;
    default: return backgroundPractice;
  }
}

bool PersonAnimator::StartPractice(int slot, const iSkill* skill, bool backwards) {
  if (skill == nullptr || body_ == nullptr) return false;
  StopPractice(slot);
  PracticeRef* practice = body_->AddPractice(*skill, 1, backwards ? -1.0f : 1.0f, 1.0f, Clock());
  if (practice == nullptr) return false;
  practice->mode = kPracticeMode;
  if (backwards) practice->time = 1.0f;
  practice->hold = 0;
  if (slot == kMainSlot && discontinuity) {
    discontinuity = false;
    practice->rate += kDiscontinuityRate;
    if (lastPractice != nullptr) {
      body_->RemovePractice(lastPractice);
      lastPractice = nullptr;
    }
    practice->blend[0] = practice->blend[1] = 0;
  }
  SlotPractice(slot) = practice;
  return true;
}

void PersonAnimator::StopPractice(int slot) {
  PracticeRef*& practice = SlotPractice(slot);
  if (practice == nullptr) return;
  if (body_ == nullptr) {
    practice = nullptr;
    return;
  }
  if (slot == kBackgroundSlot || slot == kLastSlot || kBlendOutTime == 0) {
    body_->RemovePractice(practice);
  } else {
    practice->blend[0] = practice->blend[1] = -1;
    practice->fadeTime = kBlendOutTime;
    practice->fadeStart = Clock();
    if (slot == kMainSlot) {
      if (lastPractice != nullptr) body_->RemovePractice(lastPractice);
      lastPractice = practice;
      practice->rate += 1;
    } else {
      practice->removeWhenFaded = true;
    }
  }
  practice = nullptr;
}

const iSkill* PersonAnimator::GetStandardSkill(int32_t index) const {
  return person_ != nullptr ? AnimNameTables::Instance().GetStandardAnimation(*person_, index) : nullptr;
}

std::string PersonAnimator::PracticeText(const PracticeRef* p) {
  if (p == nullptr || p->skill == nullptr) return {};
  return p->skill->GetName() + ";" + std::to_string(p->rate) + ";" + std::to_string(Thousandths(p->speed)) + ";" +
         std::to_string(Thousandths(p->time)) + ";" + std::to_string(Thousandths(p->weight)) + ";" +
         std::to_string(p->hold) + ";" + std::to_string(p->blend[0]) + ";" + std::to_string(p->blend[1]);
}

bool PersonAnimator::RestorePractice(int slot, const std::string& text) {
  StopPractice(slot);
  std::vector<std::string_view> fields;
  std::string_view rest = text;
  while (true) {
    const size_t semicolon = rest.find(';');
    fields.push_back(rest.substr(0, semicolon));
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  if (fields.size() != kTextFields || fields[0].empty()) return false;
  int values[kTextFields - 1] = {};
  for (int i = 1; i < kTextFields; ++i) {
    if (!ParseInt(fields[static_cast<size_t>(i)], values[i - 1])) return false;
  }
  iCharacterLibrary* library = GetCharacterLibrary();
  const iSkill* skill = library != nullptr ? library->GetSkill(std::string(fields[0])) : nullptr;
  if (skill == nullptr || body_ == nullptr) return false;
  PracticeRef* p = body_->AddPractice(*skill, values[0], values[1] / 1000.0f, values[3] / 1000.0f, Clock());
  if (p == nullptr) return false;
  p->time = values[2] / 1000.0f;
  p->mode = kPracticeMode;
  p->hold = values[4];
  p->blend[0] = values[5];
  p->blend[1] = values[6];
  SlotPractice(slot) = p;
  return true;
}

bool PersonAnimator::IsInterruptible() const {
  switch (movementState) {
    case 0:
    case 9:
    case 10: return mainPractice == nullptr || mainPractice->interruptible != 0;
    case 1:
    case 2:
    case 3: return true;
    default: return false;
  }
}

float PersonAnimator::PlaybackSpeed() const {
  if (person_ == nullptr) return 1.2f;
  float m = person_->GetMotiveValue(kMotiveEnergy) * 0.01f;
  const bool moving = movementState == 0 || (movementState >= 4 && movementState <= 9);
  if (person_->GetData(kDataRunning) == 1 && moving) m = 8;
  return m >= 0 ? 1.2f + m * 0.2f : 1.2f + m * 0.4f;
}

void PersonAnimator::ChooseBackground() {
  if (person_ == nullptr) return;
  const int32_t posture = person_->Word(kPersonPosture);
  if (posture != lastPosture) StopPractice(kBackgroundSlot);
  if (backgroundPractice != nullptr) return;
  lastPosture = posture;
  const int32_t loops[] = {kStandingLoop, kSittingLoop, kSittingFloorLoop};
  if (posture < 0 || posture > 2) return;
  if (StartPractice(kBackgroundSlot, GetStandardSkill(loops[posture]), false)) {
    backgroundPractice->hold = 1;
    backgroundPractice->rate = kBackgroundRate;
  }
}

void PersonAnimator::CheckCarry() {
  if (person_ != nullptr) UpdateCarry(person_->GetSlotObject(0) != 0);
}

void PersonAnimator::UpdateCarry(bool holding) {
  if (carryKind == kCarryByPrimitive) return;
  const bool carrying = holding && !carrySuppressed;
  const int32_t wanted = carrying ? 0 : -1;
  if (wanted == carryCheck) return;
  StopPractice(kCarrySlot);
  if (carrying && StartPractice(kCarrySlot, GetStandardSkill(kRightArmCarry), false)) {
    carryPractice->rate = kCarryRate;
  }
  carryCheck = wanted;
}

int32_t PersonAnimator::ReachIndex(float height, int32_t posture) {
  int32_t index;
  if (height < 0) {
    index = 9;
  } else if (height < 0.75f) {
    index = 1;
  } else if (height < 2.0f) {
    index = 3;
  } else if (height < 2.6666667f) {
    index = 5;
  } else if (height < 4.0f) {
    index = 7;
  } else {
    return -1;
  }
  return posture == 1 ? index + 1 : index;
}

}  // namespace tova
