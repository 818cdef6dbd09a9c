// The content compiler and the dump tool, run as programs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "resfile/IFFResFile2.h"
#include "resfile/StringSet.h"
#include "support/ScratchDir.h"

using tova_test::ReadBytes;
using tova_test::ScratchDir;
using tova_test::WriteBytes;

namespace {

struct Result {
  int code = -1;
  std::string out;
};

Result RunTool(const ScratchDir& dir, const std::string& program, const std::vector<std::string>& args) {
  auto quote = [](const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
  };
  std::string command = quote(std::string(TOVA_BIN_DIR) + "/" + program);
  for (const std::string& a : args) command += " " + quote(a);
  command += " > " + quote((dir / "stdout").string()) + " 2>&1; echo $? > " + quote((dir / "code").string());
  EXPECT_EQ(std::system(command.c_str()), 0);
  return Result{std::atoi(ReadBytes(dir / "code").c_str()), ReadBytes(dir / "stdout")};
}

}  // namespace

TEST(ContentTools, CompilesRawResourcesAndTablesInTheirCodePages) {
  ScratchDir dir;
  WriteBytes(dir / "a.res",
             "# test content\n"
             "file GameData/Test.iff\n"
             "raw 'OB J' 130 \"bytes\"\n"
             "  4f424a44 00\n"
             "  ff\n"
             "end\n"
             "strings 200 \"Greetings\"\n"
             "  \"Hello\" \"said first\"\n"
             "  language 3\n"
             "  \"Ça va\"\n"
             "end\n");
  WriteBytes(dir / "b.res", "file GameData/Test.iff\nraw BCON 4096\nend\n");
  std::string root = (dir / "data").string();
  Result r = RunTool(dir, "contentc", {"--out", root, (dir / "a.res").string(), (dir / "b.res").string()});
  ASSERT_EQ(r.code, 0) << r.out;

  IFFResFile2 f;
  ASSERT_EQ(f.Open(root + "/GameData/Test.iff"), 0);
  EXPECT_TRUE(f.OpenedByMap());
  MemHandle raw = f.GetNamedResource(TypeCode("OB J"), "bytes", nullptr);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(GetMemHandleData(raw)), 6), std::string("OBJD\0\xff", 6));
  EXPECT_EQ(GetMemHandleSize(f.GetResource(TypeCode("BCON"), 4096, nullptr)), 0);
  StringSet set;
  set.SetSource(&f, 200, TypeCode("STR#"), false, 2);
  ASSERT_EQ(set.Load(false, false), 0);
  EXPECT_STREQ(set.GetString(1), "\xC7" "a va");  // cp1252
  EXPECT_EQ(set.GetName(), "Greetings");
  set.SetSource(&f, 200, TypeCode("STR#"), false, 0);
  ASSERT_EQ(set.Load(false, false), 0);
  EXPECT_STREQ(set.GetComment(1), "said first");
  f.Close();

  Result dump = RunTool(dir, "iffdump", {root + "/GameData/Test.iff"});
  EXPECT_EQ(dump.code, 0);
  EXPECT_NE(dump.out.find("IFF 2.5, map used, 3 resources"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find("'STR#'    200"), std::string::npos) << dump.out;
  EXPECT_NE(dump.out.find("Greetings"), std::string::npos);
}

TEST(ContentTools, ErrorsNameTheLine) {
  ScratchDir dir;
  struct Case { std::string source, message; } cases[] = {
      {"file x.iff\nraw OBJD 1\n zz\nend\n", ":3: not a hex byte"},
      {"raw OBJD 1\nend\n", ":1: a resource before any file statement"},
      {"file x.iff\nstrings 1\n\"open\n", ":3: unterminated quoted text"},
      {"file x.iff\nstrings 1\n\"a\"\n", ":4: missing end"},
      {"file x.iff\nstrings 70000\nend\n", ":2: expected a resource id"},
      {"file x.iff\nstrings 1\nlanguage 21\nend\n", ":3: language takes an id"},
      {"file x.iff\nraw OBJD 1\nend\nraw OBJD 1\nend\n", ":4: 'OBJD' 1 is defined twice"},
      {"file x.iff\nstrings 1\nlanguage 13\n\"\xE4\xB8\xAD\"\nend\n", "no exact form in code page 1251"},
  };
  for (const Case& c : cases) {
    WriteBytes(dir / "bad.res", c.source);
    Result r = RunTool(dir, "contentc", {"--out", (dir / "out").string(), (dir / "bad.res").string()});
    EXPECT_EQ(r.code, 1) << c.source;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  }
  Result dump = RunTool(dir, "iffdump", {(dir / "bad.res").string()});
  EXPECT_EQ(dump.code, 1);
  EXPECT_NE(dump.out.find("cannot open as a resource file (status -48)"), std::string::npos) << dump.out;
}

TEST(ContentTools, LinesOfOtherWhiteSpaceAreBlank) {
  ScratchDir dir;
  WriteBytes(dir / "a.res", "file x.iff\n\f\n \v \nraw ABCD 1\n\f\nend\n");
  Result r = RunTool(dir, "contentc", {"--out", (dir / "data").string(), (dir / "a.res").string()});
  EXPECT_EQ(r.code, 0) << r.out;
}

TEST(ContentTools, ResourceIdsReadLikeEveryOtherNumber) {
  ScratchDir dir;
  WriteBytes(dir / "a.res", "file x.iff\nraw ABCD 010\nend\nraw ABCD 0x20\nend\nstrings -012\n  \"x\"\nend\n");
  std::string root = (dir / "data").string();
  Result r = RunTool(dir, "contentc", {"--out", root, (dir / "a.res").string()});
  ASSERT_EQ(r.code, 0) << r.out;
  IFFResFile2 f;
  ASSERT_EQ(f.Open(root + "/x.iff"), 0);
  EXPECT_NE(f.GetResource(TypeCode("ABCD"), 10, nullptr), nullptr);  // a leading zero is not octal
  EXPECT_EQ(f.GetResource(TypeCode("ABCD"), 8, nullptr), nullptr);
  EXPECT_NE(f.GetResource(TypeCode("ABCD"), 32, nullptr), nullptr);
  EXPECT_NE(f.GetResource(TypeCode("STR#"), -12, nullptr), nullptr);
  f.Close();
  WriteBytes(dir / "b.res", "file y.iff\nraw ABCD --1\nend\n");
  EXPECT_EQ(RunTool(dir, "contentc", {"--out", root, (dir / "b.res").string()}).code, 1);
}

TEST(ContentTools, OutputsStayInsideTheRootAndApart) {
  struct Case {
    std::vector<std::string> sources;
    std::string message;
  } cases[] = {
      {{"file /tmp/abs.iff\n"}, "must lie inside the data root"},
      {{"file ../x.iff\n"}, "must lie inside the data root"},
      {{"file GameData/../../x.iff\n"}, "must lie inside the data root"},
      {{"file GameData\\..\\..\\x.iff\n"}, "must lie inside the data root"},
      {{"file C:\\x.iff\n"}, "must lie inside the data root"},
      {{"file x.iff\n", "file X.IFF\n"}, "the same file as x.iff once letter case is ignored"},
      {{"file GameData/a.iff\n", "file gamedata\\A.iff\n"}, "the same file as GameData/a.iff"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    std::vector<std::string> args = {"--out", (dir / "data/root").string()};
    // A good file first: nothing at all is written when any name is refused.
    WriteBytes(dir / "good.res", "file good.iff\nraw ABCD 1\nend\n");
    args.push_back((dir / "good.res").string());
    for (size_t i = 0; i < c.sources.size(); ++i) {
      const std::string name = "s" + std::to_string(i) + ".res";
      WriteBytes(dir / name, c.sources[i] + "raw ABCD 1\nend\n");
      args.push_back((dir / name).string());
    }
    Result r = RunTool(dir, "contentc", args);
    EXPECT_EQ(r.code, 1) << c.sources[0];
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "data")) << c.sources[0];
    EXPECT_FALSE(std::filesystem::exists(dir / "x.iff"));
  }
}

TEST(ContentTools, AFailedWriteLeavesNoTemporaryFile) {
  ScratchDir dir;
  const std::string root = (dir / "out").string();
  const std::string bad[] = {"file x.iff\nstrings 1\nlanguage 13\n\"\xE4\xB8\xAD\"\nend\n",
                             "file x.iff\nraw OBJD 1\nend\nraw OBJD 1\nend\n"};
  for (const std::string& source : bad) {
    WriteBytes(dir / "bad.res", source);
    Result r = RunTool(dir, "contentc", {"--out", root, (dir / "bad.res").string()});
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "out/x.iff.tmp")) << source;
    EXPECT_FALSE(std::filesystem::exists(dir / "out/x.iff")) << source;
  }
}
