// The software 3D device: what the character renderer asks of a 3D card,
// drawn by the processor into the same 16-bit surfaces and the same 16-bit
// depth buffer the sprite compositor uses. Nothing here needs a window.
//
// A draw takes an indexed triangle list of 32-byte vertices {position,
// normal, u, v} over a vertex range. Positions go through world, view and
// projection (row vectors: point times matrix, translation in the last row);
// vertices are lit in world space, one colour per vertex (Gouraud), by up to
// 16 lights, the material and the ambient colour. Triangles are clipped in
// clip space (near and far, then the viewport's sides) or, when the caller
// says they lie inside, only checked and scissored. The rasteriser uses
// 28.4 fixed-point edge functions with the top-left rule, so triangles that
// share an edge cover each pixel once, and float attribute planes evaluated
// per pixel in one fixed order: the same input gives the same pixels.
//
// Depth is round(sz * 65535) with sz the projected z in 0..1, compared less
// or equal against the stored value (0xFFFF is the cleared, farthest value).
// Every draw answers the box of the pixels it wrote, for the dirty lists;
// {INT_MAX, INT_MAX, INT_MIN, INT_MIN} when it wrote none.
#pragma once

#include "platform/Surface.h"

#include <cstddef>
#include <cstdint>

namespace platform {

struct Soft3DVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
static_assert(sizeof(Soft3DVertex) == 32);

struct Soft3DMatrix {
    float m[4][4];

    static Soft3DMatrix Identity();
    // a then b: for row vectors, p * (a * b) = (p * a) * b.
    static Soft3DMatrix Multiply(const Soft3DMatrix& a, const Soft3DMatrix& b);
};

struct Soft3DColor {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

enum class Soft3DLightKind : int32_t { Point = 1, Spot = 2, Directional = 3, ParallelPoint = 4 };

// One light in world space. The colour is the light's colour times its
// intensity; lights carry no specular part.
struct Soft3DLight {
    Soft3DLightKind kind = Soft3DLightKind::Directional;
    Soft3DColor color{1.0f, 1.0f, 1.0f, 1.0f};
    float position[3] = {0.0f, 0.0f, 0.0f};
    float direction[3] = {0.0f, 0.0f, 1.0f};  // the way the light travels
    float range = 1.8446743e19f;
    float falloff = 0.0f;
    float attenuation0 = 1.0f, attenuation1 = 0.0f, attenuation2 = 0.0f;
    float theta = 0.4f;  // full inner and outer cone angles of a spot, radians
    float phi = 0.5f;
};

struct Soft3DMaterial {
    Soft3DColor diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Soft3DColor ambient{1.0f, 1.0f, 1.0f, 1.0f};
    Soft3DColor emissive{0.0f, 0.0f, 0.0f, 0.0f};
};

enum class Soft3DTransform { World, View, Projection };
enum class Soft3DTextureOp { Select, Modulate };  // texture alone, or texture times the lit colour
enum class Soft3DFilter { Point, Linear };
enum class Soft3DBlend { Off, SourceColor };      // source x source + destination x (1 - source)

class Soft3DDevice {
public:
    static constexpr size_t kMaxLights = 16;

    Soft3DDevice();

    // A 565 or 555 colour surface and optionally a depth surface of the
    // same size; may change at any time. False (and no change) otherwise.
    bool SetTarget(Surface* color, Surface* depth);
    Surface* Target() const { return color_; }
    Surface* DepthTarget() const { return depth_; }

    // In target pixels; draws are scissored to its overlap with the target.
    void SetViewport(const Rect& viewport) { viewport_ = viewport; }
    const Rect& Viewport() const { return viewport_; }

    void SetTransform(Soft3DTransform which, const Soft3DMatrix& matrix);
    const Soft3DMatrix& GetTransform(Soft3DTransform which) const;

    // False (and no change) for more than kMaxLights.
    bool SetLights(const Soft3DLight* lights, size_t count);
    size_t LightCount() const { return lightCount_; }
    void SetAmbient(uint32_t argb) { ambient_ = argb; }
    void SetMaterial(const Soft3DMaterial& material) { material_ = material; }
    // Without lighting every vertex is white.
    void SetLighting(bool on) { lighting_ = on; }

    // Null turns texturing off. The texture must be a 565 surface, else
    // false and no change. Coordinates wrap.
    bool SetTexture(const Surface* texture, Soft3DTextureOp op = Soft3DTextureOp::Modulate,
                    Soft3DFilter filter = Soft3DFilter::Point);
    void SetBlend(Soft3DBlend blend) { blend_ = blend; }
    void SetDepth(bool test, bool write) {
        depthTest_ = test;
        depthWrite_ = write;
    }

    // Draws indexCount / 3 triangles. Indices address `vertices` directly and
    // must lie in [firstVertex, firstVertex + vertexCount): a triangle with
    // one outside is skipped, as is one that cannot be drawn unclipped (a
    // vertex on or behind the eye, or absurdly far off screen).
    Rect DrawIndexed(const Soft3DVertex* vertices, uint32_t firstVertex, uint32_t vertexCount, const uint16_t* indices,
                     size_t indexCount, bool clip);

    static Rect EmptyExtents();

    // Clip-space and lit vertex, the rasteriser's input after clipping.
    struct ClipVertex {
        float x, y, z, w;
        float r, g, b;
        float u, v;
    };

private:
    struct ScreenVertex;
    void Light(const Soft3DVertex& in, const Soft3DMatrix& world, float out[3]) const;
    void DrawPolygon(const ClipVertex* polygon, int count, Rect& extents);
    void DrawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, Rect& extents);
    void Sample(float u, float v, int rgb[3]) const;

    Surface* color_ = nullptr;
    Surface* depth_ = nullptr;
    Rect viewport_{};
    Rect scissor_{};
    Soft3DMatrix world_, view_, projection_;
    Soft3DLight lights_[kMaxLights];
    size_t lightCount_ = 0;
    uint32_t ambient_ = 0;
    Soft3DMaterial material_;
    bool lighting_ = true;
    const Surface* texture_ = nullptr;
    Soft3DTextureOp textureOp_ = Soft3DTextureOp::Modulate;
    Soft3DFilter filter_ = Soft3DFilter::Point;
    Soft3DBlend blend_ = Soft3DBlend::Off;
    bool depthTest_ = true;
    bool depthWrite_ = true;
};

}  // namespace platform
