// Fuzzed skills played on the "adult" skeleton, and a fuzzed mesh worn on
// it and deformed. The first byte picks: even, a skill (its sizes, motions,
// keyframes, the practice's settings and the update times all from the
// bytes, with keyframe arrays that need not match the motions); odd, the
// rest as a text or binary mesh worn on the posed skeleton.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "character/BodyMesh.h"
#include "character/MeshFile.h"
#include "character/Practice.h"
#include "character/PropertyList.h"
#include "character/Skeleton.h"
#include "character/SkinInstance.h"
#include "character/Skill.h"

namespace {

struct PracticeFuzzBytes {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    int32_t Int16() { return static_cast<int16_t>(Byte() | (Byte() << 8)); }
    float Float() {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(Byte()) << (8 * i);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
};

const char* const kPracticeFuzzBones[][2] = {
    {"ROOT", "NULL"},          {"PELVIS", "ROOT"},         {"SPINE", "PELVIS"},     {"HEAD", "SPINE"},
    {"L_UPPERARM", "SPINE"},   {"L_FOREARM", "L_UPPERARM"}, {"L_HAND", "L_FOREARM"}, {"R_UPPERARM", "SPINE"},
    {"R_FOREARM", "R_UPPERARM"}, {"R_HAND", "R_FOREARM"},   {"L_THIGH", "PELVIS"},   {"L_CALF", "L_THIGH"},
    {"L_FOOT", "L_CALF"},      {"R_THIGH", "PELVIS"},       {"R_CALF", "R_THIGH"},   {"R_FOOT", "R_CALF"},
};

tova::Skeleton* MakePracticeFuzzSkeleton() {
    auto* s = new tova::Skeleton("adult");
    float y = 0;
    for (const auto& b : kPracticeFuzzBones) {
        auto bone = std::make_unique<tova::Bone>(b[0], b[1]);
        bone->translation = {0, y, 0};
        y = 0.3f;
        s->AddBone(std::move(bone));
    }
    return s;
}

void PlayFuzzedSkill(tova::Skeleton& skeleton, PracticeFuzzBytes& in) {
    auto* skill = new tova::Skill;
    skill->name = "fuzz";
    skill->duration = in.Float();
    const int motions = in.Byte() % 6;
    for (int m = 0; m < motions; ++m) {
        tova::Motion* motion = skill->AddMotion();
        const uint8_t pick = in.Byte();
        motion->boneName = pick < 16 ? kPracticeFuzzBones[pick][0] : "NOBONE";
        motion->frameCount = in.Int16();
        motion->hasTranslations = in.Byte() & 1;
        motion->hasRotations = in.Byte() & 1;
        motion->firstTranslation = in.Int16();
        motion->firstRotation = in.Int16();
        const int events = in.Byte() % 4;
        if (events > 0) {
            auto* list = new tova::TimePropertyList;
            for (int e = 0; e < events; ++e) {
                auto* props = new tova::PropertyList;
                if (in.Byte() & 1) props->Set("fuzz", "1");
                list->Insert(in.Int16(), props);
                props->Release();
            }
            motion->SetEvents(list);
            list->Release();
        }
    }
    skill->translations.resize(in.Byte());
    skill->rotations.resize(in.Byte());
    for (auto& t : skill->translations) t = {in.Float(), in.Float(), in.Float()};
    for (auto& r : skill->rotations) r = {in.Float(), in.Float(), in.Float(), in.Float()};
    tova::chr::Practice* p = skeleton.AddPractice(*skill, in.Int16(), in.Float(), in.Float(), 0);
    p->loopMode = in.Byte() % 5;
    p->interpolation = in.Byte() % 3;
    p->frameStep = in.Byte() % 4;
    p->translationMode = (in.Byte() & 1) ? -1 : 1;
    p->removeWhenFaded = in.Byte() & 1;
    if (in.Byte() & 1) p->FadeOut(in.Int16(), in.Int16(), in.Float());
    int32_t now = 0;
    for (int step = 0; step < 8 && in.at < in.size; ++step) {
        now += in.Int16();
        skeleton.UpdatePractices(now, true);
        skeleton.UpdateTransforms();
    }
    skill->Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    tova::chr::SetPracticeEventHook(nullptr, nullptr);
    tova::Skeleton* skeleton = MakePracticeFuzzSkeleton();
    PracticeFuzzBytes in{data + 1, size - 1};
    if (data[0] % 2 == 0) {
        PlayFuzzedSkill(*skeleton, in);
    } else {
        const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
        std::unique_ptr<tova::BodyMesh> mesh = tova::ReadBodyMesh(bytes, data[0] % 4 == 1);
        if (mesh != nullptr) {
            skeleton->UpdateTransforms();
            std::unique_ptr<tova::chr::SkinInstance> instance = mesh->CreateInstance(*skeleton, "a=b", nullptr);
            if (instance != nullptr) {
                instance->Update(false);
                instance->Update(true);
            }
        }
    }
    skeleton->Release();
    return 0;
}
