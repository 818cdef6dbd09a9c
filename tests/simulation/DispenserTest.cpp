// The starter dispenser on a lot of its own: its trees make a cup in front
// of it, place a second one nearby that snaps itself to the dispenser's
// routing slot, redraw both, show a balloon on its slot point's cycle and
// take the first cup away again.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "FakeLot.h"
#include "StarterContent.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/BalloonPrimitive.h"
#include "simulation/ObjectModule.h"
#include "support/ScratchDir.h"

namespace {

using namespace tova;
using tova_test::FakeView;
using tova_test::FakeWorld;
using tova_test::ScratchDir;

constexpr uint32_t kDispenser = 0x4C3A1047;
constexpr uint32_t kCup = 0x4C3A1048;

// Every icon has three frames.
class ThreeFrames : public iBalloonArt {
 public:
  int32_t FrameCount(int32_t sprite) override { return sprite != 0 ? 3 : 0; }
  int32_t DefinitionIcon(ObjectDefinition&) override { return 0; }
};

class Dispenser : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string()));
    folder.Init((dir / "data").string() + "/");
    module.SetLot(&world, &view);
    BalloonPrimitive::SetArt(&art);
    dispenser = module.GetObjectById(module.CreateObject(folder.FindByGUID(kDispenser)));
    ASSERT_NE(dispenser, nullptr);
    ASSERT_TRUE(dispenser->CanPlace(At(8, 8), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
    dispenser->Place(At(8, 8), 1, nullptr, 0);
  }
  void TearDown() override {
    BalloonPrimitive::SetArt(nullptr);
    module.Clear();
  }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }
  // One tick of the lot's objects, as the simulator runs it.
  void Tick() {
    module.TickObjects();
    for (cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext())
      EXPECT_EQ(o->GetErrorCode(), 0) << o->GetDefinition()->GetName();
  }
  std::vector<cXObject*> Cups() {
    std::vector<cXObject*> cups;
    for (cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext())
      if (o->GetDefinition() && o->GetDefinition()->GetGUID() == kCup) cups.push_back(o);
    return cups;
  }

  ScratchDir dir;
  ObjectFolder folder;
  FakeWorld world;
  FakeView view;
  ObjectModule module{&folder};
  ThreeFrames art;
  cXObject* dispenser = nullptr;
};

TEST_F(Dispenser, MakesPlacesSnapsShowsABalloonAndRemovesACup) {
  EXPECT_TRUE(dispenser->HasGraphicCycles()) << "its slot point";
  for (int t = 0; t < 10; ++t) Tick();
  EXPECT_TRUE(Cups().empty()) << "it waits first";
  for (int t = 0; t < 15; ++t) Tick();
  std::vector<cXObject*> cups = Cups();
  ASSERT_EQ(cups.size(), 2u);
  std::map<int, cXObject*> byTile;
  for (cXObject* c : cups) byTile[c->GetTile().x * 100 + c->GetTile().y] = c;
  // Facing 0 looks along -x; the routing slot lies two tiles along +x,
  // further than the free place found next to the dispenser.
  ASSERT_EQ(byTile.count(7 * 100 + 8), 1u) << "the first cup, in front";
  ASSERT_EQ(byTile.count(10 * 100 + 8), 1u) << "the second cup, snapped to the routing slot";
  const int16_t first = byTile[7 * 100 + 8]->GetId();
  const BalloonState& balloon = dispenser->Balloon();
  EXPECT_TRUE(balloon.showing);
  EXPECT_EQ(balloon.frames, 1);
  EXPECT_EQ(balloon.duration, 30);

  for (int t = 0; t < 70; ++t) Tick();
  cups = Cups();
  ASSERT_EQ(cups.size(), 1u);
  EXPECT_NE(cups.front()->GetId(), first) << "the first cup went";
  EXPECT_EQ(module.GetObjectById(first), nullptr);
}

}  // namespace
