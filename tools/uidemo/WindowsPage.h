// The "windows" page of uidemo: named plain windows side by side, each
// showing one behaviour of the window framework (dragging, translucency,
// stay-on-top, tooltips, fading, cursors). A click on one sends its command
// to the page.
#pragma once

#include "UiDemoPage.h"

class WindowsPage : public UiDemoPage {
public:
    using UiDemoPage::UiDemoPage;

    bool Build(std::string& error) override;
};
