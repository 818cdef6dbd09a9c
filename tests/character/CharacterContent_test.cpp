// The starter content's character set: the description compiles into text,
// binary and index files that the library and the people read.
#include "character/CharacterLibrary.h"
#include "character/CharacterReport.h"
#include "character/PropertyList.h"
#include "character/Skill.h"
#include "character/Suit.h"
#include "framework/CTGFileManager.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace tova;

namespace {

const std::string kCharacterContent = std::string(TOVA_SOURCE_DIR) + "/content/";

// The entries of one string table of a resource source ("strings N ..."
// up to "end"), quotes removed, empty ones skipped.
std::vector<std::string> SourceStrings(const std::string& file, int id) {
    std::ifstream in(kCharacterContent + file);
    std::string line;
    std::vector<std::string> out;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.rfind("strings " + std::to_string(id) + " ", 0) == 0) {
            inside = true;
        } else if (inside && line == "end") {
            break;
        } else if (inside && line.size() > 2 && line.front() == '"') {
            out.push_back(line.substr(1, line.size() - 2));
        }
    }
    return out;
}

// The suit names of the template's body strings ("suit,BONE=texture").
std::vector<std::string> TemplateSuits() {
    std::vector<std::string> suits;
    for (const std::string& s : SourceStrings("GameData/Objects/PersonTemplate.res", 200)) {
        const size_t comma = s.find(',');
        if (comma != std::string::npos) suits.push_back(s.substr(0, comma));
    }
    for (const std::string& s : SourceStrings("GameData/Objects/PersonTemplate.res", 304)) suits.push_back(s);
    suits.push_back("adult-censor");
    return suits;
}

class StarterCharacterHost : public iCharacterDataHost {
public:
    std::unique_ptr<iLoadableCharacterLibrary> MakeLibrary(iDevice3D* context) override {
        return MakeCharacterLibrary(context);
    }
    std::vector<std::string> ObjectFolders() const override { return {}; }
    CTGFileManager& Files() override { return files; }
    CTGFileManager files;
};

class CharacterContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new tova_test::TempFolder;
        const auto run = tova_test::CompileContent({"--out", *root / "data", kCharacterContent + "Skins/adult.chr"});
        ASSERT_EQ(run.code, 0) << run.err;
    }
    static void TearDownTestSuite() {
        delete root;
        root = nullptr;
    }
    static tova_test::TempFolder* root;
};
tova_test::TempFolder* CharacterContentTest::root = nullptr;

}  // namespace

TEST_F(CharacterContentTest, ThePeopleFindEverySkillAndSuitOfTheTemplate) {
    StarterCharacterHost host;
    SetCharacterDataHost(&host);
    LoadCharacterData(nullptr, *root / "data/");
    iCharacterLibrary* library = GetCharacterLibrary();
    ASSERT_NE(library, nullptr);
    int names = 0;
    for (int table : {128, 130, 150, 154, 156}) {
        for (const std::string& name : SourceStrings("GameData/Global/Global.res", table)) {
            const iSkill* skill = library->GetSkill(name);
            ASSERT_NE(skill, nullptr) << name;
            EXPECT_GT(skill->FrameCount(), 0) << name;
            ++names;
        }
    }
    EXPECT_EQ(names, 55);
    const iSkill* walk = library->GetSkill("a2o-walkingloop");
    EXPECT_TRUE(walk->Loops());
    EXPECT_GT(walk->Travel(), 0);
    EXPECT_FALSE(library->GetSkill("a2o-wave")->Loops());
    // The walk's feet are planted at its anchors.
    int anchors = 0;
    for (const SkillTrack& m : walk->Motions()) {
        for (const TimeProperty& p : m.properties) anchors += p.pairs[0].name == "anchor" ? 1 : 0;
    }
    EXPECT_EQ(anchors, 2);
    const std::vector<std::string> suits = TemplateSuits();
    EXPECT_EQ(suits.size(), 21u);
    for (const std::string& suit : suits) EXPECT_TRUE(library->HasSuit(suit)) << suit;

    auto* real = static_cast<CharacterLibrary*>(GetCharacterDataManager());
    const Suit* before = real->GetSuit("apron");
    const size_t skills = real->Skills().size();
    ReloadCharacterData();
    EXPECT_EQ(real->Skills().size(), skills);
    EXPECT_NE(real->GetSuit("apron"), nullptr);
    EXPECT_NE(real->GetSuit("apron"), before);
    EXPECT_TRUE(library->GetSkill("a2o-walkingloop")->Loops());
    ReleaseCharacterData();
    SetCharacterDataHost(nullptr);
}

TEST_F(CharacterContentTest, TheSkillsBinaryFileAndIndexHoldTheSameSkills) {
    CharacterLibrary binary;
    binary.SetAnimationFolders(cRZSearchPath((*root / "data/cmx/" + ";" + *root / "data/Animation/;").c_str()));
    ASSERT_EQ(binary.Skills().count("a2o-wave"), 1u);
    EXPECT_FALSE(binary.Skills().at("a2o-wave").loaded);
    Skill* wave = binary.GetSkillData("a2o-wave");
    ASSERT_NE(wave, nullptr);
    EXPECT_TRUE(binary.Skills().at("a2o-walkingloop").loaded);
    ASSERT_TRUE(binary.LoadKeyframes(*wave));
    const Motion* hand = wave->FindMotion("R_HAND");
    ASSERT_NE(hand, nullptr);
    ASSERT_NE(hand->Events(), nullptr);
    EXPECT_EQ(hand->Events()->Count(), 2);
}

TEST_F(CharacterContentTest, ChrviewDumpsTheSameAfterConversion) {
    const auto dump = tova_test::RunProgram("chrview", {"--data", *root / "data", "--dump"});
    ASSERT_EQ(dump.code, 0) << dump.out << dump.err;
    EXPECT_NE(dump.out.find("skeleton adult bones 16\n"), std::string::npos);
    EXPECT_NE(dump.out.find("  bone ROOT parent NULL flags 1 1 1 wiggle 0 0.000000\n"), std::string::npos);
    const auto convert = tova_test::RunProgram("chrview", {"--data", *root / "data", "--convert", *root / "conv"});
    ASSERT_EQ(convert.code, 0) << convert.out << convert.err;
    EXPECT_NE(convert.out.find(*root / "conv/adult.bcf\n"), std::string::npos) << convert.out;
    EXPECT_NE(convert.out.find(*root / "conv/characters.ndx\n"), std::string::npos);
    EXPECT_NE(convert.out.find(*root / "conv/a2o-wave.cfp\n"), std::string::npos);
    const auto again = tova_test::RunProgram("chrview", {"--folders", *root / "conv", "--dump"});
    ASSERT_EQ(again.code, 0) << again.out << again.err;
    EXPECT_EQ(again.out, dump.out);
}

TEST_F(CharacterContentTest, ChrviewListsIndexEntriesUntilTheyAreLookedUp) {
    tova_test::TempFolder t;
    t.Write("root/Animation/adult-skills.ndx", root->Read("data/cmx/adult-skills.ndx"));
    t.Write("root/Animation/adult-skills.bcf", root->Read("data/cmx/adult-skills.bcf"));
    const auto before = tova_test::RunProgram("chrview", {"--data", t / "root", "--list"});
    ASSERT_EQ(before.code, 0) << before.out;
    EXPECT_NE(before.out.find("skill a2o-wave adult-skills.bcf index\n"), std::string::npos) << before.out;
    const auto after = tova_test::RunProgram("chrview", {"--data", t / "root", "--dump", "--list"});
    EXPECT_NE(after.out.find("skill a2o-wave adult-skills.bcf loaded\n"), std::string::npos);
    // The keyframes are missing there: each skill reports it and the exit is 1.
    EXPECT_EQ(after.code, 1);
    EXPECT_NE(after.out.find("The skill \"a2o-wave\" could not be loaded because the CFP file \"a2o-wave.cfp\" is "
                             "not present."),
              std::string::npos);
}

TEST_F(CharacterContentTest, ChrviewReportsAFileItCannotRead) {
    tova_test::TempFolder t;
    t.Write("bad/broken.cmx", "header\nheader\n1\nadult\n5\n");
    const auto run = tova_test::RunProgram("chrview", {"--folders", t / "bad", "--list"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "CMX file \"broken.cmx\" could not be read. \n");
}

TEST(CharacterSource, BadDescriptionsNameTheirLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"skeleton a\nbone ROOT - 0 0\n", "a.chr:2: "},
        {"skeleton a\nbone ROOT - 0 0 0\nskin ROOT m 0.1 t\n", "a.chr:3: "},
        {"skeleton a\nbone ROOT - 0 0 0\nskill s 0 100\n", "a.chr:3: "},
        {"skeleton a\nbone ROOT - 0 0 0\nskill s 4 100\nevent ROOT 4 a=1\n", "a.chr:4: "},
        {"skeleton a\nbone ROOT - 0 0 0\nskill s 4 100\nevent ROOT 1 novalue\n", "a.chr:4: "},
        {"bone ROOT - 0 0 0\n", "a.chr: no skeleton"},
        {"skeleton a\nwobble\n", "a.chr:2: "},
    };
    for (const auto& c : cases) {
        tova_test::TempFolder t;
        t.Write("a.chr", c.text);
        const auto run = tova_test::CompileContent({"--out", t / "root", t / "a.chr"});
        EXPECT_EQ(run.code, 1) << c.text;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.text << run.err;
    }
}
