#include "platform/TrueTypeFont.h"

#include <gtest/gtest.h>

#include <algorithm>

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
