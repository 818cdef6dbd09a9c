// Arbitrary text as body-string entries (split, merged with a base set,
// second parts kept, compared) and as the animator's practice text form.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/BodyStrings.h"
#include "resfile/StringSet.h"
#include "simulation/people/CharacterLibrary.h"
#include "simulation/people/PersonAnimator.h"

namespace {

using namespace tova;

class OneSkill : public iSkill {
 public:
  const std::string& GetName() const override { return name_; }
  int FrameCount() const override { return 10; }
  float Duration() const override { return 100; }
  float Travel() const override { return 0; }
  bool Loops() const override { return false; }
  const std::vector<SkillTrack>& Motions() const override { return motions_; }

 private:
  std::string name_ = "walk";
  std::vector<SkillTrack> motions_;
};

class Library : public iCharacterLibrary {
 public:
  const iSkill* GetSkill(const std::string& name) override { return name == skill.GetName() ? &skill : nullptr; }
  OneSkill skill;
};

class Body : public iCharacterBody {
 public:
  PersonAnimator* GetAnimator() const override { return nullptr; }
  PracticeRef* AddPractice(const iSkill& skill, int rate, float speed, float weight, int32_t) override {
    practices.push_back(std::make_unique<PracticeRef>());
    PracticeRef* p = practices.back().get();
    p->skill = &skill;
    p->rate = rate;
    p->speed = speed;
    p->weight = weight;
    return p;
  }
  void RemovePractice(PracticeRef* practice) override {
    std::erase_if(practices, [&](const std::unique_ptr<PracticeRef>& p) { return p.get() == practice; });
  }
  bool AddDressing(const std::string&, const std::string&, int) override { return true; }
  void RemoveDressing(const std::string&) override {}
  std::vector<std::unique_ptr<PracticeRef>> practices;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size() && lines.size() < 64) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = Lines(text);

  // Even lines are the base set, odd lines its edited copy.
  StringSet base, edited;
  for (size_t i = 0; i < lines.size(); ++i) {
    StringSet& set = i % 2 == 0 ? base : edited;
    BodyStrings::SetEntry(set, set.GetCount() + 1, lines[i]);
  }
  for (int n = 0; n <= edited.GetCount() + 1; ++n) {
    std::string suit, texture;
    BodyStrings::SplitEntry(edited, n, suit, texture, false);
    BodyStrings::SplitEntry(edited, n, suit, texture, true);
  }
  std::vector<std::string> textures;
  BodyStrings::MergeChanged(edited, base, textures);
  BodyStrings::Compare(edited, base);
  BodyStrings::KeepSecond(edited);
  BodyStrings::Compare(base, edited);

  Library library;
  SetCharacterLibrary(&library);
  Body body;
  PersonAnimator animator;
  animator.AttachBody(&body);
  for (const std::string& line : lines) {
    if (animator.RestorePractice(PersonAnimator::kMainSlot, line)) {
      const std::string again = PersonAnimator::PracticeText(animator.mainPractice);
      // A text the animator wrote always reads back.
      if (!animator.RestorePractice(PersonAnimator::kCarrySlot, again)) __builtin_trap();
    }
  }
  SetCharacterLibrary(nullptr);
  return 0;
}
