#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/cRZKeyboard.h"
#include "gamedata/Commander.h"
#include "shell/CPState.h"
#include "shell/iCPGame.h"
#include "shell/iControlPanel.h"
#include "shell/iLotView.h"
#include "shell/iShellSound.h"
#include "simulation/XViewer.h"
#include "simulation/cSimulator.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/cRotatableWorld.h"
#include "world/tools/cToolSet.h"

namespace {

using shell::CPState;
using Log = std::vector<std::string>;

class CPLogView : public shell::iLotView {
public:
    explicit CPLogView(Log& log) : mLog(log) {}
    int32_t zoom = 1, rotation = 0, level = 1;
    bool wallsDown = false, cutaway = false, roof = false;
    int32_t GetZoom() const override { return zoom; }
    int32_t GetRotation() const override { return rotation; }
    int32_t GetViewLevel() const override { return level; }
    ScreenPoint TileToScreen(TileLocation) const override { return {}; }
    int32_t StandingHeight(int32_t) const override { return 0; }
    int32_t LoweredHeight(int32_t) const override { return 0; }
    void DrawSprite(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, float, int32_t) override {}
    void DrawLoweredCorner(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    ScreenRect GetClip() const override { return {}; }
    void SetClip(const ScreenRect&) override {}
    bool BuildableOnly() const override { return false; }
    bool IsTileBuildable(TileLocation) const override { return true; }
    void RedrawTile(TileLocation) override {}
    void RedrawAll() override { mLog.push_back("view redraw"); }
    bool LookUpWallSprite(int32_t, int32_t, int32_t&) const override { return false; }
    int32_t ObjectWallSprite(TileLocation, int32_t) const override { return -1; }
    void InvalidateTile(TileLocation) override {}
    bool GetTileScreenRect(TileLocation, ScreenRect&) const override { return false; }
    void DrawFrame(cGZBuffer&) override {}
    void SetWallMode(int32_t) override {}
    int32_t GetWallMode() const override { return 1; }
    void Scroll(int32_t, int32_t) override {}
    void CenterOnTile(const Tile&) override {}
    std::optional<Tile> ScreenToTile(int32_t, int32_t) const override { return std::nullopt; }
    bool IsBusy() const override { return false; }
    const cGZBuffer* Picture() const override { return nullptr; }

    void SetZoom(int32_t z) override { Note("view zoom", z); }
    void SetRotation(int32_t r) override { Note("view rotation", r); }
    void SetLevel(int32_t l, bool) override { Note("view level", l); }
    void SetWallsDown(bool on) override { Note("view walls-down", on); }
    void SetCutaway(bool on) override { Note("view cutaway", on); }
    void SetRoofVisible(bool on) override { Note("view roof", on); }
    bool AreWallsDown() const override { return wallsDown; }
    bool IsCutaway() const override { return cutaway; }
    bool IsRoofVisible() const override { return roof; }
    void RefreshForMode(int32_t mode) override { Note("view mode", mode); }
    void SetCameraFlag(bool on) override { Note("view camera", on); }

private:
    void Note(const char* what, int32_t value) { mLog.push_back(std::string(what) + " " + std::to_string(value)); }
    Log& mLog;
};

class CPLogSound : public tova::iShellSound {
public:
    explicit CPLogSound(Log& log) : mLog(log) {}
    int32_t GetVolume(Volume) const override { return 0; }
    void SetVolume(Volume, int32_t) override {}
    void PlayMusic(const std::string& track) override { mLog.push_back("sound play " + track + " -1"); }
    void FadeMusic(uint32_t) override {}
    void Pause() override { mLog.push_back("sound pause"); }
    void Resume() override { mLog.push_back("sound resume"); }
    void QuietAll() override { mLog.push_back("sound quiet"); }
    void PlayUISound(const std::string& name) override { mLog.push_back("sound play " + name + " -4"); }
    void NotifyZoom(int32_t zoom) override { mLog.push_back("sound zoom " + std::to_string(zoom)); }

private:
    Log& mLog;
};

class CPLogGame : public shell::iCPGame {
public:
    explicit CPLogGame(Log& log) : mLog(log) {}
    bool holds = false;
    int32_t language = 1;
    int32_t lotPerson = -1;
    int32_t shownPerson = -1;
    bool HoldsChanges() const override { return holds; }
    int32_t LanguageId() const override { return language; }
    void SetTerrainBuildLook(bool on) override { mLog.push_back(std::string("terrain build ") + (on ? "1" : "0")); }
    void SetSimulatorMode(int32_t value) override { mLog.push_back("sim mode " + std::to_string(value)); }
    void SetViewCursor(int32_t kind) override { mLog.push_back("cursor " + std::to_string(kind)); }
    int32_t GetLotSelectedPerson() const override { return lotPerson; }
    void SetLotSelectedPerson(int32_t index) override {
        lotPerson = index;
        mLog.push_back("lot person " + std::to_string(index));
    }
    void ScrollToPerson(int32_t index) override { mLog.push_back("scroll to " + std::to_string(index)); }
    void LogText(const std::string& text) override { mLog.push_back("text " + text); }

private:
    Log& mLog;
};

// Hears the simulator's broadcasts (speed and pause changes).
class CPSimListener : public tova::Commander {
public:
    CPSimListener(Log& log, tova::cSimulator& sim) : mLog(log), mSim(sim) {}
    int16_t DoCommand(int32_t command, intptr_t) override {
        if (command == tova::cmd::kSpeedChanged)
            mLog.push_back("sim speed " + std::to_string(mSim.GetSpeed()) + (mSim.IsPaused() ? " paused" : ""));
        return 0;
    }

private:
    Log& mLog;
    tova::cSimulator& mSim;
};

class CPLogPanel : public shell::iControlPanel {
public:
    explicit CPLogPanel(Log& log) : mLog(log) {}
    std::vector<uint32_t> refreshed;
    void Refresh(CPState& state) override {
        refreshed.push_back(state.GetChangeFlags());
        mLog.push_back("panel refresh");
    }

private:
    Log& mLog;
};

class CPStateTest : public ::testing::Test {
protected:
    Log log;
    CPLogView view{log};
    CPLogSound sound{log};
    CPLogGame game{log};
    CPLogPanel panel{log};
    tova::cSimulator sim;
    CPSimListener listener{log, sim};
    // The tool set over a small world.
    cRotatableWorld world{24};
    tova_test::RecordingSoundPlayer toolSound;
    tova_test::ManualClock toolClock;
    tova_test::FakeMoney money;
    tova_test::FakeShell shellFake;
    cRZKeyboard keyboard;
    tova_test::RecordingViewer viewer;
    ToolServices services;
    std::unique_ptr<cToolSet> tools;
    uint32_t now = 1000;
    std::unique_ptr<CPState> state;

    void SetUp() override {
        services = {&world, &shellFake, &money, &keyboard, &toolClock, &viewer};
        viewer.Register();
        tools = std::make_unique<cToolSet>(services);
        sim.SetSpeed(760);
        state = std::make_unique<CPState>(CPState::Links{&sim, tools.get(), &view, &sound, &game},
                                          [this] { return now; });
        log.clear();
    }
    void TearDown() override { SetCurrentTool(nullptr); }

    // Attached in a mode, with the flags and the log cleared.
    void Start(int32_t mode) {
        state->AttachPanel(&panel);
        state->SetMode(mode, false);
        state->RunTimers(false);
        log.clear();
        panel.refreshed.clear();
    }
};

TEST_F(CPStateTest, StartsInOptionsModeWithEveryFlagAndTheFieldDefaults) {
    EXPECT_EQ(state->GetMode(), CPState::kOptions);
    EXPECT_EQ(state->GetChangeFlags(), 0xFFFFFFFFu);
    EXPECT_EQ(state->GetZoom(), 1);
    EXPECT_EQ(state->GetLevel(), 1);
    EXPECT_EQ(state->GetSpeed(), 760);
    EXPECT_EQ(state->GetWallMode(), 1);
    EXPECT_EQ(state->GetBuildCategory(), 11);
    EXPECT_EQ(state->GetBuySubMode(), 3);
    EXPECT_EQ(state->GetBuyBrowseMode(), 1);
    EXPECT_EQ(state->GetClockText(), "5:07");
    EXPECT_EQ(state->GetSnapshotWidth(), 400);
    EXPECT_EQ(state->GetSnapshotHeight(), 300);
    EXPECT_TRUE(state->GetPanelHidden());
    EXPECT_EQ(state->GetSelectedPerson(), -1);
}

TEST_F(CPStateTest, NothingRunsBeforeAPanelIsAttached) {
    state->RunTimers(true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(state->GetChangeFlags(), 0xFFFFFFFFu);
}

TEST_F(CPStateTest, EnteringEachModeSetsEveryFlagButSpeedAndTheCallersBit) {
    state->AttachPanel(&panel);
    for (int32_t mode : {0, 1, 2, 3, 4}) {
        state->SetMode(mode == 3 ? 2 : 3, false);
        state->RunTimers(false);
        ASSERT_EQ(state->GetChangeFlags(), 0u);
        state->SetMode(mode, false);
        EXPECT_EQ(state->GetChangeFlags(), ~(0x40u | 0x80000u)) << "mode " << mode;
        EXPECT_EQ(state->GetMode(), mode);
    }
}

TEST_F(CPStateTest, SettingTheActiveModeDoesNothingUnlessForced) {
    Start(CPState::kLive);
    state->SetMode(CPState::kLive, false);
    EXPECT_EQ(state->GetChangeFlags(), 0u);
    EXPECT_TRUE(log.empty());
    state->SetMode(CPState::kLive, true);
    EXPECT_NE(state->GetChangeFlags(), 0u);
    EXPECT_EQ(log, (Log{"text Entering Live Mode"}));
}

TEST_F(CPStateTest, ApplyHandsChangesOnInItsFixedOrder) {
    Start(CPState::kOptions);
    state->SetMode(CPState::kLive, false);
    state->SetZoom(3, true);
    state->SetRotation(2, true);
    state->SetLevel(2, true);
    state->SetSpeed(900);
    state->SetPaused(true);
    state->SetWallMode(4, true);
    log.clear();
    state->Apply(state->GetChangeFlags() | 0x40);
    // Paused: live mode's sound is not resumed at the mode step.
    const Log expected{"view mode 2",      "terrain build 0",  "view zoom 3",   "sound zoom 3",
                       "view rotation 2",  "view level 2",     "sim mode 0",    "sim speed 900", "sim speed 900 paused",
                       "sound pause",      "view walls-down 0", "view cutaway 1", "view roof 0",  "lot person -1",
                       "sound quiet",      "sound play bkground_live -1"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(CurrentTool(), tools->GetTool(cToolSet::kObjectPicker)) << "live mode's object picker";
}

TEST_F(CPStateTest, EachModeChoosesItsTerrainLookSoundAndCursor) {
    const struct {
        int32_t mode;
        Log expected;
    } cases[] = {
        {0, {"view mode 0", "terrain build 1", "sound pause", "sim mode 1", "sound quiet", "sound play bkground_build -1"}},
        {1, {"view mode 1", "terrain build 1", "sound pause", "sim mode 2", "sound quiet", "sound play bkground_buy1 -1"}},
        {2, {"view mode 2", "terrain build 0", "sound resume", "sim mode 0", "sound quiet", "sound play bkground_live -1"}},
        {3, {"view mode 3", "sound pause", "sim mode 3", "sound quiet", "sound play bkground_option -1", "cursor 0"}},
        {4, {"view mode 4", "terrain build 0", "sound pause", "sim mode 4", "sound quiet", "sound play bkground_camera -1",
             "cursor 0"}},
    };
    for (const auto& c : cases) {
        Start(c.mode);
        state->Apply(0x2);
        EXPECT_EQ(log, c.expected) << "mode " << c.mode;
    }
}

TEST_F(CPStateTest, NothingIsHandedOnWhileTheApplicationHoldsChanges) {
    Start(CPState::kLive);
    game.holds = true;
    state->Apply(0xFFFFFFFFu);
    EXPECT_TRUE(log.empty());
}

TEST_F(CPStateTest, ADeferredSetterReachesTheViewOnlyAtTheNextIntervalStep) {
    Start(CPState::kLive);
    state->SetZoom(2, true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(state->GetChangeFlags() & 0x1000, 0x1000u);
    now += 50;
    state->RunTimers(false);
    EXPECT_EQ(log, (Log{"view zoom 2", "sound zoom 2", "panel refresh"}));
    EXPECT_EQ(state->GetChangeFlags(), 0u);
    EXPECT_EQ(state->GetLastRefreshTime(), now);
    log.clear();
    state->SetZoom(3, false);
    EXPECT_EQ(log, (Log{"view zoom 3", "sound zoom 3"}));
}

TEST_F(CPStateTest, TimersMarkTheirPeriodicBitsAndForceMarksEverything) {
    state->SetSpeed(760);
    Start(CPState::kLive);
    now += 999;
    state->RunTimers(false);
    EXPECT_TRUE(panel.refreshed.empty()) << "speed 760: 1000 ms and 3000 ms";
    now += 1;
    state->RunTimers(false);
    ASSERT_EQ(panel.refreshed.size(), 1u);
    EXPECT_EQ(panel.refreshed[0], 0x1u);
    now += 2000;
    state->RunTimers(false);
    ASSERT_EQ(panel.refreshed.size(), 2u);
    EXPECT_EQ(panel.refreshed[1], 0x1u | 0x78000u);
    state->RunTimers(true);
    EXPECT_EQ(panel.refreshed.back(), 0xFFFFFFFFu);
}

TEST_F(CPStateTest, TimerPeriodsFollowTheSpeedAndTheSpeedIsClamped) {
    const struct {
        int32_t speed, stored, period1, period2;
    } cases[] = {{760, 760, 1000, 3000}, {947, 947, 238, 714}, {994, 994, 48, 143},
                 {1000, 1000, 24, 71},   {2000, 1000, 24, 71}, {-5, 0, 4095, 12286}};
    for (const auto& c : cases) {
        state->SetSpeed(c.speed);
        EXPECT_EQ(state->GetSpeed(), c.stored) << c.speed;
        EXPECT_EQ(state->GetTimer1Period(), c.period1) << c.speed;
        EXPECT_EQ(state->GetTimer2Period(), c.period2) << c.speed;
        EXPECT_GT(state->GetTimer1Period(), 0);
    }
}

TEST_F(CPStateTest, ZoomRotationAndLevelKeepTheirRanges) {
    Start(CPState::kLive);
    state->ZoomOut(true);
    EXPECT_EQ(state->GetZoom(), 1);
    state->ZoomIn(true);
    state->ZoomIn(true);
    state->ZoomIn(true);
    EXPECT_EQ(state->GetZoom(), 3);
    EXPECT_FALSE(state->CanZoomIn());
    state->RotateLeft(true);
    EXPECT_EQ(state->GetRotation(), 3);
    state->RotateRight(true);
    EXPECT_EQ(state->GetRotation(), 0);
    state->SetLevel(0, true);
    EXPECT_EQ(state->GetLevel(), 1);
    EXPECT_EQ(state->GetLevelMask(), 7);
}

TEST_F(CPStateTest, WallModesHandOnAsApplyDoesIncludingTheRoof) {
    Start(CPState::kLive);
    const struct {
        int32_t mode;
        Log expected;
    } cases[] = {{2, {"view walls-down 1", "view cutaway 0", "view roof 0"}},
                 {4, {"view walls-down 0", "view cutaway 1", "view roof 0"}},
                 {8, {"view walls-down 0", "view cutaway 0", "view roof 1"}},
                 {1, {"view walls-down 0", "view cutaway 0", "view roof 0"}}};
    for (const auto& c : cases) {
        log.clear();
        state->SetWallMode(c.mode, false);
        EXPECT_EQ(log, c.expected) << c.mode;
        log.clear();
        state->Apply(0x80);
        EXPECT_EQ(log, c.expected) << c.mode;
    }
    log.clear();
    state->SetWallMode(1, false);
    EXPECT_TRUE(log.empty()) << "unchanged";
}

TEST_F(CPStateTest, ReadBackDerivesTheWallModeFromTheView) {
    view.cutaway = true;
    view.roof = true;
    state->ReadBack();
    EXPECT_EQ(state->GetWallMode(), 4);
    view.wallsDown = true;
    state->SetChangeFlags(0x80);
    state->ReadBack();
    EXPECT_EQ(state->GetWallMode(), 2);
}

TEST_F(CPStateTest, BuildCategoriesChooseTheirTools) {
    Start(CPState::kBuild);
    shell::CPBuildItem terrainLevel{2};
    const struct {
        int32_t category;
        const shell::CPBuildItem* item;
        int32_t tool;  // -1 none
        int32_t argument;
    } cases[] = {{0, &terrainLevel, cToolSet::kLevelTerrain, 0}, {1, nullptr, cToolSet::kPool, 0},
                 {3, nullptr, cToolSet::kWallpaper, 0},          {7, nullptr, cToolSet::kFloor, 0},
                 {10, nullptr, -1, -1},                          {11, nullptr, cToolSet::kMove, -1}};
    for (const auto& c : cases) {
        state->SetBuildCategory(c.category);
        if (c.item != nullptr) state->SetBuildItem(c.item);
        EXPECT_EQ(state->GetBuildCategory(), c.category);
        EXPECT_EQ(state->GetToolObject(), c.tool < 0 ? nullptr : tools->GetTool(c.tool)) << c.category;
        EXPECT_EQ(state->GetToolArgument(), c.argument) << c.category;
        EXPECT_TRUE(state->GetChangeFlags() & 0x10);
    }
}

TEST_F(CPStateTest, CategoriesOutsideTheTablesAreIgnored) {
    Start(CPState::kBuild);
    for (int32_t bad : {-1, 12, -100000})
        state->SetBuildCategory(bad);
    EXPECT_EQ(state->GetBuildCategory(), 11);
    state->SetBuyCategoryA(3);
    for (int32_t bad : {-1, 8, 1 << 20}) {
        state->SetBuyCategoryA(bad);
        state->SetBuyCategoryB(bad);
    }
    EXPECT_EQ(state->GetBuyCategoryA(), 3);
    EXPECT_EQ(state->GetBuyCategoryB(), 0);
}

TEST_F(CPStateTest, BuySelectionsAreKeptPerCategory) {
    Start(CPState::kBuy);
    shell::CPProduct chair{0x1234};
    state->SetBuyCategoryB(2);
    state->SetBuyProduct(5, &chair);
    state->SetBuyScroll(4);
    state->SetBuyCategoryB(3);
    EXPECT_EQ(state->GetBuyProductIndex(), -1);
    EXPECT_EQ(state->GetBuyScroll(), 0);
    EXPECT_EQ(state->GetToolObject(), tools->GetTool(cToolSet::kMove));
    state->SetBuyCategoryB(2);
    EXPECT_EQ(state->GetBuyProductIndex(), 5);
    EXPECT_EQ(state->GetBuyScroll(), 4);
}

TEST_F(CPStateTest, UndoAndRedoMarkTheirFlag) {
    Start(CPState::kBuild);
    EXPECT_FALSE(state->CanUndo());
    state->Undo();
    EXPECT_EQ(state->GetChangeFlags() & 0x4, 0x4u);
}

TEST_F(CPStateTest, SelectingTheSelectedPersonScrollsToThemInstead) {
    Start(CPState::kLive);
    EXPECT_FALSE(state->SelectPerson(-1));
    EXPECT_TRUE(state->SelectPerson(2));
    EXPECT_EQ(state->GetSelectedPerson(), 2);
    EXPECT_EQ(log, (Log{"lot person 2", "sound play UI_click -4"}));
    log.clear();
    EXPECT_TRUE(state->SelectPerson(2));
    EXPECT_EQ(log, (Log{"scroll to 2", "sound play UI_click -4"}));
    EXPECT_EQ(state->GetChangeFlags() & 0x8, 0x8u);
}

TEST_F(CPStateTest, FundsAreCappedAndPauseShowsInFlags) {
    state->SetFunds(12345678);
    EXPECT_EQ(state->GetFundsText(), "$9,999,999");
    state->SetFunds(20000);
    EXPECT_EQ(state->GetFundsText(), "$20,000");
    state->ClearFundsText();
    EXPECT_EQ(state->GetFundsText(), "");
    Start(CPState::kLive);
    state->SetPaused(true);
    EXPECT_EQ(state->GetChangeFlags(), 0x800040u);
}

TEST_F(CPStateTest, ShowingThePanelWhooshesUnlessSilent) {
    Start(CPState::kLive);
    state->SetPanelHidden(true, false);
    EXPECT_TRUE(log.empty()) << "unchanged";
    state->SetPanelHidden(false, false);
    EXPECT_EQ(log, (Log{"sound play UI_whoosh -4"}));
    EXPECT_EQ(state->GetChangeFlags() & 0x100000, 0x100000u);
    log.clear();
    state->SetPanelHidden(false, true);
    EXPECT_TRUE(log.empty());
}

TEST_F(CPStateTest, SnapshotFramesAreClampedAndClassed) {
    const struct {
        int32_t w, h, storedW, storedH, sizeClass;
    } cases[] = {{650, 100, 600, 150, 3}, {400, 300, 400, 300, 1}, {200, 150, 200, 150, 0},
                 {600, 400, 600, 400, 2}, {0, 9999, 200, 400, 3}};
    for (const auto& c : cases) {
        state->SetSnapshotFrame(c.w, c.h);
        EXPECT_EQ(state->GetSnapshotWidth(), c.storedW);
        EXPECT_EQ(state->GetSnapshotHeight(), c.storedH);
        EXPECT_EQ(state->GetSnapshotSize(), c.sizeClass) << c.w << "x" << c.h;
    }
    state->SetSnapshotSize(2);
    EXPECT_EQ(state->GetSnapshotWidth(), 600);
    const int32_t quality[][2] = {{0, 20}, {1, 50}, {2, 90}, {7, 50}};
    for (const auto& q : quality) {
        state->SetSnapshotQualitySetting(q[0]);
        EXPECT_EQ(state->GetSnapshotQuality(), q[1]);
    }
}

TEST_F(CPStateTest, AsianLanguagesAre15And17To20) {
    for (int32_t id = 0; id < 25; ++id)
        EXPECT_EQ(CPState::IsAsianLanguageId(id), id == 15 || (id >= 17 && id <= 20)) << id;
    game.language = 18;
    EXPECT_TRUE(state->IsAsianLanguage());
}

}  // namespace
