#include <gtest/gtest.h>

#include "ResTestUtil.h"

#include <climits>
#include <cstring>
#include <string>

#include "IffBuilder.h"
#include "resfile/IFFResFile.h"
#include "resfile/IFFResFile2.h"
#include "support/ScratchDir.h"

using tova_test::ReadBytes;
using tova_test::ScratchDir;
using tova_test::WriteBytes;

namespace {

constexpr ResType kSPR = TypeCode("SPR#");
constexpr ResType kNAME = TypeCode("NAME");


// Older name list: {index little-endian, length byte, characters}.
std::string OldNames(std::initializer_list<std::pair<int32_t, std::string>> names) {
  std::string out;
  for (const auto& [index, label] : names) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(index >> (8 * i));
    out += static_cast<char>(label.size());
    out += label;
  }
  return out;
}

}  // namespace

TEST(IFFResFile, CreateWritesTheHeaderAndAnEmptyNameList) {
  ScratchDir dir;
  std::string path = (dir / "old.iff").string();
  IFFResFile f;
  ASSERT_EQ(f.Create(path), 0);
  std::string bytes = ReadBytes(path);
  ASSERT_GE(bytes.size(), 64u + 16u + 12u + 4u);
  EXPECT_EQ(bytes.substr(0, 34), "IFF FILE 1.0:TYPE FOLLOWED BY SIZE");
  EXPECT_EQ(bytes.substr(35, 28), " HOLLIS VANTREK & ORVEL 1996");
  EXPECT_EQ(bytes.substr(64, 4), "NAME");
  EXPECT_EQ(ReadU16BE(reinterpret_cast<const uint8_t*>(bytes.data() + 72)), 1);  // id 1
  EXPECT_EQ(ReadU16BE(reinterpret_cast<const uint8_t*>(bytes.data() + 74)) & 0x08, 0x08);
  EXPECT_EQ(ReadU32LE(reinterpret_cast<const uint8_t*>(bytes.data() + 80 + 12)), 0u);  // no entries
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(f.CountTypes(), 0);  // the name list is not a public resource
  EXPECT_EQ(f.Suspend(), kFlatOpenFailed);
  f.Close();
}

TEST(IFFResFile, OtherHeadersAreRefused) {
  ScratchDir dir;
  std::string path = (dir / "x.iff").string();
  IFFResFile2 two;
  ASSERT_EQ(two.Create(path), 0);
  IFFResFile f;
  EXPECT_EQ(f.Open(path), kResBadHeader);
  for (size_t at : {0u, 12u, 34u, 50u, 63u}) {
    IffBuilder b = IffBuilder::V1();
    b.bytes[at] = static_cast<char>(b.bytes[at] ^ 1);
    WriteBytes(path, b.bytes);
    EXPECT_EQ(f.Open(path), kResBadHeader) << at;
    EXPECT_FALSE(f.IsOpen());
  }
}

TEST(IFFResFile, OlderNameListKeepsItsLabelsAndIsReplacedOnFlush) {
  ScratchDir dir;
  std::string path = (dir / "old.iff").string();
  IffBuilder b = IffBuilder::V1();
  b.Chunk1(kOBJD, 1, 0, "first", 7);
  b.Chunk1(kSPR, 1, 0, "sprite", 8);
  b.Chunk1(kOBJD, 2, 0, "second", 8);  // same label, other type
  b.Chunk1(kNAME, 0, 0x08, OldNames({{7, "Lamp"}, {8, "Shade"}}));
  WriteBytes(path, b.bytes);

  IFFResFile f;
  ASSERT_EQ(f.Open(path), 0);
  // New nodes go to the front: the order is the reverse of the file's.
  EXPECT_EQ(f.GetTypeAt(1), kSPR);
  EXPECT_EQ(Text(f.GetIndexedResource(kOBJD, 1, nullptr)), "second");
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "lamp", nullptr)), "first");
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "shade", nullptr)), "second");
  EXPECT_EQ(Text(f.GetNamedResource(kSPR, "SHADE", nullptr)), "sprite");
  EXPECT_EQ(f.GetResourceVariant(kOBJD, 1, 2, nullptr), nullptr);
  EXPECT_EQ(f.GetError(), kResNoVariants);
  ASSERT_EQ(f.Flush(), 0);
  ASSERT_EQ(f.Close(), 0);

  std::string bytes = ReadBytes(path);
  IFFResFile g;
  ASSERT_EQ(g.Open(path), 0);
  EXPECT_EQ(Text(g.GetNamedResource(kOBJD, "Lamp", nullptr)), "first");
  g.Close();
  // Only the current name list is left: 'NAME' id 1 and no live id 0.
  size_t pos = 64;
  int names = 0;
  while (pos + 16 <= bytes.size()) {
    auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + pos);
    uint32_t size = ReadU32BE(p + 4);
    if (bytes.compare(pos, 4, "NAME") == 0) {
      EXPECT_EQ(ReadU16BE(p + 8), 1);
      ++names;
    }
    ASSERT_GE(size, 16u);
    pos += size;
  }
  EXPECT_EQ(names, 1);
}

TEST(IFFResFile, AddRenameDeleteRoundTrip) {
  ScratchDir dir;
  std::string path = (dir / "new.iff").string();
  IFFResFile f;
  ASSERT_EQ(f.Create(path), 0);
  ASSERT_EQ(f.Open(path), 0);
  ASSERT_EQ(f.AddResource(Bytes("one"), kOBJD, 128, "One", true), 0);
  MemHandle two = Bytes("two");
  ASSERT_EQ(f.AddResource(two, kOBJD, 129, "", false), 0);
  ASSERT_EQ(f.AddResourceVariant(Bytes("v"), kOBJD, 130, "dropped", 4, true), 0);
  ASSERT_EQ(f.WriteResource(two), 0);
  ASSERT_EQ(f.SetIdAndLabel(two, 140, "Two", 0), 0);
  EXPECT_EQ(f.SetIdAndLabel(two, 140, "Two", 1), kResNoVariants);
  EXPECT_EQ(f.GetUnusedId(kOBJD), 141);
  ASSERT_EQ(f.Close(), 0);

  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(f.CountResources(kOBJD), 3);
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "two", nullptr)), "two");
  EXPECT_FALSE(f.IsNative(f.GetResource(kOBJD, 140, nullptr)));
  std::string label = "x";
  f.GetLabel(f.GetResource(kOBJD, 130, nullptr), label);
  EXPECT_EQ(label, "");
  ASSERT_EQ(f.DeleteResource(f.GetResource(kOBJD, 128, nullptr)), 0);
  ASSERT_EQ(f.Close(), 0);
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(f.GetNamedResource(kOBJD, "One", nullptr), nullptr);
  EXPECT_EQ(f.CountResources(kOBJD), 2);
}

TEST(IFFResFile, DamagedChunkEndsTheScanAndCompactionLeavesIt) {
  ScratchDir dir;
  std::string path = (dir / "bad.iff").string();
  IffBuilder b = IffBuilder::V1();
  b.Chunk1(kOBJD, 1, 0, "a");
  std::string big(12000, 'f');
  int32_t freeAt = b.Chunk1(TypeCode("XXXX"), 0, 0x04, big);
  b.Chunk1(kOBJD, 2, 0, "b");
  b.bytes += std::string(16, '\0');  // a header of size 0
  b.Chunk1(kOBJD, 3, 0, "unseen");
  WriteBytes(path, b.bytes);
  IFFResFile f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(f.CountResources(kOBJD), 2);
  EXPECT_GT(f.GetFreeBytes(), 10239u);
  ASSERT_EQ(f.Close(), 0);
  // The chain does not reach the end of the file, so nothing was cut away.
  std::string after = ReadBytes(path);
  EXPECT_GE(after.size(), b.bytes.size());
  EXPECT_NE(after.find("unseen"), std::string::npos);
  (void)freeAt;
}

TEST(IFFResFile, NewLabelGetsAFreeIndexWhenTheFileHoldsTheLargest) {
  ScratchDir dir;
  std::string path = (dir / "old.iff").string();
  IffBuilder b = IffBuilder::V1();
  b.Chunk1(kOBJD, 1, 0, "first", 1);
  b.Chunk1(kOBJD, 2, 0, "second", INT32_MAX);
  b.Chunk1(kNAME, 0, 0x08, OldNames({{1, "Lamp"}, {INT32_MAX, "Shade"}}));
  WriteBytes(path, b.bytes);

  IFFResFile f;
  ASSERT_EQ(f.Open(path), 0);
  ASSERT_EQ(f.AddResource(Bytes("third"), kOBJD, 3, "Rug", true), 0);
  ASSERT_EQ(f.Close(), 0);
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "Lamp", nullptr)), "first");
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "Shade", nullptr)), "second");
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "Rug", nullptr)), "third");
  f.Close();
}
