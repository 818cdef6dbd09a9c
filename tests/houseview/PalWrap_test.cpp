#include "houseview/PalWrap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "resfile/SpriteWriter.h"
#include "support/ScratchDir.h"

namespace {

using tova::PalWrap;

void WritePalWrapFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A bitmap header of the given depth and colour count, then the quads.
std::vector<uint8_t> PalWrapBitmap(int bits, uint32_t used, const std::vector<uint32_t>& quads) {
  std::vector<uint8_t> b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  b[14] = 40;
  b[28] = static_cast<uint8_t>(bits);
  for (int i = 0; i < 4; ++i) b[46 + i] = static_cast<uint8_t>(used >> (8 * i));
  for (uint32_t q : quads) {
    b.push_back(static_cast<uint8_t>(q));        // blue
    b.push_back(static_cast<uint8_t>(q >> 8));   // green
    b.push_back(static_cast<uint8_t>(q >> 16));  // red
    b.push_back(0);
  }
  return b;
}

TEST(PalWrap, GreyTintClampsWhiteAndTintsBlack) {
  EXPECT_EQ(tova::GreyTint(0xFFFFFF, 1.1f), 0xFFFFFFu);
  EXPECT_EQ(tova::GreyTint(0x000000, 0.9f), 0x300000u);
  EXPECT_EQ(tova::GreyTint(0x303030, 1.0f), 0x603030u);
}

TEST(PalWrap, AdjustLumaKeepsGreysAndBrightens) {
  EXPECT_EQ(tova::AdjustLuma(0x000000, 1.0f, 0.0f), 0x000000u);
  EXPECT_EQ(tova::AdjustLuma(0xFFFFFF, 1.0f, 0.0f), 0xFFFFFFu);
  const uint32_t brighter = tova::AdjustLuma(0x404040, 1.0f, 0.09f);
  EXPECT_GT(brighter & 0xFF, 0x40u);
  EXPECT_GT((brighter >> 16) & 0xFF, 0x40u);
}

TEST(PalWrap, ShadedTableOfOneIsThePlainTableWithoutRebuilding) {
  PalWrap p;
  p.SetFromPALT(tova::WritePaletteResource({0xFF0000, 0x00FF00}).data(), 22);
  const int builds = p.GetShadeBuilds();
  EXPECT_EQ(p.GetShadedTable(1.0000005f), p.GetTable(PalWrap::kPlain));
  EXPECT_EQ(p.GetShadeBuilds(), builds);
  EXPECT_EQ(p.GetTable(PalWrap::kPlain)[0], 0xF800);
  EXPECT_EQ(p.GetTable(PalWrap::kPlain)[1], 0x07E0);
}

TEST(PalWrap, AlternatingFactorsRebuildTheShadedTableEachTime) {
  PalWrap p;
  p.SetFromPALT(tova::WritePaletteResource({0xFFFFFF}).data(), 19);
  const int builds = p.GetShadeBuilds();
  for (int i = 0; i < 4; ++i) p.GetShadedTable(i % 2 ? 0.8f : 0.7f);
  EXPECT_EQ(p.GetShadeBuilds(), builds + 4);
  p.GetShadedTable(0.8f);
  EXPECT_EQ(p.GetShadeBuilds(), builds + 4);  // the same factor again: kept
}

TEST(PalWrap, AMovedLightingStampRebuildsEveryTable) {
  tova::PaletteEnvironment& env = tova::GetPaletteEnvironment();
  const tova::PaletteEnvironment saved = env;
  PalWrap p;
  p.SetFromPALT(tova::WritePaletteResource({0x808080}).data(), 19);
  p.GetShadedTable(0.5f);
  env.paletteStamp += 1;
  env.brightenOffset = 0.5f;
  const uint16_t before = p.GetTable(PalWrap::kBrightened)[0];
  p.GetShadedTable(0.5f);
  EXPECT_NE(p.GetTable(PalWrap::kBrightened)[0], before);
  EXPECT_EQ(p.GetStamp(), env.paletteStamp);
  env = saved;
}

TEST(PalWrap, SixteenColourPaltFillsSixteenEntries) {
  std::vector<uint32_t> colours;
  for (uint32_t i = 0; i < 16; ++i) colours.push_back(0x101010 * i + 0x0F);
  const std::vector<uint8_t> bytes = tova::WritePaletteResource(colours);
  PalWrap p;
  p.SetFromPALT(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(p.GetCount(), 16);
  for (int t = 0; t < 5; ++t) {
    EXPECT_NE(p.GetTable(t)[15], 0) << "table " << t;
    for (int i = 16; i < 256; ++i) ASSERT_EQ(p.GetTable(t)[i], 0) << "table " << t << " entry " << i;
  }
}

TEST(PalWrap, PaltCountIsBoundedByTheBytesPresent) {
  std::vector<uint8_t> bytes(40, 0x7F);
  bytes[4] = 0xE8;  // 1000 colours stated
  bytes[5] = 0x03;
  bytes[6] = bytes[7] = 0;
  PalWrap p;
  p.SetFromPALT(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(p.GetCount(), 8);  // (40 - 16) / 3
  bytes[4] = 0xFF;
  bytes[5] = bytes[6] = bytes[7] = 0x7F;
  p.SetFromPALT(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(p.GetCount(), 8);
}

TEST(PalWrap, ReadsRawAndEightBitBitmapPaletteFiles) {
  tova_test::ScratchDir dir;
  ASSERT_TRUE(dir.Ok());
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    uint32_t first, second, last;
  };
  std::vector<uint8_t> raw(768);
  for (int i = 0; i < 768; ++i) raw[static_cast<size_t>(i)] = static_cast<uint8_t>(i / 3);
  // A 4-bit bitmap is not a palette bitmap: its bytes are read as raw triples.
  std::vector<uint8_t> fourBit = PalWrapBitmap(4, 16, std::vector<uint32_t>(16, 0x112233));
  fourBit.resize(768, 0);
  const Case cases[] = {
      {"raw.pal", raw, 0x000000, 0x010101, 0xFFFFFF},
      {"eight.pal", PalWrapBitmap(8, 2, {0xAA0000, 0x00BB00}), 0xAA0000, 0x00BB00, 0xC0FFEE},
      {"four.pal", fourBit, 0x424D00, 0x000000, 0x000000},
      {"short.pal", std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7}, 0x010203, 0x040506, 0xC0FFEE},
  };
  for (const Case& c : cases) {
    WritePalWrapFile(dir / c.name, c.bytes);
    uint32_t colours[256];
    std::fill(colours, colours + 256, 0xC0FFEEu);
    ASSERT_TRUE(PalWrap::ReadPaletteFile((dir / c.name).string(), colours)) << c.name;
    EXPECT_EQ(colours[0], c.first) << c.name;
    EXPECT_EQ(colours[1], c.second) << c.name;
    EXPECT_EQ(colours[255], c.last) << c.name;
  }
  uint32_t colours[256] = {};
  EXPECT_FALSE(PalWrap::ReadPaletteFile((dir / "missing.pal").string(), colours));
}

TEST(PalWrap, BitmapColourCountIsBoundedTo256AndTheFile) {
  tova_test::ScratchDir dir;
  std::vector<uint8_t> bytes = PalWrapBitmap(8, 100000, std::vector<uint32_t>(300, 0x123456));
  WritePalWrapFile(dir / "big.pal", bytes);
  bytes = PalWrapBitmap(8, 200, std::vector<uint32_t>(3, 0x654321));
  WritePalWrapFile(dir / "cut.pal", bytes);
  uint32_t colours[257];
  std::fill(colours, colours + 257, 7u);
  ASSERT_TRUE(PalWrap::ReadPaletteFile((dir / "big.pal").string(), colours));
  EXPECT_EQ(colours[255], 0x123456u);
  EXPECT_EQ(colours[256], 7u);
  std::fill(colours, colours + 257, 7u);
  ASSERT_TRUE(PalWrap::ReadPaletteFile((dir / "cut.pal").string(), colours));
  EXPECT_EQ(colours[2], 0x654321u);
  EXPECT_EQ(colours[3], 7u);
}

TEST(PalWrap, DefaultPaletteFromAFileShadesInColour) {
  tova_test::ScratchDir dir;
  std::vector<uint8_t> raw(768, 0);
  raw[3] = 0xFF;  // entry 1 is pure red
  WritePalWrapFile(dir / "GlobalCLUT.pal", raw);
  PalWrap p;
  ASSERT_TRUE(p.LoadFromFile((dir / "GlobalCLUT.pal").string(), true));
  p.BuildTables();
  EXPECT_EQ(p.GetColour(1), 0xFF0000u);
  const uint16_t* shaded = p.GetShadedTable(0.5f);
  EXPECT_NE(shaded[1], 0) << "a shaded draw with the default palette must not be black";
  EXPECT_EQ(shaded[1] & 0x07FF, 0) << "and it stays red";
  // Keeping the system colours: 10..245 no-collapse, the ends flagless.
  EXPECT_EQ(p.GetColourBytes()[4 * 9 + 3], 0);
  EXPECT_EQ(p.GetColourBytes()[4 * 10 + 3], PalWrap::kFlagNoCollapse);
  EXPECT_EQ(p.GetColourBytes()[4 * 246 + 3], 0);
  p.LoadFromFile((dir / "GlobalCLUT.pal").string(), false);
  EXPECT_EQ(p.GetColourBytes()[3], PalWrap::kFlagReserved | PalWrap::kFlagNoCollapse);
}

}  // namespace
