#include "platform/Registry.h"

#include "platform/AtomicFile.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace platform;

namespace {

constexpr const char* kGameKey = "Software\\Orvel\\Ziv Tova";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Ok());
        dir = scratch.Path();
        file = dir / "tova" / "registry.txt";
    }
    static std::string Slurp(const fs::path& p) { return tova_test::ReadBytes(p); }
    void Put(const std::string& bytes) {
        fs::create_directories(file.parent_path());
        tova_test::WriteBytes(file, bytes);
    }
    tova_test::ScratchDir scratch;
    fs::path dir, file;
};

TEST_F(RegistryTest, MissingKeyAndMissingValueAreBothNotFoundAtTheirOwnStep) {
    Registry reg(file);
    RegKey key;
    EXPECT_EQ(reg.OpenKey(RegRoot::kLocalMachine, kGameKey, RegAccess::kRead, key), kRegNotFound);
    EXPECT_FALSE(key.IsOpen());

    RegKey created;
    bool isNew = false;
    ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, kGameKey, created, &isNew), kRegSuccess);
    EXPECT_TRUE(isNew);
    ASSERT_EQ(reg.OpenKey(RegRoot::kLocalMachine, kGameKey, RegAccess::kRead, key), kRegSuccess);
    std::string text = "untouched";
    EXPECT_EQ(key.QueryString("TOVA_LANGUAGE", text), kRegNotFound);
    EXPECT_EQ(text, "untouched");

    // The keys above were made too, and another root is a different tree.
    EXPECT_EQ(reg.OpenKey(RegRoot::kLocalMachine, "Software\\Orvel", RegAccess::kRead, key), kRegSuccess);
    EXPECT_EQ(reg.OpenKey(RegRoot::kCurrentUser, kGameKey, RegAccess::kRead, key), kRegNotFound);
    ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, kGameKey, created, &isNew), kRegSuccess);
    EXPECT_FALSE(isNew);
}

TEST_F(RegistryTest, NamesIgnoreLetterCaseButKeepTheirSpelling) {
    Registry reg(file);
    RegKey key;
    ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, kGameKey, key), kRegSuccess);
    ASSERT_EQ(key.SetString("TOVA_Language", "French"), kRegSuccess);
    ASSERT_EQ(key.SetString("tova_language", "German"), kRegSuccess);  // same value

    RegKey other;
    ASSERT_EQ(reg.OpenKey(RegRoot::kLocalMachine, "SOFTWARE\\orvel\\ZIV TOVA", RegAccess::kRead, other),
              kRegSuccess);
    EXPECT_EQ(other.Path(), kGameKey);
    std::string text;
    ASSERT_EQ(other.QueryString("TOVA_LANGUAGE", text), kRegSuccess);
    EXPECT_EQ(text, "German");
    EXPECT_NE(Slurp(file).find("\"TOVA_Language\"=sz:\"German\""), std::string::npos) << Slurp(file);
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile) {
    const std::string odd("quote\" back\\slash\nnew line \x01\xff end", 33);
    {
        Registry reg(file);
        RegKey key;
        ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, "Software\\Halvard Works\\Vek Link Service\\VekPatch", key),
                  kRegSuccess);
        ASSERT_EQ(key.SetDword("Language", 0x409), kRegSuccess);
        ASSERT_EQ(key.SetString("Odd", odd), kRegSuccess);
        ASSERT_EQ(key.SetString("", "default value"), kRegSuccess);
        ASSERT_EQ(key.SetDword("Max", 0xFFFFFFFFu), kRegSuccess);
    }
    Registry again(file);
    RegKey key;
    ASSERT_EQ(again.OpenKey(RegRoot::kLocalMachine, "software\\halvard works\\vek link service\\vekpatch",
                            RegAccess::kRead, key),
              kRegSuccess);
    std::uint32_t n = 0;
    ASSERT_EQ(key.QueryDword("language", n), kRegSuccess);
    EXPECT_EQ(n, 0x409u);
    ASSERT_EQ(key.QueryDword("MAX", n), kRegSuccess);
    EXPECT_EQ(n, 0xFFFFFFFFu);
    std::string text;
    ASSERT_EQ(key.QueryString("Odd", text), kRegSuccess);
    EXPECT_EQ(text, odd);
    ASSERT_EQ(key.QueryString("", text), kRegSuccess);
    EXPECT_EQ(text, "default value");

    // The text form itself round-trips exactly.
    RegistryData data;
    std::string error;
    ASSERT_TRUE(RegistryData::Parse(Slurp(file), data, error)) << error;
    EXPECT_EQ(data.Format(), Slurp(file));
}

TEST_F(RegistryTest, TypedQueriesBufferSizesAndDeletes) {
    Registry reg(file);
    RegKey key;
    ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, kGameKey, key), kRegSuccess);
    ASSERT_EQ(key.SetString("Version", "1234567890123456"), kRegSuccess);  // 16 characters
    ASSERT_EQ(key.SetString("Long", "12345678901234567"), kRegSuccess);    // 17
    ASSERT_EQ(key.SetDword("Installed", 1), kRegSuccess);

    std::string text;
    EXPECT_EQ(key.QueryString("Version", text, 17), kRegSuccess);
    EXPECT_EQ(text, "1234567890123456");
    text = "kept";
    EXPECT_EQ(key.QueryString("Long", text, 17), kRegMoreData);  // refused, never cut
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(key.QueryString("Installed", text), kRegUnsupportedType);
    std::uint32_t n = 0;
    EXPECT_EQ(key.QueryDword("Version", n), kRegUnsupportedType);
    RegValue any;
    ASSERT_EQ(key.QueryValue("Installed", any), kRegSuccess);
    EXPECT_EQ(any.type, RegType::kDword);

    EXPECT_EQ(key.DeleteValue("INSTALLED"), kRegSuccess);
    EXPECT_EQ(key.QueryValue("Installed", any), kRegNotFound);
    EXPECT_EQ(key.DeleteValue("Installed"), kRegNotFound);
}

TEST_F(RegistryTest, ReadOnlyKeysAndBadPathsAreRefused) {
    Registry reg(file);
    RegKey key;
    ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, kGameKey, key), kRegSuccess);
    RegKey readOnly;
    ASSERT_EQ(reg.OpenKey(RegRoot::kLocalMachine, kGameKey, RegAccess::kRead, readOnly), kRegSuccess);
    EXPECT_EQ(readOnly.SetString("TOVA_SKU", "1"), kRegAccessDenied);
    EXPECT_EQ(readOnly.DeleteValue("TOVA_SKU"), kRegAccessDenied);

    RegKey closed;
    std::string text;
    EXPECT_EQ(closed.QueryString("x", text), kRegInvalidHandle);

    for (const char* bad : {"Software\\\\Orvel", "\\Software", "Soft\x01ware", "Software\\\xe9t\xe9"}) {
        EXPECT_EQ(reg.OpenKey(RegRoot::kLocalMachine, bad, RegAccess::kRead, key), kRegInvalidParameter) << bad;
        EXPECT_EQ(reg.CreateKey(RegRoot::kLocalMachine, bad, key), kRegInvalidParameter) << bad;
    }
    // One trailing separator is forgiven; an empty path is the root itself.
    EXPECT_EQ(reg.OpenKey(RegRoot::kLocalMachine, "Software\\Orvel\\", RegAccess::kRead, key), kRegSuccess);
    EXPECT_EQ(reg.OpenKey(RegRoot::kCurrentUser, "", RegAccess::kRead, key), kRegSuccess);
}

TEST_F(RegistryTest, ChangesByAnotherProcessAreSeen) {
    Registry game(file), installer(file);
    RegKey gameKey, installerKey;
    ASSERT_EQ(installer.CreateKey(RegRoot::kLocalMachine, kGameKey, installerKey), kRegSuccess);
    ASSERT_EQ(game.OpenKey(RegRoot::kLocalMachine, kGameKey, RegAccess::kRead, gameKey), kRegSuccess);
    ASSERT_EQ(installerKey.SetString("TOVA_DATA", "/opt/tova"), kRegSuccess);
    std::string text;
    ASSERT_EQ(gameKey.QueryString("TOVA_DATA", text), kRegSuccess);
    EXPECT_EQ(text, "/opt/tova");

    // A change made through one store keeps the other's values.
    RegKey gameWrite;
    ASSERT_EQ(game.CreateKey(RegRoot::kLocalMachine, kGameKey, gameWrite), kRegSuccess);
    ASSERT_EQ(gameWrite.SetString("TOVA_SKU", "3"), kRegSuccess);
    ASSERT_EQ(installerKey.QueryString("TOVA_DATA", text), kRegSuccess);
    EXPECT_EQ(text, "/opt/tova");
    ASSERT_EQ(installerKey.QueryString("TOVA_SKU", text), kRegSuccess);
    EXPECT_EQ(text, "3");
}

TEST_F(RegistryTest, DamagedFilesAreRefusedAndNeverOverwritten) {
    const std::string header = "Tova registry 1\n";
    struct Case {
        std::string text;
        std::string expect;  // part of the message
    } cases[] = {
        {"", "line 1"},
        {"Some other file\n", "line 1"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=sz:\"y\"", "line 3: missing line end"},
        {header + "\"x\"=sz:\"y\"\n", "line 2: value before any key"},
        {header + "[HKEY_NOWHERE\\A]\n", "unknown root"},
        {header + "[HKEY_LOCAL_MACHINE\\A\n", "closing ']'"},
        {header + "[HKEY_LOCAL_MACHINE\\A\\\\B]\n", "bad key path"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=sz:\"unterminated\n", "unterminated"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=sz:\"bad \\q escape\"\n", "bad escape"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=dword:12\n", "8 hex digits"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=dword:0000000g\n", "8 hex digits"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=qword:00000001\n", "expected =sz: or =dword:"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=dword:00000001 junk\n", "after the value"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=sz:\"1\"\n\"X\"=sz:\"2\"\n", "listed twice"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n[HKEY_LOCAL_MACHINE\\a]\n", "listed twice"},
        {header + "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=sz:\"tab\there\"\n", "control byte"},
    };
    for (const Case& c : cases) {
        Put(c.text);
        Registry reg(file);
        RegKey key;
        EXPECT_EQ(reg.OpenKey(RegRoot::kLocalMachine, "A", RegAccess::kRead, key), kRegBadFile) << c.text;
        EXPECT_NE(reg.LastError().find(c.expect), std::string::npos) << c.text << " -> " << reg.LastError();
        EXPECT_NE(reg.LastError().find(file.string()), std::string::npos) << reg.LastError();
        EXPECT_EQ(reg.CreateKey(RegRoot::kLocalMachine, "B", key), kRegBadFile);
        EXPECT_EQ(Slurp(file), c.text);  // left for a person to repair
    }
}

TEST_F(RegistryTest, CommentsBlankLinesAndCrLfAreAccepted) {
    Put("Tova registry 1\r\n; written by hand\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Orvel\\Ziv Tova]\r\n"
        "\"TOVA_LANGUAGE\"=sz:\"Dutch\"\r\n");
    Registry reg(file);
    RegKey key;
    ASSERT_EQ(reg.OpenKey(RegRoot::kLocalMachine, kGameKey, RegAccess::kRead, key), kRegSuccess) << reg.LastError();
    std::string text;
    ASSERT_EQ(key.QueryString("TOVA_LANGUAGE", text), kRegSuccess);
    EXPECT_EQ(text, "Dutch");
}

TEST_F(RegistryTest, FailedSaveLeavesOldFileAndOldValues) {
    Registry reg(file);
    RegKey key;
    ASSERT_EQ(reg.CreateKey(RegRoot::kLocalMachine, kGameKey, key), kRegSuccess);
    ASSERT_EQ(key.SetString("TOVA_LANGUAGE", "French"), kRegSuccess);
    const std::string before = Slurp(file);

    // A folder squatting on the temporary's name makes the save fail.
    fs::create_directories(AtomicFile::TempPathFor(file) / "inside");
    EXPECT_EQ(key.SetString("TOVA_LANGUAGE", "German"), kRegCantWrite);
    EXPECT_NE(reg.LastError().find(file.string()), std::string::npos) << reg.LastError();
    EXPECT_EQ(Slurp(file), before);
    std::string text;
    ASSERT_EQ(key.QueryString("TOVA_LANGUAGE", text), kRegSuccess);
    EXPECT_EQ(text, "French");

    fs::remove_all(AtomicFile::TempPathFor(file));
    EXPECT_EQ(key.SetString("TOVA_LANGUAGE", "German"), kRegSuccess);
}

TEST_F(RegistryTest, DefaultFileFollowsXdgConfigHome) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    std::string xdg = savedXdg ? savedXdg : "", home = savedHome ? savedHome : "";

    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(Registry::DefaultFile(), fs::path("/cfg/tova/registry.txt"));
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    ::setenv("HOME", "/home/player", 1);
    EXPECT_EQ(Registry::DefaultFile(), fs::path("/home/player/.config/tova/registry.txt"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Registry::DefaultFile(), fs::path("/home/player/.config/tova/registry.txt"));

    if (savedXdg) ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    if (savedHome) ::setenv("HOME", home.c_str(), 1);
    else ::unsetenv("HOME");

    Registry::SetDefaultFile(file);
    RegKey key;
    ASSERT_EQ(Registry::Default().CreateKey(RegRoot::kLocalMachine, kGameKey, key), kRegSuccess);
    EXPECT_EQ(Registry::Default().File(), file);
    EXPECT_TRUE(fs::exists(file));
}

}  // namespace
