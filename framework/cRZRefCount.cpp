#include "framework/cRZRefCount.h"

uint32_t cRZRefCount::Release() {
    uint32_t count = RemoveRef();
    if (count == 0) delete this;
    return count;
}

uint32_t cRZRefCount::AddRef() { return ++mnRefCount; }

uint32_t cRZRefCount::RemoveRef() {
    if (mnRefCount > 0) --mnRefCount;
    return mnRefCount;
}
