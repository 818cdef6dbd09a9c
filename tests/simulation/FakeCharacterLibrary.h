// A character library in memory: skills made by the test with frames,
// duration, travel and time properties, and bodies that record what the
// animator does to them.
#pragma once

#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "simulation/people/CharacterLibrary.h"

namespace tova_test {

using namespace tova;

class FakeSkill : public Skill {
 public:
  explicit FakeSkill(std::string name) : name_(std::move(name)) {}
  const std::string& GetName() const override { return name_; }
  int FrameCount() const override { return frames; }
  float Duration() const override { return duration; }
  float Travel() const override { return travel; }
  bool Loops() const override { return loops; }
  const std::vector<Motion>& Motions() const override { return motions; }

  int frames = 30;
  float duration = 1000;
  float travel = 0;
  bool loops = false;
  std::vector<Motion> motions;

 private:
  std::string name_;
};

class FakeCharacterLibrary : public CharacterLibrary {
 public:
  FakeSkill& Add(const std::string& name) {
    auto& slot = skills[name];
    slot = std::make_unique<FakeSkill>(name);
    return *slot;
  }
  const Skill* GetSkill(const std::string& name) override {
    asked.push_back(name);
    auto it = skills.find(name);
    return it != skills.end() ? it->second.get() : nullptr;
  }

  std::map<std::string, std::unique_ptr<FakeSkill>> skills;
  std::vector<std::string> asked;
};

class FakeBody : public CharacterBody {
 public:
  explicit FakeBody(PersonAnimator* animator) : animator_(animator) {}
  PersonAnimator* GetAnimator() const override { return animator_; }
  void RemovePractice(Practice* practice) override { removed.push_back(practice); }
  bool AddDressing(const std::string& suit, const std::string& texture, int level) override {
    if (unknownSuits.contains(suit)) return false;
    worn.push_back(suit + "|" + texture + "|" + std::to_string(level));
    return true;
  }
  void RemoveDressing(const std::string& suit) override { takenOff.push_back(suit); }

  std::vector<Practice*> removed;
  std::vector<std::string> worn, takenOff;
  std::set<std::string> unknownSuits;

 private:
  PersonAnimator* animator_;
};

}  // namespace tova_test
