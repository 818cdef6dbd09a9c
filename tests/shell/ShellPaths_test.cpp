#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/cRZCmdLine.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "shell/ShellPaths.h"
#include "shell/StartupChecks.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ScratchDir;

// A settings store of its own and a working folder in a scratch folder,
// both put back afterwards.
class ShellPathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        mOldCwd = platform::CurrentDirectory();
        platform::Registry::SetDefaultFile(mDir / "registry.txt");
        ASSERT_TRUE(platform::SetCurrentDirectory(mDir.Path().string()));
        tova::ResetDataRoot();
    }
    void TearDown() override {
        platform::SetCurrentDirectory(mOldCwd);
        platform::Registry::SetDefaultFile(platform::Registry::DefaultFile());
        tova::ResetDataRoot();
    }
    void SetValue(const char* name, const std::string& text) {
        platform::RegKey key;
        ASSERT_EQ(platform::Registry::Default().CreateKey(platform::RegRoot::kLocalMachine, "Software\\Orvel\\Ziv Tova", key),
                  platform::kRegSuccess);
        ASSERT_EQ(key.SetString(name, text), platform::kRegSuccess);
    }
    void Touch(const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }

    ScratchDir mDir;
    std::string mOldCwd;
};

TEST_F(ShellPathsTest, MakeDataPathJoinsWithOneSeparator) {
    struct Case {
        const char* root;
        const char* sub;
        const char* file;
        const char* expected;
    } cases[] = {
        {"./", "UserData/", "options.iff", "./UserData/options.iff"},
        {"./", "UserData\\", "options.iff", "./UserData\\options.iff"},
        {"./", "UIText", "x", "./UIText/x"},
        {"./", nullptr, "x", "./x"},
        {"/data", nullptr, "x", "/data/x"},
        {"/data", nullptr, nullptr, "/data/"},
        {"", "Houses/", nullptr, "Houses/"},
    };
    for (const Case& c : cases) {
        std::string out;
        ASSERT_TRUE(tova::JoinShellPath(c.root, c.sub, c.file, out)) << c.expected;
        EXPECT_EQ(out, c.expected);
    }
    // A path that would be cut is refused, never shortened.
    std::string out = "unchanged";
    EXPECT_FALSE(tova::JoinShellPath("./", std::string(250, 'a').c_str(), "file.iff", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_TRUE(tova::JoinShellPath("./", std::string(252, 'a').c_str(), nullptr, out));
}

TEST_F(ShellPathsTest, TheDataRootIsTheWorkingFolderWithTheScenarioFile) {
    std::string root;
    EXPECT_FALSE(tova::FindDataRoot(root));
    Touch(mDir / "GameData" / "Scenario.zdv");
    ASSERT_TRUE(tova::FindDataRoot(root));
    EXPECT_EQ(root, "./");
    std::string path;
    ASSERT_TRUE(tova::MakeDataPath("UserData/", "options.iff", path));
    EXPECT_EQ(path, "./UserData/options.iff");
}

TEST_F(ShellPathsTest, RegistryTextsTooLongForTheBufferAreAbsent) {
    std::string out;
    EXPECT_FALSE(tova::ReadRegistryString("TOVA_LANGUAGE", out));  // no key at all
    SetValue("TOVA_LANGUAGE", "French");
    ASSERT_TRUE(tova::ReadRegistryString("TOVA_LANGUAGE", out));
    EXPECT_EQ(out, "French");
    SetValue("TOVA_SOUND", std::string(259, 's'));
    EXPECT_TRUE(tova::ReadRegistryString("TOVA_SOUND", out));
    SetValue("TOVA_SOUND", std::string(260, 's'));  // no room for the terminator
    out = "kept";
    EXPECT_FALSE(tova::ReadRegistryString("TOVA_SOUND", out));
    EXPECT_EQ(out, "kept");
    SetValue("TOVA_MUSIC", std::string("ab\0cd", 5));
    EXPECT_FALSE(tova::ReadRegistryString("TOVA_MUSIC", out));
}

TEST_F(ShellPathsTest, SoundAndMusicUnderTheDataRoot) {
    Touch(mDir / "SoundData" / "TovaSound.hit");
    Touch(mDir / "Music" / "Tova.wve");
    const tova::SoundAndMusicData data = tova::FindSoundAndMusicData("./");
    ASSERT_TRUE(data.found);
    EXPECT_EQ(data.soundFolder, "./SoundData/");
    EXPECT_EQ(data.soundRoot, "./");
    EXPECT_EQ(data.musicFolder, "./Music/");
    EXPECT_EQ(data.musicRoot, "./");
}

TEST_F(ShellPathsTest, MusicOnAMountPointWhileTheSoundSitsUnderTheRoot) {
    Touch(mDir / "SoundData" / "TovaSound.hit");
    Touch(mDir / "disc" / "Music" / "Tova.wve");
    SetValue("TOVA_MOUNTS", (mDir / "nothing").string() + ";" + (mDir / "disc").string());
    const tova::SoundAndMusicData data = tova::FindSoundAndMusicData("./");
    ASSERT_TRUE(data.found);
    EXPECT_EQ(data.musicFolder, (mDir / "disc").string() + "/Music/");
    EXPECT_EQ(data.musicRoot, (mDir / "disc").string() + "/");
}

TEST_F(ShellPathsTest, ANetworkMusicPathIsRefusedAndTheSearchGoesOn) {
    Touch(mDir / "elsewhere" / "TovaSound.hit");
    SetValue("TOVA_SOUND", (mDir / "elsewhere").string());
    SetValue("TOVA_MUSIC", "\\\\server\\share");
    EXPECT_FALSE(tova::FindSoundAndMusicData("./").found);  // no music anywhere: sound off
    Touch(mDir / "Music" / "Tova.wve");
    const tova::SoundAndMusicData data = tova::FindSoundAndMusicData("./");
    ASSERT_TRUE(data.found);
    EXPECT_EQ(data.soundFolder, (mDir / "elsewhere").string() + "/");
    EXPECT_EQ(data.musicFolder, "./Music/");
}

TEST_F(ShellPathsTest, MissingSoundTurnsBothOff) {
    Touch(mDir / "Music" / "Tova.wve");
    const tova::SoundAndMusicData data = tova::FindSoundAndMusicData("./");
    EXPECT_FALSE(data.found);
    EXPECT_EQ(data.musicRoot, "");
    EXPECT_EQ(data.soundRoot, "");
}

TEST_F(ShellPathsTest, ReadOnlyMarksAreClearedOnTheSavedFilesOnly) {
    const char* files[] = {"Neighborhood.iff", "Houses/House01.iff", "Characters/User00000.iff", "Export/Smith.FAM",
                           "Export/notes.txt", "Other/x.iff"};
    for (const char* f : files) {
        Touch(mDir / "N" / f);
        ASSERT_TRUE(platform::SetReadOnly((mDir / "N" / f).string(), true));
    }
    EXPECT_EQ(tova::ClearReadOnlyFlags((mDir / "N").string()), 4);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(platform::IsReadOnly((mDir / "N" / files[i]).string())) << files[i];
    EXPECT_TRUE(platform::IsReadOnly((mDir / "N" / "Export/notes.txt").string()));
    EXPECT_TRUE(platform::IsReadOnly((mDir / "N" / "Other/x.iff").string()));
}

TEST(ShellLanguage, RegistryNameAndSwitches) {
    struct Case {
        const char* registry;  // null: no value
        const char* line;
        int32_t expected;
    } cases[] = {
        {nullptr, "", 1},
        {"French", "", 3},
        {"Danish", "", 1},            // not a registry name
        {"french", "", 1},            // exact comparison
        {"Korean", "-lUSEnglish", 1}, // the switch wins
        {"French", "-lUSEnglish -lGerman", 4},
        {nullptr, "-lUSEnglish -lThai", 19},
        {nullptr, "-lDanish", 8},
        {"Japanese", "-lRussian", 13},
        {"Whatever", "-lHebrew", 12},
    };
    for (const Case& c : cases) {
        const cRZCmdLine line(c.line);
        const std::string name = c.registry ? c.registry : "";
        EXPECT_EQ(tova::ChooseLanguage(c.registry ? &name : nullptr, line), c.expected)
            << (c.registry ? c.registry : "(none)") << " / " << c.line;
    }
}

TEST(ShellVerifySystem, TheChecklistNamesEachFailureInOrder) {
    auto entry = [](int n) { return "e" + std::to_string(n); };
    tova::MachineProbes probes;
    EXPECT_EQ(tova::VerifySystemText(probes, entry), "");
    probes.memoryAndDiskOk = [] { return false; };
    probes.processorOk = [] { return false; };
    probes.directXOk = [] { return false; };
    EXPECT_EQ(tova::VerifySystemText(probes, entry), "e1\ne4\ne2\ne11\ne10");
    probes.depthOk = probes.platformOk = probes.sizeOk = probes.sixteenBitModeOk = [] { return false; };
    EXPECT_EQ(tova::VerifySystemText(probes, entry), "e1\ne4\ne5\ne6\ne2\ne7\ne9\ne11\ne10");
    // Another copy running: only its own line.
    probes.otherCopyRunning = [] { return true; };
    EXPECT_EQ(tova::VerifySystemText(probes, entry), "e1\ne8\ne10");
}

}  // namespace
