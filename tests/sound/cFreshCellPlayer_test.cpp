#include "sound/cFreshCellPlayer.h"

#include <cmath>
#include <set>

#include "FreshFixture.h"
#include "sound/cGZSnd3D.h"

using namespace sound_test;

namespace {

class FreshCellTest : public FreshTest {
protected:
    // A one-cell score; the cell player at (0, 0) after a start and the
    // beats that load and play its clip.
    cFreshCellPlayer* PlayOne(cFreshCell cell, uint32_t seed = 1, double seconds = 0.3) {
        cFreshScore score;
        score.header.rows = 1;
        score.header.columns = 1;
        score.header.volume = scoreVolume;
        score.SetCell(0, 0, std::make_unique<cFreshCell>(std::move(cell)));
        Load(score, seed, seconds);
        cFreshCellPlayer* cp = player->CellPlayer(0, 0);
        EXPECT_TRUE(cp->StartCell(player->Score()->Cell(0, 0)));
        EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kStarted);
        cp->BeatCell(false, 5);
        cp->BeatCell(false, 1);
        return cp;
    }
    cGZSnd3D* Clip(cFreshCellPlayer* cp) { return static_cast<cGZSnd3D*>(cp->GetClip()); }

    int32_t scoreVolume = 1024;
};

}  // namespace

TEST_F(FreshCellTest, PitchesPlayAtOneOfTheFiveRatiosOfTheRange) {
    const double ratios[5] = {std::pow(2.0, -2 / 12.0), std::pow(2.0, -1 / 12.0), 1.0, std::pow(2.0, 1 / 12.0),
                              std::pow(2.0, 2 / 12.0)};
    std::set<int> seen;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        cFreshCellPlayer* cp = PlayOne({.pitchLow = -2, .pitchHigh = 2, .name = "a.wav"}, seed);
        ASSERT_EQ(cp->GetState(), cFreshCellPlayer::kPlaying) << seed;
        const double frequency = Clip(cp)->GetFrequency();
        int found = -1;
        for (int i = 0; i < 5; ++i)
            if (std::abs(frequency - 22050 * ratios[i]) <= 1.0) found = i;
        ASSERT_GE(found, 0) << frequency;
        seen.insert(found);
        EXPECT_GE(Clip(cp)->MinDistance(), 100.0f);
        EXPECT_EQ(Clip(cp)->MaxDistance(), 100000.0f);
    }
    EXPECT_GE(seen.size(), 4u);
    // No range, no change.
    EXPECT_EQ(Clip(PlayOne({.name = "b.wav"}))->GetFrequency(), 22050u);
}

TEST_F(FreshCellTest, PlacementAroundTheListener) {
    struct Case {
        int32_t across, depth;
        bool random;
        int32_t forced;
        float x, z;
    };
    for (const Case c : {Case{1024, 512, false, -1, 100, 0}, Case{0, 1024, false, -1, -100, 100},
                         Case{768, 256, false, -1, 50, -50}, Case{512, 512, true, 2, -100, 0},
                         Case{512, 512, true, 0, 0, 100}, Case{512, 512, false, 0, 0, 0}}) {
        cFreshCellPlayer::ForceDirection(c.forced);
        cFreshCellPlayer* cp = PlayOne({.across = c.across, .depth = c.depth, .randomPlace = c.random, .name = "a.wav"});
        float x = 1, y = 1, z = 1;
        ASSERT_TRUE(Clip(cp)->GetPosition(x, y, z));
        EXPECT_EQ(x, c.x) << c.across << " " << c.depth;
        EXPECT_EQ(y, 0.0f);
        EXPECT_EQ(z, c.z) << c.across << " " << c.depth;
    }
    cFreshCellPlayer::ForceDirection(-1);
    // A centred axis with random placement goes to one side or the other.
    std::set<float> sides;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        cFreshCellPlayer* cp = PlayOne({.across = 512, .depth = 0, .randomPlace = true, .name = "a.wav"}, seed);
        float x, y, z;
        Clip(cp)->GetPosition(x, y, z);
        EXPECT_EQ(z, -100.0f);
        sides.insert(x);
    }
    EXPECT_EQ(sides, (std::set<float>{-100.0f, 100.0f}));
}

TEST_F(FreshCellTest, VolumesFadeInAndRandomReduction) {
    scoreVolume = 512;
    cFreshCellPlayer* cp = PlayOne({.volume = 512, .name = "a.wav"});
    // The player's volume starts at the score's.
    EXPECT_EQ(Clip(cp)->GetVolume(), 512 * 512 / 1024 * 512 / 1024);
    player->SetVolume(1024);
    EXPECT_EQ(Clip(cp)->GetVolume(), 512 * 1024 / 1024 * 512 / 1024);

    // A fade-in rises from 0 to value 1 x player volume / 1024 over 2000 ms.
    scoreVolume = 1024;
    cp = PlayOne({.volume = 600, .fadeIn = 1, .counted = true, .name = "a.wav"}, 1, 3.0);
    EXPECT_EQ(Clip(cp)->GetVolume(), 0);
    sink.Advance(1000);
    EXPECT_GT(Clip(cp)->GetVolume(), 0);
    EXPECT_LT(Clip(cp)->GetVolume(), 600);
    sink.Advance(1100);
    EXPECT_EQ(Clip(cp)->GetVolume(), 600);

    std::set<int32_t> levels;
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        cp = PlayOne({.volume = 900, .randomVolume = true, .fadeIn = 1, .name = "a.wav"}, seed, 3.0);
        sink.Advance(2100);
        const int32_t v = Clip(cp)->GetVolume();
        EXPECT_LE(v, 900);
        EXPECT_GT(v, 900 - 900 * 1024 / 3072);
        levels.insert(v);
    }
    EXPECT_GT(levels.size(), 5u);
}

TEST_F(FreshCellTest, AClipThatFailsToLoadLeavesThePlaceIdleAndChoosable) {
    for (const char* name : {"missing.wav", "refused.wav"}) {
        cFreshCellPlayer* cp = PlayOne({.probabilityClass = 20, .name = name});
        EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kIdle) << name;
        EXPECT_EQ(cp->GetClip(), nullptr);
        EXPECT_EQ(observer.lines, (std::vector<std::string>{std::string("start 0 0 ") + name,
                                                            std::string("stop 0 0 ") + name}));
        observer.lines.clear();
        EXPECT_EQ(player->Eligibility(0, 0, 0), 100) << name;
    }
    EXPECT_EQ(cGZSnd::LiveCount(), 1u);
}

TEST_F(FreshCellTest, FinishThenStopReleasesTheClipOnce) {
    cFreshCellPlayer* cp = PlayOne({.fadeOut = 300, .counted = true, .name = "a.wav"}, 1, 1.0);
    ASSERT_EQ(cp->GetState(), cFreshCellPlayer::kPlaying);
    cIGZSnd3D* clip = cp->GetClip();
    EXPECT_EQ(clip->AddRef(), 2u);
    cp->FinishCell();
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kDraining);
    EXPECT_TRUE(cp->IsFinishing());
    cp->BeatCell(false, 2);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kDraining);  // still fading
    sink.Advance(400);
    EXPECT_EQ(clip->GetVolume(), 0);
    cp->BeatCell(false, 3);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kIdle);
    EXPECT_EQ(cp->GetClip(), nullptr);
    // The player gave back its one reference: ours is the last.
    EXPECT_EQ(clip->Release(), 0u);
    EXPECT_EQ(cGZSnd::LiveCount(), 1u);
    EXPECT_EQ(observer.lines, (std::vector<std::string>{"start 0 0 a.wav", "finish 0 0 a.wav", "stop 0 0 a.wav"}));

    // Without a fade-out time a finish stops at once; idle cells stay idle.
    cp = PlayOne({.counted = true, .name = "a.wav"});
    cp->FinishCell();
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kIdle);
    cp->FinishCell();
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kIdle);
    EXPECT_EQ(cGZSnd::LiveCount(), 1u);
}

TEST_F(FreshCellTest, CountedCellsRepeatUntilMarkedAndSingleClipsEndByThemselves) {
    cFreshCellPlayer* cp = PlayOne({.beats = 3, .counted = true, .name = "a.wav"}, 1, 0.2);
    EXPECT_EQ(cp->BeatsLeft(), 3);
    for (int beat = 2; beat <= 7; ++beat) {
        sink.Advance(500);
        cp->BeatCell(false, beat);
        ASSERT_EQ(cp->GetState(), cFreshCellPlayer::kPlaying) << beat;
    }
    EXPECT_TRUE(Clip(cp)->IsPlaying());  // looping
    EXPECT_EQ(cp->BeatsLeft(), 3);
    cp->MarkFinishing();
    cp->BeatCell(false, 8);  // 3 -> 2: not the last beat, so it stops
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kIdle);

    // Loaded cells wait for the first beat of a bar; a bar-synchronised one
    // does not start late.
    cFreshScore score;
    score.header.rows = 1;
    score.header.columns = 1;
    score.SetCell(0, 0, std::make_unique<cFreshCell>(cFreshCell{.counted = false, .barSync = true, .name = "s.wav"}));
    Load(score, 1, 0.2);
    cp = player->CellPlayer(0, 0);
    ASSERT_TRUE(cp->StartCell(player->Score()->Cell(0, 0)));
    EXPECT_FALSE(cp->StartCell(player->Score()->Cell(0, 0)));  // busy
    cp->BeatCell(false, 7);
    cp->BeatCell(false, 8);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kLoaded);
    cp->BeatCell(true, 1);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kLoaded);
    cp->BeatCell(false, 1);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kPlaying);
    cp->BeatCell(false, 2);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kPlaying);
    sink.Advance(300);
    cp->BeatCell(false, 3);
    EXPECT_EQ(cp->GetState(), cFreshCellPlayer::kIdle);
    EXPECT_EQ(driver.HoldCount(), 0);
}
