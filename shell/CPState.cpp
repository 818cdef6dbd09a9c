#include "shell/CPState.h"

#include <algorithm>
#include <cstdio>

#include "shell/iCPGame.h"
#include "shell/iControlPanel.h"
#include "shell/iLotView.h"
#include "shell/iShellSound.h"
#include "simulation/XViewer.h"
#include "simulation/cSimulator.h"
#include "world/tools/cToolSet.h"

namespace shell {

namespace {
iCPGame& DefaultCPGame() {
    static iCPGame none;
    return none;
}
constexpr const char* kBackgroundSounds[] = {"bkground_build", "bkground_buy1", "bkground_live", "bkground_option",
                                             "bkground_camera"};
constexpr const char* kModeTexts[] = {"Entering Build Mode", "Entering Buy Mode", "Entering Live Mode",
                                      "Entering Options Mode", "Entering Camera Mode"};
// The simulator's own numbering of the modes.
constexpr int32_t kSimulatorModeValues[] = {1, 2, 0, 3, 4};
constexpr uint32_t kCPToolBits = kCPTool | kCPBuildItem | kCPToolRefresh | kCPBuySelection;
}  // namespace

std::string iCPGame::FormatMoney(int32_t amount) const {
    std::string digits = std::to_string(amount < 0 ? -static_cast<int64_t>(amount) : amount);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
    return (amount < 0 ? "-$" : "$") + digits;
}

std::string iCPGame::FormatClock(int32_t hour, int32_t minute) const {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", hour, minute);
    return text;
}

CPState::CPState(Links links, Clock clock) : mLinks(links), mClock(std::move(clock)) {
    mTimer1.Init(100);
    mTimer2.Init(100);
}

CPState::~CPState() = default;

iCPGame& CPState::Game() const { return mLinks.game != nullptr ? *mLinks.game : DefaultCPGame(); }

void CPState::AttachPanel(iControlPanel* panel) {
    mpPanel = panel;
    SetMode(mMode, true);
    mChangeFlags = kCPAll;
}

void CPState::RunTimers(bool force) {
    if (mpPanel == nullptr) return;
    const uint32_t now = mClock ? mClock() : 0;
    mTimer1.Accumulate(static_cast<int32_t>(now));
    mTimer2.Accumulate(static_cast<int32_t>(now));
    if (force) {
        mChangeFlags = kCPAll;
    } else {
        if (mTimer1.TakeStep()) mChangeFlags |= kCPPeriodic;
        if (mTimer2.TakeStep()) mChangeFlags |= kCPSlowPeriodic;
    }
    if (mChangeFlags == 0) return;
    Apply(mChangeFlags);
    mpPanel->Refresh(*this);
    mChangeFlags = mFlagsAfterRefresh;
    mLastRefresh = now;
}

void CPState::ApplyWallMode(int32_t mode) {
    iLotView* view = mLinks.view;
    if (view == nullptr) return;
    view->SetWallsDown(mode == 2);
    view->SetCutaway(mode != 1 && mode != 2 && mode != 8);
    view->SetRoofVisible(mode == 8);
}

void CPState::Apply(uint32_t flags) {
    iCPGame& game = Game();
    if (game.HoldsChanges()) return;
    iLotView* view = mLinks.view;
    tova::iShellSound* sound = mLinks.sound;
    tova::cSimulator* sim = mLinks.simulator;
    const bool validMode = mMode >= 0 && mMode <= 4;

    if (flags & kCPMode) {
        if (view != nullptr) view->RefreshForMode(mMode);
        if (mMode == kBuild || mMode == kBuy) game.SetTerrainBuildLook(true);
        if (mMode == kLive || mMode == kCamera) game.SetTerrainBuildLook(false);
        if (sound != nullptr) {
            if (mMode != kLive)
                sound->Pause();
            else if (!mPaused)
                sound->Resume();
        }
    }
    if (flags & kCPZoom) {
        if (view != nullptr) view->SetZoom(mZoom);
        if (sound != nullptr) sound->NotifyZoom(mZoom);
    }
    if ((flags & kCPRotation) && view != nullptr) view->SetRotation(mRotation);
    if ((flags & kCPLevel) && view != nullptr) view->SetLevel(mLevel, false);
    if (flags & (kCPMode | kCPSpeed)) {
        if (validMode) game.SetSimulatorMode(kSimulatorModeValues[mMode]);
        if ((flags & kCPSpeed) && sim != nullptr && sim->GetSpeed() != mSpeed) sim->SetSpeed(mSpeed);
    }
    if ((flags & kCPPause) && mMode == kLive) {
        if (mPaused) {
            if (sim != nullptr) sim->Pause();
            if (sound != nullptr) sound->Pause();
        } else {
            if (sim != nullptr) sim->Unpause();
            if (sound != nullptr) sound->Resume();
        }
    }
    if (flags & kCPWallMode) ApplyWallMode(mWallMode);
    if ((flags & kCPToolBits) && mOverrideToolActive == 0) {
        if (mpTool != nullptr) {
            if (CurrentTool() != mpTool) SetCurrentTool(mpTool);
            mpTool->SetParameter(static_cast<int16_t>(mToolArgument));
        } else if (CurrentTool() != nullptr) {
            SetCurrentTool(nullptr);
        }
    }
    if (flags & kCPPerson) game.SetLotSelectedPerson(mSelectedPerson);
    if (flags & kCPMode) {
        if (sound != nullptr) {
            sound->QuietAll();
            if (validMode) sound->PlayMusic(kBackgroundSounds[mMode]);
        }
        if (mMode == kOptions || mMode == kCamera) game.SetViewCursor(0);
    }
}

void CPState::ReadBack() {
    iCPGame& game = Game();
    const uint32_t flags = mChangeFlags;
    if (flags & kCPLotBusy) mLotBusy = game.LotBusy();
    if ((flags & kCPClock) && mLinks.simulator != nullptr) {
        mClockText = game.FormatClock(mLinks.simulator->GetGlobal(tova::kSimHour),
                                      mLinks.simulator->GetGlobal(tova::kSimMinute));
        mChangeFlags |= kCPClock;
    }
    if ((flags & kCPFunds) && mLinks.simulator != nullptr) SetFunds(mLinks.simulator->GetFunds());
    if ((flags & (kCPZoom | kCPRotation | kCPLevel)) && mLinks.view != nullptr) {
        mZoom = mLinks.view->GetZoom();
        mRotation = mLinks.view->GetRotation();
        const int32_t level = static_cast<const ::iHouseView*>(mLinks.view)->GetViewLevel();
        mLevel = level == 0 ? 1 : level;
        NotifyTool();
    }
    if ((flags & kCPSpeed) && mLinks.simulator != nullptr) SetSpeed(mLinks.simulator->GetSpeed());
    if ((flags & kCPPause) && mLinks.simulator != nullptr) SetPaused(mLinks.simulator->IsPaused());
    if ((flags & kCPWallMode) && mLinks.view != nullptr) {
        const iLotView& view = *mLinks.view;
        SetWallMode(view.AreWallsDown() ? 2 : view.IsCutaway() ? 4 : view.IsRoofVisible() ? 8 : 1, true);
    }
    if (flags & kCPPerson) mSelectedPerson = game.GetLotSelectedPerson();
}

void CPState::Refresh() {
    ReadBack();
    if (mpPanel != nullptr) mpPanel->Refresh(*this);
}

void CPState::ResetToLive() {
    mChangeFlags = kCPAll;
    ReadBack();
    SetMode(kLive, false);
    mChangeFlags = kCPAll;
}

void CPState::SetMode(int32_t mode, bool force) {
    if (mode == mMode && !force) return;
    iCPGame& game = Game();
    const int32_t old = mMode;
    if (old == kCamera && mode != kCamera && mLinks.view != nullptr) mLinks.view->SetCameraFlag(false);
    if (mode == kLive && old != kLive) game.PrepareLive();
    if (mode == kBuild || mode == kBuy) mpTool = nullptr;
    if (old != kLive && mLinks.tools != nullptr) mLinks.tools->GetUndoManager().Clear();
    if ((old == kBuild || mode == kBuild) && mLinks.view != nullptr) mLinks.view->RedrawAll();
    mMode = mode;

    std::string text;
    switch (mode) {
        case kBuild:
            SetBuildCategory(mBuildCategory);
            game.ShowPausedBanner(true, true);
            text = kModeTexts[kBuild];
            break;
        case kBuy:
            mpProduct = nullptr;
            mBuyBrowseMode = 1;
            LoadBuySelection();
            SetBuySubMode(mBuySubMode);
            game.ShowPausedBanner(true, true);
            text = kModeTexts[kBuy];
            break;
        case kLive:
            SelectTool(cToolSet::kObjectPicker, 0);
            game.ShowPausedBanner(mPaused, false);
            if (!game.NeighbourhoodOpen()) text = kModeTexts[kLive];
            break;
        case kOptions:
        case kCamera:
            mpTool = nullptr;
            if (mode == kCamera) SetPanelHidden(false, false);
            game.ShowPausedBanner(true, mode == kCamera);
            text = kModeTexts[mode];
            break;
        default:
            break;
    }
    if (!text.empty()) game.LogText(text);
    if (game.TakePendingMoveBroadcast()) tova::Broadcast(145, 0);
    mChangeFlags |= ~(kCPSpeed | kCPCallers);
}

void CPState::SetZoom(int32_t zoom, bool defer) {
    mZoom = zoom;
    mChangeFlags |= kCPZoom;
    if (defer) return;
    if (mLinks.view != nullptr) mLinks.view->SetZoom(zoom);
    if (mLinks.sound != nullptr) mLinks.sound->NotifyZoom(zoom);
}

void CPState::ZoomIn(bool defer) {
    if (mZoom < 3) SetZoom(mZoom + 1, defer);
    NotifyTool();
}

void CPState::ZoomOut(bool defer) {
    if (mZoom > 1) SetZoom(mZoom - 1, defer);
    NotifyTool();
}

void CPState::SetRotation(int32_t rotation, bool defer) {
    mRotation = rotation;
    mChangeFlags |= kCPRotation;
    if (!defer && mLinks.view != nullptr) mLinks.view->SetRotation(rotation);
    NotifyTool();
}

void CPState::SetLevel(int32_t level, bool defer) {
    mLevel = level == 0 ? 1 : level;
    mChangeFlags |= kCPLevel;
    if (!defer && mLinks.view != nullptr) mLinks.view->SetLevel(mLevel, false);
    NotifyTool();
}

bool CPState::HasSecondFloor() const { return Game().HasSecondFloor(); }
bool CPState::UpperLevelAllowed() const { return Game().UpperLevelAllowed(); }

void CPState::SetWallMode(int32_t mode, bool defer) {
    const bool changed = mode != mWallMode;
    mWallMode = mode;
    mChangeFlags |= kCPWallMode;
    // Mode 8 hands on as Apply does: walls up, no cutaway, roof shown.
    if (changed && !defer) ApplyWallMode(mode);
}

void CPState::SetSpeed(int32_t speed) {
    // Kept within the simulator's range so that tick periods stay positive.
    mSpeed = std::clamp(speed, 0, 1000);
    mChangeFlags |= kCPSpeed;
    const float x = static_cast<float>(tova::cSimulator::PeriodForSpeed(mSpeed)) / 42.0f;
    mTimer1.Init(static_cast<int32_t>(x * 1000.0f + 0.5f));
    mTimer2.Init(static_cast<int32_t>(x * 3000.0f + 0.5f));
}

void CPState::SetPaused(bool paused) {
    mChangeFlags |= kCPPause | kCPSpeed;
    mPaused = paused;
    if (mMode == kLive) Game().ShowPausedBanner(paused, false);
}

void CPState::SetFunds(int32_t amount) {
    mFundsText = Game().FormatMoney(std::min(amount, kMaxFunds));
    mChangeFlags |= kCPFunds;
}

void CPState::ClearFundsText() {
    mFundsText.clear();
    mChangeFlags |= kCPFunds;
}

void CPState::SelectTool(int32_t id, int32_t argument) {
    cTool* tool = mLinks.tools != nullptr ? mLinks.tools->GetTool(id) : nullptr;
    if (tool != nullptr) tool->SetParameter(static_cast<int16_t>(argument));
    SetTool(tool, argument);
}

void CPState::SetTool(cTool* tool, int32_t argument) {
    if (mpTool != nullptr && mpTool != tool) mpTool->Deselect();
    mpTool = tool;
    mToolArgument = static_cast<int16_t>(argument);
    if (tool != nullptr) tool->SetParameter(static_cast<int16_t>(argument));
}

int32_t CPState::SelectProductTool(uint32_t guid) {
    cTool* move = mLinks.tools != nullptr ? mLinks.tools->GetTool(cToolSet::kMove) : nullptr;
    const int32_t result = Game().PlaceProduct(move, guid);
    if (result == -1) {
        SelectTool(cToolSet::kMove, -1);
        return 0;
    }
    SetTool(move, result);
    return result;
}

void CPState::SetOverrideTool(cTool* tool) {
    mOverrideToolActive = tool != nullptr ? 1 : 0;
    SetCurrentTool(tool);
    mChangeFlags |= kCPTool;
}

void CPState::NotifyTool() {
    if (mpTool != nullptr) mpTool->ViewChanged();
}

bool CPState::CanUndo() const { return mLinks.tools != nullptr && mLinks.tools->GetUndoManager().CanUndo(); }
bool CPState::CanRedo() const { return mLinks.tools != nullptr && mLinks.tools->GetUndoManager().CanRedo(); }

void CPState::Undo() {
    if (mLinks.tools != nullptr) mLinks.tools->GetUndoManager().Undo();
    mChangeFlags |= kCPUndo;
}

void CPState::Redo() {
    if (mLinks.tools != nullptr) mLinks.tools->GetUndoManager().Redo();
    mChangeFlags |= kCPUndo;
}

void CPState::SetBuildCategory(int32_t category) {
    // The category indexes the twelve item slots.
    if (category < 0 || category >= kBuildCategories) return;
    const bool wasPair = IsBuildCategory8or9();
    const bool isPair = category == 8 || category == 9;
    if (mMode == kBuild && wasPair != isPair && mLinks.view != nullptr) mLinks.view->RedrawAll();
    if (isPair && !wasPair && mWallMode == 8) SetWallMode(1, false);
    mBuildCategory = category;
    const CPBuildItem* item = mBuildItems[static_cast<size_t>(category)];
    if (Game().AutoLevel()) {
        if (category == 0 || category == 1 || category == 6) SetLevel(1, true);
        if (category == 4) SetLevel(2, true);
    }
    const auto product = [this](const CPBuildItem* it) {
        if (it != nullptr && it->product != 0)
            SelectProductTool(it->product);
        else
            SetTool(nullptr, -1);
    };
    switch (category) {
        case 0:
            if (item != nullptr) {
                const int32_t id = item->kind == 1 ? cToolSet::kLowerTerrain
                                   : item->kind == 2 ? cToolSet::kLevelTerrain
                                                     : cToolSet::kRaiseTerrain;
                SelectTool(id, 0);
            } else {
                SetTool(nullptr, -1);
            }
            break;
        case 1:
            if (item != nullptr && item->product != 0)
                SelectProductTool(item->product);
            else
                SelectTool(cToolSet::kPool, 0);
            break;
        case 2:
            if (item != nullptr && item->kind == 3)
                SelectTool(cToolSet::kWall, item->wallStyle);
            else
                product(item);
            break;
        case 3: SelectTool(cToolSet::kWallpaper, item != nullptr ? item->wallpaper : 0); break;
        case 7: SelectTool(cToolSet::kFloor, item != nullptr ? item->floor : 0); break;
        case 10: SetTool(nullptr, -1); break;
        case 11: SelectTool(cToolSet::kMove, -1); break;
        default: product(item); break;
    }
    mChangeFlags |= kCPTool;
}

void CPState::SetBuildItem(const CPBuildItem* item) {
    mBuildItems[static_cast<size_t>(mBuildCategory)] = item;
    SetBuildCategory(mBuildCategory);
    mChangeFlags |= kCPBuildItem;
}

void CPState::SetBuySubMode(int32_t subMode) {
    mBuySubMode = subMode;
    switch (subMode) {
        case 0: SelectTool(cToolSet::kMove, -1); break;
        case 3:
            if (mpProduct != nullptr)
                SelectProductTool(mpProduct->guid);
            else
                SelectTool(cToolSet::kMove, -1);
            break;
        default: SetTool(nullptr, -1); break;
    }
}

void CPState::SetBuyBrowseMode(int32_t mode) {
    if (mode != 0 && mode != 1) return;
    mBuyBrowseMode = mode;
}

void CPState::LoadBuySelection() {
    const BrowseSlots& slots = mBrowse[static_cast<size_t>(mBuyBrowseMode)];
    const size_t category = static_cast<size_t>(mBuyCategory[static_cast<size_t>(mBuyBrowseMode)]);
    mProductIndex = slots.selections[category];
    mBuyScroll = slots.scrolls[category];
    mpProduct = nullptr;
    mChangeFlags |= kCPBuySelection;
}

void CPState::SetBuyCategoryA(int32_t category) {
    if (category < 0 || category >= kBuyCategories || category == mBuyCategory[0]) return;
    mBuyCategory[0] = category;
    LoadBuySelection();
    SelectTool(cToolSet::kMove, -1);
    mChangeFlags |= kCPBuySelection;
}

void CPState::SetBuyCategoryB(int32_t category) {
    if (category < 0 || category >= kBuyCategories || category == mBuyCategory[1]) return;
    mBuyCategory[1] = category;
    LoadBuySelection();
    SelectTool(cToolSet::kMove, -1);
    mChangeFlags |= kCPBuySelection;
}

void CPState::SetBuyProduct(int32_t index, const CPProduct* product) {
    mProductIndex = index;
    mpProduct = product;
    BrowseSlots& slots = mBrowse[static_cast<size_t>(mBuyBrowseMode)];
    const size_t category = static_cast<size_t>(mBuyCategory[static_cast<size_t>(mBuyBrowseMode)]);
    slots.selections[category] = index;
    slots.products[category] = product;
    SetBuySubMode(3);
}

void CPState::SetBuyScroll(int32_t position) {
    mBuyScroll = position;
    BrowseSlots& slots = mBrowse[static_cast<size_t>(mBuyBrowseMode)];
    slots.scrolls[static_cast<size_t>(mBuyCategory[static_cast<size_t>(mBuyBrowseMode)])] = position;
    mChangeFlags |= kCPBuySelection;
}

void CPState::ClearBuyProduct() {
    if (mMode != kBuy) return;
    mProductIndex = -1;
    mpProduct = nullptr;
    if (mpPanel != nullptr) mpPanel->ResetCatalog();
}

bool CPState::SelectPerson(int32_t index) {
    if (index == -1) return false;
    iCPGame& game = Game();
    if (!game.HasLiveObject(index)) game.BringIn(index);
    if (index == game.GetLotSelectedPerson()) {
        if (mpPanel != nullptr && mpPanel->ShownPerson() != index) mpPanel->DeselectPerson();
        game.ScrollToPerson(index);
    } else {
        game.SetLotSelectedPerson(index);
        mSelectedPerson = game.GetLotSelectedPerson();
    }
    if (mLinks.sound != nullptr) mLinks.sound->PlayUISound("UI_click");
    mChangeFlags |= kCPPerson;
    return true;
}

const std::string& CPState::GetFriendCountText() {
    mFriendCountText = std::to_string(Game().FriendCount());
    return mFriendCountText;
}

const std::string& CPState::GetFamilyNameText() {
    mFamilyNameText = Game().FamilyName();
    return mFamilyNameText;
}

void CPState::SetPanelHidden(bool hidden, bool silent) {
    if (hidden == mPanelHidden && !silent) return;
    if (!hidden && !silent && mLinks.sound != nullptr) mLinks.sound->PlayUISound("UI_whoosh");
    mPanelHidden = hidden;
    mChangeFlags |= kCPPanelHidden;
    Game().PanelHiddenChanged(hidden);
}

void CPState::SetSnapshotSize(int32_t sizeClass) {
    switch (sizeClass) {
        case 0: SetSnapshotFrame(200, 150); break;
        case 1: SetSnapshotFrame(400, 300); break;
        case 2: SetSnapshotFrame(600, 400); break;
        default:
            mSnapshotClass = 3;
            mChangeFlags |= kCPSnapshot;
            break;
    }
}

void CPState::SetSnapshotFrame(int32_t width, int32_t height) {
    mSnapshotWidth = std::clamp(width, 200, 600);
    mSnapshotHeight = std::clamp(height, 150, 400);
    mChangeFlags |= kCPSnapshot;
    if (mSnapshotWidth == 200 && mSnapshotHeight == 150)
        mSnapshotClass = 0;
    else if (mSnapshotWidth == 400 && mSnapshotHeight == 300)
        mSnapshotClass = 1;
    else if (mSnapshotWidth == 600 && mSnapshotHeight == 400)
        mSnapshotClass = 2;
    else
        mSnapshotClass = 3;
}

int32_t CPState::GetSnapshotQuality() const { return mSnapshotQuality == 0 ? 20 : mSnapshotQuality == 2 ? 90 : 50; }

bool CPState::IsAsianLanguageId(int32_t language) {
    return language == 15 || (language >= 17 && language <= 20);
}

bool CPState::IsAsianLanguage() const { return IsAsianLanguageId(Game().LanguageId()); }

}  // namespace shell
