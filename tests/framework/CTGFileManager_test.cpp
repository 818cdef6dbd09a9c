#include "framework/CTGFileManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "FarBuilder.h"
#include "support/TempFolder.h"

namespace {

using tova_test::FarBuilder;
using tova_test::TempFolder;

std::string Dir(const TempFolder& t, const std::string& rel = "") {
  return CTGFileManager::Normalize((t.path() + "/" + rel).c_str());
}

std::string ReadAll(CTGFile* f) {
  std::string out(static_cast<size_t>(f->GetSize()), '\0');
  if (!out.empty() && !f->ReadBytes(out.data(), f->GetSize())) return "<fail>";
  return out;
}

TEST(CTGFileManagerTest, NormalizesNames) {
  EXPECT_EQ(CTGFileManager::Normalize("Data/Foo.IFF"), "data\\foo.iff");
  CTGString dir, file;
  CTGFileManager::SplitName("a\\b\\c.iff", dir, file);
  EXPECT_EQ(dir, "a\\b\\");
  EXPECT_EQ(file, "c.iff");
  CTGFileManager::SplitName("c.iff", dir, file);
  EXPECT_EQ(dir, "");
  EXPECT_EQ(file, "c.iff");
}

TEST(CTGFileManagerTest, ArchiveMembersAndLooseFilesShadowingThem) {
  TempFolder t;
  FarBuilder far;
  far.Add("sub/a.bmp", "member-a");
  far.Add("Sub\\B.bmp", "member-b");
  far.Add("top.txt", "member-top");
  far.Add("top.txt", "second-copy");  // the first registration wins
  t.Write("Data/Pack.far", far.Build());
  t.Write("Data/Sub/a.bmp", "loose-a");  // shadows the member of the same path
  t.Write("Data/Plain.iff", "plain");

  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory(Dir(t, "Data/").c_str(), true, true));
  EXPECT_TRUE(m.HasDirectory(Dir(t, "data\\sub\\").c_str()));
  EXPECT_FALSE(m.Find(Dir(t, "Data/Pack.far").c_str()));  // archives are not files themselves

  CTGFileEntry entry;
  ASSERT_TRUE(m.Find(Dir(t, "DATA/SUB/A.BMP").c_str(), &entry));
  EXPECT_FALSE(entry.shared);
  ASSERT_TRUE(m.Find(Dir(t, "data/sub/b.bmp").c_str(), &entry));
  EXPECT_TRUE(entry.shared);
  EXPECT_FALSE(entry.writable);

  CTGFile* a = m.Open(Dir(t, "Data/Sub/A.bmp").c_str(), false);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(ReadAll(a), "loose-a");
  m.Close(a);
  CTGFile* b = m.Open(Dir(t, "data/sub/b.bmp").c_str(), false);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->IsShared());
  EXPECT_EQ(ReadAll(b), "member-b");
  m.Close(b);
  CTGFile* top = m.Open(Dir(t, "data/top.txt").c_str(), false);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(ReadAll(top), "member-top");
  m.Close(top);

  EXPECT_EQ(m.Open(Dir(t, "data/top.txt").c_str(), true), nullptr);  // members never open for writing
  EXPECT_FALSE(m.Delete(Dir(t, "data/top.txt").c_str()));
  EXPECT_FALSE(m.Move(Dir(t, "data/top.txt").c_str(), Dir(t, "data/x.txt").c_str()));
  EXPECT_FALSE(m.Copy(Dir(t, "data/top.txt").c_str(), Dir(t, "data/x.txt").c_str()));
  EXPECT_TRUE(m.Exists(Dir(t, "data/top.txt").c_str()));
}

TEST(CTGFileManagerTest, LooseFileWinsWhateverTheListingOrder) {
  // The archive sorts before and after the loose file's name in turn.
  for (const char* archiveName : {"a.far", "z.far"}) {
    TempFolder t;
    FarBuilder far;
    far.Add("m.txt", "member");
    t.Write(std::string("D/") + archiveName, far.Build());
    t.Write("D/m.txt", "loose");
    CTGFileManager m;
    ASSERT_TRUE(m.AddDirectory(Dir(t, "D").c_str(), false, true));
    CTGFileEntry entry;
    ASSERT_TRUE(m.Find(Dir(t, "D/m.txt").c_str(), &entry));
    EXPECT_FALSE(entry.shared) << archiveName;
  }
}

TEST(CTGFileManagerTest, DamagedArchivesAreRefused) {
  FarBuilder far;
  far.Add("one.txt", "1111");
  far.Add("two.txt", "2222");
  const std::string good = far.Build();
  const size_t dirOffset = 16 + 8;
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> cases;
  {
    std::string b = good;
    FarBuilder::Patch(b, dirOffset, 0x10000000);
    cases.push_back({"entry count too large", b});
  }
  {
    std::string b = good;
    FarBuilder::Patch(b, dirOffset, 0x80000000u);
    cases.push_back({"entry count with the top bit set", b});
  }
  {
    std::string b = good;
    FarBuilder::Patch(b, 12, 0xFFFFFFF0u);
    cases.push_back({"directory offset past the end", b});
  }
  {
    std::string b = good;
    FarBuilder::Patch(b, dirOffset + 4 + 8, 0x7FFFFFF0);
    cases.push_back({"data offset past the end", b});
  }
  {
    std::string b = good;
    FarBuilder::Patch(b, dirOffset + 4 + 12, 5000);
    cases.push_back({"name too long", b});
  }
  {
    std::string b = good;
    FarBuilder::Patch(b, dirOffset + 4 + 12 + 4 + 7 + 12, 300);  // second entry's name runs off the end
    cases.push_back({"name cut short", b});
  }
  cases.push_back({"shorter than its header", "FAR!by"});

  for (const Case& c : cases) {
    TempFolder t;
    t.Write("bad.far", c.bytes);
    CTGFileManager m;
    EXPECT_FALSE(m.MapArchive(Dir(t, "bad.far").c_str())) << c.what;
    EXPECT_NE(m.LastError().find("bad.far"), std::string::npos) << c.what;
    EXPECT_FALSE(m.Find(Dir(t, "one.txt").c_str())) << c.what;  // nothing of it registered
  }
  TempFolder t;
  t.Write("good.far", good);
  CTGFileManager m;
  EXPECT_TRUE(m.MapArchive(Dir(t, "good.far").c_str()));
  EXPECT_TRUE(m.Find(Dir(t, "two.txt").c_str()));
  EXPECT_FALSE(m.MapArchive(Dir(t, "missing.far").c_str()));
  EXPECT_NE(m.LastError().find("Couldn't Open file"), std::string::npos);
}

TEST(CTGFileManagerTest, ShortNamesAndMapOffAreNotArchives) {
  TempFolder t;
  FarBuilder far;
  far.Add("inside.txt", "x");
  t.Write("D/ar", "tiny");
  t.Write("D/x.far", far.Build());
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory(Dir(t, "D/").c_str(), false, false));
  EXPECT_TRUE(m.Find(Dir(t, "D/ar").c_str()));
  EXPECT_FALSE(m.Find(Dir(t, "D/x.far").c_str()));
  EXPECT_FALSE(m.Find(Dir(t, "D/inside.txt").c_str()));
  EXPECT_FALSE(m.AddDirectory(Dir(t, "nowhere/").c_str(), false, false));
}

TEST(CTGFileManagerTest, FindFirstNextWalksOneFolderInOrder) {
  TempFolder t;
  t.Write("F/house01.iff", "");
  t.Write("F/house01.iffx", "");
  t.Write("F/House02.IFF", "");
  t.Write("F/Sub/x", "");
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory(Dir(t, "F/").c_str(), false, true));
  CTGFindRecord r;
  std::vector<std::string> found;
  for (bool ok = m.FindFirst(Dir(t, "F/*.iff").c_str(), r); ok; ok = m.FindNext(r)) found.push_back(r.name);
  EXPECT_EQ(found, (std::vector<std::string>{"house01.iff", "house02.iff"}));
  ASSERT_TRUE(m.FindFirst(Dir(t, "F/s*").c_str(), r));
  EXPECT_EQ(r.name, "sub");
  EXPECT_TRUE(r.directoryFlag);
  EXPECT_FALSE(m.FindFirst(Dir(t, "G/*").c_str(), r));
}

TEST(CTGFileManagerTest, PatternTable) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.iff", "house01.iff", true}, {"*.iff", "house01.iffx", false}, {"*.IFF", "House01.iff", true},
      {"house0?.iff", "house01.iff", true}, {"house01.iff?", "house01.iff", false},  // '?' needs a character
      {"*", "", true}, {"*.*", "noext", false}, {"a*", "a", true}, {"A/*.IFF", "a\\B.iff", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchDataFilePattern(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
  const std::string longName(600, 'a');
  EXPECT_FALSE(MatchDataFilePattern("*", longName.c_str()));
}

TEST(CTGFileManagerTest, CreateDeleteMoveCopyKeepTheTablesRight) {
  TempFolder t;
  t.Write("W/keep.txt", "k");
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory(Dir(t, "W/").c_str(), false, true));
  EXPECT_FALSE(m.Create(Dir(t, "W/keep.txt").c_str()));  // registered already
  ASSERT_TRUE(m.Create((t / "W/New.dat").c_str()));  // the disk gets the name as given
  EXPECT_TRUE(m.Find(Dir(t, "w/new.dat").c_str()));
  EXPECT_TRUE(t.Has("W/New.dat"));
  EXPECT_FALSE(m.Copy(Dir(t, "W/keep.txt").c_str(), Dir(t, "W/new.dat").c_str()));  // never overwrites
  ASSERT_TRUE(m.Copy(Dir(t, "W/keep.txt").c_str(), Dir(t, "W/copy.txt").c_str()));
  EXPECT_TRUE(m.Find(Dir(t, "W/copy.txt").c_str()));
  EXPECT_EQ(t.Read("W/copy.txt"), "k");
  EXPECT_FALSE(m.Move(Dir(t, "W/copy.txt").c_str(), Dir(t, "W/KEEP.TXT").c_str()));  // target exists
  ASSERT_TRUE(m.Move(Dir(t, "W/copy.txt").c_str(), Dir(t, "W/moved.txt").c_str()));
  EXPECT_FALSE(m.Find(Dir(t, "W/copy.txt").c_str()));
  EXPECT_TRUE(m.Find(Dir(t, "W/moved.txt").c_str()));
  ASSERT_TRUE(m.Delete(Dir(t, "W/moved.txt").c_str()));
  EXPECT_FALSE(m.Find(Dir(t, "W/moved.txt").c_str()));
  EXPECT_FALSE(t.Has("W/moved.txt"));
  EXPECT_FALSE(m.Exists(Dir(t, "W/moved.txt").c_str()));
  t.Write("W/late.txt", "");  // on disk but never registered
  EXPECT_TRUE(m.Exists(Dir(t, "W/LATE.TXT").c_str()));
  m.CloseAll();
  EXPECT_FALSE(m.HasDirectory(Dir(t, "W/").c_str()));
}

}  // namespace

namespace {

TEST(CTGFileManagerTest, LookupsRunWhileAnotherThreadRegistersFolders) {
  TempFolder t;
  for (int i = 0; i < 20; ++i) t.Write("Data/F" + std::to_string(i) + "/file.txt", "x");
  t.Write("Data/main.txt", "m");
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory(Dir(t, "Data/").c_str(), false, false));
  std::atomic<bool> done{false};
  std::thread loader([&] {
    for (int round = 0; round < 5; ++round) m.AddDirectory(Dir(t, "Data/").c_str(), true, true);
    done = true;
  });
  int lookups = 0;
  while (!done || lookups < 100) {
    EXPECT_TRUE(m.Find(Dir(t, "Data/main.txt").c_str()));
    CTGFile* f = m.Open(Dir(t, "Data/main.txt").c_str(), false);
    ASSERT_NE(f, nullptr);
    m.Close(f);
    CTGFindRecord r;
    m.FindFirst(Dir(t, "Data/F1*").c_str(), r);
    ++lookups;
  }
  loader.join();
  EXPECT_TRUE(m.HasDirectory(Dir(t, "Data/F19/").c_str()));
}

TEST(CTGFileManagerTest, FolderLinksNeverFanOutTheWalk) {
  // Two links back into a folder double the paths at every level: a walk that
  // followed them all would never end. Each real folder is entered once.
  struct Case {
    const char* what;
    const char* linkA;
    const char* targetA;
    const char* linkB;
    const char* targetB;
  };
  const Case cases[] = {
      {"two links to the folder itself", "Data/l1", ".", "Data/l2", "."},
      {"a loop and a link up", "Data/loop", ".", "Data/up", ".."},
      {"a link from a sub-folder to the top", "Data/Sub/back", "..", "Data/Sub/again", "../Sub"},
  };
  for (const Case& c : cases) {
    TempFolder t;
    t.Write("Data/top.txt", "t");
    t.Write("Data/Sub/inner.txt", "i");
    std::filesystem::create_directory_symlink(c.targetA, t / c.linkA);
    std::filesystem::create_directory_symlink(c.targetB, t / c.linkB);

    CTGFileManager m;
    ASSERT_TRUE(m.AddDirectory(Dir(t, "Data/").c_str(), true, true)) << c.what;
    EXPECT_TRUE(m.Find(Dir(t, "Data/top.txt").c_str())) << c.what;
    EXPECT_TRUE(m.Find(Dir(t, "Data/Sub/inner.txt").c_str())) << c.what;
    // The links are listed as folders of their parent but not walked again.
    CTGFileEntry link;
    ASSERT_TRUE(m.Find(Dir(t, c.linkA).c_str(), &link)) << c.what;
    EXPECT_TRUE(link.directory) << c.what;
    EXPECT_FALSE(m.HasDirectory((Dir(t, c.linkA) + "\\").c_str())) << c.what;
    EXPECT_FALSE(m.Find((Dir(t, c.linkA) + "\\top.txt").c_str())) << c.what;
  }
}

TEST(CTGFileManagerTest, MemberNamesThatLeaveTheArchiveFolderAreRefused) {
  const char* const escaping[] = {"../../x.txt", "..\\x.txt", "sub/../../x.txt", "sub\\..", "/abs.txt",
                                  "\\abs.txt", "C:\\x.txt", "c:x.txt"};
  for (const char* name : escaping) {
    TempFolder t;
    FarBuilder far;
    far.Add("fine.txt", "f");
    far.Add(name, "escaped");
    t.Write("Deep/Data/pack.far", far.Build());
    CTGFileManager m;
    EXPECT_FALSE(m.MapArchive(Dir(t, "Deep/Data/pack.far").c_str())) << name;
    EXPECT_NE(m.LastError().find("name leaves the archive's folder"), std::string::npos) << name << m.LastError();
    EXPECT_FALSE(m.Find(Dir(t, "Deep/Data/fine.txt").c_str())) << name;  // nothing of it registered
    EXPECT_FALSE(m.HasDirectory(Dir(t, "Deep/").c_str())) << name;
    EXPECT_FALSE(m.HasDirectory(Dir(t, "").c_str())) << name;
  }
  // Dots inside a name are only dots.
  TempFolder t;
  FarBuilder far;
  far.Add("a..b.txt", "1");
  far.Add("sub/..x/y.txt", "2");
  t.Write("pack.far", far.Build());
  CTGFileManager m;
  EXPECT_TRUE(m.MapArchive(Dir(t, "pack.far").c_str())) << m.LastError();
  EXPECT_TRUE(m.Find(Dir(t, "a..b.txt").c_str()));
  EXPECT_TRUE(m.Find(Dir(t, "sub/..x/y.txt").c_str()));
}

TEST(CTGFileManagerTest, EveryRefusedArchiveIsKept) {
  TempFolder t;
  FarBuilder good;
  good.Add("ok.txt", "ok");
  t.Write("Data/a.far", "FAR!by");
  t.Write("Data/b.far", good.Build());
  t.Write("Data/c.far", "FAR!byAZ");
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory(Dir(t, "Data/").c_str(), false, true));
  const std::vector<std::string> errors = m.Errors();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find("a.far"), std::string::npos) << errors[0];
  EXPECT_NE(errors[1].find("c.far"), std::string::npos) << errors[1];
  EXPECT_EQ(m.LastError(), errors[1]);
  EXPECT_TRUE(m.Find(Dir(t, "Data/ok.txt").c_str()));
  m.CloseAll();
  EXPECT_TRUE(m.Errors().empty());
}

}  // namespace
