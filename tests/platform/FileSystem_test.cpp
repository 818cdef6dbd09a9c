#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/File.h"
#include "support/TempFolder.h"

namespace {

using platform::File;
using tova_test::TempFolder;

std::vector<std::string> Names(const std::vector<platform::DirectoryEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  return names;
}

TEST(FileSystemTest, FindsNamesUnderAnotherLetterCase) {
  TempFolder t;
  t.Write("GameData/Objects/chair.iff", "chair");
  const std::string asked = t.path() + "\\GAMEDATA\\objects\\CHAIR.IFF";
  EXPECT_EQ(platform::ResolvePath(asked), t / "GameData/Objects/chair.iff");
  EXPECT_TRUE(platform::FileExists(asked));
  File f;
  ASSERT_TRUE(f.Open(asked, File::kRead, File::Disposition::kOpenExisting));
  char buf[8] = {};
  EXPECT_EQ(f.Read(buf, sizeof buf), 5);
  EXPECT_EQ(std::string(buf), "chair");
}

TEST(FileSystemTest, MissingPartsAreKeptAsGiven) {
  TempFolder t;
  t.Write("GameData/x", "");
  EXPECT_EQ(platform::ResolvePath(t.path() + "/gamedata/New/File.IFF"), t / "GameData/New/File.IFF");
}

TEST(FileSystemTest, DotPartsAreKeptWhereverTheyStand) {
  TempFolder t;
  t.Write("GameData/x", "");
  const struct {
    const char* asked;
    const char* resolved;
  } cases[] = {
      {"GameData/..", "GameData/.."},        // exists as written
      {"gamedata/..", "GameData/.."},        // a folder under another case
      {"GameData/x/..", "GameData/x/.."},    // below a file: only the folder is there
      {"GameData/x/.", "GameData/x/."},
      {"Missing/..", "Missing/.."},          // nothing below a missing part is searched
      {"gamedata/./X", "GameData/./x"},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::ResolvePath(t / c.asked), t / c.resolved) << c.asked;
}

TEST(FileSystemTest, ExactNameWinsOverOtherCase) {
  TempFolder t;
  t.Write("a.iff", "lower");
  t.Write("A.iff", "upper");
  EXPECT_EQ(platform::ResolvePath(t / "A.iff"), t / "A.iff");
  EXPECT_EQ(platform::ResolvePath(t / "a.iff"), t / "a.iff");
  // Neither spelling given: the first in byte order, whatever the disk's order.
  EXPECT_EQ(platform::ResolvePath(t / "a.IFF"), t / "A.iff");
}

TEST(FileSystemTest, CacheNoticesNewFile) {
  TempFolder t;
  t.Write("Data/one.txt", "1");
  EXPECT_FALSE(platform::FileExists(t / "DATA/TWO.TXT"));  // the folder is now cached
  t.Write("Data/Two.txt", "2");                            // created behind the layer's back
  EXPECT_TRUE(platform::FileExists(t / "DATA/TWO.TXT"));
  // And a file removed behind its back is no longer found.
  ASSERT_EQ(unlink((t / "Data/Two.txt").c_str()), 0);
  EXPECT_FALSE(platform::FileExists(t / "DATA/TWO.TXT"));
}

TEST(FileSystemTest, RepeatedMissesStillSeeChangesMadeBehindTheLayersBack) {
  TempFolder t;
  t.Write("Data/keep.txt", "k");
  // Changes follow each other faster than any clock tick: every step must
  // still see the one before it.
  for (int i = 0; i < 50; ++i) {
    const std::string asked = t / ("DATA/NAME" + std::to_string(i) + ".TXT");
    const std::string real = "Data/Name" + std::to_string(i) + ".txt";
    EXPECT_FALSE(platform::FileExists(asked)) << i;
    EXPECT_FALSE(platform::FileExists(asked)) << i;  // a second miss, answered from the cache
    t.Write(real, "n");
    EXPECT_TRUE(platform::FileExists(asked)) << i;
    EXPECT_EQ(platform::ResolvePath(asked), t / real) << i;
    ASSERT_EQ(unlink((t / real).c_str()), 0);
    EXPECT_FALSE(platform::FileExists(asked)) << i;
    // The folder is found; the missing name is kept as given.
    EXPECT_EQ(platform::ResolvePath(asked), t / ("Data/NAME" + std::to_string(i) + ".TXT")) << i;
  }
}

TEST(FileSystemTest, RemovingOneSpellingFindsTheOther) {
  TempFolder t;
  t.Write("Data/A.iff", "upper");
  t.Write("Data/a.iff", "lower");
  EXPECT_EQ(platform::ResolvePath(t / "data/a.IFF"), t / "Data/A.iff");
  ASSERT_EQ(unlink((t / "Data/A.iff").c_str()), 0);
  EXPECT_EQ(platform::ResolvePath(t / "data/a.IFF"), t / "Data/a.iff");
  ASSERT_EQ(unlink((t / "Data/a.iff").c_str()), 0);
  EXPECT_FALSE(platform::FileExists(t / "data/a.IFF"));
}

TEST(FileSystemTest, CacheNoticesOwnCreateDeleteAndMove) {
  TempFolder t;
  ASSERT_TRUE(platform::CreateDirectory(t / "Saves"));
  EXPECT_FALSE(platform::FileExists(t / "SAVES/House01.iff"));
  File f;
  ASSERT_TRUE(f.Open(t / "saves/House01.iff", File::kWrite, File::Disposition::kCreateNew));
  f.Close();
  EXPECT_TRUE(t.Has("Saves/House01.iff"));
  EXPECT_TRUE(platform::FileExists(t / "SAVES/HOUSE01.IFF"));
  ASSERT_TRUE(platform::MoveFile(t / "saves/house01.iff", t / "saves/House02.iff"));
  EXPECT_FALSE(platform::FileExists(t / "SAVES/HOUSE01.IFF"));
  EXPECT_TRUE(platform::FileExists(t / "SAVES/HOUSE02.IFF"));
  ASSERT_TRUE(platform::DeleteFile(t / "SAVES/HOUSE02.IFF"));
  EXPECT_FALSE(platform::FileExists(t / "saves/house02.iff"));
}

TEST(FileSystemTest, MoveOntoExistingFileFailsAndLeavesBoth) {
  TempFolder t;
  t.Write("from.txt", "from");
  t.Write("To.txt", "to");
  EXPECT_FALSE(platform::MoveFile(t / "from.txt", t / "to.txt"));  // exists under another case
  EXPECT_FALSE(platform::MoveFile(t / "from.txt", t / "To.txt"));
  EXPECT_EQ(t.Read("from.txt"), "from");
  EXPECT_EQ(t.Read("To.txt"), "to");
}

TEST(FileSystemTest, MoveOntoAnotherLinkOfTheSameFileFails) {
  TempFolder t;
  t.Write("a.txt", "data");
  ASSERT_EQ(link((t / "a.txt").c_str(), (t / "A.TXT").c_str()), 0);
  EXPECT_FALSE(platform::MoveFile(t / "a.txt", t / "A.TXT"));
  EXPECT_TRUE(t.Has("a.txt"));
  EXPECT_TRUE(t.Has("A.TXT"));
}

TEST(FileSystemTest, MoveRenamesFoldersAndChangesCase) {
  TempFolder t;
  t.Write("Dir/f.txt", "x");
  ASSERT_TRUE(platform::MoveFile(t / "dir", t / "Moved"));
  EXPECT_EQ(t.Read("Moved/f.txt"), "x");
  ASSERT_TRUE(platform::MoveFile(t / "Moved/f.txt", t / "Moved/F.TXT"));  // case only
  EXPECT_TRUE(t.Has("Moved/F.TXT"));
  EXPECT_FALSE(t.Has("Moved/f.txt"));
  EXPECT_FALSE(platform::MoveFile(t / "missing", t / "other"));
}

TEST(FileSystemTest, CopyHonoursFailIfExists) {
  TempFolder t;
  t.Write("a.txt", "new contents");
  t.Write("B.txt", "old");
  EXPECT_FALSE(platform::CopyFile(t / "a.txt", t / "b.txt", true));
  EXPECT_EQ(t.Read("B.txt"), "old");
  EXPECT_TRUE(platform::CopyFile(t / "A.TXT", t / "b.txt", false));
  EXPECT_EQ(t.Read("B.txt"), "new contents");
  EXPECT_TRUE(platform::CopyFile(t / "a.txt", t / "c.txt", true));
  EXPECT_EQ(t.Read("c.txt"), "new contents");
  EXPECT_FALSE(platform::CopyFile(t / "a.txt", t / "A.TXT", false));  // onto itself
  EXPECT_EQ(t.Read("a.txt"), "new contents");
  EXPECT_FALSE(platform::CopyFile(t / "missing", t / "d.txt", false));
  EXPECT_FALSE(t.Has("d.txt"));
}

TEST(FileSystemTest, ExistenceIsForRegularFilesOnly) {
  TempFolder t;
  t.Write("Folder/file", "");
  EXPECT_TRUE(platform::FileExists(t / "folder/FILE"));
  EXPECT_FALSE(platform::FileExists(t / "Folder"));
  EXPECT_TRUE(platform::DirectoryExists(t / "FOLDER"));
  EXPECT_FALSE(platform::DirectoryExists(t / "Folder/file"));
  EXPECT_FALSE(platform::FileExists(""));
  File f;
  EXPECT_FALSE(f.Open(t / "Folder", File::kRead, File::Disposition::kOpenExisting));
}

TEST(FileSystemTest, ReadOnlyBlocksWritingAndDeletingAndHiddenIsAccepted) {
  TempFolder t;
  t.Write("ro.txt", "keep");
  ASSERT_TRUE(platform::SetReadOnly(t / "RO.TXT", true));
  EXPECT_TRUE(platform::IsReadOnly(t / "ro.txt"));
  File f;
  EXPECT_FALSE(f.Open(t / "ro.txt", File::kWrite, File::Disposition::kOpenExisting));
  EXPECT_FALSE(f.Open(t / "ro.txt", File::kRead | File::kWrite, File::Disposition::kCreateAlways));
  EXPECT_TRUE(f.Open(t / "ro.txt", File::kRead, File::Disposition::kOpenExisting));
  f.Close();
  EXPECT_FALSE(platform::DeleteFile(t / "ro.txt"));
  EXPECT_FALSE(platform::CopyFile(t / "ro.txt", t / "ro.txt", false));
  EXPECT_TRUE(platform::CopyFile(t / "ro.txt", t / "copy.txt", true));
  EXPECT_TRUE(platform::IsReadOnly(t / "copy.txt"));  // the attribute travels with the copy
  EXPECT_EQ(t.Read("ro.txt"), "keep");
  EXPECT_TRUE(platform::SetHidden(t / "ro.txt", true));
  EXPECT_FALSE(platform::SetHidden(t / "missing", true));
  ASSERT_TRUE(platform::SetReadOnly(t / "ro.txt", false));
  EXPECT_TRUE(platform::DeleteFile(t / "ro.txt"));
  EXPECT_FALSE(t.Has("ro.txt"));
}

TEST(FileSystemTest, DirectoriesAreCreatedAndRemoved) {
  TempFolder t;
  EXPECT_TRUE(platform::CreateDirectory(t / "One"));
  EXPECT_FALSE(platform::CreateDirectory(t / "ONE"));  // exists under another case
  EXPECT_FALSE(platform::CreateDirectory(t / "missing/child"));
  EXPECT_TRUE(platform::CreateDirectories(t / "one\\Two\\Three"));
  EXPECT_TRUE(t.Has("One/Two/Three"));
  EXPECT_FALSE(platform::RemoveDirectory(t / "one/two"));  // not empty
  EXPECT_TRUE(platform::RemoveDirectory(t / "one/two/three"));
  EXPECT_FALSE(t.Has("One/Two/Three"));
  EXPECT_FALSE(platform::DeleteFile(t / "One"));  // folders are not files
}

TEST(FileSystemTest, ListingMatchesWildcardsAndSkipsDotEntries) {
  TempFolder t;
  t.Write("L/Chair.IFF", "12345");
  t.Touch({"L/table.iff", "L/readme", "L/.hidden.iff", "L/Sub/x.iff"});
  EXPECT_EQ(Names(platform::ListDirectory(t / "l", "*.*")),
            (std::vector<std::string>{".hidden.iff", "Chair.IFF", "readme", "Sub", "table.iff"}));
  EXPECT_EQ(Names(platform::FindFiles(t / "L\\*.iff")),
            (std::vector<std::string>{".hidden.iff", "Chair.IFF", "table.iff"}));
  EXPECT_EQ(Names(platform::FindFiles(t / "l/?ABLE.*")), (std::vector<std::string>{"table.iff"}));
  const auto all = platform::ListDirectory(t / "L");
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all[1].size, 5u);
  EXPECT_FALSE(all[1].isDirectory);
  EXPECT_TRUE(all[3].isDirectory);
  EXPECT_TRUE(platform::ListDirectory(t / "nothing-here").empty());
}

TEST(FileSystemTest, StatusReportsKindSizeAndTime) {
  TempFolder t;
  t.Write("f.bin", "abc");
  const auto st = platform::GetFileStatus(t / "F.BIN");
  ASSERT_TRUE(st.has_value());
  EXPECT_FALSE(st->isDirectory);
  EXPECT_EQ(st->size, 3u);
  EXPECT_GT(st->modifiedNs, 0);
  EXPECT_FALSE(platform::GetFileStatus(t / "none").has_value());
}

TEST(FileSystemTest, RelativePathsResolveAgainstWorkingFolder) {
  TempFolder t;
  t.Write("GameData/Scenario.zdv", "");
  const std::string old = platform::CurrentDirectory();
  ASSERT_TRUE(platform::SetCurrentDirectory(t.path()));
  EXPECT_TRUE(platform::FileExists("gamedata\\scenario.ZDV"));
  EXPECT_TRUE(platform::FileExists(".\\GAMEDATA\\Scenario.zdv"));
  EXPECT_EQ(platform::ResolvePath("gamedata\\scenario.ZDV"), "GameData/Scenario.zdv");
  ASSERT_TRUE(platform::SetCurrentDirectory(old));
}

}  // namespace
