// The "controls" page of uidemo: the stock controls made on the strips of
// UIGraphics/Controls in the data root, which are loaded into the control
// manager's image kinds 0-4 (the push button's strip the page keeps).
// "print NAME" shows a button's state, the check box's 0 or 1, and a
// slider's or scroll bar's value.
#pragma once

#include "UiDemoPage.h"

class cGZBuffer;
class cIGZFont;

class ControlsPage : public UiDemoPage {
public:
    ControlsPage(Report report, std::string dataRoot, cIGZFont* font);
    ~ControlsPage() override;

    bool Build(std::string& error) override;
    std::string Describe(const cGZWin& window) const override;

private:
    cIGZFont* mpFont;
    cGZBuffer* mpButtonStrip = nullptr;
};
