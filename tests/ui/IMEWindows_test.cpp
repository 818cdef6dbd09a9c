#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestHarness.h"
#include "platform/CodePage.h"
#include "platform/TextInput.h"
#include "platform/WindowMessages.h"
#include "support/GoldenImage.h"
#include "ui/cGZWinIMECandidate.h"
#include "ui/cGZWinIMEComposition.h"

namespace {

using namespace tova_test;

class IMEWindows : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        composition = cGZWinIMEComposition::Create();
        candidate = cGZWinIMECandidate::Create();
        ASSERT_NE(composition, nullptr);
        ASSERT_NE(candidate, nullptr);
        composition->SetFont(&font);
        candidate->SetFont(&font);
        composition->SetArea(40, 300, 240, 316);
        candidate->SetArea(40, 40, 240, 240);
        root->AddChild(composition);
        root->AddChild(candidate);
        composition->Hide();
        candidate->Hide();
    }
    static cGZWinIMECandidate::CandidateList Numbers(int count, int32_t pageSize, int32_t selection) {
        cGZWinIMECandidate::CandidateList list;
        for (int i = 0; i < count; ++i) list.entries.push_back("word" + std::to_string(i));
        list.pageSize = pageSize;
        list.selection = selection;
        return list;
    }
    FakeFont font;
    cGZWinIMEComposition* composition = nullptr;
    cGZWinIMECandidate* candidate = nullptr;
};

TEST_F(IMEWindows, EachWindowExistsOnceThroughItsGlobalPointer) {
    EXPECT_EQ(GZGetIMEComposition(), composition);
    EXPECT_EQ(GZGetIMECandidate(), candidate);
    EXPECT_EQ(cGZWinIMEComposition::Create(), nullptr);
    EXPECT_EQ(cGZWinIMECandidate::Create(), nullptr);
    mgr->DestroyWin(composition);
    mgr->DestroyWin(candidate);
    EXPECT_EQ(GZGetIMEComposition(), nullptr);
    EXPECT_EQ(GZGetIMECandidate(), nullptr);
}

TEST_F(IMEWindows, ACompositionKeepsAtMost1023Bytes) {
    composition->SetComposition(std::string(1100, 'k'), std::vector<uint8_t>(1100, 1));
    EXPECT_EQ(composition->GetComposition().size(), 1023u);
    EXPECT_EQ(composition->GetAttributes().size(), 1023u);
    composition->SetComposition("ab", {0});  // fewer attributes than bytes
    EXPECT_EQ(composition->GetComposition(), "ab");
    Frame();  // draws the unattributed byte plainly
}

TEST_F(IMEWindows, TheHandlerShowsFillsAndHidesTheWindows) {
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeStartComposition, 0, 0));
    EXPECT_TRUE(composition->TestFlag(kGZWinVisible));
    EXPECT_EQ(composition->Width(), 200);
    EXPECT_EQ(composition->Height(), FakeFont::kLineHeight + 2 * composition->GetMarginY());
    EXPECT_EQ(root->GetChildren().front(), composition);

    host->SimulateComposition("kanji", 1, 2);
    const intptr_t both = platform::kGcsCompStr | platform::kGcsCompAttr;
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeComposition, 0, both));
    EXPECT_EQ(composition->GetComposition(), "kanji");
    EXPECT_EQ(composition->GetAttributes(), (std::vector<uint8_t>{0, 1, 1, 0, 0}));
    // With a result the message goes on, so the result arrives as characters.
    EXPECT_FALSE(GZImeHandleMessage(platform::kMsgImeComposition, 0, both | platform::kGcsResultStr));

    EXPECT_TRUE(GZImeHandleMessage(0x0282, 5, 0));  // the candidates changed
    EXPECT_TRUE(candidate->TestFlag(kGZWinVisible));
    EXPECT_TRUE(GZImeHandleMessage(0x0282, 4, 0));
    EXPECT_FALSE(candidate->TestFlag(kGZWinVisible));
    candidate->Show();
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeEndComposition, 0, 0));
    EXPECT_FALSE(composition->TestFlag(kGZWinVisible));
    EXPECT_FALSE(candidate->TestFlag(kGZWinVisible));
    EXPECT_TRUE(GZImeHandleMessage(0x0284, 0, 0));
    EXPECT_FALSE(GZImeHandleMessage(platform::kMsgKeyDown, 65, 0));

    // Without an input context the composition is not consumed.
    GZSetHostWindow(nullptr);
    EXPECT_FALSE(GZImeHandleMessage(platform::kMsgImeComposition, 0, both));
    GZSetHostWindow(host.get());
}

TEST_F(IMEWindows, TheCandidatePageFollowsTheSelectionAndAZeroPageSizePagesByTheCount) {
    struct Case {
        int count;
        int32_t pageSize;
        int32_t selection;
        int32_t pageStart;
    };
    for (const Case& c : {Case{25, 9, 21, 18}, Case{25, 9, 8, 0}, Case{25, 9, 9, 9}, Case{7, 0, 6, 0}, Case{0, 0, 0, 0}}) {
        candidate->SetCandidateList(Numbers(c.count, c.pageSize, c.selection));
        candidate->Show();
        Frame();
        EXPECT_EQ(candidate->GetPageStart(), c.pageStart) << c.count << " " << c.pageSize << " " << c.selection;
    }
}

TEST_F(IMEWindows, TheCompositionDrawsItsTargetClauseOnWhite) {
    composition->SetArea(40, 300, 240, 316);
    composition->Show();
    composition->SetComposition("nihongo desu", {0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0});
    Frame();
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/ime_composition.png"));
}

// The font is shared with the edit under the composition: drawing either
// window must leave its colour as the other controls set it.
TEST_F(IMEWindows, DrawingLeavesTheSharedFontsColour) {
    const uint32_t white = 0xFFFF;
    font.SetColor(white);
    composition->Show();
    composition->SetComposition("nihongo", {1, 1, 1, 1, 1, 1, 1});
    candidate->SetCandidateList(Numbers(3, 9, 1));
    candidate->Show();
    Frame();
    EXPECT_EQ(font.GetColor(), white);
}

TEST_F(IMEWindows, TheThirdPageOfCandidatesIsNumberedFromOneWithTheSelectionHighlighted) {
    candidate->SetCandidateList(Numbers(25, 9, 21));
    candidate->Show();
    Frame();
    EXPECT_EQ(candidate->GetPageStart(), 18);
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/ime_candidates.png"));
}

TEST_F(IMEWindows, ALongCompositionFromTheHostKeeps1023Bytes) {
    host->SimulateComposition(std::string(1100, 'k'), 0, 1);
    ASSERT_EQ(host->GetTextInput().Text().size(), 1100u);
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeComposition, 0, platform::kGcsCompStr | platform::kGcsCompAttr));
    EXPECT_EQ(composition->GetComposition(), std::string(1023, 'k'));
    EXPECT_EQ(composition->GetAttributes().size(), 1023u);
    EXPECT_EQ(composition->GetAttributes()[0], 1);
}

TEST_F(IMEWindows, TheCandidateWindowTakesTheListTheHostsInputMethodGives) {
    platform::TextInput& input = host->GetTextInput();
    std::vector<std::string> words;
    for (int i = 0; i < 25; ++i) words.push_back("w" + std::to_string(i));
    EXPECT_EQ(input.SetCandidates(words, 21, 0, 9), platform::TextInput::kCandidatesOpened);
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeNotify, platform::TextInput::kCandidatesOpened, 1));
    ASSERT_TRUE(candidate->HasCandidateList());
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeNotify, platform::TextInput::kCandidatesChanged, 1));
    EXPECT_TRUE(candidate->TestFlag(kGZWinVisible));
    Frame();
    EXPECT_EQ(candidate->GetPageStart(), 18);
    EXPECT_EQ(input.ClearCandidates(), platform::TextInput::kCandidatesClosed);
    EXPECT_TRUE(GZImeHandleMessage(platform::kMsgImeNotify, platform::TextInput::kCandidatesClosed, 1));
    EXPECT_FALSE(candidate->TestFlag(kGZWinVisible));
}

TEST_F(IMEWindows, WideModeTurnsTheSystemsCompositionDisplayOn) {
    EXPECT_FALSE(host->GetTextInput().ShowsSystemComposition());
    GZSetIMEWideMode(true);
    EXPECT_TRUE(GZGetIMEWideMode());
    EXPECT_TRUE(host->GetTextInput().ShowsSystemComposition());
    GZSetIMEWideMode(false);
    EXPECT_FALSE(host->GetTextInput().ShowsSystemComposition());
}

}  // namespace
