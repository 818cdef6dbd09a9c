#include "character/BodyMesh.h"

#include "character/RenderMesh.h"
#include "character/Skeleton.h"
#include "character/SkinInstance.h"
#include "character/Suit.h"

namespace tova {

int BodyMesh::AddBoneName(const std::string& bone) {
    for (size_t i = 0; i < boneNames.size(); ++i) {
        if (boneNames[i] == bone) return static_cast<int>(i);
    }
    boneNames.push_back(bone);
    return static_cast<int>(boneNames.size()) - 1;
}

std::string BodyMesh::Check() const {
    const int64_t count = static_cast<int64_t>(vertices.size());
    if (count > kMaxVertices) return "more than 65535 vertices";
    if (static_cast<int64_t>(texCoords.size()) > count) return "more texture coordinates than vertices";
    for (const auto& f : faces) {
        for (int32_t v : f) {
            if (v < 0 || v >= count) return "face vertex out of range";
        }
    }
    auto inRange = [&](int64_t first, int64_t n) { return first >= 0 && n >= 0 && first + n <= count; };
    for (const MeshBinding& b : bindings) {
        if (b.bone < 0 || b.bone >= static_cast<int32_t>(boneNames.size())) return "binding bone out of range";
        if (!inRange(b.firstVertex, b.vertexCount)) return "binding vertices out of range";
        if (b.blendedCount != 0 && !inRange(b.firstBlended, b.blendedCount)) return "binding blends out of range";
    }
    for (const MeshBlend& b : blends) {
        if (b.vertex < 0 || b.vertex >= count) return "blend vertex out of range";
    }
    return {};
}

std::unique_ptr<chr::SkinInstance> BodyMesh::CreateInstance(Skeleton& skeleton, const std::string& materialOverride,
                                                            Device3D* device) const {
    if (!chr::DeformProblem(*this).empty()) return nullptr;
    std::vector<Bone*> bones;
    for (const std::string& boneName : boneNames) {
        Bone* bone = skeleton.FindBone(boneName);
        if (bone == nullptr) return nullptr;
        bones.push_back(bone);
    }

    std::string chosen;
    const std::string& asked = skin != nullptr ? skin->meshName : name;
    if (const size_t sign = materialOverride.find('='); sign != std::string::npos) {
        if (asked.find(materialOverride.substr(0, sign)) != std::string::npos) chosen = materialOverride.substr(sign + 1);
    }

    RenderDIPMesh* renderMesh = nullptr;
    if (device != nullptr) {
        renderMesh = new RenderDIPMesh(*device);
        renderMesh->MarkChanged().SetMaterial(chosen.empty() ? material.c_str() : chosen.c_str());
        renderMesh->BindMaterials();
    }
    auto instance = std::make_unique<chr::SkinInstance>(skeleton, *this, renderMesh);
    std::vector<platform::Soft3DVertex>* out = &instance->Vertices();
    bool filled = true;
    if (renderMesh != nullptr) {
        filled = renderMesh->ReserveVertices(vertices.size());
    } else {
        out->assign(vertices.size(), platform::Soft3DVertex{});
    }
    if (filled) {
        for (size_t i = 0; i < vertices.size(); ++i) {
            const auto& v = vertices[i];
            const bool mapped = i < texCoords.size();
            (*out)[i] = {v[0], v[1], v[2], v[3], v[4], v[5], mapped ? texCoords[i][0] : 0.f,
                         mapped ? texCoords[i][1] : 0.f};
        }
    }
    if (filled && renderMesh != nullptr && renderMesh->ReserveGroupIndices(3 * faces.size(), 0)) {
        std::vector<uint16_t>& indices = renderMesh->GetGroup(0).indices;
        for (size_t f = 0; f < faces.size(); ++f) {
            for (int k = 0; k < 3; ++k) indices[3 * f + k] = static_cast<uint16_t>(faces[f][k]);
        }
        renderMesh->SetGroupRange({0, static_cast<uint32_t>(texCoords.size()) - 1}, 0);
        renderMesh->SetTransform(kIdentityTransform);
        renderMesh->SetBounds(BoundingBox::Empty());
        renderMesh->MarkChanged().SetChanged(false);
        renderMesh->SetChanged(false);
        renderMesh->Build();
    }

    for (Bone* bone : bones) {
        if (bone->IsKeyBone()) {
            bone->boxValid = false;
            skeleton.boneBoxesReady = false;
        }
    }
    instance->Bones() = std::move(bones);
    return instance;
}

}  // namespace tova
