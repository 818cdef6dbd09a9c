// The console's help window: a list of the commands, the usage text of the
// selected one, and an OK button, run modally over the root. The console's
// command manager reaches it through cGZCheatHelpView, which holds it.
#pragma once

#include "framework/cGZCheatCodeManager.h"
#include "ui/controls/cGZWinDlg.h"

class cGZSystemButton;
class cGZWinText;
class cGZWinTextList;

class cGZCheatHelpDlg : public cGZWinDlg {
public:
    static constexpr int32_t kWidth = 360, kRows = 8;

    explicit cGZCheatHelpDlg(cGZCheatCodeManager& commands) : mCommands(commands) {}

    cGZWinTextList* GetList() const { return mpList; }
    cGZWinText* GetUsage() const { return mpUsage; }
    cGZSystemButton* GetOk() const { return mpOk; }

    // cGZWin
    bool Init() override;
    bool Draw(bool force) override;
    bool OnCommand(intptr_t code, intptr_t source) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;

private:
    cGZCheatCodeManager& mCommands;
    cGZWinTextList* mpList = nullptr;
    cGZWinText* mpUsage = nullptr;
    cGZSystemButton* mpOk = nullptr;
};

// The help view the command manager talks to, over one help dialog.
class cGZCheatHelpView : public cIGZCheatHelpView {
public:
    // The dialog is the caller's window (made, kept alive and destroyed by
    // the window tree); it is initialised here when it was not yet.
    explicit cGZCheatHelpView(cGZCheatHelpDlg& dialog) : mDialog(dialog) {}

    void Show() override;
    void ClearList() override;
    void AddRow(const cRZString& name) override;
    void SelectRow(std::size_t row) override;
    void SetUsageText(const cRZString& text) override;
    void RunModal() override;

private:
    cGZCheatHelpDlg& mDialog;
};
