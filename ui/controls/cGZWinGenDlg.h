// A dialog assembled from stock controls through cIGZWinGenDlg. Its
// background is drawn in one of four modes: 0 its own buffer tiled from the
// background's top-left 10 x 10 with the window text as a title in the top
// margin band, 1 the background image copied, 2 a plain fill, 3 nothing.
// Clicks of its controls go to the callback; a click of a child whose
// command value is 0 ends its modal loop with 0. While not modal it hands
// the mouse on to its parent.
#pragma once

#include "ui/cGZWin.h"
#include "ui/controls/cIGZWinGenDlg.h"

class cIGZFont;

class cGZWinGenDlg : public cGZWin, public cIGZWinGenDlg {
public:
    enum Mode : int32_t { kModeTiled = 0, kModeImage = 1, kModeFill = 2, kModeNone = 3 };
    static constexpr int32_t kTileSize = 10;

    explicit cGZWinGenDlg(int32_t mode);
    ~cGZWinGenDlg() override;

    // The process-wide margins that mode 0 copies at Init (6 each at start).
    static void SetDefaultMargins(int32_t left, int32_t top, int32_t right, int32_t bottom);
    static void GetDefaultMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom);

    // cIGZWinGenDlg; the reference count is the window's own.
    int32_t AddRef() override { return cGZWin::AddRef(); }
    int32_t Release() override { return cGZWin::Release(); }
    void SetBackground(cGZBuffer* image) override;
    cGZSystemButton* AddButton(const cRZRect& rect, const cRZString& text) override;
    cGZWinSlider* AddSlider(const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value,
                            int32_t orientation) override;
    cGZWinScrollbar* AddScrollbar(const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value,
                                  int32_t orientation) override;
    cGZWinText* AddText(const cRZRect& rect, const cRZString& text, int32_t alignment, bool transparent) override;
    cGZWinCheck* AddCheckBox(const cRZRect& rect, const cRZString& text) override;
    void GetMargins(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) const override;
    int32_t GetMode() const override { return mnMode; }
    void SetCallback(Callback callback, void* user) override;

    // cGZWin
    bool Init() override;
    bool Shutdown() override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnCommand(intptr_t code, intptr_t source) override;
    bool Draw(bool force) override;

    cGZBuffer* GetBackground() const { return mpBackground; }
    bool OwnsBackground() const { return mbBackgroundOwned; }
    cIGZFont* GetTitleFont() const { return mpTitleFont; }
    cIGZFont* GetControlFont() const { return mpControlFont; }

private:
    // Places a new control, makes its command value its own address and
    // adds it as a child.
    void Adopt(cGZWin* control, const cRZRect& rect);
    // A slider or scroll bar adopted with its range and value, then added.
    template <class Control>
    Control* AddValueControl(Control* control, const cRZRect& rect, int32_t minimum, int32_t maximum, int32_t value);
    // Hands a mouse message to a live parent in its coordinates.
    bool ToParent(uint32_t type, int32_t x, int32_t y, uint32_t modifiers);
    void ReleaseBackground();

    cIGZFont* mpTitleFont = nullptr;
    bool mbTitleFontShared = true;
    cIGZFont* mpControlFont = nullptr;
    cGZBuffer* mpBackground = nullptr;
    bool mbBackgroundOwned = true;
    int32_t mnMargins[4] = {0, 0, 0, 0};
    Callback mpCallback = nullptr;
    void* mpUser = nullptr;
    int32_t mnMode;
};
