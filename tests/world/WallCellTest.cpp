#include <gtest/gtest.h>

#include "world/WallCell.h"

namespace {

struct Grid {
    explicit Grid(int n) : walls(64), posts(64), size(n) {}
    WallLayer walls;
    WallPostLayer posts;
    int size;
    WallInfo Read(int x, int y) const { return ExpandWallCell(walls, x, y, size); }
    void Write(int x, int y, const WallInfo& w) { WriteWallInfo(walls, posts, x, y, size, w); }
};

WallInfo SideWall(int side, int style, int pattern) {
    WallInfo w;
    w.flags = side;
    w.style[WallSideIndex(side)] = style;
    w.pattern[WallSideIndex(side)] = pattern;
    return w;
}

}  // namespace

TEST(WallCell, SideRotationAndFaceKindTables) {
    const WallTables& t = GetWallTables();
    EXPECT_EQ(t.sideRotation[1][kWallSide1], static_cast<uint32_t>(kWallSide2));
    EXPECT_EQ(t.sideRotation[1][kWallSide8], static_cast<uint32_t>(kWallSide1));
    EXPECT_EQ(t.sideRotation[1][kWallDiag16], static_cast<uint32_t>(kWallDiag32));
    EXPECT_EQ(t.sideRotation[2][kWallDiag16], static_cast<uint32_t>(kWallDiag16));
    EXPECT_EQ(t.sideRotation[3][kWallSide1 | kWallSide2], static_cast<uint32_t>(kWallSide8 | kWallSide1));
    EXPECT_EQ(t.sideRotation[2][0], 0u);
    EXPECT_EQ(t.faceKindRotation[1][4], 1);
    EXPECT_EQ(t.faceKindRotation[3][2], 1);
    EXPECT_EQ(t.faceKindRotation[2][0], 0);
}

TEST(WallCell, PostMaskClasses) {
    const WallTables& t = GetWallTables();
    struct Case {
        uint8_t mask;
        bool end, junction;
    };
    const Case cases[] = {
        {1 | 4, false, false}, {4, true, false}, {4 | 8, false, true}, {16 | 1, false, false},
        {16 | 64, false, false}, {0, false, false}, {1 | 2 | 4, false, true}, {128 | 2, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.postEnd[c.mask] != 0, c.end) << int(c.mask);
        EXPECT_EQ(t.postJunction[c.mask] != 0, c.junction) << int(c.mask);
    }
    EXPECT_EQ(RotatePostMask(1, 1), 8);
    EXPECT_EQ(RotatePostMask(16, 1), 128);
    for (int m = 0; m < 256; ++m) {
        uint8_t turned = static_cast<uint8_t>(m);
        for (int i = 0; i < 4; ++i) turned = RotatePostMask(turned, 1);
        EXPECT_EQ(turned, m);
    }
}

TEST(WallCell, FaceSlotsAndConversions) {
    EXPECT_EQ(WallFaceSlot(kWallSide8, 0), 3);
    EXPECT_EQ(WallFaceSlot(kWallDiag16, 2), 4);
    EXPECT_EQ(WallFaceSlot(kWallDiag16, 4), 5);
    EXPECT_EQ(WallFaceSlot(kWallDiag16, 0), 5);
    EXPECT_EQ(WallFaceSlot(kWallDiag32, 1), 6);
    EXPECT_EQ(WallFaceSlot(kWallDiag32, 3), 7);
    EXPECT_EQ(WallFaceSlot(kWallDiag32, 0), 6);
    EXPECT_EQ(OppositeSide(kWallSide1), kWallSide4);
    EXPECT_EQ(OppositeSide(kWallDiag32), kWallDiag32);
    const TileLocation t = StepAcrossSide(TileLocation::At(5, 5, 1), kWallSide8);
    EXPECT_EQ(t, TileLocation::At(5, 6, 1));
    EXPECT_EQ(WallDirectionToSide(1), kWallSide1);
    EXPECT_EQ(WallDirectionToSide(6), kWallDiag16);
    EXPECT_EQ(DirectionToSide(1), kWallSide8);
    EXPECT_EQ(DirectionToSide(4), kWallDiag32);
}

TEST(WallCell, FourQuarterTurnsGiveBackTheRecord) {
    WallInfo sides;
    sides.flags = kWallSide1 | kWallSide2 | kWallSide4;
    sides.attributes = 0b011011;
    for (int i = 0; i < 3; ++i) {
        sides.style[i] = 10 + i;
        sides.pattern[i] = 20 + i;
    }
    sides.neighbourDiagonal[2] = 1;
    WallInfo diagonal;
    diagonal.flags = kWallDiag16;
    diagonal.style[4] = 5;
    diagonal.style[1] = 5;
    diagonal.style[0] = 30;   // half-tile floor
    diagonal.pattern[0] = 31;  // half-tile floor
    diagonal.pattern[4] = 41;
    diagonal.pattern[5] = 42;
    for (const WallInfo& original : {sides, diagonal}) {
        WallInfo w = original;
        for (int i = 0; i < 4; ++i) w.Rotate(1);
        EXPECT_EQ(w, original);
        w.Rotate(3);
        w.RotateTo(0);
        EXPECT_EQ(w, original);
    }
}

TEST(WallCell, OneTurnMovesSidesStylesAndDiagonalFaces) {
    WallInfo w = SideWall(kWallSide1, 7, 70);
    w.SetAttribute(2, 0);
    w.Rotate(1);
    EXPECT_EQ(w.flags, kWallSide2);
    EXPECT_EQ(w.style[1], 7);
    EXPECT_EQ(w.pattern[1], 70);
    EXPECT_EQ(w.GetAttribute(1), 2);
    EXPECT_EQ(w.style[0], 0);
    EXPECT_EQ(w.rotation, 1);

    WallInfo d;
    d.flags = kWallDiag32;
    d.style[5] = 9;
    d.SetPattern(kWallDiag32, 1, 11);
    d.SetPattern(kWallDiag32, 3, 33);
    d.Rotate(1);
    EXPECT_EQ(d.flags, kWallDiag16);
    EXPECT_EQ(d.style[4], 9);
    EXPECT_EQ(d.GetPattern(kWallDiag16, 2), 11) << "kind 1 moves to kind 2";
    EXPECT_EQ(d.GetPattern(kWallDiag16, 4), 33) << "kind 3 moves to kind 4";
    EXPECT_EQ(d.GetAttribute(4), 3) << "a diagonal reads as 3";
}

TEST(WallCell, WriteThenReadRoundTrip) {
    Grid g(20);
    WallInfo w;
    w.flags = kWallSide1 | kWallSide2 | kWallSide4 | kWallSide8;
    w.attributes = 0b10'01'11'10;
    for (int i = 0; i < 4; ++i) {
        w.style[i] = 1 + i;
        w.pattern[i] = 100 + i;
    }
    w.style[4] = w.style[5] = w.style[1];
    g.Write(5, 6, w);
    const WallInfo back = g.Read(5, 6);
    EXPECT_EQ(back.flags, w.flags);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.style[i], w.style[i]) << i;
        EXPECT_EQ(back.pattern[i], w.pattern[i]) << i;
        EXPECT_EQ(back.GetAttribute(i), w.GetAttribute(i)) << i;
    }
    // Shared sides are marked in the neighbours.
    EXPECT_TRUE(g.Read(4, 6).Has(kWallSide4));
    EXPECT_TRUE(g.Read(6, 6).Has(kWallSide1));
    EXPECT_TRUE(g.Read(5, 5).Has(kWallSide8));
    EXPECT_TRUE(g.Read(5, 7).Has(kWallSide2));
    // A turned record is written back in world orientation.
    WallInfo turned = g.Read(5, 6);
    turned.Rotate(1);
    g.Write(5, 6, turned);
    EXPECT_EQ(g.Read(5, 6), back);
}

TEST(WallCell, DiagonalWallsRoundTrip) {
    struct Diagonal {
        int32_t flag, styleSlot, paperSlot;
    };
    for (const Diagonal d : {Diagonal{kWallDiag16, 4, 4}, Diagonal{kWallDiag32, 5, 6}}) {
        Grid g(20);
        WallInfo w;
        w.flags = d.flag;
        w.style[0] = 7;     // the half-tile floor
        w.pattern[0] = 70;
        w.style[d.styleSlot] = 3;
        w.pattern[d.paperSlot] = 31;
        w.pattern[d.paperSlot + 1] = 32;
        g.Write(8, 9, w);
        const WallInfo back = g.Read(8, 9);
        EXPECT_EQ(back.flags, d.flag);
        EXPECT_EQ(back.style[0], 7) << d.flag;
        EXPECT_EQ(back.pattern[0], 70) << d.flag;
        EXPECT_EQ(back.style[d.styleSlot], 3) << d.flag;
        EXPECT_EQ(back.pattern[d.paperSlot], 31) << d.flag;
        EXPECT_EQ(back.pattern[d.paperSlot + 1], 32) << d.flag;
        // Writing the cell without its diagonal clears it.
        WallInfo none = back;
        none.flags = 0;
        g.Write(8, 9, none);
        EXPECT_FALSE(g.Read(8, 9).Has(d.flag)) << d.flag;
    }
}

TEST(WallCell, SideFourIsStoredInTheNeighbour) {
    Grid g(20);
    g.Write(3, 3, SideWall(kWallSide4, 13, 50));
    const WallCell& right = g.walls.At(4, 3);
    EXPECT_EQ(right.mask, kWallSide1);
    EXPECT_EQ(right.style1, 13);
    EXPECT_EQ(g.walls.At(3, 3).paper4, 50);
    WallInfo n = g.Read(4, 3);
    n.pattern[0] = 77;  // the neighbour's own face
    g.Write(4, 3, n);
    EXPECT_EQ(g.Read(3, 3).style[2], 13);
    // Removing it clears the neighbour's bit and its face on that edge.
    WallInfo none = g.Read(3, 3);
    none.flags = 0;
    g.Write(3, 3, none);
    EXPECT_EQ(g.walls.At(4, 3).mask, 0);
    EXPECT_EQ(g.walls.At(4, 3).paper1, 0);
}

TEST(WallCell, EdgeWritesStayInsideTheGrid) {
    Grid g(10);
    WallInfo all;
    all.flags = kWallSides;
    g.Write(0, 0, all);
    g.Write(9, 9, all);
    EXPECT_EQ(g.walls.At(10, 9).mask, 0) << "nothing written outside a size-10 grid";
    EXPECT_EQ(g.walls.At(9, 10).mask, 0);
    WallInfo none;
    g.Write(0, 0, none);
    g.Write(9, 9, none);
    EXPECT_EQ(g.walls.At(0, 0).mask, 0);
    EXPECT_EQ(g.walls.At(10, 9).mask, 0);
    // Tiles outside the grid read as empty and take no writes.
    g.Write(-1, 3, all);
    g.Write(10, 3, all);
    EXPECT_EQ(g.Read(10, 3).flags, 0);
}

TEST(WallCell, PostMasksFollowWrites) {
    Grid g(20);
    g.Write(5, 5, SideWall(kWallSide2, 1, 0));  // wall from point (5,5) to (6,5)
    EXPECT_EQ(g.posts.At(5, 5), 8);
    EXPECT_EQ(ComputeWallPostMask(g.walls, 6, 5, 20), 2 | 0);
    WallInfo d;
    d.flags = kWallDiag32;  // from (7,7) to (8,8)
    g.Write(7, 7, d);
    EXPECT_EQ(g.posts.At(7, 7), 64);
    EXPECT_EQ(g.posts.At(8, 8), 16);
    // A wall on the border row counts as empty for the posts.
    g.Write(0, 4, SideWall(kWallSide2, 1, 0));
    EXPECT_EQ(g.posts.At(0, 4), 0);
}

TEST(WallCell, CanAddWall) {
    WallInfo w;
    w.flags = kWallDiag16;
    EXPECT_FALSE(w.CanAddWall(kWallSide1)) << "a side beside a diagonal";
    EXPECT_TRUE(w.CanAddWall(kWallDiag16));
    w.flags = kWallSide1;
    EXPECT_FALSE(w.CanAddWall(kWallDiag32));
    EXPECT_TRUE(w.CanAddWall(kWallSide2));
    // A neighbour with a diagonal refuses the side toward it.
    w.flags = 0;
    w.neighbourDiagonal[WallInfo::kNeighbourXMinus] = 1;
    EXPECT_FALSE(w.CanAddWall(kWallSide1));
    EXPECT_TRUE(w.CanAddWall(kWallSide4));
    EXPECT_TRUE(w.CanAddWall(kWallDiag16));
    // In a turned record the side is first turned back to the world.
    w.rotation = 1;  // world side 1 reads as side 2
    EXPECT_FALSE(w.CanAddWall(kWallSide2));
    EXPECT_TRUE(w.CanAddWall(kWallSide1));
}

// The row walk gives every point the same mask as the point-by-point rule,
// for grids smaller than the layer and for walls on and past the border.
TEST(WallCell, PostRowMatchesPointMasks) {
    for (const int size : {1, 2, 10, 64}) {
        SCOPED_TRACE(size);
        WallLayer walls(64);
        uint32_t state = 12345;
        for (int x = 0; x < 64; ++x) {
            for (int y = 0; y < 64; ++y) {
                state = state * 1103515245u + 12345u;
                walls.At(x, y).mask = static_cast<uint8_t>(state >> 16);
            }
        }
        uint8_t row[64];
        for (int x = 0; x < 64; ++x) {
            ComputeWallPostRow(walls, x, size, row, 64);
            for (int y = 0; y < 64; ++y) ASSERT_EQ(row[y], ComputeWallPostMask(walls, x, y, size)) << x << "," << y;
        }
    }
}
