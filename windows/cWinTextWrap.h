// A word-wrapped text that can keep a rectangle in its top-left corner free
// (the picture dialog's picture): the first lines run beside the cut-out at
// the narrow width, the rest below it at the full width. The window keeps
// its left, top and width and takes the height its text needs.
#pragma once

#include <cstdint>
#include <string>

#include "ui/cGZWin.h"

class cIGZFont;

namespace windows {

class cWinTextWrap : public cGZWin {
public:
    cWinTextWrap() = default;
    ~cWinTextWrap() override;

    // The font taken when a wrap has none of its own.
    static void SetDefaultFont(cIGZFont* font);

    void SetFont(cIGZFont* font);
    cIGZFont* GetFont();
    // The height is rounded to whole lines (exactly half a line rounds down).
    void SetCutout(int32_t width, int32_t height);
    // A paragraph: two line breaks before it unless the text is empty.
    void AppendText(const std::string& text);

    void SetText(const cRZString& text) override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    bool Draw(bool force) override;

    int32_t GetCutoutWidth() const { return mnCutoutWidth; }
    int32_t GetCutoutHeight() const { return mnCutoutHeight; }
    int32_t GetLinesBeside() const { return mnLinesBeside; }
    int32_t GetCharsBeside() const { return mnCharsBeside; }
    int32_t GetFullLines() const { return mnFullLines; }

private:
    void Rewrap();

    cIGZFont* mpFont = nullptr;
    int32_t mnCutoutWidth = 0;
    int32_t mnCutoutHeight = 0;
    int32_t mnNarrowWidth = 0;
    int32_t mnLinesBeside = 0;
    int32_t mnCharsBeside = 0;
    int32_t mnFullWidth = 0;
    int32_t mnFullLines = 0;
    bool mbRewrapping = false;
};

}  // namespace windows
