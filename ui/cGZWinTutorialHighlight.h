// The tutorial's animated frame over the control the player should use next:
// it plays the cells of an image strip forward and back in a loop while it
// is shown, one cell per tick of its window timer.
#pragma once

#include "ui/cGZWin.h"

class cGZWinTutorialHighlight : public cGZWin {
public:
    cGZWinTutorialHighlight() = default;

    bool Init() override;
    bool Shutdown() override;
    uint32_t Show() override;
    uint32_t Hide() override;
    bool OnTimer(intptr_t value) override;
    bool Draw(bool force) override;

    // The strip's cells lie side by side; the window takes one cell's size.
    void SetStrip(cGZBuffer* strip, int32_t frameCount, float framesPerSecond);
    int32_t GetFrame() const { return mnFrame; }
    int32_t GetStep() const { return mnStep; }
    bool IsTimerRunning() const { return mbTimerRunning != 0; }
    // The timer period: 1000 / frames per second, to the nearest ms.
    uint32_t GetPeriodMs() const;

private:
    void StartTimer();
    void StopTimer();

    cGZBuffer* mpStrip = nullptr;
    int32_t mnFrameCount = 0;
    float mfFramesPerSecond = 6.0f;
    int32_t mnStep = 0;
    int32_t mnFrame = 0;
    uint8_t mbTimerRunning = 0;
};
