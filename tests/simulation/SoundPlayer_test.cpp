#include "simulation/SoundPlayer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tova {
namespace {

struct RecordingPlayer : iSoundPlayer {
    std::vector<std::pair<std::string, int32_t>> played;
    void Play(const std::string& event, int32_t argument) override { played.emplace_back(event, argument); }
    void StopSources(int32_t) override {}
    void ForgetObject(int32_t) override {}
};

TEST(SoundPlayer, InterfaceSoundsPlayWithTheInterfaceArgumentAndEmptyNamesPlayNothing) {
    PlayUISound("UI_click");  // no player installed: nothing happens
    RecordingPlayer player;
    SetSoundPlayer(&player);
    PlayUISound("UI_click");
    PlayUISound("");
    SetSoundPlayer(nullptr);
    PlayUISound("UI_error");
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(player.played[0].first, "UI_click");
    EXPECT_EQ(player.played[0].second, -4);
}

} // namespace
} // namespace tova
