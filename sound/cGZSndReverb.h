// The environmental-reverb controller. No reverb hardware exists behind the
// mixer, so a probe never finds the property sets: the settings asked for
// are kept (the environment row and the last buffer mix) but nothing is
// heard, and the setters answer false as a device without reverb does.
#pragma once

#include <cstdint>

#include "framework/cGZSndReverbProperties.h"

class cIGZSnd3D;

class cGZSndReverb {
public:
    static constexpr int kEnvironmentCount = 27;
    struct Row {
        uint32_t environment;
        float volume;
        float decayTime;
        float damping;
    };
    // Row 0 is all zero (no reverb); rows 1..26 are environments 0..25.
    static const Row& EnvironmentRow(int32_t n);

    bool Probe(cIGZSnd3D* buffer);
    // Row n mod 27.
    bool SetEnvironment(int32_t n);
    bool SetBufferMix(cIGZSnd3D* buffer, float mix);

    const Row& CurrentRow() const { return EnvironmentRow(mRow); }
    int32_t CurrentRowIndex() const { return mRow; }
    float LastBufferMix() const { return mBufferMix; }
    const cGZSndReverbProperties& Properties() const { return mProperties; }

private:
    cGZSndReverbProperties mProperties;
    int32_t mRow = 0;
    float mBufferMix = 0;
};
