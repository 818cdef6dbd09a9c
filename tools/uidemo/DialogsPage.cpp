#include "DialogsPage.h"

#include <utility>

#include "framework/LanguageTables.h"
#include "platform/CodePage.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZPieMenu.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinMsgBox.h"
#include "ui/controls/cGZWinTextEdit2.h"
#include "ui/controls/cGZWinTextList.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

constexpr int32_t kMessageBoxSet = 3;
constexpr int32_t kMessageBoxTimeoutMs = 10000;

// A plain window that opens the page's pie menu where it is right-pressed.
class PieTarget : public cGZWin {
public:
    explicit PieTarget(DialogsPage& page) : mPage(page) {}
    bool Draw(bool) override {
        if (cGZBuffer* b = GetDrawBuffer()) {
            b->FillRect(MakeColor(70, 90, 60), GetBufferArea());
            b->FrameRect(GetBufferArea(), MakeColor(255, 255, 255), 1);
        }
        return true;
    }
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t) override {
        mPage.RunPieMenu(GetScreenArea().left + x, GetScreenArea().top + y);
        return true;
    }

private:
    DialogsPage& mPage;
};

}  // namespace

DialogsPage::DialogsPage(Report report, std::string dataRoot, cIGZFont* font, int32_t language)
    : UiDemoPage(std::move(report), std::move(dataRoot)), mpFont(font), mnLanguage(language) {}

bool DialogsPage::Build(std::string& error) {
    if (!LoadControlStrips(mpFont, error)) return false;
    auto edit = [this](const char* name, const cRZRect& area, int32_t lineMode, int32_t maxLength) {
        auto* e = new cGZWinTextEdit2;
        e->SetFont(mpFont);
        e->SetLineMode(lineMode);
        e->SetMaxLength(maxLength);
        e->SetColors(MakeColor(16, 24, 32), MakeColor(255, 255, 0), MakeColor(120, 160, 200));
        e->SetArea(area.left, area.top, area.right, area.bottom);
        AddChild(e);
        mNamed[name] = e;
        return e;
    };
    edit("edit", {40, 40, 280, 76}, 0, 255);
    edit("line", {40, 100, 280, 114}, 1, 64)->SetFileNameOnly(true);

    auto* list = new cGZWinTextList;
    list->SetFont(mpFont);
    list->SetVisibleRows(5);
    list->SetArea(320, 40, 520, 50);
    list->SetFillColor(MakeColor(40, 40, 90));
    AddChild(list);
    for (int i = 1; i <= 12; ++i) list->InsertItem(list->GetCount(), cRZString(("Item " + std::to_string(i)).c_str()));
    mNamed["list"] = list;

    cGZSystemButton* message = GetWinCtrlMgr()->CreateSystemButton(1, cRZString("Message"));
    message->SetArea(40, 160, 40 + message->Width(), 160 + message->Height());
    AddChild(message);
    mNamed["msgbox"] = message;

    auto* pie = new PieTarget(*this);
    pie->SetArea(320, 160, 520, 300);
    AddChild(pie);
    mNamed["pie"] = pie;
    return true;
}

std::string DialogsPage::Describe(const cGZWin& window) const {
    if (const auto* e = dynamic_cast<const cGZWinTextEdit2*>(&window))
        return platform::CodePage::Get(LanguageTables::CodePage(static_cast<uint32_t>(mnLanguage))).ToUtf8(e->GetBytes());
    if (const auto* list = dynamic_cast<const cGZWinTextList*>(&window)) return std::to_string(list->GetSelection());
    return UiDemoPage::Describe(window);
}

bool DialogsPage::OnCommand(intptr_t code, intptr_t source) {
    if (code == 1 && source == reinterpret_cast<intptr_t>(mNamed["msgbox"])) {
        RunMessageBox();
        return true;
    }
    return UiDemoPage::OnCommand(code, source);
}

void DialogsPage::RunMessageBox() {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr) return;
    auto* box = new cGZWinMsgBox(cRZString("Save the changes to the lot before leaving?"), cRZString("Leaving"),
                                 kMessageBoxSet, true, kMessageBoxTimeoutMs);
    const int32_t result = mgr->DoModal(mgr->GetRootWin(), box);
    mReport("dialog msgbox " + std::to_string(result));
    mgr->DestroyWin(box);
}

void DialogsPage::RunPieMenu(int32_t x, int32_t y) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr) return;
    auto* menu = new cGZPieMenu;
    menu->SetFont(mpFont);
    menu->SetTitle(cRZString("Chair"));
    for (const char* item : {"Sit", "Look", "Clean", "Sell", "Move", "Paint", "Fix", "Read", "Nap"})
        menu->AddItem(item, nullptr);
    menu->SetOwner(this);
    mgr->GetRootWin()->AddChild(menu);
    const int32_t result = menu->ShowModal(x, y, false, true);
    mReport("dialog pie " + std::to_string(result));
    mgr->DestroyWin(menu);
}
