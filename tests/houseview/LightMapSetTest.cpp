// The light map: its measures, the falloff mapping, the strips and floor
// images, and the cache file that keeps them between runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "houseview/LightMapSet.h"
#include "support/GoldenImage.h"
#include "support/ScratchDir.h"

namespace {

using namespace tova;

class LightMap : public ::testing::Test {
 protected:
  std::string Cache() const { return (dir / "GameData" / "lightmap.dat").string(); }
  void SetUp() override { std::filesystem::create_directories(dir / "GameData"); }
  std::unique_ptr<LightMapSet> Make(const LightingSettings& with) {
    auto set = std::make_unique<LightMapSet>(with);
    set->SetCachePath(Cache());
    return set;
  }
  int64_t CacheSize() const { return static_cast<int64_t>(std::filesystem::file_size(Cache())); }

  tova_test::ScratchDir dir;
  LightingSettings settings;
};

// The sizes the tables take with R = 12, summed apart from the set's code.
int64_t ExpectedTotalFor12() {
  const int tiles[] = {5, 5, 4, 3};
  int64_t total = 0;
  for (int n : tiles) total += 64 * n * 232;
  for (int side = 0; side < 2; ++side)
    for (int z = 1; z <= 3; ++z)
      for (int n : tiles) total += (2 * (n - 1) + 1) * ((58 << (z - 1)) + (8 << z)) * (16 << (z - 1));
  for (int w : {224, 448, 896}) total += w * (w / 2);
  return total;
}

TEST(LightMapGeometryOf12, MeasuresOfTheDefaultRange) {
  EXPECT_EQ(LightMapGeometry::DistanceCount(12.0), 4);
  const int expected[] = {5, 5, 4, 3};
  for (int d = 0; d < 4; ++d) EXPECT_EQ(LightMapGeometry::WallTiles(12.0, d), expected[d]) << d;
  EXPECT_EQ(LightMapGeometry::FloorTiles(12.0), 3);
  EXPECT_EQ(LightMapGeometry::StripRows(1), 74);
  EXPECT_EQ(LightMapGeometry::StripRows(3), 296);
  EXPECT_EQ(LightMapGeometry::StripWidth(2), 32);
}

TEST(LightMapFalloff, InverseSquareFromNearToFar) {
  EXPECT_EQ(FalloffByte(3.2, 3.2, 12.0), 255);
  EXPECT_EQ(FalloffByte(12.0, 3.2, 12.0), 0);
  EXPECT_EQ(FalloffByte(1.0, 3.2, 12.0), 255) << "nearer than near";
  EXPECT_EQ(FalloffByte(20.0, 3.2, 12.0), 0) << "beyond far";
  int last = 255;
  for (double e = 3.2; e <= 12.0; e += 0.25) {
    const int v = FalloffByte(e, 3.2, 12.0);
    EXPECT_LE(v, last) << e;
    last = v;
  }
  EXPECT_EQ(FalloffByte(std::nan(""), 3.2, 12.0), 0);
}

TEST_F(LightMap, BuildsTheTablesAndWritesTheCache) {
  auto set = Make(settings);
  ASSERT_TRUE(set->MakeTables());
  EXPECT_FALSE(set->ReadFromCache());
  EXPECT_TRUE(set->CacheError().empty()) << set->CacheError();
  EXPECT_EQ(set->DistanceCount(), 4);
  EXPECT_EQ(set->TotalBytes(), ExpectedTotalFor12());
  EXPECT_EQ(CacheSize(), set->TotalBytes());
  EXPECT_FALSE(std::filesystem::exists(Cache() + ".~tmp"));

  const int sizes[3][2] = {{224, 112}, {448, 224}, {896, 448}};
  for (int z = 1; z <= 3; ++z) {
    const FloorLightImage* floor = set->GetFloorImage(z);
    ASSERT_NE(floor, nullptr);
    EXPECT_EQ(floor->width, sizes[z - 1][0]);
    EXPECT_EQ(floor->height, sizes[z - 1][1]);
    EXPECT_EQ(set->GetFloorRadius(z), 3);
    // Right under the lamp the floor is fully lit; the corners get nothing.
    EXPECT_EQ(floor->bytes[static_cast<size_t>(floor->height / 2 * floor->width + floor->width / 2)], 255);
    EXPECT_EQ(floor->bytes[0], 0);
  }
  EXPECT_EQ(set->GetFloorRadius(4), 0);
}

TEST_F(LightMap, StripsAreCutFromTheFalloffTables) {
  auto set = Make(settings);
  ASSERT_TRUE(set->MakeTables());
  const WallFalloffTable* table = set->GetFalloffTable(0);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->width, 320);
  auto at = [&](int row, int column) { return table->bytes[static_cast<size_t>(row * table->width + column)]; };

  // Zoom 3 takes every column; side 0 starts 31 rows up and climbs half a
  // row per column, side 1 descends.
  const WallStripImage o0 = set->GetWallStrip(0, 0, 3, 0);
  ASSERT_NE(o0.bytes, nullptr);
  EXPECT_EQ(o0.width, 64);
  EXPECT_EQ(o0.rows, 296);
  EXPECT_EQ(o0.scale, 8);
  for (int j : {31, 100, 200, 262})
    for (int k : {0, 1, 33, 63}) {
      const int e = j - 31 + k / 2;
      EXPECT_EQ(o0.bytes[j * 64 + k], e < 232 ? at(e, k) : 0) << j << " " << k;
    }
  EXPECT_EQ(o0.bytes[0], 0) << "above the table";
  const WallStripImage left = set->GetWallStrip(-2, 0, 3, 0);
  ASSERT_NE(left.bytes, nullptr);
  EXPECT_EQ(left.bytes[100 * 64 + 5], at(100 - 31 + 2, 64 * 2 + 63 - 5)) << "mirrored";
  const WallStripImage side1 = set->GetWallStrip(1, 0, 3, 1);
  ASSERT_NE(side1.bytes, nullptr);
  EXPECT_EQ(side1.bytes[100 * 64 + 9], at(100 - 5, 64 + 9));
  // Zoom 1 takes every fourth column and row.
  const WallStripImage small = set->GetWallStrip(0, 0, 1, 0);
  ASSERT_NE(small.bytes, nullptr);
  EXPECT_EQ(small.width, 16);
  EXPECT_EQ(small.rows, 74);
  EXPECT_EQ(small.bytes[40 * 16 + 3], at((40 - 7) * 4 + 6, 12));
}

TEST_F(LightMap, KnowsWhichStripsExist) {
  auto set = Make(settings);
  ASSERT_TRUE(set->MakeTables());
  EXPECT_TRUE(set->HasWallStrip(4, 0, 1, 0));
  EXPECT_TRUE(set->HasWallStrip(-4, 1, 3, 1));
  EXPECT_FALSE(set->HasWallStrip(5, 0, 1, 0));
  EXPECT_TRUE(set->HasWallStrip(2, 3, 2, 0));
  EXPECT_FALSE(set->HasWallStrip(3, 3, 2, 0));
  EXPECT_FALSE(set->HasWallStrip(0, 4, 1, 0));
  EXPECT_FALSE(set->HasWallStrip(0, -1, 1, 0));
  EXPECT_FALSE(set->HasWallStrip(0, 0, 0, 0));
  EXPECT_FALSE(set->HasWallStrip(0, 0, 1, 2));
  EXPECT_EQ(set->GetWallStrip(3, 3, 2, 0).bytes, nullptr);
}

TEST_F(LightMap, FloorTilesAreBoxesOfTheFloorImage) {
  auto set = Make(settings);
  ASSERT_TRUE(set->MakeTables());
  const FloorLightImage* image = set->GetFloorImage(1);
  ASSERT_NE(image, nullptr);
  const FloorTileImage own = set->GetFloorTile(0, 0, 1);
  EXPECT_EQ(own.stride, 224);
  EXPECT_EQ(own.bytes, image->bytes.data() + 48 * 224 + 96);
  EXPECT_EQ(own.bytes[8 * 224 + 16], 255) << "the middle of the lamp's own tile";
  const FloorTileImage next = set->GetFloorTile(1, -2, 1);
  EXPECT_EQ(next.bytes, image->bytes.data() + (6 + 1 - 2) * 8 * 224 + (6 + 1 + 2) * 16);
  EXPECT_NE(set->GetFloorTile(3, 3, 1).bytes, nullptr);
  EXPECT_NE(set->GetFloorTile(-3, -3, 3).bytes, nullptr);
  // The tile lights reach a tile further than the image: those get none.
  EXPECT_EQ(set->GetFloorTile(4, 4, 1).bytes, nullptr);
  EXPECT_EQ(set->GetFloorTile(4, -4, 2).bytes, nullptr);
  EXPECT_EQ(set->GetFloorTile(0, 0, 4).bytes, nullptr);
}

TEST_F(LightMap, ASecondBuildReadsEachTableOnFirstUse) {
  auto first = Make(settings);
  ASSERT_TRUE(first->MakeTables());
  const auto written = std::filesystem::last_write_time(Cache());

  auto second = Make(settings);
  ASSERT_TRUE(second->MakeTables());
  EXPECT_TRUE(second->ReadFromCache());
  EXPECT_EQ(second->TablesRead(), 0);
  EXPECT_EQ(std::filesystem::last_write_time(Cache()), written);

  ASSERT_NE(second->GetFloorImage(2), nullptr);
  EXPECT_EQ(second->TablesRead(), 1);
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(second->GetFalloffTable(d)->bytes, first->GetFalloffTable(d)->bytes) << d;
    for (int z = 1; z <= 3; ++z)
      for (int side = 0; side < 2; ++side)
        EXPECT_EQ(second->GetStrip(d, z, side)->images, first->GetStrip(d, z, side)->images) << d << z << side;
  }
  for (int z = 1; z <= 3; ++z) EXPECT_EQ(second->GetFloorImage(z)->bytes, first->GetFloorImage(z)->bytes);
  EXPECT_EQ(second->TablesRead(), 4 + 24 + 3);
}

TEST_F(LightMap, FilesOfTheWrongSizeAreRebuilt) {
  const int64_t total = ExpectedTotalFor12();
  const int64_t sizes[] = {0, 1, 12345, total - 1, total + 1, total / 2};
  for (int64_t size : sizes) {
    {
      std::ofstream out(Cache(), std::ios::binary | std::ios::trunc);
      const std::string bytes(static_cast<size_t>(size), '\x7F');
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    auto set = Make(settings);
    ASSERT_TRUE(set->MakeTables()) << size;
    EXPECT_FALSE(set->ReadFromCache()) << size;
    EXPECT_EQ(CacheSize(), total) << size;
    // Computed, not the file's bytes.
    EXPECT_EQ(set->GetFloorImage(1)->bytes[0], 0) << size;
  }
}

TEST_F(LightMap, AFileOfAnotherRangeIsRebuilt) {
  LightingSettings wider = settings;
  wider.lightRange = 15.0f;
  auto first = Make(wider);
  ASSERT_TRUE(first->MakeTables());
  const int64_t widerSize = CacheSize();
  EXPECT_EQ(first->DistanceCount(), 5);

  auto second = Make(settings);
  ASSERT_TRUE(second->MakeTables());
  EXPECT_FALSE(second->ReadFromCache());
  EXPECT_NE(widerSize, CacheSize());
  EXPECT_EQ(CacheSize(), ExpectedTotalFor12());
}

TEST_F(LightMap, AReadThatFailsLaterComputesTheTable) {
  auto first = Make(settings);
  ASSERT_TRUE(first->MakeTables());
  auto second = Make(settings);
  ASSERT_TRUE(second->MakeTables());
  ASSERT_TRUE(second->ReadFromCache());
  // The file loses its end while it is open.
  std::filesystem::resize_file(Cache(), static_cast<uintmax_t>(CacheSize() / 2));
  const FloorLightImage* floor = second->GetFloorImage(3);
  ASSERT_NE(floor, nullptr);
  EXPECT_EQ(floor->bytes, first->GetFloorImage(3)->bytes);
  EXPECT_EQ(second->GetStrip(3, 3, 1)->images, first->GetStrip(3, 3, 1)->images);
  // Only the falloff table the strip was cut from, early in the file, was
  // still there to read.
  EXPECT_EQ(second->TablesRead(), 1);
}

TEST_F(LightMap, ACacheThatCannotBeWrittenLeavesTheTablesInMemory) {
  auto set = std::make_unique<LightMapSet>(settings);
  set->SetCachePath((dir / "missing" / "lightmap.dat").string());
  ASSERT_TRUE(set->MakeTables());
  EXPECT_FALSE(set->CacheError().empty());
  EXPECT_NE(set->GetWallStrip(0, 0, 2, 1).bytes, nullptr);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(LightMap, SettingsWithoutALightMapFailTheBuild) {
  const float ranges[] = {4.0f, 5.0f, -1.0f, 1000.0f, std::nanf("")};
  for (float range : ranges) {
    LightingSettings odd = settings;
    odd.lightRange = range;
    auto set = Make(odd);
    EXPECT_TRUE(set->Build()) << range;
    EXPECT_FALSE(set->MakeTables()) << range;
    EXPECT_EQ(set->GetFloorTile(0, 0, 1).bytes, nullptr);
    EXPECT_EQ(set->GetWallStrip(0, 0, 1, 0).bytes, nullptr);
  }
  LightingSettings inverted = settings;
  inverted.falloffNear = 12.0f;
  inverted.falloffFar = 3.2f;
  EXPECT_TRUE(Make(inverted)->Build());
  EXPECT_FALSE(std::filesystem::exists(Cache()));
}

platform::Image GreyImageOf(const std::vector<uint8_t>& bytes, int32_t width, int32_t height) {
  platform::Image image;
  image.width = width;
  image.height = height;
  image.channels = 3;
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i)
    image.pixels[i * 3] = image.pixels[i * 3 + 1] = image.pixels[i * 3 + 2] = bytes[i];
  return image;
}

TEST_F(LightMap, PicturesOfTheFloorAndTheWall) {
  auto set = Make(settings);
  ASSERT_TRUE(set->MakeTables());
  const FloorLightImage* floor = set->GetFloorImage(1);
  EXPECT_TRUE(tova_test::MatchesGolden(GreyImageOf(floor->bytes, floor->width, floor->height),
                                       "houseview/golden/lightmap_floor_z1.png"));
  const WallFalloffTable* wall = set->GetFalloffTable(1);
  EXPECT_TRUE(tova_test::MatchesGolden(GreyImageOf(wall->bytes, wall->width, wall->height),
                                       "houseview/golden/lightmap_wall_d1.png"));
}

}  // namespace
