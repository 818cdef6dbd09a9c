// fontmake and fontdemo end to end: fonts made from the system's outline
// face, then a line and a text box drawn with the font service's font.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FontImageFile.h"
#include "platform/PngFile.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

// Making the fonts renders thousands of outline glyphs, slow in the sanitizer
// build, so the tests that read them share one run that makes every size
// they look at. Each test still reports that run's failure as its own.
struct MadeFonts {
    MadeFonts() : run(tova_test::RunProgram("fontmake", {"--out", root / "UIGraphics/Fonts", "--sizes", "9-12"})) {}
    tova_test::TempFolder root;
    tova_test::ProgramRun run;
};
const MadeFonts& Fonts() {
    static const MadeFonts made;
    return made;
}

TEST(FontTools, MakeFontsThenDrawHelloWorld) {
    const auto& root = Fonts().root;
    const auto& made = Fonts().run;
    ASSERT_EQ(made.code, 0) << made.err;
    for (const char* name : {"VariableSans_12.ffn", "VariableSans_12_B.ffn", "Russian/VariableSans_12.ffn",
                             "Polish/VariableSans_12_B.ffn"})
        EXPECT_TRUE(root.Has(std::string("UIGraphics/Fonts/") + name)) << name;
    const std::string bytes = root.Read("UIGraphics/Fonts/VariableSans_12.ffn");
    platform::FfnFile file;
    ASSERT_TRUE(platform::DecodeFfn(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), file));
    bool hasA = false;
    for (const auto& image : file.images) hasA = hasA || image.name == "41 'A' 65";
    EXPECT_TRUE(hasA);

    const auto drawn = tova_test::RunProgram("fontdemo", {"--data", root.path(), "--lang", "1", "Hello, world", root / "out.png"});
    ASSERT_EQ(drawn.code, 0) << drawn.err;
    auto picture = platform::ReadPngFile(root / "out.png");
    ASSERT_TRUE(picture);
    EXPECT_GT(picture->width, 50);
    bool inked = false;
    for (size_t i = 0; i < picture->pixels.size(); ++i) inked = inked || picture->pixels[i] > 128;
    EXPECT_TRUE(inked);

    const auto boxed = tova_test::RunProgram(
        "fontdemo", {"--data", root.path(), "--lang", "13", "--size", "12", "--bold", "--shadow", "--width", "60",
                     "Привет, мир! Это строка", root / "box.png"});
    ASSERT_EQ(boxed.code, 0) << boxed.err;
    auto box = platform::ReadPngFile(root / "box.png");
    ASSERT_TRUE(box);
    EXPECT_EQ(box->width, 68);
    EXPECT_GT(box->height, 40) << "several lines";
}

TEST(FontTools, GlyphSetsOfTheDoubleByteAndThaiLanguages) {
    const auto& root = Fonts().root;
    const auto& made = Fonts().run;
    ASSERT_EQ(made.code, 0) << made.err;
    const std::pair<const char*, size_t> sets[] = {{"font12j.fon", 215136}, {"font16j.fon", 286848},
                                                   {"font16b5.fon", 449920}, {"font16gb.fon", 278304},
                                                   {"font20th.fon", 10240},  {"font12k.fon", 64172},
                                                   {"font16k.fon", 79296}};
    for (const auto& [name, size] : sets) EXPECT_EQ(root.Read(std::string("UIGraphics/Fonts/") + name).size(), size) << name;
    for (const char* language : {"15", "17", "18", "19", "20"}) {
        const std::string out = root / (std::string(language) + ".png");
        const auto drawn = tova_test::RunProgram("fontdemo", {"--data", root.path(), "--lang", language, "--width", "80",
                                                              "日本語 中文 한국어 ภาษาไทย", out});
        ASSERT_EQ(drawn.code, 0) << language << " " << drawn.err;
        auto picture = platform::ReadPngFile(out);
        ASSERT_TRUE(picture) << language;
        bool inked = false;
        for (size_t i = 0; i < picture->pixels.size(); ++i) inked = inked || picture->pixels[i] > 128;
        EXPECT_TRUE(inked) << language;
    }
}

TEST(FontTools, FailuresAreNamed) {
    tova_test::TempFolder root;
    const auto noFont = tova_test::RunProgram("fontdemo", {"--data", root.path(), "--lang", "1", "x", root / "o.png"});
    EXPECT_EQ(noFont.code, 1);
    EXPECT_NE(noFont.err.find("no font"), std::string::npos) << noFont.err;
    EXPECT_EQ(tova_test::RunProgram("fontdemo", {"--lang", "1", "x"}).code, 1);
    const auto badFace = tova_test::RunProgram("fontmake", {"--out", root.path(), "--face", "NoSuchFace.ttf"});
    EXPECT_EQ(badFace.code, 1);
    EXPECT_NE(badFace.err.find("no face"), std::string::npos);
}

}  // namespace
