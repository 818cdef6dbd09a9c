// The start-up window: up to four images shown one after the other, each
// for its own time and with an optional caption, and a status line whose
// messages slide in from the right while the one before slides out to the
// left. Status texts may come from the loading thread: they are entered
// under the window's own lock, which drawing holds too, and the lock lives
// as long as the window, so a text before Init or after Shutdown is safe.
// Once the splash has been drawn for a second, Esc, Enter or a click skips
// the image when skipping is allowed.
#pragma once

#include <deque>

#include "framework/cRZCriticalSection.h"
#include "gamedata/FloatRamp.h"
#include "ui/cGZWin.h"

class cIGZFont;

class cGZWinSplashScreen : public cGZWin {
public:
    static constexpr int32_t kImages = 4;
    static constexpr int32_t kSlideMs = 1000;
    static constexpr uint32_t kSkipAfterMs = 1000;

    cGZWinSplashScreen();
    ~cGZWinSplashScreen() override;

    // Takes ownership of the image (a different previous one is released);
    // delay 0 keeps it until skipped; a null caption keeps the old one. An
    // index outside 0-3 is ignored.
    void SetImage(int32_t index, cGZBuffer* image, int32_t delayMs, const cRZString* caption);
    // Any thread: queued while a slide runs, else it slides in at once.
    void SetStatusText(const cRZString& text);
    // The application's font for the status line and the captions (counted).
    void SetFont(cIGZFont* font);
    void SetSkippable(bool on) { mbSkippable = on; }

    // cGZWin
    bool Init() override;
    bool Shutdown() override;
    uint32_t Show() override;
    bool OnTimer(intptr_t value) override;
    bool OnKeyDown(uint32_t key, uint32_t modifiers) override;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) override;
    bool Update(bool force) override;
    bool Draw(bool force) override;
    void AddDirtyRect(const cRZRect& rect, bool force) override;

    int32_t GetCurrentImage() const { return mnCurrent; }
    // Copies taken under the lock.
    cRZString GetStatusText();
    cRZString GetOldText();
    size_t GetPendingCount();
    // Where the texts stand: 1 right edge, 0 centred, -1 off to the left.
    float GetNewTextPosition();
    float GetOldTextPosition();

private:
    bool SlideRunning() const;
    void StartSlide();
    bool MaySkip() const;
    // Fills an area (window coordinates) with 0 and copies back the image under it.
    void Erase(cGZBuffer& buffer, const cRZRect& area);
    void AddAreaDirty(const cRZRect& area);

    int32_t mnCurrent = 0;
    cGZBuffer* mpImages[kImages] = {};
    int32_t mnDelays[kImages] = {};
    cRZString mCaptions[kImages];
    cIGZFont* mpFont = nullptr;
    cRZString mOldText;
    cRZCriticalSection mLock;
    FloatRamp mNewRamp;
    FloatRamp mOldRamp;
    // In window coordinates.
    cRZRect mOldArea{};
    cRZRect mNewArea{};
    cRZRect mCaptionArea{};
    cRZRect mImageArea{};
    std::deque<cRZString> mPending;
    bool mbImageNeedsDrawing = true;
    bool mbSkippable = false;
    bool mbAdvanced = false;
    uint32_t mnFirstDraw = 0;
    // The frame time of the last draw, and whether a slide waits for the
    // next draw to start: texts come from any thread, the frame clock
    // belongs to the main one.
    uint32_t mnDrawTime = 0;
    bool mbSlideStartPending = false;
    bool mbSliding = false;
};
