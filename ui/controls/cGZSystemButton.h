// A push button whose 4-column strip is stretched to any width: the left and
// right caps of the cell are drawn at the ends and the cell's middle is
// tiled between them. Its caption font starts at size 12 and steps down
// while the caption is wider than the button allows (never below 8); a
// caption that still does not fit is cut to a prefix followed by "...".
#pragma once

#include "ui/controls/cGZWinBtn.h"

class cGZSystemButton : public cGZWinBtn {
public:
    static constexpr int32_t kLargestFontSize = 12;
    static constexpr int32_t kSmallestFontSize = 8;
    static constexpr int32_t kFontFace = 1;

    cGZSystemButton();

    // The strip is always 4 columns by 1 row and stays the caller's.
    bool SetStrip(cGZBuffer* strip);

    // cGZWinBtn / cGZWin
    bool Init() override;
    bool Shutdown() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void SetText(const cRZString& text) override;
    bool DrawFrame() override;
    bool DrawCaption() override;

    int32_t GetFontSize() const { return mnFontSize; }
    int32_t GetCaptionWidth() const { return mnCaptionWidth; }
    // Width of the caps at both ends: (cell width - 1) / 2.
    int32_t CapWidth() const;
    // Bytes of the caption drawn (all of it, or the prefix before "...").
    int32_t VisibleCaptionLength() const;

private:
    // Takes the font of that size from the font service (the previous one
    // goes back); false without a service or font.
    bool UseFontSize(int32_t size);
    int32_t TextWidth() const;
    void ShrinkFontToFit();

    int32_t mnFontSize = kLargestFontSize;
    int32_t mnCaptionWidth = 0;
};
