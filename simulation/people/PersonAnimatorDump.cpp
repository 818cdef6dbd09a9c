// The person animator's state dump for the event log, its names, and the
// search for a time property in a skill.
#include <cstdio>

#include "simulation/ObjectModule.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

bool gDumpSwitch = false;
int32_t gDumpMask = 5;

constexpr const char* kStandardNames[] = {
    "Blank", "SittingLoop", "SittingFloorLoop", "StandingLoop", "StandingTurn180CW", "StandingTurn180CCW",
    "StandingTurn90CW", "StandingTurn90CCW", "StandingTurn45CW", "StandingTurn45CCW", "StandingTurn0",
    "StandingAdjustN", "StandingAdjustNW", "StandingAdjustNE", "StandingAdjustW", "StandingAdjustE",
    "StandingAdjustSW", "StandingAdjustSE", "StandingAdjustS", "WalkingStart", "WalkingLoop", "RunningLoop",
    "RunningStart", "RunningStop", "WalkingFastLoop", "WalkingHalfLoop", "WalkingQuarterLoop", "WalkingStopLeft",
    "WalkingStopRight", "WalkingTurn90CWLeft", "WalkingTurn90CWRight", "WalkingTurn90CCWLeft",
    "WalkingTurn90CCWRight", "WalkingTurn45CWLeft", "WalkingTurn45CWRight", "WalkingTurn45CCWLeft",
    "WalkingTurn45CCWRight", "Placeholder", "RightArmCarry",
};

constexpr const char* kStateNames[] = {
    "Animating",   "Sitting",     "SittingFloor", "Standing", "StandingTurn", "StandingAdjust", "WalkingStart",
    "WalkingStop", "WalkingTurn", "Walking",      "Running",  "RunningStart", "RunningStop",
};

constexpr const char* kFollowNames[] = {"-1 Ending", "0 Neutral", "1 Engaged", "2 True", "3 False"};

std::string Text(const PracticeRef* p) {
  return p != nullptr ? PersonAnimator::PracticeText(p) : std::string("[NULL practice]");
}

std::string Format(const char* format, double a, double b) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

}  // namespace

void PersonAnimator::SetDumpSwitch(bool on) { gDumpSwitch = on; }
void PersonAnimator::SetDumpMask(int32_t mask) { gDumpMask = mask; }

const char* PersonAnimator::StandardName(int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(std::size(kStandardNames)) ? kStandardNames[index] : "";
}

const char* PersonAnimator::StateName(int32_t state) {
  return state >= 0 && state < static_cast<int32_t>(std::size(kStateNames)) ? kStateNames[state] : "";
}

const char* PersonAnimator::FollowStateName(int32_t state) {
  return state >= -1 && state <= 3 ? kFollowNames[state + 1] : "";
}

std::string PersonAnimator::DumpText(int32_t mask) const {
  std::string text = "========\n";
  const auto item = [&](int32_t bit, const std::string& line) {
    if ((mask & bit) != 0) text += line + "\n";
  };
  item(1, "Person: " + (person_ != nullptr ? person_->GetName() : std::string()));
  item(2, "Background: " + (backgroundPractice != nullptr ? SkillName(backgroundPractice->skill) : std::string("NONE")));
  item(4, "Current: [" + std::string(StandardName(currentStandard)) + "] " + Text(mainPractice));
  item(8, "Carry: " + Text(carryPractice));
  item(16, "Last: " + Text(lastPractice));
  item(32, std::string("State: ") + StateName(movementState));
  item(64, std::string("FollowState: ") + FollowStateName(followState));
  if ((mask & 128) != 0) {
    const std::vector<PathPoint>* points = person_ != nullptr ? &person_->PathPoints() : nullptr;
    const int32_t count = points != nullptr ? static_cast<int32_t>(points->size()) : 0;
    std::string line = "CurDest: " + std::to_string(destination) + " / " + std::to_string(count);
    if (destination >= 0 && destination < count) {
      const PathPoint& p = (*points)[static_cast<size_t>(destination)];
      line += Format(" => %f %f", p.x * 0.0625, p.y * 0.0625);
    }
    item(128, line);
  }
  item(256, Format("GridPos: %f %f", grid[0], grid[1]));
  return text;
}

void PersonAnimator::Dump() {
  if (!gDumpSwitch) {
    lastDump_.clear();
    return;
  }
  if (person_ == nullptr || person_->GetModule() == nullptr || person_->GetModule()->GetSelectedPerson() != person_) {
    return;
  }
  std::string text = DumpText(gDumpMask);
  if (text == lastDump_) return;
  lastDump_ = std::move(text);
  size_t start = 0;
  while (start < lastDump_.size()) {
    const size_t end = lastDump_.find('\n', start);
    PeopleHost().DebugLog(lastDump_.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

int32_t PersonAnimator::FindTimeProperty(const iSkill& skill, const std::string& name, const std::string& value,
                                         std::string& motion) {
  for (const SkillTrack& m : skill.Motions()) {
    for (auto list = m.properties.rbegin(); list != m.properties.rend(); ++list) {
      for (const EventPair& pair : list->pairs) {
        if (pair.name == name && pair.value == value) {
          motion = m.bone;
          return list->frame;
        }
      }
    }
  }
  motion.clear();
  return -1;
}

}  // namespace tova
