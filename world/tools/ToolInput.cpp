#include "world/tools/ToolInput.h"

#include "simulation/XViewer.h"
#include "world/tools/cTool.h"

namespace {

int32_t LevelOf(const XViewer& viewer) {
    const int32_t level = viewer.GetCurrentLevel();
    return level == 0 ? 1 : level;
}

int32_t PickFor(cTool& tool, XViewer& viewer, const ToolMouseEvent& event, int32_t level) {
    return tool.WantsPick() != 0 ? viewer.Pick(event.x, event.y, level, 1) : 0;
}

tova::FinePoint FineOf(const XViewer& viewer, const ToolMouseEvent& event) {
    tova::FinePoint fine;
    viewer.ScreenToWorld(fine, event.x, event.y, 1);
    return fine;
}

}  // namespace

// Only the world's tools are made current.
cTool* GetCurrentTool() { return static_cast<cTool*>(CurrentTool()); }

bool OnMouseMove(XViewer& viewer, const ToolMouseEvent& event, bool isMove) {
    const int32_t level = LevelOf(viewer);
    cTool* tool = GetCurrentTool();
    if (tool == nullptr) return false;
    tool->SetScreenPoint(event.x, event.y);
    const tova::FinePoint fine = FineOf(viewer, event);
    const int32_t picked = PickFor(*tool, viewer, event, level);
    if (isMove) {
        if (tool->WantsEveryDrag() == 0 && fine == LastDragPosition()) return false;
        tool->Drag(fine, picked, event);
    } else {
        tool->MouseMove(fine, picked, event);
    }
    return true;
}

bool OnMouseButton(XViewer& viewer, const ToolMouseEvent& event, int32_t which) {
    cTool* tool = GetCurrentTool();
    if (tool == nullptr) return false;
    const tova::ScreenRect area = viewer.GetViewportArea();
    if (event.x < 0 || event.y < 0 || event.x >= area.right - area.left || event.y >= area.bottom - area.top)
        return true;
    const int32_t level = LevelOf(viewer);
    tool->SetScreenPoint(event.x, event.y);
    const int32_t picked = PickFor(*tool, viewer, event, level);
    const tova::FinePoint fine = FineOf(viewer, event);
    if (which == 1)
        tool->MouseDown(fine, picked, event);
    else
        tool->DoubleClick(fine, picked, event);
    OnMouseMove(viewer, event, true);
    return true;
}

void OnMouseUp(XViewer& viewer, const ToolMouseEvent& event) {
    cTool* tool = GetCurrentTool();
    if ((event.flags & 0x800) != 0 || tool == nullptr) return;
    const int32_t level = LevelOf(viewer);
    tool->SetScreenPoint(event.x, event.y);
    const tova::FinePoint fine = FineOf(viewer, event);
    const int32_t picked = PickFor(*tool, viewer, event, level);
    tool->MouseUp(fine, picked, event);
    if (tool->GetPending() != 0) {
        tool->PlayBuyMoneyBack();
        tool->BookPending();
    }
}
