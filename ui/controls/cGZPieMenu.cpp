#include "ui/controls/cGZPieMenu.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/HostWindow.h"
#include "simulation/SoundPlayer.h"
#include "ui/GZHostWindow.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/ControlFonts.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int32_t kDefaultDeadRadius = 8;
constexpr int32_t kBoxGrowth = 4;
constexpr int32_t kLabelPadding = 3;

int32_t Eighth(int32_t value) { return ((value % 8) + 8) % 8; }

float IntoFullTurn(float angle) {
    angle = std::fmod(angle, 2 * kPi);
    return angle < 0 ? angle + 2 * kPi : angle;
}

void Join(cRZRect& box, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    box.left = std::min(box.left, left);
    box.top = std::min(box.top, top);
    box.right = std::max(box.right, right);
    box.bottom = std::max(box.bottom, bottom);
}

}  // namespace

// --- drawing helpers -------------------------------------------------------------

void cGZPieMenu::DrawLabelBox(uint32_t colour, int32_t x, int32_t y, int32_t width, int32_t height) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return;
    const cRZRect* clip = &mBufferArea;
    const int32_t l = x + 2, t = y + 2, r = x + width - 2, b = y + height - 2;
    buffer->FillRect4(colour, l, t, r, b, clip);
    // Two bevel steps: a line 1 pixel outside the box shortened by 1 at its
    // ends, a line 2 pixels outside shortened by 3.
    uint8_t red, green, blue;
    buffer->SplitColor(colour, red, green, blue);
    const uint32_t inner = buffer->MakeColor(red / 2, green / 2, blue / 2);
    const uint32_t outer = buffer->MakeColor(red / 4, green / 4, blue / 4);
    const struct {
        int32_t out, cut;
        uint32_t colour;
    } steps[] = {{1, 1, inner}, {2, 3, outer}};
    for (const auto& s : steps) {
        buffer->FillRect4(s.colour, l + s.cut - s.out, t - s.out, r - s.cut + s.out, t - s.out + 1, clip);
        buffer->FillRect4(s.colour, l + s.cut - s.out, b + s.out - 1, r - s.cut + s.out, b + s.out, clip);
        buffer->FillRect4(s.colour, l - s.out, t + s.cut - s.out, l - s.out + 1, b - s.cut + s.out, clip);
        buffer->FillRect4(s.colour, r + s.out - 1, t + s.cut - s.out, r + s.out, b - s.cut + s.out, clip);
    }
}

void cGZPieMenu::DrawLabel(const char* text, int32_t length, cIGZFont* font, uint32_t textColour,
                           uint32_t boxColour, int32_t x, int32_t y, int32_t width, int32_t height) {
    DrawLabelBox(boxColour, x, y, width, height);
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer || !font) return;
    const uint32_t saved = font->GetColor();
    font->SetColor(textColour);
    font->DrawText(*buffer, x + kLabelPadding, y + kLabelPadding, text, length, &mBufferArea, -1, -1);
    font->SetColor(saved);
}

// --- items ---------------------------------------------------------------------

void cGZPieMenu::ClearItems() {
    mItems.clear();
    mnHighlight = -1;
}

void cGZPieMenu::AddItem(const std::string& name, cGZWinBtn* button) {
    if (button) button->mnToggleKind = 3;
    Item item;
    item.name = name;
    item.button = button;
    mItems.push_back(item);
}

void cGZPieMenu::SetItemVisible(int32_t index, bool visible) {
    if (index >= 0 && index < GetItemCount()) mItems[static_cast<size_t>(index)].visible = visible;
}

int32_t cGZPieMenu::GetHighlightCentreX() const {
    if (mnHighlight < 0 || mnHighlight >= GetItemCount()) return 0;
    const Item& item = mItems[static_cast<size_t>(mnHighlight)];
    return item.x + item.width / 2;
}

int32_t cGZPieMenu::GetHighlightCentreY() const {
    if (mnHighlight < 0 || mnHighlight >= GetItemCount()) return 0;
    const Item& item = mItems[static_cast<size_t>(mnHighlight)];
    return item.y + item.height / 2;
}

// --- pictures and font ------------------------------------------------------------

void cGZPieMenu::SetCentrePicture(cGZBuffer* picture, bool owned) {
    if (picture == mpPicture) {
        mbPictureOwned = owned;
        return;
    }
    if (mpPicture && mbPictureOwned) mpPicture->Release();
    mpPicture = picture;
    mbPictureOwned = owned;
    Invalidate();
}

void cGZPieMenu::SetSecondPicture(cGZBuffer* picture, bool owned) {
    if (picture == mpSecondPicture) {
        mbSecondOwned = owned;
        return;
    }
    if (mpSecondPicture && mbSecondOwned) mpSecondPicture->Release();
    mpSecondPicture = picture;
    mbSecondOwned = owned;
}

void cGZPieMenu::ReleaseFont() {
    if (mbFontOwned) ReleaseControlFont(mpFont);
    mpFont = nullptr;
    mbFontOwned = false;
}

void cGZPieMenu::SetFont(cIGZFont* font) {
    if (font == mpFont) return;
    ReleaseFont();
    mpFont = font;
    Invalidate();
}

bool cGZPieMenu::CreateFont(int32_t face, int32_t size, uint32_t flags) {
    cIGZFontSys* fonts = GZGetFontSys();
    cIGZFont* font = fonts ? fonts->GetFont({face, size, flags, 0}) : nullptr;
    if (!font) return false;
    ReleaseFont();
    mpFont = font;
    mbFontOwned = true;
    return true;
}

// --- layout --------------------------------------------------------------------

void cGZPieMenu::Layout() {
    const int32_t pw = mpPicture ? mpPicture->Width() : 0, ph = mpPicture ? mpPicture->Height() : 0;
    mPictureRect = {-pw / 2, -ph / 2, pw, ph};
    if (mnDeadRadius == 0) mnDeadRadius = mpPicture ? std::max(1, std::max(pw, ph) / 2) : kDefaultDeadRadius;
    cRZRect box{-pw / 2 - mnMargin, -ph / 2 - mnMargin, -pw / 2 + pw + mnMargin, -ph / 2 + ph + mnMargin};
    const char* title = mTitle.c_str();
    if (*title && mpFont) {
        const cIGZFont::Extent extent = mpFont->MeasureText(title, static_cast<int32_t>(std::strlen(title)));
        const int32_t w = extent.width + 6, h = extent.height + 6;
        mTitleRect = {-w / 2, -h / 2, w, h};
        Join(box, -w / 2, -h / 2, -w / 2 + w, -h / 2 + h);
    } else {
        mTitleRect = {};
    }

    const int32_t count = GetItemCount();
    mnSlots = count == 0 ? 1 : count <= 2 ? 2 : count <= 4 ? 4 : 8;
    const int32_t rotation = Eighth(mnRotation);
    auto direction = [&](int32_t m) { return Eighth(m * 8 / mnSlots + rotation); };
    auto itemInDirection = [&](int32_t q) {
        for (int32_t j = 0; j < std::min(count, mnSlots); ++j)
            if (direction(j) == q) return j;
        return -1;
    };
    const int32_t a = mnAxisDistance, d = mnDiagonalDistance;
    for (int32_t m = 0; m < count; ++m) {
        Item& item = mItems[static_cast<size_t>(m)];
        if (item.button) {
            item.width = item.button->Width();
            item.height = item.button->Height();
        } else {
            const cIGZFont::Extent extent =
                mpFont ? mpFont->MeasureText(item.name.c_str(), static_cast<int32_t>(item.name.size()))
                       : cIGZFont::Extent{};
            item.width = extent.width + 2 * kLabelPadding;
            item.height = extent.height + 2 * kLabelPadding;
        }
        const int32_t w = item.width, h = item.height;
        if (m < mnSlots) {
            const int32_t q = direction(m);
            item.angle = IntoFullTurn((2 - q) * kPi / 4);
            const int32_t xs[8] = {-w / 2, d, a, d, -w / 2, -d - w, -a - w, -d - w};
            const int32_t ys[8] = {-a - h, -d - h, -h / 2, d, a, d, -h / 2, -d - h};
            item.x = xs[q];
            item.y = ys[q];
        } else {
            // Further items stack: odd ones under the bottom column, even
            // ones above the top column.
            const int32_t k = m - mnSlots;
            const bool under = k % 2 == 1;
            const int32_t first = itemInDirection(under ? Eighth(rotation - 4) : rotation);
            const int32_t refIndex = k < 2 ? first : m - 2;
            item.x = -w / 2;
            if (refIndex < 0) {
                item.y = under ? a : -a - h;
            } else {
                const Item& ref = mItems[static_cast<size_t>(refIndex)];
                item.y = under ? ref.y + ref.height : ref.y - h;
            }
            item.angle = under ? kPi : 3 * kPi;
        }
        Join(box, item.x, item.y, item.x + w, item.y + h);
    }
    box = {box.left - kBoxGrowth, box.top - kBoxGrowth, box.right + kBoxGrowth, box.bottom + kBoxGrowth};
    mnCentreOffsetX = -box.left;
    mnCentreOffsetY = -box.top;
    for (Item& item : mItems) {
        item.x += mnCentreOffsetX;
        item.y += mnCentreOffsetY;
    }
    mnWidth = box.right - box.left;
    mnHeight = box.bottom - box.top;
}

void cGZPieMenu::LayoutAndPlace() {
    Layout();
    mnLeft = mnCentreX - mnCentreOffsetX;
    mnTop = mnCentreY - mnCentreOffsetY;
    SetArea(mnLeft, mnTop, mnLeft + mnWidth, mnTop + mnHeight);
}

int32_t cGZPieMenu::ItemAtPoint(int32_t x, int32_t y) {
    if (mItems.empty()) return -1;
    const float dx = static_cast<float>(x - mnCentreOffsetX), dy = static_cast<float>(y - mnCentreOffsetY);
    mfPointerDistance = std::sqrt(dx * dx + dy * dy);
    if (mfPointerDistance < 1) return -1;
    // 0 straight up, growing clockwise.
    mfPointerAngle = IntoFullTurn(std::atan2(dx, -dy));
    for (int32_t i = 0; i < GetItemCount(); ++i) {
        const Item& item = mItems[static_cast<size_t>(i)];
        if (item.visible && x >= item.x && x < item.x + item.width && y >= item.y && y < item.y + item.height)
            return i;
    }
    if (mfPointerDistance <= static_cast<float>(mnDeadRadius)) {
        mfPointerAngle = 0;
        return -1;
    }
    if (mnOuterRadius != 0 && mfPointerDistance > static_cast<float>(mnOuterRadius)) return -1;
    const float turn = (mfPointerAngle - static_cast<float>(mnRotation) * kPi / 4) *
                       static_cast<float>(mnSlots) / (2 * kPi);
    int32_t index = static_cast<int32_t>(std::floor(turn + 0.5f));
    index = ((index % mnSlots) + mnSlots) % mnSlots;
    if (index >= GetItemCount() || !mItems[static_cast<size_t>(index)].visible) return -1;
    return index;
}

// --- reports and highlight --------------------------------------------------------

void cGZPieMenu::Report(intptr_t code, intptr_t b) {
    cGZWin* owner = GetOwner();
    cGZWinMgrW95* mgr = GZWinMgr();
    if (owner && mgr && mgr->IsWin(owner)) owner->DoMessage({kGZMsgCommand, code, b, 0});
}

void cGZPieMenu::PlayMenuSound(const char* name) const {
    if (mbSoundsOn) tova::PlayUISound(name);
}

void cGZPieMenu::SetHighlight(int32_t index, bool choose) {
    if (index != -1) index = GetItemCount() == 0 ? -1 : std::clamp(index, 0, GetItemCount() - 1);
    mnHighlight = index;
    const auto self = reinterpret_cast<intptr_t>(this);
    Report(kCodeHighlight, self);
    if (!choose) {
        Invalidate();
        return;
    }
    Report(index == -1 ? kCodeCancelled : kCodeChosen, self);
    if (mbCloseWhenChosen) EndWithHighlight();
}

// --- opening and closing --------------------------------------------------------

int32_t cGZPieMenu::ShowModal(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen) {
    Open(x, y, releaseMode, closeWhenChosen);
    const int32_t result = RunModal();
    Close();
    return result;
}

void cGZPieMenu::Open(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen) {
    PlayMenuSound("UI_piemenu_appear");
    if (cGZWinMgrW95* mgr = GZWinMgr()) {
        if (cGZWin* holder = mgr->GetCapture(); holder && holder != this) mgr->ReleaseCapture(holder);
        mgr->SetCapture(this);
    }
    Place(x, y, releaseMode, closeWhenChosen);
    Report(kCodeHighlight, reinterpret_cast<intptr_t>(this));
}

int32_t cGZPieMenu::RunModal() {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr) return -1;
    mbInModal = true;
    const int32_t result = mgr->DoModal(mgr->GetRootWin(), this);
    mbInModal = false;
    return result;
}

void cGZPieMenu::Close() {
    if (cGZWinMgrW95* mgr = GZWinMgr(); mgr && mgr->GetCapture() == this) mgr->ReleaseCapture(this);
    RemoveItemButtons();
}

void cGZPieMenu::Place(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen) {
    mnCentreX = x;
    mnCentreY = y;
    mbOpen = true;
    mbPointerMoved = false;
    mbReleaseMode = releaseMode;
    mbCloseWhenChosen = closeWhenChosen;
    Layout();
    Show();
    cGZWinMgrW95* mgr = GZWinMgr();
    cGZWin* root = mgr ? mgr->GetRootWin() : nullptr;
    mnLeft = mnCentreX - mnCentreOffsetX;
    mnTop = mnCentreY - mnCentreOffsetY;
    if (root) {
        // Kept inside the root; the centre, and the pointer with it, follow.
        const int32_t left = std::clamp(mnLeft, 0, std::max(0, root->Width() - mnWidth));
        const int32_t top = std::clamp(mnTop, 0, std::max(0, root->Height() - mnHeight));
        if (left != mnLeft || top != mnTop) {
            mnCentreX += left - mnLeft;
            mnCentreY += top - mnTop;
            mnLeft = left;
            mnTop = top;
            if (platform::HostWindow* host = GZGetHostWindow()) host->WarpCursor(mnCentreX, mnCentreY);
            mbPointerMoved = true;
        }
    }
    SetArea(mnLeft, mnTop, mnLeft + mnWidth, mnTop + mnHeight);
    for (Item& item : mItems) {
        cGZWinBtn* button = item.button;
        if (!button) continue;
        button->SetArea(mnLeft + item.x, mnTop + item.y, mnLeft + item.x + item.width, mnTop + item.y + item.height);
        if (button->IsEnabled() != item.visible) button->SetEnabled(item.visible);
        button->SetAlwaysRedraw(true);
        if (root && button->GetParent() != root) root->AddChild(button);
    }
    mnHighlight = -1;
    if (mgr) {
        int32_t cx = 0, cy = 0;
        mgr->GetCursorPos(cx, cy);
        PointerAt(cx - mnLeft, cy - mnTop);
    }
}

void cGZPieMenu::RemoveItemButtons() {
    for (Item& item : mItems)
        if (item.button && item.button->GetParent()) item.button->GetParent()->RemoveChild(item.button);
    mbOpen = false;
}

void cGZPieMenu::End(int32_t result) {
    if (!mbInModal) {
        Close();
    } else if (cGZWinMgrW95* mgr = GZWinMgr()) {
        mgr->PostWinMessage(kGZMsgEndModal, this, result);
    }
    mbOpen = false;
    mbPointerMoved = false;
    mbButtonDown = false;
}

// --- cGZWin ------------------------------------------------------------------------

bool cGZPieMenu::Init() {
    const bool result = cGZWin::Init();
    // After a modal loop of its own the menu takes the capture back.
    SetFlag(kGZWinRecaptureAfterModal, true);
    if (!mnItemColour) mnItemColour = MakeColor(185, 185, 208);
    if (!mnHighlightColour) mnHighlightColour = MakeColor(0, 255, 255);
    if (!mnPressedColour) mnPressedColour = MakeColor(255, 255, 255);
    if (!mnFillColor) mnFillColor = MakeColor(118, 118, 118);
    if (!mpFont) CreateFont(1, 10, 0);
    if (!mpPicture) SetCentrePicture(GetWinCtrlMgr()->GetImage(cIGZWinCtrlMgr::kImagePieMenuCentre), false);
    return result;
}

bool cGZPieMenu::Shutdown() {
    SetCentrePicture(nullptr, false);
    SetSecondPicture(nullptr, false);
    ReleaseFont();
    return cGZWin::Shutdown();
}

bool cGZPieMenu::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    mnLeft = left;
    mnTop = top;
    return cGZWin::SetArea(left, top, right, bottom);
}

bool cGZPieMenu::OnChar(uint8_t ch) {
    Report(kCodeChar, ch);
    return cGZWin::OnChar(ch);
}

bool cGZPieMenu::OnKeyDown(uint32_t key, uint32_t) {
    constexpr uint32_t kEscape = 27;
    if (key == kEscape) {
        mnHighlight = -1;
        Report(kCodeCancelled, kEscape);
        EndWithHighlight();
    } else {
        Report(kCodeKey, static_cast<intptr_t>(key));
    }
    return true;
}

void cGZPieMenu::PointerAt(int32_t x, int32_t y) {
    if (mbPointerMoved) {
        // The pointer was moved with the menu: where it is now counts.
        if (cGZWinMgrW95* mgr = GZWinMgr()) {
            mgr->GetCursorPos(x, y);
            x -= mnLeft;
            y -= mnTop;
        }
    }
    const int32_t index = ItemAtPoint(x, y);
    if (index != mnHighlight) {
        if (mnHighlight >= 0 && mnHighlight < GetItemCount())
            if (cGZWinBtn* old = mItems[static_cast<size_t>(mnHighlight)].button) old->SetState(0);
        if (index >= 0)
            if (cGZWinBtn* now = mItems[static_cast<size_t>(index)].button) now->SetState(1);
        mnHighlight = index;
        if (index >= 0) PlayMenuSound("UI_piemenu_highlight");
        Report(kCodeHighlight, reinterpret_cast<intptr_t>(this));
        Invalidate();
    }
    if (mbCancelOutside && mnOuterRadius != 0 && index == -1 &&
        mfPointerDistance > static_cast<float>(mnOuterRadius)) {
        SetHighlight(-1, true);
    }
    Report(kCodePointer, reinterpret_cast<intptr_t>(this));
}

bool cGZPieMenu::OnMouseMove(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbOpen) return cGZWin::OnMouseMove(x, y, modifiers);
    PointerAt(x, y);
    return true;
}

bool cGZPieMenu::AnyButtonDown() const { return mbButtonDown; }

bool cGZPieMenu::OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbOpen) return cGZWin::OnLButtonDown(x, y, modifiers);
    if (mbReleaseMode && mbPressChooses) {
        ReleaseAt(x, y, modifiers);
        if (mnHighlight >= 0) PlayMenuSound("UI_piemenu_select");
        return true;
    }
    mbButtonDown = true;
    PointerAt(x, y);
    if (mnHighlight >= 0) PlayMenuSound("UI_piemenu_select");
    return true;
}

bool cGZPieMenu::OnRButtonDown(int32_t x, int32_t y, uint32_t modifiers) { return OnLButtonDown(x, y, modifiers); }

bool cGZPieMenu::ReleaseAt(int32_t x, int32_t y, uint32_t) {
    mbButtonDown = false;
    PointerAt(x, y);
    if (!mbOpen) return true;
    if (!mbReleaseMode && (mbPointerMoved || mfPointerDistance <= static_cast<float>(mnDeadRadius))) {
        // Released where the menu opened: it stays, and the next click chooses.
        mbReleaseMode = true;
        mbPointerMoved = false;
        return true;
    }
    const int32_t chosen = mnHighlight;
    SetHighlight(chosen, true);
    if (chosen >= 0 && chosen < GetItemCount())
        if (cGZWinBtn* button = mItems[static_cast<size_t>(chosen)].button) button->SetState(0);
    return true;
}

bool cGZPieMenu::OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbOpen) return cGZWin::OnLButtonUp(x, y, modifiers);
    return ReleaseAt(x, y, modifiers);
}

bool cGZPieMenu::OnRButtonUp(int32_t x, int32_t y, uint32_t modifiers) {
    if (!mbOpen) return cGZWin::OnRButtonUp(x, y, modifiers);
    return ReleaseAt(x, y, modifiers);
}

bool cGZPieMenu::Draw(bool) {
    cGZBuffer* buffer = GetDrawBuffer();
    if (!buffer) return false;
    const int32_t cx = mBufferArea.left + mnCentreOffsetX, cy = mBufferArea.top + mnCentreOffsetY;
    if (mpPicture) {
        const cRZRect dest{cx + mPictureRect.left, cy + mPictureRect.top, cx + mPictureRect.left + mPictureRect.right,
                           cy + mPictureRect.top + mPictureRect.bottom};
        buffer->Blit(*mpPicture, mpPicture->GetBounds(), dest, &mBufferArea);
    }
    const char* title = mTitle.c_str();
    if (*title)
        DrawLabel(title, static_cast<int32_t>(std::strlen(title)), mpFont, mnItemColour, mnFillColor,
                  cx + mTitleRect.left, cy + mTitleRect.top, mTitleRect.right, mTitleRect.bottom);
    for (int32_t i = 0; i < GetItemCount(); ++i) {
        const Item& item = mItems[static_cast<size_t>(i)];
        if (item.button || !item.visible) continue;
        uint32_t colour = mnItemColour;
        if (i == mnHighlight) colour = AnyButtonDown() ? mnPressedColour : mnHighlightColour;
        DrawLabel(item.name.c_str(), static_cast<int32_t>(item.name.size()), mpFont, colour, mnFillColor,
                  mBufferArea.left + item.x, mBufferArea.top + item.y, item.width, item.height);
    }
    // Redrawn every frame while open, with its item buttons.
    if (mbOpen) {
        Invalidate();
        for (const Item& item : mItems)
            if (item.button) item.button->Invalidate();
    }
    return true;
}
