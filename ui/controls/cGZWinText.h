// The framework's label: draws its window text in a font, single-line or
// wrapped to its width, in one of six alignments, on an opaque or clear
// background. By default it hands every message on to its parent, so a
// label never catches a click meant for the window it labels.
#pragma once

#include "framework/cRZRect.h"
#include "ui/cGZWin.h"
#include "ui/controls/cIGZWinText.h"

class cGZWinText : public cGZWin, public cIGZWinText {
public:
    enum TextFlag : int32_t { kFlagPassThrough = 1, kFlagWrap = 2, kFlagOpaque = 4 };

    cGZWinText() = default;

    // cIGZWinText
    void SizeToText() override;
    void SnapHeightToLines() override;
    bool TestTextFlag(int32_t bit) const override { return (mnTextFlags & bit) != 0; }
    void SetTextFlag(int32_t bit, bool on) override;
    void SetTextColor(uint32_t colour) override;
    void SetOpaque(bool on) override;
    void SetFont(cIGZFont* font) override;
    void SetAlignment(int32_t code) override;
    void SetMargins(int32_t x, int32_t y) override;

    // cGZWin
    using cGZWin::SetFlag;
    using cGZWin::TestFlag;
    bool DoMessage(const cGZMessage& message) override;
    bool Init() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void SetText(const cRZString& text) override;
    bool Draw(bool force) override;
    bool SetOwnBuffer(bool on) override;
    // Stores the string as the window text, lays out and redraws.
    virtual void SetTextChars(const char* text);

    cIGZFont* GetFont() const { return mpFont; }
    int32_t GetAlignment() const { return mnAlignment; }
    int32_t GetHorizontalAlignment() const { return mnHorizontal; }
    const cRZRect& GetTextRect() const { return mTextRect; }
    int32_t GetMarginX() const { return mnMarginX; }
    int32_t GetMarginY() const { return mnMarginY; }
    int32_t GetTextFlags() const { return mnTextFlags; }
    uint32_t GetColourKey() const { return mnColourKey; }
    // The width and height the text needs (see SizeToText).
    void MeasureExtent(int32_t& width, int32_t& height) const;

protected:
    void Layout();

    cIGZFont* mpFont = nullptr;
    int32_t mnMarginX = 2;
    int32_t mnMarginY = 2;
    cRZRect mTextRect{0, 0, 8, 8};
    int32_t mnTextFlags = kFlagPassThrough | kFlagWrap | kFlagOpaque;
    int32_t mnAlignment = 0;
    uint32_t mnColourKey = 0;
    uint32_t mnTextColour = 0;
    bool mbUseTextColour = false;
    int32_t mnHorizontal = 0;
    bool mbLaidOut = false;
};
