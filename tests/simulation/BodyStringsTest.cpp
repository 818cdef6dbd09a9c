// A person's body strings: splitting suit entries, growing the set,
// merging an edited copy with its original and comparing sets.
#include <gtest/gtest.h>

#include "gamedata/BodyStrings.h"
#include "resfile/StringSet.h"

namespace tova_test {
namespace {

using namespace tova;

StringSet SetOf(const std::vector<std::string>& entries) {
  StringSet set;
  for (const std::string& e : entries) set.SetString(set.GetCount() + 1, e.c_str());
  return set;
}

std::vector<std::string> Entries(const StringSet& set) {
  std::vector<std::string> out;
  for (int n = 1; n <= set.GetCount(); ++n) out.push_back(BodyStrings::Get(set, n));
  return out;
}

TEST(BodyStrings, SplitEntryFoldsTheSuitAndTheTextureAfterItsKey) {
  struct Case {
    std::string text;
    bool second;
    std::string suit, texture;
  } cases[] = {
      {"B001,BODY=Lgt_X", false, "b001", "BODY=lgt_x"},
      {"B001,BODY=Lgt_X;C002,HAND=Drk", true, "c002", "HAND=drk"},
      {"B001,BODY=Lgt_X;C002,HAND=Drk", false, "b001", "BODY=lgt_x"},
      {"B001,BODY=Lgt_X", true, "", ""},  // no second part
      {"Skel-ADULT", false, "skel-adult", ""},
      {"Suit,NoKey", false, "suit", "nokey"},
      {"Suit,a=B=C", false, "suit", "a=b=c"},
      {"", false, "", ""},
      {";", true, "", ""},
  };
  for (const Case& c : cases) {
    StringSet set = SetOf({"skeleton", c.text});
    std::string suit = "stale", texture = "stale";
    BodyStrings::SplitEntry(set, 2, suit, texture, c.second);
    EXPECT_EQ(suit, c.suit) << c.text;
    EXPECT_EQ(texture, c.texture) << c.text;
  }
  std::string suit = "stale", texture = "stale";
  BodyStrings::SplitEntry(SetOf({}), 7, suit, texture, false);
  EXPECT_EQ(suit + texture, "") << "an absent entry empties both";
}

TEST(BodyStrings, SetEntryGrowsTheSetWithEmptyEntries) {
  StringSet set = SetOf({"one", "two"});
  BodyStrings::SetEntry(set, 5, "five");
  EXPECT_EQ(Entries(set), (std::vector<std::string>{"one", "two", "", "", "five"}));
  BodyStrings::SetEntry(set, 2, "TWO");
  EXPECT_EQ(Entries(set), (std::vector<std::string>{"one", "TWO", "", "", "five"}));
  BodyStrings::SetEntry(set, 0, "none");
  EXPECT_EQ(set.GetCount(), 5) << "entries count from 1";
}

TEST(BodyStrings, MergeChangedKeepsTheOriginalBehindTheEdit) {
  StringSet base = SetOf({"skel", "B001,BODY=Lgt", "H1,HEAD-HEAD=Pale", "4", "5"});
  BodyStrings::SetEntry(base, 16, "B2,BODY=Swim");
  BodyStrings::SetEntry(base, 18, "L,HAND=Pale");
  BodyStrings::SetEntry(base, 20, "L,HAND=Pale");
  StringSet edited;
  edited.CopyFrom(base);
  BodyStrings::SetEntry(edited, 1, "other-skeleton");  // not a suit entry
  BodyStrings::SetEntry(edited, 2, "B001,BODY=Drk;old");
  BodyStrings::SetEntry(edited, 3, "h1,head-head=pale");  // differs in case only
  BodyStrings::SetEntry(edited, 16, "B3,BODY=Swim");     // same texture
  BodyStrings::SetEntry(edited, 18, "L,HAND=Drk");
  BodyStrings::SetEntry(edited, 20, "L,HAND=DRK");

  std::vector<std::string> textures = {"PALE"};
  BodyStrings::MergeChanged(edited, base, textures);
  EXPECT_EQ(BodyStrings::Get(edited, 1), "other-skeleton");
  EXPECT_EQ(BodyStrings::Get(edited, 2), "B001,BODY=Drk;B001,BODY=Lgt");
  EXPECT_EQ(BodyStrings::Get(edited, 3), "h1,head-head=pale");
  EXPECT_EQ(BodyStrings::Get(edited, 16), "B3,BODY=Swim;B2,BODY=Swim");
  EXPECT_EQ(BodyStrings::Get(edited, 18), "L,HAND=Drk;L,HAND=Pale");
  EXPECT_EQ(BodyStrings::Get(edited, 20), "L,HAND=DRK;L,HAND=Pale");
  EXPECT_EQ(textures, (std::vector<std::string>{"PALE", "lgt"})) << "keys dropped, known textures once";

  // The merged set wears the edits now and keeps the originals after ';'.
  std::string suit, texture;
  BodyStrings::SplitEntry(edited, 2, suit, texture, true);
  EXPECT_EQ(texture, "BODY=lgt");
  // Keeping the second parts gives the original suits back.
  BodyStrings::KeepSecond(edited);
  BodyStrings::SetEntry(edited, 1, "skel");
  BodyStrings::SetEntry(edited, 3, "H1,HEAD-HEAD=Pale");
  EXPECT_EQ(BodyStrings::Compare(edited, base), 0);
}

TEST(BodyStrings, KeepSecondTakesTheTextAfterTheFirstSemicolon) {
  StringSet set = SetOf({"plain", "a;b", "a;b;c", ";", "x;"});
  BodyStrings::KeepSecond(set);
  EXPECT_EQ(Entries(set), (std::vector<std::string>{"plain", "b", "b;c", "", ""}));
}

TEST(BodyStrings, CompareGivesCountDifferenceThenFirstDifferingEntry) {
  EXPECT_EQ(BodyStrings::Compare(SetOf({"a", "b", "c"}), SetOf({"a"})), 2);
  EXPECT_EQ(BodyStrings::Compare(SetOf({}), SetOf({"a", "b"})), -2);
  EXPECT_EQ(BodyStrings::Compare(SetOf({"a", "b"}), SetOf({"a", "b"})), 0);
  EXPECT_LT(BodyStrings::Compare(SetOf({"a", "B"}), SetOf({"a", "b"})), 0) << "byte-wise, case counts";
  EXPECT_GT(BodyStrings::Compare(SetOf({"b", "a"}), SetOf({"a", "b"})), 0) << "the first difference decides";
}

}  // namespace
}  // namespace tova_test
