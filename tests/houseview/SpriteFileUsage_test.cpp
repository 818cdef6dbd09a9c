#include "houseview/SpriteFileUsage.h"

#include <gtest/gtest.h>

#include <vector>

#include "resfile/MemResFile.h"
#include "resfile/ReconStream.h"

namespace {

using tova::SpriteFileUsage;

// A memory file that answers with a path of a pattern file.
class UsagePathFile : public MemResFile {
 public:
  void GetPath(std::string& out) override { out = "Floors\\tiles.flr"; }
};

std::vector<uint8_t> UsageBytes(SpriteFileUsage& usage) {
  ReconStream measure;
  measure.InitMeasure();
  usage.Reconstitute(measure);
  std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
  ReconStream write;
  write.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
  usage.Reconstitute(write);
  return bytes;
}

TEST(SpriteFileUsage, NamesItsFileAndTravelsThroughTheRecordStream) {
  UsagePathFile file;
  MemResFile other;
  SpriteFileUsage usage(7, &file);
  EXPECT_EQ(usage.name, "tiles.flr");
  EXPECT_TRUE(usage.IsFile(&file));
  EXPECT_FALSE(usage.IsFile(&other));
  usage.elements = {{1, 2, 300}, {4, 5, -6}};
  std::vector<uint8_t> bytes = UsageBytes(usage);
  SpriteFileUsage back;
  ReconStream read;
  read.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  back.Reconstitute(read);
  ASSERT_FALSE(read.Failed());
  EXPECT_EQ(back.name, "tiles.flr");
  ASSERT_EQ(back.elements.size(), 2u);
  EXPECT_EQ(back.elements[1].b, 5);
  EXPECT_EQ(back.elements[1].value, -6);
}

TEST(SpriteFileUsage, ACountBeyondTheBytesOr256FailsBeforeSizing) {
  SpriteFileUsage usage;
  usage.name = "walls";
  usage.elements.resize(3);
  const std::vector<uint8_t> good = UsageBytes(usage);
  // The count follows the name: find it as the word 3.
  size_t at = 0;
  while (!(good[at] == 3 && good[at + 1] == 0 && good[at + 2] == 0 && good[at + 3] == 0)) ++at;
  for (uint32_t count : {4u, 300u, 0x80000000u}) {
    std::vector<uint8_t> bytes = good;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(count >> (8 * i));
    if (count == 300u) bytes.resize(bytes.size() + 300 * 6, 0);
    SpriteFileUsage back;
    ReconStream read;
    read.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
    back.Reconstitute(read);
    EXPECT_TRUE(read.Failed()) << count;
    EXPECT_TRUE(back.elements.empty()) << count;
  }
}

}  // namespace
