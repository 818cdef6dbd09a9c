#include "CharacterFixture.h"
#include "character/CharacterDump.h"
#include "character/CharacterIndexFile.h"
#include "character/CharacterLibrary.h"
#include "character/CharacterReport.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace chartest;
using tova_test::TempFolder;

namespace {

// chars/: the test objects as text and the cube as a text mesh; anim/: the
// keyframes; idx/: the same objects as a binary file named by an index.
class CharacterLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.Write("chars/test.cmx", TestCharacterFile(true));
        t.Write("chars/cube.skn", WriteBodyMesh(MakeCubeMesh(), true));
        t.Write("anim/test-wave.cfp", TestKeyframeFile());
        t.Write("idx/test.bcf", TestCharacterFile(false));
        CharacterIndex index;
        index.skeletons = {{"test-skel", "test"}};
        index.suits = {{"test-suit", "test"}};
        index.skills = {{"test-wave", "test"}};
        t.Write("idx/test.ndx", WriteCharacterIndex(index));
        SetCharacterReportEnabled(true);
        TakeCharacterReport();
    }
    void TearDown() override {
        SetCharacterReportEnabled(false);
        TakeCharacterReport();
    }
    std::string Folder(const char* name) const { return t / name + "/"; }
    cRZSearchPath Path(const char* name) const { return cRZSearchPath((Folder(name) + ";").c_str()); }

    TempFolder t;
    uint32_t now = 1000;
    CharacterLibrary::Clock clock = [this] { return now; };
};

}  // namespace

TEST_F(CharacterLibraryTest, AnIndexNamingACachedObjectAddsNothing) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    ASSERT_EQ(library.Skeletons().count("test-skel"), 1u);
    library.ReadIndexFiles({Folder("idx")});
    const LibraryEntry& entry = library.Skeletons().at("test-skel");
    EXPECT_EQ(entry.file, "test.cmx");
    EXPECT_TRUE(entry.loaded);
    EXPECT_EQ(library.Skeletons().size(), 1u);
}

TEST_F(CharacterLibraryTest, LoadingOneIndexEntryFillsTheOthersOfItsFile) {
    CharacterLibrary library(nullptr, clock);
    library.SetAnimationFolders(Path("idx"));
    ASSERT_EQ(library.Suits().count("test-suit"), 1u);
    EXPECT_FALSE(library.Suits().at("test-suit").loaded);
    EXPECT_EQ(library.Suits().at("test-suit").file, "test.bcf");
    EXPECT_FALSE(library.Skills().at("test-wave").loaded);

    Suit* suit = library.GetSuit("test-suit");
    ASSERT_NE(suit, nullptr);
    EXPECT_EQ(suit->sourceFile, "test.bcf");
    EXPECT_TRUE(library.Skills().at("test-wave").loaded);
    EXPECT_NE(library.Skills().at("test-wave").object, nullptr);
    EXPECT_NE(library.Skeletons().at("test-skel").object, nullptr);
    EXPECT_FALSE(library.LoadingOnDemand());
}

TEST_F(CharacterLibraryTest, AMissingFileIsTriedOnce) {
    CharacterIndex index;
    index.suits = {{"ghost", "missing"}};
    t.Write("lost/lost.ndx", WriteCharacterIndex(index));
    CharacterLibrary library(nullptr, clock);
    library.ReadIndexFiles({Folder("lost")});
    EXPECT_EQ(library.GetSuit("ghost"), nullptr);
    EXPECT_TRUE(library.Suits().at("ghost").loaded);
    // The file turning up later does not count until the library is rebuilt.
    Suit* other = MakeTestSuit();
    other->name = "ghost";
    t.Write("lost/missing.bcf", WriteCharacterFile({{}, {other}, {}}, false));
    other->Release();
    EXPECT_EQ(library.GetSuit("ghost"), nullptr);
    EXPECT_EQ(library.GetSuit("nobody"), nullptr);
}

TEST_F(CharacterLibraryTest, ASuitIdleJustOverTwoMinutesGoesAtTheNextCheckAndIsReadAgain) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    Suit* suit = library.GetSuit("test-suit");
    ASSERT_NE(suit, nullptr);
    suit->AddDressing();
    now += 5000;
    suit->RemoveDressing(now);
    const uint32_t undressed = now;

    now = undressed + CharacterLibrary::kIdleBeforeExpiry;  // not past 120 s yet
    library.ExpireUnused(now);
    EXPECT_NE(library.Suits().at("test-suit").object, nullptr);
    now += 1;  // just over, but within 30 s of the last check
    library.ExpireUnused(now);
    EXPECT_NE(library.Suits().at("test-suit").object, nullptr);
    now += CharacterLibrary::kExpiryCheckInterval;
    library.ExpireUnused(now);
    EXPECT_EQ(library.Suits().at("test-suit").object, nullptr);
    EXPECT_FALSE(library.Suits().at("test-suit").loaded);
    // Skeletons never expire.
    EXPECT_NE(library.Skeletons().at("test-skel").object, nullptr);

    Suit* again = library.GetSuit("test-suit");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->skins.size(), 1u);
}

TEST_F(CharacterLibraryTest, ASkillNeverPlayedExpiresCountedFromItsReading) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    ASSERT_NE(library.GetSkill("test-wave"), nullptr);
    // A played skill stays.
    library.GetSkillData("test-wave")->practices = 1;
    now += 200000;
    library.ExpireUnused(now);
    EXPECT_NE(library.Skills().at("test-wave").object, nullptr);
    library.GetSkillData("test-wave")->practices = 0;
    now += 40000;
    library.ExpireUnused(now);
    EXPECT_EQ(library.Skills().at("test-wave").object, nullptr);
    // The view the people kept answers on, and a lookup reads it again.
    const iSkill* view = library.GetSkill("test-wave");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->FrameCount(), 4);
}

TEST_F(CharacterLibraryTest, IdleTimesSurviveTheClockWrapping) {
    now = 0xFFFFFF00u;
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    now += 130000;  // wrapped past zero
    library.ExpireUnused(now);
    EXPECT_EQ(library.Skills().at("test-wave").object, nullptr);
}

TEST_F(CharacterLibraryTest, MeshesComeFromBinaryFilesFirstThenText) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    Suit* suit = library.GetSuit("test-suit");
    ASSERT_NE(suit, nullptr);
    library.LoadSuitMeshes(*suit);
    ASSERT_NE(suit->skins[0]->Mesh(), nullptr);
    EXPECT_EQ(suit->skins[0]->Mesh()->skin, suit->skins[0].get());
    EXPECT_EQ(suit->skins[0]->Mesh()->material, "checker");

    BodyMesh other = MakeCubeMesh();
    other.material = "from-bmf";
    t.Write("chars/cube.bmf", WriteBodyMesh(other, false));
    auto mesh = library.LoadMesh(suit->searchList, "cube");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->material, "from-bmf");
    EXPECT_EQ(library.LoadMesh(suit->searchList, "nothing"), nullptr);
}

TEST_F(CharacterLibraryTest, SkillViewsCarryTravelEventsAndRootTranslations) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    library.SetAnimationFolders(Path("anim"));
    const int64_t before = GetKeyframeCounters().filesLoaded;
    const iSkill* skill = library.GetSkill("test-wave");
    ASSERT_NE(skill, nullptr);
    EXPECT_EQ(GetKeyframeCounters().filesLoaded, before + 1);
    EXPECT_EQ(skill->GetName(), "test-wave");
    EXPECT_EQ(skill->FrameCount(), 4);
    EXPECT_FLOAT_EQ(skill->Duration(), 400);
    EXPECT_FLOAT_EQ(skill->Travel(), 3);
    EXPECT_FALSE(skill->Loops());
    ASSERT_EQ(skill->Motions().size(), 2u);
    const SkillTrack& root = skill->Motions()[0];
    EXPECT_EQ(root.bone, "ROOT");
    ASSERT_EQ(root.translations.size(), 4u);
    EXPECT_FLOAT_EQ(root.translations[2][0], 2);
    ASSERT_EQ(root.properties.size(), 2u);
    EXPECT_EQ(root.properties[1].frame, 2);
    EXPECT_EQ(root.properties[1].pairs[1].name, "sound");
    EXPECT_TRUE(library.HasSuit("test-suit"));
    EXPECT_FALSE(library.HasSuit("nothing"));
}

TEST_F(CharacterLibraryTest, MissingKeyframesAreReported) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    const iSkill* skill = library.GetSkill("test-wave");
    ASSERT_NE(skill, nullptr);
    EXPECT_TRUE(skill->Motions()[0].translations.empty());
    EXPECT_FALSE(library.GetSkillData("test-wave")->motionDataLoaded);
    EXPECT_EQ(TakeCharacterReport(),
              "The skill \"test-wave\" could not be loaded because the CFP file \"test-wave.cfp\" is not present.");
}

TEST_F(CharacterLibraryTest, ConversionWritesFilesThatReadToTheSameObjects) {
    std::string before;
    std::vector<std::string> written;
    {
        CharacterLibrary library(nullptr, clock);
        library.SetAnimationFolders(Path("anim"));
        library.ScanCharacterFiles({Folder("chars")}, true, "all", Folder("out"));
        written = library.WrittenFiles();
        for (const auto& [n, e] : library.Skeletons()) before += DumpSkeleton(*library.GetSkeleton(n));
        for (const auto& [n, e] : library.Suits()) before += DumpSuit(*library.GetSuit(n));
    }
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[0], Folder("out") + "cube.bmf");
    EXPECT_EQ(written[1], Folder("out") + "test-wave.cfp");
    EXPECT_EQ(written[2], Folder("out") + "test.bcf");
    EXPECT_EQ(written[3], Folder("out") + "all.ndx");

    CharacterLibrary converted(nullptr, clock);
    converted.SetCharacterFolders(Path("out"));
    std::string after;
    for (const auto& [n, e] : converted.Skeletons()) after += DumpSkeleton(*converted.GetSkeleton(n));
    for (const auto& [n, e] : converted.Suits()) {
        Suit* suit = converted.GetSuit(n);
        converted.LoadSuitMeshes(*suit);
        after += DumpSuit(*suit);
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(converted.Skills().at("test-wave").file, "test.bcf");
    EXPECT_EQ(converted.GetSkill("test-wave")->Travel(), 3);
}

TEST_F(CharacterLibraryTest, EmptyingTheCachesAndSettingTheFoldersAgainRefills) {
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    Suit* suit = library.GetSuit("test-suit");
    suit->AddDressing();
    EXPECT_EQ(library.ActiveSuits(), (std::vector<std::pair<std::string, int32_t>>{{"test-suit", 1}}));
    suit->RemoveDressing(now);
    library.EmptyCaches();
    EXPECT_TRUE(library.Suits().empty());
    library.SetCharacterFolders(Path("chars"));
    EXPECT_NE(library.GetSuit("test-suit"), nullptr);
    EXPECT_EQ(CharacterLibrary::Instance(), &library);
}

TEST_F(CharacterLibraryTest, KeyframeCountsAFileCouldNeverHoldAreRefused) {
    Skill* skill = MakeTestSkill("huge");
    skill->translationCount = 0x7FFFFFF0;
    t.Write("big/huge.bcf", WriteCharacterFile({{}, {}, {skill}}, false));
    skill->Release();
    t.Write("big/huge.cfp", TestKeyframeFile());
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("big"));
    Skill* read = library.GetSkillData("huge");
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(library.LoadKeyframes(*read));
    EXPECT_FALSE(read->motionDataLoaded);
}

TEST_F(CharacterLibraryTest, AShortCompressedFileStillCountsAsLoaded) {
    t.Write("anim/test-wave.cfp", TestKeyframeFile().substr(0, 6));
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("chars"));
    library.SetAnimationFolders(Path("anim"));
    Skill* skill = library.GetSkillData("test-wave");
    ASSERT_TRUE(library.LoadKeyframes(*skill));
    EXPECT_TRUE(skill->motionDataLoaded);
    EXPECT_EQ(skill->translations[3], (Vector3{0, 0, 0}));
    EXPECT_EQ(skill->rotations[7].w, 1.0f);
}

TEST_F(CharacterLibraryTest, AnUpperCaseCmxFileIsScannedAsText) {
    t.Write("upper/TEST.CMX", TestCharacterFile(true));
    CharacterLibrary library(nullptr, clock);
    library.SetCharacterFolders(Path("upper"));
    ASSERT_NE(library.GetSkeleton("test-skel"), nullptr);
    EXPECT_EQ(library.Skeletons().at("test-skel").file, "TEST.CMX");
    EXPECT_EQ(TakeCharacterReport(), "");
}
