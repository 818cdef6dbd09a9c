#include <gtest/gtest.h>

#include <vector>

#include "resfile/KeyedArrayList.h"
#include "resfile/ReconStream.h"
#include "resfile/ResUtil.h"

namespace {

std::vector<uint8_t> Write(KeyedArrayList& list, int32_t version) {
  ReconStream m;
  m.InitMeasure();
  list.Reconstitute(m, version);
  std::vector<uint8_t> bytes(static_cast<size_t>(m.GetPosition()));
  ReconStream w;
  w.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
  list.Reconstitute(w, version);
  EXPECT_FALSE(w.Failed());
  return bytes;
}

bool Read(KeyedArrayList& list, std::vector<uint8_t>& bytes, int32_t version) {
  ReconStream r;
  r.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  list.Reconstitute(r, version);
  return !r.Failed();
}

std::vector<uint8_t> Words(std::initializer_list<int32_t> words) {
  std::vector<uint8_t> bytes(words.size() * 4);
  size_t i = 0;
  for (int32_t w : words) WriteU32LE(&bytes[4 * i++], static_cast<uint32_t>(w));
  return bytes;
}

}  // namespace

TEST(KeyedArrayList, EmptyListIsMinusOneAndZero) {
  KeyedArrayList list;
  EXPECT_EQ(Write(list, 1), Words({-1, 0}));
}

TEST(KeyedArrayList, CurrentLayoutRoundTripKeepsEmptySlots) {
  KeyedArrayList list;
  list.SetSize(10, 2);
  list.SetValue(10, 1, -5);
  list.AddArray(20);
  list.SetSize(30, 1);
  list.SetValue(30, 0, 9);
  list.RemoveArray(20);
  auto bytes = Write(list, 1);
  EXPECT_EQ(bytes, Words({-1, 2, 1, 10, 2, 0, -5, 1, 30, 1, 9}));

  std::vector<uint8_t> withGap = Words({-1, 3, 1, 10, 1, 4, 0, 1, 30, 0});
  KeyedArrayList back;
  back.SetSize(99, 3);  // replaced by what is read
  ASSERT_TRUE(Read(back, withGap, 1));
  EXPECT_EQ(back.GetCount(), 3);
  EXPECT_EQ(back.GetValue(10, 0), 4);
  EXPECT_TRUE(back.IsSlotEmpty(1));
  EXPECT_EQ(back.GetSize(30), 0);
  EXPECT_EQ(back.GetIdAt(2), 30);
  EXPECT_EQ(back.GetSize(99), 0);
}

TEST(KeyedArrayList, OlderLayoutAndVersionZeroWithoutIds) {
  std::vector<uint8_t> old = Words({2, 7, 1, 11, 8, 0});
  KeyedArrayList list;
  ASSERT_TRUE(Read(list, old, 1));
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetValue(7, 0), 11);
  EXPECT_EQ(list.GetIdAt(1), 8);

  std::vector<uint8_t> v0 = Words({-1, 1, 1, 2, 5, 6});
  KeyedArrayList noIds;
  ASSERT_TRUE(Read(noIds, v0, 0));
  EXPECT_EQ(noIds.GetIdAt(0), 0);
  EXPECT_EQ(noIds.GetValue(0, 1), 6);
}

TEST(KeyedArrayList, HostileCountsAreRefusedBeforeAllocating) {
  const std::vector<std::vector<uint8_t>> cases = {
      Words({-1, 0x7FFFFFFF}),             // slots
      Words({-1, 1, 1, 5, 0x40000000}),    // values
      Words({0x10000000}),                 // older layout count
      Words({-1, 1, 1, 5, -3}),            // negative values count
      Words({-1, 2, 1}),                   // truncated
  };
  for (auto bytes : cases) {
    KeyedArrayList list;
    EXPECT_FALSE(Read(list, bytes, 1));
    EXPECT_LE(list.GetCount(), 2);
  }
}

TEST(KeyedArrayList, MissingIdsReadZeroAndIgnoreWrites) {
  KeyedArrayList list;
  list.SetSize(1, 2);
  list.SetValue(2, 0, 5);
  list.SetValue(1, 2, 5);
  EXPECT_EQ(list.GetValue(2, 0), 0);
  EXPECT_EQ(list.GetValue(1, -1), 0);
  EXPECT_EQ(list.GetValue(1, 1), 0);
  EXPECT_EQ(list.GetSize(2), 0);
  EXPECT_EQ(list.GetIdAt(5), 0);
}
