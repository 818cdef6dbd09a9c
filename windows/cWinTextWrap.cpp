#include "windows/cWinTextWrap.h"

#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace windows {

namespace {
cIGZFont* gTextWrapDefaultFont = nullptr;
}

cWinTextWrap::~cWinTextWrap() {
    if (mpFont != nullptr) mpFont->Release();
}

void cWinTextWrap::SetDefaultFont(cIGZFont* font) { gTextWrapDefaultFont = font; }

void cWinTextWrap::SetFont(cIGZFont* font) {
    if (font == mpFont) return;
    if (font != nullptr) font->AddRef();
    if (mpFont != nullptr) mpFont->Release();
    mpFont = font;
    Rewrap();
}

cIGZFont* cWinTextWrap::GetFont() {
    if (mpFont == nullptr && gTextWrapDefaultFont != nullptr) {
        mpFont = gTextWrapDefaultFont;
        mpFont->AddRef();
    }
    return mpFont;
}

void cWinTextWrap::SetCutout(int32_t width, int32_t height) {
    cIGZFont* font = GetFont();
    const int32_t line = font != nullptr ? font->GetLineHeight() : 0;
    if (line > 0) {
        int32_t lines = height / line;
        if ((height % line) * 2 > line) ++lines;
        height = lines * line;
    }
    mnCutoutWidth = width < 0 ? 0 : width;
    mnCutoutHeight = height < 0 ? 0 : height;
    Rewrap();
}

void cWinTextWrap::AppendText(const std::string& text) {
    cRZString all = GetText();
    if (!all.empty()) all += "\n\n";
    all += text;
    SetText(all);
}

void cWinTextWrap::SetText(const cRZString& text) {
    cGZWin::SetText(text);
    Rewrap();
}

bool cWinTextWrap::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    Rewrap();
    return result;
}

void cWinTextWrap::Rewrap() {
    cIGZFont* font = GetFont();
    if (mbRewrapping || Width() < 1 || font == nullptr) return;
    const int32_t line = font->GetLineHeight();
    if (line < 1) return;
    mbRewrapping = true;
    const std::string& text = GetText();
    const int32_t length = static_cast<int32_t>(text.size());
    mnFullWidth = Width();
    mnNarrowWidth = mnFullWidth - mnCutoutWidth;
    mnLinesBeside = mnCutoutHeight / line;
    const int32_t needed = mnNarrowWidth > 0 ? font->CountLines(text.data(), length, mnNarrowWidth) : 0;
    int32_t height = mnCutoutHeight;
    if (needed > mnLinesBeside || (mnNarrowWidth <= 0 && length > 0)) {
        int32_t at = 0;
        for (int32_t i = 0; i < mnLinesBeside && at < length && mnNarrowWidth > 0; ++i)
            at += font->FitLine(text.data() + at, length - at, mnNarrowWidth);
        mnCharsBeside = at;
        mnFullLines = font->CountLines(text.data() + at, length - at, mnFullWidth);
        height += line * mnFullLines;
    } else {
        mnCharsBeside = length;
        mnFullLines = 0;
    }
    const cRZRect area = GetArea();
    cGZWin::SetArea(area.left, area.top, area.right, area.top + height);
    mbRewrapping = false;
}

bool cWinTextWrap::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    cIGZFont* font = GetFont();
    if (buffer == nullptr || font == nullptr) return false;
    const cRZRect& area = mBufferArea;
    const int32_t line = font->GetLineHeight();
    const std::string& text = GetText();
    const int32_t length = static_cast<int32_t>(text.size());
    const int32_t narrowBottom = area.top + mnLinesBeside * line;
    if (mnCharsBeside > 0)
        font->DrawTextBox(*buffer, {area.left + mnCutoutWidth, area.top, area.right, narrowBottom}, text.data(),
                          mnCharsBeside, 0);
    const char* rest = text.data() + mnCharsBeside;
    const int32_t restLength = length - mnCharsBeside;
    if (restLength <= 0) return true;
    if (mnFullLines > 1 || font->GetTextWidth(rest, restLength) > mnNarrowWidth)
        font->DrawTextBox(*buffer, {area.left, area.top + mnCutoutHeight, area.right, area.bottom}, rest, restLength, 0);
    else
        font->DrawTextBox(*buffer, {area.left + mnCutoutWidth, narrowBottom, area.right, narrowBottom + line}, rest,
                          restLength, 0);
    return true;
}

}  // namespace windows
