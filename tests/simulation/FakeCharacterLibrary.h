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
  Practice* AddPractice(const Skill& skill, int rate, float speed, float weight, int32_t clock) override {
    if (unloadable.contains(skill.GetName())) return nullptr;
    auto p = std::make_unique<Practice>();
    p->skill = &skill;
    p->body = this;
    p->rate = rate;
    p->speed = speed;
    p->weight = weight;
    p->fadeStart = clock;
    practices.push_back(std::move(p));
    return practices.back().get();
  }
  void RemovePractice(Practice* practice) override {
    removed.push_back(practice);
    std::erase_if(practices, [&](const std::unique_ptr<Practice>& p) { return p.get() == practice; });
  }
  // Names of the practices on the body, in the order they were added.
  std::vector<std::string> Playing() const {
    std::vector<std::string> out;
    for (const auto& p : practices) out.push_back(p->skill->GetName());
    return out;
  }
  bool AddDressing(const std::string& suit, const std::string& texture, int level) override {
    if (unknownSuits.contains(suit)) return false;
    worn.push_back(suit + "|" + texture + "|" + std::to_string(level));
    return true;
  }
  void RemoveDressing(const std::string& suit) override { takenOff.push_back(suit); }

  std::vector<std::unique_ptr<Practice>> practices;
  std::set<std::string> unloadable;
  std::vector<Practice*> removed;
  std::vector<std::string> worn, takenOff;
  std::set<std::string> unknownSuits;

 private:
  PersonAnimator* animator_;
};

}  // namespace tova_test
