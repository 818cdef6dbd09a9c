#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

TEST(TextFileTest, ConversionTable) {
  struct Case {
    const char* bytes;
    const char* text;
  } reads[] = {
      {"a\r\nb\r\n", "a\nb\n"},
      {"a\nb", "a\nb"},
      {"a\rb", "a\rb"},      // a lone CR is data
      {"a\r\r\n", "a\r\n"},  // only the CR right before LF goes
      {"", ""},
  };
  for (const Case& c : reads) EXPECT_EQ(platform::FromTextMode(c.bytes), c.text) << c.bytes;
  EXPECT_EQ(platform::ToTextMode("a\nb\n", platform::LineEnd::kCrLf), "a\r\nb\r\n");
  EXPECT_EQ(platform::ToTextMode("a\r\nb", platform::LineEnd::kCrLf), "a\r\nb");
  EXPECT_EQ(platform::ToTextMode("a\nb\n", platform::LineEnd::kLf), "a\nb\n");
}

TEST(TextFileTest, ReadsLinesWithEitherEnding) {
  TempFolder t;
  std::string bytes = "first\r\nsecond\nthird\r\n\r\nlast";
  bytes += std::string(40000, 'x') + "\r\nend";  // a line across read chunks
  t.Write("Tuning.txt", bytes);
  platform::TextFileReader reader;
  ASSERT_TRUE(reader.Open(t / "TUNING.TXT"));
  std::string line;
  std::vector<std::string> lines;
  while (reader.ReadLine(line)) lines.push_back(line);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], "second");
  EXPECT_EQ(lines[2], "third");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "last" + std::string(40000, 'x'));
  EXPECT_EQ(lines[5], "end");
  EXPECT_FALSE(reader.Open(t / "missing.txt"));
}

TEST(TextFileTest, WritesTheChosenLineEnd) {
  TempFolder t;
  ASSERT_TRUE(platform::WriteTextFile(t / "crlf.txt", "a\nb\n", platform::LineEnd::kCrLf));
  EXPECT_EQ(t.Read("crlf.txt"), "a\r\nb\r\n");
  ASSERT_TRUE(platform::WriteTextFile(t / "lf.txt", "a\nb\n", platform::LineEnd::kLf));
  EXPECT_EQ(t.Read("lf.txt"), "a\nb\n");
  EXPECT_EQ(platform::ReadTextFile(t / "CRLF.TXT"), std::optional<std::string>("a\nb\n"));

  platform::TextFileWriter writer;
  ASSERT_TRUE(writer.Open(t / "log.txt", platform::LineEnd::kCrLf));
  EXPECT_TRUE(writer.Write("one\r"));  // CR and LF split across writes: no doubled CR
  EXPECT_TRUE(writer.Write("\n"));
  EXPECT_TRUE(writer.WriteLine("two"));
  writer.Close();
  ASSERT_TRUE(writer.Open(t / "log.txt", platform::LineEnd::kCrLf, true));
  EXPECT_TRUE(writer.WriteLine("three"));
  writer.Close();
  EXPECT_EQ(t.Read("log.txt"), "one\r\ntwo\r\nthree\r\n");
  EXPECT_FALSE(platform::ReadTextFile(t / "missing").has_value());
}

}  // namespace
