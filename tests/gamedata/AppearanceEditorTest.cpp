#include "gamedata/AppearanceEditor.h"

#include "framework/CTGFileManager.h"

#include <gtest/gtest.h>

#include "CatalogFixture.h"
#include "gamedata/BodyStrings.h"
#include "gamedata/SimRandom.h"
#include "resfile/IFFResFile2.h"
#include "resfile/StringSet.h"
#include "support/TempFolder.h"

using namespace tova;

namespace {

class FakeHost : public iAppearanceHost {
 public:
  std::vector<std::string> suits;
  int changes = 0;
  void GetSuitNames(std::vector<std::string>& out) const override { out = suits; }
  void LooksChanged() override { ++changes; }
};

class AppearanceEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppearanceEditor::ResetCache();
    host.suits = {"suit-b001mafit", "suit-b005mafat", "suit-b007mafat", "suit-b003uafit", "suit-c001masho",
                  "suit-b002ucfit", "suit-c002ucsho", "suit-fmfit",     "suit-nmfit",     "suit-nufit",
                  "skeleton",       "suit-c004fasho"};
    for (const char* t : {"b001mafitlgt_plain", "b005mafatlgt_a", "b007mafatlgt_b", "b003uafitlgt_x",
                          "c001masholgt_face", "b002ucfitlgt_kid", "c002ucsholgt_k", "nmfitlgt", "fmfitlgt",
                          "hmlolgt", "gmrolgt", "c004fasholgt_f", "b001mafitdrk_plain"}) {
      dir.Write(std::string(t) + ".bmp", "");
    }
    dir.Write("notes.txt", "");
    // The catalogue lists what the data-file manager has registered.
    ASSERT_TRUE(CTGFileManager::Global().AddDirectory(dir.path().c_str(), false, false));
  }

  StringSet Strings(const std::string& sex, const std::string& age, const std::string& key,
                    const std::string& body = "", const std::string& head = "") {
    StringSet s;
    for (int n = 1; n <= 15; ++n) s.SetString(n, "");
    s.SetString(1, std::atoi(age.c_str()) < 18 ? "child" : "adult");
    s.SetString(2, body.c_str());
    s.SetString(3, head.c_str());
    s.SetString(13, sex.c_str());
    s.SetString(14, age.c_str());
    s.SetString(15, key.c_str());
    return s;
  }

  std::string S(const StringSet& s, int n) { return BodyStrings::Get(s, n); }

  tova_test::TempFolder dir;
  FakeHost host;
};

TEST_F(AppearanceEditorTest, SplitsEntries) {
  std::string suit, texture;
  BodyStrings::SplitText("B001MaFit,BODY=B001MaFitLGT;Other,HEAD=X", suit, texture, false);
  EXPECT_EQ(suit, "b001mafit");
  EXPECT_EQ(texture, "BODY=b001mafitlgt");
  BodyStrings::SplitText("B001MaFit,BODY=B001MaFitLGT;Other,HEAD=X", suit, texture, true);
  EXPECT_EQ(suit, "other");
  EXPECT_EQ(texture, "HEAD=x");
  BodyStrings::SplitText("JustASuit", suit, texture, false);
  EXPECT_EQ(suit, "justasuit");
  EXPECT_EQ(texture, "");
  BodyStrings::SplitText("Suit,NoEquals", suit, texture, false);
  EXPECT_EQ(texture, "noequals");
  BodyStrings::SplitText("NoSemicolon", suit, texture, true);
  EXPECT_EQ(suit, "");
}

TEST_F(AppearanceEditorTest, ListsFollowAgeSexAndSkin) {
  StringSet s = Strings("MALE", "27", "lgt");
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  EXPECT_FALSE(editor.Attach(&s)) << "attached twice";
  EXPECT_FALSE(editor.IsFemale()) << "\"MALE\" is male";
  EXPECT_EQ(editor.GetSuitNames().size(), 11u) << "only suit- names, prefix removed";
  const AppearanceChoices& bodies = editor.GetBodyList();
  ASSERT_EQ(bodies.size(), 4u);
  EXPECT_EQ(bodies[0].suit, "b001mafit");
  EXPECT_EQ(bodies[0].texture, "BODY=b001mafitlgt_plain");
  EXPECT_EQ(bodies[3].suit, "b003uafit") << "unisex bodies fit both";
  ASSERT_EQ(editor.GetHeadList().size(), 1u);
  EXPECT_EQ(editor.GetHeadList()[0].texture, "HEAD-HEAD=c001masholgt_face");
  EXPECT_EQ(editor.GetBodyCount(), 4);

  editor.SetSex(true);
  EXPECT_EQ(S(s, 13), "female");
  EXPECT_EQ(editor.GetBodyList().size(), 1u);
  EXPECT_EQ(editor.GetHeadList()[0].suit, "c004fasho");

  editor.SetAge(true);
  EXPECT_EQ(S(s, 14), "9");
  EXPECT_EQ(S(s, 1), "child");
  EXPECT_TRUE(editor.IsChild());
  EXPECT_EQ(editor.GetBodyList().size(), 1u);
  EXPECT_EQ(editor.GetBodyList()[0].suit, "b002ucfit");
  editor.SetAge(false);
  EXPECT_EQ(S(s, 14), "27");
  EXPECT_EQ(S(s, 1), "adult");

  editor.SetSex(false);
  editor.SetSkinTone("drk");
  EXPECT_EQ(editor.GetBodyList().size(), 1u);
  EXPECT_EQ(editor.GetHeadCount(), 0);
  EXPECT_EQ(editor.GetBodyCount(), 0) << "no head to go with a body";
}

TEST_F(AppearanceEditorTest, NoSkinKeyEmptiesTheChoice) {
  StringSet s = Strings("male", "27", "", "b001mafit,BODY=b001mafitlgt_plain", "c001masho,HEAD-HEAD=c001masholgt_face");
  for (int n : {16, 17, 18, 19}) s.SetString(n, "old");
  ASSERT_EQ(S(s, 19), "old");
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  EXPECT_EQ(editor.GetSkinKey(), "???");
  EXPECT_TRUE(editor.GetBodyList().empty());
  editor.Rebuild();
  for (int n : {2, 3, 16, 17, 18, 19}) EXPECT_EQ(S(s, n), "") << n;
  EXPECT_GT(host.changes, 0);
  std::vector<int> changed;
  editor.Repair(changed);  // string 2 is empty: nothing to repair
  EXPECT_TRUE(changed.empty());
}

TEST_F(AppearanceEditorTest, DerivedStringsOfAnAdult) {
  StringSet s = Strings("male", "27", "lgt");
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  editor.Rebuild();
  EXPECT_EQ(S(s, 2), "b001mafit,BODY=b001mafitlgt_plain") << "the first entry";
  EXPECT_EQ(S(s, 3), "c001masho,HEAD-HEAD=c001masholgt_face");
  EXPECT_EQ(S(s, 16), "nmfit,BODY=nmfitlgt");
  EXPECT_EQ(S(s, 17), "nmfit,BODY=") << "an adult without a U texture";
  EXPECT_EQ(S(s, 28), "fmfit,BODY=fmfitlgt");
  EXPECT_EQ(S(s, 29), "");
  EXPECT_EQ(S(s, 30), "HmRO,HAND=gmrolgt") << "never begins with G";
  EXPECT_EQ(S(s, 18), "HmLO,HAND=hmlolgt");
  for (int n : {19, 20, 21, 22, 23}) EXPECT_EQ(S(s, n), "") << n;
}

TEST_F(AppearanceEditorTest, DerivedStringsOfAChild) {
  StringSet s = Strings("male", "9", "lgt");
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  editor.Rebuild();
  EXPECT_EQ(S(s, 2), "b002ucfit,BODY=b002ucfitlgt_kid");
  // S = "fit" again, and N1 takes "nufit" or "nmfit", whichever covers more.
  const std::string n1 = S(s, 16).substr(0, S(s, 16).find(','));
  EXPECT_TRUE(n1 == "nmfit" || n1 == "nufit") << n1;
  EXPECT_EQ(S(s, 17), S(s, 16)) << "a child without a U texture wears T1's";
  EXPECT_EQ(S(s, 30), "HuRO,HAND=gmrolgt") << "the person letter of a child is u";
}

TEST_F(AppearanceEditorTest, ChoosingBodiesAndHeads) {
  StringSet s = Strings("male", "27", "lgt");
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  EXPECT_EQ(editor.SetBody(2), 2);
  EXPECT_EQ(S(s, 2), "b007mafat,BODY=b007mafatlgt_b");
  EXPECT_EQ(editor.FindBodyIndex(), 2);
  EXPECT_EQ(editor.SetBody(9), 4) << "beyond the list";
  EXPECT_EQ(editor.FindBodyIndex(), 2);
  EXPECT_EQ(editor.SetBody(-1), -1);
  EXPECT_EQ(editor.FindBodyIndex(), 0) << "a cleared choice takes the first";
  EXPECT_EQ(editor.SetHead(0), 0);
  EXPECT_EQ(editor.FindHeadIndex(), 0);
}

TEST_F(AppearanceEditorTest, RepairDrawsANearEntry) {
  const struct {
    std::string stored;
    std::vector<std::string> candidates;
  } cases[] = {
      {"B009MAFAT,BODY=b009mafatlgt_gone", {"b005mafat", "b007mafat"}},  // two near entries
      {"x000zzzzz,BODY=nothing", {"b001mafit", "b005mafat", "b007mafat", "b003uafit"}},  // none near
  };
  for (const auto& c : cases) {
    for (uint32_t seed : {1u, 77u, 123456u}) {
      StringSet s = Strings("male", "27", "lgt", c.stored, "c001masho,HEAD-HEAD=c001masholgt_face");
      AppearanceEditor editor(host, {dir.path()});
      ASSERT_TRUE(editor.Attach(&s));
      std::vector<std::string> suits;
      for (const auto& e : editor.GetBodyList()) suits.push_back(e.suit);
      SetRandomSeed(seed);
      const uint32_t draw = NextRandom() % static_cast<uint32_t>(c.candidates.size());
      SetRandomSeed(seed);
      std::vector<int> changed;
      editor.Repair(changed);
      EXPECT_EQ(S(s, 2).substr(0, 9), c.candidates[draw]) << c.stored << " seed " << seed;
      EXPECT_NE(std::find(changed.begin(), changed.end(), 2), changed.end());
      EXPECT_NE(std::find(changed.begin(), changed.end(), 16), changed.end()) << "rebuilt";
      EXPECT_EQ(std::find(changed.begin(), changed.end(), 3), changed.end()) << "the head fitted";
    }
  }
}

TEST_F(AppearanceEditorTest, RepairWithEmptyListsEmptiesTheChoice) {
  StringSet s = Strings("female", "9", "lgt", "b009mafat,BODY=gone", "c009masho,HEAD-HEAD=gone");
  host.suits = {"suit-c001masho"};
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  std::vector<int> changed;
  editor.Repair(changed);
  EXPECT_EQ(S(s, 2), "");
  EXPECT_EQ(S(s, 3), "");
  EXPECT_EQ(changed, (std::vector<int>{2, 3}));
}

TEST_F(AppearanceEditorTest, DetachRestoresOrSaves) {
  const std::string path = dir / "person.iff";
  {
    StringSet s = Strings("male", "27", "lgt");
    IFFResFile2 file;
    ASSERT_EQ(file.Create(path), 0);
    ASSERT_EQ(file.Open(path), 0);
    ASSERT_EQ(s.SaveTo(&file, 200), 0);
    file.Close();
  }
  IFFResFile2 file;
  ASSERT_EQ(file.Open(path), 0);
  StringSet s;
  ASSERT_EQ(s.LoadFromFile(&file, 200, false), 0);
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  editor.SetSex(true);
  editor.Detach(false);
  EXPECT_EQ(S(s, 13), "male") << "put back as attached";
  EXPECT_EQ(S(s, 2), "");
  ASSERT_TRUE(editor.Attach(&s));
  editor.SetAge(true);
  editor.Detach(true);
  StringSet reread;
  ASSERT_EQ(reread.LoadFromFile(&file, 200, false), 0);
  EXPECT_EQ(S(reread, 14), "9");
  EXPECT_EQ(S(reread, 2), "b002ucfit,BODY=b002ucfitlgt_kid");
}

TEST_F(AppearanceEditorTest, Templates) {
  StringSet s = Strings("male", "27", "lgt", "b001mafit,BODY=b001mafitlgt_plain");
  AppearanceEditor editor(host, {dir.path()});
  ASSERT_TRUE(editor.Attach(&s));
  const AppearanceChoice n = editor.FindTemplate("n$G$B", true);
  EXPECT_EQ(n.suit, "nmfit");
  EXPECT_EQ(n.texture, "BODY=nmfitlgt");
  const AppearanceChoice skin = editor.FindTemplate("c001ma$xsho$C", false);
  EXPECT_EQ(skin.suit, "") << "no suit carries the skin key";
  EXPECT_EQ(skin.texture, "HEAD-HEAD=c001masholgt_face") << "$x is dropped";
}

}  // namespace
