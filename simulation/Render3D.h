// What the lot asks of the 3D layer: a device that makes render meshes and
// render objects and draws a mesh with a transform into a target; meshes
// built from textured triangles, finished, and given one integer option; a
// texture cache with a search folder. The 3D character renderer implements
// these; roofs and people draw through them, and tests use a recording
// device.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct Transform;

struct RenderPoint {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const RenderPoint&, const RenderPoint&) = default;
};

struct RenderUV {
    float u = 0, v = 0;
    friend bool operator==(const RenderUV&, const RenderUV&) = default;
};

// A screen rectangle of the 3D layer, right and bottom exclusive; empty when
// right <= left or bottom <= top.
struct RenderRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const RenderRect&, const RenderRect&) = default;
};

class iRenderMesh {
public:
    virtual ~iRenderMesh() = default;
    virtual void AddTriangle(const RenderPoint (&points)[3], const RenderUV (&uv)[3], const std::string& texture) = 0;
    // Closes the mesh; no triangles are added after it.
    virtual void Finish() = 0;
    virtual void SetOption(int32_t value) = 0;
};

// A render object: the 3D layer's handle for what one owner draws.
class iRenderObject {
public:
    virtual ~iRenderObject() = default;
    virtual void SetBounds(const RenderPoint& max, const RenderPoint& min) = 0;
};

class iTextureCache {
public:
    virtual ~iTextureCache() = default;
    virtual std::string GetSearchFolder() const = 0;
    virtual void SetSearchFolder(const std::string& folder) = 0;
    // Looks a texture up by name in the search folder; a found texture is
    // held until Release.
    virtual bool LookUp(const std::string& name) = 0;
    virtual void Release(const std::string& name) = 0;
};

class iDevice3D {
public:
    virtual ~iDevice3D() = default;
    // The vertex-buffer capability test; meshes of such a device keep their
    // triangles in a vertex buffer.
    virtual bool HasVertexBuffers() const = 0;
    virtual std::unique_ptr<iRenderMesh> CreateMesh(bool vertexBuffer) = 0;
    // Null when the device cannot make one.
    virtual std::unique_ptr<iRenderObject> CreateRenderObject() = 0;
    virtual iTextureCache& Textures() = 0;
    // Draws a mesh with a transform through a render object into the
    // target; answers the screen rectangle it covered.
    virtual RenderRect DrawMesh(iRenderObject& object, iRenderMesh& mesh, const Transform& transform, void* target) = 0;
};
