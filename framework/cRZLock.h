// Holds a critical section for one block.
#pragma once

#include "framework/cRZCriticalSection.h"

class cRZLock {
public:
    explicit cRZLock(cRZCriticalSection& section) : mSection(section) { mSection.Enter(); }
    explicit cRZLock(cRZCriticalSection* section) : cRZLock(*section) {}
    ~cRZLock() { mSection.Leave(); }
    cRZLock(const cRZLock&) = delete;
    cRZLock& operator=(const cRZLock&) = delete;

private:
    cRZCriticalSection& mSection;
};
