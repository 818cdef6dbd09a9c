// The stock tooltip: a one-line text in a pale box, blended over the screen
// with the opacity the window manager gives it while the tip grows. The box
// and its text are drawn once into a text image when the text or colour
// changes; each frame puts back what lay under the tip and blends the image
// over it, so a fading tip never accumulates.
#pragma once

#include "ui/cGZWin.h"

class cIGZFont;

class cDefaultTTWindow : public cGZWin {
public:
    enum : int32_t { kBlackText = 0, kRedText = 1 };

    cDefaultTTWindow();
    ~cDefaultTTWindow() override;

    bool Init() override;
    // Base Init, the colours, the shared font (false when the font service
    // gives none), the text.
    virtual bool Init(const cRZString& text);
    void SetText(const cRZString& text) override { SetText(text, mnColourChoice); }
    void SetText(const cRZString& text, int32_t colourChoice);
    bool SetColourChoice(int32_t choice);
    void SetAreaFromRect(const cRZRect& rect, float fraction) override;
    bool Draw(bool force) override;

    cGZBuffer* GetTextImage() const { return mpTextImage; }
    int32_t GetTextAlpha() const { return mnTextAlpha; }
    bool TakesBackground() const { return mbTakeBackground != 0; }
    // The font all tooltips share (null while none was made).
    static cIGZFont* GetSharedFont();

private:
    void BuildTextImage();

    cGZBuffer* mpTextImage = nullptr;
    int32_t mnColourChoice = kBlackText;
    cGZBuffer* mpBackgroundCopy = nullptr;
    uint8_t mbTakeBackground = 1;
    int32_t mnTextAlpha = 255;
    uint32_t mnBlack = 0;
    uint32_t mnRed = 0;
};
