#include "framework/CTGFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "FarBuilder.h"
#include "framework/CTGFileManager.h"
#include "support/TempFolder.h"

namespace {

using tova_test::FarBuilder;
using tova_test::TempFolder;

TEST(CTGFileTest, TypedStringVectors) {
  struct Case {
    size_t length;
    std::string prefix;
  } cases[] = {
      {0, std::string("\x00", 1)},
      {254, std::string("\xFE")},
      {255, std::string("\xFF\xFF\x00\x00\x00", 5)},
      {300, std::string("\xFF\x2C\x01\x00\x00", 5)},
  };
  for (const Case& c : cases) {
    TempFolder t;
    t.Write("s.bin", "");
    CTGFileManager m;
    CTGFile* f = m.Open((t / "s.bin").c_str(), true);
    ASSERT_NE(f, nullptr);
    const std::string text(c.length, 'q');
    ASSERT_TRUE(f->WriteString(text.c_str()));
    m.Close(f);
    EXPECT_EQ(t.Read("s.bin"), c.prefix + text) << c.length;

    f = m.Open((t / "s.bin").c_str(), false);
    ASSERT_NE(f, nullptr);
    std::vector<char> buffer(c.length + 1, 'x');
    ASSERT_TRUE(f->ReadString(buffer.data(), static_cast<uint32_t>(buffer.size()))) << c.length;
    EXPECT_EQ(std::string(buffer.data()), text);
    // One byte less room than the string needs: refused, nothing overrun.
    ASSERT_TRUE(f->Seek(0));
    std::vector<char> small(c.length + 1, 'x');
    EXPECT_FALSE(f->ReadString(small.data(), static_cast<uint32_t>(c.length)));
    EXPECT_EQ(small[c.length], 'x');
    m.Close(f);
  }
}

TEST(CTGFileTest, IntegersAreLittleEndianAndReadsStopAtTheEnd) {
  TempFolder t;
  t.Write("i.bin", "");
  CTGFileManager m;
  CTGFile* f = m.Open((t / "i.bin").c_str(), true);
  ASSERT_NE(f, nullptr);
  ASSERT_TRUE(f->WriteInt32(1));
  ASSERT_TRUE(f->WriteInt32(-2));
  m.Close(f);
  EXPECT_EQ(t.Read("i.bin"), std::string("\x01\x00\x00\x00\xFE\xFF\xFF\xFF", 8));
  f = m.Open((t / "i.bin").c_str(), false);
  int32_t v = 0;
  ASSERT_TRUE(f->ReadInt32(&v));
  EXPECT_EQ(v, 1);
  ASSERT_TRUE(f->ReadInt32(&v));
  EXPECT_EQ(v, -2);
  EXPECT_FALSE(f->ReadInt32(&v));
  EXPECT_TRUE(f->Seek(8));
  EXPECT_FALSE(f->Seek(9));
  m.Close(f);
}

TEST(CTGFileTest, MemberOfThreeBytesCannotGiveAnInteger) {
  TempFolder t;
  FarBuilder far;
  far.Add("three", "abc");
  far.Add("next", "defghijk");
  t.Write("p.far", far.Build());
  CTGFileManager m;
  ASSERT_TRUE(m.MapArchive((t / "p.far").c_str()));
  CTGFile* f = m.Open((t / "three").c_str(), false);
  ASSERT_NE(f, nullptr);
  int32_t v;
  EXPECT_FALSE(f->ReadInt32(&v));  // never reads into the next member
  EXPECT_TRUE(f->Seek(3));
  EXPECT_FALSE(f->Seek(4));
  EXPECT_FALSE(f->SetLength(1));
  EXPECT_EQ(f->Write("x", 1), 0);
  m.Close(f);
}

TEST(CTGFileTest, WriteAfterBufferedReadsGoesToTheLogicalPosition) {
  TempFolder t;
  t.Write("w.bin", "0123456789");
  CTGFileManager m;
  CTGFile* f = m.Open((t / "w.bin").c_str(), true);
  ASSERT_NE(f, nullptr);
  uint8_t b;
  ASSERT_TRUE(f->ReadByte(&b));
  ASSERT_TRUE(f->ReadByte(&b));
  EXPECT_EQ(f->GetPosition(), 2);  // although the whole file was read ahead
  EXPECT_EQ(f->Write("AB", 2), 2);
  EXPECT_EQ(f->GetPosition(), 4);
  char rest[3] = {};
  EXPECT_EQ(f->Read(rest, 2), 2);
  EXPECT_EQ(std::string(rest), "45");
  EXPECT_EQ(f->Write("0123456789", 10), 10);  // growing
  EXPECT_EQ(f->GetSize(), 16);
  m.Close(f);
  EXPECT_EQ(t.Read("w.bin"), "01AB450123456789");
}

TEST(CTGFileTest, SetLengthLeavesThePositionAtTheNewLength) {
  struct Case {
    int32_t from, length;
  };
  for (const Case c : {Case{2, 20}, Case{8, 4}, Case{1, 4}, Case{6, 6}, Case{0, 0}}) {
    TempFolder t;
    t.Write("p.bin", "abcdef");
    CTGFileManager m;
    CTGFile* f = m.Open((t / "p.bin").c_str(), true);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(f->Seek(std::min(c.from, 6)));
    ASSERT_TRUE(f->SetLength(c.length));
    EXPECT_EQ(f->GetPosition(), c.length) << c.from << " -> " << c.length;
    EXPECT_EQ(f->Write("Z", 1), 1);
    m.Close(f);
    EXPECT_EQ(t.Read("p.bin").size(), static_cast<size_t>(c.length) + 1);  // written at the end
  }
}

TEST(CTGFileTest, SetLengthAndReadOnlyHandles) {
  TempFolder t;
  t.Write("L/len.bin", "abcdef");
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory((t / "L").c_str(), false, true));
  const std::string name = CTGFileManager::Normalize((t / "L/len.bin").c_str());
  CTGFile* f = m.Open(name.c_str(), true);
  ASSERT_NE(f, nullptr);
  ASSERT_TRUE(f->SetLength(3));
  EXPECT_EQ(f->GetSize(), 3);
  CTGFileEntry entry;
  ASSERT_TRUE(m.Find(name.c_str(), &entry));
  EXPECT_EQ(entry.size, 3u);
  ASSERT_TRUE(f->SetLength(5));
  m.Close(f);
  EXPECT_EQ(t.Read("L/len.bin"), std::string("abc\0\0", 5));
  f = m.Open(name.c_str(), false);
  EXPECT_EQ(f->Write("x", 1), 0);
  EXPECT_FALSE(f->SetLength(0));
  m.Close(f);
  EXPECT_EQ(m.Open((t / "L/missing").c_str(), false), nullptr);
}

TEST(CTGFileTest, StoredLengthBeyondTheFileIsRefusedWithoutAllocating) {
  TempFolder t;
  t.Write("big.bin", std::string("\xFF\xF0\xFF\xFF\x7F", 5) + "abc");
  CTGFileManager m;
  CTGFile* f = m.Open((t / "big.bin").c_str(), false);
  ASSERT_NE(f, nullptr);
  std::string text;
  EXPECT_FALSE(f->ReadString(text, 0xFFFFFFFFu));
  EXPECT_TRUE(text.empty());
  m.Close(f);
}

}  // namespace
