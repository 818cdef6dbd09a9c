// One skill playing on one skeleton: its own clock, speed, phase, weight
// and loop mode. Each update moves the phase, reports the timed events it
// passes through the event hook, and writes or blends the skill's sampled
// keyframes into the bones it animates.
#pragma once

#include <cstdint>
#include <vector>

#include "character/PropertyList.h"

namespace tova {

class Bone;
class Motion;
class Skeleton;
class Skill;

namespace chr {

class Practice;

// Called for each event a practice passes, with the practice's phase.
using PracticeEventHook = void (*)(void* context, Practice& practice, Bone& bone, Motion& motion,
                                   PropertyList& properties, float phase);
// Installs the one hook (null for none); answers the previous one.
PracticeEventHook SetPracticeEventHook(PracticeEventHook hook, void* context);

class Practice {
public:
    enum LoopMode : int32_t { kPlayOnce = 0, kLoop = 1, kPingPong = 2, kHoldAndFade = 3 };

    struct BoneEntry {
        Bone* bone = nullptr;
        Motion* motion = nullptr;
        bool hasCursor = false;
        TimePropertyCursor cursor;
    };

    // Retains the skill and binds every motion whose bone the skeleton has.
    Practice(Skeleton& skeleton, Skill& skill);
    ~Practice();
    Practice(const Practice&) = delete;
    Practice& operator=(const Practice&) = delete;

    Skeleton& GetSkeleton() const { return *skeleton_; }
    Skill& GetSkill() const { return *skill_; }
    const std::vector<BoneEntry>& Entries() const { return entries_; }

    void SetSpeed(float speed);
    void SetPriority(int32_t priority);
    void StartWeightFade(int32_t start, int32_t duration, float from, float to);
    void FadeOut(int32_t start, int32_t duration, float from) { StartWeightFade(start, duration, from, 0); }

    // Moves to a phase without playing what lies between: the event
    // cursors stand at the first event not yet passed in the direction of
    // play (an event at the phase itself comes with the next update).
    void SetPhase(float newPhase);

    // Moves to the clock; with `apply` the pose goes into the bones.
    void Update(int32_t now, bool apply);

    int32_t priority = 1;
    int32_t currentTime = 0;
    int32_t previousTime = 0;
    float effectiveDuration = 0;
    float speed = 1;
    float phase = 0;
    float weight = 1;
    int32_t timeInSkill = 0;
    int32_t previousTimeInSkill = 0;
    int32_t frameCount = 0;
    bool finished = false;
    int32_t loopMode = kLoop;
    bool fadeActive = false;
    int32_t fadeStart = 0;
    int32_t fadeDuration = 500;
    float fadeFrom = 0;
    float fadeTo = 0;
    int32_t interpolation = 1;
    int32_t frameStep = 0;
    bool removeWhenFaded = false;
    int32_t translationMode = 1;
    int32_t rotationMode = 1;
    // Kept for the people; playback never reads them.
    int32_t user[3] = {-1, 0, 0};
    // The caller's own value (the people's practice record).
    void* userData = nullptr;

private:
    void ReportEvents(BoneEntry& entry, bool forwards);
    void Report(BoneEntry& entry);
    void Apply(const BoneEntry& entry, int32_t frame, int32_t next, float f, bool interpolate);

    Skeleton* skeleton_;
    Skill* skill_;
    std::vector<BoneEntry> entries_;
};

}  // namespace chr
}  // namespace tova
