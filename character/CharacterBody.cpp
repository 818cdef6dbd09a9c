#include "character/CharacterBody.h"

#include <algorithm>
#include <cmath>

#include "character/BodyMesh.h"
#include "character/CharacterLibrary.h"
#include "character/Material.h"
#include "character/Practice.h"
#include "character/PropertyList.h"
#include "character/RenderGroup.h"
#include "character/RenderMesh.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/SkinInstance.h"
#include "character/Suit.h"

namespace tova::chr {

namespace {

struct AttachmentRow {
    const char* name;
    float angle;
    Vector3 move;
};

const AttachmentRow kAttachmentRows[] = {
    {"Palm", 3.1415901f, {0.5f, 0, 0}},
    {"Top", -1.5707951f, {0.8f, 0, 0}},
    {"HeadFake", -1.5707951f, {0.8f, 0, 100}},
    {"Shoulder", 3.1415901f, {0, 0, 1}},
};

constexpr platform::Soft3DColor kSelectedColour{17 / 255.0f, 255 / 255.0f, 241 / 255.0f, 128 / 255.0f};
constexpr platform::Soft3DColor kNoColour{0, 0, 0, 0};

Transform FromPose(const PoseMatrix& p) {
    Transform t;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) t.m[r][c] = p.m[r][c];
    }
    t.kind = kTransformGeneral;
    return t;
}

PoseMatrix ToPose(const Transform& t) {
    PoseMatrix p;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) p.m[r][c] = t.m[r][c];
    }
    return p;
}

template <class Each>
void EachRenderMesh(VitaRenderGroup* group, Each each) {
    if (group == nullptr) return;
    for (size_t i = 0; i < group->ChildCount(); ++i) {
        if (auto* mesh = dynamic_cast<RenderMesh*>(group->GetChild(i))) each(*mesh);
    }
}

}  // namespace

// The people's record of a practice and what the body last told them, so
// that their changes can be told from the body's own.
struct CharacterBody::Record {
    std::unique_ptr<PracticeRef> ref;
    Practice* practice = nullptr;
    float time = 0, speed = 0, weight = 0;
    int rate = 0;
    bool fading = false;
};

class CharacterBody::Hooks : public DressingHooks {
public:
    explicit Hooks(CharacterBody& body) : body_(body) {}

    std::unique_ptr<SkinInstance> Attach(Skeleton& skeleton, Suit& suit, Bone&, Skin& skin,
                                         const std::string& materialOverride) override {
        if (skin.Mesh() == nullptr) {
            const CharacterFolders& folders = suit.searchList ? suit.searchList : body_.library_.SearchList();
            std::unique_ptr<BodyMesh> mesh = body_.library_.LoadMesh(folders, skin.meshName);
            if (mesh == nullptr) return nullptr;
            skin.SetMesh(std::move(mesh));
        }
        std::unique_ptr<SkinInstance> instance =
            skin.Mesh()->CreateInstance(skeleton, materialOverride, body_.device_);
        if (instance != nullptr && suit.type == 0 && instance->GetRenderMesh() != nullptr && body_.group_ != nullptr) {
            body_.group_->AddChild(instance->GetRenderMesh());
        }
        return instance;
    }

    void Detach(Skeleton&, Suit& suit, Bone&, Skin&, std::unique_ptr<SkinInstance> instance) override {
        if (instance != nullptr && suit.type == 0 && instance->GetRenderMesh() != nullptr && body_.group_ != nullptr) {
            body_.group_->RemoveChild(instance->GetRenderMesh());
        }
    }

private:
    CharacterBody& body_;
};

CharacterBody::CharacterBody(CharacterLibrary& library, Device3D* device, PersonAnimator* animator)
    : library_(library), device_(device), animator_(animator), hooks_(std::make_unique<Hooks>(*this)) {}

CharacterBody::~CharacterBody() {
    // The skeleton takes its practices and dressings along; the dressings
    // still need the group.
    ReleaseCharacterData(skeleton_);
    records_.clear();
    if (group_ != nullptr) group_->Release();
}

int CharacterBody::Init(void* callerValue, const std::string& skeleton, const std::string& suit,
                        const std::string& skill, int32_t now) {
    callerValue_ = callerValue;
    if (group_ == nullptr) group_ = new VitaRenderGroup(0);
    if (skeleton_ != nullptr) return 1;
    Skeleton* source = library_.GetSkeleton(skeleton);
    if (source == nullptr) return 1;
    skeleton_ = source->Clone();
    skeleton_->owner = this;
    skeleton_->dressingHooks = hooks_.get();
    skeleton_->clock = static_cast<uint32_t>(now);
    name_ = skeleton;
    if (!suit.empty()) {
        if (Suit* s = library_.GetSuit(suit)) skeleton_->AddDressing(*s, "", -1);
    }
    if (!skill.empty()) {
        if (Skill* k = library_.GetSkillData(skill)) AddPractice(*k, 1, 1.0f, 1.0f, now);
    }
    return 0;
}

void CharacterBody::SetScale(float sx, float sy, float sz) {
    scale_[0] = sx, scale_[1] = sy, scale_[2] = sz;
}

Practice* CharacterBody::AddPractice(Skill& skill, int32_t priority, float speed, float weight, int32_t now) {
    if (skeleton_ == nullptr) return nullptr;
    // Keyframes that cannot be read leave the bones alone; a later practice
    // tries the load again.
    library_.LoadKeyframes(skill);
    return skeleton_->AddPractice(skill, priority, speed, weight, now);
}

void CharacterBody::RemovePractice(Practice* practice) {
    if (skeleton_ == nullptr || practice == nullptr) return;
    if (updating_) {
        // An event is being reported by a practice: it goes after the update.
        practice->userData = nullptr;
        practice->weight = 0;
        leaving_.push_back(practice);
        return;
    }
    std::erase_if(records_, [&](const std::unique_ptr<Record>& r) { return r->practice == practice; });
    skeleton_->RemovePractice(practice);
}

Transform CharacterBody::World() const {
    Transform scale;
    scale.m[0][0] = scale_[0], scale.m[1][1] = scale_[1], scale.m[2][2] = scale_[2];
    scale.kind = kTransformGeneral;
    return MultiplyTransforms(scale, placement_);
}

void CharacterBody::Follow(const Transform& placement) {
    placement_ = placement;
    const Transform world = World();
    if (skeleton_ != nullptr) skeleton_->SetPlacement(world);
    if (group_ != nullptr) group_->SetTransform(world);
}

void CharacterBody::Update(const Transform& placement, int32_t now) {
    if (skeleton_ == nullptr) return;
    placement_ = placement;
    UpdatePractices(now);
    UpdateTransforms();
    group_->SetBounds(skeleton_->box);
    group_->SetChanged(false);
    Follow(placement);
    library_.ExpireUnused(static_cast<uint32_t>(now));
}

void CharacterBody::DeformSkins() {
    if (skeleton_ == nullptr) return;
    for (Dressing* dressing : skeleton_->Dressings()) {
        for (Dressing::Attachment& a : dressing->Attachments()) a.instance->Update(false);
    }
}

void CharacterBody::Draw(Viewport3D& viewport) {
    if (skeleton_ != nullptr && group_ != nullptr) group_->Render(viewport, 0);
}

void CharacterBody::DeformAndDraw(Viewport3D& viewport) {
    DeformSkins();
    Draw(viewport);
}

void CharacterBody::Draw() {
    if (viewport_ != nullptr) Draw(*viewport_);
}

std::optional<CharacterBody::Attachment> CharacterBody::GetAttachment(const std::string& bone,
                                                                      const std::string& name) const {
    if (skeleton_ == nullptr) return std::nullopt;
    Attachment a;
    a.bone = skeleton_->FindBone(bone);
    if (a.bone == nullptr) return std::nullopt;
    if (name.empty()) return a;
    for (const AttachmentRow& row : kAttachmentRows) {
        if (name == row.name) {
            a.offset = MultiplyTransforms(MakeRotationMatrix(2, row.angle), MakeTranslationTransform(row.move));
            return a;
        }
    }
    return std::nullopt;
}

Transform CharacterBody::AttachmentTransform(const Attachment& attachment) const {
    const Transform onBone = MultiplyTransforms(attachment.offset, attachment.bone->GetWorldMatrix());
    return MultiplyTransforms(onBone, skeleton_->placement);
}

Vector3 CharacterBody::AttachmentPosition(const Attachment& attachment) const {
    const Transform t = AttachmentTransform(attachment);
    return {t.m[3][0], t.m[3][1], t.m[3][2]};
}

void CharacterBody::SetMeshRenderMode(int32_t mode) {
    const int32_t effective = mode == 0 && selected_ ? 1 : mode;
    EachRenderMesh(group_, [&](RenderMesh& mesh) { mesh.SetMode(effective); });
}

void CharacterBody::SetSelected(bool on) {
    selected_ = on;
    EachRenderMesh(group_, [&](RenderMesh& mesh) {
        if (on) {
            if (mesh.GetMode() == 0) mesh.SetMode(1);
            mesh.SetBlended(mesh.GetMode() == 2);
        } else {
            mesh.SetMode(RenderMesh::GetDefaultMode());
            mesh.SetBlended(false);
        }
        for (size_t g = 0; g < mesh.GroupCount(); ++g) {
            Material* material = mesh.GetGroup(g).material;
            if (material == nullptr) continue;
            MaterialDescription d = material->Description();
            d.diffuse = d.ambient = kSelectedColour;
            d.specular = d.emissive = on ? kSelectedColour : kNoColour;
            material->SetDescription(d);
        }
    });
}

// ---- the people's view ----

PracticeRef* CharacterBody::AddPractice(const iSkill& skill, int rate, float speed, float weight, int32_t clock) {
    if (skeleton_ == nullptr) return nullptr;
    Skill* data = library_.GetSkillData(skill.GetName());
    if (data == nullptr || !library_.LoadKeyframes(*data)) return nullptr;
    Practice* practice = skeleton_->AddPractice(*data, rate, speed, weight, clock);
    practice->loopMode = skill.Loops() ? Practice::kLoop : Practice::kPlayOnce;
    auto record = std::make_unique<Record>();
    record->ref = std::make_unique<PracticeRef>();
    PracticeRef& ref = *record->ref;
    ref.skill = &skill;
    ref.body = this;
    ref.rate = rate;
    ref.speed = speed;
    ref.weight = weight;
    ref.fadeStart = clock;
    record->practice = practice;
    practice->userData = record.get();
    SyncOut(*record);
    records_.push_back(std::move(record));
    return &ref;
}

void CharacterBody::RemovePractice(PracticeRef* practice) {
    for (const auto& r : records_) {
        if (r->ref.get() == practice) {
            RemovePractice(r->practice);
            return;
        }
    }
}

void CharacterBody::SyncIn(Record& r) {
    PracticeRef& ref = *r.ref;
    Practice& p = *r.practice;
    if (ref.rate != r.rate) p.SetPriority(ref.rate);
    if (ref.speed != r.speed) p.SetSpeed(ref.speed);
    if (ref.weight != r.weight) p.weight = ref.weight;
    if (ref.time != r.time) p.SetPhase(ref.time);
    if (ref.fadeTime > 0 && !r.fading) {
        r.fading = true;
        p.FadeOut(ref.fadeStart, static_cast<int32_t>(ref.fadeTime), p.weight);
    }
    p.removeWhenFaded = ref.removeWhenFaded;
}

void CharacterBody::SyncOut(Record& r) {
    PracticeRef& ref = *r.ref;
    const Practice& p = *r.practice;
    ref.time = r.time = p.phase;
    ref.speed = r.speed = p.speed;
    ref.weight = r.weight = p.weight;
    ref.rate = r.rate = p.priority;
    ref.finished = p.finished;
}

void CharacterBody::UpdatePractices(int32_t clock) {
    if (skeleton_ == nullptr) return;
    for (const auto& r : records_) SyncIn(*r);
    updating_ = true;
    skeleton_->UpdatePractices(clock, true);
    updating_ = false;
    // Practices the skeleton let go of (faded out), and those removed while
    // their events were reported.
    const std::vector<Practice*>& live = skeleton_->Practices();
    std::erase_if(records_, [&](const std::unique_ptr<Record>& r) {
        return std::find(live.begin(), live.end(), r->practice) == live.end();
    });
    std::vector<Practice*> leaving;
    leaving.swap(leaving_);
    for (Practice* p : leaving) RemovePractice(p);
    for (const auto& r : records_) SyncOut(*r);
}

void CharacterBody::UpdateTransforms() {
    if (skeleton_ == nullptr) return;
    if (!skeleton_->boneBoxesReady) skeleton_->ComputeBoneBoxes();
    // Turns sit on top of the animated pose for this pass only.
    std::vector<std::pair<Bone*, Quaternion>> kept;
    for (const auto& [name, angle] : turns_) {
        Bone* bone = skeleton_->FindBone(name);
        if (bone == nullptr) continue;
        kept.emplace_back(bone, bone->rotation);
        const Quaternion turn{0, std::sin(angle / 2), 0, std::cos(angle / 2)};
        bone->rotation = Multiply(bone->rotation, turn);
    }
    skeleton_->UpdateTransforms();
    for (const auto& [bone, rotation] : kept) bone->rotation = rotation;
}

bool CharacterBody::BonePosition(const std::string& name, float out[3]) const {
    const Bone* bone = skeleton_ != nullptr ? skeleton_->FindBone(name) : nullptr;
    if (bone == nullptr) return false;
    const Vector3 p = TransformPoint3(bone->worldTranslation, World());
    out[0] = p.x, out[1] = p.y, out[2] = p.z;
    return true;
}

bool CharacterBody::MakeAttachmentPoint(const std::string& id, const std::string& bone, const std::string& point) {
    std::optional<Attachment> a = GetAttachment(bone, point);
    if (!a) return false;
    points_[id] = *a;
    return true;
}

void CharacterBody::RemoveAttachmentPoint(const std::string& id) { points_.erase(id); }

bool CharacterBody::AttachmentPosition(const std::string& id, float out[3]) const {
    auto it = points_.find(id);
    if (it == points_.end()) return false;
    const Vector3 p = AttachmentPosition(it->second);
    out[0] = p.x, out[1] = p.y, out[2] = p.z;
    return true;
}

void CharacterBody::TurnBone(const std::string& bone, float angle) {
    if (angle == 0) {
        turns_.erase(bone);
    } else {
        turns_[bone] = angle;
    }
}

bool CharacterBody::AddDressing(const std::string& suit, const std::string& texture, int) {
    if (skeleton_ == nullptr || suit.empty()) return false;
    Suit* s = library_.GetSuit(suit);
    if (s == nullptr) return false;
    // A bare texture dresses every skin; "part=texture" only the matching.
    const std::string materialOverride =
        texture.empty() || texture.find('=') != std::string::npos ? texture : "=" + texture;
    skeleton_->AddDressing(*s, materialOverride, -1);
    return true;
}

void CharacterBody::RemoveDressing(const std::string& suit) {
    if (skeleton_ == nullptr) return;
    const std::vector<Dressing*> worn = skeleton_->Dressings();
    for (Dressing* d : worn) {
        if (d->GetSuit().name == suit) skeleton_->RemoveDressing(d);
    }
}

std::vector<WornMesh> CharacterBody::DressingMeshes() const {
    std::vector<WornMesh> out;
    if (skeleton_ == nullptr) return out;
    const PoseMatrix world = ToPose(World());
    for (const Dressing* d : skeleton_->Dressings()) {
        for (const Dressing::Attachment& a : d->Attachments()) out.push_back({a.instance.get(), world});
    }
    return out;
}

std::vector<std::array<float, 3>> CharacterBody::SuitVertices(const std::string& suit) const {
    std::vector<std::array<float, 3>> out;
    if (skeleton_ == nullptr) return out;
    const Transform world = World();
    for (const Dressing* d : skeleton_->Dressings()) {
        if (d->GetSuit().name != suit) continue;
        for (const Dressing::Attachment& a : d->Attachments()) {
            for (const platform::Soft3DVertex& v : a.instance->Vertices()) {
                const Vector3 p = TransformPoint3({v.x, v.y, v.z}, world);
                out.push_back({p.x, p.y, p.z});
            }
        }
    }
    return out;
}

void CharacterBody::SetPlacement(const float position[3], float orientation, int32_t) {
    Follow(FromPose(PoseMatrix::TurnY(orientation) * PoseMatrix::Translate(position[0], position[1], position[2])));
}

bool CharacterBody::Bounds(float min[3], float max[3]) const {
    if (skeleton_ == nullptr || skeleton_->box.minX > skeleton_->box.maxX) return false;
    BoundingBox box = BoundingBox::Empty();
    box.ExtendByTransformedBox(skeleton_->box, World());
    min[0] = box.minX, min[1] = box.minY, min[2] = box.minZ;
    max[0] = box.maxX, max[1] = box.maxY, max[2] = box.maxZ;
    return true;
}

PoseMatrix CharacterBody::GetTransform() const { return ToPose(World()); }

void CharacterBody::InstallEventHook() { SetPracticeEventHook(&OnPracticeEvent, nullptr); }

void CharacterBody::OnPracticeEvent(void*, Practice& practice, Bone&, Motion& motion, PropertyList& properties,
                                    float phase) {
    auto* record = static_cast<Record*>(practice.userData);
    if (record == nullptr || record->ref->skill == nullptr) return;
    for (const SkillTrack& track : record->ref->skill->Motions()) {
        if (track.bone != motion.boneName) continue;
        std::vector<EventPair> pairs;
        for (int i = 0; i < properties.Count(); ++i) pairs.push_back({properties.Key(i), properties.Value(i)});
        OnAnimationEvents(*record->ref, track, pairs, phase);
        return;
    }
}

}  // namespace tova::chr
