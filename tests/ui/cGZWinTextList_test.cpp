#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestHarness.h"
#include "support/GoldenImage.h"
#include "ui/controls/cGZWinBtn.h"
#include "ui/controls/cGZWinScrollbar.h"
#include "ui/controls/cGZWinTextList.h"
#include "ui/controls/cIGZWinCtrlMgr.h"

namespace {

using namespace tova_test;

// A parent that also records the characters handed up to it.
class ListParent : public ProbeWin {
public:
    bool OnChar(uint8_t ch) override {
        chars.push_back(ch);
        return true;
    }
    std::vector<uint8_t> chars;
};

class TextList : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        parent = Add<ListParent>(root, 100, 100, 400, 400);
        list = new cGZWinTextList;
        list->SetFont(&font);  // items 12 + 3 high
        list->SetVisibleRows(5);
        list->SetArea(10, 10, 130, 20);
        ASSERT_TRUE(parent->AddChild(list));
    }
    void Fill(std::initializer_list<const char*> texts) {
        for (const char* t : texts) list->InsertItem(list->GetCount(), cRZString(t));
    }
    std::vector<intptr_t> Reports(intptr_t code) const {
        std::vector<intptr_t> found;
        for (const cGZMessage& m : parent->messages)
            if (m.type == kGZMsgCommand && m.a == code) found.push_back(m.b);
        return found;
    }
    FakeFont font;
    ListParent* parent = nullptr;
    cGZWinTextList* list = nullptr;
};

TEST_F(TextList, SizesToItsRowsAndShowsTheScrollBarOnlyWhenItemsDoNotFit) {
    EXPECT_EQ(list->GetItemHeight(), 15);
    EXPECT_EQ(list->Height(), 75);
    Fill({"a", "b", "c", "d", "e"});
    EXPECT_FALSE(list->GetScrollbar()->TestFlag(kGZWinVisible));
    Fill({"f", "g"});
    EXPECT_TRUE(list->GetScrollbar()->TestFlag(kGZWinVisible));
    EXPECT_EQ(list->GetScrollbar()->GetMax(), 2);
    EXPECT_EQ(list->GetScrollbar()->GetPageStep(), 5);
    EXPECT_EQ(list->GetItem(1)->GetArea().top, 15);
    EXPECT_STREQ(list->GetItemText(6).c_str(), "g");
    EXPECT_STREQ(list->GetItemText(7).c_str(), "");  // the list's own text

    // A list whose owner set no rows gets one.
    auto* bare = new cGZWinTextList;
    bare->SetFont(&font);
    ASSERT_TRUE(parent->AddChild(bare));
    EXPECT_EQ(bare->Height(), 15);
}

TEST_F(TextList, TypeToFindTakesTheLetterOrTheNearestBelow) {
    Fill({"apple", "kiwi", "lime"});
    struct Case {
        uint8_t ch;
        int32_t selection;
    };
    for (const Case& c : {Case{'m', 2}, Case{'A', 0}, Case{'k', 1}, Case{'z', 2}})
        EXPECT_EQ((list->OnChar(c.ch), list->GetSelection()), c.selection) << c.ch;
    EXPECT_TRUE(parent->chars.empty());
    list->OnChar('5');  // nothing below a digit: the parent's
    EXPECT_EQ(parent->chars, std::vector<uint8_t>{'5'});
    EXPECT_EQ(list->GetSelection(), 2);
}

TEST_F(TextList, KeysMoveTheSelection) {
    list->OnKeyDown(40, 0);  // an empty list: nothing
    EXPECT_EQ(list->GetSelection(), -1);
    Fill({"a", "b", "c", "d", "e", "f", "g", "h"});
    struct Case {
        uint32_t key;
        int32_t selection;
    };
    const Case cases[] = {{40, 0}, {40, 1}, {38, 0}, {38, 0}, {34, 5}, {34, 7}, {40, 7}, {33, 2}, {35, 7}, {36, 0}};
    for (const Case& c : cases) {
        list->OnKeyDown(c.key, 0);
        EXPECT_EQ(list->GetSelection(), c.selection) << "key " << c.key;
    }
    EXPECT_EQ(Reports(cGZWinTextList::kCodeSelection), (std::vector<intptr_t>{0, 1, 0, 5, 7, 2, 7, 0}));
}

TEST_F(TextList, RemovingTheSelectedItemReportsMinusOneBeforeItGoes) {
    Fill({"a", "b", "c"});
    list->SetSelection(1);
    std::vector<int32_t> countsAtReport;
    parent->onMessage = [&](const cGZMessage& m) {
        if (m.a == cGZWinTextList::kCodeSelection) countsAtReport.push_back(list->GetCount());
    };
    list->RemoveItem(1);
    parent->onMessage = nullptr;
    EXPECT_EQ(Reports(cGZWinTextList::kCodeSelection), (std::vector<intptr_t>{1, -1}));
    EXPECT_EQ(countsAtReport, std::vector<int32_t>{3});
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_STREQ(list->GetItemText(1).c_str(), "c");
    list->RemoveItem(5);  // ignored
    list->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(TextList, InsertingAboveTheSelectionKeepsTheSameButtonSelected) {
    Fill({"a", "b", "c"});
    list->SetSelection(2);
    cGZWinBtn* selected = list->GetItem(2);
    list->InsertItem(0, cRZString("first"));
    EXPECT_EQ(list->GetSelection(), 3);
    EXPECT_EQ(list->GetItem(3), selected);
    EXPECT_EQ(selected->GetState(), 1);
}

TEST_F(TextList, ClicksSelectAndDoubleClicksReportNine) {
    Fill({"a", "b", "c"});
    const cRZRect& area = list->GetItem(1)->GetScreenArea();
    Route(kGZMsgLButtonDown, area.left + 5, area.top + 5);
    Route(kGZMsgLButtonUp, area.left + 5, area.top + 5);
    Frame();  // the item's click is queued
    EXPECT_EQ(list->GetSelection(), 1);
    EXPECT_EQ(list->GetItem(1)->GetState(), 1);
    Route(kGZMsgLButtonDblClk, area.left + 5, area.top + 5);
    Frame();
    EXPECT_EQ(Reports(cGZWinTextList::kCodeDoubleClick), std::vector<intptr_t>{1});
}

TEST_F(TextList, SelectingBelowTheRowsScrollsSmoothlyOnTheFrameClock) {
    Fill({"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten", "eleven", "twelve"});
    list->SetFillColor(list->MakeColor(40, 40, 90));
    const cIGZWinCtrlMgr::CaptionColours before = GetWinCtrlMgr()->GetDefaultCaptionColours(4);
    GetWinCtrlMgr()->SetDefaultCaptionColours(4, {0xFFFF, list->MakeColor(255, 255, 0), 0xFFFF, 0xFFFF});
    Frame();
    list->SetSelection(11);
    // Seven rows at a speed factor of 10: 7 x 56/9 + 4 - 56/9 ms, 41 ms.
    EXPECT_TRUE(list->IsAnimating());
    EXPECT_EQ(list->GetScrollbar()->GetValue(), 7);
    Advance(20);
    Frame();
    EXPECT_TRUE(list->IsAnimating());
    EXPECT_GT(list->GetFirstVisible(), 0);
    EXPECT_LT(list->GetFirstVisible(), 7);
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/text_list_scrolling.png"));
    Advance(30);
    Frame();
    EXPECT_FALSE(list->IsAnimating());
    EXPECT_EQ(list->GetFirstVisible(), 7);
    EXPECT_EQ(list->GetPixelOffset(), 0);
    EXPECT_EQ(list->GetItem(7)->GetArea().top, 0);
    GetWinCtrlMgr()->SetDefaultCaptionColours(4, before);
}

}  // namespace
