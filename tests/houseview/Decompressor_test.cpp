#include "houseview/Decompressor.h"

#include <gtest/gtest.h>

#include <vector>

#include "houseview/SpriteMask.h"

namespace {

using tova::RLEDecompressor;

TEST(RLEDecompressor, ARowEndsAtTheNextRowHeader) {
  const std::vector<uint8_t> stream = {4, 10, 1, 10, 3, 3, 7, 8, 9, 0, 4, 4, 1, 1, 5, 0};
  RLEDecompressor rows(stream.data(), static_cast<int32_t>(stream.size()), nullptr, 32);
  std::vector<uint8_t> row(32, 0);
  const uint8_t* start = nullptr;
  EXPECT_TRUE(rows.DecodeRow8(row.data(), start));
  EXPECT_EQ(start, row.data());
  EXPECT_EQ(row[10], 7);
  EXPECT_EQ(row[11], 8);
  EXPECT_EQ(row[12], 9);  // 13 pixels, the last three set
  EXPECT_EQ(row[9], 0);
  EXPECT_EQ(row[13], 0);
  EXPECT_EQ(rows.GetPosition(), 10);  // the next call starts at the second row header
  EXPECT_FALSE(rows.DecodeRow8(row.data(), start));  // a row with nothing but a skip
  EXPECT_TRUE(rows.HasEnded());
  EXPECT_FALSE(rows.DecodeRow8(row.data(), start));
}

TEST(RLEDecompressor, BlankRowsComeOneACall) {
  const std::vector<uint8_t> stream = {9, 3, 4, 6, 2, 2, 5, 0, 5, 0};
  RLEDecompressor rows(stream.data(), static_cast<int32_t>(stream.size()), nullptr, 8);
  std::vector<uint8_t> row(8, 0);
  const uint8_t* start = nullptr;
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(rows.DecodeRow8(row.data(), start)) << i;
  EXPECT_TRUE(rows.DecodeRow8(row.data(), start));
  EXPECT_EQ(row[0], 5);
  EXPECT_EQ(row[1], 5);
  EXPECT_EQ(row[2], 0);
}

TEST(RLEDecompressor, SkippingIntoBlankRowsLeavesTheRestPending) {
  const std::vector<uint8_t> stream = {4, 4, 2, 1, 4, 2, 5, 255, 0, 6, 9, 10, 4, 6, 2, 1, 7, 0, 5, 0};
  RLEDecompressor rows(stream.data(), static_cast<int32_t>(stream.size()), nullptr, 8);
  rows.SkipRows(5);
  EXPECT_EQ(rows.GetPendingRows(), 7);
  std::vector<uint8_t> row(8, 0);
  const uint8_t* start = nullptr;
  for (int i = 0; i < 7; ++i) EXPECT_FALSE(rows.DecodeRow8(row.data(), start)) << i;
  EXPECT_TRUE(rows.DecodeRow8(row.data(), start));
  EXPECT_EQ(row[0], 7);
  rows.Reset();
  rows.SkipRows(12);  // two rows, ten blank rows: exactly past the 9
  EXPECT_EQ(rows.GetPendingRows(), 0);
  EXPECT_TRUE(rows.DecodeRow8(row.data(), start));
}

TEST(RLEDecompressor, SixteenBitRowsGoThroughTheColourTable) {
  uint16_t colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = static_cast<uint16_t>(0x1000 + i);
  const std::vector<uint8_t> stream = {4, 8, 2, 2, 9, 0, 1, 1, 3, 1, 4, 0, 5, 0};
  RLEDecompressor rows(stream.data(), static_cast<int32_t>(stream.size()), colours, 2);
  std::vector<uint16_t> row(8, 0);
  uint16_t* start = nullptr;
  EXPECT_TRUE(rows.DecodeRow16(row.data(), start));
  EXPECT_EQ(row[0], 0x1009);
  EXPECT_EQ(row[1], 0x1009);
  EXPECT_EQ(row[2], 0) << "clipped to the width";
}

TEST(RLEDecompressor, DamagedStreamsEndTheFrame) {
  struct Case {
    std::vector<uint8_t> stream;
    int skip;
  };
  const Case cases[] = {
      {{4, 6, 3, 200, 1}, 0},   // a literal run past the end
      {{4, 4, 2, 3}, 0},        // a fill without its value
      {{4, 0, 4, 0}, 3},        // a row of length 0 while skipping
      {{7, 7, 4, 4}, 2},        // an unknown operation while skipping
      {{4, 2, 5, 255, 255, 255}, 1},
  };
  for (const Case& c : cases) {
    RLEDecompressor rows(c.stream.data(), static_cast<int32_t>(c.stream.size()), nullptr, 4);
    std::vector<uint8_t> row(4, 0);
    const uint8_t* start = nullptr;
    rows.SkipRows(c.skip);
    for (int i = 0; i < 4; ++i) rows.DecodeRow8(row.data(), start);
    EXPECT_LE(rows.GetPosition(), static_cast<int32_t>(c.stream.size()));
  }
  const std::vector<uint8_t> unknown = {7, 7, 4, 4};
  RLEDecompressor rows(unknown.data(), 4, nullptr, 4);
  rows.SkipRows(1);
  EXPECT_TRUE(rows.HasEnded());
}

TEST(ArrayDecompressor, StepsByTheStride) {
  const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  tova::ArrayDecompressor rows(pixels.data(), 3);
  const uint8_t* start = nullptr;
  uint16_t* wide = nullptr;
  EXPECT_FALSE(rows.DecodeRow16(nullptr, wide));
  EXPECT_TRUE(rows.DecodeRow8(nullptr, start));
  EXPECT_EQ(*start, 1);
  rows.SkipRows(1);
  rows.DecodeRow8(nullptr, start);
  EXPECT_EQ(*start, 7);
  rows.Reset();
  rows.DecodeRow8(nullptr, start);
  EXPECT_EQ(*start, 1);
}

TEST(DummyDecompressor, RampsWrapAtTheEnd) {
  tova::DummyDecompressor up(3, true, 510);
  const uint8_t* start = nullptr;
  up.DecodeRow8(nullptr, start);
  EXPECT_EQ(start, tova::DummyDecompressor::GetRampTable(3) + 510);
  EXPECT_EQ(up.GetPhase(), 0);
  tova::DummyDecompressor down(1, false, 0);
  down.DecodeRow8(nullptr, start);
  EXPECT_EQ(down.GetPhase(), 510);
  down.SkipRows(3);
  EXPECT_EQ(down.GetPhase(), 504);
  // |sin| * 255 over a period of 256, 512 and 1024.
  EXPECT_EQ(tova::DummyDecompressor::GetRampTable(1)[64], 255);
  EXPECT_EQ(tova::DummyDecompressor::GetRampTable(2)[128], 255);
  EXPECT_EQ(tova::DummyDecompressor::GetRampTable(3)[256], 255);
  EXPECT_EQ(tova::DummyDecompressor::GetRampTable(3)[0], 0);
  // trunc(-255 + 0.5) is -254: the falling half peaks one lower.
  EXPECT_EQ(tova::DummyDecompressor::GetRampTable(1)[192], 254);
}

std::vector<uint8_t> DecoderMaskFrame(uint16_t w, uint16_t h, uint8_t transparent, const std::vector<uint16_t>& words,
                               const std::vector<std::vector<uint8_t>>& data) {
  std::vector<uint8_t> f = {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(h),
                            static_cast<uint8_t>(h >> 8), 0, 0, 0, 0, 0, 0, transparent, 0, 0, 0, 0, 0};
  size_t d = 0;
  for (uint16_t word : words) {
    f.push_back(static_cast<uint8_t>(word));
    f.push_back(static_cast<uint8_t>(word >> 8));
    if ((word & 0xE000) == 0xC000) {
      f.insert(f.end(), data[d].begin(), data[d].end());
      if (data[d].size() % 2) f.push_back(0);
      ++d;
    }
  }
  return f;
}

TEST(SpriteMask, DecodesRowsSkipsAndJumps) {
  const std::vector<uint8_t> f =
      DecoderMaskFrame(4, 4, 9, {0x0000, 0x6001, 0xC002, 0x8001, 0x0000, 0xC003, 0xA000}, {{1, 2}, {3, 4, 5}});
  std::vector<uint8_t> pixels(16, 255);
  tova::DecodeSpriteMask(f.data(), static_cast<int32_t>(f.size()), pixels.data(), 4, 4);
  const std::vector<uint8_t> expected = {9, 1, 2, 255, 255, 255, 255, 255, 3, 4, 5, 255, 255, 255, 255, 255};
  EXPECT_EQ(pixels, expected);
  const tova::MaskImage trimmed = tova::DecodeTrimmedSpriteMask(f.data(), static_cast<int32_t>(f.size()));
  ASSERT_EQ(trimmed.width, 4);
  const std::vector<uint8_t> trimmedExpected = {255, 1, 2, 255, 255, 255, 255, 255, 3, 4, 5, 255, 255, 255, 255, 255};
  EXPECT_EQ(trimmed.pixels, trimmedExpected);
}

TEST(SpriteMask, RunsAndRowMovesStayInsideTheImage) {
  // Wider runs than the image, jumps below it and a run past the frame's end.
  const std::vector<uint8_t> f =
      DecoderMaskFrame(2, 2, 7, {0x0000, 0xC005, 0x6FFF, 0x8FFF, 0x0000, 0xC001}, {{1, 2, 3, 4, 5}, {6}});
  std::vector<uint8_t> pixels(4 + 8, 0xAA);
  tova::DecodeSpriteMask(f.data(), static_cast<int32_t>(f.size()), pixels.data(), 2, 2);
  EXPECT_EQ(pixels[0], 1);
  EXPECT_EQ(pixels[1], 2);
  EXPECT_EQ(pixels[2], 0xAA);
  for (size_t i = 4; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], 0xAA) << i;
  std::vector<uint8_t> cut = DecoderMaskFrame(2, 1, 7, {0x0000, 0xC1FF}, {{1, 2}});
  tova::DecodeSpriteMask(cut.data(), static_cast<int32_t>(cut.size()), pixels.data(), 2, 1);
  EXPECT_TRUE(tova::DecodeTrimmedSpriteMask(cut.data(), 10).pixels.empty());
}

}  // namespace
