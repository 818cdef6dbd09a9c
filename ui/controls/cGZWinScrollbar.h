// A slider with an arrow at each end and page areas on the track. Its value
// grows towards the second arrow (down or right). Holding an arrow or a page
// area repeats its step every 200 ms while the pointer stays on it. Drawn
// from a 12-cell strip (six cells for each orientation) or as plain shapes.
#pragma once

#include "framework/cRZTimer.h"
#include "ui/controls/cGZWinSlider.h"
#include "ui/controls/cIGZWinScrollbar.h"

class cGZWinScrollbar : public cGZWinSlider, public cIGZWinScrollbar {
public:
    enum Part : int32_t { kPartNone = 0, kPartFirstArrow = 1, kPartSecondArrow = 2, kPartPageBefore = 3,
                          kPartPageAfter = 4, kPartThumb = 5 };
    static constexpr int64_t kRepeatMs = 200;

    cGZWinScrollbar();

    // cIGZWinScrollbar
    int32_t AddRef() override { return cGZWin::AddRef(); }
    int32_t Release() override { return cGZWin::Release(); }
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;

    virtual void SetPageStep(int32_t step) { mnPageStep = step; }
    // False and part 0 outside the window.
    virtual bool HitPart(int32_t& part, int32_t x, int32_t y);
    virtual int32_t ArrowWidth() const { return ThumbWidth(); }
    virtual int32_t ArrowHeight() const { return ThumbHeight(); }

    // cGZWinSlider
    bool SetImage(cGZBuffer* strip, bool colourKeyed) override;
    bool ValueFromPoint(int32_t& value, int32_t x, int32_t y) override;
    void UpdateTrack() override;

    // cGZWin
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) override;
    bool Draw(bool force) override;

    int32_t GetPageStep() const { return mnPageStep; }
    int32_t GetPressedPart() const { return mnPressedPart; }
    bool IsPointerOverPressedPart() const { return mbOverPressedPart; }

private:
    // The step of a pressed arrow or page area.
    void StepPart(int32_t part);
    void DrawStrip(cGZBuffer& buffer);
    void DrawBarShapes(cGZBuffer& buffer);

    int32_t mnPageStep = 1;
    cRZTimer mRepeat{cRZTimer::kMilliseconds};
    int32_t mnPressedPart = kPartNone;
    bool mbOverPressedPart = true;
};
