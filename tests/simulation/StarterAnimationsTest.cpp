// The starter content's animation names and the template person's looks:
// a person made from the template gets a dressed body on its skeleton
// when the character library knows what the names say.
#include <gtest/gtest.h>

#include <cctype>

#include "FakeCharacterLibrary.h"
#include "StarterContent.h"
#include "gamedata/BodyStrings.h"
#include "gamedata/ObjectFolder.h"
#include "resfile/IFFResFile2.h"
#include "simulation/ObjectModule.h"
#include "simulation/TreeTableServices.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"
#include "support/ScratchDir.h"

namespace tova_test {
namespace {

// The skill name of a standard animation: its name, lower case.
std::string Lower(int index) {
  std::string name = std::string("a2o-") + PersonAnimator::StandardName(index);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

class StarterAnimations : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(CompileStarterContent((dir / "data").string()));
    folder.SetServices(&services);
    folder.Init((dir / "data").string() + "/");
    ASSERT_EQ(globalFile.Open((dir / "data/GameData/Global/Global.iff").string()), 0);
    AnimNameTables::Instance().Load(&globalFile);
    SetCharacterLibrary(&library);
    cXPerson::Register();
  }
  void TearDown() override {
    module.Clear();
    ObjectModule::SetPersonMaker(nullptr);
    SetCharacterLibrary(nullptr);
    AnimNameTables::Instance().Free();
    globalFile.Close();
  }

  ScratchDir dir;
  TreeTableServices services{nullptr};
  ObjectFolder folder;
  IFFResFile2 globalFile;
  ObjectModule module{&folder};
  FakeCharacterLibrary library;
};

TEST_F(StarterAnimations, TheTemplatePersonGetsABodyWithTheStandardAnimations) {
  library.skeletons = {"adult"};
  for (int i = 1; i <= PersonAnimator::kRightArmCarry; ++i) {
    library.Add(Lower(i));
  }
  library.onBody = [](FakeBody& b) {
    for (const char* bone : {"HEAD", "R_HAND"}) b.bones[bone] = [](float) { return std::array<float, 3>{}; };
  };
  const int16_t id = module.CreateObject(folder.GetTemplatePersonDefinition());
  auto* person = dynamic_cast<cXPerson*>(module.GetObjectById(id));
  ASSERT_NE(person, nullptr);
  PersonAnimator& a = person->Animator();
  ASSERT_NE(a.GetBody(), nullptr);
  auto* body = static_cast<FakeBody*>(a.GetBody());
  // The reset after creation stops every practice; the next update chooses the loop.
  a.ChooseBackground();
  EXPECT_EQ(body->Playing(), std::vector<std::string>{"a2o-standingloop"});
  EXPECT_EQ(a.censorSuit, "adult-censor");
  for (const char* suit : {"b001fa_fit", "c001fa_round", "h_l", "h_r"}) {
    EXPECT_NE(std::find_if(body->worn.begin(), body->worn.end(),
                           [&](const std::string& w) { return w.rfind(std::string(suit) + "|", 0) == 0; }),
              body->worn.end())
        << suit;
  }
  EXPECT_TRUE(body->points.contains(PersonAnimator::kHandPoint));
  EXPECT_TRUE(body->points.contains(PersonAnimator::kHeadPoint));

  // Every standard index names its skill; the reach table covers each height.
  for (int i = 1; i <= PersonAnimator::kRightArmCarry; ++i) {
    const iSkill* skill = a.GetStandardSkill(i);
    ASSERT_NE(skill, nullptr) << i;
    EXPECT_EQ(skill->GetName(), Lower(i));
  }
  EXPECT_EQ(a.GetStandardSkill(0), nullptr) << "Blank names nothing";
  AnimNameTables& tables = AnimNameTables::Instance();
  person->SetWord(kPersonAge, 30);
  const char* heights[] = {"low", "waist", "chest", "high", "floor"};
  for (int32_t reach = 1; reach <= 10; ++reach) {
    const std::string name = std::string("a2o-reach-") + heights[(reach - 1) / 2] + (reach % 2 == 0 ? "-seated" : "");
    library.Add(name);
    const iSkill* skill = tables.GetReachAnimation(*person, reach);
    ASSERT_NE(skill, nullptr) << reach;
    EXPECT_EQ(skill->GetName(), name);
  }
}

}  // namespace
}  // namespace tova_test
