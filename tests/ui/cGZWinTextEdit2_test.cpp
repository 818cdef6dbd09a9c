#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingSounds.h"
#include "WinTestHarness.h"
#include "simulation/SoundPlayer.h"
#include "support/GoldenImage.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinTextEdit2.h"

namespace {

using namespace tova_test;

// A double-byte font whose language also has lone lead bytes (0xA0).
class LoneLeadFont : public FakeFont {
public:
    LoneLeadFont() : FakeFont(true) {}
    bool IsLeadByte(uint8_t ch) const override { return ch == 0xA0 || FakeFont::IsLeadByte(ch); }
    bool IsMissingLeadByte(uint8_t ch) const override { return ch == 0xA0; }
};

class TextEdit : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        tova::SetSoundPlayer(&sounds);
        owner = Add(root, 50, 50, 600, 400);
    }
    void TearDown() override {
        tova::SetSoundPlayer(nullptr);
        WinTest::TearDown();
    }
    // A field of `lines` lines of the fake font, 200 wide.
    cGZWinTextEdit2* Make(int32_t lines, int32_t lineMode, cIGZFont* withFont = nullptr) {
        auto* edit = new cGZWinTextEdit2;
        edit->SetFont(withFont ? withFont : &font);
        edit->SetLineMode(lineMode);
        edit->SetMaxLength(255);
        edit->SetArea(10, 10, 210, 10 + 12 * lines);
        EXPECT_TRUE(owner->AddChild(edit));
        mgr->SetFocus(edit);
        return edit;
    }
    void Type(cGZWinTextEdit2* edit, const std::string& text) {
        for (char c : text) edit->OnChar(static_cast<uint8_t>(c));
    }
    int Changes() {
        Frame();
        int n = 0;
        for (const cGZMessage& m : owner->messages) n += m.type == kGZMsgCommand && m.a == cGZWinTextEdit2::kCodeChanged;
        return n;
    }
    RecordingSounds sounds;
    FakeFont font;
    ProbeWin* owner = nullptr;
};

TEST_F(TextEdit, TheKeyTableWithAndWithoutCtrlAndShift) {
    cGZWinTextEdit2* edit = Make(3, 0);
    edit->SetText("one two\nthree four\nfive", false, true);
    ASSERT_EQ(edit->GetLines().size(), 3u);
    struct Case {
        uint32_t key, modifiers;
        int32_t caret, selStart, selEnd;
    };
    const uint32_t shift = kGZModShift, ctrl = kGZModCtrl;
    const Case cases[] = {
        {39, 0, 1, 1, 1},            // right
        {39, ctrl, 3, 3, 3},         // word right
        {39, ctrl, 7, 7, 7},         // to the end of "two"
        {35, 0, 7, 7, 7},            // end of the line, before its break
        {40, 0, 15, 15, 15},         // down, same column
        {36, 0, 8, 8, 8},            // home of the line
        {39, shift, 9, 8, 9},        // extend one character
        {39, ctrl | shift, 13, 8, 13},
        {37, shift, 12, 8, 12},      // shrink from the caret's side
        {37, ctrl, 8, 8, 8},         // word left, selection gone
        {35, ctrl, 23, 23, 23},      // end of text
        {38, 0, 12, 12, 12},         // up keeps the column
        {36, ctrl | shift, 0, 0, 12},
        {34, 0, 19, 19, 19},         // a page of three lines: to the last line
        {33, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        edit->OnKeyDown(c.key, c.modifiers);
        EXPECT_EQ(edit->GetCaret(), c.caret) << "key " << c.key << " mods " << c.modifiers;
        EXPECT_EQ(edit->GetSelectionStart(), c.selStart) << "key " << c.key;
        EXPECT_EQ(edit->GetSelectionEnd(), c.selEnd) << "key " << c.key;
    }
    edit->OnKeyDown(45, 0);
    EXPECT_EQ(edit->GetEditMode(), cGZWinTextEdit2::kOverwrite);
    Type(edit, "O");
    EXPECT_EQ(edit->GetBytes().substr(0, 3), "One");
    edit->OnKeyDown(46, 0);
    EXPECT_EQ(edit->GetBytes().substr(0, 3), "Oe ");
    edit->OnKeyDown(8, 0);
    EXPECT_EQ(edit->GetBytes().substr(0, 3), "e t");
    Frame();
    owner->messages.clear();
    edit->OnKeyDown(9, 0);
    edit->OnKeyDown(27, 0);
    Frame();
    EXPECT_EQ(owner->CountOf(kGZMsgCommand), 2);
    EXPECT_EQ(owner->messages[0].a, cGZWinTextEdit2::kCodeTab);
    EXPECT_EQ(owner->messages[1].a, cGZWinTextEdit2::kCodeEscape);
}

TEST_F(TextEdit, MaximumLengthZeroRefusesTypingWithTheErrorSound) {
    cGZWinTextEdit2* edit = Make(1, 1);
    edit->SetMaxLength(0);
    Type(edit, "a");
    EXPECT_EQ(edit->GetBytes(), "");
    EXPECT_EQ(sounds.played, std::vector<std::string>{"UI_Error"});
    edit->SetMaxLength(3);
    Type(edit, "abcd");
    EXPECT_EQ(edit->GetBytes(), "abc");
    EXPECT_EQ(sounds.played.size(), 2u);
}

TEST_F(TextEdit, LettersSnapshotAfter2999MsOrOnAnEmptyStackASpaceAlways) {
    cGZWinTextEdit2* edit = Make(1, 1);
    Type(edit, "ab");
    EXPECT_EQ(edit->GetUndoDepth(), 1u);  // the empty stack took the first
    Advance(2999);
    Type(edit, "c");
    EXPECT_EQ(edit->GetUndoDepth(), 1u);
    Advance(1);
    Type(edit, "d");  // 3000 ms since the last snapshot
    EXPECT_EQ(edit->GetUndoDepth(), 2u);
    Type(edit, "e");
    EXPECT_EQ(edit->GetUndoDepth(), 2u);
    Type(edit, " ");
    EXPECT_EQ(edit->GetUndoDepth(), 3u);
}

TEST_F(TextEdit, UndoAndRedoRestoreTextCaretAndSelection) {
    cGZWinTextEdit2* edit = Make(1, 1);
    Type(edit, "hello world");
    edit->SetSelection(0, 5);
    Type(edit, "J");  // replaces the selection: a snapshot with it
    EXPECT_EQ(edit->GetBytes(), "J world");
    edit->OnUndo();
    EXPECT_EQ(edit->GetBytes(), "hello world");
    EXPECT_EQ(edit->GetCaret(), 5);
    EXPECT_EQ(edit->GetSelectionStart(), 0);
    EXPECT_EQ(edit->GetSelectionEnd(), 5);
    edit->OnRedo();
    EXPECT_EQ(edit->GetBytes(), "J world");
    EXPECT_EQ(edit->GetCaret(), 1);
    EXPECT_EQ(edit->GetRedoDepth(), 0u);
}

TEST_F(TextEdit, ClipboardAndPastingIntoOneLineStripsBreaks) {
    cGZWinTextEdit2* edit = Make(1, 1);
    mgr->SetClipboardText(cRZString("two\nlines\r\n"), false);
    edit->OnPaste();
    EXPECT_EQ(edit->GetBytes(), "twolines");
    edit->SetSelection(0, 3);
    edit->OnCut();
    EXPECT_EQ(edit->GetBytes(), "lines");
    EXPECT_STREQ(mgr->GetClipboardText().c_str(), "two");
    EXPECT_TRUE(mgr->IsClipboardOwned());
    cGZWinTextEdit2* area = Make(3, 0);
    mgr->SetClipboardText(cRZString("a\nb"), false);
    area->OnPaste();
    EXPECT_EQ(area->GetBytes(), "a\nb");
}

TEST_F(TextEdit, ReadOnlyDrawsNoCaretAndSendsNoChange) {
    cGZWinTextEdit2* edit = Make(1, 1);
    edit->SetColors(edit->MakeColor(0, 0, 0), edit->MakeColor(255, 0, 0), edit->MakeColor(0, 0, 255));
    edit->SetShowCaret(false);
    Frame();
    EXPECT_EQ(Screen().At(60 + 5, 60 + 5)[0], 255);  // the caret at the start
    edit->SetEditMode(cGZWinTextEdit2::kReadOnly);
    const int before = Changes();
    edit->OnKeyDown(46, 0);
    edit->OnKeyDown(8, 0);
    Type(edit, "x");
    EXPECT_EQ(Changes(), before);
    EXPECT_EQ(Screen().At(60 + 5, 60 + 5)[0], 0);
}

TEST_F(TextEdit, TheFileNameFilterRefusesEachListedCharacter) {
    cGZWinTextEdit2* edit = Make(1, 1);
    edit->SetFileNameOnly(true);
    for (char c : std::string("\"%'()*/:<>?\\|")) Type(edit, std::string(1, c));
    EXPECT_EQ(edit->GetBytes(), "");
    EXPECT_EQ(sounds.played.size(), 13u);
    Type(edit, "ok_1.txt");
    EXPECT_EQ(edit->GetBytes(), "ok_1.txt");
}

TEST_F(TextEdit, DoubleByteCharactersAreGatheredAndALoneLeadByteBecomesADash) {
    LoneLeadFont dbcs;
    cGZWinTextEdit2* edit = Make(1, 1, &dbcs);
    edit->OnChar(0x82);
    EXPECT_EQ(edit->GetBytes(), "");
    edit->OnChar(0xA0 + 0x00);  // the second byte of 0x82
    EXPECT_EQ(edit->GetBytes(), "\x82\xA0");
    edit->OnChar(0xA0);  // lone: a dash, and the next message is dropped
    edit->OnChar('x');
    edit->OnChar('y');
    EXPECT_EQ(edit->GetBytes(), "\x82\xA0-y");
    edit->OnKeyDown(36, 0);
    edit->OnKeyDown(39, 0);
    EXPECT_EQ(edit->GetCaret(), 2);  // stepped over both bytes
    // Room for one byte refuses a double-byte character.
    edit->SetMaxLength(5);
    edit->OnChar(0x83);
    edit->OnChar(0x41);
    EXPECT_EQ(edit->GetLength(), 4);
}

TEST_F(TextEdit, AFieldTakesTextAndKeysBeforeItIsInATree) {
    cGZWinTextEdit2 loose;
    loose.SetMaxLength(10);
    loose.SetText(cRZString("abc"));
    loose.OnKeyDown(36, 0);
    loose.OnKeyDown(39, kGZModShift);
    EXPECT_EQ(loose.GetSelectionEnd(), 1);
    EXPECT_STREQ(loose.GetText().c_str(), "abc");
}

TEST_F(TextEdit, DoubleClickSelectsAWord) {
    cGZWinTextEdit2* edit = Make(1, 1);
    Type(edit, "alpha beta gamma");
    // "beta" spans bytes 6-10: x of byte 7 is 5 + 7 * 6 + 3.
    Route(kGZMsgLButtonDblClk, 60 + 5 + 7 * 6 + 3, 65);
    EXPECT_EQ(edit->GetSelectionStart(), 6);
    EXPECT_EQ(edit->GetSelectionEnd(), 10);
}

TEST_F(TextEdit, MouseDragSelects) {
    cGZWinTextEdit2* edit = Make(1, 1);
    Type(edit, "alpha beta");
    Route(kGZMsgLButtonDown, 60 + 5 + 1, 65);
    Route(kGZMsgMouseMove, 60 + 5 + 6 * 4 + 4, 65);
    Route(kGZMsgLButtonUp, 60 + 5 + 6 * 4 + 4, 65);
    EXPECT_EQ(edit->GetSelectionStart(), 0);
    EXPECT_EQ(edit->GetSelectionEnd(), 5);
    EXPECT_EQ(edit->GetCaret(), 5);
}

TEST_F(TextEdit, TheScrollBarAppearsWithTheFourthLine) {
    cGZWinTextEdit2* edit = Make(3, 0);
    Type(edit, "1\n2\n3");
    EXPECT_EQ(edit->GetScrollbar(), nullptr);
    Type(edit, "\n4");
    ASSERT_NE(edit->GetScrollbar(), nullptr);
    EXPECT_TRUE(edit->GetScrollbar()->TestFlag(kGZWinVisible));
    EXPECT_EQ(edit->GetScrollbar()->GetMax(), 1);
    EXPECT_EQ(edit->GetFirstVisibleLine(), 1);  // the caret's line is shown
    EXPECT_EQ(mgr->GetFocus(), edit);
    edit->OnKeyDown(8, 0);
    edit->OnKeyDown(8, 0);
    EXPECT_FALSE(edit->GetScrollbar()->TestFlag(kGZWinVisible));
}

TEST_F(TextEdit, AnEditWithSelectionAndCaretMatchesTheGolden) {
    cGZWinTextEdit2* edit = Make(3, 0);
    edit->SetColors(edit->MakeColor(20, 30, 40), edit->MakeColor(255, 255, 0), edit->MakeColor(120, 160, 200));
    Type(edit, "A field that wraps its words over the lines it has.");
    edit->SetSelection(13, 18);
    Frame();
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/text_edit_selection.png"));
}

}  // namespace
