// The animator reads a person's sex, age and skin from the body strings of
// its definition and clears what the next dressing chooses again.
#include <gtest/gtest.h>

#include "AnimatorFixture.h"
#include "gamedata/BodyStrings.h"

namespace tova_test {
namespace {

using AnimatorBody = AnimatorPractices;

std::vector<std::string> Looks(const std::string& sex, const std::string& age, const std::string& skin) {
  std::vector<std::string> looks(15);
  looks[0] = "adult";
  looks[12] = sex;
  looks[13] = age;
  looks[14] = skin;
  return looks;
}

TEST_F(AnimatorBody, SexAgeAndSkinComeFromTheBodyStrings) {
  struct Case {
    std::string sex, age, skin;
    int16_t sexBefore;
    int16_t sexAfter, ageAfter, skinAfter;
  } cases[] = {
      {"Female", "27", "med", 0, 1, 27, 2},  {"MALE", "9", "lgt", 1, 0, 9, 1},
      {"other", "", "", 1, 1, 44, 7},        {"", "x", "drk", 0, 0, 44, 3},
      {"male", "30", "purple", 0, 0, 30, 0},
  };
  for (const Case& c : cases) {
    cXPerson* p = PersonWithLooks(Looks(c.sex, c.age, c.skin), {"header", "lgt", "med", "drk"});
    p->SetWord(kPersonSex, c.sexBefore);
    p->SetWord(kPersonAge, 44);
    p->SetWord(60, 7);
    p->SetWord(kPersonOutfit, 3);
    p->SetWord(22, 2);
    p->Animator().ResetBody();
    ASSERT_NE(p->Animator().GetBodyStrings(), nullptr);
    EXPECT_EQ(p->Word(kPersonSex), c.sexAfter) << c.sex;
    EXPECT_EQ(p->Word(kPersonAge), c.ageAfter) << c.age;
    EXPECT_EQ(p->Word(60), c.skinAfter) << c.skin;
    EXPECT_EQ(p->Word(kPersonOutfit), 0);
    EXPECT_EQ(p->Word(22), 0);
  }
}

TEST_F(AnimatorBody, ExtraDressingsAreDroppedAndTheOutfitForgotten) {
  cXPerson* p = PersonWithLooks(Looks("male", "30", "med"), {});
  PersonAnimator& a = p->Animator();
  FakeBody looksBody(&a);
  a.AttachBody(&looksBody);
  a.AddExtraDressing("hat", "");
  a.wornOutfit = 2;
  a.ResetBody();
  EXPECT_TRUE(a.extraDressings.empty());
  EXPECT_EQ(looksBody.takenOff, std::vector<std::string>{"hat"});
  EXPECT_EQ(a.wornOutfit, -1);
  EXPECT_EQ(p->Word(60), 0) << "no skin table: the first skin";
}

TEST_F(AnimatorBody, ADefinitionWithoutBodyStringsChangesOnlyTheDressing) {
  person->SetWord(kPersonAge, 12);
  person->SetWord(kPersonOutfit, 4);
  animator->ResetBody();
  EXPECT_EQ(animator->GetBodyStrings(), nullptr);
  EXPECT_EQ(person->Word(kPersonAge), 12);
  EXPECT_EQ(person->Word(kPersonOutfit), 0);
}

}  // namespace
}  // namespace tova_test
