#include "ui/controls/cGZWinBtn.h"

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"
#include "simulation/SoundPlayer.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/ControlFonts.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"

namespace {

std::array<std::string, 4>& DefaultSounds() {
    static std::array<std::string, 4> sounds{"", "UI_click", "", "UI_error"};
    return sounds;
}

const char* const kBuiltInSounds[4] = {"", "UI_click", "", "UI_error"};

cGZWinBtn* gLastClicked = nullptr;

}  // namespace

cGZWinBtn::cGZWinBtn() { DefaultSounds(); }

cGZWinBtn::~cGZWinBtn() {
    if (gLastClicked == this) gLastClicked = nullptr;
    if (mpStrip) mpStrip->Release();
    if (mpBackground) mpBackground->Release();
}

int32_t cGZWinBtn::ComputeFrameColumn(int32_t columns, bool enabled, bool on, bool hover) {
    switch (columns) {
    case 0:
    case 1: return 0;
    case 2: return enabled && (on || hover) ? 1 : 0;
    case 4:
        if (!enabled) return 3;
        return on ? 1 : (hover ? 2 : 0);
    case 6:
        if (!enabled) return on ? 5 : 4;
        return on ? (hover ? 3 : 1) : (hover ? 2 : 0);
    default:
        if (enabled) return (on ? 1 : 0) + (hover ? 2 : 0);
        return columns > 4 ? 4 + (on ? 1 : 0) : 0;
    }
}

void cGZWinBtn::SetDefaultSounds(const char* enter, const char* press, const char* release, const char* error) {
    const char* names[4] = {enter, press, release, error};
    for (int i = 0; i < 4; ++i) DefaultSounds()[i] = names[i] ? names[i] : kBuiltInSounds[i];
}

const std::string& cGZWinBtn::GetDefaultSound(int32_t event) { return DefaultSounds()[event & 3]; }

cGZWinBtn* cGZWinBtn::GetLastClickedButton() { return gLastClicked; }

bool cGZWinBtn::SetImageStrip(cGZBuffer* strip, int32_t columns, int32_t rows) {
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    const bool changed = strip != mpStrip || columns != mnColumns || rows != mnRows;
    if (strip != mpStrip) {
        if (strip) strip->AddRef();
        if (mpStrip) mpStrip->Release();
        mpStrip = strip;
    }
    mnColumns = columns;
    mnRows = rows;
    if (mpStrip) {
        mCell = {0, 0, mpStrip->Width() / columns, mpStrip->Height() / rows};
        cGZWin::SetArea(mArea.left, mArea.top, mArea.left + mCell.right, mArea.top + mCell.bottom);
    } else {
        // Without a strip the button draws over what it saved from beneath.
        mCell = {0, 0, Width(), Height()};
        mbSaveBackground = true;
    }
    if (changed) {
        UpdateSourceRect();
        Invalidate();
    }
    return true;
}

void cGZWinBtn::SetPointerInside(bool inside) {
    if (inside == mbPointerInside) return;
    mbPointerInside = inside;
    Invalidate();
}

void cGZWinBtn::UpdateFrameColumn() {
    if (mnToggleKind == 3) return;
    mnFrameColumn = ComputeFrameColumn(mnColumns, mbEnabled, mnState == 1, mbPointerInside);
}

void cGZWinBtn::UpdateSourceRect() {
    const int32_t w = mCell.right - mCell.left, h = mCell.bottom - mCell.top;
    mSourceRect = {w * mnFrameColumn, h * mnFrameRow, w * (mnFrameColumn + 1), h * (mnFrameRow + 1)};
}

bool cGZWinBtn::DrawFrame() {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    if (!mpStrip || mnFrameColumn < 0 || mnFrameColumn >= mnColumns || mnFrameRow < 0 || mnFrameRow >= mnRows)
        return true;
    const int32_t x = mBufferArea.left + mnImageX, y = mBufferArea.top + mnImageY;
    const cRZRect dest{x, y, x + mSourceRect.right - mSourceRect.left, y + mSourceRect.bottom - mSourceRect.top};
    return buffer->Blit(*mpStrip, mSourceRect, dest, &mBufferArea);
}

bool cGZWinBtn::DrawOverlay() {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer || !mpOverlay) return true;
    const int32_t x = mBufferArea.left + mnOverlayX, y = mBufferArea.top + mnOverlayY;
    const cRZRect dest{x, y, x + mOverlaySource.right - mOverlaySource.left,
                       y + mOverlaySource.bottom - mOverlaySource.top};
    return buffer->Blit(*mpOverlay, mOverlaySource, dest, &mBufferArea);
}

cGZWinBtn::CaptionStyle::CaptionStyle(cIGZFont& font, uint32_t colour, bool shadow)
    : mFont(font), mnColour(font.GetColor()), mbShadow(font.HasFlag(cIGZFont::kFlagShadow)) {
    font.SetColor(colour);
    font.SetFlag(cIGZFont::kFlagShadow, shadow);
}

cGZWinBtn::CaptionStyle::~CaptionStyle() {
    mFont.SetColor(mnColour);
    mFont.SetFlag(cIGZFont::kFlagShadow, mbShadow);
}

bool cGZWinBtn::DrawCaption() {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer || !mpFont) return true;
    const char* text = mText.c_str();
    const auto length = static_cast<int32_t>(std::strlen(text));
    const CaptionStyle style(*mpFont, GetCaptionColour(mnFrameColumn), mbCaptionShadow);
    cRZRect rect = mCaptionRect;
    if (!mbCaptionRectSet) {
        const int32_t letter = mpFont->MeasureText("A", 1).height;
        rect = {0, (Height() - letter) / 2, Width(), Height()};
    }
    const auto [dx, dy] = GetCaptionOffset(mnFrameColumn);
    rect = {rect.left + dx + mBufferArea.left, rect.top + dy + mBufferArea.top, rect.right + dx + mBufferArea.left,
            rect.bottom + dy + mBufferArea.top};
    if (mbCaptionWrapped) {
        mpFont->DrawTextBox(*buffer, rect, text, length, mnCaptionAlignment);
    } else {
        const int32_t textWidth = mpFont->GetTextWidth(text, length);
        int32_t x = rect.left;
        if (mnCaptionAlignment == 1) x += (rect.right - rect.left - textWidth) / 2;
        if (mnCaptionAlignment == 2) x = rect.right - textWidth;
        mpFont->DrawText(*buffer, x, rect.top, text, length, &mBufferArea, -1, -1);
    }
    return true;
}

bool cGZWinBtn::Shutdown() {
    if (mpStrip) {
        mpStrip->Release();
        mpStrip = nullptr;
    }
    if (mbFontOwned) ReleaseControlFont(mpFont);
    mpFont = nullptr;
    mbFontOwned = false;
    mCaptionColours.clear();
    mCaptionOffsets.clear();
    mHasSound = {};
    SetSaveBackground(false);
    return cGZWin::Shutdown();
}

bool cGZWinBtn::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool result = cGZWin::SetArea(left, top, right, bottom);
    if (!mpStrip) {
        mCell = {0, 0, Width(), Height()};
        UpdateSourceRect();
    }
    return result;
}

bool cGZWinBtn::ContainsLocalPoint(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
    if (!TestFlag(kGZWinPixelHitTest) || !mpStrip) return true;
    // Only where the current frame is not the colour key.
    const int32_t sx = mSourceRect.left + x - mnImageX, sy = mSourceRect.top + y - mnImageY;
    if (sx < mSourceRect.left || sy < mSourceRect.top || sx >= mSourceRect.right || sy >= mSourceRect.bottom ||
        sx >= mpStrip->Width() || sy >= mpStrip->Height())
        return false;
    if (!mpStrip->Lock(1)) return false;
    const uint16_t pixel = mpStrip->GetBits()[sy * (mpStrip->GetPitch() / 2) + sx];
    mpStrip->Unlock(1);
    return pixel != static_cast<uint16_t>(mpStrip->MakeColor(255, 0, 255));
}

void cGZWinBtn::OnCaptureCancelled() { OnMouseLeave(0, 0, nullptr); }

bool cGZWinBtn::HoldsCapture() const {
    cGZWinMgrW95* mgr = GZWinMgr();
    return mgr && mgr->GetCapture() == this;
}

void cGZWinBtn::StartTiming() {
    mbTiming = true;
    mnFlashStart = platform::TimeMs();
}

void cGZWinBtn::SendClick() {
    gLastClicked = this;
    NotifyOwner(kCodeClick);
}

bool cGZWinBtn::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbEnabled) {
        PlaySound(kSoundError);
        return cGZWin::OnLButtonDown(x, y, modifiers);
    }
    PlaySound(kSoundPress);
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->SetCapture(this);
    const int32_t before = mnState;
    if (mnToggleKind == 0 || mnToggleKind == 1) mnState = 1;
    if (mnToggleKind == 2) mnState ^= 1;
    mbChangedOnPress = mnState != before;
    UpdateFrameColumn();
    if (mnNotifyMode == 1 || mnNotifyMode == 2) SendClick();
    Invalidate();
    if (mnFlashMask & (kFlashOnPress | kFlashOnRelease))
        StartTiming();
    else
        mbTiming = false;
    return true;
}

bool cGZWinBtn::OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    if (!HoldsCapture()) return cGZWin::OnLButtonUp(x, y, modifiers);
    OnMouseMove(x, y, modifiers);
    GZWinMgr()->ReleaseCapture(this);
    if (mnToggleKind == 0) mnState = 0;
    if (mnToggleKind == 1 && mnNotifyMode != 1 && mbChangedOnPress) mnState ^= 1;
    if ((mnNotifyMode == 0 || mnNotifyMode == 2) && mbPointerInside) {
        SendClick();
        PlaySound(kSoundRelease);
    }
    UpdateFrameColumn();
    Invalidate();
    if (mnFlashMask & kFlashOnRelease)
        StartTiming();
    else
        mbTiming = false;
    return true;
}

bool cGZWinBtn::OnRButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (mbEnabled && x >= 0 && y >= 0 && x < Width() && y < Height()) {
        NotifyOwner(kCodeRightClick);
        return true;
    }
    return cGZWin::OnRButtonDown(x, y, modifiers);
}

bool cGZWinBtn::OnLButtonDblClk(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbReportDoubleClick) return OnLButtonDown(x, y, modifiers);
    if (mbEnabled && x >= 0 && y >= 0 && x < Width() && y < Height()) NotifyOwner(kCodeDoubleClick);
    return true;
}

bool cGZWinBtn::OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) {
    if (HoldsCapture()) {
        const bool inside = x >= 0 && x < Width() && y >= 0 && y < Height();
        if (inside && !mbPointerInside) OnMouseEnter(x, y, nullptr);
        if (!inside && mbPointerInside) OnMouseLeave(x, y, nullptr);
    }
    return cGZWin::OnMouseMove(x, y, modifiers);
}

bool cGZWinBtn::OnMouseEnter(int32_t x, int32_t y, cGZWin* previous) {
    mbPointerInside = true;
    if (mbEnabled) PlaySound(kSoundEnter);
    if (HoldsCapture()) {
        if (mnToggleKind == 0 || mnToggleKind == 1) mnState = 1;
        if (mnToggleKind == 2) mnState ^= 1;
    }
    UpdateFrameColumn();
    Invalidate();
    if ((mnFlashMask & kFlashOnEnter) && !mbTiming) StartTiming();
    return cGZWin::OnMouseEnter(x, y, previous);
}

bool cGZWinBtn::OnMouseLeave(int32_t x, int32_t y, cGZWin* next) {
    mbPointerInside = false;
    if (mbTiming || (mnFlashMask & kFlashOnEnter)) {
        NotifyOwner(kCodeLeftWhileTiming);
        mbTiming = false;
    }
    if (HoldsCapture()) {
        if (mnToggleKind == 1 && mbChangedOnPress && mnNotifyMode == 0) mnState ^= 1;
        if (mnToggleKind == 2 && mnNotifyMode != 1) mnState ^= 1;
        if (mnToggleKind == 0 && mnNotifyMode != 1) mnState = 0;
    }
    UpdateFrameColumn();
    Invalidate();
    return cGZWin::OnMouseLeave(x, y, next);
}

bool cGZWinBtn::OnChildMouseEnter(int32_t x, int32_t y, cGZWin* previous, cGZWin* child) {
    cGZWin::OnChildMouseEnter(x, y, previous, child);
    return OnMouseEnter(x, y, previous);
}

bool cGZWinBtn::OnChildMouseLeave(int32_t x, int32_t y, cGZWin* child, cGZWin* next) {
    cGZWin::OnChildMouseLeave(x, y, child, next);
    return next == this ? OnMouseEnter(x, y, child) : OnMouseLeave(x, y, next);
}

bool cGZWinBtn::OnFocusGained(cGZWin*) { return mpParent && mpParent->Focus() != nullptr; }

void cGZWinBtn::SetSaveBackground(bool on) {
    mbSaveBackground = on;
    if (!on && mpBackground) {
        mpBackground->Release();
        mpBackground = nullptr;
    }
}

void cGZWinBtn::RestoreBackground(cGZBuffer& buffer) {
    if (mpBackground && (mpBackground->Width() != Width() || mpBackground->Height() != Height())) {
        mpBackground->Release();
        mpBackground = nullptr;
        if (mpParent) mpParent->Invalidate();
        return;
    }
    if (!mpBackground) {
        mpBackground = CopyBackground();
        // A button partly outside its buffer gets a smaller copy: none then.
        if (mpBackground && (mpBackground->Width() != Width() || mpBackground->Height() != Height())) {
            mpBackground->Release();
            mpBackground = nullptr;
        }
    }
    if (mpBackground) buffer.Blit(*mpBackground, mpBackground->GetBounds(), mBufferArea, &mBufferArea);
}

bool cGZWinBtn::Draw(bool) {
    if (mbSaveBackground)
        if (cGZBuffer* buffer = GetDrawBuffer()) RestoreBackground(*buffer);
    UpdateFrameColumn();
    UpdateSourceRect();
    if (!DrawFrame()) return false;
    if (!mText.empty()) DrawCaption();
    DrawOverlay();
    if (mbTiming) {
        if (static_cast<int32_t>(platform::TimeMs() - mnFlashStart) > mnFlashDuration) {
            mbTiming = false;
            NotifyOwner(kCodeFlash);
        } else {
            Invalidate();
        }
    }
    return true;
}

void cGZWinBtn::SetFont(cIGZFont* font, bool owned) {
    mpFont = font;
    mbFontOwned = owned;
    Invalidate();
}

void cGZWinBtn::SetCaptionColours(const uint32_t* colours) {
    mCaptionColours.clear();
    if (colours) mCaptionColours.assign(colours, colours + mnColumns);
    Invalidate();
}

void cGZWinBtn::SetCaptionOffsets(const std::pair<int32_t, int32_t>* offsets) {
    mCaptionOffsets.clear();
    if (offsets) mCaptionOffsets.assign(offsets, offsets + mnColumns);
    Invalidate();
}

uint32_t cGZWinBtn::GetCaptionColour(int32_t column) const {
    // Arrays hold the columns they were set for; a later, wider strip reads
    // the defaults beyond them.
    if (column >= 0 && column < static_cast<int32_t>(mCaptionColours.size())) return mCaptionColours[column];
    const cIGZWinCtrlMgr::CaptionColours& set = GetWinCtrlMgr()->GetDefaultCaptionColours(mnColumns == 4 ? 4 : 6);
    // The two disabled columns of a 6-column strip share the disabled colour.
    return set[std::clamp(column, 0, 3)];
}

std::pair<int32_t, int32_t> cGZWinBtn::GetCaptionOffset(int32_t column) const {
    if (column >= 0 && column < static_cast<int32_t>(mCaptionOffsets.size())) return mCaptionOffsets[column];
    return {0, 0};
}

void cGZWinBtn::SetFrameRow(int32_t row) {
    if (row == mnFrameRow) return;
    mnFrameRow = row;
    UpdateSourceRect();
    Invalidate();
}

void cGZWinBtn::SetFrameColumn(int32_t column) {
    if (column == mnFrameColumn) return;
    mnFrameColumn = column;
    UpdateSourceRect();
    Invalidate();
}

void cGZWinBtn::SetState(int32_t state) {
    mnState = state;
    UpdateFrameColumn();
    Invalidate();
}

void cGZWinBtn::SetEnabled(bool enabled) {
    mbEnabled = enabled;
    UpdateFrameColumn();
    Invalidate();
}

void cGZWinBtn::PlaySound(int32_t event) {
    static constexpr int32_t kBits[4] = {kSoundBitEnter, kSoundBitPress, kSoundBitRelease, kSoundBitError};
    if (event < 0 || event > 3 || !(mnSoundMask & kBits[event])) return;
    tova::PlayUISound(mHasSound[event] ? mSounds[event] : GetDefaultSound(event));
}

void cGZWinBtn::SetSounds(const char* enter, const char* press, const char* release, const char* error) {
    const char* names[4] = {enter, press, release, error};
    for (int i = 0; i < 4; ++i)
        if (names[i]) {
            mSounds[i] = names[i];
            mHasSound[i] = true;
        }
}

void cGZWinBtn::SetCaptionAlignment(int32_t alignment) {
    mnCaptionAlignment = alignment;
    Invalidate();
}

bool cGZWinBtn::SetCaptionShadow(bool on) {
    const bool old = mbCaptionShadow;
    mbCaptionShadow = on;
    Invalidate();
    return old;
}

void cGZWinBtn::NotifyOwner(intptr_t code) {
    if (mbOneShot && code == kCodeClick) {
        if (mbOneShotFired) return;
        mbOneShotFired = true;
    }
    cGZWin* owner = GetOwner();
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!owner || !mgr) return;
    const auto self = reinterpret_cast<intptr_t>(this);
    if (mbNotifyDirectly) {
        if (mgr->IsWin(owner)) owner->DoMessage({kGZMsgCommand, code, self, 0});
    } else {
        mgr->QueueMessage(owner, kGZMsgCommand, code, self, 0);
    }
}

void cGZWinBtn::SetOneShot(bool on) {
    mbOneShot = on;
    if (on) mbOneShotFired = false;
}

void cGZWinBtn::CenterAt(int32_t x, int32_t y) {
    const int32_t w = Width(), h = Height();
    SetArea(x - w / 2, y - h / 2, x - w / 2 + w, y - h / 2 + h);
}

void cGZWinBtn::SetOverlay(cGZBuffer* image, const cRZRect& source, int32_t x, int32_t y) {
    mpOverlay = image;
    mOverlaySource = source;
    mnOverlayX = x;
    mnOverlayY = y;
    Invalidate();
}

void cGZWinBtn::SetImageOffset(int32_t x, int32_t y) {
    mnImageX = x;
    mnImageY = y;
    Invalidate();
}
