#include "GraphicWorld.h"

#include "framework/cCheatCommandLine.h"
#include "framework/cGZCheatCodeManager.h"
#include "platform/WindowMessages.h"
#include "ui/GZMessageTypes.h"

namespace tova_test {
namespace {

using namespace platform;

class InputWin : public cGZWin {
public:
    bool DoMessage(const cGZMessage& m) override {
        messages.push_back(m);
        return cGZWin::DoMessage(m);
    }
    bool OnKeyDown(uint32_t, uint32_t) override { return true; }
    bool OnLButtonDown(int32_t, int32_t, uint32_t) override { return true; }
    std::vector<cGZMessage> messages;
};

TEST(MainWindowConvert, EveryInputMessageToItsTypeAndFields) {
    const intptr_t point = PackPoint(700, -20);  // outside a 640x480 root
    const uint32_t keyMods = kGZModAlt | kGZModShift;
    struct Case {
        uint32_t message;
        intptr_t wParam;
        cGZMessage expected;
    } cases[] = {
        {kMsgChar, 'a', {kGZMsgChar, 'a', 0, 0}},
        {kMsgKeyDown, 65, {kGZMsgKeyDown, 65, keyMods, 0}},
        {kMsgSysKeyDown, 65, {kGZMsgKeyDown, 65, keyMods, 0}},
        {kMsgKeyUp, 66, {kGZMsgKeyUp, 66, keyMods, 0}},
        {kMsgSysKeyUp, 66, {kGZMsgKeyUp, 66, keyMods, 0}},
        {kMsgLButtonDown, kMkLButton | kMkControl, {kGZMsgLButtonDown, 639, 0, kGZModLButton | kGZModCtrl | kGZModAlt}},
        {kMsgRButtonDown, kMkRButton, {kGZMsgRButtonDown, 639, 0, kGZModRButton | kGZModAlt}},
        {kMsgLButtonDblClk, kMkShift, {kGZMsgLButtonDblClk, 639, 0, kGZModShift | kGZModAlt}},
        {kMsgRButtonDblClk, 0, {kGZMsgRButtonDblClk, 639, 0, kGZModAlt}},
        {kMsgLButtonUp, 0, {kGZMsgLButtonUp, 639, 0, kGZModAlt}},
        {kMsgRButtonUp, 0, {kGZMsgRButtonUp, 639, 0, kGZModAlt}},
        {kMsgMouseMove, kMkLButton, {kGZMsgMouseMove, 639, 0, kGZModLButton | kGZModAlt}},
        {kMsgMouseWheel, 0, {kGZMsgMouseWheel, 639, 0, kGZModAlt}},
        // The non-client move keeps the host's screen position.
        {kMsgNcMouseMove, 0, {kGZMsgNonClientMouseMove, 700, -20, kGZModAlt}},
        {kMsgPaint, 0, {0, 0, 0, 0}},
        {0x0900, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const intptr_t lParam = (c.message == kMsgChar || (c.message >= kMsgKeyDown && c.message <= kMsgSysKeyUp)) ? 1 : point;
        const cGZMessage m = cGZMainWindowW95::Convert(c.message, c.wParam, lParam, 640, 480, keyMods);
        EXPECT_EQ(m.type, c.expected.type);
        EXPECT_EQ(m.a, c.expected.a);
        EXPECT_EQ(m.b, c.expected.b);
        EXPECT_EQ(m.c, c.expected.c);
    }
}

TEST(MainWindowClipboard, InAndOut) {
    EXPECT_EQ(cGZMainWindowW95::ClipboardIn("a\r\nb\tc\x01\x1f" "d"), "a\nb    cd");
    EXPECT_EQ(cGZMainWindowW95::ClipboardOut("one\ntwo\n"), "one\r\ntwo\r\n");
    EXPECT_EQ(cGZMainWindowW95::ClipboardOut(""), "");
}

TEST_F(GraphicWorld, KeyWhileInactiveReachesNoWindow) {
    ASSERT_TRUE(Start());
    auto* w = new InputWin;
    w->SetArea(0, 0, 100, 100);
    Main().AddChild(w);
    mgr->SetFocus(w);
    w->messages.clear();
    Proc(kMsgActivateApp, 0);
    EXPECT_FALSE(GZIsAppActive());
    bool defaulted = false;
    Proc(kMsgKeyDown, 65, 1, &defaulted);
    EXPECT_TRUE(defaulted);
    EXPECT_TRUE(w->messages.empty());
    Proc(kMsgActivateApp, 1);
    Proc(kMsgKeyDown, 66, 1, &defaulted);
    EXPECT_FALSE(defaulted);
    ASSERT_EQ(w->messages.size(), 1u);
    EXPECT_EQ(w->messages[0].a, 66);
    EXPECT_EQ(app.activations, (std::vector<bool>{false, true}));
}

TEST_F(GraphicWorld, CapturedDragOutsideClampsToTheBorder) {
    ASSERT_TRUE(Start());
    auto* w = new InputWin;
    w->SetArea(0, 0, 640, 480);
    Main().AddChild(w);
    Proc(kMsgLButtonDown, kMkLButton, PackPoint(600, 400));
    mgr->SetCapture(w);
    Proc(kMsgMouseMove, kMkLButton, PackPoint(900, -40));
    Proc(kMsgLButtonUp, 0, PackPoint(900, 900));
    std::vector<cGZMessage> moves;
    for (const cGZMessage& m : w->messages)
        if (m.type == kGZMsgMouseMove || m.type == kGZMsgLButtonUp) moves.push_back(m);
    ASSERT_GE(moves.size(), 2u);
    EXPECT_EQ(moves.front().a, 639);
    EXPECT_EQ(moves.front().b, 0);
    EXPECT_EQ(moves.back().a, 639);
    EXPECT_EQ(moves.back().b, 479);
    EXPECT_EQ(Main().GetLastMouseX(), 639);
}

class ConsoleLine : public cGZWin {};

TEST_F(GraphicWorld, ConsoleLineCommands) {
    ASSERT_TRUE(Start());
    std::vector<std::string> ran;
    struct Ctx {
        std::vector<std::string>* ran;
    } ctx{&ran};
    cGZCheatCodeManager& cheats = *Main().GetCheatCodeManager();
    cheats.RegisterCheat(
        "hello",
        [](cCheatCommandLine&, void* c) -> bool {
            static_cast<Ctx*>(c)->ran->push_back("hello");
            return true;
        },
        &ctx, "");
    auto* console = new ConsoleLine;
    console->SetArea(0, 0, 300, 20);
    Main().SetConsoleEdit(console);
    EXPECT_FALSE(console->TestFlag(kGZWinVisible));
    // Shift+Ctrl+C opens it.
    Proc(kMsgKeyDown, kVkShift, 1);
    Proc(kMsgKeyDown, kVkControl, 1);
    Proc(kMsgKeyDown, 67, 1);
    EXPECT_TRUE(console->TestFlag(kGZWinVisible));
    EXPECT_EQ(mgr->GetFocus(), console);
    Proc(kMsgKeyUp, kVkShift, 1);
    Proc(kMsgKeyUp, kVkControl, 1);
    // An empty line closes without reaching the manager.
    const intptr_t source = reinterpret_cast<intptr_t>(console);
    EXPECT_FALSE(Main().OnCommand(23, source));
    EXPECT_TRUE(ran.empty());
    EXPECT_FALSE(console->TestFlag(kGZWinVisible));
    // A line from elsewhere is ignored; from the console it runs and closes.
    Main().ShowConsole(true);
    Main().SetConsoleText(cRZString("hello"));
    EXPECT_FALSE(Main().OnCommand(23, 12345));
    EXPECT_TRUE(console->TestFlag(kGZWinVisible));
    Main().OnCommand(23, source);
    EXPECT_EQ(ran.size(), 1u);
    EXPECT_FALSE(console->TestFlag(kGZWinVisible));
    EXPECT_TRUE(console->GetText().empty());
    // An unknown command keeps the line open; 24 closes it from any source.
    Main().ShowConsole(true);
    Main().SetConsoleText(cRZString("nosuchthing"));
    Main().OnCommand(23, source);
    EXPECT_TRUE(console->TestFlag(kGZWinVisible));
    Main().OnCommand(24, 0);
    EXPECT_FALSE(console->TestFlag(kGZWinVisible));
}

TEST_F(GraphicWorld, ActivationExchangesTheClipboard) {
    ASSERT_TRUE(Start());
    host->GetClipboard().SetText("line\r\n\tx\x07");
    Proc(kMsgActivateApp, 1);
    EXPECT_EQ(mgr->GetClipboardText(), "line\n    x");
    EXPECT_FALSE(mgr->IsClipboardOwned());
    mgr->SetClipboardText(cRZString("a\nb"), true);
    Proc(kMsgActivateApp, 0);
    EXPECT_EQ(host->GetClipboard().GetText().value_or(""), "a\r\nb");
}

TEST_F(GraphicWorld, OtherHostMessages) {
    ASSERT_TRUE(Start());
    bool defaulted = false;
    EXPECT_EQ(Proc(cGZMainWindowW95::kMsgEraseBackground), 1);
    EXPECT_EQ(Proc(cGZMainWindowW95::kMsgSetCursor), 1);
    EXPECT_EQ(Proc(cGZMainWindowW95::kMsgSysCommand, cGZMainWindowW95::kScScreenSave, 0, &defaulted), 0);
    EXPECT_FALSE(defaulted);
    Proc(cGZMainWindowW95::kMsgSysCommand, 0xF060, 0, &defaulted);
    EXPECT_TRUE(defaulted);
    Proc(kMsgClose);
    EXPECT_EQ(app.closes, 1);
    Proc(cGZMainWindowW95::kMsgAppFirst, 1, 2, &defaulted);
    EXPECT_FALSE(defaulted);
    app.handlePrivate = false;
    Proc(cGZMainWindowW95::kMsgAppSecond, 1, 2, &defaulted);
    EXPECT_TRUE(defaulted);
    EXPECT_EQ(app.privates, (std::vector<uint32_t>{0xC00, 0xC01}));
    Main().SetPassThrough(true);
    Proc(kMsgClose, 0, 0, &defaulted);
    EXPECT_TRUE(defaulted);
    EXPECT_EQ(app.closes, 1);
}

}  // namespace
}  // namespace tova_test
