// A sine oscillator over ticks for animations: amplitude x sin((tick - start)
// x speed), for a number of whole cycles (0: endless), then 0.
#pragma once

#include <cstdint>

// Pi as acos(0) x 2 gives it, as constants so that they are ready before any
// static object needs them.
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;

class SineWave {
public:
    SineWave() { Init(); }

    // Amplitude 1, two cycles, one cycle per 1000 ticks.
    void Init();
    // One cycle per this many ticks (at least 1).
    void SetPeriod(uint32_t ticks);
    void SetAmplitude(float amplitude) { mAmplitude = amplitude; }
    void SetCycles(uint32_t cycles) { mnCycles = cycles; }
    // Starts at the tick; a limited wave ends after its cycles.
    void Start(uint32_t tick);
    float GetValue(uint32_t tick) const;

    uint32_t GetEndTick() const { return mnEnd; }

private:
    float mAmplitude = 1.0f;
    double mSpeed = 0;  // radians per tick
    uint32_t mnStart = 0;
    uint32_t mnEnd = 0;
    uint32_t mnCycles = 2;
};
