#include "ui/controls/cGZWinCtrlMgr.h"

#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinCheck.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinSlider.h"
#include "ui/controls/cGZWinText.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

cIGZWinCtrlMgr* GetWinCtrlMgr() {
    // Function-local: made on first use, so no other static depends on the
    // order statics are built in.
    static cGZWinCtrlMgr manager;
    return &manager;
}

cGZWinCtrlMgr::~cGZWinCtrlMgr() { Shutdown(); }

bool cGZWinCtrlMgr::Init(cIGZCtrlSoundHandles* sounds) {
    mpFontSys = GZGetFontSys();
    mpSounds = sounds;
    mbInitialised = true;
    return true;
}

void cGZWinCtrlMgr::ReleaseFont(cIGZFont* font) const {
    if (!font) return;
    // Fonts are handed back to the service they came from; without one the
    // caller's reference is dropped directly.
    if (cIGZFontSys* fonts = mpFontSys ? mpFontSys : GZGetFontSys())
        fonts->ReleaseFont(font);
    else
        font->Release();
}

bool cGZWinCtrlMgr::Shutdown() {
    if (!mbInitialised) return false;
    for (auto& [kind, font] : mFonts) ReleaseFont(font);
    mFonts.clear();
    for (auto& [kind, image] : mImages)
        if (image.first) image.first->Release();
    mImages.clear();
    if (mpSounds)
        for (auto& [key, handle] : mHandles) mpSounds->ReleaseHandle(handle, 1);
    mHandles.clear();
    mColours.clear();
    mbInitialised = false;
    return true;
}

cIGZFont* cGZWinCtrlMgr::GetFont(int32_t kind) const {
    const auto it = mFonts.find(kind);
    return it == mFonts.end() ? nullptr : it->second;
}

void cGZWinCtrlMgr::SetFont(int32_t kind, cIGZFont* font) {
    cIGZFont*& slot = mFonts[kind];
    ReleaseFont(slot);
    slot = font;
}

cGZBuffer* cGZWinCtrlMgr::GetImage(int32_t kind) const {
    const auto it = mImages.find(kind);
    return it == mImages.end() ? nullptr : it->second.first;
}

void cGZWinCtrlMgr::SetImage(int32_t kind, cGZBuffer* buffer, bool colourKeyed) {
    auto& slot = mImages[kind];
    if (slot.first && slot.first != buffer) slot.first->Release();
    slot = {buffer, colourKeyed};
}

bool cGZWinCtrlMgr::IsImageColourKeyed(int32_t kind) const {
    const auto it = mImages.find(kind);
    return it != mImages.end() && it->second.second;
}

cGZWinText* cGZWinCtrlMgr::CreateText(intptr_t commandValue, const cRZString& text) {
    auto* label = new cGZWinText;
    label->SetCommandValue(commandValue);
    label->SetFont(GetFont(kFontLabel));
    label->SetAlignment(1);
    label->SetOpaque(false);
    label->SetTextFlag(cGZWinText::kFlagWrap, false);
    label->SetText(text);
    label->SizeToText();
    return label;
}

cGZWinCheck* cGZWinCtrlMgr::CreateCheckBox(intptr_t commandValue, const cRZString& text) {
    auto* check = new cGZWinCheck;
    cGZBuffer* strip = GetImage(kImageCheckBox);
    if (!strip) return check;
    check->SetBoxStrip(strip, IsImageColourKeyed(kImageCheckBox));
    check->SetCommandValue(commandValue);
    check->SetLabelFont(GetFont(kFontLabel));
    check->SetText(text);
    return check;
}

cGZSystemButton* cGZWinCtrlMgr::CreateSystemButton(intptr_t commandValue, const cRZString& text) {
    constexpr int32_t kNarrowest = 100;
    auto* button = new cGZSystemButton;
    cGZBuffer* strip = GetImage(kImageSystemButton);
    if (strip) strip->SetColorKey(strip->MakeColor(255, 0, 255));
    button->SetStrip(strip);
    button->SetCommandValue(commandValue);
    button->mnNotifyMode = 0;
    button->SetText(text);
    if (button->Width() < kNarrowest) {
        const cRZRect& area = button->GetArea();
        button->SetArea(area.left, area.top, area.left + kNarrowest, area.bottom);
    }
    return button;
}

template <class Control>
Control* cGZWinCtrlMgr::CreateValueControl(int32_t orientation, int32_t kind, intptr_t commandValue,
                                           const cRZString& text) {
    auto* control = new Control;
    control->SetOrientation(orientation);
    if (cGZBuffer* strip = GetImage(kind)) control->SetImage(strip, IsImageColourKeyed(kind));
    control->SetCommandValue(commandValue);
    control->SetText(text);
    return control;
}

cGZWinSlider* cGZWinCtrlMgr::CreateVerticalSlider(intptr_t commandValue, const cRZString& text) {
    return CreateValueControl<cGZWinSlider>(cGZWinSlider::kVertical, kImageVerticalSlider, commandValue, text);
}

cGZWinSlider* cGZWinCtrlMgr::CreateHorizontalSlider(intptr_t commandValue, const cRZString& text) {
    return CreateValueControl<cGZWinSlider>(cGZWinSlider::kHorizontal, kImageHorizontalSlider, commandValue, text);
}

cGZWinScrollbar* cGZWinCtrlMgr::CreateVerticalScrollbar(intptr_t commandValue, const cRZString& text) {
    return CreateValueControl<cGZWinScrollbar>(cGZWinSlider::kVertical, kImageScrollbar, commandValue, text);
}

cGZWinScrollbar* cGZWinCtrlMgr::CreateHorizontalScrollbar(intptr_t commandValue, const cRZString& text) {
    return CreateValueControl<cGZWinScrollbar>(cGZWinSlider::kHorizontal, kImageScrollbar, commandValue, text);
}

intptr_t cGZWinCtrlMgr::GetHandle(int32_t key) const {
    const auto it = mHandles.find(key);
    return it == mHandles.end() ? 0 : it->second;
}

void cGZWinCtrlMgr::SetHandle(int32_t key, intptr_t value) { mHandles[key] = value; }

uint32_t cGZWinCtrlMgr::GetColour(int32_t key) const {
    const auto it = mColours.find(key);
    return it == mColours.end() ? 0 : it->second;
}

void cGZWinCtrlMgr::SetColour(int32_t key, uint32_t value) { mColours[key] = value; }

void cGZWinCtrlMgr::SetDefaultCaptionColours(int32_t columns, const CaptionColours& colours) {
    if (columns == 4) mCaptionColours4 = colours;
    if (columns == 6) mCaptionColours6 = colours;
}

const cIGZWinCtrlMgr::CaptionColours& cGZWinCtrlMgr::GetDefaultCaptionColours(int32_t columns) const {
    return columns == 4 ? mCaptionColours4 : mCaptionColours6;
}
