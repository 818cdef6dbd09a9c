// How an owner steps a scroll bar: by one line or one page either way.
#pragma once

#include <cstdint>

class cIGZWinScrollbar {
public:
    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;
    // Each does nothing when the value is already at that end.
    virtual void LineUp() = 0;
    virtual void LineDown() = 0;
    virtual void PageUp() = 0;
    virtual void PageDown() = 0;

protected:
    virtual ~cIGZWinScrollbar() = default;
};
