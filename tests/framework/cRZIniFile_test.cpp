#include "framework/cRZIniFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

TEST(cRZIniFileTest, ReadsWithPrivateProfileRules) {
  TempFolder t;
  const std::string longValue(1500, 'v');
  t.Write("Game.ini",
          "[Options]\r\n  Sound = On \r\nsound=second\r\nQuoted=\"a b\"\r\n\r\n[Empty]\r\n[Long]\r\nvalue=" + longValue +
              "\r\n[options]\r\nLate=1\r\nMarker=NOT FOUND\r\n");
  cRZIniFile ini(cRZString(t / "GAME.INI"));
  cRZString value;
  EXPECT_TRUE(ini.ReadString("OPTIONS", "sound", value));
  EXPECT_EQ(value, "On");  // trimmed, and the first match wins
  EXPECT_TRUE(ini.ReadString("Options", "Quoted", value));
  EXPECT_EQ(value, "a b");
  EXPECT_TRUE(ini.ReadString("long", "VALUE", value));
  EXPECT_EQ(value, longValue);  // longer than 1,023 bytes, whole
  EXPECT_FALSE(ini.ReadString("Options", "Late", value));  // only the first [options] is read
  EXPECT_EQ(value, "");
  EXPECT_FALSE(ini.ReadString("Options", "Missing", value));
  EXPECT_FALSE(ini.ReadString("Nowhere", "x", value));
  cRZIniFile missing(cRZString(t / "none.ini"));
  EXPECT_FALSE(missing.ReadString("a", "b", value));
}

TEST(cRZIniFileTest, WritesCreateReplaceAndDelete) {
  TempFolder t;
  cRZIniFile ini(cRZString(t / "w.ini"));
  EXPECT_FALSE(ini.WriteString("", "k", "v"));
  EXPECT_FALSE(ini.WriteString("s", "", "v"));
  ASSERT_TRUE(ini.WriteString("Video", "Width", "800"));
  ASSERT_TRUE(ini.WriteString("Video", "Height", "600"));
  ASSERT_TRUE(ini.WriteString("Audio", "Volume", "7"));
  ASSERT_TRUE(ini.WriteString("VIDEO", "width", "1024"));
  EXPECT_EQ(t.Read("w.ini"), "[Video]\r\nwidth=1024\r\nHeight=600\r\n\r\n[Audio]\r\nVolume=7\r\n");
  ASSERT_TRUE(ini.WriteString("video", "HEIGHT", ""));  // an empty value deletes the key
  cRZString value;
  EXPECT_FALSE(ini.ReadString("Video", "Height", value));
  EXPECT_TRUE(ini.ReadString("Video", "Width", value));
  EXPECT_EQ(value, "1024");
}

TEST(cRZIniFileTest, EnumeratesKeysAndSections) {
  TempFolder t;
  t.Write("e.ini", "[A]\nx=1\ny=2\nX=9\n[Empty]\n[B]\nz=3\n");
  cRZIniFile ini(cRZString(t / "e.ini"));
  std::vector<std::string> seen;
  EXPECT_TRUE(ini.ForEachKey("a", [&](const cRZString& k, const cRZString& v, void*) { seen.push_back(k + "=" + v); },
                             nullptr));
  EXPECT_EQ(seen, (std::vector<std::string>{"x=1", "y=2", "X=1"}));  // a repeated key reads as its first
  EXPECT_FALSE(ini.ForEachKey("Empty", nullptr, nullptr));
  seen.clear();
  int tag = 5;
  EXPECT_TRUE(ini.ForEachSection(
      [&](const cRZString& s, const cRZString& k, const cRZString& v, void* user) {
        EXPECT_EQ(user, &tag);
        seen.push_back(s + ":" + k + "=" + v);
      },
      &tag));
  EXPECT_EQ(seen, (std::vector<std::string>{"A:x=1", "A:y=2", "A:X=1", "Empty:=", "B:z=3"}));
}

}  // namespace
