#include "vekpatch/Common/LanguageResources.h"

#include "VekTestSupport.h"
#include "support/TempFolder.h"

using namespace vek;
using namespace vek_test;

namespace {

// A complete language file whose texts name their language: "<tag> 1" ...
std::string LanguageFile(const std::string& tag, int skip = 0) {
  std::string out = "# test texts\n";
  for (int id = 1; id <= kLastLanguageString; ++id) {
    if (id != skip) out += std::to_string(id) + "\t" + tag + " " + std::to_string(id) + "\n";
  }
  return out;
}

class LanguageTest : public VekTest {
 protected:
  void SetUp() override {
    VekTest::SetUp();
    FreeLanguageResources();  // the fixture's English texts
    install_ = Install();
  }
  void TearDown() override {
    while (!LoadedLanguagePath().empty()) FreeLanguageResources();
    ASSERT_TRUE(LoadLanguageResources(EnglishTexts().c_str()));
    VekTest::TearDown();
  }
  std::string install_;
};

}  // namespace

TEST_F(LanguageTest, CandidatesAreTriedInOrder) {
  struct Case {
    const char* what;
    uint32_t language;  // 0: no "Language" value
    std::vector<std::pair<std::string, std::string>> files;
    const char* loaded;  // file expected, relative to the installation
  };
  const Case cases[] = {
      {"exact match", 0x0407, {{"vekp0407.txt", LanguageFile("de")}, {"vekp0409.txt", LanguageFile("en")}}, "vekp0407.txt"},
      {"sub-language of the same primary", 0x0407, {{"vekp0c07.txt", LanguageFile("at")}, {"vekp0409.txt", LanguageFile("en")}}, "vekp0c07.txt"},
      {"nothing matching", 0x0407, {{"vekp0c0c.txt", LanguageFile("fr")}, {"vekp0409.txt", LanguageFile("en")}}, "vekp0409.txt"},
      {"a file lacking an id is skipped", 0x0407, {{"vekp0407.txt", LanguageFile("de", 57)}, {"vekp0409.txt", LanguageFile("en")}}, "vekp0409.txt"},
      {"no Language value means 1033", 0, {{"vekp0409.txt", LanguageFile("en")}}, "vekp0409.txt"},
      {"the download folder is searched too", 0x0407, {{"PATCH/vekp0407.txt", LanguageFile("de")}, {"vekp0409.txt", LanguageFile("en")}}, "PATCH/vekp0407.txt"},
  };
  for (const Case& c : cases) {
    tova_test::TempFolder root;
    SetText(kVekPatchKey, "InstallPath", root.path());
    if (c.language != 0) SetDword(kVekPatchKey, "Language", c.language);
    else {
      platform::RegKey k;
      platform::Registry::Default().OpenKey(platform::RegRoot::kLocalMachine, kVekPatchKey, platform::RegAccess::kAll, k);
      k.DeleteValue("Language");
    }
    for (const auto& [name, bytes] : c.files) root.Write(name, bytes);
    ASSERT_TRUE(LoadLanguageResources()) << c.what;
    EXPECT_EQ(LoadedLanguagePath(), root.path() + "/" + c.loaded) << c.what;
    FreeLanguageResources();
    EXPECT_EQ(LoadLanguageString(1), "") << c.what;
  }
}

TEST_F(LanguageTest, NoUsableFileFailsTheLoad) {
  EXPECT_FALSE(LoadLanguageResources());
  dir_.Write("install/vekp0409.txt", LanguageFile("en", 93));
  EXPECT_FALSE(LoadLanguageResources());
}

TEST_F(LanguageTest, UsersAreCounted) {
  dir_.Write("install/vekp0409.txt", LanguageFile("en"));
  ASSERT_TRUE(LoadLanguageResources());
  ASSERT_TRUE(LoadLanguageResources());
  EXPECT_EQ(LoadedLanguageId(), "0409");
  FreeLanguageResources();
  EXPECT_EQ(LoadLanguageString(5), "en 5");
  FreeLanguageResources();
  EXPECT_EQ(LoadLanguageString(5), "");
}

TEST(LanguageFile, ParsesEscapesAndRefusesMalformedLines) {
  std::map<int, std::string> strings;
  std::string error;
  std::string file = LanguageFile("t");
  file += "94\ttab\\there\\nnew line \\\\ done\r\n";
  ASSERT_TRUE(ParseLanguageFile(file, strings, error)) << error;
  EXPECT_EQ(strings[94], "tab\there\nnew line \\ done");
  EXPECT_EQ(strings[1], "t 1");

  const std::pair<std::string, const char*> bad[] = {
      {file + "95 no tab\n", "no tab"},
      {file + "x5\ttext\n", "not a number"},
      {file + "1\tagain\n", "given twice"},
      {file + "96\tbad \\q escape\n", "unknown escape"},
      {file + "97\tends in \\", "ends the line"},
      {LanguageFile("t", 12), "string 12"},
      {LanguageFile("t") + "12\t\n", "given twice"},
  };
  for (const auto& [bytes, why] : bad) {
    EXPECT_FALSE(ParseLanguageFile(bytes, strings, error)) << why;
    EXPECT_NE(error.find(why), std::string::npos) << error;
    EXPECT_TRUE(strings.empty());
  }
  std::string emptyText;
  for (int id = 1; id <= kLastLanguageString; ++id) emptyText += std::to_string(id) + "\t" + (id == 30 ? "" : "x") + "\n";
  EXPECT_FALSE(ParseLanguageFile(emptyText, strings, error));
  EXPECT_NE(error.find("string 30"), std::string::npos) << error;
}

TEST(LanguageFile, TheShippedEnglishTextsAreComplete) {
  std::map<int, std::string> strings;
  std::string error;
  std::string bytes = tova_test::ReadBytes(EnglishTexts());
  ASSERT_TRUE(ParseLanguageFile(bytes, strings, error)) << error;
  // Each role's placeholders, in the order the library fills them.
  EXPECT_EQ(ReplaceToken(strings[7], {"S", "T"}), "The file S could not be copied to T.");
  EXPECT_EQ(ReplaceToken(strings[71], {}, {4, 1000}), "The update has 4 files with 1000 bytes in all.");
  EXPECT_NE(ReplaceToken(strings[84], {"/data"}, {12}).find("12 KB"), std::string::npos);
  EXPECT_NE(ReplaceToken(strings[84], {"/data"}, {12}).find("/data"), std::string::npos);
}

TEST(ReplaceToken, FillsEachPlaceholderOnceFromItsOwnList) {
  EXPECT_EQ(ReplaceToken("File %s to %s", {"a%sb", "c"}), "File a%sb to c");
  EXPECT_EQ(ReplaceToken("%d KB on %s", {"/d"}, {42}), "42 KB on /d");
  EXPECT_EQ(ReplaceToken("%s and %s", {"only"}), "only and %s");
  EXPECT_EQ(ReplaceToken("100%", {"x"}), "100%");
  EXPECT_EQ(ReplaceToken("%x %s", {"v"}), "%x v");
}
