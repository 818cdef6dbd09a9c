// A person's body: a private clone of a library skeleton, the practices
// and dressings on it, and the render group that collects the worn skins'
// render meshes and is drawn as one. For the people it is their character
// body: practices started from skills by name, kept in step with the
// records the people hold, suits worn by name, bones and attachment points
// in world space.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "character/Dressing.h"
#include "simulation/people/CharacterLibrary.h"
#include "tarn/Transform.h"

class Device3D;
class VitaRenderGroup;
class Viewport3D;

namespace tova {

class Bone;
class CharacterLibrary;
class Motion;
class PropertyList;
class Skeleton;
class Skill;

namespace chr {

class Practice;

class CharacterBody : public iCharacterBody {
public:
    struct Attachment {
        Bone* bone = nullptr;
        Transform offset;
    };

    // Skins get render meshes on the device when one is given.
    CharacterBody(CharacterLibrary& library, Device3D* device, PersonAnimator* animator = nullptr);
    ~CharacterBody() override;
    CharacterBody(const CharacterBody&) = delete;
    CharacterBody& operator=(const CharacterBody&) = delete;

    // Clones the skeleton, wears the suit and plays the skill (each when
    // named and known). 1, and an empty body, for an unknown skeleton.
    int Init(void* callerValue, const std::string& skeleton, const std::string& suit, const std::string& skill,
             int32_t now = 0);
    void SetScale(float sx, float sy, float sz);
    Practice* AddPractice(Skill& skill, int32_t priority, float speed, float weight, int32_t now);
    void RemovePractice(Practice* practice);
    // Practices to the clock, bone boxes, world poses, then the group and
    // the skeleton follow the placement; the library's expiry runs.
    void Update(const Transform& placement, int32_t now);
    void DeformSkins();
    void Draw(Viewport3D& viewport);
    void DeformAndDraw(Viewport3D& viewport);
    std::optional<Attachment> GetAttachment(const std::string& bone, const std::string& name) const;
    Transform AttachmentTransform(const Attachment& attachment) const;
    Vector3 AttachmentPosition(const Attachment& attachment) const;
    void SetMeshRenderMode(int32_t mode);

    Skeleton* GetSkeleton() const { return skeleton_; }
    VitaRenderGroup* Group() const { return group_; }
    void* CallerValue() const { return callerValue_; }
    bool IsSelected() const { return selected_; }
    const std::string& Name() const { return name_; }
    // The world transform: scale, then placement.
    Transform World() const;
    // Where Draw() without a viewport draws (null: nowhere).
    void SetViewport(Viewport3D* viewport) { viewport_ = viewport; }

    // Makes practices report their events to the people, through the
    // records the bodies keep.
    static void InstallEventHook();

    // ---- iCharacterBody ----
    PersonAnimator* GetAnimator() const override { return animator_; }
    PracticeRef* AddPractice(const iSkill& skill, int rate, float speed, float weight, int32_t clock) override;
    void RemovePractice(PracticeRef* practice) override;
    bool AddDressing(const std::string& suit, const std::string& texture, int level) override;
    void RemoveDressing(const std::string& suit) override;
    void UpdatePractices(int32_t clock) override;
    void UpdateTransforms() override;
    bool BonePosition(const std::string& bone, float out[3]) const override;
    bool MakeAttachmentPoint(const std::string& id, const std::string& bone, const std::string& point) override;
    void RemoveAttachmentPoint(const std::string& id) override;
    bool AttachmentPosition(const std::string& id, float out[3]) const override;
    void TurnBone(const std::string& bone, float angle) override;
    void SetSelected(bool selected) override;
    void UpdateSkins() override { DeformSkins(); }
    std::vector<WornMesh> DressingMeshes() const override;
    std::vector<std::array<float, 3>> SuitVertices(const std::string& suit) const override;
    void SetPlacement(const float position[3], float orientation, int32_t clock) override;
    bool Bounds(float min[3], float max[3]) const override;
    PoseMatrix GetTransform() const override;
    void Draw() override;

private:
    class Hooks;
    struct Record;
    friend class Hooks;

    static void OnPracticeEvent(void* context, Practice& practice, Bone& bone, Motion& motion,
                                PropertyList& properties, float phase);
    void SyncIn(Record& record);
    void SyncOut(Record& record);
    void Follow(const Transform& placement);

    CharacterLibrary& library_;
    Device3D* device_;
    PersonAnimator* animator_;
    std::unique_ptr<Hooks> hooks_;
    Skeleton* skeleton_ = nullptr;
    void* callerValue_ = nullptr;
    VitaRenderGroup* group_ = nullptr;
    std::string name_;
    Transform placement_;
    float scale_[3] = {1, 1, 1};
    bool selected_ = false;
    Viewport3D* viewport_ = nullptr;
    std::vector<std::unique_ptr<Record>> records_;
    std::vector<Practice*> leaving_;
    bool updating_ = false;
    std::map<std::string, Attachment> points_;
    std::map<std::string, float> turns_;
};

}  // namespace chr
}  // namespace tova
