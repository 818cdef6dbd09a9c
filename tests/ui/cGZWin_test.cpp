#include "WinTestHarness.h"

#include "framework/cGZFrameWork.h"

using tova_test::ProbeWin;
using tova_test::WinTest;

namespace {

class WindowTree : public WinTest {};

std::vector<cGZWin*> Order(cGZWin* parent) { return parent->GetChildren(); }

TEST_F(WindowTree, NewAndRaisedChildrenGoBehindTheStayOnTopBlock) {
    ProbeWin* top1 = Add(root, 0, 0, 10, 10);
    top1->SetFlag(kGZWinStayOnTop, true);
    ProbeWin* a = Add(root, 0, 0, 10, 10);
    ProbeWin* top2 = new ProbeWin;
    top2->SetFlag(kGZWinStayOnTop, true);
    ASSERT_TRUE(root->AddChild(top2));
    // A stay-on-top child added later still lands behind the existing block.
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{top1, top2, a}));
    ProbeWin* b = Add(root, 0, 0, 10, 10);
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{top1, top2, b, a}));
    EXPECT_TRUE(a->BringToFront());
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{top1, top2, a, b}));
    // Not reorderable: stays where it is.
    b->SetFlag(kGZWinReorderable, false);
    EXPECT_FALSE(b->BringToFront());
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{top1, top2, a, b}));
}

TEST_F(WindowTree, MoveChildToBottomAndAbove) {
    ProbeWin* a = Add(root, 0, 0, 10, 10);
    ProbeWin* b = Add(root, 0, 0, 10, 10);
    ProbeWin* c = Add(root, 0, 0, 10, 10);
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{c, b, a}));
    c->SetFlag(kGZWinReorderable, false);
    EXPECT_TRUE(root->MoveChildToBottom(c));  // no reorderable test
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{b, a, c}));
    EXPECT_FALSE(root->MoveChildAbove(c, b));  // c is not reorderable
    EXPECT_TRUE(root->MoveChildAbove(a, b));
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{a, b, c}));
    EXPECT_TRUE(root->MoveChildAbove(a, c));  // already above: nothing changes
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{a, b, c}));
    EXPECT_FALSE(root->MoveChildAbove(a, a));
    mgr->DestroyWin(b);
    EXPECT_FALSE(root->MoveChildAbove(a, b));  // dead sibling
    EXPECT_EQ(Order(root), (std::vector<cGZWin*>{a, c}));
}

TEST_F(WindowTree, FindWinAtFallsThroughATransparentPixelOfAPixelTestedWindow) {
    ProbeWin* under = Add(root, 10, 10, 60, 60);
    auto* over = Add<ProbeWin>(root, 20, 20, 40, 40);
    over->SetFlag(kGZWinColorKeyed, true);
    over->SetFlag(kGZWinPixelHitTest, true);
    over->SetOwnBuffer(true);  // filled with the transparent colour
    over->GetOwnBuffer()->FillRect4(GZScreenColor(1, 2, 3), 0, 0, 10, 20);
    EXPECT_EQ(root->FindWinAt(25, 25), over);    // left half painted
    EXPECT_EQ(root->FindWinAt(35, 25), under);   // right half transparent
    EXPECT_EQ(mgr->FindWinAt(5, 5), root);
    EXPECT_EQ(root->FindWinAt(700, 5), nullptr);
    over->SetFlag(kGZWinPixelHitTest, false);
    EXPECT_EQ(root->FindWinAt(35, 25), over);
    over->Hide();
    EXPECT_EQ(root->FindWinAt(25, 25), under);
}

TEST_F(WindowTree, HidingTheFocusWindowHandsTheFocusToItsParent) {
    ProbeWin* panel = Add(root, 0, 0, 100, 100);
    ProbeWin* field = Add(panel, 5, 5, 50, 20);
    field->Focus();
    ASSERT_EQ(mgr->GetFocus(), field);
    field->messages.clear();
    panel->messages.clear();
    field->Hide();
    EXPECT_EQ(mgr->GetFocus(), panel);
    EXPECT_EQ(field->CountOf(kGZMsgFocusLost), 1);
    EXPECT_EQ(panel->CountOf(kGZMsgFocusGained), 1);
    // A window that never takes the focus leaves it where it is.
    field->Show();
    field->SetFlag(kGZWinNoFocus, true);
    EXPECT_EQ(field->Focus(), panel);
    EXPECT_EQ(mgr->GetFocus(), panel);
}

TEST_F(WindowTree, AddChildRefusedByInitLeavesNoParent) {
    auto* child = new ProbeWin;
    child->failInit = true;
    EXPECT_FALSE(root->AddChild(child));
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_TRUE(root->GetChildren().empty());
    EXPECT_FALSE(root->AddChild(nullptr));
    mgr->DestroyWin(child);
}

TEST_F(WindowTree, FirstChildOfTheFocusWindowTakesTheFocusAndInheritsAlwaysRedraw) {
    root->SetAlwaysRedraw(true);
    ProbeWin* a = Add(root, 0, 0, 10, 10);
    EXPECT_EQ(mgr->GetFocus(), a);
    EXPECT_TRUE(a->TestFlag(kGZWinAlwaysRedraw));
    ProbeWin* b = Add(root, 0, 0, 10, 10);
    EXPECT_EQ(mgr->GetFocus(), a);
    EXPECT_TRUE(b->TestFlag(kGZWinAlwaysRedraw));
}

TEST_F(WindowTree, AreasBufferAreasAndLocalToGlobal) {
    ProbeWin* panel = Add(root, 100, 50, 300, 250);
    ProbeWin* inner = Add(panel, 10, 20, 60, 40);
    ProbeWin* leaf = Add(inner, 5, 5, 15, 15);
    EXPECT_EQ(leaf->GetScreenArea().left, 115);
    EXPECT_EQ(leaf->GetScreenArea().top, 75);
    int32_t x = 1, y = 2;
    leaf->LocalToGlobal(x, y);
    EXPECT_EQ(x, 116);
    EXPECT_EQ(y, 77);
    // Without own buffers everything draws into the root's buffer.
    EXPECT_EQ(leaf->GetDrawBuffer(), root->GetOwnBuffer());
    EXPECT_EQ(leaf->GetBufferArea().left, 115);
    // With one on the panel, the panel's subtree draws into it.
    panel->SetFlag(kGZWinWantsOwnBuffer, true);
    ASSERT_NE(panel->GetOwnBuffer(), nullptr);
    EXPECT_EQ(leaf->GetDrawBuffer(), panel->GetOwnBuffer());
    EXPECT_EQ(leaf->GetBufferArea().left, 15);
    EXPECT_EQ(leaf->GetBufferArea().top, 25);
    EXPECT_EQ(panel->GetTargetArea().left, 100);
    panel->SetArea(0, 0, 20, 30);  // resized: the buffer follows
    EXPECT_EQ(panel->GetOwnBuffer()->Width(), 20);
    panel->Hide();  // the buffer lives while the window is visible
    EXPECT_EQ(panel->GetOwnBuffer(), nullptr);
    EXPECT_EQ(leaf->GetDrawBuffer(), root->GetOwnBuffer());
}

TEST_F(WindowTree, DispatchDoubleClicksCtrlLettersAndForwarding) {
    ProbeWin* panel = Add(root, 100, 100, 300, 300);
    panel->consumes = false;
    auto* button = Add<ProbeWin>(panel, 10, 20, 50, 40);
    button->consumes = false;
    // A double click reaches the single-click handler, and unconsumed input
    // passes up with the point made relative to the parent.
    EXPECT_FALSE(button->DoMessage({kGZMsgLButtonDblClk, 3, 4, 0}));
    EXPECT_EQ(button->lastDown, std::make_pair(3, 4));
    EXPECT_EQ(panel->lastDown, std::make_pair(13, 24));

    struct Clip : ProbeWin {
        std::string log;
        bool OnCopy() override { return log += "copy ", true; }
        bool OnPaste() override { return log += "paste ", true; }
        bool OnChar(uint8_t ch) override { return log += std::string("char:") + char(ch) + " ", true; }
    };
    auto* edit = Add<Clip>(root, 0, 0, 10, 10);
    mgr->GetKeyboard().KeyDown(17);
    edit->DoMessage({kGZMsgChar, 'C' - 64, 0, 0});
    edit->DoMessage({kGZMsgChar, 'V' - 64, 0, 0});
    edit->DoMessage({kGZMsgChar, 'K' - 64, 0, 0});
    mgr->GetKeyboard().KeyUp(17);
    edit->DoMessage({kGZMsgChar, 'c', 0, 0});
    EXPECT_EQ(edit->log, "copy paste char:\x0b char:c ");
    EXPECT_TRUE(edit->DoMessage({kGZMsgTimer, 7, 0, 0}));
    EXPECT_FALSE(edit->DoMessage({22, 0, 0, 0}));
    // Ctrl handlers answer true at a window without a parent.
    EXPECT_TRUE(root->OnUndo());
}

TEST_F(WindowTree, DragMovesTheWindowUnderThePointerAndReleasesTheCapture) {
    ProbeWin* panel = Add(root, 100, 100, 200, 160);
    panel->SetFlag(kGZWinDraggable, true);
    EXPECT_TRUE(Route(kGZMsgLButtonDown, 110, 105));
    EXPECT_TRUE(panel->TestFlag(kGZWinDragging));
    EXPECT_EQ(mgr->GetCapture(), panel);
    Route(kGZMsgMouseMove, 150, 125);
    EXPECT_EQ(panel->GetArea().left, 140);
    EXPECT_EQ(panel->GetArea().top, 120);
    Route(kGZMsgLButtonUp, 150, 125);
    EXPECT_FALSE(panel->TestFlag(kGZWinDragging));
    EXPECT_EQ(mgr->GetCapture(), nullptr);
}

TEST_F(WindowTree, FitRectInsideAndCentring) {
    ProbeWin* w = Add(root, 0, 0, 100, 50);
    cRZRect r{-5, 10, 15, 20};
    EXPECT_TRUE(w->FitRectInside(r, 2));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.right, 22);
    cRZRect wide{90, 45, 110, 55};
    w->FitRectInside(wide, 3);
    EXPECT_EQ(wide.right, 97);
    EXPECT_EQ(wide.bottom, 47);
    w->CenterInRect({0, 0, 201, 101});
    EXPECT_EQ(w->GetArea().left, 50);
    EXPECT_EQ(w->GetArea().top, 25);
    w->CenterOverRect({0, 0, 0, 0});
    EXPECT_EQ(w->GetArea().left, 50);
}

}  // namespace
