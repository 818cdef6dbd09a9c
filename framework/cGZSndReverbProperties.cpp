#include "framework/cGZSndReverbProperties.h"

bool cGZSndReverbProperties::ReleaseInterface() {
    if (mPropertySet) {
        mPropertySet->Release();
        mPropertySet = nullptr;
    }
    return true;
}
