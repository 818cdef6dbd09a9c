#include "ui/graphics/cRZPalette.h"

#include <gtest/gtest.h>

namespace {

TEST(Palette, ResizeSizesAndZeroFills) {
    auto* p = new cRZPalette;
    p->AddRef();
    EXPECT_TRUE(p->Resize(3, 24));
    EXPECT_EQ(p->GetDataSize(), 12u);
    uint32_t v = 99;
    EXPECT_TRUE(p->GetEntry(2, v));
    EXPECT_EQ(v, 0u);
    EXPECT_TRUE(p->Resize(0, 16));
    EXPECT_EQ(p->GetDataSize(), 0u);
    EXPECT_FALSE(p->Resize(-1, 16));
    EXPECT_FALSE(p->Resize(4, 12));
    EXPECT_EQ(p->Release(), 0);
}

TEST(Palette, EntriesByWidth) {
    cRZPalette p;
    ASSERT_TRUE(p.Resize(4, 24));
    EXPECT_TRUE(p.SetEntry(1, 1193046));
    uint32_t v = 0;
    EXPECT_TRUE(p.GetEntry(1, v));
    EXPECT_EQ(v, 1193046u);
    EXPECT_EQ(p.GetData()[3], 0x12);
    EXPECT_EQ(p.GetData()[4], 0x34);
    EXPECT_EQ(p.GetData()[5], 0x56);
    EXPECT_FALSE(p.GetEntry(-1, v));
    EXPECT_FALSE(p.GetEntry(4, v));
    EXPECT_FALSE(p.SetEntry(4, 1));
    EXPECT_EQ(p.ReadAll(), 3);

    cRZPalette sixteen;
    sixteen.Resize(2, 16);
    sixteen.SetEntry(1, 0x12345678);
    sixteen.GetEntry(1, v);
    EXPECT_EQ(v, 0x5678u);
    cRZPalette wide;
    wide.Resize(1, 32);
    wide.SetEntry(0, 0xDEADBEEF);
    wide.GetEntry(0, v);
    EXPECT_EQ(v, 0xDEADBEEFu);
    cRZPalette empty;
    EXPECT_EQ(empty.ReadAll(), 0);
}

}  // namespace
