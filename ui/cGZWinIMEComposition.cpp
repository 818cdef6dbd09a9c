#include "ui/cGZWinIMEComposition.h"

#include <algorithm>

#include "platform/HostWindow.h"
#include "platform/TextInput.h"
#include "platform/WindowMessages.h"
#include "ui/GZHostWindow.h"
#include "ui/cGZWinIMECandidate.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

cGZWinIMEComposition* gpComposition = nullptr;
bool gbWideMode = false;

using platform::kMsgImeNotify;
// The platform does not send this one.
constexpr uint32_t kMsgImeCompositionFull = 0x0284;
constexpr intptr_t kNotifyOpenCandidate = platform::TextInput::kCandidatesOpened;
constexpr intptr_t kNotifyCloseCandidate = platform::TextInput::kCandidatesClosed;
constexpr intptr_t kNotifyChangeCandidate = platform::TextInput::kCandidatesChanged;

// The list the platform's input method gives, when it gives one.
void FetchCandidates(cGZWinIMECandidate& window, platform::HostWindow* host) {
    if (!host || !host->GetTextInput().HasCandidates()) return;
    const platform::TextInput::Candidates& from = host->GetTextInput().GetCandidates();
    cGZWinIMECandidate::CandidateList list;
    list.entries = from.entries;
    list.selection = from.selection;
    list.pageStart = from.pageStart;
    list.pageSize = from.pageSize;
    window.SetCandidateList(list);
}

void HideWin(cGZWin* window) {
    if (window) window->Hide();
}

}  // namespace

cGZWinIMEComposition* GZGetIMEComposition() { return gpComposition; }
void GZSetIMEWideMode(bool on) {
    gbWideMode = on;
    if (platform::HostWindow* host = GZGetHostWindow()) host->GetTextInput().ShowSystemComposition(on);
}
bool GZGetIMEWideMode() { return gbWideMode; }

cGZWinIMEComposition* cGZWinIMEComposition::Create() {
    if (gpComposition) return nullptr;
    gpComposition = new cGZWinIMEComposition;
    return gpComposition;
}

cGZWinIMEComposition::~cGZWinIMEComposition() {
    if (gpComposition == this) gpComposition = nullptr;
}

void cGZWinIMEComposition::SetComposition(const std::string& bytes, const std::vector<uint8_t>& attributes) {
    mComposition = bytes.substr(0, std::min(bytes.size(), kMaxBytes));
    mAttributes.assign(attributes.begin(), attributes.begin() + static_cast<std::ptrdiff_t>(
                                                                    std::min(attributes.size(), kMaxBytes)));
    Invalidate();
}

bool cGZWinIMEComposition::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const cRZRect& area = mBufferArea;
    const cRZRect inner{area.left + mnMarginX, area.top + mnMarginY, area.right - mnMarginX, area.bottom - mnMarginY};
    buffer->FillRect(MakeColor(0, 0, 0), area);
    buffer->FillRect(MakeColor(166, 180, 180), inner);
    if (!mpFont) return true;
    // The font is shared with the other controls: its colour goes back after.
    const uint32_t savedColour = mpFont->GetColor();
    mpFont->SetColor(MakeColor(0, 0, 0));
    // Runs of bytes with one attribute, left to right.
    const auto length = static_cast<int32_t>(mComposition.size());
    int32_t x = inner.left;
    for (int32_t start = 0, end; start < length && x < inner.right; start = end) {
        const uint8_t attribute = start < static_cast<int32_t>(mAttributes.size()) ? mAttributes[static_cast<size_t>(start)] : 0;
        end = start + 1;
        while (end < length &&
               (end < static_cast<int32_t>(mAttributes.size()) ? mAttributes[static_cast<size_t>(end)] : 0) == attribute)
            ++end;
        const char* run = mComposition.c_str() + start;
        const int32_t width = mpFont->GetTextWidth(run, end - start);
        if (attribute & 1)
            buffer->FillRect(MakeColor(255, 255, 255), {x, inner.top, std::min(x + width, inner.right), inner.bottom},
                             &inner);
        mpFont->DrawText(*buffer, x, inner.top, run, end - start, &inner, -1, -1);
        x += width;
    }
    mpFont->SetColor(savedColour);
    return true;
}

bool GZImeHandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam) {
    cGZWinIMEComposition* composition = GZGetIMEComposition();
    cGZWinIMECandidate* candidate = GZGetIMECandidate();
    platform::HostWindow* host = GZGetHostWindow();
    switch (message) {
    case platform::kMsgImeStartComposition:
        if (composition) {
            const cIGZFont* font = composition->GetFont();
            const int32_t height = (font ? font->GetLineHeight() : 0) + 2 * composition->GetMarginY();
            const cRZRect& a = composition->GetArea();
            composition->SetArea(a.left, a.top, a.left + cGZWinIMEComposition::kWidth, a.top + height);
            composition->Show();
            composition->BringToFront();
        }
        return true;
    case platform::kMsgImeEndComposition:
        HideWin(composition);
        HideWin(candidate);
        return true;
    case platform::kMsgImeComposition: {
        if (!host) return false;  // no input context
        if (composition && (lParam & (platform::kGcsCompAttr | platform::kGcsCompStr))) {
            const platform::TextInput& input = host->GetTextInput();
            composition->SetComposition(input.Text(), input.Attributes());
        }
        return (lParam & platform::kGcsResultStr) == 0;
    }
    case kMsgImeNotify:
        if (!candidate) return true;
        if (wParam == kNotifyOpenCandidate) {
            FetchCandidates(*candidate, host);
            candidate->Invalidate();
        }
        if (wParam == kNotifyCloseCandidate) candidate->Hide();
        if (wParam == kNotifyChangeCandidate) {
            FetchCandidates(*candidate, host);
            candidate->Show();
            candidate->BringToFront();
            candidate->Invalidate();
        }
        return true;
    case kMsgImeCompositionFull: return true;
    default: return false;
    }
}
