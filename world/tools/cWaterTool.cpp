#include "world/tools/cWaterTool.h"

#include <algorithm>

#include "framework/cRZKeyboard.h"
#include "world/cFixedWorld.h"
#include "world/cPoolLayer.h"

namespace {
bool gWaterToolActive = false;
}  // namespace

bool WaterToolActive() { return gWaterToolActive; }

void cWaterTool::Activate() {
    gWaterToolActive = true;
    mFirst = mLast = tova::TileLocation{};
}

void cWaterTool::Deactivate() { gWaterToolActive = false; }

void cWaterTool::MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) {
    mIdle = false;
    mFirst = tova::TileLocation::FromFine(fine, 1);
    mLast = tova::TileLocation::At(mFirst.x + 1, mFirst.y + 1, 1);
    DragOrigin() = fine;
    Drag(fine, picked, event);
}

void cWaterTool::Drag(tova::FinePoint fine, int32_t, const ToolMouseEvent&) {
    cFixedWorld* world = Services().world;
    if (mIdle || world == nullptr) return;
    const tova::TileLocation origin = tova::TileLocation::FromFine(DragOrigin(), 1);
    const tova::TileLocation here = tova::TileLocation::FromFine(fine, 1);
    mFirst = tova::TileLocation::At(std::min(origin.x, here.x), std::min(origin.y, here.y), 1);
    mLast = tova::TileLocation::At(std::max(origin.x, here.x) + 1, std::max(origin.y, here.y) + 1, 1);
    // The rectangle's tiles in world orientation, kept off the grid's edge
    // ring (water is never drawn there).
    const tova::TileLocation a = world->ViewToWorld(mFirst);
    const tova::TileLocation b = world->ViewToWorld(tova::TileLocation::At(mLast.x - 1, mLast.y - 1, 1));
    const int32_t limit = world->GetSize() - 2;
    const int32_t x0 = std::max<int32_t>(1, std::min(a.x, b.x)), x1 = std::min<int32_t>(limit, std::max(a.x, b.x));
    const int32_t y0 = std::max<int32_t>(1, std::min(a.y, b.y)), y1 = std::min<int32_t>(limit, std::max(a.y, b.y));
    if (x0 <= x1 && y0 <= y1) {
        cWaterLayer& water = *world->GetWaterLayer();
        if (mErase != 0) {
            for (int32_t y = y0; y <= y1; ++y)
                for (int32_t x = x0; x <= x1; ++x)
                    if (water.At(x, y) != kNoPoolCell) water.RemoveWaterTile(tova::TileLocation::At(x, y, 1));
        } else {
            water.AddWaterRect(TileRect{tova::TileLocation::At(x0, y0, 1), x1 + 1, y1 + 1});
        }
    }
    RedrawView();
}

bool cWaterTool::KeyDown(uint32_t key, uint32_t) {
    if (key == cRZKeyboard::kVKControl && mIdle) mErase = 1;
    return false;
}

bool cWaterTool::KeyUp(uint32_t key, uint32_t) {
    if (key == cRZKeyboard::kVKControl && mIdle) mErase = 0;
    return false;
}

void cWaterTool::Resume() {
    if (mIdle) mErase = CtrlDown() ? 1 : 0;
}
