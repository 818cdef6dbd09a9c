// One skin's mesh worn on a skeleton: the bones its bindings name, and the
// render mesh the deformation writes each frame (rigid per-bone moves, then
// weighted blends between two vertices). Without a render device the
// vertices are kept by the instance itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Soft3DDevice.h"
#include "tarn/Transform.h"

class Device3D;
class RenderDIPMesh;

namespace tova {

class Bone;
class BodyMesh;
class Skeleton;

namespace chr {

class SkinInstance {
public:
    // Blend weights are in 1/32768.
    static constexpr int32_t kFullWeight = 32768;

    SkinInstance(Skeleton& skeleton, const BodyMesh& mesh, RenderDIPMesh* renderMesh);
    // Lets go of the render mesh; the key bones' boxes are no longer valid.
    ~SkinInstance();
    SkinInstance(const SkinInstance&) = delete;
    SkinInstance& operator=(const SkinInstance&) = delete;

    // Deforms the mesh by the bones' world poses (by nothing with
    // `bindPose`) into the render vertices; rebuilds the render mesh when
    // its suit joins the body's render group.
    void Update(bool bindPose);

    Skeleton& GetSkeleton() const { return *skeleton_; }
    const BodyMesh& Mesh() const { return *mesh_; }
    RenderDIPMesh* GetRenderMesh() const { return renderMesh_; }
    std::vector<Bone*>& Bones() { return bones_; }
    const std::vector<Bone*>& Bones() const { return bones_; }
    std::vector<platform::Soft3DVertex>& Vertices();
    const std::vector<platform::Soft3DVertex>& Vertices() const;
    BoundingBox box = BoundingBox::Empty();

private:
    void Deform(bool bindPose);

    Skeleton* skeleton_;
    const BodyMesh* mesh_;
    RenderDIPMesh* renderMesh_;
    std::vector<platform::Soft3DVertex> ownVertices_;
    std::vector<Bone*> bones_;
};

// Why the mesh cannot be deformed safely (an index outside what it
// holds), or empty.
std::string DeformProblem(const BodyMesh& mesh);

}  // namespace chr
}  // namespace tova
