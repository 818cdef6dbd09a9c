#include "ui/controls/GZConsole.h"

#include "ui/controls/cGZWinTextEdit2.h"
#include "ui/controls/cIGZWinCtrlMgr.h"

namespace {

constexpr int32_t kConsoleMax = 255;
constexpr int32_t kConsoleHeight = 18;

}  // namespace

cGZWinTextEdit2* GZCreateConsoleEdit(int32_t width) {
    auto* edit = new cGZWinTextEdit2;
    edit->SetFont(GetWinCtrlMgr()->GetFont(cIGZWinCtrlMgr::kFontLabel));
    edit->SetLineMode(1);
    edit->SetMaxLength(kConsoleMax);
    edit->SetArea(0, 0, width, kConsoleHeight);
    edit->SetColors(edit->MakeColor(0, 0, 0), edit->MakeColor(255, 255, 255), edit->MakeColor(128, 128, 128));
    return edit;
}
