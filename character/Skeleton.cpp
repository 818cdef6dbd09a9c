#include "character/Skeleton.h"

#include <algorithm>
#include <cmath>

#include "character/BodyMesh.h"
#include "character/Dressing.h"
#include "character/Practice.h"
#include "character/PropertyList.h"
#include "character/SkinInstance.h"
#include "character/Skill.h"
#include "character/Suit.h"
#include "tarn/TarnMath.h"
#include "tarn/TarnPipeline.h"

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

const Transform& Bone::GetWorldMatrix() {
    Transform t;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) t.m[r][c] = rotationMatrix[r * 3 + c];
    }
    t.m[3][0] = worldTranslation.x;
    t.m[3][1] = worldTranslation.y;
    t.m[3][2] = worldTranslation.z;
    t.kind = kTransformGeneral;
    worldMatrix_ = t;
    return worldMatrix_;
}

Skeleton::Skeleton(std::string skeletonName) : name(std::move(skeletonName)) {}

Skeleton::~Skeleton() {
    while (!practices_.empty()) RemovePractice(practices_.back());
    while (!dressings_.empty()) RemoveDressing(dressings_.back());
}

chr::Practice* Skeleton::AddPractice(Skill& skill, int32_t priority, float speed, float weight, int32_t now) {
    auto* practice = new chr::Practice(*this, skill);
    practice->priority = priority;
    practice->weight = weight;
    practice->SetSpeed(speed);
    practice->SetPhase(0);
    practice->currentTime = now;
    practice->previousTime = now;
    skill.idleSince = 0;
    ++skill.practices;
    auto at = practices_.begin();
    while (at != practices_.end() && (*at)->priority <= priority) ++at;
    practices_.insert(at, practice);
    practicesChanged = true;
    return practice;
}

void Skeleton::RemovePractice(chr::Practice* practice) {
    auto it = std::find(practices_.begin(), practices_.end(), practice);
    if (it == practices_.end()) return;
    practices_.erase(it);
    practicesChanged = true;
    Skill& skill = practice->GetSkill();
    if (skill.practices > 0 && --skill.practices == 0) skill.idleSince = clock;
    delete practice;
}

void Skeleton::UpdatePractices(int32_t now, bool apply) {
    clock = static_cast<uint32_t>(now);
    if (practicesChanged) {
        // Adjacent swaps of strictly descending pairs: equal priorities keep
        // their order of arrival.
        for (size_t end = practices_.size(); end > 1; --end) {
            for (size_t i = 0; i + 1 < end; ++i) {
                if (practices_[i + 1]->priority < practices_[i]->priority) std::swap(practices_[i], practices_[i + 1]);
            }
        }
        practicesChanged = false;
    }
    // A hook may remove practices; walk a copy.
    const std::vector<chr::Practice*> playing = practices_;
    for (chr::Practice* p : playing) {
        if (std::find(practices_.begin(), practices_.end(), p) != practices_.end()) p->Update(now, apply);
    }
    for (size_t i = practices_.size(); i-- > 0;) {
        if (i < practices_.size() && practices_[i]->removeWhenFaded && practices_[i]->weight <= 0) {
            RemovePractice(practices_[i]);
        }
    }
}

namespace {

void TransformBoneTree(Bone* bone, const Vector3& parentT, const Quaternion& parentQ, Skeleton& skeleton) {
    for (; bone != nullptr; bone = bone->NextSibling()) {
        const Quaternion conjugated{parentQ.x, parentQ.y, parentQ.z, -parentQ.w};
        Quaternion world = Multiply(bone->rotation, conjugated);
        world.w = -world.w;
        bone->worldRotation = world;
        const Vector3 moved = Rotate(bone->translation, parentQ);
        bone->worldTranslation = {parentT.x + moved.x, parentT.y + moved.y, parentT.z + moved.z};
        const float q[4] = {world.x, world.y, world.z, -world.w};
        TarnQuaternionToMatrix(q, bone->rotationMatrix);
        if (bone->IsKeyBone() && bone->boxValid && bone->box.minX < 1e6f) {
            const BoundingBox& b = bone->box;
            float corners[8][3];
            for (int i = 0; i < 8; ++i) {
                corners[i][0] = (i & 1) ? b.maxX : b.minX;
                corners[i][1] = (i & 2) ? b.maxY : b.minY;
                corners[i][2] = (i & 4) ? b.maxZ : b.minZ;
            }
            float out[8][3];
            const float* oldMatrix = TarnSetMatrix(bone->rotationMatrix);
            const float* oldMove = TarnSetTranslation(&bone->worldTranslation.x);
            const int oldIn = TarnSetInputStride(12);
            const int oldOut = TarnSetOutputStride(12);
            TarnTransformVertices(kTarnRotate | kTarnTranslate, 8, corners, out);
            TarnSetMatrix(oldMatrix);
            TarnSetTranslation(oldMove);
            TarnSetInputStride(oldIn);
            TarnSetOutputStride(oldOut);
            BoundingBox& box = skeleton.box;
            for (const auto& c : out) {
                box.minX = std::min(box.minX, c[0]), box.maxX = std::max(box.maxX, c[0]);
                box.minY = std::min(box.minY, c[1]), box.maxY = std::max(box.maxY, c[1]);
                box.minZ = std::min(box.minZ, c[2]), box.maxZ = std::max(box.maxZ, c[2]);
            }
        }
        TransformBoneTree(bone->FirstChild(), bone->worldTranslation, bone->worldRotation, skeleton);
    }
}

}  // namespace

void Skeleton::UpdateTransforms() {
    if (root_ == nullptr) return;
    box = BoundingBox::Empty();
    TransformBoneTree(root_, {0, 0, 0}, {0, 0, 0, 1}, *this);
}

chr::Dressing* Skeleton::AddDressing(Suit& suit, const std::string& materialOverride, int32_t mask) {
    chr::Dressing* dressing = suit.CreateDressing(*this, materialOverride, mask);
    dressings_.push_back(dressing);
    return dressing;
}

void Skeleton::RemoveDressing(chr::Dressing* dressing) {
    auto it = std::find(dressings_.begin(), dressings_.end(), dressing);
    if (it == dressings_.end()) return;
    dressings_.erase(it);
    dressing->Release();
}

void Skeleton::ComputeBoneBoxes() {
    for (const auto& bone : bones_) {
        if (bone->IsKeyBone()) bone->box = BoundingBox::Empty();
    }
    for (chr::Dressing* dressing : dressings_) {
        for (chr::Dressing::Attachment& a : dressing->Attachments()) {
            chr::SkinInstance& instance = *a.instance;
            const BodyMesh& mesh = instance.Mesh();
            for (size_t i = 0; i < mesh.bindings.size(); ++i) {
                const MeshBinding& b = mesh.bindings[i];
                Bone* bone = i < instance.Bones().size() ? instance.Bones()[i] : nullptr;
                BoundingBox& grown = bone != nullptr ? bone->box : instance.box;
                for (int32_t v = b.firstVertex; v < b.firstVertex + b.vertexCount; ++v) {
                    const auto& p = mesh.vertices[v];
                    grown.minX = std::min(grown.minX, p[0]), grown.maxX = std::max(grown.maxX, p[0]);
                    grown.minY = std::min(grown.minY, p[1]), grown.maxY = std::max(grown.maxY, p[1]);
                    grown.minZ = std::min(grown.minZ, p[2]), grown.maxZ = std::max(grown.maxZ, p[2]);
                }
            }
        }
    }
    for (const auto& bone : bones_) {
        if (bone->IsKeyBone()) bone->boxValid = true;
    }
    boneBoxesReady = true;
}

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
