// The window framework: every on-screen element is a cGZWin in one tree
// below the root window that the window manager (cGZWinMgrW95) holds. A
// window owns its children, knows its rectangle relative to its parent and
// on the screen, draws into a drawing buffer (its own off-screen buffer or
// the nearest ancestor's) and receives framework messages through DoMessage,
// which fans them out to the handlers below. The default input handlers pass
// input up the parent chain with the point made relative to the parent, so a
// subclass only overrides what it handles.
//
// Lifetime: windows are reference counted, the child list holds plain
// pointers, and windows are destroyed through the manager (DestroyWin):
// that removes the window from its parent, shuts it down and unregisters it,
// so it is dead for IsWin at once; its memory goes at the last Release, so a
// holder of a counted reference (a tooltip, the attached window) may still
// release it later.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/cGZMessage.h"
#include "framework/cRZRect.h"
#include "framework/cRZString.h"
#include "gamedata/FloatRamp.h"

class cGZBuffer;
class cRZCursor;

// Window flags; other subsystems test them by value.
enum GZWinFlag : uint32_t {
    kGZWinVisible = 0x1,
    kGZWinEnabled = 0x2,
    kGZWinDraggable = 0x4,
    kGZWinDragging = 0x8,
    kGZWinReorderable = 0x10,
    kGZWinModal = 0x20,
    kGZWinInitialised = 0x40,
    kGZWinWantsOwnBuffer = 0x80,
    kGZWinColorKeyed = 0x100,
    kGZWinPixelHitTest = 0x200,
    kGZWinHasToolTip = 0x400,
    kGZWinHidesCursor = 0x800,
    kGZWinKeepsToolTip = 0x1000,
    kGZWinNoFocus = 0x2000,
    kGZWinAlwaysRedraw = 0x4000,
    kGZWinDragTranslucent = 0x8000,
    kGZWinStayOnTop = 0x10000,
    kGZWinShowsOverrideCursor = 0x20000,
    kGZWinToolTipNoLimit = 0x40000,
    kGZWinTranslucent = 0x80000,
    kGZWinRecaptureAfterModal = 0x100000,
};

// Process-wide defaults read by every window's constructor; the options and
// the application change them (tooltip delay 0 or 750, 0x20000 while the
// control panel is made).
uint32_t GZGetDefaultWinFlags();
void GZSetDefaultWinFlags(uint32_t flags);
int32_t GZGetDefaultToolTipDelay();
void GZSetDefaultToolTipDelay(int32_t milliseconds);
// The frame time (ms) fades run on: the game's frame clock.
uint32_t GZGetFrameTime();

class cGZWin : public cIGZMessageTarget {
public:
    cGZWin();
    cGZWin(const cGZWin&) = delete;
    cGZWin& operator=(const cGZWin&) = delete;

    bool DoMessage(const cGZMessage& message) override;
    virtual int32_t AddRef();
    virtual int32_t Release();
    virtual bool Init();
    virtual bool Shutdown();
    virtual ~cGZWin();
    virtual cGZWin* GetParent() const { return mpParent; }
    virtual bool SetParent(cGZWin* parent);
    virtual bool AddChild(cGZWin* child);
    virtual bool RemoveChild(cGZWin* child);
    virtual bool DestroyWin(cGZWin* window);
    virtual bool DeleteChild(cGZWin* child);
    virtual bool DeleteAllChildren();
    virtual bool HasChildWithId(uint32_t id) const;
    virtual bool IsChild(cGZWin* window) const;
    virtual bool IsDescendantOf(const cGZWin* window) const;
    virtual bool IsAncestorOf(const cGZWin* window) const;
    virtual bool BringToFront();
    virtual bool BringChildToFront(uint32_t id);
    virtual bool MoveChildToTop(cGZWin* child);
    virtual bool MoveChildToBottom(cGZWin* child);
    virtual bool MoveChildAbove(cGZWin* child, cGZWin* sibling);
    virtual void SetDragTranslucency(bool on, uint8_t alpha);
    virtual void SetTranslucency(bool on, uint8_t alpha);
    virtual bool SetArea(int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual void CenterInRect(const cRZRect& rect);
    virtual void CenterOverRect(const cRZRect& rect);
    virtual bool FitRectInside(cRZRect& rect, int32_t margin) const;
    virtual bool ContainsGlobalPoint(int32_t x, int32_t y);
    virtual bool ContainsLocalPoint(int32_t x, int32_t y);
    virtual bool ContainsPoint(int32_t x, int32_t y) const;
    virtual bool HasWinAt(int32_t x, int32_t y);
    virtual void SetDragOffset(int32_t x, int32_t y);
    virtual void GetDragOffset(int32_t& x, int32_t& y) const;
    virtual void UpdateAbsoluteArea();
    virtual bool TestFlag(uint32_t mask) const { return (mnFlags & mask) != 0; }
    virtual uint32_t SetFlag(uint32_t mask, bool on);
    virtual uint32_t Show();
    virtual uint32_t Hide();
    virtual void SetText(const cRZString& text);
    virtual void SetHotKey(uint32_t value) { mnHotKey = value; }
    virtual void OnCaptureCancelled() {}
    virtual void FadeVisible(bool show, bool redraw, int32_t durationMs);
    virtual void FinishFade();
    virtual uint8_t GetAlpha() const;
    virtual bool UsesFadeBackground() const { return true; }
    virtual cGZWin* CreateToolTip();
    virtual void GetToolTipPos(cGZWin* tooltip, bool atCursor, int32_t& x, int32_t& y);
    virtual void SetAreaFromRect(const cRZRect& rect, float fraction);
    virtual cGZBuffer* CopyBackground();
    virtual bool TestFlag64() const { return TestFlag(kGZWinInitialised); }
    virtual uint32_t SetFlag64(bool on) { return SetFlag(kGZWinInitialised, on); }
    virtual bool Composite(cGZBuffer& target, const cRZRect& targetRect);
    virtual void AddDirtyRect(const cRZRect& rect, bool force);
    virtual bool OnChar(uint8_t ch);
    virtual bool OnKeyDown(uint32_t key, uint32_t modifiers);
    virtual bool OnKeyUp(uint32_t key, uint32_t modifiers);
    virtual bool OnLButtonDown(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnRButtonDown(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnLButtonDblClk(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnRButtonDblClk(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnLButtonUp(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnRButtonUp(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnMouseMove(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnNonClientMouseMove(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnMouseWheel(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool OnMouseEnter(int32_t x, int32_t y, cGZWin* previous);
    virtual bool OnMouseLeave(int32_t x, int32_t y, cGZWin* next);
    virtual bool OnChildMouseEnter(int32_t x, int32_t y, cGZWin* previous, cGZWin* child);
    virtual bool OnChildMouseLeave(int32_t x, int32_t y, cGZWin* child, cGZWin* next);
    virtual bool OnTimer(intptr_t value) { return true; }
    virtual bool BeginDrag(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool DoDrag(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool EndDrag(int32_t x, int32_t y, uint32_t modifiers);
    virtual bool IsInDragZone(int32_t x, int32_t y);
    virtual bool OnCommand(intptr_t code, intptr_t source);
    virtual bool OnFocusGained(cGZWin* previous) { return true; }
    virtual bool OnFocusLost(cGZWin* next) { return true; }
    virtual void BeginModal() { mnFlags |= kGZWinModal; }
    virtual void EndModal() { mnFlags &= ~kGZWinModal; }
    virtual bool OnCopy();
    virtual bool OnCut();
    virtual bool OnPaste();
    virtual bool OnUndo();
    virtual bool OnRedo();
    virtual bool OnSelectAll();
    virtual bool OnCtrlS();
    virtual bool OnCtrlQ();
    virtual void ShowAttachedWin(bool show);
    virtual bool Draw(bool force) { return force; }
    virtual void Invalidate() { mbDirty = 1; }
    virtual void InvalidateAll();
    virtual void InvalidateRect(const cRZRect& rect);
    virtual bool SetOwnBuffer(bool on);
    virtual bool Update(bool force);
    virtual bool OnDrawn(bool drawn) { return false; }
    virtual cGZBuffer* GetDrawBuffer() const { return mpDrawBuffer; }
    virtual cGZBuffer* GetOwnBuffer() const { return mpOwnBuffer; }
    virtual void SetDrawBuffer(cGZBuffer* buffer);
    virtual void UpdateDrawBuffer();
    virtual void UpdateDrawBuffers();
    virtual void UpdateBufferArea();
    virtual void UpdateBufferAreas();

    // Non-virtual operations.
    cGZWin* Focus();
    void LocalToGlobal(int32_t& x, int32_t& y) const;
    cGZWin* FindChildById(uint32_t id) const;
    cGZWin* FindChildByHotKey(uint32_t key, uint32_t modifiers) const;
    cGZWin* FindWinAt(int32_t x, int32_t y);
    bool RouteMouseMessage(const cGZMessage& message);
    uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue) const;
    void SetToolTipText(const cRZString& text);
    void SetCursor(cRZCursor* cursor);
    void UpdateCursor();
    void HideCursorOver(bool on);
    void SetAlwaysRedraw(bool on);

    // Plain accessors.
    uint32_t GetFlags() const { return mnFlags; }
    const cRZRect& GetArea() const { return mArea; }
    const cRZRect& GetScreenArea() const { return mScreenArea; }
    const cRZRect& GetBufferArea() const { return mBufferArea; }
    const cRZRect& GetTargetArea() const { return mTargetArea; }
    int32_t Width() const { return mArea.right - mArea.left; }
    int32_t Height() const { return mArea.bottom - mArea.top; }
    const std::vector<cGZWin*>& GetChildren() const { return mChildren; }
    uint32_t GetId() const { return mnId; }
    void SetId(uint32_t id) { mnId = id; }
    cGZWin* GetOwner() const { return mpOwner; }
    void SetOwner(cGZWin* owner) { mpOwner = owner; }
    intptr_t GetCommandValue() const { return mnCommandValue; }
    void SetCommandValue(intptr_t value) { mnCommandValue = value; }
    uint32_t GetHotKey() const { return mnHotKey; }
    const cRZString& GetText() const { return mText; }
    const cRZString& GetToolTipText() const { return mToolTipText; }
    int32_t GetToolTipDelay() const { return mnToolTipDelay; }
    void SetToolTipDelay(int32_t ms) { mnToolTipDelay = ms; }
    int32_t GetToolTipGrowTime() const { return mnToolTipGrowTime; }
    void SetToolTipGrowTime(int32_t ms) { mnToolTipGrowTime = ms; }
    cRZCursor* GetCursor() const { return mpCursor; }
    uint32_t GetFillColor() const { return mnFillColor; }
    void SetFillColor(uint32_t colour) { mnFillColor = colour; }
    bool IsDirty() const { return mbDirty != 0; }
    bool WasDirty() const { return mbWasDirty != 0; }
    void SetScreenInvalidationOff(bool off) { mbNoScreenInvalidate = off ? 1 : 0; }
    int32_t GetFadeDirection() const { return mnFadeDirection; }
    bool IsFading() const { return mnFadeDirection != 0; }
    uint8_t GetStoredAlpha() const { return mnAlpha; }
    cGZBuffer* GetFadeBackground() const { return mpFadeBackground; }
    int32_t GetRefCount() const { return mnRefCount; }
    // A number no other window of the run ever had: timers and queued
    // messages carry it, so a new window at a dead one's address never gets
    // the dead one's.
    uint64_t GetSerial() const { return mnSerial; }
    // Whether every window from this one up to the root is visible.
    bool IsVisibleUpward() const;

protected:
    // Closes a fade whose time is up: the end message to the parent, the
    // final opacity, the buffers; true when one was closed.
    bool CloseFinishedFade(cGZBuffer* target, const cRZRect* targetRect);
    bool FadeTimeIsUp() const;
    void ReleaseFadeBackground();
    // Unlinks a child from the list; false when it is not listed.
    bool UnlinkChild(cGZWin* child);
    void InsertBehindStayOnTop(cGZWin* child);
    void SetAlwaysRedrawSubtree();

    int32_t mnRefCount = 0;
    intptr_t mnCommandValue = 0;
    cRZRect mScreenArea{};
    cRZRect mBufferArea{};
    uint32_t mnHotKey = 0;
    int32_t mnDragX = 0;
    int32_t mnDragY = 0;
    std::vector<cGZWin*> mChildren;  // front = top of the z-order
    cGZWin* mpParent = nullptr;
    uint32_t mnId = 0;
    cGZWin* mpOwner = nullptr;
    cRZString mText;
    cGZBuffer* mpOwnBuffer = nullptr;
    cGZBuffer* mpDrawBuffer = nullptr;
    uint8_t mbDirty = 1;
    uint8_t mbWasDirty = 0;
    uint32_t mnFillColor = 0;
    cRZCursor* mpCursor = nullptr;
    uint8_t mbNoScreenInvalidate = 0;
    cRZString mToolTipText;
    cRZRect mArea{};
    cRZRect mTargetArea{};
    uint32_t mnFlags;
    int32_t mnToolTipDelay;
    int32_t mnToolTipGrowTime = 150;
    uint8_t mnAlpha = 0;
    int32_t mnFadeDirection = 0;
    FloatRamp mFadeRamp;
    uint8_t mbFadeKeptOwnBuffer = 0;
    uint8_t mbFadeRedraws = 0;
    cGZBuffer* mpFadeBackground = nullptr;
    int32_t mnFadeDurationMs = 333;
    uint64_t mnSerial;
};
