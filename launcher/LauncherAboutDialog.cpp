#include "launcher/LauncherAboutDialog.h"

#include <algorithm>

namespace {

// The dialog font's base units: a dialog unit is a quarter of the average
// character width across and an eighth of its height down.
constexpr int32_t kAboutBaseX = 6;
constexpr int32_t kAboutBaseY = 13;
int32_t AboutPixelsX(int32_t units) { return units * kAboutBaseX / 4; }
int32_t AboutPixelsY(int32_t units) { return units * kAboutBaseY / 8; }

constexpr int32_t kAboutWidthUnits = 348, kAboutHeightUnits = 362;
constexpr int32_t kAboutPictureX = 42, kAboutPictureY = 12;
constexpr int32_t kAboutOkX = 155, kAboutOkY = 335, kAboutOkWidth = 40, kAboutOkHeight = 14;

constexpr uint8_t kAboutFace[3] = {212, 208, 200};
constexpr uint8_t kAboutLight[3] = {255, 255, 255};
constexpr uint8_t kAboutShadow[3] = {128, 128, 128};
constexpr uint8_t kAboutDark[3] = {0, 0, 0};

void FillAbout(LauncherPicture& into, const LauncherRect& r, const uint8_t rgb[3]) {
    const LauncherRect area = Intersect(r, {0, 0, into.Width(), into.Height()});
    for (int32_t y = area.y; y < area.y + area.height; ++y) {
        uint8_t* row = into.Row(y);
        for (int32_t x = area.x; x < area.x + area.width; ++x) {
            row[3 * x] = rgb[2];
            row[3 * x + 1] = rgb[1];
            row[3 * x + 2] = rgb[0];
        }
    }
}

// A raised (or, pressed, sunken) one-pixel bevel inside r.
void BevelAbout(LauncherPicture& into, const LauncherRect& r, bool sunken) {
    const uint8_t* topLeft = sunken ? kAboutShadow : kAboutLight;
    const uint8_t* bottomRight = sunken ? kAboutLight : kAboutShadow;
    FillAbout(into, {r.x, r.y, r.width, 1}, topLeft);
    FillAbout(into, {r.x, r.y, 1, r.height}, topLeft);
    FillAbout(into, {r.x, r.y + r.height - 1, r.width, 1}, bottomRight);
    FillAbout(into, {r.x + r.width - 1, r.y, 1, r.height}, bottomRight);
}

}  // namespace

LauncherAboutDialog::LauncherAboutDialog(const LauncherArt& art)
    : mArt(art), mFrame(LauncherPicture::Make(AboutPixelsX(kAboutWidthUnits), AboutPixelsY(kAboutHeightUnits), 24)) {
    Paint();
}

int32_t LauncherAboutDialog::Width() const { return mFrame->Width(); }
int32_t LauncherAboutDialog::Height() const { return mFrame->Height(); }

LauncherRect LauncherAboutDialog::OkButton() const {
    return {AboutPixelsX(kAboutOkX), AboutPixelsY(kAboutOkY), AboutPixelsX(kAboutOkWidth),
            AboutPixelsY(kAboutOkHeight)};
}

bool LauncherAboutDialog::InOk(int32_t x, int32_t y) const {
    const LauncherRect r = OkButton();
    return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

void LauncherAboutDialog::Paint() {
    FillAbout(*mFrame, {0, 0, Width(), Height()}, kAboutFace);
    BevelAbout(*mFrame, {0, 0, Width(), Height()}, false);
    // The picture control takes the bitmap's own size.
    if (const LauncherPicture* picture = mArt.AboutPicture()) {
        const int32_t x = AboutPixelsX(kAboutPictureX), y = AboutPixelsY(kAboutPictureY);
        const LauncherRect area = Intersect({x, y, picture->Width(), picture->Height()}, {0, 0, Width(), Height()});
        for (int32_t row = area.y; row < area.y + area.height; ++row)
            std::copy_n(picture->Row(row - y), 3 * area.width, mFrame->Row(row) + 3 * area.x);
    }
    DrawButton();
}

void LauncherAboutDialog::DrawButton() {
    const LauncherRect r = OkButton();
    FillAbout(*mFrame, r, kAboutFace);
    // The default button wears a dark outline around its bevel.
    FillAbout(*mFrame, {r.x, r.y, r.width, 1}, kAboutDark);
    FillAbout(*mFrame, {r.x, r.y + r.height - 1, r.width, 1}, kAboutDark);
    FillAbout(*mFrame, {r.x, r.y, 1, r.height}, kAboutDark);
    FillAbout(*mFrame, {r.x + r.width - 1, r.y, 1, r.height}, kAboutDark);
    BevelAbout(*mFrame, {r.x + 1, r.y + 1, r.width - 2, r.height - 2}, mPressed);
    const platform::TrueTypeFont* font = mArt.DialogFont();
    platform::TextCoverage text;
    if (!font || !font->Render("OK", text)) return;
    const int32_t shift = mPressed ? 1 : 0;
    const int32_t x = r.x + (r.width - text.width) / 2 + shift;
    const int32_t y = r.y + (r.height - text.height) / 2 + shift;
    BlendCoverage(*mFrame, text, x, y, kAboutDark, r);
    // The mnemonic's underline under the O.
    const int32_t oWidth = font->TextWidth("O");
    FillAbout(*mFrame, {x, y + font->LineHeight() - 2, oWidth, 1}, kAboutDark);
}

void LauncherAboutDialog::MouseDown(int32_t x, int32_t y) {
    if (!InOk(x, y)) return;
    mPressed = true;
    DrawButton();
}

void LauncherAboutDialog::MouseUp(int32_t x, int32_t y) {
    if (!mPressed) return;
    mPressed = false;
    DrawButton();
    if (InOk(x, y)) mResult = 1;
}

void LauncherAboutDialog::Key(uint32_t virtualKey) {
    constexpr uint32_t kReturn = 13, kSpace = 32;
    if (virtualKey == kReturn || virtualKey == kSpace) mResult = 1;
}
