#include "simulation/MenuWrap.h"

#include <algorithm>
#include <cstdlib>

#include "gamedata/KeyValueList.h"
#include "gamedata/StringScanner.h"
#include "resfile/MemHandle.h"
#include "resfile/ResLanguage.h"
#include "resfile/StringSet.h"

namespace {

std::vector<MenuWrap*>& Menus() {
    static std::vector<MenuWrap*> menus;
    return menus;
}
int32_t gNextId = 0;
PopupMenuHost* gHost = nullptr;

int32_t Number(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

// Big-endian words as the classic menu resources store them.
uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

}  // namespace

void SetPopupMenuHost(PopupMenuHost* host) { gHost = host; }

MenuWrap::MenuWrap() : mId(gNextId++) { Menus().push_back(this); }

MenuWrap::~MenuWrap() {
    // Children first: each leaves the list as it goes.
    for (;;) {
        auto& menus = Menus();
        const auto child = std::find_if(menus.begin(), menus.end(), [this](MenuWrap* m) { return m->mParent == this; });
        if (child == menus.end()) break;
        delete *child;
    }
    auto& menus = Menus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
}

MenuWrap* MenuWrap::Find(ResType type, int32_t id) {
    for (MenuWrap* menu : Menus())
        if (menu->mType == type && menu->mId == id) return menu;
    return nullptr;
}

size_t MenuWrap::ListedCount() { return Menus().size(); }

void MenuWrap::SetTitle(const std::string& title) { mTitle = title.substr(0, kTitleLimit - 1); }

void MenuWrap::Init(iResFile* file, ResType type, int32_t id, const std::string& title) {
    mType = type == kBarType ? kBarType : kPopupType;
    mId = id;
    mFile = file;
    mItems.clear();
    SetTitle(title);
    if (!file || id == 0) return;
    const bool loaded = mType == kBarType ? LoadBarResource() : LoadMenuResource();
    if (!loaded) LoadStringTable();
}

void MenuWrap::AppendItem(Item item) {
    // Every 30th item starts a new column.
    const int32_t count = ItemCount();
    item.columnBreak = count != 0 && count % kColumnItems == 0;
    mItems.push_back(std::move(item));
}

void MenuWrap::AppendSubmenu(int32_t id, const std::string& title, bool alwaysNew) {
    MenuWrap* child = alwaysNew ? nullptr : Find(kPopupType, id);
    if (!child) {
        // Parented before it loads, so its own sub-menus see the chain.
        child = new MenuWrap;
        child->mParent = this;
        child->Init(mFile, kPopupType, id, title);
    }
    // A menu never becomes its own descendant.
    for (MenuWrap* up = this; up; up = up->mParent)
        if (up == child) return;
    child->mParent = this;
    Item item;
    item.label = child->Title();
    item.submenu = child;
    AppendItem(std::move(item));
}

void MenuWrap::AddItemText(const std::string& text) {
    std::string label = text, options;
    if (text.rfind("[[", 0) == 0) {
        const size_t close = text.find("]]", 2);
        if (close != std::string::npos) {
            options = text.substr(2, close - 2);
            label = text.substr(close + 2);
        }
    }
    Item item;
    item.label = label;
    item.command = ItemCount() + 1;
    item.separator = !label.empty() && label[0] == '-';
    if (!options.empty()) {
        tova::StringScanner scanner(options);
        tova::KeyValueList list;
        list.Parse(scanner);
        for (const tova::KeyValueList::Item& option : list.Items()) {
            if (option.line < 0) continue;
            if (option.key == "itemnum") {
                if (const int32_t command = Number(option.value)) item.command = command;
            } else if (option.key == "break") {
                item.separator = true;
            } else if (option.key == "title") {
                SetTitle(option.value.empty() ? label : option.value);
                return;
            } else if (option.key == "submenu") {
                AppendSubmenu(Number(option.value), label, false);
                return;
            }
        }
    }
    AppendItem(std::move(item));
}

bool MenuWrap::LoadMenuResource() {
    MemHandle handle = mFile->GetResource(kPopupType, static_cast<ResId>(mId), nullptr);
    if (!handle) return false;
    const uint8_t* data = GetMemHandleData(handle);
    const size_t size = static_cast<size_t>(std::max(GetMemHandleSize(handle), int32_t{0}));
    // The title, a length-prefixed string at byte 14; the items follow.
    size_t at = 14;
    if (at < size && at + 1 + data[at] <= size) {
        SetTitle(std::string(reinterpret_cast<const char*>(data + at + 1), data[at]));
        at += 1 + data[at];
        while (at < size && data[at] != 0) {
            const size_t length = data[at];
            if (at + 1 + length + 4 > size) break;
            const std::string name(reinterpret_cast<const char*>(data + at + 1), length);
            const uint8_t* extra = data + at + 1 + length;
            at += 1 + length + 4;
            if (extra[1] == 27) AppendSubmenu(extra[2], name, false);
            else AddItemText(name);
        }
    }
    mFile->ReleaseResource(handle);
    return true;
}

bool MenuWrap::LoadBarResource() {
    MemHandle handle = mFile->GetResource(kBarType, static_cast<ResId>(mId), nullptr);
    if (!handle) return false;
    const uint8_t* data = GetMemHandleData(handle);
    const size_t size = static_cast<size_t>(std::max(GetMemHandleSize(handle), int32_t{0}));
    std::vector<int32_t> ids;
    if (size >= 2) {
        const size_t count = std::min<size_t>(Word(data), (size - 2) / 2);
        for (size_t i = 0; i < count; ++i) ids.push_back(static_cast<int16_t>(Word(data + 2 + 2 * i)));
    }
    mFile->ReleaseResource(handle);
    for (int32_t id : ids) AppendSubmenu(id, "", true);
    return true;
}

void MenuWrap::LoadStringTable() {
    const ResType type = mType == kBarType ? TypeCode("MBST") : TypeCode("MSTR");
    if (mType == kPopupType) {
        if (MemHandle handle = mFile->GetResource(type, static_cast<ResId>(mId), nullptr)) {
            std::string label;
            if (mFile->GetLabel(handle, label) == 0 && !label.empty()) SetTitle(label);
        }
    }
    StringSet strings;
    strings.SetSource(mFile, static_cast<ResId>(mId), type, false, kLanguageCurrent);
    if (strings.Load(false, true) != 0) return;
    for (int i = strings.Begin(); i < strings.End(); ++i) {
        const char* text = strings.GetString(i);
        if (!text) continue;
        if (mType == kBarType) AppendSubmenu(Number(text), "", true);
        else AddItemText(text);
    }
}

std::pair<int32_t, int32_t> MenuWrap::Track(uint32_t point) {
    const auto x = static_cast<int32_t>(static_cast<int16_t>(point >> 16));
    const auto y = static_cast<int32_t>(static_cast<int16_t>(point & 0xFFFF));
    const int32_t command = gHost ? gHost->TrackPopup(*this, x, y) : 0;
    if (command == 0) return {0, 0};
    return {mId, command & 0xFFFF};
}
