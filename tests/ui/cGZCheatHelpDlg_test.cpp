#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "WinTestHarness.h"
#include "framework/cGZCheatCodeManager.h"
#include "ui/controls/GZConsole.h"
#include "ui/controls/cGZCheatHelpDlg.h"
#include "ui/controls/cGZWinText.h"
#include "ui/controls/cGZWinTextEdit2.h"
#include "ui/controls/cGZWinTextList.h"
#include "ui/controls/cIGZWinCtrlMgr.h"

namespace {

using namespace tova_test;

bool Nothing(cCheatCommandLine&, void*) { return true; }

class ConsoleHelp : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        GetWinCtrlMgr()->Init();
        font.AddRef();
        GetWinCtrlMgr()->SetFont(cIGZWinCtrlMgr::kFontLabel, &font);
        cheats.RegisterCheat("alpha", &Nothing, nullptr, "alpha - the first");
        cheats.RegisterCheat("beta", &Nothing, nullptr, "beta N - the second");
        dialog = new cGZCheatHelpDlg(cheats);
        ASSERT_TRUE(root->AddChild(dialog));  // known to the manager; each modal run adds it again
        root->RemoveChild(dialog);
        view = std::make_unique<cGZCheatHelpView>(*dialog);
        cheats.SetHelpView(view.get());
    }
    void TearDown() override {
        cheats.SetHelpView(nullptr);
        mgr->DestroyWin(dialog);  // outside the tree between its modal runs
        WinTest::TearDown();
        GetWinCtrlMgr()->Shutdown();
    }
    // Runs a console line; `during` looks at the open help window, then
    // Enter closes it.
    void Run(const char* line, const std::function<void()>& during) {
        int frame = 0;
        screen->afterFrame = [&] {
            if (++frame == 2) {
                EXPECT_EQ(mgr->GetModal(), dialog);
                during();
                dialog->OnKeyDown(13, 0);
            }
        };
        cheats.ExecuteCheatLine(line);
        screen->afterFrame = nullptr;
        EXPECT_GE(frame, 2) << "the help window never ran";
    }
    FakeFont font;
    cGZCheatCodeManager cheats{false};
    cGZCheatHelpDlg* dialog = nullptr;
    std::unique_ptr<cGZCheatHelpView> view;
};

TEST_F(ConsoleHelp, HelpListsTheCommandsAndShowsTheSelectedOnesUsage) {
    Run("help", [&] {
        cGZWinTextList* list = dialog->GetList();
        ASSERT_EQ(list->GetCount(), 3);
        EXPECT_STREQ(list->GetItemText(0).c_str(), "alpha");
        EXPECT_STREQ(list->GetItemText(2).c_str(), "help");
        EXPECT_EQ(list->GetSelection(), 0);
        EXPECT_STREQ(dialog->GetUsage()->GetText().c_str(), "alpha - the first");
        dialog->OnKeyDown(40, 0);  // down the list
        EXPECT_STREQ(dialog->GetUsage()->GetText().c_str(), "beta N - the second");
    });
    Run("help bet", [&] {
        ASSERT_EQ(dialog->GetList()->GetCount(), 1);
        EXPECT_STREQ(dialog->GetList()->GetItemText(0).c_str(), "beta");
    });
    EXPECT_EQ(mgr->GetModal(), nullptr);
}

TEST_F(ConsoleHelp, TheConsoleLineIsOneLineOf255AndReportsEnter) {
    cGZWinTextEdit2* console = GZCreateConsoleEdit(640);
    auto* owner = Add(root, 0, 0, 640, 480);
    ASSERT_TRUE(owner->AddChild(console));
    const std::string tooLong(300, 'x');
    console->SetText(cRZString(tooLong.c_str()));
    EXPECT_EQ(console->GetLength(), 255);
    EXPECT_EQ(console->GetText().size(), 255u);  // the window text follows the field
    console->SetText(cRZString("help"));
    EXPECT_STREQ(console->GetText().c_str(), "help");
    console->OnChar('\r');
    Frame();
    int enters = 0;
    for (const cGZMessage& m : owner->messages) enters += m.a == cGZWinTextEdit2::kCodeEnter;
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(console->GetLines().size(), 1u);
}

}  // namespace
