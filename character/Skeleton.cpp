#include "character/Skeleton.h"

#include <cmath>

#include "character/PropertyList.h"

namespace tova {

namespace {

uint32_t gWiggleSeed = 1;

uint32_t WiggleWord() {
    const uint32_t high = static_cast<uint32_t>(WiggleRandom());
    return (high << 16) ^ static_cast<uint32_t>(WiggleRandom());
}

Bone* FindBoneFrom(Bone* bone, const std::string& name) {
    for (; bone != nullptr; bone = bone->NextSibling()) {
        if (bone->Name() == name) return bone;
        if (Bone* found = FindBoneFrom(bone->FirstChild(), name)) return found;
    }
    return nullptr;
}

}  // namespace

void SeedWiggleRandom(uint32_t seed) { gWiggleSeed = seed; }

int32_t WiggleRandom() {
    gWiggleSeed = gWiggleSeed * 214013u + 2531011u;
    return static_cast<int32_t>((gWiggleSeed >> 16) & 0x7FFF);
}

Bone::Bone(std::string name, std::string parentName)
    : name_(std::move(name)), parentName_(std::move(parentName)) {
    UpdateKeyBone();
}

Bone::~Bone() { ReleaseCharacterData(properties_); }

void Bone::SetProperties(PropertyList* list) {
    AddRefCharacterData(list);
    ReleaseCharacterData(properties_);
    properties_ = list;
}

void Bone::SetWigglePower(int32_t power) {
    wigglePower_ = power;
    for (WiggleRecord& w : wiggles_) {
        w.words[0] = WiggleWord();
        w.words[1] = WiggleWord();
        const double x = static_cast<double>(WiggleWord() >> 8);
        const double y = static_cast<double>(WiggleWord() >> 8);
        ScaleWiggle(x, y, power, w.dx, w.dy);
    }
}

void ScaleWiggle(double x, double y, int32_t power, int32_t& dx, int32_t& dy) {
    const double length = std::sqrt(x * x + y * y);
    if (length == 0) {
        dx = power;
        dy = 0;
        return;
    }
    dx = static_cast<int32_t>(std::floor(x * power / length + 0.5));
    dy = static_cast<int32_t>(std::floor(y * power / length + 0.5));
}

void Bone::UpdateKeyBone() {
    static const char* const kKeyBones[] = {"HEAD", "PELVIS", "R_FOOT", "L_FOOT", "R_HAND", "L_HAND"};
    keyBone_ = false;
    for (const char* key : kKeyBones) {
        if (name_ == key) keyBone_ = true;
    }
}

Skeleton::Skeleton(std::string skeletonName) : name(std::move(skeletonName)) {}

Bone* Skeleton::AddBone(std::unique_ptr<Bone> bone) {
    Bone* b = bone.get();
    b->skeleton_ = this;
    bones_.push_back(std::move(bone));
    if (root_ == nullptr) {
        root_ = b;
        return b;
    }
    Bone* parent = FindBone(b->parentName_);
    if (parent != nullptr && parent != b) {
        b->parent_ = parent;
        b->nextSibling_ = parent->firstChild_;
        parent->firstChild_ = b;
    } else {
        b->nextSibling_ = root_;
        root_ = b;
    }
    return b;
}

Bone* Skeleton::FindBone(const std::string& boneName) const { return FindBoneFrom(root_, boneName); }

Skeleton* Skeleton::Clone() const {
    auto* copy = new Skeleton(name);
    copy->sourceFile = sourceFile;
    for (const auto& b : bones_) {
        auto bone = std::make_unique<Bone>(b->Name(), b->ParentName());
        bone->SetProperties(b->Properties());
        bone->translation = b->translation;
        bone->rotation = b->rotation;
        for (int i = 0; i < 3; ++i) bone->flags[i] = b->flags[i];
        bone->SetWigglePower(b->WigglePower());
        bone->wiggleValue = b->wiggleValue;
        bone->keyBone_ = b->keyBone_;
        bone->boxValid = false;
        copy->AddBone(std::move(bone));
    }
    return copy;
}

}  // namespace tova
