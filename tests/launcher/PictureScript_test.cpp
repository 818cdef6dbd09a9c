#include "launcher/PictureScript.h"

#include <gtest/gtest.h>

TEST(PictureScript, DrawsFillsBoxesDiscsAndRings) {
    std::vector<ScriptedPicture> out;
    std::string error;
    ASSERT_TRUE(RunPictureScript("# a face and its mask\n"
                                 "picture Launcher/face.bmp 20 10 24\nfill 1 2 3\nbox 2 1 3 2 200 100 50\n"
                                 "picture mask.bmp 21 21 8\nfill 0\ndisc 10 10 5 255\nring 10 10 9 2 128\n",
                                 out, error))
        << error;
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].name, "Launcher/face.bmp");
    const LauncherPicture& face = *out[0].picture;
    EXPECT_EQ(face.BitCount(), 24);
    EXPECT_EQ(face.Pixel(0, 0), (std::array<uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(face.Pixel(2, 1), (std::array<uint8_t, 3>{200, 100, 50}));
    EXPECT_EQ(face.Pixel(4, 2), (std::array<uint8_t, 3>{200, 100, 50}));
    EXPECT_EQ(face.Pixel(5, 2), (std::array<uint8_t, 3>{1, 2, 3}));
    const LauncherPicture& mask = *out[1].picture;
    auto at = [&](int x, int y) { return mask.Row(y)[x]; };
    EXPECT_EQ(at(10, 10), 255);
    EXPECT_EQ(at(14, 10), 255);  // distance 4 < 5
    EXPECT_EQ(at(15, 10), 0);    // distance 5: outside
    EXPECT_EQ(at(17, 10), 128);  // in the ring of 7..9
    EXPECT_EQ(at(19, 10), 0);
}

TEST(PictureScript, APaletteIsARiffFileOfAColourCube) {
    std::vector<ScriptedPicture> out;
    std::string error;
    ASSERT_TRUE(RunPictureScript("palette 247.pal\n", out, error)) << error;
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].picture, nullptr);
    std::vector<std::array<uint8_t, 4>> entries;
    ASSERT_TRUE(ParseRiffPalette(out[0].bytes.data(), out[0].bytes.size(), entries, error)) << error;
    ASSERT_EQ(entries.size(), 256u);
    EXPECT_EQ(entries[0], (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(entries[0b10110110], (std::array<uint8_t, 4>{182, 182, 170, 0}));
    EXPECT_EQ(entries[255], (std::array<uint8_t, 4>{255, 255, 255, 0}));
    EXPECT_FALSE(RunPictureScript("palette p.pal\nfill 0\n", out, error));
    EXPECT_EQ(error, "line 2: 'fill' before any picture");
}

TEST(PictureScript, BadLinesNameTheirNumber) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"fill 0\n", "line 1: 'fill' before any picture"},
        {"picture a.bmp 4 4 16\n", "line 1: pictures have 8 or 24 bits"},
        {"picture ../a.bmp 4 4 8\n", "line 1: picture name must be a relative path"},
        {"picture /a.bmp 4 4 8\n", "line 1: picture name must be a relative path"},
        {"picture a.bmp 0 4 8\n", "line 1: picture size out of range"},
        {"picture a.bmp 4 4 8\n\nfill 256\n", "line 3: fill needs a colour"},
        {"picture a.bmp 4 4 24\nfill 1 2\n", "line 2: fill needs a colour"},
        {"picture a.bmp 4 4 8\nbox 1 1 1 1 1 9\n", "line 2: extra words after 'box'"},
        {"picture a.bmp 4 4 8\nstar 1\n", "line 2: unknown step 'star'"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptedPicture> out;
        std::string error;
        EXPECT_FALSE(RunPictureScript(c.text, out, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}
