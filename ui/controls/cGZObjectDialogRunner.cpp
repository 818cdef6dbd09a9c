#include "ui/controls/cGZObjectDialogRunner.h"

#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZWinDlg.h"

bool cGZObjectDialogRunner::Run(cIGZObjectDialogController& controller) {
    cGZWinDlg* dialog = mHost.CreateObjectDialog(controller);
    if (!dialog) return false;
    const bool modal = controller.IsModal();
    controller.LinkDialog(dialog);
    controller.SetState(kShown);
    const int32_t answer = mHost.RunDialog(*dialog, modal);
    if (modal) {
        Answer(controller, *dialog, answer);
        controller.LinkDialog(nullptr);
        Destroy(dialog);
    }
    return true;
}

void cGZObjectDialogRunner::Answer(cIGZObjectDialogController& controller, cGZWinDlg& dialog, int32_t answer) {
    if (answer >= 2 && answer <= 4) controller.SetState(controller.AnswersAsClosed() ? kClosed : answer);
    if (controller.WantsViewShown()) mHost.ShowAndFocusView();
    if (controller.GetMode() == 3)
        if (cGZWin* field = dialog.FindChildById(kTextFieldId)) controller.SetText(field->GetText());
    if (!controller.IsModal()) controller.LinkDialog(nullptr);
}

void cGZObjectDialogRunner::Close(cIGZObjectDialogController& controller, cGZWinDlg* dialog) {
    controller.SetState(kClosed);
    controller.LinkDialog(nullptr);
    if (!dialog) return;
    if (controller.WantsViewRefreshed()) mHost.RefreshView(dialog->GetScreenArea());
    Destroy(dialog);
}

void cGZObjectDialogRunner::SettlePending(cIGZObjectDialogController& controller) {
    const int32_t state = controller.GetState();
    if (state >= 2 && state <= 4) controller.SetState(kClosed);
}

void cGZObjectDialogRunner::Destroy(cGZWinDlg* dialog) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr && mgr->IsWin(dialog))
        mgr->DestroyWin(dialog);
    else if (!mgr)
        delete dialog;
}
