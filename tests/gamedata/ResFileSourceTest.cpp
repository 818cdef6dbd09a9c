#include <gtest/gtest.h>

#include "gamedata/Behavior.h"
#include "gamedata/TreeFixtures.h"
#include "gamedata/BehaviorAssembler.h"
#include "gamedata/FloatConstants.h"
#include "gamedata/ResFileSource.h"
#include "gamedata/SlotDescriptor.h"
#include "resfile/MemResFile.h"
#include "resfile/SeqResFile.h"

namespace tova {
namespace {


TEST(ResFileSource, BehaviorOverAResourceFile) {
  MemResFile file;
  auto trees = AssembleTrees(
      "tree 4096 \"Sit\"\n version 2\n Expression 1 -2 3 4 -> true false\nend\n"
      "tree 4097 \"Stand\"\n version 3\n 4096 -> true false\nend\n");
  file.AddStored(kTypeBHAV, 4096, trees[0].bytes.data(), static_cast<int32_t>(trees[0].bytes.size()), "Sit");
  std::vector<uint8_t> other = testing_support::OtherOrderTree(trees[1].bytes);
  file.AddStored(kTypeBHAV, 4097, other.data(), static_cast<int32_t>(other.size()), "Stand", 0);  // not native
  ResFileSource own(&file);
  Behavior b(nullptr, nullptr, &own, nullptr);
  EXPECT_EQ(b.LocateTree("Stand"), 4097);  // found by label, converted on that load
  EXPECT_EQ(b.GetTree(4097).Version(), 3);
  EXPECT_EQ(b.GetNode(4096, 0)->Operand(1), -2);
  EXPECT_EQ(b.GetTreeName(4097), "Stand");
  EXPECT_EQ(b.GetSignature(4097), 3u * 65536 + 5);
  EXPECT_EQ(DisassembleTree(4097, "Stand", b.GetTree(4097).Bytes()),
            DisassembleTree(4097, "Stand", trees[1].bytes));
  int status = 0;
  EXPECT_FALSE(own.GetResource(kTypeBHAV, 5000, nullptr, &status));
  EXPECT_EQ(status, kResNotFound);
}

TEST(ResFileSource, WritesRecordsAndRespectsReadOnlyFiles) {
  MemResFile file;
  ResFileSource source(&file);
  FloatConstants t;
  t.Set("wake hour", 6);
  ASSERT_EQ(t.Save(source, 1), 0);
  FloatConstants back;
  ASSERT_EQ(back.Load(source, 1), 0);
  EXPECT_FLOAT_EQ(back.Get("wake hour", 0, false), 6);

  std::vector<uint8_t> stored;
  ASSERT_TRUE(file.GetStored(kTypeFCNS, 1, stored));
  EXPECT_EQ(stored, t.ToRecord());

  SlotDescriptor s;
  s.type = kSlotRouting;
  ASSERT_EQ(source.PutResource(kTypeSLOT, 7, "slots", MakeSlotRecord({s})), 0);
  std::vector<RoutingSlot> routing;
  EXPECT_EQ(SlotLoader(&source).Load(7, nullptr, &routing, nullptr), 0);
  EXPECT_EQ(routing.size(), 1u);

  file.SetWritable(false);
  EXPECT_EQ(t.Save(source, 2), kResNotWritable);
  EXPECT_FALSE(source.GetResource(kTypeFCNS, 2, nullptr));
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST(ResFileSource, TuningOverridesOfObjectFiles) {
  MemResFile member;
  std::vector<uint8_t> stored = MakeConstants({1, 2, 3}, true);
  member.AddStored(kTypeBCON, 4096, stored.data(), static_cast<int32_t>(stored.size()));
  ObjResFile chain;
  ASSERT_TRUE(chain.AddFile(&member));
  const int16_t tuned[] = {2, 40, 50};
  chain.SetConstantList(4096, tuned);
  ResFileSource own(&chain);
  Behavior b(nullptr, nullptr, &own, nullptr);
  EXPECT_EQ(b.GetConstants(4096, false).At(2), 3);
  ConstantsView view = b.GetConstants(4096, true);
  EXPECT_TRUE(view.Overridden());
  EXPECT_EQ(view.Count(), 2);
  EXPECT_EQ(view.At(1), 50);

  MemResFile plain;  // a file outside the chains has no overrides
  EXPECT_EQ(ResFileSource(&plain).FindConstantList(4096), nullptr);
}

}  // namespace
}  // namespace tova

namespace tova {
namespace {

TEST(ResFileSource, FailedWriteOverAStoredResourceKeepsIt) {
  MemResFile file;
  ResFileSource source(&file);
  ASSERT_EQ(source.PutResource(kTypeBCON, 300, "old", {1, 0, 7, 0}), 0);
  file.FailNextWrite(kFlatShortWrite);
  EXPECT_EQ(source.PutResource(kTypeBCON, 300, "new", {2, 0, 8, 0, 9, 0}), kFlatShortWrite);
  std::vector<uint8_t> stored;
  ASSERT_TRUE(file.GetStored(kTypeBCON, 300, stored));
  EXPECT_EQ(stored, (std::vector<uint8_t>{1, 0, 7, 0}));
  EXPECT_EQ(source.GetLabel(kTypeBCON, 300, nullptr), "old");
  EXPECT_EQ(file.Close(), 0);
}

}  // namespace
}  // namespace tova
