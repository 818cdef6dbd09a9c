#include "platform/TrueTypeFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "support/TempFolder.h"

using platform::TrueTypeFont;

TEST(TrueTypeFont, DrawsALineOfTextAsCoverage) {
    const std::string path = TrueTypeFont::FindFile("ComicNeue-Regular.otf");
    ASSERT_FALSE(path.empty()) << "the comic font package is not installed";
    std::string error;
    auto font = TrueTypeFont::Open(path, 16, false, 0, &error);
    ASSERT_TRUE(font) << error;
    platform::TextCoverage text;
    ASSERT_TRUE(font->Render("Install", text));
    EXPECT_EQ(text.width, font->TextWidth("Install"));
    EXPECT_EQ(text.alpha.size(), size_t(text.width) * text.height);
    EXPECT_GE(text.height, 16);
    EXPECT_EQ(*std::max_element(text.alpha.begin(), text.alpha.end()), 255);
    EXPECT_GT(font->TextWidth("Install Install"), 2 * font->TextWidth("Install"));
    EXPECT_FALSE(font->Render("", text));
    EXPECT_EQ(font->TextWidth(""), 0);
}

TEST(TrueTypeFont, MissingFilesAndSizesAreRefused) {
    std::string error;
    EXPECT_FALSE(TrueTypeFont::Open("/nonexistent/font.ttf", 12, false, 0, &error));
    EXPECT_NE(error.find("/nonexistent/font.ttf"), std::string::npos) << error;
    EXPECT_FALSE(TrueTypeFont::Open(TrueTypeFont::FindFile("Loma.ttf"), 0, false, 0, &error));
    EXPECT_EQ(TrueTypeFont::FindFile("no-such-face.ttf"), "");
}

// Fonts of one file share its bytes while any of them is open; a file written
// anew since is read again, and fonts already open keep drawing.
TEST(TrueTypeFont, FontsOfOneFileAndAFileWrittenAgain) {
    const std::string face = TrueTypeFont::FindFile("Loma.ttf");
    ASSERT_FALSE(face.empty()) << "the Thai font package is not installed";
    tova_test::TempFolder t;
    t.Write("f.ttf", "");
    std::string error;
    EXPECT_FALSE(TrueTypeFont::Open(t / "f.ttf", 12, false, 0, &error)) << "an empty file";
    std::ifstream in(face, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    t.Write("f.ttf", bytes);
    auto small = TrueTypeFont::Open(t / "f.ttf", 12, false, 0, &error);
    ASSERT_TRUE(small) << error;
    auto large = TrueTypeFont::Open(t / "f.ttf", 24, false, 0, &error);
    ASSERT_TRUE(large) << error;
    EXPECT_GT(large->TextWidth("Thai"), small->TextWidth("Thai"));

    t.Write("f.ttf", "not a font at all");
    EXPECT_FALSE(TrueTypeFont::Open(t / "f.ttf", 12, false, 0, &error)) << "the new bytes are read";
    small.reset();
    platform::TextCoverage text;
    EXPECT_TRUE(large->Render("Thai", text)) << "an open font keeps the bytes it was opened with";
    EXPECT_GT(text.width, 0);
}
