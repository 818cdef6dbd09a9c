#include "gamedata/StringScanner.h"

#include <gtest/gtest.h>

namespace tova {
namespace {

int LineAfterAll(const char* text) {
  StringScanner s(text);
  while (s.GetChar() != 0) {
  }
  return s.GetLine();
}

TEST(StringScanner, CountsCarriageReturnLinesOnly) {
  EXPECT_EQ(LineAfterAll("a\r\nb\r\nc"), 2);
  EXPECT_EQ(LineAfterAll("a\rb\rc\r"), 3);
  EXPECT_EQ(LineAfterAll("a\nb\nc\n"), 0);  // line feeds alone are not counted
}

TEST(StringScanner, StopsAtTheEndAndStaysThere) {
  StringScanner s("ab");
  EXPECT_EQ(s.GetChar(), 'a');
  EXPECT_EQ(s.GetChar(), 'b');
  EXPECT_EQ(s.GetChar(), 0);
  EXPECT_EQ(s.GetChar(), 0);
}

}  // namespace
}  // namespace tova
