#include "framework/cRZKeyboard.h"

#include <algorithm>
#include <cstring>

namespace {
cRZKeyboard::HostState gHost;
}

void cRZKeyboard::SetHostState(HostState state) { gHost = std::move(state); }

void cRZKeyboard::Reset() {
    std::memset(mTable, 0, sizeof mTable);
    mKeysDown.clear();
}

bool cRZKeyboard::IsKeyDownWith(uint32_t key, uint32_t modifiers) const {
    return IsKeyDown(key) && GetModifiers() == modifiers;
}

bool cRZKeyboard::IsKeyDown(uint32_t key) const { return key < 256 && mTable[key] != 0; }

bool cRZKeyboard::IsKeyDownNow(uint32_t vk) const { return gHost.isDown && gHost.isDown(vk); }

bool cRZKeyboard::IsModifierKey(uint32_t vk) const { return vk >= kVKShift && vk <= kVKMenu; }

uint32_t cRZKeyboard::GetModifiers() const {
    uint32_t m = 0;
    if (IsKeyDown(kVKShift)) m |= kShift;
    if (IsKeyDown(kVKControl)) m |= kControl;
    if (IsKeyDown(kVKMenu)) m |= kAlt;
    return m;
}

bool cRZKeyboard::IsToggled(uint32_t vk) const { return gHost.isToggled && gHost.isToggled(vk); }

void cRZKeyboard::KeyDown(uint32_t key) {
    if (key >= 256 || mTable[key]) return;
    mTable[key] = 1;
    mKeysDown.push_back(key);
}

void cRZKeyboard::KeyUp(uint32_t key) {
    if (key >= 256 || !mTable[key]) return;
    mTable[key] = 0;
    mKeysDown.erase(std::remove(mKeysDown.begin(), mKeysDown.end(), key), mKeysDown.end());
}
