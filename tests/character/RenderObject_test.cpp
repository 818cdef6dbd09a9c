#include "character/RenderObject.h"

#include "character/DirectXErrorText.h"
#include "character/Viewport3D.h"

#include <gtest/gtest.h>

namespace {

// A projection that keeps x, y and z and puts z into w: what lies behind
// the eye gets w <= 0.
Transform DepthIntoW() {
    Transform t;
    t.kind = kTransformGeneral;
    t.m[2][3] = 1;
    t.m[3][3] = 0;
    return t;
}

}  // namespace

TEST(RenderObject, ClipStatusOfBoxesAroundTheView) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 64, 64}), kDDDOk);
    const struct {
        const char* what;
        BoundingBox box;
        bool wIsDepth;
        uint32_t status;
    } cases[] = {
        {"inside", {-0.5f, -0.5f, 0.2f, 0.5f, 0.5f, 0.8f}, false, 0},
        {"wholly left", {-3, -0.5f, 0.2f, -2, 0.5f, 0.8f}, false, kClipLeft | kClipAllLeft},
        {"across the left edge", {-2, -0.5f, 0.2f, 0, 0.5f, 0.8f}, false, kClipLeft},
        {"wholly right", {2, -0.5f, 0.2f, 3, 0.5f, 0.8f}, false, kClipRight | kClipAllRight},
        {"wholly above", {-0.5f, 2, 0.2f, 0.5f, 3, 0.8f}, false, kClipTop | kClipAllTop},
        {"wholly below", {-0.5f, -3, 0.2f, 0.5f, -2, 0.8f}, false, kClipBottom | kClipAllBottom},
        {"nearer than near", {-0.5f, -0.5f, -0.8f, 0.5f, 0.5f, -0.2f}, false, kClipFront | kClipAllFront},
        {"beyond far", {-0.5f, -0.5f, 2, 0.5f, 0.5f, 3}, false, kClipBack | kClipAllBack},
        {"above and left", {-3, 2, 0.2f, -2, 3, 0.8f}, false,
         kClipLeft | kClipTop | kClipAllLeft | kClipAllTop},
        // w <= 0: in front of the near plane, never beyond the far one.
        {"behind the eye", {-0.5f, -0.5f, -2, 0.5f, 0.5f, -1}, true, kClipFront | kClipAllFront},
        {"behind the eye, far left", {-10, -0.5f, -2, -9, 0.5f, -1}, true,
         kClipFront | kClipAllFront | kClipAllLeft},
        {"through the eye", {-0.5f, -0.5f, -1, 0.5f, 0.5f, 1}, true, kClipFront},
        {"on the eye plane", {-0.5f, -0.5f, 0, 0.5f, 0.5f, 0}, true,
         kClipFront | kClipAllFront | kClipAllLeft | kClipAllRight | kClipAllTop | kClipAllBottom},
    };
    for (const auto& c : cases) {
        viewport.SetTransforms(kIdentityTransform, c.wIsDepth ? DepthIntoW() : kIdentityTransform,
                               kIdentityTransform);
        EXPECT_EQ(RenderObject::ClipStatus(viewport, c.box), c.status) << c.what;
    }
}

TEST(RenderObject, ClipStatusUsesTheWorldTransform) {
    Viewport3D viewport;
    ASSERT_EQ(viewport.Setup({0, 0, 64, 64}), kDDDOk);
    viewport.SetTransforms(kIdentityTransform, kIdentityTransform, kIdentityTransform);
    const BoundingBox box{-0.5f, -0.5f, 0.2f, 0.5f, 0.5f, 0.8f};
    viewport.PushTransform(MakeTranslationTransform({-5, 0, 0}));
    EXPECT_EQ(RenderObject::ClipStatus(viewport, box), kClipLeft | kClipAllLeft);
    viewport.PopTransform();
    EXPECT_EQ(RenderObject::ClipStatus(viewport, box), 0u);
}

TEST(RenderObject, ScreenRectsAndBounds) {
    cRZRect r = kEmptyScreenRect;
    EXPECT_TRUE(IsEmptyScreenRect(r));
    MergeScreenRect(r, kEmptyScreenRect);
    EXPECT_TRUE(IsEmptyScreenRect(r));
    MergeScreenRect(r, {4, 5, 10, 12});
    MergeScreenRect(r, {2, 8, 6, 20});
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 20);

    BoundingBox box{0, 0, 0, 1, 1, 1};
    EXPECT_FALSE(ExtendBounds(box, {0.5f, 0.5f, 0.5f}));
    EXPECT_TRUE(ExtendBounds(box, {-1, 0.5f, 3}));
    EXPECT_EQ(box.minX, -1);
    EXPECT_EQ(box.maxZ, 3);

    BoundingBox into;
    bool empty = true;
    IncludeTransformed(into, empty, {0, 0, 0, 1, 2, 3}, MakeRotationMatrix(2, 1.5707964f));
    EXPECT_FALSE(empty);
    EXPECT_NEAR(into.minX, -2, 1e-5);
    EXPECT_NEAR(into.maxX, 0, 1e-5);
    EXPECT_NEAR(into.maxY, 1, 1e-5);
    EXPECT_NEAR(into.maxZ, 3, 1e-5);
}
