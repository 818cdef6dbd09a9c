#include "character/BodyMesh.h"

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

}  // namespace tova
