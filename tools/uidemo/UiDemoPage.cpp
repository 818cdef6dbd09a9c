#include "UiDemoPage.h"

#include <utility>

#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

cGZBuffer* UiDemoPage::LoadStrip(const std::string& name, std::string& error) const {
    const std::string path = mDataRoot + "/UIGraphics/Controls/" + name;
    auto* strip = new cGZBuffer;
    strip->AddRef();
    if (!strip->LoadImageFile(path)) {
        strip->Release();
        error = "cannot read " + path;
        return nullptr;
    }
    return strip;
}

bool UiDemoPage::LoadControlStrips(cIGZFont* font, std::string& error) {
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    const std::pair<int32_t, const char*> kinds[] = {
        {cIGZWinCtrlMgr::kImageSystemButton, "SystemButton.bmp"},
        {cIGZWinCtrlMgr::kImageCheckBox, "CheckBox.bmp"},
        {cIGZWinCtrlMgr::kImageHorizontalSlider, "HorizontalSlider.bmp"},
        {cIGZWinCtrlMgr::kImageVerticalSlider, "VerticalSlider.bmp"},
        {cIGZWinCtrlMgr::kImageScrollbar, "ScrollBar.bmp"},
        {5, "MessageBoxFrame.bmp"},
        {cIGZWinCtrlMgr::kImagePieMenuCentre, "PieCentre.bmp"},
    };
    for (const auto& [kind, file] : kinds) {
        cGZBuffer* strip = LoadStrip(file, error);
        if (!strip) return false;
        ctrl->SetImage(kind, strip, true);
        strip->SetColorKey(strip->MakeColor(255, 0, 255));
    }
    if (font) font->AddRef();
    ctrl->SetFont(cIGZWinCtrlMgr::kFontLabel, font);
    // Idle, pressed, hover and disabled captions.
    ctrl->SetDefaultCaptionColours(4, {MakeColor(255, 255, 255), MakeColor(255, 230, 120), MakeColor(255, 255, 200),
                                       MakeColor(200, 200, 200)});
    return true;
}

std::string UiDemoPage::Describe(const cGZWin& w) const {
    const cRZRect& r = w.GetScreenArea();
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
}

std::string UiDemoPage::NameOf(const cGZWin* window) const {
    for (const auto& [name, w] : mNamed)
        if (w == window) return name;
    return "-";
}

bool UiDemoPage::Draw(bool) {
    if (cGZBuffer* b = GetDrawBuffer()) b->FillRect(MakeColor(32, 48, 64), GetBufferArea());
    return true;
}

bool UiDemoPage::OnCommand(intptr_t code, intptr_t source) {
    mReport("command " + std::to_string(code) + " " + NameOf(reinterpret_cast<const cGZWin*>(source)));
    return true;
}
