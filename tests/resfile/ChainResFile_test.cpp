#include <gtest/gtest.h>

#include "ResTestUtil.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "resfile/ChainResFile.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemResFile.h"
#include "resfile/ResolveResFile.h"
#include "resfile/SeqResFile.h"
#include "support/ScratchDir.h"

using tova_test::ReadBytes;
using tova_test::ScratchDir;
using tova_test::WriteBytes;

namespace {

void MakeIff2(const std::string& path, ResType type, ResId id, const std::string& data) {
  IFFResFile2 f;
  ASSERT_EQ(f.Create(path), 0);
  ASSERT_EQ(f.Open(path), 0);
  ASSERT_EQ(f.AddResource(Bytes(data), type, id, "", true), 0);
  ASSERT_EQ(f.Close(), 0);
}

}  // namespace

TEST(ChainResFile, LookupsWalkTheMembersInOrder) {
  MemResFile a, b;
  for (int i = 0; i < 3; ++i) a.AddStored(kOBJD, static_cast<ResId>(10 + i), "a", 1);
  for (int i = 0; i < 4; ++i) b.AddStored(kOBJD, static_cast<ResId>(20 + i), std::string(1, static_cast<char>('p' + i)).c_str(), 1, "anonymous 0");
  b.AddStored(kSPR2, 1, "s", 1);
  ChainResFile chain;
  ASSERT_TRUE(chain.AddFile(&a));
  ASSERT_TRUE(chain.AddFile(&b));
  EXPECT_EQ(chain.CountResources(kOBJD), 7);
  EXPECT_EQ(Text(chain.GetIndexedResource(kOBJD, 5, nullptr)), "q");
  EXPECT_EQ(chain.GetIndexedResource(kOBJD, 8, nullptr), nullptr);
  EXPECT_EQ(chain.CountTypes(), 2);
  MemHandle s = chain.GetResource(kSPR2, 1, nullptr);
  EXPECT_EQ(chain.GetType(s), kSPR2);
  ResId id = 0;
  EXPECT_EQ(chain.GetId(s, id), 0);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(chain.GetResource(kSPR2, 2, nullptr), nullptr);
  EXPECT_EQ(chain.GetError(), kResNotFound);
  std::string label;
  chain.MakeUniqueLabel(kOBJD, label);
  EXPECT_EQ(label, "anonymous 00");
  // The unused id is the highest over all members.
  b.AddStored(kSPR2, 129, "s", 1);
  EXPECT_EQ(a.GetUnusedId(kSPR2), 129);
  EXPECT_EQ(chain.GetUnusedId(kSPR2), 130);
}

TEST(ChainResFile, AdditionsFollowTheFiltersAndReplaceExactMatchesAnywhere) {
  MemResFile iff, spf;
  spf.AddStored(kSPR2, 5, "old sprite", 10);
  ChainResFile chain;
  chain.AddFile(&iff);
  chain.AddFile(&spf);
  chain.ExcludeType(0, kSPR2);
  chain.IncludeType(1, kSPR2);
  chain.ExcludeType(1, kOBJD);  // ignored: the member is in include mode
  EXPECT_TRUE(chain.Admits(1, kSPR2));
  EXPECT_FALSE(chain.Admits(1, kOBJD));
  ASSERT_EQ(chain.AddResource(Bytes("def"), kOBJD, 1, "", true), 0);
  EXPECT_EQ(iff.CountResources(kOBJD), 1);
  ASSERT_EQ(chain.AddResource(Bytes("new sprite"), kSPR2, 5, "", true), 0);
  EXPECT_EQ(spf.CountResources(kSPR2), 1);
  EXPECT_EQ(Text(chain.GetResource(kSPR2, 5, nullptr)), "new sprite");
  // A new variant leaves the default alone.
  ASSERT_EQ(chain.AddResourceVariant(Bytes("v2"), kSPR2, 5, "", 2, true), 0);
  EXPECT_EQ(spf.CountResources(kSPR2), 2);
  EXPECT_TRUE(chain.CanAddType(kSPR2));
  spf.SetWritable(false);
  EXPECT_FALSE(chain.CanAddType(kSPR2));
  MemHandle h = Bytes("x");
  EXPECT_EQ(chain.AddResource(h, kSPR2, 9, "", true), kResTypeRefused);
  iff.SetWritable(false);
  EXPECT_EQ(chain.AddResource(h, kOBJD, 9, "", true), kResTypeRefused);  // the last member asked refused it
  chain.IncludeType(1, kOBJD);
  EXPECT_EQ(chain.AddResource(h, kOBJD, 9, "", true), kResNoMember);
  DisposeMemHandle(h);
}

TEST(StdResFile, OpensBothMembersAndRoutesSprites) {
  ScratchDir dir;
  std::string base = (dir / "Chair").string();
  StdResFile chain;
  ASSERT_EQ(chain.Create(base), 0);
  EXPECT_TRUE(std::filesystem::exists(base + ".iff"));
  EXPECT_TRUE(std::filesystem::exists(base + ".spf"));
  EXPECT_EQ(ReadBytes(base + ".spf").substr(0, 12), "IFF FILE 2.5");
  EXPECT_EQ(chain.Create(base), kFlatCreateExists);

  ASSERT_EQ(chain.Open(base), 0);
  EXPECT_EQ(chain.CountFiles(), 2);
  std::string path;
  chain.GetPath(path);
  EXPECT_EQ(path, base);
  ASSERT_EQ(chain.AddResource(Bytes("sprite"), kSPR2, 128, "", true), 0);
  ASSERT_EQ(chain.AddResource(Bytes("definition"), kOBJD, 128, "", true), 0);
  ASSERT_EQ(chain.Close(), 0);
  EXPECT_EQ(chain.CountFiles(), 0);

  IFFResFile2 iff, spf;
  ASSERT_EQ(iff.Open(base + ".iff"), 0);
  ASSERT_EQ(spf.Open(base + ".spf"), 0);
  EXPECT_EQ(iff.CountResources(kSPR2), 0);
  EXPECT_EQ(Text(spf.GetResource(kSPR2, 128, nullptr)), "sprite");
  EXPECT_EQ(Text(iff.GetResource(kOBJD, 128, nullptr)), "definition");
  iff.Close();
  spf.Close();

  // An upper-case extension chains only that member.
  StdResFile one;
  ASSERT_EQ(one.Open(base + ".IFF"), 0);
  EXPECT_EQ(one.CountFiles(), 1);
  EXPECT_EQ(one.GetResource(kSPR2, 128, nullptr), nullptr);
  EXPECT_EQ(one.Open(base + ".txt"), kResNoKind);
  EXPECT_EQ(one.Open((dir / "Missing").string()), kFlatAlreadyOpen);  // the status of the last kind tried
}

TEST(StdResFile, CreateAndDeleteByExtension) {
  ScratchDir dir;
  std::string base = (dir / "Lamp").string();
  StdResFile chain;
  ASSERT_EQ(chain.Create(base + ".iff"), 0);
  EXPECT_TRUE(std::filesystem::exists(base + ".iff"));
  EXPECT_FALSE(std::filesystem::exists(base + ".spf"));
  EXPECT_EQ(chain.Delete(base), 0);
  EXPECT_FALSE(std::filesystem::exists(base + ".iff"));
  // A name that exists nowhere is not an error; one that fits no kind is.
  EXPECT_EQ(chain.Delete(base), 0);
  EXPECT_EQ(chain.Delete(base + ".txt"), kResNoKind);
}

TEST(StdResFile, OnlyTheIffMemberWhenTheSpriteFileIsMissing) {
  ScratchDir dir;
  std::string base = (dir / "Table").string();
  MakeIff2(base + ".iff", kOBJD, 1, "table");
  StdResFile chain;
  ASSERT_EQ(chain.Open(base), 0);
  EXPECT_EQ(chain.CountFiles(), 1);
  ASSERT_EQ(chain.AddResource(Bytes("s"), kSPR2, 1, "", true), 0);  // no filters set
  EXPECT_EQ(chain.GetFile(0)->CountResources(kSPR2), 1);
}

TEST(ObjResFile, ConstantListsByKey) {
  ObjResFile f;
  const int16_t list[] = {static_cast<int16_t>(0x8002), 7, 9};
  f.SetConstantList(4, list);
  const int16_t* got = f.FindConstantList(4);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got[0], 2);
  EXPECT_EQ(got[2], 9);
  EXPECT_EQ(f.FindConstantList(5), nullptr);
  f.SetConstantList(4, nullptr);
  EXPECT_EQ(f.FindConstantList(4), nullptr);
}

TEST(ResolveResFile, LooseFilesByIdNameAndIndex) {
  ScratchDir dir;
  std::filesystem::create_directories(dir / "loose");
  WriteBytes(dir / "loose" / "#12#Chair.bmp", "pixels");
  WriteBytes(dir / "loose" / "#13#table.bmp", "more");
  ResolveResFile f;
  EXPECT_EQ(f.Open((dir / "nowhere").string()), kFlatAlreadyOpen);
  EXPECT_FALSE(f.IsOpen());
  ASSERT_EQ(f.Open((dir / "loose").string()), 0);
  const ResType kBMP = TypeCode("BMP_");
  EXPECT_EQ(f.CountResources(kBMP), 2);
  MemHandle chair = f.GetResource(kBMP, 12, nullptr);
  EXPECT_EQ(Text(chair), "pixels");
  EXPECT_EQ(f.GetResource(kBMP, 12, nullptr), chair);
  std::string label;
  EXPECT_EQ(f.GetLabel(chair, label), 0);
  EXPECT_TRUE(LabelsEqualNoCase(label, "chair"));
  EXPECT_EQ(Text(f.GetNamedResource(kBMP, "table", nullptr)), "more");
  EXPECT_EQ(f.GetResource(kBMP, 99, nullptr), nullptr);
  EXPECT_EQ(f.GetError(), kResNotFound);
  EXPECT_EQ(f.GetIndexedResource(kBMP, 3, nullptr), nullptr);
  EXPECT_EQ(f.CountTypes(), 1);
  EXPECT_EQ(f.AddResource(chair, kBMP, 1, "", true), kResUnsupported);
  EXPECT_EQ(f.DetachResource(chair), 0);
  EXPECT_FALSE(f.HoldsHandle(chair));
  DisposeMemHandle(chair);
  EXPECT_EQ(f.DetachResource(chair), kResUnknownLabel);
}
