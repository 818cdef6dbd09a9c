// The framework's button: draws one cell of an image strip (a grid of
// equally sized frames), an optional overlay and an optional caption,
// follows the mouse through press, release, enter and leave, plays UI sounds
// by name and tells its owner what happened with command messages
// (type 3: a = code, b = the button).
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "framework/cRZRect.h"
#include "ui/cGZWin.h"

class cIGZFont;

class cGZWinBtn : public cGZWin {
public:
    enum Code : intptr_t { kCodeClick = 1, kCodeFlash = 19, kCodeLeftWhileTiming = 20, kCodeDoubleClick = 26,
                           kCodeRightClick = 27 };
    enum SoundEvent : int32_t { kSoundEnter = 0, kSoundPress = 1, kSoundRelease = 2, kSoundError = 3 };
    enum SoundBit : int32_t { kSoundBitPress = 1, kSoundBitRelease = 2, kSoundBitEnter = 4, kSoundBitError = 8 };
    enum FlashBit : int32_t { kFlashOnEnter = 1, kFlashOnPress = 2, kFlashOnRelease = 4 };

    cGZWinBtn();
    ~cGZWinBtn() override;

    // The column of a strip with this many columns for the button's
    // enabled, on and hover state.
    static int32_t ComputeFrameColumn(int32_t columns, bool enabled, bool on, bool hover);
    // The process-wide sound names; a null argument restores that default
    // (enter and release silent, press "UI_click", error "UI_error").
    static void SetDefaultSounds(const char* enter, const char* press, const char* release, const char* error);
    static const std::string& GetDefaultSound(int32_t event);
    // The last button that sent a click, or null once it is destroyed.
    static cGZWinBtn* GetLastClickedButton();

    // Own virtual operations.
    // Takes a counted reference to the strip (the previous one is released)
    // and sizes the button to one cell; without a strip the cell is the
    // button's own rectangle. A grid of 0 columns or rows counts as 1.
    virtual bool SetImageStrip(cGZBuffer* strip, int32_t columns, int32_t rows);
    virtual void SetPointerInside(bool inside);
    virtual bool DrawFrame();
    virtual bool DrawOverlay();
    virtual bool DrawCaption();
    virtual void UpdateFrameColumn();
    virtual void UpdateSourceRect();

    // cGZWin
    bool Shutdown() override;
    bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    bool ContainsLocalPoint(int32_t x, int32_t y) override;
    void OnCaptureCancelled() override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnRButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonDblClk(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnRButtonUp(int32_t, int32_t, uint32_t) override { return true; }
    bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) override;
    bool OnMouseEnter(int32_t x, int32_t y, cGZWin* previous) override;
    bool OnMouseLeave(int32_t x, int32_t y, cGZWin* next) override;
    bool OnChildMouseEnter(int32_t x, int32_t y, cGZWin* previous, cGZWin* child) override;
    bool OnChildMouseLeave(int32_t x, int32_t y, cGZWin* child, cGZWin* next) override;
    bool OnFocusGained(cGZWin* previous) override;
    bool Draw(bool force) override;

    // Font of the caption; an owned one is given back at Shutdown.
    void SetFont(cIGZFont* font, bool owned);
    cIGZFont* GetFont() const { return mpFont; }
    // Copies one value (or pair) per column of the current grid; null clears.
    void SetCaptionColours(const uint32_t* colours);
    void SetCaptionOffsets(const std::pair<int32_t, int32_t>* offsets);
    // The column's own colour when one was set for it, else the control
    // manager's default for this grid.
    uint32_t GetCaptionColour(int32_t column) const;
    std::pair<int32_t, int32_t> GetCaptionOffset(int32_t column) const;
    void SetFrameRow(int32_t row);
    void SetFrameColumn(int32_t column);
    void SetState(int32_t state);
    int32_t GetState() const { return mnState; }
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return mbEnabled; }
    void PlaySound(int32_t event);
    // Copies each non-null name; null leaves that event on the default.
    void SetSounds(const char* enter, const char* press, const char* release, const char* error);
    // Keeps a copy of what lies under the button and puts it back before
    // each draw; off drops the copy.
    void SetSaveBackground(bool on);
    bool GetSaveBackground() const { return mbSaveBackground; }
    void SetReportDoubleClick(bool on) { mbReportDoubleClick = on; }
    void SetNotifyDirectly(bool on) { mbNotifyDirectly = on; }
    void SetCaptionAlignment(int32_t alignment);
    bool SetCaptionShadow(bool on);
    void SetCaptionWrapped(bool on) { mbCaptionWrapped = on; }
    void NotifyOwner(intptr_t code);
    // On re-arms it: the next click is reported once more.
    void SetOneShot(bool on);
    void CenterAt(int32_t x, int32_t y);
    // An image drawn over the frame, the caller's; null removes it.
    void SetOverlay(cGZBuffer* image, const cRZRect& source, int32_t x, int32_t y);
    void SetImageOffset(int32_t x, int32_t y);

    int32_t GetFrameRow() const { return mnFrameRow; }
    int32_t GetFrameColumn() const { return mnFrameColumn; }
    int32_t GetColumns() const { return mnColumns; }
    int32_t GetRows() const { return mnRows; }
    const cRZRect& GetSourceRect() const { return mSourceRect; }
    const cRZRect& GetCell() const { return mCell; }
    bool IsPointerInside() const { return mbPointerInside; }
    bool IsTiming() const { return mbTiming; }
    cGZBuffer* GetImageStrip() const { return mpStrip; }

    // Set directly by callers.
    int32_t mnNotifyMode = 0;  // 0 click on release, 1 on press, 2 on both
    int32_t mnToggleKind = 0;  // 0 momentary, 1 latch, 2 flip, 3 fixed frame
    int32_t mnSoundMask = kSoundBitPress | kSoundBitError;
    int32_t mnFlashMask = 0;
    int32_t mnFlashDuration = 0;
    cRZRect mCaptionRect{};
    bool mbCaptionRectSet = false;

protected:
    // The font in the caption's colour and shadow for as long as it lives;
    // the font's own come back after.
    class CaptionStyle {
    public:
        CaptionStyle(cIGZFont& font, uint32_t colour, bool shadow);
        ~CaptionStyle();
        CaptionStyle(const CaptionStyle&) = delete;
        CaptionStyle& operator=(const CaptionStyle&) = delete;

    private:
        cIGZFont& mFont;
        uint32_t mnColour;
        bool mbShadow;
    };

    bool HoldsCapture() const;
    void StartTiming();
    // Puts the saved background back (made on first use; remade when the
    // button's size changed).
    void RestoreBackground(cGZBuffer& buffer);
    void SendClick();

    cGZBuffer* mpBackground = nullptr;
    bool mbSaveBackground = false;
    cGZBuffer* mpStrip = nullptr;
    cGZBuffer* mpOverlay = nullptr;
    cRZRect mOverlaySource{};
    int32_t mnOverlayX = 0, mnOverlayY = 0;
    int32_t mnState = 0;
    int32_t mnFrameRow = 0, mnFrameColumn = 0;
    int32_t mnRows = 1, mnColumns = 1;
    cRZRect mCell{};
    cRZRect mSourceRect{};
    int32_t mnImageX = 0, mnImageY = 0;
    cIGZFont* mpFont = nullptr;
    bool mbFontOwned = false;
    uint32_t mnFlashStart = 0;
    int32_t mnCaptionAlignment = 1;
    bool mbEnabled = true;
    bool mbPointerInside = false;
    bool mbTiming = false;
    bool mbReportDoubleClick = false;
    bool mbNotifyDirectly = false;
    bool mbCaptionShadow = false;
    bool mbOneShot = false;
    bool mbOneShotFired = false;
    bool mbChangedOnPress = false;
    bool mbCaptionWrapped = true;
    std::vector<uint32_t> mCaptionColours;
    std::vector<std::pair<int32_t, int32_t>> mCaptionOffsets;
    std::array<std::string, 4> mSounds;
    std::array<bool, 4> mHasSound{};
};
