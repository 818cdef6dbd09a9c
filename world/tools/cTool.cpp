#include "world/tools/cTool.h"

#include "framework/cRZKeyboard.h"
#include "simulation/SoundPlayer.h"
#include "simulation/XViewer.h"
#include "world/cFixedWorld.h"

namespace {
tova::FinePoint gDragOrigin = tova::FinePoint::OffLot();
tova::FinePoint gLastDrag = tova::FinePoint::OffLot();
constexpr uint32_t kSoundGapMs = 400;
}  // namespace

tova::FinePoint& DragOrigin() { return gDragOrigin; }
tova::FinePoint& LastDragPosition() { return gLastDrag; }

void cTool::Activate() { SetViewCursor(0); }

void cTool::Describe(std::string& text) {
    text = "Tool #(" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ")";
}

void cTool::MarkTiles(tova::TileLocation tile, uint64_t (&rows)[64]) {
    const cFixedWorld* world = mServices.world;
    if (mHighlight == 0 || world == nullptr) return;
    const ViewBounds& b = world->GetViewBounds();
    if (tile.x < b.minX + 1 || tile.x > b.maxX - 1 || tile.y < b.minY + 1 || tile.y > b.maxY - 1) return;
    const WallInfo info = world->GetWallInfoAtView(tile);
    rows[tile.y] |= uint64_t{1} << tile.x;
    // A wall on the near side hides the neighbour's highlight.
    const auto clear = [&](int direction) {
        const int x = tile.x + DirectionOffsets[direction].dx, y = tile.y + DirectionOffsets[direction].dy;
        if (x >= 0 && y >= 0 && x < 64 && y < 64) rows[y] &= ~(uint64_t{1} << x);
    };
    if (info.flags & 1) clear(2);
    if (info.flags & 2) clear(0);
}

bool cTool::CanAfford(int32_t amount) const {
    if (amount < 1) return true;
    const int64_t money = mServices.money != nullptr ? mServices.money->GetMoney() : 0;
    return money >= int64_t{amount} + mPending;
}

int32_t cTool::BookPending() {
    const int32_t result = mServices.money != nullptr ? mServices.money->AddToStatistic(mExpenseCategory, mPending) : 0;
    mPending = 0;
    return result;
}

void cTool::PlayLimited(uint32_t& last, const char* name) {
    const uint32_t now = mServices.clock != nullptr ? mServices.clock->Milliseconds() : 0;
    // The unsigned difference holds across the clock's wrap.
    if (static_cast<uint32_t>(now - last) <= kSoundGapMs) return;
    tova::PlayUISound(name);
    last = now;
}

int32_t cTool::GetViewLevel() const {
    const int32_t level = mServices.view != nullptr ? mServices.view->GetCurrentLevel() : 1;
    return level == 0 ? 1 : level;
}

void cTool::SetViewCursor(int32_t kind) const {
    if (mServices.shell != nullptr) mServices.shell->SetViewCursor(kind);
}

void cTool::ShowCursorText(const std::string& text) const {
    if (mServices.shell == nullptr) return;
    if (text.empty()) {
        mServices.shell->HideToolTip();
        return;
    }
    int32_t x = 0, y = 0;
    mServices.shell->GetMousePosition(x, y);
    mServices.shell->ShowToolTip(x + 17, y - 5, text);
}

bool cTool::ShiftDown() const {
    return mServices.keyboard != nullptr && (mServices.keyboard->GetModifiers() & cRZKeyboard::kShift) != 0;
}

bool cTool::CtrlDown() const {
    return mServices.keyboard != nullptr && (mServices.keyboard->GetModifiers() & cRZKeyboard::kControl) != 0;
}

void cTool::RedrawTile(tova::TileLocation viewTile) const {
    if (mServices.view != nullptr) mServices.view->InvalidateTile(viewTile);
}

void cTool::RedrawView() const { RedrawAllViewers(); }
