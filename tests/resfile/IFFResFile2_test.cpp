#include <gtest/gtest.h>

#include "ResTestUtil.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "IffBuilder.h"
#include "resfile/IFFResFile2.h"
#include "support/ScratchDir.h"

using tova_test::ReadBytes;
using tova_test::ScratchDir;
using tova_test::WriteBytes;

namespace {

constexpr ResType kBHAV = TypeCode("BHAV");


uint32_t MapOffsetOf(const std::string& file) { return ReadU32BE(reinterpret_cast<const uint8_t*>(file.data() + 60)); }

class IFFResFile2Test : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::string path = (dir / "obj.iff").string();

  // A 2.5 file written by our writer: three resources and a map.
  void MakeMapped() {
    IFFResFile2 f;
    ASSERT_EQ(f.Create(path), 0);
    ASSERT_EQ(f.Open(path), 0);
    ASSERT_EQ(f.AddResource(Bytes("chair"), kOBJD, 128, "Chair", true), 0);
    ASSERT_EQ(f.AddResource(Bytes("tree one"), kBHAV, 4096, "main", false), 0);
    ASSERT_EQ(f.AddResource(Bytes("tree two"), kBHAV, 4097, "", true), 0);
    ASSERT_EQ(f.Close(), 0);
  }
};

}  // namespace

TEST_F(IFFResFile2Test, CreateWritesAnEmptyUnmappedFile) {
  IFFResFile2 f;
  ASSERT_EQ(f.Create(path), 0);
  EXPECT_EQ(f.Create(path), kFlatCreateExists);
  std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 64u);
  EXPECT_EQ(bytes.substr(0, 13), "IFF FILE 2.5:");
  EXPECT_EQ(MapOffsetOf(bytes), 0u);
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(f.Open(path), kFlatAlreadyOpen);
  EXPECT_EQ(f.Create(path), kFlatAlreadyOpen);
  EXPECT_EQ(f.Delete(path), kFlatAlreadyOpen);
  EXPECT_EQ(f.CountTypes(), 0);
  EXPECT_EQ(f.Close(), 0);
  EXPECT_EQ(f.Close(), kFlatNotOpen);
  EXPECT_EQ(f.GetResource(kOBJD, 1, nullptr), nullptr);
  EXPECT_EQ(f.GetError(), kFlatNotOpen);
  EXPECT_EQ(f.Delete(path), 0);
}

TEST_F(IFFResFile2Test, MappedFileOpensWithoutAScanAndReadsEverything) {
  MakeMapped();
  std::string before = ReadBytes(path);
  ASSERT_NE(MapOffsetOf(before), 0u);
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_TRUE(f.OpenedByMap());
  EXPECT_EQ(f.GetVersion(), 0x205);
  EXPECT_EQ(f.CountTypes(), 2);
  EXPECT_EQ(f.GetTypeAt(1), kOBJD);
  EXPECT_EQ(f.CountResources(kBHAV), 2);
  EXPECT_EQ(f.CountResources(TypeCode("rsmp")), 0);
  EXPECT_EQ(Text(f.GetNamedResource(kOBJD, "chair", nullptr)), "chair");
  MemHandle tree = f.GetIndexedResource(kBHAV, 1, nullptr);
  EXPECT_EQ(Text(tree), "tree one");
  EXPECT_FALSE(f.IsNative(tree));
  std::string label;
  f.GetLabel(tree, label);
  EXPECT_EQ(label, "main");
  EXPECT_EQ(f.GetUnusedId(kBHAV), 4098);
  EXPECT_EQ(f.Close(), 0);
  // Opening and closing without changes writes nothing.
  EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(IFFResFile2Test, FirstChangeFreesTheMapAndAFreshOneIsWrittenAtClose) {
  MakeMapped();
  uint32_t oldMap = MapOffsetOf(ReadBytes(path));
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  MemHandle chair = f.GetResource(kOBJD, 128, nullptr);
  ASSERT_EQ(f.WriteResource(chair), 0);
  std::string during = ReadBytes(path);
  EXPECT_EQ(MapOffsetOf(during), 0u);
  EXPECT_EQ(during.substr(oldMap, 4), "XXXX");
  EXPECT_EQ(ReadU16BE(reinterpret_cast<const uint8_t*>(during.data() + oldMap + 10)) & 0x04, 0x04);
  // Abandoned here, the file would still open by scanning.
  IFFResFile2 reader;
  ASSERT_EQ(reader.Open(path), 0);
  EXPECT_FALSE(reader.OpenedByMap());
  EXPECT_EQ(reader.CountResources(kBHAV), 2);
  reader.Close();
  ASSERT_EQ(f.Close(), 0);
  IFFResFile2 again;
  ASSERT_EQ(again.Open(path), 0);
  EXPECT_TRUE(again.OpenedByMap());
  EXPECT_EQ(Text(again.GetResource(kOBJD, 128, nullptr)), "chair");
}

TEST_F(IFFResFile2Test, HeadersOfOtherVersionsAndStamps) {
  struct Case { char major, minor; bool opens; } cases[] = {
      {'2', '5', true}, {'2', '0', true}, {'2', '1', false}, {'1', '0', false}, {'3', '5', false}};
  for (const Case& c : cases) {
    IffBuilder b = IffBuilder::V2(c.major, c.minor);
    b.Chunk(kOBJD, 1, 0x10, "abc", "x");
    WriteBytes(path, b.bytes);
    IFFResFile2 f;
    EXPECT_EQ(f.Open(path), c.opens ? 0 : kResBadHeader) << c.major << c.minor;
    EXPECT_EQ(f.IsOpen(), c.opens);
    if (c.opens) {
      EXPECT_EQ(Text(f.GetResource(kOBJD, 1, nullptr)), "abc");
    }
  }
  IffBuilder stamp = IffBuilder::V2();
  stamp.bytes[40] = 'Z';
  WriteBytes(path, stamp.bytes);
  IFFResFile2 f;
  EXPECT_EQ(f.Open(path), kResBadHeader);
  WriteBytes(path, stamp.bytes.substr(0, 30));
  EXPECT_EQ(f.Open(path), kFlatShortRead);
}

TEST_F(IFFResFile2Test, StaleOrSelfListingMapsFallBackToAScan) {
  MakeMapped();
  std::string good = ReadBytes(path);
  // Offset pointing at an ordinary chunk, past the end, or to 0-filled bytes.
  for (uint32_t stale : {64u, 0x7FFFFFF0u, 70u}) {
    std::string bytes = good;
    IffBuilder b;
    b.bytes = bytes;
    b.SetWord32(60, stale);
    WriteBytes(path, b.bytes);
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0) << stale;
    EXPECT_FALSE(f.OpenedByMap());
    EXPECT_EQ(f.CountResources(kBHAV), 2);
    EXPECT_EQ(Text(f.GetResource(kOBJD, 128, nullptr)), "chair");
    // The stale offset is never freed as a map: the chair survives a change.
    ASSERT_EQ(f.AddResource(Bytes("new"), kOBJD, 300, "", true), 0);
    ASSERT_EQ(f.Close(), 0);
    IFFResFile2 g;
    ASSERT_EQ(g.Open(path), 0);
    EXPECT_EQ(Text(g.GetResource(kOBJD, 128, nullptr)), "chair");
  }
  // A map that lists an 'rsmp' of id 0 is not trusted.
  IffBuilder b = IffBuilder::V2();
  b.Chunk(kOBJD, 1, 0x10, "abc");
  // Record header, then free bytes 0, one group 'rsmp' with one entry at 64.
  std::string rec(12, '\0');
  rec[8] = 'p'; rec[9] = 'm'; rec[10] = 's'; rec[11] = 'r';
  auto le = [&rec](uint32_t v) { for (int i = 0; i < 4; ++i) rec += static_cast<char>(v >> (8 * i)); };
  le(0); le(1); le(TypeCode("rsmp")); le(1); le(64); rec += std::string("\0\0\x10\0\0\0", 6);
  int32_t map = b.Chunk(TypeCode("rsmp"), 0, 0x10, rec);
  b.SetWord32(60, static_cast<uint32_t>(map));
  WriteBytes(path, b.bytes);
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_FALSE(f.OpenedByMap());
  EXPECT_EQ(Text(f.GetResource(kOBJD, 1, nullptr)), "abc");
}

TEST_F(IFFResFile2Test, DamagedChunksEndTheScanWithoutHanging) {
  for (int64_t badSize : {0LL, 10LL, 75LL, 100000LL, 0x80000000LL}) {
    IffBuilder b = IffBuilder::V2('2', '0');
    b.Chunk(kOBJD, 1, 0x10, "first");
    b.Chunk(kOBJD, 2, 0x10, "broken", "", badSize);
    b.Chunk(kOBJD, 3, 0x10, "unseen");
    WriteBytes(path, b.bytes);
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0) << badSize;
    EXPECT_EQ(f.CountResources(kOBJD), 1);
    EXPECT_EQ(Text(f.GetResource(kOBJD, 1, nullptr)), "first");
    // Adding and closing (allocation, map, compaction) terminate too.
    ASSERT_EQ(f.AddResource(Bytes(std::string(12000, 'z')), kOBJD, 9, "", true), 0);
    ASSERT_EQ(f.Close(), 0);
    ASSERT_EQ(f.Open(path), 0);
    EXPECT_EQ(f.CountResources(kOBJD), 2);
    EXPECT_EQ(GetMemHandleSize(f.GetResource(kOBJD, 9, nullptr)), 12000);
    f.Close();
  }
}

TEST_F(IFFResFile2Test, LoadsCheckTypeAndSizeAndKeepNothingHalfFilled) {
  MakeMapped();
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  int32_t at = f.GetMap().FindById(kOBJD, 128, 0, false)->offset;
  f.Close();
  // Change the type of the chunk behind the map's back.
  std::string bytes = ReadBytes(path);
  bytes.replace(static_cast<size_t>(at), 4, "JUNK");
  WriteBytes(path, bytes);
  ASSERT_EQ(f.Open(path), 0);
  ASSERT_TRUE(f.OpenedByMap());
  EXPECT_EQ(f.GetResource(kOBJD, 128, nullptr), nullptr);
  EXPECT_EQ(f.GetError(), kResBadData);
  EXPECT_EQ(f.GetResource(kOBJD, 128, nullptr), nullptr);
  EXPECT_EQ(f.GetError(), kResBadData);
}

TEST_F(IFFResFile2Test, NextFitTakesExactFitsAndSplitsOnlyWithRoomForAHeader) {
  for (uint32_t freeSize : {86u, 86u + 75u, 86u + 76u}) {
    IffBuilder b = IffBuilder::V2();
    b.Chunk(kOBJD, 1, 0x10, "a");
    int32_t freeAt = b.FreeChunk(freeSize);
    b.Chunk(kOBJD, 2, 0x10, "b");
    WriteBytes(path, b.bytes);
    auto end = static_cast<int32_t>(b.bytes.size());
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    EXPECT_EQ(f.GetFreeBytes(), freeSize);
    MemHandle h = Bytes("0123456789");
    ASSERT_EQ(f.AddResource(h, kOBJD, 3, "", true), 0);
    ASSERT_EQ(f.WriteResource(h), 0);
    int32_t at = f.GetMap().FindById(kOBJD, 3, 0, false)->offset;
    EXPECT_EQ(at, freeSize == 86u + 75u ? end : freeAt);
    std::string bytes = ReadBytes(path);
    if (freeSize == 86u + 76u) {
      EXPECT_EQ(bytes.substr(freeAt + 86, 4), "XXXX");
      EXPECT_EQ(ReadU32BE(reinterpret_cast<const uint8_t*>(bytes.data() + freeAt + 90)), 76u);
    }
    f.Close();
  }
}

TEST_F(IFFResFile2Test, RewritesInPlaceOrMovesAndCompactionKeepsEveryByte) {
  IFFResFile2 f;
  ASSERT_EQ(f.Create(path), 0);
  ASSERT_EQ(f.Open(path), 0);
  std::vector<std::string> contents;
  for (int i = 0; i < 8; ++i) {
    contents.push_back(std::string(3000 + i, static_cast<char>('a' + i)));
    MemHandle h = Bytes(contents.back());
    ASSERT_EQ(f.AddResource(h, kOBJD, static_cast<ResId>(i), "r" + std::to_string(i), true), 0);
    ASSERT_EQ(f.WriteResource(h), 0);
  }
  MemHandle first = f.GetResource(kOBJD, 0, nullptr);
  int32_t at = f.GetMap().FindByHandle(first)->offset;
  GetMemHandleData(first)[0] = 'Z';
  contents[0][0] = 'Z';
  ASSERT_EQ(f.WriteResource(first), 0);
  EXPECT_EQ(f.GetMap().FindByHandle(first)->offset, at) << "same size, same place";
  ASSERT_EQ(SetMemHandleSize(first, 5000), 0);
  contents[0].resize(5000, '\0');
  ASSERT_EQ(f.WriteResource(first), 0);
  EXPECT_NE(f.GetMap().FindByHandle(first)->offset, at);
  EXPECT_EQ(ReadBytes(path).substr(at, 4), "XXXX");
  // Delete enough to pass the compaction threshold.
  for (ResId id : {2, 4, 6, 7}) ASSERT_EQ(f.DeleteResource(f.GetResource(kOBJD, id, nullptr)), 0);
  EXPECT_GT(f.GetFreeBytes(), 10239u);
  size_t before = ReadBytes(path).size();
  ASSERT_EQ(f.Close(), 0);
  size_t after = ReadBytes(path).size();
  EXPECT_LT(after, before - 10000);
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_TRUE(f.OpenedByMap());
  EXPECT_EQ(f.GetFreeBytes(), 0u);
  for (ResId id : {0, 1, 3, 5}) {
    EXPECT_EQ(Text(f.GetResource(kOBJD, id, nullptr)), contents[static_cast<size_t>(id)]) << id;
    std::string label;
    f.GetLabel(f.GetResource(kOBJD, id, nullptr), label);
    EXPECT_EQ(label, "r" + std::to_string(id));
  }
  EXPECT_EQ(f.CountResources(kOBJD), 4);
  f.Close();
  // The same after a scan.
  std::string bytes = ReadBytes(path);
  IffBuilder b;
  b.bytes = bytes;
  b.SetWord32(60, 0);
  WriteBytes(path, b.bytes);
  ASSERT_EQ(f.Open(path), 0);
  for (ResId id : {0, 1, 3, 5})
    EXPECT_EQ(Text(f.GetResource(kOBJD, id, nullptr)), contents[static_cast<size_t>(id)]);
}

TEST_F(IFFResFile2Test, VariantsRenamesAndDetach) {
  MakeMapped();
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  ASSERT_EQ(f.AddResourceVariant(Bytes("french chair"), kOBJD, 128, "Chair", 3, true), 0);
  EXPECT_EQ(Text(f.GetResource(kOBJD, 128, nullptr)), "chair");
  MemHandle v = f.GetResourceVariant(kOBJD, 128, 3, nullptr);
  EXPECT_EQ(Text(v), "french chair");
  ASSERT_EQ(f.ChangeId(v, 129), 0);
  EXPECT_EQ(f.GetVariant(v), 3);
  ASSERT_EQ(f.DetachResource(v), 0);  // written first: it was never written
  DisposeMemHandle(v);
  MemHandle tree = f.GetResource(kBHAV, 4097, nullptr);
  ASSERT_EQ(f.SetIdAndLabel(tree, 5000, "renamed", 0), 0);
  ASSERT_EQ(f.Close(), 0);
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(Text(f.GetResourceVariant(kOBJD, 129, 3, nullptr)), "french chair");
  EXPECT_EQ(Text(f.GetNamedResource(kBHAV, "RENAMED", nullptr)), "tree two");
  ResId id = 0;
  f.GetId(f.GetNamedResource(kBHAV, "renamed", nullptr), id);
  EXPECT_EQ(id, 5000);
}

TEST_F(IFFResFile2Test, ReadOnlyFilesReadButRefuseChanges) {
  MakeMapped();
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_FALSE(f.IsWritable());
  MemHandle chair = f.GetResource(kOBJD, 128, nullptr);
  EXPECT_EQ(Text(chair), "chair");
  MemHandle h = Bytes("x");
  EXPECT_EQ(f.AddResource(h, kOBJD, 1, "", true), kResNotWritable);
  EXPECT_EQ(f.WriteResource(chair), kResNotWritable);
  EXPECT_EQ(f.DeleteResource(chair), kResNotWritable);
  EXPECT_EQ(f.SetIdAndLabel(chair, 3, "", 0), kResNotWritable);
  DisposeMemHandle(h);
  EXPECT_EQ(f.Close(), 0);
}

TEST_F(IFFResFile2Test, SuspendResumeAndOpenWithFlags) {
  MakeMapped();
  IFFResFile2 f;
  EXPECT_EQ(f.Resume(), kFlatOpenFailed);
  ASSERT_EQ(f.Open(path), 0);
  ASSERT_EQ(f.Suspend(), 0);
  EXPECT_FALSE(f.IsOpen());
  ASSERT_EQ(f.Resume(), 0);
  EXPECT_EQ(f.CountResources(kBHAV), 2);
  f.Close();
  std::string fresh = (dir / "new.iff").string();
  EXPECT_EQ(f.OpenWithFlags(fresh, iResFile::kOpenCreateMissing), 0);
  EXPECT_TRUE(f.IsOpen());
  f.Close();
  // An existing file that cannot be opened is never created over.
  std::string locked = (dir / "locked.iff").string();
  WriteBytes(locked, "x");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  if (::getuid() != 0) {
    EXPECT_EQ(f.OpenWithFlags(locked, iResFile::kOpenCreateMissing), kFlatCreateExists);
  }
}

TEST_F(IFFResFile2Test, AMapOffsetOffTheChainNeverWritesIntoOtherResources) {
  MakeMapped();
  int32_t tree = 0;
  {
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    tree = f.GetMap().FindById(kBHAV, 4096, 0, false)->offset;
  }
  // The map's first entry (OBJD 128) now points into the data of BHAV 4096.
  std::string bytes = ReadBytes(path);
  const size_t firstOffset = MapOffsetOf(bytes) + 76 + 12 + 16;
  ASSERT_EQ(ReadU32LE(reinterpret_cast<const uint8_t*>(bytes.data() + firstOffset - 8)), kOBJD);
  WriteU32LE(reinterpret_cast<uint8_t*>(bytes.data() + firstOffset), static_cast<uint32_t>(tree + 76 + 4));
  WriteBytes(path, bytes);
  {
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    ASSERT_TRUE(f.OpenedByMap());
    EXPECT_EQ(f.AddResource(Bytes("a new chair"), kOBJD, 128, "Chair", true), 0);
    EXPECT_EQ(f.Close(), 0);
  }
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(Text(f.GetResource(kBHAV, 4096, nullptr)), "tree one");
  EXPECT_EQ(Text(f.GetResource(kBHAV, 4097, nullptr)), "tree two");
  EXPECT_EQ(Text(f.GetResource(kOBJD, 128, nullptr)), "a new chair");
}

TEST_F(IFFResFile2Test, AddingBehindADamagedChunkKeepsWhatTheMapListsAfterIt) {
  MakeMapped();
  // The first chunk claims more bytes than the file has; the map still
  // lists the two resources behind it.
  std::vector<std::pair<ResId, std::string>> behind;
  {
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    for (ResId id : {4096, 4097})
      if (f.GetMap().FindById(kBHAV, id, 0, false)->offset != 64)
        behind.emplace_back(id, Text(f.GetResource(kBHAV, id, nullptr)));
    if (f.GetMap().FindById(kOBJD, 128, 0, false)->offset != 64)
      behind.emplace_back(128, Text(f.GetResource(kOBJD, 128, nullptr)));
  }
  ASSERT_EQ(behind.size(), 2u);
  IffBuilder b;
  b.bytes = ReadBytes(path);
  b.SetWord32(64 + 4, 0x00FFFFFF);
  WriteBytes(path, b.bytes);
  {
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    ASSERT_TRUE(f.OpenedByMap());
    EXPECT_EQ(f.AddResource(Bytes("added after the damage"), kOBJD, 300, "", true), 0);
    EXPECT_EQ(f.Close(), 0);
  }
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_TRUE(f.OpenedByMap());
  for (const auto& [id, text] : behind) {
    MemHandle h = f.GetResource(id == 128 ? kOBJD : kBHAV, id, nullptr);
    EXPECT_EQ(Text(h), text) << id;
  }
  EXPECT_EQ(Text(f.GetResource(kOBJD, 300, nullptr)), "added after the damage");
}

namespace {

// Chunks spanning the file up to 100 bytes below 2^31 - 1 behind what `head`
// holds, so any chunk added at the end fails; the space stays sparse.
void FillToNearlyTwoGigabytes(const std::string& path, IffBuilder head) {
  const int64_t first = int64_t{1} << 30;
  const int64_t total = INT32_MAX - 100;
  const auto at = static_cast<int64_t>(head.bytes.size());
  head.Chunk(TypeCode("JUNK"), 1, 0, "", "", first);
  IffBuilder second;
  second.Chunk(TypeCode("JUNK"), 2, 0, "", "", total - at - first);
  WriteBytes(path, head.bytes);
  {
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(at + first);
    out.write(second.bytes.data(), static_cast<std::streamsize>(second.bytes.size()));
  }
  std::filesystem::resize_file(path, static_cast<uintmax_t>(total));
}

}  // namespace

TEST_F(IFFResFile2Test, AnAddThatWouldGrowTheFilePastTwoGigabytesIsRefused) {
  FillToNearlyTwoGigabytes(path, IffBuilder::V2());
  {
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    ASSERT_EQ(f.CountResources(TypeCode("JUNK")), 2);
    MemHandle h = NewMemHandle(200);
    ASSERT_EQ(f.AddResource(h, kOBJD, 1, "", true), 0);
    EXPECT_NE(f.WriteResource(h), 0);
    EXPECT_NE(f.Close(), 0);
  }
  EXPECT_LE(std::filesystem::file_size(path), static_cast<uintmax_t>(INT32_MAX));
  IFFResFile2 f;
  ASSERT_EQ(f.Open(path), 0);
  EXPECT_EQ(f.CountResources(TypeCode("JUNK")), 2);
}

TEST_F(IFFResFile2Test, AFailedWriteOfNewDataKeepsTheOldData) {
  // New data that fits in no free chunk must go at the end, where the file
  // cannot grow: both a replacement and a changed handle fail to write.
  for (bool replace : {true, false}) {
    IffBuilder head = IffBuilder::V2();
    head.Chunk(kOBJD, 128, kResFlagNative, "chair", "Chair");
    FillToNearlyTwoGigabytes(path, head);
    {
      IFFResFile2 f;
      ASSERT_EQ(f.Open(path), 0);
      MemHandle h = Bytes(std::string(2000, 'n'));
      if (replace) {
        ASSERT_EQ(f.AddResource(h, kOBJD, 128, "Chair", true), 0);
      } else {
        DisposeMemHandle(h);
        h = f.GetResource(kOBJD, 128, nullptr);
        ASSERT_EQ(SetMemHandleSize(h, 2000), 0);
      }
      EXPECT_NE(f.WriteResource(h), 0) << replace;
      EXPECT_EQ(f.GetMap().FindById(kOBJD, 128, 0, false)->offset, 64) << replace;
      EXPECT_NE(f.Close(), 0) << replace;
    }
    IFFResFile2 f;
    ASSERT_EQ(f.Open(path), 0);
    EXPECT_EQ(Text(f.GetResource(kOBJD, 128, nullptr)), "chair") << replace;
    EXPECT_EQ(f.Close(), 0);
  }
}
