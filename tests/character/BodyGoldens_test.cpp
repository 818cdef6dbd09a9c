// Pictures of "adult" through the real device: at rest, waving, selected,
// and the chrview rendering form that draws them.
#include "character/BodyPicture.h"

#include "character/CharacterBody.h"
#include "character/CharacterLibrary.h"
#include "character/RenderObject.h"
#include "character/Skill.h"
#include "StarterData.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace tova;
using chr::BodyPicture;
using chr::CharacterBody;

namespace {

std::vector<LightRecord> StandardLights() {
    const std::string old = GetLightSearchPath();
    SetLightSearchPath(chartest::StarterRoot() + "Lights");
    std::vector<LightRecord> lights;
    EXPECT_EQ(LoadLightSet("stdlight", lights), 0u);
    SetLightSearchPath(old);
    return lights;
}

class BodyGoldens : public ::testing::Test {
protected:
    void SetUp() override {
        chartest::LoadStarter(library);
        ASSERT_EQ(picture.Status(), 0u);
        ASSERT_EQ(body.Init(nullptr, "adult", "", ""), 0);
        ASSERT_TRUE(body.AddDressing("b001fa_fit", "b001fa_lgt", 0));
        ASSERT_TRUE(body.AddDressing("c001fa_round", "", 0));
    }
    ::testing::AssertionResult Shows(const char* name, int32_t now) {
        body.Update(kIdentityTransform, now);
        if (!framed) picture.Frame(body);
        framed = true;
        const cRZRect rect = picture.Draw(body);
        if (IsEmptyScreenRect(rect)) return ::testing::AssertionFailure() << name << ": nothing drawn";
        return tova_test::MatchesGolden(picture.Picture(), std::string("character/golden/") + name);
    }
    CharacterLibrary library;
    BodyPicture picture{chartest::StarterRoot() + "Textures", StandardLights()};
    CharacterBody body{library, &picture.Device()};
    bool framed = false;
};

TEST_F(BodyGoldens, AdultAtRest) { EXPECT_TRUE(Shows("adult_rest.png", 0)); }

TEST_F(BodyGoldens, AdultWaving) {
    Skill* wave = library.GetSkillData("a2o-wave");
    ASSERT_NE(wave, nullptr);
    ASSERT_NE(body.AddPractice(*wave, 1, 1.0f, 1.0f, 0), nullptr);
    EXPECT_TRUE(Shows("adult_wave_0.png", 0));
    EXPECT_TRUE(Shows("adult_wave_250.png", 250));
    EXPECT_TRUE(Shows("adult_wave_500.png", 500));
}

TEST_F(BodyGoldens, AdultSelected) {
    body.SetSelected(true);
    EXPECT_TRUE(Shows("adult_selected.png", 0));
}

TEST(ChrviewPose, WritesOnePictureATimeWithItsRectAndEvents) {
    tova_test::TempFolder t;
    const auto run = tova_test::RunProgram(
        "chrview", {"--data", chartest::StarterRoot(), "--skeleton", "adult", "--suit", "b001fa_fit=b001fa_lgt",
                    "--skill", "a2o-walkingloop", "--t", "0,250", "--out", t / "p.png"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int frames = 0;
    while (std::getline(lines, line)) {
        int32_t ms, l, top, r, b;
        char word[16] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "t %d rect %d %d %d %d %15s", &ms, &l, &top, &r, &b, word), 6) << line;
        EXPECT_EQ(ms, frames == 0 ? 0 : 250);
        EXPECT_LT(l, r) << line;
        EXPECT_LT(top, b) << line;
        EXPECT_STREQ(word, "events");
        ++frames;
    }
    EXPECT_EQ(frames, 2);
    const std::string first = t.Read("p-0.png"), second = t.Read("p-1.png");
    EXPECT_FALSE(first.empty());
    EXPECT_FALSE(second.empty());
    EXPECT_NE(first, second);

    const auto wave = tova_test::RunProgram(
        "chrview", {"--data", chartest::StarterRoot(), "--skeleton", "adult", "--suit", "b001fa_fit", "--skill",
                    "a2o-wave", "--t", "0,500,1000", "--out", t / "w.png"});
    ASSERT_EQ(wave.code, 0) << wave.out;
    EXPECT_NE(wave.out.find(" events sound=wave\n"), std::string::npos) << wave.out;
    EXPECT_NE(wave.out.find(" events wave=2\n"), std::string::npos) << wave.out;

    const auto unknown = tova_test::RunProgram(
        "chrview", {"--data", chartest::StarterRoot(), "--skeleton", "nobody", "--out", t / "n.png"});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.out, "error: unknown skeleton \"nobody\"\n");
}

}  // namespace
