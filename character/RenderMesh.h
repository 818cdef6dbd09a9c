// Meshes as render objects: a RenderMesh turns its Mesh3D into device
// vertices (32 bytes: position, normal, u, v) and up to 24 material groups,
// each an index list over a vertex range with one material from the
// device's material library. The two concrete kinds draw each group as an
// indexed triangle list: RenderDIPVBMesh from a vertex buffer it fills when
// built, RenderDIPMesh (people's skins) straight from the vertex list the
// skin deformation writes.
//
// Modes: 0 the texture alone, unlit; 1 the texture times the lit material;
// 2 as 1 with linear filtering forced. The blended flag, apart from the
// mode, mixes with what is behind by the source colour.
#pragma once

#include "character/Mesh3D.h"
#include "character/RenderObject.h"
#include "platform/Soft3DDevice.h"

#include <cstdint>
#include <utility>
#include <vector>

class Material;

class RenderMesh : public ConcreteRenderObject {
public:
    static constexpr size_t kMaxGroups = 24;
    // 16-bit indices reach this many vertices.
    static constexpr size_t kMaxVertices = 65536;

    struct Group {
        std::vector<uint16_t> indices;
        uint32_t first = UINT32_MAX, last = 0;  // the vertex range used
        Material* material = nullptr;
    };

    explicit RenderMesh(Device3D& device);

    const BoundingBox& GetBounds() override { return bounds_; }
    // For writers of device vertices, whose box comes from elsewhere.
    void SetBounds(const BoundingBox& bounds) { bounds_ = bounds; }
    bool NeedsBoundsUpdate() override { return changed_; }
    // Rebuilds the device data from the mesh where it changed; more than 24
    // material groups or more vertices than 16-bit indices reach are
    // refused with 0x9B0B000F and nothing is built.
    virtual uint32_t Build() = 0;

    // Marks the mesh for rebuilding and hands it out for editing.
    Mesh3D& MarkChanged() {
        needsBuild_ = true;
        return mesh_;
    }
    const Mesh3D& GetMesh() const { return mesh_; }
    bool NeedsBuild() const { return needsBuild_; }

    // A material from the device for each material name of the mesh
    // ("default" for a mesh without names); a name without one gets
    // "Flesh". Builds the mesh when it was marked.
    uint32_t BindMaterials();

    void SetMode(int32_t mode) { mode_ = mode; }
    int32_t GetMode() const { return mode_; }
    static void SetDefaultMode(int32_t mode);
    static int32_t GetDefaultMode();
    void SetBlended(bool on) { blended_ = on; }
    bool IsBlended() const { return blended_; }
    void SetWrap(bool u, bool v) { wrapU_ = u, wrapV_ = v; }

    // For writers of device vertices (the skin deformation): zero-filled;
    // false when memory runs out or past the limits.
    bool ReserveVertices(size_t n);
    bool ReserveGroupIndices(size_t n, size_t group);
    void SetGroupRange(std::pair<uint32_t, uint32_t> range, size_t group);
    std::vector<platform::Soft3DVertex>& DeviceVertices() { return vertices_; }
    size_t GroupCount() const { return groups_.size(); }
    Group& GetGroup(size_t i) { return groups_.at(i); }

protected:
    ~RenderMesh() override;
    // Groups and the device vertex list again from the mesh.
    uint32_t Regroup();
    // When the mesh changed: its bounds become ours and the groups are
    // rebuilt. Clears the needs-build flag.
    uint32_t RebuildFromMesh();
    // The visibility test and one indexed draw per group from `vertices`.
    uint32_t DrawGroups(Viewport3D& viewport, int pass, const platform::Soft3DVertex* vertices, size_t count);

    Mesh3D mesh_;
    bool needsBuild_ = true;
    bool wrapU_ = true, wrapV_ = true;
    bool blended_ = false;
    int32_t mode_;
    std::vector<platform::Soft3DVertex> vertices_;
    std::vector<Group> groups_;
    BoundingBox bounds_;
};

class RenderDIPVBMesh : public RenderMesh {
public:
    explicit RenderDIPVBMesh(Device3D& device) : RenderMesh(device) {}
    uint32_t Draw(Viewport3D& viewport, int pass) override;
    uint32_t Build() override;

private:
    std::vector<platform::Soft3DVertex> buffer_;
};

class RenderDIPMesh : public RenderMesh {
public:
    explicit RenderDIPMesh(Device3D& device) : RenderMesh(device) {}
    uint32_t Draw(Viewport3D& viewport, int pass) override;
    uint32_t Build() override;
};
