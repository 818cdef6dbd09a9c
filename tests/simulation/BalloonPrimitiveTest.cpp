// The balloon over an object: priorities, clearing, icon sources, the frame
// count in thirds, types, the crossed-out mark and durations.
#include <gtest/gtest.h>

#include <map>

#include "PrimitiveFixture.h"
#include "gamedata/BalloonIconGroup.h"
#include "simulation/BalloonPrimitive.h"

using namespace tova;
using namespace tova_test;

namespace {

// A live object with graphic cycles (a slot point's), without a slot
// resource to read them from.
class BalloonObject : public cXObject {
 public:
  using cXObject::cXObject;
  bool HasGraphicCycles() const override { return true; }
  BalloonState& state = Balloon();
};

class FakeArt : public iBalloonArt {
 public:
  std::map<int32_t, int32_t> frames;
  int32_t FrameCount(int32_t sprite) override { return frames.count(sprite) ? frames[sprite] : 0; }
  int32_t DefinitionIcon(ObjectDefinition& d) override { return d.GetGUID() == 0x10203040 ? 9000 : 0; }
};

class Balloons : public PrimitiveFixture {
 protected:
  void SetUp() override {
    PrimitiveFixture::SetUp();
    BalloonPrimitive::SetArt(&art);
    art.frames[BalloonIconGroup(2, nullptr).GetIconId(3)] = 7;
    art.frames[BalloonIconGroup(4, nullptr).GetIconId(0)] = 6;
    art.frames[BalloonIconGroup(3, nullptr).GetIconId(1)] = 2;
    art.frames[9000] = 9;
  }
  void TearDown() override { BalloonPrimitive::SetArt(nullptr); }
  // SetBalloon: on the stack object or me, icon source and index, duration,
  // type and bits.
  static std::string Balloon(int onStack, int source, int index, int duration, int bits) {
    return "SetBalloon" + Words(onStack, (source << 8) | index, duration, bits);
  }
  FakeArt art;
};

TEST_F(Balloons, ShowsAnIconWithAThirdOfItsFrames) {
  auto* me = Obj<BalloonObject>();
  EXPECT_EQ(Prim(*me, Balloon(0, 2, 3, 40, 0x0402), 0), 1);
  const BalloonState& b = me->state;
  EXPECT_TRUE(b.showing);
  EXPECT_EQ(b.sprite, BalloonIconGroup(2, nullptr).GetIconId(3));
  EXPECT_EQ(b.frames, 2) << "7 frames / 3";
  EXPECT_TRUE(b.reversed);
  EXPECT_EQ(b.type, 2);
  EXPECT_EQ(b.priority, 1);
  EXPECT_EQ(b.duration, 40);
  EXPECT_FALSE(b.inLoops);
  EXPECT_EQ(b.crossedOutSprite, 0);

  me->Temps()[0] = 2;
  EXPECT_EQ(Prim(*me, Balloon(0, 2, 1, 3, 0x1B00), 0), 1) << "index 1 + temp 0";
  EXPECT_EQ(b.sprite, BalloonIconGroup(2, nullptr).GetIconId(3));
  EXPECT_TRUE(b.inLoops);
  EXPECT_TRUE(b.showWhenInactive);
  EXPECT_EQ(b.crossedOutSprite, BalloonIconGroup(1, nullptr).GetStandardIcon(2));
  EXPECT_EQ(Prim(*me, Balloon(0, 2, 3, -1, 0x0800), 0), 1);
  EXPECT_FALSE(b.inLoops) << "-1 runs on in ticks";
}

TEST_F(Balloons, PrioritiesAndClearing) {
  auto* me = Obj<BalloonObject>();
  EXPECT_EQ(Prim(*me, Balloon(0, 4, 0, 50, 1), 0), 1);
  EXPECT_EQ(me->state.priority, 2) << "source 4 is urgent";
  const int32_t urgent = me->state.sprite;
  EXPECT_EQ(Prim(*me, Balloon(0, 2, 3, 50, 0), 0), 1);
  EXPECT_EQ(me->state.sprite, urgent) << "priority 1 does not replace 2";
  EXPECT_EQ(Prim(*me, Balloon(0, 2, 3, 0, 0), 0), 1);
  EXPECT_TRUE(me->state.showing) << "nor clear it";
  EXPECT_EQ(Prim(*me, Balloon(0, 4, 0, 0, 0), 0), 1);
  EXPECT_FALSE(me->state.showing) << "duration 0 clears at the same priority";
  EXPECT_EQ(Prim(*me, Balloon(0, 3, 1, 50, 0), 0), 1);
  EXPECT_FALSE(me->state.showing) << "a sprite of two frames is not shown";
  EXPECT_EQ(Prim(*me, Balloon(0, 3, 9, 50, 0), 0), 1);
  EXPECT_FALSE(me->state.showing) << "nor one without frames";
}

TEST_F(Balloons, TargetsTypesAndDefinitionIcons) {
  auto* me = Obj<BalloonObject>();
  auto* other = Obj<BalloonObject>();
  cXObject* plain = Obj();
  EXPECT_EQ(Prim(*me, Balloon(0, 2, 3, 5, 3), 0), 1029) << "type 3";
  EXPECT_FALSE(me->state.showing);
  EXPECT_EQ(Prim(*me, Balloon(1, 2, 3, 5, 0), 0), 1000 + kErrNoStackObject);
  EXPECT_EQ(Prim(*me, Balloon(1, 2, 3, 5, 1), other->GetId()), 1);
  EXPECT_TRUE(other->state.showing);
  EXPECT_FALSE(me->state.showing);
  EXPECT_EQ(Prim(*plain, Balloon(0, 2, 3, 5, 0), 0), 1) << "no graphic cycles: nothing to show";

  // Source 7, index 2: the definition of the object in the local word 0
  // names (local 0 holds parameter 3).
  EXPECT_EQ(Prim(*me, Balloon(0, 7, 2, 5, 0), 0, 0, 0, 0, plain->GetId()), 1);
  EXPECT_EQ(me->state.sprite, 9000);
  EXPECT_EQ(me->state.frames, 3);
  me->state = BalloonState{};
  EXPECT_EQ(Prim(*me, "SetBalloon" + Words(4, (7 << 8) | 2, 5, 0), 0), 1051) << "local 4 of two";
  EXPECT_EQ(Prim(*me, Balloon(0, 7, 0, 5, 0), plain->GetId()), 1) << "no master definition";
  EXPECT_FALSE(me->state.showing);
  EXPECT_EQ(Prim(*me, Balloon(0, 7, 5, 5, 0), plain->GetId()), 1);
  EXPECT_FALSE(me->state.showing);
}

}  // namespace
