#include "character/Skill.h"

#include "character/PropertyList.h"

namespace tova {

Motion::~Motion() {
    ReleaseCharacterData(properties_);
    ReleaseCharacterData(events_);
}

void Motion::SetProperties(PropertyList* list) {
    AddRefCharacterData(list);
    ReleaseCharacterData(properties_);
    properties_ = list;
}

void Motion::SetEvents(TimePropertyList* list) {
    AddRefCharacterData(list);
    ReleaseCharacterData(events_);
    events_ = list;
}

Motion* Skill::FindMotion(const std::string& bone) const {
    for (const auto& m : motions) {
        if (m->boneName == bone) return m.get();
    }
    return nullptr;
}

Motion* Skill::AddMotion() {
    motions.push_back(std::make_unique<Motion>());
    motions.back()->skill = this;
    return motions.back().get();
}

std::string Skill::CheckMotions() const {
    if (translationCount < 0 || rotationCount < 0) return "negative keyframe count";
    for (const auto& m : motions) {
        if (m->frameCount < 0) return "negative frame count in motion " + m->boneName;
        const int64_t frames = m->frameCount;
        if (m->hasTranslations != 0 &&
            (m->firstTranslation < 0 || m->firstTranslation + frames > translationCount)) {
            return "translations out of range in motion " + m->boneName;
        }
        if (m->hasRotations != 0 && (m->firstRotation < 0 || m->firstRotation + frames > rotationCount)) {
            return "rotations out of range in motion " + m->boneName;
        }
    }
    return {};
}

}  // namespace tova
