#include "simulation/SoundPlayer.h"

#include <atomic>

namespace tova {

namespace {
std::atomic<iSoundPlayer*> gSoundPlayer{nullptr};
}

iSoundPlayer* GetSoundPlayer() { return gSoundPlayer.load(std::memory_order_acquire); }

void SetSoundPlayer(iSoundPlayer* player) { gSoundPlayer.store(player, std::memory_order_release); }

void PlayUISound(const std::string& name) {
    if (name.empty()) return;
    if (iSoundPlayer* player = GetSoundPlayer()) player->Play(name, kUISoundArgument);
}

} // namespace tova
