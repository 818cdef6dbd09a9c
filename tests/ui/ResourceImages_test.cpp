// Pictures by resource id: the ".RT" script reader (headers, numeric ids,
// languages, problems, unclosed sentences), the location map's lookup, and
// loading by id through the codec, the bitmap loader and the buffer's own
// run-length loader with its fallback, under the image lock.
#include "ui/graphics/ResourceImages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/cRZCriticalSection.h"
#include "platform/PngFile.h"
#include "support/TempFolder.h"
#include "ui/graphics/KoralImageFile.h"
#include "ui/graphics/RTScript.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

constexpr int32_t kCurrentLanguage = 3;

std::vector<uint8_t> Pattern(int32_t width, int32_t height) {
    std::vector<uint8_t> rgb;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            rgb.push_back(static_cast<uint8_t>(x * 40));
            rgb.push_back(static_cast<uint8_t>(y * 60));
            rgb.push_back(200);
        }
    return rgb;
}

class ResourceImagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Image image;
        image.width = 4;
        image.height = 3;
        image.channels = 3;
        image.pixels = Pattern(4, 3);
        std::string error;
        folder.Touch({"Panels/.keep", "Buttons/.keep"});
        ASSERT_TRUE(platform::WritePngFile(folder / "Panels/panel.png", image, &error)) << error;
    }
    std::string Read(const std::string& script) {
        folder.Write("Test.RT", script);
        RTScript reader(images.Map(), kCurrentLanguage);
        EXPECT_TRUE(reader.LoadScript(folder / "Test.RT"));
        problems = reader.Problems();
        return problems.empty() ? std::string() : problems.front();
    }
    std::string Location(int32_t id, int32_t language) {
        std::string path;
        int32_t rle = 0;
        return images.Map().Lookup(id, language, path, rle) ? path : "none";
    }

    tova_test::TempFolder folder;
    std::vector<std::string> problems;
    cGZResourceImages images{folder.path() + "/", [] { return kCurrentLanguage; }};
};

TEST_F(ResourceImagesTest, SymbolFromAnIncludedHeaderLoadsThePicture) {
    folder.Write("ids.h", "// ids\nconst Sint32 kPanel = 1200;\nconst Sint32  kOther\t= 5 ;\n");
    Read("text between sentences\n{ INCLUDE, \"ids.h\" }\n{\r\n BITMAP, kPanel ,\"Panels/panel.png\"}\n");
    EXPECT_EQ(Location(1200, 0), "Panels/panel.png");
    cGZBuffer* buffer = nullptr;
    ASSERT_TRUE(images.LoadImageByResID(1200, buffer, 0));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Width(), 4);
    EXPECT_EQ(buffer->Height(), 3);
    EXPECT_EQ(buffer->GetResourceId(), 1200);
    buffer->Release();
    EXPECT_FALSE(images.LoadImageByResID(1201, buffer, 0));
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(ResourceImagesTest, NumericIdNeedsNoHeaderAndBitmapsLoad) {
    std::string error;
    const std::vector<uint32_t> pixels(6, 0xFF336699u);
    ASSERT_TRUE(WriteCodecImage(folder / "Buttons/ok.bmp", 3, 2, pixels.data(), &error)) << error;
    Read("{BITMAP, 77, \"Buttons/ok.bmp\"}");
    cGZBuffer* buffer = nullptr;
    ASSERT_TRUE(images.LoadImageByResID(77, buffer, 0));
    EXPECT_EQ(buffer->Width(), 3);
    EXPECT_EQ(buffer->GetResourceId(), 77);
    buffer->Release();
}

TEST_F(ResourceImagesTest, SentencesForOtherLanguagesAreDropped) {
    folder.Write("lang.h", "const Sint32 kThree = 3;\nconst Sint32 kFour = 4;\n");
    Read("{INCLUDE, lang.h}{BITMAP, 5, all.png}{BITMAP, 5, three.png, kThree}{BITMAP, 6, four.png, kFour}"
         "{BITMAP, 7, seven.png, kFour}{BITMAP, 7, seven3.png, kThree}");
    EXPECT_EQ(Location(5, kCurrentLanguage), "three.png");
    EXPECT_EQ(Location(5, 0), "all.png");
    EXPECT_EQ(Location(5, 9), "all.png") << "falls back to every language";
    EXPECT_EQ(Location(6, 4), "none");
    EXPECT_EQ(images.Map().Size(), 3u);
}

TEST_F(ResourceImagesTest, ProblemsDropTheirSentenceAndReadingGoesOn) {
    struct Case {
        const char* script;
        const char* problem;
    };
    const Case cases[] = {
        {"{}", "Sentance without directive token"},
        {"{PICTURE, 1, a.png}", "Unknown Directive in Sentance"},
        {"{bitmap, 1, a.png}", "Unknown Directive in Sentance"},
        {"{BITMAP}", "No ResID Token in Resource Sentance"},
        {"{BITMAP, kNothing, a.png}", "ResID:kNothing has no known value in Resource Sentance"},
        {"{BITMAP, 0, a.png}", "ResID:0 has no known value in Resource Sentance"},
        {"{BITMAP, 9}", "No Location String in Resource Sentance"},
        {"{BITMAP, 9, a.png, kWhere}", "Res Language:kWhere has no known value in Resource Sentance"},
        {"{INCLUDE}", "No Header Token found in Header Sentance"},
        {"{RLEBMP, 8, b.bmp}", "End of file in sentance"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(std::string(c.script) + "{BITMAP, 12, after.png}"), c.problem) << c.script;
        EXPECT_EQ(Location(12, 0), "after.png") << c.script;
        EXPECT_EQ(problems.back(), "End of file in sentance");
    }
    EXPECT_EQ(Read("{INCLUDE, \"missing.h\"}"),
              "Could not open header '" + folder.path() + "/missing.h' not found in Header Sentance");
    cGZResourceMap map;
    RTScript reader(map, 1);
    EXPECT_FALSE(reader.LoadScript(folder / "none.RT"));
    EXPECT_EQ(map.Size(), 0u);
}

TEST_F(ResourceImagesTest, QuotedTokensKeepCommasAndAnUnclosedSentenceEndsTheScript) {
    Read("{BITMAP, 20, \"a, b\nc.png\"}{BITMAP, 21, x.png} {BITMAP, 22, y.png {BITMAP, 23, z.png}");
    EXPECT_EQ(Location(20, 0), "a, b\nc.png");
    EXPECT_EQ(Location(21, 0), "x.png");
    // The third sentence runs to the fourth's '}', so "23" is its language.
    EXPECT_EQ(Location(22, 0), "none");
    EXPECT_EQ(problems.front(), "Res Language:23 has no known value in Resource Sentance");
    Read("{BITMAP, 30, x.png}{BITMAP, 31, y.png");
    EXPECT_EQ(Location(30, 0), "x.png");
    EXPECT_EQ(Location(31, 0), "none");
    EXPECT_EQ(problems, std::vector<std::string>{"End of file in sentance"});
}

TEST_F(ResourceImagesTest, LocationsTooLongForAPathFailTheLookup) {
    images.Map().Set(40, 0, {std::string(259, 'a'), false});
    images.Map().Set(41, 0, {std::string(260, 'a'), true});
    EXPECT_EQ(Location(40, 0).size(), 259u);
    EXPECT_EQ(Location(41, 0), "none");
}

TEST_F(ResourceImagesTest, LoadersByExtensionWithTheRunLengthFallback) {
    std::vector<std::string> calls;
    ResourceImageLoaders loaders;
    bool bufferLoaderWorks = false;
    loaders.bufferFile = [&](cGZBuffer& buffer, const std::string& path) {
        calls.push_back("buffer " + path);
        return bufferLoaderWorks && buffer.Init(2, 2, cGZBuffer::kFormat565, 16, nullptr, 0, 0);
    };
    loaders.bitmapFile = [&](const std::string& path, int32_t mode) {
        calls.push_back("bitmap " + path + " " + std::to_string(mode));
        auto* buffer = new cGZBuffer;
        buffer->AddRef();
        return buffer;
    };
    loaders.imageFile = [&](const std::string& path) {
        calls.push_back("image " + path);
        return static_cast<cGZBuffer*>(nullptr);
    };
    cGZResourceImages faked("UI/", [] { return 2; }, loaders);
    faked.Map().Set(1, 0, {"a.BMP", true});
    faked.Map().Set(2, 0, {"b.bmp", false});
    faked.Map().Set(3, 0, {"c.jpg", false});
    faked.Map().Set(3, 2, {"c2.png", false});
    cGZBuffer* out = nullptr;
    ASSERT_TRUE(faked.LoadImageByResID(1, out, 7));
    EXPECT_EQ(out->GetResourceId(), 1);
    out->Release();
    bufferLoaderWorks = true;
    ASSERT_TRUE(faked.LoadImageByResID(1, out, 7));
    out->Release();
    ASSERT_TRUE(faked.LoadImageByResID(2, out, 5));
    out->Release();
    EXPECT_FALSE(faked.LoadImageByResID(3, out, 0));
    EXPECT_EQ(out, nullptr);
    const std::vector<std::string> expected = {"buffer UI/a.BMP", "bitmap UI/a.BMP 7", "buffer UI/a.BMP",
                                               "bitmap UI/b.bmp 5", "image UI/c2.png", "image UI/c.jpg"};
    EXPECT_EQ(calls, expected);
}

TEST_F(ResourceImagesTest, GlobalLoadsNeedAnInstalledMapAndHoldTheImageLock) {
    cGZBuffer* out = reinterpret_cast<cGZBuffer*>(this);
    EXPECT_FALSE(LoadImageByResID(1200, out, 0));
    EXPECT_EQ(out, nullptr);
    int32_t heldDuringLoad = -1;
    ResourceImageLoaders loaders;
    loaders.resFile = [&](iResFile*, int32_t id, int32_t) {
        heldDuringLoad = GZImageLock().GetLockCount();
        if (id != 9) return static_cast<cGZBuffer*>(nullptr);
        auto* buffer = new cGZBuffer;
        buffer->AddRef();
        return buffer;
    };
    cGZResourceImages faked("UI/", nullptr, loaders);
    GZSetResourceImages(&faked);
    EXPECT_FALSE(LoadImageFromResFile(nullptr, 8, out, 0));
    EXPECT_EQ(heldDuringLoad, 1);
    ASSERT_TRUE(LoadImageFromResFile(nullptr, 9, out, 0));
    out->Release();
    EXPECT_EQ(GZImageLock().GetLockCount(), 0);
    GZSetResourceImages(nullptr);
}

TEST_F(ResourceImagesTest, EveryScriptOfTheFolderIsRead) {
    folder.Write("One.RT", "{BITMAP, 1, one.png}");
    folder.Write("two.rt", "{BITMAP, 2, two.png}");
    folder.Write("three.txt", "{BITMAP, 3, three.png}");
    EXPECT_EQ(images.LoadScripts(), 2u);
    EXPECT_EQ(Location(1, 0), "one.png");
    EXPECT_EQ(Location(2, 0), "two.png");
    EXPECT_EQ(Location(3, 0), "none");
}

TEST(StarterInterfacePictures, LoadByTheirIds) {
    cGZResourceImages starter(std::string(TOVA_BIN_DIR) + "/../data/UIGraphics/", [] { return 1; });
    ASSERT_GE(starter.LoadScripts(), 1u);
    struct Case {
        int32_t id;
        int32_t width, height;
    };
    for (const Case& c : {Case{1200, 64, 40}, Case{1201, 48, 24}}) {
        cGZBuffer* buffer = nullptr;
        ASSERT_TRUE(starter.LoadImageByResID(c.id, buffer, 0)) << c.id;
        EXPECT_EQ(buffer->Width(), c.width) << c.id;
        EXPECT_EQ(buffer->Height(), c.height) << c.id;
        EXPECT_EQ(buffer->GetResourceId(), c.id);
        buffer->Release();
    }
    EXPECT_NE(starter.Map().Size(), 0u);
    cGZResourceImages french(std::string(TOVA_BIN_DIR) + "/../data/UIGraphics/", [] { return 2; });
    french.LoadScripts();
    cGZBuffer* buffer = nullptr;
    EXPECT_FALSE(french.LoadImageByResID(1202, buffer, 0)) << "the English-only picture";
}

}  // namespace
