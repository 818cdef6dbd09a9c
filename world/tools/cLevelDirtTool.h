// The levelling tool: flattens a dragged rectangle of corners to the height
// of the corner where the drag began. While dragging the levelling is only
// tried (the tiles show whether it would pass and what it costs); the
// release makes it.
#pragma once

#include "world/tools/cDirtTool.h"

class cLevelDirtTool : public cDirtTool {
public:
    using cDirtTool::cDirtTool;

    void Activate() override;
    void Deactivate() override;
    void MouseMove(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseDown(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void Drag(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    void MouseUp(tova::FinePoint fine, int32_t picked, const ToolMouseEvent& event) override;
    // Escape cancels the drag.
    bool KeyDown(uint32_t key, uint32_t flags) override;

private:
    struct Corners {
        GridPoint start, end;
    };
    Corners CornersTo(tova::FinePoint fine) const;
    bool Level(const Corners& c, int32_t& cost);
    void MarkRect(const Corners& c, uint8_t bits);
    void ClearRectMarks();
    void PlaceCornerMarkers(const Corners& c);
    void HideCornerMarkers();

    int32_t mCornerMarkers[2] = {};
};
