// The label fonts and their bitmap: font entries sharing a font, the
// embedded 7 by 11 glyphs drawn into the off-screen 8-bit bitmap, locking
// the bitmap as the drawing target, and the bounded word array.
#include "simulation/LabelFont.h"

#include <gtest/gtest.h>

#include "simulation/WordArray.h"

namespace {

TEST(FontCacheEntry, HeightWeightAndSharing) {
    const int32_t listed = FontCacheEntry::ListedCount();
    FontCacheEntry first, second, empty;
    first.Create("Arial", 7, false);
    EXPECT_TRUE(first.Created());
    EXPECT_EQ(first.Handle()->height, -9);
    EXPECT_EQ(first.Handle()->weight, 400);
    second.InitShared(first.Handle());
    empty.InitEmpty();
    EXPECT_EQ(empty.Handle(), nullptr);
    EXPECT_EQ(FontCacheEntry::ListedCount(), listed + 3);
    LabelFontHandle* shared = first.Handle();
    first.Release();
    EXPECT_FALSE(first.IsListed());
    // Still alive for the second entry (AddressSanitizer would object otherwise).
    EXPECT_EQ(second.Handle(), shared);
    EXPECT_EQ(shared->face, "Arial");
    second.Release();
    empty.Release();
    EXPECT_EQ(FontCacheEntry::ListedCount(), listed);
    FontCacheEntry bold;
    bold.Create("Arial", 12, true);
    EXPECT_EQ(bold.Handle()->height, -16);
    EXPECT_EQ(bold.Handle()->weight, 700);
}

TEST(LabelGlyphs, CellsOfTheEmbeddedFont) {
    LabelGlyphs::Destroy();  // a test that drew object labels earlier may have made them
    EXPECT_EQ(LabelGlyphs::Bitmap(), nullptr);
    ASSERT_TRUE(LabelGlyphs::Create());
    const OffscreenBitmap* bitmap = LabelGlyphs::Bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 256 * 7);
    EXPECT_EQ(bitmap->Height(), 11);
    auto inked = [bitmap](int ch) {
        int count = 0;
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 7; ++x) count += bitmap->Pixel(ch * 7 + x, y) == LabelGlyphs::kInk;
        return count;
    };
    for (int ch : {'A', 'g', '7', '|', '\''}) EXPECT_GT(inked(ch), 2) << char(ch);
    for (int ch : {32, 10, 128, 200, 255}) EXPECT_EQ(inked(ch), 0) << ch;
    EXPECT_NE(inked('O'), inked('I'));
    EXPECT_EQ(bitmap->GetPalette()[LabelGlyphs::kPaper].red, 255);
    LabelGlyphs::Destroy();
    EXPECT_EQ(LabelGlyphs::Bitmap(), nullptr);
}

TEST(OffscreenBitmap, LockMakesItTheTargetWithRowsBottomUp) {
    OffscreenBitmap::Palette palette{};
    palette[1] = {10, 20, 30};
    OffscreenBitmap bitmap;
    EXPECT_FALSE(bitmap.Create(cRZRect{0, 0, 0, 4}, palette));
    ASSERT_TRUE(bitmap.Create(cRZRect{5, 6, 15, 10}, palette));
    EXPECT_EQ(bitmap.Width(), 10);
    EXPECT_EQ(bitmap.OriginX(), 5);
    EXPECT_EQ(bitmap.HeaderColours()[4], 30) << "blue first";
    EXPECT_EQ(bitmap.HeaderColours()[6], 10);
    OffscreenBitmap::LockInfo lock;
    const cRZRect asked{-3, 2, 4, 20};
    ASSERT_TRUE(bitmap.Lock(&asked, lock));
    EXPECT_EQ(OffscreenBitmap::CurrentTarget(), &bitmap);
    EXPECT_EQ(lock.area.left, 0);
    EXPECT_EQ(lock.area.top, 2);
    EXPECT_EQ(lock.area.right, 4);
    EXPECT_EQ(lock.area.bottom, 4);
    EXPECT_EQ(lock.rowStep, -10);
    lock.topRow[2] = 1;
    lock.topRow[lock.rowStep * 3 + 1] = 1;
    EXPECT_EQ(bitmap.Pixel(2, 0), 1);
    EXPECT_EQ(bitmap.Pixel(1, 3), 1);
    bitmap.Unlock();
    EXPECT_EQ(OffscreenBitmap::CurrentTarget(), nullptr);
}

TEST(WordArray, CountsOutsideTheRangeGiveAnEmptyArray) {
    struct Case {
        int32_t count, expected;
    };
    for (const Case& c : {Case{32000, 0}, {-1, 0}, {31999, 31999}, {0, 0}, {3, 3}}) {
        WordArray words(7, c.count);
        EXPECT_EQ(words.Count(), c.expected) << c.count;
        EXPECT_EQ(words.Id(), 7);
    }
    WordArray words(1, 3);
    EXPECT_TRUE(words.Set(2, 0xBEEF));
    EXPECT_FALSE(words.Set(3, 1));
    EXPECT_EQ(words.Get(2), 0xBEEF);
    EXPECT_EQ(words.Get(-1), 0);
}

}  // namespace
