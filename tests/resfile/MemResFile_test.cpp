#include <gtest/gtest.h>

#include "ResTestUtil.h"

#include <cstring>
#include <string>
#include <vector>

#include "resfile/MemResFile.h"

namespace {

void SwapPairs(void* data, int32_t size) {
  auto* p = static_cast<uint8_t*>(data);
  for (int32_t i = 0; i + 1 < size; i += 2) std::swap(p[i], p[i + 1]);
}

}  // namespace

TEST(MemResFile, TypeCodesAreBigEndianCharacters) {
  EXPECT_EQ(TypeCode("rsmp"), 0x72736D70u);
  EXPECT_EQ(TypeCode("XXXX"), 0x58585858u);
  EXPECT_EQ(TypeCodeText(TypeCode("STR#")), "STR#");
}

TEST(MemResFile, SameHandleUntilReleased) {
  MemResFile file;
  file.AddStored(kOBJD, 5, "abcd", 4, "chair");
  MemHandle a = file.GetResource(kOBJD, 5, nullptr);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(file.GetResource(kOBJD, 5, nullptr), a);
  EXPECT_EQ(file.ReleaseResource(a), 0);
  MemHandle b = file.GetResource(kOBJD, 5, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Text(b), "abcd");
  EXPECT_EQ(file.GetNamedResource(kOBJD, "CHAIR", nullptr), b);
  EXPECT_EQ(file.GetNamedResource(kOBJD, "", nullptr), nullptr);
  EXPECT_EQ(file.GetError(), kResUnknownLabel);
}

TEST(MemResFile, UnusedIdsAndTypeIndex) {
  MemResFile file;
  EXPECT_EQ(file.GetUnusedId(kOBJD), 129);
  file.AddStored(kOBJD, 5, "x", 1);
  file.AddStored(kOBJD, 7, "x", 1);
  EXPECT_EQ(file.GetUnusedId(kOBJD), 129);
  file.AddStored(kSPR2, 200, "x", 1);
  file.AddStored(kSPR2, -3, "x", 1);
  EXPECT_EQ(file.GetUnusedId(kSPR2), 201);
  // Past the largest id the first free one from 129 on is handed out,
  // never an id in use.
  for (ResId taken : {32767, 129, 130, -32768}) file.AddStored(kSPR2, taken, "x", 1);
  EXPECT_EQ(file.GetUnusedId(kSPR2), 131);
  EXPECT_EQ(file.CountTypes(), 2);
  EXPECT_EQ(file.GetTypeAt(2), kSPR2);
  EXPECT_EQ(file.GetTypeAt(0), 0u);
  EXPECT_EQ(file.GetError(), kResBadTypeIndex);
  EXPECT_EQ(file.GetTypeAt(3), 0u);
}

TEST(MemResFile, SwapCallbackRunsOnceAndOnlyForForeignData) {
  MemResFile file;
  file.AddStored(kOBJD, 1, "abcd", 4, "", 0);
  file.AddStored(kOBJD, 2, "abcd", 4, "", kResFlagNative);
  MemHandle foreign = file.GetResource(kOBJD, 1, SwapPairs);
  MemHandle native = file.GetResource(kOBJD, 2, SwapPairs);
  EXPECT_EQ(Text(foreign), "badc");
  EXPECT_EQ(Text(native), "abcd");
  EXPECT_TRUE(file.IsNative(foreign));
  EXPECT_EQ(Text(file.GetResource(kOBJD, 1, SwapPairs)), "badc");
  // Detaching returns the flags to what is stored.
  file.DetachResource(foreign);
  DisposeMemHandle(foreign);
  MemHandle raw = file.GetResource(kOBJD, 1, nullptr);
  EXPECT_EQ(Text(raw), "abcd");
  EXPECT_FALSE(file.IsNative(raw));
  // A later load with the callback turns the cached data, once.
  EXPECT_EQ(file.GetResource(kOBJD, 1, SwapPairs), raw);
  EXPECT_EQ(Text(raw), "badc");
  EXPECT_EQ(Text(file.GetResource(kOBJD, 1, SwapPairs)), "badc");
}

TEST(MemResFile, VariantsNeverReplaceTheDefault) {
  MemResFile file;
  ASSERT_EQ(file.AddResource(Bytes("default"), kOBJD, 10, "d", true), 0);
  ASSERT_EQ(file.AddResourceVariant(Bytes("two"), kOBJD, 10, "v", 2, true), 0);
  EXPECT_EQ(file.CountResources(kOBJD), 2);
  EXPECT_EQ(Text(file.GetResource(kOBJD, 10, nullptr)), "default");
  MemHandle v = file.GetResourceVariant(kOBJD, 10, 2, nullptr);
  EXPECT_EQ(Text(v), "two");
  EXPECT_EQ(file.GetVariant(v), 2);
  // An absent variant reads the default.
  EXPECT_EQ(Text(file.GetResourceVariant(kOBJD, 10, 3, nullptr)), "default");
  // Adding the same variant again replaces only it.
  ASSERT_EQ(file.AddResourceVariant(Bytes("two again"), kOBJD, 10, "v", 2, true), 0);
  EXPECT_EQ(file.CountResources(kOBJD), 2);
  EXPECT_EQ(Text(file.GetResourceVariant(kOBJD, 10, 2, nullptr)), "two again");
  // Variants are not found by label.
  EXPECT_EQ(file.GetNamedResource(kOBJD, "v", nullptr), nullptr);
}

TEST(MemResFile, UniqueLabelsStayWithinTheLabelLength) {
  const std::string full(63, 'x'), cut62(62, 'x');
  struct Case {
    std::vector<std::string> stored;
    std::string asked, expected;
  } cases[] = {
      {{"thing"}, "thing", "thing0"},
      {{"thing", "thing0"}, "THING", "THING1"},
      {{}, "free", "free"},
      // The counter replaces the end of a label of full length.
      {{full}, full, cut62 + "0"},
      {{full, cut62 + "0"}, full, cut62 + "1"},
      // A longer label is what it will be stored as: its first 63 characters.
      {{full}, std::string(80, 'x'), cut62 + "0"},
      {{}, std::string(80, 'y'), std::string(63, 'y')},
  };
  for (const Case& c : cases) {
    MemResFile file;
    for (size_t i = 0; i < c.stored.size(); ++i) file.AddStored(kOBJD, static_cast<ResId>(i + 1), "x", 1, c.stored[i]);
    std::string label = c.asked;
    EXPECT_EQ(file.MakeUniqueLabel(kOBJD, label), 0);
    EXPECT_EQ(label, c.expected) << c.asked;
  }
}

TEST(MemResFile, RenameUniqueLabelsAndDelete) {
  MemResFile file;
  MemHandle a = Bytes("a");
  ASSERT_EQ(file.AddResource(a, kOBJD, 1, "thing", true), 0);
  ASSERT_EQ(file.WriteResource(a), 0);
  std::string label = "thing";
  file.MakeUniqueLabel(kOBJD, label);
  EXPECT_EQ(label, "thing0");
  ASSERT_EQ(file.ChangeId(a, 44), 0);
  ResId id = 0;
  file.GetId(a, id);
  EXPECT_EQ(id, 44);
  file.GetLabel(a, label);
  EXPECT_EQ(label, "thing");
  ASSERT_EQ(file.SetIdAndLabel(a, 45, std::string(80, 'n'), 0), 0);
  file.GetLabel(a, label);
  EXPECT_EQ(label.size(), 63u);
  EXPECT_EQ(file.DeleteResource(a), 0);
  EXPECT_EQ(file.CountResources(kOBJD), 0);
  EXPECT_EQ(file.CountTypes(), 0);
  MemHandle stray = Bytes("s");
  EXPECT_EQ(file.DeleteResource(stray), kResUnknownLabel);
  EXPECT_EQ(file.GetType(stray), 0u);
  EXPECT_EQ(file.GetError(), kResNotFound);
  EXPECT_EQ(file.GetVariant(stray), 0);
  int32_t value = 5;
  EXPECT_EQ(file.GetHandleAttribute(stray, value), kResUnsupported);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(file.LockHandle(stray), kResUnsupported);
  DisposeMemHandle(stray);
}

TEST(MemResFile, ReadOnlyAndClosedFilesRefuseChanges) {
  MemResFile file;
  file.SetWritable(false);
  MemHandle h = Bytes("x");
  EXPECT_EQ(file.AddResource(h, kOBJD, 1, "", true), kResNotWritable);
  EXPECT_EQ(file.CountResources(kOBJD), 0);
  file.SetWritable(true);
  ASSERT_EQ(file.AddResource(h, kOBJD, 1, "", true), 0);
  ASSERT_EQ(file.Close(), 0);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.GetResource(kOBJD, 1, nullptr), nullptr);
  EXPECT_EQ(file.GetError(), kFlatNotOpen);
  ASSERT_EQ(file.Open("again"), 0);
  EXPECT_EQ(file.Open("again"), kFlatAlreadyOpen);
  // Close wrote the pending resource.
  EXPECT_EQ(Text(file.GetResource(kOBJD, 1, nullptr)), "x");
  ASSERT_EQ(file.Suspend(), 0);
  ASSERT_EQ(file.Resume(), 0);
  EXPECT_EQ(file.Resume(), kFlatOpenFailed);
  EXPECT_EQ(file.CountResources(kOBJD), 1);
}

TEST(MemResFile, CloseForgetsWhatWasNeverStored) {
  MemResFile file;
  file.AddStored(kOBJD, 1, "old", 3, "Old");
  ASSERT_EQ(file.AddResource(Bytes("new"), kOBJD, 1, "New", true), 0);
  ASSERT_EQ(file.AddResource(Bytes("added"), kSPR2, 7, "", true), 0);
  ASSERT_EQ(file.GetResource(kSPR2, 7, nullptr), file.GetResource(kSPR2, 7, nullptr));
  file.SetWritable(false);
  ASSERT_EQ(file.Close(), 0);
  ASSERT_EQ(file.Open("again"), 0);
  EXPECT_EQ(file.CountTypes(), 1);
  EXPECT_EQ(file.GetResource(kSPR2, 7, nullptr), nullptr);
  EXPECT_EQ(file.GetError(), kResNotFound);
  EXPECT_EQ(Text(file.GetNamedResource(kOBJD, "Old", nullptr)), "old");
  EXPECT_EQ(file.GetNamedResource(kOBJD, "New", nullptr), nullptr);
}

TEST(MemResFile, OpenWithFlagsCreatesAMissingFile) {
  MemResFile file;
  file.Close();
  EXPECT_EQ(file.OpenWithFlags("x", iResFile::kOpenCreateMissing), 0);
  EXPECT_TRUE(file.IsOpen());
}

TEST(MemResFile, AHandleOfOneEntryIsRefusedForAnother) {
  MemResFile file;
  MemHandle first = NewMemHandle(4);
  MemHandle second = NewMemHandle(4);
  ASSERT_EQ(file.AddResource(first, kOBJD, 1, "", true), 0);
  ASSERT_EQ(file.AddResource(second, kOBJD, 2, "", true), 0);
  // Taking over id 2 with the handle of id 1 would leave both entries
  // holding one handle (freed twice at close).
  EXPECT_EQ(file.AddResource(first, kOBJD, 2, "", true), kResBadData);
  EXPECT_EQ(file.GetResource(kOBJD, 2, nullptr), second);
  EXPECT_EQ(file.GetResource(kOBJD, 1, nullptr), first);
  EXPECT_EQ(file.Close(), 0);
}

TEST(MemResFile, AReplacementThatFailsToWriteKeepsTheStoredData) {
  MemResFile file;
  file.AddStored(kOBJD, 1, "old", 3, "Old");
  MemHandle h = Bytes("new data");
  ASSERT_EQ(file.AddResource(h, kOBJD, 1, "Old", true), 0);
  file.FailNextWrite(kFlatShortWrite);
  EXPECT_EQ(file.WriteResource(h), kFlatShortWrite);
  std::vector<uint8_t> stored;
  ASSERT_TRUE(file.GetStored(kOBJD, 1, stored));
  EXPECT_EQ(std::string(stored.begin(), stored.end()), "old");
  // The replacement is still pending and is written by the next flush.
  ASSERT_EQ(file.Flush(), 0);
  ASSERT_TRUE(file.GetStored(kOBJD, 1, stored));
  EXPECT_EQ(std::string(stored.begin(), stored.end()), "new data");
  EXPECT_EQ(file.Close(), 0);
}
