// What the control-panel state asks of the rest of the game besides the
// simulator, the tool set, the view, the sound and the panel: the
// application's phase, the lot's selected person and busy list, the
// terrain's look, the main view's banner and cursor, the product placing
// tool and a few texts. A game without one answers with these defaults.
#pragma once

#include <cstdint>
#include <string>

class cTool;

namespace shell {

class iCPGame {
public:
    virtual ~iCPGame() = default;

    // The application is quitting, or its neighbourhood screen is open
    // after start-up: the state hands nothing on then.
    virtual bool HoldsChanges() const { return false; }
    virtual bool NeighbourhoodOpen() const { return false; }
    virtual int32_t LanguageId() const { return 1; }
    virtual bool AutoLevel() const { return false; }

    virtual void SetTerrainBuildLook(bool /*on*/) {}
    // The simulator's mode value (1 build, 2 buy, 0 live, 3 options, 4 camera).
    virtual void SetSimulatorMode(int32_t /*value*/) {}
    // Entering live mode: the house rebuilds, unused definitions go, visitors are set up.
    virtual void PrepareLive() {}
    virtual bool HasSecondFloor() const { return false; }
    virtual bool UpperLevelAllowed() const { return false; }

    // The main view's paused banner, its cursor, and whether the panel is hidden.
    virtual void ShowPausedBanner(bool /*shown*/, bool /*withTimer*/) {}
    virtual void SetViewCursor(int32_t /*kind*/) {}
    virtual void PanelHiddenChanged(bool /*hidden*/) {}
    // The developer allocation log's hook.
    virtual void LogText(const std::string& /*text*/) {}
    // The move tool's pending broadcast (command 145): true when it was set (and now is clear).
    virtual bool TakePendingMoveBroadcast() { return false; }

    // The lot's people.
    virtual bool LotBusy() const { return false; }
    virtual int32_t GetLotSelectedPerson() const { return -1; }
    virtual void SetLotSelectedPerson(int32_t /*index*/) {}
    virtual bool HasLiveObject(int32_t /*index*/) const { return true; }
    virtual void BringIn(int32_t /*index*/) {}
    virtual void ScrollToPerson(int32_t /*index*/) {}
    virtual int32_t FriendCount() const { return 0; }
    virtual std::string FamilyName() const { return {}; }

    // Hands a product to the move-and-place tool: -1 when the catalogue
    // knows no definition for the id, 0 when placed, else the tool's error.
    virtual int32_t PlaceProduct(cTool* /*moveTool*/, uint32_t /*guid*/) { return -1; }
    // Money and clock texts in the language's format.
    virtual std::string FormatMoney(int32_t amount) const;
    virtual std::string FormatClock(int32_t hour, int32_t minute) const;
};

}  // namespace shell
