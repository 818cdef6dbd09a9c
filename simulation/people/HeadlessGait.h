#pragma once
// A character library for runs without character files (tools and tests
// that tick a lot headless): every skill name answers with a plain skill of
// one second, and the walking animations named by the standard animation
// tables get a stride, so a routed person really moves along its path.
// Bodies play practices by the animation clock when Advance runs.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "simulation/people/CharacterLibrary.h"

namespace tova {

class AnimNameTables;
class ObjectModule;

class HeadlessGait : public iCharacterLibrary {
 public:
  struct Measure {
    float travel = 0;  // the skill's root travel in one play
    bool loops = false;
  };
  static constexpr float kDuration = 1000.0f;  // every skill's length, in clock units

  // Measures for the standard animations the tables name: the turns and
  // adjusting steps, the walk's start and its loop.
  static std::map<std::string, Measure> StandardMeasures(AnimNameTables& tables);

  explicit HeadlessGait(std::map<std::string, Measure> measures = {}) : measures_(std::move(measures)) {}

  const iSkill* GetSkill(const std::string& name) override;
  bool HasSuit(const std::string&) override { return true; }
  std::unique_ptr<iCharacterBody> CreateBody(const std::string& skeleton, PersonAnimator* animator) override;

  // Plays every person's practices on to the animation clock.
  static void Advance(ObjectModule& module);

 private:
  std::map<std::string, Measure> measures_;
  std::map<std::string, std::unique_ptr<iSkill>> skills_;
};

}  // namespace tova
