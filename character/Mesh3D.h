// An editable mesh: unique positions, texture coordinates and material
// names, vertices that pair a position with a texture coordinate (plus a
// normal and a material), and triangles of three vertices. Render meshes
// (RenderMesh.h) turn it into device vertices and index lists.
#pragma once

#include "tarn/Transform.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct MeshUV {
    float u = 0, v = 0;
};

struct MeshVertex {
    uint32_t position = 0;
    uint32_t texCoord = 0;
    Vector3 normal;
    uint16_t material = 0;
};

struct MeshTriangle {
    uint32_t vertex[3] = {0, 0, 0};
    uint16_t material = 0;
};

class Mesh3D {
public:
    // The index of an equal entry, or of the one appended.
    uint32_t AddPosition(const Vector3& p);
    uint32_t AddTexCoord(const MeshUV& uv);
    uint32_t AddMaterialName(const std::string& name);
    // Null or empty selects index 0; another name is added when new.
    void SetMaterial(const char* name);
    uint16_t CurrentMaterial() const { return current_; }
    // Appends, or with `merge` answers an equal existing vertex.
    uint32_t AddVertex(const MeshVertex& vertex, bool merge);
    // Three vertices of the given (or, for null, the current) material; the
    // triangle's index.
    uint32_t AddTriangle(const Vector3& p1, const MeshUV& uv1, const Vector3& p2, const MeshUV& uv2,
                         const Vector3& p3, const MeshUV& uv3, const char* material, bool merge);
    // Each vertex normal: the normalised sum of the face normals around it.
    void ComputeNormals();
    void ComputeBounds();

    const std::vector<Vector3>& Positions() const { return positions_; }
    const std::vector<MeshUV>& TexCoords() const { return texCoords_; }
    const std::vector<std::string>& MaterialNames() const { return materials_; }
    const std::vector<MeshVertex>& Vertices() const { return vertices_; }
    const std::vector<MeshTriangle>& Triangles() const { return triangles_; }
    const BoundingBox& Bounds() const { return bounds_; }
    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }

private:
    using Key3 = std::array<uint32_t, 3>;
    static uint32_t Bits(float f);

    std::vector<Vector3> positions_;
    std::vector<MeshUV> texCoords_;
    std::vector<std::string> materials_;
    std::vector<MeshVertex> vertices_;
    std::vector<MeshTriangle> triangles_;
    std::map<Key3, uint32_t> positionIndex_;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> texCoordIndex_;
    std::map<std::array<uint32_t, 6>, uint32_t> vertexIndex_;
    BoundingBox bounds_;
    bool changed_ = true;
    uint16_t current_ = 0;
};
