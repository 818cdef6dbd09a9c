#include "sound/cGZSndReverb.h"

const cGZSndReverb::Row& cGZSndReverb::EnvironmentRow(int32_t n) {
    // Only the settings of environments 0 and 11 are known here; the others
    // carry their number, and with no reverb hardware none is heard.
    static const Row kRows[kEnvironmentCount] = {
        {0, 0, 0, 0},           {0, 0.5f, 1.493f, 0.5f}, {1, 0, 0, 0},  {2, 0, 0, 0},  {3, 0, 0, 0},
        {4, 0, 0, 0},           {5, 0, 0, 0},            {6, 0, 0, 0},  {7, 0, 0, 0},  {8, 0, 0, 0},
        {9, 0, 0, 0},           {10, 0, 0, 0},           {11, 0.153f, 0.259f, 2.0f}, {12, 0, 0, 0},
        {13, 0, 0, 0},          {14, 0, 0, 0},           {15, 0, 0, 0}, {16, 0, 0, 0}, {17, 0, 0, 0},
        {18, 0, 0, 0},          {19, 0, 0, 0},           {20, 0, 0, 0}, {21, 0, 0, 0}, {22, 0, 0, 0},
        {23, 0, 0, 0},          {24, 0, 0, 0},           {25, 0, 0, 0},
    };
    const int32_t row = ((n % kEnvironmentCount) + kEnvironmentCount) % kEnvironmentCount;
    return kRows[row];
}

bool cGZSndReverb::Probe(cIGZSnd3D*) { return mProperties.mPropertySet != nullptr; }

bool cGZSndReverb::SetEnvironment(int32_t n) {
    mRow = ((n % kEnvironmentCount) + kEnvironmentCount) % kEnvironmentCount;
    return mProperties.mPropertySet != nullptr && mProperties.mListenerSettable;
}

bool cGZSndReverb::SetBufferMix(cIGZSnd3D*, float mix) {
    mBufferMix = mix;
    return mProperties.mPropertySet != nullptr && mProperties.mBufferSettable;
}
