#include "ControlsPage.h"

#include <utility>

#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cGZWinCheck.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinSlider.h"
#include "ui/controls/cGZWinText.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

constexpr int32_t kValueMax = 10;

}  // namespace

ControlsPage::ControlsPage(Report report, std::string dataRoot, cIGZFont* font)
    : UiDemoPage(std::move(report), std::move(dataRoot)), mpFont(font) {}

ControlsPage::~ControlsPage() {
    if (mpButtonStrip) mpButtonStrip->Release();
}

bool ControlsPage::Build(std::string& error) {
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    if (!LoadControlStrips(mpFont, error)) return false;
    mpButtonStrip = LoadStrip("PushButton.bmp", error);
    if (!mpButtonStrip) return false;
    mpButtonStrip->SetColorKey(mpButtonStrip->MakeColor(255, 0, 255));

    intptr_t command = 100;
    auto place = [this](const char* name, cGZWin* w, int32_t x, int32_t y) {
        const int32_t width = w->Width(), height = w->Height();
        w->SetArea(x, y, x + width, y + height);
        AddChild(w);
        mNamed[name] = w;
    };
    auto pushButton = [&](const char* caption) {
        auto* b = new cGZWinBtn;
        b->SetImageStrip(mpButtonStrip, 4, 1);
        b->SetFont(mpFont, false);
        b->SetCaptionWrapped(false);
        const std::pair<int32_t, int32_t> offsets[4] = {{0, 0}, {1, 1}, {0, 0}, {0, 0}};
        b->SetCaptionOffsets(offsets);
        b->SetCommandValue(++command);
        b->SetText(cRZString(caption));
        return b;
    };
    cGZWinBtn* button = pushButton("Button");
    place("button", button, 40, 40);
    cGZWinBtn* toggle = pushButton("Toggle");
    toggle->mnToggleKind = 2;
    place("toggle", toggle, 130, 40);
    cGZWinBtn* disabled = pushButton("Disabled");
    disabled->SetEnabled(false);
    place("disabled", disabled, 220, 40);
    place("sysbutton", ctrl->CreateSystemButton(++command, cRZString("System")), 320, 40);

    place("check", ctrl->CreateCheckBox(++command, cRZString("Check")), 40, 90);

    auto* label = new cGZWinText;
    label->SetFont(mpFont);
    label->SetFillColor(MakeColor(60, 70, 90));
    label->SetCommandValue(++command);
    label->SetArea(0, 0, 200, 60);
    label->SetText(cRZString("A static label wraps its words onto as many lines as its width needs."));
    place("label", label, 40, 130);

    auto value = [&](const char* name, cGZWinSlider* control, const cRZRect& area) {
        control->SetArea(area.left, area.top, area.right, area.bottom);
        control->SetMax(kValueMax);
        AddChild(control);
        mNamed[name] = control;
    };
    value("hslider", ctrl->CreateHorizontalSlider(++command, cRZString("")), {40, 220, 240, 240});
    value("hscroll", ctrl->CreateHorizontalScrollbar(++command, cRZString("")), {40, 270, 240, 286});
    value("vslider", ctrl->CreateVerticalSlider(++command, cRZString("")), {280, 130, 300, 290});
    value("vscroll", ctrl->CreateVerticalScrollbar(++command, cRZString("")), {330, 130, 346, 290});
    return true;
}

std::string ControlsPage::Describe(const cGZWin& window) const {
    if (const auto* check = dynamic_cast<const cGZWinCheck*>(&window)) return check->IsChecked() ? "1" : "0";
    if (const auto* button = dynamic_cast<const cGZWinBtn*>(&window)) return std::to_string(button->GetState());
    if (const auto* slider = dynamic_cast<const cGZWinSlider*>(&window)) return std::to_string(slider->GetValue());
    return UiDemoPage::Describe(window);
}
