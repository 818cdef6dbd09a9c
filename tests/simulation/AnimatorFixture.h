// A person with an animator on a fake body, the standard animations
// named "std<index>" (the loops and the carry exist in the fake library),
// and a person table.
#pragma once

#include <gtest/gtest.h>

#include "FakeCharacterLibrary.h"
#include "PersonFixture.h"
#include "gamedata/BodyStrings.h"
#include "resfile/MemResFile.h"
#include "simulation/people/AnimNameTables.h"

namespace tova_test {

class AnimatorPractices : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    SetCharacterLibrary(&library);
    // The standard table: index n is entry n+1.
    StringSet standard;
    for (int i = 0; i <= PersonAnimator::kRightArmCarry; ++i) standard.SetString(i + 1, Standard(i).c_str());
    ASSERT_EQ(standard.SaveTo(&file, 150), 0);
    // The person table: "dance" at index 5, "ghost" (no skill) at 6.
    StringSet own;
    for (const char* n : {"", "", "", "", "", "dance", "ghost"}) own.SetString(own.GetCount() + 1, n);
    ASSERT_EQ(own.SaveTo(&file, 130), 0);
    AnimNameTables::Instance().Load(&file);
    for (int i : {1, 2, 3, 37, 38}) library.Add(Standard(i));
    for (const char* n : {"wave", "dance"}) library.Add(n);
    person = MakePerson();
    person->SetWord(kPersonAge, 30);
    animator = &person->Animator();
    animator->Attach(person);
    body = std::make_unique<FakeBody>(animator);
    animator->AttachBody(body.get());
    // A reset person starts without a blend; these tests start blended.
    animator->discontinuity = false;
  }
  void TearDown() override {
    AnimNameTables::Instance().Free();
    SetCharacterLibrary(nullptr);
    PersonFixture::TearDown();
  }
  static std::string Standard(int i) { return "std" + std::to_string(i); }
  // A person whose definition's own file holds its body strings (set 200)
  // and the skin names; it is attached (and built) as it is made.
  cXPerson* PersonWithLooks(const std::vector<std::string>& looks, const std::vector<std::string>& skins = {}) {
    StringSet strings;
    for (size_t i = 0; i < looks.size(); ++i) BodyStrings::SetEntry(strings, static_cast<int>(i) + 1, looks[i]);
    EXPECT_EQ(strings.SaveTo(&looksFile, 200), 0);
    if (!skins.empty()) {
      StringSet names;
      for (const std::string& s : skins) names.SetString(names.GetCount() + 1, s.c_str());
      EXPECT_EQ(names.SaveTo(&looksFile, 8192), 0);
    }
    ObjectDefinitionRecord record = personDefinition->GetRecord();
    record.SetWord(ObjectDefinitionRecord::kBodyStringsId, 200);
    definitions.push_back(std::make_unique<ObjectDefinition>(nullptr, &looksFile, record, "Looks", 0, 128));
    auto made = std::make_unique<cXPerson>(definitions.back().get(), &module);
    cXPerson* p = made.get();
    module.AddObject(std::move(made), 0, true);
    return p;
  }
  const tova::iSkill* SkillNamed(const std::string& name) { return library.GetSkill(name); }

  MemResFile file;
  MemResFile looksFile;
  std::vector<std::unique_ptr<ObjectDefinition>> definitions;
  FakeCharacterLibrary library;
  cXPerson* person = nullptr;
  PersonAnimator* animator = nullptr;
  std::unique_ptr<FakeBody> body;
};

}  // namespace tova_test
