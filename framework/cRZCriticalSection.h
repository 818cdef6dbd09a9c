// A lock that the holding thread may enter again and that counts its holders
// (every successful Enter or TryEnter minus every Leave, over all threads).
#pragma once

#include <cstdint>

#include "platform/Sync.h"

class cIGZCriticalSection {
public:
    virtual void Release() = 0;  // deletes the object
    virtual int Enter() = 0;
    virtual int Leave() = 0;
    virtual bool TryEnter() = 0;
    virtual bool IsValid() const = 0;
    virtual int32_t GetLockCount() const = 0;

protected:
    virtual ~cIGZCriticalSection() = default;
};

class cRZCriticalSection : public cIGZCriticalSection {
public:
    cRZCriticalSection() = default;
    ~cRZCriticalSection() override = default;

    void Release() override { delete this; }
    int Enter() override;   // answers 0
    int Leave() override;   // answers 1
    bool TryEnter() override;
    bool IsValid() const override { return true; }
    int32_t GetLockCount() const override { return mSection.LockCount(); }

private:
    platform::CriticalSection mSection;
};
