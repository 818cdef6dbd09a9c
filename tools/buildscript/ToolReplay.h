// buildscript's replay of build-mode events: a tool set over the lot with
// stand-ins for the shell (in build mode), the household's money, the
// keyboard and a clock, and a viewer whose input path the mouse commands go
// through. After each command it prints the cells that changed, then the
// money line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/cRZKeyboard.h"
#include "support/RecordingDevice3D.h"
#include "support/RecordingViewer.h"
#include "support/ToolFakes.h"
#include "world/LotWorld.h"
#include "world/cFixedWorld.h"
#include "world/tools/cToolSet.h"
#include "world/undo/ModuleWallObjects.h"

class ModuleUndoObjects;
namespace tova {
class ObjectDefinition;
class ObjectFolder;
class ObjectModule;
}  // namespace tova

// The world services the replay's lot is made with: prices that the
// "price" command sets (everything free until then).
const WorldServices& ReplayWorldServices();

class ToolReplay {
public:
    ToolReplay(cFixedWorld& world, int32_t money, const std::string& dataRoot);
    ~ToolReplay();

    // True when the words are a replay command; error is set when they are
    // one but cannot run.
    bool Handles(const std::string& verb) const;
    bool Run(const std::vector<std::string>& words, std::string& error);

private:
    struct Snapshot {
        const _c2DArray* layer;
        std::vector<uint8_t> bytes;
    };
    bool Mouse(const std::string& verb, const std::string& x, const std::string& y, std::string& error);
    bool SelectTool(const std::vector<std::string>& words, std::string& error);
    bool Key(const std::string& which, bool down, std::string& error);
    bool Price(const std::vector<std::string>& words, std::string& error);
    // Buying from the catalogue of --data ROOT, as the control panel does.
    bool Buy(const std::string& guid, std::string& error);
    bool LoadObjects(std::string& error);
    void TakeSnapshot();
    void PrintChanges();
    std::string CellText(const _c2DArray& layer, const uint8_t* cell) const;

    cFixedWorld& mWorld;
    std::string mDataRoot;
    tova_test::FakeShell mShell;
    tova_test::FakeMoney mMoney;
    tova_test::ManualClock mClock;
    cRZKeyboard mKeyboard;
    tova_test::RecordingViewer mViewer;
    tova_test::RecordingDevice3D mDevice;
    ToolServices mServices;
    std::unique_ptr<cToolSet> mTools;
    cTool* mPanelTool = nullptr;
    std::vector<Snapshot> mSnapshot;
    // The objects, made at the first purchase.
    std::unique_ptr<cLotWorld> mLot;
    std::unique_ptr<tova::ObjectFolder> mFolder;
    std::unique_ptr<tova::ObjectModule> mModule;
    std::unique_ptr<ModuleUndoObjects> mUndoObjects;
    // What the wall tool sells and puts back when a wall is drawn over a door.
    std::unique_ptr<ModuleWallObjects> mWallObjects;
    std::unique_ptr<tova::ObjectDefinition> mCursorDefinition;
    std::string mRoof;
    std::string mMessage;
};
