#include "PeripheryPage.h"

#include <utility>

#include "framework/LanguageTables.h"
#include "platform/CodePage.h"
#include "ui/cGZWinIMECandidate.h"
#include "ui/cGZWinIMEComposition.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinCheck.h"
#include "ui/controls/cGZWinGenDlg.h"
#include "ui/controls/cGZWinSlider.h"
#include "ui/controls/cGZWinTextEdit2.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

PeripheryPage::PeripheryPage(Report report, std::string dataRoot, cIGZFont* font, int32_t language)
    : UiDemoPage(std::move(report), std::move(dataRoot)), mpFont(font), mnLanguage(language) {}

bool PeripheryPage::Build(std::string& error) {
    if (!LoadControlStrips(mpFont, error)) return false;
    // Typed and composed text comes in the language's code page.
    if (mnLanguage > 0) platform::SetCurrentCodePage(LanguageTables::CodePage(static_cast<uint32_t>(mnLanguage)));
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    cGZBuffer* background = LoadStrip("DialogBackground.bmp", error);
    if (!background) return false;
    ctrl->SetImage(cIGZWinCtrlMgr::kImageDialogBackground, background, false);
    if (mpFont) mpFont->AddRef();
    ctrl->SetFont(cIGZWinCtrlMgr::kFontDialog, mpFont);

    // A top margin that holds the title's line.
    cGZWinGenDlg::SetDefaultMargins(6, 20, 6, 6);
    auto* dialog = new cGZWinGenDlg(cGZWinGenDlg::kModeTiled);
    dialog->SetArea(40, 40, 320, 260);
    dialog->SetText(cRZString("Generic"));
    dialog->SetCallback(&PeripheryPage::OnDialogEvent, this);
    const bool started = AddChild(dialog);
    cGZWinGenDlg::SetDefaultMargins(6, 6, 6, 6);
    if (!started) {
        error = "the generic dialog did not start";
        return false;
    }
    mNamed["gendlg"] = dialog;
    mNamed["gen-ok"] = dialog->AddButton({20, 170, 120, 194}, cRZString("OK"));
    mNamed["gen-slider"] = dialog->AddSlider({20, 60, 220, 76}, 0, 10, 3, 1);
    mNamed["gen-check"] = dialog->AddCheckBox({20, 100, 200, 116}, cRZString("Check"));
    dialog->AddText({20, 24, 260, 44}, cRZString("A dialog made by calls"), 0, true);

    auto* edit = new cGZWinTextEdit2;
    edit->SetFont(mpFont);
    edit->SetLineMode(1);
    edit->SetMaxLength(255);
    edit->SetColors(MakeColor(16, 24, 32), MakeColor(255, 255, 0), MakeColor(120, 160, 200));
    edit->SetArea(360, 40, 600, 56);
    AddChild(edit);
    mNamed["edit"] = edit;

    // The input-method windows, hidden until a composition starts.
    if (cGZWinIMEComposition* composition = cGZWinIMEComposition::Create()) {
        composition->SetFont(mpFont);
        composition->SetArea(360, 64, 560, 80);
        AddChild(composition);
        composition->Hide();
        mNamed["composition"] = composition;
    }
    if (cGZWinIMECandidate* candidate = cGZWinIMECandidate::Create()) {
        candidate->SetFont(mpFont);
        candidate->SetArea(360, 90, 560, 220);
        AddChild(candidate);
        candidate->Hide();
        mNamed["candidate"] = candidate;
    }
    return true;
}

void PeripheryPage::OnDialogEvent(intptr_t code, cGZWin* control, void* user) {
    auto* page = static_cast<PeripheryPage*>(user);
    page->mReport("callback " + std::to_string(code) + " " + page->NameOf(control));
}

std::string PeripheryPage::Describe(const cGZWin& window) const {
    const platform::CodePage& codePage =
        platform::CodePage::Get(LanguageTables::CodePage(static_cast<uint32_t>(mnLanguage)));
    if (const auto* e = dynamic_cast<const cGZWinTextEdit2*>(&window)) return codePage.ToUtf8(e->GetBytes());
    if (const auto* c = dynamic_cast<const cGZWinIMEComposition*>(&window))
        return c->TestFlag(kGZWinVisible) ? codePage.ToUtf8(c->GetComposition()) : "hidden";
    return UiDemoPage::Describe(window);
}
