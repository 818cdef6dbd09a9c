#include "ui/controls/cGZCheatHelpDlg.h"

#include "framework/cGZFrameWork.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinText.h"
#include "ui/controls/cGZWinTextList.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

constexpr int32_t kEdge = 12;
constexpr int32_t kUsageHeight = 40;
constexpr intptr_t kOkId = 3;

}  // namespace

bool cGZCheatHelpDlg::Init() {
    const bool result = cGZWinDlg::Init();
    if (mpList) return result;
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    cIGZFont* font = ctrl->GetFont(cIGZWinCtrlMgr::kFontLabel);
    mpList = new cGZWinTextList;
    mpList->SetFont(font);
    mpList->SetVisibleRows(kRows);
    mpList->SetArea(kEdge, kEdge, kWidth - kEdge, kEdge + 10);
    AddChild(mpList);
    const int32_t usageTop = mpList->GetArea().bottom + kEdge;
    mpUsage = ctrl->CreateText(0, cRZString(""));
    mpUsage->SetTextFlag(cGZWinText::kFlagWrap, true);
    mpUsage->SetAlignment(0);
    mpUsage->SetArea(kEdge, usageTop, kWidth - kEdge, usageTop + kUsageHeight);
    AddChild(mpUsage);
    mpOk = ctrl->CreateSystemButton(kOkId, GetButtonLabel(static_cast<int>(kOkId)));
    const int32_t okTop = usageTop + kUsageHeight + kEdge;
    const int32_t okLeft = (kWidth - mpOk->Width()) / 2;
    mpOk->SetArea(okLeft, okTop, okLeft + mpOk->Width(), okTop + mpOk->Height());
    AddChild(mpOk);
    cGZWin::SetArea(mArea.left, mArea.top, mArea.left + kWidth, mArea.top + okTop + mpOk->Height() + kEdge);
    if (mnFillColor == 0) mnFillColor = MakeColor(188, 188, 188);
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && mgr->GetRootWin()) CenterInRect(mgr->GetRootWin()->GetArea());
    return result;
}

bool cGZCheatHelpDlg::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    buffer->FillRect(mnFillColor, mBufferArea);
    buffer->FrameRect(mBufferArea, MakeColor(255, 255, 255), 1);
    return true;
}

bool cGZCheatHelpDlg::OnCommand(intptr_t code, intptr_t source) {
    if (code == cGZWinTextList::kCodeSelection) {
        // The selected command's usage text.
        const cRZString* name = source >= 0 ? mCommands.GetHelpRowName(static_cast<std::size_t>(source)) : nullptr;
        const cRZString* usage = name ? mCommands.GetUsage(*name) : nullptr;
        mpUsage->SetText(usage ? *usage : cRZString(""));
        return true;
    }
    if (code == 1 && mpOk && source == reinterpret_cast<intptr_t>(mpOk)) {
        EndDialog(static_cast<int32_t>(kOkId));
        return true;
    }
    return cGZWinDlg::OnCommand(code, source);
}

bool cGZCheatHelpDlg::OnKeyDown(uint32_t key, uint32_t modifiers) {
    if (key == 13 || key == 27) {
        EndDialog(static_cast<int32_t>(kOkId));
        return true;
    }
    if (mpList) return mpList->OnKeyDown(key, modifiers);
    return cGZWinDlg::OnKeyDown(key, modifiers);
}

void cGZCheatHelpView::Show() {
    if (!mDialog.GetList()) mDialog.Init();
}

void cGZCheatHelpView::ClearList() {
    Show();
    mDialog.GetList()->RemoveAll();
}

void cGZCheatHelpView::AddRow(const cRZString& name) {
    Show();
    mDialog.GetList()->InsertItem(mDialog.GetList()->GetCount(), name);
}

void cGZCheatHelpView::SelectRow(std::size_t row) {
    Show();
    mDialog.GetList()->SetSelection(static_cast<int32_t>(row));
}

void cGZCheatHelpView::SetUsageText(const cRZString& text) {
    Show();
    mDialog.GetUsage()->SetText(text);
}

void cGZCheatHelpView::RunModal() {
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->DoModal(mgr->GetRootWin(), &mDialog);
}
