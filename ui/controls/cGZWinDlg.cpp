#include "ui/controls/cGZWinDlg.h"

#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"

cGZWinDlg::~cGZWinDlg() {
    if (TestFlag(kGZWinInitialised)) cGZWin::Shutdown();
}

void cGZWinDlg::EndDialog(int32_t result) {
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->PostWinMessage(kGZMsgEndModal, this, result);
}

bool cGZWinDlg::OnKeyDown(uint32_t key, uint32_t modifiers) {
    cGZWin* child = FindChildByHotKey(key, modifiers);
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!child || !mgr) return false;
    mgr->SetFocus(child);
    if (!mgr->IsWin(child)) return false;
    return child->DoMessage({kGZMsgKeyDown, static_cast<intptr_t>(key), static_cast<intptr_t>(modifiers), 0});
}
