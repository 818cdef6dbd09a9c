#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "RecordingSounds.h"
#include "WinTestHarness.h"
#include "simulation/SoundPlayer.h"
#include "support/GoldenImage.h"
#include "ui/controls/cGZPieMenu.h"
#include "ui/controls/cGZWinBtn.h"

namespace {

using namespace tova_test;

// Items named "Aa" are 12 x 12 in the fake font, 18 x 18 with their padding.
class PieMenu : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        tova::SetSoundPlayer(&sounds);
        owner = Add(root, 0, 0, 10, 10);
        menu = new cGZPieMenu;
        menu->SetFont(&font);
        menu->SetOwner(owner);
        ASSERT_TRUE(root->AddChild(menu));
    }
    void TearDown() override {
        tova::SetSoundPlayer(nullptr);
        WinTest::TearDown();
    }
    void AddItems(int n) {
        for (int i = 0; i < n; ++i) menu->AddItem("Aa", nullptr);
    }
    // An item's corner relative to the centre.
    std::pair<int32_t, int32_t> Corner(int32_t index) const {
        const cGZPieMenu::Item& item = menu->GetItems()[static_cast<size_t>(index)];
        return {item.x - menu->GetCentreOffsetX(), item.y - menu->GetCentreOffsetY()};
    }
    int Reports(intptr_t code, intptr_t b) const {
        int n = 0;
        for (const cGZMessage& m : owner->messages) n += m.type == kGZMsgCommand && m.a == code && m.b == b;
        return n;
    }
    intptr_t Self() const { return reinterpret_cast<intptr_t>(menu); }

    RecordingSounds sounds;
    FakeFont font;
    ProbeWin* owner = nullptr;
    cGZPieMenu* menu = nullptr;
};

TEST_F(PieMenu, ThreeItemsStandUpRightAndDownAndTheLeftSlotStaysEmpty) {
    AddItems(3);
    menu->Layout();
    EXPECT_EQ(menu->GetSlots(), 4);
    EXPECT_EQ(Corner(0), std::make_pair(-9, -40 - 18));
    EXPECT_EQ(Corner(1), std::make_pair(40, -9));
    EXPECT_EQ(Corner(2), std::make_pair(-9, 40));
    EXPECT_FLOAT_EQ(menu->GetItems()[0].angle, static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(menu->GetItems()[1].angle, 0.0f);
    EXPECT_EQ(menu->ItemAtPoint(menu->GetCentreOffsetX() - 30, menu->GetCentreOffsetY()), -1);
    // The box around items, the margin around no picture, grown by 4.
    EXPECT_EQ(menu->GetCentreOffsetX(), 9 + 4);
    EXPECT_EQ(menu->GetCentreOffsetY(), 58 + 4);
    EXPECT_EQ(menu->GetDeadRadius(), 8);
}

TEST_F(PieMenu, EightPositionsThenItemsStackAboveAndBelow) {
    AddItems(11);
    menu->Layout();
    EXPECT_EQ(menu->GetSlots(), 8);
    const std::pair<int32_t, int32_t> expected[] = {
        {-9, -58}, {20, -38}, {40, -9}, {20, 20}, {-9, 40}, {-38, 20}, {-58, -9}, {-38, -38},
        {-9, -58 - 18},  // the ninth directly above the top item
        {-9, 40 + 18},   // the tenth directly under the bottom item
        {-9, -58 - 36},  // the eleventh above the ninth
    };
    for (int32_t i = 0; i < 11; ++i) EXPECT_EQ(Corner(i), expected[i]) << "item " << i;
}

TEST_F(PieMenu, ItemAtPoint) {
    AddItems(4);
    menu->SetItemVisible(3, false);
    menu->SetOuterRadius(45);
    menu->Layout();
    struct Case {
        int32_t dx, dy, item;
    };
    const Case cases[] = {
        {0, 0, -1},    // on the centre
        {0, -5, -1},   // within the dead radius
        {0, -30, 0},   {30, 0, 1},   {0, 30, 2},
        {-30, 0, -1},  // an invisible item's slot
        {0, -70, -1},  // beyond the outer radius
        {0, -50, 0},   // beyond it too, but on the item's own rectangle
        {50, 0, 1},
        {20, -22, 0},  {22, -20, 1},  // either side of the diagonal
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu->ItemAtPoint(menu->GetCentreOffsetX() + c.dx, menu->GetCentreOffsetY() + c.dy), c.item)
            << c.dx << ", " << c.dy;
    menu->ItemAtPoint(menu->GetCentreOffsetX(), menu->GetCentreOffsetY() - 5);
    EXPECT_FLOAT_EQ(menu->GetPointerAngle(), 0.0f);
    menu->ItemAtPoint(menu->GetCentreOffsetX() + 30, menu->GetCentreOffsetY());
    EXPECT_FLOAT_EQ(menu->GetPointerDistance(), 30.0f);
    EXPECT_NEAR(menu->GetPointerAngle(), M_PI / 2, 1e-5);
}

TEST_F(PieMenu, AReleaseOnTheCentreKeepsItOpenAndTheNextClickChooses) {
    AddItems(3);
    menu->Open(320, 240, false, true);
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_EQ(mgr->GetCapture(), menu);
    Route(kGZMsgLButtonUp, 320, 240);
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_TRUE(menu->IsReleaseMode());
    EXPECT_EQ(Reports(cGZPieMenu::kCodeChosen, Self()), 0);

    Route(kGZMsgMouseMove, 360, 240);
    EXPECT_EQ(menu->GetHighlight(), 1);
    Route(kGZMsgLButtonDown, 360, 240);
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(Reports(cGZPieMenu::kCodeChosen, Self()), 1);
    EXPECT_EQ(mgr->GetCapture(), nullptr);
    EXPECT_EQ(sounds.played,
              (std::vector<std::string>{"UI_piemenu_appear", "UI_piemenu_highlight", "UI_piemenu_select"}));
    EXPECT_GE(Reports(cGZPieMenu::kCodePointer, Self()), 3);
}

TEST_F(PieMenu, OpeningNearTheEdgeMovesItInsideAndTheCursorToTheNewCentre) {
    AddItems(3);
    menu->Open(5, 5, false, true);
    EXPECT_EQ(menu->GetLeft(), 0);
    EXPECT_EQ(menu->GetTop(), 0);
    EXPECT_EQ(menu->GetCentreX(), 13);
    EXPECT_EQ(menu->GetCentreY(), 62);
    int32_t x = 0, y = 0;
    host->CursorPosition(x, y);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 62);
    // A release right after counts as one on the centre: the menu stays.
    Route(kGZMsgLButtonUp, 200, 200);
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_TRUE(menu->IsReleaseMode());
    menu->Close();
}

TEST_F(PieMenu, KeysAndCharactersAreReported) {
    AddItems(3);
    menu->Open(320, 240, true, true);
    menu->OnChar('x');
    menu->OnKeyDown(37, 0);
    EXPECT_EQ(Reports(cGZPieMenu::kCodeChar, 'x'), 1);
    EXPECT_EQ(Reports(cGZPieMenu::kCodeKey, 37), 1);
    EXPECT_TRUE(menu->IsOpen());
    menu->OnKeyDown(27, 0);
    EXPECT_EQ(Reports(cGZPieMenu::kCodeCancelled, 27), 1);
    EXPECT_EQ(menu->GetHighlight(), -1);
    EXPECT_FALSE(menu->IsOpen());
}

TEST_F(PieMenu, AModalRunEndsWithTheChosenItem) {
    auto* button = new cGZWinBtn;
    button->SetArea(0, 0, 30, 20);
    AddItems(2);
    menu->AddItem("button", button);
    EXPECT_EQ(button->mnToggleKind, 3);
    int frame = 0;
    screen->afterFrame = [&] {
        ++frame;
        if (frame == 2) Route(kGZMsgRButtonDown, 320, 240 + 50);  // press on the bottom item (the button)
        if (frame == 3) {
            EXPECT_EQ(button->GetState(), 1);
            EXPECT_EQ(button->GetParent(), root);
            Route(kGZMsgRButtonUp, 320, 240 + 50);
        }
    };
    const int32_t result = menu->ShowModal(320, 240, false, true);
    screen->afterFrame = nullptr;
    EXPECT_EQ(result, 2);
    EXPECT_EQ(button->GetState(), 0);
    EXPECT_EQ(button->GetParent(), nullptr);  // taken out of the root
    EXPECT_EQ(Reports(cGZPieMenu::kCodeChosen, Self()), 1);
    mgr->DestroyWin(button);
    mgr->DestroyWin(menu);  // the modal run took it out of the root
}

TEST_F(PieMenu, AHighlightedMenuMatchesTheGolden) {
    cGZBuffer* picture = GZCreateScreenBuffer(40, 40);
    picture->Clear(picture->MakeColor(255, 0, 255));
    picture->FillCircle(0, 0, 39, picture->MakeColor(200, 150, 90));
    picture->SetColorKey(picture->MakeColor(255, 0, 255));
    menu->SetCentrePicture(picture, true);
    menu->SetTitle(cRZString("Chair"));
    for (const char* name : {"Sit", "Move", "Sell", "Look", "Clean"}) menu->AddItem(name, nullptr);
    menu->Open(320, 240, true, true);
    Route(kGZMsgMouseMove, 320 + 50, 240);
    EXPECT_EQ(menu->GetHighlight(), 2);
    Frame();
    EXPECT_TRUE(MatchesGolden(Screen(), "ui/golden/pie_menu_highlighted.png"));
    menu->Close();
}

}  // namespace
