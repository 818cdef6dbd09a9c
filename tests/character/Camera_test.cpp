#include "character/Camera.h"

#include "character/DirectXErrorText.h"
#include "character/Viewport3D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

void ExpectNear(const Vector3& a, const Vector3& b) {
    EXPECT_NEAR(a.x, b.x, 1e-4);
    EXPECT_NEAR(a.y, b.y, 1e-4);
    EXPECT_NEAR(a.z, b.z, 1e-4);
}

}  // namespace

TEST(Camera, PlacementLooksAlongTheDirectionFromThePosition) {
    struct Case {
        Vector3 position, direction;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 1}},     {{10, -5, 3}, {1, 0, 0}},  {{1, 2, 3}, {-3, 4, 0}},
        {{0, 0, 0}, {-1, -1, -1}},  {{5, 5, 5}, {0, 2, 0}},    {{0, 0, 0}, {0, -1, 0}},
    };
    for (const Case& c : cases) {
        Camera camera(nullptr, 1, 100, 1);
        ASSERT_EQ(camera.Place(c.position, c.direction), kDDDOk);
        const float length = std::sqrt(c.direction.x * c.direction.x + c.direction.y * c.direction.y +
                                       c.direction.z * c.direction.z);
        const Vector3 ahead = TransformPoint3({0, 0, 1}, camera.Placement());
        ExpectNear({ahead.x - c.position.x, ahead.y - c.position.y, ahead.z - c.position.z},
                   {c.direction.x / length, c.direction.y / length, c.direction.z / length});
        ExpectNear(TransformPoint3(c.position, camera.InversePlacement()), {0, 0, 0});
    }
}

TEST(Camera, UnusableDirectionFailsAndKeepsThePlacement) {
    Camera camera(nullptr, 1, 100, 1);
    ASSERT_EQ(camera.Place({1, 2, 3}, {0, 0, 1}), kDDDOk);
    const Transform before = camera.InversePlacement();
    EXPECT_EQ(camera.Place({0, 0, 0}, {0, 0, 0}), kDDDBadParameter);
    EXPECT_EQ(camera.Place({0, 0, 0}, {NAN, 0, 1}), kDDDBadParameter);
    EXPECT_EQ(camera.Place({INFINITY, 0, 0}, {0, 0, 1}), kDDDBadParameter);
    EXPECT_EQ(camera.Position(), (Vector3{1, 2, 3}));
    EXPECT_EQ(std::memcmp(before.m, camera.InversePlacement().m, sizeof before.m), 0);
}

TEST(Camera, ProjectionSpansTheLargerSide) {
    Camera camera(nullptr, 10, 200, 0.7853982f);
    const float t = std::tan(0.7853982f / 2);
    const Transform wide = camera.Projection(2.0f);  // a viewport twice as wide as high
    EXPECT_EQ(wide.m[1][1], 2.0f * wide.m[0][0]);
    EXPECT_EQ(wide.m[0][0], 1.0f);
    const Transform tall = camera.Projection(0.5f);
    EXPECT_EQ(tall.m[0][0], 2.0f);
    EXPECT_EQ(tall.m[1][1], 1.0f);
    EXPECT_NEAR(wide.m[2][2], 200 * t / 190, 1e-6);
    EXPECT_NEAR(wide.m[2][3], t, 1e-6);
    EXPECT_NEAR(wide.m[3][2], -200 * 10 * t / 190, 1e-4);
    EXPECT_EQ(wide.m[3][3], 0.0f);
    // Depth: 0 at the near plane, 1 at the far plane.
    for (float z : {10.0f, 200.0f}) {
        const Vector4 p = TransformPoint4({0, 0, z, 1}, wide);
        EXPECT_NEAR(p.z / p.w, z == 10.0f ? 0.0f : 1.0f, 1e-5);
    }
    EXPECT_EQ(camera.SetProjection(5, 5, 1), kDDDBadParameter);
    EXPECT_EQ(camera.Front(), 10.0f);
}
