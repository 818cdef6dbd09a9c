#include "launcher/LauncherButton.h"

#include <cmath>

LauncherButton::LauncherButton(int32_t kind, int32_t id, std::string caption, int32_t x, int32_t y, int32_t width,
                               int32_t height, bool visibleAtStart, int32_t languageBase)
    : visible(visibleAtStart),
      mKind(kind),
      mId(id),
      mCaption(std::move(caption)),
      mX(x),
      mY(y),
      mWidth(width),
      mHeight(height),
      mLanguageBase(languageBase) {}

int32_t LauncherButton::StateFor(bool pressed, bool focused) const {
    if (heldActive) return kActive;
    if (pressed) return kPressed;
    return focused ? kHovered : kNormal;
}

bool TovaLauncherButton::HitTest(int32_t x, int32_t y) const {
    const double dx = double(x - X()) - mCx;
    const double dy = double(y - Y()) - mCy;
    return std::sqrt(dx * dx + dy * dy) < mRadius;
}

void TovaLauncherButton::SetHitCircle(int32_t cx, int32_t cy, int32_t radius) {
    mCx = cx;
    mCy = cy;
    mRadius = radius;
}
