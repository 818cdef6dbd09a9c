#include "gamedata/KeyValueList.h"

#include <gtest/gtest.h>

namespace tova {
namespace {

KeyValueList ParseText(const char* text) {
  KeyValueList list;
  StringScanner s(text);
  EXPECT_EQ(list.Parse(s), 1);
  return list;
}

TEST(KeyValueList, KeysAndValuesFoldedOutsideQuotes) {
  KeyValueList l = ParseText("Width = 12\r\nLabel=\"Open File\" Flag");
  ASSERT_EQ(l.GetCount(), 3);
  ASSERT_TRUE(l.SetCurrent(0));
  EXPECT_EQ(l.GetKey(), "width");
  EXPECT_EQ(l.GetValue(), "12");
  EXPECT_STREQ(l.FindValue("label"), "Open File");
  ASSERT_TRUE(l.SetCurrent(1));
  EXPECT_EQ(l.GetLine(), 1);
  ASSERT_TRUE(l.SetCurrent(2));
  EXPECT_EQ(l.GetKey(), "flag");
  EXPECT_EQ(l.GetValue(), "");
  EXPECT_EQ(l.FindValue("Label"), nullptr);  // keys compare byte for byte
}

TEST(KeyValueList, TwoKeysWithoutEqualsAreTwoItems) {
  KeyValueList l = ParseText("alpha beta");
  ASSERT_EQ(l.GetCount(), 2);
  EXPECT_EQ(l.Items()[0].key, "alpha");
  EXPECT_EQ(l.Items()[1].key, "beta");
}

TEST(KeyValueList, ReparseReusesItemsAndFreeEmpties) {
  KeyValueList l;
  StringScanner a("a=1 b=2 c=3");
  l.Parse(a);
  EXPECT_EQ(l.GetCount(), 3);
  StringScanner b("x=\xD2q r\xD3");
  l.Parse(b);
  ASSERT_EQ(l.GetCount(), 1);
  EXPECT_STREQ(l.FindValue("x"), "q r");
  l.Clear();
  EXPECT_EQ(l.Items()[0].line, -1);
  l.Free();
  EXPECT_EQ(l.GetCount(), 0);
  EXPECT_EQ(l.GetKey(), "");
}

}  // namespace
}  // namespace tova
