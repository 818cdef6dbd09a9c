// The base of the build and buy tools. The current tool receives the house
// view's mouse and key events with positions in sixteenths of a tile; a
// tool that charges keeps the gesture's cost as pending money and books it
// when the mouse goes up.
#pragma once

#include <cstdint>
#include <string>

#include "gamedata/TilePosition.h"
#include "simulation/XViewer.h"
#include "world/tools/ToolServices.h"

class cTool : public XTool {
public:
    explicit cTool(ToolServices& services) : mServices(services) {}
    ~cTool() override = default;
    cTool(const cTool&) = delete;
    cTool& operator=(const cTool&) = delete;

    // A drag reaches the tool only when its position differs from the last
    // drag position, unless this answers non-zero.
    virtual int32_t WantsEveryDrag() { return 0; }
    virtual int32_t ShowsDragFrame() { return 0; }
    virtual int32_t PredicateA() { return 0; }
    // Non-zero: the view picks the object under the cursor for each call.
    virtual int32_t WantsPick() { return 0; }
    void Activate() override;
    void Deactivate() override {}
    virtual void MouseMove(tova::FinePoint /*fine*/, int32_t /*picked*/, const ToolMouseEvent& /*event*/) {}
    virtual void MouseDown(tova::FinePoint /*fine*/, int32_t /*picked*/, const ToolMouseEvent& /*event*/) {}
    virtual void DoubleClick(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
        MouseDown(fine, picked, event);
    }
    virtual void Drag(tova::FinePoint /*fine*/, int32_t /*picked*/, const ToolMouseEvent& /*event*/) {}
    virtual void MouseUp(tova::FinePoint /*fine*/, int32_t /*picked*/, const ToolMouseEvent& /*event*/) {}
    // The catalogue choice of the control panel.
    virtual void SetParameter(int16_t /*value*/) {}
    virtual void Init() {}
    virtual void Describe(std::string& text);
    virtual void ViewChanged() {}
    // Highlights the tile under the cursor in 64 row masks of a level.
    virtual void MarkTiles(tova::TileLocation viewTile, uint64_t (&rows)[64]);
    virtual void SetScreenPoint(int32_t /*x*/, int32_t /*y*/) {}
    virtual bool KeyDown(uint32_t /*key*/, uint32_t /*flags*/) { return false; }
    virtual bool KeyUp(uint32_t /*key*/, uint32_t /*flags*/) { return false; }
    virtual bool Char(uint32_t /*character*/, uint32_t /*flags*/, int32_t /*repeat*/) { return false; }
    virtual int32_t PredicateB() { return 0; }
    virtual void Resume() {}
    virtual void Suspend() {}
    virtual void Deselect() {}
    virtual bool ShowsStatusText() { return false; }
    virtual bool HidesCostReadout() { return false; }
    virtual void ObjectRemoved(int32_t /*index*/) {}
    virtual void OnCommand249(intptr_t /*argument*/, int32_t /*source*/) { ViewChanged(); }
    virtual void OnCommand132(intptr_t /*argument*/, int32_t /*source*/) { ViewChanged(); }

    // Money of the gesture in progress.
    bool CanAfford(int32_t amount) const;
    int32_t AddPending(int32_t amount) {
        mPending += amount;
        return amount;
    }
    void SubPending(int32_t amount) { mPending -= amount; }
    int32_t GetPending() const { return mPending; }
    int32_t GetExpenseCategory() const { return mExpenseCategory; }
    void SetExpenseCategory(int32_t category) { mExpenseCategory = category; }
    // Books the pending money with the expense category and clears it.
    int32_t BookPending();

    // Each sound plays at most once in 400 ms per tool.
    void PlayError() { PlayLimited(mLastError, "UI_error"); }
    void PlayBuyMoneyBack() { PlayLimited(mLastBuyMoneyBack, "UI_buy_moneyback"); }
    void PlayMoneyBack() { PlayLimited(mLastMoneyBack, "UI_moneyback"); }
    void PlayDelete() { PlayLimited(mLastDelete, "UI_archtool_delete"); }
    void PlayRotate() { PlayLimited(mLastRotate, "UI_object_rotate"); }

    void SetHighlight(bool on) { mHighlight = on ? 1 : 0; }
    ToolServices& Services() const { return mServices; }

    // Shared helpers of the tools.
    // The view's current level, 1 when it reports none.
    int32_t GetViewLevel() const;
    void SetViewCursor(int32_t kind) const;
    // Shows the text as the view's tool tip 17 pixels right of and 5 above
    // the mouse; an empty text hides it.
    void ShowCursorText(const std::string& text) const;
    bool ShiftDown() const;
    bool CtrlDown() const;

protected:
    void RedrawTile(tova::TileLocation viewTile) const;
    void RedrawView() const;

private:
    void PlayLimited(uint32_t& last, const char* name);

    ToolServices& mServices;
    uint32_t mLastError = 0;
    uint32_t mLastBuyMoneyBack = 0;
    uint32_t mLastMoneyBack = 0;
    uint32_t mLastDelete = 0;
    uint32_t mLastRotate = 0;
    int32_t mPending = 0;
    int32_t mExpenseCategory = 7;
    uint8_t mHighlight = 0;
};

// The positions the tools and the view share, in sixteenths of a tile: the
// drag origin set at a press and the last drag position (off the lot right
// after a press, so that the first drag always passes).
tova::FinePoint& DragOrigin();
tova::FinePoint& LastDragPosition();
