#include "sound/cHitControlGroup.h"

#include <algorithm>

#include "sound/cHitEngine.h"

cHitControlGroup::cHitControlGroup(uint32_t groupId) : cSoundObject(kControlGroupClass), mGroupId(groupId) {}

bool cHitControlGroup::SetVolume(int32_t level) {
    mLevel = std::clamp(level, 0, 1024);
    if (cHitEngine* engine = cHitEngine::Current())
        for (uint32_t id : mMembers)
            if (cISoundObject* track = engine->GetObject(id); track && engine->IsActive(track)) track->RefreshOutput();
    return true;
}

bool cHitControlGroup::SetVar(int32_t id, int32_t value, bool quiet) {
    if (cHitEngine* engine = cHitEngine::Current())
        for (uint32_t member : mMembers)
            if (cISoundObject* track = engine->GetObject(member); track && engine->IsActive(track))
                track->SetVar(id, value, quiet);
    return true;
}
