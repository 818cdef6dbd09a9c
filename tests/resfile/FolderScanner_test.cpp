#include "resfile/FolderScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "framework/CTGFileManager.h"
#include "platform/AtomicFile.h"
#include "../framework/FarBuilder.h"
#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

class Recorder : public FolderScanner {
 public:
  explicit Recorder(std::string skip = "") : mSkip(std::move(skip)) {}
  bool EnterFolder(const char* folder) override {
    const std::string f = CTGFileManager::Normalize(folder);
    return mSkip.empty() || f.size() < mSkip.size() || f.compare(f.size() - mSkip.size(), mSkip.size(), mSkip) != 0;
  }
  void VisitFile(const char* path) override {
    std::string p = CTGFileManager::Normalize(path);
    visited.push_back(p.substr(p.rfind("objects")));
  }
  std::vector<std::string> visited;

 private:
  std::string mSkip;
};

void MakeTree(const TempFolder& t) {
  tova_test::FarBuilder far;
  far.Add("packed.iff", "p");
  far.Add("deep/inner.iff", "i");
  t.Write("Objects/chair.iff", "c");
  t.Write("Objects/Objects.far", far.Build());
  t.Write("Objects/Skip/hidden.iff", "h");
  t.Write("Objects/Sub/table.IFF", "t");
}

TEST(FolderScannerTest, WalksTheDiskWithArchiveMembersAsFiles) {
  TempFolder t;
  MakeTree(t);
  Recorder r("\\skip");
  EXPECT_EQ(r.Scan((t / "Objects").c_str()), 0);
  std::sort(r.visited.begin(), r.visited.end());
  EXPECT_EQ(r.visited, (std::vector<std::string>{"objects\\chair.iff", "objects\\deep\\inner.iff",
                                                 "objects\\packed.iff", "objects\\sub\\table.iff"}));
  Recorder none;
  EXPECT_EQ(none.Scan((t / "Missing").c_str()), -1);
  EXPECT_TRUE(none.visited.empty());
}

TEST(FolderScannerTest, FolderLinksAreWalkedOnce) {
  TempFolder t;
  MakeTree(t);
  std::filesystem::create_directory_symlink(".", t / "Objects/l1");
  std::filesystem::create_directory_symlink(".", t / "Objects/l2");
  std::filesystem::create_directory_symlink("..", t / "Objects/Sub/up");
  for (bool registered : {false, true}) {
    CTGFileManager& m = CTGFileManager::Global();
    if (registered) {
      ASSERT_TRUE(m.AddDirectory((t / "Objects/").c_str(), true, true));
    }
    Recorder r("\\skip");
    EXPECT_EQ(r.Scan((t / "Objects").c_str()), 0);
    std::sort(r.visited.begin(), r.visited.end());
    EXPECT_EQ(r.visited, (std::vector<std::string>{"objects\\chair.iff", "objects\\deep\\inner.iff",
                                                   "objects\\packed.iff", "objects\\sub\\table.iff"}))
        << (registered ? "registered" : "disk");
    m.CloseAll();
  }
}

TEST(FolderScannerTest, WalksRegisteredFoldersThroughTheManager) {
  TempFolder t;
  MakeTree(t);
  CTGFileManager& m = CTGFileManager::Global();
  ASSERT_TRUE(m.AddDirectory((t / "Objects/").c_str(), true, true));
  t.Write("Objects/late.iff", "");  // not registered: the walk goes by the tables
  Recorder r("\\skip");
  EXPECT_EQ(r.Scan((t / "Objects").c_str()), 0);
  std::sort(r.visited.begin(), r.visited.end());
  EXPECT_EQ(r.visited, (std::vector<std::string>{"objects\\chair.iff", "objects\\deep\\inner.iff",
                                                 "objects\\packed.iff", "objects\\sub\\table.iff"}));
  m.CloseAll();
}

TEST(FolderScannerTest, MatchScannerTakesPrefixAndSuffix) {
  TempFolder t;
  t.Write("Objects/OBJchair.IFF", "");
  t.Write("Objects/chair.iff", "");
  t.Write("Objects/objlamp.txt", "");
  t.Write("Objects/Sub/objdesk.iff", "");
  MatchFolderScanner flat("obj", ".iff", false);
  EXPECT_EQ(flat.Scan((t / "Objects").c_str()), 0);
  ASSERT_EQ(flat.Matches().size(), 1u);
  EXPECT_NE(std::string(flat.Matches()[0].c_str()).find("objchair.iff"), std::string::npos);
  MatchFolderScanner deep("obj", ".iff", true);
  deep.Scan((t / "Objects").c_str());
  EXPECT_EQ(deep.Matches().size(), 2u);
  MatchFolderScanner all("", "", false);
  all.Scan((t / "Objects").c_str());
  EXPECT_EQ(all.Matches().size(), 3u);
}

TEST(FolderScannerTest, WriteHandleToFile) {
  TempFolder t;
  MemHandle h = NewMemHandle(3);
  ASSERT_NE(h, nullptr);
  std::copy_n("abc", 3, GetMemHandleData(h));
  t.Write("out.bin", "an older, longer file");
  EXPECT_EQ(WriteHandleToFile(h, (t / "out.bin").c_str()), 0);
  EXPECT_EQ(t.Read("out.bin"), "abc");
  EXPECT_FALSE(std::filesystem::exists(platform::AtomicFile::TempPathFor(t / "out.bin")));
  EXPECT_EQ(WriteHandleToFile(h, (t / "no/such/folder/out.bin").c_str()), -1);
  DisposeMemHandle(h);
}

}  // namespace
