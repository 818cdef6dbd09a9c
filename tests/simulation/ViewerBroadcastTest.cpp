// The viewer list's broadcasts and the current tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedata/TilePosition.h"
#include "simulation/XViewer.h"

namespace {

using Log = std::vector<std::string>;

class LoggingTool : public XTool {
 public:
  LoggingTool(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  void Activate() override { log_.push_back(name_ + " activate"); }
  void Deactivate() override { log_.push_back(name_ + " deactivate"); }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  Log& log_;
};

std::string NameOf(XTool* tool) { return tool ? static_cast<LoggingTool*>(tool)->Name() : "none"; }

class LoggingViewer : public XViewer {
 public:
  LoggingViewer(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  void WorldToScreen(tova::FinePoint, int32_t&, int32_t&) const override {}
  void ScreenToWorld(tova::FinePoint&, int32_t, int32_t, int32_t) const override {}
  void DrawObjectLabels() override {}
  tova::ScreenRect GetViewportArea() const override { return {}; }
  int32_t GetViewWord() const override { return 0; }
  XViewer* GetViewObject() override { return this; }
  int32_t GetRotation() const override { return 0; }
  void InvalidateRect(const tova::ScreenRect&) override {}
  void GetScrollOffset(int32_t&, int32_t&) const override {}
  int32_t LookUpDepth(int32_t, int32_t) const override { return 0; }
  int32_t Pick(int32_t, int32_t, int32_t, int32_t) override { return 0; }
  void NewCurrentTool(XTool* tool) override { log_.push_back(name_ + " new " + NameOf(tool)); }
  void OldCurrentTool(XTool* tool) override { log_.push_back(name_ + " old " + NameOf(tool)); }
  void Draw() override {}
  void InvalidateTile(tova::TileLocation t) override {
    log_.push_back(name_ + " tile " + std::to_string(t.x) + "," + std::to_string(t.y));
    if (onTile) onTile();
  }
  void CentreOn(int32_t, int32_t, int32_t) override {}
  void InvalidateView() override { log_.push_back(name_ + " all"); }
  std::function<void()> onTile;

 private:
  std::string name_;
  Log& log_;
};

// The tools outlive each test's body: the tear-down clears the current tool,
// which deactivates it.
class Viewers : public ::testing::Test {
 protected:
  void TearDown() override { SetCurrentTool(nullptr); }
  Log log;
  LoggingTool a{"a", log};
  LoggingTool b{"b", log};
};

TEST_F(Viewers, WithoutViewersOnlyTheToolsHear) {
  NotifyViewersWorldChanged(tova::TileLocation::At(1, 2, 1));
  RedrawAllViewers();
  SetCurrentTool(&a);
  SetCurrentTool(&b);
  EXPECT_EQ(log, (Log{"a activate", "a deactivate", "b activate"}));
  EXPECT_EQ(CurrentTool(), &b);
}

TEST_F(Viewers, NoToolDeactivatesTheOldOneAndTellsEveryViewer) {
  SetCurrentTool(&a);
  LoggingViewer one("v1", log), two("v2", log);
  one.Register();
  two.Register();
  log.clear();
  SetCurrentTool(nullptr);
  EXPECT_EQ(CurrentTool(), nullptr);
  EXPECT_EQ(log, (Log{"a deactivate", "v2 old a", "v2 new none", "v1 old a", "v1 new none"}));
}

TEST_F(Viewers, TheCurrentToolSetAgainIsDeactivatedAndActivated) {
  LoggingViewer one("v1", log);
  one.Register();
  SetCurrentTool(&a);
  log.clear();
  SetCurrentTool(&a);
  EXPECT_EQ(log, (Log{"a deactivate", "a activate", "v1 old a", "v1 new a"}));
}

TEST_F(Viewers, BroadcastsWalkTheListInOrder) {
  LoggingViewer one("v1", log), two("v2", log);
  one.Register();
  two.Register();
  NotifyViewersWorldChanged(tova::TileLocation::At(3, 4, 1));
  RedrawAllViewers();
  EXPECT_EQ(log, (Log{"v2 tile 3,4", "v1 tile 3,4", "v2 all", "v1 all"}));
}

TEST_F(Viewers, ViewerRemovedDuringAWalkIsUnlinkedAfterIt) {
  LoggingViewer one("v1", log), two("v2", log), three("v3", log);
  one.Register();
  two.Register();
  three.Register();
  // The first viewer walked takes the next one off the list.
  three.onTile = [&] { two.Unregister(); };
  NotifyViewersWorldChanged(tova::TileLocation::At(1, 1, 1));
  EXPECT_EQ(log, (Log{"v3 tile 1,1", "v1 tile 1,1"}));
  EXPECT_FALSE(two.IsRegistered());
  EXPECT_EQ(XViewer::First(), &three);
  EXPECT_EQ(three.Next(), &one) << "unlinked once the walk ended";
  three.onTile = nullptr;
}

TEST_F(Viewers, ViewerDestroyedDuringAWalkIsSteppedOver) {
  LoggingViewer one("v1", log);
  auto two = std::make_unique<LoggingViewer>("v2", log);
  LoggingViewer three("v3", log);
  one.Register();
  two->Register();
  three.Register();
  three.onTile = [&] { two.reset(); };
  NotifyViewersWorldChanged(tova::TileLocation::At(1, 1, 1));
  EXPECT_EQ(log, (Log{"v3 tile 1,1", "v1 tile 1,1"}));
  EXPECT_EQ(three.Next(), &one);
  three.onTile = nullptr;
}

}  // namespace
