#include "platform/CursorFile.h"
#include "platform/PngFile.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

CursorImage Sample() {
    CursorImage image;
    image.width = 5;
    image.height = 3;
    image.hotX = 4;
    image.hotY = 2;
    for (int i = 0; i < 15; ++i) image.argb.push_back(i % 4 == 0 ? 0 : 0xFF000000u | (i * 0x0A0B0C));
    return image;
}

void Put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A 1-bit cursor as the classic tools write it: two palette entries, colour
// rows, then the AND mask.
std::string OneBitCursor() {
    std::string dib;
    Put32(dib, 40);
    Put32(dib, 8);
    Put32(dib, 4);  // 2 rows, doubled
    Put16(dib, 1);
    Put16(dib, 1);
    for (int i = 0; i < 6; ++i) Put32(dib, 0);
    Put32(dib, 0x000000);  // black
    Put32(dib, 0xFFFFFF);  // white
    // Colour rows, bottom first: bottom row 0b11110000, top row 0b10101010.
    dib += std::string("\xF0\0\0\0", 4);
    dib += std::string("\xAA\0\0\0", 4);
    // Mask rows, bottom first: bottom all opaque, top left half transparent.
    dib += std::string("\x00\0\0\0", 4);
    dib += std::string("\xF0\0\0\0", 4);
    std::string file;
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file += std::string("\x08\x02\x00\x00", 4);
    Put16(file, 1);
    Put16(file, 0);
    Put32(file, static_cast<uint32_t>(dib.size()));
    Put32(file, 22);
    return file + dib;
}

TEST(CursorFile, WrittenCursorReadsBackWithItsHotspot) {
    std::string error;
    auto image = ReadCursorFile(WriteCursorFile(Sample()), &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, 5);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(image->hotX, 4);
    EXPECT_EQ(image->hotY, 2);
    EXPECT_EQ(image->argb, Sample().argb);
}

TEST(CursorFile, OneBitCursorUsesPaletteAndMask) {
    std::string error;
    auto image = ReadCursorFile(OneBitCursor(), &error);
    ASSERT_TRUE(image) << error;
    ASSERT_EQ(image->width, 8);
    ASSERT_EQ(image->height, 2);
    // Top row: left half masked (white pixels there show black, black ones
    // vanish), right half opaque alternating white and black.
    const uint32_t top[] = {0xFF000000, 0, 0xFF000000, 0, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(image->argb[x], top[x]) << x;
    for (int x = 0; x < 8; ++x) EXPECT_EQ(image->argb[8 + x], x < 4 ? 0xFFFFFFFFu : 0xFF000000u) << x;
    EXPECT_EQ(image->hotX, 1);
}

TEST(CursorFile, PngImageInsideACursor) {
    Image png;
    png.width = 2;
    png.height = 2;
    png.channels = 4;
    png.pixels = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 9, 9, 9, 255};
    const std::string data = *WritePngMemory(png);
    std::string file;
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file += std::string("\x02\x02\x00\x00", 4);
    Put16(file, 1);
    Put16(file, 1);
    Put32(file, static_cast<uint32_t>(data.size()));
    Put32(file, 22);
    file += data;
    auto image = ReadCursorFile(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->argb, (std::vector<uint32_t>{0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF090909}));
}

TEST(CursorFile, AnimatedCursorRoundTrip) {
    AnimatedCursor cursor;
    cursor.frames = {Sample(), Sample()};
    cursor.frames[1].argb[1] = 0xFF123456;
    cursor.steps = {{1, 5}, {0, 7}, {1, 9}};
    std::string error;
    auto back = ReadAnimatedCursor(WriteAnimatedCursor(cursor), &error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->frames.size(), 2u);
    EXPECT_EQ(back->frames[1].argb, cursor.frames[1].argb);
    ASSERT_EQ(back->steps.size(), 3u);
    EXPECT_EQ(back->steps[2].frame, 1u);
    EXPECT_EQ(back->steps[2].jiffies, 9u);
    // A plain cursor is an animation of one frame.
    auto single = ReadAnimatedCursor(WriteCursorFile(Sample()));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->steps.size(), 1u);
}

TEST(CursorFile, DamagedFilesAreRefused) {
    const std::string good = WriteCursorFile(Sample());
    auto patched = [&](size_t at, uint32_t value, int bytes) {
        std::string s = good;
        for (int i = 0; i < bytes; ++i) s[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return s;
    };
    const std::pair<const char*, std::string> bad[] = {
        {"empty", ""},
        {"cut header", good.substr(0, 4)},
        {"no images", patched(4, 0, 2)},
        {"directory cut", good.substr(0, 12)},
        {"offset past end", patched(18, 100000, 4)},
        {"length past end", patched(14, 100000, 4)},
        {"pixels cut", good.substr(0, good.size() - 40)},
        {"huge width", patched(22 + 4, 5000, 4)},
        {"odd height", patched(22 + 8, 7, 4)},
        {"bit count", patched(22 + 14, 3, 2)},
        {"compressed", patched(22 + 16, 1, 4)},
        {"hotspot outside", patched(10, 9, 2)},
        {"wrong type", patched(2, 7, 2)},
    };
    for (const auto& [name, bytes] : bad) {
        std::string error;
        EXPECT_FALSE(ReadCursorFile(bytes, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }

    AnimatedCursor cursor;
    cursor.frames = {Sample()};
    cursor.steps = {{0, 5}};
    const std::string ani = WriteAnimatedCursor(cursor);
    std::string error;
    EXPECT_FALSE(ReadAnimatedCursor(ani.substr(0, ani.size() - 10), &error));
    EXPECT_FALSE(ReadAnimatedCursor("RIFF\x04\0\0\0ACON", &error)) << "no header";
    std::string badStep = ani;
    const size_t seq = badStep.find("seq ");
    badStep[seq + 8] = 5;  // names frame 5 of 1
    EXPECT_FALSE(ReadAnimatedCursor(badStep, &error));
    EXPECT_NE(error.find("missing frame"), std::string::npos) << error;
}

}  // namespace
}  // namespace platform
