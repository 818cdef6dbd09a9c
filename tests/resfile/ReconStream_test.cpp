#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resfile/FixedString.h"
#include "resfile/ReconStream.h"
#include "resfile/ResUtil.h"

namespace {

// The number of bits one packed value takes: eight copies fill whole bytes,
// so the byte count of eight is the bit count of one.
int PackedBits(int32_t value, int kind) {
  std::vector<uint8_t> buffer(64);
  ReconStream s;
  s.InitBuffer(buffer.data(), 64, ReconStream::kWrite, false);
  s.SetPacked();
  for (int i = 0; i < 8; ++i) {
    int32_t v32 = value;
    int16_t v16 = static_cast<int16_t>(value);
    if (kind == 32) s.SerializeLongs(&v32, 1); else s.SerializeShorts(&v16, 1);
  }
  ReconStream m;
  m.InitMeasure();
  m.SetPacked();
  for (int i = 0; i < 8; ++i) {
    int32_t v32 = value;
    int16_t v16 = static_cast<int16_t>(value);
    if (kind == 32) m.SerializeLongs(&v32, 1); else m.SerializeShorts(&v16, 1);
  }
  EXPECT_EQ(m.GetPosition(), s.GetPosition()) << "measure and write disagree for " << value;
  // And the values read back.
  ReconStream r;
  r.InitBuffer(buffer.data(), s.GetPosition(), ReconStream::kRead, false);
  r.SetPacked();
  for (int i = 0; i < 8; ++i) {
    int32_t v32 = 0;
    int16_t v16 = 0;
    if (kind == 32) {
      r.SerializeLongs(&v32, 1);
      EXPECT_EQ(v32, value);
    } else {
      r.SerializeShorts(&v16, 1);
      EXPECT_EQ(v16, static_cast<int16_t>(value));
    }
  }
  EXPECT_FALSE(r.Failed());
  return s.GetPosition();
}

}  // namespace

TEST(ReconStream, PackedWidthsFollowTheClassTable) {
  struct Case { int32_t value; int kind; int bits; } cases[] = {
      {0, 32, 1}, {1, 32, 9}, {-32, 32, 9}, {31, 32, 9}, {32, 32, 14}, {-33, 32, 14},
      {1024, 32, 24}, {0x40000000, 32, 35}, {-1, 16, 8}, {0x7FFF, 16, 19}, {-2147483647 - 1, 32, 35},
  };
  for (const Case& c : cases) EXPECT_EQ(PackedBits(c.value, c.kind), c.bits) << c.value;
}

TEST(ReconStream, PackedMinusOneAs16BitsIsOneZeroZeroFiveOnes) {
  uint8_t buffer[2] = {0, 0};
  ReconStream s;
  s.InitBuffer(buffer, 2, ReconStream::kWrite, false);
  s.SetPacked();
  int16_t v = -1;
  s.SerializeShorts(&v, 1);
  EXPECT_EQ(s.GetPosition(), 1);
  EXPECT_EQ(buffer[0], 0b10011111);
}

TEST(ReconStream, PackedBitsRunOnAcrossBytesUntilAString) {
  std::vector<uint8_t> buffer(16, 0xEE);
  ReconStream s;
  s.InitBuffer(buffer.data(), 16, ReconStream::kWrite, false);
  s.SetPacked();
  int32_t a = 1, b = 0;
  uint8_t c = 1;
  s.SerializeLongs(&a, 1);  // 9 bits
  s.SerializeLongs(&b, 1);  // 1 bit
  s.SerializeBytes(&c, 1);  // 1 + 2 + 2 = 5 bits: 15 bits, two bytes
  EXPECT_EQ(s.GetPosition(), 2);
  std::string text = "x";
  s.SerializeString(text);  // byte aligned again
  EXPECT_EQ(s.GetPosition(), 4);
  EXPECT_EQ(buffer[2], 'x');
}

TEST(ReconStream, InlineStringsArePaddedToEvenPositions) {
  std::vector<uint8_t> buffer(8, 0xA3);
  ReconStream s;
  s.InitBuffer(buffer.data(), 8, ReconStream::kWrite, false);
  std::string ab = "ab", abc = "abc";
  s.SerializeString(ab);
  EXPECT_EQ(s.GetPosition(), 4);
  s.SerializeString(abc);
  EXPECT_EQ(s.GetPosition(), 8);
  const uint8_t expected[8] = {'a', 'b', 0, 0xA3, 'a', 'b', 'c', 0};
  EXPECT_EQ(std::memcmp(buffer.data(), expected, 8), 0);

  ReconStream r;
  r.InitBuffer(buffer.data(), 8, ReconStream::kRead, false);
  std::string x, y;
  r.SerializeString(x);
  r.SerializeString(y);
  EXPECT_EQ(x, "ab");
  EXPECT_EQ(y, "abc");
  EXPECT_FALSE(r.Failed());
}

TEST(ReconStream, ThreeBlockMarksChainTheirOffsets) {
  int32_t v = 7;
  auto blocks = [&v](ReconStream& s) {
    s.BeginBlock();  // at 0: patched too
    s.SerializeLongs(&v, 1);
    s.BeginBlock();  // at 8
    s.SerializeLongs(&v, 1);
    s.SerializeLongs(&v, 1);
    s.BeginBlock();  // at 20
    s.SerializeLongs(&v, 1);
  };
  std::vector<uint8_t> buffer(64, 0);
  ReconStream s;
  s.InitBuffer(buffer.data(), 64, ReconStream::kWrite, false);
  blocks(s);
  int32_t end = s.GetPosition();
  EXPECT_EQ(ReadU32LE(&buffer[0]), 8u);
  EXPECT_EQ(ReadU32LE(&buffer[8]), 20u);
  EXPECT_EQ(ReadU32LE(&buffer[20]), 0u);
  ReconStream m;
  m.InitMeasure();
  blocks(m);
  EXPECT_EQ(m.GetPosition(), end);

  // A reader that knows only the first field of each block skips the rest.
  ReconStream r;
  r.InitBuffer(buffer.data(), end, ReconStream::kRead, false);
  int32_t got = 0;
  r.BeginBlock();
  r.SkipToBlockEnd();
  EXPECT_EQ(r.GetPosition(), 8);
  r.BeginBlock();
  r.SerializeLongs(&got, 1);
  r.SkipToBlockEnd();
  EXPECT_EQ(r.GetPosition(), 20);
  r.BeginBlock();
  r.SkipToBlockEnd();
  EXPECT_EQ(r.GetPosition(), end);
  EXPECT_FALSE(r.Failed());
}

TEST(ReconStream, SwappedStreamsReverseIntegersButNotFloats) {
  uint8_t buffer[10];
  ReconStream s;
  s.InitBuffer(buffer, 10, ReconStream::kWrite, true);
  int16_t sh = 0x1234;
  int32_t lg = 0x01020304;
  float f = 1.5f;
  s.SerializeShorts(&sh, 1);
  s.SerializeLongs(&lg, 1);
  s.SerializeFloats(&f, 1);
  EXPECT_EQ(buffer[0], 0x12);
  EXPECT_EQ(buffer[2], 0x01);
  EXPECT_EQ(std::memcmp(buffer + 6, &f, 4), 0);

  ReconStream r;
  r.InitBuffer(buffer, 10, ReconStream::kRead, true);
  int16_t sh2 = 0;
  int32_t lg2 = 0;
  float f2 = 0;
  r.SerializeShorts(&sh2, 1);
  r.SerializeLongs(&lg2, 1);
  r.SerializeFloats(&f2, 1);
  EXPECT_EQ(sh2, 0x1234);
  EXPECT_EQ(lg2, 0x01020304);
  EXPECT_EQ(f2, 1.5f);
}

TEST(ReconStream, BoolsAreOneByteNormalised) {
  uint8_t buffer[2] = {5, 0};
  ReconStream r;
  r.InitBuffer(buffer, 2, ReconStream::kRead, false);
  bool a = false, b = true;
  r.SerializeBool(&a);
  r.SerializeBool(&b);
  EXPECT_TRUE(a);
  EXPECT_FALSE(b);
  EXPECT_EQ(r.GetPosition(), 2);
}

TEST(ReconStream, OverrunIsStickyAndReadsZeros) {
  uint8_t buffer[6] = {1, 0, 0, 0, 2, 0};
  ReconStream r;
  r.InitBuffer(buffer, 6, ReconStream::kRead, false);
  int32_t a = -1, b = -1;
  r.SerializeLongs(&a, 1);
  EXPECT_EQ(a, 1);
  r.SerializeLongs(&b, 1);  // only two bytes left
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(b, 0);
  std::string text = "old";
  r.SerializeString(text);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(r.Failed());
}

TEST(ReconStream, StringWithoutTerminatorFails) {
  const uint8_t buffer[3] = {'a', 'b', 'c'};
  ReconStream r;
  r.InitBuffer(const_cast<uint8_t*>(buffer), 3, ReconStream::kRead, false);
  std::string text;
  r.SerializeString(text);
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(text, "");
}

TEST(ReconStream, WritesNeverPassTheCapacity) {
  uint8_t buffer[4] = {0, 0, 0, 0};
  ReconStream s;
  s.InitBuffer(buffer, 3, ReconStream::kWrite, false);
  int32_t v = 0x7F7F7F7F;
  s.SerializeLongs(&v, 1);
  EXPECT_TRUE(s.Failed());
  EXPECT_EQ(buffer[3], 0);
}

TEST(ReconStream, CountsAreCheckedAgainstTheBytesLeft) {
  uint8_t buffer[8] = {};
  ReconStream r;
  r.InitBuffer(buffer, 8, ReconStream::kRead, false);
  EXPECT_TRUE(r.CheckCount(2, 4));
  EXPECT_FALSE(r.CheckCount(3, 4));
  EXPECT_TRUE(r.Failed());

  ReconStream p;
  p.InitBuffer(buffer, 8, ReconStream::kRead, false);
  p.SetPacked();
  EXPECT_TRUE(p.CheckCount(64, 4));  // zeros take a bit each
  EXPECT_FALSE(p.CheckCount(-1, 4));
}

TEST(ReconStream, MarkWordsOutsideTheRecordFail) {
  uint8_t buffer[8] = {0xFF, 0, 0, 0, 0, 0, 0, 0};  // next mark at 255
  ReconStream r;
  r.InitBuffer(buffer, 8, ReconStream::kRead, false);
  r.BeginBlock();
  EXPECT_TRUE(r.Failed());
}

TEST(ReconStream, FixedStringsAreCutToTheirCapacity) {
  uint8_t buffer[8] = {};
  ReconStream s;
  s.InitBuffer(buffer, 8, ReconStream::kWrite, false);
  char name[8] = "abcdef";
  s.SerializeFixedString(name, 8);
  ReconStream r;
  r.InitBuffer(buffer, 8, ReconStream::kRead, false);
  char small[4] = {};
  r.SerializeFixedString(small, 4);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(r.GetPosition(), 8);

  ReconStream again;
  again.InitBuffer(buffer, 8, ReconStream::kRead, false);
  FixedStringBuffer<5> bounded;
  again.SerializeFixedString(bounded);
  EXPECT_STREQ(bounded.c_str(), "abcd");
}
