#include "character/SkinInstance.h"

#include <cmath>

#include "character/BodyMesh.h"
#include "character/RenderMesh.h"
#include "character/Skeleton.h"
#include "character/Suit.h"
#include "tarn/TarnPipeline.h"

namespace tova::chr {

namespace {

constexpr float kSkinIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
constexpr float kSkinNoMove[3] = {0, 0, 0};

// The pipeline's state is shared by every caller: put back what was there.
class TarnStateKeeper {
public:
    TarnStateKeeper(const float* matrix, const float* translation, int in, int out)
        : matrix_(TarnSetMatrix(matrix)),
          translation_(TarnSetTranslation(translation)),
          in_(TarnSetInputStride(in)),
          out_(TarnSetOutputStride(out)) {}
    ~TarnStateKeeper() {
        TarnSetMatrix(matrix_);
        TarnSetTranslation(translation_);
        TarnSetInputStride(in_);
        TarnSetOutputStride(out_);
    }

private:
    const float* matrix_;
    const float* translation_;
    int in_, out_;
};

}  // namespace

std::string DeformProblem(const BodyMesh& mesh) {
    if (std::string problem = mesh.Check(); !problem.empty()) return problem;
    const int64_t count = static_cast<int64_t>(mesh.vertices.size());
    const int64_t plain = static_cast<int64_t>(mesh.texCoords.size());
    for (const MeshBinding& b : mesh.bindings) {
        if (b.blendedCount == 0) continue;
        if (b.firstBlended < 0 || b.blendedCount < 0 || plain + b.firstBlended + b.blendedCount > count) {
            return "binding blended vertices out of range";
        }
    }
    if (plain + static_cast<int64_t>(mesh.blends.size()) > count) return "more blends than blended vertices";
    return {};
}

SkinInstance::SkinInstance(Skeleton& skeleton, const BodyMesh& mesh, RenderDIPMesh* renderMesh)
    : skeleton_(&skeleton), mesh_(&mesh), renderMesh_(renderMesh) {}

SkinInstance::~SkinInstance() {
    for (Bone* bone : bones_) {
        if (bone != nullptr && bone->IsKeyBone()) {
            bone->boxValid = false;
            skeleton_->boneBoxesReady = false;
        }
    }
    if (renderMesh_ != nullptr) renderMesh_->Release();
}

std::vector<platform::Soft3DVertex>& SkinInstance::Vertices() {
    return renderMesh_ != nullptr ? renderMesh_->DeviceVertices() : ownVertices_;
}

const std::vector<platform::Soft3DVertex>& SkinInstance::Vertices() const {
    return renderMesh_ != nullptr ? renderMesh_->DeviceVertices() : ownVertices_;
}

void SkinInstance::Update(bool bindPose) {
    const Skin* skin = mesh_->skin;
    const bool joinsGroup = skin != nullptr && skin->suit != nullptr && skin->suit->type == 0;
    if (joinsGroup && renderMesh_ != nullptr) {
        renderMesh_->MarkChanged();
        Deform(bindPose);
        renderMesh_->Build();
    } else {
        Deform(bindPose);
    }
}

void SkinInstance::Deform(bool bindPose) {
    std::vector<platform::Soft3DVertex>& out = Vertices();
    const BodyMesh& m = *mesh_;
    const size_t count = m.vertices.size();
    // Meshes are checked when the instance is made; a render mesh whose
    // reservation failed is shorter, and is left alone.
    if (out.size() < count) return;
    const int32_t plain = static_cast<int32_t>(m.texCoords.size());
    for (size_t i = 0; i < m.bindings.size(); ++i) {
        const MeshBinding& b = m.bindings[i];
        const Bone* bone = i < bones_.size() ? bones_[i] : nullptr;
        const bool rest = bindPose || bone == nullptr;
        const float* matrix = rest ? kSkinIdentity : bone->rotationMatrix;
        const float* move = rest ? kSkinNoMove : &bone->worldTranslation.x;
        TarnStateKeeper keep(matrix, move, static_cast<int>(sizeof(m.vertices[0])),
                             static_cast<int>(sizeof(platform::Soft3DVertex)));
        auto deformRange = [&](int32_t first, int32_t n) {
            if (n <= 0) return;
            TarnTransformVertices(kTarnRotate | kTarnTranslate, n, &m.vertices[first][0], &out[first].x);
            TarnTransformVertices(kTarnRotate, n, &m.vertices[first][3], &out[first].nx);
        };
        deformRange(b.firstVertex, b.vertexCount);
        deformRange(b.firstBlended + plain, b.blendedCount);
    }
    for (size_t k = 0; k < m.blends.size(); ++k) {
        const MeshBlend& blend = m.blends[k];
        const platform::Soft3DVertex& source = out[plain + k];
        platform::Soft3DVertex& target = out[blend.vertex];
        if (blend.weight >= kFullWeight) {
            target.x = source.x, target.y = source.y, target.z = source.z;
            target.nx = source.nx, target.ny = source.ny, target.nz = source.nz;
        } else if (blend.weight > 0) {
            const float w = static_cast<float>(blend.weight), keep = static_cast<float>(kFullWeight - blend.weight);
            auto mix = [&](float t, float s) { return (t * keep + s * w) / kFullWeight; };
            target.x = mix(target.x, source.x), target.y = mix(target.y, source.y), target.z = mix(target.z, source.z);
            const Vector3 n = Normalised({mix(target.nx, source.nx), mix(target.ny, source.ny), mix(target.nz, source.nz)});
            target.nx = n.x, target.ny = n.y, target.nz = n.z;
        }
    }
    if (renderMesh_ != nullptr) {
        renderMesh_->SetGroupRange({0, static_cast<uint32_t>(plain - 1)}, 0);
        renderMesh_->SetBounds(skeleton_->box);
        renderMesh_->SetChanged(false);
    }
}

}  // namespace tova::chr
