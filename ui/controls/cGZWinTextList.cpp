#include "ui/controls/cGZWinTextList.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

constexpr int32_t kItemSpacing = 3;
constexpr float kShortestScrollMs = 4, kLongestScrollMs = 60, kScrollStepMs = 56;

}  // namespace

cGZWinTextList::cGZWinTextList() : mpStrip(GetWinCtrlMgr()->GetImage(cIGZWinCtrlMgr::kImageScrollbar)) {}

cGZWinTextList::~cGZWinTextList() = default;

cGZWinBtn* cGZWinTextList::GetItem(int32_t index) const {
    return index >= 0 && index < GetCount() ? mItems[static_cast<size_t>(index)] : nullptr;
}

int32_t cGZWinTextList::BarWidth() const { return mpStrip ? mpStrip->Height() : kPlainBarWidth; }

void cGZWinTextList::Report(intptr_t code, intptr_t index) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mpParent && mgr && mgr->IsWin(mpParent)) mpParent->DoMessage({kGZMsgCommand, code, index, 0});
}

void cGZWinTextList::SetFont(cIGZFont* font) {
    mpFont = font;
    mnItemHeight = (font ? font->GetLineHeight() : 0) + kItemSpacing;
    for (cGZWinBtn* item : mItems) item->SetFont(font, false);
    PositionItems();
    Invalidate();
}

void cGZWinTextList::InsertItem(int32_t index, const cRZString& text) {
    index = std::clamp(index, 0, GetCount());
    auto* item = new cGZWinBtn;
    item->SetImageStrip(nullptr, 4, 1);
    item->SetFont(mpFont, false);
    item->mnToggleKind = 1;
    item->mnNotifyMode = 1;
    item->SetState(0);
    const int32_t width = std::max(0, Width() - BarWidth());
    item->SetArea(0, 0, width, mnItemHeight);
    item->mCaptionRect = {0, 0, width, mnItemHeight};
    item->mbCaptionRectSet = true;
    item->SetCaptionAlignment(0);
    item->SetReportDoubleClick(true);
    item->SetText(text);
    AddChild(item);
    mItems.insert(mItems.begin() + index, item);
    if (mnSelection >= index) ++mnSelection;
    UpdateScrollbar();
    PositionItems();
    Invalidate();
}

void cGZWinTextList::RemoveItem(int32_t index) {
    if (index < 0 || index >= GetCount()) return;
    if (index == mnSelection) {
        mnSelection = -1;
        Report(kCodeSelection, -1);
    } else if (mnSelection > index) {
        --mnSelection;
    }
    cGZWinBtn* item = mItems[static_cast<size_t>(index)];
    mItems.erase(mItems.begin() + index);
    if (cGZWinMgrW95* mgr = GZWinMgr())
        mgr->DestroyWin(item);
    else
        RemoveChild(item);
    if (GetCount() <= Rows())
        mnFirstVisible = 0;
    else if (mnFirstVisible + Rows() > GetCount())
        mnFirstVisible = GetCount() - Rows();
    UpdateScrollbar();
    PositionItems();
    Invalidate();
}

void cGZWinTextList::RemoveAll() {
    mnSelection = -1;
    while (!mItems.empty()) RemoveItem(0);
    Invalidate();
}

const cRZString& cGZWinTextList::GetItemText(int32_t index) const {
    const cGZWinBtn* item = GetItem(index);
    return item ? item->GetText() : mText;
}

void cGZWinTextList::SetSelection(int32_t index) { SelectItem(index, true); }

void cGZWinTextList::SelectItem(int32_t index, bool scroll) {
    if (index < 0 || index >= GetCount()) index = -1;
    const int32_t old = mnSelection;
    if (cGZWinBtn* item = GetItem(old)) item->SetState(0);
    if (index >= 0 && scroll) {
        int32_t target = -1;
        if (index < mnFirstVisible) target = index;
        if (index >= mnFirstVisible + Rows()) target = index - Rows() + 1;
        if (target >= 0) {
            ScrollTo(target);
            if (mpScrollbar) mpScrollbar->SetValue(target);
        }
    }
    mnSelection = index;
    if (cGZWinBtn* item = GetItem(index)) item->SetState(1);
    if (index != old) Report(kCodeSelection, index);
    Invalidate();
}

void cGZWinTextList::UpdateScrollbar() {
    if (!mpScrollbar) return;
    if (GetCount() > Rows()) {
        mpScrollbar->Show();
        mpScrollbar->SetMin(0);
        mpScrollbar->SetMax(GetCount() - Rows());
        mpScrollbar->SetValue(mnFirstVisible);
        mpScrollbar->SetPageStep(Rows());
    } else {
        mpScrollbar->Hide();
    }
}

void cGZWinTextList::PositionItems() {
    const int32_t width = std::max(0, Width() - BarWidth());
    for (int32_t i = 0; i < GetCount(); ++i) {
        const int32_t y = mnPixelOffset + (i - mnFirstVisible) * mnItemHeight;
        mItems[static_cast<size_t>(i)]->SetArea(0, y, width, y + mnItemHeight);
    }
}

float cGZWinTextList::AnimatedPosition() const {
    const uint32_t elapsed = GZGetFrameTime() - mnStart;
    if (!mbAnimating || elapsed >= mnDuration || mnDuration == 0) return mbAnimating ? mfTo : static_cast<float>(mnFirstVisible);
    return mfFrom + (mfTo - mfFrom) * static_cast<float>(elapsed) / static_cast<float>(mnDuration);
}

void cGZWinTextList::ScrollTo(int32_t target) {
    const float start = mbAnimating ? AnimatedPosition() : static_cast<float>(mnFirstVisible);
    if (!mbAnimating && target == mnFirstVisible) return;
    // Longer distances take longer, from 4 to 60 ms of the frame clock.
    const float k = kScrollStepMs / std::max(1.0f, mfSpeed - 1);
    const float d = std::abs(start - static_cast<float>(target)) * k + kShortestScrollMs - k;
    mnDuration = static_cast<uint32_t>(std::clamp(d, kShortestScrollMs, kLongestScrollMs));
    mfFrom = start;
    mfTo = static_cast<float>(target);
    mnStart = GZGetFrameTime();
    mbAnimating = true;
    Invalidate();
}

bool cGZWinTextList::Init() {
    const bool first = !mpScrollbar;
    const bool result = cGZWin::Init();
    if (!first) return result;
    if (mnItemHeight == 0) mnItemHeight = (mpFont ? mpFont->GetLineHeight() : 0) + kItemSpacing;
    mfSpeed = 2.0f * static_cast<float>(Rows());
    cGZWin::SetArea(mArea.left, mArea.top, mArea.right, mArea.top + mnItemHeight * Rows());
    SetOwnBuffer(true);
    mpScrollbar = new cGZWinScrollbar;
    mpScrollbar->SetArea(Width() - BarWidth(), 0, Width(), mnItemHeight * Rows());
    mpScrollbar->SetOrientation(cGZWinSlider::kVertical);
    if (mpStrip) mpScrollbar->SetImage(mpStrip, false);
    AddChild(mpScrollbar);
    mnFirstVisible = 0;
    UpdateScrollbar();
    PositionItems();
    return result;
}

bool cGZWinTextList::Shutdown() {
    SetOwnBuffer(false);
    const bool result = cGZWin::Shutdown();
    mpStrip = nullptr;
    mpScrollbar = nullptr;
    mItems.clear();
    return result;
}

bool cGZWinTextList::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    if (mbAnimating) {
        const float x = AnimatedPosition();
        const int32_t n = static_cast<int32_t>(std::lround(x));
        int32_t offset = -static_cast<int32_t>(std::lround((x - static_cast<float>(n)) * static_cast<float>(mnItemHeight)));
        mnFirstVisible = n;
        if (std::abs(offset) >= mnItemHeight) {
            offset = 0;
            mnFirstVisible = n + 1;
        }
        mnPixelOffset = offset;
        if (GZGetFrameTime() - mnStart >= mnDuration) {
            mbAnimating = false;
            mnFirstVisible = static_cast<int32_t>(mfTo);
            mnPixelOffset = 0;
        } else {
            Invalidate();
        }
        PositionItems();
    }
    // The items draw themselves over the background.
    buffer->FillRect(mnFillColor, mBufferArea);
    return true;
}

bool cGZWinTextList::OnKeyDown(uint32_t key, uint32_t modifiers) {
    enum : uint32_t { kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36, kUp = 38, kDown = 40 };
    if (mItems.empty()) return true;
    const int32_t last = GetCount() - 1;
    switch (key) {
    case kPageUp: SetSelection(std::max(0, mnSelection - Rows())); return true;
    case kPageDown: SetSelection(std::min(last, mnSelection + Rows())); return true;
    case kEnd: SetSelection(last); return true;
    case kHome: SetSelection(0); return true;
    case kUp:
        if (mnSelection > 0) SetSelection(mnSelection - 1);
        return true;
    case kDown:
        if (mnSelection < last) SetSelection(mnSelection + 1);
        return true;
    default: return cGZWin::OnKeyDown(key, modifiers);
    }
}

bool cGZWinTextList::OnChar(uint8_t ch) {
    const int wanted = std::tolower(ch);
    int32_t below = -1;
    int bestBelow = -1;
    for (int32_t i = 0; i < GetCount(); ++i) {
        const char* text = mItems[static_cast<size_t>(i)]->GetText().c_str();
        if (!*text) continue;
        const int first = std::tolower(static_cast<unsigned char>(text[0]));
        if (first == wanted) {
            SetSelection(i);
            return true;
        }
        // The nearest letter below the one typed; a later item wins a tie.
        if (first < wanted && first >= bestBelow) {
            bestBelow = first;
            below = i;
        }
    }
    if (below >= 0) {
        SetSelection(below);
        return true;
    }
    return cGZWin::OnChar(ch);
}

bool cGZWinTextList::OnCommand(intptr_t code, intptr_t source) {
    const auto it = std::find(mItems.begin(), mItems.end(), reinterpret_cast<cGZWinBtn*>(source));
    const bool fromItem = it != mItems.end();
    if (code == cGZWinBtn::kCodeClick && fromItem) {
        const auto index = static_cast<int32_t>(it - mItems.begin());
        if (cGZWinBtn* old = GetItem(mnSelection); old && old != *it) old->SetState(0);
        mnSelection = index;
        (*it)->SetState(1);
        Report(kCodeSelection, index);
        Invalidate();
        return true;
    }
    if (code == cGZWinSlider::kCodeValueChanged && mpScrollbar && source == reinterpret_cast<intptr_t>(mpScrollbar)) {
        ScrollTo(mpScrollbar->GetValue());
        return true;
    }
    if (code == cGZWinBtn::kCodeDoubleClick && fromItem) {
        Report(kCodeDoubleClick, mnSelection);
        return true;
    }
    return cGZWin::OnCommand(code, source);
}
