// A skill (an animation): per-bone motions whose keyframes index the
// skill's translation and rotation arrays. The arrays come from a keyframe
// file that is read when the skill is first played.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "character/CharacterObject.h"
#include "tarn/Transform.h"

namespace tova {

class PropertyList;
class Skill;
class TimePropertyList;

class Motion {
public:
    Motion() = default;
    ~Motion();
    Motion(const Motion&) = delete;
    Motion& operator=(const Motion&) = delete;

    std::string boneName;
    Skill* skill = nullptr;
    int32_t frameCount = 0;
    float duration = 0;
    int32_t hasTranslations = 0;
    int32_t hasRotations = 0;
    int32_t firstTranslation = -1;
    int32_t firstRotation = -1;

    PropertyList* Properties() const { return properties_; }
    void SetProperties(PropertyList* list);
    TimePropertyList* Events() const { return events_; }
    void SetEvents(TimePropertyList* list);

private:
    PropertyList* properties_ = nullptr;
    TimePropertyList* events_ = nullptr;
};

class Skill : public CharacterObject {
public:
    std::string name;
    std::string motionDataName;
    std::string sourceFile;
    float duration = 0;
    float distance = 0;
    int32_t moving = 0;
    int32_t translationCount = 0;
    int32_t rotationCount = 0;
    std::vector<Vector3> translations;
    std::vector<Quaternion> rotations;
    std::vector<std::unique_ptr<Motion>> motions;
    bool motionDataLoaded = false;
    std::shared_ptr<const std::vector<std::string>> searchList;
    int32_t practices = 0;
    uint32_t idleSince = 0;

    Motion* FindMotion(const std::string& bone) const;
    Motion* AddMotion();
    // Empty when every motion's frames lie within the skill's arrays, else
    // what is wrong.
    std::string CheckMotions() const;
};

}  // namespace tova
