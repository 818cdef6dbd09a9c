#include "character/RenderObject.h"

#include "character/Viewport3D.h"

#include <algorithm>
#include <cmath>

bool IsEmptyScreenRect(const cRZRect& r) { return r.right <= r.left || r.bottom <= r.top; }

void MergeScreenRect(cRZRect& into, const cRZRect& r) {
    if (IsEmptyScreenRect(r)) return;
    if (IsEmptyScreenRect(into)) {
        into = r;
        return;
    }
    into.left = std::min(into.left, r.left);
    into.top = std::min(into.top, r.top);
    into.right = std::max(into.right, r.right);
    into.bottom = std::max(into.bottom, r.bottom);
}

bool ExtendBounds(BoundingBox& box, const Vector3& p) {
    bool moved = false;
    const auto grow = [&moved](float& low, float& high, float v) {
        if (v < low) low = v, moved = true;
        if (v > high) high = v, moved = true;
    };
    grow(box.minX, box.maxX, p.x);
    grow(box.minY, box.maxY, p.y);
    grow(box.minZ, box.maxZ, p.z);
    return moved;
}

void IncludeTransformed(BoundingBox& into, bool& empty, const BoundingBox& box, const Transform& transform) {
    for (int i = 0; i < 8; ++i) {
        const Vector3 corner{i & 1 ? box.maxX : box.minX, i & 2 ? box.maxY : box.minY, i & 4 ? box.maxZ : box.minZ};
        const Vector3 p = TransformPoint3(corner, transform);
        if (empty) {
            into = {p.x, p.y, p.z, p.x, p.y, p.z};
            empty = false;
        } else {
            ExtendBounds(into, p);
        }
    }
}

int32_t RenderObject::Release() {
    const int32_t left = --refs_;
    if (left <= 0) delete this;
    return left;
}

uint32_t RenderObject::Render(Viewport3D& viewport, int pass) {
    viewport.PushTransform(transform_);
    const uint32_t code = Draw(viewport, pass);
    viewport.PopTransform();
    return code;
}

uint32_t RenderObject::ClipStatus(const Viewport3D& viewport, const BoundingBox& box) {
    const Transform toClip = MultiplyTransforms(
        MultiplyTransforms(viewport.WorldTransform(), viewport.ViewTransform()), viewport.ProjectionTransform());
    uint32_t any = 0, all = kClipAllOutside;
    for (int i = 0; i < 8; ++i) {
        const Vector4 corner{i & 1 ? box.maxX : box.minX, i & 2 ? box.maxY : box.minY, i & 4 ? box.maxZ : box.minZ,
                             1.0f};
        const Vector4 c = TransformPoint4(corner, toClip);
        if (c.w > 0.0f) {
            const float x = c.x / c.w, y = c.y / c.w, z = c.z / c.w;
            if (x < -1) any |= kClipLeft; else all &= ~kClipAllLeft;
            if (x > 1) any |= kClipRight; else all &= ~kClipAllRight;
            if (y > 1) any |= kClipTop; else all &= ~kClipAllTop;
            if (y < -1) any |= kClipBottom; else all &= ~kClipAllBottom;
            if (z < 0) any |= kClipFront; else all &= ~kClipAllFront;
            if (z > 1) any |= kClipBack; else all &= ~kClipAllBack;
        } else {
            // Behind the eye: in front of the near plane, never beyond the
            // far one; the sides are judged through the mirrored point.
            any |= kClipFront;
            all &= ~kClipAllBack;
            if (std::fabs(c.w) > 1e-6f) {
                const float x = c.x / -c.w, y = c.y / -c.w;
                if (x >= -1) all &= ~kClipAllLeft;
                if (x <= 1) all &= ~kClipAllRight;
                if (y <= 1) all &= ~kClipAllTop;
                if (y >= -1) all &= ~kClipAllBottom;
            }
        }
    }
    return any | all;
}
