#include "ui/controls/cGZWinCheck.h"

#include <algorithm>
#include <cstring>

#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/GZMessageTypes.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

cGZWinCheck::~cGZWinCheck() {
    if (mpBoxStrip) mpBoxStrip->Release();
}

void cGZWinCheck::SetBoxStrip(cGZBuffer* strip, bool colourKeyed) {
    if (strip) strip->AddRef();
    if (mpBoxStrip) mpBoxStrip->Release();
    mpBoxStrip = strip;
    if (strip && colourKeyed) strip->SetColorKey(strip->MakeColor(255, 0, 255));
    if (mpBox) {
        mpBox->SetImageStrip(strip, 6, 1);
        SizeToContents();
    }
}

void cGZWinCheck::SetLabelFont(cIGZFont* font) {
    mpFont = font;
    if (mpBox) SizeToContents();
    Invalidate();
}

void cGZWinCheck::SetChecked(bool checked) {
    if (mpBox) mpBox->SetState(checked ? 1 : 0);
    Invalidate();
}

bool cGZWinCheck::IsChecked() const { return mpBox && mpBox->GetState() == 1; }

void cGZWinCheck::SetEnabled(bool enabled) {
    if (mpBox) mpBox->SetEnabled(enabled);
    Invalidate();
}

bool cGZWinCheck::Init() {
    const bool result = cGZWin::Init();
    if (!mpBox) {
        mpBox = new cGZWinBtn;
        mpBox->SetImageStrip(mpBoxStrip, 6, 1);
        mpBox->mnToggleKind = 2;
        mpBox->SetNotifyDirectly(true);
        AddChild(mpBox);
        mpBox->SetOwner(this);
        SizeToContents();
    }
    return result;
}

void cGZWinCheck::SetText(const cRZString& text) {
    cGZWin::SetText(text);
    if (mpBox) SizeToContents();
    Invalidate();
}

void cGZWinCheck::SizeToContents() {
    const int32_t boxWidth = mpBox->Width(), boxHeight = mpBox->Height();
    const char* text = mText.c_str();
    const auto length = static_cast<int32_t>(std::strlen(text));
    int32_t width = boxWidth;
    if (length > 0 && mpFont) width += mpFont->GetTextWidth(text, length) + kLabelGap;
    const int32_t height = std::max(boxHeight, mpFont ? mpFont->GetLineHeight() : 0);
    SetArea(mArea.left, mArea.top, mArea.left + width, mArea.top + height);
    mpBox->SetArea(0, (height - boxHeight) / 2, boxWidth, (height - boxHeight) / 2 + boxHeight);
}

bool cGZWinCheck::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const char* text = mText.c_str();
    const auto length = static_cast<int32_t>(std::strlen(text));
    if (!mpFont || length == 0) return true;
    const int32_t boxWidth = mpBox ? mpBox->Width() : 0;
    const int32_t x = mBufferArea.left + boxWidth + kLabelGap;
    const int32_t y = mBufferArea.top + (Height() - mpFont->GetLineHeight()) / 2;
    mpFont->DrawText(*buffer, x, y, text, length, &mBufferArea, -1, -1);
    return true;
}

bool cGZWinCheck::OnCommand(intptr_t code, intptr_t source) {
    if (code != cGZWinBtn::kCodeClick || source != reinterpret_cast<intptr_t>(mpBox))
        return cGZWin::OnCommand(code, source);
    Invalidate();
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && GetOwner())
        mgr->QueueMessage(GetOwner(), kGZMsgCommand, kCodeToggled, reinterpret_cast<intptr_t>(this));
    return true;
}
