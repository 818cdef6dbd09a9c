#include "launcher/LauncherView.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr uint8_t kLabelColour[3] = {0, 0, 140};
constexpr uint8_t kCaptionColours[4][3] = {{204, 211, 216}, {0, 255, 255}, {255, 255, 255}, {0, 255, 255}};

// Greedy word wrap of text into lines no wider than width (a single word
// wider than that keeps a line of its own).
std::vector<std::string> WrapWords(const platform::TrueTypeFont& font, const std::string& text, int32_t width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && font.TextWidth(candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

LauncherRect Intersect(const LauncherRect& a, const LauncherRect& b) {
    const int32_t x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int32_t x1 = std::min(a.x + a.width, b.x + b.width), y1 = std::min(a.y + a.height, b.y + b.height);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void BlendCoverage(LauncherPicture& into, const platform::TextCoverage& text, int32_t x, int32_t y,
                   const uint8_t rgb[3], const LauncherRect& clip) {
    const LauncherRect area = Intersect(Intersect({x, y, text.width, text.height}, clip),
                                        {0, 0, into.Width(), into.Height()});
    const uint8_t bgr[3] = {rgb[2], rgb[1], rgb[0]};
    for (int32_t r = area.y; r < area.y + area.height; ++r) {
        uint8_t* row = into.Row(r);
        for (int32_t c = area.x; c < area.x + area.width; ++c) {
            const uint32_t a = text.alpha[size_t(r - y) * text.width + size_t(c - x)];
            for (int i = 0; i < 3; ++i) {
                uint8_t& p = row[3 * c + i];
                p = static_cast<uint8_t>((a * bgr[i] + (255 - a) * p) / 255);
            }
        }
    }
}

platform::Image ImageOfPicture(const LauncherPicture& picture) {
    platform::Image image;
    image.channels = 3;
    image.width = picture.Width();
    image.height = picture.Height();
    image.pixels.resize(size_t(image.width) * image.height * 3);
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* row = picture.Row(y);
        uint8_t* out = &image.pixels[size_t(y) * image.width * 3];
        for (int32_t x = 0; x < image.width; ++x) {
            out[3 * x] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x];
        }
    }
    return image;
}

LauncherView::LauncherView(LauncherApp& app, LauncherScreen& screen, LauncherArt& art)
    : mApp(app), mScreen(screen), mArt(art) {}

int32_t LauncherView::StateOf(const LauncherButton& button) const {
    return button.StateFor(mPressed == button.Id(), mScreen.Focus() == button.Id());
}

void LauncherView::Paint() {
    mNeedsPaint = false;
    mApp.FindInstalledGame();
    LauncherPicture* working = mArt.WorkingCopy();
    if (!working) return;
    if (const LauncherPicture* background = mArt.Background(mApp.languageBase)) working->CopyInto(*background);
    if (mScreen.IsGroupOpen() && mApp.panelPicture >= 0 && mApp.panelPicture < 3) {
        static const int32_t kAt[3][2] = {{271, 55}, {403, 67}, {403, 54}};
        const LauncherPicture* panel = mArt.Panel(mApp.panelPicture);
        const int32_t* at = kAt[mApp.panelPicture];
        if (panel)
            LauncherPicture::Blend(panel, 0, 0, working, at[0], at[1], mArt.PanelMask(), 0, 0, working, at[0], at[1],
                                   panel->Width(), panel->Height());
    }
    if (!mFrame || !mFrame->CopyInto(*working)) mFrame = working->Copy();
    for (const LauncherScreen::Label& label : mScreen.MainPageLabels()) {
        const platform::TrueTypeFont* font = mArt.FontFor(mApp.languageBase);
        platform::TextCoverage text;
        if (!font || !font->Render(label.text, text)) continue;
        BlendCoverage(*mFrame, text, label.right - text.width, label.bottom - text.height, kLabelColour,
                      {0, 0, Width(), Height()});
    }
    // Every button draws afresh after a paint, unless it is held active.
    for (const auto& b : mScreen.Buttons())
        if (!b->heldActive) b->lastState = -1;
    for (const auto& b : mScreen.Buttons())
        if (b->visible) DrawButton(*b);
    if (mPresent) mPresent({0, 0, Width(), Height()});
}

platform::Image LauncherView::FrameImage() const {
    if (!mFrame) {
        platform::Image image;
        image.channels = 3;
        return image;
    }
    return ImageOfPicture(*mFrame);
}

void LauncherView::Update() {
    if (!mFrame) return;
    for (const auto& b : mScreen.Buttons()) {
        if (!b->visible || StateOf(*b) == b->lastState) continue;
        DrawButton(*b);
        if (mPresent) mPresent(Intersect({b->X(), b->Y(), b->Width(), b->Height()}, {0, 0, Width(), Height()}));
    }
}

void LauncherView::DrawButton(LauncherButton& button) {
    if (!mFrame) return;
    const int32_t state = StateOf(button);
    if (button.IsPlain())
        DrawTextButton(button, state);
    else
        DrawPictureButton(button, state);
    button.lastState = state;
}

void LauncherView::DrawPictureButton(LauncherButton& b, int32_t state) {
    LauncherPicture* working = mArt.WorkingCopy();
    const int32_t x = b.X(), y = b.Y(), w = b.Width(), h = b.Height();
    // Wipe the shape drawn last with the background, then blend the new face.
    const LauncherPicture* oldMask = mArt.ButtonMask(b.Kind(), b.lastState >= 0 ? b.lastState : state);
    LauncherPicture::Blend(mArt.Background(mApp.languageBase), x, y, working, x, y, oldMask, 0, 0, working, x, y, w,
                           h);
    LauncherPicture::Blend(mArt.ButtonFace(b.Kind(), state), 0, 0, working, x, y, mArt.ButtonMask(b.Kind(), state), 0,
                           0, working, x, y, w, h);
    CopyToFrame({x, y, w, h});
}

void LauncherView::DrawTextButton(LauncherButton& b, int32_t state) {
    LauncherPicture* working = mArt.WorkingCopy();
    const int32_t x = b.X(), y = b.Y(), w = b.Width(), h = b.Height();
    const int32_t kind = b.Kind();
    int faceState = state == LauncherButton::kActive ? 0 : state;
    if (faceState == 1 && (kind == 5 || kind == 6)) faceState = 0;
    const LauncherPicture* mask = kind >= 10 && kind <= 24 && kind != 18 ? mArt.PanelMask() : nullptr;
    const LauncherPicture* face = mArt.TextFace(kind, faceState);
    if (!face) {
        // Nothing covers the caption drawn last: the background does, so a
        // caption in a new state's colour does not pile onto the old one.
        const LauncherPicture* back = mArt.Background(mApp.languageBase);
        if (back && back->BitCount() == 24 && working->BitCount() == 24) {
            const LauncherRect r = Intersect(Intersect({x, y, w, h}, {0, 0, back->Width(), back->Height()}),
                                             {0, 0, working->Width(), working->Height()});
            for (int32_t row = r.y; row < r.y + r.height; ++row)
                std::copy_n(back->Row(row) + 3 * r.x, 3 * r.width, working->Row(row) + 3 * r.x);
        }
    }
    LauncherPicture::Blend(face, 0, 0, working, x, y, mask, 0, 0, working, x, y, w, h);
    CopyToFrame({x, y, w, h});
    if (b.Caption().empty()) return;
    const int32_t language = b.LanguageBase() == LauncherButton::kCurrentLanguage ? mApp.languageBase : b.LanguageBase();
    const int32_t shift = state == LauncherButton::kPressed ? 2 : 0;
    DrawText(language, b.Caption(), kCaptionColours[state & 3], {x - 5 + shift, y + 10 + shift, w, h}, {x, y, w, h},
             true);
}

void LauncherView::CopyToFrame(const LauncherRect& rect) {
    const LauncherPicture* working = mArt.WorkingCopy();
    const LauncherRect r = Intersect(rect, {0, 0, Width(), Height()});
    for (int32_t row = r.y; row < r.y + r.height; ++row)
        std::copy_n(working->Row(row) + 3 * r.x, 3 * r.width, mFrame->Row(row) + 3 * r.x);
}

void LauncherView::DrawText(int32_t languageBase, const std::string& text, const uint8_t rgb[3],
                            const LauncherRect& box, const LauncherRect& clip, bool centred) {
    const platform::TrueTypeFont* font = mArt.FontFor(languageBase);
    if (!font) return;
    int32_t top = box.y;
    for (const std::string& line : WrapWords(*font, text, box.width)) {
        platform::TextCoverage coverage;
        if (!font->Render(line, coverage)) continue;
        const int32_t left = centred ? box.x + (box.width - coverage.width) / 2 : box.x;
        BlendCoverage(*mFrame, coverage, left, top, rgb, clip);
        top += font->LineHeight();
    }
}

LauncherButton* LauncherView::ButtonWindowAt(int32_t x, int32_t y) const {
    LauncherButton* under = nullptr;
    for (const auto& b : mScreen.Buttons())
        if (b->visible && b->Contains(x, y)) under = b.get();
    return under;
}

void LauncherView::MouseMove(int32_t x, int32_t y) {
    mScreen.MouseMove(x, y);
    Refresh();
}

void LauncherView::MouseDown(int32_t x, int32_t y) {
    LauncherButton* b = ButtonWindowAt(x, y);
    if (!b || !b->enabled) return;
    mPressed = b->Id();
    Refresh();
}

void LauncherView::MouseUp(int32_t x, int32_t y) {
    const int32_t pressed = mPressed;
    mPressed = -1;
    LauncherButton* b = ButtonWindowAt(x, y);
    if (pressed < 0 || !b || b->Id() != pressed) {
        Refresh();
        return;
    }
    if (pressed == kAboutCommand) {
        // The about disc is the window's own command: a click, then the
        // modal about box.
        mApp.host.PlayClick();
        mApp.host.ShowAbout();
    } else {
        mScreen.LauncherCommand(pressed);
    }
    Refresh();
}

void LauncherView::Activate(bool active) {
    mApp.hoverTracking = active;
    if (active) mScreen.Refresh();
    Refresh();
}
