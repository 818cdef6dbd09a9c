#include "world/tools/cDirtTool.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "gamedata/Commander.h"
#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"
#include "world/tools/BuildToolContext.h"
#include "world/undo/TerrainUndoable.h"
#include "world/undo/UndoManager.h"

namespace {

constexpr int32_t kMessageSet = 149;
constexpr int32_t kMessageCount = 7;
constexpr uint32_t kMessageMs = 500;
constexpr uint8_t kInsideMark = 0x04;

std::unique_ptr<c2DArray<AltitudeCell>> gScratch;
std::unique_ptr<c2DArray<uint8_t>> gMarks;
std::vector<std::string> gTexts;
int32_t gLiveTools = 0;

iToolMarkers* Markers() { return GetBuildToolContext().markers; }

}  // namespace

cDirtTool::cDirtTool(ToolServices& services, UndoManager& undo) : cTool(services), mUndo(undo) {
    SetHighlight(true);
    if (gLiveTools++ == 0) {
        gTexts.assign(kMessageCount, std::string());
        StringSet set;
        if (tova::LoadUIStringSet(kMessageSet, "UIText", set, false))
            for (int32_t i = 0; i < kMessageCount; ++i)
                if (const char* text = set.GetString(i + 1)) gTexts[static_cast<size_t>(i)] = text;
    }
}

cDirtTool::~cDirtTool() {
    if (mRecord != nullptr) mRecord->Release();
    if (--gLiveTools == 0) gTexts.clear();
}

const std::vector<std::string>& cDirtTool::MessageTexts() { return gTexts; }
c2DArray<AltitudeCell>* cDirtTool::Scratch() { return gScratch.get(); }
c2DArray<uint8_t>* cDirtTool::MarkArray() { return gMarks.get(); }

uint32_t cDirtTool::Now() const { return Services().clock != nullptr ? Services().clock->Milliseconds() : 0; }

namespace {
void EnsureArrays() {
    if (!gScratch) gScratch = std::make_unique<c2DArray<AltitudeCell>>(kWorldCapacity, kWorldCapacity, "terrain scratch");
    if (!gMarks) gMarks = std::make_unique<c2DArray<uint8_t>>(kWorldCapacity, kWorldCapacity, "terrain flags");
}
}  // namespace

void cDirtTool::Activate() {
    cTool::Activate();
    EnsureArrays();
    mShownCode = -1;
    if (Markers() != nullptr && mMarker == 0) mMarker = Markers()->CreateMarker(kMarkerGuid, 2);
}

void cDirtTool::Deactivate() {
    // A gesture cut short ends here as at the button's release: what it paid
    // for is recorded, and the next press starts a record of its own.
    if (mDragging) cDirtTool::MouseUp(DragOrigin(), 0, ToolMouseEvent{});
    gScratch.reset();
    gMarks.reset();
    if (Markers() != nullptr && mMarker != 0) Markers()->DeleteMarker(mMarker);
    mMarker = 0;
}

bool cDirtTool::CornerInside(int32_t x, int32_t y) const {
    const int32_t n = World().GetSize();
    return x >= 1 && y >= 1 && x <= n - 1 && y <= n - 1;
}

GridPoint cDirtTool::ViewCornerToWorld(int32_t x, int32_t y) const {
    return RotateGridCoords(x, y, (-World().GetRotation()) & 3, kWorldCapacity + 1);
}

bool cDirtTool::Refuse(int32_t code, int32_t x, int32_t y) {
    mCode = code;
    mMessageTile = TileLocation::At(x, y, 1);
    return false;
}

bool cDirtTool::CornerCheck(int32_t x, int32_t y) {
    cFixedWorld& world = World();
    const bool anywhere = GetBuildToolContext().buildAnywhere;
    for (int32_t tx = x - 1; tx <= x; ++tx)
        for (int32_t ty = y - 1; ty <= y; ++ty) {
            if (!world.IsInsideGrid(tx, ty)) continue;
            for (int32_t level = 1; level <= 2; ++level) {
                const TileLocation t = TileLocation::At(tx, ty, level);
                bool ok = world.Floors(level)->At(tx, ty) == 0 && world.GetWallInfo(t).flags == 0 &&
                          !tool_objects::BlocksTerrain(t);
                if (level == 1) {
                    ok = ok && !world.HasWater(t) && !world.IsPoolOrMarked(t) &&
                         (anywhere || (world.Flags(1)->At(tx, ty) & kTileOutsideArea) == 0);
                }
                if (!ok) return Refuse(kMsgCannotChange, tx, ty);
            }
        }
    return true;
}

void cDirtTool::SetHeight(int32_t x, int32_t y, int32_t height, int32_t& cost) {
    cost += std::abs(height - Height(x, y)) * GetBuildToolContext().terrainPrice;
    World().SetCornerHeight(x, y, static_cast<uint8_t>(height));
}

bool cDirtTool::LevelRect(int32_t sx, int32_t sy, int32_t ex, int32_t ey, int32_t& cost) {
    const int32_t x0 = std::min(sx, ex), x1 = std::max(sx, ex), y0 = std::min(sy, ey), y1 = std::max(sy, ey);
    const int32_t target = Height(sx, sy);
    // The tiles covered lie between the corners.
    const auto tileInside = [&](int32_t tx, int32_t ty) { return tx >= x0 && tx < x1 && ty >= y0 && ty < y1; };
    std::vector<ToolObjectGroup> groups;
    for (int32_t x = x0; x <= x1; ++x)
        for (int32_t y = y0; y <= y1; ++y) {
            if (!CornerInside(x, y) || Height(x, y) == target) continue;
            if (!CornerCheck(x, y)) return false;
            if (x == x0 || x == x1 || y == y0 || y == y1)
                for (int32_t tx = x - 1; tx <= x; ++tx)
                    for (int32_t ty = y - 1; ty <= y; ++ty)
                        if (!tileInside(tx, ty) && tool_objects::HasObject(TileLocation::At(tx, ty, 1)))
                            return Refuse(kMsgCannotChange, tx, ty);
            if (tileInside(x, y)) {
                tool_objects::GroupsAt(TileLocation::At(x, y, 1), groups);
                for (const ToolObjectGroup& g : groups) {
                    if (g.ignoresTerrain) continue;
                    cost += 5;
                    for (const TileLocation& part : g.partTiles)
                        if (!tileInside(part.x, part.y)) return Refuse(kMsgGroupOutside, part.x, part.y);
                }
            }
            SetHeight(x, y, target, cost);
        }
    return Smooth(x0, y0, x1, y1, cost);
}

bool cDirtTool::Smooth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t& cost) {
    c2DArray<uint8_t>& marks = *gMarks;
    for (int32_t x = 0; x < kWorldCapacity; ++x)
        for (int32_t y = 0; y < kWorldCapacity; ++y) marks.At(x, y) &= static_cast<uint8_t>(~kInsideMark);
    const auto mark = [&](int32_t x, int32_t y) {
        if (x < kWorldCapacity && y < kWorldCapacity) marks.At(x, y) |= kInsideMark;
    };
    const auto marked = [&](int32_t x, int32_t y) {
        return x < kWorldCapacity && y < kWorldCapacity && (marks.At(x, y) & kInsideMark) != 0;
    };
    std::vector<GridPoint> list;
    std::vector<uint8_t> listed(static_cast<size_t>((kWorldCapacity + 1) * (kWorldCapacity + 1)), 0);
    const auto add = [&](int32_t x, int32_t y) {
        uint8_t& seen = listed[static_cast<size_t>(x * (kWorldCapacity + 1) + y)];
        if (seen) return;
        seen = 1;
        list.push_back({x, y});
    };
    for (int32_t x = x0; x <= x1; ++x)
        for (int32_t y = y0; y <= y1; ++y) {
            if (x > x0 && x < x1 && y > y0 && y < y1)
                mark(x, y);
            else
                add(x, y);
        }
    constexpr int32_t kDx[4] = {0, 0, -1, 1}, kDy[4] = {-1, 1, 0, 0};
    for (size_t i = 0; i < list.size(); ++i) {
        const GridPoint c = list[i];
        mark(c.x, c.y);
        const int32_t h = Height(c.x, c.y);
        for (int32_t step = 0; step < 4; ++step) {
            const int32_t nx = c.x + kDx[step], ny = c.y + kDy[step];
            if (!CornerInside(nx, ny)) continue;
            const int32_t d = Height(nx, ny) - h;
            if (std::abs(d) <= kMaxStep) continue;
            if (marked(nx, ny)) return Refuse(kMsgCannotChange, nx, ny);
            if (!CornerCheck(nx, ny)) return false;
            SetHeight(nx, ny, h + (d > 0 ? kMaxStep : -kMaxStep), cost);
            add(nx, ny);
        }
    }
    return true;
}

void cDirtTool::SnapshotAltitude() { gScratch->CopyFrom(World().Altitude()); }

void cDirtTool::RestoreAltitude() { World().Altitude().CopyFrom(*gScratch); }

void cDirtTool::MarkChangedTiles() {
    cFixedWorld& world = World();
    const int32_t n = world.GetSize();
    for (int32_t x = 0; x <= n && x < kWorldCapacity; ++x)
        for (int32_t y = 0; y <= n && y < kWorldCapacity; ++y) {
            if (world.Altitude().At(x, y).corner[1] == gScratch->At(x, y).corner[1]) continue;
            for (int32_t tx = x - 1; tx <= x; ++tx)
                for (int32_t ty = y - 1; ty <= y; ++ty)
                    if (tx >= 1 && ty >= 1 && tx <= n - 2 && ty <= n - 2) world.Grass().At(tx, ty) = -128;
            for (int32_t tx = x - 2; tx < x + 8; ++tx)
                for (int32_t ty = y - 2; ty < y + 8; ++ty)
                    if (world.IsInsideGrid(tx, ty)) RedrawTile(world.WorldToView(TileLocation::At(tx, ty, 1)));
        }
}

void cDirtTool::ShowMarkerAt(int32_t marker, int32_t x, int32_t y) {
    if (Markers() != nullptr && marker != 0) Markers()->ShowMarker(marker, TileLocation::At(x, y, 1));
}

void cDirtTool::HideMarker(int32_t marker) {
    if (Markers() != nullptr && marker != 0) Markers()->HideMarker(marker);
}

void cDirtTool::UpdateMessage() {
    if (mDragging && mCode == kMsgNone) {
        ShowCursorText(mCost != 0 ? std::to_string(mCost) : std::string());
        return;
    }
    if (mCode == mShownCode) return;
    mShownCode = mCode;
    int32_t text = -1;
    if (mCode >= 1 && mCode <= 5) text = mCode - 1;
    if (mCode == kMsgNoMoney) text = 5;
    if (mCode == kMsgGroundOnly) text = 6;
    if (text < 0) {
        ShowCursorText("");
        HideMarker(mMarker);
        return;
    }
    const std::string& words = gTexts.empty() ? std::string() : gTexts[static_cast<size_t>(text)];
    ShowCursorText(words.empty() ? std::to_string(mCode) : words);
    mMessageUntil = Now() + kMessageMs;
    ShowMarkerAt(mMarker, mMessageTile.x, mMessageTile.y);
}

void cDirtTool::MouseMove(tova::FinePoint, int32_t, const ToolMouseEvent&) {
    if (mDragging || static_cast<int32_t>(Now() - mMessageUntil) < 0) return;
    if (mCode != kMsgNone || mShownCode > 0) {
        mCode = kMsgNone;
        mShownCode = kMsgNone;
        HideMarker(mMarker);
    }
    ShowCursorText("");
}

void cDirtTool::MouseDown(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    if (GetViewLevel() >= 2) {
        const TileLocation t = World().ViewToWorld(TileLocation::FromFine(fine, 1));
        Refuse(kMsgGroundOnly, t.x, t.y);
        PlayError();
        UpdateMessage();
        return;
    }
    ShowCursorText("");
    // A tool pressed without being activated first still has its arrays.
    EnsureArrays();
    DragOrigin() = fine;
    LastDragPosition() = tova::FinePoint::OffLot();
    mDragging = true;
    SetHighlight(false);
    mCode = kMsgNone;
    mCost = 0;
    if (mRecord == nullptr) {
        mRecord = new TerrainUndoable(World(), this);
        mRecord->AddRef();
    }
}

void cDirtTool::EndDrag() {
    mDragging = false;
    SetHighlight(true);
}

void cDirtTool::MouseUp(tova::FinePoint, int32_t, const ToolMouseEvent&) {
    if (!mDragging) return;
    if (mRecord != nullptr) {
        if (mCost != 0) {
            mRecord->SetAmount(mCost);
            mUndo.Push(mRecord);
        }
        mRecord->Release();
        mRecord = nullptr;
    }
    EndDrag();
}

bool cDirtTool::Char(uint32_t character, uint32_t, int32_t repeat) {
    if (character >= '1' && character <= '9') {
        if (repeat == 1) tova::Broadcast(static_cast<int32_t>(character) + 105, 0);
        return true;
    }
    if (character == 'h') {
        tova::Broadcast(800, 0);
        return true;
    }
    if (character == 'o') {
        if (repeat == 1) tova::Broadcast(188, 0);
        return true;
    }
    return false;
}

bool cDirtTool::ForwardShortcut(uint32_t character, uint32_t flags) {
    return (flags & 0xFFFF) != 0 && Char(character, 0, 1);
}
