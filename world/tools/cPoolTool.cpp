#include "world/tools/cPoolTool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "framework/cRZKeyboard.h"
#include "gamedata/Commander.h"
#include "simulation/SoundPlayer.h"
#include "world/cFixedWorld.h"
#include "world/tools/BuildToolContext.h"
#include "world/undo/UndoManager.h"
#include "world/undo/cPoolUndoable.h"
#include "world/walls/WallManager.h"

namespace {

bool gPoolToolLive = false;

bool IsPoolCell(uint8_t cell) { return cell < kPoolMarkCell; }

// Side directions of the 8-direction table and the tile wall side toward
// each: 0 (0,-1) side 2, 1 (0,+1) side 8, 2 (-1,0) side 1, 3 (+1,0) side 4.
constexpr int32_t kSideToward[4] = {kWallSide2, kWallSide8, kWallSide1, kWallSide4};
// The two side directions beside each diagonal direction 4..7.
constexpr int32_t kBeside[4][2] = {{0, 2}, {1, 3}, {0, 3}, {1, 2}};

bool FlatAt(cFixedWorld& world, int32_t x, int32_t y) {
    const AltitudeCell& c = world.Altitude().At(x, y);
    return c.corner[0] == c.corner[1] && c.corner[0] == c.corner[2] && c.corner[0] == c.corner[3];
}

iHouseView* HouseViewOf(cFixedWorld& world) { return world.GetWallManager().GetView(); }

}  // namespace

bool PoolToolLive() { return gPoolToolLive; }

cPoolTool::cPoolTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) {}

cPoolTool::~cPoolTool() {
    DropPending();
    if (gPoolToolLive && mActive) gPoolToolLive = false;
    if (mPreview != nullptr) mPreview->Release();
    if (mBase != nullptr) mBase->Release();
}

int32_t cPoolTool::Price() const {
    const iWorldPrices* prices = Services().world->Services().prices;
    return prices != nullptr ? prices->PoolTilePrice() : 0;
}

int32_t cPoolTool::Refund(int32_t tiles) const {
    return static_cast<int32_t>(std::lround(0.8 * Price() * std::abs(tiles)));
}

void cPoolTool::DropPending() {
    if (mPending != nullptr) mPending->Release();
    mPending = nullptr;
}

void cPoolTool::Activate() {
    cFixedWorld& world = *Services().world;
    gPoolToolLive = true;
    if (mPreview == nullptr) {
        mPreview = new cPoolLayer(world.GetSize());
        mPreview->AddRef();
        mBase = new cPoolLayer(world.GetSize());
        mBase->AddRef();
    }
    mPreview->SetSize(world.GetSize());
    mBase->SetSize(world.GetSize());
    mRect = TileRect{};
    mCount = 0;
    mBase->Assign(*world.GetPoolLayer());
    mPreview->Assign(*mBase);
    world.GetPoolLayer()->Clear();
    if (iHouseView* view = HouseViewOf(world)) view->DrawPoolLayer(mPreview);
    RedrawView();
    mActive = true;
    SetMode(mMode);
}

void cPoolTool::Deactivate() {
    cFixedWorld& world = *Services().world;
    gPoolToolLive = false;
    // A drag cut short gives its money back; neither it nor a hover tile
    // passes to the world, only the pool the pushed gestures made.
    if (!mIdle) {
        if (mCount > 0) SubPending(mCount * Price());
        if (mCount < 0) AddPending(Refund(mCount));
        mCount = 0;
        mRect = TileRect{};
    }
    DropPending();
    if (iHouseView* view = HouseViewOf(world)) view->DrawPoolLayer(nullptr);
    if (mPreview != nullptr) {
        mPreview->Assign(*mBase);
        world.GetPoolLayer()->Assign(*mPreview);
    }
    RedrawView();
    mActive = false;
    mIdle = true;
    tova::Broadcast(tova::cmd::kBuildChanged, 0);
}

void cPoolTool::Refresh() {
    if (mPreview != nullptr && gPoolToolLive) ComputeDeck(*Services().world, *mPreview);
    RedrawView();
}

void cPoolTool::SetMode(int32_t mode) {
    mMode = mode;
    SetViewCursor(mode == kErase ? 6 : 0);
    RedrawView();
}

bool cPoolTool::InsideBounds(TileLocation viewTile) const { return !Services().world->IsOutsideLotBounds(viewTile); }

TileRect cPoolTool::RectTo(tova::FinePoint fine) const {
    cFixedWorld& world = *Services().world;
    const TileLocation a = mPressTile, b = world.ViewToWorld(TileLocation::FromFine(fine, 1));
    return TileRect{TileLocation::At(std::min(a.x, b.x), std::min(a.y, b.y), 1), std::max(a.x, b.x) + 1,
                    std::max(a.y, b.y) + 1};
}

bool cPoolTool::BuildTest(const TileRect& rect) {
    cFixedWorld& world = *Services().world;
    const int32_t last = world.GetSize() - 2;
    const auto inLot = [&](int32_t x, int32_t y) { return x >= 1 && y >= 1 && x <= last && y <= last; };
    mCount = 0;
    if (!inLot(rect.start.x, rect.start.y) || !inLot(rect.endX - 1, rect.endY - 1)) return (mStatus = kStatusOutside), false;
    if (mReference[0] != mReference[1] || mReference[0] != mReference[2] || mReference[0] != mReference[3])
        return (mStatus = kStatusUneven), false;
    const auto inRect = [&](int32_t x, int32_t y) {
        return x >= rect.start.x && x < rect.endX && y >= rect.start.y && y < rect.endY;
    };
    const bool anywhere = GetBuildToolContext().buildAnywhere;
    int32_t count = 0;
    for (int32_t y = rect.start.y; y < rect.endY; ++y)
        for (int32_t x = rect.start.x; x < rect.endX; ++x) {
            const TileLocation t = TileLocation::At(x, y, 1);
            if (!anywhere && (world.Flags(1)->At(x, y) & kTileOutsideArea)) return (mStatus = kStatusOutside), false;
            const AltitudeCell& c = world.Altitude().At(x, y);
            for (int32_t i = 0; i < 4; ++i)
                if (c.corner[i] != mReference[i]) return (mStatus = kStatusUneven), false;
            if (!tool_objects::AllowsBuildingUnder(t)) return (mStatus = kStatusObject), false;
            const WallInfo info = world.GetWallInfo(t);
            if (info.flags != 0) {
                if (info.HasDiagonal()) return (mStatus = kStatusWall), false;
                for (int32_t d : {0, 3, 2, 1}) {
                    const int32_t nx = x + DirectionOffsets[d].dx, ny = y + DirectionOffsets[d].dy;
                    const bool poolBeside = (mPreview->Contains(nx, ny) && IsPoolCell(mPreview->At(nx, ny))) || inRect(nx, ny);
                    if (poolBeside && info.Has(kSideToward[d])) return (mStatus = kStatusWall), false;
                }
            }
            if (!IsPoolCell(mPreview->At(x, y))) ++count;
        }
    if (!CanAfford(count * Price())) return (mStatus = kStatusNoMoney), false;
    mCount = count;
    mStatus = kStatusOk;
    return true;
}

bool cPoolTool::EraseTest(const TileRect& rect) {
    cFixedWorld& world = *Services().world;
    const int32_t last = world.GetSize() - 2;
    mCount = 0;
    if (rect.start.x < 1 || rect.start.y < 1 || rect.endX - 1 > last || rect.endY - 1 > last)
        return (mStatus = kStatusOutside), false;
    int32_t count = 0;
    for (int32_t y = rect.start.y; y < rect.endY; ++y)
        for (int32_t x = rect.start.x; x < rect.endX; ++x) {
            const TileLocation t = TileLocation::At(x, y, 1);
            const bool pool = IsPoolCell(mPreview->At(x, y));
            const uint16_t room = world.Rooms(1)->At(x, y);
            // Room number 0 is the outside; the split and unnumbered markers
            // are no rooms either.
            if (pool && (room & 0x3FF) != 0 && room < 0xFFFB && tool_objects::PersonInRoom(room))
                return (mStatus = kStatusPersonInRoom), false;
            if (tool_objects::BlocksPoolRemoval(t)) return (mStatus = kStatusHeldByObject), false;
            if (pool) ++count;
        }
    mCount = -count;
    mStatus = kStatusOk;
    return true;
}

void cPoolTool::ComputeDeck(cFixedWorld& world, cPoolLayer& layer) {
    const int32_t size = world.GetSize();
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y)
            if (layer.At(x, y) == kPoolMarkCell) layer.At(x, y) = kNoPoolCell;
    const bool anywhere = GetBuildToolContext().buildAnywhere;
    const auto covered = [&](int32_t x, int32_t y) {
        return layer.Contains(x, y) && x < size && y < size && layer.At(x, y) <= kPoolMarkCell;
    };
    for (int32_t x = 0; x < size; ++x)
        for (int32_t y = 0; y < size; ++y) {
            if (!IsPoolCell(layer.At(x, y))) continue;
            for (int32_t d = 0; d < 8; ++d) {
                const int32_t nx = x + DirectionOffsets[d].dx, ny = y + DirectionOffsets[d].dy;
                if (nx < 1 || ny < 1 || nx > size - 2 || ny > size - 2 || covered(nx, ny)) continue;
                if (!anywhere && (world.Flags(1)->At(nx, ny) & kTileOutsideArea)) continue;
                if (world.Floors(1)->At(nx, ny) != 0 || !FlatAt(world, nx, ny)) continue;
                const WallInfo info = world.GetWallInfo(TileLocation::At(nx, ny, 1));
                if (info.HasDiagonal()) continue;
                if (d < 4) {
                    // The deck tile's side facing back toward the pool.
                    const int32_t back = d ^ 1;
                    if (info.Has(kSideToward[back])) continue;
                } else {
                    const int32_t* beside = kBeside[d - 4];
                    const bool bothCovered =
                        covered(x + DirectionOffsets[beside[0]].dx, y + DirectionOffsets[beside[0]].dy) &&
                        covered(x + DirectionOffsets[beside[1]].dx, y + DirectionOffsets[beside[1]].dy);
                    if (!bothCovered) continue;
                }
                layer.At(nx, ny) = kPoolMarkCell;
            }
        }
}

void cPoolTool::ShowStatus() {
    if (mMode == kBuild && mCount > 0) {
        ShowCursorText(std::to_string(mCount * Price()));
        return;
    }
    if (mStatus == kStatusErased) {
        ShowCursorText(std::to_string(Refund(mCount)));
        return;
    }
    ShowCursorText(mStatus == kStatusOk ? std::string() : "#" + std::to_string(mStatus));
}

void cPoolTool::MouseMove(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    if (!mActive || !mIdle) return;
    cFixedWorld& world = *Services().world;
    const int32_t panel = Services().shell != nullptr ? Services().shell->PanelMode() : 0;
    const TileLocation viewTile = TileLocation::FromFine(fine, 1);
    if (panel > 1) {
        mStatus = kStatusWrongMode;
    } else if (!InsideBounds(viewTile)) {
        mStatus = kStatusOutside;
    } else {
        const TileLocation t = world.ViewToWorld(viewTile);
        mPressTile = t;
        const TileRect one{t, t.x + 1, t.y + 1};
        if (mMode == kBuild) {
            if (IsPoolCell(mPreview->At(t.x, t.y))) return;
            mPreview->Assign(*mBase);
            const AltitudeCell& c = world.Altitude().At(t.x, t.y);
            std::copy(std::begin(c.corner), std::end(c.corner), mReference);
            if (BuildTest(one) && mCount > 0) {
                mPreview->AddPoolTile(t);
                ComputeDeck(world, *mPreview);
            }
            mCount = 0;
        } else {
            mPreview->Assign(*mBase);
            if (EraseTest(one) && mCount < 0) {
                mPreview->RemovePoolTile(t);
                ComputeDeck(world, *mPreview);
            }
            mCount = 0;
        }
        RedrawView();
    }
    ShowStatus();
}

void cPoolTool::MouseDown(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    cFixedWorld& world = *Services().world;
    DragOrigin() = fine;
    LastDragPosition() = tova::FinePoint::OffLot();
    const TileLocation viewTile = TileLocation::FromFine(fine, 1);
    if (!InsideBounds(viewTile)) {
        mStatus = kStatusOutside;
        ShowStatus();
        return;
    }
    mIdle = false;
    mPressTile = world.ViewToWorld(viewTile);
    mRect = TileRect{mPressTile, mPressTile.x + 1, mPressTile.y + 1};
    mCount = 0;
    const AltitudeCell& c = world.Altitude().At(mPressTile.x, mPressTile.y);
    std::copy(std::begin(c.corner), std::end(c.corner), mReference);
    mPreview->Assign(*mBase);
    // Erasing is recorded too, so that an erase can be undone.
    cPoolLayer* before = new cPoolLayer(world.GetSize());
    before->Assign(mPending != nullptr && mPending->GetAfter() != nullptr ? *mPending->GetAfter() : *mBase);
    DropPending();
    mPending = new cPoolUndoable(world, this, before);
    mPending->AddRef();
    if (mMode == kErase) {
        EraseTest(mRect);
        mCount = 0;
        ShowStatus();
        return;
    }
    DragStep(fine);
    if (mCount > 0) tova::PlayUISound("UI_bld_dragtool_mousedown");
}

void cPoolTool::DragStep(tova::FinePoint fine) {
    cFixedWorld& world = *Services().world;
    if (!InsideBounds(TileLocation::FromFine(fine, 1))) {
        mStatus = kStatusOutside;
        ShowStatus();
        return;
    }
    // The previous step's money goes back first.
    if (mCount > 0) SubPending(mCount * Price());
    if (mCount < 0) AddPending(Refund(mCount));
    mCount = 0;
    mPreview->Assign(*mBase);
    mRect = RectTo(fine);
    if (mMode == kErase) {
        if (EraseTest(mRect)) {
            if (mCount != 0) {
                mPreview->RemovePoolRect(mRect);
                SubPending(Refund(mCount));
            }
            mStatus = kStatusErased;
        } else {
            mRect = TileRect{};
            mCount = 0;
        }
    } else if (BuildTest(mRect) && mCount > 0) {
        mPreview->AddPoolRect(mRect);
        AddPending(mCount * Price());
        mStatus = kStatusBuilt;
    }
    ComputeDeck(world, *mPreview);
    RedrawView();
    ShowStatus();
}

void cPoolTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    if (mIdle || mPending == nullptr) return;
    LastDragPosition() = fine;
    DragStep(fine);
}

void cPoolTool::MouseUp(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    if (mIdle) return;
    if (mPending != nullptr) {
        DragStep(fine);
        if (mCount != 0) {
            if (mMode == kBuild && mCount > 1) tova::PlayUISound("UI_bld_dragtool_mouseup");
            cPoolLayer* after = new cPoolLayer(Services().world->GetSize());
            after->Assign(*mPreview);
            cPoolLayer::ClearMarks(*after);
            mPending->SetAfter(after, mCount);
            // The change is in the preview already.
            mPending->MarkDone();
            mUndo.Push(mPending);
            mBase->Assign(*mPreview);
            mRect = TileRect{};
            mCount = 0;
            Refresh();
        }
        DropPending();
    }
    mIdle = true;
    if (mMode == kErase && !CtrlDown()) SetMode(kBuild);
}

bool cPoolTool::KeyDown(uint32_t key, uint32_t) {
    if (key == cRZKeyboard::kVKControl && mIdle && mMode == kBuild) SetMode(kErase);
    return false;
}

bool cPoolTool::KeyUp(uint32_t key, uint32_t) {
    if (key == cRZKeyboard::kVKControl && mIdle && mMode == kErase) SetMode(kBuild);
    return false;
}

void cPoolTool::Resume() {
    if (mIdle && (CtrlDown() ? kErase : kBuild) != mMode) SetMode(CtrlDown() ? kErase : kBuild);
    if (mPreview != nullptr) mPreview->Assign(*mBase);
    // A resumed tool answers the mouse again while it is the live one.
    mActive = gPoolToolLive;
}

void cPoolTool::Suspend() {
    if (mPreview != nullptr) mPreview->Assign(*mBase);
    mActive = false;
}
