// Live objects drawn through the object drawer against a recording sprite
// drawer: the image by view rotation, facing and zoom, switchable sprites,
// what slots hold, labels only with the debug switch, the floating picture,
// the cursor's carried object, and thumbnails of definitions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FakeLot.h"
#include "StarterContent.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXCursorObject.h"
#include "simulation/cXObjectDraw.h"
#include "support/ScratchDir.h"
#include "support/StarterGuids.h"

namespace {

using namespace tova;
using tova_test::FakeView;
using tova_test::FakeWorld;
using tova_test::ScratchDir;

constexpr uint32_t kLit = 0x4C3A10F1;
using tova_test::kLamp;
using tova_test::kTable;
using tova_test::kBench;
constexpr int32_t kSwitchable = 2000;

// Sprite 1000 + 10 x rotation + zoom: at rotation r (0, 2, 4, 6) and zoom
// z, 16 << z pixels wide and 10 << z high, its origin at its top left.
class RecordingSprites : public SpriteDraw {
 public:
  struct Call {
    int32_t id, x, y;
    bool seeThrough;
    float opacity;
  };
  int32_t FrameCount(int32_t) const override { return 1; }
  bool FrameInfo(int32_t id, int32_t frame, int32_t& w, int32_t& h, int32_t& ox, int32_t& oy) const override {
    const int32_t zoom = id == kSwitchable ? 3 : id % 10;
    w = 16 << zoom;
    h = 10 << zoom;
    ox = oy = 0;
    return frame == 0;
  }
  DrawnRect DrawFrame(int32_t id, int32_t, int32_t x, int32_t y, const DrawingContext& c) override {
    calls.push_back({id, x, y, c.seeThrough, c.opacity});
    int32_t w, h, ox, oy;
    FrameInfo(id, 0, w, h, ox, oy);
    return {x, y, x + w, y + h};
  }
  std::vector<int32_t> Ids() const {
    std::vector<int32_t> ids;
    for (const Call& c : calls) ids.push_back(c.id);
    return ids;
  }
  std::vector<Call> calls;
};

std::string LitSource() {
  std::string s =
      "file GameData/Objects/Lit.iff\n"
      "object 128 \"Lit\"\n  guid 0x4C3A10F1\n  type 4\n  firstdrawgroup 300\n  drawgroups 1\n  slots 128\n"
      "  entry 0 4096\nend\n"
      "tree 4096 \"Lit: init\"\n  version 1\n"
      "n0: Expression bytes 4 0 5 0 0 5 3 7 -> n1 n1\n"
      "n1: Expression bytes 42 0 3 1 0 5 3 7 -> n2 n2\n"
      "n2: Expression bytes 43 0 10 0 0 5 3 7 -> true true\nend\n"
      "slots 128 \"Lit slots\"\n  object 0 0 1.5\nend\n"
      "drawgroup 300 \"Lit\"\n";
  for (int r = 0; r < 8; r += 2) {
    for (int z = 1; z <= 3; ++z) {
      s += "  image directions=" + std::to_string(1 << r) + " zoom=" + std::to_string(z) + "\n";
      s += "    sprite " + std::to_string(1000 + 10 * r + z) + " frame=0 x=0 y=0\n";
      if (r == 0 && z == 3) s += "    sprite " + std::to_string(kSwitchable) + " frame=0 x=0 y=0\n";
    }
  }
  return s + "end\n";
}

class ObjectDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path lit = dir / "Lit.res";
    std::ofstream(lit) << LitSource();
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent((dir / "data").string(), {lit.string()}));
    folder.Init((dir / "data").string() + "/");
    module.SetLot(&world, &view);
    drawer.SetDefinitionSprites([this](const void*) { return &sprites; });
    quiet.SetDefinitionSprites([this](const void*) { return &sprites; });
    context.originX = 100;
    context.originY = 200;
  }
  void TearDown() override { module.Clear(); }
  cXObject* Placed(uint32_t guid, int x, int y) {
    cXObject* o = module.GetObjectById(module.CreateObject(folder.FindByGUID(guid)));
    EXPECT_NE(o, nullptr);
    EXPECT_TRUE(o->CanPlace(At(x, y), 1, nullptr, 0)) << cXObject::PlaceFailureCode();
    o->Place(At(x, y), 1, nullptr, 0);
    return o;
  }
  static FinePoint At(int x, int y) { return TileLocation::At(x, y, 1).GetCenterPoint(); }

  ScratchDir dir;
  ObjectFolder folder;
  FakeWorld world;
  FakeView view;
  ObjectModule module{&folder};
  RecordingSprites sprites;
  uint32_t now = 5000;
  ObjectDrawer drawer{[this] { return now; }, true};
  ObjectDrawer quiet{[this] { return now; }, false};
  DrawingContext context;
};

TEST_F(ObjectDraw, TheImageFollowsViewRotationFacingAndZoom) {
  cXObject* lit = Placed(kLit, 5, 5);
  for (int rotation = 0; rotation < 8; rotation += 2) {
    for (int zoom = 1; zoom <= 3; ++zoom) {
      sprites.calls.clear();
      lit->ScreenRectangle() = ScreenBox{};
      context.rotation = rotation;
      context.zoom = zoom;
      const DrawnRect drawn = lit->Draw(quiet, context);
      ASSERT_FALSE(sprites.calls.empty()) << rotation << " " << zoom;
      EXPECT_EQ(sprites.calls[0].id, 1000 + 10 * rotation + zoom);
      EXPECT_EQ(sprites.calls[0].x, 100);
      EXPECT_EQ(drawn.right - drawn.left, 16 << zoom);
    }
  }
  // The object's own facing turns with the view's.
  lit->SetData(kDataDirection, 2);
  sprites.calls.clear();
  context.rotation = 4;
  context.zoom = 2;
  lit->Draw(quiet, context);
  ASSERT_EQ(sprites.Ids(), (std::vector<int32_t>{1062}));
  EXPECT_EQ(lit->ScreenRectangle().left, 100) << "the stored rectangle";
}

TEST_F(ObjectDraw, SwitchableSpritesDrawOnlyWhileTheirWordIsOn) {
  cXObject* lit = Placed(kLit, 5, 5);
  lit->GetDefinition()->GetRecord().SetWord(ObjectDefinitionRecord::kFirstSwitchSprite, kSwitchable);
  lit->DynamicSprites() = {0};
  lit->Draw(quiet, context);
  EXPECT_EQ(sprites.Ids(), (std::vector<int32_t>{1003}));
  sprites.calls.clear();
  lit->DynamicSprites() = {1};
  lit->Draw(quiet, context);
  EXPECT_EQ(sprites.Ids(), (std::vector<int32_t>{1003, kSwitchable}));
}

TEST_F(ObjectDraw, WhatTheSlotsHoldIsDrawnToo) {
  cXObject* holder = Placed(kTable, 5, 5);
  cXObject* held = module.GetObjectById(module.CreateObject(folder.FindByGUID(kLit)));
  ASSERT_TRUE(held->CanPlace(holder->GetPosition(), 1, holder, 0)) << cXObject::PlaceFailureCode();
  held->Place(holder->GetPosition(), 1, holder, 0);
  ASSERT_EQ(holder->GetSlotObject(0), held->GetId());
  context.zoom = 2;
  const DrawnRect drawn = holder->Draw(quiet, context);
  EXPECT_EQ(sprites.Ids(), (std::vector<int32_t>{1002})) << "the table draws no sprites, what it holds does";
  EXPECT_FALSE(drawn.Empty());
  EXPECT_FALSE(held->ScreenRectangle().left == INT_MAX) << "the held object keeps its rectangle";
}

TEST_F(ObjectDraw, LabelsOnlyWithTheDebugSwitch) {
  EXPECT_EQ(drawer.DrawLabel("abc", 50, 50, 0, context), (DrawnRect{35, 43, 65, 58})) << "30 by 15";
  EXPECT_TRUE(quiet.DrawLabel("abc", 50, 50, 0, context).Empty());
  // A definition without draw groups shows its name, and only so.
  cXObject* lamp = Placed(kLamp, 6, 6);
  const std::string name = lamp->GetDefinition()->GetName();
  const DrawnRect named = lamp->Draw(drawer, context);
  EXPECT_EQ(named.bottom - named.top, 15);
  EXPECT_GE(named.right - named.left, 8 * static_cast<int32_t>(name.size()) + 6);
  lamp->ScreenRectangle() = ScreenBox{};
  EXPECT_TRUE(lamp->Draw(quiet, context).Empty());
  EXPECT_TRUE(sprites.calls.empty());
}

TEST_F(ObjectDraw, TheFloatingPictureIsDroppedAfter999Milliseconds) {
  cXObject* lit = Placed(kLit, 5, 5);
  int drawn = 0;
  FloatingPicture picture;
  picture.objectId = lit->GetId();
  picture.width = 20;
  picture.height = 10;
  picture.startMilliseconds = now;
  picture.draw = [&](int32_t x, int32_t y, const DrawingContext&) {
    ++drawn;
    return DrawnRect{x, y, x + 20, y + 10};
  };
  drawer.SetFloatingPicture(picture);
  now += 999;
  lit->Draw(drawer, context);
  EXPECT_EQ(drawn, 1);
  EXPECT_TRUE(drawer.HasFloatingPicture());
  now += 1;
  lit->Draw(drawer, context);
  EXPECT_EQ(drawn, 1);
  EXPECT_FALSE(drawer.HasFloatingPicture());
}

TEST_F(ObjectDraw, TheCursorShowsItsCarriedObjectFadedUntilItIsPutDown) {
  ObjectDefinitionRecord r;
  r.SetGuid(0x7E570009);
  r.SetWord(ObjectDefinitionRecord::kObjectType, 9);
  ObjectDefinition cursorDefinition(nullptr, nullptr, r, "Cursor", 0, 128);
  cXObject* lit = Placed(kLit, 5, 5);
  const int16_t id = module.AttachToCursor(lit->GetId(), &cursorDefinition, 1);
  auto* cursor = static_cast<cXCursorObject*>(module.GetObjectById(id));
  ASSERT_NE(cursor, nullptr);
  cursor->Draw(quiet, context);
  EXPECT_TRUE(sprites.calls.empty()) << "put down where it was: the lot draws it";

  world.water[tova_test::Key(TileLocation::At(9, 9, 1))] = true;
  cursor->Place(At(9, 9), 1, nullptr, 0);
  ASSERT_FALSE(cursor->IsCarriedPlaced());
  const FinePoint real = lit->GetPosition();
  context.opacity = 0.25f;
  cursor->Draw(quiet, context);
  ASSERT_EQ(sprites.Ids(), (std::vector<int32_t>{1003, kSwitchable}));
  for (const RecordingSprites::Call& call : sprites.calls) {
    EXPECT_TRUE(call.seeThrough);
    EXPECT_EQ(call.opacity, 0.5f);
  }
  EXPECT_EQ(lit->GetPosition(), real) << "moved back";
  EXPECT_EQ(context.opacity, 0.25f) << "the context is restored";
  module.Clear();
}

TEST_F(ObjectDraw, ThumbnailsTakeTheLargestZoomThatLeavesMarginsAndCentre) {
  ObjectDefinition* lit = folder.FindByGUID(kLit);
  ThumbnailRequest request;
  request.width = 80;
  request.height = 60;
  context.originX = 10;
  context.originY = 20;
  int32_t zoom = 0;
  // 128 by 80 at zoom 3 does not fit; 64 by 40 leaves 8 and 10.
  DrawnRect drawn = RenderObjectThumbnail(*lit, request, quiet, context, &zoom);
  EXPECT_EQ(zoom, 2);
  ASSERT_EQ(sprites.calls.size(), 1u) << "measured without drawing, then drawn once";
  EXPECT_EQ(sprites.calls[0].id, 1042) << "facing (0 + 4) mod 8";
  EXPECT_EQ(drawn, (DrawnRect{18, 30, 82, 70}));
  EXPECT_EQ(context.originX, 10) << "the context is restored";

  sprites.calls.clear();
  request.zoom = 1;
  RenderObjectThumbnail(*lit, request, quiet, context, &zoom);
  EXPECT_EQ(zoom, 1);
  EXPECT_EQ(sprites.Ids(), (std::vector<int32_t>{1041}));

  // A part of a group draws nothing on its own; its master draws the group.
  sprites.calls.clear();
  request.zoom = 0;
  ObjectDefinition* bench = folder.FindByGUID(kBench);
  ObjectDefinition* part = folder.FindPartByOrdinal(*bench, 0);
  ASSERT_NE(part, nullptr);
  EXPECT_TRUE(RenderObjectThumbnail(*part, request, drawer, context).Empty());
  EXPECT_FALSE(RenderObjectThumbnail(*bench, request, drawer, context).Empty()) << "its parts' labels";
}

}  // namespace
