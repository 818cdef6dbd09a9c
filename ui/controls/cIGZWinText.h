// How an owner configures a static text label.
#pragma once

#include <cstdint>

class cIGZFont;

class cIGZWinText {
public:
    // Sizes the window to the text's extent plus twice the margins.
    virtual void SizeToText() = 0;
    // Cuts the height down to a whole number of the font's lines.
    virtual void SnapHeightToLines() = 0;
    virtual bool TestTextFlag(int32_t bit) const = 0;
    virtual void SetTextFlag(int32_t bit, bool on) = 0;
    virtual void SetTextColor(uint32_t colour) = 0;
    virtual void SetOpaque(bool on) = 0;
    virtual void SetFont(cIGZFont* font) = 0;
    // Codes 0-5: 2 x horizontal (left, centre, right) + vertical (top, centred).
    virtual void SetAlignment(int32_t code) = 0;
    virtual void SetMargins(int32_t x, int32_t y) = 0;

protected:
    virtual ~cIGZWinText() = default;
};
