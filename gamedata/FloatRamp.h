// A value that moves in a straight line to a target over a number of ticks,
// after an optional delay, and stays at the target afterwards.
#pragma once

#include <cstdint>

class FloatRamp {
public:
    FloatRamp() { InitConstant(0); }

    void InitConstant(float value);
    // From start to target over ticks, ending at tick ticks + delay. With 0
    // ticks the ramp stands at the target from the delay on.
    void Init(float start, float target, int32_t ticks, int32_t delay);
    // From start to target by a step per tick; a step of 0 stands at the
    // target from the delay on.
    void InitFromStep(float start, float target, float step, int32_t delay);
    void SetStart(float start, int32_t delay);
    float GetValue(uint32_t tick) const;

    float GetTarget() const { return mTarget; }
    int32_t GetEndTick() const { return mnEndTick; }

private:
    float mTarget = 0;
    float mStepSize = 1;
    float mSignedStep = 1;
    int32_t mnEndTick = 0;
};
