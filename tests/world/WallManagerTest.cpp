#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "world/cFixedWorld.h"
#include "support/RecordingViewer.h"
#include "world/walls/WallManager.h"
#include "world/TileAt.h"

namespace {

using tova_test::T;

class WallManagerTest : public ::testing::Test {
protected:
    cFixedWorld world{24};
    WallManager& walls() { return world.GetWallManager(); }

    void AddSide(int x, int y, int32_t side, int style = 1, int paper = 0) {
        WallInfo info = world.GetWallInfo(T(x, y));
        info.flags |= side;
        info.style[WallSideIndex(side)] = style;
        info.SetPattern(side, 0, paper);
        world.SetWallInfo(T(x, y), info);
    }
    void AddDiagonal(int x, int y, int32_t diagonal, int style, int frontPaper, int backPaper) {
        WallInfo info = world.GetWallInfo(T(x, y));
        info.flags |= diagonal;
        info.style[WallSideIndex(diagonal)] = style;
        const auto kinds = DiagonalFaceKinds(diagonal);  // 32: 1, 3; 16: 2, 4
        info.SetPattern(diagonal, diagonal == kWallDiag32 ? kinds[0] : kinds[1], frontPaper);
        info.SetPattern(diagonal, diagonal == kWallDiag32 ? kinds[1] : kinds[0], backPaper);
        world.SetWallInfo(T(x, y), info);
    }
    // A closed room over tiles x0..x1, y0..y1.
    void AddRoom(int x0, int y0, int x1, int y1) {
        for (int x = x0; x <= x1; ++x) {
            AddSide(x, y0, kWallSide2, 1, 3);
            AddSide(x, y1, kWallSide8, 1, 3);
        }
        for (int y = y0; y <= y1; ++y) {
            AddSide(x0, y, kWallSide1, 1, 3);
            AddSide(x1, y, kWallSide4, 1, 3);
        }
    }

    // Every piece of a level, one line each, in list order.
    std::string Describe(int level = 1) {
        std::ostringstream out;
        for (const auto& p : walls().Posts(level))
            out << "post " << int(p->point.x) << "," << int(p->point.y) << " " << int(p->mask) << "\n";
        for (const auto& w : walls().Walls(level)) {
            out << "wall " << int(w->start.x) << "," << int(w->start.y) << "-" << int(w->end.x) << ","
                << int(w->end.y) << " d" << w->direction << " f" << w->frontFace << " :";
            for (const WallEntry& e : w->entries) out << " " << int(e.style) << "/" << int(e.front) << "/" << int(e.back);
            out << (w->startPost ? "" : " open-start") << (w->endPost ? "" : " open-end") << "\n";
        }
        return out.str();
    }
};

TEST_F(WallManagerTest, ClosedSquareIsFourPostsAndFourWalls) {
    AddRoom(5, 5, 7, 7);
    walls().Update();
    ASSERT_EQ(walls().Posts(1).size(), 4u);
    ASSERT_EQ(walls().Walls(1).size(), 4u);
    for (const auto& w : walls().Walls(1)) {
        EXPECT_EQ(w->entries.size(), 3u);
        ASSERT_NE(w->startPost, nullptr);
        ASSERT_NE(w->endPost, nullptr);
        EXPECT_EQ(w->startPost->point, w->start);
        EXPECT_EQ(w->endPost->point, w->end);
    }
    EXPECT_EQ(walls().Posts(1).front()->point, T(5, 5));
    EXPECT_EQ(walls().Posts(1).back()->point, T(8, 8));
    EXPECT_TRUE(walls().Walls(2).empty());
    EXPECT_FALSE(walls().RebuildRequested(1));
}

TEST_F(WallManagerTest, StraightWallThroughAPointIsOneWall) {
    for (int x = 5; x <= 8; ++x) AddSide(x, 5, kWallSide2, 1, 4);
    walls().Update();
    EXPECT_EQ(Describe(), "post 5,5 8\npost 9,5 2\nwall 5,5-9,5 d3 f0 : 1/4/0 1/4/0 1/4/0 1/4/0\n");
    EXPECT_EQ(walls().FindPost(T(7, 5)), nullptr);  // no post where nothing meets
}

TEST_F(WallManagerTest, TJunctionSplitsTheThroughWall) {
    for (int x = 5; x <= 8; ++x) AddSide(x, 5, kWallSide2);
    AddSide(7, 5, kWallSide1);
    AddSide(7, 6, kWallSide1);
    walls().Update();
    WallPost* junction = walls().FindPost(T(7, 5));
    ASSERT_NE(junction, nullptr);
    EXPECT_EQ(junction->mask, 2 | 4 | 8);
    EXPECT_EQ(walls().Walls(1).size(), 3u);
    EXPECT_NE(junction->slots[1], nullptr);
    EXPECT_NE(junction->slots[2], nullptr);
    EXPECT_NE(junction->slots[3], nullptr);
    EXPECT_EQ(junction->slots[0], nullptr);
}

TEST_F(WallManagerTest, FourQuarterTurnsGiveBackTheSameModel) {
    AddRoom(5, 5, 7, 7);
    AddDiagonal(10, 10, kWallDiag32, 1, 7, 9);
    AddDiagonal(11, 11, kWallDiag32, 1, 7, 9);
    for (int x = 12; x <= 14; ++x) AddSide(x, 4, kWallSide2, 2);  // a fence
    walls().Update();
    const std::string start = Describe();
    for (int r = 1; r <= 4; ++r) {
        walls().SetRotation(r);
        for (const auto& w : walls().Walls(1)) {
            EXPECT_TRUE(w->direction == 1 || w->direction == 3 || w->direction == 5 || w->direction == 6)
                << "rotation " << r << " direction " << w->direction;
            EXPECT_FALSE(PointIsBehind(w->end, w->start));
        }
        for (size_t i = 1; i < walls().Posts(1).size(); ++i)
            EXPECT_TRUE(PointIsBehind(walls().Posts(1)[i - 1]->point, walls().Posts(1)[i]->point));
    }
    EXPECT_EQ(Describe(), start);
}

TEST_F(WallManagerTest, AReversedDiagonalRunSwapsFaceKinds) {
    AddDiagonal(10, 10, kWallDiag32, 1, 7, 9);
    AddDiagonal(11, 11, kWallDiag32, 1, 7, 9);
    walls().Update();
    ASSERT_EQ(walls().Walls(1).size(), 1u);
    const Wall& w = *walls().Walls(1)[0];
    EXPECT_EQ(w.direction, 5);
    EXPECT_EQ(w.entries[0].front, 7);
    EXPECT_EQ(w.entries[0].back, 9);
    walls().SetRotation(1);
    EXPECT_EQ(w.direction, 6);  // turned end lies before the turned start: reversed
    EXPECT_EQ(w.entries[0].front, 9);
    EXPECT_EQ(w.entries[0].back, 7);
    EXPECT_EQ(w.startPost->point, w.start);
}

TEST_F(WallManagerTest, MirrorSettlingFillsDefaults) {
    for (int x = 5; x <= 6; ++x) AddSide(x, 5, kWallSide2, 255, 0);
    for (int x = 5; x <= 6; ++x) AddSide(x, 9, kWallSide2, 13, 0);
    walls().Update();
    walls().SettleMirror();
    const auto& list = walls().Walls(1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->entries[0].style, 1);
    EXPECT_EQ(list[1]->entries[0].style, 13);
    EXPECT_EQ(list[1]->entries[0].front, 250);
    EXPECT_EQ(list[1]->entries[1].back, 250);
}

TEST_F(WallManagerTest, InvalidMasksAndOpenEndsAreSafe) {
    // A side run through a point that a diagonal also reaches ({2, 8, 16}:
    // invalid), and the diagonal's run that ends there without a post.
    for (int x = 5; x <= 8; ++x) AddSide(x, 5, kWallSide2);
    AddDiagonal(6, 4, kWallDiag32, 1, 1, 1);
    walls().Update();
    EXPECT_EQ(walls().FindPost(T(7, 5)), nullptr);
    bool sawOpenEnd = false;
    for (const auto& w : walls().Walls(1)) {
        EXPECT_LE(w->entries.size(), 64u);
        if (w->endPost == nullptr) sawOpenEnd = true;
    }
    EXPECT_TRUE(sawOpenEnd);
    walls().SetRotation(2);
    walls().SettleMirror();
    walls().SetRotation(0);
}

TEST_F(WallManagerTest, RefreshKeepsPiecesAndRereadsPapers) {
    for (int x = 5; x <= 6; ++x) AddSide(x, 5, kWallSide2, 1, 4);
    walls().Update();
    walls().SetRotation(3);
    const Wall* before = walls().Walls(1)[0].get();
    AddSide(5, 5, kWallSide2, 1, 6);
    walls().RequestRefresh(1);
    walls().Update();
    ASSERT_EQ(walls().Walls(1)[0].get(), before);
    EXPECT_EQ(walls().GetRotation(), 3);
    walls().SetRotation(0);
    EXPECT_EQ(Describe(), "post 5,5 8\npost 7,5 2\nwall 5,5-7,5 d3 f0 : 1/6/0 1/4/0\n");
    EXPECT_EQ(walls().Walls(1)[0]->saved.size(), 2u);
}


}  // namespace

namespace {

TEST(WallPieceTable, FortySevenDrawableMasks) {
    int drawable = 0;
    for (int mask = 0; mask < 256; ++mask)
        if (PostPieceOf(static_cast<uint8_t>(mask)) != 255) ++drawable;
    EXPECT_EQ(drawable, 47);
    for (int mask = 0; mask < 16; ++mask) EXPECT_EQ(PostPieceOf(static_cast<uint8_t>(mask)), mask);
    const std::pair<int, int> named[] = {{16, 16}, {20, 17}, {41, 23}, {67, 29}, {134, 37}, {224, 45}, {240, 46}};
    for (const auto& [mask, piece] : named) EXPECT_EQ(PostPieceOf(static_cast<uint8_t>(mask)), piece) << mask;
    EXPECT_EQ(PostPieceOf(72), 255);
}

TEST(WallCaps, TableRowsAndSharedValues) {
    WallCapRecord a, b;
    ASSERT_TRUE(ChooseWallCap(4, a));
    ASSERT_TRUE(ChooseWallCap(6, b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(ChooseWallCap(8, a));
    ASSERT_TRUE(ChooseWallCap(9, b));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.slot, 3);
    EXPECT_EQ(a.face, 2);
    ASSERT_TRUE(ChooseWallCap(48, a));
    EXPECT_EQ(a.face, 16);
    EXPECT_EQ(a.stripWidth, 2);
    EXPECT_FALSE(ChooseWallCap(3, a));
    EXPECT_FALSE(ChooseWallCap(0, a));
}

TEST_F(WallManagerTest, WallsDownLowersPlainWallsAndKeepsFences) {
    for (int x = 5; x <= 6; ++x) AddSide(x, 5, kWallSide2, 1);
    for (int x = 5; x <= 6; ++x) AddSide(x, 9, kWallSide2, 2);   // fence
    for (int x = 5; x <= 6; ++x) AddSide(x, 12, kWallSide2, 3);  // door style
    walls().Update();
    walls().SetWallsDown(1, true);
    std::vector<int> flags;
    for (const auto& w : walls().Walls(1)) flags.push_back(w->entries[0].flags);
    EXPECT_EQ(flags, (std::vector<int>{1, 0, 9}));
    const WallPost* post = walls().FindPost(T(5, 5));
    ASSERT_NE(post, nullptr);
    EXPECT_EQ(post->lowered, 8);
    EXPECT_EQ(post->standing, 0);
    walls().SetWallsDown(1, false);
    for (const auto& w : walls().Walls(1))
        for (const WallEntry& e : w->entries) EXPECT_EQ(e.flags, 0);
    EXPECT_EQ(post->standing, 8);
}

TEST_F(WallManagerTest, HalfCutawayCapsTheEntryNextToTheStandingHalf) {
    for (int x = 5; x <= 8; ++x) AddSide(x, 5, kWallSide2, 1);
    walls().Update();
    uint64_t set[64] = {};
    for (int y = 4; y <= 5; ++y) set[y] = (1ull << 5) | (1ull << 6);  // the tiles on both sides of x 5..6
    walls().ApplyCutaway(1, set);
    const Wall& w = *walls().Walls(1)[0];
    ASSERT_EQ(w.entries.size(), 4u);
    EXPECT_EQ(w.entries[0].flags, 1);
    EXPECT_EQ(w.entries[1].flags, 1 | 4);  // lowered earlier in a direction-3 run: cap 4
    EXPECT_EQ(w.entries[2].flags, 0);
    EXPECT_EQ(w.entries[3].flags, 0);
    const WallPost* start = walls().FindPost(T(5, 5));
    EXPECT_EQ(start->lowered, 8);  // nothing stands beside it there
}

TEST_F(WallManagerTest, ChangedCutawayRedrawsOnlyChangedTiles) {
    tova_test::RecordingViewer view;
    walls().SetView(&view);
    for (int x = 5; x <= 8; ++x) AddSide(x, 5, kWallSide2, 1);
    walls().Update();
    EXPECT_EQ(view.redrawAll, 1);
    uint64_t set[64] = {};
    for (int y = 4; y <= 5; ++y) set[y] = (1ull << 5) | (1ull << 6);
    walls().ApplyCutaway(1, set);
    walls().Update();
    view.redrawnTiles.clear();
    for (int y = 4; y <= 5; ++y) set[y] |= 1ull << 7;  // one entry more
    walls().ApplyCutaway(1, set);
    // Entry 1 loses its cap and entry 2 is lowered and capped: two tiles.
    std::vector<TileLocation> expected{T(6, 5), T(7, 5)};
    EXPECT_EQ(view.redrawnTiles, expected);
    walls().SetView(nullptr);
}

}  // namespace
