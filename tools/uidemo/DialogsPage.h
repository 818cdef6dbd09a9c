// The "dialogs" page of uidemo: a three-line text field, a one-line field
// for file names, a list of twelve items, a button that runs a message box
// and a window that opens a pie menu on a right press. Every modal run that
// ends prints "dialog NAME RESULT"; print shows a field's text (UTF-8) and
// the list's selection.
#pragma once

#include "UiDemoPage.h"

class cIGZFont;

class DialogsPage : public UiDemoPage {
public:
    DialogsPage(Report report, std::string dataRoot, cIGZFont* font, int32_t language);

    bool Build(std::string& error) override;
    std::string Describe(const cGZWin& window) const override;
    bool OnCommand(intptr_t code, intptr_t source) override;

    // The pie menu of nine items at a root point, run modally.
    void RunPieMenu(int32_t x, int32_t y);

private:
    void RunMessageBox();

    cIGZFont* mpFont;
    int32_t mnLanguage;
};
