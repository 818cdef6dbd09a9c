// The move tool: buys objects from the catalogue, picks up objects on the
// lot, carries them on a cursor object, turns, places and sells them. The
// placement rules belong to the objects; the tool keeps the money and one
// ObjectUndoable per carry, pushed when the object is placed or removed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/tools/cTool.h"
#include "world/undo/UndoManager.h"

class ObjectUndoable;
namespace tova {
class ObjectDefinition;
class cXCursorObject;
class cXObject;
}  // namespace tova

class cMoveTool : public cTool, public iLivePreview {
public:
    static constexpr int32_t kCategories = 7;
    // Carry modes: 1 move owned objects, 2 buy from the catalogue, 3..9 buy
    // an item of build category 1..7.
    enum Mode : int32_t { kMoveOwned = 1, kBuyCatalogue = 2, kFirstCategoryMode = 3 };
    enum Refund : int32_t { kRefundFull = 0, kRefund80 = 1, kRefundNone = 2 };
    // Placement codes the tool sets itself.
    enum : int32_t { kCodeNoMoney = 21, kCodeAmount = 26, kCodeUpperLevel = 31 };

    cMoveTool(ToolServices& services, UndoManager& undo);
    ~cMoveTool() override;

    // The seven item lists (GUIDs by build category), filled from the
    // definitions once while they are empty. A definition goes into list n
    // when its record's word at byte 78 is 0 and its category word (byte
    // 138) is n; one whose stored record is too short for the words at 36,
    // 78 and 138 is left out.
    struct CatalogueEntry {
        uint32_t guid = 0;
        uint32_t masterGuid = 0;
        int32_t recordSize = 0;
        int16_t price = 0, word78 = 0, category = 0;
    };
    static void FillItemLists(const std::vector<CatalogueEntry>& entries);
    static void FillItemListsFromCatalogue();
    static void ClearItemLists();
    static const std::vector<uint32_t>& ItemList(int32_t category);
    // The category (1..7) and position of an item id, false outside the
    // ranges or past a list's end.
    static bool LookUpItem(int32_t id, int32_t& category, int32_t& position);
    static int32_t ItemId(int32_t category, int32_t position);
    // Modes 3..9: whether the definition's master is in the mode's list, and
    // its position (the list size + 1 when absent).
    static bool IsInCategory(const tova::ObjectDefinition* definition, int32_t mode);
    static int32_t CategoryPosition(const tova::ObjectDefinition* definition, int32_t mode);

    int32_t WantsPick() override { return 1; }
    bool HidesCostReadout() override { return true; }
    int32_t PredicateB() override { return 1; }
    void Init() override { SetParameter(-1); }
    void SetParameter(int16_t value) override;
    // The control panel's purchase from the catalogue: the list position
    // found for the definition's master (0 = none).
    int32_t BeginBuy(tova::ObjectDefinition* definition);
    void Activate() override;
    void Deactivate() override;
    void Deselect() override;
    // Before an undo or redo changes the lot, an owned object on the cursor
    // goes back where it was picked up (the step may take it away); a new
    // purchase, which no step knows, stays on the cursor.
    void WithdrawPreview() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override {
        MouseMove(fine, picked, event);
    }
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void SetScreenPoint(int32_t x, int32_t y) override {
        mScreenX = x;
        mScreenY = y;
    }
    bool KeyDown(uint32_t key, uint32_t flags) override;
    bool KeyUp(uint32_t key, uint32_t flags) override;
    bool Char(uint32_t character, uint32_t flags, int32_t repeat) override;
    // Highlights the tile of the carried group's furthest part.
    void MarkTiles(TileLocation viewTile, uint64_t (&rows)[64]) override;
    // A new zoom: the grab offset of modes other than 3 and 4 is reset.
    void ViewChanged() override;
    // The Delete key: sells (or drops a purchase of) the carried object.
    void RemoveCarried();

    int32_t GetMode() const { return mMode; }
    bool Carrying() const { return mCursor != nullptr; }
    tova::cXObject* Carried() const;
    bool DeleteArmed() const { return mDeleteArmed; }
    bool Moved() const { return mMoved; }
    // The placement message shown (empty when none).
    const std::string& Message() const { return mMessage; }
    // The price of a definition: its master's word at byte 36.
    static int32_t PriceOf(tova::ObjectDefinition* definition);

private:
    tova::ObjectDefinition* CursorDefinition() const;
    void ShowPlacementMessage(int32_t code, int32_t amount);
    void EndCarry(bool pushAsRemoval);
    void StartPickUp(tova::cXObject& object);
    void Sell(tova::cXObject& object, ObjectUndoable* record);
    void TrackTo(tova::FinePoint fine);
    bool TryOtherFacings(tova::FinePoint target, int32_t level);
    // Mode 5: the floor changes the carried group needs where it stands,
    // recorded after the carry; false when a tile refuses or the money
    // does not reach.
    bool ProvideFloor();
    void UndoFloorChanges();
    void UpdateCursorKind();
    int32_t CarryLevel() const;
    int32_t RefundOf(const tova::cXObject& object) const;
    void Highlight(int16_t id);

    UndoManager& mUndo;
    ObjectUndoable* mRecord = nullptr;
    int32_t mMode = kMoveOwned;
    int32_t mValue = -1;
    tova::ObjectDefinition* mDefinition = nullptr;
    int32_t mDefaultFacing = 2;
    tova::cXCursorObject* mCursor = nullptr;
    int16_t mCarriedId = 0;
    int16_t mHighlighted = 0;
    int32_t mGrabX = 0, mGrabY = 0;
    int32_t mScreenX = 0, mScreenY = 0;
    int32_t mPressX = 0, mPressY = 0;
    int32_t mCarryPrice = 0;
    int32_t mRefund = kRefundFull;
    bool mBuying = false;
    bool mKeepBuying = false;
    bool mDeleteArmed = false;
    bool mButtonHeld = false;
    bool mPlacementPending = false;
    bool mMoved = false;
    bool mTracking = true;
    bool mUpperForbidden = false;
    bool mHighlightOn = false;
    int32_t mDragDirection = -1;
    tova::FinePoint mLastValid = tova::FinePoint::OffLot();
    std::string mMessage;
    int32_t mMessageX = 0, mMessageY = 0;
};
