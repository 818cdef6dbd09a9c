// One deformable mesh of a skin: the bones it binds to, faces, bindings of
// vertex ranges to bones, texture coordinates, blends (a weight in 1/32768
// and a vertex) and vertices (position and normal). The first vertices pair
// with the texture coordinates; the rest are the blended ones.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Device3D;

namespace tova {

class Skeleton;
class Skin;

namespace chr {
class SkinInstance;
}  // namespace chr

struct MeshBinding {
    int32_t bone = 0;
    int32_t firstVertex = 0;
    int32_t vertexCount = 0;
    int32_t firstBlended = 0;
    int32_t blendedCount = 0;
    friend bool operator==(const MeshBinding&, const MeshBinding&) = default;
};

struct MeshBlend {
    int32_t weight = 0;
    int32_t vertex = 0;
    friend bool operator==(const MeshBlend&, const MeshBlend&) = default;
};

class BodyMesh {
public:
    // The most vertices a mesh may hold: render vertices are 16-bit indices.
    static constexpr int32_t kMaxVertices = 65535;

    std::string name;
    std::string material;
    std::vector<std::string> boneNames;
    std::vector<std::array<int32_t, 3>> faces;
    std::vector<MeshBinding> bindings;
    std::vector<std::array<float, 2>> texCoords;
    std::vector<MeshBlend> blends;
    std::vector<std::array<float, 6>> vertices;
    Skin* skin = nullptr;

    // The index of the name, added when it is not there yet.
    int AddBoneName(const std::string& bone);
    // Empty when every index points into what the mesh holds, else what is
    // wrong.
    std::string Check() const;

    // An instance of this mesh worn on the skeleton, with a render mesh on
    // the device when one is given. The override "part=material" gives the
    // material when `part` occurs in the name the skin asked for. Nothing
    // when the skeleton lacks a bone the mesh names or the mesh's indices
    // leave what it holds.
    std::unique_ptr<chr::SkinInstance> CreateInstance(Skeleton& skeleton, const std::string& materialOverride,
                                                      Device3D* device) const;
};

}  // namespace tova
