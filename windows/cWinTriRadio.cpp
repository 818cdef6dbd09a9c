#include "windows/cWinTriRadio.h"

#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/graphics/cGZBuffer.h"

namespace windows {

cWinTriRadio::cWinTriRadio(cGZBuffer* strip) : mpStrip(strip) {
    if (mpStrip != nullptr) mpStrip->AddRef();
}

cWinTriRadio::~cWinTriRadio() {
    if (mpStrip != nullptr) mpStrip->Release();
}

bool cWinTriRadio::Init() {
    if (TestFlag(kGZWinInitialised)) return cGZWin::Init();
    if (mpStrip == nullptr) return false;
    SetFlag(0x10, false);
    if (!cGZWin::Init()) return false;
    for (cGZWinBtn*& button : mButtons) {
        button = new cGZWinBtn();
        button->SetImageStrip(mpStrip, 6, 1);
        button->SetOneShot(true);
        button->SetNotifyDirectly(true);
        AddChild(button);
        button->Init();
        button->Show();
    }
    PlaceButtons();
    Select(mnSelected);
    return true;
}

bool cWinTriRadio::Shutdown() {
    mButtons.fill(nullptr);
    return cGZWin::Shutdown();
}

cGZWinBtn* cWinTriRadio::GetButton(int32_t index) const {
    return index >= 0 && index < 3 ? mButtons[static_cast<size_t>(index)] : nullptr;
}

bool cWinTriRadio::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    PlaceButtons();
    return result;
}

void cWinTriRadio::PlaceButtons() {
    if (mButtons[0] == nullptr) return;
    const int32_t w = mButtons[0]->Width(), h = mButtons[0]->Height();
    const int32_t y = (Height() - h) / 2;
    const int32_t xs[3] = {0, (Width() - w) / 2, Width() - w};
    for (size_t i = 0; i < 3; ++i) mButtons[i]->SetArea(xs[i], y, xs[i] + w, y + h);
}

void cWinTriRadio::Select(int32_t index) {
    mnSelected = index >= 0 && index < 3 ? index : -1;
    for (int32_t i = 0; i < 3; ++i)
        if (cGZWinBtn* button = mButtons[static_cast<size_t>(i)]) {
            button->SetState(i == mnSelected ? 1 : 0);
            button->SetOneShot(true);
        }
}

bool cWinTriRadio::OnCommand(intptr_t code, intptr_t source) {
    for (int32_t i = 0; i < 3; ++i) {
        if (source != reinterpret_cast<intptr_t>(mButtons[static_cast<size_t>(i)])) continue;
        if (code != cGZWinBtn::kCodeClick) return true;
        Select(i);
        cGZWin* owner = GetParent() != nullptr ? GetOwner() : nullptr;
        if (owner == nullptr) return true;
        const auto self = reinterpret_cast<intptr_t>(this);
        // Queued like every notification; a window without a manager hears it at once.
        if (cGZWinMgrW95* mgr = GZWinMgr())
            mgr->QueueMessage(owner, kGZMsgCommand, kCodeChanged, self, 0);
        else
            owner->DoMessage({kGZMsgCommand, kCodeChanged, self, 0});
        return true;
    }
    return cGZWin::OnCommand(code, source);
}

}  // namespace windows
