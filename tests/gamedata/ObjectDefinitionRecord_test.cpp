#include "gamedata/ObjectDefinitionRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace tova {
namespace {

TEST(ObjectDefinitionRecord, FunctionEntriesSitWhereTheLayoutSays) {
  ObjectDefinitionRecord r;
  for (int n = 0; n < ObjectDefinitionRecord::kFunctionEntries; ++n) r.SetFunctionEntry(n, static_cast<int16_t>(4096 + n));
  const struct {
    int entry;
    int offset;
  } cases[] = {{0, 86}, {1, 10}, {5, 42}, {15, 34}, {16, 12}, {17, 24}, {18, 48}, {27, 66}, {28, 118}, {29, 160}};
  for (const auto& c : cases) {
    EXPECT_EQ(r.Word(c.offset), 4096 + c.entry) << "entry " << c.entry;
    EXPECT_EQ(r.FunctionEntry(c.entry), 4096 + c.entry);
  }
  EXPECT_EQ(r.FunctionEntry(30), 0);
  EXPECT_EQ(r.FunctionEntry(-1), 0);
}

TEST(ObjectDefinitionRecord, ShortRecordIsZeroFilledNeverOverRead) {
  std::vector<uint8_t> bytes(40, 0xFF);
  bytes[28] = 0x54;
  bytes[29] = 0x6B;
  bytes[30] = 0xD9;
  bytes[31] = 0x7F;
  ObjectDefinitionRecord r(bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(r.Guid(), 0x7FD96B54u);
  EXPECT_EQ(r.Word(38), -1);
  EXPECT_EQ(r.Word(40), 0);
  EXPECT_EQ(r.Long(ObjectDefinitionRecord::kSharedAttributesGuid), 0u);
  EXPECT_EQ(r.Word(215), 0);  // a word past the end reads as 0
}

TEST(ObjectDefinitionRecord, FieldsFromWordsAndBits) {
  ObjectDefinitionRecord r;
  r.SetWord(164, 11);
  r.SetWord(176, -6);
  r.SetByte(178, 0x41);
  EXPECT_EQ(r.GetField(0), 11);
  EXPECT_EQ(r.GetField(6), -6);
  EXPECT_EQ(r.GetField(7), 1);
  EXPECT_EQ(r.GetField(8), 0);
  EXPECT_EQ(r.GetField(13), 1);
  EXPECT_EQ(r.GetField(14), 0);
}

}  // namespace
}  // namespace tova
