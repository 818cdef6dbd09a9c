// The base of everything that carries its own lock, among them every
// framework service.
#pragma once

#include "framework/cRZCriticalSection.h"

class cRZThreadSafeObject {
public:
    cRZThreadSafeObject() : mbValidAtConstruction(mCriticalSection.IsValid()) {}
    cRZThreadSafeObject(const cRZThreadSafeObject&) : cRZThreadSafeObject() {}  // a copy has its own lock
    cRZThreadSafeObject& operator=(const cRZThreadSafeObject&) { return *this; }
    virtual ~cRZThreadSafeObject() = default;

    cRZCriticalSection& GetCriticalSection() { return mCriticalSection; }
    bool WasValidAtConstruction() const { return mbValidAtConstruction; }

protected:
    cRZCriticalSection mCriticalSection;
    bool mbValidAtConstruction;
};
