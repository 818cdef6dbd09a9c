// The modal about box ("AboutDlg") the about disc opens: the about picture
// (bitmap 241) and one default push button, OK, which closes it with 1. Its
// layout is in dialog units of the dialog font (8 points), turned into
// pixels with that font's base units. It draws itself into a frame of its own
// and takes the mouse and keys of its window.
#pragma once

#include <cstdint>
#include <memory>

#include "launcher/LauncherView.h"

class LauncherAboutDialog {
public:
    static constexpr int32_t kOkId = 1;

    explicit LauncherAboutDialog(const LauncherArt& art);

    int32_t Width() const;
    int32_t Height() const;
    // The OK button's rectangle in the dialog's client area.
    LauncherRect OkButton() const;
    void Paint();
    const LauncherPicture* Frame() const { return mFrame.get(); }
    platform::Image FrameImage() const { return ImageOfPicture(*mFrame); }

    void MouseDown(int32_t x, int32_t y);
    void MouseUp(int32_t x, int32_t y);
    // Enter or Space press the default button.
    void Key(uint32_t virtualKey);
    bool Ended() const { return mResult >= 0; }
    // 1 after OK; -1 while open.
    int32_t Result() const { return mResult; }

private:
    void DrawButton();
    bool InOk(int32_t x, int32_t y) const;

    const LauncherArt& mArt;
    std::unique_ptr<LauncherPicture> mFrame;
    bool mPressed = false;
    int32_t mResult = -1;
};
