#include "neighborhood/FamilyOperations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "BmpWriter.h"
#include "gamedata/CatalogStrings.h"
#include "gamedata/FamilyExport.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/NeighborhoodFakes.h"
#include "neighborhood/PersonTable.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemHandle.h"
#include "resfile/ReconObject.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;
using tova::Family;
using tova::Neighbor;
using tova::Neighborhood;

namespace {

void AddBytes(iResFile& file, ResType type, ResId id, const std::string& bytes) {
    MemHandle h = NewMemHandle(static_cast<int32_t>(bytes.size()));
    std::memcpy(GetMemHandleData(h), bytes.data(), bytes.size());
    ASSERT_EQ(file.AddResource(h, type, id, "", true), 0);
    ASSERT_EQ(file.WriteResource(h), 0);
}

class FamilyOps : public ::testing::Test {
protected:
    void SetUp() override {
        tova::NeighborhoodConstants::Instance().Reset();
        services.AddPerson(Neighborhood::kTemplateCharacterGuid, "Template");
        services.AddPerson(0x100, "Ada", true, (dir / "Ada.iff").string());
        services.AddPerson(0x200, "Bo", true, (dir / "Bo.iff").string());
        fs::create_directories(dir / "Houses");
        fs::create_directories(dir / "Export");
        fs::create_directories(dir / "Import");
        for (const char* f : {"Ada.iff", "Bo.iff"}) std::ofstream((dir / f).string()) << "x";
        path = (dir / "Neighborhood.iff").string();
        hood.SetPath(path.c_str());
        ASSERT_EQ(hood.Init(), 0);
        people.Build(hood);
        context.neighborhood = &hood;
        context.people = &people;
        SetFamilyContext(&context);
        ClearImportLists();
    }
    void TearDown() override {
        SetFamilyContext(nullptr);
        ClearImportLists();
    }
    int32_t Person(int32_t guid) const { return people.IndexOfGuid(guid); }
    void WriteHouse(int lot) {
        IFFResFile2 file;
        FixedPath name;
        hood.GetHouseFileName(lot, name);
        ASSERT_EQ(file.OpenWithFlags(name.c_str(), iResFile::kOpenCreateMissing), 0);
        AddBytes(file, TypeCode("HOUS"), 1, "lot!");
        std::string thumb;
        for (int32_t v : {10, -20, 30, 40, 50}) bmp_fixture::Put32(thumb, static_cast<uint32_t>(v));
        AddBytes(file, TypeCode("THMB"), 512, thumb);
        AddBytes(file, TypeCode("BMP_"), 512,
                 bmp_fixture::Plain(bmp_fixture::Header{2, 2, 24, 0, {}}, {0xFF0000, 0xFF00, 0xFF, 0xFFFFFF}, false));
        file.Close();
    }

    tova_test::ScratchDir dir;
    tova_test::FakeNeighborhoodServices services;
    std::string path;
    Neighborhood hood{services};
    PersonTable people;
    FamilyContext context;
};

TEST_F(FamilyOps, MakeNewFamilyTakesTheSmallestFreeNumber) {
    for (int i = 0; i < 4; ++i) MakeNewFamily();
    hood.RemoveFamily(hood.FindFamily(3));
    EXPECT_EQ(MakeNewFamily(), 3);
    EXPECT_EQ(MakeNewFamily(), 5);
}

TEST_F(FamilyOps, NothingWorksWithoutAContext) {
    SetFamilyContext(nullptr);
    EXPECT_EQ(MakeNewFamily(), -1);
    EXPECT_FALSE(DeleteFamily(1));
    EXPECT_EQ(MakeNewPerson(), -1);
    LotInfo lot;
    EXPECT_FALSE(ReadLotInfo(1, lot, true));
    FamilyImport record;
    EXPECT_FALSE(ImportFamilyFile(record, true));
}

TEST_F(FamilyOps, MembersComeAndGoByPersonIndex) {
    const int32_t f = MakeNewFamily();
    ASSERT_TRUE(AddFamilyMember(f, Person(0x100)));
    ASSERT_TRUE(AddFamilyMember(f, Person(0x200)));
    EXPECT_FALSE(AddFamilyMember(99, Person(0x100)));
    EXPECT_FALSE(AddFamilyMember(f, 999));
    std::vector<int32_t> members;
    GetFamilyMembers(f, members);
    EXPECT_EQ(members, (std::vector<int32_t>{Person(0x100), Person(0x200)}));
    members.clear();
    GetFamilyMembers(77, members);
    EXPECT_TRUE(members.empty());
    EXPECT_TRUE(RemoveFamilyMember(f, Person(0x200)));
    EXPECT_FALSE(RemoveFamilyMember(f, Person(0x200)));
    EXPECT_FALSE(DeletePerson(Person(0x100)));  // still in a family
    EXPECT_TRUE(DeletePerson(Person(0x200)));
    EXPECT_EQ(Person(0x200), -1);  // a deleted person no longer answers
    EXPECT_TRUE(SetFamilyName(f, std::string(300, 'x')));
    FamilyInfo info;
    ASSERT_TRUE(GetFamilyInfo(f, info));
    EXPECT_EQ(info.name.size(), 255u);
    EXPECT_FALSE(GetFamilyInfo(1234, info));
    std::vector<int32_t> unhoused, stale;
    GetUnhousedFamilies(unhoused);
    CollectFamilies(stale);
    EXPECT_EQ(unhoused, (std::vector<int32_t>{f}));
    EXPECT_EQ(stale, (std::vector<int32_t>{f}));
}

TEST_F(FamilyOps, DeletingAHousedFamilyIsRefusedWithNothingChanged) {
    const int32_t f = MakeNewFamily();
    SetFamilyName(f, "Holm");
    AddFamilyMember(f, Person(0x100));
    WriteHouse(2);
    ASSERT_EQ(hood.MoveFamilyToLot(*hood.FindFamily(f), 2), 0);
    ExportFamilyFile(f, false);
    EXPECT_FALSE(DeleteFamily(f));
    EXPECT_EQ(hood.FindFamily(f)->GetMemberCount(), 1);
    EXPECT_NE(Person(0x100), -1);
    EXPECT_TRUE(fs::exists(dir / "Export" / "Holm_1.FAM"));
}

TEST_F(FamilyOps, DeletingRemovesOnlyItsOwnFilesAndSurvivesAStrayMember) {
    for (int i = 0; i < 12; ++i) MakeNewFamily();
    SetFamilyName(1, "Name");
    AddFamilyMember(1, Person(0x100));
    hood.FindFamily(1)->AddMember(0x4242);  // no neighbour record
    for (const char* f : {"Name_1.FAM", "Name_12.FAM", "Name_10_x.FAM", "name_1.htm"})
        std::ofstream((dir / "Export" / f).string()) << "x";
    ASSERT_TRUE(DeleteFamily(1));
    EXPECT_EQ(hood.FindFamily(1), nullptr);
    EXPECT_FALSE(fs::exists(dir / "Export" / "Name_1.FAM"));
    EXPECT_FALSE(fs::exists(dir / "Export" / "name_1.htm"));
    EXPECT_TRUE(fs::exists(dir / "Export" / "Name_12.FAM"));
    EXPECT_TRUE(fs::exists(dir / "Export" / "Name_10_x.FAM"));
    EXPECT_EQ(Person(0x100), -1);  // the user character went with the family
    EXPECT_FALSE(DeleteFamily(0));
}

TEST_F(FamilyOps, LotInfoReadsTheHouseAndItsResident) {
    LotInfo none;
    EXPECT_FALSE(ReadLotInfo(0, none, true));
    EXPECT_FALSE(ReadLotInfo(12, none, true));
    EXPECT_FALSE(ReadLotInfo(3, none, true));  // no house file
    WriteHouse(3);
    LotInfo empty;
    ASSERT_TRUE(ReadLotInfo(3, empty, true));
    EXPECT_EQ(empty.residentFamily, -1);
    EXPECT_EQ(empty.hasHouse, 1);
    ASSERT_NE(empty.thumbnail, nullptr);
    EXPECT_EQ(empty.secondThumbnail, nullptr);
    EXPECT_EQ(empty.thumbValues[1], -20);
    const int32_t f = MakeNewFamily();
    SetFamilyName(f, "Lot");
    hood.MoveFamilyToLot(*hood.FindFamily(f), 3);
    LotInfo lived;
    ASSERT_TRUE(ReadLotInfo(3, lived, false));
    EXPECT_EQ(lived.residentFamily, f);
    EXPECT_EQ(lived.family.name, "Lot");
    EXPECT_EQ(lived.lot, 3);
    EXPECT_EQ(lived.thumbnail, nullptr);
}

// A family file made by export from a second neighbourhood.
class FamilyFiles : public FamilyOps {
protected:
    // Writes Import/<file> holding the given EXPi ids, family record and extras.
    std::string WriteFamFile(const std::string& file, const std::string& familyName, int32_t lot, std::vector<int16_t> ids,
                             bool house, const std::string& portrait) {
        const std::string at = (dir / "Import" / file).string();
        IFFResFile2 out;
        EXPECT_EQ(out.OpenWithFlags(at, iResFile::kOpenCreateMissing), 0);
        tova::ExpFamilyInfo info;
        info.familyNumber = 5;
        info.flags = 3;
        for (size_t i = 0; i < ids.size() && i < 8; ++i) info.members[i] = ids[i];
        SimpleReconObject<tova::ExpFamilyInfo> record(&info, tova::kExportInfoChunk);
        EXPECT_EQ(ReconObject::SaveToResFile(record, tova::ExpFamilyInfo::kRecordVersion, out, 0), 0);
        Family family(5);
        family.SetName(familyName.c_str());
        family.lot = lot;
        family.funds = 1000;
        EXPECT_TRUE(family.Save(out));
        for (int16_t id : ids) {
            tova::CatalogStrings strings{"Member" + std::to_string(id), ""};
            strings.Write(out, id);
            if (!portrait.empty()) AddBytes(out, TypeCode("BMP_"), id, portrait);
        }
        if (house) {
            AddBytes(out, TypeCode("HOUS"), 1, "lot!");
            std::string thumb;
            for (uint32_t v : {0x80000000u, 5u}) bmp_fixture::Put32(thumb, v);
            AddBytes(out, TypeCode("THMB"), 512, thumb);
        }
        out.Close();
        return at;
    }
    std::string GoodPortrait() const {
        return bmp_fixture::Plain(bmp_fixture::Header{2, 2, 24, 0, {}}, {1, 2, 3, 4}, false);
    }
};

TEST_F(FamilyFiles, EachFileIsOfferedOnceUntilTheListsAreCleared) {
    WriteFamFile("One.FAM", "One", 0, {1}, false, GoodPortrait());
    WriteFamFile("two.fam", "Two", 0, {1, 2}, false, GoodPortrait());
    WriteFamFile("notes.txt", "Three", 0, {1}, false, "");
    std::vector<std::string> names;
    FamilyImport record;
    while (ImportFamilyFile(record, true)) names.push_back(record.lot.family.name);
    EXPECT_EQ(names, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(record.members.size(), 2u);
    EXPECT_EQ(record.members[1].name, "Member2");
    EXPECT_NE(record.members[1].portrait, nullptr);
    EXPECT_EQ(record.language, 3);
    EXPECT_EQ(record.hasHouse, 0);
    ClearImportLists();
    EXPECT_TRUE(ImportFamilyFile(record, false));
}

TEST_F(FamilyFiles, AHouseInTheFileGivesResidentMinusTwo) {
    const std::string file = WriteFamFile("House.FAM", "Housed", 4, {1}, true, GoodPortrait());
    FamilyImport record;
    ASSERT_TRUE(ReadFamilyFile(file, record, true));
    EXPECT_EQ(record.hasHouse, 1);
    EXPECT_EQ(record.lot.residentFamily, LotInfo::kResidentFromFile);
    EXPECT_EQ(record.lot.lot, 4);
    EXPECT_EQ(record.lot.thumbValues[0], 0);  // -2^31 is no offset
    EXPECT_EQ(record.lot.thumbValues[1], 5);
    EXPECT_EQ(record.lot.thumbValues[2], 0);
}

TEST_F(FamilyFiles, HostileFilesAreRefusedCleanly) {
    FamilyImport record;
    // A house on a lot that does not exist.
    EXPECT_FALSE(ReadFamilyFile(WriteFamFile("Lot99.FAM", "Far", 99, {1}, true, ""), record, true));
    // Nine ids: only eight travel.
    ASSERT_TRUE(ReadFamilyFile(WriteFamFile("Nine.FAM", "Many", 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}, false, ""), record, false));
    EXPECT_EQ(record.members.size(), 8u);
    // A portrait claiming 16M colours reads as none.
    std::string bad = bmp_fixture::Plain(bmp_fixture::Header{2, 2, 8, 0, {0, 1}}, {0, 1, 1, 0}, false);
    bmp_fixture::Poke32(bad, 46, 1u << 24);
    ASSERT_TRUE(ReadFamilyFile(WriteFamFile("Bad.FAM", "Bad", 0, {1}, false, bad), record, true));
    EXPECT_EQ(record.members[0].portrait, nullptr);
    // A file that is not a family file.
    std::ofstream((dir / "Import" / "junk.FAM").string()) << "not a resource file";
    EXPECT_FALSE(ReadFamilyFile((dir / "Import" / "junk.FAM").string(), record, true));
    EXPECT_FALSE(ReadFamilyFile((dir / "Import" / "missing.FAM").string(), record, true));
}

TEST_F(FamilyFiles, AHostileNameStaysShownButNotInTheFileName) {
    const std::string file = WriteFamFile("Dots.FAM", "../x", 0, {1}, false, "");
    FamilyImport record;
    ASSERT_TRUE(ReadFamilyFile(file, record, false));
    EXPECT_EQ(record.lot.family.name, "../x");
    const int32_t made = MakeNewFamily();
    SetFamilyName(made, record.lot.family.name);
    EXPECT_EQ(ExportFamilyFile(made, false), 0);
    EXPECT_TRUE(fs::exists(dir / "Export" / ("___x_" + std::to_string(made) + ".FAM")));
    EXPECT_FALSE(fs::exists(dir / "x_1.FAM"));
    EXPECT_EQ(SanitizeFileStem("a/b\\c:d..e\x01"), "a_b_c_d__e_");
}

}  // namespace
