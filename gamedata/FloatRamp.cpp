#include "gamedata/FloatRamp.h"

#include <cmath>
#include <limits>

void FloatRamp::InitConstant(float value) {
    mTarget = value;
    mStepSize = 1.0f;
    mSignedStep = 1.0f;
    mnEndTick = 0;
}

void FloatRamp::Init(float start, float target, int32_t ticks, int32_t delay) {
    mTarget = target;
    if (ticks == 0) {
        mSignedStep = mStepSize = 0;
        mnEndTick = delay;
        return;
    }
    mSignedStep = (target - start) / static_cast<float>(ticks);
    mStepSize = std::fabs(mSignedStep);
    mnEndTick = ticks + delay;
}

void FloatRamp::InitFromStep(float start, float target, float step, int32_t delay) {
    mTarget = target;
    mStepSize = std::fabs(step);
    SetStart(start, delay);
}

void FloatRamp::SetStart(float start, int32_t delay) {
    float difference = mTarget - start;
    mSignedStep = difference > 0 ? mStepSize : -mStepSize;
    if (mSignedStep == 0 || !std::isfinite(difference / mSignedStep)) {
        mnEndTick = delay;
        return;
    }
    double ticks = static_cast<double>(difference) / static_cast<double>(mSignedStep);
    // A tiny step towards a far target would not fit the tick count.
    if (ticks > std::numeric_limits<int32_t>::max() - static_cast<double>(delay > 0 ? delay : 0))
        ticks = std::numeric_limits<int32_t>::max() - static_cast<double>(delay > 0 ? delay : 0);
    mnEndTick = static_cast<int32_t>(ticks) + delay;
}

float FloatRamp::GetValue(uint32_t tick) const {
    uint32_t end = static_cast<uint32_t>(mnEndTick);
    if (tick < end) return mTarget - static_cast<float>(end - tick) * mSignedStep;
    return mTarget;
}
