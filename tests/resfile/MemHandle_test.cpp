#include <gtest/gtest.h>

#include "resfile/MemHandle.h"
#include "resfile/ResUtil.h"

TEST(MemHandle, NewHandleIsFilledAndResizeKeepsThePrefix) {
  MemHandle h = NewMemHandle(4);
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(GetMemHandleSize(h), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(GetMemHandleData(h)[i], 0xA3);

  ASSERT_EQ(SetMemHandleSize(h, 8), 0);
  const uint8_t grown[8] = {0xA3, 0xA3, 0xA3, 0xA3, 0, 0, 0, 0};
  EXPECT_TRUE(EqualBytes(GetMemHandleData(h), grown, 8));

  GetMemHandleData(h)[1] = 7;
  ASSERT_EQ(SetMemHandleSize(h, 2), 0);
  EXPECT_EQ(GetMemHandleSize(h), 2);
  EXPECT_EQ(GetMemHandleData(h)[0], 0xA3);
  EXPECT_EQ(GetMemHandleData(h)[1], 7);
  EXPECT_EQ(DisposeMemHandle(h), 0);
}

TEST(MemHandle, NullAndNegativeSizesAreRefused) {
  EXPECT_EQ(NewMemHandle(-1), nullptr);
  EXPECT_EQ(GetMemHandleSize(nullptr), 0);
  EXPECT_EQ(SetMemHandleSize(nullptr, 4), 1);
  EXPECT_EQ(DisposeMemHandle(nullptr), 0);
  MemHandle h = NewMemHandle(0);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(SetMemHandleSize(h, -5), 1);
  EXPECT_EQ(GetMemHandleSize(h), 0);
  DisposeMemHandle(h);
}

TEST(ShortRect, IntersectOffsetAndEmptiness) {
  ShortRect a, b, out;
  ShortRect::Set(a, 0, 0, 10, 10);
  ShortRect::Set(b, 5, 6, 20, 20);
  ASSERT_TRUE(ShortRect::Intersect(a, b, out));
  EXPECT_EQ(out.left, 5);
  EXPECT_EQ(out.top, 6);
  EXPECT_EQ(out.right, 10);
  EXPECT_EQ(out.bottom, 10);
  ShortRect::Offset(b, 100, 0);
  EXPECT_FALSE(ShortRect::Intersect(a, b, out));
  EXPECT_TRUE(ShortRect::IsEmpty(out));
  WideRect w = ShortRectToRect(a);
  EXPECT_EQ(w.right, 10);
}

TEST(ResUtil, PascalStringAndTicks) {
  const unsigned char pascal[] = {3, 'a', 'b', 'c', 'd'};
  std::string out;
  CopyPascalString(pascal, out);
  EXPECT_EQ(out, "abc");
  uint32_t t0 = TicksNow();
  EXPECT_GE(TicksNow(), t0);
}
