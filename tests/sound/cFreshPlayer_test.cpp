#include "sound/cFreshPlayer.h"

#include "FreshFixture.h"
#include "framework/cGZFrameWork.h"

using namespace sound_test;

namespace {

// One row of cells, each a clip of its own.
void Row(cFreshScore& score, const std::vector<int32_t>& classes, int32_t group = 0) {
    score.header.rows = 1;
    score.header.columns = int32_t(classes.size());
    for (size_t c = 0; c < classes.size(); ++c)
        score.SetCell(0, int32_t(c), std::make_unique<cFreshCell>(cFreshCell{
                                         .probabilityClass = classes[c], .group = group,
                                         .name = "c" + std::to_string(c) + ".wav"}));
}

}  // namespace

TEST_F(FreshTest, PositionsScaleQuantiseAndKeepTheRangeInsideTheGrid) {
    struct Case {
        int32_t quantise, position, row;
    };
    for (const Case c : {Case{1, 1000, 7}, Case{1, 0, 2}, Case{1, 500, 7}, Case{1, 200, 2}, Case{0, 1000, 7},
                         Case{0, 300, 3}, Case{0, -50, 2}, Case{0, 5000, 7}}) {
        cFreshScore score;
        score.header.rows = 10;
        score.header.columns = 10;
        score.header.quantise = c.quantise;
        Load(score);
        player->SetRow(c.position);
        EXPECT_EQ(player->GetRow(), c.row) << c.quantise << " " << c.position;
        player->SetColumn(c.position);
        EXPECT_EQ(player->GetColumn(), c.row) << c.quantise << " " << c.position;
    }
    int32_t r = 0, k = 0;
    player->SetRadii(1, 3);
    player->GetRadii(r, k);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(k, 3);
    player->SetRow(300);
    EXPECT_TRUE(player->InRange(2, 10 - 3));
    EXPECT_FALSE(player->InRange(1, 3));
}

TEST_F(FreshTest, AClassTwentyCellAlwaysWinsOverLowerClasses) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        cFreshScore score;
        Row(score, {19, 20, 19, 5});
        Load(score, seed);
        player->SetColumn(400);
        int32_t r = -1, c = -1;
        ASSERT_TRUE(player->ChooseCell(0, r, c)) << seed;
        EXPECT_EQ(c, 1) << seed;
        EXPECT_EQ(player->Eligibility(0, 1, 0), 100);
    }
}

TEST_F(FreshTest, EligibilityWeighsGroupsConflictsClassesAndTheLastFinishedCell) {
    cFreshScore score;
    Row(score, {10, 10, 0, 19});
    score.Cell(0, 0)->group = 5;
    score.Cell(0, 1)->group = 5;
    score.Cell(0, 3)->conflicts = {{0, 1}};
    Load(score);
    player->SetColumn(500);
    EXPECT_EQ(player->EligibleCount(), 3);
    EXPECT_EQ(player->Eligibility(0, 2, 0), 0);  // class 0
    EXPECT_EQ(player->Eligibility(0, 1, 5), 2);  // the wanted group
    EXPECT_EQ(player->Eligibility(0, 3, 0), 1);  // class 19 beats every draw

    // A sounding member of a group keeps the others of it out; a conflict
    // keeps out the cell that names it.
    player->StartCellAt(0, 1);
    EXPECT_TRUE(player->CellPlayer(0, 1)->IsBusy());
    EXPECT_EQ(player->Eligibility(0, 0, 5), 0);
    EXPECT_EQ(player->Eligibility(0, 3, 0), 0);
    EXPECT_EQ(player->Eligibility(0, 1, 5), 0);  // busy itself
    player->RefreshCounts();
    EXPECT_EQ(player->EligibleCount(), 0);
    // Once it finishes it no longer sounds for them.
    player->CellPlayer(0, 1)->MarkFinishing();
    EXPECT_EQ(player->Eligibility(0, 0, 5), 2);
    EXPECT_EQ(player->Eligibility(0, 3, 0), 1);
    EXPECT_EQ(player->FinishingCount(), 1);

    // The cell last finished by place is not chosen again.
    player->FinishCellAt(0, 1);
    EXPECT_FALSE(player->CellPlayer(0, 1)->IsBusy());
    EXPECT_EQ(player->Eligibility(0, 1, 5), 0);
    EXPECT_EQ(observer.lines, (std::vector<std::string>{"start 0 1 c1.wav", "finish 0 1 c1.wav", "stop 0 1 c1.wav"}));
}

TEST_F(FreshTest, TheProbabilityTableSharesAClassChanceAmongTheEligibleCells) {
    // Class 10 (32767 of 32768) among four eligible cells: about a quarter.
    cFreshScore score;
    Row(score, {10, 10, 10, 10});
    Load(score, 7);
    player->SetColumn(500);
    player->SetRadii(0, 4);
    ASSERT_EQ(player->EligibleCount(), 4);
    int hits = 0;
    for (int i = 0; i < 4000; ++i) hits += player->Eligibility(0, 0, 0);
    EXPECT_GT(hits, 800);
    EXPECT_LT(hits, 1200);
    // Alone, class 1 (600) comes about once in 55 draws.
    cFreshScore lone;
    Row(lone, {1});
    Load(lone, 7);
    ASSERT_EQ(player->EligibleCount(), 1);
    hits = 0;
    for (int i = 0; i < 11000; ++i) hits += player->Eligibility(0, 0, 0);
    EXPECT_GT(hits, 120);
    EXPECT_LT(hits, 280);
}

TEST_F(FreshTest, TheBeatClockFollowsTheTempoAndSetTempoKeepsTheCount) {
    cFreshScore score;
    Row(score, {0});
    score.header.tempo = 120;
    Load(score);
    ASSERT_TRUE(player->Start());
    EXPECT_TRUE(driver.HasTimer());
    EXPECT_EQ(player->BeatCounter(), 7);
    EXPECT_EQ(player->CurrentBeat(), 7);
    sink.Advance(1000);  // beats at 100, 500 and 1000 ms
    EXPECT_EQ(player->BeatCounter(), 10);
    EXPECT_EQ(player->CurrentBeat(), 2);
    player->SetTempo(60);
    EXPECT_EQ(player->BeatCounter(), 10);
    sink.Advance(100);  // the restarted clock beats at once
    EXPECT_EQ(player->BeatCounter(), 11);
    sink.Advance(800);
    EXPECT_EQ(player->BeatCounter(), 11);
    sink.Advance(100);
    EXPECT_EQ(player->BeatCounter(), 12);
    // Paused, it stands still.
    player->SetPauseValue(1);
    sink.Advance(3000);
    EXPECT_EQ(player->BeatCounter(), 12);
    player->SetPauseValue(0);
    player->Stop();
    EXPECT_FALSE(driver.HasTimer());
    EXPECT_EQ(driver.PlayerCount(), 0u);
}

TEST_F(FreshTest, ATempoOfZeroNeverBeats) {
    cFreshScore score;
    Row(score, {20});
    score.header.tempo = 0;
    Load(score);
    ASSERT_TRUE(player->Start());
    sink.Advance(5000);
    EXPECT_EQ(player->BeatCounter(), 7);
    EXPECT_TRUE(observer.lines.empty());
}

TEST_F(FreshTest, FadeToZeroStepsFiftyEveryTwoHundredMsAndStopsThePlayer) {
    cFreshScore score;
    Row(score, {0});
    score.header.volume = 1000;
    Load(score);
    EXPECT_FALSE(player->FadeTo(2000, 0, 1));  // not playing
    ASSERT_TRUE(player->Start());
    EXPECT_FALSE(player->FadeTo(2000, 1000, 1));  // not below the volume
    ASSERT_TRUE(player->FadeTo(2000, 0, 1));
    EXPECT_FALSE(player->FadeTo(2000, 0, 1));  // already fading
    for (int step = 1; step <= 20; ++step) {
        sink.Advance(200);
        ASSERT_EQ(player->GetVolume(), 1000 - 50 * step) << step;
        ASSERT_EQ(player->IsPlaying(), step < 20) << step;
    }
    EXPECT_FALSE(player->IsFading());
    EXPECT_FALSE(driver.HasTimer());
}

TEST_F(FreshTest, FadeToWithoutStopStopsItsFaderAtTheTarget) {
    cFreshScore score;
    Row(score, {0});
    Load(score);
    ASSERT_TRUE(player->Start());
    ASSERT_TRUE(player->FadeTo(1000, 500, 0));
    sink.Advance(20 * 100);
    EXPECT_EQ(player->GetVolume(), 504);  // twenty steps of (500 - 1024) / 20 = -26
    sink.Advance(100);
    EXPECT_EQ(player->GetVolume(), 500);
    EXPECT_FALSE(player->IsFading());
    sink.Advance(1000);
    EXPECT_EQ(player->GetVolume(), 500);
    EXPECT_TRUE(player->IsPlaying());
    // StopFade ends a fade where it stands.
    ASSERT_TRUE(player->FadeTo(1000, 0, 1));
    sink.Advance(250);
    player->StopFade();
    const int32_t held = player->GetVolume();
    sink.Advance(2000);
    EXPECT_EQ(player->GetVolume(), held);
    EXPECT_TRUE(player->IsPlaying());
}

TEST_F(FreshTest, ACellOutOfRangeIsFinishedFirstAtADecisionBeat) {
    cFreshScore score;
    Row(score, std::vector<int32_t>(10, 20));
    score.header.quantise = 1;
    score.header.rowRadius = 0;
    score.header.columnRadius = 1;
    score.header.busyCeiling = 2;
    score.header.tempo = 600;
    score.header.beatsPerBar = 4;
    for (int32_t c = 0; c < 10; ++c) score.Cell(0, c)->beats = 1000;
    Load(score, 3, 2.0);
    player->SetColumn(0);
    ASSERT_EQ(player->GetColumn(), 1);
    ASSERT_TRUE(player->Start());
    for (int i = 0; i < 40 && player->PlayingCount() < 2; ++i) sink.Advance(100);
    ASSERT_EQ(player->PlayingCount(), 2);
    EXPECT_EQ(observer.Count("finish"), 0u);
    player->SetColumn(1000);
    ASSERT_EQ(player->GetColumn(), 8);
    for (int i = 0; i < 8 && observer.Count("finish") == 0; ++i) sink.Advance(100);
    ASSERT_EQ(observer.Count("finish"), 1u);
    const std::string finished = *std::find_if(observer.lines.begin(), observer.lines.end(),
                                               [](const std::string& l) { return l.starts_with("finish"); });
    const int32_t column = std::stoi(finished.substr(9));
    EXPECT_LE(column, 2) << finished;
    player->Stop();
    EXPECT_EQ(player->PlayingCount(), 0);
    EXPECT_EQ(cGZSnd::LiveCount(), 1u);  // the primary sound
}

TEST_F(FreshTest, ASeedFixesARunAndTheCeilingBoundsIt) {
    std::vector<std::string> runs[2];
    for (auto& run : runs) {
        cFreshScore score;
        Row(score, {8, 12, 15, 6, 9});
        score.header.busyCeiling = 2;
        score.header.targetBase = 2;
        score.header.tempo = 240;
        for (int32_t c = 0; c < 5; ++c) score.Cell(0, c)->counted = false;
        Load(score, 99, 0.4);
        player->SetColumn(500);
        ASSERT_TRUE(player->Start());
        observer.lines.clear();
        for (int i = 0; i < 300; ++i) {
            sink.Advance(100);
            ASSERT_LE(player->BusyCount() - player->FinishingCount(), 2);
        }
        run = observer.lines;
        player->Stop();
    }
    EXPECT_GT(runs[0].size(), 4u);
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(FreshTest, HoldDensityAndReferencesOfThePlayer) {
    cFreshScore score;
    Row(score, {20, 20});
    Load(score);
    player->SetHold(true);
    ASSERT_TRUE(player->Start());
    EXPECT_FALSE(player->Start());
    sink.Advance(3000);
    EXPECT_TRUE(observer.lines.empty());
    player->SetHold(false);
    player->SetDensity(0);
    EXPECT_EQ(player->Ceiling(), 0);
    sink.Advance(3000);
    EXPECT_TRUE(observer.lines.empty());
    player->SetDensity(100);
    sink.Advance(4000);
    EXPECT_FALSE(observer.lines.empty());

    cIFreshPlayer* same = player->QueryInterface(cIFreshPlayer::kInterfaceId);
    EXPECT_EQ(same, player);
    EXPECT_EQ(player->QueryInterface(1), nullptr);
    EXPECT_EQ(same->Release(), 1u);
    // The last reference shuts the player down: its clips go.
    player->Release();
    player = nullptr;
    EXPECT_EQ(cGZSnd::LiveCount(), 1u);
    EXPECT_FALSE(driver.HasTimer());
}

namespace {

class ThrowingObserver : public cIFreshObserver {
public:
    void ClipStarted(const std::string&, int32_t, int32_t) override {
        if (throws-- > 0) throw std::runtime_error("observer");
    }
    int throws = 1;
};

}  // namespace

TEST_F(FreshTest, AThrowingPlayerIsReportedOnceAndLaterTicksAreSkipped) {
    ClearCallbackCrash();
    cFreshScore score;
    Row(score, {20});
    std::ofstream((dir / "t.fsc").string()) << WriteFreshScore(score, 7);
    ThrowingObserver throwing;
    player = new cFreshPlayer(1);
    ASSERT_TRUE(player->Load((dir / "t.fsc").string(), &driver, &throwing));
    ASSERT_TRUE(player->Start());
    sink.Advance(100);
    ASSERT_NE(GetCallbackCrash(), nullptr);
    EXPECT_STREQ(GetCallbackCrash(), "cFreshPlayer");
    const int64_t beats = player->BeatCounter();
    sink.Advance(2000);
    EXPECT_EQ(player->BeatCounter(), beats);
    ClearCallbackCrash();
    sink.Advance(600);
    EXPECT_GT(player->BeatCounter(), beats);
    player->Stop();
}
