#include "framework/cRZFile.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

TEST(cRZFileTest, OpenReadWriteSeek) {
  TempFolder t;
  cRZFile f(cRZString(t / "Data.bin"));
  EXPECT_FALSE(f.Open(cIGZFile::kRead, 7, 0));  // no such disposition
  ASSERT_TRUE(f.Open(cIGZFile::kRead | cIGZFile::kWrite, cIGZFile::kCreateNew, 3));
  EXPECT_TRUE(f.Open(cIGZFile::kRead, cIGZFile::kOpenExisting, 0));  // already open: true, no reopen
  ASSERT_TRUE(f.Write("0123456789", 10));
  EXPECT_EQ(f.SeekAbsolute(6), 6u);
  EXPECT_EQ(f.Seek(0, 7), 6u);  // unknown origin: no move
  EXPECT_EQ(f.GetPosition(), 6u);
  char buf[10];
  EXPECT_FALSE(f.Read(buf, 10));  // only 4 left: false, the 4 are consumed
  EXPECT_EQ(f.GetPosition(), 10u);
  EXPECT_EQ(f.SeekRelative(-4), 6u);
  uint32_t count = 10;
  EXPECT_TRUE(f.ReadSome(buf, count));
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(f.SeekToBegin(), 0u);
  EXPECT_EQ(f.SeekToEnd(), 10u);
  EXPECT_TRUE(f.SetSize(3));
  EXPECT_EQ(f.GetSize(), 3u);
  EXPECT_TRUE(f.Flush());
  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.Close());
  EXPECT_EQ(f.GetPosition(), 0u);
  EXPECT_EQ(f.GetSize(), 0u);
  EXPECT_FALSE(f.Read(buf, 1));
  EXPECT_EQ(t.Read("Data.bin"), "012");
  cRZFile again(cRZString(t / "DATA.BIN"));
  EXPECT_FALSE(again.Open(cIGZFile::kWrite, cIGZFile::kCreateNew, 0));
}

TEST(cRZFileTest, FailedRenameKeepsTheOldPath) {
  TempFolder t;
  t.Write("a.txt", "a");
  t.Write("b.txt", "b");
  cRZFile f(cRZString(t / "a.txt"));
  EXPECT_FALSE(f.Rename(cRZString(t / "b.txt")));
  EXPECT_EQ(std::string(f.GetPathCString()), t / "a.txt");
  EXPECT_TRUE(f.Delete());  // deletes a.txt, never the file that blocked the move
  EXPECT_EQ(t.Read("b.txt"), "b");
  EXPECT_FALSE(t.Has("a.txt"));
  cRZFile g(cRZString(t / "b.txt"));
  ASSERT_TRUE(g.Rename(cRZString(t / "c.txt")));
  EXPECT_EQ(std::string(g.GetPathCString()), t / "c.txt");
  EXPECT_TRUE(g.Exists());
}

TEST(cRZFileTest, CopiesExistenceAndAttributes) {
  TempFolder t;
  t.Write("src.txt", "source");
  t.Write("Folder/x", "");
  cRZFile target(cRZString(t / "dst.txt"));
  EXPECT_TRUE(target.CopyFromPath(cRZString(t / "SRC.TXT"), true));
  EXPECT_FALSE(target.CopyFromPath(cRZString(t / "src.txt"), true));
  cRZFile source(cRZString(t / "src.txt"));
  EXPECT_TRUE(target.CopyFrom(source, false));
  EXPECT_EQ(t.Read("dst.txt"), "source");
  EXPECT_TRUE(FileExists(cRZString(t / "dst.txt")));
  EXPECT_FALSE(FileExists(cRZString(t / "Folder")));
  EXPECT_TRUE(CopyFilePath(cRZString(t / "src.txt"), cRZString(t / "third.txt"), true));

  EXPECT_TRUE(SetFileAttributeBits(cRZString(t / "dst.txt"), 1, true));
  cRZFile ro(cRZString(t / "dst.txt"));
  EXPECT_FALSE(ro.Open(cIGZFile::kWrite, cIGZFile::kOpenExisting, 0));
  EXPECT_TRUE(SetFileAttributeBits(cRZString(t / "dst.txt"), 2, false));  // hidden only: read-only stays
  EXPECT_FALSE(ro.Open(cIGZFile::kWrite, cIGZFile::kOpenExisting, 0));
  EXPECT_TRUE(SetFileAttributeBits(cRZString(t / "dst.txt"), 1, false));
  EXPECT_TRUE(ro.Open(cIGZFile::kWrite, cIGZFile::kOpenExisting, 0));
  EXPECT_FALSE(SetFileAttributeBits(cRZString(t / "none"), 1, true));
}

TEST(cRZFileTest, TitleAndDirectory) {
  cRZString out;
  EXPECT_TRUE(GetFileTitle(cRZString("GameData\\Houses\\House01.iff"), out));
  EXPECT_EQ(out, "House01");
  EXPECT_TRUE(GetFileDirectory(cRZString("GameData\\Houses\\House01.iff"), out));
  EXPECT_EQ(out, "GameData\\Houses\\");
  EXPECT_FALSE(GetFileDirectory(cRZString("plain.txt"), out));
  EXPECT_FALSE(GetFileTitle(cRZString("dir\\.txt"), out));
}

TEST(cRZFileTest, CloseAllFilesClosesWithoutDeleting) {
  TempFolder t;
  cRZFile onStack((t / "s.txt").c_str());
  auto* onHeap = new cRZFile((t / "h.txt").c_str());
  onHeap->AddRef();
  ASSERT_TRUE(onStack.Open(cIGZFile::kWrite, cIGZFile::kCreateAlways, 0));
  ASSERT_TRUE(onHeap->Open(cIGZFile::kWrite, cIGZFile::kCreateAlways, 0));
  CloseAllFiles();
  EXPECT_FALSE(onStack.IsOpen());
  EXPECT_FALSE(onHeap->IsOpen());
  EXPECT_EQ(onHeap->AddRef(), 2u);
  EXPECT_EQ(onHeap->Release(), 1u);
  EXPECT_EQ(onHeap->Release(), 0u);  // deleted by its last reference
}

}  // namespace
