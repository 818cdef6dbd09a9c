// The launcher's buttons: regions of its window with a picture set (kind), a
// command id and a caption. Plain text buttons hit anywhere in their
// rectangle; picture buttons (TovaLauncherButton) only inside their circle.
#pragma once

#include <cstdint>
#include <string>

class LauncherButton {
public:
    // A language base of 16000 means the current language.
    static constexpr int32_t kCurrentLanguage = 16000;
    enum State : int32_t { kNormal = 0, kPressed = 1, kHovered = 2, kActive = 3 };

    LauncherButton(int32_t kind, int32_t id, std::string caption, int32_t x, int32_t y, int32_t width,
                   int32_t height, bool visible, int32_t languageBase);
    virtual ~LauncherButton() = default;

    virtual bool IsPlain() const { return true; }
    // Screen point in the main window's client coordinates.
    virtual bool HitTest(int32_t, int32_t) const { return true; }
    virtual bool IsShaped() const { return false; }

    bool Contains(int32_t x, int32_t y) const {
        return x >= mX && y >= mY && x < mX + mWidth && y < mY + mHeight;
    }
    // The state a draw shows now.
    int32_t StateFor(bool pressed, bool focused) const;

    int32_t Kind() const { return mKind; }
    int32_t Id() const { return mId; }
    const std::string& Caption() const { return mCaption; }
    int32_t X() const { return mX; }
    int32_t Y() const { return mY; }
    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    int32_t LanguageBase() const { return mLanguageBase; }

    bool visible;
    bool enabled = true;
    int32_t lastState = -1;
    bool heldActive = false;

private:
    int32_t mKind;
    int32_t mId;
    std::string mCaption;
    int32_t mX, mY, mWidth, mHeight;
    int32_t mLanguageBase;
};

class TovaLauncherButton : public LauncherButton {
public:
    using LauncherButton::LauncherButton;

    bool IsPlain() const override { return false; }
    bool HitTest(int32_t x, int32_t y) const override;
    bool IsShaped() const override { return true; }
    // In the button's own coordinates.
    void SetHitCircle(int32_t cx, int32_t cy, int32_t radius);

private:
    int32_t mCx = -1000;
    int32_t mCy = -1000;
    int32_t mRadius = 1;
};
