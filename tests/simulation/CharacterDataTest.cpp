// Character data start-up: the two search paths, the folders the file
// manager learns, a second load that changes nothing, the reload's log, the
// current animation person's broadcast and the tracker wrappers.
#include <gtest/gtest.h>

#include "PersonFixture.h"
#include "framework/CTGFileManager.h"
#include "simulation/people/CharacterData.h"
#include "support/TempFolder.h"

namespace tova_test {
namespace {

class RecordingLibrary : public iLoadableCharacterLibrary {
 public:
  const tova::iSkill* GetSkill(const std::string&) override { return nullptr; }
  void SetCharacterFolders(const cRZSearchPath& f) override { characterFolders.push_back(f.GetCount()); }
  void SetAnimationFolders(const cRZSearchPath& f) override { animationFolders.push_back(f.GetCount()); }
  void EmptyCaches() override { ++emptied; }
  std::vector<std::pair<std::string, int32_t>> ActiveSkills() const override { return {{"wave", 2}}; }
  std::vector<std::pair<std::string, int32_t>> ActiveSuits() const override { return {{"hat", 1}}; }
  std::vector<int> characterFolders, animationFolders;
  int emptied = 0;
};

class RecordingDataHost : public iCharacterDataHost {
 public:
  std::unique_ptr<iLoadableCharacterLibrary> MakeLibrary(iDevice3D*) override {
    ++made;
    auto l = std::make_unique<RecordingLibrary>();
    library = l.get();
    return l;
  }
  std::vector<std::string> ObjectFolders() const override { return folders; }
  CTGFileManager& Files() override { return files; }
  void ClearHouseView() override { steps.push_back("clear"); }
  std::vector<cXPerson*> PersonsOnLot() const override { return people; }
  void ReleaseBody(cXPerson& p) override { steps.push_back("release " + std::to_string(p.GetId())); }
  void BuildBody(cXPerson& p) override { steps.push_back("build " + std::to_string(p.GetId())); }

  int made = 0;
  RecordingLibrary* library = nullptr;
  std::vector<std::string> folders;
  CTGFileManager files;
  std::vector<cXPerson*> people;
  std::vector<std::string> steps;
};

class RecordingTracker : public iPointerTracker {
 public:
  void Attach(iTrackerWindow* w, PersonAnimator* d) override {
    window = w;
    data = d;
    calls.push_back("attach");
  }
  void Detach() override {
    window = nullptr;
    data = nullptr;
    calls.push_back("detach");
  }
  bool IsAttached() const override { return data != nullptr; }
  void SetTarget(iTrackerWindow*) override { calls.push_back("target"); }
  void ReturnToSource() override { calls.push_back("return"); }
  void StartGesture() override { calls.push_back("gesture"); }
  void AdjustTilt(float t) override { calls.push_back("tilt " + std::to_string(t)); }
  void GetPosition(int32_t& x, int32_t& y, int32_t& z) override { x = 1, y = 2, z = 3; }
  void Update(void*) override { calls.push_back("update"); }
  PersonAnimator* GetData() const override { return data; }
  iTrackerWindow* window = nullptr;
  PersonAnimator* data = nullptr;
  std::vector<std::string> calls;
};

class CharacterData : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    SetCharacterDataHost(&dataHost);
    SetPointerTracker(&tracker);
  }
  void TearDown() override {
    ReleaseCharacterData();
    SetCharacterDataHost(nullptr);
    SetPointerTracker(nullptr);
    SetCurrentAnimPerson(nullptr);
    PersonFixture::TearDown();
  }
  RecordingDataHost dataHost;
  RecordingTracker tracker;
  TempFolder temp;
};

TEST_F(CharacterData, ThePathsAreExactAndIndexedFoldersHoldAnimationsOnly) {
  temp.Touch({"Objects/A/a.iff", "Objects/B/b.iff", "Objects/B.ndx", "Objects/C/c.iff"});
  std::vector<std::string> folders = {temp / "Objects/A/", temp / "Objects/B/", temp / "Objects/C/"};
  const std::string characters = BuildCharacterSearchPath(
      "data/", folders, [&](const std::string& name) { return dataHost.files.Exists(name.c_str()); });
  EXPECT_EQ(characters,
            "data/Skins/;data/cmx;data/cmx2;data/cmx3;data/cmx4;data/cmx5;data/cmx6;data/cmx7;data/cmx8;data/cmx9;"
            "data/cmx10;data/cmxpreview;;data/People1;data/People2;data/Accessories1;data/Accessories2;" +
                temp / "Objects/C/;" + temp / "Objects/A/;");
  EXPECT_EQ(folders, std::vector<std::string>{temp / "Objects/B/"});
  EXPECT_EQ(BuildAnimationSearchPath("data/", folders), "data/Animation;" + temp / "Objects/B/;");
}

TEST_F(CharacterData, LoadingAddsTheFoldersOnceAndASecondLoadChangesNothing) {
  temp.Touch({"base/Skins/s.cmx", "base/Animation/a.cfp", "Objects/B/b.iff", "Objects/B.ndx", "Objects/C/c.iff"});
  dataHost.folders = {temp / "Objects/B/", temp / "Objects/C/"};
  LoadCharacterData(nullptr, temp / "base/");
  ASSERT_TRUE(IsCharacterDataLoaded());
  ASSERT_NE(GetCharacterDataManager(), nullptr);
  EXPECT_EQ(GetCharacterLibrary(), GetCharacterDataManager());
  // The empty entry after "cmxpreview" is skipped: 16 base folders and C.
  EXPECT_EQ(CharacterSearchList().GetCount(), 17);
  EXPECT_EQ(AnimationSearchList().GetCount(), 2);
  EXPECT_EQ(dataHost.library->characterFolders, std::vector<int>{17});
  EXPECT_EQ(dataHost.library->animationFolders, std::vector<int>{2});
  EXPECT_TRUE(dataHost.files.HasDirectory((temp / "base/Skins/").c_str()));
  EXPECT_TRUE(dataHost.files.HasDirectory((temp / "Objects/B/").c_str()));
  EXPECT_TRUE(dataHost.files.Exists((temp / "base/Animation/a.cfp").c_str()));

  LoadCharacterData(nullptr, temp / "elsewhere/");
  EXPECT_EQ(dataHost.made, 1);
  EXPECT_EQ(dataHost.library->characterFolders.size(), 1u);
  EXPECT_EQ(CharacterSearchList().GetCount(), 17);

  ReleaseCharacterData();
  EXPECT_FALSE(IsCharacterDataLoaded());
  EXPECT_EQ(GetCharacterDataManager(), nullptr);
  EXPECT_EQ(GetCharacterLibrary(), nullptr);
}

TEST_F(CharacterData, ReloadReleasesLogsAndRebuildsEveryBody) {
  cXPerson* a = MakePerson();
  cXPerson* b = MakePerson();
  dataHost.people = {a, b};
  ReloadCharacterData();
  EXPECT_TRUE(dataHost.steps.empty()) << "nothing before a load";
  LoadCharacterData(nullptr, temp / "base/");
  ReloadCharacterData();
  const std::string ia = std::to_string(a->GetId()), ib = std::to_string(b->GetId());
  EXPECT_EQ(dataHost.steps, (std::vector<std::string>{"clear", "release " + ia, "release " + ib, "clear",
                                                       "build " + ia, "build " + ib}));
  EXPECT_EQ(host.log, (std::vector<std::string>{"2 active practice(s) on skill wave",
                                                "1 active dressing(s) on suit hat"}));
  EXPECT_EQ(dataHost.library->emptied, 1);
  EXPECT_EQ(dataHost.library->characterFolders.size(), 2u);
  EXPECT_EQ(dataHost.library->animationFolders.size(), 2u);
}

TEST_F(CharacterData, TheCurrentAnimationPersonIsBroadcastUnlessNull) {
  cXPerson* p = MakePerson();
  SetCurrentAnimPerson(nullptr);
  EXPECT_TRUE(host.broadcasts.empty());
  SetCurrentAnimPerson(p);
  EXPECT_EQ(host.broadcasts, (std::vector<std::pair<int32_t, intptr_t>>{{247, p->GetId()}}));
  EXPECT_EQ(GetCurrentAnimPerson(), p);
  SetPersonPickEnabled(true);
  EXPECT_TRUE(GetPersonPickEnabled());
  SetPersonPickEnabled(false);
  EXPECT_FALSE(GetPersonPickEnabled());
}

TEST_F(CharacterData, TrackerWrappersAndAPersonGoingAway) {
  int32_t x = 0, y = 0, z = 0;
  EXPECT_FALSE(GetTrackerPosition(x, y, z));
  EXPECT_FALSE(UpdatePointerTracker(nullptr));
  EXPECT_EQ(x, 0);
  cXPerson* p = MakePerson();
  AttachPointerTracker(nullptr, &p->Animator());
  EXPECT_TRUE(GetTrackerPosition(x, y, z));
  EXPECT_EQ((std::array<int32_t, 3>{x, y, z}), (std::array<int32_t, 3>{1, 2, 3}));
  EXPECT_TRUE(UpdatePointerTracker(nullptr));
  TrackerSetTarget(nullptr);
  TrackerReturnToSource();
  TrackerStartGesture();
  TrackerAdjustTilt(0.5f);
  SetPersonUnderCursor(p);
  SetCurrentAnimPerson(p);
  module.RemoveObject(p->GetId());
  EXPECT_EQ(tracker.calls, (std::vector<std::string>{"attach", "update", "target", "return", "gesture",
                                                     "tilt 0.500000", "detach"}));
  EXPECT_EQ(GetPersonUnderCursor(), nullptr);
  EXPECT_EQ(GetCurrentAnimPerson(), nullptr);
  DetachPointerTracker();
  EXPECT_EQ(tracker.calls.back(), "detach");
}

}  // namespace
}  // namespace tova_test
