// A value control: a thumb that moves along a horizontal or vertical track
// between a minimum and a maximum, drawn from a 4-cell strip (start cap,
// track, end cap, thumb) or, without one, as plain shapes. Every change of
// the value is reported at once to the owner as command 12.
#pragma once

#include "framework/cRZRect.h"
#include "ui/cGZWin.h"

class cGZWinSlider : public cGZWin {
public:
    enum : intptr_t { kCodeValueChanged = 12 };
    enum Orientation : int32_t { kHorizontal = 1, kVertical = 2 };

    cGZWinSlider();
    ~cGZWinSlider() override;

    // Own operations.
    virtual int32_t GetValue() const { return mnValue; }
    virtual int32_t GetMin() const { return mnMin; }
    virtual int32_t GetMax() const { return mnMax; }
    // Clamped into [min, max]; an unchanged value, or one set while a
    // change is being reported, is ignored.
    virtual void SetValue(int32_t value);
    // Both pull the value into range without a report.
    virtual void SetMin(int32_t value);
    virtual void SetMax(int32_t value);
    virtual bool SetOrientation(int32_t orientation);
    // The strip stays the caller's (counted). False without a strip or an
    // orientation.
    virtual bool SetImage(cGZBuffer* strip, bool colourKeyed);
    virtual void SetEnabled(bool enabled);
    virtual bool ValueFromPoint(int32_t& value, int32_t x, int32_t y);
    virtual void UpdateThumb();
    virtual void UpdateTrack();
    // The thumb's cell with a strip; without one a square of the window's
    // size across the track.
    virtual int32_t ThumbWidth() const;
    virtual int32_t ThumbHeight() const;

    // cGZWin
    bool Init() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) override;
    bool Draw(bool force) override;

    int32_t GetOrientation() const { return mnOrientation; }
    bool IsEnabled() const { return mbEnabled; }
    int32_t GetTrackStart() const { return mnTrackStart; }
    int32_t GetTrackEnd() const { return mnTrackEnd; }
    int32_t GetThumbPosition() const { return mnThumbPosition; }
    const cRZRect& GetThumbRect() const { return mThumbRect; }
    cGZBuffer* GetImage() const { return mpStrip; }

protected:
    bool HoldsCapture() const;
    // Holds the strip (counted), keyed on magenta when asked; false without
    // a strip or an orientation.
    bool TakeStrip(cGZBuffer* strip, bool colourKeyed);
    bool IsHorizontal() const { return mnOrientation == kHorizontal; }
    // The point along the axis with the thumb's centre under it, clamped
    // into the window less its end margins.
    int32_t AxisPoint(int32_t x, int32_t y) const;
    // Cell n of the strip: side by side for horizontal, stacked for vertical.
    cRZRect SliderCell(int32_t n) const;
    void DrawSliderStrip(cGZBuffer& buffer);
    void DrawShapes(cGZBuffer& buffer);
    uint32_t InverseColour() const { return ~mnFillColor & 0xFFFFu; }

    int32_t mnOrientation = kVertical;
    int32_t mnMin = 0, mnMax = 32, mnValue = 0;
    int32_t mnTrackStart = 0, mnThumbPosition = 0, mnTrackEnd = 0;
    int32_t mnEndMargin = 0;
    cRZRect mThumbRect{};
    bool mbReporting = false;
    cGZBuffer* mpStrip = nullptr;
    cRZRect mThumbSource{};
    int32_t mnCellWidth = 0, mnCellHeight = 0;
    bool mbEnabled = true;
    bool mbTrackReady = false;
};
