#include "sound/cSoundObject.h"

#include "sound/cHitEngine.h"

cSoundObject::cSoundObject(uint32_t classId, uint32_t kind) : mClassId(classId), mKind(kind) { LinkDefaults(); }

void cSoundObject::LinkDefaults() {
    if (cHitEngine* engine = cHitEngine::Current()) mBank.SetFallback(&engine->SystemDefaults());
}

uint32_t cSoundObject::AddRef() {
    const uint32_t count = ++mRefCount;
    if (count == 1) Init();
    return count;
}

uint32_t cSoundObject::Release() {
    const uint32_t count = mRefCount == 0 ? 0 : --mRefCount;
    if (count == 0) delete this;
    return count;
}

bool cSoundObject::SetVar(int32_t id, int32_t value, bool) { return mBank.Set(id, value); }

int32_t cSoundObject::GetVar(int32_t id) { return mBank.Get(id); }
