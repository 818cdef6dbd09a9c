// Everything drawn in 3D is a render object: it carries a transform, a
// bounding box and the screen rectangle it covered when last drawn, and is
// drawn into a viewport. Render pushes the object's transform on the
// viewport's world stack around Draw.
//
// The pass says how much clipping a draw may need: 0 unknown (the object
// tests its box), 1 wholly inside (no clipping), 2 partly inside (clip).
#pragma once

#include "framework/cRZRect.h"
#include "tarn/Transform.h"

#include <cstdint>

class Device3D;
class Viewport3D;

// ClipStatus bits: the union of the corners' outcodes in the low bits, the
// planes every corner lies beyond in the high ones.
enum : uint32_t {
    kClipLeft = 0x1, kClipRight = 0x2, kClipTop = 0x4, kClipBottom = 0x8, kClipFront = 0x10, kClipBack = 0x20,
    kClipAllLeft = 0x1000, kClipAllRight = 0x2000, kClipAllTop = 0x4000, kClipAllBottom = 0x8000,
    kClipAllFront = 0x10000, kClipAllBack = 0x20000,
    kClipAllOutside = 0x3F000,
};

// The rectangle of nothing drawn.
inline constexpr cRZRect kEmptyScreenRect{2147483647, 2147483647, -2147483647 - 1, -2147483647 - 1};
bool IsEmptyScreenRect(const cRZRect& r);
// Grows `into` to cover `r` (an empty `r` changes nothing).
void MergeScreenRect(cRZRect& into, const cRZRect& r);
// Grows the box to include the point; true when a bound moved.
bool ExtendBounds(BoundingBox& box, const Vector3& point);
// The eight corners of the box through the transform, included in `into`.
void IncludeTransformed(BoundingBox& into, bool& empty, const BoundingBox& box, const Transform& transform);

class RenderObject {
public:
    RenderObject() = default;
    RenderObject(const RenderObject&) = delete;
    RenderObject& operator=(const RenderObject&) = delete;

    void AddRef() { ++refs_; }
    int32_t Release();
    int32_t RefCount() const { return refs_; }

    // Pushes the transform, draws, pops; answers Draw's code.
    uint32_t Render(Viewport3D& viewport, int pass);
    virtual uint32_t Draw(Viewport3D& viewport, int pass) = 0;
    virtual const BoundingBox& GetBounds() = 0;
    virtual bool NeedsBoundsUpdate() = 0;
    virtual void ResetScreenRect() { screenRect_ = kEmptyScreenRect; }
    virtual bool QueryState() { return false; }

    // The box's corners through the viewport's world, view and projection
    // transforms: 0 all inside, any kClipAll bit wholly outside.
    static uint32_t ClipStatus(const Viewport3D& viewport, const BoundingBox& box);

    void SetTransform(const Transform& transform) {
        transform_ = transform;
        changed_ = true;
    }
    const Transform& GetTransform() const { return transform_; }
    const cRZRect& ScreenRect() const { return screenRect_; }
    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }

protected:
    virtual ~RenderObject() = default;

    cRZRect screenRect_ = kEmptyScreenRect;
    bool changed_ = true;
    Transform transform_;

private:
    int32_t refs_ = 1;
};

// A render object made for one device.
class ConcreteRenderObject : public RenderObject {
public:
    explicit ConcreteRenderObject(Device3D& device) : device_(device) {}
    Device3D& GetDevice() const { return device_; }

protected:
    Device3D& device_;
};
