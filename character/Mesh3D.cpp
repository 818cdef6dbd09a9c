#include "character/Mesh3D.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

Vector3 Sub(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

// Equal values give equal keys (0 and -0 alike).
uint32_t Mesh3D::Bits(float f) {
    if (f == 0.0f) f = 0.0f;
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return bits;
}

uint32_t Mesh3D::AddPosition(const Vector3& p) {
    const Key3 key{Bits(p.x), Bits(p.y), Bits(p.z)};
    const auto [it, added] = positionIndex_.emplace(key, static_cast<uint32_t>(positions_.size()));
    if (added) {
        positions_.push_back(p);
        changed_ = true;
    }
    return it->second;
}

uint32_t Mesh3D::AddTexCoord(const MeshUV& uv) {
    const auto [it, added] = texCoordIndex_.emplace(std::make_pair(Bits(uv.u), Bits(uv.v)),
                                                    static_cast<uint32_t>(texCoords_.size()));
    if (added) {
        texCoords_.push_back(uv);
        changed_ = true;
    }
    return it->second;
}

uint32_t Mesh3D::AddMaterialName(const std::string& name) {
    const auto it = std::find(materials_.begin(), materials_.end(), name);
    if (it != materials_.end()) return static_cast<uint32_t>(it - materials_.begin());
    materials_.push_back(name);
    return static_cast<uint32_t>(materials_.size() - 1);
}

void Mesh3D::SetMaterial(const char* name) {
    current_ = name && *name ? static_cast<uint16_t>(std::min<uint32_t>(AddMaterialName(name), 0xFFFF)) : 0;
}

uint32_t Mesh3D::AddVertex(const MeshVertex& v, bool merge) {
    const std::array<uint32_t, 6> key{v.position,      v.texCoord,      Bits(v.normal.x),
                                      Bits(v.normal.y), Bits(v.normal.z), v.material};
    const uint32_t next = static_cast<uint32_t>(vertices_.size());
    if (merge) {
        const auto [it, added] = vertexIndex_.emplace(key, next);
        if (!added) return it->second;
    } else {
        vertexIndex_.emplace(key, next);
    }
    vertices_.push_back(v);
    changed_ = true;
    return next;
}

uint32_t Mesh3D::AddTriangle(const Vector3& p1, const MeshUV& uv1, const Vector3& p2, const MeshUV& uv2,
                             const Vector3& p3, const MeshUV& uv3, const char* material, bool merge) {
    const uint16_t m =
        material ? static_cast<uint16_t>(std::min<uint32_t>(AddMaterialName(material), 0xFFFF)) : current_;
    MeshTriangle t;
    t.material = m;
    const Vector3* p[3] = {&p1, &p2, &p3};
    const MeshUV* uv[3] = {&uv1, &uv2, &uv3};
    for (int i = 0; i < 3; ++i) {
        MeshVertex v;
        v.position = AddPosition(*p[i]);
        v.texCoord = AddTexCoord(*uv[i]);
        v.material = m;
        t.vertex[i] = AddVertex(v, merge);
    }
    triangles_.push_back(t);
    changed_ = true;
    return static_cast<uint32_t>(triangles_.size() - 1);
}

void Mesh3D::ComputeNormals() {
    for (MeshVertex& v : vertices_) v.normal = {};
    // Merging looks vertices up by their normal, which is changing now.
    vertexIndex_.clear();
    for (const MeshTriangle& t : triangles_) {
        const Vector3& a = positions_[vertices_[t.vertex[0]].position];
        const Vector3& b = positions_[vertices_[t.vertex[1]].position];
        const Vector3& c = positions_[vertices_[t.vertex[2]].position];
        const Vector3 n = Normalised(Cross(Sub(c, b), Sub(a, b)));
        for (uint32_t index : t.vertex) {
            Vector3& sum = vertices_[index].normal;
            sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
        }
    }
    for (MeshVertex& v : vertices_) v.normal = Normalised(v.normal);
    for (uint32_t i = 0; i < vertices_.size(); ++i) {
        const MeshVertex& v = vertices_[i];
        vertexIndex_.emplace(std::array<uint32_t, 6>{v.position, v.texCoord, Bits(v.normal.x), Bits(v.normal.y),
                                                     Bits(v.normal.z), v.material},
                             i);
    }
    changed_ = true;
}

void Mesh3D::ComputeBounds() {
    bounds_ = {};
    bool first = true;
    for (const MeshVertex& v : vertices_) {
        const Vector3& p = positions_[v.position];
        if (first) {
            bounds_ = {p.x, p.y, p.z, p.x, p.y, p.z};
            first = false;
            continue;
        }
        bounds_.minX = std::min(bounds_.minX, p.x), bounds_.maxX = std::max(bounds_.maxX, p.x);
        bounds_.minY = std::min(bounds_.minY, p.y), bounds_.maxY = std::max(bounds_.maxY, p.y);
        bounds_.minZ = std::min(bounds_.minZ, p.z), bounds_.maxZ = std::max(bounds_.maxZ, p.z);
    }
}
