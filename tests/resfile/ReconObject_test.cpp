#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/ResUtil.h"

namespace {

// A record whose layout grew: version 2 added a name.
struct Pet {
  int32_t legs = 0;
  int16_t age = 0;
  std::string name;
  std::vector<int32_t> marks;

  void Reconstitute(ReconStream& s, int32_t version) {
    s.SerializeLongs(&legs, 1);
    s.SerializeShorts(&age, 1);
    if (version >= 2) s.SerializeString(name);
    auto count = static_cast<int32_t>(marks.size());
    s.SerializeLongs(&count, 1);
    if (s.IsReading()) {
      if (!s.CheckCount(count, 4)) return;
      marks.resize(static_cast<size_t>(count));
    }
    if (count > 0) s.SerializeLongs(marks.data(), count);
  }
};

constexpr ResType kPet = TypeCode("PETS");

}  // namespace

TEST(ReconObject, RoundTripAtTwoVersions) {
  MemResFile file;
  Pet pet{4, 3, "Rex", {1, 2, 3}};
  SimpleReconObject<Pet> rec(&pet, kPet);
  for (int32_t version : {1, 2}) {
    ASSERT_EQ(ReconObject::SaveToResFile(rec, version, file, 200), 0);
    Pet back;
    SimpleReconObject<Pet> in(&back, kPet);
    int32_t got = 0;
    ASSERT_EQ(ReconObject::LoadFromResFile(in, file, 200, &got), 0);
    EXPECT_EQ(got, version);
    EXPECT_EQ(back.legs, 4);
    EXPECT_EQ(back.age, 3);
    EXPECT_EQ(back.name, version >= 2 ? "Rex" : "");
    EXPECT_EQ(back.marks, pet.marks);
  }
  // Saved twice under one id: one resource holding the second version.
  EXPECT_EQ(file.CountResources(kPet), 1);
  std::vector<uint8_t> stored;
  ASSERT_TRUE(file.GetStored(kPet, 200, stored));
  EXPECT_EQ(ReadU32LE(&stored[4]), 2u);
  EXPECT_EQ(ReadU32LE(&stored[8]), kPet);
}

TEST(ReconObject, MissingResourceLeavesTheObjectAlone) {
  MemResFile file;
  Pet pet{9, 9, "x", {}};
  SimpleReconObject<Pet> rec(&pet, kPet);
  EXPECT_EQ(ReconObject::LoadFromResFile(rec, file, 5), kResNotFound);
  EXPECT_EQ(pet.legs, 9);
}

TEST(ReconObject, TruncatedOrHostileRecordsAreRefused) {
  MemResFile file;
  Pet pet{4, 3, "Rex", {1, 2, 3}};
  SimpleReconObject<Pet> rec(&pet, kPet);
  MemHandle h = ReconObject::WriteToHandle(rec, 2);
  ASSERT_NE(h, nullptr);
  std::vector<uint8_t> bytes(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h));
  DisposeMemHandle(h);

  std::vector<uint8_t> truncated(bytes.begin(), bytes.end() - 4);
  file.AddStored(kPet, 1, truncated.data(), static_cast<int32_t>(truncated.size()));
  std::vector<uint8_t> huge = bytes;
  WriteU32LE(&huge[huge.size() - 16], 0x7FFFFFFF);  // the marks count
  file.AddStored(kPet, 2, huge.data(), static_cast<int32_t>(huge.size()));
  std::vector<uint8_t> noText(bytes.begin(), bytes.begin() + 12 + 6 + 2);  // name without end
  file.AddStored(kPet, 3, noText.data(), static_cast<int32_t>(noText.size()));
  std::vector<uint8_t> headerOnly(bytes.begin(), bytes.begin() + 8);
  file.AddStored(kPet, 4, headerOnly.data(), static_cast<int32_t>(headerOnly.size()));

  for (ResId id : {1, 2, 3, 4}) {
    Pet back;
    SimpleReconObject<Pet> in(&back, kPet);
    EXPECT_EQ(ReconObject::LoadFromResFile(in, file, id), kResBadData) << id;
    EXPECT_LE(back.marks.size(), 3u);
  }
}

TEST(ReconObject, RecordsFromABigEndianWriterAreSwapped) {
  // Header and body as a big-endian machine stores them; not native.
  std::vector<uint8_t> rec(12 + 4 + 2 + 4 + 4);
  WriteU32BE(&rec[4], 1);
  WriteU32BE(&rec[8], kPet);
  WriteU32BE(&rec[12], 0x01020304);
  WriteU16BE(&rec[16], 0x0506);
  WriteU32BE(&rec[18], 1);
  WriteU32BE(&rec[22], 77);
  MemResFile file;
  file.AddStored(kPet, 7, rec.data(), static_cast<int32_t>(rec.size()), "", 0);
  Pet back;
  SimpleReconObject<Pet> in(&back, kPet);
  int32_t version = 0;
  ASSERT_EQ(ReconObject::LoadFromResFile(in, file, 7, &version), 0);
  EXPECT_EQ(version, 1);
  EXPECT_EQ(back.legs, 0x01020304);
  EXPECT_EQ(back.age, 0x0506);
  EXPECT_EQ(back.marks, std::vector<int32_t>{77});
}

TEST(ReconObject, FailedWriteLeavesNoResource) {
  MemResFile file;
  Pet pet{1, 1, "", {}};
  SimpleReconObject<Pet> rec(&pet, kPet);
  file.FailNextWrite(kFlatShortWrite);
  EXPECT_EQ(ReconObject::SaveToResFile(rec, 1, file, 300), kFlatShortWrite);
  EXPECT_EQ(file.CountResources(kPet), 0);
  file.SetWritable(false);
  EXPECT_EQ(ReconObject::SaveToResFile(rec, 1, file, 300), kResNotWritable);
  EXPECT_EQ(file.CountResources(kPet), 0);
}

TEST(ReconObject, BaseRecordIsEmptyAndTypedRcon) {
  ReconObject base;
  EXPECT_EQ(base.GetTypeCode(), 0x52636F6Eu);
  MemHandle h = ReconObject::WriteToHandle(base, 0);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetMemHandleSize(h), 12);
  DisposeMemHandle(h);
}

TEST(ReconObject, FailedSaveOverAnOldRecordKeepsIt) {
  MemResFile file;
  Pet old{1, 7, "", {}};
  SimpleReconObject<Pet> oldRec(&old, kPet);
  ASSERT_EQ(ReconObject::SaveToResFile(oldRec, 1, file, 300), 0);
  Pet pet{2, 9, "", {}};
  SimpleReconObject<Pet> rec(&pet, kPet);
  file.FailNextWrite(kFlatShortWrite);
  EXPECT_EQ(ReconObject::SaveToResFile(rec, 1, file, 300), kFlatShortWrite);
  ASSERT_EQ(file.CountResources(kPet), 1);
  Pet back{};
  SimpleReconObject<Pet> backRec(&back, kPet);
  ASSERT_EQ(ReconObject::LoadFromResFile(backRec, file, 300), 0);
  EXPECT_EQ(back.age, 7);
  EXPECT_EQ(file.Close(), 0);
}
