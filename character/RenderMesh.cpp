#include "character/RenderMesh.h"

#include "character/Device3D.h"
#include "character/DirectXErrorText.h"
#include "character/Material.h"
#include "character/Viewport3D.h"

#include <algorithm>
#include <new>

namespace {

int32_t gDefaultMode = 0;

}  // namespace

RenderMesh::RenderMesh(Device3D& device) : ConcreteRenderObject(device), mode_(gDefaultMode) {}

RenderMesh::~RenderMesh() {
    for (Group& g : groups_)
        if (g.material) g.material->Release();
}

void RenderMesh::SetDefaultMode(int32_t mode) { gDefaultMode = mode; }
int32_t RenderMesh::GetDefaultMode() { return gDefaultMode; }

bool RenderMesh::ReserveVertices(size_t n) {
    if (n > kMaxVertices) return false;
    try {
        vertices_.assign(n, platform::Soft3DVertex{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool RenderMesh::ReserveGroupIndices(size_t n, size_t group) {
    if (group >= kMaxGroups) return false;
    try {
        if (groups_.size() <= group) groups_.resize(group + 1);
        groups_[group].indices.assign(n, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void RenderMesh::SetGroupRange(std::pair<uint32_t, uint32_t> range, size_t group) {
    if (group >= groups_.size()) return;
    groups_[group].first = range.first;
    groups_[group].last = range.second;
}

uint32_t RenderMesh::Regroup() {
    const auto& triangles = mesh_.Triangles();
    const auto& vertices = mesh_.Vertices();
    if (vertices.size() > kMaxVertices) return kDDDBadParameter;
    size_t needed = std::max<size_t>(1, mesh_.MaterialNames().size());
    for (const MeshTriangle& t : triangles) needed = std::max<size_t>(needed, size_t(t.material) + 1);
    if (needed > kMaxGroups) return kDDDBadParameter;
    if (groups_.size() < needed) groups_.resize(needed);
    for (Group& g : groups_) {
        g.indices.clear();
        g.first = UINT32_MAX;
        g.last = 0;
    }
    for (const MeshTriangle& t : triangles) {
        Group& g = groups_[t.material];
        for (uint32_t index : t.vertex) {
            g.indices.push_back(static_cast<uint16_t>(index));
            g.first = std::min(g.first, index);
            g.last = std::max(g.last, index);
        }
    }
    const auto& positions = mesh_.Positions();
    const auto& uvs = mesh_.TexCoords();
    vertices_.resize(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const MeshVertex& v = vertices[i];
        const Vector3& p = positions[v.position];
        const MeshUV& uv = uvs[v.texCoord];
        vertices_[i] = {p.x, p.y, p.z, v.normal.x, v.normal.y, v.normal.z, uv.u, uv.v};
    }
    return kDDDOk;
}

uint32_t RenderMesh::RebuildFromMesh() {
    if (mesh_.Changed()) {
        if (const uint32_t code = Regroup()) return code;
        mesh_.ComputeBounds();
        bounds_ = mesh_.Bounds();
        mesh_.SetChanged(false);
        changed_ = true;
    }
    needsBuild_ = false;
    return kDDDOk;
}

uint32_t RenderMesh::BindMaterials() {
    const auto& names = mesh_.MaterialNames();
    const size_t count = std::max<size_t>(1, names.size());
    if (count > kMaxGroups) return kDDDBadParameter;
    if (groups_.size() < count) groups_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        Material* material = nullptr;
        if (device_.FindMaterial(names.empty() ? "default" : names[i].c_str(), &material) != kDDDOk)
            if (const uint32_t code = device_.FindMaterial("Flesh", &material)) return code;
        if (groups_[i].material) groups_[i].material->Release();
        groups_[i].material = material;
    }
    return needsBuild_ ? Build() : kDDDOk;
}

uint32_t RenderMesh::DrawGroups(Viewport3D& viewport, int pass, const platform::Soft3DVertex* vertices,
                                size_t count) {
    ResetScreenRect();
    bool clip = false;
    if (pass == 0 || pass == 2) {
        const uint32_t status = ClipStatus(viewport, bounds_);
        if (status & kClipAllOutside) return kDDDOk;
        clip = status != 0;
    }
    viewport.MakeCurrent();
    platform::Soft3DDevice& d = device_.Soft3D();
    const ViewportRenderState& state = viewport.GetRenderState();
    const bool linear = state.smoothing || state.textureFilter == 2 || mode_ == 2;
    const auto op = mode_ == 0 ? platform::Soft3DTextureOp::Select : platform::Soft3DTextureOp::Modulate;
    d.SetBlend(blended_ ? platform::Soft3DBlend::SourceColor : platform::Soft3DBlend::Off);
    for (const Group& g : groups_) {
        if (g.indices.empty()) continue;
        if (g.first > g.last || g.last >= count) return kDDDBadParameter;
        d.SetMaterial(g.material ? g.material->DeviceMaterial() : platform::Soft3DMaterial{});
        d.SetTexture(g.material ? g.material->TextureSurface() : nullptr, op,
                     linear ? platform::Soft3DFilter::Linear : platform::Soft3DFilter::Point);
        const platform::Rect r =
            device_.DrawIndexed(vertices, g.first, g.last - g.first + 1, g.indices.data(), g.indices.size(), clip);
        MergeScreenRect(screenRect_, {r.left, r.top, r.right, r.bottom});
    }
    d.SetBlend(platform::Soft3DBlend::Off);
    if (viewport.TracksDirty() && !IsEmptyScreenRect(screenRect_)) viewport.AddDirtyRect(screenRect_);
    return kDDDOk;
}

uint32_t RenderDIPVBMesh::Build() {
    if (const uint32_t code = RebuildFromMesh()) return code;
    uint32_t end = 0;
    for (const Group& g : groups_)
        if (!g.indices.empty()) end = std::max(end, g.last + 1);
    buffer_.assign(vertices_.begin(), vertices_.begin() + std::min<size_t>(end, vertices_.size()));
    return kDDDOk;
}

uint32_t RenderDIPVBMesh::Draw(Viewport3D& viewport, int pass) {
    return DrawGroups(viewport, pass, buffer_.data(), buffer_.size());
}

uint32_t RenderDIPMesh::Build() { return RebuildFromMesh(); }

uint32_t RenderDIPMesh::Draw(Viewport3D& viewport, int pass) {
    return DrawGroups(viewport, pass, vertices_.data(), vertices_.size());
}
