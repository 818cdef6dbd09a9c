#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resfile/MemResFile.h"
#include "resfile/ResUtil.h"
#include "resfile/StringSet.h"

namespace {

constexpr ResType kSTR = TypeCode("STR#");

// Sets the current language for one test and restores English after it.
struct LanguageScope {
  explicit LanguageScope(int id) { SetCurrentLanguageId(id); }
  ~LanguageScope() { SetCurrentLanguageId(1); }
};

struct Block {
  std::vector<uint8_t> bytes;
  Block& Word(int v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  Block& Byte(int v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Block& Text(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.push_back(0);
    return *this;
  }
  Block& Pascal(const std::string& s) {
    bytes.push_back(static_cast<uint8_t>(s.size()));
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  void Store(MemResFile& file, ResId id, ResType type = kSTR, uint16_t flags = kResFlagNative) {
    file.AddStored(type, id, bytes.data(), static_cast<int32_t>(bytes.size()), "table", flags);
  }
};

std::vector<std::string> Texts(const StringSet& set, int language) {
  std::vector<std::string> out;
  for (int i = 1; i <= set.GetCount(language); ++i) out.emplace_back(set.GetString(i, language));
  return out;
}

}  // namespace

TEST(StringSet, LengthPrefixedTableGoesToCurrentAndDefaultSlots) {
  LanguageScope french(3);
  MemResFile file;
  Block().Word(3).Pascal("one").Pascal("tw\xA1").Pascal("it\xD5s").Store(file, 128);
  StringSet set;
  set.SetSource(&file, 128, kSTR, false, kLanguageCurrent);
  ASSERT_EQ(set.Load(false, true), 0);
  const std::vector<std::string> expected = {"one", "two", "it's"};
  EXPECT_EQ(Texts(set, 2), expected);
  EXPECT_EQ(Texts(set, 0), expected);
  EXPECT_EQ(set.GetCount(1), 0);
  EXPECT_EQ(set.GetName(), "table");
}

TEST(StringSet, NegativeLayoutsWithCommentsAndSwappedCounts) {
  MemResFile file;
  Block().Word(-1).Word(2).Text("a").Text("b").Store(file, 1);
  Block().Word(-2).Word(1).Text("yes").Text("answer").Store(file, 2);
  // Stored by a big-endian writer: the layout word and count are reversed.
  Block().Byte(0xFF).Byte(0xFF).Byte(0).Byte(2).Text("x").Text("y").Store(file, 3, kSTR, 0);
  StringSet set;
  ASSERT_EQ(set.LoadFromFile(&file, 1, false), 0);
  EXPECT_EQ(Texts(set, -1), (std::vector<std::string>{"a", "b"}));
  ASSERT_EQ(set.LoadFromFile(&file, 2, false), 0);
  EXPECT_STREQ(set.GetString(1), "yes");
  EXPECT_STREQ(set.GetComment(1), "answer");
  ASSERT_EQ(set.LoadFromFile(&file, 3, false), 0);
  EXPECT_EQ(Texts(set, -1), (std::vector<std::string>{"x", "y"}));
}

TEST(StringSet, RecordsOfOtherLanguagesFallBackToTheDefault) {
  LanguageScope italian(5);
  MemResFile file;
  Block().Word(-3).Word(3)
      .Byte(1).Text("hello").Text("")
      .Byte(1).Text("bye").Text("note")
      .Byte(2).Text("hullo").Text("")
      .Store(file, 10);
  StringSet set;
  set.SetSource(&file, 10, kSTR, false, kLanguageCurrent);
  ASSERT_EQ(set.Load(false, true), 0);
  EXPECT_EQ(Texts(set, 4), (std::vector<std::string>{"hello", "bye"}));
  EXPECT_STREQ(set.GetComment(2, 4), "note");
  EXPECT_EQ(set.GetCount(1), 0);

  StringSet all;
  all.SetSource(&file, 10, kSTR, false, 1);
  ASSERT_EQ(all.Load(true, false), 0);
  EXPECT_EQ(Texts(all, 1), (std::vector<std::string>{"hullo"}));
  EXPECT_EQ(Texts(all, 7), (std::vector<std::string>{"hello", "bye"}));
  EXPECT_EQ(all.GetOrigin(1, 7), 0);
}

TEST(StringSet, EntryNumbersOutOfRangeNeverFault) {
  StringSet set;
  set.SetString(1, "a");
  set.SetString(2, "b");
  EXPECT_EQ(set.GetString(0), nullptr);
  EXPECT_EQ(set.GetString(3), nullptr);
  set.SetString(4, "far");
  EXPECT_EQ(set.GetCount(), 2);
  set.InsertString(99, "end");
  set.InsertString(-3, "start");
  EXPECT_EQ(Texts(set, -1), (std::vector<std::string>{"start", "a", "b", "end"}));
  set.RemoveString(2);
  set.RemoveString(9);
  EXPECT_EQ(Texts(set, -1), (std::vector<std::string>{"start", "b", "end"}));
  set.SetComment(1, "c");
  set.SetComment(1, "");
  EXPECT_EQ(set.GetComment(1), nullptr);
  int slot = -1;
  EXPECT_STREQ(set.FindInAnyLanguage(3, &slot), "end");
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(set.FindInAnyLanguage(4), nullptr);
}

TEST(StringSet, SaveMergesLanguagesAndDropsCopiesOfTheDefault) {
  MemResFile file;
  StringSet english;
  english.SetSource(&file, 300, kSTR, false, 0);
  english.SetString(1, "cat");
  english.SetString(2, "dog");
  ASSERT_EQ(english.Save(), 0);

  StringSet german;
  german.SetSource(&file, 300, kSTR, false, 3);
  german.SetString(1, "Katze");
  german.SetComment(1, "animal");
  ASSERT_EQ(german.Save(), 0);

  // Slot 5 only holds copies of the default: it is not written.
  StringSet all;
  all.SetSource(&file, 300, kSTR, false, 0);
  ASSERT_EQ(all.Load(true, true), 0);
  all.SetSource(&file, 300, kSTR, false, 5);
  ASSERT_EQ(all.Save(), 0);

  std::vector<uint8_t> stored;
  ASSERT_TRUE(file.GetStored(kSTR, 300, stored));
  ASSERT_GE(stored.size(), 4u);
  EXPECT_EQ(static_cast<int16_t>(ReadU16LE(&stored[0])), -3);
  EXPECT_EQ(ReadU16LE(&stored[2]), 4);  // two english, two german (one padded)
  for (size_t i = 4; i < stored.size(); ++i) EXPECT_NE(stored[i], 6) << "a record of language 6";

  StringSet back;
  back.SetSource(&file, 300, kSTR, false, 3);
  ASSERT_EQ(back.Load(false, false), 0);
  EXPECT_EQ(Texts(back, 3), (std::vector<std::string>{"Katze", "dog"}));
  EXPECT_STREQ(back.GetComment(1, 3), "animal");
}

TEST(StringSet, CaretTextAndTheCaretFallback) {
  MemResFile file;
  std::string text = "^Yes^ ignored ^No^^unterminated";
  file.AddStored(kCaretTextType, 20, text.data(), static_cast<int32_t>(text.size()));
  StringSet set;
  ASSERT_EQ(set.LoadFromFile(&file, 20, false), 0);
  EXPECT_EQ(Texts(set, -1), (std::vector<std::string>{"Yes", "No"}));
  // Saving a caret set always writes a binary table.
  set.SetSource(&file, 20, kCaretTextType, true, 0);
  ASSERT_EQ(set.Save(), 0);
  EXPECT_EQ(set.GetResourceType(), kSTR);
}

TEST(StringSet, DamagedTablesKeepWhatIsWholeAndFail) {
  MemResFile file;
  Block().Word(5).Pascal("ok").Byte(200).Byte('x').Store(file, 1);  // length past the end
  Block().Word(-1).Word(9).Text("a").Byte('b').Store(file, 2);     // missing terminator
  Block().Word(-3).Word(30000).Byte(1).Text("a").Text("").Store(file, 3);
  Block().Word(-7).Word(1).Store(file, 4);                         // unknown layout
  Block().Byte(1).Store(file, 5);                                   // no layout word
  for (ResId id : {1, 2, 3, 4, 5}) {
    StringSet set;
    set.SetSource(&file, id, kSTR, false, 0);
    EXPECT_EQ(set.Load(false, true), kResBadData) << id;
    EXPECT_LE(set.GetCount(), 1);
  }
  StringSet missing;
  missing.SetSource(&file, 99, kSTR, false, 0);
  EXPECT_EQ(missing.Load(false, true), kResNotFound);
  StringSet noFile;
  EXPECT_EQ(noFile.Load(false, true), kResBadData);
}

TEST(StringSet, CopyFromTakesTheOtherCurrentSlot) {
  StringSet a, b;
  a.SetString(1, "x");
  a.SetString(2, "y");
  a.SetName("names");
  b.SetString(1, "old");
  b.SetString(2, "old");
  b.SetString(3, "surplus");
  b.CopyFrom(a);
  EXPECT_EQ(Texts(b, -1), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(b.GetName(), "names");
  EXPECT_EQ(b.GetId(), 0);
}

TEST(iResFile, GetStringReadsTheTableOfTheCurrentLanguage) {
  MemResFile file;
  Block().Word(-1).Word(2).Text("first").Text("second").Store(file, 128);
  std::string out = "junk";
  file.GetString(128, 2, out);
  EXPECT_EQ(out, "second");
  file.GetString(128, 3, out);
  EXPECT_EQ(out, "");
  file.GetString(129, 1, out);
  EXPECT_EQ(out, "");
}

TEST(StringSet, FailedSaveOverAStoredTableKeepsIt) {
  MemResFile file;
  StringSet first;
  first.SetSource(&file, 300, kSTR, false, 0);
  first.SetString(1, "cat");
  ASSERT_EQ(first.Save(), 0);
  std::vector<uint8_t> before;
  ASSERT_TRUE(file.GetStored(kSTR, 300, before));

  StringSet second;
  second.SetSource(&file, 300, kSTR, false, 0);
  second.SetString(1, "dog");
  file.FailNextWrite(kFlatShortWrite);
  EXPECT_EQ(second.Save(), kFlatShortWrite);
  std::vector<uint8_t> after;
  ASSERT_TRUE(file.GetStored(kSTR, 300, after));
  EXPECT_EQ(after, before);
  StringSet back;
  back.SetSource(&file, 300, kSTR, false, 0);
  ASSERT_EQ(back.Load(false, false), 0);
  EXPECT_EQ(Texts(back, 0), (std::vector<std::string>{"cat"}));
  EXPECT_EQ(file.Close(), 0);
}

TEST(StringSet, PadToAppendsBlankEntriesOfTheLanguage) {
  MemResFile file;
  StringSet padded, oneByOne;
  for (StringSet* set : {&padded, &oneByOne}) {
    set->SetSource(&file, 300, kSTR, false, 3);
    set->SetString(1, "Katze");
  }
  padded.PadTo(4);
  while (oneByOne.GetCount() < 4) oneByOne.SetString(oneByOne.GetCount() + 1, "");
  ASSERT_EQ(padded.GetCount(), 4);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_STREQ(padded.GetString(n), oneByOne.GetString(n)) << n;
    EXPECT_EQ(padded.GetOrigin(n), oneByOne.GetOrigin(n)) << n;
    EXPECT_EQ(padded.GetComment(n), nullptr) << n;
  }
  padded.PadTo(2);  // never shortens
  EXPECT_EQ(padded.GetCount(), 4);
  EXPECT_STREQ(padded.GetString(1), "Katze");
  EXPECT_EQ(padded.GetCount(0), 0);  // other languages untouched
}
