#include "platform/WavePlayer.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/WavFile.h"
#include "support/TempFolder.h"

TEST(WavePlayer, PlaysWaveFilesAndRefusesOthers) {
    tova_test::TempFolder dir;
    const std::vector<int16_t> samples(2205, 1000);
    const std::filesystem::path folder = dir.path();
    const auto wav = folder / "click.wav";
    std::string error;
    ASSERT_TRUE(platform::WriteWavFile(wav, platform::PcmFormat::Make(1, 22050, 16),
                                       reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2, error));
    std::ofstream(folder / "text.wav") << "not a wave";
    platform::WavePlayer player;
    // With no sound card (the dummy driver or none) a sound still "plays".
    EXPECT_TRUE(player.Play(wav, &error)) << error;
    EXPECT_TRUE(player.Play(wav, &error)) << error;  // cuts the first
    EXPECT_FALSE(player.Play(folder / "text.wav", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(player.Play(folder / "missing.wav", &error));
}
