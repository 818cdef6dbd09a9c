#include "WindowsPage.h"

#include "ui/GZMessageTypes.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/cRZCursorManager.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

// A plain coloured window; a click (press and release on it) queues its
// command to its owner.
class NamedWin : public cGZWin {
public:
    NamedWin(uint32_t rgb, intptr_t command) : mRgb(rgb), mnCommand(command) {}
    bool Draw(bool) override {
        cGZBuffer* b = GetDrawBuffer();
        if (!b) return true;
        b->FillRect(MakeColor(mRgb >> 16 & 0xFF, mRgb >> 8 & 0xFF, mRgb & 0xFF), GetBufferArea());
        b->FrameRect(GetBufferArea(), MakeColor(255, 255, 255), 1);
        return true;
    }
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t mods) override {
        mbPressed = true;
        cGZWin::OnLButtonDown(x, y, mods);
        return true;
    }
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t mods) override {
        cGZWin::OnLButtonUp(x, y, mods);
        if (mbPressed && ContainsLocalPoint(x, y) && GZWinMgr())
            GZWinMgr()->QueueMessage(GetOwner(), kGZMsgCommand, mnCommand, reinterpret_cast<intptr_t>(this));
        mbPressed = false;
        return true;
    }

protected:
    uint32_t mRgb;
    intptr_t mnCommand;
    bool mbPressed = false;
};

class FaderWin : public NamedWin {
public:
    using NamedWin::NamedWin;
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t mods) override {
        NamedWin::OnLButtonDown(x, y, mods);
        FadeVisible(false, true, 300);
        return true;
    }
};

}  // namespace

bool WindowsPage::Build(std::string&) {
    struct Layout {
        const char* name;
        cRZRect area;
        uint32_t rgb;
    };
    const Layout layouts[] = {
        {"panel", {40, 40, 240, 180}, 0x3060C0},     {"glass", {280, 40, 460, 180}, 0x40A060},
        {"top", {500, 40, 620, 180}, 0xC06030},      {"tip", {40, 240, 200, 320}, 0x808020},
        {"fader", {240, 240, 400, 320}, 0x8030A0},   {"edit-area", {440, 240, 620, 440}, 0xE0E0E0},
    };
    intptr_t command = 1;
    for (const Layout& s : layouts) {
        cGZWin* w = std::string(s.name) == "fader" ? static_cast<cGZWin*>(new FaderWin(s.rgb, command))
                                                   : new NamedWin(s.rgb, command);
        ++command;
        w->SetArea(s.area.left, s.area.top, s.area.right, s.area.bottom);
        AddChild(w);
        w->SetOwner(this);
        mNamed[s.name] = w;
    }
    cGZWin* panel = mNamed["panel"];
    panel->SetFlag(kGZWinDraggable, true);
    panel->SetOwnBuffer(true);
    cGZWin* glass = mNamed["glass"];
    glass->SetFlag(kGZWinDraggable, true);
    glass->SetDragTranslucency(true, 128);
    mNamed["top"]->SetFlag(kGZWinStayOnTop, true);
    mNamed["tip"]->SetToolTipText(cRZString("Tooltip"));
    if (GZWinMgr() && GZWinMgr()->GetCursorManager())
        mNamed["edit-area"]->SetCursor(GZWinMgr()->GetCursorManager()->GetCursor(2));
    return true;
}
