// A skeleton: bones in file order joined into a tree by their parents'
// names. Bones carry their local pose (read from the character files), the
// world pose the transform pass writes, three flags (the third says whether
// a practice blends into the bone or sets it outright), a wiggle and, for
// the key bones, a box of the mesh vertices bound to them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "character/CharacterObject.h"
#include "tarn/Transform.h"

namespace tova {

class PropertyList;
class Skeleton;
class Skill;
class Suit;

namespace chr {
class Dressing;
class DressingHooks;
class Practice;
}  // namespace chr

// The generator behind the wiggle records: ours, seeded, so that the same
// seed gives the same bones everywhere. Values are 0..32767.
void SeedWiggleRandom(uint32_t seed);
int32_t WiggleRandom();

// A direction (x, y) scaled to length `power`, rounded; no direction at all
// points along x.
void ScaleWiggle(double x, double y, int32_t power, int32_t& dx, int32_t& dy);

struct WiggleRecord {
    uint32_t words[2] = {0, 0};
    int32_t dx = 0, dy = 0;
};

class Bone {
public:
    Bone(std::string name, std::string parentName);
    ~Bone();
    Bone(const Bone&) = delete;
    Bone& operator=(const Bone&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& ParentName() const { return parentName_; }
    Skeleton* Owner() const { return skeleton_; }
    Bone* Parent() const { return parent_; }
    Bone* FirstChild() const { return firstChild_; }
    Bone* NextSibling() const { return nextSibling_; }

    PropertyList* Properties() const { return properties_; }
    // Retains the list (null clears).
    void SetProperties(PropertyList* list);

    Vector3 translation;
    Quaternion rotation;
    Vector3 worldTranslation;
    Quaternion worldRotation;
    int32_t flags[3] = {1, 1, 1};
    int32_t BlendFlag() const { return flags[2]; }

    int32_t WigglePower() const { return wigglePower_; }
    // Sets the power and draws four new wiggle records.
    void SetWigglePower(int32_t power);
    float wiggleValue = 0;
    const std::array<WiggleRecord, 4>& Wiggles() const { return wiggles_; }

    bool IsKeyBone() const { return keyBone_; }
    // Recomputes the key-bone flag from the name.
    void UpdateKeyBone();
    bool boxValid = false;
    BoundingBox box = BoundingBox::Empty();

    // The rotation of the world pose as the transform pass keeps it: row
    // vectors times this matrix are turned by the world rotation.
    float rotationMatrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    // That rotation, then the move to the world translation; cached.
    const Transform& GetWorldMatrix();

private:
    friend class Skeleton;

    std::string name_;
    std::string parentName_;
    Skeleton* skeleton_ = nullptr;
    Bone* parent_ = nullptr;
    Bone* firstChild_ = nullptr;
    Bone* nextSibling_ = nullptr;
    PropertyList* properties_ = nullptr;
    int32_t wigglePower_ = 0;
    std::array<WiggleRecord, 4> wiggles_{};
    bool keyBone_ = false;
    Transform worldMatrix_;
};

class Skeleton : public CharacterObject {
public:
    explicit Skeleton(std::string name = {});
    // Takes off every practice, then every dressing.
    ~Skeleton() override;

    std::string name;
    std::string sourceFile;
    Transform placement;
    bool practicesChanged = true;
    bool boneBoxesReady = false;
    BoundingBox box = BoundingBox::Empty();

    Bone* Root() const { return root_; }
    int BoneCount() const { return static_cast<int>(bones_.size()); }
    Bone* BoneAt(int i) const { return bones_[i].get(); }

    // Takes the bone and hangs it under its parent (searched depth-first
    // from the root); a bone whose parent is not found becomes the root.
    Bone* AddBone(std::unique_ptr<Bone> bone);
    Bone* FindBone(const std::string& name) const;
    // A new skeleton of the same bones and poses; property lists are
    // shared.
    Skeleton* Clone() const;
    void SetPlacement(const Transform& transform) { placement = transform; }

    // Whoever owns this skeleton (a person's body), and the clock last
    // seen, which stamps the idle time of skills and suits let go.
    void* owner = nullptr;
    uint32_t clock = 0;

    // ---- practices ----
    // A practice of the skill at the clock, after every practice whose
    // priority is not greater. The skill's keyframes are the caller's to
    // load.
    chr::Practice* AddPractice(Skill& skill, int32_t priority, float speed, float weight, int32_t now);
    void RemovePractice(chr::Practice* practice);
    // Orders the practices when the set changed, updates each, then drops
    // the faded ones that asked to go.
    void UpdatePractices(int32_t now, bool apply);
    const std::vector<chr::Practice*>& Practices() const { return practices_; }
    // Local poses to world poses, and the box of the key bones' boxes.
    void UpdateTransforms();

    // ---- dressings ----
    // How skins become instances (the default hooks make one from a mesh
    // the skin already holds, without a render device).
    chr::DressingHooks* dressingHooks = nullptr;
    chr::Dressing* AddDressing(Suit& suit, const std::string& materialOverride, int32_t mask);
    void RemoveDressing(chr::Dressing* dressing);
    const std::vector<chr::Dressing*>& Dressings() const { return dressings_; }
    // The key bones' boxes from the vertices bound to them.
    void ComputeBoneBoxes();

private:
    std::vector<std::unique_ptr<Bone>> bones_;
    std::vector<chr::Practice*> practices_;
    std::vector<chr::Dressing*> dressings_;
    Bone* root_ = nullptr;
};

}  // namespace tova
