// How a view hands its mouse events to the current build tool: the screen
// point becomes a position in sixteenths of a tile, the object under it is
// picked when the tool asks, and the tool's mouse operations run.
#pragma once

#include <cstdint>

#include "simulation/XViewer.h"
#include "world/tools/ToolServices.h"

class cTool;

// The tool receiving the view's events, or null. The current tool itself
// is kept with the viewer list (SetCurrentTool).
cTool* GetCurrentTool();

// Mouse movement: a drag (isMove) or a plain move. A drag at the last drag
// position is swallowed unless the tool wants every drag. True when the
// tool was called.
bool OnMouseMove(XViewer& viewer, const ToolMouseEvent& event, bool isMove);
// A press (which 1) or a double click, followed by one drag update. A press
// outside the view is consumed without reaching the tool.
bool OnMouseButton(XViewer& viewer, const ToolMouseEvent& event, int32_t which);
// A release; the tool's pending money is booked with its sound. Events
// carrying flag 0x800 are ignored.
void OnMouseUp(XViewer& viewer, const ToolMouseEvent& event);
