#include "framework/DirectoryListing.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

std::vector<std::string> Names(const std::list<DirectoryListing::Item>& items) {
  std::vector<std::string> out;
  for (const auto& i : items) out.push_back(i.name + (i.kind == DirectoryListing::kDirectory ? "/" : ""));
  return out;
}

TEST(DirectoryListingTest, ScanAndDotRules) {
  TempFolder t;
  t.Write("Music/a.mp3", "");
  t.Write("Music/B.MP3", "");
  t.Write("Music/notes.txt", "");
  t.Write("Music/Sub/x", "");
  DirectoryListing plain(cRZString(t / "music"), true, false, false);
  EXPECT_EQ(Names(plain.Items()), (std::vector<std::string>{"a.mp3", "B.MP3", "notes.txt", "Sub/"}));
  EXPECT_TRUE(plain.Contains("B.MP3"));
  EXPECT_FALSE(plain.Contains("b.mp3"));  // exact comparison

  DirectoryListing dots(cRZString(t / "Music\\"), true, true, true);
  EXPECT_EQ(Names(dots.Items()), (std::vector<std::string>{"../", "./", "a.mp3", "B.MP3", "notes.txt", "Sub/"}));
  dots.SetPattern("*.mp3", true);
  EXPECT_EQ(Names(dots.Items()), (std::vector<std::string>{"a.mp3", "B.MP3", "../", "./"}));
  dots.SetPattern("", true);
  EXPECT_EQ(dots.Pattern(), "*.*");

  std::list<DirectoryListing::Item> mine;
  ASSERT_TRUE(plain.ListInto(mine, DirectoryListing::kListDirectories | DirectoryListing::kListDotDot));
  EXPECT_EQ(Names(mine), (std::vector<std::string>{"../", "Sub/"}));

  DirectoryListing missing(cRZString(t / "none"), true, true, true);
  EXPECT_FALSE(missing.Scan());
  EXPECT_EQ(missing.Count(), 0u);
}

}  // namespace
