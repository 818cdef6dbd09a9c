// Intrusive reference counting shared by services, windows, pixel buffers and
// the framework object itself.
#pragma once

#include <cstdint>

// The root interface: each call answers the new count.
class cIGZUnknown {
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    virtual ~cIGZUnknown() = default;
};

// One count, starting at 0. Release at a count of 0 deletes the object too:
// an object nobody ever referenced is freed by a single Release.
class cRZRefCount {
public:
    cRZRefCount() = default;
    cRZRefCount(const cRZRefCount&) : mnRefCount(0) {}  // a copy is a new object
    cRZRefCount& operator=(const cRZRefCount&) { return *this; }
    virtual ~cRZRefCount() = default;

    virtual uint32_t Release();
    virtual uint32_t AddRef();
    // Lowers the count while it is above 0; never below.
    virtual uint32_t RemoveRef();
    virtual uint32_t GetRefCount() const { return mnRefCount; }

private:
    uint32_t mnRefCount = 0;
};

class cRZUnknown : public cIGZUnknown, public cRZRefCount {
public:
    uint32_t AddRef() override { return cRZRefCount::AddRef(); }
    uint32_t Release() override { return cRZRefCount::Release(); }
};
