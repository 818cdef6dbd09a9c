#include "sound/cTrack.h"

#include "sound/cHitControlGroup.h"
#include "sound/cHitEngine.h"

cTrack::cTrack(const cTrackDefinition& definition)
    : cTrackPlayer(kTrackClass, definition.kind),
      mName(definition.name),
      mProgramIndex(definition.programIndex),
      mControlGroup(definition.controlGroup) {
    mTemplate.Set(18, definition.volume);
    mTemplate.Set(25, definition.priority);
    mTemplate2.Set(50, definition.patchId);
    mTemplate2.Set(57, definition.attenuation);
}

cTrack::~cTrack() {
    // Not when another track has taken the id since.
    cHitEngine* engine = cHitEngine::Current();
    if (!engine || !mControlGroup || GetId() == kUnregisteredId) return;
    const cISoundObject* holder = engine->GetObject(GetId());
    if (!holder || holder == this) engine->GetControlGroup(mControlGroup)->RemoveMember(GetId());
}

void cTrack::SetId(uint32_t id) {
    cTrackPlayer::SetId(id);
    if (cHitEngine* engine = cHitEngine::Current(); engine && mControlGroup)
        engine->GetControlGroup(mControlGroup)->AddMember(id);
}

int32_t cTrack::TemplateValue(int32_t id) const {
    if (mTemplate.Covers(id)) return mTemplate.Own(id);
    if (mTemplate2.Covers(id)) return mTemplate2.Own(id);
    return cHitVarBank::kUnset;
}
