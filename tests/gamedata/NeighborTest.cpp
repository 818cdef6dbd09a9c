#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gamedata/Neighbor.h"
#include "gamedata/RecordIO.h"

using tova::Neighbor;

namespace {

// A neighbour record as a writer of record version r would have made it.
std::vector<uint8_t> RecordBytes(int32_t chunkVersion, int32_t r, int32_t dataVersion) {
  return tova::WritePlain([&](ReconStream& s) {
    if (chunkVersion >= Neighbor::kFirstVersionedChunk) {
      s.SerializeLongs(&r, 1);
      if (r > 1) {
        char name[64] = "Stored";
        s.SerializeFixedString(name, 64);
        int32_t stamp = 42;
        s.SerializeLongs(&stamp, 1);
      }
      if (r > 0) {
        s.SerializeLongs(&dataVersion, 1);
        if (dataVersion != 0) {
          int16_t words[80];
          for (int i = 0; i < 80; ++i) words[i] = static_cast<int16_t>(100 + i);
          s.SerializeShorts(words, r >= 3 ? 80 : 65);
        }
      }
    }
    int16_t id = 3;
    s.SerializeShorts(&id, 1);
    int32_t guid = 0xABCD;
    s.SerializeLongs(&guid, 1);
    KeyedArrayList relationships;
    relationships.AddArray(2);
    relationships.SetSize(2, 2);
    relationships.SetValue(2, 0, 55);
    relationships.Reconstitute(s, chunkVersion);
  });
}

}  // namespace

TEST(Neighbor, ReadsEveryRecordVersion) {
  struct Case {
    int32_t chunkVersion, r;
    bool hasName;
    int32_t data79;  // last word: only records of version 3 on keep it
  };
  const std::vector<Case> cases = {
      {10, 0, false, 0}, {29, 0, false, 0}, {30, 0, false, 0}, {30, 1, false, 0},
      {40, 2, true, 0},  {40, 3, true, 179}, {62, 4, true, 179},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.chunkVersion << " r" << c.r);
    auto bytes = RecordBytes(c.chunkVersion, c.r, 2);
    Neighbor n;
    n.name.Assign("left over");
    ASSERT_TRUE(tova::ReadPlain(bytes, [&](ReconStream& s) { n.Reconstitute(s, c.chunkVersion); }));
    EXPECT_EQ(n.id, 3);
    EXPECT_EQ(n.guid, 0xABCD);
    EXPECT_EQ(n.ReadRecordVersion(), c.chunkVersion >= 30 ? c.r : 0);
    EXPECT_STREQ(n.name.c_str(), c.hasName ? "Stored" : "");
    EXPECT_EQ(n.stamp, c.hasName ? 42 : 0);
    const bool hasData = c.chunkVersion >= 30 && c.r > 0;
    EXPECT_EQ(n.personDataVersion, hasData ? 2 : 0);
    EXPECT_EQ(n.personData[63], hasData ? 163 : 0);
    EXPECT_EQ(n.personData[79], c.data79);
    EXPECT_EQ(n.relationships.GetValue(2, 0), 55);
  }
}

TEST(Neighbor, WrittenRecordReadsBack) {
  Neighbor n;
  n.id = 5;
  n.guid = 77;
  n.name.Assign("Ada");
  n.stamp = 9;
  n.personDataVersion = 5;
  n.personData[69] = -4;
  n.relationships.AddArray(1);
  const int32_t v = 62;
  auto bytes = tova::WritePlain([&](ReconStream& s) { n.Reconstitute(s, v); });
  Neighbor back;
  ASSERT_TRUE(tova::ReadPlain(bytes, [&](ReconStream& s) { back.Reconstitute(s, v); }));
  EXPECT_EQ(back.ReadRecordVersion(), Neighbor::kRecordVersion);
  EXPECT_STREQ(back.name.c_str(), "Ada");
  EXPECT_EQ(back.personData[69], -4);
  EXPECT_EQ(back.relationships.GetCount(), 1);
  for (size_t cut : {size_t{1}, bytes.size() / 2, bytes.size() - 1}) {
    std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    Neighbor bad;
    EXPECT_FALSE(tova::ReadPlain(shorter, [&](ReconStream& s) { bad.Reconstitute(s, v); })) << cut;
  }
}

TEST(Neighbor, PersonDataCopiedBackByTheVersionTable) {
  Neighbor n;
  for (int i = 0; i < tova::kPersonDataCount; ++i) n.personData[i] = static_cast<int16_t>(1000 + i);
  struct Case {
    int32_t version;
    std::vector<int> copied, kept;
  };
  const std::vector<Case> cases = {
      {0, {}, {2, 61}},
      {1, {2, 7, 9, 18, 46, 55, 58, 60, 61}, {8, 19, 56, 65}},
      {2, {56, 57, 63}, {62, 65}},
      {3, {65}, {67, 64}},
      {4, {67, 68}, {69}},
      {5, {69, 2}, {0, 1, 8, 70, 79}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    n.personDataVersion = c.version;
    int16_t live[tova::kPersonDataCount];
    for (auto& w : live) w = -1;
    n.CopyPersonDataTo(live);
    for (int i : c.copied) EXPECT_EQ(live[i], 1000 + i) << i;
    for (int i : c.kept) EXPECT_EQ(live[i], -1) << i;
  }

  int16_t live[tova::kPersonDataCount];
  for (int i = 0; i < tova::kPersonDataCount; ++i) live[i] = static_cast<int16_t>(i);
  Neighbor fresh;
  fresh.CopyPersonDataFrom(live);
  EXPECT_EQ(fresh.personDataVersion, Neighbor::kPersonDataVersion);
  EXPECT_EQ(fresh.personData[61], 61);
  EXPECT_EQ(fresh.personData[69], 69);
  EXPECT_EQ(fresh.personData[8], 0);  // not a kept word
}
