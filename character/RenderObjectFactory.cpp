#include "character/RenderObjectFactory.h"

#include "character/DirectXErrorText.h"
#include "character/RenderObject.h"

RenderObjectFactory::~RenderObjectFactory() {
    for (Entry& e : entries_) e.object->Release();
}

uint32_t RenderObjectFactory::Create(int32_t, RenderObject** out) {
    if (out) *out = nullptr;
    return kNotImplemented;
}

uint32_t RenderObjectFactory::CreateNamed(const char*, RenderObject** out) {
    if (out) *out = nullptr;
    return kNotImplemented;
}

RenderObject* RenderObjectFactory::Find(int32_t key) const {
    for (const Entry& e : entries_)
        if (e.key == key) return e.object;
    return nullptr;
}

uint32_t RenderObjectFactory::GetOrCreate(int32_t key, RenderObject** out) {
    if (!out) return kDDDNullPointer;
    *out = nullptr;
    if (RenderObject* found = Find(key)) {
        found->AddRef();
        *out = found;
        return kDDDOk;
    }
    RenderObject* made = nullptr;
    if (const uint32_t code = Create(key, &made)) return code;
    if (!made) return kDDDNullPointer;
    if (const uint32_t code = Register(made, "", key)) {
        made->Release();
        return code;
    }
    *out = made;
    return kDDDOk;
}

uint32_t RenderObjectFactory::Register(RenderObject* object, const char* name, int32_t key) {
    if (!object) return kDDDNullPointer;
    if (entries_.size() >= kMaxEntries) return kDDDOutOfMemory;
    object->AddRef();
    entries_.push_back({key, name ? std::string(name).substr(0, 255) : std::string(), object});
    return kDDDOk;
}
