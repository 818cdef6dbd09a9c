// The framework's list box: items are child buttons stacked in one column,
// one of them selected, with a vertical scroll bar when they do not fit,
// smooth scrolling on the frame clock, keyboard navigation and
// type-to-find. The parent hears of selection changes (code 21, b = the
// new index or -1) and double clicks (code 9, b = the selection) at once.
#pragma once

#include <vector>

#include "framework/cRZString.h"
#include "ui/cGZWin.h"

class cGZWinBtn;
class cGZWinScrollbar;
class cIGZFont;

class cGZWinTextList : public cGZWin {
public:
    enum : intptr_t { kCodeSelection = 21, kCodeDoubleClick = 9 };
    // Width of the scroll bar when there is no strip to take it from.
    static constexpr int32_t kPlainBarWidth = 16;

    cGZWinTextList();
    ~cGZWinTextList() override;

    int32_t GetCount() const { return static_cast<int32_t>(mItems.size()); }
    void InsertItem(int32_t index, const cRZString& text);
    void RemoveItem(int32_t index);
    void RemoveAll();
    void SetSelection(int32_t index);
    int32_t GetSelection() const { return mnSelection; }
    // The item's text; the list's own text for a bad index.
    const cRZString& GetItemText(int32_t index) const;
    void SetFont(cIGZFont* font);
    // Set by the owner before Init; a list without rows gets one.
    void SetVisibleRows(int32_t rows) { mnRows = rows; }
    int32_t GetVisibleRows() const { return mnRows; }

    // cGZWin
    bool Init() override;
    bool Shutdown() override;
    bool Draw(bool force) override;
    bool OnChar(uint8_t ch) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
    bool OnCommand(intptr_t code, intptr_t source) override;

    int32_t GetFirstVisible() const { return mnFirstVisible; }
    int32_t GetPixelOffset() const { return mnPixelOffset; }
    int32_t GetItemHeight() const { return mnItemHeight; }
    bool IsAnimating() const { return mbAnimating; }
    cGZWinScrollbar* GetScrollbar() const { return mpScrollbar; }
    cGZWinBtn* GetItem(int32_t index) const;

private:
    int32_t Rows() const { return mnRows > 0 ? mnRows : 1; }
    int32_t BarWidth() const;
    void Report(intptr_t code, intptr_t index);
    void UpdateScrollbar();
    void PositionItems();
    void ScrollTo(int32_t target);
    // The animation's position at the frame clock's time.
    float AnimatedPosition() const;
    void SelectItem(int32_t index, bool scroll);

    std::vector<cGZWinBtn*> mItems;
    cGZWinScrollbar* mpScrollbar = nullptr;
    cGZBuffer* mpStrip = nullptr;
    int32_t mnFirstVisible = 0;
    int32_t mnItemHeight = 0;
    int32_t mnPixelOffset = 0;
    int32_t mnSelection = -1;
    bool mbAnimating = false;
    float mfSpeed = 2;
    float mfFrom = 0, mfTo = 0;
    uint32_t mnStart = 0, mnDuration = 0;
    cIGZFont* mpFont = nullptr;
    int32_t mnRows = 0;
};
