#include "platform/File.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/TempFolder.h"

namespace {

using platform::File;
using Disposition = platform::File::Disposition;
using tova_test::TempFolder;

TEST(FileTest, DispositionTable) {
  struct Case {
    Disposition disposition;
    bool exists;       // the file is there before the open
    bool opens;        // the open succeeds
    const char* after; // the contents afterwards (nullptr: no file)
  } cases[] = {
      {Disposition::kCreateNew, false, true, ""},
      {Disposition::kCreateNew, true, false, "old"},
      {Disposition::kCreateAlways, false, true, ""},
      {Disposition::kCreateAlways, true, true, ""},
      {Disposition::kOpenExisting, false, false, nullptr},
      {Disposition::kOpenExisting, true, true, "old"},
      {Disposition::kOpenAlways, false, true, ""},
      {Disposition::kOpenAlways, true, true, "old"},
      {Disposition::kTruncateExisting, false, false, nullptr},
      {Disposition::kTruncateExisting, true, true, ""},
  };
  for (const Case& c : cases) {
    TempFolder t;
    if (c.exists) t.Write("File.dat", "old");
    File f;
    // Asked for under another case: the existing file must still be the one found.
    const bool opened = f.Open(t / "FILE.DAT", File::kRead | File::kWrite, c.disposition);
    f.Close();
    const int which = static_cast<int>(c.disposition);
    EXPECT_EQ(opened, c.opens) << which << " exists=" << c.exists;
    EXPECT_EQ(f.WasMissing(), !opened && !c.exists) << which;
    const bool present = t.Has("File.dat") || t.Has("FILE.DAT");
    EXPECT_EQ(present, c.after != nullptr) << which;
    if (c.after != nullptr) {
      EXPECT_EQ(t.Read(c.exists ? "File.dat" : "FILE.DAT"), c.after) << which;
    }
  }
}

TEST(FileTest, OnlyAMissingFileOrFolderIsReportedMissing) {
  TempFolder t;
  t.Write("Data/locked.dat", "x");
  ASSERT_TRUE(platform::SetReadOnly(t / "Data/locked.dat", true));
  const struct {
    const char* path;
    unsigned access;
    bool missing;
  } cases[] = {
      {"Data/none.dat", File::kRead, true},
      {"DATA/NONE.DAT", File::kRead | File::kWrite, true},
      {"Nowhere/none.dat", File::kRead, true},           // a folder on the way is missing
      {"Data/locked.dat/inner", File::kRead, true},      // a file stands where a folder should
      {"Data/locked.dat", File::kRead | File::kWrite, false},  // there, but read-only
      {"Data", File::kRead, false},                      // a folder never opens
  };
  for (const auto& c : cases) {
    File f;
    EXPECT_FALSE(f.Open(t / c.path, c.access, Disposition::kOpenExisting)) << c.path;
    EXPECT_EQ(f.WasMissing(), c.missing) << c.path;
  }
  // A later successful open clears it.
  File f;
  ASSERT_FALSE(f.Open(t / "Data/none.dat", File::kRead, Disposition::kOpenExisting));
  ASSERT_TRUE(f.Open(t / "data/LOCKED.dat", File::kRead, Disposition::kOpenExisting));
  EXPECT_FALSE(f.WasMissing());
}

TEST(FileTest, TruncateExistingNeedsWriteAccess) {
  TempFolder t;
  t.Write("a", "data");
  File f;
  EXPECT_FALSE(f.Open(t / "a", File::kRead, Disposition::kTruncateExisting));
  EXPECT_EQ(t.Read("a"), "data");
}

TEST(FileTest, ReadWriteSeekSizeTruncate) {
  TempFolder t;
  File f;
  ASSERT_TRUE(f.Open(t / "rw.bin", File::kRead | File::kWrite, Disposition::kCreateNew));
  EXPECT_EQ(f.Write("hello world", 11), 11);
  EXPECT_EQ(f.Position(), 11);
  EXPECT_EQ(f.Size(), 11);
  EXPECT_EQ(f.Seek(-5, File::Origin::kEnd), 6);
  char buf[16] = {};
  EXPECT_EQ(f.Read(buf, 16), 5);  // short read at the end
  EXPECT_EQ(std::string(buf, 5), "world");
  EXPECT_EQ(f.Read(buf, 16), 0);
  EXPECT_EQ(f.Seek(-100, File::Origin::kCurrent), -1);  // before the start: refused
  EXPECT_EQ(f.Position(), 11);
  EXPECT_EQ(f.Seek(2, File::Origin::kBegin), 2);
  EXPECT_EQ(f.Seek(3, File::Origin::kCurrent), 5);
  EXPECT_TRUE(f.Truncate(5));
  EXPECT_EQ(f.Size(), 5);
  EXPECT_EQ(f.Position(), 5);
  EXPECT_TRUE(f.Truncate(8));  // growing fills with zeros
  EXPECT_EQ(f.Size(), 8);
  EXPECT_TRUE(f.Flush());
  f.Close();
  EXPECT_EQ(t.Read("rw.bin"), std::string("hello\0\0\0", 8));
}

TEST(FileTest, PositionalReadLeavesThePositionAlone) {
  TempFolder t;
  t.Write("p.bin", "0123456789");
  File f;
  ASSERT_TRUE(f.Open(t / "p.bin", File::kRead, Disposition::kOpenExisting));
  EXPECT_EQ(f.Seek(1, File::Origin::kBegin), 1);
  char buf[4] = {};
  EXPECT_EQ(f.ReadAt(buf, 4, 6), 4);
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_EQ(f.ReadAt(buf, 4, 8), 2);
  EXPECT_EQ(f.ReadAt(buf, 4, -1), -1);
  EXPECT_EQ(f.Position(), 1);
}

TEST(FileTest, ReadToEndAppendsTheRestAcrossChunks) {
  TempFolder t;
  std::string bytes;
  for (int i = 0; i < 40000; ++i) bytes += static_cast<char>('a' + i % 26);
  t.Write("big.bin", bytes);
  File f;
  ASSERT_TRUE(f.Open(t / "big.bin", File::kRead, Disposition::kOpenExisting));
  ASSERT_EQ(f.Seek(5, File::Origin::kBegin), 5);
  std::string out = "kept";
  EXPECT_TRUE(f.ReadToEnd(out));
  EXPECT_EQ(out, "kept" + bytes.substr(5));
  f.Close();
  EXPECT_FALSE(f.ReadToEnd(out));
}

TEST(FileTest, ReadRestTakesAStreamFromItsPositionToItsEnd) {
  TempFolder t;
  std::string bytes;
  for (int i = 0; i < 150000; ++i) bytes += static_cast<char>('a' + i % 26);
  t.Write("big.bin", bytes);
  std::ifstream in(t / "big.bin", std::ios::binary);
  in.seekg(7);
  EXPECT_EQ(platform::ReadRest(in), bytes.substr(7)) << "across several blocks";
  EXPECT_EQ(platform::ReadRest(in), "") << "at the end";
  std::istringstream text("head|tail");
  text.ignore(5);
  EXPECT_EQ(platform::ReadRest(text), "tail");
  std::ifstream folder(t.path(), std::ios::binary);
  EXPECT_EQ(platform::ReadRest(folder), "");
}

TEST(FileTest, ClosedFileFailsEverything) {
  File f;
  char c;
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(f.Close());
  EXPECT_EQ(f.Read(&c, 1), -1);
  EXPECT_EQ(f.Write(&c, 1), -1);
  EXPECT_EQ(f.Seek(0, File::Origin::kBegin), -1);
  EXPECT_EQ(f.Size(), -1);
  EXPECT_FALSE(f.Truncate(0));
  EXPECT_FALSE(f.Flush());
}

TEST(FileTest, ReadOnlyHandleCannotWriteAndMoveKeepsTheHandle) {
  TempFolder t;
  t.Write("r", "abc");
  File f;
  ASSERT_TRUE(f.Open(t / "R", File::kRead, Disposition::kOpenExisting));
  EXPECT_EQ(f.Write("x", 1), -1);
  File g = std::move(f);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_TRUE(g.IsOpen());
  EXPECT_EQ(g.Path(), t / "r");
}

}  // namespace
