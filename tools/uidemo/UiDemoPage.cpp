#include "UiDemoPage.h"

#include "ui/graphics/cGZBuffer.h"

std::string UiDemoPage::Describe(const cGZWin& w) const {
    const cRZRect& r = w.GetScreenArea();
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
}

std::string UiDemoPage::NameOf(const cGZWin* window) const {
    for (const auto& [name, w] : mNamed)
        if (w == window) return name;
    return "-";
}

bool UiDemoPage::Draw(bool) {
    if (cGZBuffer* b = GetDrawBuffer()) b->FillRect(MakeColor(32, 48, 64), GetBufferArea());
    return true;
}

bool UiDemoPage::OnCommand(intptr_t code, intptr_t source) {
    mReport("command " + std::to_string(code) + " " + NameOf(reinterpret_cast<const cGZWin*>(source)));
    return true;
}
