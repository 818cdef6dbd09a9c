#include "gamedata/SineWave.h"

#include <cmath>

void SineWave::Init() {
    mAmplitude = 1.0f;
    mnStart = mnEnd = 0;
    mnCycles = 2;
    mSpeed = kTwoPi * 0.001;
}

void SineWave::SetPeriod(uint32_t ticks) { mSpeed = kTwoPi / (ticks == 0 ? 1 : ticks); }

void SineWave::Start(uint32_t tick) {
    mnStart = tick;
    // The cycles end after cycles x 2 pi / speed ticks: whole periods at the
    // wave's own speed.
    double length = mSpeed > 0 ? static_cast<double>(mnCycles) * kTwoPi / mSpeed : 0.0;
    // Rounded: 2 pi / (2 pi / 1000) must give 1000, not 999.999...
    mnEnd = tick + static_cast<uint32_t>(std::llround(length < 4294967295.0 ? length : 4294967295.0));
}

float SineWave::GetValue(uint32_t tick) const {
    if (mnCycles != 0 && tick >= mnEnd) return 0.0f;
    return mAmplitude * static_cast<float>(std::sin(static_cast<double>(tick - mnStart) * mSpeed));
}
