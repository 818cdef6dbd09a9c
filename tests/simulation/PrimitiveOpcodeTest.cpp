// The object primitives' names by opcode, as the profiler reports them.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "simulation/PrimProfiler.h"
#include "simulation/PrimitiveOpcode.h"
#include "simulation/people/PersonMotion.h"

namespace {

TEST(PrimitiveOpcode, NamesEveryObjectPrimitiveAndNothingElse) {
  struct Case {
    int32_t opcode;
    const char* name;
  } cases[] = {
      {tova::kPrimSleep, "kPrimSleep"},
      {tova::kPrimExpression, "kPrimExpression"},
      {tova::kPrimCallNamedTree, "kPrimCallNamedTree"},
      {tova::kPrimFindBestObjectForFunction, "kPrimFindBestObjectForFunction"},
      {tova::kPrimAddMenuInteraction, "kPrimAddMenuInteraction"},
      {tova::kPrimFindBestInteraction, ""},  // a person's own opcode
      {38, ""},
      {51, ""},
      {-1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(tova::PrimitiveOpcodeName(c.opcode), c.name) << c.opcode;
  std::set<std::string_view> names;
  for (int32_t opcode = 0; opcode < 256; ++opcode) {
    const std::string_view name = tova::PrimitiveOpcodeName(opcode);
    if (!name.empty()) EXPECT_TRUE(names.insert(name).second) << name;
  }
  EXPECT_EQ(names.size(), 37u) << "the object primitives of opcodes 0 to 50";
}

TEST(PrimitiveOpcode, TheProfilersEntriesCarryTheName) {
  uint64_t now = 0;
  tova::PrimProfiler profiler(4, [] { return 7; }, [&now] { return now += 5; });
  profiler.StartTick();
  profiler.StartPrimitive(tova::kPrimRandomNumber);
  profiler.StopPrimitive(tova::kPrimRandomNumber);
  profiler.EndTick();
  const tova::PrimProfiler::TickRecord* record = profiler.RecordOf(0);
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(record->entries.size(), 1u);
  EXPECT_EQ(record->entries[0].Name(), "kPrimRandomNumber");
  EXPECT_EQ(record->entries[0].calls, 1);
}

}  // namespace
