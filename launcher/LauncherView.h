// The launcher's window contents: the frame on screen, painted from the
// working copy of the background with the open group's panel, the main
// page's captions and every shown button, and the mouse and activation
// events that drive hover, presses and commands. A window backend shows the
// frame rectangles it is handed; without one (headless) the frame is only
// kept, for a dump or a test.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "launcher/LauncherArt.h"
#include "launcher/LauncherPicture.h"
#include "launcher/LauncherScreen.h"
#include "platform/PngFile.h"

struct LauncherRect {
    int32_t x, y, width, height;
};

LauncherRect Intersect(const LauncherRect& a, const LauncherRect& b);
// Text coverage blended in one colour (r, g, b) into a 24-bit picture,
// inside clip.
void BlendCoverage(LauncherPicture& into, const platform::TextCoverage& text, int32_t x, int32_t y,
                   const uint8_t rgb[3], const LauncherRect& clip);
// A 24-bit picture as an RGB image.
platform::Image ImageOfPicture(const LauncherPicture& picture);

class LauncherView {
public:
    // The about disc's command, answered by the window itself.
    static constexpr int32_t kAboutCommand = 1000;

    LauncherView(LauncherApp& app, LauncherScreen& screen, LauncherArt& art);

    // Redraws everything: the installation is checked again, the working
    // copy restored and every shown button drawn afresh.
    void Paint();
    // Draws the buttons whose state changed since they were last drawn.
    void Update();
    // Paint after an invalidation, else Update.
    void Invalidate() { mNeedsPaint = true; }
    void Refresh() {
        if (mNeedsPaint) Paint(); else Update();
    }

    void MouseMove(int32_t x, int32_t y);
    void MouseDown(int32_t x, int32_t y);
    void MouseUp(int32_t x, int32_t y);
    void Activate(bool active);

    // The frame (24 bits, the working copy's size); none without a
    // background.
    const LauncherPicture* Frame() const { return mFrame.get(); }
    // The frame as an RGB image (empty without a frame).
    platform::Image FrameImage() const;
    int32_t Width() const { return mFrame ? mFrame->Width() : 0; }
    int32_t Height() const { return mFrame ? mFrame->Height() : 0; }
    // Called with each changed rectangle of the frame.
    void OnPresent(std::function<void(const LauncherRect&)> present) { mPresent = std::move(present); }
    // The state a button is drawn in now.
    int32_t StateOf(const LauncherButton& button) const;

private:
    void DrawButton(LauncherButton& button);
    void DrawPictureButton(LauncherButton& button, int32_t state);
    void DrawTextButton(LauncherButton& button, int32_t state);
    void CopyToFrame(const LauncherRect& r);
    // Word-wrapped lines centred in the rectangle, clipped to `clip`.
    void DrawText(int32_t languageBase, const std::string& text, const uint8_t rgb[3], const LauncherRect& box,
                  const LauncherRect& clip, bool centred);
    LauncherButton* ButtonWindowAt(int32_t x, int32_t y) const;

    LauncherApp& mApp;
    LauncherScreen& mScreen;
    LauncherArt& mArt;
    std::unique_ptr<LauncherPicture> mFrame;
    std::function<void(const LauncherRect&)> mPresent;
    bool mNeedsPaint = true;
    int32_t mPressed = -1;
};
