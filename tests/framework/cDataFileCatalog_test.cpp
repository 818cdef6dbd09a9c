#include "framework/cDataFileCatalog.h"

#include <gtest/gtest.h>

#include "FarBuilder.h"
#include "framework/CTGFile.h"
#include "framework/CTGFileManager.h"
#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

const uint32_t kIff = MakeTypeCode("iff ");

std::string Key(const char* visible, const char* ext) { return std::string(visible) + '\0' + ext; }

TEST(cDataFileCatalogTest, TypeCodes) {
  EXPECT_EQ(MakeTypeCode("iff"), 0x69666600u);
  EXPECT_EQ(MakeTypeCode("rsmpX"), 0x72736D70u);
  EXPECT_EQ(MakeTypeCodeFromNumber(0x41), 0x41000000u);
  EXPECT_EQ(MakeTypeCodeFromNumber(0x4142), 0x41420000u);
  EXPECT_EQ(MakeTypeCodeFromNumber(0x414243), 0x41424300u);
  EXPECT_EQ(MakeTypeCodeFromNumber(0x41424344), 0x41424344u);
  EXPECT_EQ(TypeExtension(kIff), ".iff");
  EXPECT_EQ(TypeExtension(MakeTypeCode("****")), ".*");
}

TEST(cDataFileCatalogTest, RegistrationCodes) {
  cDataFileCatalog c;
  EXPECT_EQ(c.AddSubType(kIff, MakeTypeCode("flr ")), kDataFileTypeUnknown);
  EXPECT_EQ(c.RegisterType(kIff), kDataFileOk);
  EXPECT_EQ(c.RegisterType(kIff), kDataFileTypeRegistered);
  EXPECT_EQ(c.AddSubType(kIff, MakeTypeCode("flr ")), kDataFileOk);
  EXPECT_EQ(c.AddSubType(kIff, MakeTypeCode("flr ")), kDataFileAlreadyPresent);
}

TEST(cDataFileCatalogTest, FileNamesGiveIdAndKey) {
  struct Case {
    const char* file;
    int32_t id;
    std::string key;
  } cases[] = {
      {"#12#Chair.IFF", 12, Key("chair", "iff")},
      {"lamp.iff", kNoDataFileId, Key("lamp", "iff")},
      {"#abc#x.iff", kNoDataFileId, Key("x", "iff")},  // not a number: no id
      {"#99999999999#x.iff", kNoDataFileId, Key("x", "iff")},
      {"#5", kNoDataFileId, "#5"},
  };
  for (const Case& c : cases) {
    int32_t id = 0;
    std::string key;
    cDataFileCatalog::ParseFileName(c.file, &id, &key);
    EXPECT_EQ(id, c.id) << c.file;
    EXPECT_EQ(key, c.key) << c.file;
  }
}

TEST(cDataFileCatalogTest, ListsRegisteredFilesAcrossTwoFolders) {
  TempFolder t;
  t.Write("One/#12#Chair.IFF", "chair");
  t.Write("One/#1#a.iff", "");
  t.Write("One/notes.txt", "");
  t.Write("Two/#1#A.iff", "");  // the same key and id as One's: one entry
  t.Write("Two/#7#lamp.iff", "");
  t.Write("Two/Sub.iff/x", "");  // a folder is not a file of the type
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory((t / "One").c_str(), false, true));
  ASSERT_TRUE(m.AddDirectory((t / "Two").c_str(), false, true));
  cDataFileCatalog c;
  c.SetFileManager(&m);
  cDataFileList list;
  EXPECT_EQ(c.ListFiles(list, {t / "One", t / "Two\\"}, kIff), kDataFileOk);
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.At(0).nameKey, Key("a", "iff"));
  EXPECT_EQ(list.At(0).id, 1);
  EXPECT_EQ(list.At(1).nameKey, Key("chair", "iff"));
  EXPECT_EQ(list.At(1).id, 12);
  EXPECT_EQ(list.At(2).nameKey, Key("lamp", "iff"));
  EXPECT_EQ(list.At(2).id, 7);

  cDataFileList any;
  EXPECT_EQ(c.ListFiles(any, {t / "One"}, MakeTypeCode("****")), kDataFileOk);
  EXPECT_EQ(any.Count(), 3u);  // "****" is any extension, .txt included

  cDataFileHandle h;
  ASSERT_EQ(c.OpenListed(h, list.At(1)), kDataFileOk);
  EXPECT_EQ(h.GetSize(), 5u);
  EXPECT_EQ(h.GetId(), 12);
  EXPECT_STREQ(h.GetName().c_str(), "chair");
}

TEST(cDataFileCatalogTest, OpensByNameAndByIdThroughTheWildcardSearch) {
  TempFolder t;
  t.Write("A/other.iff", "");
  t.Write("B/#7#lamp.iff", "lamp!");
  t.Write("B/plain.iff", "p");
  cDataFileCatalog c;
  const cDataFileCatalog::DirectoryList dirs{t / "A", t / "B"};

  cDataFileHandle h;
  ASSERT_EQ(c.OpenByName(h, dirs, kIff, "LAMP"), kDataFileOk);
  EXPECT_EQ(h.GetId(), 7);
  EXPECT_EQ(h.GetName(), "LAMP");
  EXPECT_EQ(h.GetSize(), 5u);
  EXPECT_EQ(h.GetTypeCode(), kIff);
  ASSERT_NE(h.GetStream(), nullptr);
  std::string text;
  *h.GetStream() >> text;
  EXPECT_EQ(text, "lamp!");

  cDataFileHandle byId;
  ASSERT_EQ(c.OpenById(byId, dirs, kIff, 7), kDataFileOk);
  EXPECT_EQ(byId.GetName(), "lamp");

  cDataFileHandle plain;
  ASSERT_EQ(c.OpenByName(plain, dirs, kIff, "plain"), kDataFileOk);
  EXPECT_EQ(plain.GetId(), kNoDataFileId);

  cDataFileHandle none;
  EXPECT_EQ(c.OpenByName(none, dirs, kIff, "missing"), kDataFileNotFound);
  EXPECT_EQ(c.OpenById(none, dirs, kIff, 8), kDataFileNotFound);
  EXPECT_EQ(none.GetStream(), nullptr);
  EXPECT_EQ(none.GetSize(), 0u);
}

TEST(cDataFileCatalogTest, SubTypesAndManagerFiles) {
  TempFolder t;
  tova_test::FarBuilder far;
  far.Add("floor.flr", "tiles");
  t.Write("D/pack.far", far.Build());
  CTGFileManager m;
  ASSERT_TRUE(m.AddDirectory((t / "D").c_str(), false, true));
  cDataFileCatalog c;
  c.SetFileManager(&m);
  const uint32_t kAll = MakeTypeCode("all ");
  c.RegisterType(kAll);
  c.AddSubType(kAll, MakeTypeCode("wll "));
  c.AddSubType(kAll, MakeTypeCode("flr "));
  const cDataFileCatalog::DirectoryList dirs{CTGFileManager::Normalize((t / "D").c_str())};
  cDataFileHandle h;
  h.SetKind(cDataFileHandle::kFile);
  ASSERT_EQ(c.OpenByName(h, dirs, kAll, "floor"), kDataFileOk);
  EXPECT_EQ(h.GetTypeCode(), MakeTypeCode("flr "));
  ASSERT_NE(h.GetFile(), nullptr);
  EXPECT_TRUE(h.GetFile()->IsShared());
  EXPECT_EQ(h.GetSize(), 5u);
  // Switching to a stream releases the file.
  h.SetStream(nullptr);
  EXPECT_EQ(h.GetFile(), nullptr);
  EXPECT_EQ(h.GetKind(), cDataFileHandle::kStream);

  // A type listed among its own sub-types is searched once, not forever.
  ASSERT_EQ(c.AddSubType(kAll, kAll), kDataFileOk);
  cDataFileHandle missing;
  missing.SetKind(cDataFileHandle::kFile);
  EXPECT_EQ(c.OpenByName(missing, dirs, kAll, "missing"), kDataFileNotFound);
  EXPECT_EQ(c.OpenById(missing, dirs, kAll, 3), kDataFileNotFound);
  EXPECT_EQ(c.OpenByName(missing, dirs, kAll, "floor"), kDataFileOk);
}

}  // namespace
