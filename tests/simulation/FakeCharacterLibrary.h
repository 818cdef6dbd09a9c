// A character library in memory: skills made by the test with frames,
// duration, travel and time properties, and bodies that record what the
// animator does to them.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "simulation/people/CharacterLibrary.h"

namespace tova_test {

using namespace tova;

class FakeSkill : public iSkill {
 public:
  explicit FakeSkill(std::string name) : name_(std::move(name)) {}
  const std::string& GetName() const override { return name_; }
  int FrameCount() const override { return frames; }
  float Duration() const override { return duration; }
  float Travel() const override { return travel; }
  bool Loops() const override { return loops; }
  const std::vector<SkillTrack>& Motions() const override { return motions; }

  int frames = 30;
  float duration = 1000;
  float travel = 0;
  bool loops = false;
  std::vector<SkillTrack> motions;

 private:
  std::string name_;
};

class FakeCharacterLibrary : public iCharacterLibrary {
 public:
  FakeSkill& Add(const std::string& name) {
    auto& slot = skills[name];
    slot = std::make_unique<FakeSkill>(name);
    return *slot;
  }
  const iSkill* GetSkill(const std::string& name) override {
    asked.push_back(name);
    auto it = skills.find(name);
    return it != skills.end() ? it->second.get() : nullptr;
  }

  bool HasSuit(const std::string& name) override { return !missingSuits.contains(name); }
  std::unique_ptr<iCharacterBody> CreateBody(const std::string& skeleton, PersonAnimator* animator) override;

  std::map<std::string, std::unique_ptr<FakeSkill>> skills;
  std::vector<std::string> asked;
  std::set<std::string> missingSuits;
  // Skeletons CreateBody knows; each body it makes is recorded.
  std::set<std::string> skeletons;
  std::vector<std::string> bodiesMade;
  class FakeBody* lastBody = nullptr;
  // Sets up each body made (bones, points) before the animator uses it.
  std::function<void(class FakeBody&)> onBody;
};

class FakeBody : public iCharacterBody {
 public:
  explicit FakeBody(PersonAnimator* animator) : animator_(animator) {}
  ~FakeBody() override {
    if (onDestroy) onDestroy(*this);
  }
  PersonAnimator* GetAnimator() const override { return animator_; }
  PracticeRef* AddPractice(const iSkill& skill, int rate, float speed, float weight, int32_t clock) override {
    if (unloadable.contains(skill.GetName())) return nullptr;
    auto p = std::make_unique<PracticeRef>();
    p->skill = &skill;
    p->body = this;
    p->rate = rate;
    p->speed = speed;
    p->weight = weight;
    p->fadeStart = clock;
    practices.push_back(std::move(p));
    return practices.back().get();
  }
  void RemovePractice(PracticeRef* practice) override {
    removed.push_back(practice);
    std::erase_if(practices, [&](const std::unique_ptr<PracticeRef>& p) { return p.get() == practice; });
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
    on.insert(suit);
    return true;
  }
  void RemoveDressing(const std::string& suit) override {
    takenOff.push_back(suit);
    on.erase(suit);
  }
  // The meshes of the suits on the body, in suit-name order.
  std::vector<WornMesh> DressingMeshes() const override {
    std::vector<WornMesh> out;
    for (const std::string& suit : on) {
      auto it = suitMeshes.find(suit);
      if (it != suitMeshes.end()) out.push_back({it->second, PoseMatrix{}});
    }
    return out;
  }

  void UpdatePractices(int32_t clock) override {
    ++practiceUpdates;
    practiceClocks.push_back(clock);
  }
  void UpdateTransforms() override { ++transformUpdates; }
  // A bone's position is its function of the time of the first practice
  // playing the walk loop (or 0).
  bool BonePosition(const std::string& bone, float out[3]) const override {
    auto it = bones.find(bone);
    if (it == bones.end()) return false;
    float time = 0;
    for (const auto& p : practices) time = p->time;
    const std::array<float, 3> at = it->second(time);
    for (int i = 0; i < 3; ++i) out[i] = at[i];
    return true;
  }
  bool MakeAttachmentPoint(const std::string& id, const std::string& bone, const std::string& point) override {
    if (!bones.contains(bone) || (!point.empty() && !skeletonPoints.contains(point))) return false;
    points[id] = bone + "/" + point;
    return true;
  }
  void RemoveAttachmentPoint(const std::string& id) override { points.erase(id); }
  bool AttachmentPosition(const std::string& id, float out[3]) const override {
    auto it = pointPositions.find(id);
    if (!points.contains(id) || it == pointPositions.end()) return false;
    for (int i = 0; i < 3; ++i) out[i] = it->second[i];
    return true;
  }
  void TurnBone(const std::string& bone, float angle) override { turns.push_back({bone, angle}); }
  void SetSelected(bool selected) override { selections.push_back(selected); }
  std::vector<std::array<float, 3>> SuitVertices(const std::string& suit) const override {
    auto it = suitVertices.find(suit);
    return on.contains(suit) && it != suitVertices.end() ? it->second : std::vector<std::array<float, 3>>{};
  }
  void SetPlacement(const float position[3], float orientation, int32_t) override {
    placed = {position[0], position[1], position[2], orientation};
  }
  // The body stands where it was placed.
  PoseMatrix GetTransform() const override { return PoseMatrix::Translate(placed[0], placed[1], placed[2]); }
  bool Bounds(float min[3], float max[3]) const override {
    for (int i = 0; i < 3; ++i) {
      min[i] = boundsMin[static_cast<size_t>(i)];
      max[i] = boundsMax[static_cast<size_t>(i)];
    }
    return true;
  }
  void Draw() override {
    ++draws;
    if (onDraw) onDraw();
  }

  std::vector<std::unique_ptr<PracticeRef>> practices;
  std::map<std::string, std::function<std::array<float, 3>(float)>> bones;
  std::set<std::string> skeletonPoints;
  std::map<std::string, std::string> points;
  std::map<std::string, std::array<float, 3>> pointPositions;
  std::vector<std::pair<std::string, float>> turns;
  int practiceUpdates = 0, transformUpdates = 0, draws = 0;
  // The animation clock of each practice update.
  std::vector<int32_t> practiceClocks;
  std::vector<bool> selections;
  std::map<std::string, std::vector<std::array<float, 3>>> suitVertices;
  std::array<float, 4> placed{};
  std::array<float, 3> boundsMin{}, boundsMax{};
  std::function<void()> onDraw;
  std::function<void(FakeBody&)> onDestroy;
  std::set<std::string> unloadable;
  std::vector<PracticeRef*> removed;
  std::vector<std::string> worn, takenOff;
  std::set<std::string> on;
  std::map<std::string, const void*> suitMeshes;
  std::set<std::string> unknownSuits;

 private:
  PersonAnimator* animator_;
};

inline std::unique_ptr<iCharacterBody> FakeCharacterLibrary::CreateBody(const std::string& skeleton,
                                                                    PersonAnimator* animator) {
  if (!skeletons.contains(skeleton)) return nullptr;
  bodiesMade.push_back(skeleton);
  auto body = std::make_unique<FakeBody>(animator);
  lastBody = body.get();
  if (onBody) onBody(*body);
  return body;
}

}  // namespace tova_test
