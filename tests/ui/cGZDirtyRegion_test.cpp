#include "ui/graphics/cGZDirtyRegion.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

bool Same(const cRZRect& a, const cRZRect& b) {
    return std::tie(a.left, a.top, a.right, a.bottom) == std::tie(b.left, b.top, b.right, b.bottom);
}

::testing::AssertionResult Holds(const cGZDirtyRegion& region, std::vector<cRZRect> want) {
    if (region.Count() != want.size())
        return ::testing::AssertionFailure() << region.Count() << " rectangles, want " << want.size();
    for (size_t i = 0; i < want.size(); ++i)
        if (!Same(region[i], want[i]))
            return ::testing::AssertionFailure() << "rectangle " << i << " is {" << region[i].left << ", " << region[i].top
                                                 << ", " << region[i].right << ", " << region[i].bottom << "}";
    return ::testing::AssertionSuccess();
}

struct RegionScope {
    RegionScope() {
        cGZDirtyRegion::sEnabled = true;
        cGZDirtyRegion::sRectCost = cGZDirtyRegion::kDefaultRectCost;
    }
    ~RegionScope() { cGZDirtyRegion::sEnabled = true; }
};

TEST(DirtyRegion, AddRoundsXAndKeepsContainment) {
    RegionScope scope;
    cGZDirtyRegion r;
    EXPECT_FALSE(r.AddRect({0, 0, 0, 5}));
    EXPECT_TRUE(r.AddRect({5, 0, 6, 1}));
    EXPECT_TRUE(Holds(r, {{4, 0, 8, 1}}));
    EXPECT_FALSE(r.AddRect({5, 0, 7, 1})) << "inside one already stored";
    EXPECT_TRUE(r.AddRect({100, 100, 120, 120}));
    EXPECT_TRUE(r.AddRect({0, 0, 200, 200})) << "covers both";
    EXPECT_TRUE(Holds(r, {{0, 0, 200, 200}}));
}

TEST(DirtyRegion, OffWhenDisabled) {
    RegionScope scope;
    cGZDirtyRegion r;
    r.AddRect({0, 0, 8, 8});
    cGZDirtyRegion::sEnabled = false;
    EXPECT_FALSE(r.AddRect({20, 20, 28, 28}));
    r.Offset(5, 5);
    EXPECT_TRUE(Holds(r, {{0, 0, 8, 8}}));
}

TEST(DirtyRegion, NinthAdditionMerges) {
    RegionScope scope;
    cGZDirtyRegion r;
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(r.AddRect({i * 1000, 0, i * 1000 + 8, 8}));
    EXPECT_EQ(r.AdditionsSinceMerge(), 8);
    EXPECT_FALSE(r.IsMerged());
    EXPECT_TRUE(r.AddRect({9000, 0, 9008, 8}));
    EXPECT_EQ(r.AdditionsSinceMerge(), 0);
    EXPECT_TRUE(r.IsMerged());
    EXPECT_EQ(r.Count(), 9u) << "far apart rectangles stay apart";
}

struct MergeCase {
    const char* name;
    std::vector<cRZRect> in;
    std::vector<cRZRect> out;
};

TEST(DirtyRegion, MergeTable) {
    RegionScope scope;
    const MergeCase cases[] = {
        {"touching collapse", {{0, 0, 100, 100}, {100, 0, 200, 100}}, {{0, 0, 200, 100}}},
        {"far apart", {{0, 0, 8, 8}, {1000, 1000, 1008, 1008}}, {{0, 0, 8, 8}, {1000, 1000, 1008, 1008}}},
        // AddRect widens 150 to 152 (multiples of 4).
        {"one corner joins", {{0, 0, 100, 100}, {50, 50, 150, 150}}, {{0, 0, 152, 150}}},
        {"cross stays", {{0, 40, 100, 60}, {40, 0, 60, 100}}, {{0, 40, 100, 60}, {40, 0, 60, 100}}},
        // Two corners of a long b inside a: b is trimmed to a's edge; the
        // pieces are cheaper apart than joined.
        {"two corners trimmed", {{0, 0, 400, 400}, {100, 300, 200, 1000}}, {{0, 0, 400, 400}, {100, 400, 200, 1000}}},
    };
    for (const MergeCase& c : cases) {
        cGZDirtyRegion r;
        for (const cRZRect& rect : c.in) r.AddRect(rect);
        r.Merge();
        EXPECT_TRUE(Holds(r, c.out)) << c.name;
        EXPECT_TRUE(r.IsMerged());
    }
}

TEST(DirtyRegion, ClipToMergesOnlyWhenChangedSinceTheLastMerge) {
    RegionScope scope;
    // Two close rectangles kept apart only by a far third one; clipping
    // drops the third.
    auto make = [] {
        cGZDirtyRegion r;
        r.AddRect({0, 0, 100, 100});
        r.AddRect({0, 110, 100, 210});
        r.AddRect({5000, 5000, 5008, 5008});
        r.Merge();
        return r;
    };
    cGZDirtyRegion merged = make();
    ASSERT_EQ(merged.Count(), 3u);
    merged.ClipTo({0, 0, 200, 220});
    EXPECT_TRUE(Holds(merged, {{0, 0, 100, 100}, {0, 110, 100, 210}})) << "merged list: clipped, not merged again";

    cGZDirtyRegion changed = make();
    changed.Offset(0, 0);
    changed.ClipTo({0, 0, 200, 220});
    EXPECT_TRUE(Holds(changed, {{0, 0, 100, 210}}));
}

TEST(DirtyRegion, AddRegionAndOffset) {
    RegionScope scope;
    cGZDirtyRegion a, b;
    b.AddRect({0, 0, 8, 8});
    b.AddRect({40, 40, 48, 48});
    EXPECT_TRUE(a.AddRegion(b));
    EXPECT_FALSE(a.AddRegion(b));
    a.Offset(3, -2);
    EXPECT_TRUE(Holds(a, {{3, -2, 11, 6}, {43, 38, 51, 46}}));
}

}  // namespace
