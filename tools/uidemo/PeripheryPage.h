// The "periphery" page of uidemo: a generic dialog in its tiled mode with
// the title "Generic", a button gen-ok, a slider gen-slider, a check box
// gen-check and a text, whose callback prints "callback CODE NAME"; and a
// text field "edit"; the input method's windows "composition" and
// "candidate". "print edit" shows the field's text and "print composition"
// the text being composed (UTF-8), or "hidden".
#pragma once

#include "UiDemoPage.h"

class cIGZFont;

class PeripheryPage : public UiDemoPage {
public:
    PeripheryPage(Report report, std::string dataRoot, cIGZFont* font, int32_t language);

    bool Build(std::string& error) override;
    std::string Describe(const cGZWin& window) const override;

private:
    static void OnDialogEvent(intptr_t code, cGZWin* control, void* user);

    cIGZFont* mpFont;
    int32_t mnLanguage;
};
