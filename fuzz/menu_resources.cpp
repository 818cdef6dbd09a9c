// Menu descriptions on arbitrary bytes: the same bytes as a pop-up menu
// resource, a menu bar, a string table of item texts and one item text; the
// menus built from them must stay within the bytes and never hold
// themselves as a sub-menu.
#include <cstddef>
#include <cstdint>
#include <string>

#include "resfile/MemResFile.h"
#include "simulation/MenuWrap.h"

namespace {

void Check(const MenuWrap& menu, int depth) {
    if (depth > 64) __builtin_trap();
    for (const MenuWrap::Item& item : menu.Items())
        if (item.submenu) {
            if (item.submenu == &menu) __builtin_trap();
            if (item.submenu->Parent() == &menu) Check(*item.submenu, depth + 1);
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemResFile file;
    const auto length = static_cast<int32_t>(size);
    file.AddStored(MenuWrap::kPopupType, 1, data, length);
    file.AddStored(MenuWrap::kBarType, 2, data, length);
    file.AddStored(TypeCode("MSTR"), 3, data, length, "Fuzz", 0);
    file.AddStored(TypeCode("MSTR"), 0x101, data, length);
    for (const auto& [type, id] : {std::pair{MenuWrap::kPopupType, 1}, {MenuWrap::kBarType, 2},
                                   {MenuWrap::kPopupType, 3}}) {
        auto* menu = new MenuWrap;
        menu->Init(&file, type, id, "");
        menu->AddItemText(std::string(reinterpret_cast<const char*>(data), size));
        Check(*menu, 0);
        delete menu;
    }
    if (MenuWrap::ListedCount() != 0) __builtin_trap();
    return 0;
}
