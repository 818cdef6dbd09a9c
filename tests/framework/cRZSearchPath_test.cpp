#include "framework/cRZSearchPath.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

TEST(cRZSearchPath, BuildsNormalisedDirectories) {
    cRZSearchPath cameras("Cameras; ../Cameras");
    ASSERT_EQ(cameras.GetCount(), 2);
    EXPECT_EQ(cameras.GetDirectory(0), ".\\Cameras\\");
    EXPECT_EQ(cameras.GetDirectory(1), ".\\..\\Cameras\\");

    cRZSearchPath leading(";C:/x");
    ASSERT_EQ(leading.GetCount(), 2);
    EXPECT_EQ(leading.GetDirectory(0), "");
    EXPECT_EQ(leading.GetDirectory(1), "C:\\x\\");

    struct Case {
        const char* in;
        const char* out;
    };
    for (Case c : {Case{".\\a", ".\\a\\"}, Case{"a\\", ".\\a\\"}, Case{"\\\\server\\x", "\\\\server\\x\\"},
                   Case{"/abs", "\\abs\\"}, Case{"", ".\\"}})
        EXPECT_EQ(cRZSearchPath::Normalize(c.in), c.out) << c.in;
    EXPECT_EQ(cRZSearchPath(std::string(400, 'x').c_str()).GetDirectory(0).size(), 2u + 259u + 1u);
    EXPECT_EQ(cRZSearchPath("").GetCount(), 0);
}

TEST(cRZSearchPath, ExtensionNeedsTheDotWithinTheLastFour) {
    struct Case {
        const char* name;
        const char* ext;
    };
    for (Case c : {Case{"a.iff", "iff"}, Case{"a.ab", "ab"}, Case{"a.c", "c"}, Case{"abcd", ""}, Case{".x", "x"},
                   Case{"x", ""}, Case{"", ""}, Case{"a.long", ""}, Case{".", ""}})
        EXPECT_EQ(cRZSearchPath::ExtensionOf(c.name), c.ext) << c.name;
}

TEST(cRZSearchPath, ExistenceAndTypesOfTheFilesFound) {
    namespace fs = std::filesystem;
    fs::path root = fs::temp_directory_path() / ("tova_searchpath_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    fs::create_directories(root / "one" / "sub.iff");
    fs::create_directories(root / "two");
    std::ofstream(root / "one" / "chair.iff").put('x');
    std::ofstream(root / "one" / "Table.IFF").put('x');
    std::ofstream(root / "two" / "skin.sk").put('x');
    std::ofstream(root / "two" / "noext").put('x');

    std::string base = root.string();
    cRZSearchPath path((base + "/one;" + base + "/two").c_str());
    EXPECT_TRUE(path.AllExist());
    std::vector<uint32_t> types;
    EXPECT_EQ(path.CollectTypes(types), 0);
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<uint32_t>{0x49464600u, 0x69666600u, 0x736B0000u}));  // "IFF", "iff", "sk"
    EXPECT_EQ(path.CollectTypes(types), 5);  // nothing new

    cRZSearchPath missing((base + "/one;" + base + "/three").c_str());
    EXPECT_FALSE(missing.AllExist());
    std::vector<uint32_t> none;
    EXPECT_EQ(cRZSearchPath((base + "/three").c_str()).CollectTypes(none), 5);
    fs::remove_all(root);
}
