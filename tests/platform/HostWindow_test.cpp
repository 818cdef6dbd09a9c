#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/CursorFile.h"
#include "platform/HostWindow.h"
#include "platform/WindowMessages.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace platform {
namespace {

std::vector<QueuedMessage> Drain(MessageQueue& queue) {
    std::vector<QueuedMessage> out;
    // Window-system chatter (paints, moves) may come between scripted events.
    while (auto m = queue.Peek(true))
        if (m->message != kMsgPaint && m->message != kMsgMove) out.push_back(*m);
    return out;
}

// The same script through either backend gives the same messages.
void ScriptedInputArrives(HostWindow& window) {
    auto queue = std::make_shared<MessageQueue>();
    window.Attach(queue);
    window.SimulateActivation(true);
    window.SimulateKey(kVkControl, true);
    window.SimulateKey('C', true);
    window.SimulateKey('C', false);
    window.SimulateKey(kVkControl, false);
    window.SimulateText("ok");
    window.SimulateMouseButton(1, true, 30, 40, 2);
    window.SimulateClose();
    EXPECT_TRUE(queue->HasInput());
    const std::vector<std::pair<uint32_t, intptr_t>> want = {
        {kMsgActivateApp, 1}, {kMsgKeyDown, kVkControl}, {kMsgKeyDown, 'C'}, {kMsgChar, 3},
        {kMsgKeyUp, 'C'},     {kMsgKeyUp, kVkControl},   {kMsgChar, 'o'},    {kMsgChar, 'k'},
        {kMsgLButtonDblClk, kMkLButton}, {kMsgClose, 0}};
    auto got = Drain(*queue);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].message, want[i].first) << i;
        EXPECT_EQ(got[i].wParam, want[i].second) << i;
    }
    window.Detach();
}

TEST(HostWindow, HeadlessScriptedInput) {
    auto window = HostWindow::CreateHeadless({"t", 320, 200, WindowFrame::Caption});
    ScriptedInputArrives(*window);
}

TEST(HostWindow, SdlScriptedInputCrossesTheRealTranslation) {
    std::string error;
    auto window = HostWindow::CreateSdl({"t", 320, 200, WindowFrame::Caption}, &error);
    if (!window) GTEST_SKIP() << "no SDL video: " << error;
    window->Pump();  // nothing attached yet: start-up events are dropped
    ScriptedInputArrives(*window);
}

// Long typed and composed texts arrive whole, in order, never with a
// character split, whichever backend carries them.
void LongTextArrivesWhole(HostWindow& window) {
    struct PageScope {
        explicit PageScope(int page) { SetCurrentCodePage(page); }
        ~PageScope() { SetCurrentCodePage(1252); }
    };
    auto queue = std::make_shared<MessageQueue>();
    window.Attach(queue);
    const auto chars = [&] {
        std::string bytes;
        for (const QueuedMessage& m : Drain(*queue)) {
            if (m.message == kMsgChar) bytes += static_cast<char>(m.wParam);
        }
        return bytes;
    };
    std::string letters;
    for (int i = 0; i < 100; ++i) letters += static_cast<char>('a' + i % 26);
    window.SimulateText(letters);
    EXPECT_EQ(chars(), letters);

    PageScope page(932);
    std::string kana;
    for (int i = 0; i < 30; ++i) kana += i % 2 ? "\xE6\x97\xA5" : "\xE3\x81\x82";  // two bytes each in 932
    window.SimulateText(kana);
    const std::string got = chars();
    EXPECT_EQ(got.size(), 60u);
    EXPECT_EQ(got, CurrentCodePage().FromUtf8(kana.c_str()));

    window.SimulateComposition(kana, 0, 1);
    Drain(*queue);
    EXPECT_EQ(window.GetTextInput().Text(), got);
    window.Detach();
}

TEST(HostWindow, HeadlessLongTextArrivesWhole) {
    auto window = HostWindow::CreateHeadless({"t", 320, 200, WindowFrame::Caption});
    LongTextArrivesWhole(*window);
}

TEST(HostWindow, SdlLongTextArrivesWhole) {
    std::string error;
    auto window = HostWindow::CreateSdl({"t", 320, 200, WindowFrame::Caption}, &error);
    if (!window) GTEST_SKIP() << "no SDL video: " << error;
    window->Pump();
    LongTextArrivesWhole(*window);
}

TEST(HostWindow, KeyStateAndWait) {
    auto window = HostWindow::CreateHeadless({});
    auto queue = std::make_shared<MessageQueue>();
    window->Attach(queue);
    window->SimulateKey(kVkShift, true);
    EXPECT_TRUE(window->IsKeyDown(kVkShift));
    window->SimulateKey(kVkCapital, true);
    window->SimulateKey(kVkCapital, false);
    EXPECT_TRUE(window->IsKeyToggled(kVkCapital));
    EXPECT_TRUE(queue->Wait(0));
    queue->RemoveInput();
    EXPECT_FALSE(queue->HasInput());
    EXPECT_FALSE(queue->Wait(1));
}

CursorImage Square(int size, uint32_t argb, int hot) {
    CursorImage image;
    image.width = image.height = size;
    image.hotX = image.hotY = hot;
    image.argb.assign(static_cast<size_t>(size) * size, argb);
    return image;
}

TEST(HostWindow, CursorsLoadSetAnimateAndHideIdempotently) {
    tova_test::TempFolder dir;
    AnimatedCursor spinner;
    spinner.frames = {Square(8, 0xFF0000FF, 1), Square(8, 0xFF00FF00, 1)};
    spinner.steps = {{0, 6}, {1, 12}};  // 100 ms, then 200 ms
    dir.Write("spin.ani", WriteAnimatedCursor(spinner));
    dir.Write("arrow.cur", WriteCursorFile(Square(16, 0xFFFFFFFF, 3)));

    auto window = HostWindow::CreateHeadless({});
    std::string error;
    const auto arrow = window->LoadCursorFile(dir / "arrow.cur", &error);
    ASSERT_NE(arrow, 0u) << error;
    const auto spin = window->LoadCursorFile(dir / "spin.ani", &error);
    ASSERT_NE(spin, 0u) << error;
    EXPECT_EQ(window->LoadCursorFile(dir / "missing.cur", &error), 0u);

    SetManualClock(true);
    window->SetCursor(spin);
    EXPECT_EQ(window->CurrentCursor(), spin);
    const uint32_t start = TimeMs();
    window->AnimateCursor(start + 99);
    EXPECT_EQ(window->CurrentCursorStep(), 0u);
    window->AnimateCursor(start + 100);
    EXPECT_EQ(window->CurrentCursorStep(), 1u);
    window->AnimateCursor(start + 299);
    EXPECT_EQ(window->CurrentCursorStep(), 1u);
    window->AnimateCursor(start + 300);
    EXPECT_EQ(window->CurrentCursorStep(), 0u);
    SetManualClock(false);

    window->DestroyCursor(spin);
    EXPECT_EQ(window->CurrentCursor(), 0u);
    window->SetCursor(12345);
    EXPECT_EQ(window->CurrentCursor(), 0u);

    window->ShowCursor(false);
    window->ShowCursor(false);
    EXPECT_FALSE(window->IsCursorShown());
    window->ShowCursor(true);
    EXPECT_TRUE(window->IsCursorShown());
}

TEST(HostWindow, SdlCursorsAndClipboard) {
    std::string error;
    auto window = HostWindow::CreateSdl({"t", 64, 64, WindowFrame::Popup}, &error);
    if (!window) GTEST_SKIP() << "no SDL video: " << error;
    AnimatedCursor cursor;
    cursor.frames = {Square(16, 0xFF112233, 2)};
    cursor.steps = {{0, 0}};
    const auto handle = window->CreateCursor(cursor);
    EXPECT_NE(handle, 0u);
    window->SetCursor(handle);
    window->ShowCursor(false);
    window->ShowCursor(true);
    window->DestroyCursor(handle);
    EXPECT_EQ(window->CurrentCursor(), 0u);
}

TEST(HostWindow, HeadlessClipboardKeepsCodePageText) {
    auto window = HostWindow::CreateHeadless({});
    EXPECT_FALSE(window->GetClipboard().GetText());
    EXPECT_TRUE(window->GetClipboard().SetText("caf\xE9"));
    EXPECT_EQ(window->GetClipboard().GetText(), std::optional<std::string>("caf\xE9"));
}

TEST(Clipboard, ConvertsBetweenCodePageAndUtf8) {
    Clipboard clipboard;
    std::string system;
    clipboard.writeUtf8 = [&](const std::string& utf8) {
        system = utf8;
        return true;
    };
    clipboard.readUtf8 = [&]() -> std::optional<std::string> { return system; };
    EXPECT_TRUE(clipboard.SetText("caf\xE9"));
    EXPECT_EQ(system, "caf\xC3\xA9");
    system = "\xE2\x82\xAC and \xE4\xB8\xAD";  // euro sign, a CJK character
    EXPECT_EQ(clipboard.GetText(), std::optional<std::string>("\x80 and ?"));
}

}  // namespace
}  // namespace platform
