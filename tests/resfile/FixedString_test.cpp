#include "resfile/FixedString.h"

#include <gtest/gtest.h>

#include <sstream>

#include "resfile/PathHelpers.h"

namespace {

TEST(FixedStringTest, TruncatesAndKeepsTheTerminator) {
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  FixedString s(buffer, 4);
  EXPECT_EQ(s.Length(), 0);
  s.Assign("abcdef");
  EXPECT_STREQ(s.c_str(), "abc");
  EXPECT_EQ(buffer[3], '\0');
  EXPECT_EQ(buffer[4], 'x');  // nothing past the capacity is touched
  EXPECT_EQ(s.Append("z"), 0);
  EXPECT_STREQ(s.c_str(), "abc");
}

TEST(FixedStringTest, AppendLengthRules) {
  FixedStringBuffer<16> s;
  EXPECT_EQ(s.Append("xyz", 2), 2);
  EXPECT_STREQ(s.c_str(), "xy");
  EXPECT_EQ(s.Append("x", 5), 1);  // stops at the source's terminator
  EXPECT_EQ(s.Append(nullptr), 0);
  EXPECT_EQ(s.Append("abc", 0), 0);
  EXPECT_STREQ(s.c_str(), "xyx");
  s.AppendChar('!');
  s.AppendInt(-42);
  EXPECT_STREQ(s.c_str(), "xyx!-42");
  FixedStringBuffer<8> t("0123456789");
  EXPECT_EQ(t.AppendString(s), 0);
  EXPECT_STREQ(t.c_str(), "0123456");
}

TEST(FixedStringTest, Comparisons) {
  FixedStringBuffer<16> s("abcd");
  EXPECT_EQ(s.CompareNoCaseN("ABC", 2), 2);  // own length 4 - 2
  EXPECT_EQ(s.CompareNoCaseN("ABCD", 4), 0);
  EXPECT_LT(s.CompareNoCaseN("ABD", 3), 0);
  EXPECT_EQ(s.CompareNoCase(FixedStringBuffer<8>("ABCD")), 0);
  EXPECT_GT(s.Compare(FixedStringBuffer<8>("ABCD")), 0);
  EXPECT_EQ(s.Compare(FixedStringBuffer<8>("abcd")), 0);
}

TEST(FixedStringTest, CharAtToLowerAndPaddedNumbers) {
  FixedStringBuffer<32> s("AbC");
  EXPECT_EQ(s.CharAt(-1), 0);
  EXPECT_EQ(s.CharAt(3), 0);
  EXPECT_EQ(s.CharAt(1), 'b');
  EXPECT_EQ(s.ToLower(), 3);
  EXPECT_STREQ(s.c_str(), "abc");
  s.Clear();
  s.AppendIntPadded(7, 3);
  s.AppendChar(' ');
  s.AppendIntPadded(-7, 3);
  EXPECT_STREQ(s.c_str(), "007 -07");
  FixedStringBuffer<64> wide;
  wide.AppendIntPadded(1, 1000);  // the number is limited to 31 bytes
  EXPECT_EQ(wide.Length(), 31);
}

TEST(FixedStringTest, Find) {
  FixedStringBuffer<16> s("abcb");
  EXPECT_EQ(s.Find("b", 2), 3);
  EXPECT_EQ(s.Find("", 0), 0);
  EXPECT_EQ(s.Find("b", 5), -1);
  EXPECT_EQ(s.Find("cbx", 0), -1);
  EXPECT_EQ(s.FindNoCase("CB", 0), 2);
  EXPECT_EQ(s.Find("CB", 0), -1);
}

TEST(FixedStringTest, NamedRecordTextForm) {
  NamedRecord r;
  r.name.Assign("Sit");
  r.first = 12;
  r.second = -3;
  std::stringstream text;
  r.WriteText(text);
  EXPECT_EQ(text.str(), "Sit\n12\n-3\n");
  NamedRecord back;
  ASSERT_TRUE(back.ReadText(text));
  EXPECT_STREQ(back.name.c_str(), "Sit");
  EXPECT_EQ(back.first, 12);
  EXPECT_EQ(back.second, -3);
  std::stringstream longName(std::string(300, 'n') + " 1 2");
  ASSERT_TRUE(back.ReadText(longName));
  EXPECT_EQ(back.name.Length(), 63);
  EXPECT_EQ(back.second, 2);
}

TEST(PathHelpersTest, SplitTable) {
  struct Case {
    const char* path;
    const char* dir;
    const char* base;
    const char* ext;
  } cases[] = {
      {"C:\\data\\obj.a.iff", "C:\\data\\", "obj", ".a.iff"},
      {"name", "", "name", ""},
      {"a/b\\c.iff", "a/b\\", "c", ".iff"},
      {"dir.x/file", "dir.x/", "file", ""},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    FixedPath dir, base, ext, name, stem, ext2, dir2;
    SplitPath(c.path, &dir, &base, &ext);
    EXPECT_STREQ(dir.c_str(), c.dir) << c.path;
    EXPECT_STREQ(base.c_str(), c.base) << c.path;
    EXPECT_STREQ(ext.c_str(), c.ext) << c.path;
    GetFileNameOfPath(c.path, name);
    EXPECT_EQ(std::string(name.c_str()), std::string(c.base) + c.ext);
    GetDirectoryOfPath(c.path, dir2);
    EXPECT_STREQ(dir2.c_str(), c.dir);
    SplitExtension(c.path, stem, ext2);
    EXPECT_EQ(std::string(stem.c_str()), std::string(c.dir) + c.base);
    EXPECT_STREQ(ext2.c_str(), c.ext);
  }
}

}  // namespace
