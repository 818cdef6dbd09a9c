// A check box: an inner toggle button drawn from a 6-column box strip, with
// the window text as its label to the right. A click on the box flips it and
// queues code 28 to the check box's owner.
#pragma once

#include "ui/cGZWin.h"

class cGZWinBtn;
class cIGZFont;

class cGZWinCheck : public cGZWin {
public:
    enum : intptr_t { kCodeToggled = 28 };
    // Space between the box and the label.
    static constexpr int32_t kLabelGap = 6;

    cGZWinCheck() = default;
    ~cGZWinCheck() override;

    // The box strip (6 columns, 1 row), the caller's; with colourKeyed its
    // magenta becomes the strip's colour key. Takes effect at the first Init.
    void SetBoxStrip(cGZBuffer* strip, bool colourKeyed);
    cGZBuffer* GetBoxStrip() const { return mpBoxStrip; }
    void SetLabelFont(cIGZFont* font);
    cIGZFont* GetLabelFont() const { return mpFont; }
    void SetChecked(bool checked);
    bool IsChecked() const;
    void SetEnabled(bool enabled);
    cGZWinBtn* GetBox() const { return mpBox; }

    // cGZWin
    bool Init() override;
    void SetText(const cRZString& text) override;
    bool Draw(bool force) override;
    bool OnCommand(intptr_t code, intptr_t source) override;

private:
    void SizeToContents();

    // A child window: the window manager takes it with the check box.
    cGZWinBtn* mpBox = nullptr;
    cIGZFont* mpFont = nullptr;
    cGZBuffer* mpBoxStrip = nullptr;
};
