#include "character/BodyPicture.h"

#include <algorithm>
#include <cmath>

#include "character/Camera.h"
#include "character/CharacterBody.h"
#include "character/RenderGroup.h"
#include "character/Skeleton.h"
#include "character/Viewport3D.h"

namespace tova::chr {

namespace {

constexpr float kPictureFieldOfView = 0.7853982f;
// A forearm and hand's length: what a pose may reach beyond the bones.
constexpr float kReach = 0.3f;

}  // namespace

uint32_t LookAtBox(Viewport3D& viewport, const BoundingBox& box) {
    const Vector3 centre{(box.minX + box.maxX) / 2, (box.minY + box.maxY) / 2, (box.minZ + box.maxZ) / 2};
    const float dx = box.maxX - box.minX, dy = box.maxY - box.minY, dz = box.maxZ - box.minZ;
    const float radius = std::max(0.5f * std::sqrt(dx * dx + dy * dy + dz * dz), 1e-3f);
    const float distance = radius / std::sin(kPictureFieldOfView / 2) * 1.15f;
    Vector3 direction{0.55f, -0.5f, 0.67f};
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    direction = {direction.x / length, direction.y / length, direction.z / length};
    const Vector3 position{centre.x - direction.x * distance, centre.y - direction.y * distance,
                           centre.z - direction.z * distance};
    Camera* camera = nullptr;
    const float front = std::max(distance - 2 * radius, distance * 0.05f);
    if (const uint32_t code =
            viewport.CreateCamera(position, direction, front, distance + 2 * radius, kPictureFieldOfView, &camera))
        return code;
    const uint32_t code = viewport.SetCurrentCamera(camera);
    camera->Release();  // the viewport keeps it
    return code;
}

BoundingBox BodyViewBox(const CharacterBody& body) {
    BoundingBox box = BoundingBox::Empty();
    const Skeleton* s = body.GetSkeleton();
    if (s == nullptr) return {};
    const Transform world = body.World();
    auto grow = [&](const Vector3& p) {
        box.minX = std::min(box.minX, p.x - kReach), box.maxX = std::max(box.maxX, p.x + kReach);
        box.minY = std::min(box.minY, p.y - kReach), box.maxY = std::max(box.maxY, p.y + kReach);
        box.minZ = std::min(box.minZ, p.z - kReach), box.maxZ = std::max(box.maxZ, p.z + kReach);
    };
    for (int i = 0; i < s->BoneCount(); ++i) grow(TransformPoint3(s->BoneAt(i)->worldTranslation, world));
    if (s->box.minX <= s->box.maxX) box.ExtendByTransformedBox(s->box, world);
    return box;
}

BodyPicture::BodyPicture(const std::string& textureFolder, const std::vector<LightRecord>& lights) {
    status_ = anim_.InitOwn(nullptr, false, false, kSide, kSide, 16, 1);
    if (status_ != 0) return;
    anim_.TexturePath() = cRZSearchPath(textureFolder.c_str());
    status_ = device_.Init(anim_);
    if (status_ == 0) status_ = device_.CreateViewport(nullptr, &viewport_);
    if (status_ == 0) status_ = viewport_->SetLights(lights);
}

BodyPicture::~BodyPicture() = default;

uint32_t BodyPicture::Frame(const CharacterBody& body) {
    if (status_ != 0) return status_;
    return LookAtBox(*viewport_, BodyViewBox(body));
}

cRZRect BodyPicture::Draw(CharacterBody& body) {
    anim_.GetRenderTarget()->Fill(nullptr, platform::PackRgb(platform::PixelLayout::Rgb565, 24, 32, 56));
    anim_.GetZBuffer()->Fill(nullptr, 0xFFFF);
    if (status_ != 0 || body.Group() == nullptr) return kEmptyScreenRect;
    body.DeformSkins();
    if (viewport_->BeginScene(true) != 0) return kEmptyScreenRect;
    body.Draw(*viewport_);
    viewport_->EndScene();
    return body.Group()->ScreenRect();
}

platform::Image BodyPicture::Picture() const { return platform::ImageFromSurface(*anim_.GetRenderTarget()); }

}  // namespace tova::chr
