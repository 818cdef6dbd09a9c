// A person with an animator on a fake body, the standard animations
// named "std<index>" (the loops and the carry exist in the fake library),
// and a person table.
#pragma once

#include <gtest/gtest.h>

#include "FakeCharacterLibrary.h"
#include "PersonFixture.h"
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
  const tova::Skill* SkillNamed(const std::string& name) { return library.GetSkill(name); }

  MemResFile file;
  FakeCharacterLibrary library;
  cXPerson* person = nullptr;
  PersonAnimator* animator = nullptr;
  std::unique_ptr<FakeBody> body;
};

}  // namespace tova_test
