#pragma once
// What the sound system knows of the hardware's reverb: the property-set
// interface through which reverb would be set (none on this platform, so it
// stays null) and which property sets can be set.

#include <cstdint>

// The hardware's optional property-set interface; its owner lets it go once.
class iSoundPropertySet {
public:
    virtual ~iSoundPropertySet() = default;
    virtual void Release() = 0;
};

class cGZSndReverbProperties {
public:
    // Lets the interface go when there is one; always true.
    bool ReleaseInterface();

    iSoundPropertySet* mPropertySet = nullptr;
    bool mListenerSettable = false;
    bool mBufferSettable = false;
    bool mThirdFlag = false;
    int32_t mValue = 1;
};
