// contentc's cursor descriptions: a picture and a hotspot become a .cur.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CursorFile.h"
#include "platform/PngFile.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

void WritePicture(const std::string& path, int32_t size) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    platform::Image image;
    image.width = image.height = size;
    image.pixels.assign(static_cast<size_t>(size) * size * 4, 0);
    image.pixels[3] = 255;  // the top-left pixel opaque black
    ASSERT_TRUE(platform::WritePngFile(path, image));
}

TEST(CursorContent, ADescriptionBecomesACursorWithItsHotspot) {
    tova_test::TempFolder dir;
    WritePicture(dir / "src/p.png", 16);
    dir.Write("src/p.cursor", "# a test\nfile p.cur\nimage p.png\nhotspot 4 5\n");
    const tova_test::ProgramRun run = tova_test::CompileContent({"--out", dir / "root", dir / "src/p.cursor"});
    ASSERT_EQ(run.code, 0) << run.err;
    std::string error;
    auto cursor = platform::LoadCursorPath(dir / "root/Res/UI/Shared/Sys/p.cur", &error);
    ASSERT_TRUE(cursor.has_value()) << error;
    EXPECT_EQ(cursor->frames[0].hotX, 4);
    EXPECT_EQ(cursor->frames[0].hotY, 5);
    EXPECT_EQ(cursor->frames[0].argb[0], 0xFF000000u);
    EXPECT_EQ(cursor->frames[0].argb[1] >> 24, 0u);
}

TEST(CursorContent, BadDescriptionsAreRefusedWithTheirLine) {
    tova_test::TempFolder dir;
    WritePicture(dir / "src/p.png", 16);
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"file p.cur\nimage p.png\nhotspot 4\n", "p.cursor:3: bad value for 'hotspot'"},
        {"file p.bmp\nimage p.png\n", "p.cursor:1: bad value for 'file'"},
        {"image p.png\n", "no 'file' line"},
        {"file p.cur\nimage p.png\nsize 3\n", "p.cursor:3: unknown keyword 'size'"},
        {"file p.cur\nimage missing.png\n", "p.cur"},
        {"file p.cur\nimage p.png\nhotspot 16 0\n", "hotspot lies outside"},
    };
    for (const Case& c : cases) {
        dir.Write("src/p.cursor", c.text);
        const tova_test::ProgramRun run = tova_test::CompileContent({"--out", dir / "root", dir / "src/p.cursor"});
        EXPECT_EQ(run.code, 1) << c.text;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

}  // namespace
