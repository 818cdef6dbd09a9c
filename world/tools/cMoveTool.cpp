#include "world/tools/cMoveTool.h"

#include <cmath>

#include "framework/cRZKeyboard.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"
#include "simulation/ObjectModule.h"
#include "simulation/SoundPlayer.h"
#include "simulation/XViewer.h"
#include "simulation/cXCursorObject.h"
#include "world/cFixedWorld.h"
#include "world/tools/BuildToolContext.h"
#include "world/tools/cNewFloorTool.h"
#include "world/undo/FloorUndoable.h"
#include "world/undo/ObjectUndoable.h"
#include "world/undo/UndoManager.h"

using tova::ObjectDefinition;
using tova::ObjectDefinitionRecord;
using tova::cXCursorObject;
using tova::cXObject;

namespace {

constexpr int32_t kRangeLow[cMoveTool::kCategories] = {-1000, -900, -800, -700, -600, -500, -400};
constexpr int32_t kRangeSize = 100;
constexpr uint32_t kMoveEscape = 27, kDelete = 46;
constexpr int32_t kMoveMessageSet = 137;
// Record bytes needed for the words at 36, 78 and 138.
constexpr int32_t kNeededRecordSize = ObjectDefinitionRecord::kCategory + 2;

std::vector<uint32_t> gLists[cMoveTool::kCategories];

StringSet* PlacementMessages() {
    static StringSet* set = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        static StringSet loaded;
        if (tova::LoadUIStringSet(kMoveMessageSet, "UIText", loaded, false)) set = &loaded;
    }
    return set;
}

tova::ObjectModule* Module() { return GetBuildToolContext().module; }

uint32_t MasterGuid(const ObjectDefinition* d) {
    if (d == nullptr) return 0;
    ObjectDefinition* master = const_cast<ObjectDefinition*>(d)->GetMasterDefinition();
    return (master != nullptr ? master : d)->GetGUID();
}

}  // namespace

cMoveTool::cMoveTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) {
    bool empty = true;
    for (const auto& list : gLists) empty = empty && list.empty();
    if (empty) FillItemListsFromCatalogue();
    mUndo.AddLivePreview(this);
}

cMoveTool::~cMoveTool() {
    mUndo.RemoveLivePreview(this);
    if (mRecord != nullptr) mRecord->Release();
}

void cMoveTool::FillItemLists(const std::vector<CatalogueEntry>& entries) {
    ClearItemLists();
    for (const CatalogueEntry& e : entries) {
        // A record too short for the three words is never read past its end.
        if (e.recordSize < kNeededRecordSize || e.word78 != 0) continue;
        if (e.category >= 1 && e.category <= kCategories) gLists[e.category - 1].push_back(e.guid);
    }
}

void cMoveTool::FillItemListsFromCatalogue() {
    tova::ObjectFolder* folder = GetBuildToolContext().catalogue;
    if (folder == nullptr) return;
    std::vector<CatalogueEntry> entries;
    for (int32_t i = 0; i < folder->GetDefinitionCount(); ++i) {
        ObjectDefinition* d = folder->GetDefinition(i);
        if (d == nullptr) continue;
        const ObjectDefinitionRecord& r = d->GetRecord();
        // The catalogue keeps every record at its full size.
        entries.push_back({d->GetGUID(), MasterGuid(d), ObjectDefinitionRecord::kSize, r.Word(ObjectDefinitionRecord::kPrice),
                           r.Word(ObjectDefinitionRecord::kCatalogMask1), r.Word(ObjectDefinitionRecord::kCategory)});
    }
    FillItemLists(entries);
}

void cMoveTool::ClearItemLists() {
    for (auto& list : gLists) list.clear();
}

const std::vector<uint32_t>& cMoveTool::ItemList(int32_t category) {
    static const std::vector<uint32_t> none;
    return category >= 1 && category <= kCategories ? gLists[category - 1] : none;
}

bool cMoveTool::LookUpItem(int32_t id, int32_t& category, int32_t& position) {
    for (int32_t c = 0; c < kCategories; ++c) {
        if (id < kRangeLow[c] || id >= kRangeLow[c] + kRangeSize) continue;
        if (id - kRangeLow[c] >= static_cast<int32_t>(gLists[c].size())) return false;
        category = c + 1;
        position = id - kRangeLow[c];
        return true;
    }
    return false;
}

int32_t cMoveTool::ItemId(int32_t category, int32_t position) { return kRangeLow[category - 1] + position; }

int32_t cMoveTool::CategoryPosition(const ObjectDefinition* definition, int32_t mode) {
    const std::vector<uint32_t>& list = ItemList(mode - 2);
    const uint32_t guid = MasterGuid(definition);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == guid) return static_cast<int32_t>(i);
    return static_cast<int32_t>(list.size()) + 1;
}

bool cMoveTool::IsInCategory(const ObjectDefinition* definition, int32_t mode) {
    return definition != nullptr && CategoryPosition(definition, mode) < static_cast<int32_t>(ItemList(mode - 2).size());
}

int32_t cMoveTool::PriceOf(ObjectDefinition* definition) {
    if (definition == nullptr) return 0;
    ObjectDefinition* master = definition->GetMasterDefinition();
    return static_cast<uint16_t>((master != nullptr ? master : definition)->GetRecord().Word(ObjectDefinitionRecord::kPrice));
}

ObjectDefinition* cMoveTool::CursorDefinition() const {
    if (GetBuildToolContext().cursorDefinition != nullptr) return GetBuildToolContext().cursorDefinition;
    tova::ObjectFolder* folder = GetBuildToolContext().catalogue;
    return folder != nullptr ? folder->FindByName("Tile Cursor") : nullptr;
}

cXObject* cMoveTool::Carried() const { return mCursor != nullptr ? mCursor->GetCarried() : nullptr; }

int32_t cMoveTool::CarryLevel() const { return mMode == kFirstCategoryMode + 2 ? 1 : GetViewLevel(); }

void cMoveTool::SetParameter(int16_t value) {
    // The control panel hands the same choice again once the tool is
    // current; the purchase already on the cursor stays.
    if (value == mValue && value != -1 && mCursor != nullptr && mCursor->IsPurchase()) return;
    Deselect();
    SetHighlight(false);
    mHighlightOn = false;
    mUpperForbidden = false;
    ObjectDefinition* before = mDefinition;
    mValue = value;
    mMode = kMoveOwned;
    mBuying = false;
    mRefund = kRefundFull;
    mDefinition = nullptr;
    int32_t category = 0, position = 0;
    if (value != -1) {
        tova::ObjectFolder* folder = GetBuildToolContext().catalogue;
        if (LookUpItem(value, category, position)) {
            mDefinition = folder != nullptr ? folder->FindByGUID(gLists[category - 1][static_cast<size_t>(position)]) : nullptr;
            if (mDefinition != nullptr) {
                mMode = kFirstCategoryMode + category - 1;
                mBuying = true;
                mRefund = kRefund80;
                if (category <= 2) {
                    SetHighlight(true);
                    mHighlightOn = true;
                }
                if (category == 4) {
                    mUpperForbidden = true;
                    mRefund = kRefundNone;
                }
            }
        } else if (folder != nullptr && value >= 0 && value < folder->GetDefinitionCount()) {
            mDefinition = folder->GetDefinition(value);
            if (mDefinition != nullptr) {
                mMode = kBuyCatalogue;
                mBuying = true;
            }
        }
    }
    if (mDefinition != before && mDefinition != nullptr) {
        SetExpenseCategory(mDefinition->GetRecord().Word(ObjectDefinitionRecord::kCategory) != 0 ? 7 : 6);
        static constexpr int32_t kFacingByRotation[4] = {2, 0, 6, 4};
        mDefaultFacing = kFacingByRotation[Services().world->GetRotation() & 3];
    }
    mGrabX = mGrabY = 0;
}

int32_t cMoveTool::BeginBuy(ObjectDefinition* definition) {
    if (definition == nullptr) return 0;
    ObjectDefinition* master = definition->GetMasterDefinition();
    mDefinition = master != nullptr ? master : definition;
    SetExpenseCategory(mDefinition->GetRecord().Word(ObjectDefinitionRecord::kCategory) != 0 ? 7 : 6);
    mMode = kMoveOwned;
    for (int32_t mode = kFirstCategoryMode; mode < kFirstCategoryMode + kCategories; ++mode)
        if (IsInCategory(mDefinition, mode)) {
            mMode = mode;
            return CategoryPosition(mDefinition, mode);
        }
    return 0;
}

void cMoveTool::Activate() {
    if (mBuying && mDefinition != nullptr && Module() != nullptr) {
        EndCarry(false);
        SetViewCursor(0);
        const int32_t price = PriceOf(mDefinition);
        const int32_t money = Services().money != nullptr ? Services().money->GetMoney() : 0;
        if (money >= price) {
            const int16_t id = Module()->AttachNewObjectToCursor(mDefinition, CursorDefinition(), CarryLevel());
            mCursor = id != 0 ? static_cast<cXCursorObject*>(Module()->GetObjectById(id)) : nullptr;
            if (mCursor != nullptr) {
                mCursor->RotateTo(mDefaultFacing);
                if (cXObject* carried = mCursor->GetCarried()) {
                    mCarriedId = carried->GetId();
                    if (GetBuildToolContext().undoObjects != nullptr) {
                        mRecord = new ObjectUndoable(*GetBuildToolContext().undoObjects, mCarriedId,
                                                     ObjectUndoable::kBought, price, this);
                        mRecord->AddRef();
                    }
                    mCarryPrice = price;
                    // The cursor object here does not follow the mouse by
                    // itself, so the tool keeps moving a new purchase.
                    mTracking = true;
                    mLastValid = tova::FinePoint::OffLot();
                }
            }
        }
    }
    UpdateCursorKind();
}

void cMoveTool::EndCarry(bool pushAsRemoval) {
    if (mCursor != nullptr) {
        cXObject* carried = mCursor->GetCarried();
        const bool purchase = mCursor->IsPurchase();
        const int16_t carriedId = carried != nullptr ? carried->GetId() : 0;
        mCursor->LetGo();
        Module()->DeleteObject(mCursor->GetId());
        mCursor = nullptr;
        if (purchase && carriedId != 0) {
            Module()->DeleteObject(carriedId);
        } else if (pushAsRemoval && mRecord != nullptr) {
            mRecord->SetKind(ObjectUndoable::kRemoved);
            mUndo.Push(mRecord);
        }
        if (carried != nullptr && !purchase && Module()->GetObjectById(carriedId) != nullptr)
            carried->SetStateFlags(carried->GetStateFlags() & ~0x11u);
    }
    if (mRecord != nullptr) mRecord->Release();
    mRecord = nullptr;
    mCarriedId = 0;
    mCarryPrice = 0;
    Highlight(0);
    if (Services().shell != nullptr) Services().shell->ClearSaleValue();
}

void cMoveTool::Deactivate() { EndCarry(true); }

void cMoveTool::Deselect() {
    if (mRecord != nullptr) mRecord->UndoAfter();
    if (mCursor != nullptr && !mCursor->IsPurchase() && mRecord != nullptr) {
        // The owned object goes back to where it was picked up, leaving no
        // entry to redo.
        ObjectUndoable* record = mRecord;
        record->AddRef();
        record->SetAmount(0);
        EndCarry(true);
        mUndo.Undo();
        mUndo.ClearRedo();
        record->Release();
    } else {
        EndCarry(false);
    }
    mMode = kMoveOwned;
    mDefinition = nullptr;
    mBuying = mDeleteArmed = mButtonHeld = mPlacementPending = mMoved = false;
    mTracking = true;
}

void cMoveTool::WithdrawPreview() {
    if (mCursor == nullptr || mCursor->IsPurchase() || mRecord == nullptr) return;
    mRecord->UndoAfter();
    // Undone on its own, as a removal worth nothing: the object is put back
    // and no entry is left in the history.
    ObjectUndoable* record = mRecord;
    record->AddRef();
    record->SetAmount(0);
    record->SetKind(ObjectUndoable::kRemoved);
    EndCarry(false);
    record->Undo();
    record->Release();
    mButtonHeld = mPlacementPending = mMoved = false;
    mTracking = true;
    UpdateCursorKind();
}

void cMoveTool::Highlight(int16_t id) {
    if (mHighlighted == id) return;
    if (Module() != nullptr) {
        if (cXObject* old = Module()->GetObjectById(mHighlighted)) old->SetStateFlags(old->GetStateFlags() & ~1u);
        if (cXObject* now = Module()->GetObjectById(id)) now->SetStateFlags(now->GetStateFlags() | 1u);
    }
    mHighlighted = id;
}

void cMoveTool::ShowPlacementMessage(int32_t code, int32_t amount) {
    if (code == 0) {
        mMessage.clear();
        ShowCursorText("");
        return;
    }
    std::string text = "Can't place here!";
    if (code == kCodeAmount) {
        text = std::to_string(amount);
    } else if (StringSet* set = PlacementMessages()) {
        if (const char* s = set->GetString(code); s != nullptr && *s != '\0') text = s;
    }
    mMessage = text;
    mMessageX = mScreenX;
    mMessageY = mScreenY;
    ShowCursorText(text);
}

int32_t cMoveTool::RefundOf(const cXObject& object) const {
    const int32_t value = object.GetSaleValue();
    if (mRefund == kRefundNone) return 0;
    if (mRefund == kRefund80) return static_cast<int32_t>(std::lround(0.8 * value));
    return value;
}

bool cMoveTool::TryOtherFacings(tova::FinePoint target, int32_t level) {
    cXObject* carried = mCursor->GetCarried();
    // Quarter-turn objects turn 2 directions a step, objects allowed on
    // diagonals 1.
    const int32_t step = carried != nullptr && carried->GetData(tova::kDataRotationStep) == 1 ? 1 : 2;
    const int32_t tries = mMode == kFirstCategoryMode || mMode == kFirstCategoryMode + 1 ? 3 : 8 / step - 1;
    for (int32_t n = 1; n <= tries; ++n) {
        mCursor->Rotate(n);
        mCursor->Place(target, level, nullptr, 0);
        if (mCursor->IsCarriedPlaced()) return true;
        mCursor->Rotate(-n);
        if (cXObject::PlaceFailureCode() == 22) break;
    }
    mCursor->Place(target, level, nullptr, 0);
    return false;
}

void cMoveTool::UndoFloorChanges() {
    if (mRecord != nullptr) mRecord->UndoAfter();
}

bool cMoveTool::ProvideFloor() {
    cFixedWorld& world = *Services().world;
    if (mCursor->GetCarried() == nullptr || mRecord == nullptr) return false;
    // The cursor's parts stand where the carried parts are tried, even when
    // the carried object could not be put there.
    std::vector<cXObject*> parts;
    mCursor->GetGroup(parts);
    auto* floors = new FloorUndoable(world, this);
    floors->AddRef();
    int32_t cost = 0;
    bool ok = true;
    for (cXObject* cursorPart : parts) {
        cXObject* part = cursorPart != nullptr ? static_cast<cXCursorObject*>(cursorPart)->GetCarried() : nullptr;
        if (part == nullptr || !cursorPart->IsOnLot() || world.IsBorderTile(cursorPart->GetTile())) continue;
        const TileLocation view = world.WorldToView(cursorPart->GetTile());
        const int32_t flags = part->GetData(tova::kDataPlacement);
        const uint8_t floor = world.GetFloor(view);
        if (!(flags & tova::kPlaceOnFloor) && floor != 0) {
            const int32_t refund = static_cast<int32_t>(std::lround(0.8 * FloorPatternPrice(world, floor)));
            if (!FloorCanRemove(world, view)) ok = false;
            if (!ok) break;
            floors->AddTileChange(view, -refund);
            world.SetFloor(view, 0);
            cost -= refund;
        } else if (!(flags & tova::kPlaceNoFloorAbove) && floor == 0 && view.level > 1) {
            int32_t pattern = Services().shell != nullptr ? Services().shell->GetFloorPattern() : 0;
            if (pattern == 0) pattern = 1;
            if (!FloorCanLay(world, view)) ok = false;
            if (!ok) break;
            const int32_t price = FloorPatternPrice(world, pattern);
            floors->AddTileChange(view, price);
            world.SetFloor(view, static_cast<uint8_t>(pattern));
            cost += price;
        }
    }
    if (ok && !CanAfford(mCarryPrice + cost)) ok = false;
    if (!ok || floors->Count() == 0) {
        floors->Revert();
        floors->Release();
        return ok;
    }
    AddPending(cost);
    // Its change is made already; applying only marks it done.
    mRecord->AddAfter(floors);
    floors->Release();
    return true;
}

void cMoveTool::TrackTo(tova::FinePoint fine) {
    cFixedWorld& world = *Services().world;
    tova::FinePoint target = fine;
    if (XViewer* view = Services().view; view != nullptr && (mGrabX != 0 || mGrabY != 0))
        view->ScreenToWorld(target, mScreenX - mGrabX, mScreenY - mGrabY, CarryLevel());
    target.x = (target.x & ~15) | 8;
    target.y = (target.y & ~15) | 8;
    const int32_t dx = mScreenX - mPressX, dy = mScreenY - mPressY;
    bool turning = false;
    if (mButtonHeld && dx * dx + dy * dy > 36) {
        // Screen right and down run along +x and +y of the view.
        const int32_t facing = dx >= 0 ? (dy >= 0 ? 2 : 0) : (dy >= 0 ? 4 : 6);
        const int32_t turned = (facing + 2 * world.GetRotation()) & 7;
        mDragDirection = turned;
        if (cXObject* carried = mCursor->GetCarried(); carried != nullptr && carried->GetData(tova::kDataDirection) != turned) {
            mCursor->RotateTo(turned);
            PlayRotate();
        }
        turning = true;
    }
    if (!world.IsBorderPoint(target)) {
        const int32_t level = CarryLevel();
        const bool floorItem = mMode == kFirstCategoryMode + 2;
        if (floorItem) UndoFloorChanges();
        mCursor->Place(target, level, nullptr, 0);
        bool valid = mCursor->IsCarriedPlaced();
        if (!valid && floorItem && ProvideFloor()) {
            mCursor->Place(target, level, nullptr, 0);
            valid = mCursor->IsCarriedPlaced();
            if (!valid) UndoFloorChanges();
        } else if (!valid && !turning) {
            valid = TryOtherFacings(target, level);
        }
        if (valid) {
            mLastValid = target;
        } else if (!mLastValid.IsOffLot()) {
            const int32_t code = cXObject::PlaceFailureCode();
            mCursor->Place(mLastValid, level, nullptr, 0);
            cXObject::SetPlaceFailureCode(code);
        }
        if (mButtonHeld && turning) {
            const bool upper = mUpperForbidden && level > 1;
            if (!valid || upper)
                ShowPlacementMessage(upper ? kCodeUpperLevel : cXObject::PlaceFailureCode(), 0);
            else
                ShowPlacementMessage(0, 0);
        }
    }
}

void cMoveTool::UpdateCursorKind() {
    if (Services().view == nullptr) return;
    mDeleteArmed = CtrlDown() && (mMode == 3 || mMode == 4) && mRefund == kRefund80;
    int32_t kind = 10;
    if (mDeleteArmed)
        kind = 6;
    else if (mCursor != nullptr && !mButtonHeld)
        kind = 11;
    else if (mCursor != nullptr) {
        static constexpr int32_t kByDirection[8] = {14, 12, 16, 12, 15, 12, 13, 12};
        kind = mDragDirection < 0 ? 12 : kByDirection[mDragDirection & 7];
    }
    SetViewCursor(kind);
}

void cMoveTool::MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent&) {
    mDeleteArmed = CtrlDown() && (mMode == 3 || mMode == 4) && mRefund == kRefund80;
    if (!mMessage.empty()) {
        const int32_t dx = mScreenX - mMessageX, dy = mScreenY - mMessageY;
        if (dx * dx + dy * dy >= 17 * 17) ShowPlacementMessage(0, 0);
    }
    cXObject* under = Module() != nullptr ? Module()->GetObjectById(static_cast<int16_t>(picked)) : nullptr;
    if (mDeleteArmed) {
        const bool item = under != nullptr && (IsInCategory(under->GetDefinition(), 3) || IsInCategory(under->GetDefinition(), 4));
        Highlight(item ? under->GetId() : 0);
    } else if (mCursor != nullptr && mTracking) {
        TrackTo(fine);
    } else if (mCursor == nullptr) {
        Highlight(under != nullptr && under->CanPickUp() ? under->GetId() : 0);
    }
    UpdateCursorKind();
}

void cMoveTool::StartPickUp(cXObject& object) {
    const int16_t id = Module()->AttachToCursor(object.GetId(), CursorDefinition(), object.GetLevel());
    mCursor = id != 0 ? static_cast<cXCursorObject*>(Module()->GetObjectById(id)) : nullptr;
    if (mCursor == nullptr) {
        PlayError();
        return;
    }
    int32_t sx = 0, sy = 0;
    if (XViewer* view = Services().view) view->WorldToScreen(object.GetPosition(), sx, sy);
    mGrabX = Services().view != nullptr ? mScreenX - sx : 0;
    mGrabY = Services().view != nullptr ? mScreenY - sy : 0;
    mCarriedId = object.GetId();
    if (GetBuildToolContext().undoObjects != nullptr) {
        mRecord = new ObjectUndoable(*GetBuildToolContext().undoObjects, mCarriedId, ObjectUndoable::kMoved, 0, this);
        mRecord->AddRef();
    }
    SubPending(GetPending());
    mCarryPrice = 0;
    mLastValid = object.GetPosition();
    tova::PlayUISound("UI_object_move");
    mTracking = true;
    static constexpr float kFactor[3] = {1.0f, 0.8f, 0.0f};
    if (Services().shell != nullptr)
        Services().shell->ShowSaleValue(mCarriedId, true, mRefund != kRefundNone, kFactor[mRefund]);
}

void cMoveTool::MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    mPressX = mScreenX;
    mPressY = mScreenY;
    mButtonHeld = true;
    mDragDirection = -1;
    MouseMove(fine, picked, event);
    if (Module() == nullptr) return;
    if (mCursor != nullptr) {
        int32_t code = cXObject::PlaceFailureCode();
        if (code != 0)
            PlayError();
        else
            tova::PlayUISound("UI_object_move_place");
        mPlacementPending = true;
        if (mUpperForbidden && CarryLevel() > 1) code = kCodeUpperLevel;
        ShowPlacementMessage(code, 0);
        return;
    }
    // A press with delete armed starts a sale, not a pick-up: the object
    // sold at the release must not be on the cursor.
    if (mDeleteArmed) return;
    cXObject* under = Module()->GetObjectById(static_cast<int16_t>(picked));
    if (under != nullptr) {
        if (under->CanPickUp() && under->GetId() != 0)
            StartPickUp(*under);
        else
            ShowPlacementMessage(cXObject::PlaceFailureCode() != 0 ? cXObject::PlaceFailureCode() : 1, 0);
        return;
    }
    const int32_t level = GetViewLevel();
    if (level > 1 && Services().world->GetFloor(TileLocation::FromFine(fine, level)) == 0)
        ShowPlacementMessage(kCodeUpperLevel, 0);
}

void cMoveTool::Sell(cXObject& object, ObjectUndoable* record) {
    const int32_t refund = RefundOf(object);
    SubPending(refund);
    BookPending();
    if (refund != 0)
        PlayMoneyBack();
    else
        PlayDelete();
    if (record != nullptr) record->SetAmount(refund);
}

void cMoveTool::MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    MouseMove(fine, picked, event);
    mButtonHeld = false;
    if (Module() == nullptr) return;
    if (mMode == kBuyCatalogue && cXObject::PlaceFailureCode() == 0) tova::PlayUISound("UI_object_place");
    if (mDeleteArmed) {
        cXObject* under = Module()->GetObjectById(static_cast<int16_t>(picked));
        const bool item = under != nullptr && (IsInCategory(under->GetDefinition(), 3) || IsInCategory(under->GetDefinition(), 4));
        if (item && under->CanDelete()) {
            ObjectUndoable* record = nullptr;
            if (GetBuildToolContext().undoObjects != nullptr) {
                record = new ObjectUndoable(*GetBuildToolContext().undoObjects, under->GetId(), ObjectUndoable::kRemoved, 0, this);
                record->AddRef();
            }
            const int16_t id = under->GetId();
            Sell(*under, record);
            if (record != nullptr) {
                mUndo.Push(record);
                record->Release();
            }
            Highlight(0);
            Module()->DeleteObject(id);
        }
        return;
    }
    if (mCursor == nullptr) return;
    const int32_t dx = mScreenX - mPressX, dy = mScreenY - mPressY;
    mMoved = dx * dx + dy * dy > 3;
    if (!mPlacementPending) return;
    mPlacementPending = false;
    const bool affordable = CanAfford(mCarryPrice);
    if (affordable && mCursor->IsCarriedPlaced() && cXObject::PlaceFailureCode() == 0) {
        const int32_t price = mCarryPrice;
        cXObject* carried = mCursor->GetCarried();
        if (carried != nullptr) mDefaultFacing = carried->GetData(tova::kDataDirection);
        mCursor->LetGo();
        Module()->DeleteObject(mCursor->GetId());
        mCursor = nullptr;
        if (carried != nullptr) carried->SetStateFlags(carried->GetStateFlags() & ~0x11u);
        if (mRecord != nullptr) {
            mUndo.Push(mRecord);
            mRecord->Release();
            mRecord = nullptr;
        }
        EndCarry(false);
        AddPending(price);
        if (price != 0) {
            ShowPlacementMessage(kCodeAmount, price);
            PlayBuyMoneyBack();
            BookPending();
        }
        if (mBuying) {
            if (ShiftDown() || mKeepBuying) {
                const int32_t money = Services().money != nullptr ? Services().money->GetMoney() : 0;
                if (money >= PriceOf(mDefinition)) {
                    Activate();
                    mTracking = true;
                } else {
                    PlayError();
                    if (Services().shell != nullptr) Services().shell->LeaveBuyTool();
                }
            } else if (Services().shell != nullptr) {
                Services().shell->LeaveBuyTool();
            }
        }
        return;
    }
    PlayError();
    ShowPlacementMessage(0, 0);
    if (!affordable) ShowPlacementMessage(kCodeNoMoney, 0);
}

bool cMoveTool::KeyDown(uint32_t key, uint32_t) {
    if (key == cRZKeyboard::kVKControl) {
        if ((mMode == 3 || mMode == 4) && mRefund == kRefund80) mDeleteArmed = true;
        UpdateCursorKind();
        return true;
    }
    if (key == cRZKeyboard::kVKShift) return true;
    if (key == kMoveEscape) {
        Deactivate();
        return true;
    }
    if (key == kDelete) {
        RemoveCarried();
        return true;
    }
    return false;
}

bool cMoveTool::KeyUp(uint32_t key, uint32_t) {
    if (key == cRZKeyboard::kVKShift) return true;
    if (key == cRZKeyboard::kVKControl) {
        mDeleteArmed = false;
        UpdateCursorKind();
        return true;
    }
    return false;
}

bool cMoveTool::Char(uint32_t character, uint32_t, int32_t) {
    const bool back = character == ',' || character == '<', on = character == '.' || character == '>';
    if (!back && !on) return false;
    if (mCursor != nullptr) {
        mCursor->Rotate(back ? -1 : 1);
        PlayRotate();
    }
    return true;
}

void cMoveTool::RemoveCarried() {
    cXObject* carried = Carried();
    if (carried == nullptr || !carried->CanDelete()) {
        PlayError();
        return;
    }
    if (mCursor->IsPurchase()) {
        Deselect();
        return;
    }
    Sell(*carried, mRecord);
    const int16_t id = carried->GetId();
    EndCarry(true);
    Module()->DeleteObject(id);
    Deselect();
}

void cMoveTool::MarkTiles(TileLocation, uint64_t (&rows)[64]) {
    if (!mHighlightOn || mCursor == nullptr) return;
    cFixedWorld& world = *Services().world;
    std::vector<cXObject*> parts;
    mCursor->GetGroup(parts);
    cXObject* highlighted = mDeleteArmed && Module() != nullptr ? Module()->GetObjectById(mHighlighted) : nullptr;
    TileLocation chosen = TileLocation::At(0, 0, CarryLevel());
    for (cXObject* part : parts) {
        if (part == nullptr) continue;
        TileLocation tile = highlighted != nullptr ? highlighted->GetTile() : part->GetTile();
        if (world.IsBorderTile(tile)) tile = TileLocation::FromFine(mLastValid, tile.level);
        if (tile.x > chosen.x)
            chosen = tile;
        else if (tile.y > chosen.y)
            chosen = tile;
    }
    const TileLocation view = world.WorldToView(chosen);
    if (!world.IsOutsideLotBounds(view)) cTool::MarkTiles(view, rows);
}

void cMoveTool::ViewChanged() {
    if (mMode == 3 || mMode == 4) return;
    mGrabX = mGrabY = 0;
}
