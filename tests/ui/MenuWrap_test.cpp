// Developer menus: item texts with option lists, columns of 30, sub-menus
// from string tables and menu resources, menu bars, finding, destroying, and
// tracking through a recording pop-up host.
#include "simulation/MenuWrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resfile/MemResFile.h"
#include "resfile/StringSet.h"

namespace {

// A string table stored under `type` (the STR# layout) with a label.
void AddTable(MemResFile& file, ResType type, ResId id, const std::vector<std::string>& strings,
              const std::string& label = "") {
    MemResFile scratch;
    StringSet set;
    for (const std::string& s : strings) set.SetString(set.GetCount() + 1, s.c_str());
    ASSERT_EQ(set.SaveTo(&scratch, id), 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(scratch.GetStored(TypeCode("STR#"), id, bytes));
    file.AddStored(type, id, bytes.data(), static_cast<int32_t>(bytes.size()), label);
}

std::vector<uint8_t> MenuResource(const std::string& title, const std::vector<std::pair<std::string, uint8_t>>& items) {
    std::vector<uint8_t> bytes(14, 0);
    bytes.push_back(static_cast<uint8_t>(title.size()));
    bytes.insert(bytes.end(), title.begin(), title.end());
    for (const auto& [name, submenu] : items) {
        bytes.push_back(static_cast<uint8_t>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.insert(bytes.end(), {0, static_cast<uint8_t>(submenu ? 27 : 0), submenu, 0});
    }
    bytes.push_back(0);
    return bytes;
}

class RecordingHost : public PopupMenuHost {
public:
    int32_t TrackPopup(const MenuWrap& menu, int32_t x, int32_t y) override {
        calls.push_back(menu.Title() + " " + std::to_string(x) + "," + std::to_string(y));
        return answer;
    }
    int32_t answer = 0;
    std::vector<std::string> calls;
};

TEST(MenuWrap, ItemTextsAndTheirOptions) {
    MenuWrap menu;
    menu.Init(nullptr, MenuWrap::kPopupType, 300, "Debug");
    for (const char* text : {"[[itemnum=40]]Open", "-", "Close", "[[break=1]]gap", "[[ITEMNUM=0]]Zero",
                             "[x] ]y[", "[[title=\"Tools Menu\"]]", "[[unclosed"})
        menu.AddItemText(text);
    ASSERT_EQ(menu.ItemCount(), 7);
    const auto& items = menu.Items();
    EXPECT_EQ(items[0].label, "Open");
    EXPECT_EQ(items[0].command, 40);
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].command, 3) << "the item count + 1";
    EXPECT_FALSE(items[2].separator);
    EXPECT_TRUE(items[3].separator);
    EXPECT_EQ(items[4].command, 5) << "itemnum 0 keeps the default";
    EXPECT_EQ(items[5].label, "[x] ]y[");
    EXPECT_EQ(items[6].label, "[[unclosed");
    EXPECT_EQ(menu.Title(), "Tools Menu") << "a quoted value keeps its case";
    EXPECT_EQ(MenuWrap::Find(MenuWrap::kPopupType, 300), &menu);
    EXPECT_EQ(MenuWrap::Find(MenuWrap::kBarType, 300), nullptr);
}

TEST(MenuWrap, EveryThirtiethItemStartsAColumn) {
    MenuWrap menu;
    for (int i = 1; i <= 61; ++i) menu.AddItemText("item " + std::to_string(i));
    const auto& items = menu.Items();
    for (int i = 0; i < 61; ++i) EXPECT_EQ(items[static_cast<size_t>(i)].columnBreak, i == 30 || i == 60) << i + 1;
}

TEST(MenuWrap, StringTablesDescribeMenusAndSubMenus) {
    MemResFile file;
    AddTable(file, TypeCode("MSTR"), 128, {"[[itemnum=40]]Open", "[[submenu=129]]More", "-", "Quit"}, "File");
    AddTable(file, TypeCode("MSTR"), 129, {"Deeper", "[[submenu=128]]Loop"});
    const size_t before = MenuWrap::ListedCount();
    {
        auto* menu = new MenuWrap;
        menu->Init(&file, MenuWrap::kPopupType, 128, "");
        EXPECT_EQ(menu->Title(), "File");
        ASSERT_EQ(menu->ItemCount(), 4);
        MenuWrap* more = menu->Items()[1].submenu;
        ASSERT_NE(more, nullptr);
        EXPECT_EQ(more->Title(), "More");
        EXPECT_EQ(more->Parent(), menu);
        EXPECT_EQ(MenuWrap::Find(MenuWrap::kPopupType, 129), more);
        EXPECT_EQ(more->ItemCount(), 1) << "a menu never holds its own ancestor";
        EXPECT_EQ(MenuWrap::ListedCount(), before + 2);
        delete menu;
    }
    EXPECT_EQ(MenuWrap::ListedCount(), before) << "children go with their parent";
}

TEST(MenuWrap, MenuResourcesAndBars) {
    MemResFile file;
    const auto edit = MenuResource("Edit", {{"Cut", 0}, {"[[itemnum=9]]Paste", 0}, {"Extras", 7}});
    file.AddStored(MenuWrap::kPopupType, 6, edit.data(), static_cast<int32_t>(edit.size()));
    AddTable(file, TypeCode("MSTR"), 7, {"One", "Two"});
    const uint8_t bar[] = {0, 2, 0, 6, 0, 7};
    file.AddStored(MenuWrap::kBarType, 5, bar, sizeof bar);
    MenuWrap popup;
    popup.Init(&file, MenuWrap::kPopupType, 6, "");
    EXPECT_EQ(popup.Title(), "Edit");
    ASSERT_EQ(popup.ItemCount(), 3);
    EXPECT_EQ(popup.Items()[1].command, 9);
    ASSERT_NE(popup.Items()[2].submenu, nullptr);
    EXPECT_EQ(popup.Items()[2].submenu->ItemCount(), 2);

    MenuWrap menuBar;
    menuBar.Init(&file, MenuWrap::kBarType, 5, "");
    ASSERT_EQ(menuBar.ItemCount(), 2);
    EXPECT_NE(menuBar.Items()[0].submenu, &popup) << "a bar always loads new pop-ups";
    EXPECT_EQ(menuBar.Items()[0].label, "Edit");
    EXPECT_EQ(menuBar.Items()[1].submenu->ItemCount(), 2);

    const std::vector<uint8_t> truncated(edit.begin(), edit.begin() + 30);
    file.AddStored(MenuWrap::kPopupType, 8, truncated.data(), static_cast<int32_t>(truncated.size()));
    MenuWrap cut;
    cut.Init(&file, MenuWrap::kPopupType, 8, "");
    EXPECT_EQ(cut.ItemCount(), 1) << "an item running past the end is not read";
}

TEST(MenuWrap, TrackAsksThePopupHost) {
    MenuWrap menu;
    menu.Init(nullptr, MenuWrap::kPopupType, 44, "Track");
    EXPECT_EQ(menu.Track(0x00100020), std::make_pair(0, 0)) << "no host";
    RecordingHost host;
    SetPopupMenuHost(&host);
    host.answer = 12;
    EXPECT_EQ(menu.Track(0x00100020), std::make_pair(44, 12));
    host.answer = 0;
    EXPECT_EQ(menu.Track(0x00050007), std::make_pair(0, 0));
    SetPopupMenuHost(nullptr);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Track 16,32", "Track 5,7"})) << "x in the high half";
}

}  // namespace
