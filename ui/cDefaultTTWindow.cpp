#include "ui/cDefaultTTWindow.h"

#include <algorithm>

#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"
#include "ui/graphics/cIGZWinGraphics.h"

namespace {

// One font for every tooltip window; it goes back to the font service with
// the last tooltip window.
cIGZFont* gpFont = nullptr;
int32_t gnWindows = 0;

}  // namespace

cIGZFont* cDefaultTTWindow::GetSharedFont() { return gpFont; }

cDefaultTTWindow::cDefaultTTWindow() {
    mText = cRZString("Your Tip Here");
    ++gnWindows;
}

cDefaultTTWindow::~cDefaultTTWindow() {
    if (mpTextImage) mpTextImage->Release();
    if (mpBackgroundCopy) mpBackgroundCopy->Release();
    if (--gnWindows == 0 && gpFont) {
        if (cIGZFontSys* fonts = GZGetFontSys()) fonts->ReleaseFont(gpFont);
        gpFont = nullptr;
    }
}

bool cDefaultTTWindow::Init() { return Init(mText); }

bool cDefaultTTWindow::Init(const cRZString& text) {
    if (!cGZWin::Init()) return false;
    mnBlack = MakeColor(0, 0, 0);
    mnRed = MakeColor(255, 0, 0);
    if (!gpFont) {
        cIGZFontSys* fonts = GZGetFontSys();
        gpFont = fonts ? fonts->GetFont({1, 7, 0, 0}) : nullptr;
        if (!gpFont) return false;
    }
    SetFillColor(MakeColor(255, 255, 224));
    if (mpTextImage) {
        mpTextImage->Release();
        mpTextImage = nullptr;
    }
    SetText(text, mnColourChoice);
    SetFillColor(MakeColor(255, 255, 224));
    return true;
}

void cDefaultTTWindow::SetText(const cRZString& text, int32_t colourChoice) {
    const bool same = text == mText && colourChoice == mnColourChoice && mpTextImage;
    mText = text;
    mnColourChoice = colourChoice;
    if (!same) BuildTextImage();
    mbTakeBackground = 1;
    Invalidate();
}

bool cDefaultTTWindow::SetColourChoice(int32_t choice) {
    if (choice == mnColourChoice) return false;
    SetText(mText, choice);
    return true;
}

void cDefaultTTWindow::BuildTextImage() {
    if (!gpFont) return;
    const int32_t length = static_cast<int32_t>(mText.size());
    const int32_t w = gpFont->GetTextWidth(mText.c_str(), length) + 6;
    const int32_t h = gpFont->GetLineHeight() + 2;
    SetArea(0, 0, w, h);
    if (mpTextImage) mpTextImage->Release();
    mpTextImage = GZCreateScreenBuffer(w, h);
    if (!mpTextImage) return;
    mpTextImage->Clear(GZScreenColor(255, 255, 224));
    mpTextImage->FrameRect({0, 0, w, h}, GZScreenColor(0, 0, 0), 1);
    const uint32_t oldColour = gpFont->GetColor();
    gpFont->SetColor(mnColourChoice == kRedText ? GZScreenColor(255, 0, 0) : GZScreenColor(0, 0, 0));
    gpFont->DrawText(*mpTextImage, 3, 1, mText.c_str(), length, nullptr, -1, -1);
    gpFont->SetColor(oldColour);
    // The copy of what lies under the tip is remade for the next target.
    if (mpBackgroundCopy) mpBackgroundCopy->Release();
    mpBackgroundCopy = nullptr;
}

void cDefaultTTWindow::SetAreaFromRect(const cRZRect& rect, float fraction) {
    const int32_t w = Width(), h = Height();
    SetArea(rect.left, rect.bottom - h, rect.left + w, rect.bottom);
    if (fraction == 0.0f) mbTakeBackground = 1;
    mnTextAlpha = std::clamp(static_cast<int32_t>(fraction * 255.0f + 0.5f), 0, 255);
}

bool cDefaultTTWindow::Draw(bool) {
    cGZBuffer* target = GetDrawBuffer();
    if (!mpTextImage || !target) return false;
    if (!mpBackgroundCopy || mpBackgroundCopy->Width() != target->Width() ||
        mpBackgroundCopy->Height() != target->Height()) {
        if (mpBackgroundCopy) mpBackgroundCopy->Release();
        mpBackgroundCopy = GZCreateScreenBuffer(target->Width(), target->Height());
        mbTakeBackground = 1;
        if (!mpBackgroundCopy) return false;
    }
    const cRZRect& rect = GetBufferArea();
    if (mbTakeBackground) {
        uint32_t key = 0, flags = 0;
        target->GetBlitParams(key, flags);
        target->SetBlitParams(key, 0);
        mpBackgroundCopy->Blit(*target, rect, rect);
        target->SetBlitParams(key, flags);
    }
    target->Blit(*mpBackgroundCopy, rect, rect);
    target->BlitAlpha(*mpTextImage, mpTextImage->GetBounds(), rect, static_cast<uint8_t>(mnTextAlpha));
    mbTakeBackground = 0;
    return true;
}
