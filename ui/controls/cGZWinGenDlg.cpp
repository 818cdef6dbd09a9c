#include "ui/controls/cGZWinGenDlg.h"

#include <algorithm>
#include <cstring>

#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinCheck.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinSlider.h"
#include "ui/controls/cGZWinText.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

namespace {

int32_t gDefaultMargins[4] = {6, 6, 6, 6};
const cRZRect kTile{0, 0, cGZWinGenDlg::kTileSize, cGZWinGenDlg::kTileSize};
constexpr int32_t kTitleFace = 1;
constexpr int32_t kTitleSize = 10;
constexpr int32_t kCentred = cIGZFont::kAlignCentre;
constexpr int32_t kClick = 1;

}  // namespace

cGZWinGenDlg::cGZWinGenDlg(int32_t mode) : mnMode(mode) {}

cGZWinGenDlg::~cGZWinGenDlg() {
    if (TestFlag(kGZWinInitialised)) Shutdown();
    ReleaseBackground();
}

void cGZWinGenDlg::SetDefaultMargins(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    gDefaultMargins[0] = left;
    gDefaultMargins[1] = top;
    gDefaultMargins[2] = right;
    gDefaultMargins[3] = bottom;
}

void cGZWinGenDlg::GetDefaultMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) {
    left = gDefaultMargins[0];
    top = gDefaultMargins[1];
    right = gDefaultMargins[2];
    bottom = gDefaultMargins[3];
}

void cGZWinGenDlg::ReleaseBackground() {
    if (mpBackground && mbBackgroundOwned) mpBackground->Release();
    mpBackground = nullptr;
}

void cGZWinGenDlg::SetBackground(cGZBuffer* image) {
    if (image == mpBackground && mbBackgroundOwned) return;
    ReleaseBackground();
    mpBackground = image;
    mbBackgroundOwned = true;
    Invalidate();
}

void cGZWinGenDlg::Adopt(cGZWin* control, const cRZRect& rect) {
    control->SetArea(rect.left, rect.top, rect.right, rect.bottom);
    control->SetCommandValue(reinterpret_cast<intptr_t>(control));
}

cGZSystemButton* cGZWinGenDlg::AddButton(const cRZRect& rect, const cRZString& text) {
    cGZSystemButton* button = GetWinCtrlMgr()->CreateSystemButton(0, text);
    Adopt(button, rect);
    AddChild(button);
    return button;
}

template <class Control>
Control* cGZWinGenDlg::AddValueControl(Control* control, const cRZRect& rect, int32_t minimum, int32_t maximum,
                                       int32_t value) {
    Adopt(control, rect);
    control->SetMin(minimum);
    control->SetMax(maximum);
    control->SetValue(value);
    AddChild(control);
    return control;
}

cGZWinSlider* cGZWinGenDlg::AddSlider(const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value,
                                      int32_t orientation) {
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    return AddValueControl(orientation == cGZWinSlider::kVertical
                               ? ctrl->CreateVerticalSlider(0, cRZString("Vertical Slider"))
                               : ctrl->CreateHorizontalSlider(0, cRZString("Horizontal Slider")),
                           rect, minimum, maximum, value);
}

cGZWinScrollbar* cGZWinGenDlg::AddScrollbar(const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value,
                                            int32_t orientation) {
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    return AddValueControl(orientation == cGZWinSlider::kVertical
                               ? ctrl->CreateVerticalScrollbar(0, cRZString("Vertical Scrollbar"))
                               : ctrl->CreateHorizontalScrollbar(0, cRZString("Horizontal Scrollbar")),
                           rect, minimum, maximum, value);
}

cGZWinText* cGZWinGenDlg::AddText(const cRZRect& rect, const cRZString& text, int32_t alignment, bool transparent) {
    auto* label = new cGZWinText;
    label->SetArea(rect.left, rect.top, rect.right, rect.bottom);
    label->SetText(text);
    if (mpTitleFont) label->SetFont(mpTitleFont);
    label->SetAlignment(alignment);
    label->SetTextFlag(cGZWinText::kFlagPassThrough, true);
    label->SetFlag(kGZWinReorderable, false);
    label->SetOpaque(!transparent);
    label->SetFillColor(GetWinCtrlMgr()->GetColour(1));
    label->SetCommandValue(reinterpret_cast<intptr_t>(static_cast<cGZWin*>(label)));
    AddChild(label);
    MoveChildToBottom(label);
    return label;
}

cGZWinCheck* cGZWinGenDlg::AddCheckBox(const cRZRect& rect, const cRZString& text) {
    cGZWinCheck* check = GetWinCtrlMgr()->CreateCheckBox(0, text);
    Adopt(check, rect);
    AddChild(check);
    return check;
}

void cGZWinGenDlg::GetMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const {
    left = mnMargins[0];
    top = mnMargins[1];
    right = mnMargins[2];
    bottom = mnMargins[3];
}

void cGZWinGenDlg::SetCallback(Callback callback, void* user) {
    mpCallback = callback;
    mpUser = user;
}

bool cGZWinGenDlg::Init() {
    if (TestFlag(kGZWinInitialised)) return cGZWin::Init();
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    if (mnMode == kModeTiled) {
        if (!mpBackground) {
            mpBackground = ctrl->GetImage(cIGZWinCtrlMgr::kImageDialogBackground);
            mbBackgroundOwned = false;
            SetOwnBuffer(true);
        }
        GetDefaultMargins(mnMargins[0], mnMargins[1], mnMargins[2], mnMargins[3]);
    }
    if (!mpBackground && (mnMode == kModeTiled || mnMode == kModeImage)) return false;
    if (!mpTitleFont) {
        cIGZFontSys* fonts = GZGetFontSys();
        mpTitleFont = fonts ? fonts->GetFont({kTitleFace, kTitleSize, 0, 0}) : nullptr;
        if (mpTitleFont) {
            mbTitleFontShared = false;
            mpTitleFont->SetColor(MakeColor(255, 255, 255));
        }
    }
    mpControlFont = ctrl->GetFont(cIGZWinCtrlMgr::kFontDialog);
    if (!mpControlFont) return false;
    return cGZWin::Init();
}

bool cGZWinGenDlg::Shutdown() {
    if (!TestFlag(kGZWinInitialised)) return cGZWin::Shutdown();
    if (mnMode == kModeTiled) SetOwnBuffer(false);
    ReleaseBackground();
    if (mpTitleFont && !mbTitleFontShared) {
        if (cIGZFontSys* fonts = GZGetFontSys()) fonts->ReleaseFont(mpTitleFont);
        mpTitleFont = nullptr;
        mbTitleFontShared = true;
    }
    mnFlags &= ~kGZWinVisible;
    return cGZWin::Shutdown();
}

bool cGZWinGenDlg::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const cRZRect& area = mBufferArea;
    switch (mnMode) {
    case kModeTiled:
        if (mpBackground) {
            const cRZRect tile{0, 0, std::min(kTile.right, mpBackground->Width()),
                               std::min(kTile.bottom, mpBackground->Height())};
            buffer->TileBlit(*mpBackground, tile, area, 0, 0);
        }
        break;
    case kModeImage:
        if (mpBackground) {
            const cRZRect source{0, 0, std::min(Width(), mpBackground->Width()),
                                 std::min(Height(), mpBackground->Height())};
            const cRZRect dest{area.left, area.top, area.left + source.right, area.top + source.bottom};
            buffer->Blit(*mpBackground, source, dest, &area);
        }
        break;
    case kModeFill: buffer->FillRect(mnFillColor, area); break;
    default: break;
    }
    if (mnMode == kModeTiled && !mText.empty() && mpControlFont) {
        const int32_t top = (mnMargins[1] - mpControlFont->GetLineHeight()) / 2;
        const cRZRect band{area.left, area.top + top, area.left + Width(), area.top + mnMargins[1]};
        const char* title = mText.c_str();
        mpControlFont->DrawTextBox(*buffer, band, title, static_cast<int32_t>(std::strlen(title)), kCentred);
    }
    return true;
}

bool cGZWinGenDlg::OnCommand(intptr_t code, intptr_t source) {
    auto* child = reinterpret_cast<cGZWin*>(source);
    // A control that changed may have left its old look on the background.
    Invalidate();
    if (code == kClick) {
        if (std::find(mChildren.begin(), mChildren.end(), child) == mChildren.end()) return true;
        if (child->GetCommandValue() != 0) {
            if (mpCallback) mpCallback(code, child, mpUser);
        } else if (cGZWinMgrW95* mgr = GZWinMgr()) {
            mgr->PostWinMessage(kGZMsgEndModal, this, 0);
        }
        return true;
    }
    if (mpCallback) mpCallback(code, child, mpUser);
    return true;
}

bool cGZWinGenDlg::ToParent(uint32_t type, int32_t x, int32_t y, uint32_t modifiers) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mpParent || !mgr || !mgr->IsWin(mpParent)) return false;
    return mpParent->DoMessage({type, x + mArea.left, y + mArea.top, static_cast<intptr_t>(modifiers)});
}

bool cGZWinGenDlg::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (TestFlag(kGZWinModal)) {
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->SetCapture(this);
        return true;
    }
    return ToParent(kGZMsgLButtonDown, x, y, modifiers);
}

bool cGZWinGenDlg::OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    if (TestFlag(kGZWinModal)) {
        if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && mgr->GetCapture() == this) mgr->ReleaseCapture(this);
        return true;
    }
    return ToParent(kGZMsgLButtonUp, x, y, modifiers);
}

bool cGZWinGenDlg::OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) {
    // A modal, draggable dialog has already been moved by the base drag.
    if (TestFlag(kGZWinModal)) return true;
    return ToParent(kGZMsgMouseMove, x, y, modifiers);
}
