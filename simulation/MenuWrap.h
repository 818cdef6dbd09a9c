// Developer menus described by resources: a pop-up menu ('MENU') or a menu
// bar ('MBAR') read from the classic menu resources, or else from string
// tables whose entries describe items in text ('MSTR' for a pop-up menu, its
// label the title; 'MBST' for a bar, each entry a pop-up menu's id). An item
// text may begin with an option list: "[[itemnum=40 submenu=7]]Open".
// Every menu stays in one global list. Showing a pop-up menu belongs to the
// window framework, reached through PopupMenuHost.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"

class MenuWrap;

// What the window framework implements to show a pop-up menu: the command
// id the player chose (the framework also posts it to the main window as a
// command message), or 0.
class PopupMenuHost {
public:
    virtual ~PopupMenuHost() = default;
    virtual int32_t TrackPopup(const MenuWrap& menu, int32_t x, int32_t y) = 0;
};
void SetPopupMenuHost(PopupMenuHost* host);

class MenuWrap {
public:
    static constexpr ResType kPopupType = TypeCode("MENU");
    static constexpr ResType kBarType = TypeCode("MBAR");
    static constexpr int32_t kTitleLimit = 256;
    static constexpr int32_t kColumnItems = 30;

    struct Item {
        std::string label;
        int32_t command = 0;
        bool separator = false;
        bool columnBreak = false;  // starts a new column
        MenuWrap* submenu = nullptr;
    };

    // Empty title, a pop-up menu, the next free id, no file.
    MenuWrap();
    virtual ~MenuWrap();
    MenuWrap(const MenuWrap&) = delete;
    MenuWrap& operator=(const MenuWrap&) = delete;

    // Takes the kind, id and title, and with a file and an id loads the
    // items from the menu resource or, without one, from the string table.
    void Init(iResFile* file, ResType type, int32_t id, const std::string& title);
    // Adds one item described by its text.
    void AddItemText(const std::string& text);
    // Shows the pop-up at the point (x in the high 16 bits, y in the low):
    // (this menu's id, the command chosen) or (0, 0).
    virtual std::pair<int32_t, int32_t> Track(uint32_t point);

    static MenuWrap* Find(ResType type, int32_t id);
    static size_t ListedCount();

    int32_t Id() const { return mId; }
    ResType Type() const { return mType; }
    const std::string& Title() const { return mTitle; }
    MenuWrap* Parent() const { return mParent; }
    int32_t ItemCount() const { return static_cast<int32_t>(mItems.size()); }
    const std::vector<Item>& Items() const { return mItems; }

private:
    void SetTitle(const std::string& title);
    void AppendItem(Item item);
    void AppendSubmenu(int32_t id, const std::string& title, bool alwaysNew);
    bool LoadMenuResource();
    bool LoadBarResource();
    void LoadStringTable();

    MenuWrap* mParent = nullptr;
    int32_t mId;
    ResType mType = kPopupType;
    std::string mTitle;
    iResFile* mFile = nullptr;
    std::vector<Item> mItems;
};
