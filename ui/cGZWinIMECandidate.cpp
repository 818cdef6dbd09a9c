#include "ui/cGZWinIMECandidate.h"

#include <algorithm>

#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

cGZWinIMECandidate* gpCandidate = nullptr;

}  // namespace

cGZWinIMECandidate* GZGetIMECandidate() { return gpCandidate; }

cGZWinIMECandidate* cGZWinIMECandidate::Create() {
    if (gpCandidate) return nullptr;
    gpCandidate = new cGZWinIMECandidate;
    return gpCandidate;
}

cGZWinIMECandidate::~cGZWinIMECandidate() {
    if (gpCandidate == this) gpCandidate = nullptr;
}

void cGZWinIMECandidate::SetCandidateList(const CandidateList& list) {
    mList = list;
    mbHasList = true;
    Invalidate();
}

void cGZWinIMECandidate::ClearCandidateList() {
    mList = {};
    mbHasList = false;
    Invalidate();
}

void cGZWinIMECandidate::SetNumbered(bool on) {
    mbNumbered = on;
    Invalidate();
}

int32_t cGZWinIMECandidate::PageSize() const {
    // A list without a page size is one page of all its entries.
    if (mList.pageSize > 0) return mList.pageSize;
    return std::max<int32_t>(1, static_cast<int32_t>(mList.entries.size()));
}

bool cGZWinIMECandidate::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const cRZRect& area = mBufferArea;
    const cRZRect inner{area.left + mnMarginX, area.top + mnMarginY, area.right - mnMarginX, area.bottom - mnMarginY};
    buffer->FillRect(MakeColor(48, 115, 197), area);
    buffer->FillRect(MakeColor(188, 188, 255), inner);
    if (!mbHasList || mList.style != kStyleRead || !mpFont) return true;
    const int32_t pageSize = PageSize();
    const auto count = static_cast<int32_t>(mList.entries.size());
    if (mList.selection < mList.pageStart || mList.selection >= mList.pageStart + pageSize)
        mList.pageStart = pageSize * (mList.selection / pageSize);
    const int32_t lineHeight = mpFont->GetLineHeight() + kLineGap;
    // The font is shared with the other controls: its colour goes back after.
    const uint32_t savedColour = mpFont->GetColor();
    mpFont->SetColor(MakeColor(0, 0, 0));
    for (int32_t i = 0; i < pageSize && mList.pageStart + i < count; ++i) {
        const int32_t index = mList.pageStart + i;
        const int32_t top = inner.top + i * lineHeight;
        if (index == mList.selection)
            buffer->FillRect(MakeColor(255, 255, 255), {inner.left, top, inner.right, top + lineHeight}, &inner);
        int32_t x = inner.left;
        if (mbNumbered) {
            if (i < 10) {
                const char number[3] = {static_cast<char>('0' + (i + 1) % 10), ':', 0};
                mpFont->DrawText(*buffer, x, top, number, 2, &inner, -1, -1);
            }
            x += kNumberWidth;
        }
        const std::string& entry = mList.entries[static_cast<size_t>(index)];
        mpFont->DrawText(*buffer, x, top, entry.c_str(), static_cast<int32_t>(entry.size()), &inner, -1, -1);
    }
    mpFont->SetColor(savedColour);
    return true;
}
