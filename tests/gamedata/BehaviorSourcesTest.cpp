#include <gtest/gtest.h>

#include <filesystem>

#include "gamedata/Behavior.h"
#include "gamedata/BehaviorAssembler.h"
#include "gamedata/DrawGroup.h"
#include "gamedata/FloatConstants.h"
#include "gamedata/ObjFnTable.h"
#include "gamedata/ResFileSource.h"
#include "gamedata/SlotDescriptor.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "resfile/IFFResFile2.h"

namespace tova {
namespace {

namespace fs = std::filesystem;

const char* kTree =
    "tree 4096 \"Sit down\"\n"
    "  format 0x8009\n"
    "  type 0\n"
    "  params 4\n"
    "  locals 2\n"
    "  version 5\n"
    "n0:  Expression 1 2 3 4 -> n1 false\n"
    "n1:  8192 -1 -1 -1 -1 -> true n0\n"
    "end\n";

class BehaviorSources : public ::testing::Test {
 protected:
  // Compiles the source; the compiler's errors are kept for Errors().
  int Compile(const std::string& source) {
    tova_test::WriteBytes(dir / "src.res", source);
    last = tova_test::CompileContent({"--out", (dir / "root").string(), (dir / "src.res").string()});
    return last.code;
  }
  const std::string& Errors() const { return last.err; }
  tova_test::ScratchDir folder;
  const fs::path& dir = folder.Path();
  tova_test::ProgramRun last;
};

TEST_F(BehaviorSources, EveryKindCompilesIntoTheFile) {
  std::string source = std::string("file GameData/Objects/Chair.iff\n") + kTree +
                       "constants 4096 \"Tuning\" tunable\n  10 -20\n  0x7F\nend\n"
                       "functions 128 \"Entries\"\n  4096\n  0 7\nend\n"
                       "slots 128 \"Slots\"\n  routing 0.5 -1 0 facing=2 distances=8,16,24 flags=0x0F\n"
                       "  object 0 0 2.5 height=2 words=3,4\n  point 1 1 0\nend\n"
                       "drawgroup 200 \"Chair north\"\n  image directions=0x11 zoom=1\n"
                       "    sprite 300 frame=2 x=-4 y=9 vertical=0.5 plane=0.25,-0.5 flags=1\nend\n"
                       "floats 1 \"Motives\"\n  \"energy span\" 180 \"how long a day lasts\"\n  \"wake hour\" 7\nend\n";
  ASSERT_EQ(Compile(source), 0) << Errors();
  IFFResFile2 iff;
  ASSERT_EQ(iff.Open((dir / "root/GameData/Objects/Chair.iff").string()), 0);
  ResFileSource own(&iff);
  Behavior b(nullptr, nullptr, &own, nullptr);
  ASSERT_TRUE(b.GetTree(4096));
  EXPECT_EQ(DisassembleTree(4096, b.GetTreeName(4096), b.GetTree(4096).Bytes()), kTree);
  ConstantsView c = b.GetConstants(4096, false);
  ASSERT_TRUE(c);
  EXPECT_TRUE(c.Tunable());
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.At(1), -20);

  ObjFnTable f;
  ASSERT_EQ(f.Load(own, 128), 0);
  EXPECT_EQ(f.GetTreeId(0), 4096);
  EXPECT_EQ(f.Entries()[1].companionId, 7);

  std::vector<ObjectSlot> objects;
  std::vector<RoutingSlot> routing;
  std::vector<SlotPoint> points;
  ASSERT_EQ(SlotLoader(&own).Load(128, &objects, &routing, &points), 0);
  ASSERT_EQ(routing.size(), 1u);
  EXPECT_EQ(routing[0].facing, 2);
  EXPECT_EQ(routing[0].distances[2], 24);
  EXPECT_EQ(routing[0].flags, 0x0F);
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0].slotIndex, 2);
  EXPECT_EQ(objects[0].objectWord2, 4);
  EXPECT_EQ(points.size(), 1u);

  DrawGroup g;
  ASSERT_EQ(g.Load(own, 200), 0);
  EXPECT_EQ(g.name, "Chair north");
  const DrawGroupImage* image = g.FindImage(4, 1);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->sprites[0].spriteId, 300);
  EXPECT_FLOAT_EQ(image->sprites[0].planeB, -0.5f);

  FloatConstants k;
  ASSERT_EQ(k.Load(own, 1), 0);
  EXPECT_FLOAT_EQ(k.Get("Wake Hour", 0, false), 7);
  EXPECT_EQ(k.Entries()[0].comment, "how long a day lasts");
}

TEST_F(BehaviorSources, FaultsNameTheSourceLine) {
  struct Case {
    std::string body;
    std::string message;
  } cases[] = {
      {"tree 4096\n Sleep -> nowhere false\nend\n", "src.res:3: unknown label 'nowhere'"},
      {"constants 4096\n 1 x\nend\n", "src.res:3: a value must be a number"},
      {"constants 4096\n --9223372036854775808\nend\n", "src.res:3: a value must be a number"},
      {"slots 1\n routing 0 0\nend\n", "src.res:3: a slot is a type and x y z"},
      {"slots 1\n routing 0 0 0 colour=2\nend\n", "src.res:3: unknown setting 'colour=2'"},
      {"drawgroup 1\n sprite 4\nend\n", "src.res:3: a sprite before any image"},
      {"floats 1\n energy 3\nend\n", "src.res:3: expected \"name\" value"},
      {"functions 1\n 4096\n", "src.res:4: missing end"},
      {"functions 1 Entries\n 4096\nend\n", "src.res:2: 'Entries' is not expected here"},
      {"constants 1 \"label\" 5 tunable\n 1\nend\n", "src.res:2: '5' is not expected here"},
      {"constants 1 tunable \"label\"\n 1\nend\n", "src.res:2: 'label' is not expected here"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(Compile("file a.iff\n" + c.body), 0) << c.body;
    EXPECT_NE(Errors().find(c.message), std::string::npos) << Errors();
  }
  EXPECT_NE(Compile("tree 1\nend\n"), 0);
  EXPECT_NE(Errors().find("src.res:1: a resource before any file statement"), std::string::npos) << Errors();
}

}  // namespace
}  // namespace tova
