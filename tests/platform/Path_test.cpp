#include "platform/Path.h"

#include <gtest/gtest.h>

namespace {

TEST(PathTest, WildcardTable) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.*", "readme", true},          // "*.*" is everything, also without a dot
      {"*.*", "a.b.c", true},
      {"*", "anything.iff", true},
      {"*.iff", "chair.IFF", true},     // case-insensitive
      {"*.IFF", "chair.iff", true},
      {"*.iff", "chair.iffx", false},
      {"*.iff", "chair.if", false},
      {"ch?ir.iff", "chAir.iff", true},
      {"ch?ir.iff", "chir.iff", false}, // '?' is exactly one character
      {"#*#chair.iff", "#12#Chair.IFF", true},
      {"#*#chair.iff", "#12#table.iff", false},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"*a", "banana", true},
      {"", "", true},
      {"", "x", false},
      {"x", "", false},
      {"**", "", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
  }
}

TEST(PathTest, SplitsOnBothSeparators) {
  bool absolute = true;
  EXPECT_EQ(platform::SplitPathParts("GameData\\Objects/chair.iff", &absolute),
            (std::vector<std::string>{"GameData", "Objects", "chair.iff"}));
  EXPECT_FALSE(absolute);
  EXPECT_EQ(platform::SplitPathParts("\\a\\\\b\\", &absolute), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(absolute);
  EXPECT_EQ(platform::ToNativeSeparators("a\\b/c"), "a/b/c");
}

TEST(PathTest, ParentAndLastPart) {
  EXPECT_EQ(platform::ParentOf("a\\b\\c.iff"), "a\\b");
  EXPECT_EQ(platform::LastPartOf("a\\b\\c.iff"), "c.iff");
  EXPECT_EQ(platform::ParentOf("c.iff"), "");
  EXPECT_EQ(platform::ParentOf("/c.iff"), "/");
  EXPECT_EQ(platform::LastPartOf("dir/"), "");
}

TEST(PathTest, AbsolutePathFoldsDots) {
  EXPECT_EQ(platform::AbsolutePath("/a/./b/../c"), "/a/c");
  EXPECT_EQ(platform::AbsolutePath("\\x\\y"), "/x/y");
  EXPECT_EQ(platform::AbsolutePath("/.."), "/");
  EXPECT_EQ(platform::AbsolutePath("rel").front(), '/');
}

TEST(PathTest, CaseHelpers) {
  EXPECT_TRUE(platform::EqualsNoCase("GameData", "gAMEdATA"));
  EXPECT_FALSE(platform::EqualsNoCase("Game", "Games"));
  EXPECT_LT(platform::CompareNoCase("apple", "BANANA"), 0);
  EXPECT_EQ(platform::CompareNoCase("ABC", "abc"), 0);
  EXPECT_EQ(platform::ToLowerAscii("ChAiR.IFF\xC4"), "chair.iff\xC4");  // bytes above 0x7F untouched
}

}  // namespace
