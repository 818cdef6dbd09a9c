#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/RecordingViewer.h"
#include "world/cRotatableWorld.h"
#include "world/walls/WallManager.h"
#include "world/TileAt.h"

namespace {

using tova_test::T;

// Compares a sprite-call log with tests/world/golden/<name>.txt; TOVA_BLESS=1
// writes the file instead.
void ExpectGolden(const std::string& name, const std::string& text) {
    const std::string path = std::string(TOVA_SOURCE_DIR) + "/tests/world/golden/" + name + ".txt";
    if (const char* bless = std::getenv("TOVA_BLESS"); bless != nullptr && std::string(bless) == "1") {
        std::ofstream(path, std::ios::binary) << text;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good()) << "no golden log " << path << " (run with TOVA_BLESS=1)";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(text, expected.str()) << name;
}

class WallDrawing : public ::testing::Test {
protected:
    cFixedWorld world{24};
    tova_test::RecordingViewer view;
    WallManager& walls() { return world.GetWallManager(); }

    void SetUp() override { walls().SetView(&view); }
    void TearDown() override { walls().SetView(nullptr); }

    void Add(int x, int y, int32_t side, int style = 1, int paper = 5) {
        WallInfo info = world.GetWallInfo(T(x, y));
        info.flags |= side;
        info.style[WallSideIndex(side)] = style;
        if (side & kWallDiagonals) {
            const auto kinds = DiagonalFaceKinds(side);
            info.SetPattern(side, kinds[0], paper);
            info.SetPattern(side, kinds[1], paper + 1);
        } else {
            info.SetPattern(side, 0, paper);
        }
        world.SetWallInfo(T(x, y), info);
    }
    void SquareRoom() {
        for (int i = 5; i <= 7; ++i) {
            Add(i, 5, kWallSide2);
            Add(i, 7, kWallSide8);
            Add(5, i, kWallSide1);
            Add(7, i, kWallSide4);
        }
    }
    void DiagonalRoom() {
        // A diamond of diagonals through the points (6, 4), (8, 6), (6, 8)
        // and (4, 6): a diagonal cannot meet a side wall at a post.
        Add(6, 4, kWallDiag32);
        Add(7, 5, kWallDiag32);
        Add(4, 6, kWallDiag32);
        Add(5, 7, kWallDiag32);
        Add(5, 4, kWallDiag16);
        Add(4, 5, kWallDiag16);
        Add(7, 6, kWallDiag16);
        Add(6, 7, kWallDiag16);
    }
    std::string DrawAll() {
        std::string text;
        for (int rotation = 0; rotation < 4; ++rotation)
            for (int zoom = 1; zoom <= 3; ++zoom) {
                walls().SetRotation(rotation);
                view.zoom = zoom;
                view.log.clear();
                walls().DrawLevel(1, ScreenRect{-4000, -4000, 4000, 4000});
                text += "rotation " + std::to_string(rotation) + " zoom " + std::to_string(zoom) + "\n";
                for (const std::string& line : view.log) text += line + "\n";
            }
        walls().SetRotation(0);
        return text;
    }
};

TEST_F(WallDrawing, SquareRoomGolden) {
    SquareRoom();
    walls().Update();
    ExpectGolden("square_room", DrawAll());
}

TEST_F(WallDrawing, DiagonalRoomGolden) {
    DiagonalRoom();
    walls().Update();
    ExpectGolden("diagonal_room", DrawAll());
}

TEST_F(WallDrawing, HalfCutawayGolden) {
    for (int x = 5; x <= 10; ++x) Add(x, 5, kWallSide2);
    walls().Update();
    uint64_t set[64] = {};
    for (int y = 4; y <= 5; ++y) set[y] = (1ull << 5) | (1ull << 6) | (1ull << 7);
    walls().ApplyCutaway(1, set);
    const std::string text = DrawAll();
    EXPECT_NE(text.find("sprite g14 f1"), std::string::npos) << "the capped entry draws its cap form";
    ExpectGolden("half_cutaway", text);
}

TEST_F(WallDrawing, WallsDownDrawsLoweredForms) {
    for (int x = 5; x <= 6; ++x) Add(x, 5, kWallSide2, 1);
    for (int x = 5; x <= 6; ++x) Add(x, 9, kWallSide2, 2);
    walls().Update();
    walls().SetWallsDown(1, true);
    view.zoom = 1;
    walls().DrawLevel(1, ScreenRect{-4000, -4000, 4000, 4000});
    int loweredPlain = 0, standingFence = 0;
    for (const std::string& line : view.log) {
        if (line.find("clip -800..800") == std::string::npos) continue;  // caps draw with a narrowed clip
        if (line.rfind("sprite g3 f1", 0) == 0) ++loweredPlain;   // 2 * 1 + 1: style 1 lowered, side 2
        if (line.rfind("sprite g4 f1", 0) == 0) ++standingFence;  // 2 * 2 + 0: the fence stands
    }
    EXPECT_EQ(loweredPlain, 2);
    EXPECT_EQ(standingFence, 2);
}

TEST(WallDrawingObjects, StyleTwentyTwoTakesTheObjectsSprite) {
    cRotatableWorld world(24);
    tova_test::RecordingViewer view;
    world.GetWallManager().SetView(&view);
    WallInfo info = world.GetWallInfo(T(6, 5));
    info.flags |= kWallSide2;
    info.style[WallSideIndex(kWallSide2)] = 22;
    world.SetWallInfo(T(6, 5), info);
    world.GetWallManager().Update();
    view.zoom = 2;
    view.objectWallSprite = 300;
    world.GetWallManager().DrawLevel(1, ScreenRect{-4000, -4000, 4000, 4000});
    ASSERT_EQ(view.objectQueries, std::vector<std::string>{"6,5 side 2"});
    EXPECT_NE(std::find_if(view.log.begin(), view.log.end(),
                           [](const std::string& l) { return l.rfind("sprite g301 f1", 0) == 0; }),
              view.log.end());  // n + 3 f + z - 1, standing at zoom 2
    // Turned a quarter, the world tile and side are asked, not the view's:
    // the view's step tile is the one across, so the edge comes as side 8 of
    // (6, 4), the same edge as side 2 of (6, 5).
    view.objectQueries.clear();
    world.SetRotation(1, false);
    view.objectWallSprite = -1;
    view.log.clear();
    world.GetWallManager().DrawLevel(1, ScreenRect{-4000, -4000, 4000, 4000});
    ASSERT_EQ(view.objectQueries, std::vector<std::string>{"6,4 side 8"});
    EXPECT_NE(std::find_if(view.log.begin(), view.log.end(),
                           [](const std::string& l) { return l.rfind("sprite g514 f0", 0) == 0; }),
              view.log.end());  // no object: the plain wall's group, 512 + 2
    world.GetWallManager().SetView(nullptr);
}

TEST_F(WallDrawing, APostWithBothCapsDrawsTheFirst) {
    SquareRoom();
    walls().Update();
    const auto& posts = walls().Posts(1);
    const auto it =
        std::find_if(posts.begin(), posts.end(), [](const auto& p) { return p->point.x == 5 && p->point.y == 5; });
    ASSERT_NE(it, posts.end());
    WallPost post = **it;
    // Two distinguishable records on the post's own walls: the first shows
    // side 1 one tile across, the second side 2 two tiles across.
    int slots[2] = {-1, -1};
    for (int s = 0, n = 0; s < 4 && n < 2; ++s)
        if (post.slots[s] != nullptr) slots[n++] = s;
    ASSERT_GE(slots[1], 0);
    post.lowered = post.standing = 0;  // the cap alone
    post.capExists[0] = post.capExists[1] = true;
    post.caps[0] = WallCapRecord{1, 0, 0, 4, slots[0], 1, 1};
    post.caps[1] = WallCapRecord{0, 2, 0, 4, slots[1], 2, 0};
    view.zoom = 1;
    view.log.clear();
    walls().DrawPost(post);
    ASSERT_EQ(view.log.size(), 1u);
    const ScreenPoint at = view.TileToScreen(post.point);
    // Frame 0 (side 1) one tile along x, the strip starting a pixel left of
    // the post; the second record's presence picks the second sprite form.
    EXPECT_EQ(view.log[0].rfind("sprite g3 f0 ", 0), 0u) << view.log[0];
    EXPECT_NE(view.log[0].find(" at " + std::to_string(at.x + 16) + ","), std::string::npos) << view.log[0];
    EXPECT_NE(view.log[0].find("clip " + std::to_string(at.x - 1) + ".." + std::to_string(at.x + 3)),
              std::string::npos)
        << view.log[0];
    // The second record alone is drawn as itself.
    post.capExists[0] = false;
    view.log.clear();
    walls().DrawPost(post);
    ASSERT_EQ(view.log.size(), 1u);
    EXPECT_EQ(view.log[0].rfind("sprite g3 f1 ", 0), 0u) << view.log[0];
    EXPECT_NE(view.log[0].find(" at " + std::to_string(at.x - 32) + ","), std::string::npos) << view.log[0];
}

TEST_F(WallDrawing, EntriesOutsideTheTargetAreSkipped) {
    SquareRoom();
    walls().Update();
    view.zoom = 1;
    walls().DrawLevel(1, ScreenRect{-4000, -4000, -3000, -3000});
    for (const std::string& line : view.log) EXPECT_NE(line.rfind("sprite g2 ", 0), 0u) << line;
}

}  // namespace

namespace {

TEST(WallSample, DrawsOneWallAtTheScreenPointWithItsPosts) {
    cRotatableWorld world(24);
    tova_test::RecordingViewer view;
    view.zoom = 1;
    view.clip = {-10, -10, 10, 10};
    WallManager& walls = world.GetWallManager();
    EXPECT_EQ(walls.DrawSampleWall(100, 200, 2, 1, 1, 7), ScreenRect{}) << "no view, nothing drawn";
    walls.SetView(&view);
    const ScreenRect rect = walls.DrawSampleWall(100, 200, 2, 1, 1, 7);
    EXPECT_EQ(rect, (ScreenRect{100 - 32, 200 + 16 - (20 << 2), 100 + 32, 200 + 16}));
    ASSERT_FALSE(view.log.empty());
    // The entry stands at the point with the wallpaper's sprite at zoom 2;
    // everything is drawn inside the sample's clip (caps narrow it further).
    const auto has = [&](const std::string& text) {
        return std::any_of(view.log.begin(), view.log.end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(has("p30 at 100,200 depth 0 shade 1.00 off 0 clip -800..800"));
    for (const std::string& line : view.log) {
        int left = 0, right = 0;
        const size_t clip = line.find(" clip ");
        ASSERT_NE(clip, std::string::npos);
        ASSERT_EQ(std::sscanf(line.c_str() + clip, " clip %d..%d", &left, &right), 2) << line;
        EXPECT_TRUE(left >= -800 && right <= 800) << line;
    }
    EXPECT_EQ(view.clip, (ScreenRect{-10, -10, 10, 10})) << "the clip is put back";
    EXPECT_EQ(view.zoom, 1);
    EXPECT_TRUE(walls.Walls(1).empty()) << "the sample is no piece of the lot";
    view.log.clear();
    walls.DrawSampleWall(100, 200, 2, 1, 1, 9);
    EXPECT_TRUE(has("p38 at 100,200"));
    walls.SetView(nullptr);
}

}  // namespace
