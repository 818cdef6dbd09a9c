#include "ui/cGZWin.h"

#include <algorithm>
#include <atomic>

#include "gamedata/FrameClock.h"
#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cRZCursorManager.h"
#include "ui/graphics/cIGZWinGraphics.h"

namespace {

std::atomic<uint32_t> gDefaultFlags{kGZWinVisible | kGZWinEnabled | kGZWinReorderable};
std::atomic<int32_t> gDefaultToolTipDelay{750};
std::atomic<uint64_t> gNextSerial{1};

cGZWin* RootOf(cGZWin* window) {
    while (window && window->GetParent()) window = window->GetParent();
    return window;
}

}  // namespace

uint32_t GZGetDefaultWinFlags() { return gDefaultFlags; }
void GZSetDefaultWinFlags(uint32_t flags) { gDefaultFlags = flags; }
int32_t GZGetDefaultToolTipDelay() { return gDefaultToolTipDelay; }
void GZSetDefaultToolTipDelay(int32_t milliseconds) { gDefaultToolTipDelay = milliseconds; }
uint32_t GZGetFrameTime() { return FrameClock::Global().GetTime(); }

cGZWin::cGZWin()
    : mnFlags(gDefaultFlags), mnToolTipDelay(gDefaultToolTipDelay), mnSerial(gNextSerial.fetch_add(1)) {
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->RegisterWin(this);
}

cGZWin::~cGZWin() {
    cGZWinMgrW95* mgr = GZWinMgr();
    // A window released without DestroyWin still leaves the tree cleanly.
    if (mpParent) {
        if (!mgr || mgr->IsWin(mpParent)) mpParent->UnlinkChild(this);
        mpParent = nullptr;
    }
    while (!mChildren.empty()) {
        cGZWin* child = mChildren.front();
        if (mgr && mgr->IsWin(child) && mgr->DestroyWin(child) && (mChildren.empty() || mChildren.front() != child))
            continue;
        UnlinkChild(child);
        child->mpParent = nullptr;
    }
    if (mgr) mgr->UnregisterWin(this);
    if (mpOwnBuffer) mpOwnBuffer->Release();
    ReleaseFadeBackground();
}

int32_t cGZWin::AddRef() { return ++mnRefCount; }

int32_t cGZWin::Release() {
    if (mnRefCount > 1) return --mnRefCount;
    mnRefCount = 0;
    // A live window belongs to the tree: only the manager's DestroyWin ends
    // it. Once destroyed (or never registered) the last release frees it.
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr || !mgr->IsWin(this)) delete this;
    return 0;
}

bool cGZWin::Init() {
    mnFlags |= kGZWinInitialised;
    UpdateDrawBuffers();
    return true;
}

bool cGZWin::Shutdown() {
    Hide();
    SetOwnBuffer(false);
    mnFlags &= ~kGZWinInitialised;
    ReleaseFadeBackground();
    return true;
}

bool cGZWin::SetParent(cGZWin* parent) {
    if (!mpOwner || mpOwner == mpParent) mpOwner = parent;
    mpParent = parent;
    return true;
}

// --- the child list ---------------------------------------------------------

bool cGZWin::UnlinkChild(cGZWin* child) {
    auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end()) return false;
    mChildren.erase(it);
    return true;
}

void cGZWin::InsertBehindStayOnTop(cGZWin* child) {
    auto it = std::find_if(mChildren.begin(), mChildren.end(),
                           [](const cGZWin* c) { return !c->TestFlag(kGZWinStayOnTop); });
    mChildren.insert(it, child);
}

bool cGZWin::AddChild(cGZWin* child) {
    Invalidate();
    if (!child) return false;
    child->SetParent(this);
    // Init runs even for a child already listed; windows whose Init must run
    // once test the initialised flag (0x40) themselves.
    if (!child->Init()) {
        child->SetParent(nullptr);
        return false;
    }
    if (std::find(mChildren.begin(), mChildren.end(), child) != mChildren.end()) return true;
    InsertBehindStayOnTop(child);
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr && mgr->GetFocus() == this && mChildren.size() == 1) mgr->SetFocus(child);
    child->UpdateAbsoluteArea();
    if (TestFlag(kGZWinAlwaysRedraw)) child->SetAlwaysRedraw(true);
    return true;
}

bool cGZWin::RemoveChild(cGZWin* child) {
    Invalidate();
    if (!child || !UnlinkChild(child)) return false;
    if (cGZWinMgrW95* mgr = GZWinMgr()) {
        if (mgr->GetCapture() == child) mgr->ReleaseCapture(child);
        if (mgr->GetFocus() == child) mgr->SetFocus(this);
    }
    child->SetParent(nullptr);
    return true;
}

bool cGZWin::DestroyWin(cGZWin* window) {
    cGZWinMgrW95* mgr = GZWinMgr();
    return mgr && mgr->DestroyWin(window);
}

bool cGZWin::DeleteChild(cGZWin* child) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!child || (mgr && !mgr->IsWin(child))) return false;
    const bool removed = RemoveChild(child);
    const bool shut = child->Shutdown();
    if (mgr) mgr->DestroyWin(child);
    return removed && shut;
}

bool cGZWin::DeleteAllChildren() {
    bool all = true;
    cGZWinMgrW95* mgr = GZWinMgr();
    while (!mChildren.empty()) {
        cGZWin* child = mChildren.front();
        if (!mgr || !mgr->DestroyWin(child)) all = false;
        // Never loop on a child the manager could not take out.
        if (!mChildren.empty() && mChildren.front() == child) {
            UnlinkChild(child);
            child->SetParent(nullptr);
        }
    }
    return all;
}

bool cGZWin::HasChildWithId(uint32_t id) const { return FindChildById(id) != nullptr; }

bool cGZWin::IsChild(cGZWin* window) const {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!window || (mgr && !mgr->IsWin(window))) return false;
    return std::find(mChildren.begin(), mChildren.end(), window) != mChildren.end();
}

bool cGZWin::IsDescendantOf(const cGZWin* window) const {
    if (!window) return false;
    for (const cGZWin* p = mpParent; p; p = p->mpParent)
        if (p == window) return true;
    return false;
}

bool cGZWin::IsAncestorOf(const cGZWin* window) const {
    for (const cGZWin* child : mChildren)
        if (child == window || child->IsAncestorOf(window)) return true;
    return false;
}

bool cGZWin::BringToFront() { return mpParent ? mpParent->MoveChildToTop(this) : false; }

bool cGZWin::BringChildToFront(uint32_t id) {
    cGZWin* child = FindChildById(id);
    return child && MoveChildToTop(child);
}

bool cGZWin::MoveChildToTop(cGZWin* child) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!child || (mgr && !mgr->IsWin(child)) || !child->TestFlag(kGZWinReorderable)) return false;
    if (mpParent) mpParent->MoveChildToTop(this);
    if (!UnlinkChild(child)) return false;
    InsertBehindStayOnTop(child);
    return true;
}

bool cGZWin::MoveChildToBottom(cGZWin* child) {
    if (!UnlinkChild(child)) return false;
    mChildren.push_back(child);
    return true;
}

bool cGZWin::MoveChildAbove(cGZWin* child, cGZWin* sibling) {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!child || !sibling || child == sibling) return false;
    if (mgr && (!mgr->IsWin(child) || !mgr->IsWin(sibling))) return false;
    if (!child->TestFlag(kGZWinReorderable)) return false;
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it) {
        if (*it == child) break;  // already above
        if (*it == sibling) {
            UnlinkChild(child);
            mChildren.insert(std::find(mChildren.begin(), mChildren.end(), sibling), child);
            break;
        }
    }
    return true;
}

cGZWin* cGZWin::FindChildById(uint32_t id) const {
    for (cGZWin* child : mChildren)
        if (child->mnId == id) return child;
    return nullptr;
}

cGZWin* cGZWin::FindChildByHotKey(uint32_t key, uint32_t modifiers) const {
    const uint32_t wanted = key | modifiers << 16;
    for (cGZWin* child : mChildren)
        if (child->mnHotKey == wanted) return child;
    return nullptr;
}

// --- geometry ---------------------------------------------------------------

bool cGZWin::SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const bool resized = right - left != Width() || bottom - top != Height();
    mArea = {left, top, right, bottom};
    if (resized && mpOwnBuffer) SetOwnBuffer(true);
    UpdateBufferAreas();
    UpdateAbsoluteArea();
    if (resized) ReleaseFadeBackground();
    if (TestFlag(kGZWinDragging))
        if (cGZWin* root = RootOf(this)) root->InvalidateRect(mScreenArea);
    return true;
}

void cGZWin::CenterInRect(const cRZRect& rect) {
    const int32_t w = Width(), h = Height();
    const int32_t left = rect.left + ((rect.right - rect.left) - w) / 2;
    const int32_t top = rect.top + ((rect.bottom - rect.top) - h) / 2;
    SetArea(left, top, left + w, top + h);
}

void cGZWin::CenterOverRect(const cRZRect& rect) {
    if (rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0) return;
    CenterInRect(rect);
}

bool cGZWin::FitRectInside(cRZRect& rect, int32_t margin) const {
    const int32_t w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (rect.left < 0) rect.left = margin, rect.right = margin + w;
    if (rect.top < 0) rect.top = margin, rect.bottom = margin + h;
    if (rect.right > Width()) rect.right = Width() - margin, rect.left = rect.right - w;
    if (rect.bottom > Height()) rect.bottom = Height() - margin, rect.top = rect.bottom - h;
    return w + 2 * margin <= Width() && h + 2 * margin <= Height();
}

bool cGZWin::ContainsGlobalPoint(int32_t x, int32_t y) {
    return ContainsLocalPoint(x - mScreenArea.left, y - mScreenArea.top);
}

bool cGZWin::ContainsLocalPoint(int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
    if (TestFlag(kGZWinPixelHitTest) && mpOwnBuffer && x < mpOwnBuffer->Width() && y < mpOwnBuffer->Height()) {
        if (!mpOwnBuffer->Lock(4)) return true;
        const uint16_t* bits = mpOwnBuffer->GetBits();
        const bool transparent = bits && bits[y * mpOwnBuffer->GetPitch() + x] == (GZTransparentColor() & 0xFFFF);
        mpOwnBuffer->Unlock(4);
        if (transparent) return false;
    }
    return true;
}

bool cGZWin::ContainsPoint(int32_t x, int32_t y) const {
    return x >= mArea.left && x < mArea.right && y >= mArea.top && y < mArea.bottom;
}

bool cGZWin::HasWinAt(int32_t x, int32_t y) { return FindWinAt(x, y) != nullptr; }

void cGZWin::SetDragOffset(int32_t x, int32_t y) {
    mnDragX = x;
    mnDragY = y;
}

void cGZWin::GetDragOffset(int32_t& x, int32_t& y) const {
    x = mnDragX;
    y = mnDragY;
}

void cGZWin::UpdateAbsoluteArea() {
    mScreenArea = mArea;
    for (const cGZWin* p = mpParent; p; p = p->mpParent) {
        mScreenArea.left += p->mArea.left;
        mScreenArea.right += p->mArea.left;
        mScreenArea.top += p->mArea.top;
        mScreenArea.bottom += p->mArea.top;
    }
    for (cGZWin* child : mChildren) child->UpdateAbsoluteArea();
}

void cGZWin::LocalToGlobal(int32_t& x, int32_t& y) const {
    for (const cGZWin* w = this; w && w->mpParent; w = w->mpParent) {
        x += w->mArea.left;
        y += w->mArea.top;
    }
}

bool cGZWin::IsVisibleUpward() const {
    for (const cGZWin* w = this; w; w = w->mpParent)
        if (!w->TestFlag(kGZWinVisible)) return false;
    return true;
}

// --- flags ------------------------------------------------------------------

uint32_t cGZWin::SetFlag(uint32_t mask, bool on) {
    const uint32_t old = mnFlags;
    mnFlags = on ? (mnFlags | mask) : (mnFlags & ~mask);
    const bool counted = on ? (old & mask) == 0 : (old & mask) != 0;
    if (!counted) return mnFlags;
    if (mask == kGZWinVisible) {
        if (TestFlag(kGZWinWantsOwnBuffer)) SetOwnBuffer(on);
        Invalidate();
        if (mpParent) mpParent->Invalidate();
    } else if (mask == kGZWinWantsOwnBuffer) {
        SetOwnBuffer(on && TestFlag(kGZWinVisible));
    }
    return mnFlags;
}

uint32_t cGZWin::Show() { return SetFlag(kGZWinVisible, true); }

uint32_t cGZWin::Hide() {
    const uint32_t flags = SetFlag(kGZWinVisible, false);
    cGZWinMgrW95* mgr = GZWinMgr();
    if (mgr && mgr->GetFocus() == this) mgr->SetFocus(mpParent ? mpParent : mgr->GetRootWin());
    return flags;
}

void cGZWin::SetText(const cRZString& text) {
    mText = text;
    Invalidate();
}

void cGZWin::SetDragTranslucency(bool on, uint8_t alpha) {
    if (!on) {
        mnFlags &= ~kGZWinDragTranslucent;
        return;
    }
    if (!mpOwnBuffer) SetOwnBuffer(true);
    mnFlags |= kGZWinDragTranslucent;
    if (mnAlpha == 0) mnAlpha = alpha;
}

void cGZWin::SetTranslucency(bool on, uint8_t alpha) {
    if (on) {
        mnFlags |= kGZWinTranslucent;
        mnAlpha = alpha;
    } else {
        mnFlags &= ~kGZWinTranslucent;
    }
}

void cGZWin::SetToolTipText(const cRZString& text) {
    mToolTipText = text;
    mnFlags |= kGZWinHasToolTip;
}

void cGZWin::SetAlwaysRedraw(bool on) {
    mnFlags = on ? (mnFlags | kGZWinAlwaysRedraw) : (mnFlags & ~kGZWinAlwaysRedraw);
    for (cGZWin* child : mChildren) child->SetAlwaysRedraw(on);
}

// --- focus, cursors, tooltips ------------------------------------------------

cGZWin* cGZWin::Focus() {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr) return nullptr;
    if (TestFlag(kGZWinNoFocus)) return mgr->GetFocus();
    return mgr->SetFocus(this);
}

void cGZWin::SetCursor(cRZCursor* cursor) {
    const bool changed = cursor != mpCursor;
    mpCursor = cursor;
    if (changed && TestFlag(kGZWinVisible))
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->RefreshCursor();
}

void cGZWin::UpdateCursor() {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr) return;
    cRZCursorManager* cursors = mgr->GetCursorManager();
    for (cGZWin* w = this; w; w = w->mpParent) {
        if (w->TestFlag(kGZWinHidesCursor)) {
            if (cursors) cursors->HideCursor();
            return;
        }
    }
    if (cursors) cursors->ShowCursor();
    cRZCursor* chosen = nullptr;
    cGZWin* top = this;
    for (cGZWin* w = this; w; w = w->mpParent) {
        top = w;
        if (w->mpCursor) {
            chosen = w->mpCursor;
            break;
        }
    }
    if (!chosen && cursors) {
        top->mpCursor = cursors->GetCursor(0);
        chosen = top->mpCursor;
    }
    mgr->ApplyCursor(chosen, this);
}

void cGZWin::HideCursorOver(bool on) {
    SetFlag(kGZWinHidesCursor, on);
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->RefreshCursor();
}

cGZWin* cGZWin::CreateToolTip() {
    cGZWinMgrW95* mgr = GZWinMgr();
    cGZWin* tooltip = mgr ? mgr->GetToolTipWin() : nullptr;
    if (tooltip) tooltip->SetText(mToolTipText);
    return tooltip;
}

void cGZWin::GetToolTipPos(cGZWin* tooltip, bool atCursor, int32_t& x, int32_t& y) {
    if (atCursor) {
        int32_t px = 0, py = 0;
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->GetCursorPos(px, py);
        x = std::clamp(px, mScreenArea.left, std::max(mScreenArea.left, mScreenArea.right - 1));
    } else {
        x = (mScreenArea.left + mScreenArea.right) / 2;
    }
    const int32_t height = tooltip ? tooltip->Height() : 0;
    y = mScreenArea.top - height - 1;
    if (y < 3) y = mScreenArea.bottom + 2;
}

void cGZWin::SetAreaFromRect(const cRZRect& rect, float) { SetArea(rect.left, rect.top, rect.right, rect.bottom); }

void cGZWin::ShowAttachedWin(bool show) {
    cGZWinMgrW95* mgr = GZWinMgr();
    cGZWin* attached = mgr ? mgr->GetAttachedWin() : nullptr;
    if (!attached || attached == this) return;
    if (!show || !TestFlag(kGZWinVisible)) {
        attached->Hide();
        return;
    }
    const int32_t w = attached->Width(), h = attached->Height();
    int32_t left = mScreenArea.left + (Width() - w) / 2;
    int32_t bottom = mScreenArea.top - 3;
    if (cGZWin* parent = attached->GetParent()) {
        left -= parent->GetScreenArea().left;
        bottom -= parent->GetScreenArea().top;
    }
    attached->SetArea(left, bottom - h, left + w, bottom);
    attached->Show();
    attached->BringToFront();
    if (cRZCursorManager* cursors = mgr->GetCursorManager()) attached->SetCursor(cursors->GetCursor(0));
}

// --- input ------------------------------------------------------------------

cGZWin* cGZWin::FindWinAt(int32_t x, int32_t y) {
    for (cGZWin* child : mChildren) {
        if (!child->TestFlag(kGZWinVisible)) continue;
        if (cGZWin* hit = child->FindWinAt(x, y)) return hit;
    }
    return ContainsGlobalPoint(x, y) ? this : nullptr;
}

bool cGZWin::RouteMouseMessage(const cGZMessage& message) {
    const int32_t x = static_cast<int32_t>(message.a), y = static_cast<int32_t>(message.b);
    cGZWin* target = this;
    for (;;) {
        cGZWin* next = nullptr;
        for (cGZWin* child : target->mChildren) {
            if (child->TestFlag(kGZWinVisible) && child->TestFlag(kGZWinEnabled) && child->ContainsGlobalPoint(x, y)) {
                next = child;
                break;
            }
        }
        if (!next) break;
        target = next;
    }
    if (!target->TestFlag(kGZWinVisible) || !target->TestFlag(kGZWinEnabled)) return false;
    cGZWinMgrW95* mgr = GZWinMgr();
    if (message.type == kGZMsgLButtonDown || message.type == kGZMsgRButtonDown) {
        target->BringToFront();
        target->Focus();
    }
    if (mgr) mgr->TrackMouse(target, message);
    cGZMessage local = message;
    local.a = x - target->mScreenArea.left;
    local.b = y - target->mScreenArea.top;
    if (message.type == kGZMsgMouseMove) {
        target->UpdateCursor();
    } else if (message.type == kGZMsgNonClientMouseMove && mgr) {
        if (cRZCursorManager* cursors = mgr->GetCursorManager()) {
            mgr->ApplyCursor(cursors->GetCursor(0), target);
            cursors->ShowCursor();
        }
    }
    return target->DoMessage(local);
}

bool cGZWin::DoMessage(const cGZMessage& m) {
    const int32_t a = static_cast<int32_t>(m.a), b = static_cast<int32_t>(m.b);
    const uint32_t c = static_cast<uint32_t>(m.c);
    switch (m.type) {
    case kGZMsgDestroyWin:
        return DestroyWin(reinterpret_cast<cGZWin*>(m.a));
    case kGZMsgCommand:
        return OnCommand(m.a, m.b);
    case kGZMsgChar: {
        cIGZKeyboard* keyboard = GZKeyboard();
        if (keyboard && keyboard->IsKeyDown(17)) {
            switch (static_cast<int32_t>(m.a) + 64) {
            case 'X': return OnCut();
            case 'C': return OnCopy();
            case 'V': return OnPaste();
            case 'Z': return OnUndo();
            case 'Y': return OnRedo();
            case 'A': return OnSelectAll();
            case 'Q': return OnCtrlQ();
            case 'S': return OnCtrlS();
            default: break;
            }
        }
        return OnChar(static_cast<uint8_t>(m.a & 0xFF));
    }
    case kGZMsgKeyDown: return OnKeyDown(static_cast<uint32_t>(m.a), static_cast<uint32_t>(m.b));
    case kGZMsgKeyUp: return OnKeyUp(static_cast<uint32_t>(m.a), static_cast<uint32_t>(m.b));
    case kGZMsgLButtonDown:
        BeginDrag(a, b, c);
        return OnLButtonDown(a, b, c);
    case kGZMsgRButtonDown: return OnRButtonDown(a, b, c);
    case kGZMsgLButtonDblClk: return OnLButtonDblClk(a, b, c);
    case kGZMsgRButtonDblClk: return OnRButtonDblClk(a, b, c);
    case kGZMsgLButtonUp:
        EndDrag(a, b, c);
        return OnLButtonUp(a, b, c);
    case kGZMsgRButtonUp: return OnRButtonUp(a, b, c);
    case kGZMsgMouseMove:
        DoDrag(a, b, c);
        return OnMouseMove(a, b, c);
    case kGZMsgMouseWheel: return OnMouseWheel(a, b, c);
    case kGZMsgNonClientMouseMove: return OnNonClientMouseMove(a, b, c);
    case kGZMsgFocusLost: return OnFocusLost(reinterpret_cast<cGZWin*>(m.a));
    case kGZMsgFocusGained: return OnFocusGained(reinterpret_cast<cGZWin*>(m.a));
    case kGZMsgMouseEnter: return OnMouseEnter(a, b, reinterpret_cast<cGZWin*>(m.c));
    case kGZMsgMouseLeave: return OnMouseLeave(a, b, reinterpret_cast<cGZWin*>(m.c));
    case kGZMsgTimer:
        OnTimer(m.a);
        return true;
    default:
        return false;
    }
}

bool cGZWin::OnChar(uint8_t ch) { return mpParent && mpParent->OnChar(ch); }
bool cGZWin::OnKeyDown(uint32_t key, uint32_t mods) { return mpParent && mpParent->OnKeyDown(key, mods); }
bool cGZWin::OnKeyUp(uint32_t key, uint32_t mods) { return mpParent && mpParent->OnKeyUp(key, mods); }

bool cGZWin::OnLButtonDown(int32_t x, int32_t y, uint32_t mods) {
    if (TestFlag(kGZWinDragging)) return false;
    return mpParent && mpParent->OnLButtonDown(x + mArea.left, y + mArea.top, mods);
}
bool cGZWin::OnRButtonDown(int32_t x, int32_t y, uint32_t mods) {
    return mpParent && mpParent->OnRButtonDown(x + mArea.left, y + mArea.top, mods);
}
bool cGZWin::OnLButtonDblClk(int32_t x, int32_t y, uint32_t mods) { return OnLButtonDown(x, y, mods); }
bool cGZWin::OnRButtonDblClk(int32_t x, int32_t y, uint32_t mods) { return OnRButtonDown(x, y, mods); }
bool cGZWin::OnLButtonUp(int32_t x, int32_t y, uint32_t mods) {
    return mpParent && mpParent->OnLButtonUp(x + mArea.left, y + mArea.top, mods);
}
bool cGZWin::OnRButtonUp(int32_t x, int32_t y, uint32_t mods) {
    return mpParent && mpParent->OnRButtonUp(x + mArea.left, y + mArea.top, mods);
}
bool cGZWin::OnMouseMove(int32_t x, int32_t y, uint32_t mods) {
    if (TestFlag(kGZWinDragging)) return false;
    return mpParent && mpParent->OnMouseMove(x + mArea.left, y + mArea.top, mods);
}
bool cGZWin::OnNonClientMouseMove(int32_t x, int32_t y, uint32_t mods) {
    return mpParent && mpParent->OnNonClientMouseMove(x + mArea.left, y + mArea.top, mods);
}
bool cGZWin::OnMouseWheel(int32_t x, int32_t y, uint32_t mods) {
    return mpParent && mpParent->OnMouseWheel(x + mArea.left, y + mArea.top, mods);
}

bool cGZWin::OnMouseEnter(int32_t x, int32_t y, cGZWin* previous) {
    if (mpParent) mpParent->OnChildMouseEnter(x, y, previous, this);
    return false;
}
bool cGZWin::OnMouseLeave(int32_t x, int32_t y, cGZWin* next) {
    if (mpParent) mpParent->OnChildMouseLeave(x, y, this, next);
    return false;
}
bool cGZWin::OnChildMouseEnter(int32_t x, int32_t y, cGZWin* previous, cGZWin* child) {
    return mpParent && mpParent->OnChildMouseEnter(x, y, previous, child);
}
bool cGZWin::OnChildMouseLeave(int32_t x, int32_t y, cGZWin* child, cGZWin* next) {
    return mpParent && mpParent->OnChildMouseLeave(x, y, child, next);
}

bool cGZWin::OnCommand(intptr_t code, intptr_t source) { return mpParent && mpParent->OnCommand(code, source); }
bool cGZWin::OnCopy() { return mpParent ? mpParent->OnCopy() : true; }
bool cGZWin::OnCut() { return mpParent ? mpParent->OnCut() : true; }
bool cGZWin::OnPaste() { return mpParent ? mpParent->OnPaste() : true; }
bool cGZWin::OnUndo() { return mpParent ? mpParent->OnUndo() : true; }
bool cGZWin::OnRedo() { return mpParent ? mpParent->OnRedo() : true; }
bool cGZWin::OnSelectAll() { return mpParent ? mpParent->OnSelectAll() : true; }
bool cGZWin::OnCtrlS() { return mpParent ? mpParent->OnCtrlS() : true; }
bool cGZWin::OnCtrlQ() { return mpParent ? mpParent->OnCtrlQ() : true; }

bool cGZWin::BeginDrag(int32_t x, int32_t y, uint32_t) {
    if (!TestFlag(kGZWinDraggable)) return false;
    if (!IsInDragZone(x, y)) {
        mnFlags &= ~kGZWinDragging;
        return false;
    }
    mnFlags |= kGZWinDragging;
    SetDragOffset(x, y);
    if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->SetCapture(this);
    return true;
}

bool cGZWin::DoDrag(int32_t x, int32_t y, uint32_t) {
    if (!TestFlag(kGZWinDragging)) return false;
    const int32_t left = mArea.left + x - mnDragX, top = mArea.top + y - mnDragY;
    SetArea(left, top, left + Width(), top + Height());
    if (mpParent) mpParent->Invalidate();
    return true;
}

bool cGZWin::EndDrag(int32_t, int32_t, uint32_t) {
    if (!TestFlag(kGZWinDragging)) return false;
    if (cGZWinMgrW95* mgr = GZWinMgr())
        if (mgr->GetCapture() == this) mgr->ReleaseCapture(this);
    mnFlags &= ~kGZWinDragging;
    return true;
}

bool cGZWin::IsInDragZone(int32_t x, int32_t y) { return TestFlag(kGZWinDraggable) && ContainsLocalPoint(x, y); }
