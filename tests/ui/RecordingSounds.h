// A sound player for control tests: it keeps the names of the sounds played.
#pragma once

#include <string>
#include <vector>

#include "simulation/SoundPlayer.h"

namespace tova_test {

class RecordingSounds : public tova::iSoundPlayer {
public:
    void Play(const std::string& event, int32_t) override { played.push_back(event); }
    void StopSources(int32_t) override {}
    void ForgetObject(int32_t) override {}
    std::vector<std::string> played;
};

}  // namespace tova_test
