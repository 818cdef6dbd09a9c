#include "WinTestHarness.h"

#include "framework/cGZFrameWork.h"
#include "platform/MessageQueue.h"
#include "ui/cRZCursor.h"
#include "ui/cRZCursorManager.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

class WindowManager : public WinTest {
protected:
    platform::MessageQueue& Queue() { return *platform::MessageQueue::Current(); }
    // Ends the dialog's modal loop after the given number of frames.
    void EndAfterFrames(cGZWin* dialog, int frames, int32_t result) {
        const int end = screen->frames + frames;
        screen->afterFrame = [=, this] {
            if (screen->frames == end) mgr->PostWinMessage(kGZMsgEndModal, dialog, result);
        };
    }
};

TEST_F(WindowManager, CaptureTakesEveryMouseMessageInItsOwnCoordinates) {
    ProbeWin* a = Add(root, 0, 0, 100, 100);
    ProbeWin* b = Add(root, 200, 200, 300, 300);
    ASSERT_TRUE(mgr->SetCapture(a));
    EXPECT_FALSE(mgr->SetCapture(b));
    Route(kGZMsgLButtonDown, 250, 260);
    ASSERT_EQ(a->lbuttonDowns, 1);
    EXPECT_EQ(a->lastDown, std::make_pair(250, 260));
    EXPECT_EQ(b->lbuttonDowns, 0);
    EXPECT_EQ(mgr->GetFocus(), a);
    EXPECT_FALSE(mgr->ReleaseCapture(b));
    EXPECT_TRUE(mgr->ReleaseCapture(a));
    Route(kGZMsgLButtonDown, 250, 260);
    EXPECT_EQ(b->lastDown, std::make_pair(50, 60));
    EXPECT_EQ(root->GetChildren().front(), b);  // a press brings the window forward
}

TEST_F(WindowManager, KeysGoToTheFocusWindowAndNothingIsRoutedWhileInactive) {
    ProbeWin* a = Add(root, 0, 0, 100, 100);
    ProbeWin* b = Add(root, 200, 200, 300, 300);
    b->Focus();
    EXPECT_TRUE(Route(kGZMsgKeyDown, 65, 0));
    EXPECT_EQ(b->keys, std::vector<uint32_t>{65});
    EXPECT_TRUE(a->keys.empty());
    GZSetAppActive(false);
    EXPECT_FALSE(Route(kGZMsgKeyDown, 66, 0));
    EXPECT_FALSE(Route(kGZMsgLButtonDown, 50, 50));
    GZSetAppActive(true);
    EXPECT_EQ(b->keys.size(), 1u);
    EXPECT_EQ(a->lbuttonDowns, 0);
    mgr->SetFocus(nullptr);
    EXPECT_FALSE(Route(kGZMsgKeyDown, 67, 0));
}

TEST_F(WindowManager, EnterAndLeaveCarryTheOtherWindowAndLocalPoints) {
    ProbeWin* a = Add(root, 0, 0, 100, 100);
    ProbeWin* b = Add(root, 200, 200, 300, 300);
    Route(kGZMsgMouseMove, 10, 20);
    ASSERT_EQ(a->CountOf(kGZMsgMouseEnter), 1);
    Route(kGZMsgMouseMove, 12, 20);  // same window: nothing new
    EXPECT_EQ(a->CountOf(kGZMsgMouseEnter), 1);
    Route(kGZMsgMouseMove, 210, 230);
    ASSERT_EQ(a->CountOf(kGZMsgMouseLeave), 1);
    const cGZMessage* leave = nullptr;
    for (const cGZMessage& m : a->messages)
        if (m.type == kGZMsgMouseLeave) leave = &m;
    EXPECT_EQ(leave->a, 210);
    EXPECT_EQ(leave->c, reinterpret_cast<intptr_t>(b));
    const cGZMessage* enter = nullptr;
    for (const cGZMessage& m : b->messages)
        if (m.type == kGZMsgMouseEnter) enter = &m;
    ASSERT_NE(enter, nullptr);
    EXPECT_EQ(enter->a, 10);
    EXPECT_EQ(enter->b, 30);
    EXPECT_EQ(enter->c, reinterpret_cast<intptr_t>(a));
    EXPECT_EQ(mgr->GetMouseOver(), b);
}

TEST_F(WindowManager, ModalLoopRoutesOnlyToTheDialogAndStayOnTopWindows) {
    ProbeWin* behind = Add(root, 0, 0, 640, 480);
    ProbeWin* onTop = Add(root, 600, 0, 640, 40);
    onTop->SetFlag(kGZWinStayOnTop, true);
    root->MoveChildToTop(onTop);
    auto* dialog = new ProbeWin;
    dialog->SetArea(200, 150, 400, 300);
    std::vector<bool> results;
    const int start = screen->frames;
    screen->afterFrame = [&] {
        const int n = screen->frames - start;
        if (n == 1) {
            results.push_back(Route(kGZMsgLButtonDown, 10, 10));    // outside: dropped
            results.push_back(Route(kGZMsgLButtonDown, 610, 10));   // stay-on-top: reachable
            results.push_back(Route(kGZMsgLButtonDown, 250, 200));  // the dialog
            results.push_back(Route(kGZMsgKeyDown, 13, 0));         // keys: the focus, the dialog
        }
        if (n == 2) mgr->PostWinMessage(kGZMsgEndModal, dialog, 42);
    };
    EXPECT_EQ(mgr->DoModal(nullptr, dialog), 42);
    EXPECT_EQ(results, (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(behind->lbuttonDowns, 0);
    EXPECT_EQ(onTop->lbuttonDowns, 1);
    EXPECT_EQ(dialog->lbuttonDowns, 1);
    EXPECT_EQ(dialog->keys, std::vector<uint32_t>{13});
    EXPECT_FALSE(dialog->TestFlag(kGZWinModal));
    EXPECT_EQ(dialog->GetParent(), nullptr);  // taken out of the tree again
    EXPECT_EQ(mgr->GetModal(), nullptr);
    mgr->DestroyWin(dialog);
}

TEST_F(WindowManager, ModalLoopEndsOnlyForItsOwnEndMessageAndDispatchesTheRest) {
    auto* dialog = new ProbeWin;
    ProbeWin* other = Add(root, 0, 0, 10, 10);
    mgr->PostWinMessage(kGZMsgEndModal, other, 9);  // another window's: dropped
    Queue().Post(0x3E4, 0, 0);                      // dropped while the switch is on
    Queue().Post(0x500, 1, 2);                      // dispatched
    mgr->PostWinMessage(kGZMsgEndModal, dialog, 3);
    EXPECT_EQ(mgr->DoModal(root, dialog), 3);
    ASSERT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(dispatched[0].message, 0x500u);
    mgr->DestroyWin(dialog);
}

TEST_F(WindowManager, QuitInsideAModalLoopEndsItWithZeroAndReachesTheOuterLoop) {
    auto* dialog = new ProbeWin;
    Queue().PostQuit(7);
    EXPECT_EQ(mgr->DoModal(root, dialog), 0);
    std::optional<platform::QueuedMessage> next = Queue().Peek(true);
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->message, platform::kMsgQuit);
    EXPECT_EQ(next->wParam, 7);
    mgr->DestroyWin(dialog);
}

TEST_F(WindowManager, ARefusedDialogGivesMinusOne) {
    auto* dialog = new ProbeWin;
    dialog->failInit = true;
    EXPECT_EQ(mgr->DoModal(root, dialog), -1);
    EXPECT_EQ(mgr->GetModal(), nullptr);
    mgr->DestroyWin(dialog);
}

TEST_F(WindowManager, ModalLoopRestoresFocusAndGivesTheCaptureBack) {
    ProbeWin* field = Add(root, 0, 0, 50, 50);
    field->Focus();
    field->SetFlag(kGZWinRecaptureAfterModal, true);
    mgr->SetCapture(field);
    auto* dialog = new ProbeWin;
    EndAfterFrames(dialog, 1, 1);
    EXPECT_EQ(mgr->DoModal(root, dialog), 1);
    EXPECT_EQ(mgr->GetFocus(), field);
    EXPECT_EQ(mgr->GetCapture(), field);
    mgr->DestroyWin(dialog);
}

TEST_F(WindowManager, QueuedMessagesContinueAcrossNestedModalLoops) {
    ProbeWin* owner = Add(root, 0, 0, 50, 50);
    auto* dialog = new ProbeWin;
    int32_t modalResult = 0;
    std::vector<intptr_t> delivered;
    owner->onMessage = [&](const cGZMessage& m) {
        if (m.type != kGZMsgCommand) return;
        delivered.push_back(m.a);
        if (m.a == 1) modalResult = mgr->DoModal(root, dialog);
        if (m.a == 2) mgr->PostWinMessage(kGZMsgEndModal, dialog, 77);
    };
    mgr->QueueMessage(owner, kGZMsgCommand, 1, 0);
    mgr->QueueMessage(owner, kGZMsgCommand, 2, 0);
    Frame();
    // The second message was delivered by the nested loop's frame, once.
    EXPECT_EQ(delivered, (std::vector<intptr_t>{1, 2}));
    EXPECT_EQ(modalResult, 77);
    Frame();
    EXPECT_EQ(delivered.size(), 2u);
    mgr->DestroyWin(dialog);
}

TEST_F(WindowManager, QueuedMessagesWaitForTheNextFrameAndSkipDeadWindows) {
    ProbeWin* a = Add(root, 0, 0, 50, 50);
    ProbeWin* b = Add(root, 0, 0, 50, 50);
    a->onMessage = [&](const cGZMessage& m) {
        if (m.type == kGZMsgCommand && m.a == 1) mgr->QueueMessage(a, kGZMsgCommand, 2, 0);
    };
    mgr->QueueMessage(a, kGZMsgCommand, 1, 0);
    mgr->QueueMessage(b, kGZMsgCommand, 1, 0);
    mgr->DestroyWin(b);
    Frame();
    EXPECT_EQ(a->CountOf(kGZMsgCommand), 1);
    Frame();
    EXPECT_EQ(a->CountOf(kGZMsgCommand), 2);
}

TEST_F(WindowManager, TimerPassKillingOneBeforeTheCurrentNeitherRepeatsNorSkips) {
    ProbeWin* a = Add(root, 0, 0, 5, 5);
    ProbeWin* b = Add(root, 0, 0, 5, 5);
    ProbeWin* c = Add(root, 0, 0, 5, 5);
    mgr->SetTimer(a, 10, 1);
    mgr->SetTimer(b, 10, 2);
    mgr->SetTimer(c, 10, 3);
    std::vector<intptr_t> fired;
    for (ProbeWin* w : {a, b, c})
        w->onMessage = [&](const cGZMessage& m) {
            if (m.type != kGZMsgTimer) return;
            fired.push_back(m.a);
            if (m.a == 2) mgr->KillTimer(a);
        };
    Advance(10);
    Frame();
    EXPECT_EQ(fired, (std::vector<intptr_t>{1, 2, 3}));
    EXPECT_EQ(mgr->GetTimers().size(), 2u);
}

TEST_F(WindowManager, TimerKillingItsOwnDelaysTheNextByOneFrame) {
    ProbeWin* a = Add(root, 0, 0, 5, 5);
    ProbeWin* b = Add(root, 0, 0, 5, 5);
    ProbeWin* c = Add(root, 0, 0, 5, 5);
    ProbeWin* d = Add(root, 0, 0, 5, 5);
    mgr->SetTimer(a, 10, 1);
    mgr->SetTimer(b, 10, 2);
    mgr->SetTimer(c, 10, 3);
    mgr->SetTimer(d, 10, 4);
    std::vector<intptr_t> fired;
    for (ProbeWin* w : {a, b, c, d})
        w->onMessage = [&](const cGZMessage& m) {
            if (m.type != kGZMsgTimer) return;
            fired.push_back(m.a);
            if (m.a == 2) mgr->KillTimer(b);
        };
    Advance(10);
    Frame();
    EXPECT_EQ(fired, (std::vector<intptr_t>{1, 2, 4}));  // c was passed over...
    fired.clear();
    Frame();
    EXPECT_EQ(fired, (std::vector<intptr_t>{3}));  // ...and fires in the next frame
}

TEST_F(WindowManager, ADeadWindowsTimerStaysAndIsSkippedAndNeverReachesANewWindow) {
    ProbeWin* a = Add(root, 0, 0, 5, 5);
    mgr->SetTimer(a, 10, 1);
    mgr->QueueMessage(a, kGZMsgCommand, 5, 0);
    mgr->DestroyWin(a);
    // A new window, quite possibly at the dead one's address.
    ProbeWin* b = Add(root, 0, 0, 5, 5);
    Advance(10);
    Frame();
    EXPECT_EQ(b->CountOf(kGZMsgTimer), 0);
    EXPECT_EQ(b->CountOf(kGZMsgCommand), 0);
    EXPECT_EQ(mgr->GetTimers().size(), 1u);  // kept until killed
    EXPECT_FALSE(mgr->HasTimer(b));
    mgr->SetTimer(b, 10, 2);
    EXPECT_EQ(mgr->GetTimers().size(), 2u);
}

TEST_F(WindowManager, TimersSurviveTheClockWrapAndALateTimerFiresOncePerFrame) {
    platform::SetTimeMsOffsetForTest(0xFFFFFF00u - (platform::TimeMs()));
    ProbeWin* a = Add(root, 0, 0, 5, 5);
    mgr->SetTimer(a, 0x180, 1);  // due after the wrap
    Advance(0x100);
    Frame();
    EXPECT_EQ(a->CountOf(kGZMsgTimer), 0);
    Advance(0x80);
    Frame();
    EXPECT_EQ(a->CountOf(kGZMsgTimer), 1);
    Advance(0x180 * 3);
    Frame();
    EXPECT_EQ(a->CountOf(kGZMsgTimer), 2);
    mgr->KillTimer(a);
    EXPECT_TRUE(mgr->GetTimers().empty());
}

TEST_F(WindowManager, DestroyingAWindowHeldByOthersFreesItAtTheLastRelease) {
    struct Counted : ProbeWin {
        bool* gone;
        explicit Counted(bool* g) : gone(g) {}
        ~Counted() override { *gone = true; }
    };
    bool gone = false;
    auto* w = new Counted(&gone);
    w->SetArea(0, 0, 10, 10);
    root->AddChild(w);
    ProbeWin* child = Add(w, 0, 0, 5, 5);
    w->AddRef();               // someone keeps a reference
    mgr->SetAttachedWin(w);    // and the manager another
    ASSERT_TRUE(mgr->DestroyWin(w));
    EXPECT_FALSE(mgr->IsWin(w));
    EXPECT_FALSE(mgr->IsWin(child));  // its children went with it
    EXPECT_EQ(mgr->GetAttachedWin(), nullptr);
    EXPECT_TRUE(root->GetChildren().empty());
    EXPECT_FALSE(gone);
    EXPECT_FALSE(mgr->DestroyWin(w));  // dead: refused
    w->Release();
    EXPECT_TRUE(gone);
}

TEST_F(WindowManager, DestroyingTheTooltipWindowWhileTheManagerHoldsIt) {
    ProbeWin* tip = Add(root, 100, 100, 200, 200);
    tip->SetToolTipText(cRZString("hello"));
    Route(kGZMsgMouseMove, 150, 150);
    Advance(800);
    Frame();
    Advance(200);
    Frame();
    cGZWin* tooltip = mgr->GetCurrentToolTip();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_TRUE(mgr->DestroyWin(tooltip));
    EXPECT_EQ(mgr->GetCurrentToolTip(), nullptr);
    Frame();
    // The mouse-over window with its tooltip goes too; nothing is left dangling.
    mgr->DestroyWin(tip);
    Frame();
    Route(kGZMsgMouseMove, 20, 20);
    Frame();
}

TEST_F(WindowManager, PostedMessagesUseThePrivateNumbersWithTheWindow) {
    ProbeWin* w = Add(root, 0, 0, 5, 5);
    const std::pair<uint32_t, uint32_t> table[] = {{1, 0x600}, {2, 0x601}, {3, 0x500}, {5, 0x100}, {6, 0x101},
                                                   {7, 0x201}, {8, 0x204}, {11, 0x202}, {12, 0x205}, {13, 0x200},
                                                   {15, 0xA0}, {16, 0x700}, {17, 0x800}, {18, 0x801}, {19, 0x802},
                                                   {23, 0x900}, {4, 0}, {26, 0}};
    for (auto [type, number] : table) {
        EXPECT_TRUE(mgr->PostWinMessage(type, w, 33));
        auto m = Queue().Peek(true);
        ASSERT_TRUE(m.has_value());
        EXPECT_EQ(m->message, number) << type;
        EXPECT_EQ(m->wParam, reinterpret_cast<intptr_t>(w));
        EXPECT_EQ(m->lParam, 33);
    }
}

TEST_F(WindowManager, FlushInputDropsPendingInputButKeepsTheRest) {
    ProbeWin* w = Add(root, 0, 0, 5, 5);
    Queue().Post(0x100, 65, 0);
    Queue().Post(0x201, 0, 0);
    Queue().Post(0x500, 0, 0);
    mgr->QueueMessage(w, kGZMsgKeyDown, 65, 0);
    mgr->QueueMessage(w, kGZMsgMouseMove, 1, 1);
    mgr->QueueMessage(w, kGZMsgCommand, 1, 0);
    EXPECT_EQ(mgr->FlushInput(), 1u);
    auto m = Queue().Peek(true);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->message, 0x500u);
    EXPECT_FALSE(Queue().Peek(true).has_value());
}

TEST_F(WindowManager, OverrideCursorForcedAndUnforced) {
    auto* one = new cRZCursor("none.cur");
    auto* two = new cRZCursor("none.cur");
    mgr->SetOverrideCursor(one, true);
    mgr->SetOverrideCursor(two, false);  // a forced override holds
    EXPECT_EQ(mgr->GetOverrideCursor(), one);
    mgr->SetOverrideCursor(nullptr, true);
    EXPECT_EQ(mgr->GetOverrideCursor(), nullptr);
    EXPECT_FALSE(mgr->IsOverrideForced());
    mgr->SetOverrideCursor(two, false);
    ProbeWin* plain = Add(root, 0, 0, 5, 5);
    ProbeWin* marked = Add(root, 0, 0, 5, 5);
    marked->SetFlag(kGZWinShowsOverrideCursor, true);
    mgr->ApplyCursor(one, plain);
    EXPECT_EQ(mgr->GetCurrentCursor(), one);
    mgr->ApplyCursor(nullptr, marked);  // the override, not remembered as current
    EXPECT_EQ(mgr->GetCurrentCursor(), one);
    EXPECT_TRUE(mgr->IsCursorRefreshRequested());
    Frame();  // the refresh posts one synthetic mouse move
    EXPECT_FALSE(mgr->IsCursorRefreshRequested());
    auto m = Queue().Peek(true);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->message, 0x200u);
    mgr->SetOverrideCursor(nullptr, true);
    delete one;
    delete two;
}

TEST_F(WindowManager, TipsTextNamesTheStateAndTheFields) {
    const std::string text = mgr->GetTipsText();
    EXPECT_EQ(text.rfind("kTTWaitingDown\nnow = ", 0), 0u) << text;
    EXPECT_NE(text.find("\nmTTStartWaitingTime = 0\nmTTStartMotoringUpTime = 0\nmHadTip = 0\nmDrewTip = 0\n"),
              std::string::npos)
        << text;
}

TEST_F(WindowManager, RegistryBeforeStartupHoldsOneEarlyWindow) {
    cGZWinMgrW95 early;  // the newest manager is the global one
    auto* w = new cGZWin;
    EXPECT_TRUE(early.IsWin(w));
    auto* w2 = new cGZWin;
    EXPECT_FALSE(early.IsWin(w));  // only the last one counts
    EXPECT_TRUE(early.UnregisterWin(w2));
    EXPECT_FALSE(early.IsWin(w2));
    delete w;
    delete w2;
}

}  // namespace
