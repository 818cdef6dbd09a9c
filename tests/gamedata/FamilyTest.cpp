#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamedata/Family.h"
#include "gamedata/RecordIO.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"
#include "support/ScratchDir.h"

using tova::Family;
using tova::FamilyHistory;

namespace {

// A 'FAMI' record of an older layout, written field by field.
std::vector<uint8_t> OldFamilyRecord(int32_t version, std::vector<bool> booleans) {
  auto body = tova::WritePlain([&](ReconStream& s) {
    int32_t lot = 3;
    s.SerializeLongs(&lot, 1);
    if (version < 5) {
      char buffer[64] = "Oldtimers";
      s.SerializeFixedString(buffer, 64);
    }
    if (version >= 1) {
      int32_t sortKey = 4;
      s.SerializeLongs(&sortKey, 1);
    }
    if (version >= 2) {
      int32_t money[3] = {1500, 70000, 2};
      s.SerializeLongs(money, 3);
    }
    for (bool b : booleans) s.SerializeBool(&b);
    int32_t members[3] = {2, 0x111, 0x222};
    s.SerializeLongs(members, 3);
  });
  return tova::MakeRecord(version, tova::kFamilyChunk, body);
}

}  // namespace

TEST(Family, OlderRecordsSetTheLotBitsFromTheirBooleans) {
  struct Case {
    int32_t version;
    std::vector<bool> booleans;
    int32_t flags;
  };
  const std::vector<Case> cases = {
      {2, {}, Family::kFlagLot0},            // no booleans: bit 0 set
      {3, {false}, 0},                       // bit 0 from the boolean
      {4, {true, true}, Family::kFlagLot0 | Family::kFlagLot1},
      {6, {false, true, false}, 0},          // the later boolean decides bit 1
      {6, {true, false, true}, Family::kFlagLot0 | Family::kFlagLot1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    MemResFile file;
    auto bytes = OldFamilyRecord(c.version, c.booleans);
    file.AddStored(tova::kFamilyChunk, 9, bytes.data(), static_cast<int32_t>(bytes.size()));
    Family family;
    ASSERT_TRUE(family.Load(file, 9));
    EXPECT_EQ(family.number, 9);
    EXPECT_EQ(family.lot, 3);
    EXPECT_EQ(family.flags, c.flags);
    EXPECT_EQ(family.funds, 1500);
    EXPECT_EQ(family.houseValue, 70000);
    EXPECT_EQ(family.Members(), (std::vector<int32_t>{0x111, 0x222}));
    // Before version 5 the name stood in the record itself.
    EXPECT_STREQ(family.GetName(), c.version < 5 ? "Oldtimers" : "");
  }
}

TEST(Family, SavedFamilyReadsBackWithItsNameAndHistory) {
  MemResFile file;
  Family family(4);
  family.SetName("Lindqvist");
  family.lot = 5;
  family.sortKey = 2;
  family.funds = 12345;
  family.houseValue = 40000;
  family.flags = Family::kFlagFirstVisit | Family::kFlagLot1;
  family.AddMember(0x1234);
  family.AddMember(0x5678);
  FamilyHistory::Row row{};
  for (int c = 0; c < FamilyHistory::kColumnCount; ++c) row[c] = c * 1000 - 7;
  row[0] = 5;
  family.GetHistory().AddRow(row);
  ASSERT_TRUE(family.Save(file));

  Family back;
  ASSERT_TRUE(back.Load(file, 4));
  EXPECT_STREQ(back.GetName(), "Lindqvist");
  EXPECT_EQ(back.GetFileStem(), "Lindqvist_4");
  EXPECT_EQ(back.lot, 5);
  EXPECT_EQ(back.sortKey, 2);
  EXPECT_EQ(back.funds, 12345);
  EXPECT_EQ(back.houseValue, 40000);
  EXPECT_EQ(back.flags, family.flags);
  EXPECT_EQ(back.Members(), family.Members());

  // Saved again without looking at the history: the stored bytes go back.
  MemResFile second;
  ASSERT_TRUE(back.Save(second));
  Family third;
  ASSERT_TRUE(third.Load(second, 4));
  ASSERT_EQ(third.GetHistory().Rows().size(), 1u);
  const FamilyHistory::Row& got = third.GetHistory().Rows()[0];
  for (int c = 0; c < FamilyHistory::kColumnCount; ++c) {
    // Narrow columns keep 16 bits.
    const bool wide = (c >= 8 && c <= 9) || (c >= 17 && c <= 24);
    EXPECT_EQ(got[c], wide ? row[c] : static_cast<int16_t>(row[c])) << FamilyHistory::ColumnName(c);
  }
}

TEST(Family, NameFallsBackToTheSecondLanguageSlot) {
  MemResFile file;
  Family family(2);
  family.SetName("ignored");
  ASSERT_TRUE(family.Save(file));
  // Each language is saved on its own: the first slot empty, the second named.
  for (int slot : {0, 1}) {
    StringSet names;
    names.SetSource(&file, 2, tova::kFamilyNameChunk, false, slot);
    names.SetString(1, slot == 0 ? "" : "Second", slot);
    ASSERT_EQ(names.Save(), 0);
  }

  Family back;
  ASSERT_TRUE(back.Load(file, 2, 0));
  EXPECT_STREQ(back.GetName(), "Second");
}

TEST(Family, MissingOrDamagedRecordsAreRefused) {
  MemResFile file;
  Family family;
  EXPECT_FALSE(family.Load(file, 1));
  EXPECT_FALSE(family.Load(file, -1));
  EXPECT_EQ(family.number, -1);

  auto bytes = OldFamilyRecord(7, {});
  bytes.resize(bytes.size() - 6);  // members cut short
  file.AddStored(tova::kFamilyChunk, 1, bytes.data(), static_cast<int32_t>(bytes.size()));
  EXPECT_FALSE(family.Load(file, 1));

  // A member count far beyond the bytes.
  auto hostile = tova::MakeRecord(7, tova::kFamilyChunk, tova::WritePlain([](ReconStream& s) {
                                    int32_t fields[6] = {0, 0, 0, 0, 0, 0};
                                    s.SerializeLongs(fields, 6);
                                    int32_t count = 0x7FFFFFF0;
                                    s.SerializeLongs(&count, 1);
                                  }));
  file.AddStored(tova::kFamilyChunk, 2, hostile.data(), static_cast<int32_t>(hostile.size()));
  EXPECT_FALSE(family.Load(file, 2));
}

TEST(Family, HistoryWithAnImpossibleRowCountStartsEmpty) {
  MemResFile file;
  Family family(3);
  ASSERT_TRUE(family.Save(file));
  auto rows = tova::MakeRecord(1, tova::kFamilyHistoryChunk, tova::WritePlain([](ReconStream& s) {
                                 bool packed = false;
                                 s.SerializeBool(&packed);
                                 int32_t count = 5000;
                                 s.SerializeLongs(&count, 1);
                               }));
  file.AddStored(tova::kFamilyHistoryChunk, 3, rows.data(), static_cast<int32_t>(rows.size()));
  Family back;
  ASSERT_TRUE(back.Load(file, 3));
  EXPECT_TRUE(back.GetHistory().Rows().empty());
}

TEST(Family, MembersAreUnique) {
  Family family(1);
  EXPECT_TRUE(family.AddMember(7));
  EXPECT_FALSE(family.AddMember(7));
  EXPECT_EQ(family.GetMemberCount(), 1);
  EXPECT_EQ(*family.GetMember(0), 7);
  EXPECT_EQ(family.GetMember(1), nullptr);
  EXPECT_EQ(family.GetMember(-1), nullptr);
  EXPECT_TRUE(family.RemoveMember(7));
  EXPECT_FALSE(family.RemoveMember(7));
  EXPECT_FALSE(family.HasMember(7));
}

TEST(FamilyHistory, TheRowAfterTheLastPushesOutTheFirst) {
  FamilyHistory history;
  for (int32_t i = 0; i < 1025; ++i) {
    FamilyHistory::Row row{};
    row[1] = i;
    history.AddRow(row);
  }
  ASSERT_EQ(history.Rows().size(), FamilyHistory::kMaxRows);
  EXPECT_EQ(history.Rows().front()[1], 1);
  EXPECT_EQ(history.Rows().back()[1], 1024);
}

TEST(FamilyHistory, ReportIsTabSeparated) {
  tova_test::ScratchDir dir;
  ASSERT_TRUE(dir.Ok());
  FamilyHistory history;
  std::string header;
  for (int c = 0; c < FamilyHistory::kColumnCount; ++c) header += std::string(FamilyHistory::ColumnName(c)) + "\t";
  header += "\n";
  ASSERT_TRUE(history.WriteReport((dir / "empty.txt").string()));
  EXPECT_EQ(tova_test::ReadBytes(dir / "empty.txt"), header);
  EXPECT_EQ(header.substr(0, 14), "Lot#\t#Members\t");

  FamilyHistory::Row row{};
  row[0] = 3;
  row[24] = -50;
  history.AddRow(row);
  ASSERT_TRUE(history.WriteReport((dir / "one.txt").string()));
  std::string line = "3\t";
  for (int c = 1; c < FamilyHistory::kColumnCount; ++c) line += (c == 24 ? "-50" : "0") + std::string("\t");
  EXPECT_EQ(tova_test::ReadBytes(dir / "one.txt"), header + line + "\n");
  EXPECT_FALSE(history.WriteReport((dir / "no-folder" / "x.txt").string()));
}

namespace {

class RecordingAlbum : public tova::FamilyAlbum {
 public:
  RecordingAlbum(std::string folder, std::vector<std::string>& log, const bool& ok) : folder_(std::move(folder)), log_(log), ok_(ok) {}
  bool Save() override {
    log_.push_back("album " + folder_);
    return ok_;
  }

 private:
  std::string folder_;
  std::vector<std::string>& log_;
  const bool& ok_;
};

}  // namespace

TEST(FamilyAlbumTest, TheAlbumIsMadeOnFirstUseAndSavesBeforeTheFamily) {
  std::vector<std::string> log;
  bool albumSaves = true;
  tova::Family::SetAlbumMaker([&](const tova::Family&, const std::string& folder) {
    log.push_back("made " + folder);
    return std::make_unique<RecordingAlbum>(folder, log, albumSaves);
  });
  tova::Family family(3);
  MemResFile file;
  EXPECT_TRUE(family.Save(file)) << "no album yet";
  EXPECT_TRUE(log.empty());
  tova::FamilyAlbum& album = family.GetAlbum("Hood/");
  EXPECT_EQ(&family.GetAlbum("Hood/"), &album);
  EXPECT_TRUE(family.Save(file));
  EXPECT_EQ(log, (std::vector<std::string>{"made Hood/PhotoAlbum/", "album Hood/PhotoAlbum/"}));
  albumSaves = false;
  EXPECT_FALSE(family.Save(file)) << "an album that failed to save stops the family's save";
  tova::Family::SetAlbumMaker(nullptr);
  tova::Family plain(4);
  plain.GetAlbum("Hood/");
  EXPECT_TRUE(plain.Save(file)) << "the default album saves nothing";
}
