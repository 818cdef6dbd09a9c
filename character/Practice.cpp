#include "character/Practice.h"

#include <algorithm>
#include <cmath>

#include "character/Skeleton.h"
#include "character/Skill.h"

namespace tova::chr {

namespace {

PracticeEventHook gPracticeHook = nullptr;
void* gPracticeHookContext = nullptr;

constexpr float kTinySpeed = 1e-6f;

// Milliseconds into the skill; a length that is no number counts as none.
int32_t TimeInSkill(float duration, float phase) {
    const float ms = duration * phase;
    return std::isfinite(ms) ? static_cast<int32_t>(std::clamp(ms, -2e9f, 2e9f)) : 0;
}

}  // namespace

PracticeEventHook SetPracticeEventHook(PracticeEventHook hook, void* context) {
    PracticeEventHook old = gPracticeHook;
    gPracticeHook = hook;
    gPracticeHookContext = context;
    return old;
}

Practice::Practice(Skeleton& skeleton, Skill& skill) : skeleton_(&skeleton), skill_(&skill) {
    skill.AddRef();
    frameCount = skill.motions.empty() ? 0 : std::max(0, skill.motions.front()->frameCount);
    for (const auto& m : skill.motions) {
        Bone* bone = skeleton.FindBone(m->boneName);
        if (bone == nullptr) continue;
        BoneEntry entry;
        entry.bone = bone;
        entry.motion = m.get();
        const TimePropertyList* events = m->Events();
        if (events != nullptr && events->Count() > 0) {
            entry.hasCursor = true;
            entry.cursor.list = events;
            entry.cursor.First();
        }
        entries_.push_back(entry);
    }
    SetSpeed(speed);
}

Practice::~Practice() { skill_->Release(); }

void Practice::SetPhase(float newPhase) {
    phase = std::isfinite(newPhase) ? std::clamp(newPhase, 0.0f, 1.0f) : 0.0f;
    timeInSkill = TimeInSkill(skill_->duration, phase);
    previousTimeInSkill = timeInSkill;
    for (BoneEntry& entry : entries_) {
        if (!entry.hasCursor) continue;
        TimePropertyCursor& c = entry.cursor;
        if (speed >= 0) {
            for (c.First(); c.Valid() && c.list->At(c.index).time < timeInSkill;) c.Next();
        } else {
            for (c.Last(); c.Valid() && c.list->At(c.index).time > timeInSkill;) c.Previous();
        }
    }
}

void Practice::SetSpeed(float newSpeed) {
    speed = newSpeed;
    const float magnitude = std::fabs(newSpeed);
    effectiveDuration = magnitude <= kTinySpeed ? 0 : std::max(0.0f, skill_->duration / magnitude);
}

void Practice::SetPriority(int32_t newPriority) {
    priority = newPriority;
    skeleton_->practicesChanged = true;
}

void Practice::StartWeightFade(int32_t start, int32_t duration, float from, float to) {
    fadeStart = start;
    fadeDuration = duration;
    fadeFrom = from;
    fadeTo = to;
    fadeActive = true;
}

void Practice::Update(int32_t now, bool apply) {
    previousTime = currentTime;
    currentTime = now;
    const float elapsed = static_cast<float>(static_cast<int64_t>(now) - previousTime);
    if (entries_.empty() || frameCount == 0) return;

    // A skill without length (or a practice standing still) holds its frame.
    float step = 0;
    if (std::fabs(speed) > kTinySpeed && effectiveDuration > 0) step = elapsed / effectiveDuration;
    if (!std::isfinite(step)) step = 0;
    phase += speed >= 0 ? step : -step;

    if (std::fabs(elapsed) > 1e-6f) {
        if ((speed >= 0 && phase >= 1) || (speed < 0 && phase <= 0)) {
            finished = true;
            switch (loopMode) {
                case kPlayOnce:
                    effectiveDuration = 1e8f;
                    speed = 0;
                    phase = std::clamp(phase, 0.0f, 1.0f);
                    break;
                case kLoop:
                    if (phase < 0 || phase > 1) phase -= std::floor(phase);
                    break;
                case kPingPong:
                    speed = -speed;
                    if (phase < 0 || phase > 1) phase = 1 - (phase - std::floor(phase));
                    break;
                case kHoldAndFade:
                    // Held at the end, the practice keeps passing it: only
                    // the first pass starts the fade, or it would never end.
                    if (!fadeActive && weight > 0) StartWeightFade(now, fadeDuration, weight, 0);
                    speed = 0;
                    effectiveDuration = 0;
                    phase = std::clamp(phase, 0.0f, 1.0f);
                    break;
                default:
                    break;
            }
        } else {
            finished = false;
        }
    }

    if (fadeActive) {
        const int64_t since = static_cast<int64_t>(now) - fadeStart;
        if (since > fadeDuration || fadeDuration <= 0) {
            fadeActive = false;
            weight = fadeTo;
        } else {
            const float g = std::clamp(static_cast<float>(since) / static_cast<float>(fadeDuration), 0.0f, 1.0f);
            weight = fadeFrom + g * (fadeTo - fadeFrom);
        }
    }

    timeInSkill = TimeInSkill(skill_->duration, phase);

    if (weight > 0) {
        const float h = phase * static_cast<float>(frameCount);
        int32_t frame = static_cast<int32_t>(std::clamp(std::floor(h), -1e9f, 1e9f));
        const int32_t s = std::max(0, frameStep);
        int32_t usable = frameCount;
        if (s > 0) {
            frame = (s + 1) * (frame / (s + 1));
            usable = (frameCount + s) / (s + 1);
        }
        frame = std::clamp(frame, 0, frameCount - 1);
        const bool interpolate = elapsed < 2 * effectiveDuration / static_cast<float>(usable);
        int32_t next = frame;
        float f = 0;
        if (interpolate) {
            next = frame + s + 1;
            if (next >= frameCount) next = loopMode == kLoop ? 0 : frame;
            if (s == 0) {
                f = h - static_cast<float>(frame);
            } else if (frame < next) {
                f = (h - static_cast<float>(frame)) / static_cast<float>(next - frame);
            } else {
                f = (h - static_cast<float>(frame)) / static_cast<float>(frameCount - frame);
            }
        }
        const bool forwards = speed >= 0;
        for (BoneEntry& entry : entries_) {
            if (entry.hasCursor) ReportEvents(entry, forwards);
            if (apply) Apply(entry, frame, next, f, interpolate);
        }
    }
    previousTimeInSkill = timeInSkill;
}

void Practice::Report(BoneEntry& entry) {
    const TimePropertyList::Entry& e = entry.cursor.list->At(entry.cursor.index);
    if (e.list == nullptr || e.list->Count() == 0) return;
    if (gPracticeHook != nullptr) gPracticeHook(gPracticeHookContext, *this, *entry.bone, *entry.motion, *e.list, phase);
}

void Practice::ReportEvents(BoneEntry& entry, bool forwards) {
    TimePropertyCursor& c = entry.cursor;
    if (forwards) {
        if (timeInSkill < previousTimeInSkill) {
            for (; c.Valid(); c.Next()) Report(entry);
            c.First();
        }
        for (; c.Valid() && c.list->At(c.index).time <= timeInSkill; c.Next()) Report(entry);
    } else {
        if (previousTimeInSkill < timeInSkill) {
            while (c.Previous()) Report(entry);
            c.Last();
        }
        for (; c.Valid() && c.list->At(c.index).time >= timeInSkill; c.Previous()) Report(entry);
    }
}

void Practice::Apply(const BoneEntry& entry, int32_t frame, int32_t next, float f, bool interpolate) {
    const Motion& m = *entry.motion;
    Bone& bone = *entry.bone;
    const int32_t last = std::max(frame, next);
    const bool outright = weight >= 1 || bone.BlendFlag() == 0;
    // Keyframes that were never loaded (or only partly) leave the pose alone.
    if (m.hasTranslations != 0 && (bone.BlendFlag() != 0 || translationMode != -1) && m.firstTranslation >= 0 &&
        static_cast<size_t>(m.firstTranslation) + last < skill_->translations.size()) {
        const Vector3& a = skill_->translations[m.firstTranslation + frame];
        Vector3 v = a;
        if (interpolate) {
            const Vector3& b = skill_->translations[m.firstTranslation + next];
            v = {(1 - f) * a.x + f * b.x, (1 - f) * a.y + f * b.y, (1 - f) * a.z + f * b.z};
        }
        if (outright) {
            bone.translation = v;
        } else {
            const Vector3 c = bone.translation;
            bone.translation = {(1 - weight) * c.x + weight * v.x, (1 - weight) * c.y + weight * v.y,
                                (1 - weight) * c.z + weight * v.z};
        }
    }
    if (m.hasRotations != 0 && (bone.BlendFlag() != 0 || rotationMode != -1) && m.firstRotation >= 0 &&
        static_cast<size_t>(m.firstRotation) + last < skill_->rotations.size()) {
        const Quaternion& a = skill_->rotations[m.firstRotation + frame];
        Quaternion q = a;
        if (interpolate) q = Interpolate(interpolation, 1 - f, a, skill_->rotations[m.firstRotation + next]);
        bone.rotation = outright ? q : Interpolate(interpolation, weight, q, bone.rotation);
    }
}

}  // namespace tova::chr
