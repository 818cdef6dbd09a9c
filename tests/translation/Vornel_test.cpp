// Runs the real vornel program on small files and checks every byte it
// prints and writes, and its exit code.
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using tova_test::ReadBytes;
using tova_test::WriteBytes;

namespace {

const std::string kTokens =
    "; French texts for the test\n"
    "token=####HELLO####\n"
    "english=####Hello####\n"
    "foreign=####Bonjour####\n"
    "\n"
    "token=####BYE####\n"
    "english=####Goodbye####\n"
    "foreign=####Au revoir####\n";

const std::string kMappings =
    "mapping:####HELLO#### to Bonjour\n"
    "mapping:####BYE#### to Au revoir\n"
    "mapping:####HELLO#### to Hello\n"
    "mapping:####BYE#### to Goodbye\n";

const std::string kInserting = "Vornel: Inserting tokens.txt into tpl.txt.  Creating out.txt.\n";

class VornelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Ok());
        work = scratch / "work";
        fs::create_directory(work);
    }

    struct Result {
        int code = -1;
        std::string out;
    };

    // Runs vornel in the work folder with the given arguments.
    Result Run(const std::vector<std::string>& args) {
        const auto quote = tova_test::ShellQuote;
        std::string command = "cd " + quote(work.string()) + " && " + quote(std::string(TOVA_BIN_DIR) + "/vornel");
        for (const std::string& a : args) command += " " + quote(a);
        command += " > " + quote((scratch / "stdout").string()) + " 2>&1; echo $? > " +
                   quote((scratch / "code").string());
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        Result r;
        r.out = ReadBytes(scratch / "stdout");
        r.code = std::atoi(ReadBytes(scratch / "code").c_str());
        return r;
    }

    Result Fill(const std::string& tokens, const std::string& tpl) {
        WriteBytes(work / "tokens.txt", tokens);
        WriteBytes(work / "tpl.txt", tpl);
        return Run({"tpl.txt", "tokens.txt", "out.txt"});
    }

    std::optional<std::string> Output() {
        if (!fs::exists(work / "out.txt")) return std::nullopt;
        return ReadBytes(work / "out.txt");
    }

    tova_test::ScratchDir scratch;
    fs::path work;
};

TEST_F(VornelTest, FullFill) {
    Result r = Fill(kTokens, "Title: ####HELLO####!\nEnd: ####BYE####.\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, kMappings + kInserting);
    EXPECT_EQ(Output(), "Title: Bonjour!\nEnd: Au revoir.\n");
}

// The shapes of template the fill must handle, each with the tokens above.
TEST_F(VornelTest, TemplateShapes) {
    struct Case {
        const char* what;
        std::string tpl;
        std::optional<std::string> output;
    } cases[] = {
        {"starts with a token", "####HELLO#### le monde", "Bonjour le monde"},
        {"adjacent tokens", "a ####HELLO########BYE#### b", "a BonjourAu revoir b"},
        {"only tokens", "####BYE########HELLO########BYE####", "Au revoirBonjourAu revoir"},
        {"no markers at all", "plain text\r\nkept as is", "plain text\r\nkept as is"},
        {"empty", "", ""},
        {"crlf lines, no final line end", "####HELLO####\r\n\r\n####BYE####", "Bonjour\r\n\r\nAu revoir"},
    };
    for (const Case& c : cases) {
        fs::remove(work / "out.txt");
        Result r = Fill(kTokens, c.tpl);
        EXPECT_EQ(r.code, 0) << c.what;
        EXPECT_EQ(r.out, kMappings + kInserting) << c.what;
        EXPECT_EQ(Output(), c.output) << c.what;
    }
}

TEST_F(VornelTest, MissingTokenStopsWithoutTouchingTheOutput) {
    struct Case {
        const char* what;
        std::string tpl;
        std::string key;
    } cases[] = {
        {"unknown name", "Hi ####HELLO#### and ####NOPE#### and ####ALSO_NOPE####", "####NOPE####"},
        {"unknown name first", "####NOPE####", "####NOPE####"},
        {"marker never closed", "Hi ####HELLO", "########"},
    };
    for (const Case& c : cases) {
        WriteBytes(work / "out.txt", "previous output");
        Result r = Fill(kTokens, c.tpl);
        EXPECT_EQ(r.code, 7) << c.what;
        EXPECT_EQ(r.out, kMappings + kInserting + "Vornel: Couldn't find token " + c.key + " in the map.\n")
            << c.what;
        EXPECT_EQ(Output(), "previous output") << c.what;
        EXPECT_FALSE(fs::exists(work / "out.txt.~tmp"));
    }
}

TEST_F(VornelTest, TokenMissingFromTheForeignSection) {
    const std::string tokens = kTokens +
                               "token=####NEW####\n"
                               "english=####New text####\n";
    Result r = Fill(tokens, "####NEW####");
    EXPECT_EQ(r.code, 7);
    EXPECT_EQ(r.out,
              "mapping:####HELLO#### to Bonjour\n"
              "mapping:####BYE#### to Au revoir\n"
              "Vornel: Warning the token \"####NEW####\" has no foreign=#### text - in tokens.txt\n"
              "mapping:####HELLO#### to Hello\n"
              "mapping:####BYE#### to Goodbye\n"
              "mapping:####NEW#### to New text\n"
              "Vornel: Warning the number of english strings(3) != the number of foreign strings(2)"
              " - in tokens.txt\n" +
                  kInserting + "Vornel: Couldn't find token ####NEW#### in the map.\n");
    EXPECT_EQ(Output(), std::nullopt);
}

TEST_F(VornelTest, TokenMissingFromTheEnglishSection) {
    const std::string tokens = kTokens +
                               "token=####EXTRA####\n"
                               "foreign=####En plus####";  // and no final line end
    Result r = Fill(tokens, "####EXTRA####");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "mapping:####HELLO#### to Bonjour\n"
              "mapping:####BYE#### to Au revoir\n"
              "mapping:####EXTRA#### to En plus\n"
              "mapping:####HELLO#### to Hello\n"
              "mapping:####BYE#### to Goodbye\n"
              "Vornel: Warning the token \"####EXTRA####\" has no english=#### text - in tokens.txt\n"
              "Vornel: Warning the number of english strings(2) != the number of foreign strings(3)"
              " - in tokens.txt\n"
              "Vornel: Warning the token \"####EXTRA####\" exists in the foreign translation map, but not in the"
              " english translation map - in tokens.txt\n" +
                  kInserting);
    EXPECT_EQ(Output(), "En plus");
}

// An entry without its own foreign text takes the next entry's, which
// swallows that entry; the warning tells the translator.
TEST_F(VornelTest, EntryWithoutItsOwnSection) {
    const std::string tokens =
        "token=####A####\n"
        "english=####Apple####\n"
        "token=####B####\n"
        "english=####Bread####\n"
        "foreign=####Pain####\n";
    Result r = Fill(tokens, "[####A####]");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "Vornel: Warning the token \"####A####\" has no foreign=#### text of its own, the next token's text"
              " is used - in tokens.txt\n"
              "mapping:####A#### to Pain\n"
              "mapping:####A#### to Apple\n"
              "mapping:####B#### to Bread\n"
              "Vornel: Warning the number of english strings(2) != the number of foreign strings(1)"
              " - in tokens.txt\n" +
                  std::string(kInserting));
    EXPECT_EQ(Output(), "[Pain]");
}

TEST_F(VornelTest, UntranslatedTextsAndRepeatedNames) {
    const std::string tokens =
        "token=####OK####english=####OK####foreign=####OK####\n"
        "token=####X####english=####One####foreign=####Un####\n"
        "token=####X####english=####Two####foreign=####Deux####\n";
    Result r = Fill(tokens, "####OK#### ####X####");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "mapping:####OK#### to OK\n"
              "mapping:####X#### to Un\n"
              "mapping:####X#### to Deux\n"
              "mapping:####OK#### to OK\n"
              "mapping:####X#### to One\n"
              "mapping:####X#### to Two\n"
              "Vornel: Warning the token \"####OK####\" is untranslated as \"OK\" - in tokens.txt\n" +
                  kInserting);
    EXPECT_EQ(Output(), "OK Deux");
}

TEST_F(VornelTest, CrLfTokensFileReadsLikeLf) {
    std::string crlf;
    for (char c : kTokens) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf.resize(crlf.size() - 2);  // and no final line end
    Result r = Fill(crlf, "####HELLO####, ####BYE####\r\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, kMappings + kInserting);
    EXPECT_EQ(Output(), "Bonjour, Au revoir\r\n");
}

TEST_F(VornelTest, WrongArgumentCountsShowUsage) {
    const std::vector<std::vector<std::string>> argLists = {
        {}, {"tpl.txt"}, {"tpl.txt", "tokens.txt"}, {"tpl.txt", "tokens.txt", "out.txt", "extra"}};
    WriteBytes(work / "tokens.txt", kTokens);
    WriteBytes(work / "tpl.txt", "####HELLO####");
    for (const auto& args : argLists) {
        Result r = Run(args);
        EXPECT_EQ(r.code, 1) << args.size();
        EXPECT_EQ(r.out, "\nUsage: Vornel RAW_TEMPLATE_FILE  TOKENS_FILE  OUTPUT_FILE\n") << args.size();
        EXPECT_FALSE(fs::exists(work / "out.txt"));
        EXPECT_FALSE(fs::exists(work / "extra"));
    }
}

TEST_F(VornelTest, UnreadableInputs) {
    struct Case {
        const char* what;
        bool tokensAsFolder, tokensMissing, tplAsFolder, tplMissing;
        int code;
        std::string out;
    } cases[] = {
        {"tokens missing", false, true, false, false, 2,
         "Vornel: Couldn't find file tokens.txt\nVornel: Error reading foreign Tokens\n"},
        {"tokens a folder", true, false, false, false, 2,
         "Vornel: Couldn't read tokens.txt, it is a folder\nVornel: Error reading foreign Tokens\n"},
        {"template missing", false, false, false, true, 5,
         kMappings + "Vornel: Couldn't find file tpl.txt\nVornel: Error reading Template\n"},
        {"template a folder", false, false, true, false, 5,
         kMappings + "Vornel: Couldn't read tpl.txt, it is a folder\nVornel: Error reading Template\n"},
    };
    for (const Case& c : cases) {
        fs::remove_all(work);
        fs::create_directory(work);
        if (c.tokensAsFolder) fs::create_directory(work / "tokens.txt");
        else if (!c.tokensMissing) WriteBytes(work / "tokens.txt", kTokens);
        if (c.tplAsFolder) fs::create_directory(work / "tpl.txt");
        else if (!c.tplMissing) WriteBytes(work / "tpl.txt", "####HELLO####");
        Result r = Run({"tpl.txt", "tokens.txt", "out.txt"});
        EXPECT_EQ(r.code, c.code) << c.what;
        EXPECT_EQ(r.out, c.out) << c.what;
        EXPECT_FALSE(fs::exists(work / "out.txt")) << c.what;
    }
}

TEST_F(VornelTest, InputNamesIgnoreLetterCase) {
    WriteBytes(work / "Tokens.TXT", kTokens);
    WriteBytes(work / "TPL.txt", "####HELLO####");
    Result r = Run({"tpl.txt", "tokens.txt", "out.txt"});
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(Output(), "Bonjour");
}

TEST_F(VornelTest, UnwritableOutputKeepsWhatWasThere) {
    const std::string head = kMappings + kInserting;
    const std::string fail = "Vornel: Error writing output file out.txt\n";

    // Read-only, as Windows refuses it even to an administrator.
    WriteBytes(work / "out.txt", "read-only output");
    fs::permissions(work / "out.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Result r = Fill(kTokens, "####HELLO####");
    EXPECT_EQ(r.code, 6);
    EXPECT_EQ(r.out, head + "Vornel: Couldn't write out.txt, it is read-only\n" + fail);
    EXPECT_EQ(Output(), "read-only output");
    fs::remove(work / "out.txt");

    fs::create_directories(work / "out.txt" / "inside");
    r = Fill(kTokens, "####HELLO####");
    EXPECT_EQ(r.code, 6);
    EXPECT_EQ(r.out, head + "Vornel: Couldn't write out.txt, it is a folder\n" + fail);
    EXPECT_TRUE(fs::exists(work / "out.txt" / "inside"));
    fs::remove_all(work / "out.txt");

    // A folder that does not exist: nothing can be created at all.
    r = Run({"tpl.txt", "tokens.txt", "missing/out.txt"});
    EXPECT_EQ(r.code, 6);
    EXPECT_EQ(r.out, kMappings +
                         "Vornel: Inserting tokens.txt into tpl.txt.  Creating missing/out.txt.\n"
                         "Vornel: cannot save \"missing/out.txt\": creating \"missing/out.txt.~tmp\" failed:"
                         " No such file or directory\n"
                         "Vornel: Error writing output file missing/out.txt\n");
    EXPECT_FALSE(fs::exists(work / "missing"));
}

}  // namespace
