#include <gtest/gtest.h>

#include <vector>

#include "WinTestHarness.h"
#include "ui/controls/cGZObjectDialogRunner.h"
#include "ui/controls/cGZWinDlg.h"

namespace {

using namespace tova_test;

class FakeController : public cIGZObjectDialogController {
public:
    bool IsModal() const override { return modal; }
    bool AnswersAsClosed() const override { return closesAsFive; }
    int32_t GetMode() const override { return mode; }
    int32_t GetState() const override { return state; }
    void SetState(int32_t s) override {
        state = s;
        states.push_back(s);
    }
    void SetText(const cRZString& t) override { text = t.c_str(); }
    void LinkDialog(cGZWinDlg* d) override { linked = d; }
    bool WantsViewShown() const override { return showView; }
    bool WantsViewRefreshed() const override { return refreshView; }

    bool modal = true, closesAsFive = false, showView = false, refreshView = false;
    int32_t mode = 0, state = 0;
    std::vector<int32_t> states;
    std::string text;
    cGZWinDlg* linked = nullptr;
};

// Makes a dialog with a text field (child 999) and answers with a set value.
class FakeHost : public cIGZObjectDialogHost {
public:
    explicit FakeHost(cGZWin& root) : mRoot(root) {}
    cGZWinDlg* CreateObjectDialog(cIGZObjectDialogController&) override {
        made = new cGZWinDlg;
        made->SetArea(10, 20, 110, 80);
        mRoot.AddChild(made);
        auto* field = new cGZWin;
        field->SetId(cGZObjectDialogRunner::kTextFieldId);
        field->SetText(cRZString("typed"));
        made->AddChild(field);
        return made;
    }
    int32_t RunDialog(cGZWinDlg& dialog, bool modal) override {
        ran.push_back(modal);
        linkedWhileRunning = &dialog;
        return modal ? answer : 0;
    }
    void ShowAndFocusView() override { ++viewShown; }
    void RefreshView(const cRZRect& area) override { refreshed.push_back(area); }

    cGZWin& mRoot;
    cGZWinDlg* made = nullptr;
    cGZWinDlg* linkedWhileRunning = nullptr;
    int32_t answer = 3;
    std::vector<bool> ran;
    int viewShown = 0;
    std::vector<cRZRect> refreshed;
};

class ObjectDialogRunner : public WinTest {};

TEST_F(ObjectDialogRunner, AModalAnswerBecomesTheStateAndTheDialogGoesAtOnce) {
    struct Case {
        int32_t answer;
        bool closesAsFive;
        int32_t state;
    };
    for (const Case& c : {Case{3, false, 3}, Case{2, true, 5}, Case{4, false, 4}, Case{1, false, 1}}) {
        FakeHost host(*root);
        FakeController controller;
        controller.mode = 3;
        controller.showView = true;
        controller.closesAsFive = c.closesAsFive;
        host.answer = c.answer;
        cGZObjectDialogRunner runner(host);
        ASSERT_TRUE(runner.Run(controller));
        EXPECT_EQ(controller.states.front(), 1);  // shown while it ran
        EXPECT_EQ(controller.state, c.state) << "answer " << c.answer;
        EXPECT_EQ(controller.text, "typed");
        EXPECT_EQ(host.viewShown, 1);
        EXPECT_EQ(controller.linked, nullptr);
        EXPECT_FALSE(mgr->IsWin(host.made));
    }
}

TEST_F(ObjectDialogRunner, AModelessDialogStaysUntilClosedThenRefreshesTheView) {
    FakeHost host(*root);
    FakeController controller;
    controller.modal = false;
    controller.refreshView = true;
    cGZObjectDialogRunner runner(host);
    ASSERT_TRUE(runner.Run(controller));
    EXPECT_EQ(host.ran, std::vector<bool>{false});
    EXPECT_EQ(controller.state, 1);
    EXPECT_EQ(controller.linked, host.made);
    EXPECT_TRUE(mgr->IsWin(host.made));

    runner.Answer(controller, *host.made, 2);
    EXPECT_EQ(controller.state, 2);
    EXPECT_EQ(controller.linked, nullptr);  // a modeless answer unlinks
    cGZObjectDialogRunner::SettlePending(controller);
    EXPECT_EQ(controller.state, 5);

    controller.linked = host.made;
    runner.Close(controller, host.made);
    EXPECT_EQ(controller.state, 5);
    EXPECT_EQ(controller.linked, nullptr);
    ASSERT_EQ(host.refreshed.size(), 1u);
    EXPECT_EQ(host.refreshed[0].left, 10);
    EXPECT_EQ(host.refreshed[0].bottom, 80);
    EXPECT_FALSE(mgr->IsWin(host.made));
}

}  // namespace
