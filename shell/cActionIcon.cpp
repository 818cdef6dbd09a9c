#include "shell/cActionIcon.h"

#include <cmath>

#include "shell/iShellSound.h"

namespace shell {

cActionIcon::Grid cActionIcon::GridFor(int32_t width, int32_t height) {
    Grid grid;
    if (width <= 0 || height <= 0) return grid;
    grid.columns = width == 180 ? 4 : width == 270 ? 6 : 1;
    if (height == 135) {
        grid.rows = 3;
        grid.row = 1;
    }
    // An unlisted size is one cell of the whole picture.
    const bool listed = (width == 45 || width == 180 || width == 270) && (height == 45 || height == 135);
    grid.cellWidth = listed ? width / grid.columns : width;
    grid.cellHeight = listed ? height / grid.rows : height;
    if (!listed) grid = {1, 1, 0, width, height};
    return grid;
}

cActionIcon::cActionIcon(RemoveRequest remove, Clock clock) : mRemove(std::move(remove)), mClock(std::move(clock)) {
    SetArea(5, 5, 50, 50);
}

void cActionIcon::SetAction(int32_t actionId, int32_t personId, bool cancelled, int32_t pictureWidth,
                            int32_t pictureHeight, const std::string& title) {
    mbSliding = false;
    mbPlaced = false;
    mnActionId = actionId;
    mnPersonId = actionId != 0 ? personId : 0;
    mbCancelled = actionId != 0 && cancelled;
    mGrid = actionId != 0 ? GridFor(pictureWidth, pictureHeight) : Grid{};
    const cRZRect& area = GetArea();
    SetArea(area.left, area.top, area.left + mGrid.cellWidth, area.top + mGrid.cellHeight);
    SetToolTipText(actionId != 0 ? cRZString(title.c_str()) : cRZString(""));
}

void cActionIcon::Cancel() {
    if (mbCancelled) return;
    mbCancelled = true;
    const bool accepted = mRemove && mRemove(mnPersonId, mnActionId);
    if (tova::iShellSound* sound = tova::GetShellSound()) sound->PlayUISound(accepted ? "UI_queue_delete" : "UI_error");
}

bool cActionIcon::OnLButtonUp(int32_t, int32_t, uint32_t) {
    if (!mbSliding) Cancel();
    return true;
}

void cActionIcon::PlaceAt(int32_t x, int32_t y) {
    mbSliding = false;
    mnStartX = mnEndX = x;
    mnStartY = mnEndY = y;
    mbPlaced = true;
    SetArea(x, y, x + Width(), y + Height());
    SetFlag(kGZWinHasToolTip, true);
}

void cActionIcon::SlideTo(int32_t x, int32_t y, uint32_t durationMs) {
    mnSlideDuration = durationMs == 0 ? kDefaultSlideMs : durationMs;
    mnStartX = GetArea().left;
    mnStartY = GetArea().top;
    mnEndX = x;
    mnEndY = y;
    mnSlideStart = mClock ? mClock() : 0;
    mbSliding = true;
    SetFlag(kGZWinHasToolTip, false);
}

void cActionIcon::StepSlide() {
    if (!mbSliding) return;
    const uint32_t elapsed = (mClock ? mClock() : 0) - mnSlideStart;
    int32_t x = mnEndX, y = mnEndY;
    if (elapsed < mnSlideDuration) {
        const double f = static_cast<double>(elapsed) / mnSlideDuration;
        x = static_cast<int32_t>(std::lround((1 - f) * mnStartX + f * mnEndX));
        y = static_cast<int32_t>(std::lround((1 - f) * mnStartY + f * mnEndY));
    } else {
        mbSliding = false;
        SetFlag(kGZWinHasToolTip, true);
    }
    SetArea(x, y, x + Width(), y + Height());
}

}  // namespace shell
