#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/tools/ToolInput.h"
#include "world/tools/cTool.h"

namespace {

using tova::FinePoint;

// A tool that logs each call with its position and pick.
class RecordingTool : public cTool {
public:
    std::vector<std::string>* log;
    int32_t everyDrag = 0, pick = 0;
    int32_t charge = 0;  // added to pending money at mouse-up
    RecordingTool(ToolServices& s, std::vector<std::string>* l) : cTool(s), log(l) {}
    void Note(const char* what, FinePoint f, int32_t picked) {
        log->push_back(std::string(what) + " " + std::to_string(f.x) + "," + std::to_string(f.y) + " " +
                       std::to_string(picked));
    }
    int32_t WantsEveryDrag() override { return everyDrag; }
    int32_t WantsPick() override { return pick; }
    void Activate() override { log->push_back("activate"); }
    void Deactivate() override { log->push_back("deactivate"); }
    void SetScreenPoint(int32_t x, int32_t y) override {
        log->push_back("point " + std::to_string(x) + "," + std::to_string(y));
    }
    void MouseMove(FinePoint f, int32_t p, const ToolMouseEvent&) override { Note("move", f, p); }
    void MouseDown(FinePoint f, int32_t p, const ToolMouseEvent&) override { Note("down", f, p); }
    void Drag(FinePoint f, int32_t p, const ToolMouseEvent&) override {
        Note("drag", f, p);
        LastDragPosition() = f;
    }
    void MouseUp(FinePoint f, int32_t p, const ToolMouseEvent&) override {
        Note("up", f, p);
        AddPending(charge);
    }
};

class ViewerInput : public ::testing::Test {
protected:
    std::vector<std::string> log;
    tova_test::RecordingSoundPlayer sound;
    tova_test::ManualClock clock;
    tova_test::FakeMoney money;
    ToolServices services;
    tova_test::RecordingViewer viewer;
    RecordingTool tool{services, &log};

    void SetUp() override {
        services.clock = &clock;
        services.money = &money;
        viewer.zoom = 3;
        viewer.Register();
        LastDragPosition() = FinePoint::OffLot();
        SetCurrentTool(&tool);
        log.clear();
    }
    void TearDown() override { SetCurrentTool(nullptr); }
    ToolMouseEvent At(FinePoint f, uint32_t flags = 0) {
        ToolMouseEvent e;
        viewer.WorldToScreen(f, e.x, e.y);
        e.flags = flags;
        return e;
    }
};

TEST_F(ViewerInput, ADragAtTheLastDragPositionIsSwallowedUnlessTheToolWantsEveryDrag) {
    const ToolMouseEvent e = At({40, 24});
    EXPECT_TRUE(OnMouseMove(viewer, e, true));
    EXPECT_FALSE(OnMouseMove(viewer, e, true));
    EXPECT_EQ(log, (std::vector<std::string>{"point " + std::to_string(e.x) + "," + std::to_string(e.y),
                                             "drag 40,24 0", "point " + std::to_string(e.x) + "," +
                                                                 std::to_string(e.y)}));
    tool.everyDrag = 1;
    log.clear();
    EXPECT_TRUE(OnMouseMove(viewer, e, true));
    EXPECT_EQ(log.back(), "drag 40,24 0");
    // A plain move is never swallowed.
    log.clear();
    EXPECT_TRUE(OnMouseMove(viewer, e, false));
    EXPECT_EQ(log.back(), "move 40,24 0");
}

TEST_F(ViewerInput, APressIsFollowedByOneDragAndPicksWhenAsked) {
    tool.pick = 1;
    viewer.picked = 77;
    EXPECT_TRUE(OnMouseButton(viewer, At({40, 24}), 1));
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "down 40,24 77");
    EXPECT_EQ(log[3], "drag 40,24 77");
    EXPECT_EQ(viewer.picks, 2);
    log.clear();
    EXPECT_TRUE(OnMouseButton(viewer, At({56, 24}), 2));
    EXPECT_EQ(log[1], "down 56,24 77") << "a double click calls MouseDown by default";
}

TEST_F(ViewerInput, APressOutsideTheViewIsConsumed) {
    viewer.viewport = {100, 100, 300, 200};
    EXPECT_TRUE(OnMouseButton(viewer, ToolMouseEvent{250, 50, 0}, 1));
    EXPECT_TRUE(OnMouseButton(viewer, ToolMouseEvent{-1, 50, 0}, 1));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(OnMouseButton(viewer, ToolMouseEvent{199, 99, 0}, 1));
    EXPECT_FALSE(log.empty());
}

TEST_F(ViewerInput, AMouseUpBooksPendingMoneyWithItsSound) {
    tool.charge = 500;
    OnMouseUp(viewer, At({40, 24}));
    EXPECT_EQ(log.back(), "up 40,24 0");
    EXPECT_EQ(money.money, 19500);
    EXPECT_EQ(money.expenses, std::vector<std::string>{"7:500"});
    EXPECT_EQ(sound.played, std::vector<std::string>{"UI_buy_moneyback -4"});
    EXPECT_EQ(tool.GetPending(), 0);
    // Nothing pending: nothing booked, no sound; flag 0x800 is ignored.
    tool.charge = 0;
    clock.now += 1000;
    OnMouseUp(viewer, At({40, 24}));
    tool.charge = 5;
    OnMouseUp(viewer, At({40, 24}, 0x800));
    EXPECT_EQ(money.expenses.size(), 1u);
    EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(ViewerInput, NoCurrentToolHandlesNothing) {
    SetCurrentTool(nullptr);
    EXPECT_FALSE(OnMouseMove(viewer, At({40, 24}), true));
    EXPECT_FALSE(OnMouseButton(viewer, At({40, 24}), 1));
    EXPECT_EQ(log, std::vector<std::string>{"deactivate"});
}

TEST(ViewerList, RegisteringTwiceKeepsOneEntryAndDestructionUnlinks) {
    auto count = [] {
        int n = 0;
        for (XViewer* v = XViewer::First(); v != nullptr; v = v->Next()) ++n;
        return n;
    };
    const int before = count();
    {
        tova_test::RecordingViewer a, b;
        a.Register();
        a.Register();
        b.Register();
        EXPECT_EQ(count(), before + 2);
        EXPECT_EQ(XViewer::First(), &b) << "newest first";
        NotifyViewersWorldChanged(tova::TileLocation::At(3, 4, 1));
        RedrawAllViewers();
        for (auto* v : {&a, &b}) {
            ASSERT_EQ(v->redrawnTiles.size(), 1u);
            EXPECT_EQ(v->redrawnTiles[0], tova::TileLocation::At(3, 4, 1));
            EXPECT_EQ(v->redrawAll, 1);
        }
        tova_test::RecordingViewer unlisted;
    }
    EXPECT_EQ(count(), before);
}

TEST(ViewerList, SetCurrentToolDeactivatesActivatesAndTellsEveryViewer) {
    std::vector<std::string> log;
    ToolServices services;
    RecordingTool first(services, &log), second(services, &log);
    tova_test::RecordingViewer viewer;
    viewer.Register();
    SetCurrentTool(&first);
    SetCurrentTool(&second);
    EXPECT_EQ(GetCurrentTool(), &second);
    SetCurrentTool(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"activate", "deactivate", "activate", "deactivate"}));
    EXPECT_EQ(viewer.toolChanges,
              (std::vector<std::string>{"old none", "new", "old", "new", "old", "new none"}));
}

}  // namespace
