#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <memory>
#include <vector>

#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/WallRecordFakes.h"
#include "world/cRotatableWorld.h"
#include "world/tools/cTool.h"
#include "world/undo/UndoManager.h"
#include "world/undo/WallUndoable.h"

namespace {

using tova::TileLocation;
using tova_test::FakeWallObjects;

class WallRecord : public ::testing::Test {
public:
    tova_test::WallPrices prices;
    cRotatableWorld world{24, tova_test::PricedServices(&prices)};
    tova_test::FakeMoney money;
    tova_test::ManualClock clock;
    tova_test::RecordingSoundPlayer sound;
    tova_test::RecordingViewer viewer;
    ToolServices services;
    FakeWallObjects objects{world};
    std::unique_ptr<cTool> tool;
    WallUndoable* record = nullptr;
    UndoManager manager;

    void SetUp() override {
        world.RecomputeRooms(0);
        services = {&world, nullptr, &money, nullptr, &clock, &viewer};
        tool = std::make_unique<cTool>(services);
        NewRecord();
    }
    void TearDown() override {
        if (record) record->Release();
        manager.Clear();
    }
    void NewRecord() {
        if (record) record->Release();
        record = new WallUndoable(*tool, &objects);
        record->AddRef();
    }
    bool Drag(WallPoint from, WallPoint to, int32_t mode = WallUndoable::kDraw, int32_t style = 255) {
        record->SetStart(from);
        record->SetStyle(style, style == 255 ? 255 : 248);
        record->SetMode(mode);
        return record->DragTo(to);
    }
    // Settles, books and pushes the record as the tool does at button up.
    void Commit() {
        record->SettleWallpapers();
        tool->BookPending();
        manager.Push(record);
        NewRecord();
    }
    WallInfo Info(int x, int y, int level = 1) { return world.GetWallInfo(TileLocation::At(x, y, level)); }
    std::vector<uint8_t> Cells() {
        std::vector<uint8_t> bytes(64 * 64 * 8);
        for (int x = 0; x < 64; ++x)
            for (int y = 0; y < 64; ++y) std::memcpy(&bytes[(x * 64 + y) * 8], &world.Walls(1)->At(x, y), 8);
        return bytes;
    }
};

TEST_F(WallRecord, TheDirectionOfADragFollowsItsBoundaries) {
    struct Case {
        int x, y, direction;
    } cases[] = {
        {10, 10, 8}, {10, 13, 1}, {10, 7, 0}, {13, 10, 3}, {7, 10, 2}, {13, 13, 5}, {7, 7, 4}, {13, 7, 6},
        {7, 13, 7},  {11, 13, 1}, {12, 13, 5}, {13, 11, 3}, {13, 12, 5}, {8, 13, 7}, {12, 7, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WallUndoable::ChooseDirection({10, 10, 1}, {c.x, c.y, 1}), c.direction) << c.x << "," << c.y;
}

TEST_F(WallRecord, SnappingPutsThePointOnTheLineOrBackOnTheStart) {
    struct Case {
        int x, y, direction, sx, sy;
    } cases[] = {
        {12, 14, 1, 10, 14}, {12, 14, 0, 10, 10}, {14, 12, 3, 14, 10}, {14, 12, 2, 10, 10},
        {13, 12, 5, 12, 12},  // odd distance: one step in x first
        {14, 12, 5, 13, 13},  // even distance
        {8, 9, 5, 10, 10},    // behind the start
        {7, 8, 4, 8, 8},      {13, 8, 6, 12, 8}, {14, 8, 6, 13, 7}, {13, 8, 7, 10, 10}, {8, 13, 7, 7, 13},
    };
    for (const Case& c : cases) {
        const WallPoint p = WallUndoable::Snap({10, 10, 1}, {c.x, c.y, 2}, c.direction);
        EXPECT_EQ(p, (WallPoint{c.sx, c.sy, 1})) << c.x << "," << c.y << " direction " << c.direction;
    }
}

TEST_F(WallRecord, ADrawnRunCostsItsStyleAndSettlesToPlainWallsWithDefaultFaces) {
    ASSERT_TRUE(Drag({5, 5, 1}, {5, 9, 1}));
    EXPECT_EQ(record->Cost(), 4 * 73);
    EXPECT_EQ(tool->GetPending(), 4 * 73);
    EXPECT_EQ(record->RunLengthY(), 4);
    for (int y = 5; y < 9; ++y) {
        EXPECT_TRUE(Info(5, y).Has(kWallSide1));
        EXPECT_EQ(Info(5, y).style[0], 255);
        EXPECT_EQ(Info(4, y).pattern[2], 255) << "the face across waits to be settled";
    }
    record->SettleWallpapers();
    for (int y = 5; y < 9; ++y) {
        EXPECT_EQ(Info(5, y).style[0], 1);
        EXPECT_EQ(Info(5, y).pattern[0], 0);
        EXPECT_EQ(Info(4, y).pattern[2], 0);
        EXPECT_EQ(Info(4, y).style[2], 1);
    }
}

TEST_F(WallRecord, FencesAndDiagonalsSettleToTheirCoverings) {
    ASSERT_TRUE(Drag({5, 5, 1}, {8, 5, 1}, WallUndoable::kDraw, 12));
    Commit();
    ASSERT_TRUE(Drag({10, 10, 1}, {12, 12, 1}));
    record->SettleWallpapers();
    for (int x = 5; x < 8; ++x) {
        EXPECT_EQ(Info(x, 5).pattern[1], 249);
        EXPECT_EQ(Info(x, 4).pattern[3], 249);
        EXPECT_EQ(Info(x, 5).style[1], 12);
    }
    for (int i = 10; i < 12; ++i) {
        const WallInfo info = Info(i, i);
        EXPECT_TRUE(info.Has(kWallDiag32));
        EXPECT_EQ(info.style[5], 1);
        EXPECT_EQ(info.GetPattern(kWallDiag32, 1), 0);
        EXPECT_EQ(info.GetPattern(kWallDiag32, 3), 0);
    }
}

TEST_F(WallRecord, EachRefusalCarriesItsCodeAndLeavesTheWallsAlone) {
    struct Case {
        const char* name;
        std::function<void(WallRecord&)> arrange;
        WallPoint from, to;
        int32_t mode, style, error;
    };
    const auto person = [](int x, int y) {
        return [x, y](WallRecord& t) { t.objects.Add(TileLocation::At(x, y, 1), WallObjectInfo{0, true}); };
    };
    const Case cases[] = {
        {"off the usable area", [](WallRecord&) {}, {3, 5, 1}, {0, 5, 1}, 0, 255, 1},
        {"a person in the way", person(5, 6), {5, 5, 1}, {5, 8, 1}, 0, 255, 11},
        {"a person across the wall", person(4, 6), {5, 5, 1}, {5, 8, 1}, 0, 255, 11},
        {"an object in use",
         [](WallRecord& t) { t.objects.Add(TileLocation::At(5, 7, 1), WallObjectInfo{0, false, true}); },
         {5, 5, 1}, {5, 8, 1}, 0, 255, 11},
        {"an object that wants no wall there",
         [](WallRecord& t) { t.objects.Add(TileLocation::At(5, 6, 1), WallObjectInfo{0, false, false, 1, 0x800, 0}); },
         {5, 5, 1}, {5, 8, 1}, 0, 255, 11},
        {"an object turned away from the wall",
         [](WallRecord& t) { t.objects.Add(TileLocation::At(5, 6, 1), WallObjectInfo{0, false, false, 1, 0x800, 4}); },
         {5, 5, 1}, {5, 8, 1}, 0, 255, 0},
        {"a diagonal over an object", [](WallRecord& t) {
             t.objects.Add(TileLocation::At(6, 6, 1), WallObjectInfo{0, false, false, 1, 0, 0}); },
         {5, 5, 1}, {8, 8, 1}, 0, 255, 11},
        {"uneven ground", [](WallRecord& t) { t.world.SetCornerHeight(6, 7, 3); }, {5, 5, 1}, {5, 9, 1}, 0, 255, 17},
        {"pool on both sides",
         [](WallRecord& t) { t.world.GetPoolLayer()->At(5, 6) = t.world.GetPoolLayer()->At(4, 6) = 0; },
         {5, 5, 1}, {5, 8, 1}, 0, 255, 29},
        {"no support",
         [](WallRecord& t) { t.world.Flags(1)->At(5, 6) &= ~1; t.world.Flags(1)->At(4, 6) &= ~1; },
         {5, 5, 1}, {5, 8, 1}, 0, 255, 32},
        {"a door that refuses to go", [](WallRecord& t) {
             t.world.SetWallInfo(TileLocation::At(5, 6, 1), [] { WallInfo i; i.flags = 1; i.style[0] = 1; return i; }());
             t.objects.objects[t.objects.AddDoor(TileLocation::At(5, 6, 1), 100)].refusesRemoval = true; },
         {5, 6, 1}, {5, 7, 1}, 1, 255, 35},
        {"a diagonal's free corner", [](WallRecord& t) {
             WallInfo d; d.flags = kWallDiag16; d.style[4] = 1;
             t.world.SetWallInfo(TileLocation::At(4, 4, 1), d); },
         {5, 5, 1}, {5, 7, 1}, 0, 255, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case on an untouched lot.
        for (int l = 1; l <= 2; ++l)
            for (int x = 0; x < 64; ++x)
                for (int y = 0; y < 64; ++y) world.Walls(l)->At(x, y) = WallCell{};
        world.GetPoolLayer()->FillCells(255);
        for (int x = 0; x < 24; ++x)
            for (int y = 0; y < 24; ++y) world.SetCornerHeight(x, y, 0);
        objects.objects.clear();
        world.RecomputeRooms(0);
        c.arrange(*this);
        NewRecord();
        const auto before = Cells();
        const bool ok = Drag(c.from, c.to, c.mode, c.style);
        EXPECT_EQ(record->Error(), c.error);
        if (c.error != 0 || std::string(c.name) == "a diagonal's free corner") {
            EXPECT_FALSE(ok);
            record->DragTo(record->End());
            EXPECT_EQ(Cells(), before);
            EXPECT_EQ(record->Cost(), 0);
        } else {
            EXPECT_TRUE(ok);
        }
    }
}

TEST_F(WallRecord, AFenceOnTheGroundNeedsNeitherLevelGroundNorSupport) {
    world.SetCornerHeight(6, 7, 3);
    world.Flags(1)->At(5, 6) &= ~1;
    world.Flags(1)->At(4, 6) &= ~1;
    EXPECT_TRUE(Drag({5, 5, 1}, {5, 9, 1}, WallUndoable::kDraw, 2));
    EXPECT_EQ(record->Cost(), 4 * 50);
    EXPECT_EQ(record->Error(), 0);
    NewRecord();
    world.Flags(1)->At(10, 6) &= ~1;
    world.Flags(1)->At(9, 6) &= ~1;
    EXPECT_FALSE(Drag({10, 5, 1}, {10, 9, 1}, WallUndoable::kDraw, 255));
    EXPECT_EQ(record->Error(), 32);
}

TEST_F(WallRecord, ARefusedStepRefusesTheRunAndTheDragFallsBackToItsLastValidEnd) {
    ASSERT_TRUE(Drag({5, 5, 1}, {5, 9, 1}));
    objects.Add(TileLocation::At(5, 10, 1), WallObjectInfo{0, true});
    EXPECT_FALSE(record->DragTo({5, 12, 1}));
    EXPECT_EQ(record->End(), (WallPoint{5, 9, 1}));
    EXPECT_EQ(record->Error(), 11);
    EXPECT_TRUE(record->DragTo(record->End()));
    for (int y = 5; y < 9; ++y) EXPECT_TRUE(Info(5, y).Has(kWallSide1)) << y;
    EXPECT_FALSE(Info(5, 9).Has(kWallSide1));
    EXPECT_EQ(record->Cost(), 4 * 73);
    EXPECT_EQ(tool->GetPending(), 4 * 73);
}

TEST_F(WallRecord, ShortMoneyBlocksTheStepThatCannotBePaid) {
    money.money = 150;
    EXPECT_FALSE(Drag({5, 5, 1}, {5, 9, 1}));
    EXPECT_TRUE(record->Blocked());
    EXPECT_EQ(record->End(), (WallPoint{5, 9, 1})) << "a blocked drag keeps its end";
    EXPECT_FALSE(record->DragTo(record->End()));
    EXPECT_TRUE(record->Blocked());
    EXPECT_TRUE(Info(5, 6).Has(kWallSide1)) << "what can be paid for shows";
    record->Restart();
    EXPECT_EQ(tool->GetPending(), 0);
    EXPECT_FALSE(Info(5, 5).Has(kWallSide1));
}

TEST_F(WallRecord, ErasingRefundsEightyPercentTruncated) {
    ASSERT_TRUE(Drag({5, 5, 1}, {5, 9, 1}));
    Commit();
    EXPECT_EQ(money.money, 20000 - 4 * 73);
    ASSERT_TRUE(Drag({5, 5, 1}, {5, 8, 1}, WallUndoable::kErase));
    EXPECT_EQ(record->Cost(), -3 * 58);
    Commit();
    EXPECT_EQ(money.money, 20000 - 4 * 73 + 3 * 58);
    EXPECT_FALSE(Info(5, 5).Has(kWallSide1));
    EXPECT_FALSE(Info(4, 5).Has(kWallSide4));
    EXPECT_TRUE(Info(5, 8).Has(kWallSide1));
}

TEST_F(WallRecord, DrawingOverADoorSellsItAndUndoBringsDoorAndStyleBack) {
    ASSERT_TRUE(Drag({5, 4, 1}, {5, 8, 1}));
    Commit();
    objects.AddDoor(TileLocation::At(5, 6, 1), 100);
    ASSERT_EQ(Info(5, 6).style[0], 3);
    const auto withDoor = Cells();
    const int32_t before = money.money;

    ASSERT_TRUE(Drag({5, 5, 1}, {5, 8, 1}));
    EXPECT_EQ(record->Cost(), -80);
    EXPECT_EQ(Info(5, 6).style[0], 1);
    EXPECT_TRUE(objects.objects.empty());
    Commit();
    EXPECT_EQ(money.money, before + 80);
    const auto plain = Cells();

    manager.Undo();
    EXPECT_EQ(Cells(), withDoor);
    EXPECT_EQ(objects.objects.size(), 1u);
    EXPECT_EQ(money.money, before);
    manager.Redo();
    EXPECT_EQ(Cells(), plain);
    EXPECT_TRUE(objects.objects.empty());
    EXPECT_EQ(money.money, before + 80);
}

TEST_F(WallRecord, ErasingAWallWithADoorRefundsBothAndUndoRestoresThem) {
    ASSERT_TRUE(Drag({5, 4, 1}, {5, 8, 1}));
    Commit();
    objects.AddDoor(TileLocation::At(5, 6, 1), 100);
    const auto withDoor = Cells();
    const int32_t before = money.money;
    ASSERT_TRUE(Drag({5, 6, 1}, {5, 7, 1}, WallUndoable::kErase));
    EXPECT_EQ(record->Cost(), -80 - 58);
    Commit();
    const auto erased = Cells();
    EXPECT_EQ(money.money, before + 138);
    EXPECT_FALSE(Info(5, 6).Has(kWallSide1));

    manager.Undo();
    EXPECT_EQ(Cells(), withDoor);
    EXPECT_EQ(Info(5, 6).style[0], 3);
    EXPECT_EQ(money.money, before);
    manager.Redo();
    EXPECT_EQ(Cells(), erased);
    EXPECT_EQ(money.money, before + 138);
}

TEST_F(WallRecord, UndoAndRedoExchangeTheCellsAndMoveTheMoney) {
    const auto empty = Cells();
    ASSERT_TRUE(Drag({5, 5, 1}, {9, 9, 1}));
    Commit();
    const auto drawn = Cells();
    EXPECT_EQ(money.money, 20000 - 4 * 73);
    manager.Undo();
    EXPECT_EQ(Cells(), empty);
    EXPECT_EQ(money.money, 20000);
    EXPECT_EQ(world.WallPosts(1)->At(5, 5), 0);
    manager.Redo();
    EXPECT_EQ(Cells(), drawn);
    EXPECT_EQ(money.money, 20000 - 4 * 73);
    EXPECT_NE(world.WallPosts(1)->At(5, 5), 0);
}

TEST_F(WallRecord, ARectangleBuildsItsFourSides) {
    ASSERT_TRUE(Drag({4, 4, 1}, {8, 7, 1}, WallUndoable::kRectangle));
    EXPECT_EQ(record->Cost(), 14 * 73);
    EXPECT_EQ(record->RunLengthX(), 4);
    EXPECT_EQ(record->RunLengthY(), 3);
    for (int x = 4; x < 8; ++x) {
        EXPECT_TRUE(Info(x, 4).Has(kWallSide2));
        EXPECT_TRUE(Info(x, 7).Has(kWallSide2));
    }
    for (int y = 4; y < 7; ++y) {
        EXPECT_TRUE(Info(4, y).Has(kWallSide1));
        EXPECT_TRUE(Info(8, y).Has(kWallSide1));
    }
    // Shrinking the box withdraws the old sides.
    ASSERT_TRUE(record->DragTo({6, 6, 1}));
    EXPECT_EQ(record->Cost(), 8 * 73);
    EXPECT_FALSE(Info(8, 5).Has(kWallSide1));
}

TEST_F(WallRecord, ADragBackToTheStartChangesNothing) {
    ASSERT_TRUE(Drag({5, 5, 1}, {5, 9, 1}));
    ASSERT_TRUE(record->DragTo({5, 5, 1}));
    EXPECT_FALSE(record->Changed());
    EXPECT_EQ(record->Cost(), 0);
    EXPECT_EQ(tool->GetPending(), 0);
    EXPECT_FALSE(Info(5, 5).Has(kWallSide1));
    EXPECT_EQ(record->Direction(), WallUndoable::kNoDirection);
}

}  // namespace

namespace {

TEST_F(WallRecord, ATurnedViewDrawsAndUndoesInViewCoordinates) {
    world.SetRotation(1, false);
    const TileLocation v = world.WorldToView(TileLocation::At(10, 10, 1));
    const auto empty = Cells();
    ASSERT_TRUE(Drag({v.x, v.y, 1}, {v.x, v.y + 3, 1})) << record->Error();
    Commit();
    for (int y = v.y; y < v.y + 3; ++y) {
        const WallInfo info = world.GetWallInfoAtView(TileLocation::At(v.x, y, 1));
        EXPECT_TRUE(info.Has(kWallSide1)) << y;
        EXPECT_EQ(info.Style(kWallSide1), 1);
        EXPECT_EQ(info.GetPattern(kWallSide1, 0), 0);
        EXPECT_EQ(world.GetWallInfoAtView(TileLocation::At(v.x - 1, y, 1)).GetPattern(kWallSide4, 0), 0);
    }
    EXPECT_NE(Cells(), empty);
    manager.Undo();
    EXPECT_EQ(Cells(), empty);
}

}  // namespace
