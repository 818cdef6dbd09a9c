// The control-panel state: how the player looks at and acts on the lot.
// The mode (0 build, 1 buy, 2 live, 3 options, 4 camera), the view's zoom,
// rotation, level and wall mode, speed and pause, the selected tool and
// catalogue items, the selected person, the funds and clock texts, the
// snapshot frame and whether the panel is hidden. Windows and keys change
// it through its operations; each change ORs a bit into the change-flag
// word and is pushed on to the simulator, the tool set, the view and the
// sound, at once or (deferred view changes) at the next interval step,
// when the control panel redraws what the flags name.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "gamedata/FrameTimer.h"

class cTool;
class cToolSet;
class Catalog;

namespace tova {
class cSimulator;
class iShellSound;
}  // namespace tova

namespace shell {

class iControlPanel;
class iCPGame;
class iLotView;

// Change-flag bits.
enum CPFlag : uint32_t {
    kCPPeriodic = 0x1,
    kCPMode = 0x2,
    kCPUndo = 0x4,
    kCPPerson = 0x8,
    kCPTool = 0x10,
    kCPBuildItem = 0x20,
    kCPSpeed = 0x40,
    kCPWallMode = 0x80,
    kCPLevel = 0x100,
    kCPToolRefresh = 0x200,
    kCPBuySelection = 0x400,
    kCPRotation = 0x800,
    kCPZoom = 0x1000,
    kCPClock = 0x2000,
    kCPFunds = 0x4000,
    kCPSlowPeriodic = 0x78000,
    kCPCallers = 0x80000,
    kCPPanelHidden = 0x100000,
    kCPSnapshot = 0x200000,
    kCPPause = 0x800000,
    kCPLotBusy = 0x1000000,
    kCPAll = 0xFFFFFFFFu,
};

// An item of the build catalogue as the state's tool table reads it.
struct CPBuildItem {
    int32_t kind = 0;       // terrain 0 raise, 1 lower, 2 level; wall items 3
    uint32_t product = 0;   // object definition id, 0 none
    int32_t wallStyle = 0;
    int32_t wallpaper = 0;
    int32_t floor = 0;
};

// An entry of the buy catalogue.
struct CPProduct {
    uint32_t guid = 0;
};

class CPState {
public:
    enum Mode : int32_t { kBuild = 0, kBuy = 1, kLive = 2, kOptions = 3, kCamera = 4 };
    static constexpr int32_t kBuildCategories = 12;
    static constexpr int32_t kBuyCategories = 8;
    static constexpr int32_t kMaxFunds = 9999999;

    // The engines the state pushes to; any may be missing.
    struct Links {
        tova::cSimulator* simulator = nullptr;
        cToolSet* tools = nullptr;
        iLotView* view = nullptr;
        tova::iShellSound* sound = nullptr;
        iCPGame* game = nullptr;
    };
    using Clock = std::function<uint32_t()>;

    CPState(Links links, Clock clock);
    virtual ~CPState();
    CPState(const CPState&) = delete;
    CPState& operator=(const CPState&) = delete;

    void SetLinks(const Links& links) { mLinks = links; }
    const Links& GetLinks() const { return mLinks; }
    void AttachPanel(iControlPanel* panel);
    iControlPanel* GetPanel() const { return mpPanel; }

    // The interval step.
    void RunTimers(bool force);
    void Apply(uint32_t flags);
    void ReadBack();
    void Refresh();
    void ResetToLive();
    void SetChangeFlags(uint32_t bits) { mChangeFlags |= bits; }
    uint32_t GetChangeFlags() const { return mChangeFlags; }
    uint32_t GetLastRefreshTime() const { return mLastRefresh; }
    int32_t GetTimer1Period() const { return mTimer1.GetPeriod(); }
    int32_t GetTimer2Period() const { return mTimer2.GetPeriod(); }

    int32_t GetMode() const { return mMode; }
    void SetMode(int32_t mode, bool force);

    void SetZoom(int32_t zoom, bool defer);
    void ZoomIn(bool defer);
    void ZoomOut(bool defer);
    bool CanZoomIn() const { return mZoom < 3; }
    bool CanZoomOut() const { return mZoom > 1; }
    int32_t GetZoom() const { return mZoom; }
    void SetRotation(int32_t rotation, bool defer);
    void RotateLeft(bool defer) { SetRotation((mRotation - 1) & 3, defer); }
    void RotateRight(bool defer) { SetRotation((mRotation + 1) & 3, defer); }
    int32_t GetRotation() const { return mRotation; }
    void SetLevel(int32_t level, bool defer);
    int32_t GetLevel() const { return mLevel; }
    int32_t GetLevelMask() const { return mLevel == 1 || mLevel == 2 ? 7 : 1; }
    bool HasSecondFloor() const;
    bool UpperLevelAllowed() const;
    void SetWallMode(int32_t mode, bool defer);
    int32_t GetWallMode() const { return mWallMode; }

    void SetSpeed(int32_t speed);
    int32_t GetSpeed() const { return mSpeed; }
    void SetPaused(bool paused);
    bool IsPaused() const { return mPaused; }
    void SetFunds(int32_t amount);
    const std::string& GetFundsText() const { return mFundsText; }
    void ClearFundsText();
    const std::string& GetClockText() const { return mClockText; }

    void SelectTool(int32_t id, int32_t argument);
    void SetTool(cTool* tool, int32_t argument);
    int32_t SelectProductTool(uint32_t guid);
    void SetOverrideTool(cTool* tool);
    cTool* GetToolObject() const { return mpTool; }
    int32_t GetToolArgument() const { return mToolArgument; }
    void NotifyTool();
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();

    int32_t GetBuildCategory() const { return mBuildCategory; }
    void SetBuildCategory(int32_t category);
    const CPBuildItem* GetBuildItem() const { return mBuildItems[static_cast<size_t>(mBuildCategory)]; }
    void SetBuildItem(const CPBuildItem* item);
    bool IsBuildCategory8or9() const { return mBuildCategory == 8 || mBuildCategory == 9; }

    int32_t GetBuySubMode() const { return mBuySubMode; }
    void SetBuySubMode(int32_t subMode);
    int32_t GetBuyBrowseMode() const { return mBuyBrowseMode; }
    void SetBuyBrowseMode(int32_t mode);
    void LoadBuySelection();
    void SetBuyCategoryA(int32_t category);
    void SetBuyCategoryB(int32_t category);
    int32_t GetBuyCategoryA() const { return mBuyCategory[0]; }
    int32_t GetBuyCategoryB() const { return mBuyCategory[1]; }
    void SetBuyProduct(int32_t index, const CPProduct* product);
    int32_t GetBuyProductIndex() const { return mProductIndex; }
    const CPProduct* GetBuyProduct() const { return mpProduct; }
    void SetBuyScroll(int32_t position);
    int32_t GetBuyScroll() const { return mBuyScroll; }
    void ClearBuyProduct();

    bool SelectPerson(int32_t index);
    int32_t GetSelectedPerson() const { return mSelectedPerson; }
    const std::string& GetFriendCountText();
    const std::string& GetFamilyNameText();

    void SetPanelHidden(bool hidden, bool silent);
    bool GetPanelHidden() const { return mPanelHidden; }
    bool IsLotBusy() const { return mLotBusy; }

    void SetSnapshotSize(int32_t sizeClass);
    void SetSnapshotFrame(int32_t width, int32_t height);
    int32_t GetSnapshotSize() const { return mSnapshotClass; }
    int32_t GetSnapshotWidth() const { return mSnapshotWidth; }
    int32_t GetSnapshotHeight() const { return mSnapshotHeight; }
    void SetSnapshotQualitySetting(int32_t setting) { mSnapshotQuality = setting; }
    int32_t GetSnapshotQuality() const;

    bool IsAsianLanguage() const;
    static bool IsAsianLanguageId(int32_t language);

private:
    iCPGame& Game() const;
    void ApplyWallMode(int32_t mode);

    int32_t mMode = kOptions;
    uint32_t mChangeFlags = kCPAll;
    uint32_t mFlagsAfterRefresh = 0;
    uint32_t mLastRefresh = 0;
    std::string mClockText = "5:07";
    std::string mFundsText;
    int32_t mZoom = 1;
    int32_t mRotation = 0;
    int32_t mLevel = 1;
    bool mPaused = false;
    int32_t mSpeed = 760;
    int32_t mWallMode = 1;
    cTool* mpTool = nullptr;
    int32_t mToolArgument = -1;
    iControlPanel* mpPanel = nullptr;
    Catalog* mpCatalog = nullptr;
    Links mLinks;
    int32_t mOverrideToolActive = 0;
    bool mLotBusy = false;
    int32_t mBuildCategory = 11;
    std::array<const CPBuildItem*, kBuildCategories> mBuildItems{};
    int32_t mBuySubMode = 3;
    int32_t mBuyBrowseMode = 1;
    std::array<int32_t, 2> mBuyCategory{0, 0};
    int32_t mProductIndex = -1;
    const CPProduct* mpProduct = nullptr;
    int32_t mBuyScroll = 0;
    struct BrowseSlots {
        std::array<int32_t, kBuyCategories> selections;
        std::array<const CPProduct*, kBuyCategories> products{};
        std::array<int32_t, kBuyCategories> scrolls{};
        BrowseSlots() { selections.fill(-1); }
    };
    std::array<BrowseSlots, 2> mBrowse;
    int32_t mSelectedPerson = -1;
    FrameTimer mTimer1;
    FrameTimer mTimer2;
    int32_t mSnapshotClass = 1;
    int32_t mSnapshotQuality = 1;
    int32_t mSnapshotWidth = 400;
    int32_t mSnapshotHeight = 300;
    bool mPanelHidden = true;
    std::string mFriendCountText;
    std::string mFamilyNameText;
    Clock mClock;
};

}  // namespace shell
