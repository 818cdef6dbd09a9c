// The base of modal dialogs: a key goes to the child whose hot key it is,
// and EndDialog ends the dialog's modal loop by posting end-of-modal.
#pragma once

#include "ui/cGZWin.h"
#include "ui/controls/cIGZWinDlg.h"

class cGZWinDlg : public cGZWin, public cIGZWinDlg {
public:
    cGZWinDlg() = default;
    ~cGZWinDlg() override;

    // cIGZWinDlg: the window's own reference count.
    int32_t AddRef() override { return cGZWin::AddRef(); }
    int32_t Release() override { return cGZWin::Release(); }
    void EndDialog(int32_t result) override;

    // The child whose hot key is key | modifiers << 16 gets the focus and
    // the key; without one the key stops here (false).
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
};
