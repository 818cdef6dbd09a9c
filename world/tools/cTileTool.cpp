#include "world/tools/cTileTool.h"

#include <algorithm>

#include "simulation/XViewer.h"
#include "world/cFixedWorld.h"

void cTileTool::SetParameter(int16_t value) {
    mParameter = value;
    RedrawAllViewers();
}

void cTileTool::Activate() {
    mState = kIdle;
    SetViewCursor(0);
}

tova::TileLocation cTileTool::TileOf(tova::FinePoint fine) const { return tova::TileLocation::FromFine(fine, 1); }

bool cTileTool::Inside(tova::TileLocation viewTile) const {
    const cFixedWorld* world = Services().world;
    return world != nullptr && !world->IsOutsideLotBounds(viewTile);
}

void cTileTool::MouseMove(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    const tova::TileLocation tile = TileOf(fine);
    // After a reset the same tile is hovered again.
    if (mState != kIdle && tile == mHovered) return;
    if (!Inside(tile)) return;
    mHovered = tile;
    mState = kHovering;
}

void cTileTool::MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    MouseMove(fine, picked, event);
    if (SubToolOf() == kGrassPainter) {
        PaintGrass(TileOf(fine));
        return;
    }
    if (SubToolOf() != kAreaPainter) return;  // the other values only hover
    if (mState == kIdle) {
        PlayError();
        return;
    }
    TakeSnapshot();
    mPaintValue = (Services().world->GetTileFlags(mHovered) & kTileOutsideArea) ? 0 : 1;
    mState = (event.flags & 0x200) ? kPaintingRect : kPainting;
    mStart = mCurrent = mHovered;
    PaintMark(mCurrent);
}

void cTileTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    const tova::TileLocation tile = TileOf(fine);
    if (SubToolOf() == kGrassPainter) {
        PaintGrass(tile);
        return;
    }
    if (mState != kPainting && mState != kPaintingRect) return;
    if (tile == mCurrent || !Inside(tile)) return;
    mCurrent = tile;
    if (mState == kPainting) {
        PaintMark(mCurrent);
        return;
    }
    RestoreSnapshot();
    for (int32_t y = std::min(mStart.y, mCurrent.y); y <= std::max(mStart.y, mCurrent.y); ++y)
        for (int32_t x = std::min(mStart.x, mCurrent.x); x <= std::max(mStart.x, mCurrent.x); ++x)
            PaintMark(tova::TileLocation::At(x, y, 1));
}

void cTileTool::MouseUp(tova::FinePoint, int32_t, const ToolMouseEvent& event) {
    if (SubToolOf() == kGrassPainter) return;
    if ((mState == kPainting || mState == kPaintingRect) && (event.flags & 1)) RestoreSnapshot();
    mState = kIdle;
}

void cTileTool::PaintMark(tova::TileLocation viewTile) {
    cFixedWorld& world = *Services().world;
    const uint8_t flags = world.GetTileFlags(viewTile);
    const bool marked = (flags & kTileOutsideArea) != 0;
    if (marked == (mPaintValue != 0)) return;
    world.SetTileFlags(viewTile, static_cast<uint8_t>(flags ^ kTileOutsideArea));
    RedrawTile(viewTile);
}

void cTileTool::PaintGrass(tova::TileLocation viewTile) {
    // Only tiles strictly inside the lot: the edge ring and the space
    // beyond the grid are never written.
    if (!Inside(viewTile)) return;
    cFixedWorld& world = *Services().world;
    const tova::TileLocation t = world.ViewToWorld(viewTile);
    const int32_t value = std::clamp(world.TargetGrass().At(t.x, t.y) + (mParameter >> 4), -128, 127);
    world.TargetGrass().At(t.x, t.y) = static_cast<int8_t>(value);
    world.Grass().At(t.x, t.y) = static_cast<int8_t>(value);
    RedrawTile(viewTile);
}

void cTileTool::TakeSnapshot() {
    c2DArray<uint8_t>& flags = *Services().world->Flags(1);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x)
            mSnapshot[y][x] = flags.Contains(x, y) ? (flags.At(x, y) & kTileOutsideArea) : 0;
    mSnapshotTaken = true;
}

void cTileTool::RestoreSnapshot() {
    if (!mSnapshotTaken) return;
    cFixedWorld& world = *Services().world;
    c2DArray<uint8_t>& flags = *world.Flags(1);
    const int32_t size = world.GetSize();
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            uint8_t& cell = flags.At(x, y);
            if ((cell & kTileOutsideArea) == mSnapshot[y][x]) continue;
            cell = static_cast<uint8_t>((cell & ~kTileOutsideArea) | mSnapshot[y][x]);
            RedrawTile(world.WorldToView(tova::TileLocation::At(x, y, 1)));
        }
}
