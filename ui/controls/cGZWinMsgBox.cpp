#include "ui/controls/cGZWinMsgBox.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/cGZFrameWork.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinText.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

bool gTranslucentWhileDragged = false;
constexpr int32_t kBackgroundImage = 5;
constexpr int32_t kCaptionGap = 8;
constexpr int32_t kExtraHeight = 56;

// How many lines the label's text needs at a label width.
int32_t LinesAt(const cGZWinText& label, int32_t width) {
    cIGZFont* font = label.GetFont();
    if (!font) return 1;
    const char* text = label.GetText().c_str();
    return font->CountLines(text, static_cast<int32_t>(std::strlen(text)), std::max(0, width - 2 * label.GetMarginX()));
}

}  // namespace

cGZWinMsgBox::cGZWinMsgBox(const cRZString& message, const cRZString& title, uint32_t style, bool autoAnswer,
                           int32_t timeoutMs)
    : mMessage(message), mnStyle(style), mnAutoAnswer(autoAnswer ? 1 : 0), mnTimeout(timeoutMs) {
    mText = title;
}

cGZWinMsgBox::~cGZWinMsgBox() {
    if (TestFlag(kGZWinInitialised)) Shutdown();
}

void cGZWinMsgBox::SetTranslucentWhileDragged(bool on) { gTranslucentWhileDragged = on; }

void cGZWinMsgBox::SetColours(uint8_t red, uint8_t green, uint8_t blue) {
    mRgb[0] = red;
    mRgb[1] = green;
    mRgb[2] = blue;
    auto up = [](uint8_t c) { return static_cast<uint8_t>(std::min(255, c + 40)); };
    auto down = [](uint8_t c) { return static_cast<uint8_t>(std::max(0, c - 40)); };
    mnBase = MakeColor(red, green, blue);
    mnLight = MakeColor(up(red), up(green), up(blue));
    mnDark = MakeColor(down(red), down(green), down(blue));
    mnFillColor = mnBase;
    Invalidate();
}

cGZSystemButton* cGZWinMsgBox::AutoAnswerButton() const {
    switch (mnAutoAnswer) {
    case 1: return mpFirst;
    case 2: return ButtonSet() == 3 ? mpThird : ButtonSet() == 0 ? nullptr : mpSecond;
    case 3: return ButtonSet() == 3 ? mpSecond : nullptr;
    default: return nullptr;
    }
}

void cGZWinMsgBox::PlaceButtons(int32_t boxWidth, int32_t& needed) {
    const auto n = static_cast<int32_t>(mButtons.size());
    int32_t w = 0, h = 0;
    for (cGZSystemButton* b : mButtons) {
        w = std::max(w, b->Width());
        h = std::max(h, b->Height());
    }
    const int32_t gap = std::max(kEdge, n > 0 ? (boxWidth - n * w - 2 * kEdge) / (n + 1) : kEdge);
    for (int32_t i = 0; i < n; ++i) {
        const int32_t x = kEdge + gap * (i + 1) + w * i;
        const int32_t bottom = Height() - kEdge;
        mButtons[static_cast<size_t>(i)]->SetArea(x, bottom - h, x + w, bottom);
    }
    needed = n * (gap + w) + 2 * kEdge + gap;
}

bool cGZWinMsgBox::Init() {
    if (TestFlag(kGZWinInitialised)) return cGZWinDlg::Init();
    const bool result = cGZWinDlg::Init();
    SetColours(mRgb[0], mRgb[1], mRgb[2]);
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    // 1. Dragging, the frame image.
    if (gTranslucentWhileDragged) SetDragTranslucency(true, 128);
    SetFlag(kGZWinDraggable, true);
    mpBackground = ctrl->GetImage(kBackgroundImage);
    // 2. The title.
    int32_t width = kNarrowest, titleWidth = 0, titleHeight = 0;
    if (!mText.empty()) {
        mpTitle = ctrl->CreateText(0, mText);
        mpTitle->SetOpaque(true);
        mpTitle->SetFillColor(mnBase);
        titleWidth = mpTitle->Width();
        titleHeight = mpTitle->Height();
        width = std::max(kNarrowest, titleWidth + 2 * kEdge);
    }
    // 3. The message: wider in two steps at most while it needs more lines.
    mpText = ctrl->CreateText(0, mMessage);
    mpText->SetTextFlag(cGZWinText::kFlagWrap, true);
    mpText->SetAlignment(0);
    if (LinesAt(*mpText, width - 2 * kEdge) > 1) {
        width += width / 2;
        if (LinesAt(*mpText, width - 2 * kEdge) > 1) width = width * 4 / 3;
    }
    const int32_t textWidth = width - 2 * kEdge;
    // 4. The buttons of the set.
    static const std::vector<int32_t> kSets[4] = {{kIdOk}, {kIdOk, kIdCancel}, {kIdYes, kIdNo}, {kIdYes, kIdNo, kIdCancel}};
    for (int32_t id : kSets[ButtonSet()]) {
        cGZSystemButton* button = ctrl->CreateSystemButton(id, GetButtonLabel(id));
        mButtons.push_back(button);
        AddChild(button);
    }
    mpFirst = mButtons.front();
    mpSecond = mButtons.size() == 1 ? mButtons.front() : mButtons.size() == 3 ? mButtons[2] : mButtons[1];
    mpThird = mButtons.size() == 3 ? mButtons[1] : nullptr;
    mpChosen = AutoAnswerButton();
    // 5 and 6. The box around title, text and buttons.
    int32_t needed = 0;
    PlaceButtons(width, needed);
    int32_t boxWidth = std::max(needed, textWidth + 2 * kEdge);
    if (mpTitle) boxWidth = std::max(boxWidth, titleWidth + 2 * kEdge);
    const int32_t labelWidth = boxWidth - 2 * kEdge;
    const int32_t textHeight = LinesAt(*mpText, labelWidth) * (mpText->GetFont() ? mpText->GetFont()->GetLineHeight() : 0) +
                               2 * mpText->GetMarginY();
    const int32_t buttonHeight = mpFirst->Height();
    const int32_t boxHeight = titleHeight + textHeight + buttonHeight + kExtraHeight;
    cGZWin::SetArea(0, 0, boxWidth, boxHeight);
    PlaceButtons(boxWidth, needed);
    int32_t textTop = kEdge;
    if (mpTitle) {
        mpTitle->SetArea(kEdge, kEdge, kEdge + labelWidth, kEdge + titleHeight);
        AddChild(mpTitle);
        textTop = kEdge + titleHeight + kCaptionGap;
    }
    mpText->SetArea(kEdge, textTop, kEdge + labelWidth, textTop + textHeight);
    AddChild(mpText);
    // 7. Its own buffer, centred on the root, presented every frame.
    SetOwnBuffer(true);
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && mgr->GetRootWin()) CenterInRect(mgr->GetRootWin()->GetArea());
    mnFillColor = mnBase;
    SetFlag(kGZWinAlwaysRedraw, true);
    return result;
}

bool cGZWinMsgBox::Shutdown() {
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->KillTimer(this);
    return cGZWinDlg::Shutdown();
}

bool cGZWinMsgBox::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const cRZRect& r = mBufferArea;
    if (mpBackground) {
        const cRZRect third{0, 0, mpBackground->Width() / 3, mpBackground->Height() / 3};
        return buffer->FrameBlit(*mpBackground, third, r, true);
    }
    buffer->FillRect(mnBase, r);
    buffer->FillRect4(mnLight, r.left, r.top, r.right, r.top + 1);
    buffer->FillRect4(mnLight, r.left, r.top, r.left + 1, r.bottom);
    buffer->FillRect4(mnDark, r.right - 1, r.top, r.right, r.bottom);
    buffer->FillRect4(mnDark, r.left, r.bottom - 1, r.right, r.bottom);
    return true;
}

void cGZWinMsgBox::Choose(cGZSystemButton* button) {
    if (mbPressing || !button) return;
    mpChosen = button;
    OnTimer(0);
}

bool cGZWinMsgBox::OnKeyDown(uint32_t key, uint32_t modifiers) {
    if (key == 13) {
        Choose(mpFirst);
        return true;
    }
    if (key == 27) {
        Choose(mpSecond);
        return true;
    }
    return cGZWinDlg::OnKeyDown(key, modifiers);
}

bool cGZWinMsgBox::OnChar(uint8_t ch) {
    const int set = ButtonSet();
    if (set == 2 || set == 3) {
        const int typed = std::tolower(ch);
        if (typed == std::tolower(static_cast<unsigned char>(GetButtonHotkey(kIdYes)))) {
            Choose(mpFirst);
            return true;
        }
        if (typed == std::tolower(static_cast<unsigned char>(GetButtonHotkey(kIdNo)))) {
            Choose(set == 2 ? mpSecond : mpThird);
            return true;
        }
    }
    return cGZWinDlg::OnChar(ch);
}

bool cGZWinMsgBox::OnTimer(intptr_t) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mpChosen || !mgr || !mgr->IsWin(mpChosen)) {
        mbPressing = false;
        return true;
    }
    if (!mbPressing) {
        // Shown pressed now, clicked when the press has lasted 200 ms.
        mbPressing = true;
        mpChosen->DoMessage({kGZMsgLButtonDown, 0, 0, 0});
        mgr->KillTimer(this);
        mgr->SetTimer(this, kPressMs, 0);
    } else {
        mgr->KillTimer(this);
        mbPressing = false;
        mpChosen->DoMessage({kGZMsgLButtonUp, 0, 0, 0});
    }
    return true;
}

bool cGZWinMsgBox::OnCommand(intptr_t code, intptr_t source) {
    auto* child = reinterpret_cast<cGZWin*>(source);
    if (code != 1 || std::find(mChildren.begin(), mChildren.end(), child) == mChildren.end()) return false;
    // The first button command ends the box; any later ones are too late.
    if (mnCommandsSeen++ == 0) EndDialog(static_cast<int32_t>(child->GetCommandValue()));
    return true;
}

void cGZWinMsgBox::BeginModal() {
    cGZWinDlg::BeginModal();
    mnCommandsSeen = 0;
    mbPressing = false;
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr && mnAutoAnswer != 0 && mnTimeout > 0) mgr->SetTimer(this, static_cast<uint32_t>(mnTimeout), 0);
    for (cGZSystemButton* b : mButtons) {
        b->SetState(0);
        b->mnNotifyMode = 0;
    }
}

void cGZWinMsgBox::EndModal() {
    cGZWinDlg::EndModal();
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->KillTimer(this);
}
