// One queued action of the selected person, shown along the top of the main
// view; clicking it asks the person to drop the action, once. The main view
// places the icons and slides them to their places.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/cGZWin.h"

namespace shell {

class cActionIcon : public cGZWin {
public:
    // The cells of an icon picture: columns from the width (45, 180, 270),
    // rows from the height (45, 135, the row shown then 1). Other sizes are
    // one cell.
    struct Grid {
        int32_t columns = 1, rows = 1, row = 0, cellWidth = 45, cellHeight = 45;
    };
    static Grid GridFor(int32_t width, int32_t height);

    // Asks the person to drop the action; true when accepted.
    using RemoveRequest = std::function<bool(int32_t personId, int32_t actionId)>;
    using Clock = std::function<uint32_t()>;
    static constexpr uint32_t kDefaultSlideMs = 500;

    cActionIcon(RemoveRequest remove, Clock clock);

    // The queue entry shown: its picture size, ids and title; actionId 0 clears it.
    void SetAction(int32_t actionId, int32_t personId, bool cancelled, int32_t pictureWidth, int32_t pictureHeight,
                   const std::string& title);
    void Cancel();
    void PlaceAt(int32_t x, int32_t y);
    void SlideTo(int32_t x, int32_t y, uint32_t durationMs);
    void StepSlide();

    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;

    const Grid& GetGrid() const { return mGrid; }
    bool IsCancelled() const { return mbCancelled; }
    bool IsSliding() const { return mbSliding; }
    bool IsPlaced() const { return mbPlaced; }
    int32_t GetActionId() const { return mnActionId; }

private:
    RemoveRequest mRemove;
    Clock mClock;
    Grid mGrid;
    uint32_t mnSlideStart = 0;
    uint32_t mnSlideDuration = kDefaultSlideMs;
    bool mbSliding = false;
    bool mbCancelled = false;
    int32_t mnStartX = 0, mnStartY = 0, mnEndX = 0, mnEndY = 0;
    bool mbPlaced = false;
    int32_t mnActionId = 0;
    int32_t mnPersonId = 0;
};

}  // namespace shell
