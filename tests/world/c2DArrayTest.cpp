#include <gtest/gtest.h>

#include "world/c2DArray.h"

TEST(LayerArray, SameNameGetsCounterSuffix) {
    c2DArray<uint8_t> a(4, 4, "scratch-dup");
    c2DArray<uint8_t> b(4, 4, "scratch-dup");
    c2DArray<uint8_t> c(4, 4, "scratch-dup");
    EXPECT_EQ(a.GetName(), "scratch-dup");
    EXPECT_EQ(b.GetName(), "scratch-dup0");
    EXPECT_EQ(c.GetName(), "scratch-dup1");
    EXPECT_EQ(_c2DArray::FindByName("scratch-dup0"), &b);
    // Renaming an array to its own name keeps it.
    b.SetName("scratch-dup0");
    EXPECT_EQ(b.GetName(), "scratch-dup0");
}

TEST(LayerArray, DestroyedArrayLeavesRegistry) {
    const size_t before = _c2DArray::RegistryCount();
    {
        c2DArray<uint16_t> a(3, 3, "scratch-gone");
        EXPECT_EQ(_c2DArray::RegistryCount(), before + 1);
        EXPECT_NE(_c2DArray::FindByName("scratch-gone"), nullptr);
    }
    EXPECT_EQ(_c2DArray::RegistryCount(), before);
    EXPECT_EQ(_c2DArray::FindByName("scratch-gone"), nullptr);
}

TEST(LayerArray, CopyByNameOnlyBetweenEqualShapes) {
    c2DArray<uint8_t> source(4, 4, "scratch-src");
    source.FillCells(7);
    c2DArray<uint8_t> same(4, 4, "scratch-same");
    c2DArray<uint8_t> other(5, 4, "scratch-other");
    c2DArray<uint16_t> wide(4, 4, "scratch-wide");
    EXPECT_TRUE(same.CopyFromNamed("scratch-src"));
    EXPECT_EQ(same.At(3, 3), 7);
    EXPECT_FALSE(other.CopyFromNamed("scratch-src"));
    EXPECT_EQ(other.At(0, 0), 0);
    EXPECT_FALSE(wide.CopyFromNamed("scratch-src"));
    EXPECT_FALSE(same.CopyFromNamed("no such array"));
    same.At(1, 2) = 9;
    EXPECT_TRUE(same.CopyToNamed("scratch-src"));
    EXPECT_EQ(source.At(1, 2), 9);
}

TEST(LayerArray, ResizeAndFill) {
    c2DArray<uint16_t> a(2, 3, "scratch-resize");
    EXPECT_EQ(a.Rows(), 2);
    EXPECT_EQ(a.Columns(), 3);
    EXPECT_EQ(a.CellAreaBytes(), 12u);
    a.Fill(0xAB);
    EXPECT_EQ(a.At(1, 2), 0xABAB);
    EXPECT_TRUE(a.Resize(2, 3));
    EXPECT_EQ(a.At(1, 2), 0xABAB) << "same dimensions change nothing";
    EXPECT_TRUE(a.Resize(0, 5));
    EXPECT_FALSE(a.HasData());
    a.Fill(1);  // nothing to fill
    EXPECT_EQ(a.WrapAt(1, 1), nullptr) << "a zero dimension has nothing to wrap into";
}

TEST(LayerArray, WrapAtReducesIntoRange) {
    c2DArray<uint8_t> a(4);
    a.At(3, 1) = 5;
    EXPECT_EQ(*a.WrapAt(-1, 1), 5);
    EXPECT_EQ(*a.WrapAt(7, 5), 5);
    EXPECT_EQ(*a.WrapAt(-9, -7), 5);
}

TEST(LayerArray, ShiftFillsBorderAndUncoveredCells) {
    c2DArray<uint8_t> a(6);
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 6; ++y) a.At(x, y) = static_cast<uint8_t>(10 * x + y);
    a.Shift(1, 0, 99);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(a.At(0, y), 99);
        EXPECT_EQ(a.At(5, y), 99);
    }
    EXPECT_EQ(a.At(2, 2), 12);
    EXPECT_EQ(a.At(1, 3), 3);
    EXPECT_EQ(a.At(3, 0), 99) << "border column takes the fill";
}

TEST(LayerArray, CloneAndAndAll) {
    c2DArray<uint8_t> a(4);
    a.FillCells(0xFF);
    a.AndAll(0x28);
    EXPECT_EQ(a.At(2, 3), 0x28);
    auto copy = a.Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Rows(), 4);
    EXPECT_EQ(copy->At(2, 3), 0x28);
}
